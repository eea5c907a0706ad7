// SPDX-License-Identifier: GPL-3.0-or-later
// What the grid shows: colours, region display list, dotted view, labels and hint text.
#include "editor/GridPaintRules.h"

#include <gtest/gtest.h>

#include "model/DatasetBuilders.h"
#include "support/RecordingServices.h"

TEST(GridRegionDisplay, DefaultListShowsTheStructuralKinds) {
  const auto display = DefaultRegionDisplay();
  ASSERT_EQ(display.size(), 24u);
  EXPECT_EQ(display[0].kind, kRegSequence);
  EXPECT_TRUE(display[0].shown);
  EXPECT_EQ(display[1].kind, kRegCds);      // file code 1
  EXPECT_EQ(display[11].kind, kRegPrimer);  // file code 11
  EXPECT_EQ(display[23].kind, kRegRRna);    // file code 23
  const auto shown = ShownKinds(display);
  for (int k : {kRegCds, kRegNoncoding, kRegIntron, kRegExon, kRegOrf, kRegSnp, kRegHetSnp,
                kRegGene, kRegTRna, kRegRRna, kRegSequence})
    EXPECT_TRUE(shown[static_cast<std::size_t>(k)]) << k;
  for (int k : {kRegPrimer, kRegPromotor, kRegRepeat, kRegMisc, kRegIndel, kRegStartCodon})
    EXPECT_FALSE(shown[static_cast<std::size_t>(k)]) << k;
  const auto all = ShownKinds(AllShownRegionDisplay());
  EXPECT_TRUE(all[kRegPrimer]);
  EXPECT_FALSE(all[kRegStartCodon]);  // file code 24 is not in the list
}

TEST(GridLetterColors, NucleotideRowsColourTheirBases) {
  EXPECT_EQ(LetterColorSlot(kSeqDna, 'a', true), kLetterAColor);
  EXPECT_EQ(LetterColorSlot(kSeqDna, 'C', true), kLetterCColor);
  EXPECT_EQ(LetterColorSlot(kSeqRna, 'g', true), kLetterGColor);
  EXPECT_EQ(LetterColorSlot(kSeqRna, 'U', true), kLetterTColor);
  EXPECT_EQ(LetterColorSlot(kSeqSnp, 't', true), kLetterTColor);
  EXPECT_EQ(LetterColorSlot(kSeqDna, 'N', true), kOtherLetterColor);
  EXPECT_EQ(LetterColorSlot(kSeqDna, '-', true), kOtherLetterColor);
  EXPECT_EQ(LetterColorSlot(kSeqProtein1, 'A', true), -1);
  EXPECT_EQ(LetterColorSlot(kSeqDna, 'A', false), kDisabledSeqColor);
}

TEST(GridRegionColors, KindsTakeTheirSchemeSlotAndBandHeight) {
  const ColorScheme scheme = DefaultColorScheme();
  EXPECT_EQ(RegionColorSlot(kRegCds), kCodingColor);
  EXPECT_EQ(RegionColorSlot(kRegOrf), kCodingColor);
  EXPECT_EQ(RegionColorSlot(kRegNoncoding), kNoncodingColor);
  EXPECT_EQ(RegionColorSlot(kRegIntron), kIntronColor);
  EXPECT_EQ(RegionColorSlot(kRegExon), kExonColor);
  EXPECT_EQ(RegionColorSlot(kRegPrimer), kPrimerColor);
  EXPECT_EQ(RegionColorSlot(kRegSequence), kSeqLineColor);
  EXPECT_EQ(RegionColorSlot(kRegGene), kMiscRegionColor);
  EXPECT_EQ(RegionBandHeight(kRegCds, scheme), 7);
  EXPECT_EQ(RegionBandHeight(kRegExon, scheme), 7);
  EXPECT_EQ(RegionBandHeight(kRegIntron, scheme), 5);
  EXPECT_EQ(RegionBandHeight(kRegPrimer, scheme), 5);
  EXPECT_EQ(RegionBandHeight(kRegSnp, scheme), 5);
}

