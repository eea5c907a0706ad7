// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "support/RecordingServices.h"
#include "trees/NJTreeUnit.h"
#include "ui/trees/ShowTreeUnit.h"

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QByteArray ReadFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int DarkPixels(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
  return n;
}

}  // namespace

TEST(TTreeViewForm, OpensDrawsSavesAndReopensTrees) {
  RecordingMessages messages;
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString input = dir.filePath("in.tree");
  WriteFile(input,
            "first ((A:0.1,B:0.2):0.1,C:0.3);\r\n"
            "apes ((Homo:0.5,Pan:0.4)0.97:0.2,(Gorilla:0.8,'Pongo pygmaeus':1.1):0.3);\r\n");
  TTreeViewForm form(messages);
  EXPECT_EQ(form.windowTitle(), QString("View Tree"));
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  ASSERT_TRUE(form.OpenTreeFile(input));
  ASSERT_EQ(form.Table().RowCount(), 2);
  EXPECT_EQ(form.Table().Row(2).name, "apes");

  // The example-sized tree: C is the top leaf; its edge runs from the root (x = 6) to
  // x = 0.3 * 250 / 0.3 + 6 = 256 at y = round(250 / 3 + 21) = 104.
  QImage first = form.PaintBox()->grab().toImage();
  EXPECT_EQ(form.LastPaintMessage(), "");
  EXPECT_LT(qGray(first.pixel(150, 104)), 100);
  EXPECT_GT(qGray(first.pixel(150, 60)), 200);  // nothing above the top leaf

  form.SelectTree(2);
  QImage apes = form.PaintBox()->grab().toImage();
  apes.save("/tmp/treeview_apes.png");  // for a look by eye
  form.grab().save("/tmp/treeview_window.png");
  EXPECT_EQ(form.LastPaintMessage(), "");
  EXPECT_GT(DarkPixels(apes), 500);

  const QString saved = dir.filePath("out.tree");
  ASSERT_TRUE(form.SaveTreeFile(saved, TreeFileFormat::Newick));
  TTreeViewForm again(messages);
  ASSERT_TRUE(again.OpenTreeFile(saved));
  ASSERT_EQ(again.Table().RowCount(), 2);
  for (int r = 1; r <= 2; ++r) {
    EXPECT_EQ(again.Table().Row(r).name, form.Table().Row(r).name);
    EXPECT_EQ(again.Table().Row(r).text, form.Table().Row(r).text);
  }

  // The current tree as NEXUS and as a parent list opens again with the same leaves.
  for (auto [name, format] :
       {std::pair{"out.nex", TreeFileFormat::Nexus}, std::pair{"out.pag", TreeFileFormat::Pag}}) {
    SCOPED_TRACE(name);
    const QString path = dir.filePath(name);
    ASSERT_TRUE(form.SaveTreeFile(path, format));
    TTreeViewForm reopened(messages);
    ASSERT_TRUE(reopened.OpenTreeFile(path));
    ASSERT_EQ(reopened.Table().RowCount(), 1);
    const std::string text = reopened.Table().Row(1).text;
    for (const char* leaf : {"Homo:0.500", "Pan:0.400", "Gorilla:0.800", "'Pongo pygmaeus':1.100"})
      EXPECT_NE(text.find(leaf), std::string::npos) << text;
  }

  const QString png = dir.filePath("apes.png");
  const QString svg = dir.filePath("apes.svg");
  ASSERT_TRUE(form.ExportPng(png));
  ASSERT_TRUE(form.ExportSvg(svg));
  QImage exported(png);
  EXPECT_FALSE(exported.isNull());
  EXPECT_GT(DarkPixels(exported), 500);
  const QByteArray svgText = ReadFile(svg);
  EXPECT_TRUE(svgText.contains("<svg"));
  EXPECT_TRUE(svgText.contains("Gorilla"));
  EXPECT_TRUE(messages.errors.empty());
}

TEST(TTreeViewForm, BadTreesAreDrawnAsMessagesWithoutAnyMessageBox) {
  RecordingMessages messages;
  QTemporaryDir dir;
  const QString input = dir.filePath("bad.tree");
  // The second balances when a quote may open inside a name, but the reader takes quotes
  // only at the start of a label, so its last quote never closes.
  WriteFile(input, "broken (A,(B;\r\nunreadable (A'B,'C);\r\n");
  TTreeViewForm form(messages);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  ASSERT_TRUE(form.OpenTreeFile(input));
  form.PaintBox()->grab();
  EXPECT_EQ(form.LastPaintMessage(), kBracketErrorText);
  form.SelectTree(2);
  form.PaintBox()->grab();
  EXPECT_EQ(form.LastPaintMessage(), kParseErrorText);
  form.ClearTrees();
  form.PaintBox()->grab();
  EXPECT_EQ(form.LastPaintMessage(), kEmptyTreeText);
  EXPECT_TRUE(messages.notices.empty());
  EXPECT_TRUE(messages.questions.empty());
  // Nothing readable to write as a parent list: no file, a message instead.
  EXPECT_FALSE(form.SaveTreeFile(dir.filePath("none.pag"), TreeFileFormat::Pag));
  EXPECT_FALSE(QFile::exists(dir.filePath("none.pag")));
  EXPECT_EQ(messages.errors.size(), 1u);
}

