// SPDX-License-Identifier: GPL-3.0-or-later
// ACE contig assemblies (phrap, consed): each contig's consensus (CO) with its base qualities
// (BQ), the placement of its reads (AF), their letters and clip points (RD, QA) and the PHD
// files of their traces (DS). Pads ("*") stay in the letters as the assembly has them. BS,
// RT, CT and WA records are passed over, and so is anything that is not a record line.
//
// Letter and quality blocks end at the count their header gives, at an empty line or at the
// next record line, so a damaged block never swallows the records after it.
#include <algorithm>
#include <deque>
#include <optional>
#include <unordered_map>

#include "common/NumberFormat.h"
#include "io/BinarySource.h"
#include "io/ByteSource.h"
#include "io/ResultFormats.h"
#include "io/TextHelpers.h"
#include "io/TraceFormats.h"
#include "model/DataProjUnit.h"
#include "model/Datasequnit.h"

namespace {

enum class AceRecord { None, AS, CO, BQ, AF, BS, RD, QA, DS, RT, CT, WA };

struct AceLine {
  AceRecord kind = AceRecord::None;
  std::string text;  // the line without its tag, trimmed
};

AceLine ClassifyAceLine(std::string_view raw) {
  const std::string t = TrimmedSeparators(raw);
  if (t.size() < 2 || (t.size() > 2 && t[2] != ' ' && t[2] != '\t')) return {};
  static constexpr std::pair<std::string_view, AceRecord> kTags[] = {
      {"AS", AceRecord::AS}, {"CO", AceRecord::CO}, {"BQ", AceRecord::BQ}, {"AF", AceRecord::AF},
      {"BS", AceRecord::BS}, {"RD", AceRecord::RD}, {"QA", AceRecord::QA}, {"DS", AceRecord::DS},
      {"RT", AceRecord::RT}, {"CT", AceRecord::CT}, {"WA", AceRecord::WA}};
  const std::string tag = UpperCase(std::string_view(t).substr(0, 2));
  for (const auto& [name, kind] : kTags)
    if (tag == name) return {kind, TrimmedSeparators(std::string_view(t).substr(2))};
  return {};
}

bool IsComplemented(std::string_view word) {
  return word == "C" || word == "c";
}

// The letters of the PHD read laid out as the row's letters: a gap wherever the row has a pad,
// with quality 0 and a peak halfway to the next base (as InsertGaps places one). False when
// the unpadded letters do not number the row's bases.
bool PadLikeRow(const TSeq& phd, const std::string& rowLetters, TSeq& out) {
  const auto pads = static_cast<std::size_t>(std::count(rowLetters.begin(), rowLetters.end(), '*'));
  if (phd.letters.size() + pads != rowLetters.size()) return false;
  const bool withQuality = phd.quality.size() == phd.letters.size();
  const bool withPeaks = phd.peakPos.size() == phd.letters.size();
  std::size_t k = 0;  // next PHD letter
  for (const char c : rowLetters) {
    if (c == '*') {
      out.letters.push_back('-');
      if (withQuality) out.quality.push_back(0);
      if (withPeaks && !phd.peakPos.empty()) {
        const std::int32_t next = phd.peakPos[std::min(k, phd.peakPos.size() - 1)];
        const std::int32_t prev = out.peakPos.empty() ? next : out.peakPos.back();
        out.peakPos.push_back(prev + RoundHalfEvenInt((next - prev) / 2.0));
      }
      continue;
    }
    out.letters.push_back(phd.letters[k]);
    if (withQuality) out.quality.push_back(phd.quality[k]);
    if (withPeaks) out.peakPos.push_back(phd.peakPos[k]);
    ++k;
  }
  return true;
}

class AceReader {
 public:
  AceReader(std::string_view text, const std::string& path, TDataSeq& ds, Services& services)
      : lines_(text), path_(path), ds_(ds), services_(services) {}

  void Run() {
    std::string_view raw;
    while (NextLine(raw)) {
      const AceLine line = ClassifyAceLine(raw);
      switch (line.kind) {
        case AceRecord::CO:
          ReadContig(line.text);
          break;
        case AceRecord::BQ:
          ReadBaseQualities();
          break;
        case AceRecord::AF:
          ReadPlacement(line.text);
          break;
        case AceRecord::RD:
          ReadReadLetters(line.text);
          break;
        case AceRecord::DS:
          ReadPhdTrace(line.text);
          break;
        default:
          break;  // AS counts, BS, RT, CT, WA and stray QA lines
      }
    }
    FinishContig();
    ReportMissing();
  }

