// SPDX-License-Identifier: GPL-3.0-or-later
// The sequence grid as a user meets it: clicks, drags and keys change the model; the picture
// shows letter colours, the cursor line, blocks, regions and outlines.
#include <gtest/gtest.h>

#include <QPaintEvent>
#include <QTest>

#include "model/DatasetBuilders.h"
#include "support/RecordingServices.h"
#include "ui/grid/QSeqGrid3.h"

namespace {
struct GridFixture {
  RecordingServices svc;
  TSeqGrid3 grid{svc};
  GridFixture() {
    grid.SetBlinking(false);
    grid.resize(640, 260);
    grid.Project().NewDataset();
    TDataSeq& ds = *grid.Dataset();
    AddRow(ds, "first", "ACGTACGTACGTACGTACGT");
    AddRow(ds, "second", "TTGGCCAATTGGCC", 2);
    AddRow(ds, "third", "AAAAACCCCCGGGGGTTTTT");
    ds.SetCursor(1, 1);
    grid.Refresh(false);
    grid.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&grid));
  }
  TDataSeq& Ds() { return *grid.Dataset(); }
  TSeq& Row(int r) { return *Ds().SeqAt(r); }
  QWidget* Port() { return grid.viewport(); }
  // A point inside the cell of an alignment column, a little right of its left edge.
  QPoint InCell(int row, int column, int dx = 2) {
    const QRect r = grid.CellRect(row, column);
    return QPoint(r.left() + dx, r.center().y());
  }
  QImage Picture() { return grid.viewport()->grab().toImage(); }
};

QColor Rgb(std::int32_t c) {
  return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

// The most saturated-or-dark pixel inside a rectangle: the ink of a glyph.
QColor InkIn(const QImage& img, const QRect& r, const QColor& background) {
  QColor best = background;
  int bestDistance = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) {
      const QColor c = img.pixelColor(x, y);
      const int d = std::abs(c.red() - background.red()) +
                    std::abs(c.green() - background.green()) +
                    std::abs(c.blue() - background.blue());
      if (d > bestDistance) {
        bestDistance = d;
        best = c;
      }
    }
  return best;
}
}  // namespace

TEST(SeqGrid3Mouse, ClickPutsTheCursorOnTheLetterUnderTheMouse) {
  GridFixture f;
  QTest::mouseClick(f.Port(), Qt::LeftButton, {}, f.InCell(3, 7));
  EXPECT_EQ(f.Ds().currentRow, 3);
  EXPECT_EQ(f.Ds().cursorPos, 7);
  // The second row starts two columns later: column 7 holds its letter 5.
  QTest::mouseClick(f.Port(), Qt::LeftButton, {}, f.InCell(2, 7));
  EXPECT_EQ(f.Ds().currentRow, 2);
  EXPECT_EQ(f.Ds().cursorPos, 5);
  // Past the end of the row: length + 1.
  QTest::mouseClick(f.Port(), Qt::LeftButton, {}, f.InCell(2, 19));
  EXPECT_EQ(f.Ds().cursorPos, 15);
}

TEST(SeqGrid3Mouse, ShiftClickTogglesTheRowSelection) {
  GridFixture f;
  QTest::mouseClick(f.Port(), Qt::LeftButton, Qt::ShiftModifier, f.InCell(2, 5));
  EXPECT_TRUE(f.Row(2).selected);
  QTest::mouseClick(f.Port(), Qt::LeftButton, Qt::ShiftModifier, QPoint(5, f.InCell(2, 5).y()));
  EXPECT_FALSE(f.Row(2).selected);
}

