// SPDX-License-Identifier: GPL-3.0-or-later
// Dataset-wide edits: padding, cutting, gap columns, singletons, consensus, bootstrap, read
// joining and reading-frame repairs. Expected letters are worked out by hand in the comments.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "common/PlatformRandom.h"
#include "model/Datasequnit.h"
#include "model/DatasetBuilders.h"
#include "support/RecordingServices.h"

using ::testing::ElementsAre;

TEST(TDataSeqPad, ShiftsBecomeLeadingPadAndRowsEndTogether) {
  RecordingServices svc;
  TDataSeq ds(svc);
  AddRow(ds, "a", "ACG", 2);
  AddRow(ds, "b", "ACGTA");
  TSeq& c = AddRow(ds, "c", "AC");
  c.quality = {20, 30};
  ds.PadWithN();
  EXPECT_THAT(RowLetters(ds), ElementsAre("nnACG", "ACGTA", "ACnnn"));
  EXPECT_THAT(RowShifts(ds), ElementsAre(0, 0, 0));
  EXPECT_THAT(c.quality, ElementsAre(20, 30, 0, 0, 0));

  TDataSeq gaps(svc);
  AddRow(gaps, "a", "AC", 1);
  AddRow(gaps, "b", "ACGTA");
  AddRow(gaps, "c", "", 0);
  gaps.PadWithGaps();
  EXPECT_THAT(RowLetters(gaps), ElementsAre("-AC--", "ACGTA", "-----"));
}

TEST(TDataSeqRemoveSharedGapColumns, RemovesColumnsWithoutAnyLetter) {
  RecordingServices svc;
  TDataSeq ds(svc);
  AddRow(ds, "a", "A-C");
  AddRow(ds, "b", "A-G");
  EXPECT_EQ(ds.RemoveSharedGapColumns(), 1);
  EXPECT_THAT(RowLetters(ds), ElementsAre("AC", "AG"));
}

TEST(TDataSeqRemoveSharedGapColumns, KeepsRegionsQualityAndColumnsOfTheRest) {
  RecordingServices svc;
  TDataSeq ds(svc);
  // Columns:  1 2 3 4 5 6 7
  // a         A - - C - - T
  // b           - G       (shift 1; column 4 onwards not covered)
  // c                   A (shift 5; column 6 is its first letter)
  TSeq& a = AddRow(ds, "a", "A--C--T");
  a.quality = {10, 0, 0, 20, 0, 0, 30};
  a.regions.push_back(MakeRegion(1, 7, kRegMisc));
  a.regions.push_back(MakeRegion(5, 5, kRegIndel));  // every letter of it goes
  AddRow(ds, "b", "-G", 1);
  AddRow(ds, "c", "A", 5);
  // Shared gap columns: 2 and 5. Column 6 has c's A.
  EXPECT_EQ(ds.RemoveSharedGapColumns(), 2);
  EXPECT_THAT(RowLetters(ds), ElementsAre("A-C-T", "G", "A"));
  EXPECT_THAT(RowShifts(ds), ElementsAre(0, 1, 3));
  EXPECT_THAT(a.quality, ElementsAre(10, 0, 20, 0, 30));
  ASSERT_EQ(a.regions.size(), 1u);
  EXPECT_EQ(a.regions[0].regStart, 1);
  EXPECT_EQ(a.regions[0].regEnd, 5);
  EXPECT_EQ(a.lettersLength, 5);
}

TEST(TDataSeqRemoveSharedGapColumns, CodingRegionKeepsItsFrameWhenItsFirstLettersGo) {
  RecordingServices svc;
  TDataSeq ds(svc);
  TSeq& a = AddRow(ds, "a", "--ATGAAA");
  a.regions.push_back(MakeRegion(1, 8, kRegCds, 2));  // letter 3 has position 1
  AddRow(ds, "b", "--ATGAAA");
  ds.RemoveSharedGapColumns();
  EXPECT_EQ(a.letters, "ATGAAA");
  ASSERT_EQ(a.regions.size(), 1u);
  EXPECT_EQ(a.regions[0].codonPos, 1);
  EXPECT_EQ(a.regions[0].regEnd, 6);
}

