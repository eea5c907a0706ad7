// SPDX-License-Identifier: GPL-3.0-or-later
// The region type chooser.
#include "ui/editor/FRtypeBox.h"
#include "ui/editor/DialogButtons.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFRtypeBox::TFRtypeBox(QWidget* parent, int startIndex, bool reverse) : QDialog(parent) {
  setObjectName("FRtypeBox");
  setWindowTitle("Region type");
  auto* layout = new QVBoxLayout(this);
  cbFRtype = new QComboBox(this);
  cbFRtype->setObjectName("cbFRtype");
  for (const std::string& name : RegionTypeChooserNames())
    cbFRtype->addItem(QString::fromLatin1(name));
  cbFRtype->setCurrentIndex(startIndex >= 0 && startIndex < cbFRtype->count() ? startIndex : 0);
  layout->addWidget(cbFRtype);
  auto* strand = new QHBoxLayout;
  rbForward = new QRadioButton("Forward", this);
  rbForward->setObjectName("rbForward");
  rbReverse = new QRadioButton("reverse", this);
  rbReverse->setObjectName("rbReverse");
  (reverse ? rbReverse : rbForward)->setChecked(true);
  strand->addWidget(rbForward);
  strand->addWidget(rbReverse);
  layout->addLayout(strand);
  const OkCancelButtons buttons = AddOkCancelRow(this, layout, "Ok");
  OkButton = buttons.ok;
  CancelButton = buttons.cancel;
  connect(OkButton, &QPushButton::clicked, this, &TFRtypeBox::OkButtonClick);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TFRtypeBox::OkButtonClick() {
  result = RegionTypeChoice(cbFRtype->currentIndex(), rbReverse->isChecked());
  accept();
}

int TFRtypeBox::Choose(QWidget* parent, int startIndex, bool reverse) {
  TFRtypeBox box(parent, startIndex, reverse);
  box.exec();
  return box.Result();
}
