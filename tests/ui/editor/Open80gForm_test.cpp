// SPDX-License-Identifier: GPL-3.0-or-later
// The column file dialog, reached through the editor window's "&Open..." with its filter.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include "../ShellFixture.h"
#include "io/FormatTables.h"
#include "ui/editor/Open80gForm.h"
#include "ui/editor/OpenCommands.h"
#include "ui/editor/SeqGridFrmUnit.h"

TEST(TOpen80gForm, OpensAColumnFileIntoTheWindowAndWritesTheFasta) {
  ShellFixture f;
  InstallOpenDispatcher(*f.form);
  QTemporaryDir dir;
  const QString path = dir.filePath("snps.txt");
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("id\tA\tC\tG\nid\tZ\tT\tD\n");
  }
  TSeqGridFrm* w = AsSeqGridFrm(f.form->NewEditorWindow("cols"));
  ASSERT_NE(w, nullptr);
  QString fileBox;
  WhenModalShows([&](QWidget* modal) {
    auto* form = qobject_cast<TOpen80gForm*>(modal);
    if (form == nullptr) return;
    fileBox = form->FileEdit->text();
    EXPECT_TRUE(form->cbOpenInEditor->isChecked());
    EXPECT_TRUE(form->cbSaveAsFasta->isChecked());
    form->ColFrom->setValue(2);
    form->OkButton->click();
  });
  EditorOpenFiles(*f.form, *w, {path}, kCodeTabColumns);
  EXPECT_EQ(fileBox, path);

  const TDataProj& p = w->GetProject();
  ASSERT_EQ(p.DatasetCount(), 1);
  const TDataSeq& ds = *p.DatasetAt(0);
  EXPECT_EQ(ds.dsName, "snps");
  ASSERT_EQ(ds.Count(), 3);
  EXPECT_EQ(ds.NameAt(1), "col2");
  EXPECT_EQ(ds.SeqAt(1)->letters, "AN");
  EXPECT_EQ(ds.SeqAt(3)->letters, "G-");
  QFile fasta(path + ".fasta");
  ASSERT_TRUE(fasta.open(QIODevice::ReadOnly));
  EXPECT_EQ(fasta.readAll(), QByteArray(">col2\r\nAN\r\n>col3\r\nCT\r\n>col4\r\nG-\r\n"));
  EXPECT_EQ(f.dialogs.notices.back(),
            "Sequences were saved as a FASTA file " + path.toStdString() + ".fasta");

  // The values stay for the next use.
  OpenWindow scratch(w->GetProject());
  TOpen80gForm again(f.form->GetServices(), scratch);
  EXPECT_EQ(again.ColFrom->value(), 2);
  EXPECT_EQ(again.ColTo->value(), 100);
  again.ColFrom->setValue(1);
  again.FileEdit->setText(dir.filePath("absent.txt"));
  again.OkButtonClick();  // stays open: the file is not there
  EXPECT_EQ(again.result(), QDialog::Rejected);
  EXPECT_EQ(f.dialogs.notices.back(),
            "Cannot open file \r\n" + dir.filePath("absent.txt").toStdString());
}
