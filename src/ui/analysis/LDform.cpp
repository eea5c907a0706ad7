// SPDX-License-Identifier: GPL-3.0-or-later
// The LD dialog: pairwise values, their decay with distance, the summary statistics and the
// LD test of an assembly on the frame's pages.
#include "ui/analysis/LDform.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/shell/CLXMain.h"

namespace {

template <typename T>
T* Named(T* w, const char* name) {
  w->setObjectName(name);
  return w;
}

QSpinBox* Spin(QWidget* parent, const char* name, int low, int high, int value) {
  auto* s = Named(new QSpinBox(parent), name);
  s->setRange(low, high);
  s->setValue(value);
  return s;
}

}  // namespace

TLDform::TLDform(TMainForm& mainForm, QWidget* parent) : TBaseDialogBox1(mainForm, parent) {
  setObjectName("LDform");
  setWindowTitle("Analyse LD");
  const FrameOptions frame = LDFrameDefaults();
  const LDRunOptions d;

  // The frame's controls as this dialog has them: own file names, no sliding windows, no plot.
  OutFname->setText(QString::fromLatin1(frame.outFname.c_str()));
  TableFileName->setText(QString::fromLatin1(frame.tableFileName.c_str()));
  if (auto* box = findChild<QGroupBox*>("TableOutputBox"))
    box->setTitle("Table output (LD summary stats)");
  cbDoSW->setChecked(false);
  cbPlotSW->setChecked(frame.plotSW);
  for (const char* name : {"SlidingWindowBox", "SlidingWindowOutputBox"})
    if (auto* box = findChild<QGroupBox*>(name)) box->setVisible(false);

  auto* pairBox = new QGroupBox("Pairwise LD", analysePage);
  auto* pl = new QGridLayout(pairBox);
  cbD = Named(new QCheckBox("D", pairBox), "cbD");
  cbDprim = Named(new QCheckBox("D'", pairBox), "cbDprim");
  cbR = Named(new QCheckBox("R", pairBox), "cbR");
  cbChi2 = Named(new QCheckBox(QString::fromUtf8("c\u00b2"), pairBox), "cbChi2");
  cbChi2->setToolTip("Chi-square");
  QFont symbol = cbChi2->font();
  symbol.setFamily("Symbol");
  cbChi2->setFont(symbol);
  cbD->setChecked(d.pairs.D);
  cbDprim->setChecked(d.pairs.Dprime);
  cbR->setChecked(d.pairs.R);
  cbChi2->setChecked(d.pairs.chiSquare);
  int col = 0;
  for (QCheckBox* c : {cbD, cbDprim, cbR, cbChi2}) pl->addWidget(c, 0, col++);
  rbDoAll =
      Named(new QRadioButton("Do all pairwise combinations (may be slow)", pairBox), "rbDoAll");
  rbDoWin =
      Named(new QRadioButton("Do all within a window of             bases", pairBox), "rbDoWin");
  seWinSize = Spin(pairBox, "seWinSize", 1, 100000000, d.windowSize);
  rbNoPairwiseLD = Named(new QRadioButton("Do not do pairwise LD ", pairBox), "rbNoPairwiseLD");
  rbNoPairwiseLD->setChecked(true);
  pl->addWidget(rbDoAll, 1, 0, 1, 4);
  pl->addWidget(rbDoWin, 2, 0, 1, 3);
  pl->addWidget(seWinSize, 2, 3);
  pl->addWidget(rbNoPairwiseLD, 3, 0, 1, 4);
  analyseLayout->insertWidget(0, pairBox);

  auto* fileBox = new QGroupBox("Pairwise LD output for separate datasets", analysePage);
  auto* fl = new QGridLayout(fileBox);
  cbLD = Named(new QCheckBox("File", fileBox), "cbLD");
  LDFileName = Named(new QLineEdit(QString::fromLatin1(d.pairFile.c_str()), fileBox), "LDFileName");
  LDFileButton = Named(new QPushButton("...", fileBox), "LDFileButton");
  LDFileButton->setMaximumWidth(32);
  auto* format = new QWidget(fileBox);
  auto* fml = new QHBoxLayout(format);
  fml->setContentsMargins(0, 0, 0, 0);
  rbVertical = Named(new QRadioButton("Sequential", format), "rbVertical");
  rbXtab = Named(new QRadioButton("Cross-table", format), "rbXtab");
  rbVertical->setChecked(true);
  fml->addWidget(new QLabel("Format: ", format));
  fml->addWidget(rbVertical);
  fml->addWidget(rbXtab);
  fml->addStretch(1);
  fl->addWidget(cbLD, 0, 0);
  fl->addWidget(LDFileName, 0, 1);
  fl->addWidget(LDFileButton, 0, 2);
  fl->addWidget(format, 1, 0, 1, 3);
  analyseLayout->insertWidget(1, fileBox);

  auto* decayBox = new QGroupBox("LD decay with physical distance", analysePage);
  auto* dl = new QHBoxLayout(decayBox);
  cbAvrR2 = Named(new QCheckBox(QString::fromUtf8("average R \u00b2"), decayBox), "cbAvrR2");
  distBinSize = Spin(decayBox, "distBinSize", 1, 1000000, d.pairs.binSize);
  dl->addWidget(cbAvrR2);
  dl->addWidget(new QLabel("bin size for distance:", decayBox));
  dl->addWidget(distBinSize);
  dl->addWidget(new QLabel("bases", decayBox));
  dl->addStretch(1);
  analyseLayout->insertWidget(2, decayBox);

  auto* snpBox = new QGroupBox("LD summary stats", analysePage);
  auto* sl = new QHBoxLayout(snpBox);
  minSNPfreq = Spin(snpBox, "minSNPfreq", 1, 30000, d.pairs.minSNPfreq);
  cbZnS = Named(new QCheckBox("Kellys ZnS", snpBox), "cbZnS");
  cbWallBQ = Named(new QCheckBox("Walls B& Q", snpBox), "cbWallBQ");
  cbZnS->setChecked(d.summary.kellyZnS);
  cbWallBQ->setChecked(d.summary.wallBQ);
  sl->addWidget(new QLabel("Use SNPs with", snpBox));
  sl->addWidget(new QLabel("frequency >= ", snpBox));
  sl->addWidget(minSNPfreq);
  sl->addWidget(cbZnS);
  sl->addWidget(cbWallBQ);
  sl->addStretch(1);
  analyseLayout->insertWidget(3, snpBox);

  QWidget* asmPage = AddPage("LD-test of assembly");
  auto* apl = new QVBoxLayout(asmPage);
  auto* asmBox = new QGroupBox("LD-test of assembly", asmPage);
  auto* agl = new QGridLayout(asmBox);
  cbLDTestAsm =
      Named(new QCheckBox("Do LD-based sliding window test of assembly", asmBox), "cbLDTestAsm");
  cbLDTestAsm->setChecked(d.assemblyTest);
  winsz = Spin(asmBox, "winsz", 1, 10000, d.asmWinSize);
  wincr = Spin(asmBox, "wincr", 1, 10000, d.asmWinStep);
  cbSplit = Named(new QCheckBox("Split assembly at lowLD regions with NNN", asmBox), "cbSplit");
  cbSplit->setChecked(d.split);
  splitCoef = Named(new QDoubleSpinBox(asmBox), "splitCoef");
  splitCoef->setRange(0, 1000);
  splitCoef->setValue(d.splitCoef);
  splitCoef->setToolTip("Split when |D'| at joint < mean(|D'|) - koef*SD(|D'|)/2");
  agl->addWidget(cbLDTestAsm, 0, 0, 1, 4);
  agl->addWidget(new QLabel("WinSize (SNPs):", asmBox), 1, 0);
  agl->addWidget(winsz, 1, 1);
  agl->addWidget(new QLabel("WinStep:", asmBox), 1, 2);
  agl->addWidget(wincr, 1, 3);
  agl->addWidget(cbSplit, 2, 0, 1, 4);
  agl->addWidget(new QLabel("Split coefficient:", asmBox), 3, 0);
  agl->addWidget(splitCoef, 3, 1);
  apl->addWidget(asmBox);
  // Kept for the layout of the page; it has no effect.
  auto* betweenBox = new QGroupBox("Test LD between datasets", asmPage);
  betweenBox->setObjectName("TestLDBetweenDatasetsBox");
  auto* bl = new QHBoxLayout(betweenBox);
  bl->addWidget(new QCheckBox("Test LD between dataset ends", betweenBox));
  bl->addWidget(new QLabel("Window size:", betweenBox));
  bl->addWidget(new QSpinBox(betweenBox));
  betweenBox->setVisible(false);
  apl->addWidget(betweenBox);
  apl->addStretch(1);

  for (QRadioButton* b : {rbDoAll, rbDoWin, rbNoPairwiseLD})
    connect(b, &QRadioButton::toggled, this, [this](bool on) {
      if (on) PairwiseChoiceChanged();
    });
  connect(cbAvrR2, &QCheckBox::toggled, distBinSize, &QWidget::setEnabled);
  connect(LDFileButton, &QPushButton::clicked, this, &TLDform::ChoosePairwiseFile);
  PairwiseChoiceChanged();
  distBinSize->setEnabled(false);
}

