// SPDX-License-Identifier: GPL-3.0-or-later
// The coalescent simulation dialog: pages of options, the enable rules, the run.
#include "ui/coalescent/CoalSimDialog.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "model/DataProjUnit.h"
#include "ui/shell/CLXMain.h"
#include "ui/viewers/RepUnit.h"

namespace {

template <typename T>
T* Named(T* w, const char* name) {
  w->setObjectName(name);
  return w;
}

QLineEdit* Edit(QWidget* parent, const char* name, const std::string& text) {
  return Named(new QLineEdit(QString::fromStdString(text), parent), name);
}

QSpinBox* Spin(QWidget* parent, const char* name, int lo, int hi, int value) {
  auto* s = Named(new QSpinBox(parent), name);
  s->setRange(lo, hi);
  s->setValue(value);
  return s;
}

std::string Text(const QLineEdit* e) {
  return e->text().toLatin1().toStdString();
}

}  // namespace

TCoalSimDialog::TCoalSimDialog(TMainForm& mainForm, QWidget* parent)
    : TBaseDialogBox(mainForm, parent) {
  setObjectName("CoalSimDialog");
  setWindowTitle("Coalescent simulations");
  AtLabel->hide();
  const CoalSimOptions d;

  // ---- runs, recombination, sequences, the condition ----
  QWidget* main = AddPage("Simulation");
  auto* ml = new QGridLayout(main);
  ml->addWidget(new QLabel("Runs", main), 0, 0);
  nRun = Spin(main, "nRun", 1, 1000000, d.runs);
  ml->addWidget(nRun, 0, 1);
  ml->addWidget(new QLabel("Recombination rate\n(per nucleotide C = 4Nc)", main), 1, 0);
  Rrate = Edit(main, "Rrate", d.recRate);
  ml->addWidget(Rrate, 1, 1);
  auto* seqBox = new QGroupBox("Sequences", main);
  auto* sl = new QGridLayout(seqBox);
  sl->addWidget(new QLabel("Length", seqBox), 0, 0);
  Slen = Spin(seqBox, "Slen", 10, 1000000000, d.seqLength);
  sl->addWidget(Slen, 0, 1);
  sl->addWidget(new QLabel("Number", seqBox), 1, 0);
  nSeq = Spin(seqBox, "nSeq", 2, 100000, d.sampleSize);
  sl->addWidget(nSeq, 1, 1);
  ml->addWidget(seqBox, 2, 0, 1, 2);
  auto* condBox = new QGroupBox("Conditional on", main);
  auto* cl = new QGridLayout(condBox);
  cbSegSites = Named(new QRadioButton("Number of segregating sites", condBox), "cbSegSites");
  cbMut = Named(new QRadioButton("Number of mutations ", condBox), "cbMut");
  cbTheta = Named(new QRadioButton("Value of theta ------------------", condBox), "cbTheta");
  cbSegSites->setChecked(true);
  nMut = Spin(condBox, "nMut", 0, 100000000, d.targetCount);
  ThetaEdit = Edit(condBox, "ThetaEdit", d.theta);
  cl->addWidget(cbSegSites, 0, 0);
  cl->addWidget(cbMut, 1, 0);
  cl->addWidget(nMut, 0, 1, 2, 1);
  cl->addWidget(cbTheta, 2, 0);
  cl->addWidget(ThetaEdit, 2, 1);
  ml->addWidget(condBox, 3, 0, 1, 2);

  // ---- population size ----
  QWidget* sizePage = AddPage("Population size");
  auto* pl = new QVBoxLayout(sizePage);
  auto* sizeBox = new QGroupBox("Population size", sizePage);
  auto* zl = new QGridLayout(sizeBox);
  cbSizeConst = Named(new QRadioButton("Constant", sizeBox), "cbSizeConst");
  cbGrowth = Named(new QRadioButton("Growth", sizeBox), "cbGrowth");
  cbSizeConst->setChecked(true);
  EditNe = Edit(sizeBox, "EditNe", d.ne);
  TsinceEdit = Edit(sizeBox, "TsinceEdit", d.sizeChangeTime);
  ScoEdit = Edit(sizeBox, "ScoEdit", d.growthRate);
  zl->addWidget(cbSizeConst, 0, 0);
  zl->addWidget(cbGrowth, 1, 0);
  zl->addWidget(new QLabel("Effective population size, Ne", sizeBox), 2, 0);
  zl->addWidget(EditNe, 2, 1);
  zl->addWidget(new QLabel("Time (generations) since size change", sizeBox), 3, 0);
  zl->addWidget(TsinceEdit, 3, 1);
  zl->addWidget(new QLabel("Parameter of exponential growth", sizeBox), 4, 0);
  zl->addWidget(ScoEdit, 4, 1);
  pl->addWidget(sizeBox);
  pl->addStretch(1);

  // ---- subdivision ----
  QWidget* subPage = AddPage("Subdivision");
  auto* ul = new QGridLayout(subPage);
  auto* structBox = new QGroupBox("Population structure", subPage);
  auto* tl = new QGridLayout(structBox);
  cbPanmict = Named(new QRadioButton("Panmictic population", structBox), "cbPanmict");
  cbSubdiv = Named(new QRadioButton("Subdivided population", structBox), "cbSubdiv");
  cbPanmict->setChecked(true);
  DemeNumber = Spin(structBox, "DemeNumber", 1, 1000, 1);
  tl->addWidget(cbPanmict, 0, 0);
  tl->addWidget(cbSubdiv, 1, 0);
  tl->addWidget(new QLabel("Number of demes", structBox), 2, 0);
  tl->addWidget(DemeNumber, 2, 1);
  ul->addWidget(structBox, 0, 0);
  auto* migBox = new QGroupBox("Migration (no isolation by distance)", subPage);
  auto* gl = new QGridLayout(migBox);
  gl->addWidget(new QLabel("Migration rate, Nm", migBox), 0, 0);
  MigRateEdit = Edit(migBox, "MigRateEdit", d.migrationRate);
  gl->addWidget(MigRateEdit, 0, 1);
  gl->addWidget(new QLabel("started", migBox), 1, 0);
  mstart = Edit(migBox, "mstart", d.migrationStart);
  gl->addWidget(mstart, 1, 1);
  gl->addWidget(new QLabel("generations\nago", migBox), 1, 2);
  ul->addWidget(migBox, 1, 0);
  auto* splitBox = new QGroupBox("Population split", subPage);
  auto* xl = new QHBoxLayout(splitBox);
  cbSplit =
      Named(new QCheckBox("Population split                           generations ago", splitBox),
            "cbSplit");
  TofSplit = Edit(splitBox, "TofSplit", d.splitTime);
  // The caption leaves room for the box; keep a typical number of generations readable.
  TofSplit->setMinimumWidth(TofSplit->fontMetrics().horizontalAdvance("000000000") + 12);
  xl->addWidget(cbSplit);
  xl->addWidget(TofSplit);
  ul->addWidget(splitBox, 2, 0);
  auto* sampBox = new QGroupBox("Sampling", subPage);
  auto* al = new QVBoxLayout(sampBox);
  cbSamp1Deme = Named(new QRadioButton("From one deme only", sampBox), "cbSamp1Deme");
  cbSampEqual = Named(new QRadioButton("Equal sampling", sampBox), "cbSampEqual");
  cbSamp1Deme->setChecked(true);
  SampGrid = Named(new QTableWidget(2, 2, sampBox), "SampGrid");
  SampGrid->horizontalHeader()->hide();
  SampGrid->verticalHeader()->hide();
  SampGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  al->addWidget(cbSamp1Deme);
  al->addWidget(cbSampEqual);
  al->addWidget(SampGrid);
  ul->addWidget(sampBox, 0, 1, 3, 1);

  // ---- output ----
  QWidget* outPage = AddPage("Output");
  auto* ol = new QGridLayout(outPage);
  auto* statBox = new QGroupBox("Statistics", outPage);
  auto* bl = new QGridLayout(statBox);
  const std::pair<QCheckBox**, std::pair<const char*, const char*>> boxes[] = {
      {&cbSegrSites, {"S", "cbSegrSites"}},
      {&cbSingls, {"% of singletons", "cbSingls"}},
      {&cbTh, {"\u03b8", "cbTh"}},
      {&cbPi, {"\u03c0", "cbPi"}},
      {&cbTajimaD, {"Tajima's D", "cbTajimaD"}},
      {&cbFuLi, {"Fu and Li' D*&&F*", "cbFuLi"}},
      {&cbZnS, {"Kelly's ZnS", "cbZnS"}},
      {&cbWBQ, {"Wall's B Q", "cbWBQ"}},
      {&cbFst, {"Fst", "cbFst"}},
      {&cbDst, {"Dst", "cbDst"}},
      {&cbKst, {"Kst", "cbKst"}},
      {&cbNm, {"Nm", "cbNm"}},
      {&cbDxy, {"Dxy", "cbDxy"}},
      {&cbShared, {"Shared/fixed", "cbShared"}}};
  int i = 0;
  for (const auto& [box, texts] : boxes) {
    *box = Named(new QCheckBox(QString::fromUtf8(texts.first), statBox), texts.second);
    bl->addWidget(*box, i % 7, i / 7);
    ++i;
  }
  cbSegrSites->setChecked(d.stats.segSites);
  cbPi->setChecked(d.stats.pi);
  cbTajimaD->setChecked(d.stats.tajimaD);
  ol->addWidget(statBox, 0, 0, 3, 1);
  auto* saveBox = new QGroupBox("Save results of each run", outPage);
  auto* vl = new QGridLayout(saveBox);
  cbSave = Named(new QCheckBox("Stats", saveBox), "cbSave");
  cbSave->setChecked(d.saveStats);
  FileNameEdit = Edit(saveBox, "FileNameEdit", d.statsFile);
  cbphylip = Named(new QCheckBox("Seq", saveBox), "cbphylip");
  edFname = Edit(saveBox, "edFname", d.sequenceFile);
  vl->addWidget(cbSave, 0, 0);
  vl->addWidget(FileNameEdit, 0, 1);
  vl->addWidget(cbphylip, 1, 0);
  vl->addWidget(edFname, 1, 1);
  ol->addWidget(saveBox, 0, 1);
  auto* showBox = new QGroupBox("Show", outPage);
  auto* wl = new QVBoxLayout(showBox);
  cbseqwin = Named(new QCheckBox("Simulated datasets", showBox), "cbseqwin");
  wl->addWidget(cbseqwin);
  ol->addWidget(showBox, 1, 1);
  auto* pBox = new QGroupBox("P-value", outPage);
  auto* ql = new QGridLayout(pBox);
  Pval = Edit(pBox, "Pval", d.pValue);
  ql->addWidget(Pval, 0, 0);
  ql->addWidget(new QLabel("Seed", pBox), 1, 0);
  SeedEdit = Edit(pBox, "SeedEdit", "0");
  SeedEdit->setToolTip("0: from the clock; the seed used is in the report's first line");
  ql->addWidget(SeedEdit, 1, 1);
  ol->addWidget(pBox, 2, 1);

  for (QRadioButton* r : {cbSegSites, cbMut, cbTheta})
    connect(r, &QRadioButton::toggled, this, &TCoalSimDialog::cbThetaClick);
  for (QRadioButton* r : {cbSizeConst, cbGrowth})
    connect(r, &QRadioButton::toggled, this, &TCoalSimDialog::cbGrowthClick);
  for (QRadioButton* r : {cbPanmict, cbSubdiv})
    connect(r, &QRadioButton::toggled, this, &TCoalSimDialog::cbSubdivClick);
  for (QRadioButton* r : {cbSamp1Deme, cbSampEqual})
    connect(r, &QRadioButton::toggled, this, &TCoalSimDialog::DemeNumberChanged);
  connect(DemeNumber, &QSpinBox::valueChanged, this, &TCoalSimDialog::DemeNumberChanged);
  cbThetaClick();
  cbGrowthClick();
  cbSubdivClick();
  DemeNumberChanged();
}

