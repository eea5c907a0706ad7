// SPDX-License-Identifier: GPL-3.0-or-later
// Mutation tables of the site scan: the analysis option flags, tmutation, tmutholder with the
// counting operations every analysis shares, and the per-dataset statistics table.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "analysis/SampType.h"

class TDataSeq;

// Bits of AnalysisOptions::siteFlags.
enum SiteFlag : int {
  kSiteAll = 1,
  kSiteUnknown = 2,
  kSiteNoncoding = 4,
  kSiteCoding = 8,
  kSiteFirst = 0x10,
  kSiteSecond = 0x20,
  kSiteThird = 0x40,
  kSiteDegen01 = 0x80,  // r = 0 or 1 of four changes synonymous
  kSiteDegen2 = 0x100,
  kSiteDegen3 = 0x200,
  kSiteDegen4 = 0x400,
};
constexpr int kSiteCodonPositions = kSiteFirst | kSiteSecond | kSiteThird;

// Bits of AnalysisOptions::mutationFlags.
enum MutationFlag : int {
  kMutAll = 1,
  kMutNonsilent = 2,
  kMutSilent = 4,
  kMutNoncoding = 8,
  kMutSynonymous = 16,
  kMutIndelsOnly = 64,
  kMutUnknown = 0x80,
};

// Site classes and mutation classes of a tmutation.
enum : std::uint8_t { kClassUnknownSite = 1, kClassNoncodingSite = 2, kClassCodingSite = 3 };
enum : std::uint8_t {
  kMutClassUnknown = 0,
  kMutClassReplacement = 1,
  kMutClassNoncoding = 3,
  kMutClassSynonymous = 4
};

struct AnalysisOptions {
  std::uint16_t siteFlags = kSiteAll;
  std::uint8_t mutationFlags = kMutAll;
  std::uint8_t indelMode = 0;      // 0 gaps excluded, 1 ignored in polymorphic sites, 2 a variant
  std::uint8_t ambiguityMode = 0;  // 0 ambiguous letters carry nothing, 1 such sites are skipped
  int regionFrom = 1;              // alignment columns, 1-based, inclusive
  int regionTo = 0;                // 0 or less: the end of the dataset
  bool useRegions = true;
  bool showProgress = false;
};

// Report labels of the option sets ("all sites", "silent mutations", ...).
std::string SiteFlagsLabel(int siteFlags);
std::string MutationFlagsLabel(int mutationFlags);

struct tmutation : samptype {
  int position = 0;
  int carrierCount = 0;
  int outgroupIndex = -1;  // row of the orienting outgroup, -1 when unoriented
  int posInCodon = 0;
  double synFraction = 1.0;
  bool isSilent = true;
  bool isFixed = false;
  bool isExcluded = false;
  bool hasAmbiguity = false;
  bool hasGap = false;
  bool isTransition = false;
  bool isSingleton = false;
  char ancestralLetter = 'N', derivedLetter = 'N', outgroupLetter = 'N';
  std::string derivedCodon = "NNN", ancestralCodon = "NNN", outgroupCodon = "NNN";
  std::uint8_t mutationClass = kMutClassUnknown;
  std::uint8_t siteClass = kClassUnknownSite;
};

// A to G and C to T (either case; U counts as T).
bool IsTransitionPair(char a, char b);
bool PassesSiteFilter(const tmutation& m, int siteFlags);
bool PassesMutationFilter(const tmutation& m, int mutationFlags);

struct DistanceResult {
  double distance = -1;
  double variance = -1;
};

enum DistanceKind : int { kJukesCantor = 0, kKimura2P = 1, kDifferenceCount = 5 };

// Jukes-Cantor (1969) or Kimura two-parameter (1980) distance, with its variance, of two
// sequences that differ by transitions and transversions over L sites; -1 for a distance past
// saturation. For kDifferenceCount the distance is the number of differences and the variance
// stays -1: the variance of a count comes from the sample (nucleotideDiversityVar).
DistanceResult DistanceOfDifferences(int model, int transitions, int transversions, double L);

