// SPDX-License-Identifier: GPL-3.0-or-later
// NCBI's genetic codes (https://www.ncbi.nlm.nih.gov/Taxonomy/Utils/wprintgc.cgi). Where a
// code reads a codon as a stop only at the end of a gene (27, 28, 31), the table holds the
// amino acid it codes for inside the gene, as NCBI's own amino-acid line does.
#include "model/NcbiCodes.h"

#include <algorithm>
#include <array>
#include <memory>

#include "model/GenCodUnit.h"

namespace {

constexpr std::array<NcbiCodeTable, 27> kTables{{
    {1, "Standard", "FFLLSSSSYY**CC*WLLLLPPPPHHQQRRRRIIIMTTTTNNKKSSRRVVVVAAAADDEEGGGG"},
    {2, "Vertebrate Mitochondrial",
     "FFLLSSSSYY**CCWWLLLLPPPPHHQQRRRRIIMMTTTTNNKKSS**VVVVAAAADDEEGGGG"},
    {3, "Yeast Mitochondrial", "FFLLSSSSYY**CCWWTTTTPPPPHHQQRRRRIIMMTTTTNNKKSSRRVVVVAAAADDEEGGGG"},
    {4, "Mold, Protozoan, and Coelenterate Mitochondrial and Mycoplasma/Spiroplasma",
     "FFLLSSSSYY**CCWWLLLLPPPPHHQQRRRRIIIMTTTTNNKKSSRRVVVVAAAADDEEGGGG"},
    {5, "Invertebrate Mitochondrial",
     "FFLLSSSSYY**CCWWLLLLPPPPHHQQRRRRIIMMTTTTNNKKSSSSVVVVAAAADDEEGGGG"},
    {6, "Ciliate, Dasycladacean and Hexamita Nuclear",
     "FFLLSSSSYYQQCC*WLLLLPPPPHHQQRRRRIIIMTTTTNNKKSSRRVVVVAAAADDEEGGGG"},
    {9, "Echinoderm and Flatworm Mitochondrial",
     "FFLLSSSSYY**CCWWLLLLPPPPHHQQRRRRIIIMTTTTNNNKSSSSVVVVAAAADDEEGGGG"},
    {10, "Euplotid Nuclear", "FFLLSSSSYY**CCCWLLLLPPPPHHQQRRRRIIIMTTTTNNKKSSRRVVVVAAAADDEEGGGG"},
    {11, "Bacterial, Archaeal and Plant Plastid",
     "FFLLSSSSYY**CC*WLLLLPPPPHHQQRRRRIIIMTTTTNNKKSSRRVVVVAAAADDEEGGGG"},
    {12, "Alternative Yeast Nuclear",
     "FFLLSSSSYY**CC*WLLLSPPPPHHQQRRRRIIIMTTTTNNKKSSRRVVVVAAAADDEEGGGG"},
    {13, "Ascidian Mitochondrial",
     "FFLLSSSSYY**CCWWLLLLPPPPHHQQRRRRIIMMTTTTNNKKSSGGVVVVAAAADDEEGGGG"},
    {14, "Alternative Flatworm Mitochondrial",
     "FFLLSSSSYYY*CCWWLLLLPPPPHHQQRRRRIIIMTTTTNNNKSSSSVVVVAAAADDEEGGGG"},
    {15, "Blepharisma Macronuclear",
     "FFLLSSSSYY*QCC*WLLLLPPPPHHQQRRRRIIIMTTTTNNKKSSRRVVVVAAAADDEEGGGG"},
    {16, "Chlorophycean Mitochondrial",
     "FFLLSSSSYY*LCC*WLLLLPPPPHHQQRRRRIIIMTTTTNNKKSSRRVVVVAAAADDEEGGGG"},
    {21, "Trematode Mitochondrial",
     "FFLLSSSSYY**CCWWLLLLPPPPHHQQRRRRIIMMTTTTNNNKSSSSVVVVAAAADDEEGGGG"},
    {22, "Scenedesmus obliquus Mitochondrial",
     "FFLLSS*SYY*LCC*WLLLLPPPPHHQQRRRRIIIMTTTTNNKKSSRRVVVVAAAADDEEGGGG"},
    {23, "Thraustochytrium Mitochondrial",
     "FF*LSSSSYY**CC*WLLLLPPPPHHQQRRRRIIIMTTTTNNKKSSRRVVVVAAAADDEEGGGG"},
    {24, "Rhabdopleuridae Mitochondrial",
     "FFLLSSSSYY**CCWWLLLLPPPPHHQQRRRRIIIMTTTTNNKKSSSKVVVVAAAADDEEGGGG"},
    {25, "Candidate Division SR1 and Gracilibacteria",
     "FFLLSSSSYY**CCGWLLLLPPPPHHQQRRRRIIIMTTTTNNKKSSRRVVVVAAAADDEEGGGG"},
    {26, "Pachysolen tannophilus Nuclear",
     "FFLLSSSSYY**CC*WLLLAPPPPHHQQRRRRIIIMTTTTNNKKSSRRVVVVAAAADDEEGGGG"},
    {27, "Karyorelict Nuclear", "FFLLSSSSYYQQCCWWLLLLPPPPHHQQRRRRIIIMTTTTNNKKSSRRVVVVAAAADDEEGGGG"},
    {28, "Condylostoma Nuclear",
     "FFLLSSSSYYQQCCWWLLLLPPPPHHQQRRRRIIIMTTTTNNKKSSRRVVVVAAAADDEEGGGG"},
    {29, "Mesodinium Nuclear", "FFLLSSSSYYYYCC*WLLLLPPPPHHQQRRRRIIIMTTTTNNKKSSRRVVVVAAAADDEEGGGG"},
    {30, "Peritrich Nuclear", "FFLLSSSSYYEECC*WLLLLPPPPHHQQRRRRIIIMTTTTNNKKSSRRVVVVAAAADDEEGGGG"},
    {31, "Blastocrithidia Nuclear",
     "FFLLSSSSYYEECCWWLLLLPPPPHHQQRRRRIIIMTTTTNNKKSSRRVVVVAAAADDEEGGGG"},
    {32, "Balanophoraceae Plastid",
     "FFLLSSSSYY*WCC*WLLLLPPPPHHQQRRRRIIIMTTTTNNKKSSRRVVVVAAAADDEEGGGG"},
    {33, "Cephalodiscidae Mitochondrial",
     "FFLLSSSSYYY*CCWWLLLLPPPPHHQQRRRRIIIMTTTTNNKKSSSKVVVVAAAADDEEGGGG"},
}};

constexpr char kBases[4] = {'t', 'c', 'a', 'g'};

}  // namespace

