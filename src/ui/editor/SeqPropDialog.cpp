// SPDX-License-Identifier: GPL-3.0-or-later
// The sequence properties dialog.
#include "ui/editor/SeqPropDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "ui/editor/DialogButtons.h"
#include "ui/editor/FRtypeBox.h"
#include "ui/editor/RegionGridModel.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/shell/CLXMain.h"

namespace {

constexpr int kPoorQualityMax = 10'000'000;
constexpr int kRegionRowHeight = 17;

QString Text(const std::string& s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

std::string Latin1(const QLineEdit* edit) {
  return edit->text().toLatin1().toStdString();
}

QLineEdit* MakeEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  return edit;
}

QCheckBox* MakeCheck(QWidget* parent, const char* caption, const char* name) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  return box;
}

QSpinBox* MakePoorQualityBox(QWidget* parent, const char* name, int stored) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(name);
  // The maximum grows to a stored value beyond it, so "OK" never cuts what was there.
  box->setRange(-1, std::max(kPoorQualityMax, stored));
  return box;
}

TDataSeq* CurrentDatasetOf(TDataProj& project) {
  return project.DatasetCount() == 0 ? nullptr : project.DatasetAt(project.CurrentIndex());
}

}  // namespace

bool CanShowSeqProperties(TSeqGridFrm& editor) {
  const TDataSeq* ds = CurrentDatasetOf(editor.GetProject());
  return ds != nullptr && ds->SeqAt(ds->currentRow) != nullptr;
}

TSeqPropDialog::TSeqPropDialog(TSeqGridFrm& editor, QWidget* parent)
    : QDialog(parent != nullptr ? parent : &editor), editor(editor) {
  setObjectName("SeqPropDialog");
  setWindowTitle("Sequence properties");
  TDataProj& project = editor.GetProject();
  TDataSeq* ds = CurrentDatasetOf(project);
  datasetIndex = project.CurrentIndex();
  row = ds != nullptr ? ds->currentRow : 0;
  static const TSeq kNoSequence;
  const TSeq& seq = ds != nullptr && ds->SeqAt(row) != nullptr ? *ds->SeqAt(row) : kNoSequence;

  auto* layout = new QVBoxLayout(this);
  PageControl = new QTabWidget(this);
  PageControl->setObjectName("PageControl1");
  PageControl->addTab(BuildAttributesPage(), "Attributes");
  PageControl->addTab(BuildRegionsPage(seq), "Functional regions");
  layout->addWidget(PageControl);
  const OkCancelButtons buttons = AddOkCancelRow(this, layout);
  OkButton = buttons.ok;
  CancelButton = buttons.cancel;
  connect(OkButton, &QPushButton::clicked, this, &TSeqPropDialog::OkButtonClick);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

  for (const TIndivid& individ : project.Individs()) cbIndivid->addItem(Text(individ.indName));
  ShowAttributes(ReadSeqProperties(seq, project), seq);
  cIsOutgr->setChecked(ds != nullptr && project.IsOutgroup(*ds, row));
  chooseType = [this](int startIndex, bool reverse) {
    return TFRtypeBox::Choose(this, startIndex, reverse);
  };
  resize(760, 520);
}

