// SPDX-License-Identifier: GPL-3.0-or-later
// With NODRIX_EDITOR_SCREENSHOT set to a file name, writes a picture of the main window with an
// editor window holding a small annotated project (run under a real display, e.g. xvfb-run, to
// look at it).
#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>

#include "EditorFixture.h"

TEST(EditorWindowPicture, RendersAProjectWithRegions) {
  EditorFixture f;
  f.form->resize(1100, 750);
  f.form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f.form.get()));
  TSeqGridFrm* w = f.NewEditor("adh.df");
  TDataProj& p = w->GetProject();
  AddDataset(p, "Adh-intron", {{"Dm1", "ACGTTGCA"}});
  TDataSeq& ds = AddDataset(p, "Adh-exon2",
                            {{"Dm_Africa_01", "ATGGCGTTTACCAAGAACGTGAAATTT"},
                             {"Dm_Africa_02", "ATGGCGTTCACCAAGAACGTGAAGTTT"},
                             {"Dm_Europe_01", "ATGGCGTTTACCAAAAACGTGAAATTT"},
                             {"Ds_outgroup", "ATGGCATTTACTAAGAACGTCAAATTT"}});
  for (int r = 1; r <= ds.Count(); ++r) ds.SeqAt(r)->AddSimpleRegion(1, 27, "", "CDS", kRegCds, 1);
  ds.cursorPos = 5;
  TIndivid ind;
  ind.indName = "Africa_01";
  p.AddIndivid(ind);
  TGroup g;
  g.grpName = "Africa";
  p.AddGroup(g);
  w->UpdateAllBits();
  QMdiSubWindow* frame = f.Frame(w);
  frame->resize(900, 600);
  frame->move(10, 10);
  QTest::qWait(50);
  const QImage image = f.form->grab().toImage();
  EXPECT_FALSE(image.isNull());
  if (const QByteArray target = qgetenv("NODRIX_EDITOR_SCREENSHOT"); !target.isEmpty()) {
    EXPECT_TRUE(image.save(QString::fromLocal8Bit(target)));
    auto* menu = w->findChild<QMenu*>("Sequence1");
    ASSERT_NE(menu, nullptr);
    menu->popup(QPoint(40, 40));
    QTest::qWait(50);
    EXPECT_TRUE(menu->grab().save(QString::fromLocal8Bit(target) + ".menu.png"));
    menu->hide();
    w->PageControl2->setCurrentIndex(1);
    QTest::qWait(50);
    EXPECT_TRUE(f.form->grab().toImage().save(QString::fromLocal8Bit(target) + ".individuals.png"));
  }
}
