// SPDX-License-Identifier: GPL-3.0-or-later
// TFileTooBigForm ("File too big"): which "Max seq per dataset" records of a larger FASTA file
// to open.
#pragma once
#include <QDialog>

class QSpinBox;

class TFileTooBigForm : public QDialog {
  Q_OBJECT
 public:
  TFileTooBigForm(int recordCount, int limit, QWidget* parent = nullptr);
  [[nodiscard]] QSpinBox* StartBox() const { return SEstartPos; }

 private:
  QSpinBox* SEstartPos = nullptr;
};

// Shows the dialog: the 1-based record to start at, or 0 when it was cancelled.
int AskFastaStart(QWidget* parent, int recordCount, int limit);