TEST(SeqGrid3Mouse, DragSelectsABlockOnEveryRowPassed) {
  GridFixture f;
  QTest::mousePress(f.Port(), Qt::LeftButton, {}, f.InCell(1, 5));
  QTest::mouseMove(f.Port(), f.InCell(3, 8));
  QTest::mouseRelease(f.Port(), Qt::LeftButton, {}, f.InCell(3, 8));
  // Boundaries 5 and 8: columns 5..7 on rows 1..3.
  EXPECT_EQ(f.Row(1).selStart, 5);
  EXPECT_EQ(f.Row(1).selLength, 3);
  EXPECT_EQ(f.Row(2).selStart, 3);  // shift 2
  EXPECT_EQ(f.Row(2).selLength, 3);
  EXPECT_EQ(f.Row(3).selStart, 5);
  // A plain click clears every block.
  QTest::mouseClick(f.Port(), Qt::LeftButton, {}, f.InCell(1, 2));
  EXPECT_EQ(f.Ds().BlockCount(), 0);
}

TEST(SeqGrid3Mouse, DraggingANameMovesTheRow) {
  GridFixture f;
  QTest::mousePress(f.Port(), Qt::LeftButton, {}, QPoint(10, f.InCell(1, 1).y()));
  QTest::mouseRelease(f.Port(), Qt::LeftButton, {}, QPoint(10, f.InCell(3, 1).y()));
  EXPECT_EQ(RowNames(f.Ds()), (std::vector<std::string>{"second", "third", "first"}));
  EXPECT_TRUE(f.grid.modified);
}

