// SPDX-License-Identifier: GPL-3.0-or-later
// TSeqGrid3 painting: header with ruler, name and length cells, letters or outlines, regions,
// cursor and blocks. Only rows and columns inside the exposed rectangle are touched.
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "editor/GridPaintRules.h"
#include "ui/grid/QSeqGrid3.h"

namespace {
const QColor kFixedCellColor(240, 240, 240);
const QColor kGridLineColor(200, 200, 200);
const QColor kSelectedNameFill(0, 0, 128);
}  // namespace

void TSeqGrid3::PaintViewport(QPainter& p, const QRect& exposed) {
  const TDataSeq* ds = Dataset();
  const int width = viewport()->width();
  const int height = viewport()->height();
  const int seqLeft = SeqColLeft();
  p.fillRect(exposed, palette().color(QPalette::Window));
  PaintHeader(p, exposed, ds);
  if (ds == nullptr) return;

  const int top = TopRow();
  const int firstRow = std::max(top, RowAtY(std::max(exposed.top(), headerHeight), headerHeight,
                                            rowHeight, top, ds->Count()));
  const int lastShownRow = std::min(ds->Count(), top + (height - headerHeight) / rowHeight + 1);
  const LetterLayout layout = Layout();
  // Columns inside the exposed rectangle, within the dataset's window.
  const int firstCol = std::max(ds->firstVisibleCol, ColumnAtX(layout, exposed.left()) - 1);
  const int lastCol = std::min(ds->lastVisibleCol, ColumnAtX(layout, exposed.right()) + 1);
  const QColor background = SchemeColor(colorScheme, kBackgroundColor);
  const QRect seqArea(seqLeft, 0, std::max(0, width - seqLeft), height);
  const std::array<bool, 28> shown = ShownKinds(regionDisplay);

  for (int row = firstRow; row >= 1 && row <= lastShownRow; ++row) {
    const int y = RowTop(row, headerHeight, rowHeight, top);
    if (y > exposed.bottom()) break;
    const TSeq& s = *ds->SeqAt(row);
    if (exposed.left() < seqLeft) PaintNameCells(p, row, y, s, row == ds->currentRow);
    if (exposed.right() < seqLeft) continue;
    p.save();
    p.setClipRect(seqArea.intersected(QRect(seqLeft, y, width - seqLeft, rowHeight)));
    p.fillRect(QRect(seqLeft, y, width - seqLeft, rowHeight), background);
    if (outlineMode) {
      // Too small for letters: coloured blocks, with the regions as a strip under them.
      const ColumnMap map{static_cast<double>(layout.left + layout.letterMargin),
                          static_cast<double>(layout.firstVisibleCol), letterWidth};
      const int clipLeft = std::max(seqLeft, exposed.left());
      const int clipRight = std::min(width, exposed.right() + 1);
      const bool strip = s.showRegions && !s.regions.empty();
      const int blockHeight = std::max(1, rowHeight - (strip ? 7 : 3));
      DrawLetterBlocks(p, s, ds->SeqAt(1), map, y + 1, blockHeight, clipLeft, clipRight,
                       colorScheme);
      if (strip)
        DrawRegionStrip(p, s, map, y + rowHeight - 4, 3, clipLeft, clipRight, true, shown,
                        colorScheme);
    } else if (s.showTrace && s.HasTrace()) {
      PaintRowTrace(p, y, s, std::max(seqLeft, exposed.left()),
                    std::min(width, exposed.right() + 1));
    } else {
      PaintLetters(p, row, y, s, *ds, firstCol, lastCol);
      if (s.showRegions) PaintRegions(p, y, s, ds->lastVisibleCol);
    }
    PaintCursorAndBlock(p, row, y, s, *ds);
    p.restore();
    p.setPen(kGridLineColor);
    p.drawLine(0, y + rowHeight - 1, width, y + rowHeight - 1);
  }
  p.setPen(kGridLineColor);
  p.drawLine(nameColWidth - 1, 0, nameColWidth - 1, height);
  p.drawLine(seqLeft - 1, 0, seqLeft - 1, height);
}

