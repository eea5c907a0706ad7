// SPDX-License-Identifier: GPL-3.0-or-later
// Pieces shared by the two halves of the codon analysis (single and multiple differences).
#pragma once
#include <string>
#include <vector>

#include "analysis/MutUnit.h"
#include "model/GenCodUnit.h"

namespace codon_detail {

// One change of a codon: position 1..3, the letters before and after, class 1 or 4.
struct Step {
  int position = 0;
  char newLetter = 0;
  char oldLetter = 0;
  int stepClass = 0;
};

// "?" also for an empty or three-letter unknown answer.
std::string Translate(const TGenCode& code, const std::string& codon);
bool Translatable(const std::string& aminoAcid);  // neither unknown nor a stop
// Distance from a to b (-1 when a does not translate or the lengths differ) and the single
// changes of a toward b that give something translatable.
int StepsToward(const TGenCode& code, const std::string& a, const std::string& b,
                std::vector<Step>& steps);

// Everything a new mutation of the unit needs to be filled in.
struct UnitMaker {
  tmutholder& table;
  const CodonUnit& unit;
  bool oriented;  // an outgroup is in use and its codon is whole
  int sequenceCount;
  samptype carriersWithLetter(int position, char letter) const;
  // A mutation at codon position p with the carriers of its derived letter; the outgroup
  // fields filled when oriented. Its carrier count may be 0.
  tmutation Make(int p, char ancestral, char derived, int mutationClass) const;
};

// Appends m unless an identical change (position and derived letter) of the unit is already
// in the table since firstOfUnit; returns whether it was added.
bool AddUnique(tmutholder& table, std::size_t firstOfUnit, tmutation&& m);

// The multiple-difference path: distinct codons ordered c0, c1, ... Returns acceptance.
bool ResolveMultipleDifferences(const UnitMaker& maker, const std::vector<std::string>& distinct,
                                const TGenCode& code, PlatformRandom& rng);

}  // namespace codon_detail
