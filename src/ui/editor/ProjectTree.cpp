// SPDX-License-Identifier: GPL-3.0-or-later
// The project tree.
#include "ui/editor/ProjectTree.h"

#include <QFont>
#include <map>
#include <set>

#include "model/DataProjUnit.h"

namespace {

QString Latin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QTreeWidgetItem* Node(QTreeWidgetItem* parent, const QString& text, int kind, int key) {
  auto* item = new QTreeWidgetItem(parent, QStringList{text});
  item->setData(0, TProjectTree::kKindRole, kind);
  item->setData(0, TProjectTree::kKeyRole, key);
  return item;
}

}  // namespace

TProjectTree::TProjectTree(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  connect(this, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) { OnClicked(item); });
  connect(this, &QTreeWidget::itemChanged, this,
          [this](QTreeWidgetItem* item) { OnChanged(item); });
  // Sequences are listed only for opened datasets: a project may hold thousands of rows.
  connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
    if (item->data(0, kKindRole).toInt() == kDataset) FillSequences(item);
  });
}

void TProjectTree::Rebuild(TDataProj& proj) {
  project = &proj;
  filling = true;
  std::set<int> opened;  // dataset numbers whose sequences were listed
  bool groupsOpen = true, individualsOpen = false, datasetsOpen = true;
  if (topLevelItemCount() == 3) {
    datasetsOpen = DatasetsRoot()->isExpanded();
    groupsOpen = GroupsRoot()->isExpanded();
    individualsOpen = IndividualsRoot()->isExpanded();
    for (int i = 0; i < DatasetsRoot()->childCount(); ++i)
      if (QTreeWidgetItem* n = DatasetsRoot()->child(i); n->isExpanded())
        opened.insert(n->data(0, kRowRole).toInt());
  }
  clear();
  auto* datasets = new QTreeWidgetItem(this, QStringList{"Datasets"});
  datasets->setData(0, kKindRole, kDatasetsRoot);
  auto* groups = new QTreeWidgetItem(this, QStringList{"Groups"});
  groups->setData(0, kKindRole, kGroupsRoot);
  auto* individuals = new QTreeWidgetItem(this, QStringList{"Individuals"});
  individuals->setData(0, kKindRole, kIndividualsRoot);

  for (int d = 0; d < proj.DatasetCount(); ++d) {
    const TDataSeq& ds = *proj.DatasetAt(d);
    QTreeWidgetItem* n = Node(datasets, Latin1(ds.dsName), kDataset, d);
    n->setData(0, kRowRole, ds.dsNumber);
    n->setFlags(n->flags() | Qt::ItemIsUserCheckable);
    n->setCheckState(0, ds.dsSelected ? Qt::Checked : Qt::Unchecked);
    if (d == proj.CurrentIndex()) {
      QFont bold = n->font(0);
      bold.setBold(true);
      n->setFont(0, bold);
    }
    if (ds.Count() > 0) {
      n->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
      if (opened.count(ds.dsNumber) > 0) {
        FillSequences(n);
        n->setExpanded(true);
      }
    }
  }

  std::map<int, QTreeWidgetItem*> byKey;
  for (const TGroup& g : proj.Groups())
    byKey[g.grpKey] = Node(nullptr, Latin1(g.grpName), kGroup, g.grpKey);
  for (const TGroup& g : proj.Groups()) {
    QTreeWidgetItem* n = byKey[g.grpKey];
    const auto parent = byKey.find(g.grpParent);
    // A parent that is missing, or the group itself, puts it at the top level.
    if (parent != byKey.end() && parent->second != n)
      parent->second->addChild(n);
    else
      groups->addChild(n);
  }
  for (const TIndivid& ind : proj.Individs()) {
    QTreeWidgetItem* n = Node(individuals, Latin1(ind.indName), kIndividual, ind.indKey);
    n->setFlags(n->flags() | Qt::ItemIsUserCheckable);
    n->setCheckState(0, ind.indEnabled ? Qt::Checked : Qt::Unchecked);
  }
  datasets->setExpanded(datasetsOpen);
  groups->setExpanded(groupsOpen);
  individuals->setExpanded(individualsOpen);
  filling = false;
}

void TProjectTree::FillSequences(QTreeWidgetItem* datasetNode) {
  if (project == nullptr || datasetNode->childCount() > 0) return;
  const int d = datasetNode->data(0, kKeyRole).toInt();
  const TDataSeq* ds = static_cast<const TDataProj&>(*project).DatasetAt(d);
  if (ds == nullptr) return;
  const bool was = filling;
  filling = true;
  QList<QTreeWidgetItem*> rows;
  rows.reserve(ds->Count());
  for (int r = 1; r <= ds->Count(); ++r) {
    auto* n = new QTreeWidgetItem(QStringList{Latin1(ds->NameAt(r))});
    n->setData(0, kKindRole, kSequence);
    n->setData(0, kKeyRole, d);
    n->setData(0, kRowRole, r);
    rows << n;
  }
  datasetNode->addChildren(rows);
  filling = was;
}

void TProjectTree::OnClicked(QTreeWidgetItem* item) {
  if (item == nullptr) return;
  switch (item->data(0, kKindRole).toInt()) {
    case kDataset:
      emit datasetChosen(item->data(0, kKeyRole).toInt());
      break;
    case kSequence:
      emit sequenceChosen(item->data(0, kKeyRole).toInt(), item->data(0, kRowRole).toInt());
      break;
    default:
      break;
  }
}

void TProjectTree::OnChanged(QTreeWidgetItem* item) {
  if (filling || project == nullptr || item == nullptr) return;
  const bool on = item->checkState(0) == Qt::Checked;
  const int key = item->data(0, kKeyRole).toInt();
  switch (item->data(0, kKindRole).toInt()) {
    case kDataset:
      if (TDataSeq* ds = project->DatasetAt(key); ds != nullptr && ds->dsSelected != on) {
        ds->dsSelected = on;
        emit selectionFlagsChanged();
      }
      break;
    case kIndividual: {
      const int index = project->IndividIndexByKey(key);
      if (index >= 0 && project->Individs()[static_cast<std::size_t>(index)].indEnabled != on) {
        project->SetIndividEnabled(index, on);
        emit selectionFlagsChanged();
      }
      break;
    }
    default:
      break;
  }
}
