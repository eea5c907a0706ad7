// SPDX-License-Identifier: GPL-3.0-or-later
// TProjectTree: the project tree of an editor window and, in its dialog mode, of the analysis
// dialogs. Three roots: "Datasets" (each dataset, the current one in bold, its sequences
// listed when it is opened), "Groups" (nested as the groups are) and "Individuals". Ticks
// mirror dsSelected, grpSelected and indEnabled (and, in a dialog, enabled of each sequence).
// Nodes are dragged onto others, deleted with the Delete key and renamed in place; what that
// does to the project is the window-free tree rules'. Clicking a dataset or a sequence asks
// the window to show it.
#pragma once
#include <QTreeWidget>
#include <optional>

#include "editor/ProjectTreeRules.h"

class QMenu;
class TDataProj;

class TProjectTree : public QTreeWidget {
  Q_OBJECT
 public:
  // What a node stands for (item data role kKindRole).
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
  static constexpr int kRowRole = Qt::UserRole + 2;  // row of a sequence, dsNumber of a dataset

  explicit TProjectTree(QWidget* parent = nullptr, TreeMode mode = TreeMode::Editor);
  // Fills the tree from the project again, keeping the opened datasets open.
  void Rebuild(TDataProj& project);
  [[nodiscard]] QTreeWidgetItem* DatasetsRoot() const { return topLevelItem(0); }
  [[nodiscard]] QTreeWidgetItem* GroupsRoot() const { return topLevelItem(1); }
  [[nodiscard]] QTreeWidgetItem* IndividualsRoot() const { return topLevelItem(2); }
  [[nodiscard]] TreeMode Mode() const { return mode; }
  [[nodiscard]] static TreeNode NodeOf(const QTreeWidgetItem* item);
  // The group of the current node, when that is a group node.
  [[nodiscard]] std::optional<int> SelectedGroupKey() const;

  // A dragged node dropped on a target node (what dropEvent does); true when the project changed.
  bool DropNode(const QTreeWidgetItem* dragged, const QTreeWidgetItem* target);
  // The node's deletion with its questions; true when the project changed.
  bool DeleteNode(const QTreeWidgetItem* item);
  // A pop-up command of the dialog tree.
  void RunSelection(TreeSelection command);
  // The dialog tree's pop-up menu (nullptr in the editor window).
  [[nodiscard]] QMenu* PopupMenu() const { return popup; }
  // A drop of one of the tree's own nodes (public so a test can hand it a synthetic event).
  void dropEvent(QDropEvent* event) override;

 signals:
  void datasetChosen(int datasetIndex);
  void sequenceChosen(int datasetIndex, int row);
  void selectionFlagsChanged();  // a tick or a selection command changed an analysis flag
  void projectChanged();         // a drop, deletion or renaming changed the project

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TDataProj* project = nullptr;
  TreeMode mode;
  bool filling = false;
  QMenu* popup = nullptr;
  void FillSequences(QTreeWidgetItem* datasetNode);
  void OnClicked(QTreeWidgetItem* item);
  void OnChanged(QTreeWidgetItem* item);
  void RebuildLater();
};
