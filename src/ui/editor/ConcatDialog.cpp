// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editor/ConcatDialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QToolButton>
#include <QVBoxLayout>
#include <set>

#include "model/DataProjUnit.h"
#include "ui/shell/BusyGuard.h"
#include "ui/shell/CLXMain.h"

namespace {

QString Latin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QToolButton* ToolButton(const QString& text, const char* name, const QString& hint, QWidget* parent,
                        QHBoxLayout* row) {
  auto* b = new QToolButton(parent);
  b->setText(text);
  b->setObjectName(name);
  b->setToolTip(hint);
  row->addWidget(b);
  return b;
}

enum class Tick { All, None, Invert };

void TickItems(QListWidget* list, Tick how) {
  for (int i = 0; i < list->count(); ++i) {
    QListWidgetItem* item = list->item(i);
    const bool on = how == Tick::All || (how == Tick::Invert && item->checkState() != Qt::Checked);
    item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
  }
}

QListWidgetItem* CheckItem(QListWidget* list, const QString& text, bool ticked) {
  auto* item = new QListWidgetItem(text, list);
  item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
  item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
  return item;
}

std::vector<std::string> Ticked(const QListWidget* list) {
  std::vector<std::string> out;
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->checkState() == Qt::Checked)
      out.push_back(list->item(i)->text().toLatin1().toStdString());
  return out;
}

}  // namespace

TConcatDialog::TConcatDialog(TMainForm& mainForm, QWidget* parent)
    : TBaseDialogBox(mainForm, parent) {
  setObjectName("ConcatDialog");
  setWindowTitle(ToolKindCaption(ToolKind::ConcatDialog));
  QWidget* page = AddPage("Analyse");
  auto* columns = new QHBoxLayout(page);

  auto* order = new QGroupBox("Concatenation order", page);
  auto* orderLayout = new QVBoxLayout(order);
  datasetslist = new QListWidget(order);
  datasetslist->setObjectName("datasetslist");
  orderLayout->addWidget(datasetslist, 1);
  auto* dsButtons = new QHBoxLayout;
  tbSelAllds = ToolButton("All", "tbSelAllds", "Select all datasets", order, dsButtons);
  tbUnSelAllds = ToolButton("None", "tbUnSelAllds", "Unselect all datasets", order, dsButtons);
  tbInvSelDS = ToolButton("Inv", "tbInvSelDS", "Invert selection", order, dsButtons);
  tbUp = ToolButton("Up", "tbUp", "Move the dataset up", order, dsButtons);
  tbDown = ToolButton("Down", "tbDown", "Move the dataset down", order, dsButtons);
  tbUp->setArrowType(Qt::UpArrow);
  tbDown->setArrowType(Qt::DownArrow);
  dsButtons->addStretch(1);
  orderLayout->addLayout(dsButtons);
  cbRevComp = new QCheckBox("Rev/compl. seq. according\nto F/R and +/- seq.params", order);
  cbRevComp->setObjectName("cbRevComp");
  orderLayout->addWidget(cbRevComp);
  columns->addWidget(order, 1);

  auto* include = new QGroupBox("Include individuals", page);
  auto* includeLayout = new QVBoxLayout(include);
  clIndivids = new QListWidget(include);
  clIndivids->setObjectName("clIndivids");
  includeLayout->addWidget(clIndivids, 1);
  auto* indButtons = new QHBoxLayout;
  tbSelAllIndivids =
      ToolButton("All", "tbSelAllIndivids", "Select all individuals", include, indButtons);
  tbUnSelAllIndivids =
      ToolButton("None", "tbUnSelAllIndivids", "Unselect all individuals", include, indButtons);
  tbInvSelIndivids = ToolButton("Inv", "tbInvSelIndivids", "Invert selection", include, indButtons);
  indButtons->addStretch(1);
  includeLayout->addLayout(indButtons);
  cbExIMG = new QCheckBox("Exclude individs\nwith missing genes", include);
  cbExIMG->setObjectName("cbExIMG");
  includeLayout->addWidget(cbExIMG);
  cbSNPs = new QCheckBox("SNP data", include);
  cbSNPs->setObjectName("cbSNPs");
  cbSNPs->setEnabled(false);
  cbSNPs->setToolTip("Has no effect: SNP datasets are joined like any other");
  includeLayout->addWidget(cbSNPs);
  columns->addWidget(include, 1);

  const auto ticker = [this](QListWidget* list, Tick how, const char* question) {
    return [this, list, how, question] {
      if (MainForm().AskYesNo(question)) TickItems(list, how);
    };
  };
  connect(tbSelAllds, &QToolButton::clicked, this,
          ticker(datasetslist, Tick::All, "Select all datasets?"));
  connect(tbUnSelAllds, &QToolButton::clicked, this,
          ticker(datasetslist, Tick::None, "Unselect all datasets?"));
  connect(tbInvSelDS, &QToolButton::clicked, this,
          ticker(datasetslist, Tick::Invert, "Invert selection?"));
  connect(tbSelAllIndivids, &QToolButton::clicked, this,
          ticker(clIndivids, Tick::All, "Select all individuals?"));
  connect(tbUnSelAllIndivids, &QToolButton::clicked, this,
          ticker(clIndivids, Tick::None, "Unselect all individuals?"));
  connect(tbInvSelIndivids, &QToolButton::clicked, this,
          ticker(clIndivids, Tick::Invert, "Invert selection?"));
  connect(tbUp, &QToolButton::clicked, this, [this] { MoveHighlighted(-1); });
  connect(tbDown, &QToolButton::clicked, this, [this] { MoveHighlighted(1); });
  connect(datasetslist, &QListWidget::currentRowChanged, this,
          &TConcatDialog::DatasetHighlighted);
  resize(560, 420);
}

