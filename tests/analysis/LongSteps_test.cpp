// SPDX-License-Identifier: GPL-3.0-or-later
// Long steps inside the analyses (site scan, distance matrix and its text, neighbour-joining,
// pair counting for permutations, LD pair output) report through the progress, and a cancel at
// any report stops the run there: no further report, and nothing half-made in the output.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <fstream>

#include "analysis/NeutralityAnalysis.h"
#include "analysis/PopStrucDBox.h"
#include "model/DataProjUnit.h"
#include "support/RecordingServices.h"
#include "trees/NJTreeAnalysis.h"

namespace {

// Two groups of sequences in each of `datasets` datasets, each a copy of one ancestor with
// about a tenth of its letters changed (so every distance is defined).
void Fill(TDataProj& proj, int datasets, int sequences, int length) {
  std::uint32_t state = 777;
  const auto next = [&state] { return state = state * 1664525u + 1013904223u; };
  for (const char* g : {"north", "south"}) {
    TGroup group;
    group.grpName = g;
    proj.AddGroup(group);
  }
  for (int d = 0; d < datasets; ++d) {
    proj.NewDataset();
    TDataSeq& ds = *proj.CurrentDataset();
    std::vector<std::pair<std::string, std::string>> pairs;
    std::string ancestor;
    for (int k = 0; k < length; ++k) ancestor += "ACGT"[next() >> 30];
    for (int s = 0; s < sequences; ++s) {
      std::string letters = ancestor;
      for (char& c : letters)
        if (next() % 10 == 0) c = "ACGT"[next() >> 30];
      const std::string name = "s" + std::to_string(s + 1);
      auto seq = std::make_unique<TSeq>(name, letters);
      (void)ds.AddSeq(seq, true);
      pairs.emplace_back(name, s % 2 == 0 ? "north" : "south");
    }
    proj.AssignSeqsToGroups(proj.CurrentIndex(), pairs);
  }
  InitAnalysisSelection(proj);
}

bool Has(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

// Runs the analysis once to count its step reports, then cancels at the first, a middle and
// the last of them; `check` sees each cancelled output.
template <typename Run, typename Check>
void CancelAtEveryStage(int datasets, const std::vector<std::string>& steps, Run run, Check check) {
  int reports = 0;
  {
    RecordingServices svc;
    TDataProj proj(svc);
    Fill(proj, datasets, 24, 40);
    const AnalysisOutput out = run(proj, svc);
    EXPECT_FALSE(out.cancelled);
    for (const std::string& step : steps) EXPECT_TRUE(Has(svc.progress.statuses, step)) << step;
    reports = svc.progress.stepReports;
  }
  ASSERT_GT(reports, 2);
  for (const int at : {1, reports / 2, reports}) {
    SCOPED_TRACE(at);
    RecordingServices svc;
    TDataProj proj(svc);
    Fill(proj, datasets, 24, 40);
    svc.progress.cancelAtStepReport = at;
    const AnalysisOutput out = run(proj, svc);
    EXPECT_TRUE(out.cancelled);
    EXPECT_EQ(svc.progress.stepReports, at);  // not one report after the cancel
    check(out, proj);
  }
}

}  // namespace

TEST(LongSteps, NeighbourJoiningWithBootstrapStopsWithoutATree) {
  FrameOptions fo;
  fo.doBootstrap = true;
  fo.bsReplicates = 3;
  std::vector<NamedTree> trees;
  CancelAtEveryStage(
      1,
      {"Computing the distance matrix", "Writing the distance matrix", "Joining neighbours",
       "Bootstrap trees"},
      [&](TDataProj& proj, RecordingServices& svc) {
        NJRunOutput r = RunNJ(proj, fo, NJTreeOptions{}, svc, 5);
        trees = std::move(r.trees);
        return std::move(r.output);
      },
      [&](const AnalysisOutput&, TDataProj&) { EXPECT_TRUE(trees.empty()); });
}

TEST(LongSteps, ScanOfSeveralDatasetsStopsWithEmptyTables) {
  CancelAtEveryStage(
      3, {"Searching for polymorphisms in Dataset1", "Searching for polymorphisms in Dataset3"},
      [](TDataProj& proj, RecordingServices& svc) {
        return RunNeutrality(proj, FrameOptions{}, NeutralityRunOptions{}, svc);
      },
      [](const AnalysisOutput& out, TDataProj& proj) {
        if (out.report.find("Tajima") == std::string::npos) {
          // Stopped in the scans before the reports: the datasets not scanned have no tables.
          EXPECT_TRUE(proj.DatasetAt(proj.DatasetCount() - 1)->mutHolders.empty());
          return;
        }
        // Stopped in a group's scan, made when its report asked for its tables: the report
        // ends at that group, whose tables stay empty.
        const std::size_t lastGroup = out.report.rfind("Group: ");
        ASSERT_NE(lastGroup, std::string::npos);
        EXPECT_EQ(out.report.find("Tajima", lastGroup), std::string::npos);
        int emptied = 0;
        for (int d = 0; d < proj.DatasetCount(); ++d)
          for (const auto& t : proj.DatasetAt(d)->mutHolders)
            if (t->groupId != 0 && t->sampleMask.Size() == 0) ++emptied;
        EXPECT_GT(emptied, 0);
      });
}

TEST(LongSteps, PermutationPairCountingAndLDPairsStop) {
  PopSubdivOptions so;
  so.permute = true;
  so.permutations = 5;
  so.seed = 3;
  CancelAtEveryStage(
      1, {"Counting differences between pairs"},
      [&](TDataProj& proj, RecordingServices& svc) {
        return RunPopSubdiv(proj, FrameOptions{}, so, svc);
      },
      [](const AnalysisOutput& out, TDataProj&) {
        EXPECT_EQ(out.report.find("P-value"), std::string::npos);
      });

  const QTemporaryDir dir;
  LDRunOptions lo;
  lo.mode = LDPairMode::Window;
  lo.windowSize = 10;
  lo.pairFile = dir.filePath("pairs.csv").toStdString();
  CancelAtEveryStage(
      1, {"Analysing LD in Dataset1"},
      [&](TDataProj& proj, RecordingServices& svc) {
        std::remove(lo.pairFile.c_str());
        return RunLD(proj, FrameOptions{}, lo, svc);
      },
      [&](const AnalysisOutput&, TDataProj&) {
        EXPECT_FALSE(std::ifstream(lo.pairFile).good());  // no half-written pair file
      });
}
