// SPDX-License-Identifier: GPL-3.0-or-later
// Neutrality tests and LD through the analysis frame.
#include "analysis/NeutralityAnalysis.h"

#include <optional>

#include "analysis/LDSplitFiles.h"
#include "analysis/Neutrality.h"
#include "analysis/NeutralityWindows.h"
#include "analysis/ShowPolymSUnit.h"
#include "common/NumberFormat.h"
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
  if (no.sfs && groupName.empty()) {
    const std::string label = SpectraSiteLabel(opt.siteFlags);
    Append("\r\n");
    Line("Folded site frequency spectrum (SFS) for " + label + ": ");
    SpectrumBlock(ds, true);
    if (TableOfGroup(ds, 0, true) != nullptr && !Failed()) {
      Append("\r\n");
      Line("Unfolded SFS for " + label + ": ");
      SpectrumBlock(ds, false);
    }
  }
}

namespace {

const std::string kRule(56, '-');

std::string Decimals5(bool valid, double v) {
  return valid ? FormatFixed(v, 5) : std::string("NA");
}

}  // namespace

std::string NeutralityAnalysis::Path(const char* name) const {
  return OutputPath(fo.outputFolder, name);
}

bool NeutralityAnalysis::BeforeRun() {
  startDataset_ = project->CurrentIndex();
  // The datasets the frame goes on to scan, as it chooses them.
  chosen_.clear();
  if (!fo.useAllDatasets)
    chosen_.push_back(startDataset_);
  else
    for (int d = 0; d < project->DatasetCount(); ++d)
      if (project->DatasetAt(d)->dsSelected) chosen_.push_back(d);
  summary_.clear();
  trailer_.clear();
  if (!no.sfs) return true;
  const std::string used = SpectraMutationLabel(opt.mutationFlags) + " at " +
                           SpectraSiteLabel(opt.siteFlags) + " were used in the analysis.\r\n" +
                           "The MWU and G-tests compare the SFS at each dataset to average SFS "
                           "accross all datasets in the project.\r\n";
  for (const bool folded : {true, false}) {
    const std::string file = Path(folded ? kFoldedSpectraFile : kUnfoldedSpectraFile);
    if (!CreateEmptyFile(file) ||
        !AppendToFile(file, std::string(folded ? "Folded" : "Unfolded") +
                                " site frequency spectra in " + no.atLabel + "\r\n" + used))
      return false;
  }
  return true;
}

void NeutralityAnalysis::AfterUpdateMuts() {
  if (!no.sfs) return;
  foldedSum_ = SummedSpectrum(*project, chosen_, true, opt.mutationFlags, opt.siteFlags, 0);
  unfoldedSum_ = SummedSpectrum(*project, chosen_, false, opt.mutationFlags, opt.siteFlags, 0);
}

void NeutralityAnalysis::SpectrumBlock(TDataSeq& ds, bool folded) {
  const tmutholder* t = TableOfGroup(ds, 0, !folded);
  if (t == nullptr || t->mutations.empty()) return;
  const DatasetSpectrum d = SpectrumOf(*project, ds, *t, folded, opt.siteFlags, opt.mutationFlags);
  const SpectrumSum& sum = folded ? foldedSum_ : unfoldedSum_;
  // Class 0 (sites the sample does not vary at) says nothing about the spectrum's shape.
  const std::vector<int> own(d.freq.begin() + (d.freq.empty() ? 0 : 1), d.freq.end());
  const std::vector<int> ref(sum.counts.begin() + (sum.counts.empty() ? 0 : 1), sum.counts.end());
  const MannWhitneyResult u = MannWhitneyCompare(ref, own);
  const std::optional<GTestResult> g = GTestCompare(ref, own);
  Append(SpectrumText(d.freq, static_cast<int>(d.freq.size())));
  if (!folded) {
    Line(
        "Note that right-most column in the unfolded SFS shows fixed differences (divergence "
        "from outgroup).");
    if (d.ambiguous > 0)
      Line("There are " + std::to_string(d.ambiguous) + " mutation" + (d.ambiguous > 1 ? "s" : "") +
           " with ambig. outgroup information " + (d.ambiguous == 1 ? "was" : "were") +
           " excluded from this SFS");
  }
  const std::string sizes =
      "(N1=" + std::to_string(own.size()) + " N2=" + std::to_string(ref.size()) + ")";
  Line("Testing for deviation of SFS in " + ds.dsName +
       " from SFS over all datasets (uncorrected for multiple tests):");
  if (u.valid)
    Line("Mann-Witney U = " + FormatFixed(u.u, 5) + "; P = " + FormatFixed(u.p, 5) + sizes);
  else
    Line(
        "Mann-Witney U test is not valid: it needs at least 5 frequency classes in each "
        "spectrum " +
        sizes);
  if (g)
    Line("G-test = " + FormatFixed(g->g, 5) + "; P = " + FormatFixed(g->p, 5) +
         "(df=" + std::to_string(g->df) + ")");
  else if (ref.size() < 2 || own.size() < 2)
    Line("G-test is not valid: it needs at least two frequency classes (df=0)");
  if (folded) {
    AddRealStat(ds, 0, "MWU_4_SFS:", "MWU_4_SFS:", u.u);
    AddRealStat(ds, 0, "P(MWU_4_SFS):", "P(MWU_4_SFS):", u.p);
  }
  std::string line = ds.dsName + " MWU= " + Decimals5(u.valid, u.u) +
                     " P(MWU)= " + Decimals5(u.valid, u.p) +
                     " G-test= " + Decimals5(g.has_value(), g ? g->g : 0) +
                     " P(G-test)= " + Decimals5(g.has_value(), g ? g->p : 0) +
                     (folded ? " SFS_folded: " : " SFS_unfolded: ");
  for (std::size_t k = 1; k < d.freq.size(); ++k) line += std::to_string(d.freq[k]) + " ";
  AppendToFile(Path(folded ? kFoldedSpectraFile : kUnfoldedSpectraFile), line + "\r\n");
}

