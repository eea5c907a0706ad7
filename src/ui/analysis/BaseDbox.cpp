// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog bases of the analyses: pages, buttons, the frame's options and the output.
#include "ui/analysis/BaseDbox.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "model/DataProjUnit.h"
#include "ui/analysis/SaveFileButton.h"
#include "ui/editor/ProjectTree.h"
#include "ui/shell/BusyGuard.h"
#include "ui/shell/CLXMain.h"
#include "ui/shell/HelpWindow.h"
#include "ui/viewers/GraphUnit.h"
#include "ui/viewers/RepUnit.h"
#include "ui/viewers/TabRepUnit.h"

namespace {

std::string Text(const QLineEdit* e) {
  return e->text().toLatin1().toStdString();
}

template <typename T>
T* Named(T* w, const char* name) {
  w->setObjectName(name);
  return w;
}

void FillTable(TTabReport* tab, const TableCells& table) {
  int cols = 0;
  for (const auto& r : table) cols = std::max(cols, static_cast<int>(r.size()));
  tab->SetSize(static_cast<int>(table.size()), cols);
  for (std::size_t r = 0; r < table.size(); ++r)
    for (std::size_t c = 0; c < table[r].size(); ++c)
      tab->SetCell(static_cast<int>(r), static_cast<int>(c), table[r][c]);
}

}  // namespace

// ---------------- TBaseDialogBox ----------------

TBaseDialogBox::TBaseDialogBox(TMainForm& mainForm, QWidget* parent) : TMDIChild(mainForm, parent) {
  setObjectName("BaseDialog");
  auto* layout = new QVBoxLayout(this);
  pages = new QTabWidget(this);
  layout->addWidget(pages, 1);
  auto* buttons = new QHBoxLayout;
  layout->addLayout(buttons);
  AtLabel = Named(new QLabel("At:", this), "AtLabel");
  buttons->addWidget(AtLabel);
  buttons->addStretch(1);
  OkButton = Named(new QPushButton("Ok", this), "OkButton");
  CancelButton = Named(new QPushButton("Cancel", this), "CancelButton");
  HelpButton = Named(new QPushButton("Help", this), "HelpButton");
  for (QPushButton* b : {OkButton, CancelButton, HelpButton}) buttons->addWidget(b);
  statusBar = new QStatusBar(this);
  layout->addWidget(statusBar);
  connect(OkButton, &QPushButton::clicked, this, [this] { OkButtonClick(); });
  BusyGuard::MarkAsCancelControl(CancelButton);
  connect(CancelButton, &QPushButton::clicked, this, &TBaseDialogBox::CancelButtonClick);
  connect(HelpButton, &QPushButton::clicked, this, &TBaseDialogBox::HelpButtonClick);
}

QWidget* TBaseDialogBox::AddPage(const QString& caption) {
  auto* page = new QWidget(pages);
  pages->addTab(page, caption);
  return page;
}

bool TBaseDialogBox::InitData(TDataProj* proj) {
  project = proj;
  if (project == nullptr) return false;
  InitAnalysisSelection(*project);
  return true;
}

void TBaseDialogBox::SetAt(const QString& editorCaption) {
  AtLabel->setText("At: " + editorCaption);
}

std::optional<std::string> TBaseDialogBox::OutputFolder() {
  if (outputFolderSource) return outputFolderSource();
  return ownFolder.Folder(this, {});
}

void TBaseDialogBox::CancelButtonClick() {
  if (running) MainForm().RequestCancel();
  cancelpressed();
}

void TBaseDialogBox::cancelpressed() {
  if (!running && parentWidget() != nullptr) parentWidget()->close();
}

void TBaseDialogBox::HelpButtonClick() {
  MainForm().ShowHelp(HelpTopicFor(windowTitle()));
}

void TBaseDialogBox::closeEvent(QCloseEvent* event) {
  if (running) {
    event->ignore();
    return;
  }
  TMDIChild::closeEvent(event);
  if (event->isAccepted() && project != nullptr) ClearAnalysisSelection(*project);
}

