// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/FastqPairs.h"

#include <gtest/gtest.h>

#include <sstream>

#include "editor/ReadLetters.h"
#include "support/RecordingServices.h"

namespace {
std::string Proc(const std::string& input, FastqPairsOutcome& outcome,
                 RecordingProgress& progress) {
  std::istringstream in(input);
  std::ostringstream out;
  outcome = ProcFastqPE(in, out, progress);
  return out.str();
}
}  // namespace

TEST(ProcFastqPE, TurnsSecondMatesAndLeavesFirstMatesAsTheyAre) {
  RecordingProgress progress;
  FastqPairsOutcome outcome;
  const std::string out = Proc(
      "@r1/1\nACGTN\n+\nABCDE\n"
      "@r1/2\r\nAACGt\r\n+r1/2\r\nFGHIJ\r\n",
      outcome, progress);
  EXPECT_EQ(outcome.records, 2);
  EXPECT_FALSE(outcome.stoppedEarly);
  // AACGt reversed is tGCAA, complemented aCGTT; the quality is reversed.
  EXPECT_EQ(out, "@r1/1\r\nACGTN\r\n+r1/1\r\nABCDE\r\n@r1/2\r\naCGTT\r\n+r1/2\r\nJIHGF\r\n");
}

TEST(ProcFastqPE, StopsAtTheFirstMalformedOrUnfinishedRecord) {
  RecordingProgress progress;
  FastqPairsOutcome outcome;
  EXPECT_EQ(Proc("@a/2\nAC\n+\nII\nb/1\nAC\n+\nII\n", outcome, progress),
            "@a/2\r\nGT\r\n+a/2\r\nII\r\n");
  EXPECT_TRUE(outcome.stoppedEarly);
  EXPECT_EQ(outcome.stopLine, 5);

  EXPECT_EQ(Proc("@a\nAC\n-\nII\n", outcome, progress), "");
  EXPECT_EQ(outcome.stopLine, 3);

  EXPECT_EQ(Proc("@a\nAC\n+\nII\n@b\nGG\n+\n", outcome, progress), "@a\r\nAC\r\n+a\r\nII\r\n");
  EXPECT_EQ(outcome.records, 1);
  EXPECT_TRUE(outcome.stoppedEarly);
}

TEST(ProcFastqPE, ReportsProgressEveryThousandReads) {
  std::string input;
  for (int i = 0; i < 2500; ++i) input += "@r" + std::to_string(i) + "/1\nA\n+\nI\n";
  RecordingProgress progress;
  FastqPairsOutcome outcome;
  Proc(input, outcome, progress);
  EXPECT_EQ(outcome.records, 2500);
  EXPECT_EQ(progress.statuses,
            (std::vector<std::string>{"Processing read 1000", "Processing read 2000"}));
}

TEST(ProcFastqPE, EscapeStopsAtTheNextStatusUpdate) {
  std::string input;
  for (int i = 0; i < 2500; ++i) input += "@r" + std::to_string(i) + "/1\nA\n+\nI\n";
  RecordingProgress progress;
  progress.cancelAfterSteps = 1;
  FastqPairsOutcome outcome;
  Proc(input, outcome, progress);
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_EQ(outcome.records, 1000);
}

TEST(ReverseComplement, ComplementsIupacLettersKeepingCase) {
  EXPECT_EQ(ReverseComplement("ACGTU"), "AACGT");
  EXPECT_EQ(ReverseComplement("rykmbvdhswn-"), "-nwsdhbvkmry");
  EXPECT_EQ(ReverseComplement(""), "");
}
