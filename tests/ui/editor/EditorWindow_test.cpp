// SPDX-License-Identifier: GPL-3.0-or-later
// The sequence editor window: status bars and caption, project tree, menus over the grid,
// keys shared with the main window, closing, opening into the window.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QColorDialog>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QSlider>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "../ShellFixture.h"
#include "EditorFixture.h"
#include "io/FormatTables.h"
#include "ui/analysis/BaseDbox.h"
#include "ui/editor/FindDialogs.h"
#include "ui/editor/ImportGroupsCommand.h"
#include "ui/editor/ProjectTree.h"
#include "ui/viewers/RepUnit.h"

namespace {

QString WriteText(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  QFile f(dir.filePath(name));
  f.open(QIODevice::WriteOnly);
  f.write(bytes);
  return f.fileName();
}

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(TSeqGridFrmStatus, PanelsCaptionAndSequenceBarFollowTheProject) {
  EditorFixture f;
  TSeqGridFrm* w = f.NewEditor("proj");
  ASSERT_NE(w, nullptr);
  TDataProj& p = w->GetProject();
  AddDataset(p, "first", {{"a", "ACGT"}});
  TDataSeq& ds = AddDataset(p, "second", {{"b", "ACGTAC"}, {"c", "ACG"}});
  TIndivid ind;
  ind.indName = "I1";
  p.AddIndivid(ind);
  TGroup g;
  g.grpName = "Pop1";
  p.AddGroup(g);
  TSeq& row2 = *ds.SeqAt(2);
  row2.quality = {10, 20, 30};
  row2.reversed = true;
  row2.plusStrand = false;
  ds.currentRow = 2;
  ds.cursorPos = 3;
  w->UpdateAllBits();

  EXPECT_EQ(w->StatusPanelText(0), QString("Datasets: 2"));
  EXPECT_EQ(w->StatusPanelText(1), QString("Sequences: 3"));
  EXPECT_EQ(w->StatusPanelText(2), QString("Individs: 1"));
  EXPECT_EQ(w->StatusPanelText(3), QString("Groups: 1"));  // the outgroup is not counted
  EXPECT_EQ(w->StatusPanelText(9), QString("UnLocked"));
  EXPECT_EQ(w->GridBox->title(), QString("Dataset: second"));
  const QStringList seqBar{"DNA", "Pos: 3", "Q: 30", "Seq: 2", "Overwrite", "R", "-"};
  for (int i = 0; i < seqBar.size(); ++i) EXPECT_EQ(w->SeqStatusPanelText(i), seqBar[i]) << i;

  // Past the stored qualities the letter has none; the lock shows at once.
  ds.cursorPos = 4;
  w->SeqGrid->insertMode = true;
  w->SeqGrid->SetLocked(true);
  EXPECT_EQ(w->StatusPanelText(9), QString("Locked"));
  EXPECT_EQ(w->SeqStatusPanelText(2), QString("Q: 0"));
  EXPECT_EQ(w->SeqStatusPanelText(4), QString("Insert"));

  // A SNP row shows the genomic position stored for the site under the cursor.
  TSeq& snp = *ds.SeqAt(1);
  snp.seqType = kSeqSnp;
  snp.polySitePos = {1200, 1375, 2048};
  ds.currentRow = 1;
  ds.cursorPos = 2;
  f.form->findChild<QAction*>("ShowDatasetNumber1")->trigger();
  w->UpdateAllBits();
  EXPECT_EQ(w->SeqStatusPanelText(0), QString("SNPs"));
  EXPECT_EQ(w->SeqStatusPanelText(1), QString("Pos: 1375"));
  EXPECT_EQ(w->GridBox->title(), QString("Dataset: [2] second"));
}

TEST(TSeqGridFrmLayout, ControlsStartAsTheWindowDescriptionSays) {
  EditorFixture f;
  TSeqGridFrm* w = f.NewEditor();
  struct Slider {
    QSlider* s;
    int min, max, start;
  };
  for (const Slider& c : {Slider{w->ZoomSlider, 0, 20, 10}, Slider{w->rowheightSlider, 10, 100, 10},
                          Slider{w->NameWidthSlider, 1, 400, 10}, Slider{w->XScale, 1, 50, 5},
                          Slider{w->YScale, 1, 20, 10}}) {
    SCOPED_TRACE(c.s->objectName().toStdString());
    EXPECT_EQ(c.s->minimum(), c.min);
    EXPECT_EQ(c.s->maximum(), c.max);
    EXPECT_EQ(c.s->value(), c.start);
  }
  // The sliders' start positions are not applied: the grid keeps its own row height.
  EXPECT_EQ(w->SeqGrid->RowHeight(), 23);
  w->rowheightSlider->setValue(40);
  EXPECT_EQ(w->SeqGrid->RowHeight(), 40);
  EXPECT_EQ(w->TreeView->toolTip(), QString("Browse items in the project"));
  EXPECT_EQ(w->ZoomSlider->toolTip(), QString("Zoom in/out into the sequence dataset"));
  EXPECT_EQ(w->ChromGroup->title(), QString("Sequence:"));
  EXPECT_EQ(w->GridBox->title(), QString("Dataset: "));  // no dataset yet
}

TEST(TSeqGridFrmPublished, AddNewSeqNamesRowsAfterTheirNumberAndMarksTheProject) {
  EditorFixture f;
  TSeqGridFrm* w = f.NewEditor();
  EXPECT_TRUE(w->SeqEmpty());
  w->AddNewSeq();  // creates the dataset it needs
  w->AddNewSeq();
  const TDataSeq& ds = *w->GetProject().CurrentDataset();
  ASSERT_EQ(ds.Count(), 2);
  EXPECT_EQ(ds.NameAt(1), "Sequence_1");
  EXPECT_EQ(ds.NameAt(2), "Sequence_2");
  EXPECT_TRUE(w->IsModified());
  EXPECT_FALSE(w->SeqEmpty());
  EXPECT_EQ(w->StatusPanelText(1), QString("Sequences: 2"));
}

TEST(TProjectTree, DatasetsAndSequencesNavigateTheGrid) {
  EditorFixture f;
  TSeqGridFrm* w = f.NewEditor();
  TDataProj& p = w->GetProject();
  AddDataset(p, "L1", {{"a", "AC"}});
  AddDataset(p, "L2", {{"b", "AC"}, {"c", "AG"}, {"d", "AT"}});
  TGroup parent, child;
  parent.grpName = "Europe";
  child.grpName = "Alps";
  p.AddGroup(parent);
  p.AddGroup(child);
  ASSERT_TRUE(p.SetGroupParent("Alps", "Europe"));
  w->UpdateAllBits();

  QTreeWidgetItem* datasets = w->TreeView->DatasetsRoot();
  ASSERT_EQ(datasets->childCount(), 2);
  EXPECT_TRUE(datasets->child(1)->font(0).bold());  // the current dataset
  EXPECT_FALSE(datasets->child(0)->font(0).bold());
  emit w->TreeView->itemClicked(datasets->child(0), 0);
  EXPECT_EQ(p.CurrentIndex(), 0);
  EXPECT_EQ(w->GridBox->title(), QString("Dataset: L1"));

  // Sequences are listed once a dataset is opened; clicking one makes it the current row.
  datasets = w->TreeView->DatasetsRoot();
  datasets->child(1)->setExpanded(true);
  ASSERT_EQ(datasets->child(1)->childCount(), 3);
  emit w->TreeView->itemClicked(datasets->child(1)->child(2), 0);
  EXPECT_EQ(p.CurrentIndex(), 1);
  EXPECT_EQ(p.CurrentDataset()->currentRow, 3);
  EXPECT_EQ(w->SeqStatusPanelText(3), QString("Seq: 3"));
  EXPECT_TRUE(w->TreeView->DatasetsRoot()->child(1)->isExpanded());  // kept open on renewal

  // Nested groups hang under their parent; unticking a dataset clears its analysis flag.
  bool found = false;
  QTreeWidgetItem* groups = w->TreeView->GroupsRoot();
  for (int i = 0; i < groups->childCount(); ++i)
    if (groups->child(i)->text(0) == "Europe") {
      found = true;
      ASSERT_EQ(groups->child(i)->childCount(), 1);
      EXPECT_EQ(groups->child(i)->child(0)->text(0), QString("Alps"));
    }
  EXPECT_TRUE(found);
  w->TreeView->DatasetsRoot()->child(0)->setCheckState(0, Qt::Unchecked);
  EXPECT_FALSE(p.DatasetAt(0)->dsSelected);
  EXPECT_TRUE(w->IsModified());
}

TEST(TSeqGridFrmLock, LockedGridIgnoresEditsMadeThroughMenuCommands) {
  EditorFixture f;
  TSeqGridFrm* w = f.NewEditor();
  TDataSeq& ds = AddDataset(w->GetProject(), "L", {{"a", "ACGTACGT"}});
  ds.SeqAt(1)->AddSimpleRegion(3, 5, "", "CDS", kRegCds, 1);
  auto clip = std::make_unique<TSeq>();
  clip->seqName = "x";
  clip->letters = "GG";
  f.form->SeqClipboard().push_back(std::move(clip));
  ds.cursorPos = 2;
  w->UpdateAllBits();
  w->SeqGrid->SetLocked(true);

  w->Action("Paste1")->trigger();
  w->Action("Deleteallcoding1")->trigger();
  EXPECT_EQ(ds.SeqAt(1)->letters, "ACGTACGT");
  EXPECT_FALSE(w->IsModified());
  EXPECT_TRUE(f.dialogs.notices.empty());

  // Unlocked, the same items do their work.
  w->SeqGrid->SetLocked(false);
  w->Action("Paste1")->trigger();
  EXPECT_EQ(ds.SeqAt(1)->letters, "AGGCGTACGT");
  w->Action("Deleteallcoding1")->trigger();  // the coding letters moved along: GTA
  EXPECT_EQ(ds.SeqAt(1)->letters, "AGGCCGT");
  EXPECT_TRUE(w->IsModified());
}

TEST(TSeqGridFrmClipboard, CopyInOneWindowPastesIntoAnother) {
  EditorFixture f;
  TSeqGridFrm* a = f.NewEditor("a");
  TDataSeq& source = AddDataset(a->GetProject(), "L", {{"r1", "ACGTACGT"}, {"r2", "TTTTGGGG"}});
  source.SeqAt(1)->selStart = 3;  // GTAC
  source.SeqAt(1)->selLength = 4;
  source.SeqAt(2)->selStart = 5;  // GG
  source.SeqAt(2)->selLength = 2;
  a->UpdateAllBits();
  a->Action("Copy1")->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "GTAC\r\nGG");
  ASSERT_EQ(f.form->SeqClipboard().size(), 2u);

