// SPDX-License-Identifier: GPL-3.0-or-later
// The population subdivision dialog: statistics, permutation test, bootstrap and the profiled
// statistic on the frame's pages.
#include "ui/analysis/PopSubdivDbox.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/shell/CLXMain.h"

TPopSubdivDbox::TPopSubdivDbox(TMainForm& mainForm, QWidget* parent)
    : TBaseDialogBox1(mainForm, parent) {
  setObjectName("PopSubdivDbox");
  setWindowTitle("Analyse population subdivision");
  const PopSubdivOptions d;
  const FrameOptions fd;
  // Neither the outgroup divergence block nor a plot of the profile belongs to this analysis.
  cbOgDiv->setVisible(false);
  cbPlotSW->setChecked(false);
  cbPlotSW->setVisible(false);

  auto* stats = new QGroupBox("Statistics", analysePage);
  auto* sl = new QHBoxLayout(stats);
  auto make = [&](const char* caption, const char* name, const char* hint, bool on) {
    auto* c = new QCheckBox(caption, stats);
    c->setObjectName(name);
    c->setToolTip(hint);
    c->setChecked(on);
    sl->addWidget(c);
    return c;
  };
  cbFst = make("Fst", "cbFst", "Fst statistic", d.fst);
  cbKst = make("Kst*", "cbKst", "Kst* statistic", d.kst);
  cbDst = make("Hst", "cbDst", "Hst, eq9 Jost 2008", d.hst);
  cbNm = make("Nm", "cbNm", "Gene flow", d.nm);
  cbDxy = make("Dxy", "cbDxy", "Total population divergence", d.dxy);
  cbDa = make("Da", "cbDa", "Net population divergence", d.da);
  cbSfix = make("S-fixed", "cbSfix", "Number of fixed differences", d.sFixed);
  analyseLayout->insertWidget(0, stats);

  auto* perm = new QGroupBox("Permutation test of subdivision", analysePage);
  auto* pl = new QGridLayout(perm);
  // The caption leaves a gap where the spin edit sits, as the text reads around it.
  cbperm = new QCheckBox("Do test with          permutations ", perm);
  cbperm->setObjectName("cbperm");
  cbperm->setChecked(d.permute);
  pruns = new QSpinBox(perm);
  pruns->setObjectName("pruns");
  pruns->setRange(0, 10000);
  pruns->setValue(d.permutations);
  pl->addWidget(cbperm, 0, 0, 1, 3);
  pl->addWidget(pruns, 0, 1, Qt::AlignHCenter);
  cbFixedSeed = new QCheckBox("Fixed seed:", perm);
  cbFixedSeed->setObjectName("cbFixedSeed");
  cbFixedSeed->setToolTip("Reproduce the permutations and bootstrap replicates of a run");
  seSeed = new QSpinBox(perm);
  seSeed->setObjectName("seSeed");
  seSeed->setRange(0, 2147483647);
  seSeed->setValue(1);
  seSeed->setEnabled(false);
  pl->addWidget(cbFixedSeed, 1, 0);
  pl->addWidget(seSeed, 1, 1);
  analyseLayout->insertWidget(1, perm);

  auto* boot = new QGroupBox("Bootstrap", analysePage);
  auto* bl = new QGridLayout(boot);
  // The frame's own bootstrap controls move into this box, next to the file they feed.
  cbDoBootstrap->setParent(boot);
  cbDoBootstrap->setChecked(fd.doBootstrap);
  seBSreplicates->setParent(boot);
  // At least one replicate: an interval of none has no bounds to take.
  seBSreplicates->setRange(1, 10000);
  seBSreplicates->setValue(fd.bsReplicates);
  // The statistics file of the replicates is the frame's, in its bootstrap output box.
  doCSVfile->setEnabled(true);
  csvFileName->setEnabled(true);
  doCSVfile->setToolTip({});
  doCSVfile->setChecked(d.csvFile);
  csvFileName->setText(QString::fromLatin1(d.csvFileName.c_str()));
  bl->addWidget(cbDoBootstrap, 0, 0);
  bl->addWidget(seBSreplicates, 0, 1);
  cbDoBootstrap->setVisible(true);  // reparenting hides a widget
  seBSreplicates->setVisible(true);
  analyseLayout->insertWidget(2, boot);

  cbDoSW->setText("Sliding window for:");
  auto* swl = qobject_cast<QHBoxLayout*>(cbDoSW->parentWidget()->layout());
  QWidget* swParent = cbDoSW->parentWidget();
  int at = swl->indexOf(cbDoSW) + 1;
  auto makeSw = [&](const char* caption, const char* name) {
    auto* b = new QRadioButton(caption, swParent);
    b->setObjectName(name);
    b->setEnabled(false);
    swl->insertWidget(at++, b);
    return b;
  };
  swFst = makeSw("Fst", "swFst");
  swDxy = makeSw("Dxy", "swDxy");
  swDa = makeSw("Da", "swDa");
  swSfx = makeSw("S-fixed", "swSfx");
  swFst->setChecked(true);
  cbSplit = new QCheckBox("cbSplit", swParent);
  cbSplit->setObjectName("cbSplit");
  cbSplit->setToolTip("Split the dataset at runs of unknown columns around divergent windows");
  thrsh = new QSpinBox(swParent);
  thrsh->setObjectName("thrsh");
  thrsh->setRange(1, 1000);
  thrsh->setValue(d.splitThreshold);
  swl->addWidget(cbSplit);
  swl->addWidget(thrsh);
  cbSplit->setVisible(false);
  thrsh->setVisible(false);

  connect(cbDoSW, &QCheckBox::toggled, this, [this](bool on) {
    for (QRadioButton* b : {swFst, swDxy, swDa, swSfx}) b->setEnabled(on);
  });
  connect(swSfx, &QRadioButton::toggled, this, [this](bool on) {
    cbSplit->setVisible(on);
    thrsh->setVisible(on);
    if (!on) cbSplit->setChecked(false);
  });
  connect(cbFixedSeed, &QCheckBox::toggled, seSeed, &QSpinBox::setEnabled);
}

