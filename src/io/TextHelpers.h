// SPDX-License-Identifier: GPL-3.0-or-later
// Text helpers every text reader shares: separator trimming, tokens, line splitting that takes
// CR LF and LF alike and drops character 26, number parsing, file-name pieces.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr char kEndOfFileMark = 26;

// Separators are tab, CR, LF, blank, ';' and '='. Leading then trailing ones go while more than
// one character remains; a one-character remainder that is CR, LF, blank or ';' becomes empty,
// and a remainder beginning with '=' becomes empty.
void TrimSeparators(std::string& s);
[[nodiscard]] std::string TrimmedSeparators(std::string_view s);

// Takes the next token off the front of s (up to the first tab, CR, LF, blank, ';' or '='),
// drops that one delimiter and trims s again. Empty s gives an empty token.
[[nodiscard]] std::string NextToken(std::string& s);

// Deletes every CR, LF and character 26.
void StripLineBreaks(std::string& s);

// True when the line holds only A, C, G, T (either case) and at least one of them, or when
// those letters outnumber all other characters more than four to one.
[[nodiscard]] bool LooksLikeNucleotides(std::string_view line);

// Blanks and tabs off both ends.
[[nodiscard]] std::string_view TrimBlanks(std::string_view s);
[[nodiscard]] std::string UpperCase(std::string_view s);

// The text after the last '\' or '/'.
[[nodiscard]] std::string FileNameOnly(std::string_view path);
// The whole path cut before its last '.' (the whole path when it has none).
[[nodiscard]] std::string PathWithoutExtension(std::string_view path);

// A whole decimal integer (optional sign); nullopt when any character is left over or the
// text is empty. Values beyond the int range come back as nullopt too.
[[nodiscard]] std::optional<int> ParseInt(std::string_view text);

// The words of s between blanks and tabs; views into s.
[[nodiscard]] std::vector<std::string_view> SplitWords(std::string_view s);

// Splits text into lines at LF; a CR before the LF is dropped, and so is every character 26.
// Line numbers start at 1. The last line counts even without a final LF.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  // False at the end of the text; otherwise line holds the next line (valid until the next call).
  bool Next(std::string_view& line);
  [[nodiscard]] int LineNumber() const { return lineNumber_; }
  [[nodiscard]] bool AtEnd() const { return pos_ >= text_.size(); }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  int lineNumber_ = 0;
  std::string scratch_;  // only used for lines holding character 26
};

// Appends line + CR LF.
inline void AppendLine(std::string& out, std::string_view line) {
  out.append(line);
  out.append("\r\n");
}
