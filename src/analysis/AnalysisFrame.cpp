// SPDX-License-Identifier: GPL-3.0-or-later
// The run loop of the analysis frame: header, scan of every chosen dataset, per-dataset
// reports and statistics table, output files and the closing notices.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

#include "analysis/BaseDbox1.h"
#include "analysis/MutUnit.h"
#include "common/NumberFormat.h"
#include "common/OutputFolder.h"
#include "common/PlatformRandom.h"
#include "common/Services.h"
#include "io/IOUnit.h"
#include "model/DataProjUnit.h"

struct AnalysisFrame::OpenFile {
  std::string path;
  std::FILE* file = nullptr;
  bool created = false;  // the run made the file, so a cancelled run may take it away again
  ~OpenFile() {
    if (file != nullptr) std::fclose(file);
  }
};

AnalysisFrame::AnalysisFrame(FrameOptions options) : fo(std::move(options)) {}
AnalysisFrame::~AnalysisFrame() = default;

AnalysisOptions ScanOptionsOf(const FrameOptions& o) {
  AnalysisOptions a;
  int mut = 0;
  if (o.indels == IndelChoice::IndelsOnly) {
    mut = kMutIndelsOnly;
  } else {
    if (o.mutAll) mut |= kMutAll;
    if (o.mutSilent) mut |= kMutSilent;
    if (o.mutRepl) mut |= kMutNonsilent;
  }
  a.mutationFlags = static_cast<std::uint8_t>(mut == 0 ? kMutAll : mut);
  int site = 0;
  if (o.allSites) site |= kSiteAll;
  if (o.noncodingSites) site |= kSiteNoncoding;
  if (o.codingSites) {
    if (o.pos1) site |= kSiteFirst;
    if (o.pos2) site |= kSiteSecond;
    if (o.pos3) site |= kSiteThird;
  }
  a.siteFlags = static_cast<std::uint16_t>(site == 0 ? kSiteAll : site);
  switch (o.indels) {
    case IndelChoice::Ignored:
      a.indelMode = 0;
      break;
    case IndelChoice::AsSingleMut:
      a.indelMode = 2;
      break;
    case IndelChoice::PolymInIndels:
      a.indelMode = 1;
      break;
    case IndelChoice::IndelsOnly:
      a.indelMode = 3;
      break;
  }
  a.ambiguityMode = o.ambiguityRemoved ? 1 : 0;
  a.useRegions = !(o.ignoreCDS && o.allSites);
  return a;
}

void InitAnalysisSelection(TDataProj& project) {
  for (int d = 0; d < project.DatasetCount(); ++d) {
    TDataSeq* ds = project.DatasetAt(d);
    if (ds->SelectedCount() == 0) ds->Select(-1);
  }
}

void ClearAnalysisSelection(TDataProj& project) {
  for (int d = 0; d < project.DatasetCount(); ++d) project.DatasetAt(d)->Unselect(-1);
}

std::string GroupsTableFileName(const std::string& tableFile) {
  const auto slash = tableFile.find_last_of("/\\");
  const auto dot = tableFile.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return tableFile + "_groups";
  return tableFile.substr(0, dot) + "_groups" + tableFile.substr(dot);
}

bool AnalysisFrame::CancelRequested() const {
  return svc != nullptr && svc->progress.cancelRequested();
}

void AnalysisFrame::Fail(const std::string& message) {
  if (out.error.empty()) out.error = message;
}

AnalysisFrame::OpenFile* AnalysisFrame::FileFor(const std::string& path, bool truncate) {
  for (auto& f : files_)
    if (f->path == path) return f.get();
  auto f = std::make_unique<OpenFile>();
  f->path = path;
  std::error_code ec;
  f->created = truncate || !std::filesystem::exists(path, ec);
  f->file = std::fopen(path.c_str(), truncate ? "wb" : "ab");
  if (f->file == nullptr) {
    Fail("Cannot write the file " + path);
    return nullptr;
  }
  files_.push_back(std::move(f));
  return files_.back().get();
}

namespace {

// Hands the file blocks of about 1 MB; after a failed write the rest is dropped and Done says so.
class AppendSink final : public TextSink {
 public:
  explicit AppendSink(std::FILE* file) : file_(file) { buffer_.reserve(kBlock); }
  void Put(std::string_view text) override {
    if (buffer_.size() + text.size() > kBlock) Flush();
    if (text.size() >= kBlock)
      Write(text);
    else
      buffer_.append(text);
  }
  bool Done() {
    Flush();
    return ok_ && std::fflush(file_) == 0;
  }

