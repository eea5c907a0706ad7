// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/SequenceCommands.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "editor/CommandSupport.h"
#include "editor/GridEditing.h"

namespace {
// The current dataset when it has a current row.
TDataSeq* WithRow(EditorContext& ctx) {
  TDataSeq* ds = CommandDataset(ctx);
  return ds != nullptr && ds->SeqAt(ds->currentRow) != nullptr ? ds : nullptr;
}

TDataSeq* Editable(EditorContext& ctx) {
  return ctx.locked ? nullptr : WithRow(ctx);
}

template <typename Op>
bool RowWise(EditorContext& ctx, Op op) {
  TDataSeq* ds = Editable(ctx);
  if (ds == nullptr) return false;
  ds->SaveUndo();
  op(*ds);
  ds->LettersChanged();
  ctx.modified = true;
  return true;
}

const char* TypeWord(int seqType) {
  switch (seqType) {
    case kSeqDna:
      return "DNA";
    case kSeqRna:
      return "RNA";
    case kSeqProtein1:
      return "protein";
    case kSeqSnp:
      return "SNPs";
    default:
      return nullptr;
  }
}

std::vector<int> SelectedRows(const TDataSeq& ds) {
  std::vector<int> rows;
  for (int r = 1; r <= ds.Count(); ++r)
    if (ds.IsSelected(r)) rows.push_back(r);
  return rows;
}

void KeepCurrentRowInside(TDataSeq& ds) {
  if (ds.currentRow > ds.Count()) ds.currentRow = ds.Count();
  if (ds.currentRow < 1 && ds.Count() > 0) ds.currentRow = 1;
}

void MoveSelectedRows(TDataSeq& ds, bool toTop) {
  std::vector<int> rows = ds.SelectedOrCurrentRows();
  if (toTop) {
    for (std::size_t i = 0; i < rows.size(); ++i)
      (void)MoveRow(ds, rows[i], static_cast<int>(i) + 1);
  } else {
    const int n = ds.Count();
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const int from = rows[rows.size() - 1 - i];
      (void)MoveRow(ds, from, n - static_cast<int>(i));
    }
  }
}

bool ShiftRowsToEdge(EditorContext& ctx, bool toTop) {
  if (Editable(ctx) == nullptr) return false;
  const auto scope = ScopeDatasets(
      ctx,
      "Proceed with all datasets in the project?\r\nPress No to shift selected seq to top only "
      "in the current data set.");
  for (TDataSeq* ds : scope) MoveSelectedRows(*ds, toTop);
  ctx.modified = true;
  return true;
}
}  // namespace

bool SetSequenceType(EditorContext& ctx, int seqType) {
  TDataSeq* ds = WithRow(ctx);
  const char* word = TypeWord(seqType);
  if (ds == nullptr || word == nullptr) return false;
  if (ctx.services.messages.AskYesNo(std::string("Set type of all seq in the project to ") + word +
                                     "? Press No to change only current sequence.")) {
    for (TDataSeq* d : AllDatasets(ctx))
      for (int r = 1; r <= d->Count(); ++r)
        d->SeqAt(r)->seqType = static_cast<std::uint8_t>(seqType);
  } else {
    ds->SeqAt(ds->currentRow)->seqType = static_cast<std::uint8_t>(seqType);
  }
  ctx.modified = true;
  return true;
}

bool ReverseSequences(EditorContext& ctx) {
  return RowWise(ctx, [](TDataSeq& ds) { ds.ReverseRows(0); });
}
bool ComplementSequences(EditorContext& ctx) {
  return RowWise(ctx, [](TDataSeq& ds) { ds.ComplementRows(0); });
}
bool ReverseComplementSequences(EditorContext& ctx) {
  return RowWise(ctx, [](TDataSeq& ds) { ds.ReverseComplementRows(0); });
}
bool UpperCaseSequences(EditorContext& ctx) {
  return RowWise(ctx, [](TDataSeq& ds) { ds.ChangeCase(0, 0, 0, true); });
}
bool LowerCaseSequences(EditorContext& ctx) {
  return RowWise(ctx, [](TDataSeq& ds) { ds.ChangeCase(0, 0, 0, false); });
}

