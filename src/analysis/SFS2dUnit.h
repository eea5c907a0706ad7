// SPDX-License-Identifier: GPL-3.0-or-later
// Site frequency spectra across the datasets of a project: each dataset's folded and unfolded
// spectrum, their sum over the datasets, the tests that compare a dataset's spectrum with the
// sum (Mann-Whitney U, G-test) and the two-dimensional spectra of two groups.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "analysis/MutHold.h"
#include "common/GoodnessOfFit.h"

class TDataProj;
class TDataSeq;

// A matrix of counts with a name; rows and columns are frequency classes from 0.
struct int2Dmatrix {
  std::string name;
  int rows = 0, cols = 0;
  std::vector<int> cells;  // row-major

  int2Dmatrix() = default;
  int2Dmatrix(int r, int c) : rows(r), cols(c), cells(static_cast<std::size_t>(r * c), 0) {}
  [[nodiscard]] int At(int r, int c) const { return cells[static_cast<std::size_t>(r * cols + c)]; }
  int& At(int r, int c) { return cells[static_cast<std::size_t>(r * cols + c)]; }
  // Cell by cell; the matrix grows to the larger dimensions of the two.
  void Add(const int2Dmatrix& other);
  // The printed table: column classes in the header, then one line per row class, every number
  // right-aligned to the widest entry of its column; the group names label the two axes.
  [[nodiscard]] std::string Text(const std::string& rowGroup, const std::string& colGroup) const;
};

// The table of a group (key 0: the whole dataset) in a list of a dataset's tables; null when
// the list holds none.
const tmutholder* TableOfGroup(const TDataSeq& ds, int groupKey, bool divergence);

// Sequences of the table's sample that are not outgroups.
int IngroupCount(const TDataProj& project, const TDataSeq& ds, const tmutholder& t);

struct DatasetSpectrum {
  std::vector<int> freq;  // classes 0..k-1
  int ambiguous = 0;      // mutations left out because the outgroup cannot orient them
};
// Folded (a polymorphism table): k = trunc(ingroup / 2) + 1 classes, outgroups not counted.
// Unfolded (a divergence table): k = the table's sample with its outgroup, the last class the
// fixed differences; mutations the outgroup does not orient are left out.
DatasetSpectrum SpectrumOf(const TDataProj& project, const TDataSeq& ds, const tmutholder& t,
                           bool folded, int siteFlags, int mutationFlags);

struct SpectrumSum {
  std::vector<int> counts;    // per class from 0, sized to the largest dataset spectrum
  std::vector<int> datasets;  // per class, the datasets that have the class
};
// The spectra of group `group` (a key, 0 the whole dataset) summed over the given datasets of
// the project (folded: polymorphism tables, unfolded: divergence tables) that hold mutations.
SpectrumSum SummedSpectrum(const TDataProj& project, const std::vector<int>& datasets, bool folded,
                           int mutationFlags, int siteFlags, int group);

struct MannWhitneyResult {
  double u = -1;
  double p = -1;  // two-tailed, within 0..1
  bool valid = false;
};
// Both lists turned into proportions (when their sum is positive) and compared by the
// Mann-Whitney U test (Mann and Whitney 1947): U = min(U1, U2) from mid-ranks, P two-tailed
// from ALGLIB. Not valid when a list holds fewer than 5 values (ALGLIB's approximation then
// answers 1 whatever the data).
MannWhitneyResult MannWhitneyCompare(const std::vector<int>& reference,
                                     const std::vector<int>& sample);
// G = 2 sum O_i ln(O_i / (N p_i)) of the reference counts O against the sample's proportions
// p; df = classes - 1. None when a proportion is 0, the reference is empty or has no counts,
// the lists differ in length, or there is less than one degree of freedom.
std::optional<GTestResult> GTestCompare(const std::vector<int>& reference,
                                        const std::vector<int>& sample);

// The two-dimensional spectrum of groups A (rows) and B (columns), summed over the datasets.
int2Dmatrix PairSpectrum2D(const TDataProj& project, const std::vector<int>& datasets, int groupA,
                           int groupB, bool folded, int siteFlags, int mutationFlags);

// Labels of the spectra files and headings: "All mutations", "Silent mutations", "Non-silent
// mutations"; "all sites", "non-coding sites", "coding sites 1st 2nd codon positions".
std::string SpectraMutationLabel(int mutationFlags);
std::string SpectraSiteLabel(int siteFlags);
