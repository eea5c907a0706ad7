// SPDX-License-Identifier: GPL-3.0-or-later
// The bootstrap replicates dialog.
#include "ui/analysis/BootstrapDbox.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "common/PlatformRandom.h"
#include "model/DataProjUnit.h"
#include "ui/shell/BusyGuard.h"
#include "ui/shell/CLXMain.h"

TBstrapDB::TBstrapDB(TMainForm& mainForm, QWidget* parent) : TBaseDialogBox(mainForm, parent) {
  setObjectName("BstrapDB");
  setWindowTitle(ToolKindCaption(ToolKind::BstrapDB));
  const BootstrapOptions d;
  QWidget* page = AddPage("Bootstrap");
  auto* layout = new QVBoxLayout(page);
  acData = new QLabel("Active dataset: ", page);
  acData->setObjectName("acData");
  layout->addWidget(acData);
  auto* form = new QFormLayout;
  repCount = new QSpinBox(page);
  repCount->setObjectName("repCount");
  repCount->setRange(1, 10000);
  repCount->setValue(d.replicates);
  form->addRow("Replicates:", repCount);
  layout->addLayout(form);
  cbDoCodons = new QCheckBox("Preserve codons in CDS/exons", page);
  cbDoCodons->setObjectName("cbDoCodons");
  cbDoCodons->setChecked(d.keepCodons);
  layout->addWidget(cbDoCodons);
  layout->addWidget(new QLabel("(i.e. bootstrap across codons)", page));
  layout->addStretch(1);
  disconnect(HelpButton, &QPushButton::clicked, this, nullptr);
  connect(HelpButton, &QPushButton::clicked, this, [this] { MainForm().Notify(kBootstrapHelp); });
}

bool TBstrapDB::InitData(TDataProj* proj) {
  if (!TBaseDialogBox::InitData(proj)) return false;
  acData->setText(
      QString::fromLatin1(("Active dataset: " + project->CurrentDatasetName()).c_str()));
  return true;
}

BootstrapOptions TBstrapDB::Options() const {
  BootstrapOptions o;
  o.replicates = repCount->value();
  o.keepCodons = cbDoCodons->isChecked();
  return o;
}

void TBstrapDB::OkButtonClick() {
  if (project == nullptr || MainForm().RefuseIfBusy()) return;
  const TDataSeq* ds = static_cast<const TDataProj*>(project)->DatasetAt(project->CurrentIndex());
  const BootstrapOptions o = Options();
  if (ds != nullptr && MainForm().AskYesNo(BootstrapQuestion(o.replicates, ds->dsName))) {
    std::unique_ptr<TDataProj> replicates;
    {
      BusyGuard busy(MainForm());
      running = true;
      PlatformRandom rng = PlatformRandom::FromClock();
      replicates = BootstrapCurDseq(*ds, o.replicates, o.keepCodons, rng, MainForm().GetServices());
      running = false;
    }
    QString caption = AtLabel->text();
    if (caption.startsWith("At: ")) caption = caption.mid(4);
    MainForm().ShowDatasetsInNewEditor(
        std::move(replicates),
        QString::fromLatin1(
            BootstrapWindowCaption(caption.toLatin1().toStdString(), ds->dsName).c_str()));
  }
  if (parentWidget() != nullptr) parentWidget()->close();
}

TBstrapDB* NewBstrapDB(TMainForm& mainForm) {
  if (auto* open = qobject_cast<TBstrapDB*>(mainForm.RaiseToolWindow(ToolKind::BstrapDB)))
    return open;
  auto* dialog = new TBstrapDB(mainForm);
  mainForm.RegisterToolWindow(ToolKind::BstrapDB, dialog);
  return dialog;
}
