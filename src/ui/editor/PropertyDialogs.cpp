// SPDX-License-Identifier: GPL-3.0-or-later
// Dataset properties, project properties and the datasets list.
#include "ui/editor/PropertyDialogs.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <limits>
#include <utility>

#include "editor/DatasetList.h"
#include "editor/PropertyCommands.h"
#include "ui/editor/DialogButtons.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/shell/CLXMain.h"

namespace {

QString Text(const std::string& s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

std::string Latin1(const QLineEdit* edit) {
  return edit->text().toLatin1().toStdString();
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const std::string& text) {
  auto* edit = new QLineEdit(Text(text), parent);
  edit->setObjectName(name);
  return edit;
}

}  // namespace

bool HasCurrentDataset(TSeqGridFrm& editor) {
  const TDataProj& p = editor.GetProject();
  return p.DatasetCount() > 0 && p.CurrentIndex() >= 0 && p.CurrentIndex() < p.DatasetCount();
}

TDatasetPropFrm::TDatasetPropFrm(TSeqGridFrm& editor, QWidget* parent)
    : QDialog(parent != nullptr ? parent : &editor), editor(editor) {
  setObjectName("DatasetPropFrm");
  setWindowTitle("Dataset properties");
  TDataProj& project = editor.GetProject();
  datasetIndex = HasCurrentDataset(editor) ? project.CurrentIndex() : -1;
  DatasetProperties p;
  if (datasetIndex >= 0) p = ReadDatasetProperties(*project.DatasetAt(datasetIndex));

  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  dsNameEdit = MakeEdit(this, "dsNameEdit", p.name);
  form->addRow("Dataset name:", dsNameEdit);
  dsComment = MakeEdit(this, "dsComment", p.comment);
  form->addRow("Comment:", dsComment);
  chrN = new QSpinBox(this);
  chrN->setObjectName("chrN");
  chrN->setRange(-2, 10000);
  chrN->setValue(p.chromosome);
  auto* chromosome = new QHBoxLayout;
  chromosome->addWidget(chrN);
  for (const char* note : {"(use -1 for X,", "-2 for Y;", "0=unknown)"})
    chromosome->addWidget(new QLabel(note, this));
  form->addRow("Chromosome number:", chromosome);
  chrPos = new QSpinBox(this);
  chrPos->setObjectName("chrPos");
  chrPos->setRange(0, std::numeric_limits<int>::max());
  chrPos->setValue(p.genePosition);
  form->addRow("Gene position:", chrPos);
  cbSelected = new QCheckBox("selected", this);
  cbSelected->setObjectName("cbSelected");
  cbSelected->setChecked(p.selected);
  form->addRow(cbSelected);
  layout->addLayout(form);
  const OkCancelButtons buttons = AddOkCancelRow(this, layout);
  OkButton = buttons.ok;
  CancelButton = buttons.cancel;
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(OkButton, &QPushButton::clicked, this, &TDatasetPropFrm::OkButtonClick);
}

void TDatasetPropFrm::OkButtonClick() {
  DatasetProperties p;
  p.name = Latin1(dsNameEdit);
  p.comment = Latin1(dsComment);
  p.chromosome = chrN->value();
  p.genePosition = chrPos->value();
  p.selected = cbSelected->isChecked();
  if (ApplyDatasetProperties(editor.GetProject(), datasetIndex, p)) editor.SetModified(true);
  editor.UpdateAllBits();
  accept();
}

TDProjProperties::TDProjProperties(TSeqGridFrm& editor, QWidget* parent)
    : QDialog(parent != nullptr ? parent : &editor), editor(editor) {
  setObjectName("DProjProperties");
  setWindowTitle("Project properties");
  const TDataProj& project = editor.GetProject();
  const ProjectProperties p = ReadProjectProperties(project);
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  prNameEdit = MakeEdit(this, "prNameEdit", p.name);
  form->addRow("Project name:", prNameEdit);
  prComment = MakeEdit(this, "prComment", p.comment);
  form->addRow("Comment:", prComment);
  Edit1 = MakeEdit(this, "Edit1", p.file);
  FileButton = new QToolButton(this);
  FileButton->setObjectName("FileButton");
  FileButton->setText("...");
  connect(FileButton, &QToolButton::clicked, this, [this] {
    const QString path = QFileDialog::getOpenFileName(this, "Project file", Edit1->text());
    if (!path.isEmpty()) Edit1->setText(path);
  });
  auto* file = new QHBoxLayout;
  file->addWidget(Edit1);
  file->addWidget(FileButton);
  form->addRow("Project file:", file);
  layout->addLayout(form);
  auto* group = new QGroupBox("Project contains:", this);
  group->setObjectName("ContentsGroup");
  auto* lines = new QVBoxLayout(group);
  for (const std::string& line : ProjectContentsLines(project)) {
    contents.push_back(new QLabel(Text(line), group));
    lines->addWidget(contents.back());
  }
  layout->addWidget(group);
  const OkCancelButtons buttons = AddOkCancelRow(this, layout);
  OkButton = buttons.ok;
  CancelButton = buttons.cancel;
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(OkButton, &QPushButton::clicked, this, &TDProjProperties::OkButtonClick);
  setMinimumWidth(420);
}

void TDProjProperties::OkButtonClick() {
  if (ApplyProjectProperties(editor.GetProject(),
                             {Latin1(prNameEdit), Latin1(prComment), Latin1(Edit1)}))
    editor.SetModified(true);
  editor.UpdateAllBits();
  accept();
}

TDatasetsForm::TDatasetsForm(TSeqGridFrm& editor, QWidget* parent)
    : QDialog(parent != nullptr ? parent : &editor), editor(editor) {
  setObjectName("DatasetsForm");
  setWindowTitle("Datasets");
  auto* layout = new QVBoxLayout(this);
  auto* tools = new QToolBar(this);
  tools->setObjectName("ToolBar1");
  layout->addWidget(tools);
  // The hints say what each button does: "Select all datasets" ticks, "Unselect all datasets"
  // unticks.
  const auto change = [this](void (*op)(std::vector<bool>&)) {
    std::vector<bool> ticks = Ticks();
    op(ticks);
    SetTicks(ticks);
  };
  tbSelectAll = AddTool("All", "tbSelectAll", "Select all datasets");
  connect(tbSelectAll, &QToolButton::clicked, this, [change] { change(TickAll); });
  tbUnselectAll = AddTool("None", "tbUnselectAll", "Unselect all datasets");
  connect(tbUnselectAll, &QToolButton::clicked, this, [change] { change(UntickAll); });
  tbInvSel = AddTool("Invert", "tbInvSel", "Invert selection");
  connect(tbInvSel, &QToolButton::clicked, this, [change] { change(InvertTicks); });
  tbDelete = AddTool("Delete", "tbDelete", "Delete selected datasets");
  connect(tbDelete, &QToolButton::clicked, this, &TDatasetsForm::tbDeleteClick);
  tbSelToEnd = AddTool("To end", "tbSelToEnd", "Select all from current to the end");
  connect(tbSelToEnd, &QToolButton::clicked, this, [this] {
    std::vector<bool> ticks = Ticks();
    TickToEnd(ticks, clbDatasets->currentRow());
    SetTicks(ticks);
  });
  tbSelToStart = AddTool("To start", "tbSelToStart", "Select all from current to the beginning");
  connect(tbSelToStart, &QToolButton::clicked, this, [this] {
    std::vector<bool> ticks = Ticks();
    TickToStart(ticks, clbDatasets->currentRow());
    SetTicks(ticks);
  });
  for (QToolButton* b : {tbSelectAll, tbUnselectAll, tbInvSel, tbDelete, tbSelToEnd, tbSelToStart})
    tools->addWidget(b);

  clbDatasets = new QListWidget(this);
  clbDatasets->setObjectName("clbDatasets");
  layout->addWidget(clbDatasets, 1);
  const OkCancelButtons buttons = AddOkCancelRow(this, layout, "Ok");
  OkButton = buttons.ok;
  CancelButton = buttons.cancel;
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(OkButton, &QPushButton::clicked, this, &TDatasetsForm::OkButtonClick);
  Fill();
  resize(360, 420);
}

QToolButton* TDatasetsForm::AddTool(const char* caption, const char* name, const char* hint) {
  auto* button = new QToolButton(this);
  button->setObjectName(name);
  button->setText(caption);
  button->setToolTip(hint);
  return button;
}

void TDatasetsForm::Fill() {
  clbDatasets->clear();
  const TDataProj& project = editor.GetProject();
  for (int i = 0; i < project.DatasetCount(); ++i) {
    auto* item = new QListWidgetItem(Text(project.DatasetAt(i)->dsName), clbDatasets);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
  }
  SetTicks(DatasetTicks(project));
}

std::vector<bool> TDatasetsForm::Ticks() const {
  std::vector<bool> ticks;
  for (int i = 0; i < clbDatasets->count(); ++i)
    ticks.push_back(clbDatasets->item(i)->checkState() == Qt::Checked);
  return ticks;
}

void TDatasetsForm::SetTicks(const std::vector<bool>& ticks) {
  for (int i = 0; i < clbDatasets->count() && i < static_cast<int>(ticks.size()); ++i)
    clbDatasets->item(i)->setCheckState(ticks[static_cast<std::size_t>(i)] ? Qt::Checked
                                                                           : Qt::Unchecked);
}

void TDatasetsForm::tbDeleteClick() {
  if (DeleteTickedDatasets(editor.GetProject(), Ticks(), editor.MainForm()) == 0) return;
  editor.SetModified(true);
  Fill();
  editor.UpdateAllBits();
}

void TDatasetsForm::OkButtonClick() {
  if (WriteDatasetTicks(editor.GetProject(), Ticks())) editor.SetModified(true);
  editor.UpdateAllBits();
  accept();
}
