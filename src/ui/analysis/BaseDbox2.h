// SPDX-License-Identifier: GPL-3.0-or-later
// TBaseDialogBox2: a tool dialog with the project tree left of its pages. The tree either lets
// the user tick datasets and groups (the site filter) or only displays them (sub-samples).
#pragma once
#include "ui/analysis/BaseDbox.h"

class TBaseDialogBox2 : public TBaseDialogBox {
  Q_OBJECT
 public:
  TBaseDialogBox2(TMainForm& mainForm, bool treeDisplaysOnly, QWidget* parent = nullptr);
  bool InitData(TDataProj* project) override;
  // The greatest alignment length of the project's datasets (at least 1).
  [[nodiscard]] int LongestDataset() const;
  // The caption of the editor window the dialog was opened for.
  [[nodiscard]] QString SourceCaption() const;

  TProjectTree* ProjectTree = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool displayOnly;
};