std::span<const NcbiCodeTable> NcbiCodeTables() {
  return kTables;
}

const NcbiCodeTable* NcbiCodeById(int id) {
  for (const NcbiCodeTable& t : kTables)
    if (t.id == id) return &t;
  return nullptr;
}

std::string NcbiCodon(int index) {
  if (index < 0 || index >= 64) return {};
  return {kBases[index / 16], kBases[index / 4 % 4], kBases[index % 4]};
}

void LoadNcbiCode(const NcbiCodeTable& table, TGenCode& code) {
  // The built-in code gives the entries, their order and their names.
  const TGenCode universal("Universal");
  code.ClearCode();
  for (const auto& model : universal.Aminoacids()) {
    auto entry = std::make_unique<TAminoacid>();
    entry->fullName = model->fullName;
    entry->abbrev3 = model->abbrev3;
    entry->letter = model->letter;
    code.AddAminoacid(std::move(entry));
  }
  for (int k = 0; k < 64; ++k) {
    const char letter = table.aminoAcids[k];
    for (const auto& entry : code.Aminoacids())
      if (entry->letter == letter) {
        code.AddCodon(*entry, NcbiCodon(k));
        break;
      }
  }
  code.codeName = table.id == 1 ? std::string("Universal")
                                : "NCBI " + std::to_string(table.id) + " " + table.name;
}

std::string CodeLetters(const TGenCode& code) {
  std::string letters(64, '?');
  for (int k = 0; k < 64; ++k) {
    const std::string aa = code.TranslateCodon(NcbiCodon(k), false);
    if (aa.size() == 1) letters[static_cast<std::size_t>(k)] = aa[0];
  }
  return letters;
}

bool LoadCodeLetters(std::string_view letters, const std::string& name, TGenCode& code) {
  if (letters.size() != 64) return false;
  const std::string table(letters);
  LoadNcbiCode(NcbiCodeTable{0, name.c_str(), table.c_str()}, code);
  code.codeName = name;
  return true;
}
