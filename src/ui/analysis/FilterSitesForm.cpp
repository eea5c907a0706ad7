// SPDX-License-Identifier: GPL-3.0-or-later
// The site filter dialog.
#include "ui/analysis/FilterSitesForm.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "model/DataProjUnit.h"
#include "ui/shell/BusyGuard.h"
#include "ui/shell/CLXMain.h"

namespace {

template <typename T>
T* Named(T* w, const char* name) {
  w->setObjectName(name);
  return w;
}

}  // namespace

TFilterSitesForm::TFilterSitesForm(TMainForm& mainForm, QWidget* parent)
    : TBaseDialogBox2(mainForm, false, parent) {
  setObjectName("FilterSitesForm");
  setWindowTitle(ToolKindCaption(ToolKind::FilterSitesForm));
  const FilterSitesOptions d;
  QWidget* page = AddPage("Parameters");
  auto* layout = new QVBoxLayout(page);

  auto* region = new QGroupBox("Region to analyse", page);
  auto* rl = new QHBoxLayout(region);
  rbFullLength = Named(new QRadioButton("Full length", region), "rbFullLength");
  rbOnlyReg = Named(new QRadioButton("Region:", region), "rbOnlyReg");
  RegFrom = Named(new QSpinBox(region), "RegFrom");
  RegTo = Named(new QSpinBox(region), "RegTo");
  for (QSpinBox* s : {RegFrom, RegTo}) {
    s->setRange(0, 1);
    s->setValue(1);
    s->setEnabled(false);
  }
  rbFullLength->setChecked(!d.onlyRegion);
  rl->addWidget(rbFullLength);
  rl->addWidget(rbOnlyReg);
  rl->addWidget(new QLabel("From", region));
  rl->addWidget(RegFrom);
  rl->addWidget(new QLabel("To", region));
  rl->addWidget(RegTo);
  layout->addWidget(region);

  auto* sites = new QGroupBox("Site type", page);
  auto* sl = new QVBoxLayout(sites);
  cbSilent = Named(new QCheckBox("Noncoding", sites), "cbSilent");
  cbSilent->setChecked(d.noncoding);
  sl->addWidget(cbSilent);
  auto* coding = new QGroupBox("Coding", sites);
  auto* cl = new QGridLayout(coding);
  cbNonSilent = Named(new QRadioButton("Codon pos.:", coding), "cbNonSilent");
  cb1st = Named(new QCheckBox("1", coding), "cb1st");
  cb2nd = Named(new QCheckBox("2", coding), "cb2nd");
  cb3rd = Named(new QCheckBox("3", coding), "cb3rd");
  cbDegenerate = Named(new QRadioButton("Degenerate:", coding), "cbDegenerate");
  cbNonDeg = Named(new QCheckBox("1", coding), "cbNonDeg");
  cbDeg2 = Named(new QCheckBox("2", coding), "cbDeg2");
  cbDeg3 = Named(new QCheckBox("3", coding), "cbDeg3");
  cbDeg4 = Named(new QCheckBox("4", coding), "cbDeg4");
  cl->addWidget(cbNonSilent, 0, 0);
  int col = 1;
  for (QCheckBox* c : {cb1st, cb2nd, cb3rd}) cl->addWidget(c, 0, col++);
  cl->addWidget(cbDegenerate, 1, 0);
  col = 1;
  for (QCheckBox* c : {cbNonDeg, cbDeg2, cbDeg3, cbDeg4}) cl->addWidget(c, 1, col++);
  cbNonSilent->setChecked(d.codonPositions);
  cbDegenerate->setChecked(!d.codonPositions);
  sl->addWidget(coding);
  layout->addWidget(sites);
  CodingChoiceChanged(true);

  auto* indels = new QGroupBox("Indels/gaps", page);
  auto* il = new QHBoxLayout(indels);
  rbRemoveIndels = Named(new QRadioButton("Remove", indels), "rbRemoveIndels");
  rbInclIndels = Named(new QRadioButton("Include", indels), "rbInclIndels");
  rbRemoveIndels->setChecked(d.removeIndels);
  rbInclIndels->setChecked(!d.removeIndels);
  il->addWidget(rbRemoveIndels);
  il->addWidget(rbInclIndels);
  auto* ambig = new QGroupBox("Ambigous sites/missing data", page);
  auto* al = new QHBoxLayout(ambig);
  cbRemoveAmbig = Named(new QRadioButton("Remove", ambig), "cbRemoveAmbig");
  cbIgnoreAmbig = Named(new QRadioButton("Ignore", ambig), "cbIgnoreAmbig");
  cbRemoveAmbig->setChecked(d.removeAmbiguous);
  cbIgnoreAmbig->setChecked(!d.removeAmbiguous);
  al->addWidget(cbRemoveAmbig);
  al->addWidget(cbIgnoreAmbig);
  auto* row = new QHBoxLayout;
  row->addWidget(indels);
  row->addWidget(ambig);
  layout->addLayout(row);
  layout->addStretch(1);

  connect(rbOnlyReg, &QRadioButton::toggled, this, [this](bool on) {
    RegFrom->setEnabled(on);
    RegTo->setEnabled(on);
    const int longest = LongestDataset();
    if (on) {
      RegFrom->setRange(0, longest);
      RegTo->setRange(0, longest);
    }
    RegFrom->setValue(1);
    RegTo->setValue(longest);
  });
  connect(cbNonSilent, &QRadioButton::toggled, this, [this] { CodingChoiceChanged(true); });
  connect(cbSilent, &QCheckBox::clicked, this, [this] { CodingChoiceChanged(false); });
}

