// SPDX-License-Identifier: GPL-3.0-or-later
// The value prompt.
#include "ui/shell/ValuePrompt.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

ValuePrompt::ValuePrompt(QWidget* parent, const QString& caption, const QString& label, int value,
                         int minimum, int maximum)
    : QDialog(parent) {
  setObjectName("ValuePrompt");
  setWindowTitle(caption);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(label, this));
  numberBox = new QSpinBox(this);
  numberBox->setRange(minimum, maximum);
  numberBox->setValue(value);
  numberBox->setGroupSeparatorShown(false);
  layout->addWidget(numberBox);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

std::optional<int> ValuePrompt::Ask(QWidget* parent, const QString& caption, const QString& label,
                                    int value, int minimum, int maximum) {
  ValuePrompt prompt(parent, caption, label, value, minimum, maximum);
  if (prompt.exec() != QDialog::Accepted) return std::nullopt;
  return prompt.NumberBox()->value();
}