TEST(TDataSeqRemoveSingletonInserts, RemovesColumnsOnlyThatRowFills) {
  RecordingServices svc;
  TDataSeq ds(svc);
  AddRow(ds, "a", "AXCYY");
  AddRow(ds, "b", "A-C");
  AddRow(ds, "c", "A-Cg");
  // Row a alone has letters at columns 2 and 5; column 4 is shared with c.
  EXPECT_EQ(ds.RemoveSingletonInserts(1), 2);
  EXPECT_THAT(RowLetters(ds), ElementsAre("ACY", "AC", "ACg"));
  EXPECT_EQ(ds.RemoveSingletonInserts(9), 0);
}

TEST(TDataSeqCutToCommonEnd, EmptyRowsDoNotCutEveryRowToNothing) {
  RecordingServices svc;
  TDataSeq ds(svc);
  AddRow(ds, "a", "ACGT--");
  AddRow(ds, "b", "ACG");
  AddRow(ds, "c", "");
  AddRow(ds, "d", "ACGTTT");
  ds.CutToCommonEnd(false);
  EXPECT_THAT(RowLetters(ds), ElementsAre("ACG", "ACG", "", "ACG"));
}

TEST(TDataSeqCutToCommonEnd, CodonAwareCutEndsAfterAWholeCodon) {
  RecordingServices svc;
  TDataSeq ds(svc);
  // The shortest row ends at column 8; letter 8 of the CDS (codon position 1 at letter 1)
  // has codon position 2, so two more columns go and the alignment ends after codon 2.
  TSeq& a = AddRow(ds, "a", "ATGAAACCGG");
  a.regions.push_back(MakeRegion(1, 10, kRegCds, 1));
  AddRow(ds, "b", "ATGAAACC");
  ds.CutToCommonEnd(true);
  EXPECT_THAT(RowLetters(ds), ElementsAre("ATGAAA", "ATGAAA"));
}

TEST(TDataSeqCutToCommonStart, DropsLettersBeforeTheLatestStart) {
  RecordingServices svc;
  TDataSeq ds(svc);
  AddRow(ds, "a", "ACGTAC");
  AddRow(ds, "b", "GTA", 2);
  AddRow(ds, "c", "CGTACGG", 1);
  ds.CutToCommonStart();
  EXPECT_THAT(RowLetters(ds), ElementsAre("GTAC", "GTA", "GTACGG"));
  EXPECT_THAT(RowShifts(ds), ElementsAre(0, 0, 0));
}

TEST(ConsensusLetter, SharesAmbiguityWeightAmongBases) {
  // Weights by hand: each letter 1, two-base codes 1/2 each, three-base codes 1/3 each.
  struct Case {
    const char* letters;
    char expected;
    double percent;
  };
  for (const Case& c : {Case{"AAG", 'A', 66.7}, Case{"AG", 'R', 50.0}, Case{"AR", 'A', 75.0},
                        Case{"aag", 'A', 66.7}, Case{"ACG", 'V', 33.3}, Case{"KM", 'N', 25.0},
                        Case{"TB", 'T', 4.0 / 6 * 100}, Case{"CCY", 'C', 83.3},
                        Case{"GGTT", 'K', 50.0}, Case{"A-N", 'A', 100.0}}) {
    SCOPED_TRACE(c.letters);
    const auto [letter, percent] = ConsensusLetter(c.letters, 1);
    EXPECT_EQ(letter, c.expected);
    EXPECT_NEAR(percent, c.percent, 0.05);
  }
  EXPECT_EQ(ConsensusLetter("AA", 3).first, '-');
  EXPECT_EQ(ConsensusLetter("--", 1), std::make_pair('-', 0.0));
  EXPECT_EQ(ConsensusLetter("nN", 1).first, 'N');
}

