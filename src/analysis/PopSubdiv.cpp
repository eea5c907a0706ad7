// SPDX-License-Identifier: GPL-3.0-or-later
// Population subdivision: the matrix blocks over pairs of groups, the overall values with the
// permutation test and bootstrap intervals, and the run entry.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>

#include "analysis/GroupMask.h"
#include "analysis/PopStrucDBox.h"
#include "common/NumberFormat.h"
#include "common/OutputFolder.h"
#include "common/Services.h"
#include "model/DataProjUnit.h"

namespace {

constexpr const char* kCrLf = "\r\n";

std::string Right(const std::string& s, std::size_t width) {
  return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
}

// A real with 4 decimals right-aligned in the width, "Err" for a value not computable.
std::string Real(double v, std::size_t width) {
  return Right(v == -1 ? std::string("Err") : FormatFixed(v, 4), width);
}

const std::string kBlank(8, ' ');

struct PairValues {
  DivergenceSums div;
  SubdivisionValues sub;
  double nm = -1;
  SharedFixedCounts sites;
};

double Scaled(double sum, int k) {
  const int pairs = k * (k - 1);
  return (sum != -1 && pairs != 0) ? sum * 2.0 / pairs : -1;
}

// The fraction of permuted values at least as large as the observed one.
double PValue(double observed, const std::vector<double>& permuted) {
  if (observed == -1 || permuted.empty()) return -1;
  const auto n = std::count_if(permuted.begin(), permuted.end(),
                               [observed](double x) { return x >= observed; });
  return static_cast<double>(n) / static_cast<double>(permuted.size());
}

// Lower and upper 95% bounds of the sorted values: indices round(R x 0.025) and
// round(R x 0.975), the upper one kept within the list.
std::pair<double, double> Interval(std::vector<double> values) {
  if (values.empty()) return {-1, -1};
  std::sort(values.begin(), values.end());
  const long long r = static_cast<long long>(values.size());
  const long long lo = std::min(RoundHalfEven(static_cast<double>(r) * 0.025), r - 1);
  const long long hi = std::min(RoundHalfEven(static_cast<double>(r) * 0.975), r - 1);
  return {values[static_cast<std::size_t>(lo)], values[static_cast<std::size_t>(hi)]};
}

std::string IntervalLine(const std::string& name, const std::vector<double>& values) {
  const auto [lo, hi] = Interval(values);
  return name + "[min2.5%] = " + Real(lo, 0) + " " + name + "[max97.5%] = " + Real(hi, 0) + kCrLf;
}

std::string Csv3(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%5.3f", v);
  return buf;
}

// Progress of the replicates of one dataset. While the frame's bar counts several datasets
// the replicates leave it alone: they only show their status and let events (and Cancel)
// through, so the bar is not reset halfway through the run.
class ReplicateProgress {
 public:
  ReplicateProgress(IProgress& progress, bool ownBar, int max, std::string text)
      : progress_(progress), text_(std::move(text)) {
    if (ownBar) bar_.emplace(progress, max, text_);
  }
  void Step() {
    if (bar_)
      bar_->Step(true);
    else
      progress_.ShowStatus(text_, false, true);
  }
  [[nodiscard]] bool Cancelled() const { return progress_.cancelRequested(); }

 private:
  IProgress& progress_;
  std::string text_;
  std::optional<ProgressScope> bar_;
};

}  // namespace

struct PopSubdivAnalysis::Blocks {
  std::string dxy, shared, exclusive, fst, nm, hst;
};

FrameOptions PopSubdivFrameDefaults() {
  FrameOptions o;
  o.ogDiv = false;
  o.plotSW = false;
  return o;
}

PopSubdivAnalysis::PopSubdivAnalysis(FrameOptions frame, PopSubdivOptions options)
    : AnalysisFrame(std::move(frame)),
      so(std::move(options)),
      rng_(so.seed ? PlatformRandom(*so.seed) : PlatformRandom::FromClock()) {
  // The dialog has no plot of the profile and no outgroup divergence block.
  fo.plotSW = false;
  fo.ogDiv = false;
}

bool PopSubdivAnalysis::BeforeRun() {
  fewGroupsNoticed_ = false;
  so.csvFileName = OutputPath(fo.outputFolder, so.csvFileName);
  // One file for the whole run: every dataset's replicates follow its own header line.
  if (fo.doBootstrap && so.csvFile) return CreateEmptyFile(so.csvFileName);
  return true;
}

