// SPDX-License-Identifier: GPL-3.0-or-later
// Opening files into project windows and saving them, through the main window's flows.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSpinBox>
#include <QTemporaryDir>

#include "ShellFixture.h"
#include "io/FormatTables.h"
#include "ui/editor/OpenCommands.h"
#include "ui/editor/ProjectTree.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/grid/QSeqGrid3.h"

namespace {

QString WriteText(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  QFile f(dir.filePath(name));
  f.open(QIODevice::WriteOnly);
  f.write(bytes);
  return f.fileName();
}

std::vector<TSeqGridFrm*> EditorWindows(TMainForm& form) {
  std::vector<TSeqGridFrm*> out;
  for (QMdiSubWindow* sub : form.MdiArea()->subWindowList())
    if (auto* w = AsSeqGridFrm(sub->widget())) out.push_back(w);
  return out;
}

struct OpenFixture : ShellFixture {
  OpenFixture() { InstallOpenDispatcher(*form); }
};

}  // namespace

TEST(OpenDispatcher, InstallingItEnablesOpenFolderAndSave) {
  OpenFixture f;
  EXPECT_TRUE(f.Action("Open1")->isEnabled());
  EXPECT_TRUE(f.Action("OpenFolder1")->isEnabled());
  EXPECT_TRUE(f.Action("Save1")->isEnabled());
  EXPECT_TRUE(f.Action("New1")->isEnabled());
}

TEST(OpenDispatcher, CommandLineFileOpensSavesAndReopens) {
  OpenFixture f;
  QTemporaryDir dir;
  const QString fasta = WriteText(dir, "locus.fas", ">s1\nACGTAC\n>s2\nACGAAC\n");
  WriteText(dir, "notes.txt", "nothing recognisable\n");
  f.form->OpenFiles({fasta, dir.filePath("notes.txt")});
  auto windows = EditorWindows(*f.form);
  ASSERT_EQ(windows.size(), 1u);  // the unrecognised file is skipped without a message
  EXPECT_TRUE(f.dialogs.questions.empty());
  TSeqGridFrm* w = windows[0];
  EXPECT_EQ(w->windowTitle(), fasta);  // captioned with the name as typed
  ASSERT_EQ(w->GetProject().DatasetCount(), 1);
  EXPECT_EQ(w->GetProject().DatasetAt(0)->Count(), 2);
  EXPECT_EQ(w->TreeView->DatasetsRoot()->childCount(), 1);
  EXPECT_EQ(w->GridBox->title().toStdString(), "Dataset: locus.fas");
  EXPECT_EQ(w->StatusPanelText(1), QString("Sequences: 2"));
  EXPECT_FALSE(w->IsModified());

  // An export leaves the project marked as modified; only the project save clears it.
  w->SetModified(true);
  const QString exported = dir.filePath("copy.fasta");
  f.dialogs.answers = {false};  // no FASTA header
  EXPECT_TRUE(SaveWindowAs(*f.form, *w, 5, exported));
  EXPECT_TRUE(w->IsModified());
  EXPECT_TRUE(QFile::exists(exported));
  w->SeqGrid->bigStep = 7;  // the file keeps the grid's settings
  const QString saved = dir.filePath("locus.df");
  EXPECT_TRUE(SaveWindowAs(*f.form, *w, 1, saved));
  EXPECT_FALSE(w->IsModified());
  EXPECT_EQ(w->filePath, saved);
  EXPECT_EQ(w->windowTitle(), QString("locus.df"));

  f.form->OpenFiles({saved});
  windows = EditorWindows(*f.form);
  ASSERT_EQ(windows.size(), 2u);
  EXPECT_EQ(windows[1]->SeqGrid->bigStep, 7);
  TDataProj& reopened = windows[1]->GetProject();
  ASSERT_EQ(reopened.DatasetCount(), 1);
  const TDataSeq& ds = *reopened.DatasetAt(0);
  ASSERT_EQ(ds.Count(), 2);
  EXPECT_EQ(ds.NameAt(1), "s1");
  EXPECT_EQ(ds.SeqAt(2)->letters, "ACGAAC");
}

TEST(MainOpenFiles, SeveralFilesInOneWindowWithTheFirstNameMovedToTheEnd) {
  OpenFixture f;
  QTemporaryDir dir;
  const QString c = WriteText(dir, "c.fas", ">c\nAAAA\n");
  const QString a = WriteText(dir, "a.fas", ">a\nCCCC\n");
  const QString b = WriteText(dir, "b.fas", ">b\nGGGG\n");
  f.dialogs.answers = {false};  // "Open files in separate windows?" No
  MainOpenFiles(*f.form, {c, a, b}, kCodeAuto);
  EXPECT_EQ(f.dialogs.questions, (std::vector<std::string>{"Open files in separate windows?"}));
  auto windows = EditorWindows(*f.form);
  ASSERT_EQ(windows.size(), 1u);
  TDataProj& p = windows[0]->GetProject();
  ASSERT_EQ(p.DatasetCount(), 3);
  EXPECT_EQ(p.DatasetAt(0)->NameAt(1), "a");
  EXPECT_EQ(p.DatasetAt(1)->NameAt(1), "b");
  EXPECT_EQ(p.DatasetAt(2)->NameAt(1), "c");
}

