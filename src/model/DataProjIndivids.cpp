// SPDX-License-Identifier: GPL-3.0-or-later
// TDataProj: individuals (keys, names, group membership) and the links of sequences to them.
#include <algorithm>
#include <limits>
#include <unordered_map>
#include <unordered_set>

#include "model/DataProjUnit.h"

void TDataProj::IndexIndivid(int index) {
  const TIndivid& ind = individs[static_cast<std::size_t>(index)];
  individKeyIndex.Add(ind.indKey, index);
  if (individNamesIndexed) IndexIndividName(index);
}

void TDataProj::IndexIndividName(int index) const {
  const std::string& name = individs[static_cast<std::size_t>(index)].indName;
  individNameIndex.Add(NameLookupKey(name), index);
  individExactNames.Add(name, index);
}

void TDataProj::RebuildIndividIndex() {
  individNameIndex.Clear();
  individExactNames.Clear();
  individKeyIndex.Clear();
  individHints.clear();
  if (individNamesIndexed) {
    individNameIndex.Reserve(individs.size());
    individExactNames.Reserve(individs.size());
  }
  individKeyIndex.Reserve(individs.size());
  for (int i = 0; i < IndividCount(); ++i) IndexIndivid(i);
}

void TDataProj::IndexIndividNames() const {
  if (individNamesIndexed) return;
  individNamesIndexed = true;
  individNameIndex.Reserve(individs.size());
  individExactNames.Reserve(individs.size());
  for (int i = 0; i < IndividCount(); ++i) IndexIndividName(i);
}

std::string TDataProj::IndividName(int index) const {
  return (index >= 0 && index < IndividCount()) ? individs[static_cast<std::size_t>(index)].indName
                                                : std::string();
}

int TDataProj::IndividIndexByName(std::string_view name) const {
  IndexIndividNames();
  return individExactNames.Find(std::string(name));
}

int TDataProj::IndividIndexByKey(int key) const {
  return individKeyIndex.Find(key);
}

int TDataProj::IndividKeyByName(std::string_view name) const {
  IndexIndividNames();
  const int i = individNameIndex.Find(NameLookupKey(name));
  return i >= 0 ? individs[static_cast<std::size_t>(i)].indKey : -1;
}

int TDataProj::IndexOfKey(int key) const {
  return individKeyIndex.Find(key);
}

int TDataProj::GroupKeyOfIndivid(int index) const {
  return (index >= 0 && index < IndividCount()) ? individs[static_cast<std::size_t>(index)].indGroup
                                                : -1;
}

bool TDataProj::GetIndivid(int index, TIndivid& out) const {
  if (index < 0 || index >= IndividCount()) return false;
  out = individs[static_cast<std::size_t>(index)];
  return true;
}

bool TDataProj::GetIndivid(std::string_view name, TIndivid& out) const {
  return GetIndivid(IndividIndexByName(name), out);
}

TIndivid* TDataProj::IndividAt(int index) {
  return (index >= 0 && index < IndividCount()) ? &individs[static_cast<std::size_t>(index)]
                                                : nullptr;
}

int TDataProj::AddIndivid(TIndivid individ) {
  IndexIndividNames();
  individ.indName = MakeUniqueName(
      individ.indName, [this](const std::string& n) { return individExactNames.Contains(n); },
      &individHints);
  return AppendIndivid(std::move(individ));
}

int TDataProj::AppendIndivid(TIndivid individ) {
  if (individ.indKey < 0 || individKeyIndex.Contains(individ.indKey)) {
    individ.indKey = lastIndividKey + 1;
    while (individKeyIndex.Contains(individ.indKey)) ++individ.indKey;
    lastIndividKey = individ.indKey;
  } else {
    lastIndividKey = std::max(lastIndividKey, individ.indKey);
  }
  individs.push_back(std::move(individ));
  IndexIndivid(IndividCount() - 1);
  return individs.back().indKey;
}

bool TDataProj::RenameIndivid(int index, const std::string& name) {
  if (index < 0 || index >= IndividCount()) return false;
  TIndivid& ind = individs[static_cast<std::size_t>(index)];
  if (ind.indName == name) return true;
  IndexIndividNames();
  const std::string oldKey = NameLookupKey(ind.indName), oldName = ind.indName;
  individNameIndex.Remove(oldKey, index, IndividCount(), [&](int i) {
    return NameLookupKey(individs[static_cast<std::size_t>(i)].indName) == oldKey;
  });
  individExactNames.Remove(oldName, index, IndividCount(), [&](int i) {
    return individs[static_cast<std::size_t>(i)].indName == oldName;
  });
  individHints.clear();
  ind.indName =
      MakeUniqueName(name, [this](const std::string& n) { return individExactNames.Contains(n); });
  IndexIndividName(index);
  return true;
}

bool TDataProj::DeleteIndivid(std::string_view name, bool deleteSeqs) {
  for (int i = 0; i < IndividCount(); ++i)
    if (SameNameIgnoringCase(individs[static_cast<std::size_t>(i)].indName, name))
      return DeleteIndividAt(i, deleteSeqs);
  return false;
}