// ---------------- TBaseDialogBox1 ----------------

TBaseDialogBox1::TBaseDialogBox1(TMainForm& mainForm, QWidget* parent)
    : TBaseDialogBox(mainForm, parent) {
  const FrameOptions d;
  // The project tree stands left of the pages.
  auto* frameLayout = qobject_cast<QVBoxLayout*>(layout());
  auto* split = new QSplitter(Qt::Horizontal, this);
  ProjectTree = Named(new TProjectTree(split, TreeMode::Dialog), "ProjectTree");
  ProjectTree->setToolTip("Datasets, groups and individuals to analyse");
  frameLayout->removeWidget(pages);
  split->addWidget(ProjectTree);
  split->addWidget(pages);
  split->setStretchFactor(1, 2);
  frameLayout->insertWidget(0, split, 1);
  analysePage = AddPage("Analyse");
  analyseLayout = new QVBoxLayout(analysePage);
  auto* stats = new QHBoxLayout;
  cbS = Named(new QCheckBox("S", analysePage), "cbS");
  cbHapNum = Named(new QCheckBox("H", analysePage), "cbHapNum");
  cbOgDiv = Named(new QCheckBox("Outgroup divergence", analysePage), "cbOgDiv");
  cbS->setChecked(d.showS);
  cbHapNum->setChecked(d.showHapNum);
  for (QWidget* w : {static_cast<QWidget*>(cbS), static_cast<QWidget*>(cbHapNum),
                     static_cast<QWidget*>(cbOgDiv)})
    stats->addWidget(w);
  cbPlotDistr = Named(new QCheckBox("Stats. distribution across datasets", analysePage),
                      "cbPlotDistr");
  cbPlotDistr->setEnabled(false);
  cbPlotDistr->setToolTip("None of the analyses plots its statistics across datasets yet");
  stats->addWidget(cbPlotDistr);
  analyseLayout->addLayout(stats);

  auto* swBox = new QGroupBox("Sliding window", analysePage);
  swBox->setObjectName("SlidingWindowBox");
  auto* swl = new QHBoxLayout(swBox);
  cbDoSW = Named(new QCheckBox("Sliding window", swBox), "cbDoSW");
  swSize = Named(new QSpinBox(swBox), "swSize");
  swStep = Named(new QSpinBox(swBox), "swStep");
  for (QSpinBox* s : {swSize, swStep}) {
    s->setRange(1, 10000);
    s->setValue(100);
    s->setEnabled(false);
  }
  swl->addWidget(cbDoSW);
  swl->addWidget(new QLabel("Size:", swBox));
  swl->addWidget(swSize);
  swl->addWidget(new QLabel("Step:", swBox));
  swl->addWidget(swStep);
  analyseLayout->addWidget(swBox);

  auto* dsBox = new QGroupBox("Datasets", analysePage);
  auto* dsl = new QHBoxLayout(dsBox);
  rbUseAllDS = Named(new QRadioButton("select", dsBox), "rbUseAllDS");
  rbUseCurDS = Named(new QRadioButton("current", dsBox), "rbUseCurDS");
  rbUseAllDS->setChecked(true);
  dsl->addWidget(rbUseAllDS);
  dsl->addWidget(rbUseCurDS);
  analyseLayout->addWidget(dsBox);

  // Hidden here; the dialogs that offer bootstrap replicates show it.
  auto* bsBox = new QGroupBox("Bootstrap", analysePage);
  bsBox->setObjectName("BootstrapBox");
  auto* bsl = new QHBoxLayout(bsBox);
  cbDoBootstrap = Named(new QCheckBox("Do bootstrap. Replicates:", bsBox), "cbDoBootstrap");
  cbDoBootstrap->setChecked(d.doBootstrap);
  seBSreplicates = Named(new QSpinBox(bsBox), "seBSreplicates");
  seBSreplicates->setRange(1, 10000);
  seBSreplicates->setValue(d.bsReplicates);
  bsl->addWidget(cbDoBootstrap);
  bsl->addWidget(seBSreplicates);
  bsl->addStretch(1);
  bsBox->setVisible(false);
  analyseLayout->addWidget(bsBox);

  auto* regBox = new QGroupBox("Region", analysePage);
  regBox->setObjectName("RegionBox");
  auto* rl = new QHBoxLayout(regBox);
  rbFullLength = Named(new QRadioButton("Full length", regBox), "rbFullLength");
  rbOnlyReg = Named(new QRadioButton("Region:", regBox), "rbOnlyReg");
  rbFullLength->setChecked(true);
  RegFrom = Named(new QSpinBox(regBox), "RegFrom");
  RegTo = Named(new QSpinBox(regBox), "RegTo");
  for (QSpinBox* s : {RegFrom, RegTo}) {
    s->setRange(1, 100000000);
    s->setValue(1);
    s->setEnabled(false);
  }
  rl->addWidget(rbFullLength);
  rl->addWidget(rbOnlyReg);
  rl->addWidget(new QLabel("From", regBox));
  rl->addWidget(RegFrom);
  rl->addWidget(new QLabel("To", regBox));
  rl->addWidget(RegTo);
  analyseLayout->addWidget(regBox);

  QWidget* params = AddPage("Parameters");
  auto* pl = new QVBoxLayout(params);
  auto* siteBox = new QGroupBox("Sites", params);
  auto* sl = new QHBoxLayout(siteBox);
  cbAllSites = Named(new QRadioButton("All", siteBox), "cbAllSites");
  cbSilent = Named(new QRadioButton("Noncoding", siteBox), "cbSilent");
  cbNonSilent = Named(new QRadioButton("Coding", siteBox), "cbNonSilent");
  cbAllSites->setChecked(true);
  cb1st = Named(new QCheckBox("1", siteBox), "cb1st");
  cb2nd = Named(new QCheckBox("2", siteBox), "cb2nd");
  cb3rd = Named(new QCheckBox("3", siteBox), "cb3rd");
  for (QWidget* w :
       std::initializer_list<QWidget*>{cbAllSites, cbSilent, cbNonSilent, cb1st, cb2nd, cb3rd})
    sl->addWidget(w);
  for (QCheckBox* c : {cb1st, cb2nd, cb3rd}) c->setEnabled(false);
  pl->addWidget(siteBox);
  ignoreCDS = Named(new QCheckBox("Ignore functional region assignments (works faster)", params),
                    "ignoreCDS");
  pl->addWidget(ignoreCDS);
  auto* mutBox = new QGroupBox("Mutations", params);
  auto* ml = new QHBoxLayout(mutBox);
  cbMutAll = Named(new QRadioButton("All", mutBox), "cbMutAll");
  cbMutSil = Named(new QRadioButton("Silent", mutBox), "cbMutSil");
  cbMutRepl = Named(new QRadioButton("Nonsilent", mutBox), "cbMutRepl");
  cbMutAll->setChecked(true);
  for (QRadioButton* b : {cbMutAll, cbMutSil, cbMutRepl}) ml->addWidget(b);
  pl->addWidget(mutBox);
  auto* indelBox = new QGroupBox("Gaps", params);
  auto* il = new QHBoxLayout(indelBox);
  cbIgnoreInd = Named(new QRadioButton("Ignored", indelBox), "cbIgnoreInd");
  cbAs1mut = Named(new QRadioButton("As single mut.", indelBox), "cbAs1mut");
  cbInclInd = Named(new QRadioButton("Polym.in indels", indelBox), "cbInclInd");
  cbIndOnly = Named(new QRadioButton("Indels only", indelBox), "cbIndOnly");
  cbIgnoreInd->setChecked(true);
  cbAs1mut->setEnabled(false);
  cbIndOnly->setVisible(false);
  for (QRadioButton* b : {cbIgnoreInd, cbAs1mut, cbInclInd, cbIndOnly}) il->addWidget(b);
  pl->addWidget(indelBox);
  auto* ambBox = new QGroupBox("Ambiguities", params);
  auto* al = new QHBoxLayout(ambBox);
  cbAmbigIgnored = Named(new QRadioButton("Ignored", ambBox), "cbAmbigIgnored");
  cbAmbgRemoved = Named(new QRadioButton("Removed", ambBox), "cbAmbgRemoved");
  cbAmbigIgnored->setChecked(true);
  al->addWidget(cbAmbigIgnored);
  al->addWidget(cbAmbgRemoved);
  pl->addWidget(ambBox);
  pl->addStretch(1);

  QWidget* output = AddPage("Output");
  auto* ol = new QVBoxLayout(output);
  auto* textBox = new QGroupBox("Textual output", output);
  auto* tl = new QHBoxLayout(textBox);
  cbRepWin = Named(new QCheckBox("Report window", textBox), "cbRepWin");
  cbRepWin->setChecked(true);
  cbFileOutput = Named(new QCheckBox("File", textBox), "cbFileOutput");
  OutFname = Named(new QLineEdit(QString::fromLatin1(d.outFname.c_str()), textBox), "OutFname");
  cbListHapl = Named(new QCheckBox("List seq for each haplotype", textBox), "cbListHapl");
  for (QWidget* w : std::initializer_list<QWidget*>{cbRepWin, cbFileOutput, OutFname,
                                                   MakeSaveFileButton(OutFname, textBox), cbListHapl})
    tl->addWidget(w);
  ol->addWidget(textBox);
  auto* tableBox = new QGroupBox("Table output", output);
  tableBox->setObjectName("TableOutputBox");
  auto* tbl = new QGridLayout(tableBox);
  cbTableToWin = Named(new QCheckBox("Report window", tableBox), "cbTableToWin");
  cbTableToFile = Named(new QCheckBox("File", tableBox), "cbTableToFile");
  TableFileName =
      Named(new QLineEdit(QString::fromLatin1(d.tableFileName.c_str()), tableBox), "TableFileName");
  cbPopOut = Named(new QCheckBox("Output for separate populations", tableBox), "cbPopOut");
  cbTabOutNumSeq = Named(new QCheckBox("#Seq.", tableBox), "cbTabOutNumSeq");
  cbTabOutPosAnal = Named(new QCheckBox("#Pos.analysed", tableBox), "cbTabOutPosAnal");
  cbTabOutSegrS = Named(new QCheckBox("#Segr.sites", tableBox), "cbTabOutSegrS");
  cbTabOutMut = Named(new QCheckBox("#Mut.", tableBox), "cbTabOutMut");
  tbl->addWidget(cbTableToWin, 0, 0);
  tbl->addWidget(cbTableToFile, 0, 1);
  tbl->addWidget(TableFileName, 0, 2, 1, 2);
  tbl->addWidget(MakeSaveFileButton(TableFileName, tableBox), 0, 4);
  tbl->addWidget(cbPopOut, 1, 0, 1, 4);
  int col = 0;
  for (QCheckBox* c : {cbTabOutNumSeq, cbTabOutPosAnal, cbTabOutSegrS, cbTabOutMut}) {
    c->setChecked(true);
    tbl->addWidget(c, 2, col++);
  }
  ol->addWidget(tableBox);
  auto* swOut = new QGroupBox("Sliding window output", output);
  swOut->setObjectName("SlidingWindowOutputBox");
  auto* swol = new QHBoxLayout(swOut);
  cbPlotSW = Named(new QCheckBox("Plot window", swOut), "cbPlotSW");
  cbPlotSW->setChecked(true);
  cbsw2file = Named(new QCheckBox("File", swOut), "cbsw2file");
  swfile = Named(new QLineEdit(QString::fromLatin1(d.swfile.c_str()), swOut), "swfile");
  for (QWidget* w : std::initializer_list<QWidget*>{cbPlotSW, cbsw2file, swfile,
                                                   MakeSaveFileButton(swfile, swOut)})
    swol->addWidget(w);
  swOut->setEnabled(false);
  ol->addWidget(swOut);
  auto* bootOut = new QGroupBox("Bootstrap output", output);
  bootOut->setObjectName("BootstrapOutputBox");
  auto* bol = new QGridLayout(bootOut);
  doPhilipFile =
      Named(new QCheckBox("Bootstraped replicates to PHYLIP file:", bootOut), "doPhilipFile");
  PhylipFileName = Named(new QLineEdit(QString::fromLatin1(d.phylipFileName.c_str()), bootOut),
                         "PhylipFileName");
  doCSVfile = Named(new QCheckBox("Stats to *.csv file:", bootOut), "doCSVfile");
  csvFileName = Named(new QLineEdit("boot_out.csv", bootOut), "csvFileName");
  bol->addWidget(doPhilipFile, 0, 0);
  bol->addWidget(PhylipFileName, 0, 1);
  bol->addWidget(MakeSaveFileButton(PhylipFileName, bootOut), 0, 2);
  bol->addWidget(doCSVfile, 1, 0);
  bol->addWidget(csvFileName, 1, 1);
  bol->addWidget(MakeSaveFileButton(csvFileName, bootOut), 1, 2);
  // The analyses that write bootstrap statistics enable it.
  doCSVfile->setEnabled(false);
  csvFileName->setEnabled(false);
  doCSVfile->setToolTip("This analysis writes no statistics of bootstrap replicates");
  bootOut->setVisible(false);
  ol->addWidget(bootOut);
  SetReplicatesToFile(false);
  ol->addStretch(1);

  connect(cbDoSW, &QCheckBox::toggled, this, [this, swOut](bool on) {
    swSize->setEnabled(on);
    swStep->setEnabled(on);
    // Enabled windows may span the longest dataset, no more.
    if (on && project != nullptr) {
      project->UpdateMaxima();
      swSize->setMaximum(std::max(1, project->maxLetters));
      swStep->setMaximum(std::max(1, project->maxLetters));
    }
    swOut->setEnabled(on);
    if (!on) cbsw2file->setChecked(false);
  });
  connect(cbNonSilent, &QRadioButton::toggled, this, [this](bool on) {
    for (QCheckBox* c : {cb1st, cb2nd, cb3rd}) {
      c->setEnabled(on);
      c->setChecked(on);
    }
  });
  connect(cbAllSites, &QRadioButton::toggled, this, [this](bool on) {
    ignoreCDS->setEnabled(on);
    if (!on) ignoreCDS->setChecked(false);
  });
  connect(cbIndOnly, &QRadioButton::toggled, this, [this](bool on) {
    if (on) cbMutAll->setChecked(true);
    cbMutSil->setEnabled(!on);
    cbMutRepl->setEnabled(!on);
  });
  connect(cbDoBootstrap, &QCheckBox::toggled, bootOut, &QWidget::setVisible);
  connect(rbUseAllDS, &QRadioButton::toggled, this, [this](bool on) {
    if (on) ProjectTree->RunSelection(TreeSelection::AllDatasets);
  });
  connect(rbUseCurDS, &QRadioButton::toggled, this, [this](bool on) {
    if (on) ProjectTree->RunSelection(TreeSelection::CurrentDatasetOnly);
  });
  // A chosen dataset or sequence becomes the current one; the tree shows it in bold once the
  // click is over.
  auto choose = [this](int dsIndex, int row) {
    if (project == nullptr || dsIndex < 0 || dsIndex >= project->DatasetCount()) return;
    project->SetCurrent(dsIndex);
    if (TDataSeq* ds = project->CurrentDataset(); ds != nullptr && ds->SeqAt(row) != nullptr)
      ds->currentRow = row;
    UpdateStatus();
    QMetaObject::invokeMethod(
        this,
        [this] {
          if (project != nullptr) ProjectTree->Rebuild(*project);
        },
        Qt::QueuedConnection);
  };
  connect(ProjectTree, &TProjectTree::datasetChosen, this,
          [choose](int d) { choose(d, 0); });
  connect(ProjectTree, &TProjectTree::sequenceChosen, this, choose);
  connect(ProjectTree, &TProjectTree::selectionFlagsChanged, this,
          &TBaseDialogBox::projectEdited);
  connect(ProjectTree, &TProjectTree::projectChanged, this, [this] {
    if (project != nullptr) ProjectTree->Rebuild(*project);
    UpdateStatus();
    emit projectEdited();
  });
  connect(cbListHapl, &QCheckBox::toggled, this, [this](bool on) {
    if (on) cbHapNum->setChecked(true);
  });
  connect(rbOnlyReg, &QRadioButton::toggled, this, [this](bool on) {
    RegFrom->setEnabled(on);
    RegTo->setEnabled(on);
    if (project == nullptr) return;
    if (on) {
      const TDataSeq* ds = project->DatasetAt(project->CurrentIndex());
      const int len = ds != nullptr ? std::max(1, ds->AlignmentLength(true)) : 1;
      RegTo->setMaximum(2 * len);
      RegTo->setValue(len);
      RegFrom->setValue(1);
    } else {
      RegFrom->setValue(1);
      RegTo->setValue(std::max(1, project->maxLetters));
    }
  });
}

