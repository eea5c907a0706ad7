// SPDX-License-Identifier: GPL-3.0-or-later
// TOpenSNPsFrm ("Open *.csv file with SNPs in columns as alignment of sequences"): the SNP
// file, the reference file and the columns of the SNP table; "Ok" reads it into the current
// editor window. The main window has one, so its values are kept between uses.
#pragma once
#include <QDialog>

#include "io/SnpTableOptions.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TMainForm;

class TOpenSNPsFrm : public QDialog {
  Q_OBJECT
 public:
  explicit TOpenSNPsFrm(TMainForm& mainForm);

  QLineEdit* SNPfile = nullptr;   // "File with SNPs:"
  QLineEdit* FileEdit = nullptr;  // "File with reference sequence:"
  QPushButton* FileButton = nullptr;
  QCheckBox* HasHeaders = nullptr;
  QSpinBox* ColSqNames = nullptr;
  QSpinBox* ColSNPos = nullptr;
  QSpinBox* ColWT = nullptr;
  QSpinBox* ColSNP = nullptr;
  QSpinBox* PosOffset = nullptr;
  QPushButton* OkButton = nullptr;
  QPushButton* CancelButton = nullptr;

  [[nodiscard]] SnpTableOptions Options() const;
  // Reads the table into the current editor window (when there is one), refreshes it and
  // closes the dialog.
  void OkButtonClick();

 private:
  TMainForm& mainForm;
};

// The main window's dialog, made on first use.
TOpenSNPsFrm& OpenSNPsForm(TMainForm& mainForm);
// Shows it (modal) with its SNP file box set to path.
void ShowOpenSNPsForm(TMainForm& mainForm, const QString& path);