QWidget* TSeqPropDialog::BuildAttributesPage() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  int r = 0;
  auto addRow = [&](const char* caption, QWidget* control, QWidget* extra = nullptr) {
    grid->addWidget(new QLabel(caption, page), r, 0);
    grid->addWidget(control, r, 1, 1, extra != nullptr ? 1 : 2);
    if (extra != nullptr) grid->addWidget(extra, r, 2);
    ++r;
  };
  SeqNameEdit = MakeEdit(page, "SeqNameEdit");
  addRow("Seq.Name", SeqNameEdit);
  SeqTypeCB = new QComboBox(page);
  SeqTypeCB->setObjectName("SeqTypeCB");
  for (const std::string& name : SeqTypeBoxNames()) SeqTypeCB->addItem(Text(name));
  addRow("Seq.Type", SeqTypeCB);
  AccNEdit = MakeEdit(page, "AccNEdit");
  addRow("Acc#", AccNEdit);

  auto* flags = new QGridLayout;
  cbEnabled = MakeCheck(page, "Enabled", "cbEnabled");
  cbSelected = MakeCheck(page, "Selected", "cbSelected");
  cbPlus = MakeCheck(page, "+string", "cbPlus");
  cbShowFReg = MakeCheck(page, "Show func. regions", "cbShowFReg");
  cbShowChrom = MakeCheck(page, "Show chromatogram", "cbShowChrom");
  cbForw = MakeCheck(page, "Forward", "cbForw");
  QCheckBox* const order[] = {cbEnabled, cbSelected, cbPlus, cbShowFReg, cbShowChrom, cbForw};
  for (int i = 0; i < 6; ++i) flags->addWidget(order[i], i / 3, i % 3);
  grid->addLayout(flags, r++, 0, 1, 3);

  seSeqPloidy = new QSpinBox(page);
  seSeqPloidy->setObjectName("seSeqPloidy");
  seSeqPloidy->setRange(1, 1'000'000);
  seSeqPloidy->setValue(1);
  seSeqPloidy->setToolTip("Haploid / diploid (e.g. direct sequence from diploids)...");
  addRow("Ploidy", seSeqPloidy);
  CommEdit = MakeEdit(page, "CommEdit");
  addRow("Comment", CommEdit);
  SrcFileEdit = MakeEdit(page, "SrcFileEdit");
  SrcFileButton = new QToolButton(page);
  SrcFileButton->setObjectName("SrcFileButton");
  SrcFileButton->setText("...");
  connect(SrcFileButton, &QToolButton::clicked, this, [this] {
    const QString path =
        QFileDialog::getOpenFileName(this, "Find source file", SrcFileEdit->text());
    if (!path.isEmpty()) SrcFileEdit->setText(path);
  });
  addRow("Source file", SrcFileEdit, SrcFileButton);
  OrganismEdit = MakeEdit(page, "OrganismEdit");
  addRow("Organism", OrganismEdit);
  LocNameEdit = MakeEdit(page, "LocNameEdit");
  addRow("Locus name", LocNameEdit);
  DefEdit = MakeEdit(page, "DefEdit");
  addRow("GB def.", DefEdit);
  cbIndivid = new QComboBox(page);
  cbIndivid->setObjectName("cbIndivid");
  Button3 = new QPushButton("New", page);
  Button3->setObjectName("Button3");
  connect(Button3, &QPushButton::clicked, this, &TSeqPropDialog::Button3Click);
  addRow("Individual", cbIndivid, Button3);
  cIsOutgr = MakeCheck(page, "This sequence is an outgroup", "cIsOutgr");
  cIsOutgr->setEnabled(false);  // shows, never writes
  grid->addWidget(cIsOutgr, r++, 1, 1, 2);
  auto* quality = new QHBoxLayout;
  quality->addWidget(new QLabel("Poor quality: left              right", page));
  grid->addLayout(quality, r, 0);
  auto* boxes = new QHBoxLayout;
  sePQL = MakePoorQualityBox(page, "sePQL", 0);
  sePQR = MakePoorQualityBox(page, "sePQR", 0);
  boxes->addWidget(sePQL);
  boxes->addWidget(sePQR);
  grid->addLayout(boxes, r++, 1, 1, 2);
  grid->setRowStretch(r, 1);
  return page;
}

QWidget* TSeqPropDialog::BuildRegionsPage(const TSeq& seq) {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* tools = new QHBoxLayout;
  AddButton = new QPushButton("Add", page);
  AddButton->setObjectName("AddButton");
  RemoveButton = new QPushButton("Remove", page);
  RemoveButton->setObjectName("RemoveButton");
  ChangeTypeButton = new QPushButton("Change type", page);
  ChangeTypeButton->setObjectName("ChangeTypeButton");
  FRfilter = new QComboBox(page);
  FRfilter->setObjectName("FRfilter");
  for (const std::string& name : RegionFilterNames()) FRfilter->addItem(Text(name));
  for (QWidget* w : {static_cast<QWidget*>(AddButton), static_cast<QWidget*>(RemoveButton),
                     static_cast<QWidget*>(ChangeTypeButton)})
    tools->addWidget(w);
  tools->addStretch();
  tools->addWidget(FRfilter);
  layout->addLayout(tools);

  model = new RegionGridModel(RegionWorkingCopy(seq.regions, seq.Length()), this);
  FRgrid = new QTableView(page);
  FRgrid->setObjectName("FRgrid");
  FRgrid->setModel(model);
  FRgrid->verticalHeader()->hide();
  FRgrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  FRgrid->verticalHeader()->setMinimumSectionSize(kRegionRowHeight);
  FRgrid->verticalHeader()->setDefaultSectionSize(kRegionRowHeight);
  for (int c = 0; c < kRegionColumnCount; ++c)
    FRgrid->setColumnWidth(c, RegionColumnWidths()[static_cast<std::size_t>(c)]);
  FRgrid->setSelectionMode(QAbstractItemView::ExtendedSelection);
  FRgrid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
  layout->addWidget(FRgrid, 1);
  Memo1 = new QPlainTextEdit(page);
  Memo1->setObjectName("Memo1");
  Memo1->setReadOnly(true);
  Memo1->setMaximumHeight(60);
  layout->addWidget(Memo1);

  connect(FRgrid->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &TSeqPropDialog::ExplainCell);
  // A refill renews the selection model's current cell; the memo follows it.
  connect(model, &QAbstractItemModel::modelReset, this, &TSeqPropDialog::ExplainCell);
  connect(model, &QAbstractItemModel::dataChanged, this, &TSeqPropDialog::ExplainCell);
  connect(FRfilter, &QComboBox::currentIndexChanged, this,
          [this](int index) { model->SetFilter(index); });
  connect(AddButton, &QPushButton::clicked, this, &TSeqPropDialog::AddClick);
  connect(RemoveButton, &QPushButton::clicked, this, &TSeqPropDialog::RemoveClick);
  connect(ChangeTypeButton, &QPushButton::clicked, this, &TSeqPropDialog::ChangeTypeClick);
  return page;
}