void TCoalSimDialog::cbThetaClick() {
  ThetaEdit->setEnabled(cbTheta->isChecked());
  nMut->setEnabled(!cbTheta->isChecked());
}

void TCoalSimDialog::cbGrowthClick() {
  for (QLineEdit* e : {EditNe, TsinceEdit, ScoEdit}) e->setEnabled(cbGrowth->isChecked());
}

void TCoalSimDialog::cbSubdivClick() {
  const bool on = cbSubdiv->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{DemeNumber, MigRateEdit, mstart, cbSplit,
                                                    cbSamp1Deme, TofSplit, cbSampEqual, SampGrid,
                                                    cbFst, cbDst, cbKst, cbNm, cbDxy, cbShared})
    w->setEnabled(on);
}

void TCoalSimDialog::DemeNumberChanged() {
  const int demes = DemeNumber->value();
  SampGrid->setRowCount(demes + 1);
  const std::vector<std::string> cells = FillSamplingGrid(
      demes, nSeq->value(), cbSampEqual->isChecked() ? CoalSampling::Equal : CoalSampling::OneDeme);
  for (int r = 0; r < demes; ++r) {
    SampGrid->setItem(r + 1, 0, new QTableWidgetItem(QString::number(r + 1)));
    SampGrid->setItem(
        r + 1, 1, new QTableWidgetItem(QString::fromStdString(cells[static_cast<std::size_t>(r)])));
  }
}