bool TConcatDialog::InitData(TDataProj* proj) {
  if (!TBaseDialogBox::InitData(proj)) return false;
  clIndivids->clear();
  for (const TIndivid& ind : project->Individs())
    CheckItem(clIndivids, Latin1(ind.indName), ind.indEnabled);
  datasetslist->clear();
  FillDatasets(project->CurrentIndex());
  return true;
}

void TConcatDialog::FillDatasets(int current) {
  std::set<QString> unticked;
  for (int i = 0; i < datasetslist->count(); ++i)
    if (datasetslist->item(i)->checkState() != Qt::Checked)
      unticked.insert(datasetslist->item(i)->text());
  const QSignalBlocker quiet(datasetslist);
  datasetslist->clear();
  std::set<QString> listed;
  for (int d = 0; d < project->DatasetCount(); ++d) {
    const QString name = Latin1(project->DatasetAt(d)->dsName);
    if (!listed.insert(name).second) continue;
    CheckItem(datasetslist, name, unticked.count(name) == 0);
  }
  datasetslist->setCurrentRow(current);
  UpdateStatus();
}

void TConcatDialog::DatasetHighlighted(int row) {
  if (project == nullptr || row < 0) return;
  const int index = project->IndexByName(datasetslist->item(row)->text().toLatin1().toStdString());
  if (index >= 0) project->SetCurrent(index);
  UpdateStatus();
}

void TConcatDialog::MoveHighlighted(int step) {
  const int row = datasetslist->currentRow();
  if (project == nullptr || row < 0 || row + step < 0 || row + step >= project->DatasetCount())
    return;
  if (!project->SwapDatasets(row, row + step)) return;
  FillDatasets(row + step);
  emit projectEdited();
}

ConcatOptions TConcatDialog::Options() const {
  ConcatOptions o;
  o.individuals = Ticked(clIndivids);
  o.datasets = Ticked(datasetslist);
  o.revComp = cbRevComp->isChecked();
  o.excludeMissing = cbExIMG->isChecked();
  return o;
}

void TConcatDialog::OkButtonClick() {
  if (project == nullptr || MainForm().RefuseIfBusy()) return;
  std::unique_ptr<TDataProj> joined;
  {
    BusyGuard busy(MainForm());
    joined = ConcatenateDatasets(*project, Options());
  }
  QString at = AtLabel->text();
  if (at.startsWith("At: ")) at = at.mid(4);
  MainForm().ShowDatasetsInNewEditor(std::move(joined), kConcatWindowPrefix + at);
  if (parentWidget() != nullptr) parentWidget()->close();
}

TConcatDialog* NewConcatDialog(TMainForm& mainForm) {
  if (auto* open = qobject_cast<TConcatDialog*>(mainForm.ToolWindow(ToolKind::ConcatDialog))) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(open->parentWidget())) sub->showNormal();
    return open;
  }
  auto* dialog = new TConcatDialog(mainForm);
  mainForm.RegisterToolWindow(ToolKind::ConcatDialog, dialog);
  return dialog;
}