bool TDataProj::DeleteIndividAt(int index, bool deleteSeqs) {
  if (index < 0 || index >= IndividCount()) return false;
  const int key = individs[static_cast<std::size_t>(index)].indKey;
  individs.erase(individs.begin() + index);
  RebuildIndividIndex();
  // Another individual may carry the same key (older files); its sequences stay linked.
  if (IndexOfKey(key) >= 0) return true;
  for (auto& ds : datasets) {
    std::vector<int> rows;
    for (int r = 1; r <= ds->Count(); ++r)
      if (ds->SeqAt(r)->individId == key) {
        if (deleteSeqs)
          rows.push_back(r);
        else
          ds->SeqAt(r)->individId = -1;
      }
    ds->DeleteSeqs(rows);
  }
  return true;
}

int TDataProj::DeleteIndividsAt(const std::vector<int>& indexes, bool deleteSeqs) {
  std::vector<char> gone(individs.size(), 0);
  for (int i : indexes)
    if (i >= 0 && i < IndividCount()) gone[static_cast<std::size_t>(i)] = 1;
  std::vector<TIndivid> kept;
  std::unordered_map<int, char> goneKeys;
  for (std::size_t i = 0; i < individs.size(); ++i) {
    if (gone[i] != 0)
      goneKeys[individs[i].indKey] = 1;
    else
      kept.push_back(std::move(individs[i]));
  }
  const int removed = IndividCount() - static_cast<int>(kept.size());
  if (removed == 0) return 0;
  individs = std::move(kept);
  RebuildIndividIndex();
  // Another individual may carry the same key (older files); its sequences stay linked.
  for (auto it = goneKeys.begin(); it != goneKeys.end();)
    it = IndexOfKey(it->first) >= 0 ? goneKeys.erase(it) : std::next(it);
  for (auto& ds : datasets) {
    std::vector<int> rows;
    for (int r = 1; r <= ds->Count(); ++r) {
      TSeq* s = ds->SeqAt(r);
      if (goneKeys.count(s->individId) == 0) continue;
      if (deleteSeqs) {
        rows.push_back(r);
      } else {
        s->individId = -1;
        s->groupNum = -1;
      }
    }
    ds->DeleteSeqs(rows);
    ds->InvalidateMutHolders();
  }
  return removed;
}

void TDataProj::SortIndividsByName() {
  auto upper = [](std::string s) {
    for (char& c : s)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
  };
  std::stable_sort(individs.begin(), individs.end(), [&](const TIndivid& a, const TIndivid& b) {
    const std::string ua = upper(a.indName), ub = upper(b.indName);
    return ua != ub ? ua < ub : a.indName < b.indName;
  });
  RebuildIndividIndex();
}

bool TDataProj::SetIndividGroup(std::string_view individName, std::string_view groupName) {
  const int i = IndividIndexByName(individName);
  const int g = GroupIndexByName(groupName);
  if (i < 0 || g < 0) return false;
  return SetIndividGroupByKey(individs[static_cast<std::size_t>(i)].indKey,
                              groups[static_cast<std::size_t>(g)].grpKey);
}

bool TDataProj::SetIndividGroupByKey(int key, int groupKey) {
  const int i = IndexOfKey(key);
  if (i < 0) return false;
  individs[static_cast<std::size_t>(i)].indGroup = groupKey;
  for (auto& ds : datasets) {
    for (int r = 1; r <= ds->Count(); ++r)
      if (ds->SeqAt(r)->individId == key) ds->SeqAt(r)->groupNum = groupKey;
    ds->InvalidateMutHolders();
  }
  return true;
}

void TDataProj::SetIndividEnabled(int index, bool enabled) {
  TIndivid* ind = IndividAt(index);
  if (ind == nullptr) return;
  ind->indEnabled = enabled;
  for (auto& ds : datasets) {
    for (int r = 1; r <= ds->Count(); ++r)
      if (ds->SeqAt(r)->individId == ind->indKey) ds->SeqAt(r)->enabled = enabled;
    ds->InvalidateMutHolders();
  }
}

bool TDataProj::AssignSeqToGroup(int dsIndex, const std::string& seqName,
                                 const std::string& groupName) {
  return AssignSeqsToGroups(dsIndex, {{seqName, groupName}}) == 1;
}

