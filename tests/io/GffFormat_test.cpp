// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "io/TextFormatSupport.h"

namespace {
int Apply(TDataSeq& ds, const std::string& text, RecordingServices& svc, bool aligned = false) {
  ReadContext ctx(svc, "a.gff");
  return ApplyGff(MemorySource(text), ctx, ds, aligned);
}
}  // namespace

TEST(ApplyGff, FieldsGiveKindPositionsStrandPhaseAndTheWholeLineAsComment) {
  RecordingServices svc;
  TDataSeq ds(svc);
  Fill(ds, {{"s1", "ACGTACGTACGT"}, {"s2", "ACGT"}});
  const std::string line = "s1\tsrc\tCDS\t2\t10\t7\t-\t1\tID=x # note";
  EXPECT_EQ(Apply(ds, "##gff-version 3\n" + line + "\r\n", svc), 1);
  ASSERT_EQ(ds.SeqAt(1)->regions.size(), 1u);
  const TRegion& r = ds.SeqAt(1)->regions[0];
  EXPECT_EQ(r.regType, kRegCds);
  EXPECT_EQ(r.regName, "CDS");
  EXPECT_EQ(r.regStart, 2);
  EXPECT_EQ(r.regEnd, 10);
  EXPECT_EQ(r.regValue, 7);
  EXPECT_TRUE(r.regReverse);
  EXPECT_EQ(r.codonPos, 3);  // phase 1
  EXPECT_EQ(r.regComment, line);
}

TEST(ApplyGff, UnknownWordsAreMiscAndPhasesMapOneToThreeAndTwoToTwo) {
  RecordingServices svc;
  TDataSeq ds(svc);
  Fill(ds, {{"s1", "ACGTACGTACGT"}});
  Apply(ds,
        "s1\t.\tTF_binding_site\t1\t2\t.\t+\t2\ns1\t.\texon\t3\t4\t.\t+\t0\ns1\t.\tgene\t5\t6\t.\t+"
        "\t.\n",
        svc);
  const auto& regions = ds.SeqAt(1)->regions;
  ASSERT_EQ(regions.size(), 3u);
  EXPECT_EQ(regions[0].regType, kRegMisc);
  EXPECT_EQ(regions[0].codonPos, 2);
  EXPECT_EQ(regions[1].regType, kRegExon);
  EXPECT_EQ(regions[1].codonPos, 1);
  EXPECT_EQ(regions[2].regType, kRegGene);
  EXPECT_EQ(regions[2].codonPos, 0);
}

TEST(ApplyGff, AlignedCoordinatesSkipTheGapsBeforeThePosition) {
  RecordingServices svc;
  TDataSeq ds(svc);
  Fill(ds, {{"s1", "AC--GT-A"}});
  Apply(ds, "s1\t.\tCDS\t3\t5\t.\t+\t0\n", svc, true);
  ASSERT_EQ(ds.SeqAt(1)->regions.size(), 1u);
  EXPECT_EQ(ds.SeqAt(1)->regions[0].regStart, 5);  // third letter G stands in column 5
  EXPECT_EQ(ds.SeqAt(1)->regions[0].regEnd, 8);    // fifth letter A in column 8
}

TEST(ApplyGff, UnknownSequencesAreSkippedAndBadPositionsReportedOnce) {
  RecordingServices svc;
  TDataSeq ds(svc);
  Fill(ds, {{"s1", "ACGT"}, {"s2", "ACGT"}});
  EXPECT_EQ(Apply(ds,
                  "s1\t.\tCDS\t1\t2\nnope\t.\tCDS\t1\t2\ns1\t.\tCDS\t0\t2\ns2\t.\tCDS\t3\t1\n"
                  "s2\t.\tCDS\tx\n\ns2\t.\tCDS\t1\t1\n",
                  svc),
            2);
  EXPECT_EQ(ds.SeqAt(1)->regions.size(), 1u);
  EXPECT_EQ(ds.SeqAt(2)->regions.size(), 1u);
  EXPECT_EQ(svc.messages.errors,
            Lines("a.gff, line 3: 3 line(s) skipped: start and end must be whole numbers with 0 < "
                  "start <= end"));
}

TEST(ApplyGff, RegionsBeyondTheSequenceAreClippedOrDropped) {
  RecordingServices svc;
  TDataSeq ds(svc);
  Fill(ds, {{"s1", "ACGTACGTAC"}});
  Apply(ds, "s1\t.\tgene\t1\t2147483647\ns1\t.\tCDS\t11\t20\ns1\t.\texon\t4\t10\n", svc);
  const auto& regions = ds.SeqAt(1)->regions;
  ASSERT_EQ(regions.size(), 2u);
  EXPECT_EQ(regions[0].regStart, 1);
  EXPECT_EQ(regions[0].regEnd, 10);
  EXPECT_EQ(regions[1].regEnd, 10);  // ends on the last letter: untouched
  EXPECT_EQ(svc.messages.errors,
            Lines("a.gff: 1 region(s) reaching past the end of their sequence were clipped to "
                  "it; 1 lying wholly beyond it were dropped"));
}

TEST(GffText, WrittenLinesReadBackWithTheLineAsComment) {
  RecordingServices svc;
  TDataSeq ds(svc);
  Fill(ds, {{"s1 long name", "ACGTACGTACGT"}});
  ds.SeqAt(1)->AddSimpleRegion(2, 7, "a note", "n", kRegPromotor, 0);
  ds.SeqAt(1)->AddSimpleRegion(3, 8, "", "c", kRegCds, 3);
  ds.SeqAt(1)->regions[1].regReverse = true;
  const std::string text = GffText(ds);
  EXPECT_EQ(text,
            "s1\tnodrix\tPromotor\t2\t7\t.\t+\t.\t#a note\r\n"
            "s1\tnodrix\tCDS\t3\t8\t.\t-\t1\t#\r\n");
  TDataSeq back(svc);
  Fill(back, {{"s1", "ACGTACGTACGT"}});
  EXPECT_EQ(Apply(back, text, svc), 1);
  ASSERT_EQ(back.SeqAt(1)->regions.size(), 2u);
  EXPECT_EQ(back.SeqAt(1)->regions[0].regComment, "s1\tnodrix\tPromotor\t2\t7\t.\t+\t.\t#a note");
  EXPECT_EQ(back.SeqAt(1)->regions[1].codonPos, 3);
  EXPECT_TRUE(back.SeqAt(1)->regions[1].regReverse);
}
