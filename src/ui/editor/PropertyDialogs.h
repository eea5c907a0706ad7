// SPDX-License-Identifier: GPL-3.0-or-later
// The small modal dialogs of the editor window over its current dataset and project:
// TDatasetPropFrm ("Dataset properties"), TDProjProperties ("Project properties") and
// TDatasetsForm ("Datasets", the list of datasets with their selection). "OK"/"Ok" writes and
// renews the window; "Cancel" leaves the project as it was.
#pragma once
#include <QDialog>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QToolButton;
class TSeqGridFrm;

class TDatasetPropFrm : public QDialog {
  Q_OBJECT
 public:
  // For the current dataset; the window must have one (see HasCurrentDataset).
  explicit TDatasetPropFrm(TSeqGridFrm& editor, QWidget* parent = nullptr);
  QLineEdit* dsNameEdit = nullptr;
  QLineEdit* dsComment = nullptr;
  QSpinBox* chrN = nullptr;
  QSpinBox* chrPos = nullptr;
  QCheckBox* cbSelected = nullptr;
  QPushButton* OkButton = nullptr;
  QPushButton* CancelButton = nullptr;
  void OkButtonClick();

 private:
  TSeqGridFrm& editor;
  int datasetIndex = -1;
};

class TDProjProperties : public QDialog {
  Q_OBJECT
 public:
  explicit TDProjProperties(TSeqGridFrm& editor, QWidget* parent = nullptr);
  QLineEdit* prNameEdit = nullptr;
  QLineEdit* prComment = nullptr;
  QLineEdit* Edit1 = nullptr;  // "Project file:"
  QToolButton* FileButton = nullptr;
  std::vector<QLabel*> contents;  // "Datasets: ", "Individuals: ", "Groups: ", "Sequences: "
  QPushButton* OkButton = nullptr;
  QPushButton* CancelButton = nullptr;
  void OkButtonClick();

 private:
  TSeqGridFrm& editor;
};

class TDatasetsForm : public QDialog {
  Q_OBJECT
 public:
  explicit TDatasetsForm(TSeqGridFrm& editor, QWidget* parent = nullptr);
  QListWidget* clbDatasets = nullptr;
  QToolButton* tbUnselectAll = nullptr;
  QToolButton* tbSelectAll = nullptr;
  QToolButton* tbInvSel = nullptr;
  QToolButton* tbDelete = nullptr;
  QToolButton* tbSelToEnd = nullptr;
  QToolButton* tbSelToStart = nullptr;
  QPushButton* OkButton = nullptr;
  QPushButton* CancelButton = nullptr;
  void OkButtonClick();
  void tbDeleteClick();
  [[nodiscard]] std::vector<bool> Ticks() const;

 private:
  TSeqGridFrm& editor;
  void Fill();
  void SetTicks(const std::vector<bool>& ticks);
  QToolButton* AddTool(const char* caption, const char* name, const char* hint);
};

// The editor window has a current dataset (the dialogs show nothing otherwise).
bool HasCurrentDataset(TSeqGridFrm& editor);
