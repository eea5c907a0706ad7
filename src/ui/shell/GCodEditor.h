// SPDX-License-Identifier: GPL-3.0-or-later
// TGCodEditor: the "Genetic code editor" dialog over the code table grid functions.
#pragma once
#include <QDialog>

#include "model/GenCodeTable.h"

class QComboBox;
class QTableWidget;
class TGenCode;

class TGCodEditor : public QDialog {
  Q_OBJECT
 public:
  explicit TGCodEditor(QWidget* parent = nullptr);

  // Fills the grid from `code` and shows the dialog modally; Ok rebuilds `code` in place.
  // tableId: the NCBI number the code was loaded from (0: a table of its own).
  int Execute(TGenCode& code, int tableId = 0);
  // Fills the grid from `code` (a code without entries keeps the grid) and remembers it.
  void Open(TGenCode& code, int tableId = 0);

  [[nodiscard]] CodeGrid Grid() const;  // header row included
  void SetGrid(const CodeGrid& grid);
  [[nodiscard]] QTableWidget* Codgrid() const { return codgrid; }

  void AddColumn();
  void AddRow();
  // The comma-separated code table; false (grid untouched when loading) on a file error.
  bool SaveTable(const QString& path);
  bool LoadTable(const QString& path);

  void Button1Click();  // "Ok": applies the grid to the remembered code and closes

  // "Standard code:": the NCBI tables; choosing one loads it into the grid in one step.
  [[nodiscard]] QComboBox* StandardCodes() const { return cbStandardCode; }
  // The NCBI number of the table the grid holds; 0 once a cell was edited by hand.
  [[nodiscard]] int ChosenTable() const;
  void ChooseTable(int ncbiId);

 private:
  void SaveButtonClick();
  void LoadButtonClick();
  void FitColumns();
  void CommitEdit();

  QTableWidget* codgrid = nullptr;
  QComboBox* cbStandardCode = nullptr;
  TGenCode* code = nullptr;
  bool filling = false;  // the grid is being filled, not edited
};
