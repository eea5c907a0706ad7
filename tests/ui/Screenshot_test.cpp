// SPDX-License-Identifier: GPL-3.0-or-later
// With NODRIX_SCREENSHOT set to a file name, writes a picture of the main window with a text and
// a table report open, and one of the genetic code editor (run under a real display, e.g.
// xvfb-run, to look at them).
#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QTest>

#include "ShellFixture.h"
#include "ui/shell/GCodEditor.h"
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
