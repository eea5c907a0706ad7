// SPDX-License-Identifier: GPL-3.0-or-later
// The project tree.
#include "ui/editor/ProjectTree.h"

#include <QDropEvent>
#include <QFont>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
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

void Tick(QTreeWidgetItem* item, bool on) {
  item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
  item->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
}

void Renamable(QTreeWidgetItem* item) {
  item->setFlags(item->flags() | Qt::ItemIsEditable);
}

}  // namespace

TProjectTree::TProjectTree(QWidget* parent, TreeMode m) : QTreeWidget(parent), mode(m) {
  setHeaderHidden(true);
  setColumnCount(1);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::MoveAction);
  setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  connect(this, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) { OnClicked(item); });
  connect(this, &QTreeWidget::itemChanged, this,
          [this](QTreeWidgetItem* item) { OnChanged(item); });
  // Sequences are listed only for opened datasets: a project may hold thousands of rows.
  connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
    if (item->data(0, kKindRole).toInt() == kDataset) FillSequences(item);
  });
  if (mode == TreeMode::Dialog) {
    popup = new QMenu(this);
    popup->setObjectName("TreePopup");
    for (int c = 0; c < kTreeSelectionCount; ++c) {
      const auto command = static_cast<TreeSelection>(c);
      QAction* a = popup->addAction(TreeSelectionCaption(command));
      a->setObjectName(QString("TreeSelection%1").arg(c));
      connect(a, &QAction::triggered, this, [this, command] { RunSelection(command); });
      if (c == 3 || c == 5) popup->addSeparator();
    }
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup->popup(viewport()->mapToGlobal(at)); });
  }
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
    Tick(n, ds.dsSelected);
    Renamable(n);
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
  for (const TGroup& g : proj.Groups()) {
    QTreeWidgetItem* n = Node(nullptr, Latin1(g.grpName), kGroup, g.grpKey);
    Tick(n, g.grpSelected);
    Renamable(n);
    byKey[g.grpKey] = n;
  }
  for (const TGroup& g : proj.Groups()) {
    QTreeWidgetItem* n = byKey[g.grpKey];
    // A parent that is missing, the group itself or one of its descendants (a cycle from an
    // older file) puts it at the top level, so every group shows exactly once.
    const auto parent = byKey.find(g.grpParent);
    if (parent != byKey.end() && !proj.IsAncestorOrSelf(g.grpKey, g.grpParent))
      parent->second->addChild(n);
    else
      groups->addChild(n);
  }
  QList<QTreeWidgetItem*> people;
  people.reserve(proj.IndividCount());
  for (const TIndivid& ind : proj.Individs()) {
    auto* n = new QTreeWidgetItem(QStringList{Latin1(ind.indName)});
    n->setData(0, kKindRole, kIndividual);
    n->setData(0, kKeyRole, ind.indKey);
    Tick(n, ind.indEnabled);
    Renamable(n);
    people << n;
  }
  individuals->addChildren(people);
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
    if (mode == TreeMode::Dialog) Tick(n, ds->SeqAt(r)->enabled);
    rows << n;
  }
  datasetNode->addChildren(rows);
  filling = was;
}

TreeNode TProjectTree::NodeOf(const QTreeWidgetItem* item) {
  if (item == nullptr) return {TreeNodeKind::DatasetsRoot, -1, 0};
  const int key = item->data(0, kKeyRole).toInt();
  const int row = item->data(0, kRowRole).toInt();
  switch (item->data(0, kKindRole).toInt()) {
    case kGroupsRoot:
      return {TreeNodeKind::GroupsRoot, -1, 0};
    case kIndividualsRoot:
      return {TreeNodeKind::IndividualsRoot, -1, 0};
    case kDataset:
      return {TreeNodeKind::Dataset, key, 0};
    case kSequence:
      return {TreeNodeKind::Sequence, key, row};
    case kGroup:
      return {TreeNodeKind::Group, key, 0};
    case kIndividual:
      return {TreeNodeKind::Individual, key, 0};
    default:
      return {TreeNodeKind::DatasetsRoot, -1, 0};
  }
}

std::optional<int> TProjectTree::SelectedGroupKey() const {
  const QTreeWidgetItem* item = currentItem();
  if (item == nullptr || item->data(0, kKindRole).toInt() != kGroup) return std::nullopt;
  return item->data(0, kKeyRole).toInt();
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

void TProjectTree::RebuildLater() {
  // Items must not go while the tree is still inside their signal.
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (project != nullptr) Rebuild(*project);
      },
      Qt::QueuedConnection);
}

void TProjectTree::OnChanged(QTreeWidgetItem* item) {
  if (filling || project == nullptr || item == nullptr) return;
  const TreeNode node = NodeOf(item);
  const std::string text = item->text(0).toLatin1().toStdString();
  if ((node.kind == TreeNodeKind::Dataset || node.kind == TreeNodeKind::Group ||
       node.kind == TreeNodeKind::Individual) &&
      text != TreeNodeName(*project, node)) {
    if (RenameTreeNode(*project, node, text))
      QMetaObject::invokeMethod(this, &TProjectTree::projectChanged, Qt::QueuedConnection);
    else
      RebuildLater();  // an empty name goes back to the old one
    return;
  }
  if (!(item->flags() & Qt::ItemIsUserCheckable)) return;
  if (!SetTreeMark(*project, node, item->checkState(0) == Qt::Checked)) return;
  // An individual's tick sets its sequences' ticks and a sequence's its individual's.
  if (node.kind == TreeNodeKind::Individual || node.kind == TreeNodeKind::Sequence) RebuildLater();
  emit selectionFlagsChanged();
}

bool TProjectTree::DropNode(const QTreeWidgetItem* dragged, const QTreeWidgetItem* target) {
  if (project == nullptr || dragged == nullptr || target == nullptr) return false;
  return ApplyDrop(*project, project->GetServices().messages, NodeOf(dragged), NodeOf(target));
}

void TProjectTree::dropEvent(QDropEvent* event) {
  // The tree's own item moving is never wanted: the project changes and the tree is rebuilt.
  // Only the tree's own nodes drop here (a drag in progress names its source; one without a
  // source must at least carry the tree's kind of data).
  const bool ours =
      event->source() == this || (event->source() == nullptr && event->mimeData() != nullptr &&
                                  event->mimeData()->hasFormat(mimeTypes().value(0)));
  const bool changed = ours && DropNode(currentItem(), itemAt(event->position().toPoint()));
  event->setDropAction(Qt::IgnoreAction);
  event->accept();
  if (changed) emit projectChanged();
}

bool TProjectTree::DeleteNode(const QTreeWidgetItem* item) {
  if (project == nullptr || item == nullptr) return false;
  if (!DeleteTreeNode(*project, project->GetServices().messages, NodeOf(item), mode)) return false;
  emit projectChanged();
  return true;
}

void TProjectTree::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete && state() != QAbstractItemView::EditingState) {
    DeleteNode(currentItem());
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

void TProjectTree::RunSelection(TreeSelection command) {
  if (project == nullptr) return;
  ApplyTreeSelection(*project, command);
  Rebuild(*project);
  emit selectionFlagsChanged();
}
