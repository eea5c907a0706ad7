// SPDX-License-Identifier: GPL-3.0-or-later
// The sequences of one group in a dataset, as every group-wise statistic and export takes them.
#pragma once
#include "analysis/SampType.h"

class TDataProj;
class TDataSeq;

// Rows (bit row - 1) of the dataset whose individual belongs to the group or one of its
// subgroups. Outgroup sequences are never members: the whole-dataset table carries no letters
// for them, so in a group they would count as copies of the most frequent variant.
// activeOnly: only selected and enabled rows, as the analyses take them.
[[nodiscard]] samptype GroupMask(const TDataProj& project, const TDataSeq& ds, int groupKey,
                                 bool activeOnly = true);