  // Into an empty dataset every copied piece comes as a row of its own.
  TSeqGridFrm* b = f.NewEditor("b");
  TDataSeq& target = AddDataset(b->GetProject(), "M", {});
  b->UpdateAllBits();
  b->Action("Paste1")->trigger();
  ASSERT_EQ(target.Count(), 2);
  EXPECT_EQ(target.SeqAt(1)->letters, "GTAC");
  EXPECT_EQ(target.SeqAt(2)->letters, "GG");
  EXPECT_TRUE(b->IsModified());
  EXPECT_EQ(b->StatusPanelText(1), QString("Sequences: 2"));

  // Text from the system clipboard goes in at the cursor, without its line breaks.
  QGuiApplication::clipboard()->setText("ac\r\ngt");
  target.currentRow = 2;
  target.cursorPos = 1;
  b->Action("Astextfromwindowsclipboard1")->trigger();
  EXPECT_EQ(target.SeqAt(2)->letters, "acgtGG");
  EXPECT_EQ(source.SeqAt(1)->letters, "ACGTACGT");  // the source window is untouched
}

TEST(TSeqGridFrmFind, FindsInTheActiveEditorWindow) {
  EditorFixture f;
  f.form->show();
  f.form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(f.form.get()));
  TSeqGridFrm* a = f.NewEditor("a");
  TDataSeq& first = AddDataset(a->GetProject(), "L", {{"a1", "CCGATCGAT"}});
  a->UpdateAllBits();
  TSeqGridFrm* b = f.NewEditor("b");
  TDataSeq& second = AddDataset(b->GetProject(), "M", {{"b1", "CCCC"}, {"b2", "CCGATC"}});
  b->UpdateAllBits();
  const auto searchFor = [](const char* text) {
    WhenModalShows([text](QWidget* modal) {
      auto* dialog = qobject_cast<TFindDialog*>(modal);
      if (dialog == nullptr) return;
      dialog->FindEdit->setText(text);
      dialog->accept();
    });
  };

  b->SeqGrid->setFocus();
  QCoreApplication::processEvents();
  ASSERT_TRUE(b->SeqGrid->hasFocus());
  searchFor("gat");
  QTest::keyClick(b->SeqGrid, Qt::Key_F, Qt::ControlModifier);
  ASSERT_EQ(f.dialogs.notices.size(), 1u);
  EXPECT_EQ(f.dialogs.notices[0], "Found in sequence b2\r\nat sequence position: 3");
  EXPECT_EQ(second.currentRow, 2);
  EXPECT_EQ(second.cursorPos, 3);
  EXPECT_EQ(first.cursorPos, 1);

  // The first window searches its own rows.
  f.form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(f.form.get()));
  f.form->MdiArea()->setActiveSubWindow(f.Frame(a));
  a->SeqGrid->setFocus();
  QCoreApplication::processEvents();
  ASSERT_TRUE(a->SeqGrid->hasFocus());
  searchFor("TTT");
  QTest::keyClick(a->SeqGrid, Qt::Key_F, Qt::ControlModifier);
  ASSERT_EQ(f.dialogs.notices.size(), 2u);
  EXPECT_EQ(f.dialogs.notices[1], "Can not find \"TTT\"");
  EXPECT_EQ(second.cursorPos, 3);
}

