// SPDX-License-Identifier: GPL-3.0-or-later
// The genetic code a project is saved with, and taking it back when the project is read.
#include "io/ProjectFile.h"
#include "model/GenCodUnit.h"
#include "model/NcbiCodes.h"

void KeepGeneticCode(const Services& services, GridFileSettings& grid) {
  const std::string letters = CodeLetters(services.genCode);
  const bool builtIn = letters == CodeLetters(TGenCode("Universal"));
  grid.geneticCodeId = services.settings.geneticCodeId;
  grid.geneticCodeName = services.genCode.codeName;
  grid.geneticCodeLetters = builtIn ? std::string() : letters;
}

bool AdoptGeneticCode(const GridFileSettings& grid, Services& services) {
  if (grid.geneticCodeLetters.size() != 64) return false;
  if (grid.geneticCodeLetters == CodeLetters(services.genCode)) return true;
  const NcbiCodeTable* table = NcbiCodeById(grid.geneticCodeId);
  // A numbered table is loaded from the program's own list, so its name and letters are the
  // current ones; anything else is the file's letters under the file's name.
  if (table && grid.geneticCodeLetters == table->aminoAcids) {
    LoadNcbiCode(*table, services.genCode);
    services.settings.geneticCodeId = table->id;
  } else {
    const std::string name =
        grid.geneticCodeName.empty() ? std::string("Project code") : grid.geneticCodeName;
    if (!LoadCodeLetters(grid.geneticCodeLetters, name, services.genCode)) return false;
    services.settings.geneticCodeId = 0;
  }
  services.messages.Notify("The genetic code is now the project's code: " +
                           services.genCode.codeName);
  return true;
}