void TLDform::PairwiseChoiceChanged() {
  const bool pairs = rbDoAll->isChecked() || rbDoWin->isChecked();
  cbLD->setChecked(pairs);
  for (QWidget* w :
       std::initializer_list<QWidget*>{cbLD, LDFileName, LDFileButton, rbVertical, rbXtab, cbAvrR2})
    w->setEnabled(pairs);
  if (rbNoPairwiseLD->isChecked()) cbAvrR2->setChecked(false);
}

void TLDform::ChoosePairwiseFile() {
  QFileDialog dialog(this, "Save", LDFileName->text(), "Comma separated (*.csv);;All files (*)");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  LDFileName->setText(dialog.selectedFiles().front());
}

LDRunOptions TLDform::GetLDOptions() const {
  LDRunOptions o;
  o.pairs.D = cbD->isChecked();
  o.pairs.Dprime = cbDprim->isChecked();
  o.pairs.R = cbR->isChecked();
  o.pairs.chiSquare = cbChi2->isChecked();
  o.pairs.minSNPfreq = minSNPfreq->value();
  o.pairs.averageR2 = cbAvrR2->isChecked();
  o.pairs.binSize = distBinSize->value();
  o.summary.wallBQ = cbWallBQ->isChecked();
  o.summary.kellyZnS = cbZnS->isChecked();
  o.summary.minSNPfreq = minSNPfreq->value();
  o.mode = rbDoAll->isChecked()   ? LDPairMode::All
           : rbDoWin->isChecked() ? LDPairMode::Window
                                  : LDPairMode::None;
  o.windowSize = seWinSize->value();
  o.crossTable = rbXtab->isChecked();
  o.fileNotice = cbLD->isChecked();
  o.pairFile = LDFileName->text().toLocal8Bit().toStdString();
  o.assemblyTest = cbLDTestAsm->isChecked();
  o.asmWinSize = winsz->value();
  o.asmWinStep = wincr->value();
  o.split = cbSplit->isChecked();
  o.splitCoef = splitCoef->value();
  return o;
}

bool TLDform::WritesFiles(const FrameOptions& options) const {
  return TBaseDialogBox1::WritesFiles(options) ||
         ((!rbNoPairwiseLD->isChecked() || cbLDTestAsm->isChecked()) &&
          NeedsFolder(LDFileName->text().toLocal8Bit().toStdString()));
}

AnalysisOutput TLDform::RunAnalysis(const FrameOptions& options) {
  return RunLD(*project, options, GetLDOptions(), MainForm().GetServices());
}

TLDform* NewLDform(TMainForm& mainForm) {
  if (auto* open = qobject_cast<TLDform*>(mainForm.RaiseToolWindow(ToolKind::LDform))) return open;
  auto* dialog = new TLDform(mainForm);
  mainForm.RegisterToolWindow(ToolKind::LDform, dialog);
  return dialog;
}
