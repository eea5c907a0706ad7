// SPDX-License-Identifier: GPL-3.0-or-later
// Find and replace dialogs.
#include "ui/editor/FindDialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFindDialog::TFindDialog(QWidget* parent, const QString& caption, const QString& optionCaption)
    : QDialog(parent) {
  setWindowTitle(caption);
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  FindEdit = new QLineEdit(this);
  FindEdit->setObjectName("FindEdit");
  form->addRow("Find:", FindEdit);
  layout->addLayout(form);
  OptionBox = new QCheckBox(optionCaption, this);
  OptionBox->setObjectName("OptionBox");
  layout->addWidget(OptionBox);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  setMinimumWidth(320);
}

TReplaceDialog::TReplaceDialog(QWidget* parent, const QString& caption,
                               const QString& optionCaption)
    : QDialog(parent) {
  setWindowTitle(caption);
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  FindEdit = new QLineEdit(this);
  FindEdit->setObjectName("FindEdit");
  ReplaceEdit = new QLineEdit(this);
  ReplaceEdit->setObjectName("ReplaceEdit");
  form->addRow("Find:", FindEdit);
  form->addRow("Replace with:", ReplaceEdit);
  layout->addLayout(form);
  OptionBox = new QCheckBox(optionCaption, this);
  OptionBox->setObjectName("OptionBox");
  layout->addWidget(OptionBox);
  auto* buttons = new QDialogButtonBox(this);
  ReplaceButton = buttons->addButton("Replace", QDialogButtonBox::ActionRole);
  ReplaceButton->setObjectName("ReplaceButton");
  ReplaceAllButton = buttons->addButton("Replace all", QDialogButtonBox::ActionRole);
  ReplaceAllButton->setObjectName("ReplaceAllButton");
  buttons->addButton(QDialogButtonBox::Close);
  layout->addWidget(buttons);
  connect(ReplaceButton, &QPushButton::clicked, this, [this] { emit replaceRequested(false); });
  connect(ReplaceAllButton, &QPushButton::clicked, this, [this] { emit replaceRequested(true); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  setMinimumWidth(360);
}
