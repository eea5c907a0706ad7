// SPDX-License-Identifier: GPL-3.0-or-later
// The polymorphic sites dialog: its controls, and the datasets of polymorphic sites handed to
// new editor windows (or kept in the analysed project).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ShellFixture.h"
#include "model/DataProjUnit.h"
#include "ui/analysis/ShowPolymSites.h"
#include "ui/shell/CLXMain.h"

namespace {

struct Viewed {
  QString caption;
  std::unique_ptr<TDataProj> project;
};

// Rows 1-2 in "north", 3-4 in "south", row 5 the outgroup.
void FillProject(TDataProj& p) {
  p.projName = "demo";
  TDataSeq& ds = *p.DatasetAt(0);
  ds.dsName = "L";
  const char* rows[] = {"ACGTAC", "ACTTAC", "ACGTAA", "GCGTAC", "TCGTAC"};
  for (int i = 0; i < 5; ++i) {
    auto s = std::make_unique<TSeq>("s" + std::to_string(i + 1), rows[i]);
    (void)ds.AddSeq(s, true);
  }
  for (const char* g : {"north", "south"}) {
    TGroup group;
    group.grpName = g;
    p.AddGroup(group);
  }
  const char* groups[] = {"north", "north", "south", "south", "Outgroups"};
  for (int i = 0; i < 5; ++i) p.AssignSeqToGroup(0, "s" + std::to_string(i + 1), groups[i]);
}

TShowPolymSites* OpenDialog(ShellFixture& f, TDataProj& project) {
  TShowPolymSites* dialog = NewShowPolymSites(*f.form);
  EXPECT_TRUE(dialog->InitData(&project));
  // Files of the run stay out of the working folder.
  dialog->cbDoubleMut->setChecked(false);
  dialog->cbSNPlist->setChecked(false);
  return dialog;
}

TEST(TShowPolymSites, ControlsCaptionsDefaultsAndTheirCoupling) {
  ShellFixture f;
  TDataProj project(f.form->GetServices());
  FillProject(project);
  TShowPolymSites* dialog = NewShowPolymSites(*f.form);
  EXPECT_EQ(NewShowPolymSites(*f.form), dialog);
  EXPECT_EQ(f.form->ToolWindow(ToolKind::ShowPolymSites), dialog);
  ASSERT_TRUE(dialog->InitData(&project));
  EXPECT_EQ(dialog->windowTitle(), "Find polymorphic sites");
  EXPECT_EQ(dialog->SourceCaption(), "demo");

  EXPECT_EQ(dialog->cbSFS->text(), "Site freq. spectrum");
  EXPECT_FALSE(dialog->cbSFS->isChecked());
  EXPECT_EQ(dialog->cbDoubleMut->text(), "#Double Mut.");
  EXPECT_TRUE(dialog->cbDoubleMut->isChecked());
  EXPECT_EQ(dialog->cbSNPlist->text(), "SNPlist");
  EXPECT_TRUE(dialog->cbSNPlist->isChecked());
  EXPECT_EQ(dialog->rbSNPnewWin->text(), "A new seq. window");
  EXPECT_EQ(dialog->rbSNPsameWin->text(), "The same seq. window");
  EXPECT_TRUE(dialog->rbSNPnewWin->isChecked());
  EXPECT_EQ(dialog->ShowPolymIn->title(), "Show polymorphisms in");
  EXPECT_TRUE(dialog->ShowPolymIn->isHidden());
  EXPECT_EQ(dialog->SNPsOnly->text(), "SNP list only");
  EXPECT_TRUE(dialog->SNPsOnly->isHidden());
  EXPECT_TRUE(dialog->findChild<QGroupBox*>("TableOutputBox")->isHidden());
  EXPECT_TRUE(dialog->findChild<QGroupBox*>("SlidingWindowOutputBox")->isHidden());
  EXPECT_TRUE(dialog->cbDoSW->parentWidget()->isHidden());

  // The SNP report: off, its name and "..." enabled only while checked.
  EXPECT_EQ(dialog->cbSNPrep->text(), "Save SNP report to file:");
  EXPECT_FALSE(dialog->cbSNPrep->isChecked());
  EXPECT_EQ(dialog->SNPrepFile->text(), "SNPreport.csv");
  EXPECT_FALSE(dialog->SNPrepFile->isEnabled());
  EXPECT_FALSE(dialog->SNPrepFileButton->isEnabled());
  dialog->cbSNPrep->setChecked(true);
  EXPECT_TRUE(dialog->SNPrepFile->isEnabled());
  EXPECT_TRUE(dialog->SNPrepFileButton->isEnabled());

  // "SNP list only" clears and locks the report's other parts.
  dialog->cbSFS->setChecked(true);
  dialog->cbOgDiv->setChecked(true);
  dialog->SNPsOnly->setChecked(true);
  for (QCheckBox* c : {dialog->cbS, dialog->cbHapNum, dialog->cbOgDiv, dialog->cbSFS}) {
    EXPECT_FALSE(c->isChecked()) << c->text().toStdString();
    EXPECT_FALSE(c->isEnabled()) << c->text().toStdString();
  }
  dialog->SNPsOnly->setChecked(false);
  EXPECT_TRUE(dialog->cbSFS->isEnabled());

  const PolymSitesOptions o = dialog->GetPolymSitesOptions();
  EXPECT_TRUE(o.snpReport);
  EXPECT_EQ(o.snpReportFile, "SNPreport.csv");
  EXPECT_TRUE(o.newWindow);
}

TEST(TShowPolymSites, RunHandsEachKindOfDatasetToItsOwnNewWindow) {
  ShellFixture f;
  std::vector<Viewed> viewed;
  f.form->SetDatasetViewer(
      [&viewed](TMainForm&, std::unique_ptr<TDataProj> p, const QString& caption) {
        viewed.push_back({caption, std::move(p)});
        return true;
      });
  TDataProj project(f.form->GetServices());
  FillProject(project);
  TShowPolymSites* dialog = OpenDialog(f, project);
  dialog->SetSourceCaption("demo.fas");
  dialog->cbOgDiv->setChecked(true);
  dialog->OkButton->click();
  ASSERT_TRUE(dialog->LastOutput().error.empty()) << dialog->LastOutput().error;

  ASSERT_EQ(viewed.size(), 2u);
  EXPECT_EQ(viewed[0].caption, "Polymorphic sites in demo.fas");
  EXPECT_EQ(viewed[1].caption, "Polymorphic sites and sites diverged from outgroup in demo.fas");
  const TDataProj& sites = *viewed[0].project;
  ASSERT_EQ(sites.DatasetCount(), 3);
  EXPECT_EQ(sites.DatasetAt(0)->dsName, "L_SNPs");
  EXPECT_EQ(sites.DatasetAt(1)->dsName, "L_north_SNPs");
  EXPECT_EQ(sites.DatasetAt(2)->dsName, "L_south_SNPs");
  EXPECT_EQ(sites.CurrentIndex(), 2);
  EXPECT_GE(sites.GroupIndexByName("north"), 0);
  EXPECT_EQ(sites.IndividCount(), project.IndividCount());
  // Columns 1, 3 and 6 vary among the ingroup rows.
  EXPECT_EQ(sites.DatasetAt(0)->SeqAt(1)->polySitePos, (std::vector<std::int32_t>{1, 3, 6}));
  EXPECT_EQ(viewed[1].project->DatasetAt(0)->dsName, "L_SNPs_OGdiv");
  // The analysed project is left as it was.
  EXPECT_EQ(project.DatasetCount(), 1);
  EXPECT_TRUE(f.dialogs.notices.empty());
}

TEST(TShowPolymSites, WithoutAViewerTheUserIsToldAndTheSameWindowChoiceKeepsThem) {
  ShellFixture f;
  TDataProj project(f.form->GetServices());
  FillProject(project);
  TShowPolymSites* dialog = OpenDialog(f, project);
  dialog->OkButton->click();
  ASSERT_EQ(f.dialogs.notices.size(), 1u);
  EXPECT_EQ(f.dialogs.notices[0],
            "No editor window could be opened for \"Polymorphic sites in demo\"");
  EXPECT_EQ(project.DatasetCount(), 1);

  dialog->rbSNPsameWin->setChecked(true);
  dialog->OkButton->click();
  ASSERT_EQ(project.DatasetCount(), 4);
  EXPECT_EQ(project.DatasetAt(3)->dsName, "L_south_SNPs");
  EXPECT_EQ(project.DatasetAt(3)->SeqAt(1)->seqType, kSeqSnp);
}

}  // namespace
