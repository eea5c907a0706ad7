// SPDX-License-Identifier: GPL-3.0-or-later
// ms output through the open dialog's entry, and the population-genetics save entries.
#include <gtest/gtest.h>

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>

#include "ShellFixture.h"
#include "io/FormatTables.h"
#include "ui/editor/OpenCommands.h"
#include "ui/editor/SeqGridFrmUnit.h"

TEST(PopGenFiles, MsOutputOpensAndTheSaveEntriesReachTheirWriters) {
  ShellFixture f;
  InstallOpenDispatcher(*f.form);
  MainOpenFiles(*f.form, {QString(NODRIX_TEST_DATA) + "/ms/scrm_I2.ms"}, kCodeMsOutput);
  TSeqGridFrm* w = nullptr;
  for (QMdiSubWindow* sub : f.form->MdiArea()->subWindowList())
    if (auto* e = AsSeqGridFrm(sub->widget())) w = e;
  ASSERT_NE(w, nullptr);
  TDataProj& proj = w->GetProject();
  ASSERT_EQ(proj.DatasetCount(), 2);
  EXPECT_EQ(proj.GroupCount(), 3);
  EXPECT_TRUE(w->Action("SaveConcat4Arlequin1")->isEnabled());

  QTemporaryDir dir;
  struct Entry {
    int index;
    const char* file;
    std::vector<bool> answers;  // header / all datasets / Tajima / Fu and Li
  };
  for (const Entry& e :
       {Entry{12, "p.arp", {}}, Entry{13, "d.ms", {true, false}}, Entry{17, "p.hka", {true, false}},
        Entry{18, "p.im", {}}, Entry{19, "d.sf", {false}}, Entry{23, "b.txt", {}},
        Entry{15, "s.txt", {}}}) {
    SCOPED_TRACE(e.file);
    f.dialogs.answers = {e.answers.begin(), e.answers.end()};
    const QString path = dir.filePath(e.file);
    EXPECT_TRUE(SaveWindowAs(*f.form, *w, e.index, path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_GT(file.size(), 0);
  }
  EXPECT_TRUE(QFile::exists(dir.filePath("extraparams")));
  // mlHKA without outgroups: the count line only. fastPHASE refuses five haplotypes.
  f.dialogs.answers = {};
  EXPECT_TRUE(SaveWindowAs(*f.form, *w, 24, dir.filePath("m.txt")));
  f.dialogs.answers = {false};
  f.dialogs.notices.clear();
  EXPECT_FALSE(SaveWindowAs(*f.form, *w, 22, dir.filePath("f.inp")));
  EXPECT_FALSE(QFile::exists(dir.filePath("f.inp")));
  ASSERT_EQ(f.dialogs.notices.size(), 1u);
  EXPECT_NE(f.dialogs.notices[0].find("odd number of ingroup sequences (5)"), std::string::npos);
}
