// SPDX-License-Identifier: GPL-3.0-or-later
// Estimators of DNA polymorphism on a mutation table: Watterson's theta with its variances,
// nucleotide diversity with its variance, haplotype diversity, and the site frequency spectrum.
#pragma once
#include <vector>

#include "analysis/MutHold.h"

// Every operation takes the span from..to (0, 0: the whole table), the sample mask and both
// filters as the counting operations of the table do.

// S / a(n); -1 when the mask does not fit the table or holds fewer than two sequences.
double thetaW(const tmutholder& t, int from, int to, const samptype& mask, int siteFlags,
              int mutationFlags);
// Variance of thetaW without recombination: (a^2 S + b S^2) / (a^2 (a^2 + b)); -1 as thetaW.
double thetaVarNoRec(const tmutholder& t, int from, int to, const samptype& mask, int siteFlags,
                     int mutationFlags);
// Variance of thetaW with free recombination: S / a^2; -1 as thetaW.
double thetaVarRec(const tmutholder& t, int from, int to, const samptype& mask, int siteFlags,
                   int mutationFlags);
// Mean pairwise differences per sequence; 0 without a pair or when the mask does not fit.
double nucleotideDiversity(const tmutholder& t, int from, int to, const samptype& mask,
                           int siteFlags, int mutationFlags);
// Variance of Pi per sequence (Tajima 1983; Nei 1987, eq. 10.7), theta per sequence:
// theta (n + 1) / (3 (n - 1)) + theta^2 2 (n^2 + n + 3) / (9 n (n - 1)). Divided by L^2 it is
// the per-site variance of the same equation with per-site theta. -1 when no site of the
// class was analysed, n < 2 or theta cannot be computed.
double nucleotideDiversityVar(const tmutholder& t, int from, int to, const samptype& mask,
                              int siteFlags, int mutationFlags);
struct HaplotypeDiversity {
  double hd = -1;  // -1 for fewer than two sequences
  double variance = -1;
};
// Nei (1987, eq. 8.4) h = n / (n - 1) (1 - sum x_i^2) over the haplotype frequencies x_i, with
// its sampling variance (eq. 8.12) 2 / (n (n - 1)) [2 (n - 2) (sum x_i^3 - (sum x_i^2)^2) +
// sum x_i^2 - (sum x_i^2)^2]. haplotypeOf: the haplotype index of each sequence, -1 for those
// outside the sample (as countHaplotypes gives it).
HaplotypeDiversity haplotypeDiversity(const std::vector<int>& haplotypeOf);
// The same over the haplotypes countHaplotypes finds in the span.
HaplotypeDiversity haplotypeDiversity(const tmutholder& t, int from, int to, const samptype& mask,
                                      int siteFlags, int mutationFlags);
// Adds each unfixed mutation's carrier count k to freq[k] (0 <= k < freq.size()); mutations
// marked excluded, and with orientedOnly (an unfolded spectrum) those the outgroup does not
// orient, are only counted. Returns the number so left out. With withFixed the fixed
// differences count too (at their carrier count, the whole ingroup).
int siteFrequencySpectrum(const tmutholder& t, std::vector<int>& freq, int from, int to,
                          int siteFlags, int mutationFlags, bool orientedOnly = false,
                          bool withFixed = false);