bool ReverseComplementAlignment(EditorContext& ctx) {
  return RowWise(ctx, [](TDataSeq& ds) {
    const int length = ds.AlignmentLength(true);
    // Every row turns, hidden ones too: a row left behind would fall out of the alignment.
    for (int r = 1; r <= ds.Count(); ++r) {
      TSeq& s = *ds.SeqAt(r);
      const bool enabled = s.enabled;
      s.enabled = true;
      s.ReverseComplement();
      s.enabled = enabled;
      s.columnShift = s.Length() > 0 ? length - s.columnShift - s.Length() : 0;
    }
  });
}

bool ToggleSelectCurrent(EditorContext& ctx) {
  TDataSeq* ds = WithRow(ctx);
  if (ds == nullptr) return false;
  ds->ToggleSelect(ds->currentRow);
  return true;
}

bool SelectAllRows(EditorContext& ctx) {
  TDataSeq* ds = WithRow(ctx);
  if (ds == nullptr) return false;
  ds->Select(-1);
  return true;
}

bool UnselectAllRows(EditorContext& ctx) {
  TDataSeq* ds = WithRow(ctx);
  if (ds == nullptr) return false;
  ds->Unselect(-1);
  return true;
}

bool InvertRowSelection(EditorContext& ctx) {
  TDataSeq* ds = WithRow(ctx);
  if (ds == nullptr) return false;
  for (int r = 1; r <= ds->Count(); ++r) ds->SeqAt(r)->selected = !ds->SeqAt(r)->selected;
  return true;
}

bool SelectFromCurrentToLast(EditorContext& ctx) {
  TDataSeq* ds = WithRow(ctx);
  if (ds == nullptr) return false;
  for (int r = ds->currentRow; r <= ds->Count(); ++r) ds->SeqAt(r)->selected = true;
  return true;
}

bool ToggleHideSequences(EditorContext& ctx) {
  TDataSeq* ds = WithRow(ctx);
  if (ds == nullptr) return false;
  std::vector<int> rows = SelectedRows(*ds);
  if (rows.empty()) rows.push_back(ds->currentRow);
  for (int r : rows) ds->SeqAt(r)->enabled = !ds->SeqAt(r)->enabled;
  ds->InvalidateMutHolders();
  ctx.modified = true;
  return true;
}

bool ShowAllSequences(EditorContext& ctx) {
  TDataSeq* ds = WithRow(ctx);
  if (ds == nullptr) return false;
  ds->Enable(-1);
  ds->InvalidateMutHolders();
  ctx.modified = true;
  return true;
}

bool ShiftToBeginning(EditorContext& ctx) {
  return RowWise(ctx, [](TDataSeq& ds) {
    for (int r : EnabledTargetRowsOf(ds)) ds.SeqAt(r)->columnShift = 0;
    ds.NormaliseShifts();
    ds.firstVisibleCol = 1;
    ds.SetCursor(1, ds.currentRow);
  });
}

bool ShiftToEnd(EditorContext& ctx) {
  TDataSeq* ds = Editable(ctx);
  if (ds == nullptr) return false;
  const std::vector<int> rows = EnabledTargetRowsOf(*ds);
  int furthest = 0;
  for (int r : rows)
    furthest = std::max(furthest, ds->SeqAt(r)->columnShift + ds->SeqAt(r)->Length());
  const int delta = ds->AlignmentLength(true) - furthest;
  if (rows.empty() || delta <= 0) return false;
  ds->SaveUndo();
  for (int r : rows) ds->SeqAt(r)->columnShift += delta;
  ds->InvalidateMutHolders();
  ctx.modified = true;
  return true;
}

