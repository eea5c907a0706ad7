// SPDX-License-Identifier: GPL-3.0-or-later
// Save planning and the writers behind the save filter list.
//
// Exports (every entry but the whole project) never clear the modified mark: the project as
// a whole is still unsaved after writing one dataset as FASTA. Exports of several sequences
// write one file each instead of overwriting one name again and again.
#include "io/SaveCommand.h"

#include <filesystem>
#include <memory>
#include <set>

#include "io/AnnotatedFormats.h"
#include "io/FormatTables.h"
#include "io/IOUnit.h"
#include "io/MultiLocusFormats.h"
#include "io/PopGenFormats.h"
#include "io/TextHelpers.h"
#include "io/TraceFormats.h"
#include "model/DataProjUnit.h"

namespace {

constexpr std::size_t kMaxNameBytes = 200;

struct ChosenPath {
  std::string folder;  // with a trailing separator, or empty
  std::string stem;    // file name without extension
  std::string ext;     // with its dot, or empty
};

ChosenPath SplitChosen(const std::string& chosen) {
  ChosenPath p;
  const auto slash = chosen.find_last_of("/\\");
  p.folder = slash == std::string::npos ? "" : chosen.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? chosen : chosen.substr(slash + 1);
  const auto dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) {
    p.stem = name;
  } else {
    p.stem = name.substr(0, dot);
    p.ext = name.substr(dot);
  }
  return p;
}

class NamePlan {
 public:
  std::string Unique(const std::string& path) {
    std::string candidate = path;
    for (int k = 2; taken_.contains(candidate); ++k) {
      const auto slash = path.find_last_of("/\\");
      const auto dot = path.rfind('.');
      const bool hasExt =
          dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
      candidate = hasExt ? path.substr(0, dot) + "_" + std::to_string(k) + path.substr(dot)
                         : path + "_" + std::to_string(k);
    }
    taken_.insert(candidate);
    return candidate;
  }

 private:
  std::set<std::string> taken_;
};

std::vector<int> RowsToWrite(const TDataSeq& ds, bool all) {
  std::vector<int> rows;
  for (int r = 1; r <= ds.Count(); ++r)
    if (all || ds.SeqAt(r)->selected) rows.push_back(r);
  if (rows.empty() && !all && ds.currentRow >= 1 && ds.currentRow <= ds.Count())
    rows.push_back(ds.currentRow);
  return rows;
}

// Answers to the entry's own questions, asked once before any file is written.
struct SaveAnswers {
  bool fastaHeader = false;
  bool msHeader = false;
};

bool WriteOne(TDataProj& proj, const SaveFilter& f, const PlannedFile& file,
              const SaveAnswers& answers, const GridFileSettings& grid, Services& svc) {
  // Writers of polymorphic sites rebuild the dataset's cached tables.
  TDataSeq* ds = proj.DatasetAt(file.datasetIndex);
  switch (f.index) {
    case 1: {
      GridFileSettings g = grid;
      g.currentDataset = proj.CurrentIndex();
      KeepGeneticCode(svc, g);
      return WriteProject(file.path, proj, g);
    }
    case 2:
      return SaveNexus(file.path, proj, file.datasetIndex, svc);
    case 3:
      return SavePhylip(file.path, *ds, svc);
    case 4:
      return SaveMega(file.path, *ds, svc);
    case 5:
      return SaveFasta(file.path, *ds, answers.fastaHeader, svc);
    case 6:
      return WriteDatasetFile(file.path, *ds);
    case 7:
      return SaveSeqText(file.path, *ds->SeqAt(file.row), svc);
    case 8:
      return SaveGenBank(file.path, *ds->SeqAt(file.row), *ds, svc);
    case 10:
      return SaveScf(file.path, *ds->SeqAt(file.row), svc);
    case 12:
      return SaveArlequin(file.path, proj, file.datasetIndex, svc);
    case 13:
      return SaveMsStyle(file.path, *ds, answers.msHeader, svc);
    case 14:
      return SaveCsv(file.path, *ds, svc);
    case 15:
      return SaveStructure(file.path, proj, svc);
    case 16:
      return SaveXmfa(file.path, proj, svc);
    case 17:
      return SaveHka(file.path, proj, svc);
    case 18:
      return SaveIm(file.path, proj, svc);
    case 19:
      return SaveSweepFinder(file.path, *ds, svc);
    case 20:
      return SaveDatasetNames(file.path, proj, svc);
    case 21:
      return SaveGff(file.path, *ds, svc);
    case 22:
      return SaveFastPhaseInput(file.path, *ds, svc);
    case 23:
      return SaveBayeScan(file.path, proj, svc);
    case 24:
      return SaveMlHka(file.path, proj, svc);
    case 25:
      return SavePhylipLines(file.path, *ds, svc);
    default:
      return false;
  }
}

}  // namespace