CoalSimOptions TCoalSimDialog::Options() const {
  CoalSimOptions o;
  o.runs = nRun->value();
  o.recRate = Text(Rrate);
  o.seqLength = Slen->value();
  o.sampleSize = nSeq->value();
  o.target = cbTheta->isChecked() ? CoalTarget::Theta
             : cbMut->isChecked() ? CoalTarget::Mutations
                                  : CoalTarget::SegSites;
  o.targetCount = nMut->value();
  o.theta = Text(ThetaEdit);
  o.growth = cbGrowth->isChecked();
  o.ne = Text(EditNe);
  o.sizeChangeTime = Text(TsinceEdit);
  o.growthRate = Text(ScoEdit);
  o.subdivided = cbSubdiv->isChecked();
  o.demeNumber = DemeNumber->text().toStdString();
  o.migrationRate = Text(MigRateEdit);
  o.migrationStart = Text(mstart);
  o.split = cbSplit->isChecked();
  o.splitTime = Text(TofSplit);
  for (int r = 1; r < SampGrid->rowCount(); ++r) {
    const QTableWidgetItem* item = SampGrid->item(r, 1);
    o.sampleCells.push_back(item != nullptr ? item->text().toStdString() : std::string());
  }
  SimStatChoice& c = o.stats;
  c.segSites = cbSegrSites->isChecked();
  c.singletons = cbSingls->isChecked();
  c.theta = cbTh->isChecked();
  c.pi = cbPi->isChecked();
  c.tajimaD = cbTajimaD->isChecked();
  c.fuLi = cbFuLi->isChecked();
  c.zns = cbZnS->isChecked();
  c.wallBQ = cbWBQ->isChecked();
  // The subdivision statistics count only while their boxes can be used.
  const bool sub = o.subdivided;
  c.fst = sub && cbFst->isChecked();
  c.dst = sub && cbDst->isChecked();
  c.kst = sub && cbKst->isChecked();
  c.nm = sub && cbNm->isChecked();
  c.dxy = sub && cbDxy->isChecked();
  c.shared = sub && cbShared->isChecked();
  o.saveStats = cbSave->isChecked();
  o.statsFile = Text(FileNameEdit);
  o.saveSequences = cbphylip->isChecked();
  o.sequenceFile = Text(edFname);
  o.pValue = Text(Pval);
  o.seed = SeedEdit->text().toULongLong();
  return o;
}