TEST(TTreeViewForm, NeighborJoiningTreesGoToTheViewerAndComeBackFromAFile) {
  // The run the neighbour-joining dialog makes for one group, on letters.
  const std::vector<std::string> names{"s1", "s2", "s3", "s4"};
  const std::vector<std::string> seqs{"ACGTACGTAC", "ACGTACGTAA", "ACGAACGTTA", "TCGAACGTTA"};
  DistanceMatrix m;
  ASSERT_TRUE(ComputeDistances(seqs, DistanceModel::Differences, m));
  TTree tree;
  const std::string report = NeighborJoinReport(names, m, DistanceModel::Differences, true, tree);
  ASSERT_NE(report.find("Neighbor-joining tree:"), std::string::npos);
  RecordingMessages messages;
  TTreeViewForm form(messages);
  form.ClearTrees();
  ASSERT_TRUE(form.AddTree(NJTreeTitle("Dataset", "", true), tree.WriteBrackets(false), true));
  form.SelectTree(1);
  EXPECT_EQ(form.Table().RowCount(), 1);
  QTemporaryDir dir;
  ASSERT_TRUE(form.SaveTreeFile(dir.filePath("nj.tree"), TreeFileFormat::Newick));
  TTreeViewForm again(messages);
  ASSERT_TRUE(again.OpenTreeFile(dir.filePath("nj.tree")));
  EXPECT_EQ(again.Table().Row(1).name, "Dataset");
  EXPECT_EQ(again.Table().Row(1).text, tree.WriteBrackets(false));
}

TEST(TTreeViewForm, SupportsShowAsPercentWhenAskedAndBifurcatingAsksFirst) {
  RecordingMessages messages;
  TTreeViewForm form(messages);
  form.ClearTrees();
  ASSERT_TRUE(form.AddTree("apes", "((Homo:0.5,Pan:0.4)0.97:0.9,Gorilla:0.8,Pongo:1.1);", true));
  QTemporaryDir dir;
  const QString plain = dir.filePath("plain.svg");
  ASSERT_TRUE(form.ExportSvg(plain));
  EXPECT_FALSE(ReadFile(plain).contains(">97<"));
  auto* show = form.findChild<QCheckBox*>("cbShowBstrap");
  ASSERT_NE(show, nullptr);
  show->setChecked(true);
  auto* pages = form.findChild<QTabWidget*>();
  pages->setCurrentIndex(2);  // leaving a page reads the options
  pages->setCurrentIndex(0);
  const QString shown = dir.filePath("support.svg");
  ASSERT_TRUE(form.ExportSvg(shown));
  EXPECT_TRUE(ReadFile(shown).contains(">97<")) << ReadFile(shown).toStdString();

  messages.answers = {true};
  form.findChild<QToolButton*>("BifurcTree")->click();
  EXPECT_EQ(messages.questions,
            std::vector<std::string>{"Convert current tree to a bifurcating tree?"});
  // Shortest length 0.4: the new inner edge is 0.04.
  EXPECT_EQ(form.Table().Row(1).text,
            "(Pongo:1.100,((Homo:0.500,Pan:0.400)97:0.860,Gorilla:0.760):0.040);");
}

// Fit to window fills the paint box with the drawing; the outgroup (or a chosen leaf) roots it
// before it is laid out; a scale bar of a round length sits under trees with branch lengths.
TEST(TTreeViewForm, FitsTheWindowRootsOnTheOutgroupAndShowsAScaleBar) {
  RecordingMessages messages;
  TTreeViewForm form(messages);
  form.resize(700, 560);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  form.ClearTrees();
  ASSERT_TRUE(form.AddTree("nj", "((A:1,B:2):3,C:4,(O1:1,O2:1):5);", true));
  form.FitToWindow();
  const QWidget* box = form.PaintBox();
  const TreeRow& row = form.Table().Row(1);
  EXPECT_GT(row.hSize, box->width() / 2);
  EXPECT_LT(row.hSize, box->width());
  EXPECT_GT(row.vSize, box->height() / 2);
  EXPECT_LT(row.vSize + kScaleBarRoom, box->height());

  QComboBox* root = form.RootChoice();
  EXPECT_EQ(root->currentText(), "as written");
  form.SetOutgroup({"O1", "O2"});
  EXPECT_EQ(root->currentText(), "outgroup");
  EXPECT_EQ(form.DrawStyle().rootOn, (std::vector<std::string>{"O1", "O2"}));
  // A leaf of the tree can be chosen instead; the tree text is never changed.
  ASSERT_GE(root->findText("C"), 0);
  root->setCurrentIndex(root->findText("C"));
  emit root->activated(root->currentIndex());
  EXPECT_EQ(form.DrawStyle().rootOn, std::vector<std::string>{"C"});
  EXPECT_EQ(form.Table().Row(1).text, "((A:1,B:2):3,C:4,(O1:1,O2:1):5);");

  // Rooted on the outgroup the deepest leaf is B, 2.5 + 3 + 2 = 7.5 from the root: the bar
  // is 1 (the largest 1, 2 or 5 times a power of ten within a quarter of 7.5), drawn from the
  // root's x to 1 / 7.5 of the drawing's width further, below the lowest leaf.
  root->setCurrentIndex(root->findText("outgroup"));
  emit root->activated(root->currentIndex());
  const QImage withBar = form.PaintBox()->grab().toImage();
  EXPECT_EQ(form.LastPaintMessage(), "");
  const int x0 = 1 + 5, x1 = 1 + 5 + row.hSize * 10 / 75;
  const int barY = row.vSize + 1 + 20 + 14;  // lowest leaf's y, then 14 below it
  int dark = 0;
  for (int x = x0 + 2; x < x1 - 2; ++x) dark += qGray(withBar.pixel(x, barY)) < 100 ? 1 : 0;
  EXPECT_GT(dark, (x1 - x0) * 3 / 4);
}