class tmutholder {
 public:
  std::vector<tmutation> mutations;  // sorted by position, stable
  std::string message;
  std::vector<bool> siteAnalysed;  // per alignment column of the group (index column - 1)
  samptype sampleMask;
  int groupId = -1;
  int maxMutations = 20000;
  bool spanCounting = false;
  int positionsCounted = 0;
  int noncodingPositions = 0;
  int firstPosCount = 0, secondPosCount = 0, thirdPosCount = 0;
  int codonCount = 0;
  double synPositions = 0, nonsynPositions = 0;

  // Sequences the carrier sets range over (0 without mutations: the mask's size then).
  [[nodiscard]] int SequenceCount() const;

  // All counts take the span from..to of positions (0, 0: the whole table) and both filters.
  [[nodiscard]] int countMutations(int from, int to, const samptype& mask, int siteFlags,
                                   int mutationFlags, bool withFixed = false) const;
  [[nodiscard]] int countSegregatingSites(int from, int to, const samptype& mask, int siteFlags,
                                          int mutationFlags, bool withFixed = false) const;
  // Mutations counted by countMutations that one sequence of the mask carries; for an
  // unoriented mutation also those all but one carry (the single sequence then holds the
  // other letter).
  [[nodiscard]] int countSingletons(int from, int to, const samptype& mask, int siteFlags,
                                    int mutationFlags) const;
  [[nodiscard]] static bool isSegregatingIn(const tmutation& m, const samptype& mask);
  [[nodiscard]] int countFixedDifferences(int from, int to, int siteFlags, int mutationFlags) const;
  // Sites (columns) at which i and j differ; i and j are bit indices (row - 1).
  [[nodiscard]] int countDifferences(int i, int j, int from, int to, int siteFlags,
                                     int mutationFlags) const;
  // Number of haplotypes of the mask; haplotypeOf (when given) gets one index per sequence,
  // -1 outside the mask.
  [[nodiscard]] int countHaplotypes(const samptype& mask, int from, int to, int siteFlags,
                                    int mutationFlags,
                                    std::vector<int>* haplotypeOf = nullptr) const;
  // Mean of countDifferences over all pairs of the mask, from the state counts of each site.
  [[nodiscard]] double meanPairwiseDifferences(const samptype& mask, int from, int to,
                                               int siteFlags, int mutationFlags) const;
  // For every sequence, the sites at which it differs from sequence j (the countDifferences of
  // each pair with j, in one pass over the table). Empty when j is outside the carrier sets.
  [[nodiscard]] std::vector<int> differencesFrom(int j, int siteFlags, int mutationFlags) const;
  // Mean Jukes-Cantor distance to sequence j over the sequences of the table's sample other
  // than j whose distance exists (as pairwiseDistance gives it); -1 when there is none.
  [[nodiscard]] double meanJukesCantorFrom(int j, int siteFlags) const;
  // Each differing site is a transition or a transversion by the pair's own two letters. For
  // kDifferenceCount the second value is the standard deviation of the count, the square root
  // of nucleotideDiversityVar over the table's sample (-1 when that is undefined).
  [[nodiscard]] DistanceResult pairwiseDistance(int i, int j, int model, int siteFlags,
                                                int mutationFlags, int to = 0, int from = 0) const;
  [[nodiscard]] double sitesOfClass(int siteFlags) const;
  [[nodiscard]] int positionsAnalysed() const;

  // Harmonic sums over i = 1..n-1 of 1/i and 1/i^2.
  [[nodiscard]] static double a(int n);
  [[nodiscard]] static double b(int n);

  // Index range [first, last) of the mutations whose position lies in the span.
  void Span(int from, int to, std::size_t& first, std::size_t& last) const;
};

// Frees a table through the dataset's type-erased pointer.
void DeleteMutHolder(tmutholder* table);

// ---- statistics table of a dataset: row r belongs to group number r, row 0 the dataset ----
bool AddIntStat(TDataSeq& ds, int row, int value, const std::string& description,
                const std::string& columnName);
bool AddRealStat(TDataSeq& ds, int row, const std::string& columnName,
                 const std::string& description, double value);
void ClearStats(TDataSeq& ds);
