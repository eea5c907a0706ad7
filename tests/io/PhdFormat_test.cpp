// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "io/TraceFormats.h"
#include "io/TraceTestSupport.h"
#include "support/RecordingServices.h"

TEST(OpenPhdRecords, EveryRecordOfTheSampleIsReadAndNamedAfterItsTrace) {
  RecordingServices svc;
  const auto records = OpenPhdRecords(TestData("phd1"), svc);
  // Counted with awk between each BEGIN_DNA and END_DNA of the file: 876, 862 and 1280 lines.
  ASSERT_EQ(records.size(), 3u);
  const TSeq& seq = *records[0];
  EXPECT_EQ(seq.letters.size(), 876u);
  EXPECT_EQ(seq.letters.substr(0, 10), "ctccgtcgga");
  EXPECT_EQ(seq.quality[0], 9);
  EXPECT_EQ(seq.quality[5], 37);
  EXPECT_EQ(seq.peakPos[0], 6);
  EXPECT_EQ(seq.peakPos[9], 108);
  EXPECT_EQ(seq.seqName, "34_222_(80-A03-19).b.ab1");
  EXPECT_EQ(seq.sourceFile, TestData("phd1"));
  EXPECT_TRUE(seq.traceA.empty());  // the named .ab1 is not beside it
  EXPECT_FALSE(seq.showTrace);
  EXPECT_EQ(records[1]->letters.size(), 862u);
  EXPECT_EQ(records[2]->letters.size(), 1280u);
  EXPECT_TRUE(svc.messages.errors.empty());
}

// A file of one record keeps the file's name; '#' comment lines around records are skipped.
TEST(ReadPhdRecords, OneRecordIsNamedAfterTheFile) {
  RecordingServices svc;
  const auto records = ReadPhdRecords(
      "# phred\nBEGIN_SEQUENCE r1\nBEGIN_DNA\nc 20 5\nEND_DNA\nEND_SEQUENCE\n", "d/r1.phd.1", svc);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0]->seqName, "r1.phd.1");
  EXPECT_EQ(records[0]->letters, "c");
}

TEST(ReadPhdRecords, BaseLinesGiveLetterQualityAndPeakAndTheNamedTraceGivesChannels) {
  RecordingServices svc;
  QTemporaryDir dir;
  QFile::copy(QString::fromStdString(TestData("310.ab1")), dir.filePath("310.ab1"));
  const std::string phd = dir.filePath("310.ab1.phd.1").toStdString();
  const std::string text =
      "begin_sequence 310.ab1\r\n\r\nBEGIN_COMMENT\r\nEND_COMMENT\r\nBEGIN_DNA\r\n"
      "a 10 120\r\n\r\nC x 7\r\ng 3\r\nEND_DNA\r\nBEGIN_TAG\r\n";
  auto records = ReadPhdRecords(text, phd, svc);
  ASSERT_EQ(records.size(), 1u);
  const auto& seq = records[0];
  EXPECT_EQ(seq->letters, "aCg");
  EXPECT_EQ(seq->quality, (std::vector<std::uint8_t>{10, 0, 3}));  // x does not parse: 0
  EXPECT_EQ(seq->peakPos, (std::vector<std::int32_t>{120, 7, 0}));
  EXPECT_EQ(seq->traceA.size(), 9826u);  // the channels of 310.ab1
  EXPECT_TRUE(seq->showTrace);
  EXPECT_TRUE(ReadPhdRecords("no dna here\n", "x.phd", svc).empty());
  EXPECT_EQ(svc.messages.notices.back(), "x.phd\r\nholds no base calls (no BEGIN_DNA section)");
}

TEST(ParseQualityText, TakesTheFirstRecordSplitAtBlanksAndLineEnds) {
  TSeq seq;
  EXPECT_FALSE(ParseQualityText("12 13\n", seq));
  ASSERT_TRUE(ParseQualityText(">r1 5\r\n10 20*\r\n30\tq 40\n>r2\n99\n", seq));
  EXPECT_EQ(seq.quality, (std::vector<std::uint8_t>{10, 20, 30, 40}));
  EXPECT_DOUBLE_EQ(seq.meanQuality, 25.0);
}

TEST(RunPhred, TtunerWritesTheCompanionFilesAndTheirQualityLoads) {
  if (!HaveProgram("ttuner")) GTEST_SKIP() << "ttuner (tracetuner) not installed";
  RecordingServices svc;
  QTemporaryDir dir;
  const std::string trace = dir.filePath("310.ab1").toStdString();
  ASSERT_TRUE(
      QFile::copy(QString::fromStdString(TestData("310.ab1")), QString::fromStdString(trace)));
  TSeq seq;
  ASSERT_TRUE(LoadTraceQuality(trace, seq, svc));  // no .qual yet: the base caller runs
  for (const char* ext : {".qual", ".seq", ".phd.1"})
    EXPECT_TRUE(QFile::exists(QString::fromStdString(trace + ext))) << ext;
  // ttuner recalls the bases: its .qual header reads ">310.ab1 872 23 681" for 872 calls.
  EXPECT_EQ(seq.quality.size(), 872u);
  auto calls = OpenPhd(trace + ".phd.1", svc);
  ASSERT_NE(calls, nullptr);
  EXPECT_EQ(calls->letters.size(), 872u);
  EXPECT_EQ(calls->quality, seq.quality);
  EXPECT_EQ(calls->traceA.size(), 9826u);
}

TEST(RunPhred, ThePhredInTheProgramFolderComesFirstAndNoneIsAClearMessage) {
  QTemporaryDir dir;
  const QString phred = dir.filePath("phred");
  Spit(phred.toStdString(), "#!/bin/sh\necho \"$@\" > args.txt\nexit 3\n");
  QFile::setPermissions(phred,
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  RecordingServices svc;
  svc.settings.programFolder = dir.path().toStdString();
  EXPECT_EQ(FindBaseCaller(svc.settings.programFolder).program, phred.toStdString());
  const std::string trace = dir.filePath("t.ab1").toStdString();
  Spit(trace, "ABIF");
  EXPECT_EQ(RunPhred(trace, svc), 3);
  EXPECT_EQ(Slurp(dir.filePath("args.txt").toStdString()), "t.ab1 -s -q -p\n");

  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", QByteArray("/nonexistent"));
  RecordingServices none;
  EXPECT_EQ(RunPhred(trace, none), -1);
  qputenv("PATH", path);
  ASSERT_EQ(none.messages.errors.size(), 1u);
  EXPECT_NE(none.messages.errors[0].find("No base caller found"), std::string::npos);
}
