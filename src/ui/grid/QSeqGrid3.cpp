// SPDX-License-Identifier: GPL-3.0-or-later
// TSeqGrid3: project ownership, layout, zoom, window and refresh.
#include "ui/grid/QSeqGrid3.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <cmath>

TSeqGrid3::TSeqGrid3(Services& svc, QWidget* parent)
    : QAbstractScrollArea(parent), services(svc), project(std::make_unique<TDataProj>(svc)) {
  gridFont = QFont(QStringLiteral("Courier"));
  gridFont.setStyleHint(QFont::TypeWriter);
  gridFont.setFixedPitch(true);
  gridFont.setPixelSize(13);
  SetGridFont(gridFont);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &TSeqGrid3::OnHorizontalScroll);
  blinkTimer = new QTimer(this);
  blinkTimer->setInterval(1000);
  connect(blinkTimer, &QTimer::timeout, this, &TSeqGrid3::BlinkCursor);
  blinkTimer->start();
  hint = QStringLiteral("DataSet window");
  Refresh(false);
}

TSeqGrid3::~TSeqGrid3() = default;

TDataSeq* TSeqGrid3::Dataset() {
  if (project->DatasetCount() == 0) return nullptr;
  return project->DatasetAt(std::max(project->CurrentIndex(), 0));
}

const TDataSeq* TSeqGrid3::Dataset() const {
  if (project->DatasetCount() == 0) return nullptr;
  return static_cast<const TDataProj&>(*project).DatasetAt(std::max(project->CurrentIndex(), 0));
}

void TSeqGrid3::SetProject(std::unique_ptr<TDataProj> newProject) {
  if (!newProject) return;
  project = std::move(newProject);
  Refresh(false);
}

void TSeqGrid3::SetGridFont(const QFont& font) {
  gridFont = font;
  labelFont = font;
  const int px = font.pixelSize() > 0 ? font.pixelSize() : QFontMetrics(font).height();
  labelFont.setPixelSize(std::max(6, px - 4));  // 3 points is 4 pixels at 96 dpi
  const QFontMetrics fm(gridFont);
  averageCharWidth = fm.horizontalAdvance(QStringLiteral("DAWADRTSGH")) / 10;
  headerHeight = std::max(1, static_cast<int>(1.5 * fm.height()));
  glyphs.Prepare(gridFont, LetterCellWidth(letterWidth));
  viewport()->update();
}

int TSeqGrid3::RowCount() const {
  const TDataSeq* ds = Dataset();
  return std::max(2, (ds != nullptr ? ds->Count() : 0) + 1);
}

int TSeqGrid3::SeqColWidth() const {
  return std::max(0, viewport()->width() - SeqColLeft() - 5);
}

int TSeqGrid3::TopRow() const {
  return verticalScrollBar()->value() + 1;
}

LetterLayout TSeqGrid3::Layout() const {
  LetterLayout l;
  l.letterWidth = letterWidth;
  l.left = SeqColLeft();
  l.letterMargin = letterMargin;
  const TDataSeq* ds = Dataset();
  l.firstVisibleCol = ds != nullptr ? std::max(ds->firstVisibleCol, 1) : 1;
  return l;
}

int TSeqGrid3::RowTopPixel(int row) const {
  const int top = RowTop(row, headerHeight, rowHeight, TopRow());
  return top >= 0 && top < viewport()->height() ? top : -1;
}

int TSeqGrid3::LetterTop(int rowTop) const {
  return rowTop + (rowHeight - glyphs.LetterHeight()) / 2;
}

QRect TSeqGrid3::CellRect(int row, int column) const {
  const int top = RowTop(row, headerHeight, rowHeight, TopRow());
  if (top < 0) return {};
  return QRect(ColumnX(Layout(), column), top, LetterCellWidth(letterWidth), rowHeight);
}

QRect TSeqGrid3::CursorRect() const {
  const TDataSeq* ds = Dataset();
  if (ds == nullptr) return {};
  const TSeq* s = ds->SeqAt(ds->currentRow);
  if (s == nullptr) return {};
  const int top = RowTop(ds->currentRow, headerHeight, rowHeight, TopRow());
  if (top < 0) return {};
  const int x = ColumnX(Layout(), ds->cursorPos + s->columnShift);
  // The cursor line and the letters on both sides of it.
  const int w = LetterCellWidth(letterWidth);
  return QRect(x - w - cursorPenWidth, top, 2 * w + 2 * cursorPenWidth, rowHeight);
}

void TSeqGrid3::FitColumns() {
  const QFontMetrics fm(gridFont);
  const TDataSeq* ds = Dataset();
  if (!nameWidthFixed) {
    const QString longest =
        ds != nullptr ? QString::fromLatin1(ds->LongestName()) : QStringLiteral("Sequence name");
    nameColWidth =
        std::max(fm.horizontalAdvance(longest), fm.horizontalAdvance(QStringLiteral("Sequences"))) +
        2 * textMargin;
  }
  QString len = QString::number(ds != nullptr ? ds->AlignmentLength(true) : 0);
  if (len.size() < 4) len = QStringLiteral("Len.");
  lenColWidth = fm.horizontalAdvance(len) + 2 * textMargin;
}