void TCoalSimDialog::OkButtonClick() {
  if (running) return;
  const CoalSimOptions o = Options();
  CoalSimSettings checked;
  if (const auto error = CheckCoalSimOptions(o, checked)) {
    if (auto* w = findChild<QWidget*>(QString::fromStdString(error->field))) {
      for (int i = 0; i < pages->count(); ++i)
        if (pages->widget(i)->isAncestorOf(w)) pages->setCurrentIndex(i);
      w->setFocus();
    }
    MainForm().Notify(error->message);
    return;
  }
  bool seedOk = false;
  SeedEdit->text().toULongLong(&seedOk);
  if (!seedOk) {
    SeedEdit->setFocus();
    MainForm().Notify("The seed must be a whole number (0: from the clock)");
    return;
  }
  std::string folder;
  if ((o.saveStats && NeedsFolder(o.statsFile)) ||
      (o.saveSequences && NeedsFolder(o.sequenceFile))) {
    const std::optional<std::string> chosen = OutputFolder();
    if (!chosen) return;
    folder = *chosen;
  }
  DoCoalesc(o, folder);
  if (parentWidget() != nullptr) parentWidget()->close();
}

void TCoalSimDialog::DoCoalesc(const CoalSimOptions& o, const std::string& folder) {
  TMainForm& main = MainForm();
  auto datasets = std::make_unique<TDataProj>(main.GetServices());
  CoalSimIO io{main, main, folder, {}};
  if (cbseqwin->isChecked())
    io.datasets = [&](std::int64_t run, const std::vector<std::string>& sequences) {
      auto ds = std::make_unique<TDataSeq>(main.GetServices());
      ds->dsName = "Run" + std::to_string(run);
      for (std::size_t i = 0; i < sequences.size(); ++i) {
        auto seq = std::make_unique<TSeq>("Seq" + std::to_string(i + 1), sequences[i]);
        (void)ds->AddSeq(seq, false);
      }
      datasets->AddDataset(ds, false);
    };
  main.ClearCancel();
  running = true;
  const CoalSimOutcome out = RunCoalSim(o, io);
  running = false;
  main.ClearCancel();
  if (datasets->DatasetCount() > 0)
    main.ShowDatasetsInNewEditor(std::move(datasets), "Simulated datasets");
  if (out.report.empty()) return;
  auto* report = new TRepForm(main);
  report->setWindowTitle("Coalescent simulations report");
  report->SetText(out.report);
  main.AddChildWindow(report)->show();
  lastReport = report;
}

TCoalSimDialog* NewCoalSimDialog(TMainForm& mainForm) {
  if (auto* open = qobject_cast<TCoalSimDialog*>(mainForm.RaiseToolWindow(ToolKind::CoalSimDialog)))
    return open;
  auto* dialog = new TCoalSimDialog(mainForm);
  mainForm.RegisterToolWindow(ToolKind::CoalSimDialog, dialog);
  return dialog;
}
