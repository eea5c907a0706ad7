// SPDX-License-Identifier: GPL-3.0-or-later
// Reads of a SAM file counted onto the project's sequences by reference name: per sequence, per
// region and per letter, with the two coverage reports.
//
// A read covers POS .. POS + length of SEQ - 1 of its reference. Unplaced records (RNAME "*",
// POS 0, SEQ "*") are counted as lines but cover nothing. Per-letter counts are kept beside the
// sequences, never in their trace peaks.
#include <algorithm>

#include "io/ByteSource.h"
#include "io/ReadFormats.h"
#include "io/ReadLines.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"

namespace {

// The regions of one sequence arranged for the two questions a read asks: which regions hold
// the position of its first letter (elementary segments between region ends, each listing the
// regions over it), and which regions start within it (regions by start). A read looks at the
// few regions near it, never at all of them.
class RegionIndex {
 public:
  explicit RegionIndex(TSeq& s) : seq_(s) {
    for (std::size_t k = 0; k < s.regions.size(); ++k) {
      const auto [a, b] = Range(s.regions[k]);
      byStart_.emplace_back(a, k);
      bounds_.push_back(a);
      bounds_.push_back(b + 1);
    }
    std::sort(byStart_.begin(), byStart_.end());
    std::sort(bounds_.begin(), bounds_.end());
    bounds_.erase(std::unique(bounds_.begin(), bounds_.end()), bounds_.end());
    covering_.resize(bounds_.size());
    for (std::size_t k = 0; k < s.regions.size(); ++k) {
      const auto [a, b] = Range(s.regions[k]);
      for (std::size_t i = Segment(a); i < Segment(b + 1); ++i) covering_[i].push_back(k);
    }
  }
  // Counts the read a..b onto every region holding it or lying within it (once when both).
  void Count(long long a, long long b) {
    const auto after = std::upper_bound(bounds_.begin(), bounds_.end(), a);
    if (after != bounds_.begin())
      for (const std::size_t k : covering_[static_cast<std::size_t>(after - bounds_.begin() - 1)])
        if (Range(seq_.regions[k]).second >= b) ++seq_.regions[k].regValue;
    for (auto it =
             std::lower_bound(byStart_.begin(), byStart_.end(), std::make_pair(a, std::size_t{0}));
         it != byStart_.end() && it->first <= b; ++it) {
      const auto [start, end] = Range(seq_.regions[it->second]);
      if (end <= b && !(start == a && end == b)) ++seq_.regions[it->second].regValue;
    }
  }

 private:
  static std::pair<long long, long long> Range(const TRegion& r) {
    return {std::min(r.regStart, r.regEnd), std::max(r.regStart, r.regEnd)};
  }
  std::size_t Segment(long long p) const {
    return static_cast<std::size_t>(std::lower_bound(bounds_.begin(), bounds_.end(), p) -
                                    bounds_.begin());
  }
  TSeq& seq_;
  std::vector<std::pair<long long, std::size_t>> byStart_;
  std::vector<long long> bounds_;                   // every region start and end + 1
  std::vector<std::vector<std::size_t>> covering_;  // regions over bounds_[i] .. bounds_[i+1]-1
};

struct Counted {
  TSeq* seq;
  std::vector<std::int32_t>* depth;  // nullptr unless counted per position
  std::unique_ptr<RegionIndex> regions;
};

}  // namespace

SamCoverage CountSamCoverage(const ByteSource& src, ReadContext& ctx, TDataProj& proj,
                             bool perPosition) {
  SamCoverage coverage;
  std::unordered_map<std::string, Counted> byName;
  for (int d = 0; d < proj.DatasetCount(); ++d) {
    TDataSeq& ds = *proj.DatasetAt(d);
    for (int r = 1; r <= ds.Count(); ++r) {
      TSeq& s = *ds.SeqAt(r);
      s.readCount = 0;
      for (TRegion& region : s.regions) region.regValue = 0;
      std::vector<std::int32_t>* depth = nullptr;
      if (perPosition) {
        depth = &coverage.depth[&s];
        depth->assign(static_cast<std::size_t>(s.Length()), 0);
      }
      // The first sequence of a name takes its reads.
      byName.try_emplace(s.seqName, Counted{&s, depth, nullptr});
    }
  }
  ProgressScope bar(ctx.services.progress, 10000, "Reading SAM file...");
  LineReader lines(src.Bytes());
  std::string_view line;
  while (lines.Next(line)) {
    if (lines.LineNumber() % 1000 == 0)
      ctx.services.progress.ShowStatus(
          "Reading SAM file; line " + std::to_string(lines.LineNumber()), true, true);
    if (line.empty() || line.front() == '@') continue;
    ++coverage.alignmentLines;
    const auto f = TabFields<10>(line);
    const auto pos = ParseInt(f[3]);
    if (!pos || *pos <= 0 || f[9] == "*" || f[9].empty()) continue;
    const auto it = byName.find(std::string(f[2]));
    if (it == byName.end()) continue;
    Counted& target = it->second;
    const long long a = *pos;
    const long long b = a + static_cast<long long>(f[9].size()) - 1;
    if (target.depth != nullptr) {
      const long long len = static_cast<long long>(target.depth->size());
      for (long long p = std::max(a, 1LL); p <= std::min(b, len); ++p)
        ++(*target.depth)[static_cast<std::size_t>(p - 1)];
    }
    ++target.seq->readCount;
    if (!target.seq->regions.empty()) {
      if (!target.regions) target.regions = std::make_unique<RegionIndex>(*target.seq);
      target.regions->Count(a, b);
    }
  }
  return coverage;
}

