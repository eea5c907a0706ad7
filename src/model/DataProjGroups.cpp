// SPDX-License-Identifier: GPL-3.0-or-later
// TDataProj: the group forest (keys, names, parents, depth, membership) and the outgroup.
// Parent links come from files and drags, so every walk up the forest is bounded by the
// number of groups: a cycle ends the walk instead of hanging the program.
#include <algorithm>

#include "model/DataProjUnit.h"

void TDataProj::IndexGroup(int index) {
  const TGroup& g = groups[static_cast<std::size_t>(index)];
  groupExactNames.Add(g.grpName, index);
  groupKeyIndex.Add(g.grpKey, index);
}

void TDataProj::RebuildGroupIndex() {
  groupExactNames.Clear();
  groupKeyIndex.Clear();
  groupHints.clear();
  for (int i = 0; i < GroupCount(); ++i) IndexGroup(i);
}

std::string TDataProj::GroupName(int index) const {
  return (index >= 0 && index < GroupCount()) ? groups[static_cast<std::size_t>(index)].grpName
                                              : std::string();
}

bool TDataProj::SetGroupName(int index, const std::string& name) {
  if (index < 0 || index >= GroupCount()) return false;
  TGroup& g = groups[static_cast<std::size_t>(index)];
  if (g.grpName == name) return true;
  const std::string old = g.grpName;
  groupExactNames.Remove(old, index, GroupCount(),
                         [&](int i) { return groups[static_cast<std::size_t>(i)].grpName == old; });
  groupHints.clear();
  g.grpName =
      MakeUniqueName(name, [this](const std::string& n) { return groupExactNames.Contains(n); });
  groupExactNames.Add(g.grpName, index);
  return true;
}

int TDataProj::GroupIndexByName(std::string_view name) const {
  return groupExactNames.Find(std::string(name));
}

int TDataProj::GroupIndexByKey(int key) const {
  return groupKeyIndex.Find(key);
}

int TDataProj::GroupIndexByKeyChecked(int key) const {
  return key == -1 ? -1 : GroupIndexByKey(key);
}

int TDataProj::GroupKeyByName(std::string_view name) const {
  const int i = GroupIndexByName(name);
  return i >= 0 ? groups[static_cast<std::size_t>(i)].grpKey : -1;
}

int TDataProj::GroupKeyAt(int index) const {
  return (index >= 0 && index < GroupCount()) ? groups[static_cast<std::size_t>(index)].grpKey : -1;
}

bool TDataProj::GetGroup(int index, TGroup& out) const {
  if (index < 0 || index >= GroupCount()) return false;
  out = groups[static_cast<std::size_t>(index)];
  return true;
}

TGroup* TDataProj::GroupAt(int index) {
  return (index >= 0 && index < GroupCount()) ? &groups[static_cast<std::size_t>(index)] : nullptr;
}

int TDataProj::AddGroup(TGroup group) {
  if (group.grpKey == kOutgroupKey) {
    const int existing = GroupIndexByKey(kOutgroupKey);
    if (existing >= 0) {
      auto& flags = groups[static_cast<std::size_t>(existing)].grpMembers;
      if (flags.size() < group.grpMembers.size()) flags.resize(group.grpMembers.size(), false);
      for (std::size_t i = 0; i < group.grpMembers.size(); ++i)
        if (group.grpMembers[i]) flags[i] = true;
      return kOutgroupKey;
    }
  } else if (group.grpKey < -1) {
    return -1;
  } else if (group.grpKey == -1 || groupKeyIndex.Contains(group.grpKey)) {
    group.grpKey = lastGroupKey + 1;
    while (groupKeyIndex.Contains(group.grpKey)) ++group.grpKey;
    lastGroupKey = group.grpKey;
  } else {
    lastGroupKey = std::max(lastGroupKey, group.grpKey);
  }
  group.grpName = MakeUniqueName(
      group.grpName, [this](const std::string& n) { return groupExactNames.Contains(n); },
      &groupHints);
  groups.push_back(std::move(group));
  IndexGroup(GroupCount() - 1);
  return groups.back().grpKey;
}

void TDataProj::DeleteGroup(int index, bool withSubgroups) {
  if (index < 0 || index >= GroupCount()) return;
  const TGroup removedGroup = groups[static_cast<std::size_t>(index)];
  std::vector<char> removed(groups.size(), 0);
  removed[static_cast<std::size_t>(index)] = 1;
  if (withSubgroups)
    for (int i = 0; i < GroupCount(); ++i)
      if (i != index &&
          IsAncestorOrSelf(removedGroup.grpKey, groups[static_cast<std::size_t>(i)].grpKey))
        removed[static_cast<std::size_t>(i)] = 1;
  std::vector<int> keys;
  std::vector<TGroup> kept;
  for (int i = 0; i < GroupCount(); ++i) {
    if (removed[static_cast<std::size_t>(i)] != 0)
      keys.push_back(groups[static_cast<std::size_t>(i)].grpKey);
    else
      kept.push_back(std::move(groups[static_cast<std::size_t>(i)]));
  }
  groups = std::move(kept);
  auto gone = [&keys](int key) { return std::find(keys.begin(), keys.end(), key) != keys.end(); };
  // Children of a group removed alone move up to its parent.
  for (TGroup& g : groups)
    if (gone(g.grpParent)) g.grpParent = gone(removedGroup.grpParent) ? -1 : removedGroup.grpParent;
  for (TIndivid& ind : individs)
    if (gone(ind.indGroup)) ind.indGroup = -1;
  for (auto& ds : datasets)
    for (int r = 1; r <= ds->Count(); ++r)
      if (gone(ds->SeqAt(r)->groupNum)) ds->SeqAt(r)->groupNum = -1;
  RebuildGroupIndex();
}