void NeutralityAnalysis::SpectraSummary() {
  const std::string label = SpectraSiteLabel(opt.siteFlags);
  std::string s = kRule + "\r\nSite frequency spectrum accross all datasets in the project\r\n\r\n";
  bool outgroup = false;
  for (int d : chosen_)
    outgroup = outgroup || TableOfGroup(*project->DatasetAt(d), 0, true) != nullptr;
  for (const bool folded : {true, false}) {
    if (!folded && !outgroup) continue;
    const SpectrumSum& sum = folded ? foldedSum_ : unfoldedSum_;
    const char* file = folded ? kFoldedSpectraFile : kUnfoldedSpectraFile;
    s += std::string(folded ? "Folded" : "Unfolded") + " frequency spectrum for polymorphisms at " +
         label + ": \r\n" + SpectrumText(sum.counts, static_cast<int>(sum.counts.size()));
    if (!folded)
      s += "Note that right-most column in the unfolded SFS shows fixed differences (divergence "
           "from outgroup).\r\n";
    s += std::string(folded ? "Folded" : "Unfolded") + " SFSs were saved to file: " + file + "\r\n";
    std::string line = std::string(
                           "SFS_accross_all_datasets MWU= NA P(MWU)= NA G-test= NA "
                           "P(G-test)= NA SFS_") +
                       (folded ? "folded" : "unfolded") + ": ";
    for (std::size_t k = 1; k < sum.counts.size(); ++k) line += " " + std::to_string(sum.counts[k]);
    if (!AppendToFile(Path(file), line + "\r\n")) return;
  }
  const auto& groups = project->Groups();
  for (std::size_t i = 0; i < groups.size(); ++i)
    for (std::size_t j = i + 1; j < groups.size(); ++j) {
      if (groups[i].grpKey <= 0 || groups[j].grpKey <= 0) continue;
      for (const bool folded : {true, false}) {
        if (!folded && !outgroup) continue;
        s += std::string(folded ? "Folded" : "Unfolded") +
             " 2D-SFS for groups: " + groups[i].grpName + " and " + groups[j].grpName + "\r\n";
        s += PairSpectrum2D(*project, chosen_, groups[i].grpKey, groups[j].grpKey, folded,
                            opt.siteFlags, opt.mutationFlags)
                 .Text(groups[i].grpName, groups[j].grpName);
      }
    }
  s += "\r\n" + kRule + "\r\n\r\n";
  summary_ = std::move(s);
}

void NeutralityAnalysis::DoForm(TDataSeq& ds) {
  AnalysisFrame::DoForm(ds);
  if (!fo.doSW || Failed() || !(no.swTajimaD || no.swZnS)) return;
  if (fo.swSize < 1) {
    svc->messages.Notify("Window size must be > 0");
    return;
  }
  if (TableIndex(ds, "", false) != 0) return;
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
  if (no.sfs && !out.cancelled) SpectraSummary();
  if (no.mlhka.run && project->DatasetCount() > 1 && !Failed() && !out.cancelled)
    trailer_ = RunMLHKA();
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
  if (out.showReport) out.report = analysis.Summary() + out.report + analysis.Trailer();
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
  if (Failed() || TableIndex(ds, "", false) != 0) return;
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
        if (!AppendToFile(lo.pairFile,
                          [&](TextSink& sink) {
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
