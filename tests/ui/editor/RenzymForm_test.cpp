// SPDX-License-Identifier: GPL-3.0-or-later
// The restriction enzyme window: one window, switches stored only by "Ok", sites marked on the
// current editor window's current dataset.
#include <gtest/gtest.h>

#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

#include "EditorFixture.h"
#include "ui/editor/RenzymForm.h"

namespace {

std::vector<bool> Checks(const TRenzymForm& form) {
  std::vector<bool> checks;
  for (int i = 0; i < form.CheckListBox1->count(); ++i)
    checks.push_back(form.CheckListBox1->item(i)->checkState() == Qt::Checked);
  return checks;
}

void Check(TRenzymForm& form, const char* name) {
  const auto items = form.CheckListBox1->findItems(name, Qt::MatchExactly);
  ASSERT_EQ(items.size(), 1) << name;
  items.front()->setCheckState(Qt::Checked);
}

TRenzymForm* OpenForm(EditorFixture& f) {
  f.form->findChild<QAction*>("RestrictionEnzymes1")->trigger();
  return qobject_cast<TRenzymForm*>(f.form->ToolWindow(ToolKind::RenzymForm));
}

}  // namespace

TEST(TRenzymForm, SwitchesTakeEffectOnOkOnlyAndMarkTheCurrentDataset) {
  EditorFixture f;
  TSeqGridFrm* w = f.NewEditor("sites");
  TDataProj& project = w->GetProject();
  AddDataset(project, "other", {{"x", "GAATTC"}});
  TDataSeq& ds = AddDataset(project, "D", {{"a", "ggatccGAATTCaagctt"}, {"b", "ACGT"}});
  w->UpdateAllBits();

  TRenzymForm* form = OpenForm(f);
  ASSERT_NE(form, nullptr);
  w->Action("Showrestrictionsites1")->trigger();  // the editor's item gives the same window
  EXPECT_EQ(OpenForm(f), form);
  EXPECT_EQ(f.form->findChildren<TRenzymForm*>().size(), 1);
  const int n = form->CheckListBox1->count();
  ASSERT_EQ(n, static_cast<int>(f.form->Enzymes().size()));
  ASSERT_GT(n, 10);
  EXPECT_EQ(Checks(*form), std::vector<bool>(n, false));  // every enzyme starts switched off
  form->Button1->click();
  EXPECT_EQ(Checks(*form), std::vector<bool>(n, true));
  form->Button2->click();
  Check(*form, "BamHI");
  const std::vector<bool> shown = Checks(*form);
  form->Button3->click();
  form->Button3->click();
  EXPECT_EQ(Checks(*form), shown);

  Check(*form, "EcoRI");
  form->OkButton->click();
  DeleteClosedWindows();
  EXPECT_EQ(f.form->ToolWindow(ToolKind::RenzymForm), nullptr);
  ASSERT_EQ(ds.SeqAt(1)->siteMarks.size(), 2u);
  EXPECT_EQ(ds.SeqAt(1)->siteMarks[0].regStart, 1);  // BamHI, lower-case letters matched
  EXPECT_EQ(ds.SeqAt(1)->siteMarks[1].regStart, 7);  // EcoRI
  EXPECT_TRUE(project.DatasetAt(0)->SeqAt(1)->siteMarks.empty());  // not the current dataset

  // Choices cancelled leave the switches; a new window shows those of the last "Ok".
  form = OpenForm(f);
  const std::vector<bool> afterOk = Checks(*form);
  EXPECT_EQ(std::count(afterOk.begin(), afterOk.end(), true), 2);
  form->Button1->click();
  form->CancelButton->click();
  DeleteClosedWindows();
  form = OpenForm(f);
  EXPECT_EQ(Checks(*form), afterOk);
  EXPECT_EQ(ds.SeqAt(1)->siteMarks.size(), 2u);

  // Everything off: "Ok" clears every mark.
  form->Button2->click();
  form->OkButton->click();
  DeleteClosedWindows();
  EXPECT_TRUE(ds.SeqAt(1)->siteMarks.empty());
  EXPECT_TRUE(std::none_of(f.form->Enzymes().begin(), f.form->Enzymes().end(),
                           [](const renzyme& e) { return e.selected; }));
}

TEST(TRenzymForm, OkWithoutAnEditorWindowStoresTheSwitches) {
  EditorFixture f;
  TRenzymForm* form = OpenForm(f);
  ASSERT_NE(form, nullptr);
  Check(*form, "HindIII");
  form->OkButton->click();
  DeleteClosedWindows();
  EXPECT_EQ(std::count_if(f.form->Enzymes().begin(), f.form->Enzymes().end(),
                          [](const renzyme& e) { return e.selected; }),
            1);
}
