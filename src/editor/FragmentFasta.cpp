// SPDX-License-Identifier: GPL-3.0-or-later
// Paired reads from FASTA sequence lines. Each line is taken on its own, as the tool always
// did: a record wrapped over several lines gives reads from each line separately.
#include "editor/FragmentFasta.h"

#include <algorithm>
#include <istream>
#include <ostream>
#include <string_view>

#include "common/Services.h"
#include "common/StagedFile.h"
#include "editor/ReadLetters.h"

namespace {
constexpr int kPositionsPerEventCheck = 1000;

bool HasUnknownLetter(std::string_view read) {
  return read.find_first_of("Nn-") != std::string_view::npos;
}

// One record built in a reused buffer and written at once: formatted stream output per piece
// costs more than the letters themselves.
void WriteRecord(std::ostream& out, std::string& buffer, int k, char mate, std::string_view read,
                 const std::string& quality) {
  const std::string number = std::to_string(k);
  buffer.clear();
  buffer.append("@rd").append(number).append("/").push_back(mate);
  buffer.append("\r\n").append(read).append("\r\n+rd").append(number).append("/").push_back(mate);
  buffer.append("\r\n").append(quality).append("\r\n");
  out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
}
}  // namespace

std::string FragmentOptionsProblem(const FragmentOptions& options) {
  if (options.readLength < 1)
    return "The fragment length must be at least 1 (it is " + std::to_string(options.readLength) +
           ")";
  if (options.distance < 0)
    return "The distance between paired reads cannot be negative (it is " +
           std::to_string(options.distance) + ")";
  if (options.step < 1)
    return "The step size must be at least 1 (it is " + std::to_string(options.step) + ")";
  return {};
}

FragmentOutcome FragmentFasta(std::istream& in, std::ostream& out1, std::ostream& out2,
                              const FragmentOptions& options, IProgress& progress) {
  FragmentOutcome outcome;
  if (!FragmentOptionsProblem(options).empty()) return outcome;
  const long long L = options.readLength, D = options.distance, S = options.step;
  const std::string quality(static_cast<std::size_t>(L), 'h');
  std::string line, record;
  long long lineNumber = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    while (!line.empty() && (line.back() == '\r' || line.back() == '\x1a')) line.pop_back();
    if (!line.empty() && line.front() == '>') continue;
    const long long length = static_cast<long long>(line.size());
    if (length <= 2 * L + D) continue;
    const long long m = (length - D - 2 * L) / S;
    const std::string_view letters(line);
    progress.StartProgress(static_cast<int>(std::min<long long>(m, 2147483647)),
                           "processing line " + std::to_string(lineNumber));
    for (long long o = 1; o <= m; ++o) {
      const bool processEvents = o % kPositionsPerEventCheck == 0;
      progress.StepProgress(processEvents);
      if (processEvents && progress.cancelRequested()) {
        progress.EndProgress();
        outcome.cancelled = true;
        return outcome;
      }
      // 1-based start S*o is index S*o - 1.
      const std::string_view read1 =
          letters.substr(static_cast<std::size_t>(S * o - 1), static_cast<std::size_t>(L));
      const std::string_view read2raw =
          letters.substr(static_cast<std::size_t>(L + S * o + D - 1), static_cast<std::size_t>(L));
      if (HasUnknownLetter(read1) || HasUnknownLetter(read2raw)) continue;
      ++outcome.pairs;
      WriteRecord(out1, record, outcome.pairs, '1', read1, quality);
      WriteRecord(out2, record, outcome.pairs, '2', ReverseComplement(read2raw), quality);
    }
    progress.EndProgress();
  }
  return outcome;
}

FragmentFileOutcome FragmentFastaFile(const std::string& inputPath, const FragmentOptions& options,
                                      IProgress& progress) {
  FragmentFileOutcome outcome;
  outcome.file1 = inputPath + "_1.fq";
  outcome.file2 = inputPath + "_2.fq";
  outcome.problem = FragmentOptionsProblem(options);
  if (!outcome.problem.empty()) return outcome;
  std::ifstream in(inputPath, std::ios::binary);
  if (!in) {
    outcome.problem = "Cannot open file " + inputPath;
    return outcome;
  }
  StagedFile out1(outcome.file1), out2(outcome.file2);
  if (!out1.IsOpen() || !out2.IsOpen()) {
    outcome.problem = "Cannot create file " + (out1.IsOpen() ? outcome.file2 : outcome.file1);
    return outcome;
  }
  outcome.reads = FragmentFasta(in, out1.Stream(), out2.Stream(), options, progress);
  if (outcome.reads.cancelled) {
    outcome.problem = "Cancelled: no read files were written";
    return outcome;
  }
  if (in.bad()) {
    outcome.problem = "Error while reading file " + inputPath;
    return outcome;
  }
  if (!out1.Commit()) {
    outcome.problem = "Cannot write file " + outcome.file1;
    return outcome;
  }
  if (!out2.Commit()) {
    outcome.problem = "Cannot write file " + outcome.file2;
    return outcome;
  }
  outcome.ok = true;
  return outcome;
}

std::string FragmentSavedMessage(const FragmentFileOutcome& outcome) {
  return "Saved " + std::to_string(outcome.reads.pairs) + " paired reads to files \r\n" +
         outcome.file1 + "\r\n" + outcome.file2;
}
