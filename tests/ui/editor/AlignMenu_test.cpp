// SPDX-License-Identifier: GPL-3.0-or-later
// The Align menu over the stand-in aligner placed in the program's folder as "muscle".
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "EditorFixture.h"
#include "alignment/AlignerStandIn.h"
#include "model/DatasetBuilders.h"

namespace {

struct AlignWindow {
  EditorFixture f;
  QTemporaryDir programFolder;
  TSeqGridFrm* w = nullptr;
  AlignWindow() {
    QFile::link(QString::fromStdString(StandInAligner()), programFolder.filePath("muscle"));
    f.form->Settings().programFolder = programFolder.path().toStdString();
    f.form->show();
    w = f.NewEditor("aln");
    AddDataset(w->GetProject(), "locus",
               {{"a", "GG-CACGTTGCAAGCTTACGGATC"}, {"b", "TGCACGCAAGCTTACGGATC"}});
    w->UpdateAllBits();
  }
  TDataSeq& Ds() { return *w->GetProject().CurrentDataset(); }
};

}  // namespace

TEST(AlignMenu, AlignSequencesRunsTheAlignerFromTheProgramFolder) {
  StandInScope standIn("");
  AlignWindow a;
  QAction* align = a.w->Action("Alignsequences1");
  ASSERT_NE(align, nullptr);
  EXPECT_TRUE(align->isEnabled());
  EXPECT_EQ(align->shortcut(), QKeySequence("Ctrl+9"));
  for (const char* name :
       {"Local1", "Pairwiselocalalignment1", "Quicklyalignleftseqends1", "Alignselecteddatasets1",
        "Aligndatasetsfromcurrent1", "Realigntoopolymorphic1"}) {
    SCOPED_TRACE(name);
    ASSERT_NE(a.w->Action(name), nullptr);
    EXPECT_TRUE(a.w->Action(name)->isEnabled());
    EXPECT_TRUE(a.w->Action(name)->isVisible());
  }
  a.f.dialogs.answers = {true};
  align->trigger();
  EXPECT_EQ(
      a.f.dialogs.questions,
      std::vector<std::string>{"No selected sequences found. Align the entire dataset locus?"});
  EXPECT_EQ(standIn.Runs().size(), 1u);
  EXPECT_EQ(RowLetters(a.Ds()),
            (std::vector<std::string>{"GGCACGTTGCAAGCTTACGGATC", "TGCACGCAAGCTTACGGATC"}));
  EXPECT_TRUE(a.w->IsModified());
}

TEST(AlignMenu, EscapeDuringARunAsksAndYesLeavesTheDataAsItWas) {
  StandInScope standIn("sleep");
  AlignWindow a;
  const auto letters = RowLetters(a.Ds());
  a.f.dialogs.answers = {true, true};
  bool refusedWhileBusy = false;
  QTimer::singleShot(300, [&] {
    // A second alignment started from an event handled during the run is refused.
    a.w->Action("Alignsequences1")->trigger();
    refusedWhileBusy = a.f.dialogs.questions.size() == 1;
    QTest::keyClick(a.w->SeqGrid, Qt::Key_Escape);
  });
  a.w->Action("Alignsequences1")->trigger();
  EXPECT_TRUE(refusedWhileBusy);
  EXPECT_EQ(
      a.f.dialogs.questions,
      (std::vector<std::string>{"No selected sequences found. Align the entire dataset locus?",
                                "Cancel alignment?"}));
  EXPECT_EQ(a.f.dialogs.notices, std::vector<std::string>{"Alignment cancelled"});
  EXPECT_EQ(RowLetters(a.Ds()), letters);
  EXPECT_FALSE(a.f.form->IsBusy());
}

TEST(AlignMenu, TreeGuidedAlignAsksForBlocksSelectionOrDatasetAndEndsCompleted) {
  AlignWindow a;
  AddDataset(a.w->GetProject(), "three",
             {{"a", "ACGTTGCAAGCTTACGGATC"}, {"b", "ACGTTGGCTTACGGATC"}, {"c", "TTACGTTGCAAGC"}});
  a.w->UpdateAllBits();
  QAction* align = a.w->Action("Align1");
  ASSERT_NE(align, nullptr);
  EXPECT_TRUE(align->isEnabled());
  EXPECT_TRUE(align->isVisible());
  ASSERT_NE(a.w->Action("Align2"), nullptr);
  EXPECT_TRUE(a.w->Action("Align2")->isVisible());
  for (const char* name : {"Copygapsfromcurrent1", "Copygapsfromfile1", "CopyshiftToRight1",
                           "Extendseqwithseqfromfile1"})
    EXPECT_TRUE(a.w->Action(name)->isEnabled()) << name;

  a.f.dialogs.answers = {true};
  align->trigger();
  a.Ds().Select(1);
  a.Ds().Select(2);
  a.f.dialogs.answers = {true};
  align->trigger();
  a.Ds().Unselect(-1);
  for (int r = 1; r <= 2; ++r) {
    a.Ds().SeqAt(r)->selStart = 2;
    a.Ds().SeqAt(r)->selLength = 8;
  }
  a.f.dialogs.answers = {true};
  align->trigger();
  EXPECT_EQ(a.f.dialogs.questions,
            (std::vector<std::string>{"Align 3 sequences in the dataset three?",
                                      "Align 2 selected sequences in the dataset three?",
                                      "Align sequences in the selected region?"}));
  EXPECT_EQ(a.f.dialogs.notices, std::vector<std::string>(3, "Alignment completed"));
  EXPECT_TRUE(a.w->IsModified());
}
