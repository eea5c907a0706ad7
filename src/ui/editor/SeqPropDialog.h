// SPDX-License-Identifier: GPL-3.0-or-later
// TSeqPropDialog: "Sequence properties" of the current row of an editor window, with the page
// "Attributes" and the page "Functional regions" (a table over a working copy of the regions).
// "OK" writes both pages and renews the window; "Cancel" leaves the project as it was,
// individuals asked for with "New" included.
#pragma once
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "editor/PropertyCommands.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableView;
class QTabWidget;
class QToolButton;
class RegionGridModel;
class TSeqGridFrm;

class TSeqPropDialog : public QDialog {
  Q_OBJECT
 public:
  // The editor window must have a current row (see CanShowSeqProperties).
  explicit TSeqPropDialog(TSeqGridFrm& editor, QWidget* parent = nullptr);

  // Page "Attributes".
  QLineEdit* SeqNameEdit = nullptr;
  QComboBox* SeqTypeCB = nullptr;
  QLineEdit* AccNEdit = nullptr;
  QCheckBox* cbEnabled = nullptr;
  QCheckBox* cbSelected = nullptr;
  QCheckBox* cbPlus = nullptr;
  QCheckBox* cbShowFReg = nullptr;
  QCheckBox* cbShowChrom = nullptr;
  QCheckBox* cbForw = nullptr;
  QSpinBox* seSeqPloidy = nullptr;
  QLineEdit* CommEdit = nullptr;
  QLineEdit* SrcFileEdit = nullptr;
  QToolButton* SrcFileButton = nullptr;
  QLineEdit* OrganismEdit = nullptr;
  QLineEdit* LocNameEdit = nullptr;
  QLineEdit* DefEdit = nullptr;
  QComboBox* cbIndivid = nullptr;
  QPushButton* Button3 = nullptr;  // "New"
  QCheckBox* cIsOutgr = nullptr;
  QSpinBox* sePQL = nullptr;
  QSpinBox* sePQR = nullptr;
  // Page "Functional regions".
  QTableView* FRgrid = nullptr;
  QPushButton* AddButton = nullptr;
  QPushButton* RemoveButton = nullptr;
  QPushButton* ChangeTypeButton = nullptr;
  QComboBox* FRfilter = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  QTabWidget* PageControl = nullptr;
  QPushButton* OkButton = nullptr;
  QPushButton* CancelButton = nullptr;

  [[nodiscard]] RegionGridModel& RegionModel() const { return *model; }
  // How "Change type" asks for the type: the chooser by default (tests answer directly).
  std::function<int(int startIndex, bool reverse)> chooseType;

  void OkButtonClick();
  void Button3Click();
  void AddClick();
  void RemoveClick();
  void ChangeTypeClick();

 private:
  TSeqGridFrm& editor;
  int datasetIndex = -1;
  int row = 0;
  std::vector<std::string> newIndividuals;  // asked for with "New", added on "OK"
  RegionGridModel* model = nullptr;

  QWidget* BuildAttributesPage();
  QWidget* BuildRegionsPage(const TSeq& seq);
  void ShowAttributes(const SeqProperties& p, const TSeq& seq);
  [[nodiscard]] SeqProperties TakeAttributes() const;
  void ExplainCell();
};

// The editor window has a current dataset with a current row.
bool CanShowSeqProperties(TSeqGridFrm& editor);