bool ShiftToCursor(EditorContext& ctx) {
  TDataSeq* ds = Editable(ctx);
  if (ds == nullptr) return false;
  const std::vector<int> selected = SelectedRows(*ds);
  const TSeq& current = *ds->SeqAt(ds->currentRow);
  int delta = ds->cursorPos - 1;
  std::vector<int> rows{ds->currentRow};
  if (!selected.empty()) {
    int least = INT_MAX;
    for (int r : selected) least = std::min(least, ds->SeqAt(r)->columnShift);
    delta = current.columnShift + ds->cursorPos - least - 1;
    rows = selected;
  }
  if (delta == 0 || !current.enabled) return false;
  ds->SaveUndo();
  for (int r : rows) ds->SeqAt(r)->columnShift += delta;
  ds->NormaliseShifts();
  ds->InvalidateMutHolders();
  ctx.modified = true;
  return true;
}

bool ShiftToTop(EditorContext& ctx) {
  return ShiftRowsToEdge(ctx, true);
}

bool ShiftToBottom(EditorContext& ctx) {
  return ShiftRowsToEdge(ctx, false);
}

int DeleteSelectedSequences(EditorContext& ctx) {
  TDataSeq* ds = WithRow(ctx);
  if (ds == nullptr) return 0;
  std::vector<int> rows = SelectedRows(*ds);
  if (rows.size() > 1) {
    if (!ctx.services.messages.AskYesNo("Delete " + std::to_string(rows.size()) +
                                        " selected sequences?"))
      return 0;
  } else {
    if (!ctx.services.messages.AskYesNo("Delete sequence " + ds->NameAt(ds->currentRow) + "?"))
      return 0;
    rows = {ds->currentRow};
  }
  ds->SaveUndo();
  ds->DeleteSeqs(rows);
  KeepCurrentRowInside(*ds);
  ctx.modified = true;
  return static_cast<int>(rows.size());
}

int RemoveShortSequences(EditorContext& ctx, int minLength) {
  TDataSeq* ds = WithRow(ctx);
  if (ds == nullptr) return 0;
  std::vector<int> candidates = SelectedRows(*ds);
  if (candidates.size() <= 1) candidates = std::vector<int>();
  if (candidates.empty())
    for (int r = 1; r <= ds->Count(); ++r) candidates.push_back(r);
  std::vector<int> rows;
  for (int r : candidates)
    if (ds->SeqAt(r)->Length() < minLength) rows.push_back(r);
  if (rows.empty()) return 0;
  ds->SaveUndo();
  ds->DeleteSeqs(rows);
  KeepCurrentRowInside(*ds);
  ctx.modified = true;
  return static_cast<int>(rows.size());
}

int RemoveEmptySequences(EditorContext& ctx) {
  return RemoveShortSequences(ctx, 1);
}

int RemoveFirstSequence(EditorContext& ctx) {
  if (WithRow(ctx) == nullptr) return 0;
  if (!ctx.services.messages.AskYesNo("Remove 1st sequence from the dataset?")) return 0;
  int removed = 0;
  for (TDataSeq* ds : ScopeDatasets(ctx, kAllDatasetsQuestion)) {
    if (ds->Count() == 0) continue;
    ds->SaveUndo();
    ds->DeleteSeq(1);
    KeepCurrentRowInside(*ds);
    ++removed;
  }
  if (removed > 0) ctx.modified = true;
  return removed;
}

bool UndoLastEdit(EditorContext& ctx) {
  TDataSeq* ds = CommandDataset(ctx);
  if (ds == nullptr || !ds->Undo()) return false;
  KeepCurrentRowInside(*ds);
  ctx.modified = true;
  return true;
}

bool AddNewSequence(EditorContext& ctx) {
  TDataSeq* ds = CommandDataset(ctx);
  if (ds == nullptr) return false;
  auto seq = std::make_unique<TSeq>();
  seq->seqName = "Sequence_" + std::to_string(ds->Count() + 1);
  const int row = ds->AddSeq(seq, true);
  if (row < 0) return false;
  ds->SetCursor(1, row);
  ctx.modified = true;
  return true;
}

bool SortCurrentByName(EditorContext& ctx) {
  TDataSeq* ds = WithRow(ctx);
  if (ds == nullptr) return false;
  ds->SortByName(false);
  ctx.modified = true;
  return true;
}
