// SPDX-License-Identifier: GPL-3.0-or-later
// The plot viewer window: tabs "Plot", "Data" and "Options" around the plot window base.
#include "ui/viewers/GraphUnit.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QInputDialog>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/PlotGeometry.h"
#include "common/PlotValues.h"
#include "ui/grid/DrawUnit.h"
#include "ui/shell/CLXMain.h"

namespace {

QString Latin1(const std::string& s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

QColor FromBgr(std::uint32_t c) {
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

std::uint32_t ToBgr(const QColor& c) {
  return static_cast<std::uint32_t>(c.red()) | static_cast<std::uint32_t>(c.green()) << 8 |
         static_cast<std::uint32_t>(c.blue()) << 16;
}

template <typename T>
T* Named(T* w, const char* name) {
  w->setObjectName(name);
  return w;
}

// The sequence under the plot's X range, in line with the X axis.
class SeqStrip : public QWidget {
 public:
  SeqStrip(TGraphForm& form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName("SeqStrip");
    setFixedHeight(26);
    setAutoFillBackground(true);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const std::string letters = form_.StripLetters();
    if (letters.empty()) return;
    const PlotRanges r = ComputeRanges(form_.Series(), form_.minMax);
    const StripSpan span = StripSpanOf(r.xMin, r.xMax, form_.StripSequence().Length());
    const auto cut =
        form_.StripSequence().SubSequence(span.first, span.last - span.first + 1, false);
    if (!cut) return;
    const int m = form_.margin;
    const double perLetter = (width() - 2.0 * m) / (r.xMax - r.xMin + 1);
    ColumnMap map;
    map.originX = m;
    map.firstColumn = 1;
    map.pixelsPerColumn = perLetter;
    DrawOverview(p, *cut, map, 2, 8, m, width() - m, false, form_.StripKinds(),
                 form_.MainForm().Colors());
    if (perLetter >= 7) {
      p.setPen(Qt::black);
      const QFontMetrics fm = p.fontMetrics();
      for (int k = 0; k < cut->Length(); ++k) {
        const QString c(QChar::fromLatin1(cut->letters[static_cast<std::size_t>(k)]));
        const int x = static_cast<int>(map.X(k + 1) + (perLetter - fm.horizontalAdvance(c)) / 2);
        p.drawText(x, 12 + fm.ascent(), c);
      }
    }
  }

 private:
  TGraphForm& form_;
};

}  // namespace

TGraphForm::TGraphForm(TMainForm& mainForm, QWidget* parent)
    : TPlotBoxForm(mainForm, parent),
      stripSeq(std::make_unique<TSeq>("", "ATGCATGCATGCATGCATGCATGCATGCATGC")) {
  setObjectName("GraphForm");
  setWindowTitle("Plot view");
  // The strip colours the whole-sequence kind and the kinds the region table gives as coding
  // (0) or noncoding (1).
  stripKinds[kRegSequence] = true;
  for (int i = 1; i <= 26; ++i) {
    const int kind = RegionKindFromFileCode(i);
    if (kind >= 0 && kind < kRegionKindCount && (kind == 0 || kind == 1)) stripKinds[kind] = true;
  }
  askName = [this](const std::string& current) -> std::optional<std::string> {
    bool ok = false;
    const QString name =
        QInputDialog::getText(this, "Rename", "New name:", QLineEdit::Normal, Latin1(current), &ok);
    if (!ok) return std::nullopt;
    return name.toLatin1().toStdString();
  };
  askColor = [this](std::uint32_t current) -> std::optional<std::uint32_t> {
    const QColor c = QColorDialog::getColor(FromBgr(current), this);
    if (!c.isValid()) return std::nullopt;
    return ToBgr(c);
  };

  QLayout* base = layout();
  base->removeWidget(PlotBox());
  tabs = new QTabWidget(this);
  base->addWidget(tabs);
  auto* plotPage = new QWidget(tabs);
  plotLayout = new QVBoxLayout(plotPage);
  plotLayout->setContentsMargins(0, 0, 0, 0);
  plotLayout->setSpacing(0);
  PlotBox()->setParent(plotPage);
  plotLayout->addWidget(PlotBox(), 1);
  strip = new SeqStrip(*this, plotPage);
  plotLayout->addWidget(strip);
  strip->setVisible(false);
  tabs->addTab(plotPage, "Plot");

  auto* dataPage = new QWidget(tabs);
  auto* dl = new QHBoxLayout(dataPage);
  serNames = Named(new QListWidget(dataPage), "SerNames");
  serValues = Named(new QTableWidget(0, 5, dataPage), "SerValues");
  serValues->setHorizontalHeaderLabels({"Label", "X-Value", "Y-Value", "Y-Max", "Y-Min"});
  dl->addWidget(serNames, 1);
  dl->addWidget(serValues, 3);
  tabs->addTab(dataPage, "Data");
  seriesMenu = Named(new QMenu(this), "SeriesMenu");
  const std::pair<const char*, void (TGraphForm::*)()> commands[] = {
      {"Save series...", &TGraphForm::SaveSeries1Click},
      {"Add series", &TGraphForm::AddSeries1Click},
      {"Remove series", &TGraphForm::RemoveSeries1Click},
      {"Re&name series...", &TGraphForm::RenameSeries1Click},
      {"Add value", &TGraphForm::AddValue1Click},
      {"Insert value", &TGraphForm::InsertValue1Click},
      {"Remove value", &TGraphForm::RemoveValue1Click}};
  for (const auto& [caption, handler] : commands) {
    QAction* a = seriesMenu->addAction(caption);
    connect(a, &QAction::triggered, this, [this, handler = handler] { (this->*handler)(); });
  }
  for (QWidget* w : {static_cast<QWidget*>(serNames), static_cast<QWidget*>(serValues)}) {
    w->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(w, &QWidget::customContextMenuRequested, this,
            [this, w](const QPoint& pos) { seriesMenu->popup(w->mapToGlobal(pos)); });
  }
  serValues->installEventFilter(this);
  serValues->viewport()->installEventFilter(this);
  connect(serNames, &QListWidget::currentRowChanged, this, [this](int) { LoadSelected(); });
  connect(serNames, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    const int row = serNames->row(item);
    if (row >= 0 && row < static_cast<int>(series.size())) {
      series[static_cast<std::size_t>(row)].visible = item->checkState() == Qt::Checked;
      RefreshAll();
    }
  });

  auto* optPage = new QWidget(tabs);
  auto* ol = new QHBoxLayout(optPage);
  auto* left = new QVBoxLayout;
  auto* styleBox = new QGroupBox("Plot style", optPage);
  auto* sl = new QVBoxLayout(styleBox);
  rbBars = Named(new QRadioButton("Histogram", styleBox), "rbBars");
  rbLine = Named(new QRadioButton("Line", styleBox), "rbLine");
  rbDotsOnly = Named(new QRadioButton("Points", styleBox), "rbDotsOnly");
  rbLine->setChecked(true);
  for (QRadioButton* b : {rbBars, rbLine, rbDotsOnly}) sl->addWidget(b);
  cbErBars = Named(new QCheckBox("min/max", styleBox), "cbErBars");
  sl->addWidget(cbErBars);
  left->addWidget(styleBox);

  auto* gridBox = new QGroupBox("Grid", optPage);
  auto* gl = new QVBoxLayout(gridBox);
  cbShowHGrid = Named(new QCheckBox("Horizontal grid", gridBox), "cbShowHGrid");
  rbDot = Named(new QRadioButton("Dotted", gridBox), "rbDot");
  rbDash = Named(new QRadioButton("Dashed", gridBox), "rbDash");
  rbSolid = Named(new QRadioButton("Solid", gridBox), "rbSolid");
  rbDashDot = Named(new QRadioButton("Dash-dot", gridBox), "rbDashDot");
  rbDot->setChecked(true);
  gl->addWidget(cbShowHGrid);
  for (QRadioButton* b : {rbDot, rbDash, rbSolid, rbDashDot}) gl->addWidget(b);
  left->addWidget(gridBox);

  auto* xBox = new QGroupBox("X axis", optPage);
  auto* xl = new QHBoxLayout(xBox);
  rbShowValues = Named(new QRadioButton("Val.", xBox), "rbShowValues");
  rbShowLabels = Named(new QRadioButton("Label", xBox), "rbShowLabels");
  rbShowValues->setChecked(true);
  xl->addWidget(rbShowValues);
  xl->addWidget(rbShowLabels);
  left->addWidget(xBox);

  auto* seqBox = new QGroupBox("Sequence", optPage);
  auto* ql = new QHBoxLayout(seqBox);
  cbShowSeq = Named(new QCheckBox("Show seq.", seqBox), "cbShowSeq");
  cbShowSeq->setEnabled(false);
  rbTop = Named(new QRadioButton("Top", seqBox), "rbTop");
  rbBottom = Named(new QRadioButton("Bottom", seqBox), "rbBottom");
  rbBottom->setChecked(true);
  ql->addWidget(cbShowSeq);
  ql->addWidget(rbTop);
  ql->addWidget(rbBottom);
  left->addWidget(seqBox);
  left->addStretch(1);
  ol->addLayout(left);

  dataPoints = Named(new QGroupBox("Series: not selected", optPage), "DataPoints");
  auto* dp = new QVBoxLayout(dataPoints);
  auto* sizeRow = new QFormLayout;
  PointSize = Named(new QSpinBox(dataPoints), "PointSize");
  PointSize->setRange(1, 100);
  PointSize->setValue(5);
  sizeRow->addRow("Size", PointSize);
  dp->addLayout(sizeRow);
  auto* colours = new QHBoxLayout;
  clrLineBtn = Named(new QPushButton("Line", dataPoints), "clrLineBtn");
  clrFillBtn = Named(new QPushButton("Fill", dataPoints), "clrFillBtn");
  colours->addWidget(clrLineBtn);
  colours->addWidget(clrFillBtn);
  dp->addLayout(colours);
  const char* shapeCaptions[] = {"Circle", "Square", "Diamond", "Triang1", "Triang2"};
  const char* shapeNames[] = {"rbSerCircle", "rbSerSquare", "rbSerDiamond", "rbSerTriangle",
                              "rbSerTriangle2"};
  for (std::size_t k = 0; k < shapeButtons.size(); ++k) {
    shapeButtons[k] = Named(new QRadioButton(shapeCaptions[k], dataPoints), shapeNames[k]);
    dp->addWidget(shapeButtons[k]);
    connect(shapeButtons[k], &QRadioButton::toggled, this, [this](bool on) {
      if (on) SeriesLookChanged();
    });
  }
  shapeButtons[0]->setChecked(true);
  dp->addStretch(1);
  ol->addWidget(dataPoints);
  tabs->addTab(optPage, "Options");

  connect(PointSize, &QSpinBox::valueChanged, this, [this](int) { SeriesLookChanged(); });
  connect(clrLineBtn, &QPushButton::clicked, this, [this] { PickColor(true); });
  connect(clrFillBtn, &QPushButton::clicked, this, [this] { PickColor(false); });
  for (QRadioButton* b :
       {rbBars, rbLine, rbDotsOnly, rbShowLabels, rbDot, rbDash, rbSolid, rbDashDot, rbTop})
    connect(b, &QRadioButton::toggled, this, &TGraphForm::OptionsChanged);
  for (QCheckBox* b : {cbErBars, cbShowHGrid, cbShowSeq})
    connect(b, &QCheckBox::toggled, this, &TGraphForm::OptionsChanged);
  LoadSelected();
}

TGraphForm::~TGraphForm() = default;

void TGraphForm::OptionsChanged() {
  style = rbBars->isChecked()       ? PlotStyle::Histogram
          : rbDotsOnly->isChecked() ? PlotStyle::Points
                                    : PlotStyle::Line;
  minMax = cbErBars->isChecked();
  horizontalGrid = cbShowHGrid->isChecked();
  showLabels = rbShowLabels->isChecked();
  gridPenStyle = rbDash->isChecked()      ? Qt::DashLine
                 : rbSolid->isChecked()   ? Qt::SolidLine
                 : rbDashDot->isChecked() ? Qt::DashDotLine
                                          : Qt::DotLine;
  PlaceStrip();
  RefreshAll();
}

void TGraphForm::PlaceStrip() {
  plotLayout->removeWidget(strip);
  plotLayout->insertWidget(rbTop->isChecked() ? 0 : 1, strip);
  strip->setVisible(cbShowSeq->isChecked());
}

void TGraphForm::RefreshAll() {
  PlotBox()->update();
  strip->update();
}

void TGraphForm::AddSer(const tser& s) {
  series.push_back(s);
  const QString name = Latin1(s.name);
  if (serNames->findItems(name, Qt::MatchExactly).isEmpty()) {
    auto* item = new QListWidgetItem(name, serNames);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(s.visible ? Qt::Checked : Qt::Unchecked);
    serNames->setCurrentItem(item);
  }
  LoadSelected();
  RefreshAll();
}

void TGraphForm::AddSeq(const TSeq& seq) {
  stripSeq = seq.Clone();
  cbShowSeq->setEnabled(true);
  cbShowSeq->setChecked(true);
  PlaceStrip();
  RefreshAll();
}

std::string TGraphForm::StripLetters() const {
  if (!cbShowSeq->isChecked()) return {};
  const PlotRanges r = ComputeRanges(series, minMax);
  if (!(r.xMax - r.xMin > 0)) return {};
  const StripSpan span = StripSpanOf(r.xMin, r.xMax, stripSeq->Length());
  if (span.first > span.last) return {};
  return stripSeq->letters.substr(static_cast<std::size_t>(span.first - 1),
                                  static_cast<std::size_t>(span.last - span.first + 1));
}

int TGraphForm::SelectedSeries() const {
  const int row = serNames->currentRow();
  return row >= 0 && row < static_cast<int>(series.size()) ? row : -1;
}

void TGraphForm::SelectSeries(int index) {
  serNames->setCurrentRow(index);
}

void TGraphForm::LoadSelected() {
  const int k = SelectedSeries();
  loading = true;
  if (k >= 0) {
    const tser& s = series[static_cast<std::size_t>(k)];
    PointSize->setValue(s.pointSize);
    shapeButtons[s.shape < shapeButtons.size() ? s.shape : 0]->setChecked(true);
    clrLineBtn->setStyleSheet("color: " + FromBgr(s.lineColor).name());
    clrFillBtn->setStyleSheet("color: " + FromBgr(s.fillColor).name());
  }
  dataPoints->setTitle(
      "Series: " + (k >= 0 ? Latin1(series[static_cast<std::size_t>(k)].name) : "not selected"));
  loading = false;
  FillGrid();
}

void TGraphForm::SeriesLookChanged() {
  const int k = SelectedSeries();
  if (loading || k < 0) return;
  tser& s = series[static_cast<std::size_t>(k)];
  s.pointSize = PointSize->value();
  for (std::size_t i = 0; i < shapeButtons.size(); ++i)
    if (shapeButtons[i]->isChecked()) s.shape = static_cast<std::uint8_t>(i);
  RefreshAll();
}

void TGraphForm::PickColor(bool line) {
  const int k = SelectedSeries();
  if (k < 0 || !askColor) return;
  tser& s = series[static_cast<std::size_t>(k)];
  const auto chosen = askColor(line ? s.lineColor : s.fillColor);
  if (!chosen) return;
  (line ? s.lineColor : s.fillColor) = *chosen;
  LoadSelected();
  RefreshAll();
}

void TGraphForm::FillGrid() {
  const int k = SelectedSeries();
  const QSignalBlocker block(serValues);
  serValues->setRowCount(0);
  shownCells.clear();
  if (k < 0) return;
  shownCells = PointsToCells(series[static_cast<std::size_t>(k)].points);
  const std::vector<PlotCells>& rows = shownCells;
  serValues->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r)
    for (int c = 0; c < 5; ++c)
      serValues->setItem(r, c,
                         new QTableWidgetItem(Latin1(
                             rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)])));
}