TEST(TSeqGridFrmClose, ModifiedWindowAsksAndStaysOnCancelOrFailedSave) {
  EditorFixture f;
  TSeqGridFrm* w = f.NewEditor("work");
  QPointer<TSeqGridFrm> alive(w);
  AddDataset(w->GetProject(), "L", {{"a", "ACGT"}}).cursorPos = 1;
  w->UpdateAllBits();
  // A letter typed in the grid marks the project.
  w->SeqGrid->setFocus();
  QTest::keyClick(w->SeqGrid, Qt::Key_G);
  ASSERT_TRUE(w->IsModified());

  f.dialogs.threeWay = {YesNoCancel::Cancel};
  EXPECT_FALSE(f.Frame(w)->close());
  DeleteClosedWindows();
  ASSERT_FALSE(alive.isNull());
  EXPECT_EQ(f.dialogs.questions.back(), "Would you like to save the project work ?");

  // Yes with the save dialog cancelled keeps the window and its data.
  f.dialogs.threeWay = {YesNoCancel::Yes};
  WhenModalShows([](QWidget* dialog) { QMetaObject::invokeMethod(dialog, "reject"); });
  EXPECT_FALSE(f.Frame(w)->close());
  DeleteClosedWindows();
  ASSERT_FALSE(alive.isNull());
  EXPECT_TRUE(w->IsModified());

  f.dialogs.threeWay = {YesNoCancel::No};
  EXPECT_TRUE(f.Frame(w)->close());
  DeleteClosedWindows();
  EXPECT_TRUE(alive.isNull());
  EXPECT_EQ(f.dialogs.questions.size(), 3u);

  // An unmodified window goes without a question.
  TSeqGridFrm* clean = f.NewEditor("clean");
  EXPECT_TRUE(f.Frame(clean)->close());
  EXPECT_EQ(f.dialogs.questions.size(), 3u);
}

