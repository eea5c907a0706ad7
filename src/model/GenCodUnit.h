// SPDX-License-Identifier: GPL-3.0-or-later
// TGenCode and TAminoacid: a genetic code table, codon translation and codon comparison.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TAminoacid {
 public:
  std::vector<std::string> codons;  // lower case, no duplicates
  std::vector<std::int32_t> codonValues;
  std::string fullName;
  std::string abbrev3;
  char letter = '?';
  std::int32_t nCodons = 0;
};

// One step of a codon comparison: the letter at `position` (1-based) changes from `oldLetter`
// to `newLetter`; `stepClass` is 1 for a replacement, 4 for a synonymous change.
struct CodonStep {
  std::int32_t position = 0;
  char newLetter = 0;
  char oldLetter = 0;
  std::int32_t stepClass = 0;
};

class TGenCode {
 public:
  // "Universal" (any case) builds the standard table; any other name gives an empty code.
  explicit TGenCode(std::string name = "Universal");
  TGenCode(const TGenCode&) = delete;  // the current code is shared, never copied
  TGenCode& operator=(const TGenCode&) = delete;

  std::string codeName;
  std::int32_t aaCount = 0;

  [[nodiscard]] const std::vector<std::unique_ptr<TAminoacid>>& Aminoacids() const { return aminoacids_; }
  [[nodiscard]] TAminoacid* AminoacidAt(int index);

  void ClearCode();
  // The code takes the entry over.
  void AddAminoacid(std::unique_ptr<TAminoacid> entry);
  // Adds a codon to an entry of this code (lower-cased, skipped when already there).
  void AddCodon(TAminoacid& entry, std::string_view codon);
  static bool HasCodon(const TAminoacid& entry, std::string_view codon);

  // "???"/"?" for a codon not in the table. A third-position ambiguity letter is resolved
  // when every base it stands for gives the same amino acid.
  [[nodiscard]] std::string TranslateCodon(std::string_view codon, bool threeLetter) const;
  // Frame 1; one or two trailing letters are ignored.
  [[nodiscard]] std::string TranslateSeq(std::string_view letters, bool threeLetter) const;
  // Fraction (0..1) of the single-letter changes at position 1..3 that keep the amino acid;
  // -1 when undefined.
  [[nodiscard]] double SynonymousFraction(std::string_view codon, int position) const;
  // Number of differing positions, -1 when the codons cannot be compared. Steps beyond
  // `capacity` are counted but not written.
  [[nodiscard]] int CompareCodons(std::string_view first, std::string_view second, int capacity,
                                  std::vector<CodonStep>& steps) const;

  // Must be called after changing an entry's codons other than through AddCodon.
  void RebuildLookup();

 private:
  // Index of the entry translating each of the 64 a/c/g/t codons, -1 when none; rebuilt when
  // the table changes so translation never searches the table.
  [[nodiscard]] int LookupIndex(std::string_view lowerCodon) const;
  [[nodiscard]] int FindEntry(std::string_view lowerCodon) const;

  std::vector<std::unique_ptr<TAminoacid>> aminoacids_;
  std::array<std::int16_t, 64> lookup_{};
};
