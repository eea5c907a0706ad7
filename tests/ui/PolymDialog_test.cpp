// SPDX-License-Identifier: GPL-3.0-or-later
// The DNA polymorphism dialog on a project read from a file: report and plot windows, PNG and
// SVG export, and the command-line tool giving the same report for the same options.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <fstream>

#include "ShellFixture.h"
#include "io/Dispatcher.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"
#include "ui/analysis/DNApolDbox.h"
#include "ui/shell/CLXMain.h"
#include "ui/viewers/GraphUnit.h"
#include "ui/viewers/RepUnit.h"

namespace {

const char* kFasta =
    ">s1\nAAAAAAAAAACCCCCGGGGG\n>s2\nAAAAAAAAAACCCCCGGGGG\n>s3\nTAAAAAAAAACCCCCGGGGA\n"
    ">s4\nTAAAACAAAACCCCCGGGGG\n>s5\nTAAAACAAAGCCTCCGGGGG\n>s6\nAAAAAAAAAGCCCCCGGGGG\n"
    ">og\nAAAAAAAAAACCCCCGGGGG\n";
const char* kGroups = "s1,north\ns2,north\ns3,north\ns4,south\ns5,south\ns6,south\nog,Outgroups\n";

std::string WriteTemp(const std::string& name, const std::string& text) {
  const std::string path = QDir::tempPath().toStdString() + "/" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

// The same reading and group assignment as the command-line tool does.
bool ReadProject(const std::string& fasta, TDataProj& project, Services& services) {
  OpenWindow window(project);
  window.caption = FileNameOnly(fasta);
  int code = 0;
  if (!OpenDetected(fasta, window, services, code).ReadSomething()) return false;
  for (const char* g : {"north", "south"}) {
    TGroup group;
    group.grpName = g;
    project.AddGroup(group);
  }
  const std::pair<const char*, const char*> members[] = {
      {"s1", "north"}, {"s2", "north"}, {"s3", "north"},    {"s4", "south"},
      {"s5", "south"}, {"s6", "south"}, {"og", "Outgroups"}};
  for (auto [seq, group] : members) project.AssignSeqToGroup(0, seq, group);
  return true;
}

std::string Unix(std::string s) {
  std::string out;
  for (char c : s)
    if (c != '\r') out += c;
  return out;
}

TEST(TDNApolymDbox, SlidingWindowRunGivesReportAndPlotWindowsAndExports) {
  ShellFixture f;
  const std::string fasta = WriteTemp("polym_dialog.fas", kFasta);
  TDataProj project(f.form->GetServices());
  ASSERT_TRUE(ReadProject(fasta, project, f.form->GetServices()));

  TDNApolymDbox* dialog = NewDNApolDbox(*f.form);
  EXPECT_EQ(NewDNApolDbox(*f.form), dialog);
  EXPECT_EQ(f.form->ToolWindow(ToolKind::DNApolymDbox), dialog);
  ASSERT_TRUE(dialog->InitData(&project));
  // Defaults of the dialog.
  EXPECT_TRUE(dialog->cbPi->isChecked());
  EXPECT_TRUE(dialog->cbVarTheta->isChecked());
  EXPECT_EQ(dialog->cbDoSW->text(), "Sliding window for");
  EXPECT_FALSE(dialog->cbDoSWpi->isEnabled());
  EXPECT_EQ(dialog->swSize->value(), 100);
  // Checking "Sliding window for" enables the profiles and checks "pi"; "p" off disables Var.
  dialog->cbDoSW->setChecked(true);
  EXPECT_TRUE(dialog->cbDoSWpi->isChecked());
  EXPECT_EQ(dialog->swSize->maximum(), 20);  // the longest dataset once windows are on
  dialog->cbDoSWtheta->setChecked(true);
  EXPECT_EQ(dialog->cbDoSWHd->text(), "Hd");
  dialog->cbDoSWHd->setChecked(true);
  dialog->cbPi->setChecked(false);
  EXPECT_FALSE(dialog->cbVarPi->isEnabled());
  dialog->cbPi->setChecked(true);
  EXPECT_TRUE(dialog->cbVarPi->isChecked());
  dialog->swSize->setValue(5);
  dialog->swStep->setValue(5);

  dialog->OkButton->click();
  const AnalysisOutput& out = dialog->LastOutput();
  ASSERT_TRUE(out.error.empty()) << out.error;
  auto* report = qobject_cast<TRepForm*>(f.form->ToolWindow(ToolKind::RepForm));
  ASSERT_NE(report, nullptr);
  EXPECT_EQ(report->windowTitle(), "Polymorphism report");
  EXPECT_EQ(Unix(report->Text()), Unix(out.report));
  EXPECT_NE(out.report.find("Group: north"), std::string::npos);
  // Haplotypes of s1..s6: s1 = s2, the others single: Hd = 6/5 (1 - 8/36) = 0.93333.
  EXPECT_NE(out.report.find("Number of haplotypes: 5\r\nHaplotype diversity, Hd: 0.93333, SD: "),
            std::string::npos);
  EXPECT_NE(out.report.find("Sliding window is calculated for window size: 5, increment: 5"),
            std::string::npos);

  TGraphForm* plot = dialog->LastPlot();
  ASSERT_NE(plot, nullptr);
  EXPECT_EQ(plot->windowTitle(), "Sliding window analysis results");
  ASSERT_EQ(plot->Series().size(), 3u);
  EXPECT_EQ(plot->Series()[0].name, "Pi_in_polym_dialog.fas");
  EXPECT_EQ(plot->Series()[2].name, "Hd_in_polym_dialog.fas");
  // 1..20, size 5, step 5: four windows of five columns, 1..5 to 16..20.
  EXPECT_EQ(plot->Series()[0].points.size(), 4u);

  const QString png = QDir::temp().filePath("polym_plot.png");
  const QString svg = QDir::temp().filePath("polym_plot.svg");
  QFile::remove(png);
  QFile::remove(svg);
  ASSERT_TRUE(plot->ExportPng(png, 640, 400));
  ASSERT_TRUE(plot->ExportSvg(svg, 640, 400));
  const QImage image(png);
  EXPECT_EQ(image.size(), QSize(640, 400));
  QFile svgFile(svg);
  ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly));
  const QByteArray svgText = svgFile.readAll();
  EXPECT_TRUE(svgText.contains("<svg"));
  EXPECT_TRUE(svgText.contains("Pi_in_polym_dialog.fas"));
  const QString csv = QDir::temp().filePath("polym_series.csv");
  ASSERT_TRUE(plot->SaveSeries(csv));

  // The command-line tool with the same options prints the same report, byte for byte.
  const QString cli = QString(NODRIX_BINARY_DIR) + "/nodrix3-cli";
  if (!QFile::exists(cli)) GTEST_SKIP() << "nodrix3-cli not built";
  const std::string groups = WriteTemp("polym_dialog_groups.csv", kGroups);
  QProcess run;
  run.start(cli, {"polymorphism", QString::fromStdString(fasta), "--groups",
                  QString::fromStdString(groups), "--window-size", "5", "--window-step", "5",
                  "--window-stats", "pi,theta,Hd"});
  ASSERT_TRUE(run.waitForFinished(60000));
  EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
  EXPECT_EQ(run.readAllStandardOutput().toStdString(), out.report);
}

}  // namespace
