// SPDX-License-Identifier: GPL-3.0-or-later
// The tree viewer window: pages "Tree", "Data" and "Options".
#include "ui/trees/ShowTreeUnit.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QFocusEvent>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
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
#include <QToolButton>
#include <QVBoxLayout>
#include <charconv>

#include "common/Services.h"

namespace {

// The paint box: asks the window to paint the current tree at the scrolled origin.
class TreePaintBox : public QWidget {
 public:
  TreePaintBox(TTreeViewForm* form, QScrollBar* h, QScrollBar* v, QWidget* parent)
      : QWidget(parent), form(form), h(h), v(v) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setMinimumSize(200, 150);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    form->PaintCurrentTree(painter, QPoint(1 - h->value(), 1 - v->value()));
  }

 private:
  TTreeViewForm* form;
  QScrollBar* h;
  QScrollBar* v;
};

QString Latin1(const std::string& s) {
  return QString::fromLatin1(s.c_str());
}
std::string Bytes(const QString& s) {
  return s.toLatin1().toStdString();
}

QToolButton* ToolButton(const QString& text, const QString& hint, QWidget* parent) {
  auto* b = new QToolButton(parent);
  b->setText(text);
  b->setToolTip(hint);
  return b;
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

void TTreeViewForm::BuildTreePage(QWidget* page) {
  auto* grid = new QGridLayout(page);
  auto* bar = new QHBoxLayout;
  auto* normalBtn = ToolButton("Normal", "Normal tree", page);
  auto* vBtn = ToolButton("V-like", "V-like tree", page);
  auto* pictureBtn = ToolButton("Save picture...", "Save the drawing as PNG or SVG", page);
  CurTreeEdit = new QSpinBox(page);
  CurTreeEdit->setMinimum(1);
  TrackBar1 = new QSlider(Qt::Horizontal, page);
  TrackBar1->setRange(1, 1000);
  TrackBar1->setValue(250);
  TrackBar1->setToolTip("Horizontal size");
  TrackBar2 = new QSlider(Qt::Horizontal, page);
  TrackBar2->setRange(1, 5000);
  TrackBar2->setValue(250);
  TrackBar2->setToolTip("Vertical size");
  bar->addWidget(normalBtn);
  bar->addWidget(vBtn);
  bar->addWidget(new QLabel("Current tree: ", page));
  bar->addWidget(CurTreeEdit);
  bar->addWidget(TrackBar1);
  bar->addWidget(TrackBar2);
  bar->addWidget(pictureBtn);
  grid->addLayout(bar, 0, 0, 1, 2);
  hScroll = new QScrollBar(Qt::Horizontal, page);
  vScroll = new QScrollBar(Qt::Vertical, page);
  paintBox = new TreePaintBox(this, hScroll, vScroll, page);
  grid->addWidget(paintBox, 1, 0);
  grid->addWidget(vScroll, 1, 1);
  grid->addWidget(hScroll, 2, 0);
  grid->setRowStretch(1, 1);
  connect(normalBtn, &QToolButton::clicked, this, [this] { SetDrawStyle(2); });
  connect(vBtn, &QToolButton::clicked, this, [this] { SetDrawStyle(0); });
  connect(pictureBtn, &QToolButton::clicked, this, &TTreeViewForm::SavePictureClick);
  connect(CurTreeEdit, &QSpinBox::valueChanged, this, [this](int n) {
    if (!syncing) SelectTree(n);
  });
  connect(TrackBar1, &QSlider::valueChanged, this, [this] { TrackBarMoved(); });
  connect(TrackBar2, &QSlider::valueChanged, this, [this] { TrackBarMoved(); });
  connect(hScroll, &QScrollBar::valueChanged, paintBox, qOverload<>(&QWidget::update));
  connect(vScroll, &QScrollBar::valueChanged, paintBox, qOverload<>(&QWidget::update));
}

void TTreeViewForm::BuildDataPage(QWidget* page) {
  auto* layout = new QVBoxLayout(page);
  treeGrid = new QTableWidget(0, 3, page);
  treeGrid->setHorizontalHeaderLabels({" #", "Tree name", "Tree in \"brackets\" format"});
  treeGrid->verticalHeader()->hide();
  treeGrid->setColumnWidth(0, 40);
  treeGrid->setColumnWidth(1, 80);
  treeGrid->horizontalHeader()->setStretchLastSection(true);
  treeGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  layout->addWidget(treeGrid, 3);
  Memo2 = new QPlainTextEdit(page);
  Memo2->setMaximumHeight(40);
  Memo1 = new QPlainTextEdit(page);
  layout->addWidget(Memo2);
  layout->addWidget(Memo1, 2);
  Memo1->installEventFilter(this);
  Memo2->installEventFilter(this);
  auto* buttons = new QHBoxLayout;
  struct B {
    const char* name;
    const char* text;
    const char* hint;
    void (TTreeViewForm::*slot)();
  };
  for (const B& b :
       {B{"OpentreeBtn", "Open...", "Open tree(s) from a file", &TTreeViewForm::OpentreeBtnClick},
        B{"SaveTreeBtn", "Save...", "Save tree(s) to a file", &TTreeViewForm::SaveTreeBtnClick},
        B{"DelTreeBtn", "Delete", "delete current tree", &TTreeViewForm::DelTreeBtnClick},
        B{"instreeBtn", "Insert", "Insert new tree to the table", &TTreeViewForm::instreeBtnClick},
        B{"AddTreeBtn", "Add", "Add new tree to the end of the table",
          &TTreeViewForm::AddTreeBtnClick},
        B{"BifurcTree", "Bifurcating", "Convert to bifurcating tree",
          &TTreeViewForm::BifurcTreeClick}}) {
    auto* button = ToolButton(b.text, b.hint, page);
    button->setObjectName(b.name);
    connect(button, &QToolButton::clicked, this, b.slot);
    buttons->addWidget(button);
  }
  buttons->addStretch();
  layout->addLayout(buttons);
  connect(treeGrid, &QTableWidget::cellChanged, this, [this](int row, int column) {
    if (syncing || column == 0 || row + 1 > table.RowCount()) return;
    TreeRow& r = table.Row(row + 1);
    (column == 1 ? r.name : r.text) = Bytes(treeGrid->item(row, column)->text());
    if (row + 1 == table.Current()) ShowCurrent();
  });
  connect(treeGrid, &QTableWidget::currentCellChanged, this, [this](int row) {
    if (!syncing && row >= 0) SelectTree(row + 1);
  });
}

void TTreeViewForm::BuildOptionsPage(QWidget* page) {
  auto* grid = new QGridLayout(page);
  BranchClrBtn = new QPushButton("Color", page);
  BLdigitsEdit = new QSpinBox(page);
  BLdigitsEdit->setRange(0, 10);
  BLdigitsEdit->setValue(3);
  BrThickEdit = new QSpinBox(page);
  BrThickEdit->setRange(1, 50);
  BrThickEdit->setValue(5);
  MinBLenEdit = new QLineEdit("0", page);
  minBstrapToShow = new QLineEdit("50", page);
  cbShowBrLen = new QCheckBox("Show branch lengths", page);
  cbShowBrLen->setChecked(true);
  cbShowBstrap = new QCheckBox("Show bootstrap ", page);
  rbNormal = new QRadioButton("Normal", page);
  rbNormal->setChecked(true);
  rbVlike = new QRadioButton("V-like", page);
  BLfontBtn = new QPushButton("Font", page);
  LabelFontBtn = new QPushButton("Font", page);
  BstrapFontBtn = new QPushButton("Font", page);
  int row = 0;
  grid->addWidget(BranchClrBtn, row++, 0);
  grid->addWidget(new QLabel("Precision", page), row, 0);
  grid->addWidget(BLdigitsEdit, row++, 1);
  grid->addWidget(new QLabel("Thickness", page), row, 0);
  grid->addWidget(BrThickEdit, row++, 1);
  grid->addWidget(cbShowBrLen, row, 0);
  grid->addWidget(new QLabel(">", page), row, 1);
  grid->addWidget(MinBLenEdit, row, 2);
  grid->addWidget(BLfontBtn, row++, 3);
  grid->addWidget(cbShowBstrap, row, 0);
  grid->addWidget(new QLabel(">=", page), row, 1);
  grid->addWidget(minBstrapToShow, row, 2);
  grid->addWidget(BstrapFontBtn, row++, 3);
  grid->addWidget(new QLabel("Labels", page), row, 0);
  grid->addWidget(LabelFontBtn, row++, 3);
  grid->addWidget(rbNormal, row, 0);
  grid->addWidget(rbVlike, row++, 1);
  grid->setRowStretch(row, 1);
  connect(BranchClrBtn, &QPushButton::clicked, this, [this] {
    const QColor c = QColorDialog::getColor(drawStyle.branchColor, this);
    if (!c.isValid()) return;
    QPalette pal = BranchClrBtn->palette();
    pal.setColor(QPalette::ButtonText, c);
    BranchClrBtn->setPalette(pal);
  });
  for (QPushButton* b : {BLfontBtn, LabelFontBtn, BstrapFontBtn})
    connect(b, &QPushButton::clicked, this, [this, b] {
      bool ok = false;
      const QFont f = QFontDialog::getFont(&ok, b->font(), this);
      if (ok) b->setFont(f);
    });
}

void TTreeViewForm::ReadStyle() {
  drawStyle.branchColor = BranchClrBtn->palette().color(QPalette::ButtonText);
  drawStyle.digits = BLdigitsEdit->value();
  drawStyle.thickness = BrThickEdit->value();
  auto number = [](const QLineEdit* edit, double& value) {
    const std::string text = Bytes(edit->text().trimmed());
    double v = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    if (res.ec == std::errc() && res.ptr == text.data() + text.size()) value = v;
  };
  number(MinBLenEdit, drawStyle.minLengthShown);  // kept when the text is no number
  number(minBstrapToShow, drawStyle.minSupportShown);
  drawStyle.showLengths = cbShowBrLen->isChecked();
  drawStyle.showSupport = cbShowBstrap->isChecked();
  drawStyle.style = rbVlike->isChecked() ? 0 : 2;
  drawStyle.lengthFont = BLfontBtn->font();
  drawStyle.labelFont = LabelFontBtn->font();
  drawStyle.supportFont = BstrapFontBtn->font();
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
    vScroll->setMaximum(std::max(TrackBar2->value() + 40 - paintBox->height(), 0));
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
  const QSize size = DrawingSize() + QSize(LabelMargin(row.text, drawStyle) + 10, 40);
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
  const QSize size = DrawingSize() + QSize(LabelMargin(row.text, drawStyle) + 10, 40);
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
