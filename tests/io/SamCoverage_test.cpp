// SPDX-License-Identifier: GPL-3.0-or-later
// Coverage counts and reports of a SAM file, on a hand-made case whose counts are worked out
// by hand below.
#include <gtest/gtest.h>

#include "io/IoTestFiles.h"
#include "io/ReadFormats.h"
#include "io/TextFormatSupport.h"

namespace {

// ref1 (10 letters) carries g1 = 2..8 (forward) and g2 = 4..5 (reverse); ref2 gets no read.
// Reads: r1 covers 1..4, r2 3..6, r3 4..5; r4 names no sequence; r5 is unplaced.
//   ref1: 3 reads; per letter 1 1 2 3 2 1 0 0 0 0.
//   g1: r2 and r3 lie within it, r1 neither holds nor lies within it: 2.
//   g2: lies within r2, equals r3: 2.
const char* const kSam =
    "@HD\tVN:1.6\n"
    "r1\t0\tref1\t1\t60\t4M\t*\t0\t0\tACGT\t*\n"
    "r2\t0\tref1\t3\t60\t4M\t*\t0\t0\tGTAC\t*\n"
    "r3\t0\tref1\t4\t60\t2M\t*\t0\t0\tTA\t*\n"
    "r4\t0\tother\t1\t60\t2M\t*\t0\t0\tAC\t*\n"
    "r5\t4\t*\t0\t0\t*\t*\t0\t0\tACGT\t*\n";

void MakeProject(TDataProj& proj) {
  proj.NewDataset();
  proj.RenameDataset(0, "D1");
  auto ref1 = std::make_unique<TSeq>("ref1", "ACGTACGTAC");
  TRegion g1;
  g1.regStart = 2;
  g1.regEnd = 8;
  g1.regType = kRegCds;
  g1.regName = "g1";
  ref1->regions.push_back(g1);
  TRegion g2;
  g2.regStart = 4;
  g2.regEnd = 5;
  g2.regType = kRegExon;
  g2.regReverse = true;
  g2.regName = "g2";
  g2.regComment = "note";
  ref1->regions.push_back(g2);
  ref1->seqComment = "first";
  (void)proj.DatasetAt(0)->AddSeq(ref1, false);
  proj.NewDataset();
  proj.RenameDataset(1, "D2");
  auto ref2 = std::make_unique<TSeq>("ref2", "AC");
  (void)proj.DatasetAt(1)->AddSeq(ref2, false);
}

}  // namespace

TEST(CountSamCoverage, CountsReadsPerSequenceRegionAndLetter) {
  RecordingServices svc;
  TDataProj proj(svc);
  MakeProject(proj);
  proj.DatasetAt(0)->SeqAt(1)->readCount = 7;  // a former count is cleared
  ReadContext ctx(svc, "cov.sam");
  const SamCoverage cov = CountSamCoverage(MemorySource(kSam), ctx, proj, true);
  EXPECT_EQ(cov.alignmentLines, 5);
  const TSeq& ref1 = *proj.DatasetAt(0)->SeqAt(1);
  EXPECT_EQ(ref1.readCount, 3);
  EXPECT_EQ(ref1.regions[0].regValue, 2);
  EXPECT_EQ(ref1.regions[1].regValue, 2);
  EXPECT_EQ(cov.depth.at(&ref1), (std::vector<std::int32_t>{1, 1, 2, 3, 2, 1, 0, 0, 0, 0}));
  EXPECT_TRUE(ref1.peakPos.empty());  // the counts never take the place of trace peaks
}

TEST(RunSamCoverage, WritesBothReportsByteForByte) {
  TestFolder dir("samcov");
  const std::string sam = dir.Write("cov.sam", kSam);
  RecordingServices svc;
  TDataProj proj(svc);
  MakeProject(proj);
  const CoverageRun run = RunSamCoverage(sam, proj, true, svc);
  ASSERT_TRUE(run.ok);
  EXPECT_EQ(TestFolder::Read(sam + ".FRcovrg.csv"),
            "Dataset,sequence,region_type,region_name,start,end,Frv/Rev,read_count,comment,SAM "
            "file:,cov.sam,Total number of mapped reads:,5\r\n"
            "D1,ref1,Entire_seq,ref1,1,10,F,3,first\r\n"
            "D1,ref1,CDS,g1,2,8,F,2,\r\n"
            "D1,ref1,Exon,g2,4,5,R,2,note\r\n"
            "D2,ref2,Entire_seq,ref2,1,2,F,0,\r\n");
  EXPECT_EQ(TestFolder::Read(sam + ".seqCovrg.txt"),
            ">ref1 SqLength= 10 SqCoverage= 3\r\n1 1 2 3 2 1 0 0 0 0 \r\n"
            ">ref2 SqLength= 2 SqCoverage= 0\r\n0 0 \r\n");
  EXPECT_EQ(run.notice, "Coverage reports saved to files:\r\n" + sam + ".seqCovrg.txt\r\n" + sam +
                            ".FRcovrg.csv");
}

TEST(SamCoverageCommand, AsksBeforeReadingAndReportsAMissingFile) {
  TestFolder dir("samcovcmd");
  RecordingServices svc;
  TDataProj proj(svc);
  MakeProject(proj);
  EXPECT_FALSE(SamCoverageCommand(dir.File("none.sam"), proj, svc));
  EXPECT_EQ(svc.messages.notices, Lines("SAM file not found"));
  const std::string sam = dir.Write("cov.sam", kSam);
  EXPECT_FALSE(SamCoverageCommand(sam, proj, svc));  // No to "Start reading SAM file?"
  svc.messages.answers = {true, false};
  EXPECT_TRUE(SamCoverageCommand(sam, proj, svc));
  EXPECT_EQ(svc.messages.questions.back(), "Show coverage for entire seq length?");
  EXPECT_EQ(svc.messages.notices.back(),
            "Coverage report saved to file:\r\n" + sam + ".FRcovrg.csv");
  EXPECT_FALSE(std::filesystem::exists(sam + ".seqCovrg.txt"));
}
