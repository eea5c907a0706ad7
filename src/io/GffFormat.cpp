// SPDX-License-Identifier: GPL-3.0-or-later
// GFF annotation reader and writer: one region per line of nine tab-separated fields.
//
// Everything from the first '#' of a line is a comment and is appended to the ninth field;
// lines naming a sequence the dataset lacks are skipped, and so are lines whose positions do
// not parse or do not satisfy 0 < start <= end (counted and reported once). A region reaching
// past its sequence's end is clipped to it, one lying wholly beyond it is dropped; both are
// counted in one message.
#include <algorithm>
#include <limits>
#include <vector>

#include "io/IOUnit.h"
#include "io/TextHelpers.h"
#include "model/Datasequnit.h"
#include "model/tsequnit.h"

namespace {

std::vector<std::string_view> SplitFields(std::string_view line, std::size_t count) {
  std::vector<std::string_view> fields;
  while (fields.size() + 1 < count) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) break;
    fields.push_back(line.substr(0, tab));
    line.remove_prefix(tab + 1);
  }
  fields.push_back(line);
  return fields;
}

// GFF phase 0, 1, 2 means codon position 1, 3, 2 of the first letter; "." none.
int CodonPosFromPhase(std::string_view phase) {
  phase = TrimBlanks(phase);
  if (phase == "0") return 1;
  if (phase == "1") return 3;
  if (phase == "2") return 2;
  return 0;
}

const char* PhaseFromCodonPos(int codonPos) {
  switch (codonPos) {
    case 1:
      return "0";
    case 2:
      return "2";
    case 3:
      return "1";
    default:
      return ".";
  }
}

// Letter position -> alignment column: the gaps before the position are added. Built once per
// sequence, so a genome with thousands of features is not walked once per feature.
class ColumnMap {
 public:
  int Column(const TSeq& seq, int position) {
    if (&seq != seq_) {
      seq_ = &seq;
      columns_.clear();
      for (std::size_t i = 0; i < seq.letters.size(); ++i)
        if (seq.letters[i] != '-') columns_.push_back(static_cast<int>(i) + 1);
      gaps_ = static_cast<int>(seq.letters.size() - columns_.size());
    }
    if (position >= 1 && position <= static_cast<int>(columns_.size()))
      return columns_[static_cast<std::size_t>(position - 1)];
    if (position <= 0) return position;
    return static_cast<int>(std::min<long long>(static_cast<long long>(position) + gaps_,
                                                std::numeric_limits<int>::max()));
  }

 private:
  const TSeq* seq_ = nullptr;
  std::vector<int> columns_;
  int gaps_ = 0;
};

}  // namespace

int ApplyGff(const ByteSource& src, ReadContext& ctx, TDataSeq& ds, bool alignedCoords) {
  LineReader lines(src.Bytes());
  std::string_view raw;
  std::string previousName, lastMatched;
  int row = -1;
  bool haveLookup = false;
  int annotated = 0, skipped = 0, firstSkipped = 0, clipped = 0, dropped = 0;
  bool added = false;
  ColumnMap columns;
  while (lines.Next(raw)) {
    std::string_view body = raw;
    std::string_view comment;
    const std::size_t hash = body.find('#');
    if (hash != std::string_view::npos) {
      comment = body.substr(hash);
      body = body.substr(0, hash);
    }
    body = TrimBlanks(body);
    if (body.empty()) continue;
    std::vector<std::string_view> fields = SplitFields(body, 9);
    std::string ninth;
    if (fields.size() == 9) ninth = std::string(fields[8]);
    if (!comment.empty()) ninth += (ninth.empty() ? "" : " ") + std::string(comment);

    const std::string name(TrimBlanks(fields[0]));
    if (!haveLookup || row < 0 || name != previousName) {
      const int found = ds.RowByName(name);
      if (found > 0 && name != lastMatched) {
        ++annotated;
        lastMatched = name;
      }
      row = found;
      previousName = name;
      haveLookup = true;
    }
    TSeq* seq = row > 0 ? ds.SeqAt(row) : nullptr;
    if (seq == nullptr) continue;

    const auto start = fields.size() > 4 ? ParseInt(TrimBlanks(fields[3])) : std::nullopt;
    const auto end = fields.size() > 4 ? ParseInt(TrimBlanks(fields[4])) : std::nullopt;
    if (!start || !end || *start <= 0 || *start > *end) {
      if (skipped++ == 0) firstSkipped = lines.LineNumber();
      continue;
    }
    TRegion region;
    const std::string word(TrimBlanks(fields[2]));
    const int fileCode = RegionKindFromWord(word);
    region.regType =
        static_cast<std::uint8_t>(fileCode != 0 ? RegionKindFromFileCode(fileCode) : kRegMisc);
    region.regStart = *start;
    region.regEnd = *end;
    if (alignedCoords) {
      region.regStart = columns.Column(*seq, *start);
      region.regEnd = columns.Column(*seq, *end);
    }
    const int length = static_cast<int>(seq->letters.size());
    if (region.regStart > length) {
      ++dropped;
      continue;
    }
    if (region.regEnd > length) {
      region.regEnd = length;
      ++clipped;
    }
    if (fields.size() > 5)
      if (const auto value = ParseInt(TrimBlanks(fields[5]))) region.regValue = *value;
    region.regReverse = fields.size() > 6 && TrimBlanks(fields[6]) == "-";
    region.codonPos = fields.size() > 7 ? CodonPosFromPhase(fields[7]) : 0;
    region.regName = word;
    region.regComment = std::string(raw);
    seq->AddRegion(region);
    added = true;
  }
  if (skipped > 0)
    ctx.ReportLine(firstSkipped, std::to_string(skipped) +
                                     " line(s) skipped: start and end must be whole numbers "
                                     "with 0 < start <= end");
  if (clipped + dropped > 0)
    ctx.Report(std::to_string(clipped) + " region(s) reaching past the end of their sequence " +
               "were clipped to it; " + std::to_string(dropped) +
               " lying wholly beyond it were dropped");
  if (added) ds.InvalidateMutHolders();
  return annotated;
}

std::string GffText(const TDataSeq& ds) {
  std::string out;
  for (int row = 1; row <= ds.Count(); ++row) {
    const TSeq* s = ds.SeqAt(row);
    std::string name = TrimmedSeparators(s->seqName);
    name = name.substr(0, name.find(' '));
    for (const TRegion& r : s->regions) {
      out += name + "\tnodrix\t" + RegionKindName(r.regType) + "\t" + std::to_string(r.regStart) +
             "\t" + std::to_string(r.regEnd) + "\t.\t" + (r.regReverse ? "-" : "+") + "\t" +
             PhaseFromCodonPos(r.codonPos) + "\t#" + r.regComment;
      out += "\r\n";
    }
  }
  return out;
}

bool SaveGff(const std::string& path, const TDataSeq& ds, Services& svc) {
  return SaveTextFile(path, GffText(ds), svc);
}
