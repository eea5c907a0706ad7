// SPDX-License-Identifier: GPL-3.0-or-later
// The translate window.
#include "ui/editor/TranslateUnit.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/OutputFolder.h"
#include "model/DataProjUnit.h"
#include "ui/editor/AnalyseMenu.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/shell/BusyGuard.h"
#include "ui/shell/CLXMain.h"
#include "ui/viewers/RepUnit.h"

namespace {

template <typename T>
T* Named(T* w, const char* name) {
  w->setObjectName(name);
  return w;
}

QGroupBox* Box(QWidget* parent, const char* caption, const char* name) {
  auto* box = Named(new QGroupBox(caption, parent), name);
  new QVBoxLayout(box);
  return box;
}

template <typename T>
T* Into(QGroupBox* box, T* w) {
  box->layout()->addWidget(w);
  return w;
}

std::string Latin1(const QString& s) {
  return s.toLatin1().toStdString();
}

}  // namespace

TTranslateForm::TTranslateForm(TMainForm& mainForm, QWidget* parent)
    : TBaseDialogBox(mainForm, parent) {
  setObjectName("TranslateForm");
  setWindowTitle(ToolKindCaption(ToolKind::TranslateForm));
  QWidget* page = AddPage("Translate");
  auto* grid = new QGridLayout(page);

  SequencesBox = Box(page, "Sequences", "SequencesBox");
  AllSeq = Into(SequencesBox, Named(new QRadioButton("All", SequencesBox), "AllSeq"));
  SelectedSeqDB =
      Into(SequencesBox, Named(new QRadioButton("Selected", SequencesBox), "SelectedSeqDB"));
  SelectedSeqDB->setChecked(true);

  RegionsBox = Box(page, "Regions", "RegionsBox");
  throughoutcb =
      Into(RegionsBox, Named(new QRadioButton("Throughout", RegionsBox), "throughoutcb"));
  codregcb = Into(RegionsBox, Named(new QRadioButton("Coding", RegionsBox), "codregcb"));
  cbRegSelected =
      Into(RegionsBox, Named(new QRadioButton("Selected", RegionsBox), "cbRegSelected"));
  cbRegNotSelected =
      Into(RegionsBox, Named(new QRadioButton("Unselected", RegionsBox), "cbRegNotSelected"));
  throughoutcb->setChecked(true);

  FramesBox = Box(page, "Frames", "FramesBox");
  OneFrcb = Into(FramesBox, Named(new QRadioButton("One", FramesBox), "OneFrcb"));
  TreeFrcb = Into(FramesBox, Named(new QRadioButton("Three", FramesBox), "TreeFrcb"));
  SixFrcb = Into(FramesBox, Named(new QRadioButton("Six", FramesBox), "SixFrcb"));
  OneFrcb->setChecked(true);

  OutputBox = Box(page, "Output", "OutputBox");
  ShowRNAcb = Into(OutputBox, Named(new QCheckBox("Show cDNA", OutputBox), "ShowRNAcb"));
  codonecb = Into(OutputBox, Named(new QRadioButton("1 Let.code", OutputBox), "codonecb"));
  codthreecb = Into(OutputBox, Named(new QRadioButton("3 Let.code", OutputBox), "codthreecb"));
  codonecb->setChecked(true);
  auto* fileRow = new QHBoxLayout;
  cbToFile = Named(new QCheckBox("to file:", OutputBox), "cbToFile");
  eOutFile = Named(new QLineEdit("translation.txt", OutputBox), "eOutFile");
  eOutFile->setEnabled(false);
  fileRow->addWidget(cbToFile);
  fileRow->addWidget(eOutFile, 1);
  qobject_cast<QVBoxLayout*>(OutputBox->layout())->addLayout(fileRow);

  OrfBox = Box(page, "Open reading frames (ORFs)", "OrfBox");
  auto* orfRow = new QHBoxLayout;
  cbORFs = Named(new QCheckBox("Find ORFs longer than       am.ac.", OrfBox), "cbORFs");
  ebMinORF = Named(new QLineEdit("100", OrfBox), "ebMinORF");
  ebMinORF->setMaximumWidth(60);
  orfRow->addWidget(cbORFs);
  orfRow->addWidget(ebMinORF);
  orfRow->addStretch(1);
  qobject_cast<QVBoxLayout*>(OrfBox->layout())->addLayout(orfRow);
  cbAddORFs =
      Into(OrfBox, Named(new QCheckBox("Add longest nonoverlapping ORF", OrfBox), "cbAddORFs"));
  cbAddORFs->setEnabled(false);

  grid->addWidget(SequencesBox, 0, 0);
  grid->addWidget(RegionsBox, 0, 1);
  grid->addWidget(FramesBox, 0, 2);
  grid->addWidget(OutputBox, 1, 0, 1, 2);
  grid->addWidget(OrfBox, 1, 2);
  grid->setRowStretch(2, 1);

  connect(cbToFile, &QCheckBox::toggled, eOutFile, &QWidget::setEnabled);
  connect(cbORFs, &QCheckBox::toggled, this, &TTranslateForm::OrfsToggled);
  for (QRadioButton* r : {throughoutcb, codregcb, cbRegSelected, cbRegNotSelected})
    connect(r, &QRadioButton::toggled, this, [this](bool on) {
      if (on) RegionChosen();
    });
}

