// SPDX-License-Identifier: GPL-3.0-or-later
// TChromBox: chromatogram or overview of the grid's current sequence.
#include "ui/grid/QChromBox.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>

#include "ui/grid/DrawUnit.h"
#include "ui/grid/QSeqGrid3.h"

TChromBox::TChromBox(TSeqGrid3* g, QWidget* parent) : QWidget(parent), grid(g) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumHeight(60);
  if (grid) {
    connect(grid, &TSeqGrid3::cursorMoved, this, qOverload<>(&QWidget::update));
    connect(grid, &TSeqGrid3::contentChanged, this, qOverload<>(&QWidget::update));
  }
}

void TChromBox::SetXScalePosition(int position) {
  window.scale = 5.0 / std::clamp(position, 1, 50);
  update();
}

void TChromBox::SetYScalePosition(int position) {
  window.yScale = std::clamp(position, 1, 20) / 200.0;
  update();
}

const TSeq* TChromBox::CurrentSeq() const {
  if (!grid) return nullptr;
  const TDataSeq* ds = grid->Dataset();
  return ds != nullptr ? ds->SeqAt(ds->currentRow) : nullptr;
}

bool TChromBox::ShowsTrace() const {
  const TSeq* s = CurrentSeq();
  return s != nullptr && s->showTrace && s->HasTrace();
}

void TChromBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  PaintBox(p);
}

void TChromBox::PaintBox(QPainter& p) {
  p.fillRect(rect(), Qt::white);
  const TSeq* s = CurrentSeq();
  if (s == nullptr) return;
  const TDataSeq& ds = *grid->Dataset();
  if (ShowsTrace())
    PaintTrace(p, *s, ds);
  else
    PaintOverview(p, *s, ds);
}

