// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/ProjectTreeRules.h"

#include <unordered_map>

#include "common/Services.h"
#include "model/DataProjUnit.h"

namespace {

const TSeq* SeqOf(const TDataProj& project, const TreeNode& node) {
  const TDataSeq* ds = node.key >= 0 ? project.DatasetAt(node.key) : nullptr;
  return ds != nullptr ? ds->SeqAt(node.row) : nullptr;
}

bool Exists(const TDataProj& project, const TreeNode& node) {
  switch (node.kind) {
    case TreeNodeKind::Dataset:
      return node.key >= 0 && node.key < project.DatasetCount();
    case TreeNodeKind::Sequence:
      return SeqOf(project, node) != nullptr;
    case TreeNodeKind::Group:
      return project.GroupIndexByKey(node.key) >= 0;
    case TreeNodeKind::Individual:
      return node.key >= 0 && project.IndexOfKey(node.key) >= 0;
    default:
      return true;
  }
}

DropOp SequenceDrop(const TreeNode& dragged, const TreeNode& target) {
  switch (target.kind) {
    case TreeNodeKind::Dataset:
    case TreeNodeKind::Sequence:  // a sequence stands for its dataset here
      return target.key != dragged.key ? DropOp::CopySequence : DropOp::None;
    case TreeNodeKind::Individual:
      return DropOp::LinkSequence;
    case TreeNodeKind::Group:
      return DropOp::SequenceToGroup;
    default:
      return DropOp::None;
  }
}

}  // namespace

DropDecision DecideDrop(const TDataProj& project, const TreeNode& dragged, const TreeNode& target) {
  if (!Exists(project, dragged) || !Exists(project, target)) return {};
  switch (dragged.kind) {
    case TreeNodeKind::Sequence:
      return {SequenceDrop(dragged, target), {}};
    case TreeNodeKind::Individual:
      if (target.kind == TreeNodeKind::Group) return {DropOp::IndividualToGroup, {}};
      if (target.kind == TreeNodeKind::IndividualsRoot) return {DropOp::IndividualOutOfGroup, {}};
      return {};
    case TreeNodeKind::Group:
      if (target.kind == TreeNodeKind::GroupsRoot) return {DropOp::GroupToTop, {}};
      if (target.kind != TreeNodeKind::Group) return {};
      if (project.IsAncestorOrSelf(dragged.key, target.key))
        return {DropOp::Refused, kGroupCycleNotice};
      return {DropOp::GroupUnder, {}};
    default:
      return {};
  }
}

bool ApplyDrop(TDataProj& project, IMessages& messages, const TreeNode& dragged,
               const TreeNode& target) {
  const DropDecision d = DecideDrop(project, dragged, target);
  auto groupName = [&](int key) { return project.GroupName(project.GroupIndexByKey(key)); };
  switch (d.op) {
    case DropOp::None:
      return false;
    case DropOp::Refused:
      messages.Notify(d.notice);
      return false;
    case DropOp::CopySequence: {
      auto copy = project.DatasetAt(dragged.key)->CloneAt(dragged.row);
      return project.DatasetAt(target.key)->AddSeq(copy, true) >= 0;
    }
    case DropOp::LinkSequence: {
      TSeq& s = *project.DatasetAt(dragged.key)->SeqAt(dragged.row);
      s.individId = target.key;
      s.groupNum = project.GroupKeyOfIndivid(project.IndexOfKey(target.key));
      project.DatasetAt(dragged.key)->InvalidateMutHolders();
      return true;
    }
    case DropOp::SequenceToGroup:
      return project.AssignSeqToGroup(dragged.key, SeqOf(project, dragged)->seqName,
                                      groupName(target.key));
    case DropOp::IndividualToGroup:
      return project.SetIndividGroupByKey(dragged.key, target.key);
    case DropOp::IndividualOutOfGroup:
      return project.SetIndividGroupByKey(dragged.key, -1);
    case DropOp::GroupUnder:
      return project.SetGroupParent(groupName(dragged.key), groupName(target.key));
    case DropOp::GroupToTop:
      project.GroupAt(project.GroupIndexByKey(dragged.key))->grpParent = -1;
      return true;
  }
  return false;
}

std::string TreeNodeName(const TDataProj& project, const TreeNode& node) {
  switch (node.kind) {
    case TreeNodeKind::DatasetsRoot:
      return "Datasets";
    case TreeNodeKind::GroupsRoot:
      return "Groups";
    case TreeNodeKind::IndividualsRoot:
      return "Individuals";
    case TreeNodeKind::Dataset:
      return Exists(project, node) ? project.DatasetAt(node.key)->dsName : std::string();
    case TreeNodeKind::Sequence:
      return Exists(project, node) ? SeqOf(project, node)->seqName : std::string();
    case TreeNodeKind::Group:
      return project.GroupName(project.GroupIndexByKey(node.key));
    case TreeNodeKind::Individual:
      return project.IndividName(project.IndexOfKey(node.key));
  }
  return {};
}

bool DeleteTreeNode(TDataProj& project, IMessages& messages, const TreeNode& node, TreeMode mode) {
  if (!Exists(project, node)) return false;
  const std::string name = TreeNodeName(project, node);
  const std::string space = mode == TreeMode::Editor ? " " : "";
  switch (node.kind) {
    case TreeNodeKind::Dataset:
      if (!messages.AskYesNo("Delete " + name + "?") ||
          !messages.AskYesNo("Are you sure you want to delete the current dataset?\r\n"
                             "All the data in this dataset will be lost!!!"))
        return false;
      project.DeleteDataset(node.key);
      return true;
    case TreeNodeKind::Sequence:
      if (!messages.AskYesNo("Delete sequence " + name + "?")) return false;
      project.DatasetAt(node.key)->DeleteSeq(node.row);
      return true;
    case TreeNodeKind::Group:
      if (!messages.AskYesNo("Delete group " + name + space + "?")) return false;
      project.DeleteGroup(project.GroupIndexByKey(node.key), false);
      return true;
    case TreeNodeKind::Individual: {
      if (!messages.AskYesNo("Delete individual " + name + space + "?")) return false;
      const bool withSeqs =
          mode == TreeMode::Dialog &&
          messages.AskYesNo("Delete all sequences associated with selected individual?");
      return project.DeleteIndividAt(project.IndexOfKey(node.key), withSeqs);
    }
    default:
      return false;
  }
}