TEST(TDataSeqConsensus, PlainConsensusWeighsEachColumn) {
  RecordingServices svc;
  TDataSeq ds(svc);
  AddRow(ds, "a", "AAC", 1);
  AddRow(ds, "b", "AGC", 1);
  AddRow(ds, "c", "C", 4);
  AddRow(ds, "d", "T", 6);
  // Columns 2..7: AA -> A 100; AG -> R 50; CC -> C 100; C alone -> C 1; none -> n 0; T -> T 1.
  const auto cons = ds.Consensus(false, false);
  EXPECT_EQ(cons->letters, "ARCCnT");
  EXPECT_EQ(cons->columnShift, 1);
  EXPECT_THAT(cons->quality, ElementsAre(100, 50, 100, 1, 0, 1));

  ds.Select(2);
  ds.Select(4);
  const auto part = ds.Consensus(false, true);
  EXPECT_EQ(part->letters, "AGCnnT");
  EXPECT_EQ(part->columnShift, 1);
}

TEST(TDataSeqConsensus, ByQualityStitchesTheBestRowOfEachRunToTheEnd) {
  RecordingServices svc;
  TDataSeq ds(svc);
  TSeq& a = AddRow(ds, "a", "AAAAA");
  a.quality = {10, 10, 40, 40, 40};
  TSeq& b = AddRow(ds, "b", "CCCCC");
  b.quality = {30, 30, 5, 5, 50};
  AddRow(ds, "c", "GGGGGGG");  // no quality: its last columns fall back to the plain consensus
  const auto cons = ds.Consensus(true, false);
  EXPECT_EQ(cons->letters, "CCAACGG");
  EXPECT_THAT(cons->quality, ElementsAre(30, 30, 40, 40, 50, 1, 1));
}

TEST(TDataSeqBootstrap, ByCodonFinishesOnAlignmentsOfTwoColumns) {
  RecordingServices svc;
  TDataSeq ds(svc);
  TSeq& a = AddRow(ds, "a", "AT");
  a.regions.push_back(MakeRegion(1, 2, kRegCds, 1));
  TSeq& b = AddRow(ds, "b", "GC");
  b.regions.push_back(MakeRegion(1, 2, kRegCds, 1));
  PlatformRandom rng(11);
  const auto boot = ds.Bootstrap(true, rng);
  EXPECT_EQ(boot->dsName, "Dataset_bstrapped");
  ASSERT_EQ(boot->Count(), 2);
  for (int r = 1; r <= 2; ++r) EXPECT_EQ(boot->SeqAt(r)->Length(), 2);
  // Every resampled column is one of the original columns, across all rows.
  for (int c = 1; c <= 2; ++c) {
    const std::string col = boot->ColumnLetters(c, 0);
    EXPECT_TRUE(col == "AG" || col == "TC") << col;
  }
}

TEST(TDataSeqBootstrap, ByCodonDrawsWholeCodonsAndMarksThem) {
  RecordingServices svc;
  TDataSeq ds(svc);
  TSeq& a = AddRow(ds, "a", "ATGCCCTTT");
  a.regions.push_back(MakeRegion(1, 9, kRegCds, 1));
  TSeq& b = AddRow(ds, "b", "ATACCGTTA");
  b.regions.push_back(MakeRegion(1, 9, kRegCds, 1));
  const std::set<std::string> codons{"ATG/ATA", "CCC/CCG", "TTT/TTA"};
  for (std::uint32_t seed : {1u, 2u, 3u, 99u}) {
    PlatformRandom rng(seed);
    const auto boot = ds.Bootstrap(true, rng);
    const TSeq& x = *boot->SeqAt(1);
    const TSeq& y = *boot->SeqAt(2);
    ASSERT_EQ(x.Length(), 9);
    for (int k = 0; k < 9; k += 3)
      EXPECT_EQ(codons.count(x.letters.substr(k, 3) + "/" + y.letters.substr(k, 3)), 1u);
    ASSERT_EQ(x.regions.size(), 1u);
    EXPECT_EQ(x.regions[0].regType, kRegCds);
    EXPECT_EQ(x.regions[0].regStart, 1);
    EXPECT_EQ(x.regions[0].regEnd, 9);
    EXPECT_EQ(x.regions[0].codonPos, 1);
  }
}

