// SPDX-License-Identifier: GPL-3.0-or-later
// A long neighbour-joining run in the desktop program: the bar and status line follow the
// steps, Escape stops the run at the next report, and nothing of the run is shown.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "model/DataProjUnit.h"
#include "ui/ShellFixture.h"
#include "ui/trees/NJTreeFrm.h"
#include "ui/trees/ShowTreeUnit.h"

namespace {

// Copies of one ancestor with about a tenth of the letters changed: every distance is defined,
// and joining 1200 of them takes a while.
void AddRandomDataset(TDataProj& project, int sequences, int length) {
  project.NewDataset();
  TDataSeq& ds = *project.CurrentDataset();
  std::uint32_t state = 12345;
  const auto next = [&state] { return state = state * 1664525u + 1013904223u; };
  std::string ancestor;
  for (int k = 0; k < length; ++k) ancestor += "ACGT"[next() >> 30];
  for (int s = 0; s < sequences; ++s) {
    std::string letters = ancestor;
    for (char& c : letters)
      if (next() % 10 == 0) c = "ACGT"[next() >> 30];
    auto seq = std::make_unique<TSeq>("s" + std::to_string(s + 1), letters);
    (void)ds.AddSeq(seq, true);
  }
}

}  // namespace

TEST(TNJTreeFrm, EscapeStopsALongRunAndLeavesNoPartialTree) {
  ShellFixture f;
  f.form->show();
  f.form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(f.form.get()));
  TDataProj project(f.form->GetServices());
  AddRandomDataset(project, 1200, 120);
  TNJTreeFrm* dialog = NewNJTreeFrm(*f.form);
  ASSERT_TRUE(dialog->InitData(&project));
  dialog->cbSDK->setChecked(false);

  // Once the joins are under way, the user presses Escape.
  struct Seen {
    QString status;
    int bar = -1;
    bool barShown = false;
    bool otherCommandRefused = false;
  } seen;
  QElapsedTimer sinceEscape;
  QTimer watcher;
  watcher.setInterval(10);
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    if (f.form->StatusText() != "Joining neighbours" || sinceEscape.isValid()) return;
    seen.status = f.form->StatusText();
    seen.bar = f.form->ProgressBar()->value();
    seen.barShown = f.form->ProgressBar()->isVisible();
    seen.otherCommandRefused = f.form->RefuseIfBusy();
    sinceEscape.start();
    QTest::keyClick(f.form.get(), Qt::Key_Escape);
  });
  watcher.start();
  dialog->OkButton->click();
  const qint64 stoppedAfter = sinceEscape.isValid() ? sinceEscape.elapsed() : -1;
  watcher.stop();

  ASSERT_TRUE(sinceEscape.isValid()) << "the joins never showed in the status line";
  EXPECT_EQ(seen.status, "Joining neighbours");
  EXPECT_TRUE(seen.barShown);
  EXPECT_GE(seen.bar, 0);
  EXPECT_LT(seen.bar, 1000);
  EXPECT_TRUE(seen.otherCommandRefused);
  EXPECT_TRUE(dialog->LastOutput().cancelled);
  EXPECT_TRUE(dialog->LastTrees().empty());
  // No tree viewer and no report: nothing of the stopped run is shown.
  EXPECT_EQ(f.form->ToolWindow(ToolKind::TreeViewForm), nullptr);
  EXPECT_EQ(f.form->ToolWindow(ToolKind::RepForm), nullptr);
  EXPECT_EQ(f.form->ToolWindow(ToolKind::NJTreeFrm), dialog);
  // The status line and bar are free again.
  EXPECT_TRUE(f.form->StatusText().isEmpty());
  EXPECT_FALSE(f.form->ProgressBar()->isVisible());
  EXPECT_FALSE(f.form->IsBusy());
  // How soon it stopped is a figure for the benchmarks (bench/README.md), not a test.
  std::printf("NJ of 1200 sequences stopped %lld ms after Escape\n",
              static_cast<long long>(stoppedAfter));
}
