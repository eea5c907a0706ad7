// SPDX-License-Identifier: GPL-3.0-or-later
// The grid on a real alignment and the trace view on a trace. With NODRIX_GRID_SHOTS naming a
// folder, the pictures are written there as PNG files (run under xvfb-run to look at them).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTest>
#include <QVBoxLayout>
#include <cmath>
#include <fstream>
#include <sstream>

#include "io/TraceFormats.h"
#include "model/DatasetBuilders.h"
#include "support/RecordingServices.h"
#include "ui/grid/QChromBox.h"
#include "ui/grid/QSeqGrid3.h"

namespace {
// Name and letters of every row of a Clustal file, blocks joined; enough for a picture.
std::vector<std::pair<std::string, std::string>> ClustalRows(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::pair<std::string, std::string>> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == ' ' || line.rfind("CLUSTAL", 0) == 0) continue;
    std::istringstream words(line);
    std::string name, letters;
    words >> name >> letters;
    auto it =
        std::find_if(rows.begin(), rows.end(), [&](const auto& r) { return r.first == name; });
    if (it == rows.end())
      rows.emplace_back(name, letters);
    else
      it->second += letters;
  }
  return rows;
}

void Save(const QImage& image, const char* name) {
  const QByteArray folder = qgetenv("NODRIX_GRID_SHOTS");
  if (folder.isEmpty()) return;
  EXPECT_TRUE(image.save(QDir(QString::fromLocal8Bit(folder)).filePath(QLatin1String(name))));
}

// Four channels of Gaussian peaks, one letter every 12 samples, quality rising and falling.
void SyntheticTrace(TSeq& s) {
  const int n = s.Length();
  const int samples = 12 * n + 40;
  for (auto* ch : {&s.traceA, &s.traceT, &s.traceG, &s.traceC}) ch->assign(samples, 20);
  s.peakPos.clear();
  s.quality.clear();
  for (int i = 0; i < n; ++i) {
    const int peak = 20 + 12 * i;
    s.peakPos.push_back(peak);
    s.quality.push_back(static_cast<std::uint8_t>(20 + (i * 7) % 45));
    TRare<std::vector<std::uint16_t>>* ch = &s.traceC;
    switch (s.letters[static_cast<std::size_t>(i)]) {
      case 'A':
        ch = &s.traceA;
        break;
      case 'T':
        ch = &s.traceT;
        break;
      case 'G':
        ch = &s.traceG;
        break;
      default:
        break;
    }
    const double height = 600 + 350 * std::sin(i * 0.7);
    for (int d = -8; d <= 8; ++d)
      (*ch)[static_cast<std::size_t>(peak + d)] +=
          static_cast<std::uint16_t>(height * std::exp(-d * d / 8.0));
  }
}
}  // namespace

TEST(GridPictures, RealAlignmentWithRegionsBlockAndCursor) {
  RecordingServices svc;
  TSeqGrid3 grid(svc);
  grid.SetBlinking(false);
  grid.resize(900, 260);
  grid.Project().NewDataset();
  TDataSeq& ds = *grid.Dataset();
  const auto rows = ClustalRows(std::string(NODRIX_TEST_DATA) + "/opuntia.aln");
  ASSERT_EQ(rows.size(), 7u);
  for (const auto& [name, letters] : rows) AddRow(ds, name, letters);
  TSeq& s1 = *ds.SeqAt(1);
  s1.AddRegion(MakeRegion(3, 40, kRegCds, 1));
  TSeq& s2 = *ds.SeqAt(2);
  TRegion exon = MakeRegion(10, 70, kRegExon, 2);
  exon.regName = "exon 1";
  s2.AddRegion(exon);
  s2.AddRegion(MakeRegion(45, 45, kRegSnp));
  TRegion rev = MakeRegion(5, 30, kRegCds, 1);
  rev.regReverse = true;
  ds.SeqAt(3)->AddRegion(rev);
  ds.SeqAt(4)->selected = true;
  ds.SeqAt(6)->enabled = false;
  ds.SeqAt(5)->selStart = 12;
  ds.SeqAt(5)->selLength = 6;
  ds.SeqAt(7)->selStart = 12;
  ds.SeqAt(7)->selLength = 6;
  ds.SetCursor(20, 2);
  grid.Refresh(false);
  grid.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
  const QImage standard = grid.grab().toImage();
  Save(standard, "grid_standard.png");
  grid.dottedView = true;
  grid.Refresh(false);
  Save(grid.grab().toImage(), "grid_dotted.png");
  grid.dottedView = false;
  grid.SetRowHeight(40);
  Save(grid.grab().toImage(), "grid_tall_rows.png");
  grid.SetRowHeight(23);
  grid.ZoomFit();
  EXPECT_TRUE(grid.outlineMode);
  const QImage outline = grid.grab().toImage();
  Save(outline, "grid_outline.png");
  EXPECT_NE(standard, outline);
  // Too small for letters, the cells are blocks in the letters' colours, not a black line.
  int green = 0, red = 0, blue = 0, black = 0;
  const int rowTop = grid.RowTopPixel(3);
  for (int x = grid.SeqColLeft() + 4; x < outline.width() - 4; ++x) {
    const QColor c = outline.pixelColor(x, rowTop + grid.RowHeight() / 2);
    green += c == QColor(0, 128, 0);
    red += c == QColor(255, 0, 0);
    blue += c == QColor(0, 0, 255);
    black += c == QColor(0, 0, 0);
  }
  EXPECT_GT(green, 20);
  EXPECT_GT(red, 20);
  EXPECT_GT(blue, 5);
  EXPECT_GT(black, 5);  // G is drawn black in the default scheme
}

