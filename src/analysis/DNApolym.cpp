// SPDX-License-Identifier: GPL-3.0-or-later
// DNA polymorphism: haplotype diversity, the Pi and theta blocks of the group report, and the
// sliding-window profiles.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "analysis/DNApolDbox.h"
#include "analysis/PolymEstimators.h"
#include "common/NumberFormat.h"
#include "model/DataProjUnit.h"

namespace {

constexpr int kMutClasses[] = {kMutAll, kMutAll, kMutAll, kMutAll, kMutNonsilent, kMutSilent};
constexpr int kSiteClasses[] = {kSiteNoncoding, kSiteFirst,  kSiteSecond,
                                kSiteThird,     kSiteCoding, kSiteCoding};

std::string Num(double v) {
  return FormatFixed(v, 5);
}
std::string NumOrNa(double v) {
  return v == -1 ? "NA" : Num(v);
}
std::string SdOrNa(double var, double divisor) {
  return var < 0 ? "NA" : Num(std::sqrt(var) / divisor);
}
double SdValue(double var, double divisor) {
  return var < 0 ? -1 : std::sqrt(var) / divisor;
}

enum ProfileKind { kProfilePi, kProfileTheta, kProfileS, kProfileHd };

constexpr std::uint32_t kColorPurple = 0x800080;

}  // namespace

std::vector<WindowSpan> SlidingWindows(int from, int to, int size, int step) {
  std::vector<WindowSpan> windows;
  if (size < 1 || step < 1) return windows;
  for (long long start = from; start + size - 1 <= to; start += step)
    windows.push_back({static_cast<int>(start), static_cast<int>(start + size - 1), 0});
  return windows;
}

std::vector<WindowSpan> AnalysedWindows(const tmutholder& t, int from, int to, int size, int step) {
  std::vector<WindowSpan> windows = SlidingWindows(from, to, size, step);
  // Analysed columns before each column, so a window's count is one subtraction.
  std::vector<int> before(t.siteAnalysed.size() + 1, 0);
  for (std::size_t c = 0; c < t.siteAnalysed.size(); ++c)
    before[c + 1] = before[c] + (t.siteAnalysed[c] ? 1 : 0);
  const int columns = static_cast<int>(t.siteAnalysed.size());
  std::vector<WindowSpan> kept;
  for (WindowSpan w : windows) {
    if (t.spanCounting) {
      w.sites = w.end - w.start + 1;
    } else {
      const int lo = std::clamp(w.start, 1, columns + 1), hi = std::clamp(w.end, 0, columns);
      w.sites =
          hi >= lo ? before[static_cast<std::size_t>(hi)] - before[static_cast<std::size_t>(lo - 1)]
                   : 0;
    }
    if (w.sites > 0) kept.push_back(w);
  }
  return kept;
}

void DNApolymAnalysis::PiBlock(TDataSeq& ds, const tmutholder& t, const samptype& sample, int row,
                               int mf, int sf) {
  const std::string label = MutationFlagsLabel(mf) + " at " + SiteFlagsLabel(sf);
  const double sites = t.sitesOfClass(sf);
  auto add = [&](const std::string& column, double value) {
    if (row >= 0) AddRealStat(ds, row, column, column, value);
  };
  if (sites > 0) {
    const double pi = nucleotideDiversity(t, 0, 0, sample, sf, mf);
    const double var = po.varPi ? nucleotideDiversityVar(t, 0, 0, sample, sf, mf) : -1;
    Line("Nucleotide diversity (Pi):  " + label);
    Append("Per sequence: " + NumOrNa(pi));
    if (po.varPi) Append("  SD: " + SdOrNa(var, 1));
    Append("\r\n");
    Append("Per nucleotide: " + (pi == -1 ? std::string("NA") : Num(pi / sites)));
    if (po.varPi) Append("  SD: " + SdOrNa(var, sites));
    Append("\r\n");
    add("Pi_per_seq " + label, pi);
    if (po.varPi) add("StDev(Pi_per_seq) " + label, SdValue(var, 1));
    add("Pi_per_nucl. " + label, pi == -1 ? -1 : pi / sites);
    if (po.varPi) add("StDev(Pi_per_nucl. )" + label, SdValue(var, sites));
  } else {
    add("Pi_per_seq " + label, -1);
    if (po.varPi) add("StDev(Pi_per_seq) " + label, -1);
    add("Pi_per_nucl. " + label, -1);
    if (po.varPi) add("StDev(Pi_per_nucl. )" + label, -1);
  }
  Append("\r\n");
}

