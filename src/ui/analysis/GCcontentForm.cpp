// SPDX-License-Identifier: GPL-3.0-or-later
// The composition dialog: the five parts of the report on the frame's pages.
#include "ui/analysis/GCcontentForm.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/shell/CLXMain.h"

namespace {
constexpr const char* kNotComputed = "Not computed by this analysis";
}

TGCContentForm::TGCContentForm(TMainForm& mainForm, QWidget* parent)
    : TBaseDialogBox1(mainForm, parent) {
  setObjectName("GCContentForm");
  setWindowTitle("Composition analysis");
  const CompositionOptions d;
  auto* parts = new QGroupBox("Report", analysePage);
  auto* pl = new QVBoxLayout(parts);
  auto make = [&](QWidget* box, const char* caption, const char* name, bool on) {
    auto* c = new QCheckBox(caption, box);
    c->setObjectName(name);
    c->setChecked(on);
    return c;
  };
  cbGCmut = make(parts, "Number of mutations affecting GC%", "cbGCmut", d.gcMutations);
  cbNnuc = make(parts, "Counts of nucleotides", "cbNnuc", d.nucleotides);
  cbGCstat = make(parts, "GC%-stationarity (Eyre-Walker 1994)", "cbGCstat", d.gcStationarity);
  cbNpair = make(parts, "Counts of nucleotide pairs", "cbNpair", d.pairs);
  cbCpG = make(parts, "Mutations in CpG", "cbCpG", d.cpg);
  for (QCheckBox* c : {cbGCmut, cbNnuc, cbGCstat, cbNpair, cbCpG}) pl->addWidget(c);
  analyseLayout->insertWidget(0, parts);

  auto* outgroup = new QGroupBox("Outgroup", analysePage);
  auto* ol = new QHBoxLayout(outgroup);
  cbExcludeOutg = make(outgroup, "Excluded", "cbExcludeOutg", false);
  ol->addWidget(cbExcludeOutg);
  analyseLayout->insertWidget(1, outgroup);

  // The frame's window profile has no statistic here: its boxes are shown but not offered.
  cbDoSW->setText("Sliding window for");
  auto* swl = qobject_cast<QHBoxLayout*>(cbDoSW->parentWidget()->layout());
  cbSW_CpG = make(cbDoSW->parentWidget(), "CpG #", "cbSW_CpG", false);
  cbSW_GC = make(cbDoSW->parentWidget(), "GC%", "cbSW_GC", false);
  for (QCheckBox* c : {cbSW_CpG, cbSW_GC}) swl->insertWidget(1 + swl->indexOf(cbDoSW), c);
  for (QCheckBox* c : {cbDoSW, cbSW_GC, cbSW_CpG, cbExcludeOutg}) {
    c->setChecked(false);
    c->setEnabled(false);
    c->setToolTip(kNotComputed);
  }
}

CompositionOptions TGCContentForm::GetCompositionOptions() const {
  CompositionOptions o;
  o.gcMutations = cbGCmut->isChecked();
  o.nucleotides = cbNnuc->isChecked();
  o.gcStationarity = cbGCstat->isChecked();
  o.pairs = cbNpair->isChecked();
  o.cpg = cbCpG->isChecked();
  return o;
}

AnalysisOutput TGCContentForm::RunAnalysis(const FrameOptions& options) {
  return RunComposition(*project, options, GetCompositionOptions(), MainForm().GetServices());
}

TGCContentForm* NewGCContentForm(TMainForm& mainForm) {
  if (auto* open = qobject_cast<TGCContentForm*>(mainForm.RaiseToolWindow(ToolKind::GCContentForm)))
    return open;
  auto* dialog = new TGCContentForm(mainForm);
  mainForm.RegisterToolWindow(ToolKind::GCContentForm, dialog);
  return dialog;
}
