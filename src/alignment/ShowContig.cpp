// SPDX-License-Identifier: GPL-3.0-or-later
// "Show contig": a read is shown inside the file it came from, a mapping (SAM) file or a
// project file, or inside the dataset of the window that was read from that file.
#include <algorithm>

#include "alignment/AsmContUnit.h"
#include "io/BinarySource.h"
#include "io/FormatDetect.h"
#include "io/FormatTables.h"
#include "io/ProjectFile.h"
#include "io/ReadFormats.h"
#include "model/Datasequnit.h"

std::pair<std::string, std::string> SplitSourceFile(const std::string& sourceFile) {
  const std::size_t open = sourceFile.rfind('[');
  const std::size_t close = sourceFile.rfind(']');
  if (open == std::string::npos || close == std::string::npos || close < open)
    return {sourceFile, {}};
  return {sourceFile.substr(0, open), sourceFile.substr(open + 1, close - open - 1)};
}

std::string ContigProbe(const TSeq& read, int cursorPos) {
  if (cursorPos < 1 || read.Length() < cursorPos + 10) return {};
  // At the first letter there is none before it: the probe starts at the cursor.
  return read.letters.substr(static_cast<std::size_t>(std::max(cursorPos - 2, 0)), 10);
}

namespace {

// 1-based first occurrence of the probe in the row's letters; 0 when absent or empty.
int ProbePosition(const TDataSeq& ds, int row, const std::string& probe) {
  const TSeq* seq = ds.SeqAt(row);
  if (probe.empty() || seq == nullptr) return 0;
  const std::size_t at = seq->letters.find(probe);
  return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

int RowNamed(const TDataSeq& ds, const std::string& name, bool last) {
  int found = -1;
  for (int r = 1; r <= ds.Count(); ++r)
    if (ds.SeqAt(r)->seqName == name) {
      found = r;
      if (!last) break;
    }
  return found < 1 ? 1 : found;
}

// The project file version (1..3), 0 when the file is no project file.
int ProjectFileVersion(const std::string& path) {
  std::string head;
  if (!ReadFilePrefix(path, 16, head) || DetectFormatBytes(head, path) != kCodeProjectFile)
    return 0;
  return head[11] - '0';
}

}  // namespace

std::optional<ContigView> ShowContig(EditorContext& ctx,
                                     const std::function<ChosenSource()>& askSource) {
  if (ctx.project.DatasetCount() == 0) return std::nullopt;
  TDataSeq& ds = *ctx.project.CurrentDataset();
  TSeq* current = ds.SeqAt(ds.currentRow);
  if (current == nullptr) return std::nullopt;
  std::unique_ptr<TSeq> read = current->Clone();
  const std::string probe = ContigProbe(*read, ds.cursorPos);
  Services& services = ctx.services;

  bool mapping = false;
  if (read->sourceFile.empty() && askSource) {
    const ChosenSource chosen = askSource();
    if (!chosen.path.empty()) {
      read->sourceFile = current->sourceFile = chosen.path;
      mapping = chosen.mapping;
      ctx.modified = true;
    }
  }
  if (read->sourceFile.empty()) {
    services.messages.Notify("No source file information available for sequence " + read->seqName);
    return std::nullopt;
  }
  const auto [path, datasetName] = SplitSourceFile(read->sourceFile);
  // The bracketed dataset name is no part of the file's name: the file itself is tested.
  if (!mapping && FileExists(path)) mapping = LooksLikeSam(path);

  int sameProject = -1;
  for (int d = 0; d < ctx.project.DatasetCount(); ++d)
    if (ctx.project.DatasetAt(d)->dsSourceFile == path) sameProject = d;
  if (sameProject >= 0) {
    ContigView view;
    view.datasetIndex = ctx.project.CurrentIndex();
    view.row = RowNamed(ds, read->seqName, false);
    view.position = ProbePosition(ds, view.row, probe) + 1;
    return view;
  }
  if (!FileExists(path)) {
    services.messages.Notify("File " + path + " not found");
    return std::nullopt;
  }

  ContigView view;
  view.caption = FileNameOf(path);
  view.project = std::make_unique<TDataProj>(services);
  if (mapping) {
    view.project->NewDataset();
    TDataSeq& reads = *view.project->CurrentDataset();
    std::unique_ptr<TSeq> first = read->Clone();
    first->RemoveGaps();
    first->columnShift = 0;
    if (reads.AddSeq(first, true) < 0) return std::nullopt;
    (void)OpenSamReadsFile(path, {}, reads, services);
    view.datasetIndex = view.project->CurrentIndex();
    view.position = ProbePosition(reads, 1, probe) + 1;
    view.mapping = true;
    return view;
  }
  const int version = ProjectFileVersion(path);
  if (version == 0) {
    services.messages.Notify("File " + path + "\r\n" +
                             "does not appear to have a correct Nodrix file format");
    return std::nullopt;
  }
  (void)ReadProject(path, *view.project, 0);
  const TDataSeq* target = nullptr;
  if (version >= 2 && !datasetName.empty()) target = view.project->DatasetByName(datasetName);
  if (target == nullptr && view.project->DatasetCount() > 0) target = view.project->DatasetAt(0);
  if (target == nullptr) {
    services.messages.Notify("Can not find dataset " + datasetName + "\r\n" + "in file " + path);
    return std::nullopt;
  }
  for (int d = 0; d < view.project->DatasetCount(); ++d)
    if (view.project->DatasetAt(d) == target) view.datasetIndex = d;
  view.row = RowNamed(*target, read->seqName, true);
  view.position = ProbePosition(*target, view.row, probe) + 1;
  return view;
}
