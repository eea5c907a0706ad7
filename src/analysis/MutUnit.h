// SPDX-License-Identifier: GPL-3.0-or-later
// The site scan: UpdateMuts builds a dataset's mutation tables; FindVariants orders the
// variants of one column; AnalyseCodon turns the codons of a coding unit into mutations.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "analysis/MutHold.h"

class TDataSeq;
class TDataProj;
class TGenCode;
class PlatformRandom;

// ---- variants of one column ----
struct ColumnVariants {
  std::string letters;      // variants, the most frequent first
  std::vector<int> counts;  // occurrences of each variant
  bool hasGap = false;
  bool hasAmbiguity = false;     // an ambiguous or missing letter occurred
  std::string ambiguityLetters;  // the distinct ambiguity letters seen (N and ? included)
};

// Letters N K R W S V Y M ? D B H carry no variant.
bool IsAmbiguityLetter(char upperLetter);
// Reorders variants given in order of first appearance: the most frequent first.
void OrderVariants(std::string& letters, std::vector<int>& counts);
// The column is taken as is ("!" ignored); letters are compared as given (upper-case first).
ColumnVariants FindVariants(std::string_view column);
// True while the column's ambiguity still matters: false when some two-or-more-base code of
// the column (B D H K M R S V W Y) has all its bases among the variants.
bool AmbiguityStays(const std::string& ambiguityLetters, const std::string& variants);

// ---- codon units ----
// Sample sequences that share one codon (upper case, in reading direction).
struct CodonClass {
  std::string codon;
  samptype members;
  int count = 0;
};

struct CodonUnit {
  int columns[3] = {0, 0, 0};  // alignment column of codon positions 1, 2, 3
  std::vector<CodonClass> classes;
  int outgroupIndex = -1;     // row of the outgroup in use, -1 when none
  std::string outgroupCodon;  // empty when none
};

struct CodonScanChoices {
  int siteFlags = kSiteAll;
  int mutationFlags = kMutAll;
  int indelMode = 0;
  bool multiDifferenceCodons = true;
};

// Groups per-sequence codons ("!!!" = outside the sample) into classes; for tests and callers
// that hold codons as text.
std::vector<CodonClass> CodonClassesOf(const std::vector<std::string>& codons);

// Decides whether the unit is accepted and appends its mutations to the table (warnings go to
// the table's message). rng drives the random search of codons with several differences.
bool AnalyseCodon(tmutholder& table, const CodonUnit& unit, const TGenCode& code,
                  const CodonScanChoices& choices, PlatformRandom& rng);

// ---- the scan ----
struct ScanChoices {
  bool simple = false;  // every analysed site one record whatever its variants
  bool includeOutgroupsInSample = false;
  bool multiDifferenceCodons = true;
};

// Rebuilds ds.mutHolders (group list order, index 0 = group 0 = all sequences) and, when an
// enabled outgroup exists, ds.groupMutHolders. groupIds empty means group 0 only; project
// null means the dataset's own project. rng may be
// null: the run then seeds its own generator once from the clock. Returns false when the
// dataset has no sequences, or when the user cancelled the scan (the tables are then empty).
bool UpdateMuts(TDataSeq& ds, const AnalysisOptions& options, const TDataProj* project,
                const std::vector<int>& groupIds, const ScanChoices& choices,
                PlatformRandom* rng = nullptr);
// Scans the tables of group index (position in UpdateMuts' table order, 0 for the dataset's)
// alone into their places after UpdateMuts built at least group 0's. With alone, every other
// table (the dataset's too) is emptied first (left as a placeholder holding only the group
// key), so a caller going through the groups one by one holds one group's tables at a time;
// without, the others stay. The tables equal the ones UpdateMuts would give with an rng in the
// same state. False when there is nothing to scan into or the user cancelled.
bool UpdateGroupTables(TDataSeq& ds, const AnalysisOptions& options, const TDataProj* project,
                       const std::vector<int>& groupIds, int index, const ScanChoices& choices,
                       PlatformRandom* rng = nullptr, bool alone = true);
