// SPDX-License-Identifier: GPL-3.0-or-later
// Editing rules of the sequence grid that need no window: blocks, typing, deleting, gap
// insertion, shifting rows and blocks, cursor moves. All act on the dataset's current row and
// cursor (currentRow, cursorPos) and on the rows' blocks (selStart, selLength). An operation
// that returns false changed nothing.
#pragma once
#include "common/Services.h"
#include "model/Datasequnit.h"

// Keeps a block consistent after edits: a zero start or non-positive length clears it, a
// negative start moves to 1 with the length reduced, a start beyond the letters clears it and a
// block reaching past the end is cut at the last letter.
void NormaliseBlock(TSeq& seq);
void ClearBlocks(TDataSeq& ds);
// Selects the columns between two boundaries (given as alignment columns) on every row from rowA
// to rowB; each row's block starts at the smaller column minus its shift.
void SelectColumnBlock(TDataSeq& ds, int rowA, int rowB, int columnA, int columnB);

// The current row exists, is enabled, and the grid is not locked.
[[nodiscard]] bool CanEditCurrentRow(const TDataSeq& ds, bool locked);
// Letters a-z, A-Z, digits and '-'.
[[nodiscard]] bool IsTypedLetter(char key);

// Typing: takes an undo snapshot; in insert mode inserts at the cursor and moves it right;
// otherwise appends past the end (cursor moves right) or replaces the letter at the cursor.
// Does nothing with the cursor before the first letter of a non-empty row.
[[nodiscard]] bool TypeLetter(TDataSeq& ds, char key, bool insertMode, bool locked);
// Ctrl+D / Delete without blocks: the letter at the cursor.
[[nodiscard]] bool DeleteAtCursor(TDataSeq& ds, bool locked);
// Backspace without blocks: the letter before the cursor; the cursor moves left.
[[nodiscard]] bool DeleteBeforeCursor(TDataSeq& ds, bool locked);
// With blocks: asks "Delete selected region?" and on Yes deletes every block of an enabled row.
[[nodiscard]] bool DeleteBlocks(TDataSeq& ds, IMessages& messages, bool locked);
// Ctrl+I: one gap letter at the cursor, or with blocks as many as each block is long at each
// block's start.
[[nodiscard]] bool InsertGapAtCursor(TDataSeq& ds, char gapLetter, bool locked);
[[nodiscard]] bool InsertGapsAtBlocks(TDataSeq& ds, char gapLetter, bool locked);

// Every selected enabled row (or the current row) moves by step columns; a left move past
// shift 0 pushes every other row right by the remainder instead. Shifts end normalised.
[[nodiscard]] bool ShiftRows(TDataSeq& ds, bool right, int step, bool locked);
// Each block slides one letter: left takes the letter before it to its end, right the letter
// after it to its start; blocks at the sequence's edge stay. The window follows by one column.
[[nodiscard]] bool ShiftBlocks(TDataSeq& ds, bool right, bool locked);
// Ctrl+Alt+Left/Right: the peaks of the current row's block letters move by delta samples.
[[nodiscard]] bool MoveBlockPeaks(TDataSeq& ds, int delta, bool locked);

// Cursor moves; with extendBlock the block of the current row (or of every row that already
// has one) runs from its far end to the new cursor.
void MoveCursorLetters(TDataSeq& ds, int delta, bool extendBlock);
// Keeps the alignment column; with extendBlock the current block's columns spread to the rows
// passed over.
void MoveCursorRows(TDataSeq& ds, int delta, bool extendBlock);
void MoveCursorHomeEnd(TDataSeq& ds, bool toEnd, bool extendBlock);

// Dragging a row in the name column: the sequence at `from` moves to `to`, the rows between
// close up; the current row follows its sequence.
[[nodiscard]] bool MoveRow(TDataSeq& ds, int from, int to);

// Ctrl+H: toggles showTrace of every selected enabled row, or of lastClickedRow when none is
// selected; rows without a trace keep it off. Returns the number of rows changed.
int ToggleShowTrace(TDataSeq& ds, int lastClickedRow);
