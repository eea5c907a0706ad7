// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "io/TextFormatSupport.h"

namespace {
Rows ReadFasta(const std::string& text, RecordingServices& svc, bool* ok = nullptr) {
  TDataSeq ds(svc);
  ReadContext ctx(svc, "/d/x.fas");
  const bool read = OpenFasta(MemorySource(text), ctx, ds);
  if (ok) *ok = read;
  return RowsOf(ds);
}

}  // namespace

TEST(OpenFasta, HeaderIsTheWholeTrimmedLineAndLettersLoseOnlyBlanksStarsAndBreaks) {
  RecordingServices svc;
  // Blanks and '*' vanish, digits and tabs inside the letters stay; case is kept.
  EXPECT_EQ(ReadFasta(">  seq 1 desc ; \nac GT*\n12\tTT\n", svc),
            (Rows{{"seq 1 desc", "acGT12\tTT"}}));
}

TEST(OpenFasta, RecordsWithoutLettersDuplicatesAndLeadingTextAreKept) {
  RecordingServices svc;
  EXPECT_EQ(ReadFasta("2 4\r\n>a\n>a\nACGT\n", svc), (Rows{{"a", ""}, {"a", "ACGT"}}));
}

TEST(OpenFasta, FileWithoutRecordMarkIsNotAFastaFile) {
  RecordingServices svc;
  bool ok = true;
  EXPECT_TRUE(ReadFasta("ACGT\n", svc, &ok).empty());
  EXPECT_FALSE(ok);
  EXPECT_EQ(svc.messages.notices, Lines("This is not a Fasta file"));
}

TEST(OpenFasta, TooManyRecordsReadsTheLimitFromTheChosenStart) {
  RecordingServices svc;
  svc.settings.maxSeqPerDataset = 3;
  const std::string text = ">r1\nA\n>r2\nC\n>r3\nG\n>r4\nT\n>r5\nN\n";
  for (const auto& [start, expected] :
       {std::pair{2, Rows{{"r2", "C"}, {"r3", "G"}, {"r4", "T"}}},
        std::pair{4, Rows{{"r4", "T"}, {"r5", "N"}}}, std::pair{9, Rows{}}}) {
    SCOPED_TRACE(start);
    TDataSeq ds(svc);
    ReadContext ctx(svc, "x.fas");
    int askedCount = 0, askedLimit = 0;
    ctx.chooseFastaStart = [&](int count, int limit) {
      askedCount = count;
      askedLimit = limit;
      return start;
    };
    (void)OpenFasta(MemorySource(text), ctx, ds);
    EXPECT_EQ(RowsOf(ds), expected);
    EXPECT_EQ(askedCount, 5);
    EXPECT_EQ(askedLimit, 3);
  }
}

TEST(OpenFasta, TooManyRecordsAreNeverCutWithoutAWord) {
  RecordingServices svc;
  svc.settings.maxSeqPerDataset = 2;
  const std::string text = ">r1\nA\n>r2\nC\n>r3\nG\n";
  EXPECT_EQ(ReadFasta(text, svc), (Rows{{"r1", "A"}, {"r2", "C"}}));
  EXPECT_EQ(svc.messages.errors,
            Lines("/d/x.fas: holds 3 sequences, more than \"Max seq per dataset\" (2); only "
                  "sequences 1 to 2 were read"));
  // A chooser that declines reads nothing.
  TDataSeq ds(svc);
  ReadContext ctx(svc, "x.fas");
  ctx.chooseFastaStart = [](int, int) { return 0; };
  EXPECT_FALSE(OpenFasta(MemorySource(text), ctx, ds));
  EXPECT_EQ(ds.Count(), 0);
}

