// SPDX-License-Identifier: GPL-3.0-or-later
// The "Open folder" dialog.
#include "ui/shell/OpenFolderDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

OpenFolderDialog::OpenFolderDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("OpenFolderDialog");
  setWindowTitle("Open folder");
  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel("Open FASTA files from folder:", this), 0, 0, 1, 2);
#ifdef Q_OS_WIN
  folderEdit = new QLineEdit("c:\\", this);
#else
  folderEdit = new QLineEdit(QDir::homePath(), this);
#endif
  auto* browse = new QPushButton("...", this);
  browse->setMaximumWidth(32);
  layout->addWidget(folderEdit, 1, 0);
  layout->addWidget(browse, 1, 1);
  layout->addWidget(new QLabel("Filter:", this), 2, 0, 1, 2);
  filterEdit = new QLineEdit("*.fasta", this);
  layout->addWidget(filterEdit, 3, 0, 1, 2);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  layout->addWidget(buttons, 4, 0, 1, 2);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(browse, &QPushButton::clicked, this, [this] {
    const QString chosen =
        QFileDialog::getExistingDirectory(this, "Open folder", folderEdit->text());
    if (!chosen.isEmpty()) folderEdit->setText(chosen);
  });
  resize(420, sizeHint().height());
}