void DNApolymAnalysis::ThetaBlock(TDataSeq& ds, const tmutholder& t, const samptype& sample,
                                  int row, int mf, int sf) {
  const std::string label = MutationFlagsLabel(mf) + " in " + SiteFlagsLabel(sf);
  const std::string suffix = " @ " + SiteFlagsLabel(sf);
  const double sites = t.sitesOfClass(sf);
  auto add = [&](const std::string& column, double value) {
    if (row >= 0) AddRealStat(ds, row, column + suffix, column + suffix, value);
  };
  if (sites > 0) {
    const double theta = thetaW(t, 0, 0, sample, sf, mf);
    const double vNo = po.varTheta ? thetaVarNoRec(t, 0, 0, sample, sf, mf) : -1;
    const double vRec = po.varTheta ? thetaVarRec(t, 0, 0, sample, sf, mf) : -1;
    Line("Watterson Theta: " + label);
    Append("Per sequence: " + NumOrNa(theta));
    if (po.varTheta)
      Append("  SD(no recomb.): " + SdOrNa(vNo, 1) + "  SD(recomb.): " + SdOrNa(vRec, 1));
    Append("\r\n");
    Append("Per nucleotide: " + (theta == -1 ? std::string("NA") : Num(theta / sites)));
    if (po.varTheta)
      Append("  SD(no recomb.): " + SdOrNa(vNo, sites) + "  SD(recomb.): " + SdOrNa(vRec, sites));
    Append("\r\n");
    add("Theta_per_seq.", theta);
    if (po.varTheta) {
      add("StDev(Theta_per_seq)_NoRec", SdValue(vNo, 1));
      add("StDev(Theta_per_seq)_Rec", SdValue(vRec, 1));
    }
    add("Theta_per_nucl.", theta == -1 ? -1 : theta / sites);
    if (po.varTheta) {
      add("StDev(Theta_per_nucl.)_NoRec", SdValue(vNo, sites));
      add("StDev(Theta_per_nucl.)_Rec", SdValue(vRec, sites));
    }
  } else {
    add("Theta_per_seq.", -1);
    if (po.varTheta) {
      add("StDev(Theta_per_seq)_NoRec", -1);
      add("StDev(Theta_per_seq)_Rec", -1);
    }
    add("Theta_per_nucl.", -1);
    if (po.varTheta) {
      add("StDev(Theta_per_nucl.)_NoRec", -1);
      add("StDev(Theta_per_nucl.)_Rec", -1);
    }
  }
  Append("\r\n");
}

void DNApolymAnalysis::HaplotypeLines(TDataSeq& ds, const std::vector<int>& haplotypeOf, int row) {
  const HaplotypeDiversity h = haplotypeDiversity(haplotypeOf);
  Line("Haplotype diversity, Hd: " + NumOrNa(h.hd) + ", SD: " + SdOrNa(h.variance, 1));
  if (row < 0) return;
  AddRealStat(ds, row, "Hd", "Haplotype diversity", h.hd);
  AddRealStat(ds, row, "SD(Hd)", "Standard deviation of haplotype diversity",
              SdValue(h.variance, 1));
}

void DNApolymAnalysis::AnalysePop(TDataSeq& ds, const std::string& groupName) {
  BaseGroupReport(ds, groupName);
  if (project == nullptr || groupMask.Size() != ds.Count()) {
    Line("Error: cannot exclude outgroup(s) from polymorphism analysis");
    return;
  }
  const samptype sample = Sample(ds);
  const int ti = TableIndex(ds, groupName);
  if (ti < 0) return;
  if (groupMask.Count() <= 1) return;
  const tmutholder& t = *ds.mutHolders[static_cast<std::size_t>(ti)];
  const int row = StatRow(groupName);
  const int sf = opt.siteFlags, mf = opt.mutationFlags;
  const bool all = (sf & kSiteAll) != 0;
  if (po.pi) {
    PiBlock(ds, t, sample, row, mf, sf);
    if (all)
      for (int k = 0; k < 6; ++k) PiBlock(ds, t, sample, row, kMutClasses[k], kSiteClasses[k]);
  }
  if (po.theta) {
    ThetaBlock(ds, t, sample, row, mf, sf);
    if (all)
      for (int k = 0; k < 6; ++k) ThetaBlock(ds, t, sample, row, kMutClasses[k], kSiteClasses[k]);
  }
}

void DNApolymAnalysis::DoForm(TDataSeq& ds) {
  AnalysisFrame::DoForm(ds);
  if (!fo.doSW || Failed()) return;
  Append("Sliding window is calculated for window size: " + std::to_string(fo.swSize) +
         ", increment: " + std::to_string(fo.swStep));
  if (TableIndex(ds, "", false) != 0) return;
  groupMask = samptype(ds.Count());
  for (int r = 1; r <= ds.Count(); ++r)
    if (ds.SeqAt(r)->selected && ds.SeqAt(r)->enabled) groupMask.Set(r - 1);
  const samptype sample = Sample(ds);
  const tmutholder& t = *ds.mutHolders[0];
  if (po.swPi) Profile(ds, t, sample, kProfilePi);
  if (po.swTheta) Profile(ds, t, sample, kProfileTheta);
  if (po.swS) Profile(ds, t, sample, kProfileS);
  if (po.swHd) Profile(ds, t, sample, kProfileHd);
}

