// SPDX-License-Identifier: GPL-3.0-or-later
// The neighbour-joining dialog on a project read from a file: report window, tree viewer,
// saving and reopening the trees, the main window's "&Tree viewer...", and the command-line
// tool giving the same tree.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "io/Dispatcher.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"
#include "trees/SplitSupport.h"
#include "ui/ShellFixture.h"
#include "ui/trees/NJTreeFrm.h"
#include "ui/trees/ShowTreeUnit.h"
#include "ui/trees/TreeViewWindow.h"
#include "ui/viewers/RepUnit.h"

namespace {

const char* kFasta =
    ">s1\nAAAAAAAAAACCCCCGGGGGTTTTT\n>s2\nAAAAAAAAAACCCCCGGGGGTTTTC\n"
    ">s3\nGGAAAAAAAACCCCCGGGGGTTTTT\n>s4\nGGAAAAAAAACCCCCGGAGGTTTTT\n"
    ">s5\nGGAAATAAAGCCTCCGGGGGTTTTT\n>og\nAAGGGAAAAACCCCCGGGGGTTCTT\n";
const char* kGroups = "s1,north\ns2,north\ns3,north\ns4,south\ns5,south\nog,Outgroups\n";

std::string WriteTemp(const QTemporaryDir& dir, const std::string& name, const std::string& text) {
  const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

// The file's datasets with the groups of kGroups, as the command-line tool reads them.
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
  const std::pair<const char*, const char*> members[] = {{"s1", "north"}, {"s2", "north"},
                                                         {"s3", "north"}, {"s4", "south"},
                                                         {"s5", "south"}, {"og", "Outgroups"}};
  for (auto [seq, group] : members) project.AssignSeqToGroup(0, seq, group);
  return true;
}

// Every inner edge of a is an edge of b and both have as many: the same unrooted topology.
bool SameTopology(const std::string& a, const std::string& b) {
  TTree ta, tb;
  if (!ta.ReadBrackets(a) || !tb.ReadBrackets(b) || ta.Count() != tb.Count()) return false;
  AssignSplitSupport(ta, {&tb});
  for (const auto& node : ta.nodes)
    if (node->isInternal && node->Parent() != nullptr && node->support != 1) return false;
  return true;
}

}  // namespace

