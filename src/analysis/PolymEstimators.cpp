// SPDX-License-Identifier: GPL-3.0-or-later
// Estimators of DNA polymorphism on a mutation table.
#include "analysis/PolymEstimators.h"

namespace {

bool MaskFits(const tmutholder& t, const samptype& mask) {
  return mask.Size() == t.SequenceCount();
}

// n and S for the theta family; false when theta is undefined.
bool ThetaInputs(const tmutholder& t, int from, int to, const samptype& mask, int siteFlags,
                 int mutationFlags, int& n, int& s) {
  if (!MaskFits(t, mask)) return false;
  n = mask.Count();
  if (n < 2) return false;
  s = t.countSegregatingSites(from, to, mask, siteFlags, mutationFlags);
  return true;
}

}  // namespace

double thetaW(const tmutholder& t, int from, int to, const samptype& mask, int siteFlags,
              int mutationFlags) {
  int n = 0, s = 0;
  if (!ThetaInputs(t, from, to, mask, siteFlags, mutationFlags, n, s)) return -1;
  return s / tmutholder::a(n);
}

double thetaVarNoRec(const tmutholder& t, int from, int to, const samptype& mask, int siteFlags,
                     int mutationFlags) {
  int n = 0, s = 0;
  if (!ThetaInputs(t, from, to, mask, siteFlags, mutationFlags, n, s)) return -1;
  const double a = tmutholder::a(n), b = tmutholder::b(n);
  const double sd = s;
  return (a * a * sd + b * sd * sd) / (a * a * (a * a + b));
}

double thetaVarRec(const tmutholder& t, int from, int to, const samptype& mask, int siteFlags,
                   int mutationFlags) {
  int n = 0, s = 0;
  if (!ThetaInputs(t, from, to, mask, siteFlags, mutationFlags, n, s)) return -1;
  const double a = tmutholder::a(n);
  return s / (a * a);
}

double nucleotideDiversity(const tmutholder& t, int from, int to, const samptype& mask,
                           int siteFlags, int mutationFlags) {
  if (!MaskFits(t, mask)) return 0;
  return t.meanPairwiseDifferences(mask, from, to, siteFlags, mutationFlags);
}

double nucleotideDiversityVar(const tmutholder& t, int from, int to, const samptype& mask,
                              int siteFlags, int mutationFlags) {
  const double sites = t.sitesOfClass(siteFlags);
  const int n = mask.Count();
  if (sites <= 0 || n < 2) return -1;
  const double theta = thetaW(t, from, to, mask, siteFlags, mutationFlags);
  if (theta < 0) return -1;
  const double nd = n;
  return theta * (nd + 1) / (3 * (nd - 1)) +
         theta * theta * 2 * (nd * nd + nd + 3) / (9 * nd * (nd - 1));
}

HaplotypeDiversity haplotypeDiversity(const std::vector<int>& haplotypeOf) {
  std::vector<double> counts;
  double n = 0;
  for (int h : haplotypeOf) {
    if (h < 0) continue;
    if (static_cast<std::size_t>(h) >= counts.size())
      counts.resize(static_cast<std::size_t>(h) + 1);
    counts[static_cast<std::size_t>(h)] += 1;
    n += 1;
  }
  HaplotypeDiversity r;
  if (n < 2) return r;
  double sum2 = 0, sum3 = 0;
  for (double c : counts) {
    const double x = c / n;
    sum2 += x * x;
    sum3 += x * x * x;
  }
  r.hd = n / (n - 1) * (1 - sum2);
  r.variance = 2 / (n * (n - 1)) * (2 * (n - 2) * (sum3 - sum2 * sum2) + sum2 - sum2 * sum2);
  return r;
}

HaplotypeDiversity haplotypeDiversity(const tmutholder& t, int from, int to, const samptype& mask,
                                      int siteFlags, int mutationFlags) {
  std::vector<int> haplotypeOf;
  (void)t.countHaplotypes(mask, from, to, siteFlags, mutationFlags, &haplotypeOf);
  return haplotypeDiversity(haplotypeOf);
}

int siteFrequencySpectrum(const tmutholder& t, std::vector<int>& freq, int from, int to,
                          int siteFlags, int mutationFlags, bool orientedOnly, bool withFixed) {
  int excluded = 0;
  for (const tmutation& m : t.mutations) {
    if ((from != 0 || to != 0) && (m.position < from || m.position > to)) continue;
    if (!PassesSiteFilter(m, siteFlags) || !PassesMutationFilter(m, mutationFlags)) continue;
    if (m.isFixed && !withFixed) continue;
    if (m.isExcluded || (orientedOnly && m.outgroupIndex < 0)) {
      ++excluded;
      continue;
    }
    const int k = m.Count();
    if (k >= 0 && k < static_cast<int>(freq.size())) ++freq[static_cast<std::size_t>(k)];
  }
  return excluded;
}
