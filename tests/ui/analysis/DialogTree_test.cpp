// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis frame's project tree and file controls: group marks decide which groups are
// reported, the pop-up commands, the Delete key's questions, choosing the current dataset,
// the population table window and the "..." buttons.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include "../ShellFixture.h"
#include "AnalysisProject.h"
#include "common/ReportText.h"
#include "io/TextHelpers.h"
#include "ui/analysis/DNApolDbox.h"
#include "ui/editor/ProjectTree.h"
#include "ui/viewers/TabRepUnit.h"

namespace {

QTreeWidgetItem* Find(TProjectTree* tree, const QString& text) {
  const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
  return found.isEmpty() ? nullptr : found.front();
}

QAction* Popup(TProjectTree* tree, const char* caption) {
  for (QAction* a : tree->PopupMenu()->actions())
    if (a->text() == caption) return a;
  return nullptr;
}

struct DialogFixture : ShellFixture {
  TDataProj project{form->GetServices()};
  TDNApolymDbox* dialog = nullptr;
  DialogFixture() {
    const std::string fasta = WriteTempFile("dialog_tree.fas", kAnalysisFasta);
    EXPECT_TRUE(ReadAnalysisProject(fasta, project, form->GetServices()));
    dialog = NewDNApolDbox(*form);
    EXPECT_TRUE(dialog->InitData(&project));
  }
};

}  // namespace

TEST(TBaseDialogBox1Tree, UntickedGroupsAreLeftOutOfReportAndTables) {
  DialogFixture f;
  TProjectTree* tree = f.dialog->ProjectTree;
  ASSERT_NE(Find(tree, "south"), nullptr);
  Find(tree, "south")->setCheckState(0, Qt::Unchecked);
  EXPECT_FALSE(f.project.Groups()[f.project.GroupIndexByName("south")].grpSelected);

  const QTemporaryDir dir;
  const std::string table = dir.filePath("pops.csv").toStdString();
  f.dialog->cbTableToWin->setChecked(true);
  f.dialog->cbTableToFile->setChecked(true);
  f.dialog->TableFileName->setText(QString::fromStdString(table));
  f.dialog->cbPopOut->setChecked(true);
  f.dialog->OkButtonClick();
  const AnalysisOutput& out = f.dialog->LastOutput();
  EXPECT_NE(out.report.find("Populations to analyse: 1"), std::string::npos);
  EXPECT_NE(out.report.find("Group: north"), std::string::npos);
  EXPECT_EQ(out.report.find("Group: south"), std::string::npos);

  // The population window lists the rows of the "_groups" file, label for label.
  TTabReport* pops = f.dialog->LastPopTable();
  ASSERT_NE(pops, nullptr);
  EXPECT_EQ(pops->windowTitle(), "Tabular report for populations");
  const std::string file = ReadWhole(GroupsTableFileName(table));
  LineReader lines(file);
  std::string_view line;
  std::vector<std::string> labels;
  while (lines.Next(line))
    if (!line.empty()) labels.push_back(SplitCsvLine(line).front());
  ASSERT_EQ(labels.size(), 2u);  // header and north
  EXPECT_EQ(pops->RowCount(), 2);
  for (int r = 0; r < 2; ++r) EXPECT_EQ(pops->Cell(r, 0), labels[static_cast<std::size_t>(r)]);
  EXPECT_TRUE(labels[1].ends_with("_@_north")) << labels[1];

  // With every group unticked only the whole dataset is reported.
  Popup(tree, "Unselect all groups")->trigger();
  EXPECT_EQ(Find(tree, "north")->checkState(0), Qt::Unchecked);
  f.dialog->cbPopOut->setChecked(false);
  f.dialog->OkButtonClick();
  const std::string& report = f.dialog->LastOutput().report;
  EXPECT_NE(report.find("Group: All sequences from"), std::string::npos);
  EXPECT_EQ(report.find("Group: north"), std::string::npos);
  EXPECT_NE(report.find("Populations to analyse: 0"), std::string::npos);
}

