// SPDX-License-Identifier: GPL-3.0-or-later
// Gap, end and letter cleaning commands, padding, and the row-wise removals of
// Sequence > Remove.
#pragma once
#include "editor/EditorContext.h"

// Sequence > Remove > "Gaps shared by all seq in alignment" (scope question); returns the
// columns removed.
int RemoveSharedGaps(EditorContext& ctx);
// Project > Remove from project > "Gaps shared by all seq in alignment": every dataset after
// its own question; -1 when declined.
int RemoveSharedGapsInProject(EditorContext& ctx);
// Project > Remove from project > "Cut ends to make seq equal length".
bool CutEndsToEqualLength(EditorContext& ctx);
// Edit > Add > "Add NNN ..." / "Add "---" ..." (scope question).
bool PadWithNs(EditorContext& ctx);
bool PadWithGapLetters(EditorContext& ctx);
// Edit > Delete > "NNNN at the beginning (end) of sequences": every row of every dataset, no
// question and no undo; a row of only N keeps one. Returns the rows changed.
int DeleteLeadingNs(EditorContext& ctx);
int DeleteTrailingNs(EditorContext& ctx);

// Sequence > Remove, on the selected rows (the current row when none is).
bool RemoveChromatograms(EditorContext& ctx);
bool RemoveBaseQualities(EditorContext& ctx);
bool RemoveGapsFromSelected(EditorContext& ctx);
bool ChangeGapNsToDashes(EditorContext& ctx);
// Columns where only the row has a letter; returns the columns removed.
int RemoveSingletonInsertsOfSelected(EditorContext& ctx);