 private:
  static constexpr std::size_t kBlock = 1 << 20;
  void Flush() {
    Write(buffer_);
    buffer_.clear();
  }
  void Write(std::string_view text) {
    if (ok_ && std::fwrite(text.data(), 1, text.size(), file_) != text.size()) ok_ = false;
  }
  std::FILE* file_;
  std::string buffer_;
  bool ok_ = true;
};

}  // namespace

bool AnalysisFrame::AppendToFile(const std::string& path, const std::string& text) {
  return AppendToFile(path, [&](TextSink& sink) { sink.Put(text); });
}

bool AnalysisFrame::AppendToFile(const std::string& path,
                                 const std::function<void(TextSink&)>& produce) {
  if (Failed()) return false;
  OpenFile* f = FileFor(path, false);
  if (f == nullptr) return false;
  std::fseek(f->file, 0, SEEK_END);
  const long start = std::ftell(f->file);
  AppendSink sink(f->file);
  produce(sink);
  if (!sink.Done()) {
    Fail("Cannot write the file " + path);
    return false;
  }
  if (CancelRequested() && start >= 0) {
    // The text goes out as it is produced: a cancelled run takes back what it had got to, so
    // no half-written file is left to be taken for a whole one.
    std::fflush(f->file);
    std::error_code ec;
    if (start == 0 && f->created) {
      std::fclose(f->file);
      f->file = nullptr;
      std::erase_if(files_, [f](const auto& open) { return open.get() == f; });
      std::filesystem::remove(path, ec);
    } else {
      std::filesystem::resize_file(path, static_cast<std::uintmax_t>(start), ec);
    }
  }
  return true;
}

bool AnalysisFrame::CreateEmptyFile(const std::string& path) {
  if (Failed()) return false;
  for (auto it = files_.begin(); it != files_.end(); ++it)
    if ((*it)->path == path) {
      files_.erase(it);
      break;
    }
  return FileFor(path, true) != nullptr;
}

void AnalysisFrame::CloseFiles() {
  for (auto& f : files_)
    if (f->file != nullptr && std::fclose(f->file) != 0) Fail("Cannot write the file " + f->path);
  for (auto& f : files_) f->file = nullptr;
  files_.clear();
}

void AnalysisFrame::WriteHeader() {
  const int n = project->DatasetCount();
  Line("Data project: " + project->projName);
  Line("This project contains " + std::to_string(n) + " dataset" + (n == 1 ? "" : "s"));
  Line("Datasets to analyse: " + std::to_string(datasetCount));
  if (fo.doBootstrap) Line("Bootstrap: " + std::to_string(fo.bsReplicates) + " replicates");
  Line("The project contains " + std::to_string(project->GroupCount() - 1) + " populations");
  if (project->GroupCount() > 0) {
    int selected = 0;
    for (const TGroup& g : project->Groups())
      if (g.grpSelected && g.grpKey >= 0) ++selected;
    Line("Populations to analyse: " + std::to_string(selected));
  }
  Line("");
  if (!opt.useRegions) Line("Functional region assignments are ignored.");
  if (opt.indelMode == 0) Line("Indel regions are excluded from analysis.");
  if (opt.indelMode == 2) Line("Each indel is considered as a single mutation event.");
  if (opt.indelMode == 1) Line("Segregating sites in indel regions are included.");
  if (opt.siteFlags & kSiteAll) Line("Sites: all (coding + noncoding)");
  if (opt.siteFlags & kSiteNoncoding) Line("Sites: noncoding only");
  if (opt.siteFlags & kSiteCodonPositions) Line("Sites: coding only");
  if (opt.mutationFlags == kMutIndelsOnly) {
    Line("Mutations: Indels only");
  } else {
    if (opt.mutationFlags & kMutAll) Line("Mutations: all");
    if (opt.mutationFlags & kMutSilent) Line("Mutations: silent only");
    if (opt.mutationFlags & kMutNonsilent) Line("Mutations: nonsilent only");
  }
  Line("");
}