// "Yes" on a project that has a project file writes that file, with no save dialog; a
// project opened from an exchange format still asks where to save.
TEST(TSeqGridFrmClose, YesSavesAProjectToItsOwnFileWithoutAsking) {
  EditorFixture f;
  QTemporaryDir dir;
  TSeqGridFrm* first = f.NewEditor("work");
  AddDataset(first->GetProject(), "L", {{"a", "ACGT"}, {"b", "ACGA"}});
  const QString file = dir.filePath("work.df");
  ASSERT_TRUE(SaveWindowAs(*f.form, *first, 1, file));
  ASSERT_TRUE(f.Frame(first)->close());

  f.form->OpenFiles({file});
  TSeqGridFrm* w = AsSeqGridFrm(f.form->CurrentEditor());
  ASSERT_NE(w, nullptr);
  ASSERT_EQ(w->GetProject().TotalSeqCount(), 2);
  AddDataset(w->GetProject(), "M", {{"c", "TTTT"}});
  w->SetModified(true);
  auto dialogs = std::make_shared<int>(0);
  WhenModalShows([dialogs](QWidget* d) {
    ++*dialogs;
    QMetaObject::invokeMethod(d, "reject");
  });
  f.dialogs.threeWay = {YesNoCancel::Yes};
  EXPECT_TRUE(f.Frame(w)->close());
  DeleteClosedWindows();
  EXPECT_EQ(*dialogs, 0);

  f.form->OpenFiles({file});
  TSeqGridFrm* reopened = AsSeqGridFrm(f.form->CurrentEditor());
  ASSERT_NE(reopened, nullptr);
  EXPECT_EQ(reopened->GetProject().DatasetCount(), 2);
  EXPECT_EQ(reopened->GetProject().TotalSeqCount(), 3);

  const QString fasta = WriteText(dir, "locus.fas", ">s1\nACGT\n");
  f.form->OpenFiles({fasta});
  TSeqGridFrm* fromFasta = AsSeqGridFrm(f.form->CurrentEditor());
  ASSERT_NE(fromFasta, nullptr);
  fromFasta->SetModified(true);
  f.dialogs.threeWay = {YesNoCancel::Yes};
  EXPECT_FALSE(f.Frame(fromFasta)->close());  // the save dialog was cancelled
  EXPECT_EQ(*dialogs, 1);
  EXPECT_EQ(ReadBytes(fasta), QByteArray(">s1\nACGT\n"));
  fromFasta->SetModified(false);
}

