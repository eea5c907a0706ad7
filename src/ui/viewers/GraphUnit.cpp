// SPDX-License-Identifier: GPL-3.0-or-later
// The plot viewer window: tabs "Plot", "Data" and "Options" around the plot window base.
#include "ui/viewers/GraphUnit.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
QString Latin1(const std::string& s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}
}  // namespace

TGraphForm::TGraphForm(TMainForm& mainForm, QWidget* parent) : TPlotBoxForm(mainForm, parent) {
  setObjectName("GraphForm");
  setWindowTitle("Plot view");
  QLayout* base = layout();
  base->removeWidget(PlotBox());
  tabs = new QTabWidget(this);
  base->addWidget(tabs);
  auto* plotPage = new QWidget(tabs);
  auto* pl = new QVBoxLayout(plotPage);
  pl->setContentsMargins(0, 0, 0, 0);
  PlotBox()->setParent(plotPage);
  pl->addWidget(PlotBox());
  tabs->addTab(plotPage, "Plot");

  auto* dataPage = new QWidget(tabs);
  auto* dl = new QHBoxLayout(dataPage);
  serNames = new QListWidget(dataPage);
  serNames->setObjectName("SerNames");
  serValues = new QTableWidget(0, 5, dataPage);
  serValues->setObjectName("SerValues");
  serValues->setHorizontalHeaderLabels({"Label", "X-Value", "Y-Value", "Y-Max", "Y-Min"});
  dl->addWidget(serNames, 1);
  dl->addWidget(serValues, 3);
  tabs->addTab(dataPage, "Data");
  auto* menu = new QMenu(this);
  QAction* save = menu->addAction("Save series...");
  save->setObjectName("SaveSeries1");
  connect(save, &QAction::triggered, this, &TGraphForm::SaveSeries1Click);
  for (const char* c : {"Add series", "Remove series", "Re&name series...", "Add value",
                        "Insert value", "Remove value"})
    menu->addAction(c)->setEnabled(false);
  serNames->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(serNames, &QWidget::customContextMenuRequested, this,
          [this, menu](const QPoint& pos) { menu->popup(serNames->mapToGlobal(pos)); });
  connect(serNames, &QListWidget::currentRowChanged, this, [this](int) { FillGrid(); });
  connect(serNames, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    const int row = serNames->row(item);
    if (row >= 0 && row < static_cast<int>(series.size())) {
      series[static_cast<std::size_t>(row)].visible = item->checkState() == Qt::Checked;
      PlotBox()->update();
    }
  });

  auto* optPage = new QWidget(tabs);
  auto* ol = new QVBoxLayout(optPage);
  auto* styleBox = new QGroupBox("Plot style", optPage);
  auto* sl = new QVBoxLayout(styleBox);
  rbBars = new QRadioButton("Histogram", styleBox);
  rbBars->setObjectName("rbBars");
  rbLine = new QRadioButton("Line", styleBox);
  rbLine->setObjectName("rbLine");
  rbLine->setChecked(true);
  rbDotsOnly = new QRadioButton("Points", styleBox);
  rbDotsOnly->setObjectName("rbDotsOnly");
  sl->addWidget(rbBars);
  sl->addWidget(rbLine);
  sl->addWidget(rbDotsOnly);
  ol->addWidget(styleBox);
  cbErBars = new QCheckBox("min/max", optPage);
  cbErBars->setObjectName("cbErBars");
  cbShowHGrid = new QCheckBox("Horizontal grid", optPage);
  cbShowHGrid->setObjectName("cbShowHGrid");
  auto* rbShowValues = new QRadioButton("Val.", optPage);
  rbShowValues->setObjectName("rbShowValues");
  rbShowValues->setChecked(true);
  rbShowLabels = new QRadioButton("Label", optPage);
  rbShowLabels->setObjectName("rbShowLabels");
  for (QWidget* w : {static_cast<QWidget*>(cbErBars), static_cast<QWidget*>(cbShowHGrid),
                     static_cast<QWidget*>(rbShowValues), static_cast<QWidget*>(rbShowLabels)})
    ol->addWidget(w);
  ol->addStretch(1);
  tabs->addTab(optPage, "Options");
  for (QRadioButton* b : {rbBars, rbLine, rbDotsOnly, rbShowLabels})
    connect(b, &QRadioButton::toggled, this, &TGraphForm::OptionsChanged);
  for (QCheckBox* b : {cbErBars, cbShowHGrid})
    connect(b, &QCheckBox::toggled, this, &TGraphForm::OptionsChanged);
}

void TGraphForm::OptionsChanged() {
  style = rbBars->isChecked()       ? PlotStyle::Histogram
          : rbDotsOnly->isChecked() ? PlotStyle::Points
                                    : PlotStyle::Line;
  minMax = cbErBars->isChecked();
  horizontalGrid = cbShowHGrid->isChecked();
  showLabels = rbShowLabels->isChecked();
  PlotBox()->update();
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
  FillGrid();
  PlotBox()->update();
}

int TGraphForm::SelectedSeries() const {
  const int row = serNames->currentRow();
  return row >= 0 && row < static_cast<int>(series.size()) ? row : -1;
}

void TGraphForm::FillGrid() {
  const int k = SelectedSeries();
  serValues->setRowCount(0);
  if (k < 0) return;
  const tser& s = series[static_cast<std::size_t>(k)];
  serValues->setRowCount(static_cast<int>(s.points.size()));
  for (int r = 0; r < static_cast<int>(s.points.size()); ++r) {
    const TSerPoint& p = s.points[static_cast<std::size_t>(r)];
    const std::string cells[] = {p.label, PlotNumberText(p.x), PlotNumberText(p.y),
                                 PlotNumberText(p.yMax), PlotNumberText(p.yMin)};
    for (int c = 0; c < 5; ++c) serValues->setItem(r, c, new QTableWidgetItem(Latin1(cells[c])));
  }
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
