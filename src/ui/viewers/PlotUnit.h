// SPDX-License-Identifier: GPL-3.0-or-later
// TPlotBoxForm: base of the plot windows; holds the series, paints them with axes, ticks and
// a legend into the paint box, and exports the picture as PNG or SVG.
#pragma once
#include <QWidget>
#include <string>
#include <vector>

#include "common/PlotGeometry.h"
#include "common/PlotSeries.h"
#include "ui/shell/CLXChildWin.h"

class QMenu;
class QPainter;

enum class PlotStyle { Histogram, Line, Points };

class TPlotBoxForm : public TMDIChild {
  Q_OBJECT
 public:
  explicit TPlotBoxForm(TMainForm& mainForm, QWidget* parent = nullptr);

  [[nodiscard]] const std::vector<tser>& Series() const { return series; }
  [[nodiscard]] QWidget* PlotBox() const { return plotBox; }
  [[nodiscard]] QMenu* PlotBoxMenu() const { return plotBoxMenu; }

  // Paints the whole plot (axes, ticks, series, legend) into a w x h device.
  void PaintPlot(QPainter& painter, int w, int h);
  bool ExportPng(const QString& path, int w = 800, int h = 500);
  bool ExportSvg(const QString& path, int w = 800, int h = 500);

  PlotStyle style = PlotStyle::Line;
  bool minMax = false;  // cbErBars
  bool horizontalGrid = false;
  bool showLabels = false;                  // rbShowLabels: X tick texts from the point labels
  Qt::PenStyle gridPenStyle = Qt::DotLine;  // rbDot, rbDash, rbSolid, rbDashDot
  int margin = 30;
  // Axis titles: what X is (a position) and the statistic with its unit. Empty: none, and the
  // margins keep the room of a plot without titles.
  std::string xTitle, yTitle;
  // Ranges, margin and size of the last paint, for what is drawn in line with the X axis.
  [[nodiscard]] const PlotFrame& LastFrame() const { return lastFrame; }

 protected:
  virtual void SeriesChanged() {}
  std::vector<tser> series;
  PlotFrame lastFrame;

 private:
  void ExportPng1Click();
  void ExportSvg1Click();
  QWidget* plotBox = nullptr;
  QMenu* plotBoxMenu = nullptr;
};
