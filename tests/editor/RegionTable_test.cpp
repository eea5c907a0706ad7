// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/RegionTable.h"

#include <gtest/gtest.h>

#include "model/DatasetBuilders.h"

namespace {

TRegion Linked(int start, int end, int kind, int id, int prev, int next) {
  TRegion r = MakeRegion(start, end, kind);
  r.regId = id;
  r.prevId = prev;
  r.nextId = next;
  return r;
}

// CDS 1 -> Exon 2 (whose next id names no region), an Intron with no links.
RegionWorkingCopy ThreeRegions(int seqLength = 50) {
  TRegion exon = Linked(11, 20, kRegExon, 7, 5, 99);
  exon.regReverse = true;
  exon.regName = "ex";
  return RegionWorkingCopy(
      {Linked(1, 10, kRegCds, 5, -1, 7), exon, Linked(21, 30, kRegIntron, 2, -1, -1)}, seqLength);
}

std::vector<std::string> RowCells(const RegionWorkingCopy& c, int row) {
  std::vector<std::string> cells;
  for (int col = 0; col < kRegionColumnCount; ++col) cells.push_back(c.Cell(row, col));
  return cells;
}

}  // namespace

TEST(RegionWorkingCopy, RowsShowListIndexesAndLinkNumbersThroughTheFilter) {
  RegionWorkingCopy c = ThreeRegions();
  ASSERT_EQ(c.RowCount(), 3);
  EXPECT_EQ(RowCells(c, 0),
            (std::vector<std::string>{"1", "CDS", "F", "", "1", "10", "0", "0", "2", ""}));
  // The exon's next id names no region: 0, as an absent link.
  EXPECT_EQ(RowCells(c, 1),
            (std::vector<std::string>{"2", "Exon", "R", "ex", "11", "20", "0", "1", "0", ""}));

  c.SetFilter(4);  // Exon: the row keeps the region's place in the whole list
  ASSERT_EQ(c.RowCount(), 1);
  EXPECT_EQ(c.Cell(0, kColNumber), "2");
  c.SetFilter(22);  // tRNA: none, one empty row that names no region
  EXPECT_EQ(c.RowCount(), 1);
  EXPECT_EQ(c.RegionOfRow(0), -1);
  EXPECT_EQ(c.Cell(0, kColNumber), "");
  EXPECT_FALSE(c.Edit(0, kColName, "x"));
  c.SetFilter(24);  // past the list: shows all
  EXPECT_EQ(c.RowCount(), 3);
}

TEST(RegionWorkingCopy, EditsTakeWholeNumbersAndClampToTheSequence) {
  RegionWorkingCopy c = ThreeRegions(50);
  const auto& r = c.Regions();
  EXPECT_TRUE(c.Edit(1, kColStart, "0"));
  EXPECT_EQ(r[1].regStart, 1);
  EXPECT_TRUE(c.Edit(0, kColEnd, "80"));
  EXPECT_EQ(r[0].regEnd, 50);
  EXPECT_TRUE(c.Edit(0, kColEnd, "-3"));
  EXPECT_EQ(r[0].regEnd, 1);
  EXPECT_TRUE(c.Edit(1, kColStart, "99999999999"));  // beyond int: still past the end
  EXPECT_EQ(r[1].regStart, 50);
  EXPECT_FALSE(c.Edit(1, kColEnd, "12a"));
  EXPECT_FALSE(c.Edit(1, kColCodonPos, "4"));  // not a codon position
  EXPECT_TRUE(c.Edit(1, kColCodonPos, " 2 "));
  EXPECT_EQ(r[1].codonPos, 2);

  // Links: k names the k-th region's id; 0 or a k past the list stores -1.
  EXPECT_TRUE(c.Edit(2, kColLeftLink, "2"));
  EXPECT_EQ(r[2].prevId, 7);
  EXPECT_TRUE(c.Edit(2, kColLeftLink, "0"));
  EXPECT_EQ(r[2].prevId, -1);
  EXPECT_TRUE(c.Edit(2, kColRightLink, "1"));
  EXPECT_TRUE(c.Edit(2, kColRightLink, "4"));
  EXPECT_EQ(r[2].nextId, -1);
  EXPECT_TRUE(c.Edit(2, kColComment, "note"));
  EXPECT_EQ(r[2].regComment, "note");
  EXPECT_FALSE(c.Edit(2, kColType, "Exon"));  // fixed columns take nothing
}

