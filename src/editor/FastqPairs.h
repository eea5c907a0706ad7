// SPDX-License-Identifier: GPL-3.0-or-later
// "ProcFastqPE": turns the second read of every pair in a FASTQ file to the first read's strand.
#pragma once
#include <iosfwd>
#include <string>

struct IProgress;

struct FastqPairsOutcome {
  long long records = 0;      // records written
  bool stoppedEarly = false;  // a record did not start with '@' / '+', or the file ended inside one
  long long stopLine = 0;     // 1-based line where reading stopped early
  bool cancelled = false;     // Escape, noticed at a status update
};

// Each four-line record ('@' name, letters, '+' line, quality) is written as "@" name, letters,
// "+" name, quality, CR LF line ends. For names ending in "/2" the letters are
// reverse-complemented and the quality reversed. Reading stops at the first record whose first
// line lacks '@' or whose third line lacks '+'; a record cut short by the end of the file is not
// written. "Processing read n" goes to the status line every 1000 reads, which is also when
// Escape is noticed. A cancelled file run writes nothing.
FastqPairsOutcome ProcFastqPE(std::istream& in, std::ostream& out, IProgress& progress);

struct FastqPairsFileOutcome {
  bool ok = false;
  FastqPairsOutcome records;
  std::string outputPath;  // input name + ".out"
  std::string problem;
};

FastqPairsFileOutcome ProcFastqPEFile(const std::string& inputPath, IProgress& progress);
