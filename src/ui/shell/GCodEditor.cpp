// SPDX-License-Identifier: GPL-3.0-or-later
// The genetic code editor dialog.
#include "ui/shell/GCodEditor.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QStyle>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "model/NcbiCodes.h"

namespace {
constexpr const char* kFilter = "Comma delimited genetic code (*.csv)";
QString Latin1(const std::string& s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}
}  // namespace

TGCodEditor::TGCodEditor(QWidget* parent) : QDialog(parent) {
  setObjectName("GCodEditor");
  setWindowTitle("Genetic code editor");
  auto* layout = new QVBoxLayout(this);
  auto* toolbar = new QToolBar(this);
  toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  QAction* load = toolbar->addAction(style()->standardIcon(QStyle::SP_DialogOpenButton), "Load");
  load->setToolTip("Load genetic code table");
  QAction* save = toolbar->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton), "Save");
  save->setToolTip("Save genetic code table");
  QAction* addCol = toolbar->addAction("Add column");
  addCol->setToolTip("Add column");
  QAction* addRow = toolbar->addAction("Add row");
  addRow->setToolTip("Add row");
  layout->addWidget(toolbar);
  connect(load, &QAction::triggered, this, &TGCodEditor::LoadButtonClick);
  connect(save, &QAction::triggered, this, &TGCodEditor::SaveButtonClick);
  connect(addCol, &QAction::triggered, this, &TGCodEditor::AddColumn);
  connect(addRow, &QAction::triggered, this, &TGCodEditor::AddRow);

  auto* chooser = new QHBoxLayout;
  auto* label = new QLabel("Standard code:", this);
  cbStandardCode = new QComboBox(this);
  cbStandardCode->setObjectName("cbStandardCode");
  cbStandardCode->addItem("(table of its own)", 0);
  for (const NcbiCodeTable& t : NcbiCodeTables())
    cbStandardCode->addItem(QString("%1. %2").arg(t.id).arg(QString::fromLatin1(t.name)), t.id);
  cbStandardCode->setToolTip("Load one of NCBI's genetic codes into the table");
  label->setBuddy(cbStandardCode);
  chooser->addWidget(label);
  chooser->addWidget(cbStandardCode, 1);
  layout->addLayout(chooser);
  connect(cbStandardCode, &QComboBox::activated, this,
          [this](int index) { ChooseTable(cbStandardCode->itemData(index).toInt()); });

  codgrid = new QTableWidget(this);
  codgrid->setObjectName("codgrid");
  codgrid->verticalHeader()->setDefaultSectionSize(16);
  codgrid->verticalHeader()->setMinimumSectionSize(12);
  codgrid->horizontalHeader()->setMinimumSectionSize(20);
  layout->addWidget(codgrid, 1);
  // A cell typed into makes the table one of its own.
  connect(codgrid, &QTableWidget::itemChanged, this, [this] {
    if (!filling) cbStandardCode->setCurrentIndex(0);
  });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &TGCodEditor::Button1Click);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  SetGrid(EmptyCodeGrid());
  resize(560, 480);
}

int TGCodEditor::Execute(TGenCode& target, int tableId) {
  Open(target, tableId);
  return exec();
}

void TGCodEditor::Open(TGenCode& target, int tableId) {
  code = &target;
  CodeGrid grid = Grid();
  FillCodeGrid(target, grid);
  SetGrid(grid);
  const int index = cbStandardCode->findData(NcbiCodeById(tableId) != nullptr ? tableId : 0);
  cbStandardCode->setCurrentIndex(std::max(0, index));
}

int TGCodEditor::ChosenTable() const {
  return cbStandardCode->currentData().toInt();
}

void TGCodEditor::ChooseTable(int ncbiId) {
  const NcbiCodeTable* table = NcbiCodeById(ncbiId);
  if (table == nullptr) return;
  TGenCode loaded("");
  LoadNcbiCode(*table, loaded);
  CodeGrid grid = EmptyCodeGrid();
  FillCodeGrid(loaded, grid);
  SetGrid(grid);
  cbStandardCode->setCurrentIndex(std::max(0, cbStandardCode->findData(ncbiId)));
}

