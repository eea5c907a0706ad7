// SPDX-License-Identifier: GPL-3.0-or-later
#include "alignment/TreeAlign.h"

#include <gtest/gtest.h>

#include <random>

#include "alignment/AlignCommands.h"
#include "alignment/MuscleAlign.h"
#include "editor/EditorCommandFixture.h"

namespace {

const std::string kAncestor = "ACGTTGCAAGCTTACGGATCCGATTACAGGTCAGT";

// Every row keeps its letters and the aligned rows (or blocks) end in the same column.
void ExpectAligned(const TDataSeq& ds, const std::vector<std::string>& plain, bool blocks) {
  ASSERT_EQ(ds.Count(), static_cast<int>(plain.size()));
  const TSeq& first = *ds.SeqAt(1);
  const int end = blocks ? first.columnShift + first.selStart + first.selLength
                         : first.columnShift + first.Length();
  for (int r = 1; r <= ds.Count(); ++r) {
    const TSeq& s = *ds.SeqAt(r);
    EXPECT_EQ(WithoutGaps(s.letters), plain[static_cast<std::size_t>(r - 1)]) << r;
    EXPECT_EQ(blocks ? s.columnShift + s.selStart + s.selLength : s.columnShift + s.Length(), end)
        << r;
  }
}

}  // namespace

TEST(GroupGaps, LaysTheListIntoBothSetsAndGrowsTheBlocks) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("d", {{"a1", "ACGTAC"}, {"a2", "ACG-AC"}, {"b", "AGTACCC"}});
  GroupGaps(ds, {0, -1, 0, 0, 0, 2, 0}, {1, 2}, {3}, false);
  EXPECT_EQ(RowLetters(ds), (std::vector<std::string>{"ACGTA--C", "ACG-A--C", "A-GTACCC"}));

  // Two runs at one place go in as one; in block mode the columns count from the block.
  TDataSeq& blocks = f.AddDataset("b", {{"x", "TTC"}, {"y", "GGAACCG"}});
  blocks.SeqAt(1)->selStart = 3;
  blocks.SeqAt(1)->selLength = 1;
  blocks.SeqAt(2)->selStart = 2;
  blocks.SeqAt(2)->selLength = 6;
  GroupGaps(blocks, {2, 3, 0}, {1}, {2}, true);
  EXPECT_EQ(RowLetters(blocks), (std::vector<std::string>{"TT-----C", "GGAACCG"}));
  EXPECT_EQ(blocks.SeqAt(1)->selLength, 6);
  EXPECT_EQ(blocks.SeqAt(2)->selLength, 6);
}

TEST(TreeGuidedAlign, KnownIndelsComeBackInTheirColumnsForTwoAndThreeSequences) {
  const std::string r2 = "ACGTTG---GCTTACGGATCCGATTACAGGTCAGT";
  const std::string r3 = "ACGTTGCAAGCTTACGG--CCGATTACAGGTCAGT";
  CommandFixture f;
  TDataSeq& two =
      f.AddDataset("two", {{"a", kAncestor}, {"b", "AC-GTTGGCTTACGGATCCGATTACAGGTCAGT"}});
  two.SeqAt(2)->columnShift = 4;
  EXPECT_EQ(TreeGuidedAlign(two, f.svc, false), 0);
  EXPECT_EQ(RowLetters(two), (std::vector<std::string>{kAncestor, r2}));
  EXPECT_EQ(RowShifts(two), (std::vector<int>{0, 0}));

  // Three sequences meet at the guide tree's root; the third child is aligned against both.
  TDataSeq& three =
      f.AddDataset("three", {{"a", kAncestor}, {"b", WithoutGaps(r2)}, {"c", WithoutGaps(r3)}});
  EXPECT_EQ(TreeGuidedAlign(three, f.svc, true), 0);
  EXPECT_EQ(RowLetters(three), (std::vector<std::string>{kAncestor, r2, r3}));

  // An insertion in the middle child: both others take its gaps.
  const std::string inserted = kAncestor.substr(0, 12) + "GGG" + kAncestor.substr(12);
  TDataSeq& wide = f.AddDataset("wide", {{"a", kAncestor}, {"b", inserted}, {"c", kAncestor}});
  EXPECT_EQ(TreeGuidedAlign(wide, f.svc, false), 0);
  ExpectAligned(wide, {kAncestor, inserted, kAncestor}, false);
  EXPECT_TRUE(wide.Undo());
  EXPECT_EQ(RowLetters(wide), (std::vector<std::string>{kAncestor, inserted, kAncestor}));
}

