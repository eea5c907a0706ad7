// SPDX-License-Identifier: GPL-3.0-or-later
// The grid's pop-up menu, the concatenation dialog, ambiguity resolution into a new window and
// the editor window's output folder for its file reports.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

#include "../ShellFixture.h"
#include "EditorFixture.h"
#include "io/ProjectFile.h"
#include "ui/analysis/DNApolDbox.h"
#include "ui/editor/ConcatDialog.h"

namespace {

TSeqGridFrm* EditorTitled(TMainForm& form, const QString& title) {
  for (QMdiSubWindow* sub : form.MdiArea()->subWindowList())
    if (TSeqGridFrm* w = AsSeqGridFrm(sub->widget()); w != nullptr && w->windowTitle() == title)
      return w;
  return nullptr;
}

QStringList Items(const QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

}  // namespace

TEST(GridPopupMenu, OffersTheEditCommandsAndTheDatasetTools) {
  EditorFixture f;
  TSeqGridFrm* w = f.NewEditor("proj");
  ASSERT_NE(w->PopupMenu1, nullptr);
  QStringList captions;
  for (QAction* a : w->PopupMenu1->actions())
    if (!a->isSeparator()) captions << a->text();
  EXPECT_EQ(captions,
            (QStringList{"&Undo", "&Copy", "&Paste", "Select &all", "Resolve am&biguous sites",
                         "&Split long datasets...", "Add con&sensus to dataset",
                         "Create consensus for all datasets", "&Similarity search..."}));
  EXPECT_TRUE(w->Action("Resolveambiguoussites2")->isEnabled());
  EXPECT_TRUE(w->Action("Splitlongdatasets1")->isEnabled());
  for (const char* ready : {"Addconsensus2", "Consensusinthesameproject2",
                            "Consensusinanewproject2", "Similaritysearch2"})
    EXPECT_TRUE(w->Action(ready)->isEnabled()) << ready;

  w->show();
  emit w->SeqGrid->customContextMenuRequested(QPoint(10, 10));
  EXPECT_TRUE(w->PopupMenu1->isVisible());
  w->PopupMenu1->close();
}

TEST(TConcatDialog, UpAndDownReorderTheProjectAndOkOpensTheJoinedProject) {
  EditorFixture f;
  TSeqGridFrm* w = f.NewEditor("loci");
  TDataProj& p = w->GetProject();
  TIndivid ind;
  ind.indName = "A";
  const int a = p.AddIndivid(ind);
  AddDataset(p, "g1", {{"a1", "AC"}}).SeqAt(1)->individId = a;
  AddDataset(p, "g2", {{"a2", "GT"}}).SeqAt(1)->individId = a;
  w->UpdateAllBits();

  w->Action("Concatenateseq1")->trigger();
  auto* dialog = qobject_cast<TConcatDialog*>(f.form->ToolWindow(ToolKind::ConcatDialog));
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Items(dialog->datasetslist), (QStringList{"g1", "g2"}));
  EXPECT_EQ(dialog->datasetslist->currentRow(), 1);  // the current dataset is highlighted
  EXPECT_EQ(Items(dialog->clIndivids), QStringList{"A"});
  EXPECT_FALSE(dialog->cbSNPs->isEnabled());

  dialog->tbUp->click();
  EXPECT_EQ(Items(dialog->datasetslist), (QStringList{"g2", "g1"}));
  EXPECT_EQ(p.DatasetAt(0)->dsName, "g2");
  EXPECT_EQ(dialog->datasetslist->currentRow(), 0);
  EXPECT_TRUE(w->IsModified());
  dialog->tbUp->click();  // the first cannot move up
  EXPECT_EQ(p.DatasetAt(0)->dsName, "g2");
  dialog->datasetslist->setCurrentRow(0);
  dialog->tbDown->click();
  EXPECT_EQ(p.DatasetAt(1)->dsName, "g2");
  dialog->tbUp->click();

  f.dialogs.answers = {false};
  dialog->tbUnSelAllds->click();  // No keeps the ticks
  EXPECT_EQ(f.dialogs.questions.back(), "Unselect all datasets?");
  EXPECT_EQ(dialog->datasetslist->item(0)->checkState(), Qt::Checked);

  dialog->OkButton->click();
  TSeqGridFrm* joined = EditorTitled(*f.form, "Concatenated sequences from project loci");
  ASSERT_NE(joined, nullptr);
  EXPECT_EQ(joined->GetProject().DatasetAt(0)->SeqAt(1)->letters, "GTAC");
  DeleteClosedWindows();
  EXPECT_EQ(f.form->ToolWindow(ToolKind::ConcatDialog), nullptr);
}

