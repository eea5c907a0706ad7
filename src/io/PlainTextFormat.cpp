// SPDX-License-Identifier: GPL-3.0-or-later
// Plain text: one sequence per file (read and written), and the last-resort reader for files
// of unrecognised format.
//
// A plain text file is all letters, line breaks never counting as letters; a DNASIS file
// (first line exactly "DNASIS ") has two more header lines, which are skipped.
#include "io/IOUnit.h"
#include "io/TextHelpers.h"
#include "model/Datasequnit.h"
#include "model/tsequnit.h"

std::unique_ptr<TSeq> OpenPlainText(const ByteSource& src, ReadContext& ctx) {
  LineReader lines(src.Bytes());
  std::string_view line;
  std::string letters;
  bool first = true;
  int skip = 0;
  while (lines.Next(line)) {
    if (first && line == "DNASIS ") skip = 3;
    first = false;
    if (skip > 0) {
      --skip;
      continue;
    }
    for (const char c : line)
      if (c != '\r') letters += c;
  }
  if (letters.empty()) {
    ctx.Report("the file holds no letters");
    return nullptr;
  }
  auto seq =
      std::make_unique<TSeq>(PathWithoutExtension(FileNameOnly(ctx.fileName)), std::move(letters));
  seq->sourceFormat = kSourcePlainText;
  return seq;
}

std::string SeqText(const TSeq& seq) {
  std::string out;
  AppendLine(out, seq.letters);
  return out;
}

bool SaveSeqText(const std::string& path, const TSeq& seq, Services& svc) {
  return SaveTextFile(path, SeqText(seq), svc);
}

bool OpenUnknownText(const ByteSource& src, ReadContext& ctx, TDataSeq& ds) {
  ds.dsName = FileNameOnly(ctx.fileName);
  ds.dsSourceFile = ctx.fileName;
  LineReader lines(src.Bytes());
  std::string_view line;
  std::string previous;
  bool previousWasText = false;
  int read = 0;
  while (lines.Next(line)) {
    if (!LooksLikeNucleotides(line)) {
      previousWasText = true;
      previous = std::string(line);
      continue;
    }
    std::string name = "seq" + std::to_string(read + 1);
    std::string letters;
    const std::size_t blank = line.find(' ');
    if (blank != std::string_view::npos) {
      name = std::string(line.substr(0, blank));
      letters = std::string(line.substr(blank + 1));
    } else if (previousWasText && !previous.empty() && previous.size() < 50) {
      name = previous;
      letters = std::string(line);
      previousWasText = false;
    } else {
      letters = std::string(line);
    }
    TrimSeparators(name);
    TrimSeparators(letters);
    if (letters.empty()) continue;
    auto seq = std::make_unique<TSeq>(std::move(name), std::move(letters));
    if (ds.AddSeq(seq, true) < 0) break;
    ++read;
  }
  if (read == 0) ctx.Report("no line looks like a nucleotide sequence");
  return read > 0;
}
