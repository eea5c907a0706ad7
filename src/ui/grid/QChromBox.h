// SPDX-License-Identifier: GPL-3.0-or-later
// TChromBox: the trace view below the grid. Draws the chromatogram of the current sequence
// around the cursor (four channels, letters at their peaks, qualities, cursor marker, block),
// or an overview of the sequence with its regions when it has no trace shown.
#pragma once
#include <QPointer>
#include <QWidget>
#include <vector>

#include "editor/GridPaintRules.h"
#include "editor/TraceGeometry.h"

class TSeqGrid3;
class TSeq;
class TDataSeq;

class TChromBox : public QWidget {
  Q_OBJECT
 public:
  // Shows the current row of the grid's current dataset; follows the grid's cursor.
  explicit TChromBox(TSeqGrid3* grid, QWidget* parent = nullptr);

  TraceWindow window;  // first sample, scales, margin
  std::vector<RegionDisplayEntry> regionDisplay = AllShownRegionDisplay();

  void SetXScalePosition(int position);  // X slider 1..50: 5 / position pixels per sample
  void SetYScalePosition(int position);  // Y slider 1..20: position / 200 pixels per unit
  // True when the current row's trace is drawn (trace present and showTrace set).
  [[nodiscard]] bool ShowsTrace() const;
  void PaintBox(QPainter& p);

 signals:
  void letterClicked(int pos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QPointer<TSeqGrid3> grid;
  [[nodiscard]] const TSeq* CurrentSeq() const;
  void PaintTrace(QPainter& p, const TSeq& s, const TDataSeq& ds);
  void PaintOverview(QPainter& p, const TSeq& s, const TDataSeq& ds);
};
