// SPDX-License-Identifier: GPL-3.0-or-later
// Spectra across datasets, their comparison tests and the two-dimensional spectra.
#include <libalglib/ap.h>
#include <libalglib/statistics.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "analysis/PolymEstimators.h"
#include "analysis/SFS2dUnit.h"
#include "analysis/ShowPolymSUnit.h"
#include "common/NumberFormat.h"
#include "model/DataProjUnit.h"

void int2Dmatrix::Add(const int2Dmatrix& other) {
  const int r = std::max(rows, other.rows), c = std::max(cols, other.cols);
  if (r != rows || c != cols) {
    int2Dmatrix grown(r, c);
    for (int i = 0; i < rows; ++i)
      for (int j = 0; j < cols; ++j) grown.At(i, j) = At(i, j);
    rows = r;
    cols = c;
    cells = std::move(grown.cells);
  }
  for (int i = 0; i < other.rows; ++i)
    for (int j = 0; j < other.cols; ++j) At(i, j) += other.At(i, j);
}

std::string int2Dmatrix::Text(const std::string& rowGroup, const std::string& colGroup) const {
  // Column 0 holds the row classes; column j + 1 the cells of class j.
  std::vector<std::size_t> width(static_cast<std::size_t>(cols) + 1, 0);
  width[0] = std::to_string(std::max(rows - 1, 0)).size();
  for (int j = 0; j < cols; ++j) {
    std::size_t w = std::to_string(j).size();
    for (int i = 0; i < rows; ++i) w = std::max(w, std::to_string(At(i, j)).size());
    width[static_cast<std::size_t>(j) + 1] = w;
  }
  auto cell = [&](long long v, std::size_t column) {
    return PadLeft(std::to_string(v), static_cast<int>(width[column])) + ",";
  };
  std::string s = std::string(width[0], ' ') + ",";
  for (int j = 0; j < cols; ++j) s += cell(j, static_cast<std::size_t>(j) + 1);
  s += colGroup + "\r\n";
  for (int i = 0; i < rows; ++i) {
    s += cell(i, 0);
    for (int j = 0; j < cols; ++j) s += cell(At(i, j), static_cast<std::size_t>(j) + 1);
    s += "\r\n";
  }
  s += rowGroup + "\r\n";
  s += " Note: 1st column and row of the table are labels for freq classes.\r\n";
  return s;
}

const tmutholder* TableOfGroup(const TDataSeq& ds, int groupKey, bool divergence) {
  for (const auto& t : divergence ? ds.groupMutHolders : ds.mutHolders)
    if (t->groupId == groupKey) return t.get();
  return nullptr;
}

int IngroupCount(const TDataProj& project, const TDataSeq& ds, const tmutholder& t) {
  int n = 0;
  for (int r = 1; r <= ds.Count(); ++r)
    if (t.sampleMask.Test(r - 1) && !project.IsOutgroup(ds, r)) ++n;
  return n;
}

DatasetSpectrum SpectrumOf(const TDataProj& project, const TDataSeq& ds, const tmutholder& t,
                           bool folded, int siteFlags, int mutationFlags) {
  DatasetSpectrum d;
  if (folded) {
    const int ingroup = IngroupCount(project, ds, t);
    std::vector<int> freq(static_cast<std::size_t>(ingroup) + 1, 0);
    d.ambiguous = siteFrequencySpectrum(t, freq, 0, 0, siteFlags, mutationFlags, false);
    d.freq = FoldSpectrum(freq, ingroup);
  } else {
    d.freq.assign(static_cast<std::size_t>(t.sampleMask.Count()), 0);
    d.ambiguous = siteFrequencySpectrum(t, d.freq, 0, 0, siteFlags, mutationFlags, true, true);
  }
  return d;
}

SpectrumSum SummedSpectrum(const TDataProj& project, const std::vector<int>& datasets, bool folded,
                           int mutationFlags, int siteFlags, int group) {
  SpectrumSum sum;
  for (int d : datasets) {
    const TDataSeq* ds = project.DatasetAt(d);
    if (ds == nullptr) continue;
    const tmutholder* t = TableOfGroup(*ds, group, !folded);
    if (t == nullptr || t->mutations.empty()) continue;
    const std::vector<int> freq =
        SpectrumOf(project, *ds, *t, folded, siteFlags, mutationFlags).freq;
    // Sized to fit every dataset: a sum sized by one count of sequences and filled by another
    // would run past its end.
    if (freq.size() > sum.counts.size()) {
      sum.counts.resize(freq.size(), 0);
      sum.datasets.resize(freq.size(), 0);
    }
    for (std::size_t k = 0; k < freq.size(); ++k) {
      sum.counts[k] += freq[k];
      ++sum.datasets[k];
    }
  }
  return sum;
}

namespace {

std::vector<double> Proportions(const std::vector<int>& counts) {
  const double total = std::accumulate(counts.begin(), counts.end(), 0.0);
  std::vector<double> p(counts.begin(), counts.end());
  if (total > 0)
    for (double& v : p) v /= total;
  return p;
}

}  // namespace

