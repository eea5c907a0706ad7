// SPDX-License-Identifier: GPL-3.0-or-later
// ConvertFastq: FASTQ scaffold files (records of several sequence and quality lines) to a FASTA
// file, a quality file and a list of names.
//
// A record begins with a line starting "@", unless the quality of the record being read is
// still shorter than its letters: quality characters include "@" and "+". The names lose that
// "@". Qualities are written as decimal values (character code - 33), each followed by a blank,
// which is the form the FASTA reader's quality companion reads; raw characters would break a
// record at every ">" (quality 29).
#include <array>

#include "common/StagedFile.h"
#include "io/ByteSource.h"
#include "io/ReadFormats.h"
#include "io/TextHelpers.h"

namespace {

// "q " for every character code.
const std::array<std::string, 256>& QualityTexts() {
  static const std::array<std::string, 256> texts = [] {
    std::array<std::string, 256> t;
    for (int c = 0; c < 256; ++c)
      t[static_cast<std::size_t>(c)] = std::to_string(c < 33 ? 0 : c - 33) + " ";
    return t;
  }();
  return texts;
}

class FastqWriter {
 public:
  explicit FastqWriter(const std::string& base)
      : fasta_(base + ".fa"), quality_(base + ".qual"), names_(base + "_names.txt") {}
  bool IsOpen() const { return fasta_.IsOpen() && quality_.IsOpen() && names_.IsOpen(); }
  void Write(std::string_view name, std::string_view letters, std::string_view quality) {
    names_.Stream() << name << "\r\n";
    fasta_.Stream() << '>' << name << "\r\n" << letters << "\r\n";
    buffer_.clear();
    const auto& texts = QualityTexts();
    for (const char c : quality) buffer_ += texts[static_cast<unsigned char>(c)];
    quality_.Stream() << '>' << name << "\r\n" << buffer_ << "\r\n";
  }
  bool Commit() { return fasta_.Commit() && quality_.Commit() && names_.Commit(); }
  std::string Path(int k) const { return (k == 0 ? fasta_ : k == 1 ? quality_ : names_).Target(); }

 private:
  StagedFile fasta_, quality_, names_;
  std::string buffer_;
};

}  // namespace

FastqConversion ConvertFastq(const std::string& path, Services& services) {
  FastqConversion result;
  FileSource src;
  if (!src.Open(path)) return result;
  FastqWriter out(PathWithoutExtension(path));
  result.fastaPath = out.Path(0);
  result.qualityPath = out.Path(1);
  result.namesPath = out.Path(2);
  if (!out.IsOpen()) {
    services.messages.ReportError(path + ": cannot write the converted files beside it");
    return result;
  }
  ProgressScope bar(services.progress, 1000, "Reading fastQ file...");
  enum class Part { None, Letters, Quality } part = Part::None;
  std::string name, letters, quality;
  const auto flush = [&] {
    if (part == Part::None) return;
    out.Write(name, letters, quality);
    ++result.records;
  };
  LineReader lines(src.Bytes());
  std::string_view line;
  while (lines.Next(line)) {
    if (lines.LineNumber() % 5000 == 0)
      services.progress.ShowStatus(
          "Reading line " + std::to_string(lines.LineNumber()) +
              (part == Part::Quality ? "; Reading qual for sequence " : "; Reading sequence ") +
              name,
          true, true);
    if (line.empty()) continue;
    const bool owesQuality = part == Part::Quality && quality.size() < letters.size();
    if (line.front() == '@' && !owesQuality) {
      flush();
      name.assign(line.substr(1));
      letters.clear();
      quality.clear();
      part = Part::Letters;
    } else if (line.front() == '+' && part == Part::Letters) {
      part = Part::Quality;
    } else if (part == Part::Letters) {
      letters.append(line);
    } else if (part == Part::Quality) {
      quality.append(line);
    }
  }
  flush();
  result.ok = out.Commit();
  if (!result.ok)
    services.messages.ReportError(path + ": the converted files could not be written");
  return result;
}
