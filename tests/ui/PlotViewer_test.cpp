// SPDX-License-Identifier: GPL-3.0-or-later
// The plot viewer's sequence strip, value grid editing, series commands, series look and grid
// pen styles, opened from the main window's Tools menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "ShellFixture.h"
#include "ui/viewers/GraphUnit.h"

namespace {

tser Series(const std::string& name, const std::vector<std::pair<double, double>>& xy) {
  tser s;
  s.name = name;
  for (auto [x, y] : xy) {
    TSerPoint p;
    p.x = x;
    p.y = y;
    p.yMax = y + 1;
    p.yMin = y - 1;
    s.points.push_back(p);
  }
  return s;
}

TGraphForm* OpenFromMenu(ShellFixture& f) {
  QAction* a = f.Action("PlotViewer1");
  if (a == nullptr || !a->isEnabled()) return nullptr;
  a->trigger();
  return qobject_cast<TGraphForm*>(f.form->ToolWindow(ToolKind::GraphForm));
}

int GrayPixels(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y);
      n += qRed(c) == qGreen(c) && qRed(c) > 100 && qRed(c) < 200 ? 1 : 0;
    }
  return n;
}

}  // namespace

TEST(TGraphForm, SequenceStripFollowsTheXRangeAndItsPlace) {
  ShellFixture f;
  TGraphForm* plot = OpenFromMenu(f);
  ASSERT_NE(plot, nullptr);
  EXPECT_EQ(OpenFromMenu(f), plot);  // one registered viewer
  EXPECT_EQ(plot->windowTitle(), "Plot view");
  EXPECT_EQ(plot->StripSequence().letters, "ATGCATGCATGCATGCATGCATGCATGCATGC");
  EXPECT_FALSE(plot->cbShowSeq->isEnabled());
  EXPECT_TRUE(plot->rbBottom->isChecked());
  EXPECT_TRUE(plot->StripKinds()[kRegSequence]);
  EXPECT_TRUE(plot->StripKinds()[kRegCds]);
  EXPECT_FALSE(plot->StripKinds()[kRegIntron]);

  plot->AddSer(Series("s", {{3, 1}, {6, 2}, {10.5, 1}}));
  TSeq seq("q", "ACGTACGTACGTAAAAAAAA");
  plot->AddSeq(seq);
  EXPECT_TRUE(plot->cbShowSeq->isEnabled());
  EXPECT_TRUE(plot->cbShowSeq->isChecked());
  // Positions 3 to round(10.5) = 10.
  EXPECT_EQ(plot->StripLetters(), "GTACGTAC");
  seq.letters = "TTTT";  // the strip holds its own copy
  EXPECT_EQ(plot->StripSequence().letters, "ACGTACGTACGTAAAAAAAA");

  f.form->resize(900, 700);
  f.form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f.form.get()));
  plot->parentWidget()->resize(700, 500);
  QTest::qWait(20);
  EXPECT_FALSE(plot->Strip()->isHidden());
  EXPECT_GT(plot->Strip()->y(), plot->PlotBox()->y());
  plot->rbTop->setChecked(true);
  QTest::qWait(20);
  EXPECT_LT(plot->Strip()->y(), plot->PlotBox()->y());
  const QImage strip = plot->Strip()->grab().toImage();
  int dark = 0;
  for (int y = 0; y < strip.height(); ++y)
    for (int x = 0; x < strip.width(); ++x) dark += qGray(strip.pixel(x, y)) < 128 ? 1 : 0;
  EXPECT_GT(dark, 20);

  plot->cbShowSeq->setChecked(false);
  EXPECT_TRUE(plot->Strip()->isHidden());
  EXPECT_EQ(plot->StripLetters(), "");
}

