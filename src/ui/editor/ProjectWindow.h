// SPDX-License-Identifier: GPL-3.0-or-later
// TProjectWindow: the least an editor window needs to hold and show an opened project until
// the full sequence editor exists: a child window owning one project, with the list of its
// datasets and a read-only view of the current dataset's sequences (name and letters per
// row). It remembers the file it was opened from and whether the project was modified.
#pragma once
#include <QString>
#include <memory>

#include "io/Dispatcher.h"
#include "model/DataProjUnit.h"
#include "ui/shell/CLXChildWin.h"

class QListWidget;
class QPlainTextEdit;

class TProjectWindow : public TMDIChild {
  Q_OBJECT
 public:
  explicit TProjectWindow(TMainForm& mainForm, QWidget* parent = nullptr);
  ~TProjectWindow() override;

  [[nodiscard]] TDataProj& Project() { return *project; }
  [[nodiscard]] OpenWindow& Target() { return *target; }  // what the dispatcher fills
  QString filePath;       // the file the window was opened from or last saved as
  bool modified = false;  // the project differs from its file

  // Shows the project's datasets and the current dataset's rows again.
  void Refresh();
  [[nodiscard]] QListWidget* DatasetList() const { return datasetList; }
  [[nodiscard]] QPlainTextEdit* SequenceView() const { return sequenceView; }

 protected:
  // A modified project asks "Save changes to <caption>?" before the window goes.
  void closeEvent(QCloseEvent* event) override;

 private:
  std::unique_ptr<TDataProj> project;
  std::unique_ptr<OpenWindow> target;
  QListWidget* datasetList = nullptr;
  QPlainTextEdit* sequenceView = nullptr;
  bool refreshing = false;
};

// The editor window shown in a main-window child, or nullptr.
TProjectWindow* AsProjectWindow(QWidget* w);
