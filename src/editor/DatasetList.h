// SPDX-License-Identifier: GPL-3.0-or-later
// The datasets list without a window: one tick per dataset in project order, the tool buttons
// that set the ticks, deleting the ticked datasets and writing the ticks back.
#pragma once
#include <vector>

#include "common/Services.h"
#include "model/DataProjUnit.h"

// One tick per dataset, in project order: its dsSelected flag.
std::vector<bool> DatasetTicks(const TDataProj& project);
// Writes tick i into dataset i's dsSelected. True when any flag changed.
bool WriteDatasetTicks(TDataProj& project, const std::vector<bool>& ticks);

void TickAll(std::vector<bool>& ticks);
void UntickAll(std::vector<bool>& ticks);
void InvertTicks(std::vector<bool>& ticks);
// From the highlighted entry (0-based) to the last; nothing without a highlighted entry.
void TickToEnd(std::vector<bool>& ticks, int highlighted);
// From the first entry to the highlighted one.
void TickToStart(std::vector<bool>& ticks, int highlighted);

// Asks the deletion question for the ticked datasets and then the warning; after two Yes the
// ticked datasets go, from the last entry to the first. Returns the number deleted (0 when no
// entry is ticked or either answer is No).
int DeleteTickedDatasets(TDataProj& project, const std::vector<bool>& ticks, IMessages& messages);