int TDataProj::AssignSeqsToGroups(int dsIndex,
                                  const std::vector<std::pair<std::string, std::string>>& seqGroups,
                                  const std::vector<int>* rows) {
  TDataSeq* ds = DatasetAt(dsIndex);
  if (ds == nullptr) return 0;
  // A groups file may make one individual per line: on a project without individuals, room
  // for them all at once, so the list does not grow by doubling to nearly twice their size.
  // Later calls (one per dataset) leave growth to the containers, or each would copy them all.
  if (individs.empty() && !seqGroups.empty()) {
    const std::size_t total = seqGroups.size();
    individs.reserve(total);
    individKeyIndex.Reserve(total);
  }
  std::vector<int> found;
  if (rows == nullptr || rows->size() != seqGroups.size()) {
    std::vector<std::string_view> names;
    names.reserve(seqGroups.size());
    for (const auto& pair : seqGroups) names.push_back(pair.first);
    found = ds->RowsByName(names);
    rows = &found;
  }
  // The individuals made for a whole file take free names from a set of the names in use,
  // made with the first of them and dropped afterwards, unless the name maps are at hand
  // anyway; a few take the maps.
  const bool bulk = !individNamesIndexed && seqGroups.size() * 8 >= individs.size();
  std::unordered_set<std::string> taken;
  bool takenMade = false;
  // Group key each moved individual takes, by individual index; the rows follow in one pass.
  // A plain list: a node per line would be freed between the lookups' nodes and leave the
  // heap in holes nothing later fits.
  constexpr int kStays = std::numeric_limits<int>::min();
  std::vector<int> movedTo;
  int applied = 0;
  for (std::size_t k = 0; k < seqGroups.size(); ++k) {
    const int g = GroupIndexByName(seqGroups[k].second);
    if (g < 0) continue;
    TSeq* s = ds->SeqAt((*rows)[k]);
    if (s == nullptr) continue;
    const int groupKey = groups[static_cast<std::size_t>(g)].grpKey;
    if (s->individId < 0 || IndexOfKey(s->individId) < 0) {
      TIndivid ind;
      ind.indName = s->seqName;
      if (bulk) {
        if (!takenMade) {
          takenMade = true;
          taken.reserve(individs.size() + seqGroups.size());
          for (const TIndivid& other : individs) taken.insert(other.indName);
        }
        ind.indName = MakeUniqueName(
            ind.indName, [&](const std::string& n) { return taken.contains(n); }, &individHints);
        taken.insert(ind.indName);
        s->individId = AppendIndivid(std::move(ind));
      } else {
        s->individId = AddIndivid(std::move(ind));
      }
    }
    const int i = IndexOfKey(s->individId);
    if (i < 0) continue;
    individs[static_cast<std::size_t>(i)].indGroup = groupKey;
    s->groupNum = groupKey;
    if (movedTo.size() < individs.size()) movedTo.resize(individs.size(), kStays);
    movedTo[static_cast<std::size_t>(i)] = groupKey;
    ++applied;
  }
  if (applied == 0) return 0;
  for (auto& d : datasets) {
    for (int r = 1; r <= d->Count(); ++r) {
      TSeq* s = d->SeqAt(r);
      const int i = s->individId < 0 ? -1 : IndexOfKey(s->individId);
      if (i >= 0 && static_cast<std::size_t>(i) < movedTo.size() &&
          movedTo[static_cast<std::size_t>(i)] != kStays)
        s->groupNum = movedTo[static_cast<std::size_t>(i)];
    }
    d->InvalidateMutHolders();
  }
  return applied;
}

int TDataProj::GroupOfSeq(const TDataSeq& ds, int seqId) const {
  const TSeq* s = ds.SeqAt(ds.RowById(seqId));
  return s != nullptr ? GroupOfIndividKey(s->individId) : -1;
}

int TDataProj::GroupOfSeqByNumber(int dsNumber, int seqId) const {
  const TDataSeq* ds = DatasetByNumber(dsNumber);
  return ds != nullptr ? GroupOfSeq(*ds, seqId) : -1;
}

void TDataProj::SyncGroupNums(int dsIndex) {
  for (int d = 0; d < DatasetCount(); ++d) {
    if (dsIndex != -1 && dsIndex != d) continue;
    TDataSeq& ds = *datasets[static_cast<std::size_t>(d)];
    for (int r = 1; r <= ds.Count(); ++r) {
      TSeq& s = *ds.SeqAt(r);
      const int i = s.individId < 0 ? -1 : IndexOfKey(s.individId);
      if (i >= 0) s.groupNum = individs[static_cast<std::size_t>(i)].indGroup;
    }
    ds.InvalidateMutHolders();
  }
}

bool TDataProj::IsOutgroup(const TDataSeq& ds, int row) const {
  const TSeq* s = ds.SeqAt(row);
  return s != nullptr && GroupOfIndividKey(s->individId) == kOutgroupKey;
}

int TDataProj::CountSeqsOfIndivid(int key, int dsNumber) const {
  int n = 0;
  for (const auto& ds : datasets)
    if (dsNumber == -1 || ds->dsNumber == dsNumber) n += ds->CountOfIndivid(key);
  return n;
}

void TDataProj::AddAttributeColumn(const std::string& name) {
  for (TIndivid& ind : individs) {
    const bool has = std::any_of(ind.attributes.begin(), ind.attributes.end(), [&](const sir& a) {
      return SameNameIgnoringCase(a.sirName, name);
    });
    if (!has) ind.attributes.push_back(sir{name, "", 0, 0.0});
  }
}
