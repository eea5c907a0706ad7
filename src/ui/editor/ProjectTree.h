// SPDX-License-Identifier: GPL-3.0-or-later
// TProjectTree: the project tree of an editor window. Three roots: "Datasets" (each dataset,
// the current one in bold, its sequences listed when it is opened), "Groups" (nested as the
// groups are) and "Individuals". Ticks mirror dsSelected and indEnabled. Clicking a dataset or
// a sequence asks the window to show it.
#pragma once
#include <QTreeWidget>

class TDataProj;

class TProjectTree : public QTreeWidget {
  Q_OBJECT
 public:
  // What a node stands for (item data role Qt::UserRole).
  enum NodeKind {
    kDatasetsRoot = 1,
    kGroupsRoot,
    kIndividualsRoot,
    kDataset,
    kSequence,
    kGroup,
    kIndividual
  };
  static constexpr int kKindRole = Qt::UserRole;
  static constexpr int kKeyRole = Qt::UserRole + 1;  // dataset index, group key, individual key
  static constexpr int kRowRole = Qt::UserRole + 2;  // row of a sequence node

  explicit TProjectTree(QWidget* parent = nullptr);
  // Fills the tree from the project again, keeping the opened datasets open.
  void Rebuild(TDataProj& project);
  [[nodiscard]] QTreeWidgetItem* DatasetsRoot() const { return topLevelItem(0); }
  [[nodiscard]] QTreeWidgetItem* GroupsRoot() const { return topLevelItem(1); }
  [[nodiscard]] QTreeWidgetItem* IndividualsRoot() const { return topLevelItem(2); }

 signals:
  void datasetChosen(int datasetIndex);
  void sequenceChosen(int datasetIndex, int row);
  void selectionFlagsChanged();  // a tick changed dsSelected or indEnabled

 private:
  TDataProj* project = nullptr;
  bool filling = false;
  void FillSequences(QTreeWidgetItem* datasetNode);
  void OnClicked(QTreeWidgetItem* item);
  void OnChanged(QTreeWidgetItem* item);
};