TEST(GridDottedView, LettersEqualToTheFirstRowBecomeDots) {
  EXPECT_TRUE(IsDottedLetter(2, 'a', 'A'));
  EXPECT_FALSE(IsDottedLetter(2, 'a', 'G'));
  EXPECT_FALSE(IsDottedLetter(1, 'a', 'A'));  // the first row itself
  EXPECT_FALSE(IsDottedLetter(3, 'a', 0));    // first row has no letter in that column
}

TEST(GridRegionLabel, NameFollowsTheKindWhenItDiffers) {
  TRegion r = MakeRegion(1, 10, kRegExon);
  EXPECT_EQ(RegionLabel(r), "Exon");
  r.regName = " exon ";
  EXPECT_EQ(RegionLabel(r), "Exon");
  r.regName = "exon 2";
  EXPECT_EQ(RegionLabel(r), "Exon: exon 2");
  EXPECT_EQ(RegionLabelIndent(kRegExon), 18);
  EXPECT_EQ(RegionLabelIndent(kRegGene), 40);
  EXPECT_EQ(RegionLabelIndent(kRegCds), 1);
}

TEST(GridHintText, NamesTheShortestRegionUnderTheMouseOrTheLetter) {
  RecordingServices svc;
  TDataSeq ds{svc};
  TSeq& s = AddRow(ds, "s1", "ACGTACGTAC");
  TRegion cds = MakeRegion(2, 9, kRegCds, 1);
  s.AddRegion(cds);
  TRegion snp = MakeRegion(4, 4, kRegSnp);
  snp.regName = "rs12";
  snp.regComment = "A/G";
  s.AddRegion(snp);
  const ColorScheme scheme = DefaultColorScheme();
  // Row 23 high: a CDS band of 7 spans y 8..14, an SNP band of 5 spans y 9..13.
  EXPECT_EQ(GridHintText(&ds, 1, 4, 11, 23, scheme), "SNP[4:4] \"rs12\", A/G");
  EXPECT_EQ(GridHintText(&ds, 1, 4, 8, 23, scheme), "CDS[2:9]");
  EXPECT_EQ(GridHintText(&ds, 1, 4, 2, 23, scheme), "\"T\", pos=4");
  EXPECT_EQ(GridHintText(&ds, 1, 10, 11, 23, scheme), "\"C\", pos=10");
  EXPECT_EQ(GridHintText(&ds, 1, 11, 11, 23, scheme), "DataSet window");
  s.quality = std::vector<std::uint8_t>(10, 30);
  EXPECT_EQ(GridHintText(&ds, 1, 1, 2, 23, scheme), "\"A\", pos=1 Quality = 30");
  EXPECT_EQ(GridHintText(nullptr, 1, 1, 2, 23, scheme),
            "To add sequences to this window right-click on it and use menu Open");
}

// Many columns per pixel: a letter that differs from the first row wins, so a variable column
// shows however far the view is zoomed out; shifts and gaps are honoured.
TEST(OverviewLetter, PicksTheLetterThatDiffersFromTheReference) {
  TSeq reference("r", "ACGTACGT");
  TSeq row("s", "ACGTAGGT");  // differs at column 6
  EXPECT_EQ(OverviewLetter(row, &reference, 1, 4), 'A');
  EXPECT_EQ(OverviewLetter(row, &reference, 5, 8), 'G');
  EXPECT_EQ(OverviewLetter(row, &reference, 6, 6), 'G');
  EXPECT_EQ(OverviewLetter(row, nullptr, 5, 8), 'A');
  EXPECT_EQ(OverviewLetter(reference, &reference, 5, 8), 'A');  // the reference row itself
  TSeq shifted("t", "--tTACG");
  shifted.columnShift = 2;  // letters from column 3; columns 3..4 are gaps
  EXPECT_EQ(OverviewLetter(shifted, &reference, 1, 2), 0);  // before the row starts
  EXPECT_EQ(OverviewLetter(shifted, &reference, 3, 4), '-');
  EXPECT_EQ(OverviewLetter(shifted, &reference, 3, 6), 't');  // column 5: t against A
  EXPECT_EQ(OverviewLetter(shifted, &reference, 6, 6), 'T');  // T against C
  TSeq lower("u", "acgt");
  EXPECT_EQ(OverviewLetter(lower, &reference, 1, 4), 'a');
}