void TTranslateForm::OrfsToggled(bool on) {
  if (on) throughoutcb->setChecked(true);
  RegionsBox->setEnabled(!on);
  if (!on) cbAddORFs->setChecked(false);
  cbAddORFs->setEnabled(on);
}

void TTranslateForm::RegionChosen() {
  OrfBox->setEnabled(throughoutcb->isChecked());
}

bool TTranslateForm::InitData(TDataProj* proj) {
  project = proj;
  if (project == nullptr) return false;
  UpdateStatus();
  return true;
}

void TTranslateForm::closeEvent(QCloseEvent* event) {
  TMDIChild::closeEvent(event);
}

TranslateOptions TTranslateForm::Options() const {
  TranslateOptions o;
  o.allSeqs = AllSeq->isChecked();
  o.regions = codregcb->isChecked()           ? TranslateRegions::Coding
              : cbRegSelected->isChecked()    ? TranslateRegions::Selected
              : cbRegNotSelected->isChecked() ? TranslateRegions::Unselected
                                              : TranslateRegions::Throughout;
  o.frames = SixFrcb->isChecked() ? 6 : TreeFrcb->isChecked() ? 3 : 1;
  o.showCDna = ShowRNAcb->isChecked();
  o.threeLetter = codthreecb->isChecked();
  o.toFile = cbToFile->isChecked();
  o.outFile = Latin1(eOutFile->text());
  o.findOrfs = cbORFs->isChecked();
  o.minOrf = MinOrfFromText(Latin1(ebMinORF->text()));
  o.addOrfs = cbAddORFs->isChecked();
  return o;
}

void TTranslateForm::OkButtonClick() {
  TMainForm& main = MainForm();
  if (project == nullptr || main.RefuseIfBusy()) return;
  const TDataSeq* ds = project->CurrentDataset();
  if (ds == nullptr) return;
  // The caption of the editor window whose project this is.
  QString caption = AtLabel->text().mid(4);
  for (QMdiSubWindow* sub : main.MdiArea()->subWindowList())
    if (TSeqGridFrm* editor = AsSeqGridFrm(sub->widget());
        editor != nullptr && &editor->GetProject() == project)
      caption = editor->windowTitle();
  TranslateOptions opt = Options();
  if (opt.toFile && NeedsFolder(opt.outFile)) {
    const std::optional<std::string> folder = OutputFolder();
    if (!folder) return;
    opt.outFile = OutputPath(*folder, opt.outFile);
  }
  TranslateOutput out;
  {
    BusyGuard busy(main);
    out = TranslateDataset(*ds, ds->code != nullptr ? *ds->code : main.GenCode(), opt,
                           main.GetServices());
  }
  if (!out.ok) return;
  auto result = std::make_unique<TDataProj>(main.GetServices());
  (void)result->AddDataset(out.dataset, false);
  main.ShowDatasetsInNewEditor(std::move(result), kTranslationCaptionPrefix + caption);
  if (opt.findOrfs) {
    auto* report = new TRepForm(main);
    report->SetText(out.report);
    main.AddChildWindow(report)->show();
  }
  if (parentWidget() != nullptr) parentWidget()->close();
}

TTranslateForm* NewTranslateForm(TMainForm& mainForm) {
  if (auto* open = qobject_cast<TTranslateForm*>(mainForm.ToolWindow(ToolKind::TranslateForm))) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(open->parentWidget())) sub->showNormal();
    return open;
  }
  auto* form = new TTranslateForm(mainForm);
  mainForm.RegisterToolWindow(ToolKind::TranslateForm, form);
  return form;
}

void Translate1Click(TSeqGridFrm& editor) {
  static const AnalyseMenuItem item{"&Translate...", "Translate1", "translate",
                                    [](TMainForm& m) -> TBaseDialogBox* {
                                      return NewTranslateForm(m);
                                    }};
  RunAnalyseItem(item, editor);
}