CodeGrid TGCodEditor::Grid() const {
  const int cols = codgrid->columnCount();
  CodeGrid grid(static_cast<std::size_t>(codgrid->rowCount() + 1),
                std::vector<std::string>(static_cast<std::size_t>(cols)));
  for (int c = 0; c < cols; ++c) {
    if (const QTableWidgetItem* h = codgrid->horizontalHeaderItem(c))
      grid[0][static_cast<std::size_t>(c)] = h->text().toStdString();
    for (int r = 0; r < codgrid->rowCount(); ++r)
      if (const QTableWidgetItem* item = codgrid->item(r, c))
        grid[static_cast<std::size_t>(r + 1)][static_cast<std::size_t>(c)] =
            item->text().toLatin1().toStdString();
  }
  return grid;
}

void TGCodEditor::SetGrid(const CodeGrid& grid) {
  filling = true;
  std::size_t cols = 0;
  for (const auto& row : grid) cols = std::max(cols, row.size());
  codgrid->clear();
  codgrid->setColumnCount(static_cast<int>(cols));
  codgrid->setRowCount(grid.empty() ? 0 : static_cast<int>(grid.size()) - 1);
  for (std::size_t r = 0; r < grid.size(); ++r) {
    for (std::size_t c = 0; c < grid[r].size(); ++c) {
      if (r == 0) {
        codgrid->setHorizontalHeaderItem(static_cast<int>(c),
                                         new QTableWidgetItem(Latin1(grid[r][c])));
      } else {
        codgrid->setItem(static_cast<int>(r) - 1, static_cast<int>(c),
                         new QTableWidgetItem(Latin1(grid[r][c])));
      }
    }
  }
  FitColumns();
  filling = false;
}

void TGCodEditor::FitColumns() {
  // The name column is as wide as the widest full name plus 2 pixels (at least 30); codons and
  // abbreviations are short.
  const QFontMetrics metrics(codgrid->font());
  int widest = 0;
  for (int r = 0; r < codgrid->rowCount(); ++r)
    if (const QTableWidgetItem* item = codgrid->item(r, 0))
      widest = std::max(widest, metrics.horizontalAdvance(item->text()));
  if (codgrid->columnCount() > 0)
    codgrid->setColumnWidth(0, std::max(30, widest + 2 + 8));  // 8: cell padding
  for (int c = 1; c < codgrid->columnCount(); ++c)
    codgrid->setColumnWidth(c, std::max(30, metrics.horizontalAdvance("cdn0") + 10));
}

void TGCodEditor::AddColumn() {
  const int c = codgrid->columnCount();
  codgrid->setColumnCount(c + 1);
  codgrid->setHorizontalHeaderItem(
      c, new QTableWidgetItem(c >= 3 ? QString("cdn%1").arg(c - 2) : QString()));
  codgrid->setColumnWidth(c, codgrid->columnWidth(std::max(0, c - 1)));
}

void TGCodEditor::AddRow() {
  codgrid->setRowCount(codgrid->rowCount() + 1);
}

void TGCodEditor::CommitEdit() {
  // Moving the current cell commits an open cell editor, so Ok and Save see the typed text.
  codgrid->setCurrentIndex(QModelIndex());
}

bool TGCodEditor::SaveTable(const QString& path) {
  CommitEdit();
  const std::string text = CodeGridToText(Grid());
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(text.data(), static_cast<qint64>(text.size())) !=
      static_cast<qint64>(text.size())) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

bool TGCodEditor::LoadTable(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return false;
  SetGrid(CodeGridFromText(
      std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
  return true;
}

void TGCodEditor::SaveButtonClick() {
  QFileDialog dialog(this, "Save", "gencod.csv", kFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix("csv");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString path = dialog.selectedFiles().front();
  if (!SaveTable(path)) QMessageBox::warning(this, "Save", "Cannot write file " + path);
}

void TGCodEditor::LoadButtonClick() {
  const QString path =
      QFileDialog::getOpenFileName(this, "Load genetic code table", "gencod.csv", kFilter);
  if (path.isEmpty()) return;
  if (!LoadTable(path))
    QMessageBox::warning(this, "Load genetic code table", "Cannot read file " + path);
}

void TGCodEditor::Button1Click() {
  CommitEdit();
  if (code != nullptr) {
    ApplyCodeGrid(Grid(), *code);
    if (const NcbiCodeTable* table = NcbiCodeById(ChosenTable())) LoadNcbiCode(*table, *code);
  }
  accept();
}
