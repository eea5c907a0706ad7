// SPDX-License-Identifier: GPL-3.0-or-later
// Strand-flipping of second mates in FASTQ files.
#include "editor/FastqPairs.h"

#include <algorithm>
#include <array>
#include <istream>
#include <ostream>

#include "common/Services.h"
#include "common/StagedFile.h"
#include "editor/ReadLetters.h"

namespace {
constexpr long long kReadsPerStatus = 1000;

bool ReadLine(std::istream& in, std::string& line) {
  if (!std::getline(in, line)) return false;
  while (!line.empty() && (line.back() == '\r' || line.back() == '\x1a')) line.pop_back();
  return true;
}

bool EndsWithSecondMate(const std::string& name) {
  return name.size() >= 2 && name.compare(name.size() - 2, 2, "/2") == 0;
}
}  // namespace

FastqPairsOutcome ProcFastqPE(std::istream& in, std::ostream& out, IProgress& progress) {
  FastqPairsOutcome outcome;
  std::array<std::string, 4> record;
  long long lineNumber = 0;
  while (true) {
    int got = 0;
    while (got < 4 && ReadLine(in, record[static_cast<std::size_t>(got)])) ++got;
    if (got == 0) break;
    const long long firstLine = lineNumber + 1;
    lineNumber += got;
    if (record[0].empty() || record[0].front() != '@') {
      outcome.stoppedEarly = true;
      outcome.stopLine = firstLine;
      break;
    }
    if (got < 3 || record[2].empty() || record[2].front() != '+') {
      outcome.stoppedEarly = true;
      outcome.stopLine = firstLine + 2;
      break;
    }
    if (got < 4) {
      outcome.stoppedEarly = true;
      outcome.stopLine = firstLine + 3;
      break;
    }
    const std::string name = record[0].substr(1);
    std::string& letters = record[1];
    std::string& quality = record[3];
    if (EndsWithSecondMate(name)) {
      letters = ReverseComplement(letters);
      std::reverse(quality.begin(), quality.end());
    }
    out << '@' << name << "\r\n" << letters << "\r\n+" << name << "\r\n" << quality << "\r\n";
    ++outcome.records;
    if (outcome.records % kReadsPerStatus == 0) {
      progress.ShowStatus("Processing read " + std::to_string(outcome.records), true, true);
      if (progress.cancelRequested()) {
        outcome.cancelled = true;
        break;
      }
    }
  }
  return outcome;
}

FastqPairsFileOutcome ProcFastqPEFile(const std::string& inputPath, IProgress& progress) {
  FastqPairsFileOutcome outcome;
  outcome.outputPath = inputPath + ".out";
  std::ifstream in(inputPath, std::ios::binary);
  if (!in) {
    outcome.problem = "Cannot open file " + inputPath;
    return outcome;
  }
  StagedFile out(outcome.outputPath);
  if (!out.IsOpen()) {
    outcome.problem = "Cannot create file " + outcome.outputPath;
    return outcome;
  }
  outcome.records = ProcFastqPE(in, out.Stream(), progress);
  if (outcome.records.cancelled) {
    outcome.problem = "Cancelled: " + outcome.outputPath + " was not written";
    return outcome;
  }
  if (in.bad()) {
    outcome.problem = "Error while reading file " + inputPath;
    return outcome;
  }
  if (!out.Commit()) {
    outcome.problem = "Cannot write file " + outcome.outputPath;
    return outcome;
  }
  outcome.ok = true;
  return outcome;
}