TEST(TGraphForm, ValueGridEditsReachTheSeriesOrReportTheBadCell) {
  ShellFixture f;
  TGraphForm* plot = OpenFromMenu(f);
  ASSERT_NE(plot, nullptr);
  plot->AddSer(Series("data", {{1, 10}, {2, 20}, {3, 30}}));
  ASSERT_EQ(plot->serValues->rowCount(), 3);
  EXPECT_EQ(plot->serValues->item(1, 2)->text(), "20.00");  // two digits, two decimals
  plot->serValues->item(0, 2)->setText("12.5");
  plot->serValues->item(1, 3)->setText("lots");
  // Releasing the mouse over the grid takes the values over.
  QTest::mouseRelease(plot->serValues->viewport(), Qt::LeftButton);
  ASSERT_FALSE(f.dialogs.notices.empty());
  EXPECT_EQ(f.dialogs.notices.back(),
            "Error in Max-Values row 2\r\nlots can not be converted to a real number");
  const tser& s = plot->Series()[0];
  EXPECT_DOUBLE_EQ(s.points[0].y, 12.5);
  EXPECT_DOUBLE_EQ(s.points[1].yMax, 21);  // kept
  EXPECT_DOUBLE_EQ(s.points[2].y, 30);

  plot->serValues->item(1, 3)->setText("");
  const std::size_t before = f.dialogs.notices.size();
  EXPECT_TRUE(plot->GridToSeries());
  EXPECT_EQ(f.dialogs.notices.size(), before);
  EXPECT_DOUBLE_EQ(plot->Series()[0].points[1].yMax, 0);  // an empty cell is 0
}

TEST(TGraphForm, SeriesCommandsAndLookOfTheSelectedSeries) {
  ShellFixture f;
  TGraphForm* plot = OpenFromMenu(f);
  ASSERT_NE(plot, nullptr);
  EXPECT_EQ(plot->dataPoints->title(), "Series: not selected");
  QStringList captions;
  for (QAction* a : plot->seriesMenu->actions()) captions << a->text();
  EXPECT_EQ(captions,
            (QStringList{"Save series...", "Add series", "Remove series", "Re&name series...",
                         "Add value", "Insert value", "Remove value"}));

  plot->AddSer(Series("first", {{1, 1}, {2, 4}}));
  plot->AddSeries1Click();
  ASSERT_EQ(plot->Series().size(), 2u);
  EXPECT_EQ(plot->Series()[1].name, "Series_2");
  ASSERT_EQ(plot->Series()[1].points.size(), 1u);
  EXPECT_EQ(plot->Series()[1].pointSize, 5);
  EXPECT_EQ(plot->SelectedSeries(), 1);
  EXPECT_EQ(plot->dataPoints->title(), "Series: Series_2");

  plot->askName = [](const std::string&) { return std::optional<std::string>("renamed"); };
  plot->RenameSeries1Click();
  EXPECT_EQ(plot->Series()[1].name, "renamed");
  EXPECT_EQ(plot->serNames->item(1)->text(), "renamed");
  EXPECT_EQ(plot->dataPoints->title(), "Series: renamed");
  plot->askName = [](const std::string&) { return std::optional<std::string>(); };
  plot->RenameSeries1Click();
  EXPECT_EQ(plot->Series()[1].name, "renamed");

  // Values of the first series: add, duplicate the current one, remove.
  plot->SelectSeries(0);
  EXPECT_EQ(plot->serValues->rowCount(), 2);
  plot->AddValue1Click();
  ASSERT_EQ(plot->Series()[0].points.size(), 3u);
  EXPECT_DOUBLE_EQ(plot->Series()[0].points[2].x, 0);
  plot->serValues->setCurrentCell(1, 1);
  plot->InsertValue1Click();
  ASSERT_EQ(plot->Series()[0].points.size(), 4u);
  EXPECT_DOUBLE_EQ(plot->Series()[0].points[1].y, 4);
  EXPECT_DOUBLE_EQ(plot->Series()[0].points[2].y, 4);
  plot->serValues->setCurrentCell(0, 1);
  plot->RemoveValue1Click();
  ASSERT_EQ(plot->Series()[0].points.size(), 3u);
  EXPECT_DOUBLE_EQ(plot->Series()[0].points[0].x, 2);
  EXPECT_EQ(plot->serValues->rowCount(), 3);

  // Size, shape and colours go to the selected series at once and come back on selection.
  plot->PointSize->setValue(9);
  plot->shapeButtons[2]->setChecked(true);
  plot->askColor = [](std::uint32_t) { return std::optional<std::uint32_t>(0x00FF00); };
  plot->PickColor(true);
  plot->askColor = [](std::uint32_t) { return std::optional<std::uint32_t>(0x123456); };
  plot->PickColor(false);
  EXPECT_EQ(plot->Series()[0].pointSize, 9);
  EXPECT_EQ(plot->Series()[0].shape, 2);
  EXPECT_EQ(plot->Series()[0].lineColor, 0x00FF00u);
  EXPECT_EQ(plot->Series()[0].fillColor, 0x123456u);
  EXPECT_EQ(plot->Series()[1].pointSize, 5);
  plot->SelectSeries(1);
  EXPECT_EQ(plot->PointSize->value(), 5);
  EXPECT_TRUE(plot->shapeButtons[0]->isChecked());
  plot->SelectSeries(0);
  EXPECT_EQ(plot->PointSize->value(), 9);
  EXPECT_TRUE(plot->shapeButtons[2]->isChecked());

  plot->RemoveSeries1Click();
  ASSERT_EQ(plot->Series().size(), 1u);
  EXPECT_EQ(plot->Series()[0].name, "renamed");
  plot->RemoveSeries1Click();
  EXPECT_TRUE(plot->Series().empty());
  EXPECT_EQ(plot->dataPoints->title(), "Series: not selected");
}