std::vector<int> PopSubdivAnalysis::SelectedGroups() const {
  std::vector<int> groups;
  const int entire = project->GroupIndexByName("Entire dataset");
  for (int g = 1; g < project->GroupCount(); ++g) {
    const TGroup& grp = project->Groups()[static_cast<std::size_t>(g)];
    if (grp.grpSelected && grp.grpKey >= 0 && g != entire) groups.push_back(g);
  }
  return groups;
}

void PopSubdivAnalysis::DoForm(TDataSeq& ds) {
  AnalysisFrame::DoForm(ds);
  if (Failed() || CancelRequested()) return;
  const bool matrices = so.dxy || so.da || so.sFixed || so.fst || so.kst || so.nm || so.hst;
  if (!matrices && !fo.doSW) return;
  if (project->GroupCount() < 2) {
    if (!fewGroupsNoticed_)
      svc->messages.Notify("Number of populations must be > 1\r\nSelect more populations");
    fewGroupsNoticed_ = true;
    return;
  }
  if (TableIndex(ds, "", false) != 0) return;
  const tmutholder& t = *ds.mutHolders[0];
  const std::vector<int> groups = SelectedGroups();
  std::vector<samptype> masks;
  for (int g : groups) masks.push_back(GroupMask(*project, ds, project->GroupKeyAt(g)));

  if (matrices) {
    Blocks b;
    PairMatrices(ds, t, groups, masks, b);
    Overall(ds, t, masks, b);
    if (CancelRequested()) {
      // Values from part of the replicates would pass for a finished test.
      Line("Calculation was stopped by user ");
      Line("");
      return;
    }
    Line(std::string(29, '='));
    if (so.fst || so.kst) Line(b.fst);
    if (so.hst) Line(b.hst);
    if (so.nm) Line(b.nm);
    if (so.dxy || so.da) Line(b.dxy);
    if (so.sFixed) {
      Line(b.shared);
      Line(b.exclusive);
    }
  }
  if (fo.doSW) Windows(ds, t, masks);
}

