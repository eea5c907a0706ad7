// SPDX-License-Identifier: GPL-3.0-or-later
// The plot window base: painting of series, axes, ticks and legend; PNG and SVG export.
#include "ui/viewers/PlotUnit.h"

#include <QContextMenuEvent>
#include <QFileDialog>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <algorithm>

#include "common/NumberFormat.h"

namespace {

QColor FromBgr(std::uint32_t c) {
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

QString Latin1(const std::string& s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

class PaintBox : public QWidget {
 public:
  PaintBox(TPlotBoxForm& form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName("PlotBox");
    setMinimumSize(200, 150);
    setAutoFillBackground(true);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    form_.PaintPlot(p, width(), height());
  }
  void contextMenuEvent(QContextMenuEvent* e) override {
    if (form_.PlotBoxMenu() != nullptr) form_.PlotBoxMenu()->popup(e->globalPos());
  }

 private:
  TPlotBoxForm& form_;
};

void Marker(QPainter& p, int shape, int x, int y, int half) {
  const QRect box(x - half, y - half, 2 * half, 2 * half);
  QPolygon poly;
  switch (shape) {
    case 1:
      p.drawRect(box);
      return;
    case 2:
      poly << QPoint(x - half, y) << QPoint(x, y - half) << QPoint(x + half, y)
           << QPoint(x, y + half);
      break;
    case 3:
      poly << QPoint(x - half, y + half) << QPoint(x, y - half) << QPoint(x + half, y + half);
      break;
    case 4:
      poly << QPoint(x - half, y - half) << QPoint(x + half, y - half) << QPoint(x, y + half);
      break;
    default:
      p.drawEllipse(box);
      return;
  }
  p.drawPolygon(poly);
}

}  // namespace

TPlotBoxForm::TPlotBoxForm(TMainForm& mainForm, QWidget* parent) : TMDIChild(mainForm, parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  plotBox = new PaintBox(*this, this);
  layout->addWidget(plotBox);
  plotBoxMenu = new QMenu(this);
  plotBoxMenu->setObjectName("PlotBoxMenu");
  QAction* png = plotBoxMenu->addAction("Export PNG...");
  png->setObjectName("ExportPng1");
  connect(png, &QAction::triggered, this, &TPlotBoxForm::ExportPng1Click);
  QAction* svg = plotBoxMenu->addAction("Export SVG...");
  svg->setObjectName("ExportSvg1");
  connect(svg, &QAction::triggered, this, &TPlotBoxForm::ExportSvg1Click);
}

void TPlotBoxForm::PaintPlot(QPainter& p, int w, int h) {
  p.fillRect(0, 0, w, h, Qt::white);
  PlotFrame f;
  f.width = w;
  f.height = h;
  f.r = ComputeRanges(series, minMax);
  const QFontMetrics fm = p.fontMetrics();
  const int labelWidth = fm.horizontalAdvance(
      Latin1(FormatFixed(f.r.yMax - f.r.yMin, std::abs(DecimalOrder(f.r.yMax - f.r.yMin)) + 2)));
  if (margin < labelWidth + 5) margin = labelWidth + 10;
  // Titles sit outside the tick labels, so every side gives them a line's room.
  const int titleRoom = xTitle.empty() && yTitle.empty() ? 0 : fm.height() + 6;
  f.margin = margin + titleRoom;
  lastFrame = f;
  const int m = f.margin;
  p.setPen(Qt::black);
  if (!xTitle.empty()) {
    const QString text = Latin1(xTitle);
    p.drawText((w - fm.horizontalAdvance(text)) / 2, h - 4 - fm.descent(), text);
  }
  if (!yTitle.empty()) {
    const QString text = Latin1(yTitle);
    p.save();
    p.translate(4 + fm.ascent(), h / 2.0);
    p.rotate(-90);
    p.drawText(-fm.horizontalAdvance(text) / 2, 0, text);
    p.restore();
  }
  const int xAxis = f.XAxisRow(), yAxis = f.YAxisColumn();
  p.setPen(Qt::black);
  p.drawLine(m, xAxis, w - m, xAxis);
  p.drawLine(yAxis, m, yAxis, h - m);

  for (const YTick& t : ComputeYTicks(f, fm.height())) {
    p.setPen(Qt::black);
    p.drawLine(yAxis - 5, t.row, yAxis, t.row);
    const QString text = Latin1(t.text);
    p.drawText(yAxis - 5 - fm.horizontalAdvance(text), t.row - fm.height() / 2 + fm.ascent(), text);
    if (horizontalGrid && t.value != 0) {
      p.setPen(QPen(Qt::gray, 1, gridPenStyle));
      p.drawLine(m, t.row, w - m, t.row);
    }
  }

  // X ticks: points sorted by x; a text only when it clears the previous one.
  std::vector<const TSerPoint*> all;
  for (const tser& s : series)
    if (s.visible)
      for (const TSerPoint& pt : s.points) all.push_back(&pt);
  std::sort(all.begin(), all.end(), [](auto* a, auto* b) { return a->x < b->x; });
  int lastEnd = -1'000'000;
  p.setPen(Qt::black);
  for (const TSerPoint* pt : all) {
    const int col = f.Column(pt->x);
    if (col <= lastEnd + 5) continue;
    const QString text =
        showLabels ? Latin1(pt->label)
                   : Latin1(FormatFixed(
                         pt->x, std::abs(DecimalOrder(pt->x - static_cast<long long>(pt->x)))));
    p.drawLine(col, xAxis, col, xAxis + 4);
    const int left = col == yAxis ? col + 2 : col - 3;
    p.drawText(left, xAxis + 5 + fm.ascent(), text);
    lastEnd = left + fm.horizontalAdvance(text);
  }

  int sizeSum = 0;
  for (const tser& s : series)
    if (s.visible) sizeSum += s.pointSize;
  int sizeBefore = 0;
  for (tser& s : series) {
    if (!s.visible) continue;
    p.setPen(FromBgr(s.lineColor));
    p.setBrush(FromBgr(s.fillColor));
    if (style == PlotStyle::Line && s.points.size() > 1) {
      QPolygon line;
      for (const TSerPoint& pt : s.points) line << QPoint(f.Column(pt.x), f.Row(pt.y));
      p.drawPolyline(line);
    }
    for (TSerPoint& pt : s.points) {
      const int col = f.Column(pt.x), row = f.Row(pt.y);
      pt.screenX = col;
      if (style == PlotStyle::Histogram) {
        const int left = col + sizeBefore - RoundHalfEvenInt(sizeSum / 2.0);
        p.drawRect(QRect(QPoint(left, std::min(row, xAxis)),
                         QPoint(left + s.pointSize - 1, std::max(row, xAxis))));
      } else {
        Marker(p, s.shape, col, row, RoundHalfEvenInt(s.pointSize / 2.0));
      }
      if (minMax) {
        const int top = f.Row(pt.yMax), bottom = f.Row(pt.yMin);
        if (row >= top && row <= bottom) p.drawLine(col, top, col, bottom);
      }
    }
    sizeBefore += s.pointSize;
  }

  // Legend in the top right corner.
  int y = 4;
  p.setBrush(Qt::NoBrush);
  for (const tser& s : series) {
    if (!s.visible) continue;
    const QString name = Latin1(s.name);
    const int x = w - m - fm.horizontalAdvance(name) - 20;
    p.setPen(FromBgr(s.lineColor));
    p.setBrush(FromBgr(s.fillColor));
    Marker(p, s.shape, x + 6, y + fm.height() / 2, 4);
    p.setPen(Qt::black);
    p.drawText(x + 14, y + fm.ascent(), name);
    y += fm.height();
  }
}

bool TPlotBoxForm::ExportPng(const QString& path, int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  QPainter p(&image);
  PaintPlot(p, w, h);
  p.end();
  return image.save(path, "PNG");
}

bool TPlotBoxForm::ExportSvg(const QString& path, int w, int h) {
  QSvgGenerator gen;
  gen.setFileName(path);
  gen.setSize(QSize(w, h));
  gen.setViewBox(QRect(0, 0, w, h));
  gen.setTitle(windowTitle());
  QPainter p;
  if (!p.begin(&gen)) return false;
  PaintPlot(p, w, h);
  return p.end();
}

void TPlotBoxForm::ExportPng1Click() {
  const QString path = QFileDialog::getSaveFileName(this, "Export PNG", {}, "PNG image (*.png)");
  if (!path.isEmpty()) ExportPng(path, plotBox->width(), plotBox->height());
}

void TPlotBoxForm::ExportSvg1Click() {
  const QString path = QFileDialog::getSaveFileName(this, "Export SVG", {}, "SVG image (*.svg)");
  if (!path.isEmpty()) ExportSvg(path, plotBox->width(), plotBox->height());
}
