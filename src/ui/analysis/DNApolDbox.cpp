// SPDX-License-Identifier: GPL-3.0-or-later
// The DNA polymorphism dialog: the estimators and window profiles on the frame's pages.
#include "ui/analysis/DNApolDbox.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/shell/CLXMain.h"

TDNApolymDbox::TDNApolymDbox(TMainForm& mainForm, QWidget* parent)
    : TBaseDialogBox1(mainForm, parent) {
  setObjectName("DNApolymDbox");
  setWindowTitle("Analyse DNA polymorphism");
  if (auto* box = findChild<QGroupBox*>("RegionBox")) box->setTitle("Region");
  cbInclInd->setText("Pol.in indels");
  const DNApolymOptions d;
  auto* est = new QGroupBox("Estimators", analysePage);
  auto* el = new QHBoxLayout(est);
  auto make = [&](const char* caption, const char* name, const char* hint, bool on) {
    auto* c = new QCheckBox(caption, est);
    c->setObjectName(name);
    c->setToolTip(hint);
    c->setChecked(on);
    el->addWidget(c);
    return c;
  };
  cbPi = make("p", "cbPi", "Average heterozygosity", d.pi);
  cbVarPi = make("Var(  )", "cbVarPi", "Variance for average heterozygosity", d.varPi);
  cbTheta = make("q", "cbTheta", "Waterson theta", d.theta);
  cbVarTheta = make("Var(  )", "cbVarTheta", "Variance for theta", d.varTheta);
  QFont symbol = cbPi->font();
  symbol.setFamily("Symbol");
  cbPi->setFont(symbol);
  cbTheta->setFont(symbol);
  analyseLayout->insertWidget(0, est);
  cbDoSW->setText("Sliding window for");
  auto* swl = qobject_cast<QHBoxLayout*>(cbDoSW->parentWidget()->layout());
  auto makeSw = [&](const char* caption, const char* name, const char* hint) {
    auto* c = new QCheckBox(caption, cbDoSW->parentWidget());
    c->setObjectName(name);
    c->setToolTip(hint);
    c->setEnabled(false);
    swl->insertWidget(1 + swl->indexOf(cbDoSW), c);
    return c;
  };
  cbDoSWHd = makeSw("Hd", "cbDoSWHd", "Sliding window for haplotype diversity");
  cbDoSW_S = makeSw("S", "cbDoSW_S", "Sliding window for the number of polymorphic sites");
  cbDoSWtheta = makeSw("theta", "cbDoSWtheta", "Sliding window for theta");
  cbDoSWpi = makeSw("pi", "cbDoSWpi", "Sliding window for average heterozygosity");
  connect(cbPi, &QCheckBox::toggled, this, [this](bool on) {
    cbVarPi->setChecked(on);
    cbVarPi->setEnabled(on);
  });
  connect(cbTheta, &QCheckBox::toggled, this, [this](bool on) {
    cbVarTheta->setChecked(on);
    cbVarTheta->setEnabled(on);
  });
  connect(cbDoSW, &QCheckBox::toggled, this, [this](bool on) {
    for (QCheckBox* c : {cbDoSWpi, cbDoSWtheta, cbDoSW_S, cbDoSWHd}) {
      c->setEnabled(on);
      if (!on) c->setChecked(false);
    }
    if (on) cbDoSWpi->setChecked(true);
  });
}

DNApolymOptions TDNApolymDbox::GetPolymOptions() const {
  DNApolymOptions o;
  o.pi = cbPi->isChecked();
  o.varPi = cbVarPi->isChecked();
  o.theta = cbTheta->isChecked();
  o.varTheta = cbVarTheta->isChecked();
  o.swPi = cbDoSWpi->isChecked();
  o.swTheta = cbDoSWtheta->isChecked();
  o.swS = cbDoSW_S->isChecked();
  o.swHd = cbDoSWHd->isChecked();
  return o;
}

AnalysisOutput TDNApolymDbox::RunAnalysis(const FrameOptions& options) {
  return RunDNApolym(*project, options, GetPolymOptions(), MainForm().GetServices());
}

TDNApolymDbox* NewDNApolDbox(TMainForm& mainForm) {
  if (auto* open = qobject_cast<TDNApolymDbox*>(mainForm.RaiseToolWindow(ToolKind::DNApolymDbox)))
    return open;
  auto* dialog = new TDNApolymDbox(mainForm);
  mainForm.RegisterToolWindow(ToolKind::DNApolymDbox, dialog);
  return dialog;
}
