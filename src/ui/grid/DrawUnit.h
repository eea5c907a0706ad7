// SPDX-License-Identifier: GPL-3.0-or-later
// Sequence painter shared by the grid and the trace view: scheme colours, letter glyphs cached
// per zoom level, region bands and the overview of a sequence with its regions.
#pragma once
#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <array>
#include <cstdint>
#include <unordered_map>

#include "common/ColorScheme.h"
#include "model/tsequnit.h"

class QPainter;

// Slot -1 is the font colour (black).
QColor SchemeColor(const ColorScheme& scheme, int slot);

// Letter images for one font and one cell width. Painting a prepared image is several times
// faster than laying out text, which keeps a full viewport of letters well inside a frame.
class GlyphCache {
 public:
  // Keeps the glyphs while font and cell width are unchanged; a new zoom level starts afresh.
  void Prepare(const QFont& font, int cellWidth);
  // The letter in the given colour, its left edge already centred in the cell.
  const QImage& Glyph(char letter, QRgb color, bool bold);
  [[nodiscard]] int GlyphLeft(char letter, bool bold) const;        // offset inside the cell
  [[nodiscard]] int LetterHeight() const { return letterHeight_; }  // height of "dyyuAh"
  [[nodiscard]] int Size() const { return static_cast<int>(glyphs_.size()); }

 private:
  QFont font_;
  QFont boldFont_;
  int cellWidth_ = -1;
  int letterHeight_ = 0;
  std::unordered_map<std::uint64_t, QImage> glyphs_;
  std::array<int, 256> left_{};
  std::array<int, 256> boldLeft_{};
};

// Maps alignment columns (or letter positions) to pixels: x = originX + (column - firstColumn)
// * pixelsPerColumn.
struct ColumnMap {
  double originX = 0;
  double firstColumn = 1;
  double pixelsPerColumn = 1;
  [[nodiscard]] double X(double column) const {
    return originX + (column - firstColumn) * pixelsPerColumn;
  }
};

// Band of a region between two pixels, in the style of its kind: forward coding kinds with
// codon-start ticks and an arrow at the end, reverse ones with the arrow at the start, others
// plain; an open side where the region continues beyond the shown part.
struct BandGeometry {
  int left = 0, right = 0, top = 0, bottom = 0;
  bool openLeft = false, openRight = false;
};
void DrawRegionBand(QPainter& p, const TRegion& region, const BandGeometry& band,
                    const ColumnMap& map, int columnShift, const QColor& color);

// Overview of a sequence: its line (broken at gaps when columns are wide enough to tell) and
// its regions as bands, between clipLeft and clipRight. withShift: columns are alignment
// columns (letter + columnShift); else letter positions.
void DrawOverview(QPainter& p, const TSeq& seq, const ColumnMap& map, int top, int height,
                  int clipLeft, int clipRight, bool withShift, const std::array<bool, 28>& shown,
                  const ColorScheme& scheme);
// The overview's regions alone: bands centred on `mid`, each `height` pixels high (0: the
// height of its kind).
void DrawRegionStrip(QPainter& p, const TSeq& seq, const ColumnMap& map, int mid, int height,
                     int clipLeft, int clipRight, bool withShift, const std::array<bool, 28>& shown,
                     const ColorScheme& scheme);
// The zoomed-out grid: every alignment column of the row as a block in its letter's colour,
// gaps left as background; where columns are narrower than a pixel, OverviewLetter picks the
// letter of the pixel, so the columns that vary stay visible at any zoom.
void DrawLetterBlocks(QPainter& p, const TSeq& seq, const TSeq* reference, const ColumnMap& map,
                      int top, int height, int clipLeft, int clipRight, const ColorScheme& scheme);