void TFilterSitesForm::CodingChoiceChanged(bool degenerateToo) {
  const bool positions = cbNonSilent->isChecked();
  for (QCheckBox* c : {cb1st, cb2nd, cb3rd}) {
    c->setEnabled(positions);
    c->setChecked(positions);
  }
  if (!degenerateToo) return;
  for (QCheckBox* c : {cbNonDeg, cbDeg2, cbDeg3, cbDeg4}) {
    c->setEnabled(!positions);
    c->setChecked(!positions);
  }
}

bool TFilterSitesForm::InitData(TDataProj* proj) {
  if (!TBaseDialogBox2::InitData(proj)) return false;
  RegTo->setRange(0, LongestDataset());
  RegTo->setValue(LongestDataset());
  return true;
}

FilterSitesOptions TFilterSitesForm::Options() const {
  FilterSitesOptions o;
  o.onlyRegion = rbOnlyReg->isChecked();
  o.regFrom = RegFrom->value();
  o.regTo = RegTo->value();
  o.noncoding = cbSilent->isChecked();
  o.codonPositions = cbNonSilent->isChecked();
  o.pos1 = cb1st->isChecked();
  o.pos2 = cb2nd->isChecked();
  o.pos3 = cb3rd->isChecked();
  o.deg1 = cbNonDeg->isChecked();
  o.deg2 = cbDeg2->isChecked();
  o.deg3 = cbDeg3->isChecked();
  o.deg4 = cbDeg4->isChecked();
  o.removeIndels = rbRemoveIndels->isChecked();
  o.removeAmbiguous = cbRemoveAmbig->isChecked();
  return o;
}

void TFilterSitesForm::OkButtonClick() {
  if (project == nullptr || MainForm().RefuseIfBusy()) return;
  FilterSitesResult result;
  {
    BusyGuard busy(MainForm());
    running = true;
    result = RunFilterSites(*project, Options(), MainForm().GetServices());
    running = false;
  }
  if (result.project != nullptr)
    MainForm().ShowDatasetsInNewEditor(std::move(result.project),
                                       QString::fromLatin1(result.caption.c_str()));
  if (parentWidget() != nullptr) parentWidget()->close();
}

TFilterSitesForm* NewFilterSitesForm(TMainForm& mainForm) {
  if (auto* open =
          qobject_cast<TFilterSitesForm*>(mainForm.RaiseToolWindow(ToolKind::FilterSitesForm)))
    return open;
  auto* dialog = new TFilterSitesForm(mainForm);
  mainForm.RegisterToolWindow(ToolKind::FilterSitesForm, dialog);
  return dialog;
}
