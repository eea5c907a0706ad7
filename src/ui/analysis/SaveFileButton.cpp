// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/analysis/SaveFileButton.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>

QPushButton* MakeSaveFileButton(QLineEdit* box, QWidget* parent) {
  auto* button = new QPushButton("...", parent);
  button->setObjectName(box->objectName() + "Button");
  button->setToolTip("Choose the file");
  button->setMaximumWidth(32);
  QObject::connect(button, &QPushButton::clicked, box, [box] {
    QFileDialog dialog(box->window(), "Save", box->text(), "All files (*)");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
      box->setText(dialog.selectedFiles().front());
  });
  return button;
}
