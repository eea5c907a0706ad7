// SPDX-License-Identifier: GPL-3.0-or-later
// The translate window's control rules and its new editor window; the similarity search from
// the Edit menu and from the grid's pop-up menu.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "EditorFixture.h"
#include "ui/alignment/SimSearchDialog.h"
#include "ui/editor/TranslateUnit.h"
#include "ui/viewers/RepUnit.h"

namespace {

template <typename T>
T* Child(TMainForm& form, const QString& title) {
  for (QMdiSubWindow* sub : form.MdiArea()->subWindowList())
    if (auto* w = qobject_cast<T*>(sub->widget()); w != nullptr && w->windowTitle() == title)
      return w;
  return nullptr;
}

template <typename T>
T* AnyChild(TMainForm& form) {
  for (QMdiSubWindow* sub : form.MdiArea()->subWindowList())
    if (auto* w = qobject_cast<T*>(sub->widget())) return w;
  return nullptr;
}

}  // namespace

TEST(TTranslateForm, OrfAndRegionChoicesEnableEachOther) {
  EditorFixture f;
  TSeqGridFrm* w = f.NewEditor("proj");
  AddDataset(w->GetProject(), "d", {{"S", "atggcctaaggg"}});
  w->UpdateAllBits();
  w->Action("Translate1")->trigger();
  auto* t = qobject_cast<TTranslateForm*>(f.form->ToolWindow(ToolKind::TranslateForm));
  ASSERT_NE(t, nullptr);
  EXPECT_TRUE(t->SelectedSeqDB->isChecked());
  EXPECT_TRUE(t->OneFrcb->isChecked());
  EXPECT_TRUE(t->codonecb->isChecked());
  EXPECT_EQ(t->ebMinORF->text(), "100");
  EXPECT_FALSE(t->eOutFile->isEnabled());
  t->cbToFile->setChecked(true);
  EXPECT_TRUE(t->eOutFile->isEnabled());
  EXPECT_FALSE(t->cbAddORFs->isEnabled());

  t->codregcb->setChecked(true);  // ORFs only in whole sequences
  EXPECT_FALSE(t->OrfBox->isEnabled());
  t->throughoutcb->setChecked(true);
  EXPECT_TRUE(t->OrfBox->isEnabled());
  t->cbORFs->setChecked(true);
  EXPECT_FALSE(t->RegionsBox->isEnabled());
  EXPECT_TRUE(t->cbAddORFs->isEnabled());
  t->cbAddORFs->setChecked(true);
  t->cbORFs->setChecked(false);
  EXPECT_TRUE(t->RegionsBox->isEnabled());
  EXPECT_FALSE(t->cbAddORFs->isEnabled());
  EXPECT_FALSE(t->cbAddORFs->isChecked());
  // With NODRIX_SCREENSHOT set (under xvfb-run), a picture of the window to look at.
  if (const QByteArray shot = qgetenv("NODRIX_SCREENSHOT"); !shot.isEmpty()) {
    f.form->resize(900, 600);
    f.form->show();
    t->grab().save(QString::fromLocal8Bit(shot) + "_translate.png");
  }
}

TEST(TTranslateForm, OkOpensTheTranslationAndTheOrfReport) {
  EditorFixture f;
  TSeqGridFrm* w = f.NewEditor("proj");
  AddDataset(w->GetProject(), "d", {{"S", "atggcctaaggg"}, {"T", "tttaaa"}});
  w->GetProject().CurrentDataset()->Select(1);
  w->UpdateAllBits();
  w->Action("Translate1")->trigger();
  auto* t = qobject_cast<TTranslateForm*>(f.form->ToolWindow(ToolKind::TranslateForm));
  ASSERT_NE(t, nullptr);
  t->cbORFs->setChecked(true);
  t->ebMinORF->setText("1");
  t->OkButton->click();
  DeleteClosedWindows();

  TSeqGridFrm* out = Child<TSeqGridFrm>(*f.form, "Translation of proj");
  ASSERT_NE(out, nullptr);
  const TDataSeq& ds = *out->GetProject().CurrentDataset();
  ASSERT_EQ(ds.Count(), 1);  // only the selected row
  EXPECT_EQ(ds.NameAt(1), "pS");
  EXPECT_EQ(ds.SeqAt(1)->letters, "MA*G");
  auto* report = AnyChild<TRepForm>(*f.form);
  ASSERT_NE(report, nullptr);
  EXPECT_NE(report->Text().find("ORF(aa pos): 1 - 2; length = 2; ORF(nucl pos): 1 - 6; length = 6"),
            std::string::npos);
  EXPECT_EQ(f.form->ToolWindow(ToolKind::TranslateForm), nullptr);
  // The user's selection stays.
  EXPECT_TRUE(w->GetProject().CurrentDataset()->IsSelected(1));
}

TEST(TSimSearchForm, MarksTheHitsFromTheMenuAndFromThePopupMenu) {
  EditorFixture f;
  TSeqGridFrm* w = f.NewEditor("proj");
  TDataSeq& ds =
      AddDataset(w->GetProject(), "d", {{"a", "ttAAGCCTACGTtt"}, {"b", "gggACGTAGGCTTccc"}});
  w->UpdateAllBits();

  w->Action("Similaritysearch1")->trigger();
  auto* s = qobject_cast<TSimSearchForm*>(f.form->ToolWindow(ToolKind::SimSearchForm));
  ASSERT_NE(s, nullptr);
  s->OkButton->click();  // the placeholder is no query: nothing happens, the window stays
  EXPECT_EQ(f.form->ToolWindow(ToolKind::SimSearchForm), s);
  s->Memo1->setPlainText("ACGTAGGCTT");
  s->AllSeq->setChecked(true);
  s->OkButton->click();
  DeleteClosedWindows();
  ASSERT_EQ(ds.SeqAt(1)->regions.size(), 1u);
  EXPECT_TRUE(ds.SeqAt(1)->regions[0].regReverse);
  ASSERT_EQ(ds.SeqAt(2)->regions.size(), 1u);
  EXPECT_EQ(ds.SeqAt(2)->regions[0].regStart, 4);
  EXPECT_TRUE(w->IsModified());

  w->Action("Similaritysearch2")->trigger();  // the pop-up menu's item
  s = qobject_cast<TSimSearchForm*>(f.form->ToolWindow(ToolKind::SimSearchForm));
  ASSERT_NE(s, nullptr);
  ds.Select(1);
  s->Memo1->setPlainText("ttaag");
  s->cbRep->setChecked(true);
  s->OkButton->click();
  DeleteClosedWindows();
  EXPECT_EQ(ds.SeqAt(1)->regions.size(), 2u);  // the Misc. regions 1..5 and 3..12 overlap
  EXPECT_EQ(ds.SeqAt(2)->regions.size(), 1u);
  auto* report = AnyChild<TRepForm>(*f.form);
  ASSERT_NE(report, nullptr);
  EXPECT_NE(report->Text().find("a\t1\t5\t+\t100.000"), std::string::npos) << report->Text();
}
