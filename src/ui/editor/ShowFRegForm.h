// SPDX-License-Identifier: GPL-3.0-or-later
// TShowFRegForm ("Show functional regions"): which region kinds an editor window draws in its
// grid (page "On sequence grid") and in its trace view (page "On plot sequence box"). A tool
// window with its own registry slot: opening it again brings the open one to the front.
#pragma once
#include <QPointer>
#include <vector>

#include "ui/shell/CLXChildWin.h"

class QListWidget;
class QPushButton;
class QTabWidget;
class TSeqGridFrm;

class TShowFRegForm : public TMDIChild {
  Q_OBJECT
 public:
  explicit TShowFRegForm(TMainForm& mainForm, QWidget* parent = nullptr);

  // The window whose lists are shown and written; the ticks are refilled when it changes.
  void SetEditor(TSeqGridFrm& editor);
  [[nodiscard]] TSeqGridFrm* Editor() const { return editor.data(); }

  QTabWidget* PageControl = nullptr;
  QListWidget* GridKinds = nullptr;   // "On sequence grid"
  QListWidget* TraceKinds = nullptr;  // "On plot sequence box"
  QPushButton* OkButton = nullptr;
  QPushButton* CancelButton = nullptr;
  void OkButtonClick();

 private:
  QPointer<TSeqGridFrm> editor;
  void Fill();
  void CloseWindow();
};

// The open window (to the front, now for `editor`) or a new one in the registry slot.
TShowFRegForm* NewShowFRegForm(TMainForm& mainForm, TSeqGridFrm& editor);
void ShowFRegFormClose(TMainForm& mainForm);
