// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/Dispatcher.h"

#include <gtest/gtest.h>

#include "IoTestFiles.h"
#include "io/FormatDetect.h"
#include "io/FormatTables.h"
#include "model/DataProjUnit.h"
#include "support/RecordingServices.h"

namespace {
const char* kFasta = ">s1\nACGTAC\n>s2\nACGTTC\n";
}

TEST(OpenDataFile, CodesOutsideTheTableAndAMissingWindowAreNotHandled) {
  RecordingServices svc;
  TestFolder dir("dispatch_codes");
  const std::string path = dir.Write("a.fas", kFasta);
  TDataProj proj(svc);
  OpenWindow window(proj);
  for (const int code : {-1, 0, 1, 37}) {
    SCOPED_TRACE(code);
    EXPECT_FALSE(OpenDataFile(path, code, false, &window, svc));
  }
  EXPECT_FALSE(OpenDataFile(path, kCodeFastaGffQual, false, nullptr, svc));
  EXPECT_EQ(proj.DatasetCount(), 0);
}

TEST(OpenDataFile, AFormatWithoutAReaderSaysSoAndReadsNothing) {
  RecordingServices svc;
  TestFolder dir("dispatch_unhandled");
  const std::string path = dir.Write("r.gb", "LOCUS x\n");
  TDataProj proj(svc);
  OpenWindow window(proj);
  EXPECT_FALSE(OpenDataFile(path, kCodeGenBank, false, &window, svc));
  ASSERT_EQ(svc.messages.errors.size(), 1u);
  EXPECT_NE(svc.messages.errors[0].find("\"GenBank (*.gb)\""), std::string::npos);
  EXPECT_NE(svc.messages.errors[0].find("not handled"), std::string::npos);
  EXPECT_EQ(proj.DatasetCount(), 0);
}

TEST(DispatchFile, DatasetReadersAddOneDatasetPerFile) {
  RecordingServices svc;
  TestFolder dir("dispatch_add");
  TDataProj proj(svc);
  OpenWindow window(proj);
  const OpenResult a =
      DispatchFile(dir.Write("L1.fas", kFasta), kCodeFastaGffQual, {}, &window, svc);
  const OpenResult b = DispatchFile(dir.Write("L2.phy", "2 4\nx1        ACGT\nx2        ACGA\n"),
                                    kCodePhylip, {}, &window, svc);
  EXPECT_TRUE(a.handled);
  EXPECT_EQ(a.datasetsAdded, 1);
  EXPECT_EQ(a.sequencesAdded, 2);
  EXPECT_EQ(b.datasetsAdded, 1);
  ASSERT_EQ(proj.DatasetCount(), 2);
  EXPECT_EQ(proj.DatasetAt(0)->NameAt(2), "s2");
  EXPECT_EQ(proj.DatasetAt(1)->SeqAt(2)->letters, "ACGA");
}

// A reader that finds nothing, or a locked grid, leaves the project as it was.
TEST(DispatchFile, NothingReadOrALockedGridAddsNoDataset) {
  RecordingServices svc;
  TestFolder dir("dispatch_empty");
  TDataProj proj(svc);
  OpenWindow window(proj);
  const OpenResult empty =
      DispatchFile(dir.Write("e.fas", "no records here\n"), kCodeFastaGffQual, {}, &window, svc);
  EXPECT_TRUE(empty.handled);
  EXPECT_FALSE(empty.ReadSomething());
  window.gridLocked = true;
  EXPECT_EQ(
      DispatchFile(dir.Write("a.fas", kFasta), kCodeFastaGffQual, {}, &window, svc).datasetsAdded,
      0);
  EXPECT_EQ(proj.DatasetCount(), 0);
}

TEST(DispatchFile, PlainTextGoesIntoTheCurrentDataset) {
  RecordingServices svc;
  TestFolder dir("dispatch_text");
  TDataProj proj(svc);
  OpenWindow window(proj);
  ASSERT_TRUE(
      DispatchFile(dir.Write("L1.fas", kFasta), kCodeFastaGffQual, {}, &window, svc).handled);
  const OpenResult r =
      DispatchFile(dir.Write("extra.txt", "ACGTTT\n"), kCodePlainText, {}, &window, svc);
  EXPECT_EQ(r.datasetsAdded, 0);
  EXPECT_EQ(r.sequencesAdded, 1);
  ASSERT_EQ(proj.DatasetCount(), 1);
  EXPECT_EQ(proj.DatasetAt(0)->Count(), 3);
  EXPECT_EQ(proj.DatasetAt(0)->NameAt(3), "extra");
}