void DNApolymAnalysis::Profile(TDataSeq& ds, const tmutholder& t, const samptype& sample,
                               int kind) {
  if (fo.swSize < 1) {
    svc->messages.Notify("Window size must be > 0");
    return;
  }
  tser s;
  switch (kind) {
    case kProfilePi:
      s.name = "Pi_in_" + ds.dsName;
      s.lineColor = s.fillColor = kColorRed;
      s.shape = 0;
      break;
    case kProfileTheta:
      s.name = "Theta_in_" + ds.dsName;
      s.lineColor = s.fillColor = kColorBlue;
      s.shape = 2;
      break;
    case kProfileHd:
      s.name = "Hd_in_" + ds.dsName;
      s.lineColor = s.fillColor = kColorPurple;
      s.shape = 1;
      break;
    default:
      s.name = "Pol.Sites_in_" + ds.dsName;
      s.lineColor = s.fillColor = kColorGreen;
      s.shape = 3;
      break;
  }
  const int sf = opt.siteFlags, mf = opt.mutationFlags;
  std::string lines;
  for (const WindowSpan& w : AnalysedWindows(t, regionFrom, regionTo, fo.swSize, fo.swStep)) {
    const int segregating = t.countSegregatingSites(w.start, w.end, sample, sf, mf);
    const double sites = w.sites;  // per-site values: the sites the window really holds
    TSerPoint p;
    p.x = static_cast<double>(RoundHalfEven(w.start + (w.end - w.start) / 2.0));
    double sd = 0;
    if (kind == kProfilePi) {
      p.y = nucleotideDiversity(t, w.start, w.end, sample, sf, mf) / sites;
      const double v = nucleotideDiversityVar(t, w.start, w.end, sample, sf, mf);
      sd = v > 0 ? std::sqrt(v) / sites : 0;
    } else if (kind == kProfileTheta) {
      const double theta = thetaW(t, w.start, w.end, sample, sf, mf);
      p.y = theta / sites;
      const double v = thetaVarRec(t, w.start, w.end, sample, sf, mf);
      sd = v > 0 ? std::sqrt(v) / sites : 0;
    } else if (kind == kProfileHd) {
      const HaplotypeDiversity h = haplotypeDiversity(t, w.start, w.end, sample, sf, mf);
      p.y = h.hd;
      sd = h.variance > 0 ? std::sqrt(h.variance) : 0;
    } else {
      p.y = segregating;
    }
    p.yMin = sd > 0 ? p.y - sd : p.y;
    p.yMax = sd > 0 ? p.y + sd : p.y;
    p.label = std::to_string(segregating);
    s.points.push_back(p);
    if (fo.sw2file) {
      lines += ds.dsName + "," + std::to_string(w.start) + "," + std::to_string(w.end) +
               ",SegrS=," + std::to_string(segregating);
      if (kind == kProfileTheta)
        lines += ",Theta=," + FormatFixed(p.y, 4) + ",SD=," + FormatFixed(sd, 5);
      else if (kind == kProfilePi)
        lines += ",Pi=," + FormatFixed(p.y, 4) + ",SD=," + FormatFixed(sd, 5);
      else if (kind == kProfileHd)
        lines += ",Hd=," + FormatFixed(p.y, 4) + ",SD=," + FormatFixed(sd, 5);
      else {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%4d", segregating);
        lines += std::string("Segr_sites:") + "," + buf;
      }
      lines += "\r\n";
    }
  }
  if (fo.sw2file) AppendToFile(fo.swfile, lines);
  if (!s.points.empty()) series_.push_back(std::move(s));
}

void DNApolymAnalysis::AfterRun() {
  out.reportCaption = kPolymReportCaption;
  PublishSeries(series_, kSlidingWindowPlotCaption);
  out.plotXTitle = "Position (window midpoint, bp)";
  std::string y;
  if (po.swPi) y = "Pi (differences per site)";
  if (po.swTheta) y += (y.empty() ? "" : ", ") + std::string("Theta-W (per site)");
  if (po.swS) y += (y.empty() ? "" : ", ") + std::string("Segregating sites (per window)");
  out.plotYTitle = y;
}

AnalysisOutput RunDNApolym(TDataProj& project, const FrameOptions& frame,
                           const DNApolymOptions& options, Services& services) {
  DNApolymAnalysis analysis(frame, options);
  AnalysisOutput out = analysis.Run(project, services);
  if (out.reportCaption.empty()) out.reportCaption = kPolymReportCaption;
  return out;
}