TEST(TDataSeqBootstrap, SingleColumnsComeFromTheOriginalColumns) {
  RecordingServices svc;
  TDataSeq ds(svc);
  AddRow(ds, "a", "ACGTA");
  AddRow(ds, "b", "CGTAC", 0).enabled = false;  // keeps its own letters
  AddRow(ds, "c", "GT", 3);
  std::set<std::string> columns;
  for (int c = 1; c <= 5; ++c)
    columns.insert(std::string{"ACGTA"[c - 1], "CGTAC"[c - 1], c > 3 ? "GT"[c - 4] : '-'});
  PlatformRandom rng(5);
  const auto boot = ds.Bootstrap(false, rng);
  for (int c = 1; c <= 5; ++c) {
    std::string col;
    for (int r = 1; r <= 3; ++r)
      col.push_back(boot->SeqAt(r)->letters[static_cast<std::size_t>(c - 1)]);
    EXPECT_EQ(columns.count(col), 1u) << col;
  }
}

TEST(TDataSeqMergeOverlappingReads, JoinsReadsOfOneIndividual) {
  RecordingServices svc;
  TDataSeq ds(svc);
  AddRow(ds, "r1", "ACGT", 0, 1);
  AddRow(ds, "r2", "gTTT", 2, 1);  // overlap GT/gT agrees ignoring case
  AddRow(ds, "r3", "AC", 0, 2);
  AddRow(ds, "r4", "TT", 4, 2);  // two columns after r3
  AddRow(ds, "r5", "CCCC", 1, 3);
  AddRow(ds, "r6", "GGGG", 2, 3);  // overlap disagrees: stays
  AddRow(ds, "other", "AAAA", 2);  // no individual
  EXPECT_EQ(ds.MergeOverlappingReads(true, true, true), 2);
  EXPECT_THAT(RowNames(ds), ElementsAre("r1", "r3", "r5", "r6", "other"));
  EXPECT_THAT(RowLetters(ds), ElementsAre("ACGTTT", "ACnnTT", "CCCC", "GGGG", "AAAA"));
  const TSeq& r1 = *ds.SeqAt(1);
  ASSERT_FALSE(r1.regions.empty());
  EXPECT_EQ(r1.regions.back().regStart, 5);
  EXPECT_EQ(r1.regions.back().regEnd, 6);
  EXPECT_EQ(r1.regions.back().regComment, "merged from seq r2");
}

TEST(TDataSeqRestoreOrf, GapColumnsThatRemoveStopsGoIntoEveryRow) {
  RecordingServices svc;
  TDataSeq ds(svc);
  // Codons ATG CC- TAA GGG: one stop. Two gaps after the single gap give ATG CC- --T AAG GG.
  TSeq& a = AddRow(ds, "a", "ATGCC-TAAGGG");
  a.regions.push_back(MakeRegion(1, 12, kRegCds, 1));
  AddRow(ds, "b", "ATGCCCTAAGGG");
  AddRow(ds, "c", "GG", 8);
  EXPECT_EQ(ds.RestoreOrf(1, false), 1);
  EXPECT_THAT(RowLetters(ds), ElementsAre("ATGCC---TAAGGG", "ATGCC--CTAAGGG", "GG"));
  EXPECT_EQ(ds.SeqAt(3)->columnShift, 10);
  EXPECT_EQ(a.regions[0].regEnd, 14);
  EXPECT_EQ(ds.RestoreOrf(1, false), 0);  // no stop left
}

TEST(TDataSeqMaskStops, StopCodonsBecomeNnn) {
  RecordingServices svc;
  TDataSeq ds(svc);
  TSeq& a = AddRow(ds, "a", "ATGTAAGGGTGA", 0, 5);
  a.regions.push_back(MakeRegion(1, 12, kRegCds, 1));
  AddRow(ds, "b", "ATGTAAGGGTGA");
  EXPECT_EQ(ds.MaskStops(5, true, false), 2);
  EXPECT_THAT(RowLetters(ds), ElementsAre("ATGnnnGGGnnn", "ATGTAAGGGTGA"));
}
