// SPDX-License-Identifier: GPL-3.0-or-later
// Region assignment, marking, removal, deletion and merging through the editor commands.
#include "editor/RegionCommands.h"

#include <gtest/gtest.h>

#include "EditorCommandFixture.h"

namespace {
void Block(TSeq& s, int start, int length) {
  s.selStart = start;
  s.selLength = length;
}
}  // namespace

TEST(AssignRegionCommand, CdsSecondPositionOverBlocksOnThreeRows) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset(
      "D", {{"a", "ACGTACGT"}, {"b", "ACGTACGT"}, {"c", "ACGTACGT"}, {"d", "ACGTACGT"}});
  Block(f.Row(1), 2, 3);
  Block(f.Row(2), 1, 8);
  Block(f.Row(4), 5, 2);
  EXPECT_EQ(AssignRegion(f.ctx, kAssignCds2), 3);
  for (int r : {1, 2, 4}) {
    SCOPED_TRACE(r);
    ASSERT_EQ(f.Row(r).regions.size(), 1u);
    const TRegion& reg = f.Row(r).regions[0];
    EXPECT_EQ(reg.regType, kRegCds);
    EXPECT_EQ(reg.codonPos, 2);
    EXPECT_EQ(reg.regName, "CDS");
    EXPECT_FALSE(reg.regReverse);
    EXPECT_EQ(reg.regComment, "");
    EXPECT_EQ(reg.regStart, f.Row(r).selStart);
    EXPECT_EQ(reg.regEnd, f.Row(r).selStart + f.Row(r).selLength - 1);
  }
  EXPECT_TRUE(f.Row(3).regions.empty());
  EXPECT_TRUE(f.ctx.modified);
  ASSERT_TRUE(ds.Undo());
  EXPECT_TRUE(f.Row(1).regions.empty());
}

TEST(AssignRegionCommand, LockAndRowsWithoutBlocksChangeNothing) {
  CommandFixture f;
  f.AddDataset("D", {{"a", "ACGT"}});
  EXPECT_EQ(AssignRegion(f.ctx, kAssignRepeat), 0);
  Block(f.Row(1), 1, 2);
  f.ctx.locked = true;
  EXPECT_EQ(AssignRegion(f.ctx, kAssignRepeat), 0);
  EXPECT_TRUE(f.Row(1).regions.empty());
  EXPECT_FALSE(f.ctx.modified);
  f.ctx.locked = false;
  EXPECT_EQ(AssignRegion(f.ctx, kAssignRepeat), 1);
  EXPECT_EQ(f.Row(1).regions.at(0).regName, "Repeat region");
}

TEST(AssignSnpCommand, YesMarksPolymorphicColumnsOutsideOutgroups) {
  CommandFixture f;
  f.AddDataset("D", {{"a", "ACGTA"}, {"b", "ACCTA"}, {"c", "ACGTT"}});
  f.Row(3).columnShift = 0;
  f.Answer({true, true});
  const int added = AssignSnps(f.ctx);
  EXPECT_EQ(f.Questions(),
            (std::vector<std::string>{
                "Search for SNPs and assign them in all sequences (except outgroups) in the "
                "dataset?\r\nPress No to mark the current position as SNP in the selected "
                "sequences.",
                "Exclude insertion/deletion/gap regions?"}));
  EXPECT_EQ(added, 6);  // columns 3 and 5 in all three rows
  for (int r = 1; r <= 3; ++r) {
    ASSERT_EQ(f.Row(r).regions.size(), 2u);
    EXPECT_EQ(f.Row(r).regions[0].regStart, 3);
    EXPECT_EQ(f.Row(r).regions[1].regStart, 5);
    EXPECT_EQ(f.Row(r).regions[0].regName, "SNP");
    EXPECT_EQ(f.Row(r).regions[0].regType, kRegSnp);
  }
}

TEST(AssignSnpCommand, NoMarksBlocksElseTheCursorOfSelectedRowsElseTheCurrentRow) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"a", "ACGTA"}, {"b", "ACCTA"}, {"c", "ACGTT"}});
  ds.SetCursor(2, 2);
  EXPECT_EQ(AssignSnps(f.ctx), 1);  // no answer given: No
  ASSERT_EQ(f.Row(2).regions.size(), 1u);
  EXPECT_EQ(f.Row(2).regions[0].regStart, 2);
  ds.Select(1);
  ds.Select(3);
  EXPECT_EQ(AssignIndels(f.ctx), 2);
  EXPECT_EQ(f.Row(1).regions.at(0).regType, kRegIndel);
  EXPECT_EQ(f.Row(1).regions.at(0).regName, "gap");
  Block(f.Row(3), 4, 2);
  EXPECT_EQ(AssignSnps(f.ctx), 1);
  EXPECT_EQ(f.Row(3).regions.back().regEnd, 5);
}

