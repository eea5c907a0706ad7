// SPDX-License-Identifier: GPL-3.0-or-later
// With NODRIX_SCREENSHOT set to a file name, writes a picture of the main window with a text and
// a table report open, and one of the genetic code editor (run under a real display, e.g.
// xvfb-run, to look at them).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>

#include "ShellFixture.h"
#include "editor/EditorFixture.h"
#include "ui/analysis/DNApolDbox.h"
#include "ui/shell/GCodEditor.h"
#include "ui/trees/NJTreeFrm.h"
#include "ui/trees/ShowTreeUnit.h"
#include "ui/viewers/GraphUnit.h"
#include "ui/viewers/RepUnit.h"
#include "ui/viewers/TabRepUnit.h"

TEST(MainWindowPicture, RendersWithReportWindowsOpen) {
  ShellFixture f;
  f.form->resize(1000, 700);
  f.form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f.form.get()));
  TRepForm* report = f.form->NewRepForm();
  report->setWindowTitle("Neutrality tests report");
  for (const char* line : {"Neutrality tests", "Dataset: adh.fas  (24 sequences, 1200 sites)", "",
                           "Group        S    Pi        Theta(W)  Tajima's D",
                           "All         41    0.00612   0.00918   -1.2034",
                           "Africa      37    0.00701   0.00895   -0.8125",
                           "Europe      18    0.00388   0.00541   -1.0561"})
    report->AddLine(line);
  TTabReport* table = f.form->NewTabReport();
  table->SetSize(4, 4);
  const char* cells[4][4] = {{"Group", "S", "Pi", "Tajima's D"},
                             {"All", "41", "0.00612", "-1.2034"},
                             {"Africa", "37", "0.00701", "-0.8125"},
                             {"Europe", "18", "0.00388", "-1.0561"}};
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) table->SetCell(r, c, cells[r][c]);
  table->parentWidget()->move(380, 300);
  f.form->ReportError("adh.fas: sequence Dm12 is shorter than the alignment; padded with gaps");
  f.form->StartProgress(10, "Reading files...");
  for (int i = 0; i < 4; ++i) f.form->StepProgress(false);
  QTest::qWait(50);
  const QImage image = f.form->grab().toImage();
  EXPECT_FALSE(image.isNull());
  if (const QByteArray target = qgetenv("NODRIX_SCREENSHOT"); !target.isEmpty())
    EXPECT_TRUE(image.save(QString::fromLocal8Bit(target)));
  f.form->EndProgress();

  TGCodEditor* editor = f.form->GCodEditor();
  editor->Open(f.form->GenCode());
  editor->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(editor));
  const QImage dialog = editor->grab().toImage();
  EXPECT_FALSE(dialog.isNull());
  if (QByteArray target = qgetenv("NODRIX_SCREENSHOT"); !target.isEmpty())
    EXPECT_TRUE(dialog.save(QString::fromLocal8Bit(target.replace(".png", "_gcod.png"))));
  editor->hide();
}

// With NODRIX_SCREENSHOTS naming a folder, pictures of a study as a user meets it: the editor
// at its default size on the example study, the zoomed-out overview of a 5,000 x 5,000
// alignment, the tree viewer fitted with its scale bar and a sliding-window plot with axis
// titles. Under a real display with a window manager (xvfb-run and openbox) the whole screen
// is taken, frames included; offscreen, the main window.
TEST(StudyPictures, EditorOverviewTreeAndPlot) {
  const QByteArray folder = qgetenv("NODRIX_SCREENSHOTS");
  if (folder.isEmpty()) GTEST_SKIP() << "NODRIX_SCREENSHOTS names no folder";
  const QDir out(QString::fromLocal8Bit(folder));
  ScriptedDialogs dialogs;
  TMainForm form(NODRIX_BINARY_DIR, &dialogs);
  InstallOpenDispatcher(form);
  form.resize(1280, 860);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  const auto shot = [&](const char* name) {
    QTest::qWait(400);
    QScreen* screen = QGuiApplication::primaryScreen();
    const QPixmap picture = QGuiApplication::platformName() == "xcb" && screen != nullptr
                                ? screen->grabWindow(0)
                                : form.grab();
    EXPECT_TRUE(picture.save(out.filePath(QLatin1String(name))));
  };

  const QString study = QStringLiteral(NODRIX_TEST_DATA) + "/../../examples/study.nex";
  form.OpenFiles({study});
  TSeqGridFrm* editor = AsSeqGridFrm(form.CurrentEditor());
  ASSERT_NE(editor, nullptr);
  shot("editor_study.png");

  // 5,000 sequences of 5,000 columns: a shared ancestor with 4% variable columns.
  auto big = std::make_unique<TDataProj>(form.GetServices());
  big->NewDataset();
  TDataSeq& ds = *big->CurrentDataset();
  std::uint32_t state = 99;
  const auto next = [&state] { return state = state * 1664525u + 1013904223u; };
  std::string ancestor(5000, 'A');
  for (char& c : ancestor) c = "ACGT"[next() >> 30];
  std::vector<int> variable;
  for (int c = 0; c < 5000; ++c)
    if (next() % 25 == 0) variable.push_back(c);
  for (int s = 0; s < 5000; ++s) {
    std::string letters = ancestor;
    for (int c : variable)
      if (next() % 3 == 0) letters[static_cast<std::size_t>(c)] = "ACGT"[next() >> 30];
    auto seq = std::make_unique<TSeq>("seq" + std::to_string(s + 1), letters);
    (void)ds.AddSeq(seq, true);
  }
  TSeqGridFrm* overview = AsSeqGridFrm(form.NewEditorWindow("5000 x 5000"));
  overview->AdoptProject(std::move(big));
  overview->SeqGrid->ZoomFit();
  overview->UpdateAllBits();
  shot("overview_5000.png");
  overview->SetModified(false);
  EditorFixture::Frame(overview)->close();

  form.MdiArea()->setActiveSubWindow(EditorFixture::Frame(editor));
  editor->Action("NeighbourJoiningtree1")->trigger();
  auto* nj = qobject_cast<TNJTreeFrm*>(form.ToolWindow(ToolKind::NJTreeFrm));
  ASSERT_NE(nj, nullptr);
  nj->rbKimura->setChecked(true);
  nj->OkButton->click();
  QTest::qWait(100);
  shot("tree_fitted.png");

  form.MdiArea()->setActiveSubWindow(EditorFixture::Frame(editor));
  editor->Action("DNApolymorphism1")->trigger();
  auto* polym = qobject_cast<TDNApolymDbox*>(form.ToolWindow(ToolKind::DNApolymDbox));
  ASSERT_NE(polym, nullptr);
  polym->cbDoSW->setChecked(true);
  polym->swSize->setValue(100);
  polym->swStep->setValue(25);
  polym->OkButton->click();
  if (TGraphForm* plot = polym->LastPlot())
    form.MdiArea()->setActiveSubWindow(EditorFixture::Frame(plot));
  shot("plot_titles.png");
  for (QMdiSubWindow* sub : form.MdiArea()->subWindowList())
    if (TSeqGridFrm* w = AsSeqGridFrm(sub->widget())) w->SetModified(false);
}