void TSeqGrid3::PaintHeader(QPainter& p, const QRect& exposed, const TDataSeq* ds) {
  if (exposed.top() >= headerHeight) return;
  const int width = viewport()->width();
  const int seqLeft = SeqColLeft();
  p.fillRect(QRect(0, 0, width, headerHeight), kFixedCellColor);
  p.setPen(Qt::black);
  p.setFont(gridFont);
  const QFontMetrics fm(gridFont);
  const int textY = (headerHeight - fm.height()) / 2 + fm.ascent();
  p.drawText(textMargin, textY, QStringLiteral("Seq."));
  p.drawText(nameColWidth + textMargin, textY, QStringLiteral("Len."));
  p.setPen(kGridLineColor);
  p.drawLine(0, headerHeight - 1, width, headerHeight - 1);
  if (ds == nullptr || ds->lastVisibleCol < 1) return;

  // Ruler: numbers on the first line, codon positions of the current row on the second when
  // the columns are wide enough to read them.
  p.save();
  p.setClipRect(QRect(seqLeft, 0, width - seqLeft, headerHeight));
  const LetterLayout layout = Layout();
  p.setFont(labelFont);
  const QFontMetrics lm(labelFont);
  const bool codonLine = letterWidth >= 8;
  const int numberBase = codonLine ? lm.ascent() : (headerHeight - lm.height()) / 2 + lm.ascent();
  p.setPen(Qt::black);
  for (int c : RulerColumns(layout, ds->lastVisibleCol, lm.horizontalAdvance(QChar('0')))) {
    const int x = ColumnX(layout, c);
    p.drawLine(x, headerHeight - 4, x, headerHeight - 1);
    p.drawText(x, numberBase, QString::number(c));
  }
  if (codonLine) {
    if (const TSeq* cur = ds->SeqAt(ds->currentRow)) {
      const int base = headerHeight - 3;
      const int w = LetterCellWidth(letterWidth);
      for (int c = ds->firstVisibleCol; c <= ds->lastVisibleCol; ++c) {
        const int pos = c - cur->columnShift;
        if (pos < 1 || pos > cur->Length()) continue;
        const int cp = cur->CodonPosAt(pos);
        if (cp < 0) continue;
        const QString t = cp == 0 ? QStringLiteral("n") : QString::number(cp);
        p.drawText(ColumnX(layout, c) + (w - lm.horizontalAdvance(t)) / 2, base, t);
      }
    }
  }
  p.restore();
}

void TSeqGrid3::PaintNameCells(QPainter& p, int row, int top, const TSeq& s, bool current) {
  const QFontMetrics fm(gridFont);
  const int textY = top + (rowHeight - fm.height()) / 2 + fm.ascent();
  const QRect nameCell(0, top, nameColWidth, rowHeight);
  const QRect lenCell(nameColWidth, top, lenColWidth, rowHeight);
  p.fillRect(nameCell, s.selected ? kSelectedNameFill : kFixedCellColor);
  p.fillRect(lenCell, kFixedCellColor);
  p.setFont(gridFont);
  QColor nameColor(Qt::black);
  if (!s.enabled)
    nameColor = SchemeColor(colorScheme, kDisabledSeqColor);
  else if (s.selected)
    nameColor = SchemeColor(colorScheme, kSelectedSeqColor);
  p.setPen(nameColor);
  const QString name = fm.elidedText(QString::fromLatin1(s.seqName), Qt::ElideRight,
                                     std::max(0, nameColWidth - 2 * textMargin));
  p.drawText(textMargin, textY, name);
  if (current) p.fillRect(QRect(0, top + 2, 2, rowHeight - 4), Qt::black);
  p.setPen(Qt::black);
  p.drawText(nameColWidth + textMargin, textY, QString::number(s.Length()));
  (void)row;
}

void TSeqGrid3::PaintLetters(QPainter& p, int row, int top, const TSeq& s, const TDataSeq& ds,
                             int firstCol, int lastCol) {
  const int shift = s.columnShift;
  const int from = std::max(firstCol, shift + 1);
  const int to = std::min(lastCol, shift + s.Length());
  if (from > to) return;
  const LetterLayout layout = Layout();
  const int y = LetterTop(top);
  const TSeq* first = dottedView && row > 1 ? ds.SeqAt(1) : nullptr;
  QRgb colors[kColorSchemeSlots + 1];
  for (int i = 0; i < kColorSchemeSlots; ++i) colors[i] = SchemeColor(colorScheme, i).rgb();
  colors[kColorSchemeSlots] = QColor(Qt::black).rgb();
  for (int c = from; c <= to; ++c) {
    const char original = s.letters[static_cast<std::size_t>(c - shift - 1)];
    char letter = original;
    bool bold = false;
    if (first != nullptr) {
      const int fp = c - first->columnShift;
      const char fl = fp >= 1 && fp <= first->Length()
                          ? first->letters[static_cast<std::size_t>(fp - 1)]
                          : '\0';
      if (IsDottedLetter(row, letter, fl)) {
        letter = '.';
        bold = true;
      }
    }
    const int slot = LetterColorSlot(s.seqType, original, s.enabled);
    const QRgb color = colors[slot < 0 ? kColorSchemeSlots : slot];
    p.drawImage(ColumnX(layout, c) + glyphs.GlyphLeft(letter, bold), y,
                glyphs.Glyph(letter, color, bold));
  }
}

