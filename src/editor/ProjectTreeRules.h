// SPDX-License-Identifier: GPL-3.0-or-later
// What the project trees (the editor window's and the analysis dialogs') do to the project,
// without the trees: the node a tree item stands for, the one drop rule for a dragged node on
// a target node, deleting and renaming nodes, the marks and the selection commands.
#pragma once
#include <string>

class TDataProj;
struct IMessages;

enum class TreeNodeKind {
  DatasetsRoot,
  GroupsRoot,
  IndividualsRoot,
  Dataset,     // key: dataset index
  Sequence,    // key: dataset index; row
  Group,       // key: group key
  Individual,  // key: individual key
};

struct TreeNode {
  TreeNodeKind kind = TreeNodeKind::DatasetsRoot;
  int key = -1;
  int row = 0;
};

enum class DropOp {
  None,             // nothing to do (a sequence on its own dataset, a root on anything)
  Refused,          // the notice says why
  CopySequence,     // a copy of the sequence added to the target dataset
  LinkSequence,     // the sequence linked to the target individual
  SequenceToGroup,  // AssignSeqToGroup
  IndividualToGroup,
  IndividualOutOfGroup,  // dropped on the "Individuals" root
  GroupUnder,            // SetGroupParent
  GroupToTop,            // dropped on the "Groups" root
};

struct DropDecision {
  DropOp op = DropOp::None;
  std::string notice;  // for Refused
};

inline const std::string kGroupCycleNotice =
    "A group can not be moved into itself or into one of its subgroups.";

// The operation a dragged node dropped on a target node stands for.
DropDecision DecideDrop(const TDataProj& project, const TreeNode& dragged, const TreeNode& target);
// Performs it; a refusal becomes a notice. True when the project changed.
bool ApplyDrop(TDataProj& project, IMessages& messages, const TreeNode& dragged,
               const TreeNode& target);

// The editor window's tree and the analysis dialogs' tree ask their own questions.
enum class TreeMode { Editor, Dialog };
// Asks, then deletes the node's dataset, sequence, group (its subgroups move up) or individual
// (in a dialog, with its sequences when the user says so). True when the project changed.
bool DeleteTreeNode(TDataProj& project, IMessages& messages, const TreeNode& node, TreeMode mode);

// A dataset, group or individual node renamed (the name made unique in its list). False for
// other nodes, an empty name, or no change.
bool RenameTreeNode(TDataProj& project, const TreeNode& node, const std::string& name);
// The name a node shows.
std::string TreeNodeName(const TDataProj& project, const TreeNode& node);

// The node's mark: dsSelected of a dataset, enabled of a sequence, grpSelected of a group,
// indEnabled of an individual. Setting a sequence's mark on also marks its individual;
// setting an individual's mark sets enabled of all its sequences. True when a flag changed.
bool SetTreeMark(TDataProj& project, const TreeNode& node, bool on);
[[nodiscard]] bool TreeMark(const TDataProj& project, const TreeNode& node);

// The pop-up commands of the analysis dialogs' tree, in menu order.
enum class TreeSelection {
  AllDatasets,
  NoDatasets,
  CurrentDatasetOnly,
  InvertDatasets,
  AllGroups,
  NoGroups,
  AllIndivids,
  NoIndivids,
  InvertIndivids,
};
constexpr int kTreeSelectionCount = 9;
const char* TreeSelectionCaption(TreeSelection command);
void ApplyTreeSelection(TDataProj& project, TreeSelection command);
