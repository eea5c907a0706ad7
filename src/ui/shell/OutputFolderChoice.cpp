// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell/OutputFolderChoice.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

std::optional<std::string> OutputFolderChoice::Folder(QWidget* parent, const QString& projectFile) {
  if (!projectFile.isEmpty()) {
    const QFileInfo file(projectFile);
    return QDir::toNativeSeparators(file.absolutePath()).toStdString();
  }
  if (picked_.isEmpty()) {
    QFileDialog dialog(parent, kOutputFolderTitle, QDir::homePath());
    dialog.setObjectName("OutputFolderDialog");
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    picked_ = QDir::toNativeSeparators(QFileInfo(dialog.selectedFiles().front()).absoluteFilePath());
  }
  return picked_.toStdString();
}