void TSeqGrid3::PaintRegions(QPainter& p, int top, const TSeq& s, int lastCol) {
  if (s.regions.empty() && s.siteMarks.empty()) return;
  const LetterLayout layout = Layout();
  const std::array<bool, 28> shown = ShownKinds(regionDisplay);
  const int letterTop = LetterTop(top);
  const int bandTop = std::max(top, letterTop - 1);
  const int bandBottom = std::min(top + rowHeight - 2, letterTop + glyphs.LetterHeight() + 2);
  const ColumnMap map{static_cast<double>(layout.left + layout.letterMargin),
                      static_cast<double>(layout.firstVisibleCol), letterWidth};
  const QFontMetrics lm(labelFont);
  const bool labels = rowHeight >= glyphs.LetterHeight() + lm.height() + 4;
  auto draw = [&](const TRegion& r, bool always) {
    if (!always && (r.regType >= shown.size() || !shown[r.regType])) return;
    const int lo = std::min(r.regStart, r.regEnd) + s.columnShift;
    const int hi = std::max(r.regStart, r.regEnd) + s.columnShift;
    if (hi < layout.firstVisibleCol || lo > lastCol) return;
    BandGeometry band;
    band.openLeft = lo < layout.firstVisibleCol;
    band.openRight = hi > lastCol;
    band.left = ColumnX(layout, std::max(lo, layout.firstVisibleCol));
    band.right = ColumnX(layout, std::min(hi, lastCol) + 1) - 1;
    band.top = bandTop;
    band.bottom = bandBottom;
    const QColor color = SchemeColor(colorScheme, RegionColorSlot(r.regType));
    DrawRegionBand(p, r, band, map, s.columnShift, color);
    if (labels) {
      const QString text = QString::fromLatin1(RegionLabel(r));
      const int x = band.left + RegionLabelIndent(r.regType);
      if (x + lm.horizontalAdvance(text) <= band.right) {
        p.setFont(labelFont);
        p.setPen(color);
        p.drawText(x, bandBottom + 1 + lm.ascent(), text);
      }
    }
  };
  for (const TRegion& r : s.regions) draw(r, false);
  for (const TRegion& r : s.siteMarks) draw(r, true);
}

void TSeqGrid3::PaintCursorAndBlock(QPainter& p, int row, int top, const TSeq& s,
                                    const TDataSeq& ds) {
  const LetterLayout layout = Layout();
  const int letterTop = LetterTop(top);
  const int cell = LetterCellWidth(letterWidth);
  // Left edge of a letter: its column, or, in a row showing its trace, half a cell before its
  // peak (past the last letter: half a cell after the last peak).
  const bool traced = s.showTrace && s.HasTrace() && !outlineMode;
  const double perCell = s.traceSamplesPerCell > 0 ? s.traceSamplesPerCell : 1;
  auto edgeX = [&](int pos) {
    if (!traced) return ColumnX(layout, pos + s.columnShift);
    const int n = static_cast<int>(s.peakPos.size());
    const int i = std::clamp(pos, 1, n);
    const double x =
        ColumnXReal(layout, s.columnShift + s.peakPos[static_cast<std::size_t>(i - 1)] / perCell);
    return static_cast<int>(pos > n ? x + cell / 2 : x - cell / 2);
  };
  const int windowLeft = ColumnX(layout, ds.firstVisibleCol);
  const int windowRight = ColumnX(layout, ds.lastVisibleCol + 1);
  if (row == ds.currentRow && cursorVisible && s.enabled) {
    const int x = edgeX(ds.cursorPos);
    if (x >= windowLeft && x <= windowRight) {
      const int y0 = std::max(top, letterTop - cursorOffset);
      const int y1 =
          std::min(top + rowHeight - 1, letterTop + glyphs.LetterHeight() + 2 * cursorOffset);
      p.fillRect(QRect(x - cursorPenWidth / 2, y0, cursorPenWidth, y1 - y0 + 1),
                 SchemeColor(colorScheme, kCursorColor));
    }
  }
  if (s.selLength > 0 && s.selStart > 0) {
    const int left = std::max(edgeX(s.selStart), windowLeft);
    const int right = std::min(edgeX(s.selStart + s.selLength - 1) + cell, windowRight);
    if (left < right) {
      QColor c = SchemeColor(colorScheme, kSelectedBlockColor);
      const QRect r(left, top + 1, right - left, rowHeight - 3);
      p.setPen(c);
      p.setBrush(Qt::NoBrush);
      p.drawRect(r.adjusted(0, 0, -1, -1));
      c.setAlpha(60);
      p.fillRect(r, c);
    }
  }
}

