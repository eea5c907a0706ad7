// SPDX-License-Identifier: GPL-3.0-or-later
// The values of the SNP table dialog ("Open *.csv file with SNPs in columns as alignment of
// sequences"), which the SNP table readers take as options.
#pragma once
#include <string>

struct SnpTableOptions {
  std::string snpPath;        // "File with SNPs:"; the file opened when read through the dispatcher
  std::string referencePath;  // "File with reference sequence:"
  bool hasHeaders = false;    // "SNP file has headers" (the genotype table reads it too)
  // 1-based columns of the SNP file.
  int colName = 2;         // "Column with sequence names (accession names)"
  int colPosition = 3;     // "Column with SNP positions"
  int colWildType = 4;     // "Column with genotype in the wild type or reference"
  int colSnp = 5;          // "Column with genotype in the mutant accession"
  int positionOffset = 0;  // subtracted from every SNP position to give the reference position
};
