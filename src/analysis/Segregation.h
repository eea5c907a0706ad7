// SPDX-License-Identifier: GPL-3.0-or-later
// Segregation analysis of a controlled cross: the sites at which the father and the mother of
// one family differ, which members carry the variant, and whether the pattern fits X-linked
// ("?X") or Y-linked ("?Y") inheritance. One dataset per locus.
#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

class PlatformRandom;
class TDataProj;
class TDataSeq;
struct Services;

// The members of the cross in report order (F, M, S, D): the group names, which are also the
// names of the individuals a project without individuals is given.
inline constexpr std::array<const char*, 4> kCrossMembers{"Father", "Mother", "Sons", "Daughters"};
inline constexpr const char* kCrossOutgroupIndivid = "Outgroup";
inline constexpr const char* kTooManyMutations = "Too many mutations - misalignment or paralog";
inline constexpr int kMaxCrossMutations = 50;

// The keys of the four groups (kMissing for a missing one): the groups of that exact name
// whose key is at least -1, a selected one in preference.
struct CrossGroups {
  static constexpr int kMissing = -1000;
  std::array<int, 4> keys{kMissing, kMissing, kMissing, kMissing};
  [[nodiscard]] bool Complete() const;
};
CrossGroups FindCrossGroups(const TDataProj& project);

// "?X " when the father's state goes to the daughters and not to the sons, "?Y " when his goes
// to the sons and the mother's to the daughters, else three blanks.
std::string CrossPattern(bool f, bool m, bool s, bool d);
// One recorded site: the position right-aligned to 5, the four flags and the pattern.
std::string CrossSiteLine(int position, bool f, bool m, bool s, bool d);

// Moves every read but the first onto the first sequence: its letters 1-8, else 9-16, else
// 18-25 (each probe only when the read is that long) are looked for in the first sequence's
// letters; a read that would get a negative shift stays. Returns the reads moved.
int ReanchorReads(TDataSeq& ds);

// Cleaning: in every dataset the reads of one individual are joined (disjoint and overlapping,
// marked); a dataset of more than four sequences then loses those shorter than 100 letters.
void CleanCrossDatasets(TDataProj& project, Services& services);

struct SegregationOutput {
  std::string report;
  // Copies of the loci with an informative site, for the "Filtered" window.
  std::vector<std::unique_ptr<TDataSeq>> filtered;
};

// The analysis of every dataset of 4 to 10 sequences with a sequence in each member group.
// contigs[i] (may be null) holds the contigs of member i, matched by dataset name. Individuals
// without a group are put into the outgroup group.
SegregationOutput AnalyseCross(TDataProj& project, const CrossGroups& groups,
                               const std::array<const TDataProj*, 4>& contigs, PlatformRandom& rng,
                               Services& services);