 private:
  LineReader lines_;
  std::optional<std::string> pushedBack_;
  std::string current_;
  const std::string& path_;
  TDataSeq& ds_;
  Services& services_;
  int contigRow_ = -1;      // row of the consensus just read, -1 when none was added
  int contigFirstRow_ = 1;  // first row of the contig being read
  int lastReadRow_ = -1;    // row the last RD line filled
  // Rows made by AF lines that no RD line has filled yet, by read name: a name placed twice
  // gets its two rows filled in turn.
  std::unordered_map<std::string, std::deque<int>> unfilled_;
  std::vector<std::string> missingPhd_, mismatchedPhd_;

  bool NextLine(std::string_view& line) {
    if (pushedBack_) {
      current_ = std::move(*pushedBack_);
      pushedBack_.reset();
      line = current_;
      return true;
    }
    return lines_.Next(line);
  }
  void PushBack(std::string_view line) { pushedBack_ = std::string(line); }

  // A continuation line of letters or values: not empty and not a record line.
  bool NextBodyLine(std::string_view& body) {
    std::string_view raw;
    if (!NextLine(raw)) return false;
    body = TrimBlanks(raw);
    if (body.empty()) return false;
    if (ClassifyAceLine(raw).kind != AceRecord::None &&
        body.find_first_of(" \t") != std::string_view::npos) {
      PushBack(raw);
      return false;
    }
    return true;
  }

  std::unique_ptr<TSeq> NewRow(std::string_view name, std::string_view strand) {
    auto seq = std::make_unique<TSeq>();
    seq->seqName = std::string(name);
    seq->reversed = IsComplemented(strand);
    seq->plusStrand = !seq->reversed;
    return seq;
  }

  void ReadContig(const std::string& record) {
    FinishContig();
    const auto words = SplitWords(record);
    if (words.empty()) return;
    auto seq = NewRow(words[0], words.size() > 1 ? words.back() : std::string_view{});
    const std::optional<int> count = words.size() > 1 ? ParseInt(words[1]) : std::nullopt;
    std::string_view body;
    while ((!count || seq->Length() < *count) && NextBodyLine(body)) {
      seq->letters.append(body);
      if (!count) break;
    }
    seq->SyncLength();
    contigFirstRow_ = ds_.Count() + 1;
    contigRow_ = ds_.AddSeq(seq, true);
  }

  void ReadBaseQualities() {
    TSeq* contig = ds_.SeqAt(contigRow_);
    if (contig == nullptr) return;
    contig->quality.assign(contig->letters.size(), 0);
    std::size_t next = 0;
    const auto skipPads = [&] {
      while (next < contig->letters.size() && contig->letters[next] == '*') ++next;
    };
    skipPads();
    std::string_view body;
    while (next < contig->letters.size() && NextBodyLine(body)) {
      for (const std::string_view word : SplitWords(body)) {
        const std::optional<int> v = ParseInt(word);
        if (!v || next >= contig->letters.size()) continue;
        contig->quality[next++] = static_cast<std::uint8_t>(std::clamp(*v, 0, 255));
        skipPads();
      }
    }
  }

  void ReadPlacement(const std::string& record) {
    const auto words = SplitWords(record);
    if (words.empty()) return;
    auto seq = NewRow(words[0], words.size() > 1 ? words[1] : std::string_view{});
    if (words.size() > 2)
      if (const std::optional<int> start = ParseInt(words[2]))
        seq->columnShift = static_cast<std::int32_t>(static_cast<std::int64_t>(*start) - 1);
    const int row = ds_.AddSeq(seq, true);
    if (row > 0) unfilled_[std::string(words[0])].push_back(row);
  }

  void ReadReadLetters(const std::string& record) {
    const auto words = SplitWords(record);
    TSeq* seq = nullptr;
    lastReadRow_ = -1;
    if (!words.empty()) {
      auto it = unfilled_.find(std::string(words[0]));
      if (it != unfilled_.end() && !it->second.empty()) {
        lastReadRow_ = it->second.front();
        it->second.pop_front();
        seq = ds_.SeqAt(lastReadRow_);
      }
    }
    std::string_view raw;
    while (NextLine(raw)) {
      const std::string_view body = TrimBlanks(raw);
      const AceLine line = ClassifyAceLine(raw);
      if (line.kind == AceRecord::QA) {
        if (seq != nullptr) ReadClipPoints(line.text, *seq);
        break;
      }
      if (line.kind != AceRecord::None && body.find_first_of(" \t") != std::string_view::npos) {
        PushBack(raw);
        break;
      }
      if (seq != nullptr) seq->letters.append(body);
    }
    if (seq != nullptr) seq->SyncLength();
  }

