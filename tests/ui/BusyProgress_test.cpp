// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "ShellFixture.h"
#include "ui/shell/BusyGuard.h"
#include "ui/viewers/RepUnit.h"

namespace {
// A long operation as commands run it: guard, bar, a step with events per unit, cancel check.
// `during(step)` runs inside the step's event processing window (posted before the step).
int RunOperation(TMainForm& form, int units, const std::function<void(int)>& during) {
  BusyGuard busy(form);
  ProgressScope bar(form, units, "Working");
  for (int u = 1; u <= units; ++u) {
    during(u);
    bar.Step(true);
    if (bar.Cancelled()) return u;
  }
  return units;
}
}  // namespace

TEST(TMainFormProgress, BarRunsThroughTheOperationAndIsHiddenAfter) {
  ShellFixture f;
  f.form->show();
  int seenMax = -1, seenValue = -1;
  bool visible = false;
  QString status;
  const int done = RunOperation(*f.form, 5, [&](int u) {
    if (u == 3) {
      seenMax = f.form->ProgressBar()->maximum();
      seenValue = f.form->ProgressBar()->value();
      visible = f.form->ProgressBar()->isVisible();
      status = f.form->StatusText();
    }
  });
  EXPECT_EQ(done, 5);
  EXPECT_EQ(seenMax, 5);
  EXPECT_EQ(seenValue, 2);  // two steps taken before the third unit
  EXPECT_TRUE(visible);
  EXPECT_EQ(status, QString("Working"));
  EXPECT_FALSE(f.form->ProgressBar()->isVisible());
  EXPECT_EQ(f.form->StatusText(), QString());
  EXPECT_FALSE(f.form->IsBusy());
}

TEST(TMainFormProgress, EscapeCancelsARunningOperationAtItsNextStep) {
  ShellFixture f;
  f.form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f.form.get()));
  TRepForm* report = f.form->NewRepForm();
  const int done = RunOperation(*f.form, 100, [&](int u) {
    if (u == 4) QTest::keyClick(report->Redit1(), Qt::Key_Escape);
  });
  EXPECT_EQ(done, 4);
  EXPECT_TRUE(f.form->cancelRequested());
  // The next command starts uncancelled.
  EXPECT_EQ(RunOperation(*f.form, 10, [](int) {}), 10);
}

TEST(TMainFormBusy, ClosingWindowsAndStartingCommandsIsRefusedWhileBusy) {
  ShellFixture f;
  f.form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f.form.get()));
  TRepForm* report = f.form->NewRepForm();
  auto* sub = qobject_cast<QMdiSubWindow*>(report->parentWidget());

  QWidget panel;
  auto* layout = new QVBoxLayout(&panel);
  auto* other = new QPushButton("Other command", &panel);
  auto* cancel = new QPushButton("Cancel", &panel);
  layout->addWidget(other);
  layout->addWidget(cancel);
  BusyGuard::MarkAsCancelControl(cancel);
  int otherClicks = 0, cancelClicks = 0;
  QObject::connect(other, &QPushButton::clicked, [&] { ++otherClicks; });
  QObject::connect(cancel, &QPushButton::clicked, [&] { ++cancelClicks; });
  panel.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));

  bool mainClosed = true, subClosed = true;
  RunOperation(*f.form, 3, [&](int u) {
    if (u != 2) return;
    mainClosed = f.form->close();
    subClosed = sub->close();
    f.form->RepFormClose();
    QTest::mouseClick(other, Qt::LeftButton);
    QTest::mouseClick(cancel, Qt::LeftButton);
    // A command started from its menu item while busy does nothing (no prompt would open).
    f.Action("MaxSeqPerDataset1")->trigger();
    f.Action("ShowDatasetNumber1")->trigger();
  });
  EXPECT_FALSE(mainClosed);
  EXPECT_FALSE(subClosed);
  EXPECT_EQ(f.form->ToolWindow(ToolKind::RepForm), report);
  EXPECT_TRUE(sub->isVisible());
  EXPECT_EQ(otherClicks, 0);
  EXPECT_EQ(cancelClicks, 1);
  EXPECT_FALSE(f.form->Settings().showDatasetNumber);
  EXPECT_EQ(f.form->Settings().maxSeqPerDataset, 30000);

  // Afterwards everything works again.
  QTest::mouseClick(other, Qt::LeftButton);
  EXPECT_EQ(otherClicks, 1);
  EXPECT_TRUE(sub->close());
  EXPECT_EQ(f.form->ToolWindow(ToolKind::RepForm), nullptr);
  EXPECT_TRUE(f.form->close());
}

TEST(TMainFormBusy, AQuestionAskedDuringTheOperationCanBeAnswered) {
  ShellFixture f;
  f.form->show();
  bool answeredInTime = false;
  RunOperation(*f.form, 2, [&](int u) {
    if (u != 1) return;
    QDialog question(f.form.get());
    auto* layout = new QVBoxLayout(&question);
    auto* yes = new QPushButton("Yes", &question);
    layout->addWidget(yes);
    QObject::connect(yes, &QPushButton::clicked, &question, &QDialog::accept);
    QTimer::singleShot(50, [&] { QTest::mouseClick(yes, Qt::LeftButton); });
    QTimer::singleShot(3000, &question, &QDialog::reject);  // safety net: never hang the suite
    answeredInTime = question.exec() == QDialog::Accepted;
  });
  EXPECT_TRUE(answeredInTime);
}
