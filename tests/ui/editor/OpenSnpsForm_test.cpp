// SPDX-License-Identifier: GPL-3.0-or-later
// The SNP table dialog: filled and "Ok" reads into the current editor window; opening a file
// with the SNP table filter shows it with the file set; its values stay between uses.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

#include "EditorFixture.h"
#include "io/FormatTables.h"
#include "ui/editor/OpenSnpsForm.h"

namespace {

QString WriteText(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  QFile f(dir.filePath(name));
  f.open(QIODevice::WriteOnly);
  f.write(bytes);
  return f.fileName();
}

}  // namespace

TEST(TOpenSNPsFrm, FilledAndOkReadsIntoTheCurrentWindow) {
  EditorFixture f;
  QTemporaryDir dir;
  // Reference ACGTACGTAC; SNPs at file positions 13 and 17, 10 past the reference's.
  const QString ref = WriteText(dir, "ref.fa", ">ref\nACGTACGTAC\n");
  const QString snps = WriteText(dir, "snps.csv", "pos,acc,wt,mut\n13,s1,G,A\n17,s1,g,T\n");
  TSeqGridFrm* w = f.NewEditor("snps");
  ASSERT_EQ(AsSeqGridFrm(f.form->CurrentEditor()), w);

  TOpenSNPsFrm& dialog = OpenSNPsForm(*f.form);
  EXPECT_EQ(dialog.ColSqNames->value(), 2);
  EXPECT_EQ(dialog.ColSNP->value(), 5);
  dialog.SNPfile->setText(snps);
  dialog.FileEdit->setText(ref);
  dialog.HasHeaders->setChecked(true);
  dialog.ColSNPos->setValue(1);
  dialog.ColSqNames->setValue(2);
  dialog.ColWT->setValue(3);
  dialog.ColSNP->setValue(4);
  dialog.PosOffset->setValue(10);
  dialog.OkButton->click();
  TDataSeq& ds = *w->GetProject().CurrentDataset();
  ASSERT_EQ(ds.Count(), 2);
  EXPECT_EQ(ds.NameAt(1), "ref.fa[3-7]");
  EXPECT_EQ(ds.SeqAt(1)->letters, "GTACG");
  EXPECT_EQ(ds.SeqAt(2)->letters, "ATACT");
  EXPECT_TRUE(w->IsModified());

  // "&Open..." with the SNP table filter: the same dialog, its values kept, the file set.
  EXPECT_EQ(&OpenSNPsForm(*f.form), &dialog);
  const QString again = WriteText(dir, "again.csv", "pos,acc,wt,mut\n15,s2,A,C\n");
  QTimer::singleShot(0, &dialog, [&dialog] { dialog.OkButton->click(); });
  EditorOpenFiles(*f.form, *w, {again}, kCodeSnpTable);
  EXPECT_EQ(dialog.SNPfile->text(), again);
  EXPECT_EQ(dialog.PosOffset->value(), 10);
  ASSERT_EQ(ds.Count(), 4);
  EXPECT_EQ(ds.NameAt(3), "ref.fa[5-5]");
  EXPECT_EQ(ds.SeqAt(4)->letters, "C");
}