AnalysisOutput AnalysisFrame::Run(TDataProj& proj, Services& services) {
  project = &proj;
  svc = &services;
  out = AnalysisOutput{};
  text_.clear();
  fullText_.clear();
  tableHeaderWritten_ = false;
  files_.clear();
  opt = ScanOptionsOf(fo);
  if (proj.TotalSeqCount() == 0) {
    out.error = kNoSequencesToAnalyse;
    return std::move(out);
  }
  for (std::string* name : {&fo.outFname, &fo.tableFileName, &fo.swfile, &fo.phylipFileName})
    *name = OutputPath(fo.outputFolder, *name);

  std::vector<int> chosen;
  if (fo.useAllDatasets) {
    for (int d = 0; d < proj.DatasetCount(); ++d)
      if (proj.DatasetAt(d)->dsSelected) chosen.push_back(d);
  } else if (proj.DatasetCount() > 0) {
    chosen.push_back(proj.CurrentIndex());
  }
  datasetCount = static_cast<int>(chosen.size());

  if (fo.useAllDatasets && proj.DatasetCount() > 100 && fo.repWin &&
      services.messages.AskYesNo(
          "This dataproject contains " + std::to_string(proj.DatasetCount()) +
          " datasets and the output might be too long to keep it in memory.\r\n"
          "Would you like to direct the output to file instead?")) {
    fo.repWin = false;
    fo.tableToWin = false;
    fo.fileOutput = true;
    fo.tableToFile = true;
  }

  WriteHeader();
  groupIds = {0};
  for (const TGroup& g : proj.Groups())
    if (g.grpSelected && g.grpKey >= -1 &&
        std::find(groupIds.begin(), groupIds.end(), g.grpKey) == groupIds.end())
      groupIds.push_back(g.grpKey);

  if (fo.fileOutput) CreateEmptyFile(fo.outFname);
  if (fo.tableToFile) {
    CreateEmptyFile(fo.tableFileName);
    if (fo.popOut) CreateEmptyFile(GroupsTableFileName(fo.tableFileName));
  }
  if (fo.doSW && fo.sw2file) std::remove(fo.swfile.c_str());
  if (fo.fileOutput) AppendToFile(fo.outFname, text_);
  if (fo.repWin) fullText_ += text_;
  text_.clear();

  if (!Failed() && BeforeRun()) {
    std::optional<ProgressScope> bar;
    if (chosen.size() > 1) bar.emplace(services.progress, 2 * datasetCount, "Processing output...");
    std::vector<AnalysisOptions> scans;
    std::vector<std::uint32_t> seeds;
    bool scanCancelled = false;
    for (int d : chosen) {
      TDataSeq& ds = *proj.DatasetAt(d);
      proj.SetCurrent(d);
      if (bar) services.progress.ShowStatus("Processing " + ds.dsName, true, true);
      int from = 1, to = ds.AlignmentLength(true);
      bool snp = false;
      for (int r = 1; r <= ds.Count() && !snp; ++r) snp = ds.SeqAt(r)->seqType == kSeqSnp;
      if (snp) {
        int first = 0;
        const int last = ds.PolySiteRange(first);
        from = first;
        to = last;
      }
      if (fo.onlyRegion) {
        from = fo.regFrom;
        to = std::min(fo.regTo, to);
        from = std::min(from, to);
      }
      AnalysisOptions scan = opt;
      scan.regionFrom = from;
      scan.regionTo = to;
      scan.showProgress = chosen.size() < 2;
      scans.push_back(scan);
      // One random state per dataset: a table scanned again later comes out the same.
      seeds.push_back(PlatformRandom::FromClock().State());
      PlatformRandom rng(seeds.back());
      // The groups' tables are scanned when their reports ask for them (TableIndex), one
      // table at a time (the dataset's gives way too): each spans the whole dataset, and many
      // groups would otherwise hold as many tables at once. A scan stopped by the user leaves
      // no tables: nothing of the run can be reported.
      const std::vector<int> scanned = KeepsAllTables() ? groupIds : std::vector<int>{0};
      if (!UpdateMuts(ds, scan, &proj, scanned, RunScanChoices(), &rng) && CancelRequested()) {
        scanCancelled = true;
        break;
      }
      ReportFullTables(ds, 0, ds.mutHolders.size());
    }
    if (!scanCancelled) AfterUpdateMuts();
    for (std::size_t k = 0; k < chosen.size() && !Failed() && !scanCancelled; ++k) {
      TDataSeq& ds = *proj.DatasetAt(chosen[k]);
      proj.SetCurrent(chosen[k]);
      services.progress.ShowStatus("Analysing polymorphism in " + ds.dsName, bar.has_value(),
                                   bar.has_value());
      scan_ = scans[k];
      seed_ = seeds[k];
      fullReported_.assign(groupIds.size(), KeepsAllTables());
      if (!fullReported_.empty()) fullReported_[0] = true;
      regionFrom = scan_.regionFrom;
      regionTo = scan_.regionTo;
      DoForm(ds);
      if (fo.fileOutput) AppendToFile(fo.outFname, text_);
      if (fo.repWin) fullText_ += text_;
      text_.clear();
      WriteTables(ds);
      if (CancelRequested()) {
        out.cancelled = true;
        break;
      }
    }
    if (CancelRequested()) out.cancelled = true;
    if (!Failed()) AfterRun();
  }
  CloseFiles();
  if (fo.fileOutput) out.notices.push_back("Textual output was saved to file " + fo.outFname);
  if (fo.tableToFile) {
    out.notices.push_back("Tabular output was saved to file " + fo.tableFileName);
    if (fo.popOut)
      out.notices.push_back("Tabular output for populations was saved to file " +
                            GroupsTableFileName(fo.tableFileName));
  }
  if (fo.doSW && fo.sw2file)
    out.notices.push_back("Sliding window output was saved to file " + fo.swfile);
  out.report = std::move(fullText_);
  out.showReport = fo.repWin;
  out.showTable = fo.tableToWin;
  out.showPopTable = fo.tableToWin && fo.popOut;
  for (int d = 0; d < proj.DatasetCount(); ++d) ClearStats(*proj.DatasetAt(d));
  return std::move(out);
}

