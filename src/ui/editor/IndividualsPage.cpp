// SPDX-License-Identifier: GPL-3.0-or-later
// The individuals page (read-only view).
#include "ui/editor/IndividualsPage.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "model/DataProjUnit.h"
#include "ui/grid/QSeqGrid3.h"

namespace {

QString Latin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QTableWidget* ReadOnlyTable(QWidget* parent, const char* name) {
  auto* t = new QTableWidget(parent);
  t->setObjectName(name);
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  t->setSelectionBehavior(QAbstractItemView::SelectRows);
  t->verticalHeader()->hide();
  t->verticalHeader()->setDefaultSectionSize(18);
  t->horizontalHeader()->setStretchLastSection(true);
  return t;
}

void SetCell(QTableWidget* t, int row, int column, const QString& text) {
  t->setItem(row, column, new QTableWidgetItem(text));
}

QString GroupNameOfKey(const TDataProj& p, int key) {
  const int index = p.GroupIndexByKey(key);
  return index >= 0 ? Latin1(p.GroupName(index)) : QString();
}

}  // namespace

TIndividualsPage::TIndividualsPage(TSeqGrid3* g, QWidget* parent) : QWidget(parent), grid(g) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  auto* split = new QSplitter(Qt::Horizontal, this);

  auto* individuals = new QGroupBox("Individuals", split);
  auto* indLayout = new QVBoxLayout(individuals);
  auto* filter = new QHBoxLayout;
  filter->addWidget(new QLabel("From group:", individuals));
  GrpBox = new QComboBox(individuals);
  GrpBox->setObjectName("GrpBox");
  filter->addWidget(GrpBox, 1);
  indLayout->addLayout(filter);
  IndivGrid = ReadOnlyTable(individuals, "IndivGrid");
  indLayout->addWidget(IndivGrid, 3);
  indLayout->addWidget(new QLabel("Groups:", individuals));
  GroupList = new QListWidget(individuals);
  GroupList->setObjectName("GroupList");
  indLayout->addWidget(GroupList, 1);

  auto* sequences = new QGroupBox("Sequences", split);
  auto* seqLayout = new QVBoxLayout(sequences);
  SeqList = ReadOnlyTable(sequences, "SeqList");
  SeqList->setColumnCount(3);
  SeqList->setHorizontalHeaderLabels({"Sequence", "Individ", "Group"});
  seqLayout->addWidget(SeqList);
  split->addWidget(individuals);
  split->addWidget(sequences);
  layout->addWidget(split);

  connect(GrpBox, &QComboBox::currentIndexChanged, this, [this] {
    if (!filling) FillIndividuals();
  });
}

void TIndividualsPage::Rebuild() {
  if (!grid) return;
  const TDataProj& p = grid->Project();
  filling = true;
  const QString chosen = GrpBox->currentText();
  GrpBox->clear();
  GrpBox->addItem("All");
  GrpBox->addItem("Not in any group");
  GroupList->clear();
  for (int g = 0; g < p.GroupCount(); ++g) {
    GrpBox->addItem(Latin1(p.GroupName(g)));
    GroupList->addItem(Latin1(p.GroupName(g)));
  }
  const int keep = GrpBox->findText(chosen);
  GrpBox->setCurrentIndex(keep >= 0 ? keep : 0);
  filling = false;
  FillIndividuals();

  const TDataSeq* ds = p.DatasetAt(-1);
  const int rows = ds != nullptr ? ds->Count() : 0;
  SeqList->setRowCount(rows);
  for (int r = 1; r <= rows; ++r) {
    const TSeq& s = *ds->SeqAt(r);
    const int ind = p.IndividIndexByKey(s.individId);
    SetCell(SeqList, r - 1, 0, Latin1(s.seqName));
    SetCell(SeqList, r - 1, 1, ind >= 0 ? Latin1(p.IndividName(ind)) : QString());
    const int group = p.GroupOfSeq(*ds, s.seqId);
    SetCell(SeqList, r - 1, 2, GroupNameOfKey(p, group));
  }
  SeqList->resizeColumnsToContents();
}

void TIndividualsPage::FillIndividuals() {
  if (!grid) return;
  const TDataProj& p = grid->Project();
  const int filter = GrpBox->currentIndex();  // 0 all, 1 without group, 2.. a group
  const int groupKey = filter >= 2 ? p.GroupKeyAt(filter - 2) : -1;
  // The attribute columns are those of the individual with the most attributes.
  const TIndivid* widest = nullptr;
  for (const TIndivid& ind : p.Individs())
    if (widest == nullptr || ind.attributes.size() > widest->attributes.size()) widest = &ind;
  QStringList headers{"#", "Individ", "Comment", "Group"};
  if (widest != nullptr)
    for (const sir& a : widest->attributes) headers << Latin1(a.sirName);
  IndivGrid->clear();
  IndivGrid->setColumnCount(static_cast<int>(headers.size()));
  IndivGrid->setHorizontalHeaderLabels(headers);
  IndivGrid->setRowCount(0);
  int row = 0;
  for (const TIndivid& ind : p.Individs()) {
    const bool inGroup = p.GroupIndexByKey(ind.indGroup) >= 0;
    if ((filter == 1 && inGroup) || (filter >= 2 && ind.indGroup != groupKey)) continue;
    IndivGrid->insertRow(row);
    SetCell(IndivGrid, row, 0, QString::number(row + 1));
    SetCell(IndivGrid, row, 1, Latin1(ind.indName));
    SetCell(IndivGrid, row, 2, Latin1(ind.indComment));
    SetCell(IndivGrid, row, 3, GroupNameOfKey(p, ind.indGroup));
    for (int c = 4; c < headers.size(); ++c) {
      const std::string name = headers[c].toStdString();
      for (const sir& a : ind.attributes)
        if (a.sirName == name) SetCell(IndivGrid, row, c, Latin1(a.sirText));
    }
    ++row;
  }
  IndivGrid->resizeColumnsToContents();
}
