// SPDX-License-Identifier: GPL-3.0-or-later
// Neutrality tests on a mutation table: Tajima's D, Fu and Li's D*, F*, D and F, Wall's B and
// Q, Kelly's ZnS, with the sample-size constants they share.
#pragma once
#include <vector>

#include "analysis/MutHold.h"

// Error value of the test statistics ("Error" in reports) and of ZnS.
constexpr double kNeutralityError = -100.0;
constexpr double kZnSError = -1.0;

// c(n) and d(n) of Fu and Li (1993); c(n) is 1 for n < 3, d(n) needs n >= 3.
double FuLiC(int n);
double FuLiD(int n);

// Every test takes the span from..to (0, 0: the whole table), the sample mask (outgroups
// already removed) and both filters, and gives kNeutralityError when it cannot be computed:
// no mutation in the table, a mask that does not fit the table, too small a sample, or a
// variance that is not positive.
double tajimaD(const tmutholder& t, int from, int to, const samptype& mask, int siteFlags,
               int mutationFlags);
// Fu and Li's tests need n >= 3 (their constants divide by n - 2).
double fuLiDstar(const tmutholder& t, int from, int to, const samptype& mask, int siteFlags,
                 int mutationFlags);
// With the variance terms of Simonsen, Churchill and Aquadro (1995).
double fuLiFstar(const tmutholder& t, int from, int to, const samptype& mask, int siteFlags,
                 int mutationFlags);

struct FuLiOutgroupResult {
  double value = kNeutralityError;
  int mutations = 0;  // eta: oriented mutations, fixed differences not counted
  int external = 0;   // eta_e, on terminal branches
  // Mutations the outgroup cannot orient (its letter missing, ambiguous or a removed gap, or
  // private at a site of three letters): left out of eta and eta_e.
  int ambiguousOutgroup = 0;
};
// On a divergence table (mutations oriented by the outgroup).
FuLiOutgroupResult fuLiDoutgroup(const tmutholder& t, int from, int to, const samptype& mask,
                                 int siteFlags, int mutationFlags);
FuLiOutgroupResult fuLiFoutgroup(const tmutholder& t, int from, int to, const samptype& mask,
                                 int siteFlags, int mutationFlags);

// Mutations passing both filters, isSingleton set, segregating in the sample; countExternal
// takes those not isExcluded, countAmbiguousOutgroup those isExcluded.
int countExternal(const tmutholder& t, int from, int to, const samptype& mask, int siteFlags,
                  int mutationFlags);
int countAmbiguousOutgroup(const tmutholder& t, int from, int to, const samptype& mask,
                           int siteFlags, int mutationFlags);

struct WallResult {
  double B = 0, Q = 0;
};
// Wall's and Kelly's statistics take every mutation in the span that segregates in the sample,
// without filters; subset (table indices in table order), when given, limits them further.
WallResult wallBQ(const tmutholder& t, int from, int to, const samptype& mask,
                  const std::vector<int>* subset = nullptr);
// kZnSError with fewer than two such mutations.
double kellyZnS(const tmutholder& t, int from, int to, const samptype& mask,
                const std::vector<int>* subset = nullptr);

// Table indices of the mutations in the span that segregate in the sample (subset as above).
std::vector<int> SegregatingInSpan(const tmutholder& t, int from, int to, const samptype& mask,
                                   const std::vector<int>* subset = nullptr);
