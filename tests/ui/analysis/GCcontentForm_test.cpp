// SPDX-License-Identifier: GPL-3.0-or-later
// The composition dialog: its controls, a run into the report window, and the command-line
// tool giving the same report for the same options.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>

#include "AnalysisProject.h"
#include "ui/ShellFixture.h"
#include "ui/analysis/GCcontentForm.h"
#include "ui/viewers/RepUnit.h"

namespace {

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(TGCContentForm, ControlsRunAndTheToolAgrees) {
  ShellFixture f;
  const std::string fasta = WriteTempFile("composition_dialog.fas", kAnalysisFasta);
  TDataProj project(f.form->GetServices());
  ASSERT_TRUE(ReadAnalysisProject(fasta, project, f.form->GetServices()));
  TGCContentForm* dialog = NewGCContentForm(*f.form);
  EXPECT_EQ(NewGCContentForm(*f.form), dialog);
  ASSERT_TRUE(dialog->InitData(&project));
  EXPECT_EQ(dialog->windowTitle(), "Composition analysis");
  EXPECT_EQ(dialog->cbGCstat->text(), "GC%-stationarity (Eyre-Walker 1994)");
  for (QCheckBox* c : {dialog->cbGCmut, dialog->cbNnuc, dialog->cbNpair})
    EXPECT_TRUE(c->isChecked());
  for (QCheckBox* c : {dialog->cbGCstat, dialog->cbCpG}) EXPECT_FALSE(c->isChecked());
  // Nothing reads the window boxes or the outgroup box: not offered, and saying why.
  for (QCheckBox* c : {dialog->cbSW_GC, dialog->cbSW_CpG, dialog->cbExcludeOutg, dialog->cbDoSW}) {
    EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_FALSE(c->toolTip().isEmpty());
  }
  dialog->cbGCstat->setChecked(true);
  dialog->cbCpG->setChecked(true);
  dialog->OkButton->click();
  const AnalysisOutput& out = dialog->LastOutput();
  ASSERT_TRUE(out.error.empty()) << out.error;
  auto* report = qobject_cast<TRepForm*>(f.form->ToolWindow(ToolKind::RepForm));
  ASSERT_NE(report, nullptr);
  EXPECT_EQ(report->windowTitle(), "Nucleotide composition report");
  EXPECT_TRUE(Has(out.report, "===%GC stationarity (Eyre-Walker 1994)===")) << out.report;
  EXPECT_TRUE(Has(out.report, "s1 vers s2: muts in C: 0")) << out.report;

  if (!QFile::exists(CliPath())) GTEST_SKIP() << "nodrix3-cli not built";
  const std::string groups = WriteTempFile("composition_dialog_groups.csv", kAnalysisGroups);
  const CliRun run = RunCli({"composition", QString::fromStdString(fasta), "--groups",
                             QString::fromStdString(groups), "--blocks",
                             "gc-mutations,nucleotides,stationarity,pairs,cpg"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, out.report);
}

}  // namespace