void TSeqGrid3::PaintRowTrace(QPainter& p, int top, const TSeq& s, int clipLeft, int clipRight) {
  // Sample k sits at column columnShift + k / traceSamplesPerCell, the placement the peak
  // hit-test uses, so a click lands on the letter drawn under it.
  const LetterLayout layout = Layout();
  const double perCell = s.traceSamplesPerCell > 0 ? s.traceSamplesPerCell : 1;
  const double pixelsPerSample = letterWidth / perCell;
  auto sampleX = [&](double k) { return ColumnXReal(layout, s.columnShift + k / perCell); };
  const double x0 = sampleX(0);
  const double firstK = std::max(0.0, std::floor((clipLeft - x0) / pixelsPerSample) - 1);
  const double lastK = std::ceil((clipRight - x0) / pixelsPerSample) + 1;
  const int letterTop = LetterTop(top);
  const int bottom = top + rowHeight - 2;
  const int traceTop = top + 1;
  double peakMax = 1;
  for (const auto* ch : {&s.traceA, &s.traceT, &s.traceG, &s.traceC})
    for (std::uint16_t v : *ch) peakMax = std::max<double>(peakMax, v);
  const double yScale = (bottom - traceTop) / peakMax;
  const std::vector<std::uint16_t>* channels[4] = {&s.traceA.get(), &s.traceT.get(),
                                                   &s.traceG.get(), &s.traceC.get()};
  const int channelSlots[4] = {kLetterAColor, kLetterTColor, kLetterGColor, kLetterCColor};
  // With more samples than pixels, one point per pixel column (the largest) keeps the line
  // honest and the polyline short.
  const double stride = std::max(1.0, 1.0 / pixelsPerSample);
  for (int k = 0; k < 4; ++k) {
    const auto& ch = *channels[k];
    const double last = std::min(lastK, static_cast<double>(ch.size()) - 1);
    if (last < firstK) continue;
    QPolygonF line;
    for (double i = firstK; i <= last; i += stride) {
      std::uint16_t v = 0;
      const auto from = static_cast<std::size_t>(i);
      const auto to = std::min(ch.size(), static_cast<std::size_t>(i + stride));
      for (std::size_t j = from; j < std::max(to, from + 1); ++j) v = std::max(v, ch[j]);
      line << QPointF(sampleX(static_cast<double>(from)), bottom - yScale * v);
    }
    QColor c = SchemeColor(colorScheme, channelSlots[k]);
    c.setAlpha(140);
    p.setPen(QPen(c, 1));
    p.drawPolyline(line);
  }
  if (pixelsPerSample * perCell < averageCharWidth) return;
  const QFontMetrics fm(gridFont);
  p.setFont(gridFont);
  for (std::size_t i = 0; i < s.peakPos.size() && i < s.letters.size(); ++i) {
    const double x = sampleX(s.peakPos[i]);
    if (x < clipLeft - 20 || x > clipRight + 20) continue;
    const char letter = s.letters[i];
    p.drawImage(
        static_cast<int>(x) - LetterCellWidth(letterWidth) / 2 + glyphs.GlyphLeft(letter, false),
        letterTop,
        glyphs.Glyph(letter,
                     SchemeColor(colorScheme, LetterColorSlot(s.seqType, letter, s.enabled)).rgb(),
                     false));
  }
}