TEST(MainOpenFiles, UnrecognisedFileIsOfferedToTheTextReader) {
  OpenFixture f;
  QTemporaryDir dir;
  const QString odd = WriteText(dir, "odd.dat", "ACGTACGTACGT\n");
  f.dialogs.answers = {true};
  MainOpenFiles(*f.form, {odd}, kCodeAuto);
  ASSERT_EQ(f.dialogs.questions.size(), 1u);
  EXPECT_EQ(f.dialogs.questions[0], "Unable to recognise format of the file: \r\n\r\n" +
                                        odd.toStdString() +
                                        "\r\n\r\nIt may be interpreted incorrectly. Attempt to "
                                        "read it anyway?");
  auto windows = EditorWindows(*f.form);
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0]->windowTitle(), QString("odd.dat"));
  EXPECT_EQ(windows[0]->GetProject().TotalSeqCount(), 1);
}

// The shared PHYLIP samples (Biopython's and EMBOSS's test files) open with "Auto" as the
// command-line tool reads them, and the dialog's PHYLIP entry lists both extensions.
TEST(MainOpenFiles, PhylipFilesOpenWithTheAutoEntry) {
  OpenFixture f;
  EXPECT_TRUE(OpenDialogFilters().at(kCodePhylip - 1).contains("*.phylip"));
  struct Case {
    const char* file;
    int sequences, length;
  };
  for (const Case& c : {Case{"dna.phylip", 3, 120}, Case{"sequential.phy", 3, 384},
                        Case{"interlaced.phy", 3, 384}}) {
    SCOPED_TRACE(c.file);
    const auto before = EditorWindows(*f.form).size();
    MainOpenFiles(*f.form, {QString(NODRIX_TEST_DATA) + "/" + c.file}, kCodeAuto);
    const auto windows = EditorWindows(*f.form);
    ASSERT_EQ(windows.size(), before + 1);
    const TDataProj& p = windows.back()->GetProject();
    ASSERT_EQ(p.DatasetCount(), 1);
    EXPECT_EQ(p.DatasetAt(0)->Count(), c.sequences);
    EXPECT_EQ(p.DatasetAt(0)->AlignmentLength(true), c.length);
  }
  for (const std::string& q : f.dialogs.questions)  // no "Unable to recognise format ..."
    EXPECT_EQ(q, "Open in the current project window?");
}

TEST(MainOpenFiles, BinaryFileIsRefusedNotOfferedToTheTextReader) {
  OpenFixture f;
  QTemporaryDir dir;
  const QString gz = WriteText(dir, "reads.fa.gz", QByteArray("\x1f\x8b\x08\0>abc\n", 8));
  MainOpenFiles(*f.form, {gz}, kCodeAuto);
  EXPECT_TRUE(f.dialogs.questions.empty());
  ASSERT_EQ(f.dialogs.notices.size(), 1u);
  EXPECT_TRUE(f.dialogs.notices[0].starts_with("Unable to recognise format of the file:"));
  for (TSeqGridFrm* w : EditorWindows(*f.form)) EXPECT_EQ(w->GetProject().TotalSeqCount(), 0);
}

TEST(MainOpenFiles, FastaOverTheLimitAsksWhereToStart) {
  OpenFixture f;
  f.form->Settings().maxSeqPerDataset = 2;
  QTemporaryDir dir;
  const QString fasta = WriteText(dir, "big.fas", ">r1\nA\n>r2\nC\n>r3\nG\n");
  QString caption;
  WhenModalShows([&](QWidget* modal) {
    caption = modal->windowTitle();
    auto* start = modal->findChild<QSpinBox*>("SEstartPos");
    if (start != nullptr) start->setValue(2);
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->accept();
  });
  MainOpenFiles(*f.form, {fasta}, kCodeAuto);
  EXPECT_EQ(caption, QString("File too big"));
  const auto windows = EditorWindows(*f.form);
  ASSERT_EQ(windows.size(), 1u);
  const TDataSeq& ds = *windows[0]->GetProject().DatasetAt(0);
  ASSERT_EQ(ds.Count(), 2);
  EXPECT_EQ(ds.NameAt(1), "r2");
  EXPECT_EQ(ds.NameAt(2), "r3");
}

TEST(OpenFolder, ReadsEveryMatchingFastaFileIntoOneWindow) {
  OpenFixture f;
  QTemporaryDir dir;
  for (int i = 0; i < 3; ++i) WriteText(dir, QString("f%1.fasta").arg(i), QByteArray(">s\nACGT\n"));
  WriteText(dir, "skip.txt", ">t\nAC\n");
  f.form->RunOpenFolder(dir.path(), "*.fasta");
  EXPECT_EQ(f.dialogs.notices.back(), "Opened 3 files");
  auto windows = EditorWindows(*f.form);
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0]->GetProject().DatasetCount(), 3);
}
