// SPDX-License-Identifier: GPL-3.0-or-later
// Group report lines of the neutrality tests and of the LD summary statistics.
#include "analysis/NeutralityReport.h"

#include "analysis/LDOutput.h"
#include "analysis/Neutrality.h"
#include "common/NumberFormat.h"

namespace {
constexpr const char* kCrLf = "\r\n";
}

std::string NeutralityValueText(double value) {
  return value <= kNeutralityError ? std::string("Error") : FormatFixed(value, 4);
}

GroupStatsText NeutralityGroupReport(const tmutholder& t, const tmutholder* divergence,
                                     const samptype& sample, int groupMaskCount, int from, int to,
                                     int siteFlags, int mutationFlags, const NeutralityChoices& c) {
  GroupStatsText out;
  // Fu and Li's D with an outgroup counts as well: checked alone it must still be reported.
  const bool withOutgroup = c.fuLiDoutgroup && divergence != nullptr;
  const bool any =
      c.tajimaD || c.fuLiDstar || c.fuLiFstar || withOutgroup || c.wallB || c.wallQ || c.kellyZnS;
  if (groupMaskCount <= 1 || !any) return out;
  out.text = std::string("Neutrality tests & stats:") + kCrLf;
  auto line = [&](const std::string& caption, const std::string& column, double v) {
    out.text += caption + NeutralityValueText(v) + kCrLf;
    out.stats.emplace_back(column, v);
  };
  if (c.tajimaD)
    line("Tajima D = ", "Tajima_D", tajimaD(t, from, to, sample, siteFlags, mutationFlags));
  if (c.fuLiDstar)
    line("Fu and Li D* = ", "Fu and Li D*",
         fuLiDstar(t, from, to, sample, siteFlags, mutationFlags));
  if (c.fuLiFstar)
    line("Fu and Li F* = ", "Fu and Li F*",
         fuLiFstar(t, from, to, sample, siteFlags, mutationFlags));
  if (withOutgroup) {
    const FuLiOutgroupResult d =
        fuLiDoutgroup(*divergence, from, to, sample, siteFlags, mutationFlags);
    out.text += "Fu and Li D with outgroup = " + NeutralityValueText(d.value);
    if (d.mutations > 0) out.text += " (based on " + std::to_string(d.mutations) + " mutations";
    if (d.mutations > 0 && d.external > 0)
      out.text += " with " + std::to_string(d.external) + " of them on terminal branches";
    if (d.mutations > 0 || d.external > 0) out.text += ")";
    out.text += kCrLf;
    if (d.ambiguousOutgroup > 0)
      out.text += "Note that " + std::to_string(d.ambiguousOutgroup) + " mutation" +
                  (d.ambiguousOutgroup > 1 ? "s" : "") + " with ambig. outgroup information " +
                  (d.ambiguousOutgroup == 1 ? "was" : "were") + " excluded from this test" + kCrLf;
    out.stats.emplace_back("Fu and Li D(outgr)", d.value);
  }
  if (c.wallB || c.wallQ) {
    const WallResult w = wallBQ(t, from, to, sample);
    if (c.wallB) line("Wall B = ", "Wall_B", w.B);
    if (c.wallQ) line("Wall Q = ", "Wall_Q", w.Q);
  }
  if (c.kellyZnS) {
    const double z = kellyZnS(t, from, to, sample);
    out.text += "Kelly ZnS = " + FormatFixed(z, 4) + kCrLf;
    out.stats.emplace_back("Kelly ZnS", z);
  }
  return out;
}

GroupStatsText LDGroupReport(const tmutholder& t, const samptype& sample, int groupMaskCount,
                             int from, int to, const LDSummaryChoices& c) {
  GroupStatsText out;
  if (groupMaskCount <= 1 || !(c.wallBQ || c.kellyZnS)) return out;
  const std::vector<int> snps = LDFrequentSnps(t, c.minSNPfreq);
  out.text = "Only " + std::to_string(snps.size()) + " mutations with frequency of at least " +
             std::to_string(c.minSNPfreq) + " were used for LD analysis" + kCrLf +
             "LD summary stats:" + kCrLf;
  if (c.wallBQ) {
    const WallResult w = wallBQ(t, from, to, sample, &snps);
    out.text +=
        "Wall B = " + FormatFixed(w.B, 4) + kCrLf + "Wall Q = " + FormatFixed(w.Q, 4) + kCrLf;
    out.stats.emplace_back("Wall_B", w.B);
    out.stats.emplace_back("Wall_Q", w.Q);
  }
  if (c.kellyZnS) {
    const double z = kellyZnS(t, from, to, sample, &snps);
    out.text += "Kelly ZnS = " + FormatFixed(z, 4) + kCrLf;
    out.stats.emplace_back("Kelly ZnS", z);
  }
  out.text += kCrLf;
  return out;
}
