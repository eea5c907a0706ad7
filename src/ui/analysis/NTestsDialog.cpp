// SPDX-License-Identifier: GPL-3.0-or-later
// The neutrality tests dialog: the tests and their window profiles on the frame's pages.
#include "ui/analysis/NTestsDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "common/PlatformRandom.h"
#include "model/DataProjUnit.h"

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
  cbSFS->setToolTip(
      "Spectra of every dataset compared with their sum (SFS_folded.out, "
      "SFS_unfolded.out)");
  cbMLHKA->setToolTip("The ML-HKA test through the outside MLHKA program");
  for (QCheckBox* c : {cbSFS, cbMLHKA}) al->addWidget(c);
  analyseLayout->insertWidget(1, across);

  QWidget* hka = AddPage("HKA");
  auto* hl = new QVBoxLayout(hka);
  auto* mode = new QGroupBox("Datasets to test", hka);
  auto* ml = new QHBoxLayout(mode);
  rbMLHKcurrent = new QRadioButton("Current dataset only or", mode);
  rbMLHKcurrent->setObjectName("rbMLHKcurrent");
  rbMLHKcurrent->setChecked(true);
  rbHKAall = new QRadioButton("each of the selected in 'Use datasets' (one-by-one)", mode);
  rbHKAall->setObjectName("rbHKAall");
  ml->addWidget(rbMLHKcurrent);
  ml->addWidget(rbHKAall);
  auto* run = new QGroupBox("Run", hka);
  auto* rl = new QHBoxLayout(run);
  auto spin = [&](QWidget* box, const char* name, int lo, int hi, int value) {
    auto* e = new QSpinBox(box);
    e->setObjectName(name);
    e->setRange(lo, hi);
    e->setValue(value);
    return e;
  };
  const MLHKAOptions hd;
  seSeed = spin(run, "seSeed", 0, 10000000, hd.seed);
  seChain = spin(run, "seChain", 0, 100000000, hd.chain);
  rl->addWidget(new QLabel("Seed:", run));
  rl->addWidget(seSeed);
  rl->addWidget(new QLabel("Chain length:", run));
  rl->addWidget(seChain);
  auto* refs = new QGroupBox("Reference (supposedly neutral) datasets (max 99 checked)", hka);
  auto* fl = new QVBoxLayout(refs);
  dsqlist = new QListWidget(refs);
  dsqlist->setObjectName("dsqlist");
  fl->addWidget(dsqlist);
  auto* buttons = new QHBoxLayout();
  Button2 = new QPushButton("Uncheck all", refs);
  Button2->setObjectName("Button2");
  Button3 = new QPushButton("Check", refs);
  Button3->setObjectName("Button3");
  seNumDS = spin(refs, "seNumDS", 1, kMaxHKAReferences, 10);
  buttons->addWidget(Button2);
  buttons->addWidget(Button3);
  buttons->addWidget(seNumDS);
  buttons->addWidget(new QLabel("random datasets", refs));
  buttons->addStretch();
  fl->addLayout(buttons);
  for (QWidget* w :
       {static_cast<QWidget*>(mode), static_cast<QWidget*>(run), static_cast<QWidget*>(refs)}) {
    hl->addWidget(w);
    w->setEnabled(false);
    hkaGroups_.push_back(w);
  }
  connect(cbMLHKA, &QCheckBox::toggled, this, &TNTestsDialog::MLHKAToggled);
  connect(Button2, &QPushButton::clicked, this, [this] {
    for (int i = 0; i < dsqlist->count(); ++i) dsqlist->item(i)->setCheckState(Qt::Unchecked);
  });
  connect(Button3, &QPushButton::clicked, this, &TNTestsDialog::CheckRandomReferences);
  connect(dsqlist, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    if (checking_ || item->checkState() != Qt::Checked) return;
    int checked = 0;
    for (int i = 0; i < dsqlist->count(); ++i)
      checked += dsqlist->item(i)->checkState() == Qt::Checked ? 1 : 0;
    if (checked <= kMaxHKAReferences) return;
    checking_ = true;
    item->setCheckState(Qt::Unchecked);
    checking_ = false;
    MainForm().Notify("Max number of checked datasets = 99");
  });

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
  o.sfs = cbSFS->isChecked();
  o.atLabel = AtLabel->text().toStdString();
  o.mlhka.run = cbMLHKA->isChecked();
  o.mlhka.currentOnly = rbMLHKcurrent->isChecked();
  o.mlhka.seed = seSeed->value();
  o.mlhka.chain = seChain->value();
  for (int i = 0; i < dsqlist->count(); ++i)
    if (dsqlist->item(i)->checkState() == Qt::Checked)
      o.mlhka.references.push_back(dsqlist->item(i)->text().toStdString());
  return o;
}

void TNTestsDialog::FillReferenceList() {
  checking_ = true;
  dsqlist->clear();
  if (project != nullptr)
    for (const std::string& name : HKAReferenceCandidates(*project)) {
      auto* item = new QListWidgetItem(QString::fromStdString(name), dsqlist);
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      item->setCheckState(dsqlist->count() <= seNumDS->value() ? Qt::Checked : Qt::Unchecked);
    }
  checking_ = false;
  if (dsqlist->count() > 0) seNumDS->setValue(std::min(seNumDS->value(), dsqlist->count()));
}

void TNTestsDialog::CheckRandomReferences() {
  PlatformRandom rng = PlatformRandom::FromClock();
  checking_ = true;
  for (int i = 0; i < dsqlist->count(); ++i) dsqlist->item(i)->setCheckState(Qt::Unchecked);
  std::vector<int> left(static_cast<std::size_t>(dsqlist->count()));
  for (int i = 0; i < dsqlist->count(); ++i) left[static_cast<std::size_t>(i)] = i;
  for (int k = 0; k < seNumDS->value() && !left.empty(); ++k) {
    const int pick = rng.NextInt(static_cast<int>(left.size()));
    dsqlist->item(left[static_cast<std::size_t>(pick)])->setCheckState(Qt::Checked);
    left.erase(left.begin() + pick);
  }
  checking_ = false;
}

void TNTestsDialog::MLHKAToggled(bool on) {
  for (QWidget* w : hkaGroups_) w->setEnabled(on);
  if (!on) return;
  PlatformRandom rng = PlatformRandom::FromClock();
  seSeed->setValue(rng.NextInt(10000000));
  seChain->setValue(1000);
  FillReferenceList();
}

bool TNTestsDialog::WritesFiles(const FrameOptions& options) const {
  return TBaseDialogBox1::WritesFiles(options) || cbSFS->isChecked() || cbMLHKA->isChecked();
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
