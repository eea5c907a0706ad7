// SPDX-License-Identifier: GPL-3.0-or-later
// The tree viewer window: the table commands, painting, opening, saving and exporting.
#include "ui/trees/ShowTreeUnit.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFocusEvent>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/Services.h"

namespace {

QString Latin1(const std::string& s) {
  return QString::fromLatin1(s.c_str());
}
std::string Bytes(const QString& s) {
  return s.toLatin1().toStdString();
}

}  // namespace

TTreeViewForm::TTreeViewForm(IMessages& messages, QWidget* parent)
    : QWidget(parent), messages(messages) {
  setWindowTitle("View Tree");
  setAttribute(Qt::WA_DeleteOnClose, false);
  auto* layout = new QVBoxLayout(this);
  pages = new QTabWidget(this);
  auto* treePage = new QWidget;
  auto* dataPage = new QWidget;
  auto* optionsPage = new QWidget;
  pages->addTab(treePage, "Tree");
  pages->addTab(dataPage, "Data");
  pages->addTab(optionsPage, "Options");
  layout->addWidget(pages);
  statusBar = new QStatusBar(this);
  layout->addWidget(statusBar);
  BuildTreePage(treePage);
  BuildDataPage(dataPage);
  BuildOptionsPage(optionsPage);
  // Leaving a page reads the style controls.
  connect(pages, &QTabWidget::currentChanged, this, [this] {
    ReadStyle();
    paintBox->update();
  });
  // The component names, for finding controls in tests and scripts.
  const std::pair<QObject*, const char*> named[] = {{paintBox, "PlotBox"},
                                                    {CurTreeEdit, "CurTreeEdit"},
                                                    {TrackBar1, "TrackBar1"},
                                                    {TrackBar2, "TrackBar2"},
                                                    {treeGrid, "treeGrid"},
                                                    {Memo1, "Memo1"},
                                                    {Memo2, "Memo2"},
                                                    {BranchClrBtn, "BranchClrBtn"},
                                                    {BLdigitsEdit, "BLdigitsEdit"},
                                                    {BrThickEdit, "BrThickEdit"},
                                                    {MinBLenEdit, "MinBLenEdit"},
                                                    {minBstrapToShow, "minBstrapToShow"},
                                                    {cbShowBrLen, "cbShowBrLen"},
                                                    {cbShowBstrap, "cbShowBstrap"},
                                                    {rbNormal, "rbNormal"},
                                                    {rbVlike, "rbVlike"},
                                                    {BLfontBtn, "BLfontBtn"},
                                                    {LabelFontBtn, "LabelFontBtn"},
                                                    {BstrapFontBtn, "BstrapFontBtn"}};
  for (const auto& [object, name] : named) object->setObjectName(name);
  ReadStyle();
  RefreshGrid();
  ShowCurrent();
  resize(640, 480);
  paintingEnabled = true;  // track-bar changes while building do not draw
}

void TTreeViewForm::SetDrawStyle(int style) {
  (style == 0 ? rbVlike : rbNormal)->setChecked(true);
  ReadStyle();
  paintBox->update();
}

int TTreeViewForm::LeafRowHeight() const {
  return QFontMetrics(paintBox->font()).height();
}

void TTreeViewForm::ClearTrees() {
  table.ClearTrees();
  RefreshGrid();
  ShowCurrent();
}

bool TTreeViewForm::AddTree(const std::string& name, const std::string& text, bool show) {
  if (!table.AddTree(name, text, show, LeafRowHeight())) return false;
  RefreshGrid();
  if (show) ShowCurrent();
  return true;
}

void TTreeViewForm::SelectTree(int n) {
  table.SelectTree(n);
  ShowCurrent();
}

void TTreeViewForm::RefreshGrid() {
  syncing = true;
  treeGrid->setRowCount(table.RowCount());
  for (int r = 1; r <= table.RowCount(); ++r) {
    auto* number = new QTableWidgetItem(QString::number(r));
    number->setFlags(number->flags() & ~Qt::ItemIsEditable);
    treeGrid->setItem(r - 1, 0, number);
    treeGrid->setItem(r - 1, 1, new QTableWidgetItem(Latin1(table.Row(r).name)));
    treeGrid->setItem(r - 1, 2, new QTableWidgetItem(Latin1(table.Row(r).text)));
  }
  CurTreeEdit->setMaximum(std::max(table.RowCount(), 1));
  syncing = false;
}

void TTreeViewForm::ShowCurrent() {
  syncing = true;
  const TreeRow& row = table.CurrentRow();
  Memo1->setPlainText(Latin1(row.text));
  Memo2->setPlainText(Latin1(row.name));
  RefreshRootChoices();
  CurTreeEdit->setValue(table.Current());
  treeGrid->setCurrentCell(table.Current() - 1, 1);
  syncing = false;
  statusBar->showMessage(Latin1(table.Status()));
  paintBox->update();
}

void TTreeViewForm::TrackBarMoved() {
  if (!paintingEnabled || syncing) return;
  TreeRow& row = table.CurrentRow();
  row.hSize = TrackBar1->value();
  row.vSize = TrackBar2->value();
  paintBox->update();
}

QSize TTreeViewForm::DrawingSize() const {
  const TreeRow& row = table.CurrentRow();
  return {row.hSize > 0 ? row.hSize : 250, row.vSize > 0 ? row.vSize : 250};
}

