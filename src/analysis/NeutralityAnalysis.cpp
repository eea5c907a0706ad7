// SPDX-License-Identifier: GPL-3.0-or-later
// Neutrality tests and LD through the analysis frame.
#include "analysis/NeutralityAnalysis.h"

#include <optional>

#include "analysis/LDSplitFiles.h"
#include "analysis/Neutrality.h"
#include "analysis/NeutralityWindows.h"
#include "common/OutputFolder.h"
#include "common/Services.h"
#include "common/StepTicker.h"
#include "model/DataProjUnit.h"

namespace {

void StoreStats(TDataSeq& ds, int row, const GroupStatsText& g) {
  if (row < 0) return;
  for (const auto& [column, value] : g.stats) AddRealStat(ds, row, column, column, value);
}

}  // namespace

void NeutralityAnalysis::AnalysePop(TDataSeq& ds, const std::string& groupName) {
  BaseGroupReport(ds, groupName);
  if (project == nullptr || groupMask.Size() != ds.Count()) return;
  const int ti = TableIndex(ds, groupName);
  if (ti < 0) return;
  const samptype sample = Sample(ds);
  const tmutholder& t = *ds.mutHolders[static_cast<std::size_t>(ti)];
  const tmutholder* divergence = ti < static_cast<int>(ds.groupMutHolders.size())
                                     ? ds.groupMutHolders[static_cast<std::size_t>(ti)].get()
                                     : nullptr;
  const GroupStatsText g = NeutralityGroupReport(t, divergence, sample, groupMask.Count(), 0, 0,
                                                 opt.siteFlags, opt.mutationFlags, no.tests);
  Append(g.text);
  StoreStats(ds, StatRow(groupName), g);
}

void NeutralityAnalysis::DoForm(TDataSeq& ds) {
  AnalysisFrame::DoForm(ds);
  if (!fo.doSW || Failed() || !(no.swTajimaD || no.swZnS)) return;
  if (fo.swSize < 1) {
    svc->messages.Notify("Window size must be > 0");
    return;
  }
  if (ds.mutHolders.empty()) return;
  groupMask = samptype(ds.Count());
  for (int r = 1; r <= ds.Count(); ++r)
    if (ds.SeqAt(r)->selected && ds.SeqAt(r)->enabled) groupMask.Set(r - 1);
  const samptype sample = Sample(ds);
  const tmutholder& t = *ds.mutHolders[0];
  const std::vector<WindowSpan> spans =
      AnalysedWindows(t, regionFrom, regionTo, fo.swSize, fo.swStep);
  const std::string sizes = "Sliding window size: " + std::to_string(fo.swSize) +
                            ", increment: " + std::to_string(fo.swStep);
  auto profile = [&](bool zns) {
    Line(zns ? "Sliding window for ZnS (Kelly 1997) is calculated for the entire data set"
             : "Sliding window for TajimaD is calculated for the entire data set");
    Line(sizes);
    const std::vector<NeutralityWindowPoint> points =
        zns ? ZnSWindows(t, sample, spans, opt.siteFlags, opt.mutationFlags)
            : TajimaDWindows(t, sample, spans, opt.siteFlags, opt.mutationFlags);
    tser s;
    s.name = (zns ? "ZnS_in_" : "TajD_in_") + ds.dsName;
    s.lineColor = s.fillColor = 0;  // black
    s.shape = 3;
    std::string lines;
    for (const NeutralityWindowPoint& p : points) {
      TSerPoint q;
      q.x = p.x;
      q.y = q.yMin = q.yMax = p.value;
      q.label = std::to_string(p.segregating);
      s.points.push_back(q);
      if (fo.sw2file) lines += NeutralityWindowLine(ds.dsName, p, zns) + "\r\n";
    }
    if (fo.sw2file) AppendToFile(fo.swfile, lines);
    if (!s.points.empty()) series_.push_back(std::move(s));
  };
  if (no.swTajimaD) profile(false);
  if (no.swZnS && !Failed()) profile(true);
}

void NeutralityAnalysis::AfterRun() {
  out.reportCaption = kNeutralityReportCaption;
  PublishSeries(series_, kTajimaPlotCaption);
  out.plotXTitle = "Position (window midpoint, bp)";
  out.plotYTitle = no.swTajimaD && no.swZnS ? "Tajima's D, ZnS (dimensionless)"
                   : no.swZnS               ? "ZnS (dimensionless)"
                                            : "Tajima's D (dimensionless)";
}

AnalysisOutput RunNeutrality(TDataProj& project, const FrameOptions& frame,
                             const NeutralityRunOptions& options, Services& services) {
  NeutralityAnalysis analysis(frame, options);
  AnalysisOutput out = analysis.Run(project, services);
  if (out.reportCaption.empty()) out.reportCaption = kNeutralityReportCaption;
  return out;
}

FrameOptions LDFrameDefaults() {
  FrameOptions f;
  f.outFname = "LDsummary.txt";
  f.tableFileName = "LDsummaryTable.csv";
  f.doSW = false;
  f.plotSW = false;
  return f;
}

void LDAnalysis::AnalysePop(TDataSeq& ds, const std::string& groupName) {
  BaseGroupReport(ds, groupName);
  if (project == nullptr || groupMask.Size() != ds.Count()) return;
  const int ti = TableIndex(ds, groupName);
  if (ti < 0) return;
  const samptype sample = Sample(ds);
  const tmutholder& t = *ds.mutHolders[static_cast<std::size_t>(ti)];
  const GroupStatsText g = LDGroupReport(t, sample, groupMask.Count(), 0, 0, lo.summary);
  Append(g.text);
  StoreStats(ds, StatRow(groupName), g);
}

