// SPDX-License-Identifier: GPL-3.0-or-later
// Editing rules of the sequence grid.
#include "editor/GridEditing.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
TSeq* CurrentSeq(TDataSeq& ds) {
  return ds.SeqAt(ds.currentRow);
}

std::vector<int> BlockRows(const TDataSeq& ds) {
  std::vector<int> rows;
  for (int r = 1; r <= ds.Count(); ++r)
    if (ds.SeqAt(r)->selLength > 0 && ds.SeqAt(r)->selStart > 0) rows.push_back(r);
  return rows;
}

// Rows a shift or block command changes: selected enabled rows, else the current row.
std::vector<int> EnabledTargetRows(const TDataSeq& ds) {
  std::vector<int> rows;
  for (int r : ds.SelectedOrCurrentRows())
    if (const TSeq* s = ds.SeqAt(r); s != nullptr && s->enabled) rows.push_back(r);
  return rows;
}

void SetBlockFromColumns(TSeq& seq, int columnA, int columnB) {
  const int lo = std::min(columnA, columnB);
  int start = lo - seq.columnShift;
  int length = std::abs(columnA - columnB);
  // Columns before the row's first letter select nothing there.
  if (start < 1) {
    length -= 1 - start;
    start = 1;
  }
  seq.selStart = start;
  seq.selLength = length;
  NormaliseBlock(seq);
}

// Moves the element at one end of the 0-based span [lo, hi] to the other end: right takes hi to
// lo, left takes lo to hi. Lists shorter than the span (no quality) stay as they are.
template <typename Container>
void Slide(Container& v, int lo, int hi, bool right) {
  if (hi >= static_cast<int>(v.size())) return;
  if (right)
    std::rotate(v.begin() + lo, v.begin() + hi, v.begin() + hi + 1);
  else
    std::rotate(v.begin() + lo, v.begin() + lo + 1, v.begin() + hi + 1);
}
}  // namespace

void NormaliseBlock(TSeq& seq) {
  if (seq.selStart < 0) {
    seq.selLength -= 1 - seq.selStart;
    seq.selStart = 1;
  }
  const int len = seq.Length();
  if (seq.selStart == 0 || seq.selLength <= 0 || seq.selStart > len) {
    seq.selStart = 0;
    seq.selLength = 0;
    return;
  }
  seq.selLength = std::min(seq.selLength, len - seq.selStart + 1);
}

void ClearBlocks(TDataSeq& ds) {
  for (int r = 1; r <= ds.Count(); ++r) {
    ds.SeqAt(r)->selStart = 0;
    ds.SeqAt(r)->selLength = 0;
  }
}

void SelectColumnBlock(TDataSeq& ds, int rowA, int rowB, int columnA, int columnB) {
  if (rowA > rowB) std::swap(rowA, rowB);
  rowA = std::max(rowA, 1);
  rowB = std::min(rowB, ds.Count());
  for (int r = rowA; r <= rowB; ++r) SetBlockFromColumns(*ds.SeqAt(r), columnA, columnB);
}

bool CanEditCurrentRow(const TDataSeq& ds, bool locked) {
  const TSeq* s = ds.SeqAt(ds.currentRow);
  return !locked && s != nullptr && s->enabled;
}