bool TBaseDialogBox1::InitData(TDataProj* proj) {
  if (!TBaseDialogBox::InitData(proj)) return false;
  project->UpdateMaxima();
  RegTo->setValue(std::max(1, project->maxLetters));
  ProjectTree->Rebuild(*project);
  UpdateStatus();
  return true;
}

void TBaseDialogBox::UpdateStatus() {
  if (project == nullptr) return;
  const TDataSeq* cur = project->DatasetAt(project->CurrentIndex());
  statusBar->showMessage(QString("Datasets: %1   Current: %2   Contains: %3 seq.")
                             .arg(project->DatasetCount())
                             .arg(QString::fromLatin1(project->CurrentDatasetName().c_str()))
                             .arg(cur != nullptr ? cur->Count() : 0));
}

void TBaseDialogBox1::SetReplicatesToFile(bool made) {
  doPhilipFile->setEnabled(made);
  PhylipFileName->setEnabled(made);
  if (!made) doPhilipFile->setChecked(false);
  doPhilipFile->setToolTip(made ? QString("Writes every bootstrap replicate of each dataset")
                                : QString("This analysis makes no replicates of whole datasets"));
}

FrameOptions TBaseDialogBox1::GetFrameOptions() const {
  FrameOptions o;
  o.showS = cbS->isChecked();
  o.showHapNum = cbHapNum->isChecked();
  o.ogDiv = cbOgDiv->isChecked();
  o.doSW = cbDoSW->isChecked();
  o.swSize = swSize->value();
  o.swStep = swStep->value();
  o.doBootstrap = cbDoBootstrap->isChecked();
  o.bsReplicates = seBSreplicates->value();
  o.useAllDatasets = rbUseAllDS->isChecked();
  o.onlyRegion = rbOnlyReg->isChecked();
  o.regFrom = RegFrom->value();
  o.regTo = RegTo->value();
  o.allSites = cbAllSites->isChecked();
  o.noncodingSites = cbSilent->isChecked();
  o.codingSites = cbNonSilent->isChecked();
  o.pos1 = cb1st->isChecked();
  o.pos2 = cb2nd->isChecked();
  o.pos3 = cb3rd->isChecked();
  o.ignoreCDS = ignoreCDS->isChecked();
  o.mutAll = cbMutAll->isChecked();
  o.mutSilent = cbMutSil->isChecked();
  o.mutRepl = cbMutRepl->isChecked();
  o.indels = cbIndOnly->isChecked()   ? IndelChoice::IndelsOnly
             : cbInclInd->isChecked() ? IndelChoice::PolymInIndels
             : cbAs1mut->isChecked()  ? IndelChoice::AsSingleMut
                                      : IndelChoice::Ignored;
  o.ambiguityRemoved = cbAmbgRemoved->isChecked();
  o.repWin = cbRepWin->isChecked();
  o.fileOutput = cbFileOutput->isChecked();
  o.outFname = Text(OutFname);
  o.listHapl = cbListHapl->isChecked();
  o.tableToWin = cbTableToWin->isChecked();
  o.tableToFile = cbTableToFile->isChecked();
  o.tableFileName = Text(TableFileName);
  o.popOut = cbPopOut->isChecked();
  o.tabOutNumSeq = cbTabOutNumSeq->isChecked();
  o.tabOutPosAnal = cbTabOutPosAnal->isChecked();
  o.tabOutSegrS = cbTabOutSegrS->isChecked();
  o.tabOutMut = cbTabOutMut->isChecked();
  o.plotSW = cbPlotSW->isChecked();
  o.sw2file = cbsw2file->isChecked();
  o.swfile = Text(swfile);
  o.phylipFile = doPhilipFile->isEnabled() && doPhilipFile->isChecked();
  o.phylipFileName = Text(PhylipFileName);
  return o;
}

