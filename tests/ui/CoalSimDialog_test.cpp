// SPDX-License-Identifier: GPL-3.0-or-later
// The coalescent simulation dialog from the Tools menu: a run to its report window, the same
// files as the command-line tool with the same seed, and Cancel during a run.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <fstream>
#include <sstream>

#include "ShellFixture.h"
#include "model/DataProjUnit.h"
#include "ui/coalescent/CoalSimDialog.h"
#include "ui/viewers/RepUnit.h"

namespace {

std::string ReadAll(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TCoalSimDialog* OpenFromMenu(ShellFixture& f) {
  QAction* item = f.Action("CoalescentSimulations1");
  if (item == nullptr || !item->isEnabled()) return nullptr;
  item->trigger();
  return f.form->findChild<TCoalSimDialog*>();
}

}  // namespace

TEST(CoalSimDialog, ToolsMenuRunsTwentyReplicatesToTheReport) {
  ShellFixture f;
  f.form->show();
  QStringList texts;
  for (QAction* a : f.form->findChild<QMenu*>("Tools1")->actions()) texts << a->text();
  EXPECT_TRUE(texts.contains("Coalescent simulations..."));
  EXPECT_FALSE(texts.contains("Seq plate planer..."));
  EXPECT_FALSE(texts.contains("Dotplot viewer..."));

  TCoalSimDialog* dialog = OpenFromMenu(f);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->windowTitle(), QString("Coalescent simulations"));
  EXPECT_FALSE(dialog->ThetaEdit->isEnabled());
  dialog->cbTheta->setChecked(true);
  EXPECT_TRUE(dialog->ThetaEdit->isEnabled());
  EXPECT_FALSE(dialog->nMut->isEnabled());
  dialog->cbSegSites->setChecked(true);
  EXPECT_FALSE(dialog->DemeNumber->isEnabled());
  dialog->cbSubdiv->setChecked(true);
  EXPECT_TRUE(dialog->cbShared->isEnabled());
  dialog->cbPanmict->setChecked(true);

  QDir dir(QDir::tempPath() + "/coalsim_dialog_test");
  dir.removeRecursively();
  ASSERT_TRUE(dir.mkpath("."));
  // The simulated datasets go to a new editor window; showing them changes no file.
  QString viewedCaption;
  std::unique_ptr<TDataProj> viewed;
  f.form->SetDatasetViewer([&](TMainForm&, std::unique_ptr<TDataProj> p, const QString& caption) {
    viewedCaption = caption;
    viewed = std::move(p);
    return true;
  });
  dialog->cbseqwin->setChecked(true);
  dialog->nRun->setValue(20);
  dialog->SeedEdit->setText("5");
  dialog->FileNameEdit->setText(dir.filePath("dialog.txt"));
  dialog->OkButton->click();
  QPointer<TRepForm> report = dialog->LastReport();
  ASSERT_FALSE(report.isNull());
  EXPECT_EQ(report->windowTitle(), QString("Coalescent simulations report"));
  EXPECT_EQ(report->Text().rfind("Seed: 5\nRuns: 20;", 0), 0U) << report->Text();
  EXPECT_TRUE(QFile::exists(dir.filePath("dialog~0.txt")));
  EXPECT_EQ(viewedCaption, QString("Simulated datasets"));
  ASSERT_TRUE(viewed);
  ASSERT_EQ(viewed->DatasetCount(), 20);
  ASSERT_EQ(viewed->DatasetAt(0)->Count(), 12);
  EXPECT_EQ(viewed->DatasetAt(0)->SeqAt(1)->seqName, "Seq1");
  EXPECT_EQ(viewed->DatasetAt(0)->SeqAt(1)->letters.size(), 100U);

  // The command-line tool with the same options and seed writes the same files.
  const QString cli = QString(NODRIX_BINARY_DIR) + "/nodrix3-cli";
  if (!QFile::exists(cli)) GTEST_SKIP() << "nodrix3-cli not built";
  QProcess run;
  run.start(cli, {"simulate", "--runs", "20", "--seed", "5", "--stats", "cli.txt", "--out-dir",
                  dir.path()});
  ASSERT_TRUE(run.waitForFinished(60000));
  EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
  EXPECT_EQ(ReadAll(dir.filePath("cli.txt")), ReadAll(dir.filePath("dialog.txt")));
  EXPECT_EQ(ReadAll(dir.filePath("cli~0.txt")), ReadAll(dir.filePath("dialog~0.txt")));
  // The window shows the lines without their CR.
  std::string printed = run.readAllStandardOutput().toStdString();
  std::erase(printed, '\r');
  const std::string shown = report->Text();
  EXPECT_EQ(printed.substr(0, printed.find("See detailed")),
            shown.substr(0, shown.find("See detailed")));
  dir.removeRecursively();
}

TEST(CoalSimDialog, CancelStopsTheRunWithoutAReport) {
  ShellFixture f;
  f.form->show();
  TCoalSimDialog* dialog = OpenFromMenu(f);
  ASSERT_NE(dialog, nullptr);
  dialog->nRun->setValue(1000000);
  dialog->cbSave->setChecked(false);
  QTimer::singleShot(100, dialog->CancelButton, [dialog] { dialog->CancelButton->click(); });
  dialog->OkButton->click();
  EXPECT_TRUE(dialog->LastReport() == nullptr);
  ASSERT_FALSE(f.dialogs.notices.empty());
  EXPECT_EQ(f.dialogs.notices.back(), "Simulation cancelled!");
}