MannWhitneyResult MannWhitneyCompare(const std::vector<int>& reference,
                                     const std::vector<int>& sample) {
  MannWhitneyResult r;
  const std::vector<double> x = Proportions(reference), y = Proportions(sample);
  const std::size_t n1 = x.size(), n2 = y.size();
  if (n1 < 5 || n2 < 5) return r;
  // U1 = R1 - n1 (n1 + 1) / 2 with mid-ranks for ties.
  std::vector<std::pair<double, int>> all;
  for (double v : x) all.emplace_back(v, 0);
  for (double v : y) all.emplace_back(v, 1);
  std::sort(all.begin(), all.end());
  double r1 = 0;
  for (std::size_t i = 0; i < all.size();) {
    std::size_t e = i;
    while (e < all.size() && all[e].first == all[i].first) ++e;
    const double rank = (static_cast<double>(i + 1) + static_cast<double>(e)) / 2;
    for (std::size_t k = i; k < e; ++k)
      if (all[k].second == 0) r1 += rank;
    i = e;
  }
  const double u1 = r1 - static_cast<double>(n1 * (n1 + 1)) / 2;
  r.u = std::min(u1, static_cast<double>(n1 * n2) - u1);
  try {
    alglib::real_1d_array a, b;
    a.setcontent(static_cast<alglib::ae_int_t>(n1), x.data());
    b.setcontent(static_cast<alglib::ae_int_t>(n2), y.data());
    double both = 1, left = 1, right = 1;
    alglib::mannwhitneyutest(a, static_cast<alglib::ae_int_t>(n1), b,
                             static_cast<alglib::ae_int_t>(n2), both, left, right);
    if (!std::isfinite(both)) return r;
    r.p = std::clamp(both, 0.0, 1.0);
    r.valid = true;
  } catch (const alglib::ap_error&) {
    r.valid = false;
  }
  return r;
}

std::optional<GTestResult> GTestCompare(const std::vector<int>& reference,
                                        const std::vector<int>& sample) {
  if (reference.size() != sample.size()) return std::nullopt;
  const std::vector<double> observed(reference.begin(), reference.end());
  const std::vector<double> p = Proportions(sample);
  return GTestGoodnessOfFit(observed, p);
}

namespace {

const tmutation* AtPosition(const tmutholder& t, const tmutation& m) {
  const auto lo = std::lower_bound(t.mutations.begin(), t.mutations.end(), m.position,
                                   [](const tmutation& a, int p) { return a.position < p; });
  const tmutation* first = nullptr;
  for (auto it = lo; it != t.mutations.end() && it->position == m.position; ++it) {
    if (first == nullptr) first = &*it;
    // At a site of several variants the one with the same new letter is the same mutation.
    if (it->derivedLetter == m.derivedLetter) return &*it;
  }
  return first;
}

bool Counted(const tmutation& m, bool folded, int siteFlags, int mutationFlags) {
  if (!PassesSiteFilter(m, siteFlags) || !PassesMutationFilter(m, mutationFlags)) return false;
  if (folded) return !m.isFixed;
  return !m.isExcluded && m.outgroupIndex >= 0;
}

samptype Ingroup(const TDataProj& project, const TDataSeq& ds, const tmutholder& t) {
  samptype s = t.sampleMask;
  for (int r = 1; r <= ds.Count(); ++r)
    if (project.IsOutgroup(ds, r)) s.Set(r - 1, false);
  return s;
}

int2Dmatrix DatasetPair(const TDataProj& project, const TDataSeq& ds, const tmutholder& a,
                        const tmutholder& b, bool folded, int siteFlags, int mutationFlags) {
  const samptype inA = Ingroup(project, ds, a), inB = Ingroup(project, ds, b);
  const int nA = inA.Count(), nB = inB.Count();
  int2Dmatrix m = folded
                      ? int2Dmatrix(RoundHalfEvenInt(nA / 2.0) + 1, RoundHalfEvenInt(nB / 2.0) + 1)
                      : int2Dmatrix(nA + 1, nB + 1);
  auto fold = [&](int x, int n, int size) { return folded && x >= size ? n - x : x; };
  auto add = [&](int x, int y) {
    if (x >= 0 && y >= 0 && x < m.rows && y < m.cols) ++m.At(x, y);
  };
  for (const tmutation& ma : a.mutations) {
    if (!Counted(ma, folded, siteFlags, mutationFlags)) continue;
    const tmutation* mb = AtPosition(b, ma);
    const int y =
        mb != nullptr && Counted(*mb, folded, siteFlags, mutationFlags) ? mb->CountAnd(inB) : 0;
    add(fold(ma.CountAnd(inA), nA, m.rows), fold(y, nB, m.cols));
  }
  for (const tmutation& mb : b.mutations) {
    if (!Counted(mb, folded, siteFlags, mutationFlags) || AtPosition(a, mb) != nullptr) continue;
    add(0, fold(mb.CountAnd(inB), nB, m.cols));
  }
  return m;
}

}  // namespace

int2Dmatrix PairSpectrum2D(const TDataProj& project, const std::vector<int>& datasets, int groupA,
                           int groupB, bool folded, int siteFlags, int mutationFlags) {
  int2Dmatrix sum;
  for (int d : datasets) {
    const TDataSeq* ds = project.DatasetAt(d);
    if (ds == nullptr) continue;
    const tmutholder* a = TableOfGroup(*ds, groupA, !folded);
    const tmutholder* b = TableOfGroup(*ds, groupB, !folded);
    if (a == nullptr || b == nullptr) continue;
    sum.Add(DatasetPair(project, *ds, *a, *b, folded, siteFlags, mutationFlags));
  }
  return sum;
}

std::string SpectraMutationLabel(int f) {
  if (f & kMutSilent) return "Silent mutations";
  if (f & kMutNonsilent) return "Non-silent mutations";
  return "All mutations";
}

std::string SpectraSiteLabel(int f) {
  if (f & kSiteAll) return "all sites";
  if (f & kSiteNoncoding) return "non-coding sites";
  std::string s = "coding sites";
  if (f & kSiteFirst) s += " 1st";
  if (f & kSiteSecond) s += " 2nd";
  if (f & kSiteThird) s += " 3rd";
  return s + " codon positions";
}
