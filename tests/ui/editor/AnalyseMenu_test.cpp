// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's Analyse menu opens every analysis dialog on the window's project, and the
// polymorphic-sites datasets of a run come back as a new editor window.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

#include "../ShellFixture.h"
#include "EditorFixture.h"
#include "ui/analysis/ShowPolymSites.h"
#include "ui/editor/AnalyseMenu.h"
#include "ui/shell/ToolRegistry.h"

namespace {

TEST(TSeqGridFrmAnalyse, EveryBuiltAnalysisOpensItsDialogOnTheProject) {
  EditorFixture f;
  TSeqGridFrm* w = f.NewEditor("demo");
  AddDataset(w->GetProject(), "L", {{"a", "ACGTACGT"}, {"b", "ACGAACGT"}, {"c", "TCGAACGA"}});
  w->UpdateAllBits();
  const std::pair<const char*, ToolKind> items[] = {
      {"Polymorphicsites1", ToolKind::ShowPolymSites},
      {"DNApolymorphism1", ToolKind::DNApolymDbox},
      {"Neutralitytests1", ToolKind::NTestsDialog},
      {"Populationsubdivision1", ToolKind::PopSubdivDbox},
      {"Linkagedisequilibrium1", ToolKind::LDform},
      {"Nucleotidecomposition1", ToolKind::GCContentForm},
      {"NeighbourJoiningtree1", ToolKind::NJTreeFrm},
  };
  for (const auto& [name, kind] : items) {
    QAction* a = w->Action(name);
    ASSERT_NE(a, nullptr) << name;
    EXPECT_TRUE(a->isEnabled()) << name;
    a->trigger();
    EXPECT_NE(f.form->ToolWindow(kind), nullptr) << name;
  }
  EXPECT_TRUE(f.dialogs.notices.empty());
  // Every analysis of the menu now exists: none is offered disabled.
  for (const AnalyseMenuItem& item : AnalyseMenuItems())
    EXPECT_TRUE(w->Action(item.objectName)->isEnabled()) << item.objectName;
}

TEST(TSeqGridFrmAnalyse, EmptyProjectSaysSoAndOpensNoDialog) {
  EditorFixture f;
  TSeqGridFrm* w = f.NewEditor("empty");
  w->Action("DNApolymorphism1")->trigger();
  EXPECT_EQ(f.dialogs.notices, std::vector<std::string>{"The project has no sequences to analyse"});
  EXPECT_EQ(f.form->ToolWindow(ToolKind::DNApolymDbox), nullptr);
}

// A dialog left behind the editor comes back to the front, with the focus, when its item is
// chosen again, instead of staying hidden under the editor.
TEST(TSeqGridFrmAnalyse, ChosenAgainAnOpenDialogComesToTheFrontWithTheFocus) {
  EditorFixture f;
  f.form->show();
  f.form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(f.form.get()));
  TSeqGridFrm* w = f.NewEditor("demo");
  AddDataset(w->GetProject(), "L", {{"a", "ACGTACGT"}, {"b", "ACGAACGT"}, {"c", "TCGAACGA"}});
  w->UpdateAllBits();
  const std::pair<const char*, ToolKind> items[] = {
      {"DNApolymorphism1", ToolKind::DNApolymDbox},
      {"Populationsubdivision1", ToolKind::PopSubdivDbox},
      {"Linkagedisequilibrium1", ToolKind::LDform},
  };
  for (const auto& [name, kind] : items) {
    SCOPED_TRACE(name);
    w->Action(name)->trigger();
    QWidget* dialog = f.form->ToolWindow(kind);
    ASSERT_NE(dialog, nullptr);
    f.form->MdiArea()->setActiveSubWindow(f.Frame(w));
    w->SeqGrid->setFocus();
    QCoreApplication::processEvents();
    ASSERT_EQ(f.form->MdiArea()->activeSubWindow(), f.Frame(w));
    w->Action(name)->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(f.form->ToolWindow(kind), dialog);
    EXPECT_EQ(f.form->MdiArea()->activeSubWindow(), f.Frame(dialog));
    EXPECT_TRUE(dialog->isAncestorOf(QApplication::focusWidget()));
    const QList<QMdiSubWindow*> stack = f.form->MdiArea()->subWindowList(QMdiArea::StackingOrder);
    EXPECT_EQ(stack.back(), f.Frame(dialog));
  }
}

TEST(TSeqGridFrmAnalyse, PolymorphicSitesOpenInANewUnsavedEditorWindow) {
  EditorFixture f;
  TSeqGridFrm* w = f.NewEditor("demo");
  AddDataset(w->GetProject(), "L", {{"a", "ACGTACGT"}, {"b", "ACGAACGT"}, {"c", "TCGAACGA"}});
  w->UpdateAllBits();
  w->Action("Polymorphicsites1")->trigger();
  auto* dialog = qobject_cast<TShowPolymSites*>(f.form->ToolWindow(ToolKind::ShowPolymSites));
  ASSERT_NE(dialog, nullptr);
  dialog->cbDoubleMut->setChecked(false);  // keep the run's files out of the working folder
  dialog->cbSNPlist->setChecked(false);
  dialog->cbSNPrep->setChecked(false);
  dialog->OkButton->click();
  ASSERT_TRUE(dialog->LastOutput().error.empty()) << dialog->LastOutput().error;

  TSeqGridFrm* sites = nullptr;
  for (QMdiSubWindow* sub : f.form->findChildren<QMdiSubWindow*>())
    if (TSeqGridFrm* e = AsSeqGridFrm(sub->widget()); e != nullptr && e != w) sites = e;
  ASSERT_NE(sites, nullptr);
  EXPECT_EQ(sites->windowTitle(), "Polymorphic sites in demo");
  const TDataSeq* ds = sites->GetProject().CurrentDataset();
  ASSERT_NE(ds, nullptr);
  EXPECT_EQ(ds->dsName, "L_SNPs");
  ASSERT_EQ(ds->Count(), 3);
  EXPECT_EQ(ds->SeqAt(1)->letters, "ATT");  // columns 1, 4 and 8 vary
  EXPECT_EQ(ds->SeqAt(3)->letters, "TAA");
  // The new window's data exists nowhere on disk yet: closing it must ask.
  EXPECT_TRUE(sites->SeqGrid->modified);
  // And the window's open target follows the adopted project.
  EXPECT_EQ(&sites->Target().project, &sites->GetProject());
}

}  // namespace
