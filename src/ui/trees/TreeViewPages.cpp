// SPDX-License-Identifier: GPL-3.0-or-later
// The controls of the tree viewer's three pages and the reading of the drawing options.
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <charconv>
#include <optional>

#include "trees/TreeTexts.h"
#include "ui/trees/ShowTreeUnit.h"

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

void TTreeViewForm::BuildTreePage(QWidget* page) {
  auto* grid = new QGridLayout(page);
  auto* bar = new QHBoxLayout;
  auto* normalBtn = ToolButton("Normal", "Normal tree", page);
  auto* vBtn = ToolButton("V-like", "V-like tree", page);
  auto* pictureBtn = ToolButton("Save picture...", "Save the drawing as PNG or SVG", page);
  auto* fitBtn = ToolButton("Fit to window", "Size the drawing to the window", page);
  fitBtn->setObjectName("FitToWindowBtn");
  cbRootOn = new QComboBox(page);
  cbRootOn->setObjectName("cbRootOn");
  cbRootOn->setToolTip("Root the drawing on the outgroup or on a leaf");
  cbRootOn->setSizeAdjustPolicy(QComboBox::AdjustToContents);
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
  bar->addWidget(fitBtn);
  bar->addWidget(new QLabel("Root:", page));
  bar->addWidget(cbRootOn);
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
  connect(fitBtn, &QToolButton::clicked, this, &TTreeViewForm::FitToWindow);
  connect(cbRootOn, &QComboBox::activated, this, [this] {
    ReadStyle();
    paintBox->update();
  });
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
  drawStyle.rootOn.clear();
  for (const QString& name : cbRootOn->currentData().toStringList())
    drawStyle.rootOn.push_back(Bytes(name));
}

void TTreeViewForm::RefreshRootChoices() {
  // "As written", the outgroup when the trees came with one, then every leaf of the tree.
  const QString kept = cbRootOn->currentText();
  const bool firstFill = cbRootOn->count() == 0;
  cbRootOn->clear();
  cbRootOn->addItem("as written", QStringList());
  QStringList og;
  for (const std::string& name : outgroup) og << QString::fromLatin1(name.c_str());
  if (!og.isEmpty()) cbRootOn->addItem("outgroup", og);
  TTree tree;
  const std::optional<std::string> text = ExtractTree(table.CurrentRow().text);
  if (text && tree.ReadBrackets(*text))
    for (const auto& node : tree.nodes)
      if (node->ChildCount() == 0) {
        const QString name = QString::fromLatin1(node->name.c_str());
        cbRootOn->addItem(name, QStringList{name});
      }
  int index = firstFill || kept.isEmpty() ? -1 : cbRootOn->findText(kept);
  if (index < 0) index = og.isEmpty() ? 0 : 1;
  cbRootOn->setCurrentIndex(index);
  ReadStyle();
}

void TTreeViewForm::SetOutgroup(const std::vector<std::string>& names) {
  outgroup = names;
  RefreshRootChoices();
  if (!outgroup.empty()) cbRootOn->setCurrentIndex(1);
  ReadStyle();
  paintBox->update();
}

void TTreeViewForm::FitToWindow() {
  TreeRow& row = table.CurrentRow();
  if (row.text.empty()) return;
  const int labels = LabelMargin(row.text, drawStyle);
  row.hSize = std::clamp(paintBox->width() - labels - 12, 1, TrackBar1->maximum());
  row.vSize = std::clamp(paintBox->height() - 24 - kScaleBarRoom, 1, TrackBar2->maximum());
  hScroll->setValue(0);
  vScroll->setValue(0);
  paintBox->update();
}