bool IsTypedLetter(char key) {
  return (key >= 'a' && key <= 'z') || (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') ||
         key == '-';
}

bool TypeLetter(TDataSeq& ds, char key, bool insertMode, bool locked) {
  if (!CanEditCurrentRow(ds, locked) || !IsTypedLetter(key)) return false;
  TSeq& s = *CurrentSeq(ds);
  const int len = s.Length();
  // Before the first letter there is no letter to replace and no place to insert without
  // silently moving the row; paste refuses the same position.
  if (ds.cursorPos < 1 && len > 0) return false;
  const int pos = std::max(ds.cursorPos, 1);
  ds.SaveUndo();
  if (insertMode || pos > len) {
    s.InsertLetters(std::min(pos, len + 1), std::string(1, key), false);
    ds.LettersChanged();
    ds.SetCursor(pos + 1, ds.currentRow);
  } else {
    s.letters[static_cast<std::size_t>(pos - 1)] = key;
    ds.LettersChanged();
  }
  return true;
}

bool DeleteAtCursor(TDataSeq& ds, bool locked) {
  if (!CanEditCurrentRow(ds, locked)) return false;
  TSeq& s = *CurrentSeq(ds);
  if (ds.cursorPos < 1 || ds.cursorPos > s.Length()) return false;
  ds.SaveUndo();
  s.DeleteLetters(ds.cursorPos, 1, false);
  NormaliseBlock(s);
  ds.NormaliseShifts();
  ds.LettersChanged();
  ds.SetCursor(ds.cursorPos, ds.currentRow);
  return true;
}

bool DeleteBeforeCursor(TDataSeq& ds, bool locked) {
  if (!CanEditCurrentRow(ds, locked)) return false;
  TSeq& s = *CurrentSeq(ds);
  const int pos = ds.cursorPos - 1;
  // Deleting "position 0" would only lower the row's shift: the letters would jump a column.
  if (pos < 1 || pos > s.Length()) return false;
  ds.SaveUndo();
  s.DeleteLetters(pos, 1, false);
  NormaliseBlock(s);
  ds.NormaliseShifts();
  ds.LettersChanged();
  ds.SetCursor(pos, ds.currentRow);
  return true;
}

bool DeleteBlocks(TDataSeq& ds, IMessages& messages, bool locked) {
  if (locked) return false;
  const std::vector<int> rows = BlockRows(ds);
  if (rows.empty()) return false;
  if (!messages.AskYesNo("Delete selected region?")) return false;
  ds.SaveUndo();
  bool changed = false;
  for (int r : rows) {
    TSeq& s = *ds.SeqAt(r);
    if (!s.enabled) continue;
    NormaliseBlock(s);
    if (s.selLength <= 0) continue;
    s.DeleteLetters(s.selStart, s.selLength, false);
    s.selStart = 0;
    s.selLength = 0;
    changed = true;
  }
  if (!changed) return false;
  ds.NormaliseShifts();
  ds.LettersChanged();
  if (const TSeq* cur = CurrentSeq(ds))
    ds.SetCursor(std::min(ds.cursorPos, cur->Length() + 1), ds.currentRow);
  return true;
}

bool InsertGapAtCursor(TDataSeq& ds, char gapLetter, bool locked) {
  if (!CanEditCurrentRow(ds, locked)) return false;
  TSeq& s = *CurrentSeq(ds);
  if (ds.cursorPos < 1 && s.Length() > 0) return false;
  ds.SaveUndo();
  s.InsertLetters(std::clamp(ds.cursorPos, 1, s.Length() + 1), std::string(1, gapLetter), false);
  ds.LettersChanged();
  return true;
}

bool InsertGapsAtBlocks(TDataSeq& ds, char gapLetter, bool locked) {
  if (locked) return false;
  const std::vector<int> rows = BlockRows(ds);
  bool any = false;
  for (int r : rows) any = any || ds.SeqAt(r)->enabled;
  if (!any) return false;
  ds.SaveUndo();
  for (int r : rows) {
    TSeq& s = *ds.SeqAt(r);
    if (!s.enabled) continue;
    NormaliseBlock(s);
    if (s.selLength <= 0) continue;
    s.InsertLetters(s.selStart, std::string(static_cast<std::size_t>(s.selLength), gapLetter),
                    false);
  }
  ds.LettersChanged();
  return true;
}

bool ShiftRows(TDataSeq& ds, bool right, int step, bool locked) {
  if (locked || step <= 0) return false;
  const std::vector<int> rows = EnabledTargetRows(ds);
  if (rows.empty()) return false;
  ds.SaveUndo();
  for (int r : rows) {
    TSeq& s = *ds.SeqAt(r);
    if (right) {
      s.columnShift += step;
    } else if (s.columnShift >= step) {
      s.columnShift -= step;
    } else {
      // The row cannot move left of column 1: every other row moves right instead.
      const int rest = step - s.columnShift;
      s.columnShift = 0;
      for (int o = 1; o <= ds.Count(); ++o)
        if (o != r) ds.SeqAt(o)->columnShift += rest;
    }
  }
  ds.NormaliseShifts();
  ds.LettersChanged();
  return true;
}

bool ShiftBlocks(TDataSeq& ds, bool right, bool locked) {
  if (locked) return false;
  std::vector<int> movable;
  for (int r : BlockRows(ds)) {
    TSeq& s = *ds.SeqAt(r);
    NormaliseBlock(s);
    if (!s.enabled || s.selLength <= 0) continue;
    const int end = s.selStart + s.selLength - 1;
    if (right ? end < s.Length() : s.selStart > 1) movable.push_back(r);
  }
  if (movable.empty()) return false;
  ds.SaveUndo();
  for (int r : movable) {
    TSeq& s = *ds.SeqAt(r);
    // 0-based span of the block plus the letter that changes sides.
    const int lo = right ? s.selStart - 1 : s.selStart - 2;
    const int hi = right ? s.selStart + s.selLength - 1 : s.selStart + s.selLength - 2;
    Slide(s.letters, lo, hi, right);
    Slide(s.quality, lo, hi, right);
    s.selStart += right ? 1 : -1;
  }
  const int move = right ? 1 : -1;
  if (ds.firstVisibleCol + move >= 1) {
    ds.firstVisibleCol += move;
    ds.lastVisibleCol += move;
  }
  ds.LettersChanged();
  return true;
}

bool MoveBlockPeaks(TDataSeq& ds, int delta, bool locked) {
  if (!CanEditCurrentRow(ds, locked)) return false;
  TSeq& s = *CurrentSeq(ds);
  NormaliseBlock(s);
  if (s.selLength <= 0 || !s.HasTrace()) return false;
  const int last = std::min(s.selStart + s.selLength - 1, static_cast<int>(s.peakPos.size()));
  if (last < s.selStart) return false;
  ds.SaveUndo();
  for (int p = s.selStart; p <= last; ++p) {
    auto& peak = s.peakPos[static_cast<std::size_t>(p - 1)];
    peak = std::max(0, peak + delta);
  }
  return true;
}

namespace {
// Block between the far end of the current row's block (or the old cursor) and the new cursor,
// on the current row or every row that has a block.
void ExtendBlockTo(TDataSeq& ds, int oldPos, int newPos) {
  TSeq& cur = *CurrentSeq(ds);
  int anchor = oldPos;
  if (cur.selLength > 0) {
    if (oldPos == cur.selStart)
      anchor = cur.selStart + cur.selLength;
    else if (oldPos == cur.selStart + cur.selLength)
      anchor = cur.selStart;
  }
  const int anchorColumn = anchor + cur.columnShift;
  const int cursorColumn = newPos + cur.columnShift;
  std::vector<int> rows = BlockRows(ds);
  if (rows.empty() || cur.selLength <= 0) rows = {ds.currentRow};
  for (int r : rows) SetBlockFromColumns(*ds.SeqAt(r), anchorColumn, cursorColumn);
}
}  // namespace

void MoveCursorLetters(TDataSeq& ds, int delta, bool extendBlock) {
  if (CurrentSeq(ds) == nullptr) return;
  const int oldPos = ds.cursorPos;
  ds.SetCursor(oldPos + delta, ds.currentRow);
  if (extendBlock) ExtendBlockTo(ds, oldPos, ds.cursorPos);
}

void MoveCursorRows(TDataSeq& ds, int delta, bool extendBlock) {
  const TSeq* cur = CurrentSeq(ds);
  if (cur == nullptr || ds.Count() < 1) return;
  const int column = ds.cursorPos + cur->columnShift;
  const int oldRow = ds.currentRow;
  const int newRow = std::clamp(oldRow + delta, 1, ds.Count());
  const int blockStart = cur->selLength > 0 ? cur->selStart + cur->columnShift : 0;
  const int blockEnd = blockStart + cur->selLength;
  ds.SetCursor(column - ds.SeqAt(newRow)->columnShift, newRow);
  if (extendBlock && blockStart > 0) SelectColumnBlock(ds, oldRow, newRow, blockStart, blockEnd);
}

void MoveCursorHomeEnd(TDataSeq& ds, bool toEnd, bool extendBlock) {
  const TSeq* cur = CurrentSeq(ds);
  if (cur == nullptr) return;
  const int oldPos = ds.cursorPos;
  ds.SetCursor(toEnd ? cur->Length() + 1 : 1, ds.currentRow);
  if (extendBlock) ExtendBlockTo(ds, oldPos, ds.cursorPos);
}

bool MoveRow(TDataSeq& ds, int from, int to) {
  if (from == to || ds.SeqAt(from) == nullptr || ds.SeqAt(to) == nullptr) return false;
  const int step = from < to ? 1 : -1;
  // Swapping neighbours keeps every sequence object where the dataset owns it; only the lookups
  // need rebuilding, once.
  for (int r = from; r != to; r += step) std::swap(*ds.SeqAt(r), *ds.SeqAt(r + step));
  const int cur = ds.currentRow;
  if (cur == from)
    ds.currentRow = to;
  else if (std::min(from, to) <= cur && cur <= std::max(from, to))
    ds.currentRow = cur - step;
  ds.NamesChanged();
  ds.InvalidateMutHolders();
  return true;
}

int ToggleShowTrace(TDataSeq& ds, int lastClickedRow) {
  std::vector<int> rows;
  for (int r = 1; r <= ds.Count(); ++r)
    if (ds.IsSelected(r)) rows.push_back(r);
  if (rows.empty() && ds.SeqAt(lastClickedRow) != nullptr) rows.push_back(lastClickedRow);
  int changed = 0;
  for (int r : rows) {
    TSeq& s = *ds.SeqAt(r);
    const bool next = !s.showTrace && s.HasTrace();
    if (next != s.showTrace) ++changed;
    s.showTrace = next;
  }
  return changed;
}
