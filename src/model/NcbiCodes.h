// SPDX-License-Identifier: GPL-3.0-or-later
// The translation tables of NCBI's genetic code list, ready to load into a TGenCode.
#pragma once
#include <span>
#include <string>
#include <string_view>

class TGenCode;

struct NcbiCodeTable {
  int id;            // NCBI's transl_table number
  const char* name;  // NCBI's name of the table
  // The amino acid of each codon, '*' for a stop, codons in NCBI's order: first letter
  // T, C, A, G slowest, third letter fastest (TTT, TTC, TTA, TTG, TCT, ...).
  const char* aminoAcids;
};

// Every table in NCBI's list, by number.
[[nodiscard]] std::span<const NcbiCodeTable> NcbiCodeTables();
// nullptr for a number NCBI does not use.
[[nodiscard]] const NcbiCodeTable* NcbiCodeById(int id);
// The table's codon (lower case, TCAG order) at 0..63.
[[nodiscard]] std::string NcbiCodon(int index);

// Replaces the code's entries with the table: the entries of the built-in "Universal" code in
// its order, each with the table's codons (an entry no codon codes for keeps no codons), so a
// table loaded here and then edited reads like the built-in one. Table 1 keeps the name
// "Universal"; the others take "NCBI " + number + " " + name.
void LoadNcbiCode(const NcbiCodeTable& table, TGenCode& code);

// The amino acid letter of each of the 64 codons of `code`, in the tables' codon order ('?'
// where the code has none), so any code, also one edited by hand, can be kept as one line.
[[nodiscard]] std::string CodeLetters(const TGenCode& code);
// Loads 64 letters kept by CodeLetters into `code` as LoadNcbiCode does, under `name`.
// False (code unchanged) when letters is not 64 characters long.
bool LoadCodeLetters(std::string_view letters, const std::string& name, TGenCode& code);
