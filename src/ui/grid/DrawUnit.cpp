// SPDX-License-Identifier: GPL-3.0-or-later
// Sequence painter: glyph cache, region bands, overviews.
#include "ui/grid/DrawUnit.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

#include "editor/GridPaintRules.h"

QColor SchemeColor(const ColorScheme& scheme, int slot) {
  if (slot < 0 || slot >= kColorSchemeSlots) return QColor(Qt::black);
  const std::int32_t c = scheme[static_cast<std::size_t>(slot)];
  return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

void GlyphCache::Prepare(const QFont& font, int cellWidth) {
  if (cellWidth == cellWidth_ && font == font_) return;
  font_ = font;
  boldFont_ = font;
  boldFont_.setBold(true);
  cellWidth_ = cellWidth;
  glyphs_.clear();
  const QFontMetrics fm(font_);
  const QFontMetrics bm(boldFont_);
  letterHeight_ = fm.height();
  for (int c = 0; c < 256; ++c) {
    const QChar ch = QChar::fromLatin1(static_cast<char>(c));
    left_[static_cast<std::size_t>(c)] = (cellWidth_ - fm.horizontalAdvance(ch)) / 2;
    boldLeft_[static_cast<std::size_t>(c)] = (cellWidth_ - bm.horizontalAdvance(ch)) / 2;
  }
}

int GlyphCache::GlyphLeft(char letter, bool bold) const {
  const auto i = static_cast<unsigned char>(letter);
  return bold ? boldLeft_[i] : left_[i];
}

const QImage& GlyphCache::Glyph(char letter, QRgb color, bool bold) {
  const std::uint64_t key = (static_cast<std::uint64_t>(static_cast<unsigned char>(letter)) << 32) |
                            (static_cast<std::uint64_t>(bold) << 31) | (color & 0xFFFFFFu);
  auto it = glyphs_.find(key);
  if (it != glyphs_.end()) return it->second;
  const QFont& f = bold ? boldFont_ : font_;
  const QFontMetrics fm(f);
  const QString text(QChar::fromLatin1(letter));
  QImage img(std::max(1, fm.horizontalAdvance(text)), std::max(1, fm.height()),
             QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  {
    QPainter p(&img);
    p.setFont(f);
    p.setPen(QColor::fromRgb(color));
    p.drawText(0, fm.ascent(), text);
  }
  return glyphs_.emplace(key, std::move(img)).first->second;
}

namespace {
int CodonStartStep(int codonPos) {
  // Letters from the region start to the next codon start.
  return codonPos >= 1 && codonPos <= 3 ? (4 - codonPos) % 3 : -1;
}
}  // namespace

void DrawRegionBand(QPainter& p, const TRegion& region, const BandGeometry& band,
                    const ColumnMap& map, int columnShift, const QColor& color) {
  if (band.right <= band.left) return;
  p.save();
  p.setPen(QPen(color, 1));
  p.setBrush(Qt::NoBrush);
  const int l = band.left, r = band.right, t = band.top, b = band.bottom;
  p.drawLine(l, t, r, t);
  p.drawLine(l, b, r, b);
  if (!band.openLeft) p.drawLine(l, t, l, b);
  if (!band.openRight) p.drawLine(r, t, r, b);
  const bool coding = IsCodingKind(region.regType);
  const bool reverse = region.regReverse || region.regStart > region.regEnd;
  if (coding) {
    // Ticks at the first letter of each codon, so the reading frame can be read off the band.
    const int lo = std::min(region.regStart, region.regEnd);
    const int hi = std::max(region.regStart, region.regEnd);
    const int step0 = CodonStartStep(region.codonPos);
    if (step0 >= 0 && map.pixelsPerColumn >= 3) {
      const int tickH = std::max(2, (b - t) / 4);
      const double ppc = map.pixelsPerColumn;
      const int vlo = std::max(
          lo, static_cast<int>((l - map.originX) / ppc + map.firstColumn) - columnShift - 1);
      const int vhi = std::min(
          hi, static_cast<int>((r - map.originX) / ppc + map.firstColumn) - columnShift + 1);
      // A reverse codon starts at its right-hand letter.
      const int anchor = reverse ? hi - step0 : lo + step0;
      for (int pos = vlo; pos <= vhi; ++pos) {
        if (((pos - anchor) % 3 + 3) % 3 != 0) continue;
        const int x = static_cast<int>(map.X(pos + columnShift + (reverse ? 1 : 0)));
        if (x >= l && x <= r) p.drawLine(x, b - tickH, x, b);
      }
    }
    // Arrow head at the end the strand reads towards.
    const int mid = (t + b) / 2;
    const int ah = std::max(3, (b - t) / 2);
    if (!reverse && !band.openRight)
      p.drawPolyline(QPolygon({QPoint(r - ah, t - 1), QPoint(r + 2, mid), QPoint(r - ah, b + 1)}));
    if (reverse && !band.openLeft)
      p.drawPolyline(QPolygon({QPoint(l + ah, t - 1), QPoint(l - 2, mid), QPoint(l + ah, b + 1)}));
  }
  // Continuation marks: a short dashed stub beyond the open side.
  p.setPen(QPen(color, 1, Qt::DotLine));
  if (band.openLeft) p.drawLine(l, (t + b) / 2, l + 4, (t + b) / 2);
  if (band.openRight) p.drawLine(r - 4, (t + b) / 2, r, (t + b) / 2);
  p.restore();
}

void DrawOverview(QPainter& p, const TSeq& seq, const ColumnMap& map, int top, int height,
                  int clipLeft, int clipRight, bool withShift, const std::array<bool, 28>& shown,
                  const ColorScheme& scheme) {
  const int len = seq.Length();
  if (len == 0 || clipRight <= clipLeft) return;
  const int shift = withShift ? seq.columnShift : 0;
  const int mid = top + height / 2;
  const QColor lineColor =
      seq.enabled ? SchemeColor(scheme, kSeqLineColor) : SchemeColor(scheme, kDisabledSeqColor);
  auto clampX = [&](double x) {
    return static_cast<int>(
        std::clamp(x, static_cast<double>(clipLeft), static_cast<double>(clipRight)));
  };
  // Letters outside the clip need no look; gap runs are worth showing only when a column is at
  // least a pixel wide.
  const double ppc = map.pixelsPerColumn > 0 ? map.pixelsPerColumn : 1e-15;
  int firstPos = static_cast<int>(
      std::max(1.0, std::floor((clipLeft - map.originX) / ppc + map.firstColumn) - shift - 1));
  const double lastD = std::ceil((clipRight - map.originX) / ppc + map.firstColumn) - shift + 1;
  const int lastPos = static_cast<int>(std::min<double>(lastD, len));
  p.setPen(QPen(lineColor, 1));
  if (firstPos <= lastPos) {
    if (ppc >= 1.0) {
      int runStart = -1;
      for (int pos = firstPos; pos <= lastPos + 1; ++pos) {
        const bool letter = pos <= lastPos && seq.letters[static_cast<std::size_t>(pos - 1)] != '-';
        if (letter && runStart < 0) runStart = pos;
        if (!letter && runStart >= 0) {
          p.drawLine(clampX(map.X(runStart + shift)), mid, clampX(map.X(pos + shift)) - 1, mid);
          runStart = -1;
        }
      }
    } else {
      p.drawLine(clampX(map.X(firstPos + shift)), mid, clampX(map.X(lastPos + shift + 1)), mid);
    }
  }
  DrawRegionStrip(p, seq, map, mid, 0, clipLeft, clipRight, withShift, shown, scheme);
}

void DrawRegionStrip(QPainter& p, const TSeq& seq, const ColumnMap& map, int mid, int height,
                     int clipLeft, int clipRight, bool withShift, const std::array<bool, 28>& shown,
                     const ColorScheme& scheme) {
  const int shift = withShift ? seq.columnShift : 0;
  auto clampX = [&](double x) {
    return static_cast<int>(
        std::clamp(x, static_cast<double>(clipLeft), static_cast<double>(clipRight)));
  };
  for (const TRegion& r : seq.regions) {
    if (r.regType >= shown.size() || !shown[r.regType]) continue;
    const int lo = std::min(r.regStart, r.regEnd), hi = std::max(r.regStart, r.regEnd);
    const double x0 = map.X(lo + shift), x1 = map.X(hi + shift + 1);
    if (x1 < clipLeft || x0 > clipRight) continue;
    const int h = height > 0 ? height : std::max(2, RegionBandHeight(r.regType, scheme));
    const QColor c = SchemeColor(scheme, RegionColorSlot(r.regType));
    const int left = clampX(x0), right = std::max(clampX(x1), left + 1);
    p.fillRect(QRect(left, mid - h / 2, right - left, h), c);
  }
}

void DrawLetterBlocks(QPainter& p, const TSeq& seq, const TSeq* reference, const ColumnMap& map,
                      int top, int height, int clipLeft, int clipRight, const ColorScheme& scheme) {
  const int width = clipRight - clipLeft;
  if (width <= 0 || height <= 0 || seq.Length() == 0) return;
  const double ppc = map.pixelsPerColumn > 0 ? map.pixelsPerColumn : 1e-15;
  // One pixel row, stretched to the row's height: a single image per row however many
  // columns share a pixel.
  QImage line(width, 1, QImage::Format_ARGB32_Premultiplied);
  line.fill(Qt::transparent);
  auto* pixels = reinterpret_cast<QRgb*>(line.scanLine(0));
  QRgb colors[kColorSchemeSlots + 1];
  for (int i = 0; i < kColorSchemeSlots; ++i) colors[i] = SchemeColor(scheme, i).rgb();
  colors[kColorSchemeSlots] = QColor(Qt::black).rgb();
  // Columns outside the row are cut off before they become integers: at the smallest zoom a
  // pixel can stand for more columns than an int holds.
  const double rowEnd = seq.columnShift + seq.Length() + 1.0;
  for (int x = 0; x < width; ++x) {
    double left = (clipLeft + x - map.originX) / ppc + map.firstColumn;
    double right = (clipLeft + x + 1 - map.originX) / ppc + map.firstColumn;
    if (!(right > 1) || !(left < rowEnd)) continue;
    left = std::max(left, 1.0);
    right = std::min(right, rowEnd);
    const int first = static_cast<int>(std::floor(left));
    const int last = std::max(first, static_cast<int>(std::ceil(right)) - 1);
    const char letter = OverviewLetter(seq, reference, first, last);
    if (letter == 0 || letter == '-') continue;
    const int slot = LetterColorSlot(seq.seqType, letter, seq.enabled);
    pixels[x] = colors[slot < 0 ? kColorSchemeSlots : slot];
  }
  p.drawImage(QRect(clipLeft, top, width, height), line);
}