TEST(DispatchFile, ByDatasetNameTakesTheFileNamePrefixWhenAsked) {
  RecordingServices svc;
  TestFolder dir("dispatch_prefix");
  TDataProj proj(svc);
  OpenWindow window(proj);
  ASSERT_TRUE(DispatchFile(dir.Write("geneA.fas", ">x\nAC\n"), kCodeFastaGffQual, {}, &window, svc)
                  .handled);
  proj.RenameDataset(0, "geneA");
  OpenOptions options;
  options.addFileNamePrefix = true;
  const std::string path = dir.Write("ind7.fasta", ">geneA\nACGT\n>other\nAAAA\n");
  EXPECT_TRUE(DispatchFile(path, kCodeFastaByDatasetName, options, &window, svc).handled);
  ASSERT_EQ(proj.DatasetAt(0)->Count(), 2);
  EXPECT_EQ(proj.DatasetAt(0)->NameAt(2), "ind7_geneA");
}

TEST(DispatchFile, AProjectFileIsMergedIntoTheWindowsProject) {
  RecordingServices svc;
  TestFolder dir("dispatch_project");
  TDataProj saved(svc);
  {
    OpenWindow w(saved);
    ASSERT_TRUE(DispatchFile(dir.Write("L1.fas", kFasta), kCodeFastaGffQual, {}, &w, svc).handled);
  }
  ASSERT_TRUE(WriteProject(dir.File("p.df"), saved, {}));
  TDataProj proj(svc);
  OpenWindow window(proj);
  ASSERT_TRUE(
      DispatchFile(dir.Write("L2.fas", ">q\nAAAA\n"), kCodeFastaGffQual, {}, &window, svc).handled);
  int code = 0;
  const OpenResult r = OpenDetected(dir.File("p.df"), window, svc, code);
  EXPECT_EQ(code, kCodeProjectFile);
  EXPECT_EQ(r.datasetsAdded, 1);
  ASSERT_EQ(proj.DatasetCount(), 2);
  EXPECT_EQ(proj.DatasetAt(1)->SeqAt(1)->letters, "ACGTAC");
}

TEST(ReadFolderFile, ReadsFastaWithoutAProgressBarOfItsOwn) {
  RecordingServices svc;
  TestFolder dir("dispatch_folder");
  TDataProj proj(svc);
  OpenWindow window(proj);
  EXPECT_TRUE(ReadFolderFile(dir.Write("a.fasta", kFasta), window, svc));
  EXPECT_EQ(svc.progress.starts, 0);
  EXPECT_FALSE(ReadFolderFile(dir.Write("b.fasta", "nothing\n"), window, svc));
  EXPECT_EQ(proj.DatasetCount(), 1);
}

// A quality file is read only as its FASTA file's companion, never as sequences of digits.
TEST(DispatchFile, AQualityFileOpensItsFastaFileOrSaysWhyNot) {
  RecordingServices svc;
  TestFolder dir("dispatch_qual");
  TDataProj proj(svc);
  OpenWindow window(proj);
  const std::string qual =
      dir.Write("reads.qual", ">s1\n30 31\n32 33 34 35\n>s2\n20 21 22 23 24 25\n");
  OpenResult r = DispatchFile(qual, kCodeFastaGffQual, {}, &window, svc);
  EXPECT_TRUE(r.handled);
  EXPECT_FALSE(r.ReadSomething());
  ASSERT_EQ(svc.messages.notices.size(), 1u);
  EXPECT_NE(svc.messages.notices[0].find("holds base quality values, not sequences"),
            std::string::npos);

  dir.Write("reads.fasta", kFasta);
  int code = 0;
  r = OpenDetected(qual, window, svc, code);
  EXPECT_EQ(code, kCodeFastaGffQual);
  EXPECT_EQ(r.sequencesAdded, 2);
  const TDataSeq& ds = *proj.DatasetAt(0);
  EXPECT_EQ(ds.dsName, "reads.fasta");
  EXPECT_EQ(ds.SeqAt(1)->letters, "ACGTAC");
  EXPECT_EQ(ds.SeqAt(1)->quality, (std::vector<std::uint8_t>{30, 31, 32, 33, 34, 35}));
  // Haplotypes coded 0/1 are letters, not quality values.
  EXPECT_EQ(DispatchFile(dir.Write("haps.fas", ">h1\n0110\n>h2\n1001\n"), kCodeFastaGffQual, {},
                         &window, svc)
                .sequencesAdded,
            2);
}

TEST(DispatchFile, BinaryDataIsNeverReadAsText) {
  RecordingServices svc;
  TestFolder dir("dispatch_binary");
  TDataProj proj(svc);
  OpenWindow window(proj);
  const std::string path = dir.Write("x.fas", std::string(">s1\nAC\0GT\n", 11));
  const OpenResult r = DispatchFile(path, kCodeFastaGffQual, {}, &window, svc);
  EXPECT_TRUE(r.handled);
  EXPECT_FALSE(r.ReadSomething());
  EXPECT_EQ(svc.messages.notices, std::vector<std::string>{BinaryFileMessage(path)});
}
