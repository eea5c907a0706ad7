// SPDX-License-Identifier: GPL-3.0-or-later
// The neutrality tests dialog on a small project: its controls, the report and plot windows,
// and the command-line tool giving the same report for the same options.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "AnalysisProject.h"
#include "ui/ShellFixture.h"
#include "ui/analysis/NTestsDialog.h"
#include "ui/viewers/GraphUnit.h"
#include "ui/viewers/RepUnit.h"

namespace {

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(TNTestsDialog, ControlsStartAsTheDialogDescribesThem) {
  ShellFixture f;
  TDataProj project(f.form->GetServices());
  TNTestsDialog* dialog = NewNTestsDialog(*f.form);
  EXPECT_EQ(NewNTestsDialog(*f.form), dialog);
  EXPECT_EQ(f.form->ToolWindow(ToolKind::NTestsDialog), dialog);
  ASSERT_TRUE(dialog->InitData(&project));
  EXPECT_EQ(dialog->windowTitle(), "Neutrality tests");
  EXPECT_TRUE(dialog->cbTajD->isChecked());
  EXPECT_EQ(dialog->cbTajD->text(), "D Tajima(1989)");
  for (QCheckBox* c : {dialog->cbFuLiDstar, dialog->cbFuLiFstar, dialog->cbFuLiDog, dialog->cbWallB,
                       dialog->cbWallQ, dialog->cbZnS}) {
    SCOPED_TRACE(c->objectName().toStdString());
    EXPECT_FALSE(c->isChecked());
    EXPECT_TRUE(c->isEnabled());
  }
  EXPECT_EQ(dialog->cbFuLiDog->text(), "D(outgr)Fu&&Li(1993)");
  EXPECT_EQ(dialog->cbWallQ->text(), "Q  Wall(1998)");
  EXPECT_EQ(dialog->cbZnS->text(), "ZnS  Kelly(1997)");
  EXPECT_EQ(dialog->cbSFS->text(), "Site frequency spectrum");
  EXPECT_FALSE(dialog->cbSFS->isChecked());
  EXPECT_FALSE(dialog->cbMLHKA->isChecked());
  EXPECT_EQ(dialog->rbUseAllDS->text(), "checked");
  auto* bootstrap = dialog->findChild<QGroupBox*>("BootstrapBox");
  ASSERT_NE(bootstrap, nullptr);
  EXPECT_TRUE(bootstrap->isVisibleTo(dialog));
  EXPECT_FALSE(dialog->cbDoBootstrap->isChecked());
  EXPECT_EQ(dialog->seBSreplicates->value(), 100);

  // "Sliding window:" offers the two profiles and takes them back when unchecked.
  EXPECT_EQ(dialog->cbDoSW->text(), "Sliding window:");
  EXPECT_FALSE(dialog->cbSWTajD->isEnabled());
  EXPECT_FALSE(dialog->cbSwZnS->isEnabled());
  dialog->cbDoSW->setChecked(true);
  EXPECT_TRUE(dialog->cbSWTajD->isEnabled());
  EXPECT_FALSE(dialog->cbSWTajD->isChecked());
  dialog->cbSWTajD->setChecked(true);
  dialog->cbSwZnS->setChecked(true);
  dialog->cbDoSW->setChecked(false);
  EXPECT_FALSE(dialog->cbSWTajD->isChecked());
  EXPECT_FALSE(dialog->cbSwZnS->isEnabled());
  EXPECT_FALSE(dialog->GetNeutralityOptions().swZnS);
}

TEST(TNTestsDialog, RunShowsReportAndTajimaPlotAndTheToolAgrees) {
  ShellFixture f;
  const std::string fasta = WriteTempFile("neutrality_dialog.fas", kAnalysisFasta);
  TDataProj project(f.form->GetServices());
  ASSERT_TRUE(ReadAnalysisProject(fasta, project, f.form->GetServices()));
  TNTestsDialog* dialog = NewNTestsDialog(*f.form);
  ASSERT_TRUE(dialog->InitData(&project));
  dialog->cbFuLiDstar->setChecked(true);
  dialog->cbFuLiDog->setChecked(true);
  dialog->cbZnS->setChecked(true);
  dialog->cbDoSW->setChecked(true);
  dialog->cbSWTajD->setChecked(true);
  dialog->swSize->setValue(10);
  dialog->swStep->setValue(5);
  dialog->OkButton->click();

  const AnalysisOutput& out = dialog->LastOutput();
  ASSERT_TRUE(out.error.empty()) << out.error;
  auto* report = qobject_cast<TRepForm*>(f.form->ToolWindow(ToolKind::RepForm));
  ASSERT_NE(report, nullptr);
  EXPECT_EQ(report->windowTitle(), "Neutrality tests report");
  // s1..s6 (og left out): S = 5 with carriers 3, 2, 2, 1, 1, so Pi = 0.6 + 2 x 8/15 + 2 x 1/3
  // = 7/3 and, by Tajima (1989), D = (7/3 - 5/a) / sqrt(e1 S + e2 S (S - 1)) = 0.3669 with
  // a = 137/60; Fu and Li (1993) D* with eta = 5 and two singletons: 0.3621.
  EXPECT_TRUE(Has(out.report, "Group: All sequences from neutrality_dialog.fas")) << out.report;
  EXPECT_TRUE(Has(out.report,
                  "Neutrality tests & stats:\r\nTajima D = 0.3669\r\nFu and Li D* = 0.3621\r\n"))
      << out.report;
  EXPECT_TRUE(Has(out.report, "Fu and Li D with outgroup = ")) << out.report;
  EXPECT_TRUE(Has(out.report, "Group: south")) << out.report;
  EXPECT_TRUE(Has(out.report,
                  "Sliding window for TajimaD is calculated for the entire data set\r\n"
                  "Sliding window size: 10, increment: 5\r\n"))
      << out.report;

  TGraphForm* plot = dialog->LastPlot();
  ASSERT_NE(plot, nullptr);
  EXPECT_EQ(plot->windowTitle(), "Sliding window analysis for TajimaD");
  ASSERT_EQ(plot->Series().size(), 1u);
  EXPECT_EQ(plot->Series()[0].name, "TajD_in_neutrality_dialog.fas");

  if (!QFile::exists(CliPath())) GTEST_SKIP() << "nodrix3-cli not built";
  const std::string groups = WriteTempFile("neutrality_dialog_groups.csv", kAnalysisGroups);
  const CliRun run =
      RunCli({"neutrality", QString::fromStdString(fasta), "--groups",
              QString::fromStdString(groups), "--tests", "tajima,dstar,doutgroup,zns",
              "--window-size", "10", "--window-step", "5", "--window-stats", "tajima"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, out.report);
}

TEST(TNTestsDialog, HKAPageFollowsTheMLHKABox) {
  ShellFixture f;
  const std::string fasta = WriteTempFile("neutrality_hka.fas", kAnalysisFasta);
  TDataProj project(f.form->GetServices());
  ASSERT_TRUE(ReadAnalysisProject(fasta, project, f.form->GetServices()));
  TNTestsDialog* dialog = NewNTestsDialog(*f.form);
  ASSERT_TRUE(dialog->InitData(&project));
  EXPECT_FALSE(dialog->seSeed->isEnabled());
  EXPECT_EQ(dialog->seChain->value(), 100);
  EXPECT_TRUE(dialog->rbMLHKcurrent->isChecked());
  dialog->cbMLHKA->setChecked(true);
  EXPECT_TRUE(dialog->seSeed->isEnabled());
  EXPECT_EQ(dialog->seChain->value(), 1000);
  EXPECT_LT(dialog->seSeed->value(), 10000000);
  // The one dataset has an outgroup: listed, checked, and seNumDS lowered to the list.
  ASSERT_EQ(dialog->dsqlist->count(), 1);
  EXPECT_EQ(dialog->dsqlist->item(0)->checkState(), Qt::Checked);
  EXPECT_EQ(dialog->seNumDS->value(), 1);
  dialog->Button2->click();
  EXPECT_EQ(dialog->dsqlist->item(0)->checkState(), Qt::Unchecked);
  dialog->Button3->click();
  EXPECT_EQ(dialog->dsqlist->item(0)->checkState(), Qt::Checked);
  EXPECT_EQ(dialog->GetNeutralityOptions().mlhka.references,
            std::vector<std::string>{"neutrality_hka.fas"});
}

TEST(TNTestsDialog, AHundredthCheckedReferenceIsRefused) {
  ShellFixture f;
  const std::string fasta = WriteTempFile("neutrality_hka99.fas", kAnalysisFasta);
  TDataProj project(f.form->GetServices());
  ASSERT_TRUE(ReadAnalysisProject(fasta, project, f.form->GetServices()));
  TNTestsDialog* dialog = NewNTestsDialog(*f.form);
  ASSERT_TRUE(dialog->InitData(&project));
  dialog->cbMLHKA->setChecked(true);
  // 99 more candidates, listed as the dialog lists them; the project's own is checked.
  for (int i = 2; i <= 100; ++i) {
    auto* item = new QListWidgetItem(QString("ref%1").arg(i), dialog->dsqlist);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  for (int i = 1; i < 99; ++i) dialog->dsqlist->item(i)->setCheckState(Qt::Checked);
  EXPECT_TRUE(f.dialogs.notices.empty());
  dialog->dsqlist->item(99)->setCheckState(Qt::Checked);
  EXPECT_EQ(dialog->dsqlist->item(99)->checkState(), Qt::Unchecked);
  EXPECT_EQ(f.dialogs.notices, std::vector<std::string>{"Max number of checked datasets = 99"});
  EXPECT_EQ(dialog->GetNeutralityOptions().mlhka.references.size(), 99U);
}

TEST(TNTestsDialog, SpectraRunEqualsTheTool) {
  ShellFixture f;
  const std::string fasta = WriteTempFile("neutrality_sfs.fas", kAnalysisFasta);
  TDataProj project(f.form->GetServices());
  ASSERT_TRUE(ReadAnalysisProject(fasta, project, f.form->GetServices()));
  TNTestsDialog* dialog = NewNTestsDialog(*f.form);
  ASSERT_TRUE(dialog->InitData(&project));
  const std::string folder = QDir::tempPath().toStdString() + "/nodrix_sfs_dialog";
  QDir().mkpath(QString::fromStdString(folder));
  dialog->outputFolderSource = [folder]() -> std::optional<std::string> { return folder; };
  dialog->cbSFS->setChecked(true);
  dialog->OkButton->click();
  const AnalysisOutput& out = dialog->LastOutput();
  ASSERT_TRUE(out.error.empty()) << out.error;
  EXPECT_TRUE(Has(out.report, "Site frequency spectrum accross all datasets in the project"))
      << out.report;
  EXPECT_TRUE(Has(out.report, "Folded 2D-SFS for groups: north and south\r\n")) << out.report;
  EXPECT_TRUE(Has(ReadWhole(folder + "/SFS_folded.out"), "neutrality_sfs.fas MWU= "));

  if (!QFile::exists(CliPath())) GTEST_SKIP() << "nodrix3-cli not built";
  const std::string groups = WriteTempFile("neutrality_sfs_groups.csv", kAnalysisGroups);
  const std::string cliFolder = folder + "/cli";
  QDir().mkpath(QString::fromStdString(cliFolder));
  const CliRun run = RunCli({"neutrality", QString::fromStdString(fasta), "--groups",
                             QString::fromStdString(groups), "--sfs", "--out-dir",
                             QString::fromStdString(cliFolder)});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, out.report);
  QDir(QString::fromStdString(folder)).removeRecursively();
}

}  // namespace
