// SPDX-License-Identifier: GPL-3.0-or-later
// DetectFormat: ordered content tests on a bounded prefix of the file.
//
// Magic-number tests check the prefix's length before looking at a byte, so a file shorter
// than the magic is simply not that format. Tests on "some line" look at the lines of the
// prefix only. A ZTR trace and a plain-text BLAST report have no reader here: they come back
// as 0 (unrecognised) rather than falling through to a reader that would misread them, and so
// does any other binary file: a '>' among its bytes does not make it FASTA.
//
// Beyond the classic tests: PIR's ">P1;" header is tested before FASTA's '>'; a Clustal header
// may be another aligner's (MUSCLE, Kalign); '#' comment lines before a PHD record are passed
// over; PHYLIP is recognised by its count line followed by a named row, else by its extension.
#include "io/FormatDetect.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "io/BinarySource.h"
#include "io/FormatTables.h"
#include "io/IOUnit.h"
#include "io/TextHelpers.h"

namespace {

bool HasAt(std::string_view bytes, std::size_t offset, std::string_view magic) {
  return bytes.size() >= offset + magic.size() && bytes.substr(offset, magic.size()) == magic;
}

std::string LowerExtension(std::string_view path) {
  const std::string name = FileNameOnly(path);
  const auto dot = name.rfind('.');
  if (dot == std::string::npos) return {};
  std::string ext = name.substr(dot);
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ext;
}

bool IsWordDelimiter(char c) {
  return c == '\t' || c == '\r' || c == '\n' || c == ' ' || c == '(' || c == ')' || c == ',' ||
         c == '.' || (c >= ';' && c <= '>') || c == '[' || c == ']';
}

// The first word runs from the line's start (blanks and tabs skipped) to the first
// delimiter; a line that begins with a delimiter such as ">" has an empty first word.
std::string_view FirstWord(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  std::size_t j = i;
  while (j < line.size() && !IsWordDelimiter(line[j])) ++j;
  return line.substr(i, j - i);
}

bool IsUpperMatch(std::string_view text, std::string_view upperWord) {
  if (text.size() != upperWord.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != upperWord[i]) return false;
  }
  return true;
}

struct LineFacts {
  std::string firstLine;    // first line not empty after TrimSeparators
  std::string firstRecord;  // the same, passing over '#' comment lines
  std::string secondLine;   // the non-empty line after firstLine
  bool nexusLine = false;
  bool megaLine = false;
  bool locusWord = false;
};

LineFacts ScanLines(std::string_view prefix) {
  LineFacts facts;
  bool haveFirst = false;
  LineReader reader(prefix);
  std::string_view line;
  while (reader.Next(line)) {
    std::string trimmed = TrimmedSeparators(line);
    if (haveFirst && facts.secondLine.empty() && !trimmed.empty()) facts.secondLine = trimmed;
    if (!haveFirst && !trimmed.empty()) {
      facts.firstLine = trimmed;
      haveFirst = true;
    }
    if (facts.firstRecord.empty() && !trimmed.empty() && trimmed.front() != '#')
      facts.firstRecord = trimmed;
    const std::string_view blank = TrimBlanks(line);
    if (IsUpperMatch(trimmed, "#NEXUS") || IsUpperMatch(blank, "#NEXUS")) facts.nexusLine = true;
    if (IsUpperMatch(trimmed, "#MEGA") || IsUpperMatch(blank, "#MEGA")) facts.megaLine = true;
    if (IsUpperMatch(FirstWord(line), "LOCUS")) facts.locusWord = true;
  }
  return facts;
}

// ">XX;" with a two-character type code (P1, F1, DL, DC, RL, RC, N1, N3, XX).
bool IsPirHeader(std::string_view line) {
  const auto codeChar = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); };
  return line.size() >= 4 && line[0] == '>' && codeChar(line[1]) && codeChar(line[2]) &&
         line[3] == ';';
}

