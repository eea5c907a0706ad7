// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/FragmentFasta.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "support/RecordingServices.h"

namespace {
struct FragmentRun {
  std::string fq1, fq2;
  FragmentOutcome outcome;
};
FragmentRun Fragment(const std::string& input, FragmentOptions options,
                     RecordingProgress& progress) {
  std::istringstream in(input);
  std::ostringstream out1, out2;
  FragmentRun run;
  run.outcome = FragmentFasta(in, out1, out2, options, progress);
  run.fq1 = out1.str();
  run.fq2 = out2.str();
  return run;
}
std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}
}  // namespace

TEST(FragmentFasta, CutsPairsAtEveryStepWithTheSecondReadReverseComplemented) {
  // ACGTTGCAAGCT, L 3, D 2, S 2: m = trunc((12 - 2 - 6) / 2) = 2.
  // o = 1: read 1 = letters 2..4 CGT, read 2 = letters 7..9 CAA -> TTG.
  // o = 2: read 1 = letters 4..6 TTG, read 2 = letters 9..11 AGC -> GCT.
  RecordingProgress progress;
  const FragmentRun run = Fragment(">seq1\r\nACGTTGCAAGCT\r\n", {3, 2, 2}, progress);
  EXPECT_EQ(run.outcome.pairs, 2);
  EXPECT_EQ(run.fq1, "@rd1/1\r\nCGT\r\n+rd1/1\r\nhhh\r\n@rd2/1\r\nTTG\r\n+rd2/1\r\nhhh\r\n");
  EXPECT_EQ(run.fq2, "@rd1/2\r\nTTG\r\n+rd1/2\r\nhhh\r\n@rd2/2\r\nGCT\r\n+rd2/2\r\nhhh\r\n");
  EXPECT_EQ(progress.steps, 2);
  EXPECT_EQ(progress.statuses, std::vector<std::string>{"processing line 2"});
}

TEST(FragmentFasta, SkipsPairsWithUnknownLettersAndShortLinesAndKeepsNumbering) {
  // Line 1 has exactly 2L + D = 8 letters: too short. Line 2: o = 1 gives read 1 = "CnT"
  // (skipped), o = 2 gives read 1 TTG and read 2 from letters 9..11 AGc -> gCT.
  RecordingProgress progress;
  const FragmentRun run = Fragment("ACGTACGT\nACnTTGCAAGcT\nAC-TTGCAAGCTAC\n", {3, 2, 2}, progress);
  // Line 3 (14 letters): m = 3; o = 1 read 1 "C-T" skipped; o = 2 TTG/AGC->GCT;
  // o = 3 read 1 letters 6..8 GCA, read 2 letters 11..13 CTA -> TAG.
  EXPECT_EQ(run.outcome.pairs, 3);
  EXPECT_EQ(run.fq1,
            "@rd1/1\r\nTTG\r\n+rd1/1\r\nhhh\r\n@rd2/1\r\nTTG\r\n+rd2/1\r\nhhh\r\n"
            "@rd3/1\r\nGCA\r\n+rd3/1\r\nhhh\r\n");
  EXPECT_EQ(run.fq2,
            "@rd1/2\r\ngCT\r\n+rd1/2\r\nhhh\r\n@rd2/2\r\nGCT\r\n+rd2/2\r\nhhh\r\n"
            "@rd3/2\r\nTAG\r\n+rd3/2\r\nhhh\r\n");
}

TEST(FragmentFasta, LineOf710LettersGivesOnePairWithDefaults) {
  std::string line(710, 'A');
  line[9] = 'C';    // position 10: first letter of read 1
  line[708] = 'G';  // position 709: last letter of read 2, first after reversal -> C
  RecordingProgress progress;
  const FragmentRun run = Fragment(line + "\n", FragmentOptions{}, progress);
  EXPECT_EQ(run.outcome.pairs, 1);
  EXPECT_EQ(run.fq1.substr(0, 10), "@rd1/1\r\nCA");
  EXPECT_EQ(run.fq2.substr(0, 10), "@rd1/2\r\nCT");
  EXPECT_NE(run.fq1.find(std::string(100, 'h')), std::string::npos);
}

TEST(FragmentOptionsProblem, RefusesAZeroStepAndOtherUnusableValues) {
  EXPECT_EQ(FragmentOptionsProblem({}), "");
  EXPECT_EQ(FragmentOptionsProblem({100, 0, 1}), "");
  EXPECT_NE(FragmentOptionsProblem({100, 500, 0}), "");
  EXPECT_NE(FragmentOptionsProblem({100, 500, -3}), "");
  EXPECT_NE(FragmentOptionsProblem({0, 500, 10}), "");
  EXPECT_NE(FragmentOptionsProblem({100, -1, 10}), "");
  RecordingProgress progress;
  const FragmentRun run = Fragment(std::string(1000, 'A') + "\n", {100, 500, 0}, progress);
  EXPECT_EQ(run.outcome.pairs, 0);
  EXPECT_EQ(run.fq1, "");
}

TEST(FragmentFasta, EscapeStopsTheRunAtTheNextEventCheck) {
  RecordingProgress progress;
  progress.cancelAfterSteps = 1;
  // L 1, D 0, S 1 on 5000 letters: 4998 positions; events run at position 1000.
  const FragmentRun run = Fragment(std::string(5000, 'A') + "\n", {1, 0, 1}, progress);
  EXPECT_TRUE(run.outcome.cancelled);
  EXPECT_EQ(progress.steps, 1000);
  EXPECT_EQ(run.outcome.pairs, 999);
  EXPECT_EQ(progress.ends, 1);
}

TEST(FragmentFastaFile, WritesBothFilesAndKeepsOldFilesWhenCancelled) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("nodrix_fragment_test_" + std::to_string(std::random_device{}()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string input = (dir / "reads.fas").string();
  std::ofstream(input, std::ios::binary) << ">s\nACGTTGCAAGCT\n";
  RecordingProgress progress;
  const auto outcome = FragmentFastaFile(input, {3, 2, 2}, progress);
  ASSERT_TRUE(outcome.ok) << outcome.problem;
  EXPECT_EQ(outcome.file1, input + "_1.fq");
  EXPECT_EQ(ReadFile(outcome.file2).substr(0, 13), "@rd1/2\r\nTTG\r\n");
  EXPECT_EQ(FragmentSavedMessage(outcome),
            "Saved 2 paired reads to files \r\n" + input + "_1.fq\r\n" + input + "_2.fq");

  std::ofstream(input, std::ios::binary) << std::string(5000, 'A') << "\n";
  RecordingProgress cancelling;
  cancelling.cancelAfterSteps = 1;
  const auto cancelled = FragmentFastaFile(input, {1, 0, 1}, cancelling);
  EXPECT_FALSE(cancelled.ok);
  EXPECT_EQ(ReadFile(outcome.file2).substr(0, 13), "@rd1/2\r\nTTG\r\n");  // untouched
  EXPECT_FALSE(std::filesystem::exists(outcome.file1 + ".part"));

  const auto missing = FragmentFastaFile((dir / "none.fas").string(), {}, progress);
  EXPECT_FALSE(missing.ok);
  EXPECT_NE(missing.problem.find("none.fas"), std::string::npos);
  std::filesystem::remove_all(dir);
}