PopSubdivOptions TPopSubdivDbox::GetSubdivOptions() const {
  PopSubdivOptions o;
  o.fst = cbFst->isChecked();
  o.kst = cbKst->isChecked();
  o.hst = cbDst->isChecked();
  o.nm = cbNm->isChecked();
  o.dxy = cbDxy->isChecked();
  o.da = cbDa->isChecked();
  o.sFixed = cbSfix->isChecked();
  o.permute = cbperm->isChecked();
  o.permutations = pruns->value();
  o.csvFile = doCSVfile->isChecked();
  o.csvFileName = csvFileName->text().toLatin1().toStdString();
  o.windowStat = swDxy->isChecked()   ? SubdivWindowStat::Dxy
                 : swDa->isChecked()  ? SubdivWindowStat::Da
                 : swSfx->isChecked() ? SubdivWindowStat::SFixed
                                      : SubdivWindowStat::Fst;
  o.split = swSfx->isChecked() && cbSplit->isChecked();
  o.splitThreshold = thrsh->value();
  if (cbFixedSeed->isChecked()) o.seed = static_cast<std::uint32_t>(seSeed->value());
  return o;
}

bool TPopSubdivDbox::WritesFiles(const FrameOptions& options) const {
  return TBaseDialogBox1::WritesFiles(options) ||
         (cbDoBootstrap->isChecked() && doCSVfile->isChecked() &&
          NeedsFolder(csvFileName->text().toLatin1().toStdString())) ||
         (options.doSW && swSfx->isChecked() && cbSplit->isChecked());
}

AnalysisOutput TPopSubdivDbox::RunAnalysis(const FrameOptions& options) {
  FrameOptions fo = options;
  fo.doBootstrap = cbDoBootstrap->isChecked();
  fo.bsReplicates = seBSreplicates->value();
  return RunPopSubdiv(*project, fo, GetSubdivOptions(), MainForm().GetServices());
}

TPopSubdivDbox* NewPopSubdivDbox(TMainForm& mainForm) {
  if (auto* open = qobject_cast<TPopSubdivDbox*>(mainForm.RaiseToolWindow(ToolKind::PopSubdivDbox)))
    return open;
  auto* dialog = new TPopSubdivDbox(mainForm);
  mainForm.RegisterToolWindow(ToolKind::PopSubdivDbox, dialog);
  return dialog;
}