TEST(AssignIndelCommand, YesMarksColumnsWithGapsAndLetters) {
  CommandFixture f;
  f.AddDataset("D", {{"a", "AC-TA"}, {"b", "ACGTA"}, {"c", "ACGT-"}});
  f.Answer({true});
  EXPECT_EQ(AssignIndels(f.ctx), 6);  // columns 3 and 5, in the rows with the gap too
  EXPECT_EQ(f.Questions().size(), 1u);
  EXPECT_EQ(f.Row(2).regions.size(), 2u);
}

TEST(RemoveRegionsCommand, ScopeQuestionTextsAndKinds) {
  CommandFixture f;
  f.AddDataset("D1", {{"a", "ACGTACGT"}});
  f.AddDataset("D2", {{"b", "ACGTACGT"}});
  for (int i : {0, 1}) {
    f.Row(1, i).AddRegion(MakeRegion(1, 3, kRegExon, 1));
    f.Row(1, i).AddRegion(MakeRegion(5, 6, kRegGene));
  }
  EXPECT_EQ(RemoveRegionAssignments(f.ctx, RegionRemoval::Exons), 1);
  EXPECT_EQ(f.Questions().back(),
            "Remove exon assignments from all datasets in the project?\r\nPress No to remove "
            "assignments only from the current dataset");
  EXPECT_EQ(f.Row(1, 0).regions.size(), 2u);
  EXPECT_EQ(f.Row(1, 1).regions.size(), 1u);
  f.Answer({true});
  EXPECT_EQ(RemoveRegionAssignments(f.ctx, RegionRemoval::All), 2);
  EXPECT_EQ(f.Questions().back(),
            "Remove functional region assignments from all datasets in the project?\r\nPress No "
            "to remove assignments only from the current dataset");
  EXPECT_TRUE(f.Row(1, 0).regions.empty());
  EXPECT_TRUE(f.Row(1, 1).regions.empty());
}

TEST(DeleteRegionLettersCommand, AllNonCodingKeepsOnlyCdsLetters) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"a", "aaCCCgg"}, {"b", "TTTT"}});
  f.Row(1).AddRegion(MakeRegion(3, 5, kRegCds, 1));
  ASSERT_TRUE(DeleteRegionLetters(f.ctx, kRegCds, true));
  EXPECT_EQ(f.Row(1).letters, "CCC");
  ASSERT_TRUE(ds.Undo());
  ASSERT_TRUE(DeleteRegionLetters(f.ctx, kRegCds, false));
  EXPECT_EQ(f.Row(1).letters, "aagg");
}

TEST(SpliceCommand, NoProcessesOnlyTheSelectedOrCurrentRow) {
  CommandFixture f;
  f.AddDataset("D1", {{"a", "AAcccGG"}});
  TDataSeq& d2 = f.AddDataset("D2", {{"b", "AAcccGG"}, {"c", "AAcccGG"}});
  for (int i : {0, 1}) f.Row(1, i).AddRegion(MakeRegion(1, 2, kRegExon, 1));
  for (int i : {0, 1}) f.Row(1, i).AddRegion(MakeRegion(6, 7, kRegExon, 1));
  f.Row(2, 1).AddRegion(MakeRegion(1, 2, kRegExon, 1));
  d2.SetCursor(1, 1);
  ASSERT_TRUE(SpliceRegions(f.ctx, kRegExon));
  EXPECT_EQ(f.Questions().at(0),
            std::string("Splice ") + RegionKindName(kRegExon) +
                "s in all datasets in the project?\r\nPress No to proceed only with the current "
                "dataset");
  EXPECT_EQ(f.Row(1, 1).letters, "AAGG");
  EXPECT_EQ(f.Row(2, 1).letters, "AAcccGG");
  EXPECT_EQ(f.Row(1, 0).letters, "AAcccGG");
}

TEST(MergeCdsCommand, DeclinedChangesNothingAndCountsAreReported) {
  CommandFixture f;
  f.AddDataset("D", {{"a", "ATGNNNNAAA"}});
  EXPECT_EQ(MergeCdsSplitByNs(f.ctx), -1);
  EXPECT_TRUE(f.Notices().empty());
  EXPECT_FALSE(f.Ds().HasUndo());
  f.Answer({true});
  EXPECT_EQ(MergeCdsSplitByNs(f.ctx), 0);
  EXPECT_EQ(f.Notices().back(), "Done. No CDSs split by NNN were found.");
  f.Answer({true});
  EXPECT_EQ(TurnAllCdsForward(f.ctx), 0);
  EXPECT_EQ(f.Notices().back(), "Done. 0 sequences were reverse-complemented.");
}
