// SPDX-License-Identifier: GPL-3.0-or-later
// TSeqGrid3 mouse and keyboard: cursor, selection, blocks, typing, shifting, zoom keys.
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

#include "editor/GridEditing.h"
#include "ui/grid/QSeqGrid3.h"

int TSeqGrid3::CellColumnAt(int x) const {
  if (x < nameColWidth) return 0;
  if (x < SeqColLeft()) return 1;
  return 2;
}

int TSeqGrid3::BoundaryAt(int row, int x) const {
  const TDataSeq* ds = Dataset();
  const TSeq* s = ds != nullptr ? ds->SeqAt(row) : nullptr;
  if (s == nullptr) return 0;
  if (s->showTrace && !s->peakPos.empty())
    return BoundaryFromPeaks(Layout(), x, s->columnShift, s->peakPos, s->traceSamplesPerCell);
  return BoundaryAtX(Layout(), x, s->columnShift);
}

void TSeqGrid3::mousePressEvent(QMouseEvent* event) {
  TDataSeq* ds = Dataset();
  if (event->button() != Qt::LeftButton || ds == nullptr) {
    QAbstractScrollArea::mousePressEvent(event);
    return;
  }
  const QPoint pt = event->position().toPoint();
  const int row = RowAtY(pt.y(), headerHeight, rowHeight, TopRow(), ds->Count());
  pressX = pt.x();
  pressY = pt.y();
  pressRow = row;
  pressCol = CellColumnAt(pt.x());
  if (row < 1) return;
  lastClickedRow = row;
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  if (pressCol == 2) {
    const int boundary = BoundaryAt(row, pt.x());
    pressColumn = boundary + ds->SeqAt(row)->columnShift;
    ds->SetCursor(boundary, row);
  } else {
    // Keep the alignment column while moving to the clicked row.
    const TSeq* cur = ds->SeqAt(ds->currentRow);
    const int column = ds->cursorPos + (cur != nullptr ? cur->columnShift : 0);
    ds->SetCursor(column - ds->SeqAt(row)->columnShift, row);
  }
  if (shift) ds->ToggleSelect(row);
  cursorVisible = true;
  UpdateScrollBars();
  viewport()->update();
  emit cursorMoved();
}

void TSeqGrid3::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pt = event->position().toPoint();
  const TDataSeq* ds = Dataset();
  std::string text;
  if (ds == nullptr) {
    text = GridHintText(nullptr, 0, 0, 0, rowHeight, colorScheme);
  } else {
    const int row = RowAtY(pt.y(), headerHeight, rowHeight, TopRow(), ds->Count());
    int pos = 0;
    if (row >= 1 && CellColumnAt(pt.x()) == 2) {
      const TSeq* s = ds->SeqAt(row);
      pos = ColumnAtX(Layout(), pt.x()) - s->columnShift;
    }
    const int top = row >= 1 ? RowTop(row, headerHeight, rowHeight, TopRow()) : 0;
    text = GridHintText(ds, row, pos, pt.y() - top, rowHeight, colorScheme);
  }
  const QString next = QString::fromLatin1(text);
  if (next != hint) {
    hint = next;
    setToolTip(hint);
    emit hintChanged(hint);
  }
  QAbstractScrollArea::mouseMoveEvent(event);
}

void TSeqGrid3::mouseReleaseEvent(QMouseEvent* event) {
  TDataSeq* ds = Dataset();
  if (event->button() != Qt::LeftButton || ds == nullptr || pressRow < 1) {
    pressRow = -1;
    QAbstractScrollArea::mouseReleaseEvent(event);
    return;
  }
  const QPoint pt = event->position().toPoint();
  int row = RowAtY(pt.y(), headerHeight, rowHeight, TopRow(), ds->Count());
  if (row < 1) row = pt.y() < headerHeight ? std::max(TopRow(), 1) : ds->Count();
  ClearBlocks(*ds);
  if (pressCol == 2 && row >= 1) {
    const int releaseColumn = BoundaryAt(row, pt.x()) + ds->SeqAt(row)->columnShift;
    if (releaseColumn != pressColumn)
      SelectColumnBlock(*ds, pressRow, row, pressColumn, releaseColumn);
  } else if (pressCol == 0 && row != pressRow && MoveRow(*ds, pressRow, row)) {
    modified = true;
    emit contentChanged();
  }
  pressRow = -1;
  viewport()->update();
  emit cursorMoved();
}

void TSeqGrid3::AfterCursorMove(bool) {
  cursorVisible = true;
  UpdateScrollBars();
  MakeCurrentRowVisible();
  viewport()->update();
  emit cursorMoved();
}