TEST(OpenFasta, QualityValuesAreClampedNeverWrapped) {
  RecordingServices svc;
  TDataSeq ds(svc);
  ReadContext ctx(svc, "x.fas");
  const std::string fasta = ">a\nACGTAC\n>b\nGG\n";
  // 300 would wrap to 44 in a byte; 70000000000 overflows 32 bits; "x" is not a number.
  const std::string qual = ">a\n10 300 x 70000000000\n-5\n>b\n1 2 3\n";
  MemorySource q(qual);
  ASSERT_TRUE(OpenFasta(MemorySource(fasta), ctx, ds, {&q, nullptr, {}}));
  EXPECT_EQ(ds.SeqAt(1)->quality, (std::vector<std::uint8_t>{10, 255, 255, 0, 0, 0}));
  EXPECT_EQ(ds.SeqAt(2)->quality, (std::vector<std::uint8_t>{1, 2}));
  EXPECT_EQ(ds.SeqAt(1)->sourceFormat, kSourceFasta);
}

TEST(OpenFasta, QualityFileWithOtherRecordCountIsIgnoredSilently) {
  RecordingServices svc;
  TDataSeq ds(svc);
  ReadContext ctx(svc, "x.fas");
  MemorySource q(">a\n10 20\n");
  ASSERT_TRUE(OpenFasta(MemorySource(">a\nAC\n>b\nGT\n"), ctx, ds, {&q, nullptr, {}}));
  EXPECT_TRUE(ds.SeqAt(1)->quality.empty());
  EXPECT_EQ(MessageCount(svc), 0u);
}

TEST(OpenFasta, ProgressStepsEveryTenthRecord) {
  RecordingServices svc;
  TDataSeq ds(svc);
  ReadContext ctx(svc, "x.fas");
  ctx.showProgress = true;
  std::string text;
  for (int i = 1; i <= 25; ++i) text += ">s" + std::to_string(i) + "\nA\n";
  ASSERT_TRUE(OpenFasta(MemorySource(text), ctx, ds));
  EXPECT_EQ(svc.progress.starts, 1);
  EXPECT_EQ(svc.progress.ends, 1);
  EXPECT_EQ(svc.progress.statuses,
            (std::vector<std::string>{"Reading fasta file...", "Reading fasta file; sequence 10",
                                      "Reading fasta file; sequence 20"}));
}

TEST(FastaText, HeaderLineNamesCutAtTildeShiftAsGapsAndCrLf) {
  RecordingServices svc;
  TDataSeq ds(svc);
  auto a = std::make_unique<TSeq>("seq1", "ACGT");
  a->columnShift = 3;
  a->quality = {10, 20, 30, 40};
  auto b = std::make_unique<TSeq>("seq1", "AC");
  ASSERT_EQ(ds.AddSeq(a, false), 1);
  ASSERT_EQ(ds.AddSeq(b, true), 2);  // stored as seq1~1
  EXPECT_EQ(FastaText(ds, true), "2 7\r\n>seq1\r\n---ACGT\r\n>seq1\r\nAC\r\n");
  EXPECT_EQ(FastaText(ds, false), ">seq1\r\n---ACGT\r\n>seq1\r\nAC\r\n");
  EXPECT_EQ(FastaQualityText(ds), ">seq1\r\n10 20 30 40 \r\n>seq1~1\r\n\r\n");
  // A '~' the unique-name rule did not add is part of the name.
  Fill(ds, {{"a~1 first", "A"}, {"x~2", "C"}});
  EXPECT_TRUE(FastaText(ds, false).ends_with(">seq1\r\nAC\r\n>a~1 first\r\nA\r\n>x~2\r\nC\r\n"));
}

TEST(FastaText, PolymorphicSitesOfAnSnpFirstSequence) {
  RecordingServices svc;
  TDataSeq ds(svc);
  auto a = std::make_unique<TSeq>("snps", "ACG");
  a->seqType = kSeqSnp;
  a->polySitePos = {5, 17, 40};
  auto b = std::make_unique<TSeq>("other", "ACGTACGTAC");
  ASSERT_EQ(ds.AddSeq(a, false), 1);
  ASSERT_EQ(ds.AddSeq(b, false), 2);
  EXPECT_EQ(PolySitesText(ds, true), "3 10 L\r\n5 17 40 ");
  EXPECT_EQ(PolySitesText(ds, false), "5 17 40 ");
}