TEST(GridPictures, TraceViewShowsChannelsPeaksAndFollowsClicks) {
  RecordingServices svc;
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* grid = new TSeqGrid3(svc);
  auto* chrom = new TChromBox(grid);
  layout->addWidget(grid);
  layout->addWidget(chrom);
  grid->SetBlinking(false);
  chrom->setMinimumHeight(160);
  window.resize(800, 420);
  grid->Project().NewDataset();
  TDataSeq& ds = *grid->Dataset();
  TSeq& read = AddRow(ds, "read1", "ACGTTGCAAGGCTTACGATCGATCGGATCCATGCATGCAATTGGCCAAGTCGATCG");
  AddRow(ds, "plain", "ACGTTGCAAGGCTTACGATCGATCG");
  SyntheticTrace(read);
  read.showTrace = true;
  read.selStart = 8;
  read.selLength = 4;
  ds.SetCursor(10, 1);
  grid->Refresh(false);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  ASSERT_TRUE(chrom->ShowsTrace());
  const QImage trace = chrom->grab().toImage();
  Save(trace, "trace_synthetic.png");
  // The A channel's colour appears somewhere in the box.
  const QColor aColor(RedOf(grid->colorScheme[kLetterAColor]),
                      GreenOf(grid->colorScheme[kLetterAColor]),
                      BlueOf(grid->colorScheme[kLetterAColor]));
  bool found = false;
  for (int y = 0; y < trace.height() && !found; ++y)
    for (int x = 0; x < trace.width() && !found; ++x) found = trace.pixelColor(x, y) == aColor;
  EXPECT_TRUE(found);
  // A click on the peak of letter 15 puts the cursor there; a click past the last peak on the
  // last letter.
  const int x15 = static_cast<int>(SampleX(chrom->window, read.peakPos[14]));
  QTest::mouseClick(chrom, Qt::LeftButton, {}, QPoint(x15, chrom->height() / 2));
  EXPECT_EQ(ds.cursorPos, 15);
  chrom->window.firstSample = read.peakPos.back() - 5;
  QTest::mouseClick(chrom, Qt::LeftButton, {}, QPoint(chrom->width() - 5, chrom->height() / 2));
  EXPECT_EQ(ds.cursorPos, read.Length());
  // In the grid the row shows its trace too: a click just right of a peak picks that letter.
  const double peak20 = ColumnXReal(grid->Layout(), read.columnShift + read.peakPos[19] / 10.0);
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                    QPoint(static_cast<int>(peak20) + 6, grid->CellRect(1, 1).center().y()));
  EXPECT_EQ(ds.currentRow, 1);
  EXPECT_EQ(ds.cursorPos, 20);
  Save(grid->grab().toImage(), "grid_trace_row.png");
  // A sequence without a trace shows its overview; clicks map proportionally.
  ds.SetCursor(1, 2);
  grid->Refresh(false);
  EXPECT_FALSE(chrom->ShowsTrace());
  Save(chrom->grab().toImage(), "trace_overview.png");
  QTest::mouseClick(chrom, Qt::LeftButton, {}, QPoint(chrom->width() / 2, chrom->height() / 2));
  EXPECT_NEAR(ds.cursorPos, 13, 1);
  Save(window.grab().toImage(), "grid_with_trace.png");
}

TEST(GridPictures, RealAbiTraceAroundTheCursor) {
  RecordingServices svc;
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* grid = new TSeqGrid3(svc);
  auto* chrom = new TChromBox(grid);
  chrom->setMinimumHeight(200);
  layout->addWidget(grid);
  layout->addWidget(chrom);
  grid->SetBlinking(false);
  window.resize(900, 420);
  grid->Project().NewDataset();
  TDataSeq& ds = *grid->Dataset();
  std::unique_ptr<TSeq> read = OpenAbi(std::string(NODRIX_TEST_DATA) + "/310.ab1", svc);
  ASSERT_NE(read, nullptr);
  read->showTrace = true;
  ASSERT_EQ(ds.AddSeq(read, true), 1);
  ds.SetCursor(120, 1);
  ds.SeqAt(1)->selStart = 118;
  ds.SeqAt(1)->selLength = 5;
  grid->letterWidth = 20;
  grid->Refresh(false);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  ASSERT_TRUE(chrom->ShowsTrace());
  const QImage trace = chrom->grab().toImage();
  Save(trace, "trace_310.png");
  Save(window.grab().toImage(), "grid_trace_310.png");
  // The cursor letter's peak lies inside the box.
  const double x = SampleX(chrom->window, ds.SeqAt(1)->peakPos[119]);
  EXPECT_GE(x, 0);
  EXPECT_LE(x, chrom->width());
}
