// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/GroupMask.h"

#include "model/DataProjUnit.h"

samptype GroupMask(const TDataProj& project, const TDataSeq& ds, int groupKey, bool activeOnly) {
  samptype mask(ds.Count());
  for (int r = 1; r <= ds.Count(); ++r) {
    const TSeq* s = ds.SeqAt(r);
    if (activeOnly && (!s->selected || !s->enabled)) continue;
    if (project.IsOutgroup(ds, r)) continue;
    if (project.IsInGroup(ds, s->seqId, true, groupKey)) mask.Set(r - 1);
  }
  return mask;
}
