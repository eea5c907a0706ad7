// SPDX-License-Identifier: GPL-3.0-or-later
// TDataProj: merging another project into this one and concatenating the loci of each
// individual into one dataset.
#include <algorithm>
#include <unordered_map>

#include "model/DataProjUnit.h"

void TDataProj::MergeProject(TDataProj& other, bool mergeByName) {
  if (&other == this) return;
  projName = other.projName;
  projComment = other.projComment;
  projFile = other.projFile;

  // Old-to-new key maps, built while the incoming items are added and then applied once to
  // the incoming individuals, groups and sequences only: nothing already here is renumbered.
  std::unordered_map<int, int> groupMap;
  std::vector<int> addedGroups;
  for (TGroup g : other.groups) {
    const int oldKey = g.grpKey;
    g.grpReserved = -1;
    const int before = GroupCount();
    const int newKey = AddGroup(std::move(g));
    if (oldKey != -1) groupMap.emplace(oldKey, newKey);
    if (GroupCount() > before) {
      addedGroups.push_back(before);
      if (newKey != oldKey) groups[static_cast<std::size_t>(before)].grpReserved = oldKey;
    }
  }
  for (int index : addedGroups) {
    TGroup& g = groups[static_cast<std::size_t>(index)];
    if (g.grpParent == -1) continue;
    auto it = groupMap.find(g.grpParent);
    g.grpParent = it == groupMap.end() ? -1 : it->second;
    if (g.grpParent == g.grpKey) g.grpParent = -1;
  }
  auto newGroup = [&](int oldKey) {
    if (oldKey == -1 || oldKey == kOutgroupKey) return oldKey;
    auto it = groupMap.find(oldKey);
    return it == groupMap.end() ? -1 : it->second;  // a key no incoming group had
  };

  std::unordered_map<int, int> individMap;
  individMap.reserve(other.individs.size());
  individs.reserve(individs.size() + other.individs.size());
  for (TIndivid ind : other.individs) {
    const int oldKey = ind.indKey;
    ind.indGroup = newGroup(ind.indGroup);
    const int newKey = AddIndivid(std::move(ind));
    if (oldKey >= 0) individMap.emplace(oldKey, newKey);
  }

  for (auto& ds : other.datasets) {
    for (int r = 1; r <= ds->Count(); ++r) {
      TSeq& s = *ds->SeqAt(r);
      if (s.individId >= 0) {
        auto it = individMap.find(s.individId);
        s.individId = it == individMap.end() ? -1 : it->second;
      }
      if (s.groupNum != -1) {
        auto g = groupMap.find(s.groupNum);
        if (g != groupMap.end()) s.groupNum = g->second;
      }
    }
  }
  for (auto& ds : other.datasets) {
    ds->project = nullptr;
    (void)AddDataset(ds, mergeByName);
  }

  // Only one outgroup group may stay.
  bool seen = false;
  const auto extra = std::remove_if(groups.begin(), groups.end(), [&seen](const TGroup& g) {
    if (g.grpKey != kOutgroupKey) return false;
    const bool drop = seen;
    seen = true;
    return drop;
  });
  if (extra != groups.end()) {
    groups.erase(extra, groups.end());
    RebuildGroupIndex();
  }
  other.Clear();
}

std::unique_ptr<TDataSeq> TDataProj::ConcatDataSeq() const {
  auto out = std::make_unique<TDataSeq>(*services_);
  out->dsName = "Concatenated";
  std::vector<TSeq*> rows;
  std::unordered_map<int, std::size_t> rowOfKey;
  rows.reserve(individs.size());
  for (const TIndivid& ind : individs) {
    auto s = std::make_unique<TSeq>();
    s->seqName = ind.indName;
    s->individId = ind.indKey;
    s->groupNum = ind.indGroup;
    s->genomeNumber = 0;
    if (out->AddSeq(s, true) < 0) break;  // the dataset limit was reached and reported
    rows.push_back(out->SeqAt(out->Count()));
    rowOfKey.emplace(ind.indKey, rows.size() - 1);
  }
  std::vector<int> received(rows.size(), -1);
  std::vector<std::int32_t> nextRegionId(rows.size(), 0);

  for (int d = 0; d < DatasetCount(); ++d) {
    const TDataSeq& ds = *datasets[static_cast<std::size_t>(d)];
    for (int r = 1; r <= ds.Count(); ++r) {
      const TSeq& s = *ds.SeqAt(r);
      auto it = rowOfKey.find(s.individId);
      if (s.individId < 0 || it == rowOfKey.end() || received[it->second] == d) continue;
      received[it->second] = d;
      TSeq& row = *rows[it->second];
      // Leading shift columns become gaps so each locus keeps its own columns.
      row.letters.append(static_cast<std::size_t>(std::max(0, s.columnShift)), '-');
      const int offset = static_cast<int>(row.letters.size());
      row.letters += s.letters;
      std::int32_t& nextId = nextRegionId[it->second];
      const std::int32_t base = nextId;
      for (TRegion reg : s.regions) {
        reg.regStart += offset;
        reg.regEnd += offset;
        const std::int32_t oldId = std::max(reg.regId, 0);
        reg.regId = base + oldId + 1;
        if (reg.prevId >= 0) reg.prevId += base + 1;
        if (reg.nextId >= 0) reg.nextId += base + 1;
        nextId = std::max(nextId, reg.regId);
        row.regions.push_back(std::move(reg));
      }
      if (s.Length() > 0) {
        TRegion misc;
        misc.regStart = offset + 1;
        misc.regEnd = offset + s.Length();
        misc.regType = kRegMisc;
        misc.regName = ds.dsName;
        misc.regId = ++nextId;
        row.regions.push_back(std::move(misc));
      }
    }
    std::size_t longest = 0;
    for (const TSeq* row : rows) longest = std::max(longest, row->letters.size());
    for (TSeq* row : rows) row->letters.resize(longest, '-');
  }
  for (TSeq* row : rows) row->SyncLength();
  return out;
}
