// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell/GCodEditor.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "ShellFixture.h"
#include "model/GenCodUnit.h"

namespace {
std::vector<std::string> Codons(const TGenCode& code, int entry) {
  return code.Aminoacids()[static_cast<std::size_t>(entry)]->codons;
}
}  // namespace

TEST(TGCodEditor, ShowsOneRowPerEntryAndOkWithoutChangesRebuildsTheSameCode) {
  TGenCode code("Universal");
  TGCodEditor editor;
  editor.Open(code);
  EXPECT_EQ(editor.windowTitle(), QString("Genetic code editor"));
  EXPECT_EQ(editor.Codgrid()->rowCount(), 21);
  EXPECT_EQ(editor.Codgrid()->columnCount(), 9);
  EXPECT_EQ(editor.Codgrid()->horizontalHeaderItem(0)->text(), QString("Am. acid name"));
  EXPECT_EQ(editor.Codgrid()->item(2, 0)->text(), QString("Leucine"));
  EXPECT_EQ(editor.Codgrid()->item(2, 8)->text(), QString("ctg"));
  editor.Button1Click();
  ASSERT_EQ(code.aaCount, 21);
  EXPECT_EQ(Codons(code, 19), (std::vector<std::string>{"cgt", "cgc", "cga", "cgg", "aga", "agg"}));
  EXPECT_EQ(code.TranslateCodon("tgg", false), "W");
}

TEST(TGCodEditor, OkAppliesEditsToTheSharedCodeAndCancelLeavesIt) {
  TGenCode code("Universal");
  TGCodEditor editor;
  editor.Open(code);
  // Vertebrate mitochondrial change: tga reads as Trp instead of Stop.
  editor.Codgrid()->item(0, 5)->setText("");      // Stop row: drop tga
  editor.Codgrid()->item(18, 4)->setText("tga");  // Tryptophan row, second codon
  QTimer::singleShot(0, &editor, &QDialog::reject);
  EXPECT_EQ(editor.exec(), QDialog::Rejected);
  EXPECT_EQ(code.TranslateCodon("tga", false), "*");
  editor.Button1Click();
  EXPECT_EQ(code.TranslateCodon("tga", false), "W");
  EXPECT_EQ(code.TranslateCodon("taa", true), "***");
  EXPECT_EQ(code.aaCount, 21);
}

TEST(TGCodEditor, SavedTableReloadsToTheSameCodeAndAddsRowsAndColumns) {
  TGenCode code("Universal");
  TGCodEditor editor;
  editor.Open(code);
  QTemporaryDir dir;
  const QString path = dir.filePath("gencod.csv");
  ASSERT_TRUE(editor.SaveTable(path));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray text = file.readAll();
  EXPECT_TRUE(text.startsWith("Stop,***,*,taa,tag,tga\r\nPhenylalanine,Phe,F,ttt,ttc\r\n"));
  EXPECT_EQ(text.count("\r\n"), 21);

  editor.AddRow();
  editor.AddColumn();
  EXPECT_EQ(editor.Codgrid()->rowCount(), 22);
  EXPECT_EQ(editor.Codgrid()->columnCount(), 10);
  EXPECT_EQ(editor.Codgrid()->horizontalHeaderItem(9)->text(), QString("cdn7"));

  TGenCode empty("Custom");
  ASSERT_TRUE(editor.LoadTable(path));
  editor.Open(empty);  // an empty code leaves the loaded grid as it is
  EXPECT_EQ(editor.Codgrid()->rowCount(), 21);
  editor.Button1Click();
  ASSERT_EQ(empty.aaCount, 21);
  for (int i = 0; i < 21; ++i) {
    EXPECT_EQ(empty.Aminoacids()[static_cast<std::size_t>(i)]->fullName,
              code.Aminoacids()[static_cast<std::size_t>(i)]->fullName);
    EXPECT_EQ(Codons(empty, i), Codons(code, i));
  }
  EXPECT_FALSE(editor.LoadTable(dir.filePath("missing.csv")));
  EXPECT_EQ(editor.Codgrid()->rowCount(), 21);
}

// NCBI's tables in one choice each; the choice is what Ok applies, and the main window keeps
// its number for the next opening.
TEST(TGCodEditor, StandardCodeChoiceLoadsAnNcbiTableAndTheMainWindowKeepsIt) {
  ShellFixture f;
  TGCodEditor* editor = f.form->GCodEditor();
  QComboBox* choice = editor->StandardCodes();
  EXPECT_GE(choice->count(), 28);  // "(table of its own)" and every NCBI table
  EXPECT_EQ(choice->itemText(2), "2. Vertebrate Mitochondrial");
  WhenModalShows([](QWidget* modal) {
    auto* dialog = qobject_cast<TGCodEditor*>(modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->ChosenTable(), 1);  // the program starts on the standard code
    dialog->StandardCodes()->setCurrentIndex(dialog->StandardCodes()->findData(2));
    emit dialog->StandardCodes()->activated(dialog->StandardCodes()->currentIndex());
    // The grid holds table 2: the stop row lists taa, tag, aga, agg.
    EXPECT_EQ(dialog->Codgrid()->item(0, 5)->text(), QString("aga"));
    dialog->Button1Click();
  });
  f.Action("GeneticCode1")->trigger();
  EXPECT_EQ(f.form->Settings().geneticCodeId, 2);
  EXPECT_EQ(f.form->GenCode().TranslateSeq("ATATGAAGA", false), "MW*");
  EXPECT_EQ(f.form->GenCode().codeName, "NCBI 2 Vertebrate Mitochondrial");

  // A cell edited by hand makes the table one of its own.
  editor->Open(f.form->GenCode(), f.form->Settings().geneticCodeId);
  EXPECT_EQ(editor->ChosenTable(), 2);
  editor->Codgrid()->item(0, 5)->setText("");
  EXPECT_EQ(editor->ChosenTable(), 0);
}