bool TGraphForm::GridToSeries() {
  const int k = SelectedSeries();
  if (k < 0) return true;
  std::vector<PlotCells> rows(static_cast<std::size_t>(serValues->rowCount()));
  for (int r = 0; r < serValues->rowCount(); ++r)
    for (int c = 0; c < 5; ++c) {
      const QTableWidgetItem* item = serValues->item(r, c);
      rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] =
          item != nullptr ? item->text().toLatin1().toStdString() : std::string();
    }
  const std::string problem =
      CellsToPoints(rows, series[static_cast<std::size_t>(k)].points, &shownCells);
  RefreshAll();
  if (problem.empty()) return true;
  MainForm().Notify(problem);
  return false;
}

bool TGraphForm::eventFilter(QObject* watched, QEvent* event) {
  // The message box takes the focus from the grid: that leaving does not count.
  if (!checkingGrid &&
      ((watched == serValues && event->type() == QEvent::FocusOut) ||
       (watched == serValues->viewport() && event->type() == QEvent::MouseButtonRelease))) {
    checkingGrid = true;
    GridToSeries();
    checkingGrid = false;
  }
  return TPlotBoxForm::eventFilter(watched, event);
}

void TGraphForm::AddSeries1Click() {
  tser s;
  s.name = "Series_" + std::to_string(series.size() + 1);
  s.points.push_back(TSerPoint{});
  AddSer(s);
}

