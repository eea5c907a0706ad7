// SPDX-License-Identifier: GPL-3.0-or-later
// The site filter, sub-sample and bootstrap dialogs and the segregation analysis, opened from
// the editor's menus: each opens its new editor window with its caption.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "EditorFixture.h"
#include "analysis/BaseDbox1.h"
#include "analysis/SamplingFormUnit.h"
#include "ui/analysis/BootstrapDbox.h"
#include "ui/analysis/FilterSitesForm.h"
#include "ui/analysis/SamplingForm.h"
#include "ui/shell/ToolRegistry.h"

namespace {

TSeqGridFrm* WindowCaptioned(EditorFixture& f, const QString& caption) {
  for (QMdiSubWindow* sub : f.form->findChildren<QMdiSubWindow*>())
    if (TSeqGridFrm* e = AsSeqGridFrm(sub->widget()); e != nullptr && e->windowTitle() == caption)
      return e;
  return nullptr;
}

TSeqGridFrm* Demo(EditorFixture& f) {
  TSeqGridFrm* w = f.NewEditor("demo");
  AddDataset(w->GetProject(), "L",
             {{"a", "ACGTACGT"}, {"b", "A-GAACGT"}, {"c", "TCGAACGA"}, {"d", "TCGAACGA"}});
  w->UpdateAllBits();
  return w;
}

}  // namespace

TEST(ToolDialogs, FilterSitesSubSamplesAndBootstrapOpenTheirWindows) {
  EditorFixture f;
  TSeqGridFrm* w = Demo(f);

  w->Action("Filtersites1")->trigger();
  auto* filter = qobject_cast<TFilterSitesForm*>(f.form->ToolWindow(ToolKind::FilterSitesForm));
  ASSERT_NE(filter, nullptr);
  EXPECT_EQ(filter->windowTitle(), "Filter sites");
  EXPECT_TRUE(filter->cbSilent->isChecked());
  EXPECT_TRUE(filter->cb3rd->isChecked());
  EXPECT_FALSE(filter->cbDeg4->isEnabled());
  filter->cbDegenerate->setChecked(true);
  EXPECT_TRUE(filter->cbDeg4->isEnabled() && filter->cbDeg4->isChecked());
  EXPECT_FALSE(filter->cb1st->isEnabled() || filter->cb1st->isChecked());
  filter->cbNonSilent->setChecked(true);
  for (QCheckBox* c : {filter->cb1st, filter->cb2nd, filter->cb3rd}) c->setChecked(false);
  filter->OkButton->click();
  TSeqGridFrm* sites = WindowCaptioned(f, "Noncoding sites");
  ASSERT_NE(sites, nullptr);
  // Column 2 holds a gap and is removed.
  EXPECT_EQ(sites->GetProject().DatasetAt(0)->SeqAt(2)->letters, "AGAACGT");

  w->Action("Createsubsamples1")->trigger();
  auto* sampling = qobject_cast<TDataSamplingForm*>(f.form->ToolWindow(ToolKind::DataSamplingForm));
  ASSERT_NE(sampling, nullptr);
  EXPECT_EQ(sampling->RSeedEdit->value(), 0);
  sampling->SampSizeEdit->setValue(2);
  sampling->RunsEdit->setValue(3);
  const SamplingOptions options = sampling->Options();
  sampling->OkButton->click();
  TSeqGridFrm* samples = WindowCaptioned(f, "Sampling from dataset L");
  ASSERT_NE(samples, nullptr);
  EXPECT_EQ(samples->GetProject().DatasetCount(), 3);
  InitAnalysisSelection(w->GetProject());  // as the dialog found it
  EXPECT_EQ(sampling->LastReport(),
            RunSampling(w->GetProject(), options, f.form->GetServices()).report);

  f.dialogs.answers = {true};
  w->Action("Bootstrap1")->trigger();
  auto* boot = qobject_cast<TBstrapDB*>(f.form->ToolWindow(ToolKind::BstrapDB));
  ASSERT_NE(boot, nullptr);
  EXPECT_EQ(boot->acData->text(), "Active dataset: L");
  boot->repCount->setValue(4);
  boot->OkButton->click();
  EXPECT_EQ(f.dialogs.questions.back(), "Generate 4 bootstrap replicates for L?");
  TSeqGridFrm* reps = WindowCaptioned(f, "Bootstrapped_demo_[L]");
  ASSERT_NE(reps, nullptr);
  EXPECT_EQ(reps->GetProject().DatasetCount(), 4);
  EXPECT_EQ(reps->GetProject().DatasetAt(3)->dsName, "L_4");
}

TEST(ToolDialogs, SegregationAnalysisOpensTheFilteredWindow) {
  EditorFixture f;
  TSeqGridFrm* w = f.NewEditor("cross");
  AddDataset(w->GetProject(), "locus",
             {{"Father", "AAAGG"}, {"Mother", "ACATT"}, {"Sons", "ACCTG"}, {"Daughters", "ACAGT"}});
  w->UpdateAllBits();
  w->Action("Segregationanalysis1")->trigger();
  ASSERT_FALSE(f.dialogs.questions.empty());
  EXPECT_EQ(f.dialogs.questions.front(), "Have files with contigs?");
  TSeqGridFrm* filtered = WindowCaptioned(f, "Filtered cross");
  ASSERT_NE(filtered, nullptr);
  ASSERT_EQ(filtered->GetProject().DatasetCount(), 1);
  EXPECT_EQ(filtered->GetProject().DatasetAt(0)->dsName, "locus");
  EXPECT_EQ(w->GetProject().GroupCount(), 5);  // the member groups were added
}
