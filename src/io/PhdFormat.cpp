// SPDX-License-Identifier: GPL-3.0-or-later
// PHD base-call files (letters, quality values and peaks between BEGIN_DNA and END_DNA; the
// trace named after BEGIN_SEQUENCE supplies the channels when it can be read; a file may hold
// several BEGIN_SEQUENCE records, and '#' comment lines between them) and the quality
// files of a base caller (the first ">" record; values split at blanks and line ends).
#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

#include "io/BinarySource.h"
#include "io/TraceFormats.h"

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

// Splits off the first blank-separated word; rest receives what follows it.
std::string_view FirstWord(std::string_view line, std::string_view& rest) {
  line = Trim(line);
  std::size_t end = 0;
  while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end]))) ++end;
  rest = Trim(line.substr(end));
  return line.substr(0, end);
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// A whole word as an integer; 0 when it does not parse.
long long IntOrZero(std::string_view word) {
  long long v = 0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
  return ec == std::errc() && end == word.data() + word.size() ? v : 0;
}

std::uint8_t QualityByte(long long v) {
  return static_cast<std::uint8_t>(std::clamp<long long>(v, 0, 255));
}

std::int32_t PeakValue(long long v) {
  return static_cast<std::int32_t>(std::clamp<long long>(
      v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Takes the channels of the trace a PHD file names; quiet, the caller reports once.
bool TakeChannels(const std::string& tracePath, TSeq& seq, Services& services) {
  std::string head;
  if (!ReadFilePrefix(tracePath, 4, head)) return false;
  QuietMessages quiet;
  Services silent{quiet, services.progress, services.settings, services.genCode};
  std::unique_ptr<TSeq> trace =
      head == "ABIF" ? OpenAbi(tracePath, silent) : OpenScf(tracePath, silent);
  if (!trace || trace->traceA.empty() || trace->traceC.empty() || trace->traceG.empty() ||
      trace->traceT.empty())
    return false;
  seq.traceA = std::move(trace->traceA);
  seq.traceC = std::move(trace->traceC);
  seq.traceG = std::move(trace->traceG);
  seq.traceT = std::move(trace->traceT);
  seq.traceScale = trace->traceScale;
  seq.showTrace = true;
  return true;
}

}  // namespace

std::vector<std::unique_ptr<TSeq>> OpenPhdRecords(const std::string& path, Services& services) {
  std::string text, error;
  if (!ReadWholeFile(path, text, error)) {
    services.messages.Notify(error);
    return {};
  }
  return ReadPhdRecords(text, path, services);
}

std::unique_ptr<TSeq> OpenPhd(const std::string& path, Services& services) {
  auto records = OpenPhdRecords(path, services);
  return records.empty() ? nullptr : std::move(records.front());
}

std::vector<std::unique_ptr<TSeq>> ReadPhdRecords(std::string_view text, const std::string& path,
                                                  Services& services) {
  struct Record {
    std::unique_ptr<TSeq> seq = std::make_unique<TSeq>();
    std::string traceName;
    bool sawDna = false;
  };
  std::vector<Record> records;
  bool inDna = false;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    std::string_view rest;
    const std::string word = Upper(FirstWord(line, rest));
    if (inDna) {
      if (word == "END_DNA") {
        inDna = false;
        continue;
      }
      if (word.empty()) continue;
      TSeq& seq = *records.back().seq;
      std::string_view peakText;
      const std::string_view qualityWord = FirstWord(rest, peakText);
      seq.letters.push_back(Trim(line).front());
      seq.quality.push_back(QualityByte(IntOrZero(qualityWord)));
      seq.peakPos.push_back(PeakValue(IntOrZero(peakText)));
    } else if (word == "BEGIN_SEQUENCE") {
      records.emplace_back();
      records.back().traceName.assign(rest);
    } else if (word == "BEGIN_DNA") {
      if (records.empty()) records.emplace_back();  // a record without its opening line
      inDna = records.back().sawDna = true;
    }
  }
  std::vector<std::unique_ptr<TSeq>> out;
  int empty = 0;
  for (Record& r : records) {
    if (!r.sawDna || r.seq->letters.empty()) {
      ++empty;
      continue;
    }
    TSeq& seq = *r.seq;
    seq.SyncLength();
    // One record: named after the file; several: each after the trace its opening line names.
    seq.seqName = records.size() > 1 && !r.traceName.empty() ? r.traceName : FileNameOf(path);
    if (!r.traceName.empty()) {
      const bool absolute = r.traceName.front() == '/';
      const std::string tracePath = absolute ? r.traceName : FolderOf(path) + "/" + r.traceName;
      if (FileExists(tracePath) && !TakeChannels(tracePath, seq, services))
        services.messages.ReportError(path + ": the trace file " + tracePath +
                                      " could not be read; the base calls were read without it");
    }
    seq.sourceFile = path;
    out.push_back(std::move(r.seq));
  }
  if (out.empty())
    services.messages.Notify(path + "\r\n" + "holds no base calls (no BEGIN_DNA section)");
  else if (empty > 0)
    services.messages.ReportError(path + ": " + std::to_string(empty) +
                                  " record(s) without base calls were left out");
  return out;
}

bool ParseQualityText(std::string_view text, TSeq& seq) {
  const std::size_t header = text.find('>');
  if (header == std::string_view::npos) return false;
  std::size_t from = text.find('\n', header);
  from = from == std::string_view::npos ? text.size() : from + 1;
  std::size_t to = text.find('>', from);
  if (to == std::string_view::npos) to = text.size();
  std::vector<std::uint8_t> values;
  long long sum = 0;
  std::size_t i = from;
  while (i < to) {
    // Line ends separate values like blanks; '*' marks are dropped.
    while (i < to && (std::isspace(static_cast<unsigned char>(text[i])) || text[i] == '*')) ++i;
    std::size_t j = i;
    while (j < to && !std::isspace(static_cast<unsigned char>(text[j]))) ++j;
    std::string piece;
    for (char c : text.substr(i, j - i))
      if (c != '*') piece.push_back(c);
    long long v = 0;
    const auto [end, ec] = std::from_chars(piece.data(), piece.data() + piece.size(), v);
    if (!piece.empty() && ec == std::errc() && end == piece.data() + piece.size()) {
      values.push_back(QualityByte(v));
      sum += v;
    }
    i = j;
  }
  seq.quality = std::move(values);
  seq.meanQuality = seq.quality.empty()
                        ? 0.0
                        : static_cast<double>(sum) / static_cast<double>(seq.quality.size());
  return true;
}

bool LoadTraceQuality(const std::string& path, TSeq& seq, Services& services) {
  std::string qualPath = path + ".qual";
  if (!FileExists(qualPath)) qualPath = WithoutExtension(path) + ".qual";
  if (!FileExists(qualPath)) {
    RunPhred(path, services);
    qualPath = path + ".qual";
  }
  std::string text, error;
  if (!FileExists(qualPath) || !ReadWholeFile(qualPath, text, error)) return false;
  return ParseQualityText(text, seq) && !seq.quality.empty();
}
