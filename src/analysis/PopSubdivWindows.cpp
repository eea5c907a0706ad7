// SPDX-License-Identifier: GPL-3.0-or-later
// Population subdivision along the sequence: sliding-window profiles of Fst, Dxy, Da or the
// shared and fixed sites, and the split of an assembly at windows of many fixed differences.
#include <algorithm>
#include <cctype>
#include <cstdio>

#include "analysis/DNApolDbox.h"
#include "analysis/LDOutput.h"
#include "analysis/PopStrucDBox.h"
#include "common/NumberFormat.h"
#include "common/OutputFolder.h"
#include "common/Services.h"
#include "io/IOUnit.h"
#include "io/SaveCommand.h"
#include "model/DataProjUnit.h"

namespace {

constexpr const char* kCrLf = "\r\n";
// Divergent regions closer than this are one region; split points are searched this far.
constexpr int kSplitReach = 4000;

std::string Int4(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%4d", v);
  return buf;
}

}  // namespace

void PopSubdivAnalysis::Windows(TDataSeq& ds, const tmutholder& t,
                                const std::vector<samptype>& masks) {
  Line("Sliding window is calculated for window size: " + std::to_string(fo.swSize) +
       ", increment: " + std::to_string(fo.swStep));
  if (fo.swSize < 1) {
    svc->messages.Notify("Window size must be > 0");
    return;
  }
  const int sf = opt.siteFlags, mf = opt.mutationFlags;
  const bool splitting = so.windowStat == SubdivWindowStat::SFixed && so.split;
  const samptype none(t.SequenceCount());
  const samptype& x = masks.size() > 0 ? masks[0] : none;
  const samptype& y = masks.size() > 1 ? masks[1] : none;
  std::vector<Region> regions;
  std::string lines;
  for (const WindowSpan& w : AnalysedWindows(t, regionFrom, regionTo, fo.swSize, fo.swStep)) {
    if (CancelRequested()) return;
    std::string line =
        ds.dsName + "," + std::to_string(w.start) + "," + std::to_string(w.end) + ",";
    switch (so.windowStat) {
      case SubdivWindowStat::Fst:
        line += "Fst:,";
        line += FormatFixed(subdivisionFst(t, w.start, w.end, sf, mf, masks, false).fst, 4);
        break;
      case SubdivWindowStat::Dxy:
        line += "Dxy:,";
        line += FormatFixed(divergenceDxyDa(t, w.start, w.end, sf, mf, masks).dxy, 4);
        break;
      case SubdivWindowStat::Da:
        line += "Da:,";
        line += FormatFixed(divergenceDxyDa(t, w.start, w.end, sf, mf, masks).da, 4);
        break;
      case SubdivWindowStat::SFixed: {
        const SharedFixedCounts c = sharedFixedSites(t, w.start, w.end, sf, mf, x, y);
        line += "S-shared:," + Int4(c.shared) + ", S-fixed:," + Int4(c.fixed) + ", Exclusive1:," +
                Int4(c.exclusiveX) + ", Exclusive2:," + Int4(c.exclusiveY);
        if (splitting && static_cast<double>(c.fixed + 1) / (c.shared + 1) >= so.splitThreshold) {
          if (regions.empty() || w.start > regions.back().last) {
            regions.push_back({w.start, w.end, c.shared, c.fixed});
          } else {
            regions.back().last = w.end;
            regions.back().shared += c.shared;
            regions.back().fixed += c.fixed;
          }
        }
        break;
      }
    }
    lines += line + kCrLf;
  }
  if (fo.sw2file) AppendToFile(fo.swfile, lines);
  if (splitting) Split(ds, regions);
}

void PopSubdivAnalysis::Split(const TDataSeq& ds, const std::vector<Region>& regions) {
  const std::string stem = OutputPath(fo.outputFolder, SafeFileName(ds.dsName));
  auto writeFasta = [&](const TDataSeq& piece, const std::string& path) {
    if (SaveFasta(path, piece, false, *svc))
      out.filesWritten.push_back(path);
    else
      Fail("Cannot write the file " + path);
  };
  if (regions.empty()) {
    writeFasta(ds, stem + ".fasta");
    return;
  }
  std::vector<Region> merged;
  for (const Region& r : regions) {
    if (!merged.empty() && r.first < merged.back().last + kSplitReach) {
      merged.back().last = std::max(merged.back().last, r.last);
      merged.back().shared += r.shared;
      merged.back().fixed += r.fixed;
    } else {
      merged.push_back(r);
    }
  }
  const int length = ds.AlignmentLength(true);
  const int h = RoundHalfEvenInt(fo.swSize / 2.0);
  std::vector<std::pair<int, int>> points;
  for (const Region& r : merged) {
    int left = std::max(1, r.first + h - kSplitReach), right = r.first + h;
    if (FindGapRunBackward(ds, left, right)) points.emplace_back(left, right);
    left = r.last - h;
    right = std::min(r.last - h + kSplitReach, length);
    if (FindGapRun(ds, left, right)) points.emplace_back(left, right);
  }
  std::string csv;
  int first = 1;
  auto piece = [&](int from, int to) {
    if (from >= to) return;
    csv += ds.dsName + "," + std::to_string(from) + "," + std::to_string(to) + kCrLf;
    TDataSeq copy(*svc);
    ds.CopyRangeTo(copy, from, to - from + 1);
    writeFasta(copy, stem + "_" + std::to_string(from) + "-" + std::to_string(to) + ".fasta");
  };
  for (const auto& [left, right] : points) {
    piece(first, left);
    first = right;
  }
  piece(first, length);
  AppendToFile(OutputPath(fo.outputFolder, "asmSplit.csv"), csv);
}
