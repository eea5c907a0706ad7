// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "ShellFixture.h"
#include "ui/viewers/RepUnit.h"
#include "ui/viewers/TabRepUnit.h"

namespace {
QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
}  // namespace

TEST(ToolWindowRegistry, OneWindowPerKindAndTheSlotEmptiesWhenItCloses) {
  ShellFixture f;
  f.form->show();
  TRepForm* first = f.form->NewRepForm();
  EXPECT_EQ(f.form->NewRepForm(), first);
  EXPECT_EQ(first->windowTitle(), QString("Report"));
  TTabReport* table = f.form->NewTabReport();
  EXPECT_EQ(f.form->NewTabReport(), table);
  EXPECT_EQ(f.form->MdiArea()->subWindowList().size(), 2);
  EXPECT_EQ(f.form->ToolWindow(ToolKind::RepForm), first);

  // The text report sits at 2,2; the table, the second child, at 10 * 1 + 5.
  EXPECT_EQ(first->parentWidget()->pos(), QPoint(2, 2));
  EXPECT_EQ(table->parentWidget()->pos(), QPoint(15, 15));

  f.form->RepFormClose();
  EXPECT_EQ(f.form->ToolWindow(ToolKind::RepForm), nullptr);  // at once, not at the deferred delete
  EXPECT_EQ(f.form->ToolWindow(ToolKind::TabReport), table);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(f.form->MdiArea()->subWindowList().size(), 1);
  TRepForm* second = f.form->NewRepForm();
  EXPECT_EQ(f.form->ToolWindow(ToolKind::RepForm), second);
  table->parentWidget()->close();
  EXPECT_EQ(f.form->ToolWindow(ToolKind::TabReport), nullptr);
}

TEST(TRepForm, FillsInsertsAndSavesWithCrLf) {
  ShellFixture f;
  TRepForm* report = f.form->NewRepForm();
  report->AddLine("Neutrality tests");
  report->AddLine("Tajima's D: -1.2");
  EXPECT_TRUE(report->insertStr("Summary\n", 0));
  EXPECT_FALSE(report->insertStr("x", -1));
  EXPECT_FALSE(report->insertStr("x", 1000));
  EXPECT_EQ(report->Text(), "Summary\nNeutrality tests\nTajima's D: -1.2");
  const int end = static_cast<int>(report->Text().size());
  EXPECT_TRUE(report->insertStr("!", end));
  QTemporaryDir dir;
  const QString path = dir.filePath("report.txt");
  ASSERT_TRUE(report->SaveToFile(path));
  EXPECT_EQ(ReadAll(path), QByteArray("Summary\r\nNeutrality tests\r\nTajima's D: -1.2!"));
  EXPECT_FALSE(report->SaveToFile(dir.filePath("no/such/folder/r.txt")));

  report->CopyToClipboard();
  EXPECT_EQ(QApplication::clipboard()->text(),
            QString("Summary\nNeutrality tests\nTajima's D: -1.2!"));
  ASSERT_TRUE(report->ExportPdf(dir.filePath("report.pdf")));
  EXPECT_TRUE(ReadAll(dir.filePath("report.pdf")).startsWith("%PDF"));
}

TEST(TTabReport, SavesEveryCellWithATrailingCommaHeadersIncluded) {
  ShellFixture f;
  TTabReport* table = f.form->NewTabReport();
  table->SetSize(2, 2);
  table->SetCell(0, 0, "a");
  table->SetCell(0, 1, "b");
  table->SetCell(1, 0, "c");
  table->SetCell(1, 1, "d");
  table->SetCell(5, 5, "ignored");
  EXPECT_EQ(table->CsvText(), "a,b,\r\nc,d,\r\n");
  QTemporaryDir dir;
  ASSERT_TRUE(table->SaveToFile(dir.filePath("t.csv")));
  EXPECT_EQ(ReadAll(dir.filePath("t.csv")), QByteArray("a,b,\r\nc,d,\r\n"));
  EXPECT_EQ(table->Repgrid()->horizontalHeader()->defaultSectionSize(), 100);
  EXPECT_EQ(table->Repgrid()->verticalHeader()->defaultSectionSize(), 20);
}

TEST(TTabReport, DraggedColumnsAndRowsAreSavedInTheirNewOrder) {
  ShellFixture f;
  TTabReport* table = f.form->NewTabReport();
  table->SetSize(3, 3);
  const char* cells[3][3] = {{"", "Pi", "Theta"}, {"locus1", "1", "2"}, {"locus2", "3", "4"}};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) table->SetCell(r, c, cells[r][c]);
  table->Repgrid()->horizontalHeader()->moveSection(1, 0);  // Theta before Pi
  EXPECT_EQ(table->CsvText(), ",Theta,Pi,\r\nlocus1,2,1,\r\nlocus2,4,3,\r\n");
  table->Repgrid()->verticalHeader()->moveSection(0, 1);  // locus2 first
  EXPECT_EQ(table->CsvText(), ",Theta,Pi,\r\nlocus2,4,3,\r\nlocus1,2,1,\r\n");
  table->CopyToClipboard();
  EXPECT_EQ(QApplication::clipboard()->text(),
            QString("\tTheta\tPi\nlocus2\t4\t3\nlocus1\t2\t1\n"));
}

TEST(TTabReport, StatusLineNamesRowColumnAndValueAfterAKeyOrClick) {
  ShellFixture f;
  f.form->show();
  TTabReport* table = f.form->NewTabReport();
  table->SetSize(3, 3);
  table->SetCell(0, 1, "Pi");
  table->SetCell(0, 2, "Theta");
  table->SetCell(1, 0, "locus1");
  table->SetCell(2, 0, "locus2");
  table->SetCell(2, 2, "0.25");
  table->SetCell(1, 1, "0.5");
  ASSERT_TRUE(QTest::qWaitForWindowExposed(table));
  table->Repgrid()->setCurrentCell(1, 1);
  QTest::keyRelease(table->Repgrid(), Qt::Key_Down);
  EXPECT_EQ(table->StatusLine()->currentMessage(), QString("locus2 : Theta = 0.25"));
  const QRect cell = table->Repgrid()->visualItemRect(table->Repgrid()->item(0, 0));
  QTest::mouseClick(table->Repgrid()->viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(table->StatusLine()->currentMessage(), QString("locus1 : Pi = 0.5"));
}
