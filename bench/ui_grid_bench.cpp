// SPDX-License-Identifier: GPL-3.0-or-later
// Painting full viewports of the sequence grid on a 30,000-row x 5,000-column dataset at several
// zoom levels, offscreen into an image. A frame must stay well under 16 ms for smooth scrolling.
// Run with QT_QPA_PLATFORM=offscreen (set here when absent).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <memory>

#include "BenchServices.h"
#include "common/Services.h"
#include "model/DataProjUnit.h"
#include "model/GenCodUnit.h"
#include "ui/grid/QSeqGrid3.h"

namespace {
constexpr int kRows = 30000;
constexpr int kColumns = 5000;

TSeqGrid3* bigGrid = nullptr;  // built once in main: 150 MB of letters outlast every frame

std::unique_ptr<TSeqGrid3> MakeBigGrid(Services& services) {
  auto g = std::make_unique<TSeqGrid3>(services);
  g->SetBlinking(false);
  g->resize(1600, 1000);
  g->show();
  g->Project().NewDataset();
  TDataSeq& ds = *g->Dataset();
  std::uint32_t state = 12345;
  const char bases[] = "ACGT";
  for (int r = 0; r < kRows; ++r) {
    auto s = std::make_unique<TSeq>();
    s->seqName = "seq_" + std::to_string(r + 1);
    s->letters.resize(kColumns);
    for (char& c : s->letters) {
      state = state * 134775813u + 1u;  // the platform generator's recurrence
      c = (state >> 24) % 23 == 0 ? '-' : bases[(state >> 28) & 3];
    }
    s->SyncLength();
    if (r % 3 == 0) {
      TRegion cds;
      cds.regStart = 100 + r % 50;
      cds.regEnd = 4000;
      cds.regType = kRegCds;
      cds.codonPos = 1;
      s->AddRegion(cds);
    }
    benchmark::DoNotOptimize(ds.AddSeq(s, false));
  }
  g->Refresh(false);
  return g;
}

TSeqGrid3& BigGrid() {
  return *bigGrid;
}

void PaintFrames(benchmark::State& state, double letterWidth, bool moveEachFrame) {
  TSeqGrid3& grid = BigGrid();
  grid.letterWidth = letterWidth;
  grid.Dataset()->firstVisibleCol = 2000;
  grid.Refresh(false);
  grid.verticalScrollBar()->setValue(15000);
  QWidget* port = grid.viewport();
  QImage image(port->size(), QImage::Format_ARGB32_Premultiplied);
  int step = 0;
  for (auto _ : state) {
    if (moveEachFrame) {
      // Scrolling: a new window of rows and columns every frame.
      ++step;
      grid.verticalScrollBar()->setValue(15000 + (step % 200) * 7);
      grid.horizontalScrollBar()->setValue(2000 + (step % 100) * 3);
    }
    QPainter p(&image);
    grid.PaintViewport(p, image.rect());
    p.end();
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.SetLabel(
      "viewport " + std::to_string(port->width()) + "x" + std::to_string(port->height()) + ", " +
      std::to_string(grid.Dataset()->lastVisibleCol - grid.Dataset()->firstVisibleCol + 1) +
      " columns" + (grid.outlineMode ? ", outlines" : ", letters"));
}

void BM_GridFrame(benchmark::State& state) {
  PaintFrames(state, static_cast<double>(state.range(0)) / 10.0, false);
}
void BM_GridScrollFrame(benchmark::State& state) {
  PaintFrames(state, static_cast<double>(state.range(0)) / 10.0, true);
}
void BM_GridFitFrame(benchmark::State& state) {
  TSeqGrid3& grid = BigGrid();
  grid.ZoomFit();
  PaintFrames(state, grid.letterWidth, false);
}
}  // namespace

// Zoom in tenths of a pixel per column: 20 (maximum), 12 (default), 10 (standard view),
// 8 (codon line on), 5 (outlines), 1.
BENCHMARK(BM_GridFrame)
    ->Arg(200)
    ->Arg(120)
    ->Arg(100)
    ->Arg(80)
    ->Arg(50)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridScrollFrame)->Arg(120)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridFitFrame)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  BenchServices svc;
  // Widgets go before the application object does.
  std::unique_ptr<TSeqGrid3> grid = MakeBigGrid(svc.services);
  bigGrid = grid.get();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  bigGrid = nullptr;
  grid.reset();
  return 0;
}
