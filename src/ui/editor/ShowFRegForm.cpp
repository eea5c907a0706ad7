// SPDX-License-Identifier: GPL-3.0-or-later
// The region kinds shown in an editor window's grid and trace view.
#include "ui/editor/ShowFRegForm.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "editor/ShownRegionKinds.h"
#include "ui/editor/DialogButtons.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/grid/QChromBox.h"
#include "ui/grid/QSeqGrid3.h"
#include "ui/shell/CLXMain.h"

namespace {

QListWidget* MakeKindList(QWidget* parent, const char* name) {
  auto* list = new QListWidget(parent);
  list->setObjectName(name);
  return list;
}

void FillKindList(QListWidget* list, const std::vector<RegionDisplayEntry>& display) {
  list->clear();
  const std::vector<bool> ticks = ShownKindTicks(display);
  const std::vector<std::string> names = ShownKindNames(display);
  for (std::size_t i = 0; i < names.size(); ++i) {
    auto* item = new QListWidgetItem(QString::fromLatin1(names[i]), list);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(ticks[i] ? Qt::Checked : Qt::Unchecked);
  }
}

std::vector<bool> TicksOf(const QListWidget* list) {
  std::vector<bool> ticks;
  for (int i = 0; i < list->count(); ++i)
    ticks.push_back(list->item(i)->checkState() == Qt::Checked);
  return ticks;
}

}  // namespace

TShowFRegForm::TShowFRegForm(TMainForm& mainForm, QWidget* parent) : TMDIChild(mainForm, parent) {
  setObjectName("ShowFRegForm");
  setWindowTitle(ToolKindCaption(ToolKind::ShowFRegForm));
  auto* layout = new QVBoxLayout(this);
  PageControl = new QTabWidget(this);
  PageControl->setObjectName("PageControl1");
  GridKinds = MakeKindList(PageControl, "GridKinds");
  TraceKinds = MakeKindList(PageControl, "TraceKinds");
  PageControl->addTab(GridKinds, "On sequence grid");
  PageControl->addTab(TraceKinds, "On plot sequence box");
  layout->addWidget(PageControl, 1);
  const OkCancelButtons buttons = AddOkCancelRow(this, layout, "Ok");
  OkButton = buttons.ok;
  CancelButton = buttons.cancel;
  connect(OkButton, &QPushButton::clicked, this, &TShowFRegForm::OkButtonClick);
  connect(CancelButton, &QPushButton::clicked, this, &TShowFRegForm::CloseWindow);
}

void TShowFRegForm::SetEditor(TSeqGridFrm& target) {
  if (editor == &target) return;
  editor = &target;
  Fill();
}

void TShowFRegForm::Fill() {
  if (editor.isNull()) return;
  FillKindList(GridKinds, editor->SeqGrid->regionDisplay);
  FillKindList(TraceKinds, editor->ChromBox->regionDisplay);
}

void TShowFRegForm::OkButtonClick() {
  if (!editor.isNull()) {
    if (ApplyShownKinds(editor->GetProject(), editor->SeqGrid->regionDisplay, TicksOf(GridKinds),
                        editor->ChromBox->regionDisplay, TicksOf(TraceKinds)) > 0)
      editor->SetModified(true);
    editor->UpdateAllBits();
  }
  CloseWindow();
}

void TShowFRegForm::CloseWindow() {
  if (parentWidget() != nullptr)
    parentWidget()->close();
  else
    close();
}

TShowFRegForm* NewShowFRegForm(TMainForm& mainForm, TSeqGridFrm& editor) {
  auto* form = qobject_cast<TShowFRegForm*>(mainForm.RaiseToolWindow(ToolKind::ShowFRegForm));
  if (form == nullptr) {
    form = new TShowFRegForm(mainForm);
    mainForm.RegisterToolWindow(ToolKind::ShowFRegForm, form);
    form->parentWidget()->resize(380, 480);
  }
  form->SetEditor(editor);
  return form;
}

void ShowFRegFormClose(TMainForm& mainForm) {
  if (auto* form = qobject_cast<TShowFRegForm*>(mainForm.ToolWindow(ToolKind::ShowFRegForm)))
    form->parentWidget()->close();
}
