// SPDX-License-Identifier: GPL-3.0-or-later
// TOpen80gForm ("Open file with seq in columns"): which lines and tab-separated fields of a
// file to read as sequences, into the window and/or a FASTA file beside it. The values stay
// as they were left for the next use.
#pragma once
#include <QDialog>
#include <string>

#include "common/Services.h"
#include "io/MultiLocusFormats.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
struct OpenWindow;

class TOpen80gForm : public QDialog {
  Q_OBJECT
 public:
  // Reads into target, reporting through services; starts with the values of the last use.
  TOpen80gForm(Services& services, OpenWindow& target, QWidget* parent = nullptr);

  QLineEdit* FileEdit = nullptr;
  QCheckBox* cbOpenInEditor = nullptr;
  QCheckBox* cbSaveAsFasta = nullptr;
  QSpinBox* ReadFrom = nullptr;
  QSpinBox* ReadTo = nullptr;
  QSpinBox* ColFrom = nullptr;
  QSpinBox* ColTo = nullptr;
  QPlainTextEdit* Memo = nullptr;
  QPushButton* OkButton = nullptr;
  QPushButton* CancelButton = nullptr;

  // Reads the file named in FileEdit; the dialog closes when the file could be opened.
  void OkButtonClick();
  [[nodiscard]] ColumnsRead Values() const;

 private:
  Services& services_;
  OpenWindow& target_;
};

// Shows the dialog for path; true when "Ok" read the file.
bool ShowOpenColumnsDialog(QWidget* parent, Services& services, OpenWindow& target,
                           const std::string& path);
