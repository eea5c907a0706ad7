// SPDX-License-Identifier: GPL-3.0-or-later
// The polymorphic sites dialog: spectra, SNP lists and report on the frame's pages, and the
// datasets of polymorphic sites shown in new editor windows.
#include "ui/analysis/ShowPolymSites.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "model/DataProjUnit.h"
#include "ui/shell/CLXMain.h"

namespace {

template <typename T>
T* Named(T* w, const char* name) {
  w->setObjectName(name);
  return w;
}

}  // namespace

TShowPolymSites::TShowPolymSites(TMainForm& mainForm, QWidget* parent)
    : TBaseDialogBox1(mainForm, parent) {
  setObjectName("ShowPolymSites");
  setWindowTitle("Find polymorphic sites");
  // Polymorphic sites have no windows and no table of their own.
  cbDoSW->parentWidget()->setVisible(false);
  for (const char* box : {"TableOutputBox", "SlidingWindowOutputBox"})
    if (auto* w = findChild<QGroupBox*>(box)) w->setVisible(false);

  const PolymSitesOptions d;
  auto* sites = new QGroupBox("Polymorphic sites", analysePage);
  auto* sl = new QHBoxLayout(sites);
  cbSFS = Named(new QCheckBox("Site freq. spectrum", sites), "cbSFS");
  SNPsOnly = Named(new QCheckBox("SNP list only", sites), "SNPsOnly");
  cbDoubleMut = Named(new QCheckBox("#Double Mut.", sites), "cbDoubleMut");
  cbSNPlist = Named(new QCheckBox("SNPlist", sites), "cbSNPlist");
  cbSFS->setChecked(d.sfs);
  SNPsOnly->setChecked(d.snpsOnly);
  SNPsOnly->setVisible(false);
  cbDoubleMut->setChecked(d.doubleMut);
  cbSNPlist->setChecked(d.snpList);
  for (QCheckBox* c : {cbSFS, SNPsOnly, cbDoubleMut, cbSNPlist}) sl->addWidget(c);
  analyseLayout->insertWidget(1, sites);

  ShowPolymIn = Named(new QGroupBox("Show polymorphisms in", analysePage), "ShowPolymIn");
  auto* wl = new QHBoxLayout(ShowPolymIn);
  rbSNPnewWin = Named(new QRadioButton("A new seq. window", ShowPolymIn), "rbSNPnewWin");
  rbSNPsameWin = Named(new QRadioButton("The same seq. window", ShowPolymIn), "rbSNPsameWin");
  rbSNPnewWin->setChecked(d.newWindow);
  rbSNPsameWin->setChecked(!d.newWindow);
  wl->addWidget(rbSNPnewWin);
  wl->addWidget(rbSNPsameWin);
  ShowPolymIn->setVisible(false);
  analyseLayout->insertWidget(2, ShowPolymIn);

  auto* rep = new QHBoxLayout;
  cbSNPrep = Named(new QCheckBox("Save SNP report to file:", analysePage), "cbSNPrep");
  SNPrepFile =
      Named(new QLineEdit(QString::fromLatin1(d.snpReportFile.c_str()), analysePage), "SNPrepFile");
  SNPrepFileButton = Named(new QPushButton("...", analysePage), "SNPrepFileButton");
  cbSNPrep->setChecked(d.snpReport);
  SNPrepFile->setEnabled(d.snpReport);
  SNPrepFileButton->setEnabled(d.snpReport);
  rep->addWidget(cbSNPrep);
  rep->addWidget(SNPrepFile, 1);
  rep->addWidget(SNPrepFileButton);
  analyseLayout->insertLayout(3, rep);

  connect(cbSNPrep, &QCheckBox::toggled, this, [this](bool on) {
    SNPrepFile->setEnabled(on);
    SNPrepFileButton->setEnabled(on);
  });
  connect(SNPrepFileButton, &QPushButton::clicked, this, [this] {
    const QString name =
        QFileDialog::getSaveFileName(this, "Save", SNPrepFile->text(), "CSV files (*.csv)");
    if (!name.isEmpty()) SNPrepFile->setText(name);
  });
  connect(SNPsOnly, &QCheckBox::toggled, this, [this](bool on) {
    for (QCheckBox* c : {cbS, cbHapNum, cbOgDiv, cbSFS}) {
      if (on) c->setChecked(false);
      c->setEnabled(!on);
    }
  });
}

bool TShowPolymSites::InitData(TDataProj* proj) {
  if (!TBaseDialogBox1::InitData(proj)) return false;
  if (const QWidget* editor = MainForm().CurrentEditor())
    sourceCaption = editor->windowTitle();
  else
    sourceCaption = QString::fromLatin1(proj->projName.c_str());
  return true;
}

PolymSitesOptions TShowPolymSites::GetPolymSitesOptions() const {
  PolymSitesOptions o;
  o.sfs = cbSFS->isChecked();
  o.snpsOnly = SNPsOnly->isChecked();
  o.doubleMut = cbDoubleMut->isChecked();
  o.snpList = cbSNPlist->isChecked();
  o.newWindow = rbSNPnewWin->isChecked();
  o.snpReport = cbSNPrep->isChecked();
  o.snpReportFile = SNPrepFile->text().toLatin1().toStdString();
  return o;
}

bool TShowPolymSites::WritesFiles(const FrameOptions& options) const {
  return TBaseDialogBox1::WritesFiles(options) || cbDoubleMut->isChecked() ||
         cbSNPlist->isChecked() ||
         (cbSNPrep->isChecked() && NeedsFolder(SNPrepFile->text().toLatin1().toStdString()));
}

AnalysisOutput TShowPolymSites::RunAnalysis(const FrameOptions& options) {
  return RunPolymSites(*project, options, GetPolymSitesOptions(), MainForm().GetServices());
}

void TShowPolymSites::AfterOutput(AnalysisOutput& out) {
  if (!out.error.empty() || project == nullptr) return;
  if (!rbSNPnewWin->isChecked()) {
    // The same window: the datasets join the analysed project once the run is over.
    for (auto* list : {&out.newDatasets, &out.newDivergenceDatasets})
      for (auto& ds : *list) (void)project->AddDataset(ds, false);
    return;
  }
  ShowDatasets(out.newDatasets, kPolymSitesWindowPrefix + sourceCaption);
  ShowDatasets(out.newDivergenceDatasets, kDivergedSitesWindowPrefix + sourceCaption);
}

void TShowPolymSites::ShowDatasets(std::vector<std::unique_ptr<TDataSeq>>& datasets,
                                   const QString& caption) {
  if (datasets.empty()) return;
  auto shown = ProjectForDatasets(*project, std::move(datasets));
  datasets.clear();
  if (!MainForm().ShowDatasetsInNewEditor(std::move(shown), caption))
    MainForm().Notify("No editor window could be opened for \"" + caption.toStdString() + "\"");
}

TShowPolymSites* NewShowPolymSites(TMainForm& mainForm) {
  if (auto* open =
          qobject_cast<TShowPolymSites*>(mainForm.RaiseToolWindow(ToolKind::ShowPolymSites)))
    return open;
  auto* dialog = new TShowPolymSites(mainForm);
  mainForm.RegisterToolWindow(ToolKind::ShowPolymSites, dialog);
  return dialog;
}