bool TDataProj::IsAncestorOrSelf(int ancestorKey, int key) const {
  if (ancestorKey == -1) return key == -1;  // -1 is "no group", no one's ancestor
  int k = key;
  for (int steps = 0; steps <= GroupCount(); ++steps) {
    if (k == ancestorKey) return true;
    const int i = GroupIndexByKeyChecked(k);
    if (i < 0) return false;
    k = groups[static_cast<std::size_t>(i)].grpParent;
  }
  return false;
}

bool TDataProj::SetGroupParent(const std::string& groupName, const std::string& parentName) {
  const int i = GroupIndexByName(groupName);
  if (i < 0) return false;
  TGroup& g = groups[static_cast<std::size_t>(i)];
  const int p = GroupIndexByName(parentName);
  if (p < 0) {
    g.grpParent = -1;
    return true;
  }
  const int parentKey = groups[static_cast<std::size_t>(p)].grpKey;
  // The group itself or any group below it would close a cycle.
  if (IsAncestorOrSelf(g.grpKey, parentKey)) return false;
  g.grpParent = parentKey;
  return true;
}

int TDataProj::GroupDepth(int index) const {
  if (index < 0 || index >= GroupCount()) return -1;
  int depth = 0;
  int k = groups[static_cast<std::size_t>(index)].grpParent;
  while (depth < GroupCount()) {
    const int i = GroupIndexByKeyChecked(k);
    if (i < 0) break;
    ++depth;
    k = groups[static_cast<std::size_t>(i)].grpParent;
  }
  return depth;
}

int TDataProj::GroupCountAtDepth(int depth) const {
  if (depth == -1) return GroupCount();
  int n = 0;
  for (int i = 0; i < GroupCount(); ++i) n += GroupDepth(i) == depth ? 1 : 0;
  return n;
}

std::vector<int> TDataProj::TopLevelGroupKeys() const {
  std::vector<int> keys;
  for (int i = 0; i < GroupCount(); ++i)
    if (GroupDepth(i) == 0 && groups[static_cast<std::size_t>(i)].grpKey >= -1)
      keys.push_back(groups[static_cast<std::size_t>(i)].grpKey);
  return keys;
}

int TDataProj::GroupOfIndividKey(int individKey) const {
  const int i = individKey < 0 ? -1 : IndexOfKey(individKey);
  return i >= 0 ? individs[static_cast<std::size_t>(i)].indGroup : -1;
}

bool TDataProj::IsInGroup(const TDataSeq& ds, int seqId, bool withAncestors, int groupKey) const {
  const TSeq* s = ds.SeqAt(ds.RowById(seqId));
  if (s == nullptr) return false;
  const int i = s->individId < 0 ? -1 : IndexOfKey(s->individId);
  if (i < 0) return false;
  const int g = individs[static_cast<std::size_t>(i)].indGroup;
  if (g == groupKey) return true;
  return withAncestors && g != -1 && IsAncestorOrSelf(groupKey, g);
}

int TDataProj::CountSeqsInGroup(int groupKey, int dsNumber, bool withSubgroups) const {
  int n = 0;
  for (const auto& ds : datasets) {
    if (dsNumber != -1 && ds->dsNumber != dsNumber) continue;
    for (int r = 1; r <= ds->Count(); ++r) {
      const int g = GroupOfIndividKey(ds->SeqAt(r)->individId);
      if (g == groupKey || (withSubgroups && g != -1 && IsAncestorOrSelf(groupKey, g))) ++n;
    }
  }
  return n;
}

int TDataProj::IndividsOfGroup(const std::string& groupName, std::vector<bool>& flags) const {
  int key = 0;
  bool found = false;
  for (const TGroup& g : groups)
    if (SameNameIgnoringCase(g.grpName, groupName)) {
      key = g.grpKey;
      found = true;
      break;
    }
  if (!found) return -1;
  flags.assign(individs.size(), false);
  int n = 0;
  for (std::size_t i = 0; i < individs.size(); ++i)
    if (individs[i].indGroup == key) flags[i] = true, ++n;
  return n;
}

int TDataProj::OutgroupInfo(int& seqCount) const {
  seqCount = 0;
  for (const auto& ds : datasets)
    for (int r = 1; r <= ds->Count(); ++r)
      if (GroupOfIndividKey(ds->SeqAt(r)->individId) == kOutgroupKey) ++seqCount;
  return static_cast<int>(std::count_if(groups.begin(), groups.end(),
                                        [](const TGroup& g) { return g.grpKey == kOutgroupKey; }));
}
