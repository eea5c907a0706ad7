// SPDX-License-Identifier: GPL-3.0-or-later
// TSeqGrid3: the sequence grid at the centre of an editor window. Owns the window's project and
// shows its current dataset: names, lengths, ruler, coloured letters, regions, cursor, blocks.
// Only the visible rows and columns are painted; letters come from a glyph cache per zoom.
#pragma once
#include <QAbstractScrollArea>
#include <QFont>
#include <memory>
#include <vector>

#include "common/ColorScheme.h"
#include "common/Services.h"
#include "editor/GridGeometry.h"
#include "editor/GridPaintRules.h"
#include "model/DataProjUnit.h"
#include "ui/grid/DrawUnit.h"

class QTimer;

class TSeqGrid3 : public QAbstractScrollArea {
  Q_OBJECT
 public:
  // The services must outlive the grid (its project reports through them).
  explicit TSeqGrid3(Services& services, QWidget* parent = nullptr);
  ~TSeqGrid3() override;

  double letterWidth = kDefaultLetterWidth;  // pixels per alignment column: the zoom
  double minLetterWidth = kMinLetterWidth;
  double maxLetterWidth = kMaxLetterWidth;
  double zoomFactor = kDefaultZoomFactor;
  bool outlineMode = false;  // computed on every refit
  bool isLocked = false;
  bool cursorVisible = true;
  bool modified = false;
  int nameColWidth = 100;
  char gapLetter = '-';
  int cursorOffset = 1;
  int letterMargin = 3;
  int textMargin = 2;
  int bigStep = 50;
  int cursorPenWidth = 2;
  ColorScheme colorScheme = DefaultColorScheme();
  bool insertMode = false;
  bool dottedView = false;
  std::vector<RegionDisplayEntry> regionDisplay = DefaultRegionDisplay();

  [[nodiscard]] TDataProj& Project() { return *project; }
  // The current dataset; nullptr while the project has none (never creates one).
  [[nodiscard]] TDataSeq* Dataset();
  [[nodiscard]] const TDataSeq* Dataset() const;
  // Replaces the project (the grid owns it from now on) and shows its current dataset.
  void SetProject(std::unique_ptr<TDataProj> newProject);

  // rowOnly repaints the current row; otherwise rows, columns, shifts and window are refitted.
  void Refresh(bool rowOnly = false);
  void ZoomIn();
  void ZoomOut();
  void ZoomMax();
  void ZoomFit();
  void SetZoomPosition(int position);  // the editor's zoom slider: 0 means fit
  void SetRowHeight(int height);       // 10..100
  [[nodiscard]] int RowHeight() const { return rowHeight; }
  void SetNameColumnWidth(int width);  // the slider fixes it; 0 goes back to fitting the names
  void SetLocked(bool locked);
  void SetGridFont(const QFont& font);
  [[nodiscard]] const QFont& GridFont() const { return gridFont; }
  // One blink: toggles the cursor and repaints its cell only. Does nothing when locked or empty.
  void BlinkCursor();
  void SetBlinking(bool on);
  // Shift + "<" / ">" and the toolbar buttons: blocks slide, or rows move (big: bigStep).
  void ShiftSelection(bool right, bool big);
  bool UndoEdit();

  // Paints the visible part of the grid into any painter (the viewport, or an image).
  void PaintViewport(QPainter& p, const QRect& exposed);

  // Geometry, for the editor window and for tests.
  [[nodiscard]] int RowCount() const;  // count + 1, at least 2
  [[nodiscard]] int HeaderHeight() const { return headerHeight; }
  [[nodiscard]] int LenColWidth() const { return lenColWidth; }
  [[nodiscard]] int SeqColLeft() const { return nameColWidth + lenColWidth; }
  [[nodiscard]] int SeqColWidth() const;
  [[nodiscard]] int TopRow() const;
  [[nodiscard]] LetterLayout Layout() const;
  [[nodiscard]] int RowTopPixel(int row) const;             // -1 when not shown
  [[nodiscard]] QRect CellRect(int row, int column) const;  // letter cell of an alignment column
  [[nodiscard]] QRect CursorRect() const;
  [[nodiscard]] int LetterTop(int rowTop) const;
  [[nodiscard]] int AverageCharWidth() const { return averageCharWidth; }
  [[nodiscard]] const QString& HintText() const { return hint; }

 signals:
  void cursorMoved();  // current row or cursor changed (the trace view follows)
  void lockChanged(bool locked);
  void hintChanged(const QString& text);
  void contentChanged();  // letters, rows or shifts changed

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  Services& services;
  std::unique_ptr<TDataProj> project;
  QFont gridFont;
  QFont labelFont;
  GlyphCache glyphs;
  QTimer* blinkTimer = nullptr;
  int rowHeight = 23;
  int headerHeight = 20;
  int lenColWidth = 40;
  int averageCharWidth = 8;
  bool nameWidthFixed = false;
  // Press point and press cell of the left button (-1: none).
  int pressX = -1, pressY = -1, pressRow = -1, pressCol = -1;
  int pressColumn = 0;  // alignment column of the boundary under the press
  int lastClickedRow = 0;
  QString hint;

  void FitColumns();
  void FitWindow();
  void UpdateScrollBars();
  void MakeCurrentRowVisible();
  void AfterCursorMove(bool extendedBlock);
  void AfterEdit(bool rowOnly);
  int CellColumnAt(int x) const;  // 0 names, 1 lengths, 2 letters
  int BoundaryAt(int row, int x) const;
  void OnHorizontalScroll(int value);

  void PaintHeader(QPainter& p, const QRect& exposed, const TDataSeq* ds);
  void PaintNameCells(QPainter& p, int row, int top, const TSeq& s, bool current);
  void PaintLetters(QPainter& p, int row, int top, const TSeq& s, const TDataSeq& ds, int firstCol,
                    int lastCol);
  void PaintRegions(QPainter& p, int top, const TSeq& s, int lastCol);
  // A row that shows its trace: channels scaled into the row, letters at their peaks.
  void PaintRowTrace(QPainter& p, int top, const TSeq& s, int clipLeft, int clipRight);
  void PaintCursorAndBlock(QPainter& p, int row, int top, const TSeq& s, const TDataSeq& ds);
};
