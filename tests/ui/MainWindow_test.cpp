// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "ShellFixture.h"
#include "ui/shell/MessagePane.h"
#include "ui/shell/ValuePrompt.h"
#include "ui/viewers/RepUnit.h"

TEST(TMainForm, StartsAsAMultipleDocumentWindowTitledNodrix3) {
  ShellFixture f;
  f.form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f.form.get()));
  EXPECT_EQ(f.form->windowTitle(), QString("Nodrix3"));
  ASSERT_NE(f.form->MdiArea(), nullptr);
  EXPECT_TRUE(f.form->MdiArea()->subWindowList().isEmpty());
}

TEST(TMainFormStart, EverySettingStartsAtItsDefault) {
  ShellFixture f;
  QCoreApplication::processEvents();
  const AppSettings& s = f.form->Settings();
  EXPECT_EQ(s.maxSeqPerDataset, 30000);
  EXPECT_EQ(s.maxMutPerDataset, 20000);
  EXPECT_EQ(s.alignWindowSize, 5000);
  EXPECT_TRUE(s.reportErrors);
  EXPECT_FALSE(s.showDatasetNumber);
  EXPECT_EQ(s.versionText, "v3.4{test7i}");
  EXPECT_EQ(QDir(QString::fromStdString(s.programFolder)), QDir(NODRIX_BINARY_DIR));
  EXPECT_EQ(f.form->GenCode().codeName, "Universal");
  EXPECT_EQ(f.form->GenCode().aaCount, 21);
  EXPECT_EQ(f.form->Colors(), DefaultColorScheme());
  EXPECT_FALSE(f.form->cancelRequested());
  EXPECT_GE(f.form->Enzymes().size(), 40u);  // the shipped RENZYM.txt
  EXPECT_TRUE(f.dialogs.notices.empty());
  EXPECT_FALSE(f.form->ProgressBar()->isVisibleTo(f.form.get()));
  EXPECT_FALSE(f.form->Messages()->isVisibleTo(f.form.get()));
  EXPECT_EQ(f.form->CurrentEditor(), nullptr);
}

TEST(TMainFormStart, MissingEnzymeListIsNoticedOnceTheWindowRuns) {
  QTemporaryDir empty;
  ShellFixture f(empty.path());
  EXPECT_TRUE(f.form->Enzymes().empty());
  QCoreApplication::processEvents();
  EXPECT_EQ(f.dialogs.notices,
            std::vector<std::string>{
                "Cannot find file RENZYM.txt - no restriction enzyme analyses will be posible"});
}

TEST(TMainFormMenus, CommandsWithoutTheirWindowsArePresentButDisabled) {
  ShellFixture f;
  ASSERT_NE(f.Action("Open1"), nullptr);
  EXPECT_EQ(f.Action("Open1")->text(), QString("&Open"));
  EXPECT_EQ(f.Action("Open1")->shortcut(), QKeySequence("Ctrl+O"));
  EXPECT_EQ(f.Action("New1")->shortcut(), QKeySequence("Ctrl+N"));
  for (const char* name : {"New1", "Open1", "OpenFolder1", "Save1"}) {
    ASSERT_NE(f.Action(name), nullptr) << name;
    EXPECT_FALSE(f.Action(name)->isEnabled()) << name;
  }
  for (const char* name : {"Close1", "Exit1", "MaxSeqPerDataset1", "GeneticCode1", "FragmentFasta1",
                           "ProcFastqPE1", "RunProgram1", "Cascade1", "Tile1", "MinimizeAll1",
                           "WindowClose1", "About1", "RestrictionEnzymes1",
                           "CoalescentSimulations1"}) {
    ASSERT_NE(f.Action(name), nullptr) << name;
    EXPECT_TRUE(f.Action(name)->isEnabled()) << name;
  }
  EXPECT_EQ(f.form->findChild<QMenu*>("Colors1")->actions().size(), 16);
}

TEST(TMainFormMessages, ReportErrorShowsThePaneAndAppends) {
  ShellFixture f;
  f.form->show();
  f.form->ReportError("first problem");
  f.form->ReportError("second problem");
  EXPECT_TRUE(f.form->Messages()->isVisible());
  EXPECT_EQ(f.form->Messages()->Text(), QString("first problem\nsecond problem\n"));
}