TEST(TGraphForm, HorizontalGridPenStyles) {
  ShellFixture f;
  TGraphForm* plot = OpenFromMenu(f);
  ASSERT_NE(plot, nullptr);
  EXPECT_TRUE(plot->rbDot->isChecked());
  EXPECT_EQ(plot->rbDashDot->text(), "Dash-dot");
  plot->AddSer(Series("s", {{0, 0}, {10, 50}}));
  auto pixels = [&] {
    QImage image(400, 300, QImage::Format_RGB32);
    QPainter p(&image);
    plot->PaintPlot(p, 400, 300);
    p.end();
    return GrayPixels(image);
  };
  const int none = pixels();
  plot->cbShowHGrid->setChecked(true);
  EXPECT_EQ(plot->gridPenStyle, Qt::DotLine);
  const int dotted = pixels();
  plot->rbSolid->setChecked(true);
  EXPECT_EQ(plot->gridPenStyle, Qt::SolidLine);
  const int solid = pixels();
  plot->rbDash->setChecked(true);
  EXPECT_EQ(plot->gridPenStyle, Qt::DashLine);
  const int dashed = pixels();
  plot->rbDashDot->setChecked(true);
  EXPECT_EQ(plot->gridPenStyle, Qt::DashDotLine);
  EXPECT_GT(dotted, none);
  EXPECT_GT(dashed, dotted);
  EXPECT_GT(solid, dashed);
}

// Axis titles: the position under the X axis, the statistic with its unit turned along the Y
// axis; both outside the tick labels, which move in to make room.
TEST(TGraphForm, AxisTitlesStandOutsideTheTickLabels) {
  ShellFixture f;
  TGraphForm* plot = OpenFromMenu(f);
  ASSERT_NE(plot, nullptr);
  plot->AddSer(Series("Pi_in_L", {{50, 0.01}, {150, 0.02}, {250, 0.015}}));
  const auto paint = [&] {
    QImage image(600, 400, QImage::Format_RGB32);
    QPainter p(&image);
    plot->PaintPlot(p, 600, 400);
    return image;
  };
  const auto darkIn = [](const QImage& image, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) n += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    return n;
  };
  const QImage plain = paint();
  const int plainMargin = plot->LastFrame().margin;
  plot->xTitle = "Position (window midpoint, bp)";
  plot->yTitle = "Pi (differences per site)";
  const QImage titled = paint();
  EXPECT_GT(plot->LastFrame().margin, plainMargin);
  const int lineHeight = QFontMetrics(QFont()).height();
  const QRect left(0, 100, lineHeight, 200), bottom(150, 400 - lineHeight, 300, lineHeight - 1);
  EXPECT_EQ(darkIn(plain, left), 0);
  EXPECT_EQ(darkIn(plain, bottom), 0);
  EXPECT_GT(darkIn(titled, left), 20);
  EXPECT_GT(darkIn(titled, bottom), 20);
}
