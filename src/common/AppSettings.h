// SPDX-License-Identifier: GPL-3.0-or-later
// AppSettings: the program-wide settings and limits. Every start begins from these defaults;
// nothing is kept between runs.
#pragma once
#include <string>
#include <vector>

#include "common/ColorScheme.h"
#include "common/EnzymeList.h"

struct AppSettings {
  std::string versionText = "v3.4{test7i}";
  int maxSeqPerDataset = 30000;    // "Max seq per dataset"
  int maxMutPerDataset = 20000;    // "Max mut per dataset" (1000..50000)
  int alignWindowSize = 5000;      // "Alignment window size" (1000..35000)
  bool reportErrors = true;        // "Switch off error reporting" clears it
  bool showDatasetNumber = false;  // "Show dataset number: OFF"
  std::string programFolder;       // folder of the executable: RENZYM.txt, outside programs
  int defaultInsertedQuality = 0;  // quality given to letters inserted into a read
  // NCBI number of the table the current genetic code was loaded from; 0 when it was edited
  // by hand or read from a file. Every coding analysis translates with the current code.
  int geneticCodeId = 1;
  // The grid colours; every editor refresh copies the whole scheme into its grid.
  ColorScheme colors = DefaultColorScheme();
  // Read from RENZYM.txt at start-up; the restriction enzyme window switches entries on.
  std::vector<renzyme> enzymes;
};
