// SPDX-License-Identifier: GPL-3.0-or-later
// Haplotypes from aligned reads ("Reconstruct haplotypes"): the reads carrying each allele of a
// polymorphic column are gathered into a group that grows through their alleles at the other
// such columns and through their mates; each group's consensus becomes a haplotype "hapl" + k.
#pragma once
#include <bitset>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "editor/EditorContext.h"

class TDataSeq;

// A polymorphic column: its alignment column and its alleles (letters occurring at least twice,
// upper-cased, gaps and ambiguity letters left out, in order of first appearance).
struct SnpColumn {
  int column = 0;
  std::string alleles;
};
std::vector<SnpColumn> FindSnpColumns(const TDataSeq& ds);

// A group of reads with the letters it holds at each column, kept up to date as reads join.
class HaplotypeGroup {
 public:
  explicit HaplotypeGroup(Services& services);
  ~HaplotypeGroup();
  void Add(const TSeq& read);  // a copy of the read's letters, name, mate fields and shift
  [[nodiscard]] int Count() const { return static_cast<int>(reads_.size()); }
  // Consensus of all reads (byQuality off), upper-cased.
  [[nodiscard]] std::unique_ptr<TSeq> Consensus() const;
  // The group's letters at a column (upper case, without gaps and ambiguity letters).
  [[nodiscard]] const std::bitset<256>* LettersAt(int column) const;

 private:
  Services& services_;
  std::vector<std::unique_ptr<TSeq>> reads_;
  std::unordered_map<int, std::bitset<256>> letters_;
};

// True when the read can join: the group is empty, the read has no letters, or at every
// column where the group holds letters the read's letter (upper-cased) is one of them.
bool IsCompatible(const TSeq& read, const HaplotypeGroup& group);

// Fills result with the haplotypes of ds; nothing when result is null. Rows put into groups
// are left selected, all others unselected.
void ReconstructHaplotypes(TDataSeq& ds, TDataSeq* result, bool iterate);

// The command: asks "Iterate over multiple SNPs?" and appends the haplotypes to the current
// dataset. Returns the number appended.
int ReconstructHaplotypesCommand(EditorContext& ctx);