// The count line: two whole numbers above 0, then at most option letters; the next line
// must hold a letter (a name or sequence), which a line of positions or values does not.
bool IsPhylipStart(const std::string& first, const std::string& second) {
  std::string rest = first;
  const auto count = ParseInt(NextToken(rest));
  const auto length = ParseInt(NextToken(rest));
  if (!count || !length || *count <= 0 || *length <= 0) return false;
  for (const char c : rest)
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == ' ' || c == '\t')) return false;
  return std::any_of(second.begin(), second.end(),
                     [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

}  // namespace

bool LooksBinary(std::string_view prefix) {
  for (const char c : prefix.substr(0, kTextCheckBytes)) {
    const auto u = static_cast<unsigned char>(c);
    if ((u < 32 && c != '\r' && c != '\n' && c != '\t' && c != kEndOfFileMark) || u == 127)
      return true;
  }
  return false;
}

bool FileLooksBinary(const std::string& path) {
  std::string head;
  return ReadFilePrefix(path, kTextCheckBytes, head) && LooksBinary(head);
}

std::string BinaryFileMessage(const std::string& path) {
  return "Unable to recognise format of the file: \r\n\r\n" + path +
         "\r\n\r\nIt holds binary data, not text, and is not read.";
}

bool IsPhylipName(std::string_view path) {
  const std::string ext = LowerExtension(path);
  return ext == ".phy" || ext == ".phylip";
}

int DetectFormatBytes(std::string_view prefix, std::string_view path) {
  if (prefix.size() > kDetectPrefixBytes) prefix = prefix.substr(0, kDetectPrefixBytes);

  // Project file: "Nodrix_" at bytes 5..11 and the version digit at byte 12 (1-based).
  if (HasAt(prefix, 4, "Nodrix_") && prefix.size() >= 12 && prefix[11] >= '1' && prefix[11] <= '3')
    return kCodeProjectFile;
  // Trace magics come before the text tests: a binary header's first "line" can hold any
  // letters, and "ms" in it must not turn a trace into simulation output.
  if (HasAt(prefix, 0, "ABIF")) return kCodeAbi;
  if (HasAt(prefix, 0, ".scf")) return kCodeScf;

  if (HasAt(prefix, 1, "ZTR") || LooksBinary(prefix)) return 0;

  const LineFacts facts = ScanLines(prefix);
  const std::string& first = facts.firstLine;
  const std::string firstUpper = UpperCase(first);
  // A FASTA header can hold any text; none of the first-line word tests may claim it.
  const bool fastaHeader = !first.empty() && first.front() == '>';

  if (first.find("<?xml") != std::string::npos) return kCodeBlastXml;
  if (facts.nexusLine) return kCodeNexus;
  if (!fastaHeader && (first.find("ms") != std::string::npos ||
                       first.find("ssw") != std::string::npos || first.starts_with("scrm ")))
    return kCodeMsOutput;
  if (facts.megaLine) return kCodeMega;
  if (facts.locusWord) return kCodeGenBank;
  const std::string ext = LowerExtension(path);
  if (ext == ".exp") return kCodeStadenExp;
  if (ext == ".contigs") return kCodeStadenContigs;
  if (!fastaHeader) {
    if (first.find("BLAST") != std::string::npos) return 0;
    if (IsClustalHeader(first)) return kCodeClustal;
    if (firstUpper.starts_with("AS")) return kCodeAce;
  }
  if (IsPirHeader(first)) return kCodePir;
  if (prefix.substr(0, 201).find('>') != std::string_view::npos) return kCodeFastaGffQual;
  if (UpperCase(facts.firstRecord).starts_with("BEGIN_SEQUENCE")) return kCodePhd;
  if (IsPhylipStart(first, facts.secondLine) || IsPhylipName(path)) return kCodePhylip;
  return 0;
}

int CheckFileAccess(const std::string& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (ec || !std::filesystem::exists(status)) {
    const auto parent = std::filesystem::path(path).parent_path();
    std::error_code pec;
    if (!parent.empty() && !std::filesystem::is_directory(parent, pec)) return 3;
    return 2;
  }
  if (std::filesystem::is_directory(status)) return 5;
  errno = 0;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return (errno == EACCES || errno == EPERM || errno == EROFS) ? 5 : 32;
  std::fclose(f);
  return 0;
}

std::string CannotOpenMessage(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return "cannot open '" + path + "': is a directory";
  errno = 0;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f != nullptr) {
    std::fclose(f);
    return {};
  }
  const int error = errno;
  return "cannot open '" + path + "': " + std::strerror(error);
}

std::string IoErrorMessage(int code, const std::string& path) {
  std::string text = "I/O Error " + std::to_string(code);
  if (code == 5)
    text += "\r\nThe file " + FileNameOnly(path) +
            " is  read-only\r\nPlease change file attributes to allow read-write access";
  return text;
}

int DetectFormat(const std::string& path, IMessages& messages) {
  const int access = CheckFileAccess(path);
  std::string prefix;
  if (access != 0 || !ReadFilePrefix(path, kDetectPrefixBytes, prefix)) {
    messages.Notify(IoErrorMessage(access != 0 ? access : 32, path));
    return 0;
  }
  return DetectFormatBytes(prefix, path);
}