std::string CoverageTableText(const TDataProj& proj, const std::string& samPath,
                              const SamCoverage& coverage) {
  const int total = coverage.alignmentLines;
  std::string out;
  AppendLine(out,
             "Dataset,sequence,region_type,region_name,start,end,Frv/Rev,read_count,comment,SAM "
             "file:," +
                 FileNameOnly(samPath) + ",Total number of mapped reads:," + std::to_string(total));
  for (int d = 0; d < proj.DatasetCount(); ++d) {
    const TDataSeq& ds = *proj.DatasetAt(d);
    for (int r = 1; r <= ds.Count(); ++r) {
      const TSeq& s = *ds.SeqAt(r);
      const std::string rowStart = ds.dsName + "," + s.seqName + ",";
      if (s.Length() > 0 && total > 0)
        AppendLine(out, rowStart + "Entire_seq," + s.seqName + ",1," + std::to_string(s.Length()) +
                            ",F," + std::to_string(s.readCount) + "," + s.seqComment);
      for (const TRegion& region : s.regions)
        AppendLine(out, rowStart + RegionKindName(region.regType) + "," + region.regName + "," +
                            std::to_string(region.regStart) + "," + std::to_string(region.regEnd) +
                            (region.regReverse ? ",R," : ",F,") + std::to_string(region.regValue) +
                            "," + region.regComment);
    }
  }
  return out;
}

std::string CoverageDepthText(const TDataProj& proj, const SamCoverage& coverage) {
  std::string out;
  if (coverage.alignmentLines <= 0) return out;
  for (int d = 0; d < proj.DatasetCount(); ++d) {
    const TDataSeq& ds = *proj.DatasetAt(d);
    for (int r = 1; r <= ds.Count(); ++r) {
      const TSeq& s = *ds.SeqAt(r);
      if (s.Length() == 0) continue;
      AppendLine(out, ">" + s.seqName + " SqLength= " + std::to_string(s.Length()) +
                          " SqCoverage= " + std::to_string(s.readCount));
      if (const auto it = coverage.depth.find(&s); it != coverage.depth.end())
        for (const std::int32_t n : it->second) {
          out += std::to_string(n);
          out += ' ';
        }
      out += "\r\n";
    }
  }
  return out;
}

CoverageRun RunSamCoverage(const std::string& samPath, TDataProj& proj, bool perPosition,
                           Services& services) {
  CoverageRun run;
  FileSource src;
  if (!src.Open(samPath)) {
    services.messages.Notify("Can not open file \r\n" + samPath);
    return run;
  }
  ReadContext ctx(services, samPath);
  const SamCoverage coverage = CountSamCoverage(src, ctx, proj, perPosition);
  const std::string table = samPath + ".FRcovrg.csv";
  const std::string depth = samPath + ".seqCovrg.txt";
  run.ok = SaveTextFile(table, CoverageTableText(proj, samPath, coverage), services);
  if (run.ok) run.written.push_back(table);
  if (perPosition && run.ok) {
    run.ok = SaveTextFile(depth, CoverageDepthText(proj, coverage), services);
    if (run.ok) run.written.push_back(depth);
  }
  if (run.ok)
    run.notice = perPosition ? "Coverage reports saved to files:\r\n" + depth + "\r\n" + table
                             : "Coverage report saved to file:\r\n" + table;
  return run;
}

bool SamCoverageCommand(const std::string& samPath, TDataProj& proj, Services& services) {
  IMessages& msg = services.messages;
  if (!FileReadable(samPath)) {
    msg.Notify("SAM file not found");
    return false;
  }
  if (!msg.AskYesNo("Start reading SAM file? This may take a long time.\r\n\r\nPlease use exactly "
                    "the same sequences as refs used for mapping. Indels/gaps introduced to seq "
                    "after mapping (e.g. after alignment) will lead to incorrect position of "
                    "mapped reads and expression peaks."))
    return false;
  const bool perPosition = msg.AskYesNo("Show coverage for entire seq length?");
  const CoverageRun run = RunSamCoverage(samPath, proj, perPosition, services);
  if (run.ok) msg.Notify(run.notice);
  return run.ok;
}
