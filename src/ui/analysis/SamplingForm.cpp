// SPDX-License-Identifier: GPL-3.0-or-later
// The sub-sample dialog.
#include "ui/analysis/SamplingForm.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "model/DataProjUnit.h"
#include "ui/shell/BusyGuard.h"
#include "ui/shell/CLXMain.h"
#include "ui/viewers/RepUnit.h"

namespace {

template <typename T>
T* Named(T* w, const char* name) {
  w->setObjectName(name);
  return w;
}

QSpinBox* Spin(const char* name, int lo, int hi, int value, QWidget* parent) {
  auto* s = Named(new QSpinBox(parent), name);
  s->setRange(lo, hi);
  s->setValue(value);
  return s;
}

}  // namespace

TDataSamplingForm::TDataSamplingForm(TMainForm& mainForm, QWidget* parent)
    : TBaseDialogBox2(mainForm, true, parent) {
  setObjectName("DataSamplingForm");
  setWindowTitle(ToolKindCaption(ToolKind::DataSamplingForm));
  const SamplingOptions d;
  QWidget* page = AddPage("Parameters");
  auto* layout = new QVBoxLayout(page);
  auto* sample = new QGroupBox("Sample", page);
  auto* form = new QFormLayout(sample);
  rbAll = Named(new QRadioButton("From the entire dataset", sample), "rbAll");
  rbPop = Named(new QRadioButton("From each population", sample), "rbPop");
  rbAll->setChecked(!d.perPopulation);
  rbPop->setChecked(d.perPopulation);
  form->addRow(rbAll);
  form->addRow(rbPop);
  SampSizeEdit = Spin("SampSizeEdit", 1, 30000, d.sampleSize, sample);
  RunsEdit = Spin("RunsEdit", 1, 1000000, d.samples, sample);
  form->addRow("Number of sequences", SampSizeEdit);
  form->addRow("Number of samples", RunsEdit);
  cbRepeatedSamp = Named(new QCheckBox("Same seq sampled only once", sample), "cbRepeatedSamp");
  cbRepeatedSamp->setChecked(d.noRepeats);
  form->addRow(cbRepeatedSamp);
  form->addRow(new QLabel("in a subsample (no repeats)", sample));
  cbAddOG = Named(new QCheckBox("Add outgroup to each sample", sample), "cbAddOG");
  cbAddOG->setChecked(d.addOutgroup);
  form->addRow(cbAddOG);
  RSeedEdit = Spin("RSeedEdit", 0, 100000000, d.seed, sample);
  form->addRow("Random seed", RSeedEdit);
  layout->addWidget(sample);
  layout->addStretch(1);
}

SamplingOptions TDataSamplingForm::Options() const {
  SamplingOptions o;
  o.perPopulation = rbPop->isChecked();
  o.sampleSize = SampSizeEdit->value();
  o.samples = RunsEdit->value();
  o.noRepeats = cbRepeatedSamp->isChecked();
  o.addOutgroup = cbAddOG->isChecked();
  o.seed = RSeedEdit->value();
  return o;
}

void TDataSamplingForm::OkButtonClick() {
  if (project == nullptr || MainForm().RefuseIfBusy()) return;
  SamplingResult result;
  {
    BusyGuard busy(MainForm());
    running = true;
    result = RunSampling(*project, Options(), MainForm().GetServices());
    running = false;
  }
  for (SamplingWindow& w : result.windows)
    MainForm().ShowDatasetsInNewEditor(std::move(w.project),
                                       QString::fromLatin1(w.caption.c_str()));
  lastReport = result.report;
  TRepForm* rep = MainForm().NewRepForm();
  rep->SetText(result.report);
  if (parentWidget() != nullptr) parentWidget()->close();
}

TDataSamplingForm* NewDataSamplingForm(TMainForm& mainForm) {
  if (auto* open =
          qobject_cast<TDataSamplingForm*>(mainForm.RaiseToolWindow(ToolKind::DataSamplingForm)))
    return open;
  auto* dialog = new TDataSamplingForm(mainForm);
  mainForm.RegisterToolWindow(ToolKind::DataSamplingForm, dialog);
  return dialog;
}