void PopSubdivAnalysis::PairMatrices(TDataSeq& ds, const tmutholder& t,
                                     const std::vector<int>& groups,
                                     const std::vector<samptype>& masks, Blocks& b) {
  const std::string kp = std::to_string(project->GroupCount() - 1);
  const int k = static_cast<int>(groups.size());
  const int sf = opt.siteFlags, mf = opt.mutationFlags;
  std::vector<std::string> names;
  for (int g : groups) names.push_back(project->GroupName(g));

  // Values of every pair a < b in project order.
  std::vector<PairValues> pv(static_cast<std::size_t>(k * k));
  auto at = [&](int a, int c) -> PairValues& {
    return pv[static_cast<std::size_t>(std::min(a, c) * k + std::max(a, c))];
  };
  const bool divergence = so.dxy || so.da;
  const bool subdivision = so.fst || so.kst || so.hst || so.nm;
  int lastShared = 0, lastFixed = 0;
  for (int a = 0; a < k; ++a)
    for (int c = a + 1; c < k; ++c) {
      const std::vector<samptype> pair{masks[static_cast<std::size_t>(a)],
                                       masks[static_cast<std::size_t>(c)]};
      PairValues& v = at(a, c);
      if (divergence) v.div = divergenceDxyDa(t, regionFrom, regionTo, sf, mf, pair);
      if (subdivision) {
        v.sub = subdivisionFst(t, regionFrom, regionTo, sf, mf, pair, so.kst);
        v.nm = GeneFlowNm(v.sub.fst);
      }
      if (so.sFixed) {
        // X is the later group (the column of the upper right cell), Y the earlier one.
        v.sites = sharedFixedSites(t, regionFrom, regionTo, sf, mf, pair[1], pair[0]);
        lastShared = v.sites.shared;
        lastFixed = v.sites.fixed;
      }
    }

  std::string head = "   Y \\ X";
  for (const std::string& n : names) head += " " + Right(n.substr(0, 7), 7);
  head += kCrLf;
  // upper(y, x) fills the cell of row y, column x after y; lower(y, x) the cell with x before y.
  using CellFn = std::function<std::string(int, int)>;
  auto matrix = [&](const CellFn& upper, const CellFn& lower) {
    std::string m = head;
    for (int y = 0; y < k; ++y) {
      m += Right(names[static_cast<std::size_t>(y)].substr(0, 7), 7) + " ";
      for (int x = 0; x < k; ++x) m += x == y ? kBlank : x > y ? upper(y, x) : lower(y, x);
      m += kCrLf;
    }
    return m;
  };
  auto pairName = [&](int y, int x) {
    return names[static_cast<std::size_t>(y)] + " & " + names[static_cast<std::size_t>(x)];
  };
  auto pairDescr = [&](int y, int x) {
    return names[static_cast<std::size_t>(y)] + " and " + names[static_cast<std::size_t>(x)];
  };
  auto realCell = [&](bool on, double value, const std::string& column,
                      const std::string& description, int y, int x) {
    if (!on) return kBlank;
    AddRealStat(ds, 0, column + pairName(y, x), description + pairDescr(y, x), value);
    return Real(value, 8);
  };
  auto intCell = [](int value) { return Right(std::to_string(value), 8); };

  if (divergence) {
    b.dxy = "Population divergence: Dxy (upper right matrix) and Da (lower left matrix) for " + kp +
            " populations" + kCrLf +
            "Dxy is average number of nucl.diff between populations (eq 10.7 Nei 1987);" + kCrLf +
            "Da = Dxy - (PiX+PiY)/2 (same as Delta in Eq25 in Nei&Li 1979)" + kCrLf + kCrLf;
    b.dxy += matrix(
        [&](int y, int x) {
          return realCell(so.dxy, at(y, x).div.dxy, "Dxy for groups ",
                          "Total nucleotide divergence for groups ", y, x);
        },
        [&](int y, int x) {
          return realCell(so.da, at(y, x).div.da, "Da for groups ",
                          "Net nucleotide divergence for groups ", y, x);
        });
  }
  if (so.sFixed) {
    b.shared = std::string("Number of shared sites (upper right matrix) and") + kCrLf +
               "fixed sites (lower left matrix) for " + kp + " populations" + kCrLf + kCrLf;
    b.shared += matrix([&](int y, int x) { return intCell(at(y, x).sites.shared); },
                       [&](int y, int x) { return intCell(at(y, x).sites.fixed); });
    b.exclusive = std::string(
                      "Number of exclusive sites in population X (upper right matrix) and Y "
                      "(lower left matrix)") +
                  kCrLf + kCrLf;
    // Each cell holds the sites exclusive to its column's group, so both groups of a pair
    // are shown.
    b.exclusive += matrix([&](int y, int x) { return intCell(at(y, x).sites.exclusiveX); },
                          [&](int y, int x) { return intCell(at(y, x).sites.exclusiveY); });
    AddIntStat(ds, 0, lastShared, "Shared_sites", "Shared_sites");
    AddIntStat(ds, 0, lastFixed, "Fixed_sites", "Fixed_sites");
  }
  if (so.fst || so.kst) {
    b.fst = "Population subdivision statistics for " + kp + " populations" + kCrLf +
            "Fst (upper right matrix) and Kst* (lower left matrix)" + kCrLf +
            "Fst is eq 3 Hudson et al 1992 Genetics v132 p583; Kst* is eq9&11 Hudson et al 1992 "
            "MBE v9 p138" +
            kCrLf + kCrLf;
    b.fst += matrix(
        [&](int y, int x) {
          return realCell(so.fst, at(y, x).sub.fst, "Fst for groups ", "Fst for groups ", y, x);
        },
        [&](int y, int x) {
          return realCell(so.kst, at(y, x).sub.kst, "Kst* for groups ", "Kst* for groups ", y, x);
        });
  }
  if (so.nm) {
    b.nm = "Gene flow, Nm (eq4 Hudson et al 1992 Genetics v132 p583) for " + kp + " populations" +
           kCrLf + kCrLf;
    b.nm += matrix(
        [&](int y, int x) {
          return realCell(true, at(y, x).nm, "Nm for groups ",
                          "Effective migration rate for groups ", y, x);
        },
        [&](int, int) { return kBlank; });
  }
  if (so.hst) {
    b.hst = "Hst (eq.9 Jost 2008) for " + kp + " populations" + kCrLf + kCrLf;
    b.hst += matrix(
        [&](int y, int x) {
          return realCell(true, at(y, x).sub.hst, "Hst (eq9 Jost2008) for groups ",
                          "Dst for groups ", y, x);
        },
        [&](int, int) { return kBlank; });
  }
}