bool RenameTreeNode(TDataProj& project, const TreeNode& node, const std::string& name) {
  if (name.empty() || !Exists(project, node) || TreeNodeName(project, node) == name) return false;
  switch (node.kind) {
    case TreeNodeKind::Dataset:
      return project.RenameDataset(node.key, name);
    case TreeNodeKind::Group:
      return project.SetGroupName(project.GroupIndexByKey(node.key), name);
    case TreeNodeKind::Individual:
      return project.RenameIndivid(project.IndexOfKey(node.key), name);
    default:
      return false;
  }
}

bool TreeMark(const TDataProj& project, const TreeNode& node) {
  if (!Exists(project, node)) return false;
  switch (node.kind) {
    case TreeNodeKind::Dataset:
      return project.DatasetAt(node.key)->dsSelected;
    case TreeNodeKind::Sequence:
      return SeqOf(project, node)->enabled;
    case TreeNodeKind::Group:
      return project.Groups()[static_cast<std::size_t>(project.GroupIndexByKey(node.key))]
          .grpSelected;
    case TreeNodeKind::Individual:
      return project.Individs()[static_cast<std::size_t>(project.IndexOfKey(node.key))].indEnabled;
    default:
      return false;
  }
}

bool SetTreeMark(TDataProj& project, const TreeNode& node, bool on) {
  if (!Exists(project, node) || TreeMark(project, node) == on) return false;
  switch (node.kind) {
    case TreeNodeKind::Dataset:
      project.DatasetAt(node.key)->dsSelected = on;
      return true;
    case TreeNodeKind::Sequence: {
      TDataSeq& ds = *project.DatasetAt(node.key);
      TSeq& s = *ds.SeqAt(node.row);
      s.enabled = on;
      ds.InvalidateMutHolders();
      // Only the individual's own mark: its other sequences keep theirs.
      if (TIndivid* ind =
              on && s.individId >= 0 ? project.IndividAt(project.IndexOfKey(s.individId)) : nullptr)
        ind->indEnabled = true;
      return true;
    }
    case TreeNodeKind::Group:
      project.GroupAt(project.GroupIndexByKey(node.key))->grpSelected = on;
      return true;
    case TreeNodeKind::Individual:
      project.SetIndividEnabled(project.IndexOfKey(node.key), on);
      return true;
    default:
      return false;
  }
}

const char* TreeSelectionCaption(TreeSelection command) {
  switch (command) {
    case TreeSelection::AllDatasets:
      return "Select all datasets";
    case TreeSelection::NoDatasets:
      return "Unselect all datasets";
    case TreeSelection::CurrentDatasetOnly:
      return "Select current dataset only";
    case TreeSelection::InvertDatasets:
      return "Invert selection for datasets";
    case TreeSelection::AllGroups:
      return "Select all groups";
    case TreeSelection::NoGroups:
      return "Unselect all groups";
    case TreeSelection::AllIndivids:
      return "Select all individs";
    case TreeSelection::NoIndivids:
      return "Unselect all individs";
    case TreeSelection::InvertIndivids:
      return "Invert selection for individs";
  }
  return "";
}

void ApplyTreeSelection(TDataProj& project, TreeSelection command) {
  for (int d = 0; d < project.DatasetCount(); ++d) {
    TDataSeq& ds = *project.DatasetAt(d);
    switch (command) {
      case TreeSelection::AllDatasets:
        ds.dsSelected = true;
        break;
      case TreeSelection::NoDatasets:
        ds.dsSelected = false;
        break;
      case TreeSelection::CurrentDatasetOnly:
        ds.dsSelected = d == project.CurrentIndex();
        break;
      case TreeSelection::InvertDatasets:
        ds.dsSelected = !ds.dsSelected;
        break;
      default:
        break;
    }
  }
  for (int g = 0; g < project.GroupCount(); ++g) {
    if (command == TreeSelection::AllGroups) project.GroupAt(g)->grpSelected = true;
    if (command == TreeSelection::NoGroups) project.GroupAt(g)->grpSelected = false;
  }
  if (command != TreeSelection::AllIndivids && command != TreeSelection::NoIndivids &&
      command != TreeSelection::InvertIndivids)
    return;
  // One pass over the rows for all individuals, not one per individual.
  std::unordered_map<int, bool> changed;
  for (int i = 0; i < project.IndividCount(); ++i) {
    TIndivid& ind = *project.IndividAt(i);
    const bool on = command == TreeSelection::AllIndivids  ? true
                    : command == TreeSelection::NoIndivids ? false
                                                           : !ind.indEnabled;
    if (on != ind.indEnabled) changed[ind.indKey] = on;
    ind.indEnabled = on;
  }
  if (changed.empty()) return;
  for (int d = 0; d < project.DatasetCount(); ++d) {
    TDataSeq& ds = *project.DatasetAt(d);
    for (int r = 1; r <= ds.Count(); ++r)
      if (const auto it = changed.find(ds.SeqAt(r)->individId); it != changed.end())
        ds.SeqAt(r)->enabled = it->second;
    ds.InvalidateMutHolders();
  }
}
