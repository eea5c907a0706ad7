// SPDX-License-Identifier: GPL-3.0-or-later
// TTabReport: the table report window. Row 0 and column 0 of the table are its fixed headers;
// rows and columns can be moved by dragging their headers, and the table is saved in the order
// shown.
#pragma once
#include <QString>
#include <string>

#include "common/ReportText.h"
#include "ui/shell/CLXChildWin.h"

class QLabel;
class QStatusBar;
class QTableWidget;

class TTabReport : public TMDIChild {
  Q_OBJECT
 public:
  explicit TTabReport(TMainForm& mainForm, QWidget* parent = nullptr);

  [[nodiscard]] QTableWidget* Repgrid() const { return repgrid; }
  [[nodiscard]] QStatusBar* StatusLine() const { return statusLine; }

  // Counts include the header row and column; at least 1 each.
  void SetSize(int rows, int cols);
  [[nodiscard]] int RowCount() const;
  [[nodiscard]] int ColCount() const;
  // (row, col) in the table's own numbering, headers at 0; bad cells are ignored / give "".
  void SetCell(int row, int col, const std::string& text);
  [[nodiscard]] std::string Cell(int row, int col) const;

  // Every cell in the order shown (after any dragging), headers included.
  [[nodiscard]] TableCells Cells() const;
  [[nodiscard]] std::string CsvText() const { return TableToCsv(Cells()); }
  // false (old file kept) when the file cannot be written.
  bool SaveToFile(const QString& path) const;
  bool ExportPdf(const QString& path) const;
  // Tab-separated rows of the whole table, for pasting into a spreadsheet.
  void CopyToClipboard() const;
  // Shows "row header : column header = value" for the current cell.
  void UpdateStatusLine();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Save1Click();
  void Print1Click();
  void ExportPdf1Click();
  [[nodiscard]] QString HtmlTable() const;

  QTableWidget* repgrid = nullptr;
  QStatusBar* statusLine = nullptr;
  QLabel* cornerLabel = nullptr;
  std::string cornerText;
};