void PopSubdivAnalysis::Overall(TDataSeq& ds, const tmutholder& t,
                                const std::vector<samptype>& masks, Blocks& b) {
  const std::string kp = std::to_string(project->GroupCount() - 1);
  const int k = static_cast<int>(masks.size());
  const int sf = opt.siteFlags, mf = opt.mutationFlags;
  const bool divergence = so.dxy || so.da;
  const bool subdivision = so.fst || so.kst || so.hst || so.nm;
  DivergenceSums sums;
  SubdivisionValues v;
  if (divergence) {
    sums = divergenceDxyDa(t, regionFrom, regionTo, sf, mf, masks);
    b.dxy += std::string(kCrLf) + "For " + kp + " populations";
    if (so.dxy) b.dxy += " Dxy = " + Real(Scaled(sums.dxy, k), 6);
    if (so.da) b.dxy += " Da = " + Real(Scaled(sums.da, k), 6);
    b.dxy += kCrLf;
    if (so.dxy)
      AddRealStat(ds, 0, "Dxy over all groups", "Dxy over all groups", Scaled(sums.dxy, k));
    if (so.da) AddRealStat(ds, 0, "Da over all groups", "Da over all groups", Scaled(sums.da, k));
  }
  if (subdivision) v = subdivisionFst(t, regionFrom, regionTo, sf, mf, masks, so.kst);
  if (so.fst || so.kst) {
    b.fst += std::string(kCrLf) + "For " + kp + " populations";
    if (so.fst) b.fst += " Fst = " + Real(v.fst, 6);
    if (so.kst) b.fst += " Kst* = " + Real(v.kst, 6);
    b.fst += kCrLf;
  }
  if (so.hst)
    b.hst += std::string(kCrLf) + "For " + kp + " populations Hst = " + Real(v.hst, 6) + kCrLf;
  if (so.fst) AddRealStat(ds, 0, "Fst over all groups", "Fst over all groups", v.fst);
  if (so.hst) AddRealStat(ds, 0, "Hst over all groups", "Hst over all groups", v.hst);
  if (so.kst) AddRealStat(ds, 0, "Kst* over all groups", "Kst* over all groups", v.kst);

  if (so.permute && (divergence || so.fst || so.kst || so.hst)) Permutations(t, masks, v, sums, b);
  if (fo.doBootstrap && !CancelRequested()) Bootstrap(t, masks, b);
  if (so.nm)
    b.nm += std::string(kCrLf) + "For " + kp + " populations Nm = " + Real(GeneFlowNm(v.fst), 6) +
            kCrLf;
}

void PopSubdivAnalysis::Permutations(const tmutholder& t, const std::vector<samptype>& masks,
                                     const SubdivisionValues& observed,
                                     const DivergenceSums& observedSums, Blocks& b) {
  const int k = static_cast<int>(masks.size());
  const int sf = opt.siteFlags, mf = opt.mutationFlags;
  const bool divergence = so.dxy || so.da;
  std::vector<double> fst, kst, hst, dxy, da;
  SubdivisionValues obs = observed;
  DivergenceSums obsSums = observedSums;
  // The differences between all pairs are counted once; each replicate only relabels.
  const SubdivisionMatrix matrix(t, regionFrom, regionTo, sf, mf, masks, so.kst, &svc->progress);
  if (CancelRequested()) return;
  std::vector<int> labels = LabelsOf(masks, t.SequenceCount());
  if (matrix.Usable()) {
    const SubdivisionStats s = matrix.Evaluate(labels);
    obs = s.values;
    obsSums = s.sums;
  }
  std::vector<samptype> permuted = masks;
  {
    ReplicateProgress bar(svc->progress, datasetCount < 2, so.permutations, "Doing permutations");
    for (int r = 0; r < so.permutations; ++r) {
      SubdivisionStats s;
      if (matrix.Usable()) {
        PermuteLabels(labels, k, rng_);
        s = matrix.Evaluate(labels);
      } else {
        PermuteGroups(permuted, rng_);
        if (so.fst || so.kst || so.hst)
          s.values = subdivisionFst(t, regionFrom, regionTo, sf, mf, permuted, so.kst);
        if (divergence) s.sums = divergenceDxyDa(t, regionFrom, regionTo, sf, mf, permuted);
      }
      fst.push_back(s.values.fst);
      kst.push_back(s.values.kst);
      hst.push_back(s.values.hst);
      dxy.push_back(Scaled(s.sums.dxy, k));
      da.push_back(Scaled(s.sums.da, k));
      bar.Step();
      if (bar.Cancelled()) break;
    }
  }
  const std::string from = "From " + std::to_string(fst.size()) + " permutaions ";
  if (divergence) {
    b.dxy += from;
    if (so.dxy) b.dxy += "  P-value for Dxy = " + Real(PValue(Scaled(obsSums.dxy, k), dxy), 5);
    if (so.da) b.dxy += "  P-value for Da = " + Real(PValue(Scaled(obsSums.da, k), da), 5);
    b.dxy += kCrLf;
  }
  if (so.fst || so.kst) {
    b.fst += from;
    if (so.fst) b.fst += "P-value for Fst = " + Real(PValue(obs.fst, fst), 5);
    if (so.kst) b.fst += "  P-value for Kst* = " + Real(PValue(obs.kst, kst), 5);
    b.fst += kCrLf;
  }
  if (so.hst) b.hst += from + "P-value for Hst = " + Real(PValue(obs.hst, hst), 5) + kCrLf;
}

