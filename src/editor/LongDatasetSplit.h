// SPDX-License-Identifier: GPL-3.0-or-later
// Splitting of long datasets into consecutive pieces of at most a given number of columns.
#pragma once
#include "editor/EditorContext.h"

// Every dataset whose alignment length with shifts L exceeds maxLength is copied into
// trunc(L / maxLength) + 1 pieces (the last one without letters when L is a multiple), piece c
// holding alignment columns c * maxLength + 1 .. (c + 1) * maxLength with the shifts renewed;
// the pieces are added to the project (names made unique with "~" + k). With removeSplit the
// datasets that were split are deleted afterwards. Returns the pieces added; -1 for a
// maxLength below 1.
int SplitLongDatasets(TDataProj& project, int maxLength, bool removeSplit);

// "Split long sequences" with the length the window prompted for: the questions "Remove the
// datasets that are being split?" and "Proceed with splitting long datasets into shorter
// ones?", then the split. -1 for a refused length (with a notice) or after No.
int SplitLongDatasetsCommand(EditorContext& ctx, int maxLength);

inline constexpr int kDefaultSplitLength = 10000;
