// SPDX-License-Identifier: GPL-3.0-or-later
// The population subdivision dialog on a project read from a file: its controls, the report
// window, and the command-line tool giving the same report for the same options and seed.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <fstream>

#include "ShellFixture.h"
#include "io/Dispatcher.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"
#include "ui/analysis/PopSubdivDbox.h"
#include "ui/shell/CLXMain.h"
#include "ui/viewers/RepUnit.h"

namespace {

const char* kFasta =
    ">s1\nAAAAAAAAAACCCCCGGGGG\n>s2\nAAAAAAAAAACCCCCGGGGA\n>s3\nTAAAAAAAAACCCCCGGGGG\n"
    ">s4\nTAAAACAAAACCCCCGGGGG\n>s5\nTAAAACAAAGCCTCCGGGGG\n>s6\nTAAAACAAAGCCCCCGGGGG\n"
    ">og\nGGGGGAAAAACCCCCGGGGG\n";
const char* kGroups = "s1,north\ns2,north\ns3,north\ns4,south\ns5,south\ns6,south\nog,Outgroups\n";

std::string WriteTemp(const std::string& name, const std::string& text) {
  const std::string path = QDir::tempPath().toStdString() + "/" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

// The same reading and group assignment as the command-line tool does with kGroups.
bool ReadProject(const std::string& fasta, TDataProj& project, Services& services) {
  OpenWindow window(project);
  window.caption = FileNameOnly(fasta);
  int code = 0;
  if (!OpenDetected(fasta, window, services, code).ReadSomething()) return false;
  for (const char* g : {"north", "south"}) {
    TGroup group;
    group.grpName = g;
    project.AddGroup(group);
  }
  const std::pair<const char*, const char*> members[] = {
      {"s1", "north"}, {"s2", "north"}, {"s3", "north"},    {"s4", "south"},
      {"s5", "south"}, {"s6", "south"}, {"og", "Outgroups"}};
  for (auto [seq, group] : members) project.AssignSeqToGroup(0, seq, group);
  return true;
}

std::string Unix(std::string s) {
  std::string out;
  for (char c : s)
    if (c != '\r') out += c;
  return out;
}

TEST(TPopSubdivDbox, ControlsReportWindowAndCommandLineAgree) {
  ShellFixture f;
  const std::string fasta = WriteTemp("subdiv_dialog.fas", kFasta);
  TDataProj project(f.form->GetServices());
  ASSERT_TRUE(ReadProject(fasta, project, f.form->GetServices()));

  TPopSubdivDbox* dialog = NewPopSubdivDbox(*f.form);
  EXPECT_EQ(NewPopSubdivDbox(*f.form), dialog);
  EXPECT_EQ(f.form->ToolWindow(ToolKind::PopSubdivDbox), dialog);
  ASSERT_TRUE(dialog->InitData(&project));
  EXPECT_EQ(dialog->windowTitle(), "Analyse population subdivision");
  // Defaults and captions.
  EXPECT_TRUE(dialog->cbFst->isChecked());
  EXPECT_TRUE(dialog->cbKst->isChecked());
  EXPECT_TRUE(dialog->cbDst->isChecked());
  EXPECT_EQ(dialog->cbDst->text(), "Hst");
  EXPECT_EQ(dialog->cbDst->toolTip(), "Hst, eq9 Jost 2008");
  for (QCheckBox* c : {dialog->cbNm, dialog->cbDxy, dialog->cbDa, dialog->cbSfix, dialog->cbperm,
                       dialog->cbDoBootstrap, dialog->doCSVfile})
    EXPECT_FALSE(c->isChecked()) << c->objectName().toStdString();
  EXPECT_EQ(dialog->cbperm->text(), "Do test with          permutations ");
  EXPECT_EQ(dialog->pruns->value(), 100);
  EXPECT_EQ(dialog->pruns->maximum(), 10000);
  EXPECT_EQ(dialog->seBSreplicates->value(), 100);
  EXPECT_EQ(dialog->csvFileName->text(), "boot_out.csv");
  EXPECT_EQ(dialog->cbDoSW->text(), "Sliding window for:");
  EXPECT_TRUE(dialog->swFst->isChecked());
  EXPECT_EQ(dialog->thrsh->value(), 5);
  EXPECT_FALSE(dialog->cbOgDiv->isVisibleTo(dialog));
  EXPECT_FALSE(dialog->cbPlotSW->isVisibleTo(dialog));
  // The split is offered only while "S-fixed" is profiled; choosing another statistic hides
  // and unchecks it.
  EXPECT_FALSE(dialog->cbSplit->isVisibleTo(dialog));
  dialog->cbDoSW->setChecked(true);
  dialog->swSfx->setChecked(true);
  EXPECT_TRUE(dialog->cbSplit->isVisibleTo(dialog));
  dialog->cbSplit->setChecked(true);
  dialog->swDxy->setChecked(true);
  EXPECT_FALSE(dialog->cbSplit->isVisibleTo(dialog));
  EXPECT_FALSE(dialog->cbSplit->isChecked());
  dialog->cbDoSW->setChecked(false);

  dialog->cbDxy->setChecked(true);
  dialog->cbDa->setChecked(true);
  dialog->cbSfix->setChecked(true);
  dialog->cbNm->setChecked(true);
  dialog->cbperm->setChecked(true);
  dialog->pruns->setValue(50);
  dialog->cbDoBootstrap->setChecked(true);
  dialog->seBSreplicates->setValue(20);
  dialog->cbFixedSeed->setChecked(true);
  dialog->seSeed->setValue(7);

  dialog->OkButton->click();
  const AnalysisOutput& out = dialog->LastOutput();
  ASSERT_TRUE(out.error.empty()) << out.error;
  auto* report = qobject_cast<TRepForm*>(f.form->ToolWindow(ToolKind::RepForm));
  ASSERT_NE(report, nullptr);
  EXPECT_EQ(report->windowTitle(), "Population subdivision report");
  EXPECT_EQ(Unix(report->Text()), Unix(out.report));
  EXPECT_NE(out.report.find("   Y \\ X   north   south\r\n"), std::string::npos);
  EXPECT_NE(out.report.find("From 50 permutaions P-value for Fst = "), std::string::npos);
  EXPECT_NE(out.report.find("Bootstrap confidence interval from 20 bootstrap replicates\r\n"),
            std::string::npos);

  // The command-line tool with the same options and seed prints the same report, byte for
  // byte.
  const QString cli = QString(NODRIX_BINARY_DIR) + "/nodrix3-cli";
  if (!QFile::exists(cli)) GTEST_SKIP() << "nodrix3-cli not built";
  const std::string groups = WriteTemp("subdiv_dialog_groups.csv", kGroups);
  QProcess run;
  run.start(cli, {"subdivision", QString::fromStdString(fasta), "--groups",
                  QString::fromStdString(groups), "--stats", "fst,kst,hst,nm,dxy,da,sfixed",
                  "--permutations", "50", "--seed", "7", "--bootstrap", "20"});
  ASSERT_TRUE(run.waitForFinished(60000));
  EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
  EXPECT_EQ(run.readAllStandardOutput().toStdString(), out.report);
}

}  // namespace