TEST(TSeqGridFrmImportGroups, GroupsFileJoinsSequencesAndTheNoticeSaysWhoJoinedWhat) {
  EditorFixture f;
  QTemporaryDir dir;
  TSeqGridFrm* w = f.NewEditor("study");
  AddDataset(w->GetProject(), "L", {{"a1", "ACGT"}, {"a2", "ACGA"}, {"b1", "TCGA"}});
  w->UpdateAllBits();
  QAction* item = w->Action("ImportGroups1");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->text(), "Import groups...");
  EXPECT_TRUE(item->isEnabled());
  const QString file = WriteText(dir, "groups.csv", "a1,North\r\na2,North\nb1\tSouth\nzz,South\n");
  ASSERT_TRUE(ImportGroupsFile(*w, file));
  EXPECT_EQ(
      f.dialogs.notices,
      std::vector<std::string>{"Groups from groups.csv:\r\n2 sequences joined North\r\n"
                               "1 sequence joined South\r\n1 name matches no sequence: zz\r\n"});
  EXPECT_EQ(w->StatusPanelText(3), QString("Groups: 2"));
  EXPECT_TRUE(w->IsModified());
  const TDataSeq& ds = *w->GetProject().DatasetAt(0);
  EXPECT_EQ(w->GetProject().GroupOfSeq(ds, ds.SeqAt(3)->seqId),
            w->GetProject().GroupKeyByName("South"));
  EXPECT_FALSE(ImportGroupsFile(*w, dir.filePath("missing.csv")));
  w->SetModified(false);
}