void LDAnalysis::DoForm(TDataSeq& ds) {
  AnalysisFrame::DoForm(ds);
  if (Failed() || ds.mutHolders.empty()) return;
  const tmutholder& t = *ds.mutHolders[0];
  samptype mask = t.sampleMask;
  for (int r = 1; r <= ds.Count() && r <= mask.Size(); ++r)
    if (ds.IsOutgroup(r)) mask.Set(r - 1, false);
  const int length = ds.AlignmentLength(false);
  LDPairChoices pc = lo.pairs;
  pc.maxDistance = lo.mode == LDPairMode::Window ? lo.windowSize : length;
  // The D' cache lives for this dataset only and is kept only when the assembly scan reads it.
  DprimeCache cache;
  DprimeCache* keep = lo.assemblyTest ? &cache : nullptr;
  const bool anyValue = pc.D || pc.Dprime || pc.R || pc.chiSquare;
  const bool progress = t.mutations.size() > 100 && lo.mode == LDPairMode::All;
  // Ends on every way out, a failed write included.
  std::optional<ProgressScope> bar;
  if (progress)
    bar.emplace(svc->progress, static_cast<int>(t.mutations.size()),
                "Analysing LD in " + ds.dsName);
  // Without a bar of its own the pair output still lets events and a cancel through; a
  // cancelled output is not written at all.
  StepTicker ticker(bar ? nullptr : &svc->progress, "Analysing LD in " + ds.dsName, length);
  auto onRow = [&](int position) {
    svc->progress.ShowStatus(
        "Analysing LD for " + ds.dsName + " [" + std::to_string(position) + "]", false, false);
    if (!bar) return ticker.Tick(position);
    bar->Step(true);
    return CancelRequested();
  };
  if (anyValue && t.mutations.size() >= 2 && lo.mode != LDPairMode::None) {
    // The pair lines go to the file as they are computed.
    if (!lo.crossTable) {
      std::string hist;
      if (!AppendToFile(lo.pairFile, [&](TextSink& sink) {
            hist = LDSequentialOutput(t, mask, ds.dsName, length, pc, keep, sink, onRow);
          }))
        return;
      if (CancelRequested()) return;
      if (pc.averageR2 && !AppendToFile(PrefixedFile(lo.pairFile, "hist_"), hist)) return;
    } else {
      for (const bool dTable : {true, false}) {
        if (dTable ? !(pc.D || pc.Dprime) : !(pc.R || pc.chiSquare)) continue;
        if (!AppendToFile(lo.pairFile, [&](TextSink& sink) {
              LDCrossTable(t, mask, ds.dsName, length, pc, dTable, keep, sink, onRow);
            }) ||
            CancelRequested())
          return;
      }
    }
  }
  bar.reset();
  if (!lo.assemblyTest) return;
  StepTicker scanTicker(&svc->progress, "LD sliding window for |D'| in " + ds.dsName, length);
  const AssemblyScanText scan =
      AssemblyLDScan(t, mask, ds.dsName, lo.asmWinSize, lo.asmWinStep, pc.minSNPfreq, pc.Dprime,
                     cache, [&](int position) {
                       svc->progress.ShowStatus("LD sliding window for |D'| in " + ds.dsName +
                                                    " [" + std::to_string(position) + "]",
                                                false, false);
                       return scanTicker.Tick(position);
                     });
  if (CancelRequested()) return;
  if (!AppendToFile(BesideFile(lo.pairFile, "avrgLDscan.csv"), scan.scanFile)) return;
  if (lo.split) {
    const std::string splitFile = BesideFile(lo.pairFile, "avrgLDsplit.csv");
    for (const AsmSegment& s : AssemblySplit(ds, scan.windows, lo.splitCoef, length)) {
      if (!AppendToFile(splitFile, ds.dsName + "," + std::to_string(s.first) + "," +
                                       std::to_string(s.last) + "\r\n"))
        return;
      // A piece without a column has no letters to write.
      if (s.first > s.last) continue;
      std::string path;
      const std::string problem = WriteSegmentFasta(ds, s, lo.pairFile, *svc, path);
      if (!problem.empty()) return Fail(problem);
      out.filesWritten.push_back(path);
    }
  }
  AppendToFile(PrefixedFile(lo.pairFile, "AsmTest_"), scan.detail);
}

void LDAnalysis::AfterRun() {
  out.reportCaption = kLDReportCaption;
  if (lo.fileNotice) out.notices.push_back("Pairwise LD values were saved to file " + lo.pairFile);
}

AnalysisOutput RunLD(TDataProj& project, const FrameOptions& frame, const LDRunOptions& options,
                     Services& services) {
  LDRunOptions lo = options;
  // The files beside the pairwise file follow it into the output folder.
  lo.pairFile = OutputPath(frame.outputFolder, lo.pairFile);
  LDAnalysis analysis(frame, lo);
  AnalysisOutput out = analysis.Run(project, services);
  // The frame decides whether the report is shown only after the analysis's own steps.
  if (out.reportCaption.empty()) out.reportCaption = kLDReportCaption;
  return out;
}