std::string SafeFileName(std::string_view name) {
  std::string out;
  for (const char c : name.substr(0, std::min(name.size(), kMaxNameBytes))) {
    const auto u = static_cast<unsigned char>(c);
    const bool bad = u < 32 || u == 127 || c == '/' || c == '\\' || c == ':' || c == '*' ||
                     c == '?' || c == '"' || c == '<' || c == '>' || c == '|';
    out += bad ? '_' : c;
  }
  if (out.find_first_not_of(". ") == std::string::npos) return "_";
  return out;
}

bool HasWriter(int filterIndex) {
  return SaveFilterAt(filterIndex) != nullptr;
}

std::vector<PlannedFile> PlanSave(const TDataProj& project, int filterIndex,
                                  const std::string& chosenPath, bool allDatasets,
                                  bool allSequences, bool keepExtension) {
  std::vector<PlannedFile> plan;
  const SaveFilter* f = SaveFilterAt(filterIndex);
  const int current = project.CurrentIndex();
  if (f == nullptr || current < 0 || current >= project.DatasetCount()) return plan;
  const ChosenPath chosen = SplitChosen(chosenPath);
  const std::string extension =
      keepExtension && !chosen.ext.empty() ? chosen.ext : std::string(f->extension);
  const bool asChosen = keepExtension && chosen.ext.empty() && !allDatasets;
  NamePlan names;
  if (f->scope == SaveScope::Project) {
    const std::string path =
        extension.empty() || asChosen ? chosenPath : chosen.folder + chosen.stem + extension;
    plan.push_back({path, current, 0});
    return plan;
  }
  std::vector<int> datasets;
  if (allDatasets)
    for (int d = 0; d < project.DatasetCount(); ++d) datasets.push_back(d);
  else
    datasets.push_back(current);
  for (const int d : datasets) {
    const TDataSeq& ds = *project.DatasetAt(d);
    if (f->scope == SaveScope::Dataset) {
      if (asChosen) {
        plan.push_back({chosenPath, d, 0});
        continue;
      }
      const std::string stem =
          allDatasets ? chosen.folder + SafeFileName(ds.dsName) : chosen.folder + chosen.stem;
      plan.push_back({names.Unique(stem + extension), d, 0});
      continue;
    }
    const std::vector<int> rows = RowsToWrite(ds, allSequences);
    for (const int r : rows) {
      std::string path;
      if (allSequences || allDatasets)
        path = chosen.folder + SafeFileName(ds.dsName + "_" + ds.NameAt(r)) + chosen.ext;
      else if (rows.size() == 1)
        path = chosenPath;
      else
        path = chosen.folder + SafeFileName(chosen.stem + "_" + ds.NameAt(r)) + chosen.ext;
      plan.push_back({names.Unique(path), d, r});
    }
  }
  return plan;
}

SaveOutcome RunSaveCommand(TDataProj& project, int filterIndex, const std::string& chosenPath,
                           Services& services, const GridFileSettings& grid, bool keepExtension) {
  SaveOutcome out;
  const SaveFilter* f = SaveFilterAt(filterIndex);
  const int current = project.CurrentIndex();
  if (f == nullptr || chosenPath.empty() || current < 0 || current >= project.DatasetCount())
    return out;
  IMessages& msg = services.messages;
  out.ran = true;
  SaveAnswers answers;
  if (filterIndex == 5)
    answers.fastaHeader =
        msg.AskYesNo("Output sequence number & sequence length at the beginning of FASTA file?");
  if (filterIndex == 13)
    answers.msHeader = msg.AskYesNo("Output header at the beginning of MS file?");
  bool allDatasets = false;
  if (filterIndex > 1 && project.DatasetCount() > 1 && !f->projectEntry)
    allDatasets = msg.AskYesNo(
        "Export all datasets into separate files?\r\nPress No if you would like to export only "
        "current dataset.");
  bool allSequences = false;
  if (filterIndex >= 7 && filterIndex <= 11)
    allSequences = msg.AskYesNo(
        "Export all sequences?\r\nPress No if you would like to export only selected sequences");

  if (filterIndex == 9 || filterIndex == 11) {
    msg.Notify("SaveEMBL method is not yet implemented");
    return out;
  }
  if (!HasWriter(filterIndex)) {
    msg.ReportError("Saving as \"" + std::string(f->caption) +
                    "\" is not handled in this version: " + chosenPath);
    return out;
  }
  const std::vector<PlannedFile> plan =
      PlanSave(project, filterIndex, chosenPath, allDatasets, allSequences, keepExtension);
  out.ok = !plan.empty();
  std::unique_ptr<ProgressScope> bar;
  if (allDatasets)
    bar = std::make_unique<ProgressScope>(services.progress, static_cast<int>(plan.size()),
                                          "Saving files...");
  for (const PlannedFile& file : plan) {
    if (bar) bar->Step(true);
    if (WriteOne(project, *f, file, answers, grid, services))
      out.written.push_back(file.path);
    else
      out.ok = false;
  }
  out.wholeProject = filterIndex == 1 && out.ok;
  if (out.ok) project.projFile = out.wholeProject ? chosenPath : project.projFile;
  out.caption = FileNameOnly(chosenPath);
  return out;
}