TEST(TSeqGridFrmClose, AnalysisDialogOnTheProjectClosesWithTheWindow) {
  EditorFixture f;
  TSeqGridFrm* w = f.NewEditor();
  AddDataset(w->GetProject(), "L", {{"a", "ACGT"}, {"b", "ACGA"}});
  w->UpdateAllBits();
  w->Action("DNApolymorphism1")->trigger();
  QPointer<QWidget> dialog = f.form->ToolWindow(ToolKind::DNApolymDbox);
  ASSERT_FALSE(dialog.isNull());
  EXPECT_TRUE(f.dialogs.notices.empty());
  ASSERT_TRUE(f.Frame(w)->close());
  DeleteClosedWindows();
  EXPECT_TRUE(dialog.isNull());  // it would otherwise hold a freed project
}

// Ctrl+O is "Find overlaps" while focus is in an editor window and "&Open" everywhere else.
TEST(TSeqGridFrmShortcuts, CtrlORunsFindOverlapsInTheEditorAndOpensElsewhere) {
  EditorFixture f;
  f.form->show();
  f.form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(f.form.get()));
  TSeqGridFrm* w = f.NewEditor();
  // b's first 14 letters are a's last 14: laid out, b moves 6 columns right.
  AddDataset(w->GetProject(), "reads",
             {{"a", "GGATCACAGTCTACACTGCT"}, {"b", "CAGTCTACACTGCTCACTCC"}});
  w->UpdateAllBits();
  QAction* overlaps = w->Action("Findoverlaps1");
  ASSERT_NE(overlaps, nullptr);
  EXPECT_EQ(overlaps->shortcut(), QKeySequence("Ctrl+O"));
  EXPECT_TRUE(overlaps->isEnabled());
  QSignalSpy opened(f.form->findChild<QAction*>("Open1"), &QAction::triggered);

  f.form->MdiArea()->setActiveSubWindow(f.Frame(w));
  w->SeqGrid->setFocus();
  QCoreApplication::processEvents();
  ASSERT_TRUE(w->SeqGrid->hasFocus());
  f.dialogs.answers = {true};
  QTest::keyClick(w->SeqGrid, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(opened.count(), 0);
  EXPECT_EQ(f.dialogs.questions,
            std::vector<std::string>{"Find overlaps for all sequences in the dataset?"});
  EXPECT_EQ(w->GetProject().CurrentDataset()->SeqAt(2)->letters, "------CAGTCTACACTGCTCACTCC");

  auto rejected = std::make_shared<int>(0);
  WhenModalShows([rejected](QWidget* dialog) {
    ++*rejected;
    QMetaObject::invokeMethod(dialog, "reject");
  });
  TRepForm* report = f.form->NewRepForm();
  f.form->MdiArea()->setActiveSubWindow(f.Frame(report));
  report->Redit1()->setFocus();
  QCoreApplication::processEvents();
  ASSERT_TRUE(report->Redit1()->hasFocus());
  QTest::keyClick(report->Redit1(), Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(opened.count(), 1);
  EXPECT_EQ(*rejected, 1);
}

TEST(TSeqGridFrmAssembly, ConsensusItemsAndAssembleContigsAreOffered) {
  EditorFixture f;
  TSeqGridFrm* w = f.NewEditor();
  AddDataset(w->GetProject(), "d", {{"a", "ACGT"}, {"b", "ACGT"}});
  w->UpdateAllBits();
  for (const char* name :
       {"Assemblecontigs1", "Createconsensus1", "Addconsensus2", "Consensusinthesameproject1",
        "Consensusinanewproject2", "Showcontig1", "Reconstructhaplotypes1"}) {
    SCOPED_TRACE(name);
    ASSERT_NE(w->Action(name), nullptr);
    EXPECT_TRUE(w->Action(name)->isEnabled());
  }
  EXPECT_EQ(w->Action("Showcontig1")->shortcut(), QKeySequence("Ctrl+K"));
  w->Action("Addconsensus2")->trigger();
  EXPECT_EQ(w->GetProject().CurrentDataset()->NameAt(3), "Consensus");
  EXPECT_EQ(f.dialogs.notices, std::vector<std::string>{"Consensus added"});
  const int windows = static_cast<int>(f.form->MdiArea()->subWindowList().size());
  w->Action("Consensusinanewproject1")->trigger();
  ASSERT_EQ(static_cast<int>(f.form->MdiArea()->subWindowList().size()), windows + 1);
  EXPECT_EQ(f.form->MdiArea()->subWindowList().back()->widget()->windowTitle(), "Cons");
}

TEST(TSeqGridFrmOpen, FilesGoIntoThisWindowAndUnreadableOnesAreReported) {
  EditorFixture f;
  QTemporaryDir dir;
  const QString fasta = WriteText(dir, "locus.fas", ">s1\nACGTAC\n>s2\nACGAAC\n");
  const QString odd = WriteText(dir, "odd.dat", "nothing to see\n");
  TSeqGridFrm* first = f.NewEditor("first");
  TSeqGridFrm* second = f.NewEditor("second");
  EditorOpenFiles(*f.form, *first, {fasta, odd}, kCodeAuto);
  EXPECT_EQ(first->GetProject().DatasetCount(), 1);
  EXPECT_EQ(first->GetProject().TotalSeqCount(), 2);
  EXPECT_EQ(second->GetProject().DatasetCount(), 0);
  EXPECT_EQ(f.form->MdiArea()->subWindowList().size(), 2);  // no new windows
  EXPECT_EQ(f.dialogs.notices,
            std::vector<std::string>{"I/O Error: can not open file " + odd.toStdString()});
  EXPECT_TRUE(first->IsModified());
  EXPECT_EQ(first->StatusPanelText(1), QString("Sequences: 2"));

  // A locked window takes no dataset.
  second->SeqGrid->SetLocked(true);
  EditorOpenFiles(*f.form, *second, {fasta}, kCodeAuto);
  EXPECT_EQ(second->GetProject().TotalSeqCount(), 0);
}

TEST(TSeqGridFrmOpen, NameFilterReadsOnlyDatasetsTheProjectLacks) {
  EditorFixture f;
  QTemporaryDir dir;
  TSeqGridFrm* source = f.NewEditor("source");
  AddDataset(source->GetProject(), "L1", {{"a", "ACGT"}});
  AddDataset(source->GetProject(), "L2", {{"b", "GGCC"}});
  const QString file = dir.filePath("two.df");
  ASSERT_TRUE(SaveWindowAs(*f.form, *source, 1, file));

  TSeqGridFrm* w = f.NewEditor("target");
  AddDataset(w->GetProject(), "L1", {{"x", "TTTT"}});
  w->UpdateAllBits();
  w->FilterOpenFile(file, 2);  // "Open all but datasets with names already in the project"
  ASSERT_EQ(w->GetProject().DatasetCount(), 2);
  EXPECT_EQ(w->GetProject().DatasetAt(0)->NameAt(1), "x");  // L1 of the window, untouched
  EXPECT_EQ(w->GetProject().DatasetAt(1)->dsName, "L2");
  EXPECT_EQ(w->GetProject().DatasetAt(1)->NameAt(1), "b");
  EXPECT_TRUE(w->IsModified());
  EXPECT_EQ(w->StatusPanelText(0), QString("Datasets: 2"));
}

TEST(TSeqGridFrmColors, OwnColourChangesOnlyThisGridUntilTheNextRenewal) {
  EditorFixture f;
  TSeqGridFrm* a = f.NewEditor("a");
  TSeqGridFrm* b = f.NewEditor("b");
  const std::int32_t programA = f.form->Colors()[kLetterAColor];
  WhenModalShows([](QWidget* modal) {
    if (auto* dialog = qobject_cast<QColorDialog*>(modal)) {
      dialog->setCurrentColor(QColor(1, 2, 3));
      dialog->accept();
    }
  });
  a->Action("EditorColor13")->trigger();  // "A-color"
  EXPECT_EQ(a->SeqGrid->colorScheme[kLetterAColor], RgbColor(1, 2, 3));
  EXPECT_EQ(b->SeqGrid->colorScheme[kLetterAColor], programA);
  EXPECT_EQ(f.form->Colors()[kLetterAColor], programA);
  a->UpdateAllBits();  // the program's scheme comes back
  EXPECT_EQ(a->SeqGrid->colorScheme[kLetterAColor], programA);
}