  static void ReadClipPoints(const std::string& record, TSeq& seq) {
    const auto words = SplitWords(record);
    const std::optional<int> q1 = words.size() > 0 ? ParseInt(words[0]) : std::nullopt;
    const std::optional<int> q2 = words.size() > 1 ? ParseInt(words[1]) : std::nullopt;
    if (q1 && *q1 > 0) seq.poorQualityLeft = *q1 - 1;
    if (q2 && *q2 > 0) seq.poorQualityRight = *q2 - 1;
  }

  // The row a PHD read belongs to: the read just given its letters when its name is the PHD
  // name or that name less up to three extensions, else the first row so named.
  int RowOfPhd(const std::string& phdName) const {
    std::vector<std::string> names{phdName};
    for (int k = 0; k < 3; ++k) {
      const std::string& last = names.back();
      const std::size_t dot = last.rfind('.');
      if (dot == std::string::npos || dot == 0) break;
      names.push_back(last.substr(0, dot));
    }
    if (const TSeq* last = ds_.SeqAt(lastReadRow_))
      for (const std::string& n : names)
        if (last->seqName == n) return lastReadRow_;
    for (const std::string& n : names)
      if (const int row = ds_.RowByName(n); row > 0) return row;
    return -1;
  }

  void ReadPhdTrace(const std::string& record) {
    const auto words = SplitWords(record);
    if (words.size() < 4 || UpperCase(words[2]) != "PHD_FILE:") return;
    const std::string phdName(words[3]);
    const std::string phdPath = FolderOf(path_) + "/" + phdName;
    if (!FileExists(phdPath)) {
      missingPhd_.push_back(phdName);
      return;
    }
    std::unique_ptr<TSeq> phd = OpenPhd(phdPath, services_);
    if (!phd) return;
    TSeq* row = ds_.SeqAt(RowOfPhd(phd->seqName));
    if (row == nullptr) return;
    if (row->reversed) phd->ReverseComplement();
    TSeq padded;
    if (!PadLikeRow(*phd, row->letters, padded)) {
      mismatchedPhd_.push_back(phdName);
      return;
    }
    row->traceA = std::move(phd->traceA);
    row->traceC = std::move(phd->traceC);
    row->traceG = std::move(phd->traceG);
    row->traceT = std::move(phd->traceT);
    row->traceScale = phd->traceScale;
    row->peakPos = std::move(padded.peakPos);
    row->quality = std::move(padded.quality);
    row->showTrace = phd->showTrace;
    row->hasTrace = row->HasTrace();
  }

  // Reads placed before the consensus (AF start 0 or below) would need negative shifts: the
  // whole contig moves right by the overhang instead, so every row keeps its place in it.
  void FinishContig() {
    if (contigFirstRow_ > ds_.Count()) return;
    std::int32_t least = 0;
    for (int r = contigFirstRow_; r <= ds_.Count(); ++r)
      least = std::min(least, ds_.SeqAt(r)->columnShift);
    if (least < 0)
      for (int r = contigFirstRow_; r <= ds_.Count(); ++r) ds_.SeqAt(r)->columnShift -= least;
    contigFirstRow_ = ds_.Count() + 1;
  }

  void ReportMissing() const {
    const auto report = [&](const std::vector<std::string>& names, const std::string& what) {
      if (names.empty()) return;
      services_.messages.ReportError(path_ + ": " + std::to_string(names.size()) + " PHD file" +
                                     (names.size() == 1 ? " " : "s ") + what +
                                     " (first: " + names.front() + ")");
    };
    report(missingPhd_, "named in DS lines not found beside it; those reads have no trace");
    report(mismatchedPhd_,
           "whose bases do not match their read's letters; their traces were not copied");
  }
};

}  // namespace

bool ReadAce(std::string_view text, const std::string& path, TDataSeq& ds, Services& services) {
  ds.dsName = FileNameOnly(path);
  const int before = ds.Count();
  AceReader(text, path, ds, services).Run();
  ds.InvalidateMutHolders();
  return ds.Count() > before;
}

int OpenAce(const std::string& path, OpenWindow& window, Services& services) {
  FileSource src;
  if (!src.Open(path)) {
    services.messages.Notify("Can not open file \r\n" + path);
    return -1;
  }
  auto ds = window.project.MakeDataset();
  if (!ReadAce(src.Bytes(), path, *ds, services) || window.gridLocked) return -1;
  return window.project.AddDataset(ds, false);
}
