// SPDX-License-Identifier: GPL-3.0-or-later
// Mapping files in an editor window: a SAM file opened after its reference FASTA, and the
// Analyse menu's "Coverage (from SAM file)".
#include <gtest/gtest.h>

#include <filesystem>

#include "EditorFixture.h"
#include "io/FormatTables.h"
#include "io/IoTestFiles.h"
#include "ui/editor/SamCoverageCommand.h"

namespace {

const char* const kReferences = ">chr1\nAAAACCCCGGGG\n>chr2\nTTTTGGGG\n";
const char* const kSam =
    "@SQ\tSN:chr1\tLN:12\n@SQ\tSN:chr2\tLN:8\n"
    "a\t0\tchr1\t3\t60\t4M\t*\t0\t0\tAACC\t*\n"
    "b\t0\tchr1\t9\t60\t2M1I2M\t*\t0\t0\tGGtGG\t*\n"
    "c\t0\tchr2\t5\t60\t4M\t*\t0\t0\tGGGG\t*\n";

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

TEST(TSeqGridFrmReads, SamOpenedAfterItsReferencesPlacesTheReadsOnEach) {
  TestFolder dir("ui_sam");
  EditorFixture f;
  TSeqGridFrm* w = f.NewEditor("reads");
  EditorOpenFiles(*f.form, *w, {Q(dir.Write("refs.fasta", kReferences))}, kCodeFastaEachSeq);
  f.dialogs.answers = {false, true};  // no reference file now; Yes to reading the SAM file
  EditorOpenFiles(*f.form, *w, {Q(dir.Write("reads.sam", kSam))}, kCodeSam);
  EXPECT_TRUE(f.dialogs.notices.empty());
  const TDataProj& p = w->GetProject();
  ASSERT_EQ(p.DatasetCount(), 2);
  const TDataSeq& chr1 = *p.DatasetAt(0);
  ASSERT_EQ(chr1.Count(), 3);
  // b inserts one letter after column 10: the reference opens a gap there.
  EXPECT_EQ(chr1.SeqAt(1)->letters, "AAAACCCCGG-GG");
  EXPECT_EQ(chr1.SeqAt(2)->columnShift, 2);
  EXPECT_EQ(chr1.SeqAt(3)->columnShift, 8);
  EXPECT_EQ(chr1.SeqAt(3)->letters, "GGtGG");
  ASSERT_EQ(p.DatasetAt(1)->Count(), 2);
  EXPECT_EQ(p.DatasetAt(1)->SeqAt(2)->columnShift, 4);
  EXPECT_TRUE(w->SeqGrid->modified);
}

TEST(TSeqGridFrmReads, CoverageFromSamWritesItsReports) {
  TestFolder dir("ui_cov");
  EditorFixture f;
  TSeqGridFrm* w = f.NewEditor("cov");
  EditorOpenFiles(*f.form, *w, {Q(dir.Write("refs.fasta", kReferences))}, kCodeFastaEachSeq);
  EXPECT_TRUE(w->Action("CoveragefromSAMfile1")->isEnabled());
  const std::string sam = dir.Write("reads.sam", kSam);
  f.dialogs.answers = {true, true};
  EXPECT_TRUE(RunSamCoverageFile(*w, Q(sam)));
  EXPECT_EQ(f.dialogs.notices.back(), "Coverage reports saved to files:\r\n" + sam +
                                          ".seqCovrg.txt\r\n" + sam + ".FRcovrg.csv");
  EXPECT_TRUE(std::filesystem::exists(sam + ".seqCovrg.txt"));
  EXPECT_EQ(w->GetProject().DatasetAt(0)->SeqAt(1)->readCount, 2);
  EXPECT_EQ(w->GetProject().DatasetAt(1)->SeqAt(1)->readCount, 1);
}
