// SPDX-License-Identifier: GPL-3.0-or-later
#include "alignment/ClustalAlign.h"

#include <gtest/gtest.h>

#include "alignment/AlignCommands.h"
#include "alignment/MuscleAlign.h"
#include "editor/EditorCommandFixture.h"
#include "io/IoTestFiles.h"

namespace {

const std::string kA = "ACGTTGCAAGCTTACGGATCCGATTACAGGTCAGT";
const std::string kB = "ACGTTGGCTTACGGATCCGATTACAGGTCAGTCC";
const std::string kC = "TTACGTTGCAAGCTTACGGCCGATTACAGGTCAGT";

}  // namespace

TEST(ClustalAlign, TheRealClustalwKeepsNamesWithBlanksAndLetters) {
  CommandFixture f;
  const std::string program = FindClustal(f.svc);
  if (program.empty()) GTEST_SKIP() << "clustalw is not installed (Debian package clustalw)";
  TDataSeq& ds = f.AddDataset("d", {{"seq one", kA}, {"seq two", kB}, {"x", kC}});
  EXPECT_EQ(ClustalAlign(ds, f.svc, program), 0) << ::testing::PrintToString(f.svc.messages.errors);
  EXPECT_EQ(RowNames(ds), (std::vector<std::string>{"seq one", "seq two", "x"}));
  const std::vector<std::string> plain{kA, kB, kC};
  for (int r = 1; r <= 3; ++r) {
    const TSeq& s = *ds.SeqAt(r);
    EXPECT_EQ(WithoutGaps(s.letters), plain[static_cast<std::size_t>(r - 1)]);
    EXPECT_EQ(s.columnShift + s.Length(), ds.SeqAt(1)->columnShift + ds.SeqAt(1)->Length());
  }
  EXPECT_NE(ds.SeqAt(2)->letters.find("---"), std::string::npos);  // the CAA deletion
}

TEST(ClustalAlign, AProgramThatWritesNothingLeavesTheRowsAndNoStaleFileIsRead) {
  CommandFixture f;
  const TestFolder folder("clustal_stale");
  // An earlier run's result where an aligner used to write it.
  folder.Write("infile.aln", "CLUSTAL 2.1 multiple sequence alignment\n\n1  A-CGT\n2  AAC-T\n");
  f.svc.settings.programFolder = folder.Path();
  TDataSeq& ds = f.AddDataset("d", {{"a", "ACGT"}, {"b", "AACT"}});
  EXPECT_EQ(ClustalAlign(ds, f.svc, "/bin/true"), kAlignFailed);
  EXPECT_NE(f.svc.messages.errors.back().find("wrote no infile.aln"), std::string::npos);
  EXPECT_EQ(ClustalAlign(ds, f.svc, "/bin/false"), kAlignFailed);
  EXPECT_NE(f.svc.messages.errors.back().find("exit code 1"), std::string::npos);
  EXPECT_EQ(RowLetters(ds), (std::vector<std::string>{"ACGT", "AACT"}));

  // "Global alignment" says when there is no Clustal and changes nothing.
  EXPECT_FALSE(GlobalAlignment(f.ctx, AlignSetup{{}, {}, folder.File("none")}));
  EXPECT_NE(f.svc.messages.errors.back().find("No Clustal aligner found"), std::string::npos);
  EXPECT_FALSE(f.ctx.modified);
}
