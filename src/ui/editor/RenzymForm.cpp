// SPDX-License-Identifier: GPL-3.0-or-later
// The restriction enzyme window.
#include "ui/editor/RenzymForm.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/EnzymeSites.h"
#include "ui/editor/DialogButtons.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/shell/BusyGuard.h"
#include "ui/shell/CLXMain.h"

namespace {
constexpr int kColumns = 4;

QPushButton* MakeButton(QWidget* parent, const char* caption, const char* name) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  return b;
}
}  // namespace

TRenzymForm::TRenzymForm(TMainForm& mainForm, QWidget* parent) : TMDIChild(mainForm, parent) {
  setObjectName("RenzymForm");
  setWindowTitle(ToolKindCaption(ToolKind::RenzymForm));
  auto* layout = new QVBoxLayout(this);
  GroupBox1 = new QGroupBox("Choose restriction enzymes", this);
  GroupBox1->setObjectName("GroupBox1");
  auto* group = new QVBoxLayout(GroupBox1);
  auto* tools = new QHBoxLayout;
  Button1 = MakeButton(GroupBox1, "Select all", "Button1");
  Button2 = MakeButton(GroupBox1, "Unselect all", "Button2");
  Button3 = MakeButton(GroupBox1, "Invert", "Button3");
  for (QPushButton* b : {Button1, Button2, Button3}) tools->addWidget(b);
  tools->addStretch();
  group->addLayout(tools);
  // Four columns: the items flow left to right and wrap at a quarter of the list's width.
  CheckListBox1 = new QListWidget(GroupBox1);
  CheckListBox1->setObjectName("CheckListBox1");
  CheckListBox1->setFlow(QListView::LeftToRight);
  CheckListBox1->setWrapping(true);
  CheckListBox1->setResizeMode(QListView::Adjust);
  CheckListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  CheckListBox1->viewport()->installEventFilter(this);
  group->addWidget(CheckListBox1, 1);
  layout->addWidget(GroupBox1, 1);
  const OkCancelButtons buttons = AddOkCancelRow(this, layout, "Ok");
  OkButton = buttons.ok;
  CancelButton = buttons.cancel;

  // Item i stands for enzyme i of the list, in list order.
  for (const renzyme& e : mainForm.Enzymes()) {
    auto* item = new QListWidgetItem(QString::fromLatin1(e.name), CheckListBox1);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(e.selected ? Qt::Checked : Qt::Unchecked);
  }
  connect(Button1, &QPushButton::clicked, this, [this] { SetAll(Qt::Checked); });
  connect(Button2, &QPushButton::clicked, this, [this] { SetAll(Qt::Unchecked); });
  connect(Button3, &QPushButton::clicked, this, &TRenzymForm::Invert);
  connect(OkButton, &QPushButton::clicked, this, &TRenzymForm::OkButtonClick);
  connect(CancelButton, &QPushButton::clicked, this, &TRenzymForm::CancelButtonClick);
}

bool TRenzymForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == CheckListBox1->viewport() && event->type() == QEvent::Resize)
    CheckListBox1->setGridSize(
        QSize(std::max(40, (CheckListBox1->viewport()->width() - 1) / kColumns), 20));
  return TMDIChild::eventFilter(watched, event);
}

void TRenzymForm::SetAll(Qt::CheckState state) {
  for (int i = 0; i < CheckListBox1->count(); ++i) CheckListBox1->item(i)->setCheckState(state);
}

void TRenzymForm::Invert() {
  for (int i = 0; i < CheckListBox1->count(); ++i) {
    QListWidgetItem* item = CheckListBox1->item(i);
    item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
  }
}

void TRenzymForm::OkButtonClick() {
  TMainForm& main = MainForm();
  if (main.RefuseIfBusy()) return;
  std::vector<renzyme>& enzymes = main.Enzymes();
  for (int i = 0; i < CheckListBox1->count() && i < static_cast<int>(enzymes.size()); ++i)
    enzymes[static_cast<std::size_t>(i)].selected =
        CheckListBox1->item(i)->checkState() == Qt::Checked;
  // Without a current editor window the switches are stored and no dataset is touched.
  if (TSeqGridFrm* editor = AsSeqGridFrm(main.CurrentEditor()); editor != nullptr) {
    TDataProj& project = editor->GetProject();
    if (project.DatasetCount() > 0) {
      {
        BusyGuard busy(main);
        MarkRestrictionSites(*project.DatasetAt(project.CurrentIndex()), enzymes, main);
      }
      editor->UpdateAllBits();
    }
  }
  CloseWindow();
}

void TRenzymForm::CancelButtonClick() {
  CloseWindow();
}

void TRenzymForm::CloseWindow() {
  if (parentWidget() != nullptr)
    parentWidget()->close();
  else
    close();
}

TRenzymForm* NewRenzymForm(TMainForm& mainForm) {
  if (auto* open = qobject_cast<TRenzymForm*>(mainForm.RaiseToolWindow(ToolKind::RenzymForm)))
    return open;
  auto* form = new TRenzymForm(mainForm);
  mainForm.RegisterToolWindow(ToolKind::RenzymForm, form);
  form->parentWidget()->resize(620, 460);
  return form;
}

void RenzymFrmClose(TMainForm& mainForm) {
  if (QWidget* w = mainForm.ToolWindow(ToolKind::RenzymForm)) w->parentWidget()->close();
}