TEST(TBaseDialogBox1Tree, DeleteKeyAsksAndAChosenDatasetBecomesCurrent) {
  DialogFixture f;
  TProjectTree* tree = f.dialog->ProjectTree;
  QTreeWidgetItem* dataset = tree->DatasetsRoot()->child(0);
  dataset->setExpanded(true);
  ASSERT_EQ(dataset->childCount(), 7);
  // A sequence's tick is its enabled flag.
  dataset->child(5)->setCheckState(0, Qt::Unchecked);
  EXPECT_FALSE(f.project.DatasetAt(0)->SeqAt(6)->enabled);

  tree->setCurrentItem(dataset->child(5));
  f.dialogs.answers = {true};
  QTest::keyClick(tree, Qt::Key_Delete);
  EXPECT_EQ(f.dialogs.questions.back(), "Delete sequence s6?");
  EXPECT_EQ(f.project.DatasetAt(0)->Count(), 6);

  tree->setCurrentItem(Find(tree, "s1"));
  f.dialogs.answers = {false};
  QTest::keyClick(tree, Qt::Key_Delete);
  EXPECT_EQ(f.project.DatasetAt(0)->Count(), 6);
  tree->IndividualsRoot()->setExpanded(true);
  tree->setCurrentItem(tree->IndividualsRoot()->child(0));
  f.dialogs.answers = {true, false};
  QTest::keyClick(tree, Qt::Key_Delete);
  EXPECT_EQ(f.dialogs.questions.back(),
            "Delete all sequences associated with selected individual?");
  EXPECT_EQ(f.project.IndividName(0), "s2");
  EXPECT_EQ(f.project.DatasetAt(0)->Count(), 6);

  f.project.NewDataset();
  f.project.SetCurrent(1);
  tree->Rebuild(f.project);
  emit tree->itemClicked(tree->DatasetsRoot()->child(0), 0);
  EXPECT_EQ(f.project.CurrentIndex(), 0);
  EXPECT_TRUE(f.dialog->statusBar->currentMessage().contains("Contains: 6 seq."));
  // "current" chooses the current dataset only, "select" all again.
  f.dialog->rbUseCurDS->setChecked(true);
  EXPECT_FALSE(f.project.DatasetAt(1)->dsSelected);
  f.dialog->rbUseAllDS->setChecked(true);
  EXPECT_TRUE(f.project.DatasetAt(1)->dsSelected);
}

TEST(TBaseDialogBox1Files, DotsButtonsFillTheirBoxesAndTheBootstrapBoxFollowsItsCheck) {
  DialogFixture f;
  const QTemporaryDir dir;
  f.dialog->cbDoSW->setChecked(true);  // the window file box is usable only then
  for (QLineEdit* box : {f.dialog->OutFname, f.dialog->TableFileName, f.dialog->swfile}) {
    const QString chosen = dir.filePath(box->objectName() + ".out");
    WhenModalShows([&](QWidget* modal) {
      auto* save = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(save, nullptr);
      EXPECT_EQ(save->windowTitle(), "Save");
      save->selectFile(chosen);
      // The dialog may still be reading its folder; the name typed is what it accepts.
      if (auto* typed = save->findChild<QLineEdit*>("fileNameEdit")) typed->setText(chosen);
      static_cast<QDialog*>(save)->accept();
    });
    auto* button = f.dialog->findChild<QPushButton*>(box->objectName() + "Button");
    ASSERT_NE(button, nullptr);
    button->click();
    EXPECT_EQ(box->text(), chosen);
  }
  auto* boot = f.dialog->findChild<QWidget*>("BootstrapOutputBox");
  EXPECT_TRUE(boot->isHidden());
  f.dialog->cbDoBootstrap->setChecked(true);
  EXPECT_FALSE(boot->isHidden());
  EXPECT_FALSE(f.dialog->doPhilipFile->isEnabled());  // no whole-dataset replicates here
  EXPECT_FALSE(f.dialog->cbPlotDistr->isEnabled());
  f.dialog->SetAt("proj");
  EXPECT_EQ(f.dialog->AtLabel->text(), "At: proj");
}
