// SPDX-License-Identifier: GPL-3.0-or-later
// TGCodEditor: the "Genetic code editor" dialog over the code table grid functions.
#pragma once
#include <QDialog>

#include "model/GenCodeTable.h"

class QTableWidget;
class TGenCode;

class TGCodEditor : public QDialog {
  Q_OBJECT
 public:
  explicit TGCodEditor(QWidget* parent = nullptr);

  // Fills the grid from `code` and shows the dialog modally; Ok rebuilds `code` in place.
  int Execute(TGenCode& code);
  // Fills the grid from `code` (a code without entries keeps the grid) and remembers it.
  void Open(TGenCode& code);

  [[nodiscard]] CodeGrid Grid() const;  // header row included
  void SetGrid(const CodeGrid& grid);
  [[nodiscard]] QTableWidget* Codgrid() const { return codgrid; }

  void AddColumn();
  void AddRow();
  // The comma-separated code table; false (grid untouched when loading) on a file error.
  bool SaveTable(const QString& path);
  bool LoadTable(const QString& path);

  void Button1Click();  // "Ok": applies the grid to the remembered code and closes

 private:
  void SaveButtonClick();
  void LoadButtonClick();
  void FitColumns();
  void CommitEdit();

  QTableWidget* codgrid = nullptr;
  TGenCode* code = nullptr;
};
