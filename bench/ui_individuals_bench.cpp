// SPDX-License-Identifier: GPL-3.0-or-later
// The individuals page and the analysis dialogs' project tree on a project of 30,000
// sequences in 10 datasets and 10,000 individuals: filling the table and the sequence list
// (all datasets), and filling the dialog tree (sequences listed only when a dataset opens).
// Run with QT_QPA_PLATFORM=offscreen (set here when absent).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListView>
#include <QTableView>
#include <memory>

#include "editor/IndividualsCommands.h"
#include "model/DataProjUnit.h"
#include "ui/editor/IndividualsPage.h"
#include "ui/editor/OpenCommands.h"
#include "ui/editor/ProjectTree.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/shell/CLXMain.h"

namespace {

TSeqGridFrm* window = nullptr;  // built once in main

void FillProject(TDataProj& p) {
  for (int i = 1; i <= 10000; ++i) {
    TIndivid ind;
    ind.indName = "Ind" + std::to_string(100000 + i);
    ind.attributes = {{"Habitat", "lake", 0, -999999999.0}, {"Depth", "3", 0, 3.0}};
    p.AddIndivid(ind);
  }
  for (int d = 0; d < 10; ++d) {
    p.NewDataset();
    TDataSeq& ds = *p.CurrentDataset();
    for (int k = 0; k < 3000; ++k) {
      auto s = std::make_unique<TSeq>();
      s->seqName = p.IndividName((d * 3000 + k) % 10000) + "_L" + std::to_string(d);
      s->letters = "ACGTACGTAC";
      s->SyncLength();
      benchmark::DoNotOptimize(ds.AddSeq(s, false));
    }
  }
  AutolinkNames(p);
}

void BM_IndividualsPageFill(benchmark::State& state) {
  TIndividualsPage* page = window->IndividPage;
  for (auto _ : state) {
    page->Rebuild();
    page->IndivGrid->doItemsLayout();
    page->SeqList->doItemsLayout();
    benchmark::DoNotOptimize(page->SeqList->model()->rowCount());
  }
}

void BM_DialogTreeFill(benchmark::State& state) {
  TProjectTree tree(nullptr, TreeMode::Dialog);
  for (auto _ : state) {
    tree.Rebuild(window->GetProject());
    benchmark::DoNotOptimize(tree.IndividualsRoot()->childCount());
  }
}

void BM_DialogTreeOpenDataset(benchmark::State& state) {
  TProjectTree tree(nullptr, TreeMode::Dialog);
  for (auto _ : state) {
    tree.Rebuild(window->GetProject());
    tree.DatasetsRoot()->child(0)->setExpanded(true);  // lists its 3,000 sequences
    benchmark::DoNotOptimize(tree.DatasetsRoot()->child(0)->childCount());
  }
}

}  // namespace

BENCHMARK(BM_IndividualsPageFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DialogTreeFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DialogTreeOpenDataset)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  QuietMessages quiet;
  auto main = std::make_unique<TMainForm>(QString(), &quiet);
  InstallOpenDispatcher(*main);
  window = AsSeqGridFrm(main->NewEditorWindow("bench"));
  FillProject(window->GetProject());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  window = nullptr;
  main.reset();  // widgets go before the application object does
  return 0;
}
