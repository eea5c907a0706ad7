// SPDX-License-Identifier: GPL-3.0-or-later
// The "File too big" dialog of the FASTA reader.
#include "ui/editor/FileTooBigDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

TFileTooBigForm::TFileTooBigForm(int recordCount, int limit, QWidget* parent) : QDialog(parent) {
  setObjectName("TFileTooBigForm");
  setWindowTitle("File too big");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QString("File contains %1 sequences").arg(recordCount), this));
  layout->addWidget(new QLabel(QString("Open %1 sequences").arg(limit), this));
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel("starting at sequence", this));
  SEstartPos = new QSpinBox(this);
  SEstartPos->setObjectName("SEstartPos");
  SEstartPos->setRange(1, 1000000000);
  SEstartPos->setValue(1);
  row->addWidget(SEstartPos);
  layout->addLayout(row);
  layout->addWidget(new QLabel("Note: max number of seq can be changed", this));
  layout->addWidget(new QLabel("using menu \"Options / Max seq per alignment\"", this));
  // Cancel is more than the classic dialog offered: it opens nothing rather than forcing a cut.
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

int AskFastaStart(QWidget* parent, int recordCount, int limit) {
  TFileTooBigForm dialog(recordCount, limit, parent);
  return dialog.exec() == QDialog::Accepted ? dialog.StartBox()->value() : 0;
}
