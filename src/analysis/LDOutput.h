// SPDX-License-Identifier: GPL-3.0-or-later
// Texts of the pairwise LD outputs of one dataset (one line per pair or cross-tables), the
// decay of mean R^2 with distance, the LD sliding-window test of an assembly and its split.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "analysis/LinkageStats.h"

class TDataSeq;
class TextSink;

struct LDPairChoices {
  bool D = true, Dprime = true, R = true, chiSquare = true;
  int minSNPfreq = 2;
  int maxDistance = 0;  // below 1: the alignment length
  bool averageR2 = false;
  int binSize = 100;
};

// Called once per first SNP of the pairs with its position (status and progress); true stops
// the output there (a cancelled run, whose output is then dropped).
using LDRowHook = std::function<bool(int position)>;

// Table indices of the SNPs the pairwise outputs use: minSNPfreq <= carrierCount <=
// sequences - minSNPfreq.
std::vector<int> LDPairSnps(const tmutholder& t, int minSNPfreq);
// SNPs with carrierCount >= minSNPfreq (the summary statistics and the assembly scan).
std::vector<int> LDFrequentSnps(const tmutholder& t, int minSNPfreq);

// The header and one line per pair (CR LF) go to `pairs` as the pairs are computed, so the
// text is never held whole however many pairs there are. Returns the "bins:" line and the mean
// R^2 line, empty without averageR2. Every computed pair's D' goes to the cache when one is
// given (the assembly scan reads it).
std::string LDSequentialOutput(const tmutholder& t, const samptype& mask,
                               const std::string& dataset, int alignmentLength,
                               const LDPairChoices& choices, DprimeCache* cache, TextSink& pairs,
                               const LDRowHook& onRow = {});
struct LDSequentialText {
  std::string pairs;
  std::string hist;
};
// The same, collected in memory.
LDSequentialText LDSequentialOutput(const tmutholder& t, const samptype& mask,
                                    const std::string& dataset, int alignmentLength,
                                    const LDPairChoices& choices, DprimeCache* cache,
                                    const LDRowHook& onRow = {});

// dTable: D below the diagonal and D' above; otherwise R below and chi-square above. The rows
// go to `out` as they are computed.
void LDCrossTable(const tmutholder& t, const samptype& mask, const std::string& dataset,
                  int alignmentLength, const LDPairChoices& choices, bool dTable,
                  DprimeCache* cache, TextSink& out, const LDRowHook& onRow = {});
std::string LDCrossTable(const tmutholder& t, const samptype& mask, const std::string& dataset,
                         int alignmentLength, const LDPairChoices& choices, bool dTable,
                         DprimeCache* cache, const LDRowHook& onRow = {});

// D' from the cache, or computed and added to it.
double CachedDprime(const tmutholder& t, int i, int j, const samptype& mask, DprimeCache& cache);

struct AsmWindow {
  double sum = 0;  // of |D'| between the two blocks
  int leftJunction = 0, rightJunction = 0;
};

struct AssemblyScanText {
  std::string detail;    // the detail text ("AsmTest_" file)
  std::string scanFile;  // lines for "avrgLDscan.csv", its header first
  std::vector<AsmWindow> windows;
};
AssemblyScanText AssemblyLDScan(const tmutholder& t, const samptype& mask,
                                const std::string& dataset, int blockSize, int step, int minSNPfreq,
                                bool dprimeChecked, DprimeCache& cache,
                                const LDRowHook& onWindow = {});

// Moves left and right to the edges of a run of more than two gap columns between them;
// false when there is none (see the assembly split).
bool FindGapRun(const TDataSeq& ds, int& left, int& right);

struct AsmSegment {
  int first = 0, last = 0;  // alignment columns, inclusive
};
// Cuts 1..alignmentLength at the windows whose |D'| sum lies below mean - coef * sd / 2 and
// whose junctions enclose a gap run.
std::vector<AsmSegment> AssemblySplit(const TDataSeq& ds, const std::vector<AsmWindow>& windows,
                                      double splitCoef, int alignmentLength);
