// SPDX-License-Identifier: GPL-3.0-or-later
// The table report window.
#include "ui/viewers/TabRepUnit.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>
#include <QStyle>
#include <QTableWidget>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/viewers/ReportPrinting.h"

namespace {
QString Latin1(const std::string& s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}
std::string ToLatin1(const QString& s) {
  const QByteArray b = s.toLatin1();
  return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}
}  // namespace

TTabReport::TTabReport(TMainForm& mainForm, QWidget* parent) : TMDIChild(mainForm, parent) {
  setObjectName("TabReport");
  setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* toolbar = new QToolBar(this);
  QAction* save = toolbar->addAction("&Save...");
  save->setObjectName("Save1");
  QAction* copy = toolbar->addAction("&Copy");
  copy->setObjectName("Copy1");
  QAction* print = toolbar->addAction("&Print...");
  print->setObjectName("Print1");
  QAction* pdf = toolbar->addAction("&Export PDF...");
  pdf->setObjectName("ExportPdf1");
  layout->addWidget(toolbar);

  repgrid = new QTableWidget(this);
  repgrid->setObjectName("repgrid");
  repgrid->horizontalHeader()->setDefaultSectionSize(100);
  repgrid->verticalHeader()->setDefaultSectionSize(20);
  repgrid->verticalHeader()->setMinimumSectionSize(16);
  repgrid->horizontalHeader()->setSectionsMovable(true);
  repgrid->verticalHeader()->setSectionsMovable(true);
  repgrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  repgrid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  repgrid->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  layout->addWidget(repgrid, 1);
  // The top-left header cell sits on the table's corner button.
  if (auto* corner = repgrid->findChild<QAbstractButton*>()) {
    auto* cornerLayout = new QHBoxLayout(corner);
    cornerLayout->setContentsMargins(3, 0, 2, 0);
    cornerLabel = new QLabel(corner);
    cornerLayout->addWidget(cornerLabel);
  }
  statusLine = new QStatusBar(this);
  statusLine->setSizeGripEnabled(false);
  layout->addWidget(statusLine);

  repgrid->viewport()->installEventFilter(this);
  repgrid->installEventFilter(this);
  connect(save, &QAction::triggered, this, &TTabReport::Save1Click);
  connect(copy, &QAction::triggered, this, &TTabReport::CopyToClipboard);
  connect(print, &QAction::triggered, this, &TTabReport::Print1Click);
  connect(pdf, &QAction::triggered, this, &TTabReport::ExportPdf1Click);
  repgrid->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(repgrid, &QWidget::customContextMenuRequested, this,
          [this, save, copy, print, pdf](const QPoint& at) {
            QMenu menu(this);
            menu.addActions({save, copy, print, pdf});
            menu.exec(repgrid->viewport()->mapToGlobal(at));
          });
  SetSize(2, 2);
}

void TTabReport::SetSize(int rows, int cols) {
  rows = std::max(1, rows);
  cols = std::max(1, cols);
  repgrid->setRowCount(rows - 1);
  repgrid->setColumnCount(cols - 1);
  for (int c = 1; c < cols; ++c)
    if (repgrid->horizontalHeaderItem(c - 1) == nullptr)
      repgrid->setHorizontalHeaderItem(c - 1, new QTableWidgetItem(""));
  for (int r = 1; r < rows; ++r)
    if (repgrid->verticalHeaderItem(r - 1) == nullptr)
      repgrid->setVerticalHeaderItem(r - 1, new QTableWidgetItem(""));
}

int TTabReport::RowCount() const {
  return repgrid->rowCount() + 1;
}
int TTabReport::ColCount() const {
  return repgrid->columnCount() + 1;
}

void TTabReport::SetCell(int row, int col, const std::string& text) {
  if (row < 0 || col < 0 || row >= RowCount() || col >= ColCount()) return;
  if (row == 0 && col == 0) {
    cornerText = text;
    if (cornerLabel != nullptr) cornerLabel->setText(Latin1(text));
  } else if (row == 0) {
    repgrid->horizontalHeaderItem(col - 1)->setText(Latin1(text));
  } else if (col == 0) {
    repgrid->verticalHeaderItem(row - 1)->setText(Latin1(text));
  } else if (QTableWidgetItem* item = repgrid->item(row - 1, col - 1)) {
    item->setText(Latin1(text));
  } else {
    repgrid->setItem(row - 1, col - 1, new QTableWidgetItem(Latin1(text)));
  }
}