void TSeqPropDialog::ShowAttributes(const SeqProperties& p, const TSeq& seq) {
  SeqNameEdit->setText(Text(p.seqName));
  SeqTypeCB->setCurrentIndex(p.seqTypeIndex);
  AccNEdit->setText(Text(p.accession));
  cbEnabled->setChecked(p.enabled);
  cbSelected->setChecked(p.selected);
  cbPlus->setChecked(p.plusStrand);
  cbShowFReg->setChecked(p.showRegions);
  cbShowChrom->setChecked(p.showTrace);
  cbShowChrom->setEnabled(seq.HasTrace());
  cbForw->setChecked(p.forward);
  seSeqPloidy->setMaximum(std::max(seSeqPloidy->maximum(), p.ploidy));
  seSeqPloidy->setValue(p.ploidy);
  CommEdit->setText(Text(p.comment));
  SrcFileEdit->setText(Text(p.sourceFile));
  OrganismEdit->setText(Text(p.organism));
  LocNameEdit->setText(Text(p.locusName));
  DefEdit->setText(Text(p.definition));
  cbIndivid->setCurrentIndex(p.individName.empty() ? -1 : cbIndivid->findText(Text(p.individName)));
  sePQL->setMaximum(std::max(kPoorQualityMax, p.poorQualityLeft));
  sePQR->setMaximum(std::max(kPoorQualityMax, p.poorQualityRight));
  sePQL->setValue(p.poorQualityLeft);
  sePQR->setValue(p.poorQualityRight);
}

SeqProperties TSeqPropDialog::TakeAttributes() const {
  SeqProperties p;
  p.seqName = Latin1(SeqNameEdit);
  p.seqTypeIndex = SeqTypeCB->currentIndex();
  p.accession = Latin1(AccNEdit);
  p.enabled = cbEnabled->isChecked();
  p.selected = cbSelected->isChecked();
  p.plusStrand = cbPlus->isChecked();
  p.showRegions = cbShowFReg->isChecked();
  p.showTrace = cbShowChrom->isChecked();
  p.forward = cbForw->isChecked();
  p.ploidy = seSeqPloidy->value();
  p.comment = Latin1(CommEdit);
  p.sourceFile = Latin1(SrcFileEdit);
  p.organism = Latin1(OrganismEdit);
  p.locusName = Latin1(LocNameEdit);
  p.definition = Latin1(DefEdit);
  if (cbIndivid->currentIndex() >= 0)
    p.individName = cbIndivid->currentText().toLatin1().toStdString();
  p.poorQualityLeft = sePQL->value();
  p.poorQualityRight = sePQR->value();
  return p;
}

void TSeqPropDialog::OkButtonClick() {
  TDataProj& project = editor.GetProject();
  TDataSeq* ds = datasetIndex >= 0 && datasetIndex < project.DatasetCount()
                     ? project.DatasetAt(datasetIndex)
                     : nullptr;
  if (ds != nullptr && ApplySeqProperties(project, *ds, row, TakeAttributes(), newIndividuals,
                                          model->Copy().Regions()))
    editor.SetModified(true);
  editor.UpdateAllBits();
  accept();
}

void TSeqPropDialog::Button3Click() {
  if (!editor.MainForm().AskYesNo("Add new individual?")) return;
  const std::string name = NewIndividualName(editor.GetProject(), newIndividuals);
  newIndividuals.push_back(name);
  cbIndivid->addItem(Text(name));
  cbIndivid->setCurrentIndex(cbIndivid->count() - 1);
}

void TSeqPropDialog::AddClick() {
  const int shownRow = model->Add();
  if (shownRow >= 0) FRgrid->setCurrentIndex(model->index(shownRow, kColName));
}

void TSeqPropDialog::RemoveClick() {
  std::set<int> rows;
  for (const QModelIndex& i : FRgrid->selectionModel()->selectedIndexes()) rows.insert(i.row());
  if (rows.empty() && FRgrid->currentIndex().isValid()) rows.insert(FRgrid->currentIndex().row());
  model->Remove({rows.begin(), rows.end()});
}

void TSeqPropDialog::ChangeTypeClick() {
  const int current = FRgrid->currentIndex().isValid() ? FRgrid->currentIndex().row() : 0;
  const int region = model->Copy().RegionOfRow(current);
  if (region < 0) return;
  const TRegion& r = model->Copy().Regions()[static_cast<std::size_t>(region)];
  const int choice = chooseType(
      KindListIndex(r.regType, static_cast<int>(RegionTypeChooserNames().size())), r.regReverse);
  model->ChangeType(current, choice);
}

void TSeqPropDialog::ExplainCell() {
  const QModelIndex current = FRgrid->currentIndex();
  const std::string text =
      current.isValid() ? RegionCellExplanation(current.column(),
                                                model->Copy().Cell(current.row(), current.column()))
                        : std::string();
  Memo1->setPlainText(Text(text));
}
