// SPDX-License-Identifier: GPL-3.0-or-later
// The sequence properties dialog on a sequence with 5,000 functional regions: the whole dialog
// built and its regions grid painted, and one cell edit with the repaint it causes. Run with
// QT_QPA_PLATFORM=offscreen (set here when absent).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QTabWidget>
#include <QTableView>
#include <memory>
#include <string>

#include "ui/editor/OpenCommands.h"
#include "ui/editor/RegionGridModel.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/editor/SeqPropDialog.h"
#include "ui/shell/CLXMain.h"

namespace {

TSeqGridFrm* editor = nullptr;  // built once in main

void FillEditor(TSeqGridFrm& w) {
  TDataProj& p = w.GetProject();
  p.NewDataset();
  TDataSeq& ds = *p.CurrentDataset();
  auto s = std::make_unique<TSeq>();
  s->seqName = "long";
  s->letters.assign(1'000'000, 'A');
  s->SyncLength();
  for (int i = 0; i < 5000; ++i) {
    TRegion r;
    r.regStart = 1 + i * 200;
    r.regEnd = r.regStart + 150;
    r.regType =
        static_cast<std::uint8_t>(i % 3 == 0 ? kRegCds : (i % 3 == 1 ? kRegExon : kRegIntron));
    r.regName = "reg" + std::to_string(i);
    r.prevId = i;  // links to the previous region
    s->AddRegion(r);
  }
  (void)ds.AddSeq(s, false);
  ds.currentRow = 1;
}

void Paint(QTableView& grid, QImage& image) {
  grid.viewport()->render(&image);
  benchmark::DoNotOptimize(image.constBits());
}

// The dialog shown at its usual size, the regions page in front.
void Show(TSeqPropDialog& d) {
  d.resize(760, 520);
  d.PageControl->setCurrentIndex(1);
  d.show();
  QCoreApplication::processEvents();
}

std::string ViewportLabel(const TSeqPropDialog& d) {
  const QSize size = d.FRgrid->viewport()->size();
  return "viewport " + std::to_string(size.width()) + "x" + std::to_string(size.height()) + ", " +
         std::to_string(d.FRgrid->model()->rowCount()) + " rows";
}

void BM_RegionGridFill(benchmark::State& state) {
  std::string label;
  for (auto _ : state) {
    TSeqPropDialog d(*editor);
    Show(d);
    QImage image(d.FRgrid->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    Paint(*d.FRgrid, image);
    label = ViewportLabel(d);
  }
  state.SetLabel(label);
}

void BM_RegionGridEdit(benchmark::State& state) {
  TSeqPropDialog d(*editor);
  Show(d);
  d.FRgrid->scrollTo(d.RegionModel().index(2500, kColName));
  QImage image(d.FRgrid->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
  RegionGridModel& m = d.RegionModel();
  int k = 0;
  for (auto _ : state) {
    m.setData(m.index(2500, kColName), QString("name%1").arg(++k), Qt::EditRole);
    Paint(*d.FRgrid, image);
  }
  state.SetLabel(ViewportLabel(d));
}

}  // namespace

BENCHMARK(BM_RegionGridFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegionGridEdit)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  QuietMessages quiet;
  auto main = std::make_unique<TMainForm>(QString(), &quiet);
  InstallOpenDispatcher(*main);
  editor = AsSeqGridFrm(main->NewEditorWindow("bench"));
  if (editor == nullptr) return 1;
  FillEditor(*editor);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  editor = nullptr;
  main.reset();
  return 0;
}
