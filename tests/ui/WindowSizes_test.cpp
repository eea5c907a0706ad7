// SPDX-License-Identifier: GPL-3.0-or-later
// Child windows open at a size that fits what they show within the main window, keep the size
// the user gives a kind of window for the session, and are listed in the Window menu.
#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>

#include "ShellFixture.h"
#include "ui/editor/OpenCommands.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/shell/WindowSizes.h"
#include "ui/viewers/RepUnit.h"

namespace {

QMdiSubWindow* FrameOf(QWidget* w) {
  return qobject_cast<QMdiSubWindow*>(w->parentWidget());
}

}  // namespace

TEST(ChildWindowSizes, EditorTakesTwoThirdsAReportItsLongestLineAndAllStayInside) {
  ShellFixture f;
  InstallOpenDispatcher(*f.form);
  f.form->resize(1200, 800);
  f.form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f.form.get()));
  const QSize area = f.form->MdiArea()->viewport()->size();

  QWidget* editor = f.form->NewEditorWindow("study");
  const QSize e = FrameOf(editor)->size();
  EXPECT_GE(e.width(), area.width() * 2 / 3);
  EXPECT_GE(e.height(), area.height() * 2 / 3);
  EXPECT_LE(FrameOf(editor)->geometry().right(), area.width());
  EXPECT_LE(FrameOf(editor)->geometry().bottom(), area.height());

  // A line of 120 characters fits; a line far wider than the area is cut at the area.
  TRepForm* report = f.form->NewRepForm();
  report->SetText(std::string(120, 'x') + "\r\nshort\r\n");
  const int charWidth = QFontMetrics(report->Redit1()->font()).horizontalAdvance('M');
  EXPECT_GE(report->Redit1()->viewport()->width(), 120 * charWidth);
  report->SetText(std::string(2000, 'x'));
  EXPECT_LE(FrameOf(report)->geometry().right(), area.width());

  EXPECT_EQ(FitWithinArea(QSize(5000, 100), QSize(800, 600), QPoint(50, 40)), QSize(750, 120));
  EXPECT_EQ(FitWithinArea(QSize(300, 200), QSize(800, 600), QPoint(0, 0)), QSize(300, 200));
}

TEST(ChildWindowSizes, ASizeTheUserGivesIsKeptForTheNextWindowOfItsKind) {
  ShellFixture f;
  f.form->resize(1200, 800);
  f.form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f.form.get()));
  TRepForm* report = f.form->NewRepForm();
  QMdiSubWindow* frame = FrameOf(report);
  // The user drags the frame's corner: press, the frame follows the mouse, release.
  const QPoint corner(frame->width() - 2, frame->height() - 2);
  QTest::mousePress(frame, Qt::LeftButton, {}, corner);
  frame->resize(500, 333);
  QTest::mouseRelease(frame, Qt::LeftButton, {}, QPoint(497, 330));
  ASSERT_TRUE(frame->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  TRepForm* next = f.form->NewRepForm();
  EXPECT_NE(next, report);
  next->SetText("a short text would otherwise give a small window");
  EXPECT_EQ(FrameOf(next)->size(), QSize(500, 333));
  EXPECT_EQ(f.form->RememberedSize(next), QSize(500, 333));
}

TEST(WindowMenu, ListsTheOpenWindowsWithTheActiveOneChecked) {
  ShellFixture f;
  InstallOpenDispatcher(*f.form);
  f.form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f.form.get()));
  QWidget* editor = f.form->NewEditorWindow("locus A");
  TRepForm* report = f.form->NewRepForm();
  report->setWindowTitle("Neutrality tests report");
  f.form->MdiArea()->setActiveSubWindow(FrameOf(report));
  auto* menu = f.form->findChild<QMenu*>("Window1");
  ASSERT_NE(menu, nullptr);
  emit menu->aboutToShow();
  QStringList listed;
  QAction* editorItem = nullptr;
  for (QAction* a : menu->actions()) {
    if (!a->objectName().startsWith("WindowListItem")) continue;
    listed << a->text() + (a->isChecked() ? " [x]" : "");
    if (a->text().contains("locus A")) editorItem = a;
  }
  EXPECT_EQ(listed, (QStringList{"&1 locus A", "&2 Neutrality tests report [x]"}));
  ASSERT_NE(editorItem, nullptr);
  editorItem->trigger();
  EXPECT_EQ(f.form->MdiArea()->activeSubWindow(), FrameOf(editor));
  // Shown again, the list is built anew (no item twice) and follows the active window.
  emit menu->aboutToShow();
  int items = 0;
  for (QAction* a : menu->actions())
    if (a->objectName().startsWith("WindowListItem")) {
      ++items;
      EXPECT_EQ(a->isChecked(), a->text().contains("locus A")) << a->text().toStdString();
    }
  EXPECT_EQ(items, 2);
}