bool TBaseDialogBox1::WritesFiles(const FrameOptions& o) const {
  // A large project may have its output turned to files by the run's own question.
  const bool mayTurnToFiles = o.useAllDatasets && o.repWin && project != nullptr &&
                              project->DatasetCount() > 100;
  return (o.fileOutput && NeedsFolder(o.outFname)) ||
         (o.tableToFile && NeedsFolder(o.tableFileName)) ||
         (o.doSW && o.sw2file && NeedsFolder(o.swfile)) ||
         (o.doBootstrap && o.phylipFile && NeedsFolder(o.phylipFileName)) ||
         (mayTurnToFiles && (NeedsFolder(o.outFname) || NeedsFolder(o.tableFileName)));
}

void TBaseDialogBox1::OkButtonClick() {
  if (project == nullptr || running) return;
  FrameOptions options = GetFrameOptions();
  if (WritesFiles(options)) {
    const std::optional<std::string> folder = OutputFolder();
    if (!folder) return;
    options.outputFolder = *folder;
  }
  running = true;
  OkButton->setEnabled(false);
  const QString idle = statusBar->currentMessage();
  statusBar->showMessage("Running... (Escape or Cancel stops)");
  {
    // Long steps let events through: only Escape and Cancel may act meanwhile.
    BusyGuard busy(MainForm());
    lastOutput = RunAnalysis(options);
  }
  MainForm().EndProgress();  // the status line names no step once the run is over
  running = false;
  OkButton->setEnabled(true);
  if (lastOutput.cancelled) {
    // A cancelled run shows nothing of what it had got to, so no half result is taken for one.
    statusBar->showMessage("Cancelled");
    return;
  }
  statusBar->showMessage(idle);
  ShowOutput(lastOutput);
  AfterOutput(lastOutput);
}

