// SPDX-License-Identifier: GPL-3.0-or-later
// Ticks and deletion of the datasets list.
#include "editor/DatasetList.h"

#include <algorithm>
#include <string>

std::vector<bool> DatasetTicks(const TDataProj& project) {
  std::vector<bool> ticks;
  ticks.reserve(static_cast<std::size_t>(project.DatasetCount()));
  for (int i = 0; i < project.DatasetCount(); ++i)
    ticks.push_back(project.DatasetAt(i)->dsSelected);
  return ticks;
}

bool WriteDatasetTicks(TDataProj& project, const std::vector<bool>& ticks) {
  bool changed = false;
  const int n = std::min(project.DatasetCount(), static_cast<int>(ticks.size()));
  for (int i = 0; i < n; ++i) {
    TDataSeq& ds = *project.DatasetAt(i);
    changed = changed || ds.dsSelected != ticks[static_cast<std::size_t>(i)];
    ds.dsSelected = ticks[static_cast<std::size_t>(i)];
  }
  return changed;
}

void TickAll(std::vector<bool>& ticks) {
  std::fill(ticks.begin(), ticks.end(), true);
}

void UntickAll(std::vector<bool>& ticks) {
  std::fill(ticks.begin(), ticks.end(), false);
}

void InvertTicks(std::vector<bool>& ticks) {
  ticks.flip();
}

void TickToEnd(std::vector<bool>& ticks, int highlighted) {
  if (highlighted < 0) return;
  for (std::size_t i = static_cast<std::size_t>(highlighted); i < ticks.size(); ++i)
    ticks[i] = true;
}

void TickToStart(std::vector<bool>& ticks, int highlighted) {
  if (highlighted < 0) return;
  const std::size_t last = std::min(static_cast<std::size_t>(highlighted) + 1, ticks.size());
  for (std::size_t i = 0; i < last; ++i) ticks[i] = true;
}

int DeleteTickedDatasets(TDataProj& project, const std::vector<bool>& ticks, IMessages& messages) {
  // Entries stand for datasets by position: a name lookup would compare names upper-cased and
  // cut at the first space, and could hit another dataset than the ticked one.
  std::vector<int> ticked;
  const int n = std::min(project.DatasetCount(), static_cast<int>(ticks.size()));
  for (int i = 0; i < n; ++i)
    if (ticks[static_cast<std::size_t>(i)]) ticked.push_back(i);
  if (ticked.empty()) return 0;
  const std::string question =
      ticked.size() == 1 ? "Delete dataset " + project.DatasetAt(ticked.back())->dsName + " ?"
                         : "Delete " + std::to_string(ticked.size()) + " selected datasets?";
  if (!messages.AskYesNo(question)) return 0;
  if (!messages.AskYesNo("Warning: you are about to delete data. There is no undo for this "
                         "action. Would you like to proceed?"))
    return 0;
  for (auto it = ticked.rbegin(); it != ticked.rend(); ++it) project.DeleteDataset(*it);
  return static_cast<int>(ticked.size());
}