void PopSubdivAnalysis::Bootstrap(const tmutholder& t, const std::vector<samptype>& masks,
                                  Blocks& b) {
  const int k = static_cast<int>(masks.size());
  const int sf = opt.siteFlags, mf = opt.mutationFlags;
  const bool divergence = so.dxy || so.da;
  std::vector<double> fst, kst, hst, dxy, da;
  std::string csv;
  if (so.csvFile) {
    if (so.fst) csv += "Fst ";
    if (so.hst) csv += "Hst ";
    if (so.kst) csv += "Kst ";
    if (so.dxy) csv += "Dxy ";
    if (so.da) csv += "Da ";
    csv += kCrLf;
  }
  auto zeroed = [](double x) { return x < 0 ? 0.0 : x; };
  {
    ReplicateProgress bar(svc->progress, datasetCount < 2, fo.bsReplicates,
                          "Doing bootstrap replicates...");
    for (int r = 0; r < fo.bsReplicates; ++r) {
      const std::unique_ptr<tmutholder> copy = BootstrapTable(t, rng_);
      SubdivisionValues v;
      DivergenceSums d;
      if (so.fst || so.kst || so.hst)
        v = subdivisionFst(*copy, regionFrom, regionTo, sf, mf, masks, so.kst);
      if (divergence) d = divergenceDxyDa(*copy, regionFrom, regionTo, sf, mf, masks);
      // The interval is of the overall (mean over pairs) values the report prints.
      const double values[] = {zeroed(v.fst), zeroed(v.hst), zeroed(v.kst),
                               zeroed(Scaled(d.dxy, k)), zeroed(Scaled(d.da, k))};
      fst.push_back(values[0]);
      hst.push_back(values[1]);
      kst.push_back(values[2]);
      dxy.push_back(values[3]);
      da.push_back(values[4]);
      if (so.csvFile) {
        const bool on[] = {so.fst, so.hst, so.kst, so.dxy, so.da};
        for (int s = 0; s < 5; ++s)
          if (on[s]) csv += Csv3(values[s]) + ",";
        csv += kCrLf;
      }
      bar.Step();
      if (bar.Cancelled()) break;
    }
  }
  const std::string head = "Bootstrap confidence interval from " + std::to_string(fo.bsReplicates) +
                           " bootstrap replicates" + kCrLf;
  if (divergence) {
    b.dxy += head;
    if (so.dxy) b.dxy += IntervalLine("Dxy", dxy);
    if (so.da) b.dxy += IntervalLine("Da", da);
  }
  if (so.fst || so.kst) {
    b.fst += head;
    if (so.fst) b.fst += IntervalLine("Fst", fst);
    if (so.kst) b.fst += IntervalLine("Kst", kst);
  }
  if (so.hst) b.hst += head + IntervalLine("Hst", hst);
  if (so.csvFile && AppendToFile(so.csvFileName, csv)) {
    std::string names;
    if (so.fst) names += " Fst";
    if (so.hst) names += " Hst";
    if (so.kst) names += " Kst";
    if (so.dxy) names += " Dxy";
    if (so.da) names += " Da";
    b.fst += names + " values for individual bootstrap replicates were written to file " +
             so.csvFileName + kCrLf;
  }
}

void PopSubdivAnalysis::AfterRun() {
  out.reportCaption = kSubdivReportCaption;
  if (fo.doBootstrap && so.csvFile) out.filesWritten.push_back(so.csvFileName);
}

AnalysisOutput RunPopSubdiv(TDataProj& project, const FrameOptions& frame,
                            const PopSubdivOptions& options, Services& services) {
  PopSubdivAnalysis analysis(frame, options);
  AnalysisOutput out = analysis.Run(project, services);
  if (out.reportCaption.empty()) out.reportCaption = kSubdivReportCaption;
  return out;
}
