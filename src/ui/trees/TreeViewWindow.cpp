// SPDX-License-Identifier: GPL-3.0-or-later
// The tree viewer's child window and its registry slot.
#include "ui/trees/TreeViewWindow.h"

#include <QVBoxLayout>

#include "ui/shell/CLXMain.h"
#include "ui/trees/ShowTreeUnit.h"

TTreeViewWindow::TTreeViewWindow(TMainForm& mainForm, QWidget* parent)
    : TMDIChild(mainForm, parent) {
  setObjectName("TreeViewForm");
  setWindowTitle(ToolKindCaption(ToolKind::TreeViewForm));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  viewer = new TTreeViewForm(mainForm, this);
  layout->addWidget(viewer);
  resize(viewer->size());
}

TTreeViewForm* OpenTreeViewForm(TMainForm& mainForm) {
  auto* window = new TTreeViewWindow(mainForm);
  mainForm.RegisterToolWindow(ToolKind::TreeViewForm, window);
  return window->Viewer();
}

TTreeViewForm* NewTreeViewForm(TMainForm& mainForm) {
  if (auto* open = qobject_cast<TTreeViewWindow*>(mainForm.RaiseToolWindow(ToolKind::TreeViewForm)))
    return open->Viewer();
  return OpenTreeViewForm(mainForm);
}