void TSeqGrid3::FitWindow() {
  outlineMode = IsOutlineMode(letterWidth, averageCharWidth);
  glyphs.Prepare(gridFont, LetterCellWidth(letterWidth));
  TDataSeq* ds = Dataset();
  if (ds == nullptr) return;
  if (!(letterWidth > 0)) {
    services.messages.ReportError("Error: zoom value should be >0");
    letterWidth = minLetterWidth;
  }
  const ColumnWindow w =
      ::FitWindow(ds->firstVisibleCol, SeqColWidth(), letterWidth, ds->AlignmentLength(true));
  ds->firstVisibleCol = w.first;
  ds->lastVisibleCol = w.last;
}

void TSeqGrid3::UpdateScrollBars() {
  const TDataSeq* ds = Dataset();
  const int count = ds != nullptr ? ds->Count() : 0;
  const int visibleRows = std::max(1, (viewport()->height() - headerHeight) / rowHeight);
  QScrollBar* v = verticalScrollBar();
  v->setRange(0, std::max(0, count - visibleRows));
  v->setPageStep(visibleRows);
  QScrollBar* h = horizontalScrollBar();
  const QSignalBlocker block(h);
  if (ds == nullptr) {
    h->setRange(1, 1);
    return;
  }
  const int align = ds->AlignmentLength(true);
  const int windowCols = std::max(1, ds->lastVisibleCol - ds->firstVisibleCol + 1);
  h->setRange(1, std::max(1, align - windowCols + 1));
  h->setPageStep(windowCols);
  h->setSingleStep(1);
  h->setValue(std::max(ds->firstVisibleCol, 1));
}

void TSeqGrid3::MakeCurrentRowVisible() {
  const TDataSeq* ds = Dataset();
  if (ds == nullptr || ds->SeqAt(ds->currentRow) == nullptr) return;
  const int visibleRows = std::max(1, (viewport()->height() - headerHeight) / rowHeight);
  QScrollBar* v = verticalScrollBar();
  const int top = TopRow();
  if (ds->currentRow < top)
    v->setValue(ds->currentRow - 1);
  else if (ds->currentRow >= top + visibleRows)
    v->setValue(ds->currentRow - visibleRows);
}

void TSeqGrid3::Refresh(bool rowOnly) {
  TDataSeq* ds = Dataset();
  if (rowOnly) {
    if (ds != nullptr) {
      const int top = RowTopPixel(ds->currentRow);
      if (top >= 0) viewport()->update(0, top, viewport()->width(), rowHeight);
    }
    return;
  }
  if (ds != nullptr) ds->NormaliseShifts();
  FitColumns();
  FitWindow();
  UpdateScrollBars();
  MakeCurrentRowVisible();
  viewport()->update();
}

void TSeqGrid3::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  FitWindow();
  UpdateScrollBars();
}

void TSeqGrid3::scrollContentsBy(int, int) {
  viewport()->update();
}

void TSeqGrid3::OnHorizontalScroll(int value) {
  TDataSeq* ds = Dataset();
  if (ds == nullptr) return;
  ds->firstVisibleCol = value;
  FitWindow();
  viewport()->update();
}

void TSeqGrid3::ZoomIn() {
  letterWidth = ::ZoomIn(letterWidth, zoomFactor, minLetterWidth, maxLetterWidth);
  Refresh(false);
}

void TSeqGrid3::ZoomOut() {
  letterWidth = ::ZoomOut(letterWidth, zoomFactor, minLetterWidth, maxLetterWidth);
  Refresh(false);
}

void TSeqGrid3::ZoomMax() {
  letterWidth = maxLetterWidth;
  Refresh(false);
}

void TSeqGrid3::ZoomFit() {
  const TDataSeq* ds = Dataset();
  letterWidth = FitZoom(SeqColWidth(), ds != nullptr ? ds->AlignmentLength(true) : 0, letterWidth,
                        minLetterWidth, maxLetterWidth);
  if (TDataSeq* d = Dataset()) d->firstVisibleCol = 1;
  Refresh(false);
}

void TSeqGrid3::SetZoomPosition(int position) {
  if (position <= 0) {
    ZoomFit();
    return;
  }
  letterWidth = ClampZoom(position, minLetterWidth, maxLetterWidth);
  Refresh(false);
}

void TSeqGrid3::SetRowHeight(int height) {
  rowHeight = std::clamp(height, 10, 100);
  Refresh(false);
}

void TSeqGrid3::SetNameColumnWidth(int width) {
  nameWidthFixed = width > 0;
  if (nameWidthFixed) nameColWidth = std::clamp(width, 1, 400);
  Refresh(false);
}

void TSeqGrid3::SetLocked(bool locked) {
  isLocked = locked;
  emit lockChanged(locked);
}

void TSeqGrid3::BlinkCursor() {
  if (isLocked || Dataset() == nullptr) return;
  cursorVisible = !cursorVisible;
  const QRect r = CursorRect();
  if (!r.isEmpty()) viewport()->update(r);
}

void TSeqGrid3::SetBlinking(bool on) {
  if (on)
    blinkTimer->start();
  else
    blinkTimer->stop();
}

void TSeqGrid3::paintEvent(QPaintEvent* event) {
  QPainter p(viewport());
  PaintViewport(p, event->rect());
}