TEST(RegionWorkingCopy, AddUsesTheFilterKindAndAFreeIdRemoveGoesFromTheLastRow) {
  RegionWorkingCopy c = ThreeRegions(50);
  c.SetFilter(13);  // SNP
  const int i = c.Add();
  ASSERT_EQ(i, 3);
  const TRegion& added = c.Regions()[3];
  EXPECT_EQ(added.regType, kRegSnp);
  EXPECT_EQ(added.regName, "F_reg4");
  EXPECT_EQ(added.regId, 8);  // largest id 7, plus one
  EXPECT_EQ(added.regStart, 1);
  EXPECT_EQ(added.regEnd, 1);
  EXPECT_EQ(c.RowOfRegion(3), 0);
  EXPECT_EQ(RegionWorkingCopy({}, 0).LinkNumber(-1), 0);

  c.SetFilter(0);
  // The exon linked to the CDS; once the CDS goes its link shows 0, the list renumbers.
  EXPECT_TRUE(c.Remove({2, 0, 2}));
  ASSERT_EQ(c.Regions().size(), 2u);
  EXPECT_EQ(c.Regions()[0].regType, kRegExon);
  EXPECT_EQ(c.Regions()[1].regType, kRegSnp);
  EXPECT_EQ(c.Cell(0, kColNumber), "1");
  EXPECT_EQ(c.Cell(0, kColLeftLink), "0");
  EXPECT_FALSE(c.Remove({5}));
}

TEST(RegionTypeChooser, ResultGivesKindAndStrand) {
  EXPECT_EQ(RegionTypeChoice(4, true), -40);
  EXPECT_EQ(RegionTypeChoice(4, false), 40);
  EXPECT_EQ(RegionTypeChoice(0, true), kRegionTypeCancelled);
  EXPECT_EQ(RegionTypeChoice(24, false), kRegionTypeCancelled);

  // Both lists reach file codes 22 and 23.
  ASSERT_EQ(RegionTypeChooserNames().size(), 24u);
  ASSERT_EQ(RegionFilterNames().size(), 24u);
  EXPECT_EQ(RegionTypeChooserNames()[19], "Heterozygous SNP");
  EXPECT_EQ(RegionTypeChooserNames()[23], "rRNA");
  EXPECT_EQ(KindListIndex(kRegRRna, 24), 23);
  EXPECT_EQ(KindListIndex(kRegStartCodon, 24), 0);  // file code 24: no entry

  RegionWorkingCopy c = ThreeRegions();
  EXPECT_TRUE(c.ChangeType(0, RegionTypeChoice(4, true)));
  EXPECT_EQ(c.Regions()[0].regType, kRegExon);
  EXPECT_TRUE(c.Regions()[0].regReverse);
  EXPECT_TRUE(c.ChangeType(0, 230));
  EXPECT_EQ(c.Regions()[0].regType, kRegRRna);
  EXPECT_FALSE(c.Regions()[0].regReverse);
  EXPECT_FALSE(c.ChangeType(0, kRegionTypeCancelled));
  EXPECT_FALSE(c.ChangeType(0, -9));
}

TEST(SeqTypeBox, EveryNamedTypeStandsAtItsOwnEntry) {
  ASSERT_EQ(SeqTypeBoxNames().size(), 9u);
  EXPECT_EQ(SeqTypeBoxNames()[6], "RFLP");
  for (int t = 0; t <= 8; ++t) EXPECT_EQ(SeqTypeFromBoxIndex(SeqTypeBoxIndex(t)), t) << t;
  EXPECT_EQ(SeqTypeBoxIndex(200), 8);
  EXPECT_EQ(SeqTypeFromBoxIndex(-1), 8);
  EXPECT_EQ(SeqTypeFromBoxIndex(12), 8);
}

TEST(RegionCellExplanation, NamesTheColumnAroundTheCellText) {
  EXPECT_EQ(RegionCellExplanation(kColCodonPos, "2"),
            "(Coding only) region starts at the 2 codon position");
  EXPECT_EQ(RegionCellExplanation(kColLeftLink, "3"),
            "(For joint func. regions) The left(upstream) joint func.reg. number: 3");
  EXPECT_EQ(RegionCellExplanation(kColType, "CDS"), "");
}