void TSeqGrid3::AfterEdit(bool rowOnly) {
  modified = true;
  cursorVisible = true;
  const TDataSeq* ds = Dataset();
  // Typing into the window's last column moves the window: everything shifts.
  const bool windowMoved =
      ds != nullptr && ds->SeqAt(ds->currentRow) != nullptr &&
      ds->cursorPos + ds->SeqAt(ds->currentRow)->columnShift >= ds->lastVisibleCol;
  if (rowOnly && !windowMoved) {
    FitColumns();
    Refresh(true);
    viewport()->update(QRect(0, RowTopPixel(ds->currentRow), SeqColLeft(), rowHeight));
  } else {
    Refresh(false);
  }
  emit contentChanged();
  emit cursorMoved();
}

void TSeqGrid3::ShiftSelection(bool right, bool big) {
  TDataSeq* ds = Dataset();
  if (ds == nullptr || isLocked) return;
  const bool done = ds->BlockCount() > 0 ? ShiftBlocks(*ds, right, isLocked)
                                         : ShiftRows(*ds, right, big ? bigStep : 1, isLocked);
  if (done) AfterEdit(false);
}

bool TSeqGrid3::UndoEdit() {
  TDataSeq* ds = Dataset();
  if (ds == nullptr || isLocked || !ds->Undo()) return false;
  AfterEdit(false);
  return true;
}

void TSeqGrid3::keyPressEvent(QKeyEvent* event) {
  TDataSeq* ds = Dataset();
  if (ds == nullptr) {
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  const Qt::KeyboardModifiers mods = event->modifiers();
  const bool ctrl = mods & Qt::ControlModifier;
  const bool shift = mods & Qt::ShiftModifier;
  const bool alt = mods & Qt::AltModifier;
  const int key = event->key();
  const int step = ctrl ? bigStep : 1;
  const bool hasBlocks = ds->BlockCount() > 0;
  IMessages& ask = services.messages;

  if (ctrl && (key == Qt::Key_Plus || key == Qt::Key_Equal)) {
    shift ? ZoomMax() : ZoomIn();
    return;
  }
  if (ctrl && (key == Qt::Key_Minus || key == Qt::Key_Underscore)) {
    shift ? ZoomFit() : ZoomOut();
    return;
  }
  if (shift && (key == Qt::Key_Comma || key == Qt::Key_Less)) {
    ShiftSelection(false, ctrl);
    return;
  }
  if (shift && (key == Qt::Key_Period || key == Qt::Key_Greater)) {
    ShiftSelection(true, ctrl);
    return;
  }
  switch (key) {
    case Qt::Key_Z:
      if (ctrl) {
        UndoEdit();
        return;
      }
      break;
    case Qt::Key_H:
      if (ctrl) {
        ToggleShowTrace(*ds, lastClickedRow > 0 ? lastClickedRow : ds->currentRow);
        AfterCursorMove(false);
        return;
      }
      break;
    case Qt::Key_I:
      if (ctrl) {
        if (hasBlocks ? InsertGapsAtBlocks(*ds, gapLetter, isLocked)
                      : InsertGapAtCursor(*ds, gapLetter, isLocked))
          AfterEdit(!hasBlocks);
        return;
      }
      break;
    case Qt::Key_D:
      if (!ctrl) break;
      [[fallthrough]];
    case Qt::Key_Delete:
      if (hasBlocks ? DeleteBlocks(*ds, ask, isLocked) : DeleteAtCursor(*ds, isLocked))
        AfterEdit(!hasBlocks);
      return;
    case Qt::Key_Backspace:
      if (hasBlocks ? DeleteBlocks(*ds, ask, isLocked) : DeleteBeforeCursor(*ds, isLocked))
        AfterEdit(!hasBlocks);
      return;
    case Qt::Key_Insert:
      insertMode = !insertMode;
      emit cursorMoved();
      return;
    case Qt::Key_Left:
    case Qt::Key_Right: {
      const int delta = key == Qt::Key_Left ? -1 : 1;
      if (ctrl && alt) {
        if (MoveBlockPeaks(*ds, delta, isLocked)) AfterEdit(true);
        return;
      }
      MoveCursorLetters(*ds, delta * step, shift);
      AfterCursorMove(shift);
      return;
    }
    case Qt::Key_Up:
    case Qt::Key_Down:
      MoveCursorRows(*ds, (key == Qt::Key_Up ? -1 : 1) * step, shift);
      AfterCursorMove(shift);
      return;
    case Qt::Key_Home:
    case Qt::Key_End:
      MoveCursorHomeEnd(*ds, key == Qt::Key_End, shift);
      AfterCursorMove(shift);
      return;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
      const int page = std::max(1, (viewport()->height() - headerHeight) / rowHeight);
      MoveCursorRows(*ds, key == Qt::Key_PageUp ? -page : page, false);
      AfterCursorMove(false);
      return;
    }
    default:
      break;
  }
  const QString text = event->text();
  if (!ctrl && text.size() == 1 && text[0].unicode() < 128) {
    if (TypeLetter(*ds, static_cast<char>(text[0].unicode()), insertMode, isLocked)) {
      AfterEdit(true);
      return;
    }
  }
  QAbstractScrollArea::keyPressEvent(event);
}
