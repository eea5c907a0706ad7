// SPDX-License-Identifier: GPL-3.0-or-later
// The tree viewer as a child window of the main window, and the commands that open it.
#pragma once
#include "ui/shell/CLXChildWin.h"

class TTreeViewForm;

// A child window holding one tree viewer; the viewer's questions and errors go to the main
// window.
class TTreeViewWindow : public TMDIChild {
  Q_OBJECT
 public:
  explicit TTreeViewWindow(TMainForm& mainForm, QWidget* parent = nullptr);
  [[nodiscard]] TTreeViewForm* Viewer() const { return viewer; }

 private:
  TTreeViewForm* viewer = nullptr;
};

// "&Tree viewer...": the open viewer of the main window (activated), or a new one.
TTreeViewForm* NewTreeViewForm(TMainForm& mainForm);
// A new viewer that becomes the main window's registered one (an analysis shows its trees in
// a window of their own).
TTreeViewForm* OpenTreeViewForm(TMainForm& mainForm);