void TTreeViewForm::PaintCurrentTree(QPainter& painter, QPoint origin) {
  if (!paintingEnabled) return;
  TreeRow& row = table.CurrentRow();
  if (!row.text.empty()) {
    if (row.hSize < 0) row.hSize = 250;
    if (row.vSize < 0) row.vSize = 250;
    // Copying the sizes to the controls must not come back here as a track-bar move.
    syncing = true;
    TrackBar1->setValue(row.hSize);
    TrackBar2->setValue(row.vSize);
    const int labels = LabelMargin(row.text, drawStyle);
    hScroll->setMaximum(std::max(TrackBar1->value() + labels - paintBox->width(), 0));
    vScroll->setMaximum(std::max(TrackBar2->value() + 40 + kScaleBarRoom - paintBox->height(), 0));
    syncing = false;
  }
  // Anything wrong is drawn into the box, never shown in a message box from here.
  lastPaintMessage = PaintTreeText(painter, row.text, drawStyle, origin, DrawingSize().width(),
                                   DrawingSize().height());
  if (!lastPaintMessage.empty() && lastPaintMessage.find(kDrawErrorText) != std::string::npos)
    statusBar->showMessage(kDrawErrorText);
}

bool TTreeViewForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && (watched == Memo1 || watched == Memo2)) {
    TreeRow& row = table.CurrentRow();
    (watched == Memo1 ? row.text : row.name) =
        Bytes(static_cast<QPlainTextEdit*>(watched)->toPlainText());
    RefreshGrid();
    statusBar->showMessage(Latin1(table.Status()));
    paintBox->update();
  }
  return QWidget::eventFilter(watched, event);
}

bool TTreeViewForm::OpenTreeFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    messages.ReportError("Can not open tree file " + Bytes(path) + ": " +
                         Bytes(file.errorString()));
    return false;
  }
  const QByteArray bytes = file.readAll();
  table.LoadFile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                 &messages);
  RefreshGrid();
  ShowCurrent();
  return true;
}

bool TTreeViewForm::SaveTreeFile(const QString& path, TreeFileFormat format) {
  const std::optional<std::string> text = table.SaveText(format);
  if (!text) {
    messages.ReportError("The current tree can not be read; nothing was written to " + Bytes(path));
    return false;
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(text->data(), static_cast<qint64>(text->size())) !=
          static_cast<qint64>(text->size()) ||
      !file.commit()) {
    messages.ReportError("Can not write tree file " + Bytes(path) + ": " +
                         Bytes(file.errorString()));
    return false;
  }
  return true;
}

bool TTreeViewForm::ExportPng(const QString& path) {
  const TreeRow& row = table.CurrentRow();
  const QSize size =
      DrawingSize() + QSize(LabelMargin(row.text, drawStyle) + 10, 40 + kScaleBarRoom);
  QImage image(size, QImage::Format_ARGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    PaintTreeText(painter, row.text, drawStyle, QPoint(1, 1), DrawingSize().width(),
                  DrawingSize().height());
  }
  if (!image.save(path, "PNG")) {
    messages.ReportError("Can not write picture " + Bytes(path));
    return false;
  }
  return true;
}

bool TTreeViewForm::ExportSvg(const QString& path) {
  const TreeRow& row = table.CurrentRow();
  const QSize size =
      DrawingSize() + QSize(LabelMargin(row.text, drawStyle) + 10, 40 + kScaleBarRoom);
  QSvgGenerator svg;
  svg.setFileName(path);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setTitle(Latin1(row.name));
  QPainter painter;
  if (!painter.begin(&svg)) {
    messages.ReportError("Can not write picture " + Bytes(path));
    return false;
  }
  PaintTreeText(painter, row.text, drawStyle, QPoint(1, 1), DrawingSize().width(),
                DrawingSize().height());
  return painter.end();
}

void TTreeViewForm::OpentreeBtnClick() {
  const QString path = QFileDialog::getOpenFileName(this, "Open tree(s) from a file");
  if (!path.isEmpty()) OpenTreeFile(path);
}

void TTreeViewForm::SaveTreeBtnClick() {
  QString filter;
  QString path = QFileDialog::getSaveFileName(
      this, "Save tree(s) to a file", QString(),
      "Newick (brackets) format (*.tree);;Pagel's Continuous PAG format (*.pag);;NEXUS format "
      "(*.nex)",
      &filter);
  if (path.isEmpty()) return;
  const TreeFileFormat format = filter.contains("*.pag")   ? TreeFileFormat::Pag
                                : filter.contains("*.nex") ? TreeFileFormat::Nexus
                                                           : TreeFileFormat::Newick;
  if (!path.contains('.'))
    path += format == TreeFileFormat::Pag     ? ".pag"
            : format == TreeFileFormat::Nexus ? ".nex"
                                              : ".tree";
  SaveTreeFile(path, format);
}

void TTreeViewForm::SavePictureClick() {
  QString filter;
  const QString path = QFileDialog::getSaveFileName(
      this, "Save picture", QString(), "PNG picture (*.png);;SVG drawing (*.svg)", &filter);
  if (path.isEmpty()) return;
  if (filter.contains("svg") || path.endsWith(".svg", Qt::CaseInsensitive))
    ExportSvg(path);
  else
    ExportPng(path);
}

void TTreeViewForm::DelTreeBtnClick() {
  table.DeleteCurrent();
  RefreshGrid();
  ShowCurrent();
}

void TTreeViewForm::instreeBtnClick() {
  table.InsertAtCurrent();
  RefreshGrid();
  ShowCurrent();
}

void TTreeViewForm::AddTreeBtnClick() {
  table.AppendEmpty();
  RefreshGrid();
}

void TTreeViewForm::BifurcTreeClick() {
  table.CurrentRow().text = Bytes(Memo1->toPlainText());
  if (table.Bifurcate(messages)) {
    RefreshGrid();
    ShowCurrent();
  }
}