TEST(TMainFormMessages, WithReportingOffThePaneStaysHiddenAndUnchanged) {
  ShellFixture f;
  f.form->show();
  QAction* toggle = f.Action("SwitchOffErrorReporting1");
  EXPECT_EQ(toggle->text(), QString("Switch off error reporting"));
  toggle->trigger();
  EXPECT_FALSE(f.form->Settings().reportErrors);
  EXPECT_EQ(toggle->text(), QString("Do report errors"));
  f.form->ReportError("dropped");
  EXPECT_FALSE(f.form->Messages()->isVisible());
  EXPECT_EQ(f.form->Messages()->Text(), QString());
  toggle->trigger();
  EXPECT_EQ(toggle->text(), QString("Do NOT report errors"));
  f.form->ReportError("kept");
  EXPECT_TRUE(f.form->Messages()->isVisible());
  EXPECT_EQ(f.form->Messages()->Text(), QString("kept\n"));
}

TEST(TMainFormMessages, HideButtonAsksAndHidesOnlyOnYes) {
  ShellFixture f;
  f.form->show();
  f.form->ReportError("x");
  f.dialogs.answers = {false, true};
  f.form->Messages()->HideButton()->click();
  EXPECT_TRUE(f.form->Messages()->isVisible());
  f.form->Messages()->HideButton()->click();
  EXPECT_FALSE(f.form->Messages()->isVisible());
  EXPECT_EQ(f.dialogs.questions,
            (std::vector<std::string>{"Hide error list?", "Hide error list?"}));
}