TEST(SaveFasta, WritesCompanionsThatOpenFastaFileReadsBack) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string path = dir.path().toStdString() + "/set.fasta";
  RecordingServices svc;
  TDataSeq ds(svc);
  auto a = std::make_unique<TSeq>("s1", "ACGTACGTACGT");
  a->quality = std::vector<std::uint8_t>(12, 30);
  a->quality[0] = 255;
  TRegion cds;
  cds.regType = kRegCds;
  cds.regStart = 4;
  cds.regEnd = 9;
  cds.codonPos = 3;
  a->AddRegion(cds);
  ASSERT_EQ(ds.AddSeq(a, false), 1);
  ASSERT_TRUE(SaveFasta(path, ds, false, svc));

  TDataSeq back(svc);
  ReadContext ctx(svc, path);
  ASSERT_TRUE(OpenFastaFile(ctx, back));
  EXPECT_EQ(back.dsName, "set.fasta");
  ASSERT_EQ(back.Count(), 1);
  EXPECT_EQ(back.SeqAt(1)->quality, ds.SeqAt(1)->quality);
  ASSERT_EQ(back.SeqAt(1)->regions.size(), 1u);
  const TRegion& r = back.SeqAt(1)->regions[0];
  EXPECT_EQ(r.regType, kRegCds);
  EXPECT_EQ(r.regStart, 4);
  EXPECT_EQ(r.regEnd, 9);
  EXPECT_EQ(r.codonPos, 3);
  EXPECT_TRUE(svc.messages.errors.empty());
}

TEST(SaveFasta, FailedSaveReportsAndKeepsThePreviousFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  RecordingServices svc;
  TDataSeq ds(svc);
  Fill(ds, {{"a", "ACGT"}});
  EXPECT_FALSE(SaveFasta(dir.path().toStdString() + "/missing/x.fasta", ds, false, svc));
  ASSERT_EQ(svc.messages.errors.size(), 1u);
  EXPECT_NE(svc.messages.errors[0].find("missing/x.fasta"), std::string::npos);

  // A directory in the way of the rename: the save fails, the directory stays.
  const std::string blocked = dir.path().toStdString() + "/blocked.fasta";
  ASSERT_TRUE(QDir().mkdir(QString::fromStdString(blocked)));
  EXPECT_FALSE(SaveFasta(blocked, ds, false, svc));
  EXPECT_TRUE(QDir(QString::fromStdString(blocked)).exists());
}

TEST(OpenFastaEachSeq, EveryRecordBecomesADatasetNamedByItsFirstWord) {
  RecordingServices svc;
  TDataProj proj(svc);
  ReadContext ctx(svc, "x.fas");
  EXPECT_EQ(OpenFastaEachSeq(MemorySource(">a b\nAC\n>c\nGT\n"), ctx, proj), 2);
  ASSERT_EQ(proj.DatasetCount(), 2);
  EXPECT_EQ(proj.DatasetAt(0)->dsName, "a");
  EXPECT_EQ(RowsOf(*proj.DatasetAt(0)), (Rows{{"a b", "AC"}}));
  EXPECT_EQ(proj.DatasetAt(1)->dsName, "c");
  EXPECT_EQ(RowsOf(*proj.DatasetAt(1)), (Rows{{"c", "GT"}}));
}

TEST(OpenFastaByDatasetName, RecordsGoToTheDatasetTheirKeyNamesOthersAreSkipped) {
  RecordingServices svc;
  TDataProj proj(svc);
  for (const char* name : {"L1", "L2"}) {
    proj.NewDataset();
    ASSERT_TRUE(proj.RenameDataset(proj.CurrentIndex(), name));
  }
  ReadContext ctx(svc, "x.fas");
  EXPECT_TRUE(
      OpenFastaByDatasetName(MemorySource(">L2 x\nAC\nGT\n>L9\nTT\n>L1\nCC"), ctx, proj, "x_"));
  EXPECT_EQ(RowsOf(*proj.DatasetAt(0)), (Rows{{"x_L1", "CC"}}));
  EXPECT_EQ(RowsOf(*proj.DatasetAt(1)), (Rows{{"x_L2 x", "ACGT"}}));
  EXPECT_TRUE(svc.messages.notices.empty());
}