void TGraphForm::RemoveSeries1Click() {
  const int k = SelectedSeries();
  if (k < 0) return;
  series.erase(series.begin() + k);
  delete serNames->takeItem(k);
  LoadSelected();
  RefreshAll();
}

void TGraphForm::RenameSeries1Click() {
  const int k = SelectedSeries();
  if (k < 0 || !askName) return;
  const auto name = askName(series[static_cast<std::size_t>(k)].name);
  if (!name) return;
  series[static_cast<std::size_t>(k)].name = *name;
  serNames->item(k)->setText(Latin1(*name));
  LoadSelected();
  RefreshAll();
}

void TGraphForm::AddValue1Click() {
  const int k = SelectedSeries();
  if (k < 0 || !GridToSeries()) return;
  series[static_cast<std::size_t>(k)].points.push_back(TSerPoint{});
  FillGrid();
  serValues->setCurrentCell(serValues->rowCount() - 1, 1);
  RefreshAll();
}

void TGraphForm::InsertValue1Click() {
  const int k = SelectedSeries();
  const int row = serValues->currentRow();
  if (k < 0 || !GridToSeries()) return;
  auto& points = series[static_cast<std::size_t>(k)].points;
  if (row < 0 || row >= static_cast<int>(points.size())) return;
  const TSerPoint copy = points[static_cast<std::size_t>(row)];
  points.insert(points.begin() + row, copy);
  FillGrid();
  serValues->setCurrentCell(row, 1);
  RefreshAll();
}