TEST(TMainFormOptions, LimitPromptsSetTheValueConfirmedWithOk) {
  ShellFixture f;
  WhenModalShows([](QWidget* modal) {
    auto* prompt = qobject_cast<ValuePrompt*>(modal);
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->NumberBox()->value(), 30000);
    prompt->NumberBox()->setValue(500);
    prompt->accept();
  });
  f.Action("MaxSeqPerDataset1")->trigger();
  EXPECT_EQ(f.form->Settings().maxSeqPerDataset, 500);

  WhenModalShows([](QWidget* modal) {
    auto* prompt = qobject_cast<ValuePrompt*>(modal);
    ASSERT_NE(prompt, nullptr);
    prompt->NumberBox()->setValue(60000);  // above the limit of 50000
    prompt->accept();
  });
  f.Action("MaxMutPerDataset1")->trigger();
  EXPECT_EQ(f.form->Settings().maxMutPerDataset, 50000);

  WhenModalShows([](QWidget* modal) {
    auto* prompt = qobject_cast<ValuePrompt*>(modal);
    ASSERT_NE(prompt, nullptr);
    prompt->NumberBox()->setValue(999);  // below the limit of 1000
    prompt->accept();
  });
  f.Action("AlignmentWindowSize1")->trigger();
  EXPECT_EQ(f.form->Settings().alignWindowSize, 1000);

  WhenModalShows([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
  f.Action("AlignmentWindowSize1")->trigger();  // closed without Ok: nothing changes
  EXPECT_EQ(f.form->Settings().alignWindowSize, 1000);

  EXPECT_EQ(f.dialogs.notices,
            (std::vector<std::string>{"Max number of seq per dataset is now set to 500",
                                      "Max number of mutations per dataset is now set to 50000",
                                      "Alignment window size is now set to 1000"}));
}

TEST(TMainFormOptions, ShowDatasetNumberTogglesItsCaption) {
  ShellFixture f;
  QAction* item = f.Action("ShowDatasetNumber1");
  EXPECT_EQ(item->text(), QString("Show dataset number: OFF"));
  item->trigger();
  EXPECT_TRUE(f.form->Settings().showDatasetNumber);
  EXPECT_EQ(item->text(), QString("Show dataset number: ON"));
  item->trigger();
  EXPECT_EQ(item->text(), QString("Show dataset number: OFF"));
}

TEST(TMainFormEditors, NewEditorWindowUsesTheInstalledFactoryAndNamesUnnamedWindows) {
  ShellFixture f;
  EXPECT_EQ(f.form->NewEditorWindow(), nullptr);
  QString given;
  f.form->SetEditorFactory([&given](TMainForm&, const QString& caption) {
    given = caption;
    return new QPlainTextEdit;
  });
  EXPECT_TRUE(f.Action("New1")->isEnabled());
  f.form->NewRepForm();
  QWidget* editor = f.form->NewEditorWindow();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(given, QString("No_name2"));  // one child window open before
  EXPECT_EQ(f.form->CurrentEditor(), editor);
  EXPECT_EQ(f.form->NewEditorWindow("seqs.fas")->windowTitle(), QString("seqs.fas"));
  EXPECT_EQ(f.form->MdiArea()->subWindowList().size(), 3);
}

TEST(TMainFormEditors, CommandLineFilesGoToTheDispatcherOnceOneIsInstalled) {
  ShellFixture f;
  QTemporaryDir dir;
  const QString present = dir.filePath("a.fas");
  QFile file(present);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(">a\nACGT\n");
  file.close();
  f.form->OpenFiles({present});
  EXPECT_NE(f.form->Messages()->Text().indexOf("opening sequence files is not available"), -1);
  QStringList opened;
  f.form->SetFileOpener([&opened](TMainForm&, const QString& path, QWidget*) {
    opened << path;
    return true;
  });
  EXPECT_TRUE(f.Action("Open1")->isEnabled());
  f.form->OpenFiles({present, dir.filePath("missing.fas")});
  EXPECT_EQ(opened, QStringList{present});
  EXPECT_NE(f.form->Messages()->Text().indexOf("File not found: " + dir.filePath("missing.fas")),
            -1);
}

TEST(TMainFormEditors, OpenFilesFromFolderReadsEveryMatchingFileIntoOneNewWindow) {
  ShellFixture f;
  EXPECT_FALSE(f.Action("OpenFolder1")->isEnabled());
  QTemporaryDir dir;
  for (const char* name : {"b.fasta", "a.fasta", "c.txt"}) {
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  QString caption;
  f.form->SetEditorFactory([&caption](TMainForm&, const QString& c) {
    caption = c;
    return new QPlainTextEdit;
  });
  QStringList read;
  QWidget* target = nullptr;
  f.form->SetFileOpener([&](TMainForm&, const QString& path, QWidget* editor) {
    read << QFileInfo(path).fileName();
    target = editor;
    return !path.endsWith("b.fasta");  // one file cannot be read
  });
  EXPECT_TRUE(f.Action("OpenFolder1")->isEnabled());

  f.form->RunOpenFolder(dir.path(), "*.txt;*.zzz");  // c.txt in a window of its own
  f.form->RunOpenFolder(dir.path(), "*.fasta");
  EXPECT_EQ(read, (QStringList{"c.txt", "a.fasta", "b.fasta"}));
  EXPECT_EQ(caption, "Files from " + dir.path() + "/");
  EXPECT_EQ(target, f.form->CurrentEditor());
  f.form->RunOpenFolder(dir.path(), "*.ab1");  // nothing matches: no window
  EXPECT_EQ(f.form->MdiArea()->subWindowList().size(), 2);
  EXPECT_EQ(f.dialogs.notices,
            (std::vector<std::string>{"Opened 1 files", "Opened 1 files", "Opened 0 files"}));
}

TEST(TMainFormShortcuts, EditorWindowKeepsItsOwnCtrlOAndTheMainWindowGetsItElsewhere) {
  ShellFixture f;
  f.form->show();
  f.form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(f.form.get()));

  int findOverlaps = 0;
  f.form->SetEditorFactory([&findOverlaps](TMainForm&, const QString&) {
    auto* editor = new QPlainTextEdit;
    auto* action = new QAction("Find overlaps", editor);
    action->setShortcut(QKeySequence("Ctrl+O"));
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(action, &QAction::triggered, [&findOverlaps] { ++findOverlaps; });
    editor->addAction(action);
    return editor;
  });
  QWidget* editor = f.form->NewEditorWindow();
  TRepForm* report = f.form->NewRepForm();
  f.Action("Open1")->setEnabled(true);  // as it will be once the open dispatcher exists

  editor->setFocus();
  QCoreApplication::processEvents();
  ASSERT_TRUE(editor->hasFocus());
  QTest::keyClick(editor, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(findOverlaps, 1);
  EXPECT_TRUE(f.dialogs.notices.empty());

  f.form->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(report->parentWidget()));
  report->Redit1()->setFocus();
  QCoreApplication::processEvents();
  ASSERT_TRUE(report->Redit1()->hasFocus());
  QTest::keyClick(report->Redit1(), Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(findOverlaps, 1);
  EXPECT_EQ(f.dialogs.notices,
            std::vector<std::string>{"Opening files is not available in this build"});
}
