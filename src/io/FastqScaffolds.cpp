// SPDX-License-Identifier: GPL-3.0-or-later
// ConvertFastq: FASTQ scaffold files (records of several sequence and quality lines) to a FASTA
// file, a quality file and a list of names.
//
// A record begins with a line starting "@", unless the quality of the record being read is
// still shorter than its letters: quality characters include "@" and "+". The names lose that
// "@". Qualities are written as decimal values (character code - 33), each followed by a blank,
// which is the form the FASTA reader's quality companion reads; raw characters would break a
// record at every ">" (quality 29).
#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>

#include "common/StagedFile.h"
#include "io/ByteSource.h"
#include "io/ReadFormats.h"
#include "io/TextHelpers.h"

namespace {

// "q " for every character code, at most four characters, laid down by one copy each.
struct QualityText {
  std::array<char, 4> text{};
  std::size_t length = 0;
};

const std::array<QualityText, 256>& QualityTexts() {
  static const std::array<QualityText, 256> texts = [] {
    std::array<QualityText, 256> t;
    for (int c = 0; c < 256; ++c) {
      const std::string value = std::to_string(c < 33 ? 0 : c - 33) + " ";
      QualityText& q = t[static_cast<std::size_t>(c)];
      std::copy(value.begin(), value.end(), q.text.begin());
      q.length = value.size();
    }
    return t;
  }();
  return texts;
}

void Put(std::ofstream& out, std::string_view text) {
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

class FastqWriter {
 public:
  explicit FastqWriter(const std::string& base)
      : fasta_(base + ".fa"), quality_(base + ".qual"), names_(base + "_names.txt") {}
  bool IsOpen() const { return fasta_.IsOpen() && quality_.IsOpen() && names_.IsOpen(); }
  void Write(std::string_view name, std::string_view letters, std::string_view quality) {
    Put(names_.Stream(), name);
    Put(names_.Stream(), "\r\n");
    for (std::ofstream* out : {&fasta_.Stream(), &quality_.Stream()}) {
      Put(*out, ">");
      Put(*out, name);
      Put(*out, "\r\n");
    }
    Put(fasta_.Stream(), letters);
    Put(fasta_.Stream(), "\r\n");
    buffer_.resize(quality.size() * 4 + 2);
    char* end = buffer_.data();
    const auto& texts = QualityTexts();
    for (const char c : quality) {
      const QualityText& q = texts[static_cast<unsigned char>(c)];
      std::memcpy(end, q.text.data(), q.text.size());
      end += q.length;
    }
    *end++ = '\r';
    *end++ = '\n';
    Put(quality_.Stream(),
        std::string_view(buffer_.data(), static_cast<std::size_t>(end - buffer_.data())));
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