void AnalysisFrame::ReportFullTables(const TDataSeq& ds, std::size_t first, std::size_t last) {
  for (const auto* list : {&ds.mutHolders, &ds.groupMutHolders})
    for (std::size_t k = first; k < std::min(last, list->size()); ++k) {
      const tmutholder& t = *(*list)[k];
      if (static_cast<int>(t.mutations.size()) >= t.maxMutations && !t.message.empty())
        svc->messages.ReportError(t.message + " in " + ds.dsName);
    }
}

void AnalysisFrame::WriteTables(TDataSeq& ds) {
  const std::string delim(1, fo.delimiter);
  for (std::size_t r = 0; r < ds.resultValues.size(); ++r) {
    const auto& names = ds.resultTexts[r];
    const auto& values = ds.resultValues[r];
    const auto& ints = ds.resultFlags[r];
    if (values.empty()) continue;
    if (r > 0 && !fo.popOut) continue;
    std::string label = ds.dsName;
    if (r > 0) label += "_@_" + project->GroupName(static_cast<int>(r));
    if (fo.tableToFile && !Failed()) {
      if (!tableHeaderWritten_) {
        std::string header = "Datasets";
        for (const auto& n : names) header += delim + n;
        header += "\r\n";
        AppendToFile(fo.tableFileName, header);
        if (fo.popOut) AppendToFile(GroupsTableFileName(fo.tableFileName), header);
        tableHeaderWritten_ = true;
      }
      std::string line = label;
      for (std::size_t c = 0; c < values.size(); ++c)
        line += delim +
                (ints[c] ? std::to_string(RoundHalfEven(values[c])) : FormatFixed(values[c], 5));
      line += "\r\n";
      AppendToFile(r == 0 ? fo.tableFileName : GroupsTableFileName(fo.tableFileName), line);
    }
    TableCells& grid = r == 0 ? out.table : out.popTable;
    if (grid.empty()) {
      grid.push_back({"Datasets"});
      for (const auto& n : names) grid[0].push_back(n);
    }
    std::vector<std::string> row{label};
    for (std::size_t c = 0; c < values.size(); ++c)
      row.push_back(ints[c] ? std::to_string(RoundHalfEven(values[c])) : FormatFixed(values[c], 3));
    grid.push_back(std::move(row));
  }
}

void AnalysisFrame::PublishSeries(std::vector<tser>& series, const std::string& plotCaption) {
  if (!series.empty() && fo.plotSW) {
    out.series = std::move(series);
    out.plotCaption = plotCaption;
    out.showPlot = true;
  }
  series.clear();
}
