// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>

#include "alignment/AlignCommands.h"
#include "alignment/AlnUnit.h"
#include "editor/EditorCommandFixture.h"

namespace {
const std::string K = "ACGTTGCAAGCTTACGGATC";
}

TEST(AnchoredAlign, SlidesEitherSequenceOntoItsFirstExactMatch) {
  std::string a = "GGC" + K, b = K;
  AnchoredAlign(a, b);
  EXPECT_EQ(a, "GGC" + K);
  EXPECT_EQ(b, "---" + K);
  std::string c = K, d = "GGC" + K;
  AnchoredAlign(c, d);
  EXPECT_EQ(c, "---" + K);
  EXPECT_EQ(d, "GGC" + K);
}

TEST(AnchoredAlign, NeverAnchorsOnAWindowOfTwoBases) {
  std::string repeat;
  for (int i = 0; i < 15; ++i) repeat += "AT";
  std::string a = "GGG" + repeat, b = repeat;
  AnchoredAlign(a, b);
  EXPECT_EQ(a, "GGG" + repeat);
  EXPECT_EQ(b, repeat);  // the AT window would have fitted three letters on
}

TEST(LeftEndPosition, QuartersFoundInOrderPlaceTheProbe) {
  // Quarters ACG TAC GGT TCA; TAC is found first before ACG, the other three in order.
  EXPECT_EQ(LeftEndPosition("ACGTACGGTTCA", "TTTTACGTACGGTTCAGG"), 5);
  // The first quarter is missing: the position comes from the second, two letters before the
  // target's start.
  EXPECT_EQ(LeftEndPosition("CCACGTTGCAAG", "ACGTTGCAAGTT"), -1);
  EXPECT_EQ(LeftEndPosition("CCACGTTGCAAG", "TTTTTTTTTTTT"), 0);
  // Quarters too far apart (gaps not below the probe's length) do not count.
  EXPECT_EQ(LeftEndPosition("AACCGGTT", "AA" + std::string(8, 'T') + "CCGG"), 0);
  // Under four letters: "AC" has three empty quarters, found at position 1, which are never
  // in increasing order; "ACG" has one-letter quarters and an empty last one.
  EXPECT_EQ(LeftEndPosition("AC", "GGAC"), 0);
  EXPECT_EQ(LeftEndPosition("ACG", "TTACG"), 3);
}

TEST(PairwiseLocalAlignment, NeedsExactlyTwoSelectedSequences) {
  CommandFixture f;
  f.AddDataset("d", {{"a", "GGC" + K}, {"b", K}, {"c", K}});
  for (int selected : {1, 3}) {
    f.Ds().Unselect(-1);
    for (int r = 1; r <= selected; ++r) f.Ds().Select(r);
    EXPECT_FALSE(PairwiseLocalAlignment(f.ctx));
    EXPECT_EQ(f.Notices().back(),
              "For Pairwise local alignment two sequences have to be selected (shift-click to "
              "select a sequence)");
  }
  EXPECT_EQ(RowLetters(f.Ds()), (std::vector<std::string>{"GGC" + K, K, K}));
  f.Ds().Unselect(-1);
  f.Ds().Select(1);
  f.Ds().Select(2);
  f.Answer({true});
  EXPECT_TRUE(PairwiseLocalAlignment(f.ctx));
  EXPECT_EQ(f.Questions().back(), "Align sequences \r\na\r\nb\r\n?");
  // The leading run of b's copy becomes its shift.
  EXPECT_EQ(RowLetters(f.Ds()), (std::vector<std::string>{"GGC" + K, K, K}));
  EXPECT_EQ(RowShifts(f.Ds()), (std::vector<int>{0, 3, 0}));
  EXPECT_TRUE(f.Ds().Undo());
  EXPECT_EQ(RowShifts(f.Ds()), (std::vector<int>{0, 0, 0}));
}

TEST(LocalAlignment, InAllDatasetsTakesTheRowsOfTheSelectedIndividuals) {
  CommandFixture f;
  TDataSeq& d1 = f.AddDataset("d1", {});
  AddRow(d1, "a1", "GGC" + K, 0, 1);
  AddRow(d1, "b1", K, 0, 2);
  TDataSeq& d2 = f.AddDataset("d2", {});
  AddRow(d2, "a2", "TT" + K, 0, 1);
  AddRow(d2, "x2", K, 0, 3);
  AddRow(d2, "b2", K, 0, 2);
  f.project.SetCurrent(0);
  d1.Select(-1);
  f.Answer({true});
  EXPECT_TRUE(LocalAlignment(f.ctx));
  EXPECT_EQ(RowShifts(d1), (std::vector<int>{0, 3}));
  EXPECT_EQ(RowShifts(d2), (std::vector<int>{0, 0, 2}));  // x2 belongs to neither individual
}

TEST(AlignLeftEnds, BottomRowOrEveryRowFindsWhereItStarts) {
  std::mt19937 rng(5);
  std::string r;
  for (int i = 0; i < 100; ++i) r.push_back("ACGT"[rng() % 4]);
  CommandFixture f;
  f.AddDataset("d", {{"whole", r}, {"from11", r.substr(10)}, {"from21", r.substr(20)}});
  f.Row(1).columnShift = 4;
  f.Answer({true});  // bottom only: from21 starts at letter 11 of from11 (shift 0)
  EXPECT_TRUE(AlignLeftEnds(f.ctx));
  EXPECT_EQ(RowShifts(f.Ds()), (std::vector<int>{4, 0, 10}));
  f.Answer({false});  // every row: "whole" is found to hold the others' starts
  EXPECT_TRUE(AlignLeftEnds(f.ctx));
  EXPECT_EQ(RowShifts(f.Ds()), (std::vector<int>{0, 10, 20}));
  EXPECT_EQ(f.Questions().back(),
            "Align bottom seq to seq above? Press No to proceed with all sequences.");
}