TEST(ResolveAmbiguousSitesWindow, OpensTheResolvedProjectInANewWindow) {
  EditorFixture f;
  TSeqGridFrm* w = f.NewEditor("proj");
  AddDataset(w->GetProject(), "d", {{"s", "ACYT"}}).SeqAt(1)->ploidy = 2;
  w->UpdateAllBits();
  f.dialogs.answers = {true};
  w->Action("Resolveambiguoussites2")->trigger();
  TSeqGridFrm* resolved = EditorTitled(*f.form, "AmbigResolved_proj");
  ASSERT_NE(resolved, nullptr);
  EXPECT_EQ(resolved->GetProject().DatasetAt(0)->Count(), 2);
  EXPECT_EQ(w->GetProject().DatasetAt(0)->Count(), 1);  // the source is unchanged
}

TEST(EditorOutputFolder, BesideTheProjectFileElseAskedOncePerWindow) {
  EditorFixture f;
  const QTemporaryDir saved, picked;
  TSeqGridFrm* w = f.NewEditor("unsaved");
  AddDataset(w->GetProject(), "d", {{"a", "AC"}, {"b", "AG"}});
  int asked = 0;
  const auto pick = [&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Choose the folder for output files");
    ++asked;
    dialog->selectFile(picked.path());
    if (auto* typed = dialog->findChild<QLineEdit*>("fileNameEdit")) typed->setText(picked.path());
    static_cast<QDialog*>(dialog)->accept();
  };
  WhenModalShows(pick);
  w->Action("Functionalregionsreport1")->trigger();
  EXPECT_EQ(asked, 1);
  const QString regions = picked.filePath("Func-regions.csv");
  EXPECT_TRUE(QFile::exists(regions));
  EXPECT_EQ(f.dialogs.notices.back(),
            "Functional regions report saved to file " + regions.toStdString());
  w->Action("SNPsreport1")->trigger();  // not asked again
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(QFile::exists(picked.filePath("SNPreport.csv")));

  // A window opened from a file writes beside it, without asking.
  const QString file = saved.filePath("loci.df");
  ASSERT_TRUE(WriteProject(file.toStdString(), w->GetProject(), GridFileSettings{}));
  TSeqGridFrm* opened = f.NewEditor("loci.df");
  opened->filePath = file;
  AddDataset(opened->GetProject(), "d", {{"a", "AC"}});
  opened->Action("Codingregionsreport1")->trigger();
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(QFile::exists(saved.filePath("CDS_Report.txt")));
  EXPECT_TRUE(QFile::exists(saved.filePath("CDS_Report_stopCodons.csv")));
  bool reportShown = false;
  for (QMdiSubWindow* sub : f.form->MdiArea()->subWindowList())
    reportShown = reportShown || sub->widget()->windowTitle() == "Coding regions report";
  EXPECT_TRUE(reportShown);
}

TEST(AnalysisOutputFolder, DialogsWriteBesideTheEditorsFileOrAskForThemselves) {
  EditorFixture f;
  const QTemporaryDir saved, picked;
  TSeqGridFrm* w = f.NewEditor("demo");
  w->filePath = saved.filePath("demo.df");
  AddDataset(w->GetProject(), "L", {{"a", "ACGTACGT"}, {"b", "ACGAACGT"}, {"c", "TCGAACGA"}});
  w->UpdateAllBits();
  w->Action("Polymorphicsites1")->trigger();
  auto* sites = qobject_cast<TBaseDialogBox1*>(f.form->ToolWindow(ToolKind::ShowPolymSites));
  ASSERT_NE(sites, nullptr);
  sites->OkButton->click();  // "#Double Mut." and "SNPlist" are checked by default
  EXPECT_TRUE(QFile::exists(saved.filePath("DoubleMuts.csv")));
  EXPECT_TRUE(QFile::exists(saved.filePath("SNPlist.csv")));

  // A dialog that no editor window opened asks for its own folder, once.
  TDNApolymDbox* polym = NewDNApolDbox(*f.form);
  polym->InitData(&w->GetProject());
  polym->cbFileOutput->setChecked(true);
  int asked = 0;
  WhenModalShows([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    ++asked;
    if (auto* typed = dialog->findChild<QLineEdit*>("fileNameEdit")) typed->setText(picked.path());
    static_cast<QDialog*>(dialog)->accept();
  });
  polym->OkButton->click();
  polym->OkButton->click();
  EXPECT_EQ(asked, 1);
  const QString text = picked.filePath("output.txt");
  EXPECT_TRUE(QFile::exists(text));
  EXPECT_EQ(f.dialogs.notices.back(), "Textual output was saved to file " + text.toStdString());
}
