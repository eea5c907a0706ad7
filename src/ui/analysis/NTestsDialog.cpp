// SPDX-License-Identifier: GPL-3.0-or-later
// The neutrality tests dialog: the tests and their window profiles on the frame's pages.
#include "ui/analysis/NTestsDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/shell/CLXMain.h"

TNTestsDialog::TNTestsDialog(TMainForm& mainForm, QWidget* parent)
    : TBaseDialogBox1(mainForm, parent) {
  setObjectName("NTestsDialog");
  setWindowTitle("Neutrality tests");
  rbUseAllDS->setText("checked");
  if (auto* box = findChild<QGroupBox*>("BootstrapBox")) box->setVisible(true);
  const NeutralityChoices d;

  auto* tests = new QGroupBox("Tests", analysePage);
  auto* tl = new QGridLayout(tests);
  auto make = [&](QGroupBox* box, const char* caption, const char* name, bool on) {
    auto* c = new QCheckBox(caption, box);
    c->setObjectName(name);
    c->setChecked(on);
    return c;
  };
  cbTajD = make(tests, "D Tajima(1989)", "cbTajD", d.tajimaD);
  cbFuLiDstar = make(tests, "D*", "cbFuLiDstar", d.fuLiDstar);
  cbFuLiFstar = make(tests, "F*", "cbFuLiFstar", d.fuLiFstar);
  cbFuLiDog = make(tests, "D(outgr)Fu&&Li(1993)", "cbFuLiDog", d.fuLiDoutgroup);
  cbWallB = make(tests, "B", "cbWallB", d.wallB);
  cbWallQ = make(tests, "Q  Wall(1998)", "cbWallQ", d.wallQ);
  cbZnS = make(tests, "ZnS  Kelly(1997)", "cbZnS", d.kellyZnS);
  tl->addWidget(cbTajD, 0, 0, 1, 3);
  tl->addWidget(cbFuLiDstar, 1, 0);
  tl->addWidget(cbFuLiFstar, 1, 1);
  tl->addWidget(cbFuLiDog, 1, 2);
  tl->addWidget(cbWallB, 2, 0);
  tl->addWidget(cbWallQ, 2, 1);
  tl->addWidget(cbZnS, 2, 2);
  analyseLayout->insertWidget(0, tests);

  auto* across = new QGroupBox("Across datasets", analysePage);
  auto* al = new QHBoxLayout(across);
  cbSFS = make(across, "Site frequency spectrum", "cbSFS", false);
  cbMLHKA = make(across, "ML-HKA", "cbMLHKA", false);
  for (QCheckBox* c : {cbSFS, cbMLHKA}) {
    c->setEnabled(false);
    c->setToolTip("Not available yet");
    al->addWidget(c);
  }
  analyseLayout->insertWidget(1, across);

  cbDoSW->setText("Sliding window:");
  auto* swl = qobject_cast<QHBoxLayout*>(cbDoSW->parentWidget()->layout());
  cbSwZnS = make(qobject_cast<QGroupBox*>(cbDoSW->parentWidget()), "ZnS", "cbSwZnS", false);
  cbSWTajD = make(qobject_cast<QGroupBox*>(cbDoSW->parentWidget()), "Tajima D", "cbSWTajD", false);
  for (QCheckBox* c : {cbSwZnS, cbSWTajD}) {
    c->setEnabled(false);
    swl->insertWidget(1 + swl->indexOf(cbDoSW), c);
  }
  connect(cbDoSW, &QCheckBox::toggled, this, [this](bool on) {
    for (QCheckBox* c : {cbSWTajD, cbSwZnS}) {
      c->setEnabled(on);
      if (!on) c->setChecked(false);
    }
  });
}

NeutralityRunOptions TNTestsDialog::GetNeutralityOptions() const {
  NeutralityRunOptions o;
  o.tests.tajimaD = cbTajD->isChecked();
  o.tests.fuLiDstar = cbFuLiDstar->isChecked();
  o.tests.fuLiFstar = cbFuLiFstar->isChecked();
  o.tests.fuLiDoutgroup = cbFuLiDog->isChecked();
  o.tests.wallB = cbWallB->isChecked();
  o.tests.wallQ = cbWallQ->isChecked();
  o.tests.kellyZnS = cbZnS->isChecked();
  o.swTajimaD = cbSWTajD->isChecked();
  o.swZnS = cbSwZnS->isChecked();
  return o;
}

AnalysisOutput TNTestsDialog::RunAnalysis(const FrameOptions& options) {
  return RunNeutrality(*project, options, GetNeutralityOptions(), MainForm().GetServices());
}

TNTestsDialog* NewNTestsDialog(TMainForm& mainForm) {
  if (auto* open = qobject_cast<TNTestsDialog*>(mainForm.RaiseToolWindow(ToolKind::NTestsDialog)))
    return open;
  auto* dialog = new TNTestsDialog(mainForm);
  mainForm.RegisterToolWindow(ToolKind::NTestsDialog, dialog);
  return dialog;
}