void TGraphForm::RemoveValue1Click() {
  const int k = SelectedSeries();
  const int row = serValues->currentRow();
  if (k < 0 || !GridToSeries()) return;
  auto& points = series[static_cast<std::size_t>(k)].points;
  if (row < 0 || row >= static_cast<int>(points.size())) return;
  points.erase(points.begin() + row);
  FillGrid();
  if (!points.empty())
    serValues->setCurrentCell(std::min(row, static_cast<int>(points.size()) - 1), 1);
  RefreshAll();
}

bool TGraphForm::SaveSeries(const QString& path) const {
  const int k = SelectedSeries();
  if (k < 0) return false;
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const std::string text = SeriesToCsv(series[static_cast<std::size_t>(k)]);
  return file.write(text.data(), static_cast<qint64>(text.size())) ==
         static_cast<qint64>(text.size());
}

void TGraphForm::SaveSeries1Click() {
  const int k = SelectedSeries();
  if (k < 0) return;
  const QString path = QFileDialog::getSaveFileName(
      this, "Save series", Latin1(series[static_cast<std::size_t>(k)].name) + ".csv",
      "Excel comma delimited file (*csv)");
  if (!path.isEmpty()) SaveSeries(path);
}

TGraphForm* NewGraphForm(TMainForm& mainForm) {
  if (auto* open = qobject_cast<TGraphForm*>(mainForm.ToolWindow(ToolKind::GraphForm))) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(open->parentWidget())) {
      if (sub->isMinimized()) sub->showNormal();
      mainForm.MdiArea()->setActiveSubWindow(sub);
    }
    return open;
  }
  auto* plot = new TGraphForm(mainForm);
  mainForm.RegisterToolWindow(ToolKind::GraphForm, plot);
  return plot;
}
