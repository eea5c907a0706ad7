// SPDX-License-Identifier: GPL-3.0-or-later
// Sequence menu commands: type, strand and case, selection, hiding, shifting, removing rows,
// and undo.
#pragma once
#include "editor/EditorContext.h"

// Properties > Change seq type: asks whether every sequence of the project gets the type
// (kSeqDna, kSeqRna, kSeqProtein1 or kSeqSnp); No changes the current row only.
bool SetSequenceType(EditorContext& ctx, int seqType);

// Strand and case of the selected rows (the current row when none is).
bool ReverseSequences(EditorContext& ctx);
bool ComplementSequences(EditorContext& ctx);
bool ReverseComplementSequences(EditorContext& ctx);
bool UpperCaseSequences(EditorContext& ctx);
bool LowerCaseSequences(EditorContext& ctx);
// "Rev.-Compl. alignment": every row reverse-complemented in place of the alignment.
bool ReverseComplementAlignment(EditorContext& ctx);

// Selection flags of rows.
bool ToggleSelectCurrent(EditorContext& ctx);
bool SelectAllRows(EditorContext& ctx);
bool UnselectAllRows(EditorContext& ctx);
bool InvertRowSelection(EditorContext& ctx);
bool SelectFromCurrentToLast(EditorContext& ctx);

// "&Hide/show sequences": toggles enabled of the selected enabled rows (the current row when
// none is); "Show a&ll sequences" enables every row.
bool ToggleHideSequences(EditorContext& ctx);
bool ShowAllSequences(EditorContext& ctx);

// Sequence > Shift to... (the selected rows, the current row when none is selected).
bool ShiftToBeginning(EditorContext& ctx);
bool ShiftToEnd(EditorContext& ctx);
bool ShiftToCursor(EditorContext& ctx);
// Row order: the selected rows move to the top (bottom) keeping their order; scope question.
bool ShiftToTop(EditorContext& ctx);
bool ShiftToBottom(EditorContext& ctx);

// Sequence > Remove. Return the number of rows removed.
int DeleteSelectedSequences(EditorContext& ctx);
// Rows with fewer letters than minLength (among the selected rows when more than one is
// selected); "Empty sequences" is minLength 1.
int RemoveShortSequences(EditorContext& ctx, int minLength);
int RemoveEmptySequences(EditorContext& ctx);
int RemoveFirstSequence(EditorContext& ctx);

// "Add &new" / "New &sequence": an empty row named "Sequence_" + (rows + 1) becomes current.
bool AddNewSequence(EditorContext& ctx);
// "So&rt by seq. name" in the current dataset.
bool SortCurrentByName(EditorContext& ctx);

// "&Undo": the dataset's snapshot comes back.
bool UndoLastEdit(EditorContext& ctx);