TEST(SeqGrid3Keys, TypingOverwritesInsertsAndDeletes) {
  GridFixture f;
  QTest::mouseClick(f.Port(), Qt::LeftButton, {}, f.InCell(1, 3));
  QTest::keyClicks(&f.grid, "t");
  EXPECT_EQ(f.Row(1).letters.substr(0, 5), "ACtTA");
  EXPECT_EQ(f.Ds().cursorPos, 3);
  QTest::keyClick(&f.grid, Qt::Key_Insert);
  QTest::keyClicks(&f.grid, "gg");
  EXPECT_EQ(f.Row(1).letters.substr(0, 7), "ACggtTA");
  EXPECT_EQ(f.Ds().cursorPos, 5);
  QTest::keyClick(&f.grid, Qt::Key_Backspace);
  EXPECT_EQ(f.Row(1).letters.substr(0, 6), "ACgtTA");
  QTest::keyClick(&f.grid, Qt::Key_Delete);
  EXPECT_EQ(f.Row(1).letters.substr(0, 5), "ACgTA");
  QTest::keyClick(&f.grid, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(f.Row(1).letters.substr(0, 6), "ACgtTA");
  EXPECT_TRUE(f.grid.modified);
}

TEST(SeqGrid3Keys, LockedGridIgnoresTyping) {
  GridFixture f;
  f.grid.SetLocked(true);
  QTest::mouseClick(f.Port(), Qt::LeftButton, {}, f.InCell(1, 3));
  QTest::keyClicks(&f.grid, "tt");
  QTest::keyClick(&f.grid, Qt::Key_Delete);
  EXPECT_EQ(f.Row(1).letters, "ACGTACGTACGTACGTACGT");
  EXPECT_FALSE(f.grid.modified);
}

TEST(SeqGrid3Keys, ShiftKeysMoveTheCurrentRowAndArrowsExtendBlocks) {
  GridFixture f;
  QTest::mouseClick(f.Port(), Qt::LeftButton, {}, f.InCell(3, 4));
  QTest::keyClick(&f.grid, Qt::Key_Greater, Qt::ShiftModifier);
  EXPECT_EQ(RowShifts(f.Ds()), (std::vector<int>{0, 2, 1}));
  QTest::keyClick(&f.grid, Qt::Key_Less, Qt::ShiftModifier);
  QTest::keyClick(&f.grid, Qt::Key_Less, Qt::ShiftModifier);
  EXPECT_EQ(RowShifts(f.Ds()), (std::vector<int>{1, 3, 0}));
  QTest::keyClick(&f.grid, Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(&f.grid, Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(f.Row(3).selStart, 4);
  EXPECT_EQ(f.Row(3).selLength, 2);
  QTest::keyClick(&f.grid, Qt::Key_Down);  // from the last row: stays
  EXPECT_EQ(f.Ds().currentRow, 3);
  QTest::keyClick(&f.grid, Qt::Key_Up);
  EXPECT_EQ(f.Ds().currentRow, 2);
}

TEST(SeqGrid3Keys, ZoomKeysStepWithinTheLimits) {
  GridFixture f;
  QTest::keyClick(&f.grid, Qt::Key_Equal, Qt::ControlModifier);
  EXPECT_DOUBLE_EQ(f.grid.letterWidth, 18.0);
  QTest::keyClick(&f.grid, Qt::Key_Equal, Qt::ControlModifier);
  EXPECT_DOUBLE_EQ(f.grid.letterWidth, 20.0);
  QTest::keyClick(&f.grid, Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_NEAR(f.grid.letterWidth, 20.0 / 1.5, 1e-12);
  QTest::keyClick(&f.grid, Qt::Key_Minus, Qt::ControlModifier | Qt::ShiftModifier);
  // Fit: (sequence column width - 10) / 20 columns, above the maximum here.
  EXPECT_DOUBLE_EQ(f.grid.letterWidth, 20.0);
}

TEST(SeqGrid3Zoom, FitOnAnEmptyProjectAndTheSmallestZoomAreSafe) {
  RecordingServices svc;
  TSeqGrid3 grid(svc);
  grid.resize(400, 200);
  grid.ZoomFit();  // no dataset: nothing to divide by
  EXPECT_DOUBLE_EQ(grid.letterWidth, 12.0);
  grid.Project().NewDataset();
  grid.ZoomFit();  // an empty dataset: alignment length 0
  EXPECT_DOUBLE_EQ(grid.letterWidth, 12.0);
  AddRow(*grid.Dataset(), "s", std::string(5000, 'A'));
  grid.letterWidth = 1e-15;
  grid.Refresh(false);
  EXPECT_EQ(grid.Dataset()->firstVisibleCol, 1);
  EXPECT_EQ(grid.Dataset()->lastVisibleCol, 5000);
  const QImage img = grid.viewport()->grab().toImage();  // paints without overflow
  EXPECT_FALSE(img.isNull());
}

TEST(SeqGrid3Picture, LettersTakeTheirSchemeColours) {
  GridFixture f;
  f.grid.colorScheme[kLetterAColor] = RgbColor(0, 160, 0);
  f.grid.colorScheme[kLetterCColor] = RgbColor(0, 0, 230);
  f.grid.colorScheme[kBackgroundColor] = RgbColor(255, 255, 200);
  f.grid.Refresh(false);
  const QImage img = f.Picture();
  const QColor bg = Rgb(f.grid.colorScheme[kBackgroundColor]);
  // Row 3, column 3 holds an A; column 8 a C; nothing there has a cursor or block.
  const QColor a = InkIn(img, f.grid.CellRect(3, 3).adjusted(0, 2, 0, -3), bg);
  EXPECT_GT(a.green(), a.red() + 80);
  EXPECT_GT(a.green(), a.blue() + 80);
  const QColor c = InkIn(img, f.grid.CellRect(3, 8).adjusted(0, 2, 0, -3), bg);
  EXPECT_GT(c.blue(), c.red() + 80);
  EXPECT_GT(c.blue(), c.green() + 80);
  // Empty column before the shifted row's first letter: background only.
  const QRect empty = f.grid.CellRect(2, 1);
  EXPECT_EQ(img.pixelColor(empty.center()), bg);
}

TEST(SeqGrid3Picture, CursorLineAtTheLeftEdgeOfItsColumn) {
  GridFixture f;
  f.grid.colorScheme[kCursorColor] = RgbColor(255, 0, 255);
  f.Ds().SetCursor(6, 3);
  f.grid.Refresh(false);
  QImage img = f.Picture();
  const QRect cell = f.grid.CellRect(3, 6);
  const QColor magenta(255, 0, 255);
  EXPECT_EQ(img.pixelColor(cell.left() - 1, cell.center().y()), magenta);
  EXPECT_EQ(img.pixelColor(cell.left(), cell.center().y()), magenta);
  EXPECT_NE(img.pixelColor(cell.left() + 3, cell.center().y()), magenta);
  // A blink hides it.
  f.grid.BlinkCursor();
  img = f.Picture();
  EXPECT_NE(img.pixelColor(cell.left(), cell.center().y()), magenta);
}

namespace {
class PaintSpy : public QObject {
 public:
  QRegion painted;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(e)->region();
    return false;
  }
};
}  // namespace

TEST(SeqGrid3Picture, BlinkRepaintsOnlyTheCursorCell) {
  GridFixture f;
  QApplication::processEvents();
  PaintSpy spy;
  f.Port()->installEventFilter(&spy);
  f.grid.BlinkCursor();
  QApplication::processEvents();
  f.Port()->removeEventFilter(&spy);
  ASSERT_FALSE(spy.painted.isEmpty());
  const QRect bounds = spy.painted.boundingRect();
  EXPECT_LE(bounds.width(), 4 * f.grid.CellRect(1, 1).width() + 8);
  EXPECT_LE(bounds.height(), f.grid.RowHeight());
}

TEST(SeqGrid3Picture, BlocksAndRegionsAreDrawnInTheirColours) {
  GridFixture f;
  TRegion cds;
  cds.regStart = 2;
  cds.regEnd = 10;
  cds.regType = kRegCds;
  cds.codonPos = 1;
  f.Row(1).AddRegion(cds);
  f.Row(3).selStart = 4;
  f.Row(3).selLength = 3;
  f.grid.Refresh(false);
  const QImage img = f.Picture();
  const QColor red = Rgb(f.grid.colorScheme[kCodingColor]);
  // The band's top line runs over the region's columns, a pixel above the letters.
  const QRect cell = f.grid.CellRect(1, 5);
  const int bandTop = f.grid.LetterTop(cell.top()) - 1;
  EXPECT_EQ(img.pixelColor(cell.center().x(), bandTop), red);
  // The block is framed in the block colour.
  const QRect first = f.grid.CellRect(3, 4);
  EXPECT_EQ(img.pixelColor(first.left(), first.center().y()),
            Rgb(f.grid.colorScheme[kSelectedBlockColor]));
}

// This test once pinned the zoomed-out row as a black line through it; the cells are now
// blocks in their letters' colours, so a whole alignment shows where it varies.
TEST(SeqGrid3Picture, SmallZoomDrawsLettersAsColouredBlocks) {
  GridFixture f;
  f.grid.letterWidth = 5;  // narrower than a Courier 13 character
  f.grid.Refresh(false);
  EXPECT_TRUE(f.grid.outlineMode);
  const QImage img = f.Picture();
  const QColor c = Rgb(f.grid.colorScheme[kLetterCColor]);
  const QColor t = Rgb(f.grid.colorScheme[kLetterTColor]);
  const QColor bg = Rgb(f.grid.colorScheme[kBackgroundColor]);
  const int mid = f.grid.RowTopPixel(3) + f.grid.RowHeight() / 2;
  // Row 3 is AAAAACCCCCGGGGGTTTTT.
  EXPECT_EQ(img.pixelColor(f.grid.CellRect(3, 10).center().x(), mid), c);
  EXPECT_EQ(img.pixelColor(f.grid.CellRect(3, 10).center().x(), mid - 4), c);  // a block
  EXPECT_EQ(img.pixelColor(f.grid.CellRect(3, 20).center().x(), mid), t);
  // Row 2 has no letters in column 1: nothing there.
  EXPECT_EQ(img.pixelColor(f.grid.CellRect(2, 1).left() + 2, mid - f.grid.RowHeight()), bg);
}

TEST(SeqGrid3Layout, OneSequenceStillShowsTwoRows) {
  RecordingServices svc;
  TSeqGrid3 grid(svc);
  EXPECT_EQ(grid.RowCount(), 2);
  grid.Project().NewDataset();
  AddRow(*grid.Dataset(), "only", "ACGT");
  grid.Refresh(false);
  EXPECT_EQ(grid.RowCount(), 2);
}
