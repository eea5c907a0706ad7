// SPDX-License-Identifier: GPL-3.0-or-later
// OutputFolderChoice: the folder one window's files with fixed or default names go to.
#pragma once
#include <QString>
#include <optional>
#include <string>

class QWidget;

class OutputFolderChoice {
 public:
  // The folder of projectFile when it names one; else the folder picked for this window, asked
  // for (a folder dialog titled kOutputFolderTitle) the first time only. None when the user
  // closes the dialog without a folder.
  std::optional<std::string> Folder(QWidget* parent, const QString& projectFile);
  [[nodiscard]] const QString& Picked() const { return picked_; }

 private:
  QString picked_;
};

inline constexpr const char* kOutputFolderTitle = "Choose the folder for output files";