std::string TTabReport::Cell(int row, int col) const {
  if (row < 0 || col < 0 || row >= RowCount() || col >= ColCount()) return {};
  if (row == 0 && col == 0) return cornerText;
  const QTableWidgetItem* item = row == 0   ? repgrid->horizontalHeaderItem(col - 1)
                                 : col == 0 ? repgrid->verticalHeaderItem(row - 1)
                                            : repgrid->item(row - 1, col - 1);
  return item != nullptr ? ToLatin1(item->text()) : std::string();
}

TableCells TTabReport::Cells() const {
  const QHeaderView* h = repgrid->horizontalHeader();
  const QHeaderView* v = repgrid->verticalHeader();
  TableCells cells(static_cast<std::size_t>(RowCount()));
  for (int vr = 0; vr < RowCount(); ++vr) {
    const int row = vr == 0 ? 0 : v->logicalIndex(vr - 1) + 1;
    auto& out = cells[static_cast<std::size_t>(vr)];
    out.reserve(static_cast<std::size_t>(ColCount()));
    for (int vc = 0; vc < ColCount(); ++vc) {
      const int col = vc == 0 ? 0 : h->logicalIndex(vc - 1) + 1;
      out.push_back(Cell(row, col));
    }
  }
  return cells;
}

bool TTabReport::SaveToFile(const QString& path) const {
  return SaveBytes(path, CsvText());
}

QString TTabReport::HtmlTable() const {
  QString html = "<table border=1 cellspacing=0 cellpadding=2>";
  const TableCells cells = Cells();
  for (std::size_t r = 0; r < cells.size(); ++r) {
    html += "<tr>";
    for (std::size_t c = 0; c < cells[r].size(); ++c) {
      const char* tag = (r == 0 || c == 0) ? "th" : "td";
      html += QString("<%1>%2</%1>").arg(tag, Latin1(cells[r][c]).toHtmlEscaped());
    }
    html += "</tr>";
  }
  return html + "</table>";
}

bool TTabReport::ExportPdf(const QString& path) const {
  QTextDocument doc;
  doc.setHtml(HtmlTable());
  return ExportDocumentToPdf(doc, path);
}

void TTabReport::CopyToClipboard() const {
  QString text;
  for (const auto& row : Cells()) {
    QStringList fields;
    for (const auto& cell : row) fields << Latin1(cell);
    text += fields.join('\t') + '\n';
  }
  QApplication::clipboard()->setText(text);
}

void TTabReport::UpdateStatusLine() {
  const int r = repgrid->currentRow(), c = repgrid->currentColumn();
  if (r < 0 || c < 0) return;
  TableCells cells{{Cell(0, 0), Cell(0, c + 1)}, {Cell(r + 1, 0), Cell(r + 1, c + 1)}};
  statusLine->showMessage(Latin1(TableStatusText(cells, 1, 1)));
}

bool TTabReport::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == repgrid->viewport() && event->type() == QEvent::MouseButtonRelease) ||
      (watched == repgrid && event->type() == QEvent::KeyRelease))
    UpdateStatusLine();
  return TMDIChild::eventFilter(watched, event);
}

void TTabReport::Save1Click() {
  QFileDialog dialog(this, "Save", {}, "Excell comma delimited (*.csv)");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix("csv");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString path = dialog.selectedFiles().front();
  if (!SaveToFile(path)) QMessageBox::warning(this, "Save", "Cannot write file " + path);
}

void TTabReport::Print1Click() {
  QTextDocument doc;
  doc.setHtml(HtmlTable());
  PrintDocument(this, doc);
}

void TTabReport::ExportPdf1Click() {
  const QString path =
      QFileDialog::getSaveFileName(this, "Export PDF", windowTitle() + ".pdf", "PDF files (*.pdf)");
  if (path.isEmpty()) return;
  if (!ExportPdf(path)) QMessageBox::warning(this, "Export PDF", "Cannot write file " + path);
}
