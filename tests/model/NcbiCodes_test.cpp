// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>

#include "model/GenCodUnit.h"
#include "model/NcbiCodes.h"

namespace {

// Every NCBI table as Biopython's Bio.Data.CodonTable has it (an independent copy of NCBI's
// list): number -> 64 letters in TCAG order, '*' for a stop. Empty when no Python with
// Biopython is found.
std::map<int, std::string> BiopythonTables() {
  const char* script =
      "import Bio.Data.CodonTable as C\n"
      "b='TCAG'\n"
      "for i,t in sorted(C.unambiguous_dna_by_id.items()):\n"
      "  print(i, ''.join(t.forward_table.get(x+y+z, '*' if x+y+z in t.stop_codons else '?')"
      " for x in b for y in b for z in b))\n";
  std::map<int, std::string> tables;
  for (const char* python : {"/usr/bin/python3", "python3"}) {
    const std::string command = std::string(python) + " -c \"" + script + "\" 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) continue;
    std::string out;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    pclose(pipe);
    std::istringstream lines(out);
    int id = 0;
    std::string letters;
    while (lines >> id >> letters) tables[id] = letters;
    if (!tables.empty()) break;
  }
  return tables;
}

}  // namespace

TEST(NcbiCodes, StandardTableLoadsAsTheBuiltInUniversalCode) {
  const TGenCode universal("Universal");
  TGenCode loaded("");
  LoadNcbiCode(*NcbiCodeById(1), loaded);
  EXPECT_EQ(loaded.codeName, "Universal");
  ASSERT_EQ(loaded.aaCount, universal.aaCount);
  for (int k = 0; k < 64; ++k) {
    const std::string codon = NcbiCodon(k);
    EXPECT_EQ(loaded.TranslateCodon(codon, true), universal.TranslateCodon(codon, true)) << codon;
  }
  EXPECT_EQ(NcbiCodeById(7), nullptr);  // NCBI retired 7 and 8
}

TEST(NcbiCodes, TablesLoadWithTheirOwnCodonsAndMatchBiopython) {
  // Vertebrate mitochondrial code by hand: AGA and AGG stop, ATA Met, TGA Trp.
  TGenCode vertebrate("");
  LoadNcbiCode(*NcbiCodeById(2), vertebrate);
  EXPECT_EQ(vertebrate.codeName, "NCBI 2 Vertebrate Mitochondrial");
  EXPECT_EQ(vertebrate.TranslateSeq("ATGATATGAAGAAGG", false), "MMW**");
  EXPECT_EQ(vertebrate.TranslateCodon("agr", true), "***");  // both readings of R stop

  const std::map<int, std::string> reference = BiopythonTables();
  if (reference.empty()) GTEST_SKIP() << "Biopython (python3-biopython) is not installed";
  std::map<int, std::string> ours;
  for (const NcbiCodeTable& t : NcbiCodeTables()) {
    TGenCode code("");
    LoadNcbiCode(t, code);
    std::string letters;
    for (int k = 0; k < 64; ++k) letters += code.TranslateCodon(NcbiCodon(k), false);
    EXPECT_EQ(letters, t.aminoAcids) << "table " << t.id;
    ours[t.id] = letters;
  }
  EXPECT_EQ(ours, reference);
}