TEST(TNJTreeFrm, RunGivesReportAndTreeViewerWhoseTreesSaveAndReopen) {
  ShellFixture f;
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string fasta = WriteTemp(dir, "nj_dialog.fas", kFasta);
  TDataProj project(f.form->GetServices());
  ASSERT_TRUE(ReadProject(fasta, project, f.form->GetServices()));

  TNJTreeFrm* dialog = NewNJTreeFrm(*f.form);
  EXPECT_EQ(NewNJTreeFrm(*f.form), dialog);
  EXPECT_EQ(f.form->ToolWindow(ToolKind::NJTreeFrm), dialog);
  ASSERT_TRUE(dialog->InitData(&project));
  // The dialog's own controls and defaults; bootstrap offered, sliding windows not.
  EXPECT_TRUE(dialog->rbJC->isChecked());
  EXPECT_EQ(dialog->rbKimura->text(), "Kimura's");
  EXPECT_EQ(dialog->rbNumDif->text(), "Number of differences");
  EXPECT_TRUE(dialog->cbSDK->isChecked());
  EXPECT_EQ(dialog->cbGeneTree->text(), "Gene tree");
  EXPECT_FALSE(dialog->cbGeneTree->isChecked());
  EXPECT_FALSE(dialog->findChild<QGroupBox*>("BootstrapBox")->isHidden());
  EXPECT_FALSE(dialog->cbDoBootstrap->isChecked());
  EXPECT_EQ(dialog->cbDoBootstrap->text(), "Do bootstrap. Replicates:");
  EXPECT_EQ(dialog->seBSreplicates->value(), 100);
  EXPECT_TRUE(dialog->cbDoSW->parentWidget()->isHidden());

  dialog->rbKimura->setChecked(true);
  QPointer<TNJTreeFrm> watch(dialog);
  dialog->OkButton->click();
  const std::vector<NamedTree> trees = dialog->LastTrees();
  TTreeViewForm* viewer = dialog->LastViewer();
  const std::string report = dialog->LastOutput().report;
  ASSERT_TRUE(dialog->LastOutput().error.empty()) << dialog->LastOutput().error;

  auto* rep = qobject_cast<TRepForm*>(f.form->ToolWindow(ToolKind::RepForm));
  ASSERT_NE(rep, nullptr);
  EXPECT_EQ(rep->windowTitle(), "Neighbour Joining tree reconstruction report");
  EXPECT_NE(report.find("Kimura (2 param) distances"), std::string::npos);
  // The whole dataset and both populations.
  ASSERT_EQ(trees.size(), 3u);
  EXPECT_EQ(trees[0].name, "nj_dialog.fas");
  EXPECT_EQ(trees[1].name, "nj_dialog.fas_north");
  EXPECT_EQ(trees[2].name, "nj_dialog.fas_south");

  // The trees are in a new registered viewer, tree 1 shown; the dialog has closed.
  ASSERT_NE(viewer, nullptr);
  auto* host = qobject_cast<TTreeViewWindow*>(f.form->ToolWindow(ToolKind::TreeViewForm));
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(host->Viewer(), viewer);
  EXPECT_EQ(host->windowTitle(), "View Tree");
  ASSERT_EQ(viewer->Table().RowCount(), 3);
  EXPECT_EQ(viewer->Table().Current(), 1);
  EXPECT_EQ(viewer->Table().Row(1).text, trees[0].text);
  EXPECT_EQ(viewer->Table().Row(3).name, "nj_dialog.fas_south");
  QTest::qWait(50);
  EXPECT_TRUE(watch.isNull());
  EXPECT_EQ(f.form->ToolWindow(ToolKind::NJTreeFrm), nullptr);

  // Saved as Newick and opened again in a viewer of the main window's menu.
  const QString saved = dir.filePath("nj.tree");
  ASSERT_TRUE(viewer->SaveTreeFile(saved, TreeFileFormat::Newick));
  QAction* menu = f.Action("TreeViewer1");
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->isEnabled());
  EXPECT_EQ(menu->text(), "&Tree viewer...");
  menu->trigger();
  EXPECT_EQ(host->Viewer(), NewTreeViewForm(*f.form));  // activated, not doubled
  qobject_cast<QMdiSubWindow*>(host->parentWidget())->close();
  QTest::qWait(50);
  menu->trigger();
  auto* fresh = qobject_cast<TTreeViewWindow*>(f.form->ToolWindow(ToolKind::TreeViewForm));
  ASSERT_NE(fresh, nullptr);
  ASSERT_TRUE(fresh->Viewer()->OpenTreeFile(saved));
  ASSERT_EQ(fresh->Viewer()->Table().RowCount(), 3);
  for (int r = 1; r <= 3; ++r) {
    EXPECT_EQ(fresh->Viewer()->Table().Row(r).name, trees[static_cast<std::size_t>(r - 1)].name);
    EXPECT_EQ(fresh->Viewer()->Table().Row(r).text, trees[static_cast<std::size_t>(r - 1)].text);
  }

  // The command-line tool with the same options builds the same trees.
  const QString cli = QString(NODRIX_BINARY_DIR) + "/nodrix3-cli";
  if (!QFile::exists(cli)) GTEST_SKIP() << "nodrix3-cli not built";
  const std::string groups = WriteTemp(dir, "nj_groups.csv", kGroups);
  QProcess run;
  run.start(cli, {"nj", QString::fromStdString(fasta), "--groups", QString::fromStdString(groups),
                  "--model", "kimura"});
  ASSERT_TRUE(run.waitForFinished(60000));
  EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
  const QStringList lines =
      QString::fromLatin1(run.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 3);
  for (int k = 0; k < 3; ++k) {
    const std::string text = lines[k].toStdString();
    EXPECT_TRUE(SameTopology(text, trees[static_cast<std::size_t>(k)].text)) << text;
    EXPECT_TRUE(SameTopology(trees[static_cast<std::size_t>(k)].text, text)) << text;
  }
}

TEST(TNJTreeFrm, BootstrapPutsSupportOnTheViewersTrees) {
  ShellFixture f;
  QTemporaryDir dir;
  const std::string fasta = WriteTemp(dir, "nj_boot.fas", kFasta);
  TDataProj project(f.form->GetServices());
  ASSERT_TRUE(ReadProject(fasta, project, f.form->GetServices()));
  TNJTreeFrm* dialog = NewNJTreeFrm(*f.form);
  ASSERT_TRUE(dialog->InitData(&project));
  dialog->rbUseCurDS->setChecked(true);
  dialog->cbDoBootstrap->setChecked(true);
  dialog->seBSreplicates->setValue(20);
  dialog->OkButton->click();
  EXPECT_NE(dialog->LastOutput().report.find("Bootstrap: 20 replicates"), std::string::npos);
  ASSERT_FALSE(dialog->LastTrees().empty());
  TTree t;
  ASSERT_TRUE(t.ReadBrackets(dialog->LastTrees()[0].text));
  int labelled = 0;
  for (const auto& node : t.nodes)
    if (node->isInternal && node->Parent() != nullptr) {
      EXPECT_GE(node->support, 0);
      EXPECT_LE(node->support, 100);
      ++labelled;
    }
  EXPECT_GT(labelled, 0);
}
