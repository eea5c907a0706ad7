// SPDX-License-Identifier: GPL-3.0-or-later
// OpenFolderDialog: the "Open folder" dialog of "Open files from folder..." (folder and mask).
#pragma once
#include <QDialog>

class QLineEdit;

class OpenFolderDialog : public QDialog {
  Q_OBJECT
 public:
  explicit OpenFolderDialog(QWidget* parent = nullptr);
  [[nodiscard]] QLineEdit* FolderEdit() const { return folderEdit; }
  [[nodiscard]] QLineEdit* FilterEdit() const { return filterEdit; }

 private:
  QLineEdit* folderEdit = nullptr;
  QLineEdit* filterEdit = nullptr;
};
