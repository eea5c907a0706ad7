// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog of the tab-separated column reader.
#include "ui/editor/Open80gForm.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "io/Dispatcher.h"
#include "ui/editor/DialogButtons.h"

namespace {

// What the dialog held when it was last confirmed.
ColumnsRead& LastValues() {
  static ColumnsRead values;
  return values;
}

QSpinBox* Spin(QWidget* owner, const char* name, int value) {
  auto* box = new QSpinBox(owner);
  box->setObjectName(name);
  box->setRange(1, 1000000000);
  box->setValue(value);
  return box;
}

constexpr const char* kExample =
    "One sequence per column, one site per line, columns separated by tabs. "
    "A file of two sequences:\n"
    "A\tA\nC\tT\nG\tG\nZ\tD\n"
    "Z is read as N and D as a gap. Each column becomes a sequence named col + its number.";

}  // namespace

TOpen80gForm::TOpen80gForm(Services& services, OpenWindow& target, QWidget* parent)
    : QDialog(parent), services_(services), target_(target) {
  setObjectName("TOpen80gForm");
  setWindowTitle("Open file with seq in columns");
  const ColumnsRead& last = LastValues();
  auto* layout = new QVBoxLayout(this);
  FileEdit = new QLineEdit(this);
  FileEdit->setObjectName("FileEdit");
  FileEdit->setPlaceholderText("Enter file name...");
  layout->addWidget(FileEdit);
  cbOpenInEditor = new QCheckBox("Open in Nodrix", this);
  cbOpenInEditor->setObjectName("cbOpenInEditor");
  cbOpenInEditor->setChecked(last.openInEditor);
  cbSaveAsFasta = new QCheckBox("Save as fasta file(s)", this);
  cbSaveAsFasta->setObjectName("cbSaveAsFasta");
  cbSaveAsFasta->setChecked(last.saveAsFasta);
  layout->addWidget(cbOpenInEditor);
  layout->addWidget(cbSaveAsFasta);
  auto* ranges = new QGridLayout;
  ReadFrom = Spin(this, "ReadFrom", last.readFrom);
  ReadTo = Spin(this, "ReadTo", last.readTo);
  ColFrom = Spin(this, "ColFrom", last.colFrom);
  ColTo = Spin(this, "ColTo", last.colTo);
  ranges->addWidget(new QLabel("Read lines:", this), 0, 0);
  ranges->addWidget(ReadFrom, 0, 1);
  ranges->addWidget(ReadTo, 0, 2);
  ranges->addWidget(new QLabel("Read columns:", this), 1, 0);
  ranges->addWidget(ColFrom, 1, 1);
  ranges->addWidget(ColTo, 1, 2);
  layout->addLayout(ranges);
  Memo = new QPlainTextEdit(kExample, this);
  Memo->setObjectName("Memo");
  Memo->setReadOnly(true);
  layout->addWidget(Memo);
  const OkCancelButtons buttons = AddOkCancelRow(this, layout, "Ok");
  OkButton = buttons.ok;
  CancelButton = buttons.cancel;
  connect(OkButton, &QPushButton::clicked, this, [this] { OkButtonClick(); });
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

ColumnsRead TOpen80gForm::Values() const {
  ColumnsRead v;
  v.openInEditor = cbOpenInEditor->isChecked();
  v.saveAsFasta = cbSaveAsFasta->isChecked();
  v.readFrom = ReadFrom->value();
  v.readTo = ReadTo->value();
  v.colFrom = ColFrom->value();
  v.colTo = ColTo->value();
  return v;
}

void TOpen80gForm::OkButtonClick() {
  LastValues() = Values();
  if (OpenColumns(FileEdit->text().toStdString(), target_, LastValues(), services_)) accept();
}

bool ShowOpenColumnsDialog(QWidget* parent, Services& services, OpenWindow& target,
                           const std::string& path) {
  TOpen80gForm dialog(services, target, parent);
  dialog.FileEdit->setText(QString::fromStdString(path));
  return dialog.exec() == QDialog::Accepted;
}