void TBaseDialogBox1::ShowOutput(const AnalysisOutput& out) {
  TMainForm& main = MainForm();
  if (!out.error.empty()) main.ReportError(out.error);
  for (const std::string& n : out.notices) main.Notify(n);
  if (out.showReport) {
    TRepForm* rep = main.NewRepForm();
    rep->setWindowTitle(QString::fromLatin1(out.reportCaption.c_str()));
    rep->SetText(out.report);
  }
  if (out.showTable && !out.table.empty()) {
    TTabReport* tab = main.NewTabReport();
    tab->setWindowTitle("Tabular report");
    FillTable(tab, out.table);
  }
  // A window of its own beside the tabular report, which keeps the datasets' rows.
  if (out.showPopTable && !out.popTable.empty()) {
    auto* pops = new TTabReport(main);
    pops->setWindowTitle("Tabular report for populations");
    FillTable(pops, out.popTable);
    main.AddChildWindow(pops)->show();
    lastPopTable = pops;
  }
  if (out.showPlot && !out.series.empty()) {
    auto* plot = new TGraphForm(main);
    plot->setWindowTitle(QString::fromLatin1(out.plotCaption.c_str()));
    plot->xTitle = out.plotXTitle;
    plot->yTitle = out.plotYTitle;
    for (const tser& s : out.series) plot->AddSer(s);
    main.AddChildWindow(plot)->show();
    lastPlot = plot;
  }
}

TGraphForm* TBaseDialogBox1::LastPlot() const {
  return lastPlot.data();
}

TTabReport* TBaseDialogBox1::LastPopTable() const {
  return lastPopTable.data();
}
