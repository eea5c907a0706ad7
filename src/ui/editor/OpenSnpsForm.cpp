// SPDX-License-Identifier: GPL-3.0-or-later
// The SNP table dialog over the core SNP table reader.
#include "ui/editor/OpenSnpsForm.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "io/ResultFormats.h"
#include "ui/editor/DialogButtons.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/shell/CLXMain.h"

namespace {

QSpinBox* NewSpin(QWidget* owner, const char* name, int min, int max, int value) {
  auto* spin = new QSpinBox(owner);
  spin->setObjectName(name);
  spin->setRange(min, max);
  spin->setValue(value);
  return spin;
}

}  // namespace

TOpenSNPsFrm::TOpenSNPsFrm(TMainForm& main) : QDialog(&main), mainForm(main) {
  setObjectName("OpenSNPsFrm");
  setWindowTitle("Open *.csv file with SNPs in columns as alignment of sequences");
  const SnpTableOptions defaults;
  auto* outer = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  outer->addLayout(grid);
  int row = 0;
  grid->addWidget(new QLabel("File with SNPs:", this), row++, 0, 1, 3);
  SNPfile = new QLineEdit(this);
  SNPfile->setObjectName("SNPfile");
  grid->addWidget(SNPfile, row++, 0, 1, 3);
  grid->addWidget(new QLabel("File with reference sequence:", this), row++, 0, 1, 3);
  FileEdit = new QLineEdit(this);
  FileEdit->setObjectName("FileEdit");
  FileButton = new QPushButton("...", this);
  FileButton->setObjectName("FileButton");
  FileButton->setMaximumWidth(32);
  grid->addWidget(FileEdit, row, 0, 1, 2);
  grid->addWidget(FileButton, row++, 2);
  HasHeaders = new QCheckBox("SNP file has headers", this);
  HasHeaders->setObjectName("HasHeaders");
  grid->addWidget(HasHeaders, row++, 0, 1, 3);
  const auto addSpin = [&](const char* caption, QSpinBox* spin) {
    grid->addWidget(new QLabel(caption, this), row, 0, 1, 2);
    grid->addWidget(spin, row++, 2);
  };
  ColSqNames = NewSpin(this, "ColSqNames", 1, 10000, defaults.colName);
  addSpin("Column with sequence names (accession names)", ColSqNames);
  ColSNPos = NewSpin(this, "ColSNPos", 1, 10000, defaults.colPosition);
  addSpin("Column with SNP positions", ColSNPos);
  ColWT = NewSpin(this, "ColWT", 1, 10000, defaults.colWildType);
  addSpin("Column with genotype in the wild type or reference", ColWT);
  ColSNP = NewSpin(this, "ColSNP", 1, 10000, defaults.colSnp);
  addSpin("Column with genotype in the mutant accession", ColSNP);
  PosOffset = NewSpin(this, "PosOffset", -2000000000, 2000000000, defaults.positionOffset);
  addSpin("Offset for the 1st position in the reference sequence", PosOffset);
  grid->addWidget(new QLabel("(should be zero if SNP coordinates correspond to", this), row++, 0, 1,
                  3);
  grid->addWidget(new QLabel("coordinates in the reference)", this), row++, 0, 1, 3);
  const OkCancelButtons buttons = AddOkCancelRow(this, outer, "Ok");
  OkButton = buttons.ok;
  CancelButton = buttons.cancel;
  connect(OkButton, &QPushButton::clicked, this, &TOpenSNPsFrm::OkButtonClick);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(FileButton, &QPushButton::clicked, this, [this] {
    const QString chosen = QFileDialog::getOpenFileName(this, "Open", FileEdit->text());
    if (!chosen.isEmpty()) FileEdit->setText(chosen);
  });
}

SnpTableOptions TOpenSNPsFrm::Options() const {
  SnpTableOptions o;
  o.snpPath = SNPfile->text().toStdString();
  o.referencePath = FileEdit->text().toStdString();
  o.hasHeaders = HasHeaders->isChecked();
  o.colName = ColSqNames->value();
  o.colPosition = ColSNPos->value();
  o.colWildType = ColWT->value();
  o.colSnp = ColSNP->value();
  o.positionOffset = PosOffset->value();
  return o;
}

void TOpenSNPsFrm::OkButtonClick() {
  if (TSeqGridFrm* w = AsSeqGridFrm(mainForm.CurrentEditor())) {
    const int before = w->GetProject().TotalSeqCount();
    OpenSnpTable(Options(), w->Target(), mainForm.GetServices());
    if (w->GetProject().TotalSeqCount() != before) w->SetModified(true);
    w->GetProject().UpdateMaxima();
    w->UpdateAllBits();
  }
  accept();
}

TOpenSNPsFrm& OpenSNPsForm(TMainForm& main) {
  if (auto* form = main.findChild<TOpenSNPsFrm*>("OpenSNPsFrm", Qt::FindDirectChildrenOnly))
    return *form;
  return *new TOpenSNPsFrm(main);
}

void ShowOpenSNPsForm(TMainForm& main, const QString& path) {
  TOpenSNPsFrm& form = OpenSNPsForm(main);
  form.SNPfile->setText(path);
  form.exec();
}
