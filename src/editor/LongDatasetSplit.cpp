// SPDX-License-Identifier: GPL-3.0-or-later
// Splitting of long datasets.
#include "editor/LongDatasetSplit.h"

#include <vector>

#include "analysis/LDSplitFiles.h"

int SplitLongDatasets(TDataProj& project, int maxLength, bool removeSplit) {
  if (maxLength < 1) return -1;
  std::vector<int> split;
  int added = 0;
  // Pieces go to the end of the project: only the datasets there at the start are looked at.
  const int count = project.DatasetCount();
  for (int i = 0; i < count; ++i) {
    const TDataSeq& ds = *project.DatasetAt(i);
    const int length = ds.AlignmentLength(true);
    if (length <= maxLength) continue;
    split.push_back(i);
    for (int c = 0; c <= length / maxLength; ++c) {
      const int first = c * maxLength + 1;
      std::unique_ptr<TDataSeq> piece = CopyColumns(ds, first, first + maxLength - 1);
      piece->NormaliseShifts();
      project.AddDataset(piece, false);
      ++added;
    }
  }
  if (removeSplit)
    for (auto it = split.rbegin(); it != split.rend(); ++it) project.DeleteDataset(*it);
  return added;
}

int SplitLongDatasetsCommand(EditorContext& ctx, int maxLength) {
  IMessages& messages = ctx.services.messages;
  if (maxLength < 1) {
    messages.Notify("The maximum sequence length must be at least 1");
    return -1;
  }
  const bool remove = messages.AskYesNo("Remove the datasets that are being split?");
  if (!messages.AskYesNo("Proceed with splitting long datasets into shorter ones?")) return -1;
  const int added = SplitLongDatasets(ctx.project, maxLength, remove);
  if (added > 0) ctx.modified = true;
  return added;
}