TEST(TreeGuidedAlign, FiftyRelativesAndSelectedBlocksEndInOneAlignment) {
  std::mt19937 rng(7);
  std::string ancestor(120, 'A');
  for (char& c : ancestor) c = "ACGT"[rng() % 4];
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("fifty", {});
  std::vector<std::string> plain;
  for (int k = 0; k < 50; ++k) {
    std::string s;
    for (std::size_t i = 0; i < ancestor.size(); ++i) {
      const unsigned r = rng() % 100;
      if (r < 3) continue;  // deletion
      s.push_back(r < 8 ? "ACGT"[rng() % 4] : ancestor[i]);
      if (r == 99) s += "TA";  // insertion
    }
    plain.push_back(s);
    AddRow(ds, "s" + std::to_string(k), s);
  }
  EXPECT_EQ(TreeGuidedAlign(ds, f.svc, true), 0);
  ExpectAligned(ds, plain, false);

  // Blocks: only their letters move; they end in one set of columns.
  TDataSeq& blocks = f.AddDataset("blocks", {{"a", "TTTT" + kAncestor + "GG"},
                                             {"b", "C" + WithoutGaps("ACGTTG---GCTTACGGATCC")},
                                             {"c", "ACGTTGCAAGC-TTACGG" + std::string("AAAA")}});
  const std::vector<std::pair<int, int>> sel{{5, 35}, {2, 18}, {1, 18}};
  for (int r = 1; r <= 3; ++r) {
    blocks.SeqAt(r)->selStart = sel[static_cast<std::size_t>(r - 1)].first;
    blocks.SeqAt(r)->selLength = sel[static_cast<std::size_t>(r - 1)].second;
  }
  blocks.SeqAt(3)->columnShift = 2;
  EXPECT_EQ(TreeGuidedAlign(blocks, f.svc, false), 0);
  ExpectAligned(blocks, {"TTTT" + kAncestor + "GG", "CACGTTGGCTTACGGATCC", "ACGTTGCAAGCTTACGGAAAA"},
                true);
  for (int r = 1; r <= 3; ++r) {
    const TSeq& s = *blocks.SeqAt(r);
    EXPECT_EQ(s.selStart + s.columnShift, blocks.SeqAt(1)->selStart + blocks.SeqAt(1)->columnShift);
  }
  EXPECT_EQ(blocks.SeqAt(1)->letters.substr(0, 4), "TTTT");
  EXPECT_EQ(blocks.SeqAt(3)->letters.substr(blocks.SeqAt(3)->letters.size() - 4), "AAAA");
}

TEST(AlignTreeGuided, AsksForItsScopeAndTellsWhenDone) {
  CommandFixture f;
  TDataSeq& ds =
      f.AddDataset("d", {{"a", kAncestor}, {"b", kAncestor.substr(3)}, {"c", kAncestor}});
  f.Answer({false});
  EXPECT_FALSE(AlignTreeGuided(f.ctx));
  EXPECT_EQ(f.Questions().back(), "Align 3 sequences in the dataset d?");
  ds.Select(1);
  ds.Select(2);
  f.Answer({true});
  EXPECT_TRUE(AlignTreeGuided(f.ctx));
  EXPECT_EQ(f.Questions().back(), "Align 2 selected sequences in the dataset d?");
  EXPECT_EQ(f.Notices().back(), "Alignment completed");
  EXPECT_EQ(RowLetters(ds),
            (std::vector<std::string>{kAncestor, "---" + kAncestor.substr(3), kAncestor}));
}