void TChromBox::PaintTrace(QPainter& p, const TSeq& s, const TDataSeq& ds) {
  const ColorScheme& scheme = grid->colorScheme;
  const int w = width(), h = height();
  const std::vector<std::int32_t>& peaks = s.peakPos;
  const int cursorIndex = std::clamp(ds.cursorPos, 1, static_cast<int>(peaks.size())) - 1;
  window.firstSample = FirstSampleForPeak(peaks[static_cast<std::size_t>(cursorIndex)],
                                          window.firstSample, w, window.scale);

  QFont small = grid->GridFont();
  small.setPixelSize(std::max(6, small.pixelSize() - 4));
  const QFontMetrics sm(small), fm(grid->GridFont());
  const int numberBase = window.margin + sm.ascent();
  const int letterBase = window.margin + sm.height() + fm.ascent();
  const int markerTop = window.margin + sm.height() + fm.height();
  const int traceTop = markerTop + 6;
  const int bottom = h - window.margin;

  // Letters shown: peaks inside the box.
  int firstLetter = 0, lastLetter = -1;
  for (int i = 0; i < static_cast<int>(peaks.size()); ++i) {
    const double x = SampleX(window, peaks[static_cast<std::size_t>(i)]);
    if (x < -20 || x > w + 20) continue;
    if (lastLetter < 0) firstLetter = i;
    lastLetter = i;
  }

  // Qualities behind the channels, as faint bars a letter cell wide.
  if (!s.quality.empty() && lastLetter >= firstLetter) {
    const QColor qc(210, 225, 245);
    for (int i = firstLetter; i <= lastLetter && i < static_cast<int>(s.quality.size()); ++i) {
      const double x = SampleX(window, peaks[static_cast<std::size_t>(i)]);
      const double half = std::max(1.0, 4 * window.scale);
      const int q = std::min<int>(s.quality[static_cast<std::size_t>(i)], 100);
      const int top = bottom - (bottom - traceTop) * q / 100;
      p.fillRect(QRectF(x - half, top, 2 * half, bottom - top), qc);
    }
  }

  // The current block as a frame over the peaks of its letters.
  if (s.selLength > 0 && s.selStart >= 1 && s.selStart <= static_cast<int>(peaks.size())) {
    const int last = std::min(s.selStart + s.selLength - 1, static_cast<int>(peaks.size()));
    const double x0 = SampleX(window, peaks[static_cast<std::size_t>(s.selStart - 1)]) - 4;
    const double x1 = SampleX(window, peaks[static_cast<std::size_t>(last - 1)]) + 4;
    p.setPen(QPen(SchemeColor(scheme, kSelectedBlockColor), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(x0, markerTop, x1 - x0, bottom - markerTop));
  }

  // Channels: only the samples inside the box become polyline points.
  const std::vector<std::uint16_t>* channels[4] = {&s.traceA.get(), &s.traceT.get(),
                                                   &s.traceG.get(), &s.traceC.get()};
  const int channelSlots[4] = {kLetterAColor, kLetterTColor, kLetterGColor, kLetterCColor};
  p.setRenderHint(QPainter::Antialiasing, true);
  for (int k = 0; k < 4; ++k) {
    const auto& ch = *channels[k];
    const SampleRange range = VisibleSamples(window, w, static_cast<int>(ch.size()));
    if (range.last < range.first) continue;
    QPolygonF line;
    line.reserve(range.last - range.first + 1);
    for (int i = range.first; i <= range.last; ++i)
      line << QPointF(SampleX(window, i),
                      SignalY(ch[static_cast<std::size_t>(i)], window.yScale, traceTop, bottom));
    p.setPen(QPen(SchemeColor(scheme, channelSlots[k]), 1));
    p.drawPolyline(line);
  }
  p.setRenderHint(QPainter::Antialiasing, false);

  // Letters at their peaks, numbers at every tenth, marker under the cursor letter.
  for (int i = firstLetter; i <= lastLetter; ++i) {
    const int x = static_cast<int>(SampleX(window, peaks[static_cast<std::size_t>(i)]));
    const char letter = i < s.Length() ? s.letters[static_cast<std::size_t>(i)] : ' ';
    const QString t(QChar::fromLatin1(letter));
    p.setFont(grid->GridFont());
    p.setPen(SchemeColor(scheme, LetterColorSlot(s.seqType, letter, s.enabled)));
    p.drawText(x - fm.horizontalAdvance(t) / 2, letterBase, t);
    if ((i + 1) % 10 == 0) {
      const QString n = QString::number(i + 1);
      p.setFont(small);
      p.setPen(Qt::black);
      p.drawText(x - sm.horizontalAdvance(n) / 2, numberBase, n);
    }
    if (i == ds.cursorPos - 1) {
      p.setPen(Qt::NoPen);
      p.setBrush(SchemeColor(scheme, kCursorColor));
      p.drawPolygon(QPolygon(
          {QPoint(x, markerTop), QPoint(x - 4, markerTop + 5), QPoint(x + 4, markerTop + 5)}));
      p.setBrush(Qt::NoBrush);
    }
  }
}

void TChromBox::PaintOverview(QPainter& p, const TSeq& s, const TDataSeq& ds) {
  const int len = s.Length();
  if (len == 0) return;
  const int w = width(), h = height();
  const double usable = std::max(1, w - 2 * window.margin);
  const ColumnMap map{static_cast<double>(window.margin), 1.0, usable / len};
  const int top = window.margin + 14;
  DrawOverview(p, s, map, top, h - top - window.margin, window.margin, w - window.margin, false,
               ShownKinds(regionDisplay), grid->colorScheme);
  QFont small = grid->GridFont();
  small.setPixelSize(std::max(6, small.pixelSize() - 4));
  p.setFont(small);
  p.setPen(Qt::black);
  p.drawText(window.margin, window.margin + QFontMetrics(small).ascent(),
             QString::fromLatin1(s.seqName) + QStringLiteral("  (") + QString::number(len) +
                 QStringLiteral(")"));
  const int x = static_cast<int>(map.X(std::clamp(ds.cursorPos, 1, len)));
  p.fillRect(QRect(x - 1, top, 2, h - top - window.margin),
             SchemeColor(grid->colorScheme, kCursorColor));
}

void TChromBox::mousePressEvent(QMouseEvent* event) {
  const TSeq* s = CurrentSeq();
  if (s == nullptr || event->button() != Qt::LeftButton) return;
  TDataSeq& ds = *grid->Dataset();
  const int x = event->position().toPoint().x();
  const int pos =
      ShowsTrace() ? LetterAtTraceX(x, window, s->peakPos)
                   : LetterAtOverviewX(x - window.margin, width() - 2 * window.margin, s->Length());
  if (pos < 1) return;
  ds.SetCursor(pos, ds.currentRow);
  grid->Refresh(false);
  emit letterClicked(pos);
  update();
}
