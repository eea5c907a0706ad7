// SPDX-License-Identifier: GPL-3.0-or-later
// TDataProj: a project, the datasets of one editor window with the individuals the sequences
// were taken from and the groups (populations) of those individuals; TIndivid, TGroup, sir.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/Services.h"
#include "model/Datasequnit.h"
#include "model/FirstIndexMap.h"
#include "model/NameRules.h"
#include "model/RareField.h"

// A named attribute value of an individual (one column of the individuals table).
struct sir {
  std::string sirName;  // compared ignoring case
  std::string sirText;
  std::int32_t sirInt = 0;
  double sirReal = 0.0;
  bool operator==(const sir&) const = default;
};

constexpr std::int32_t kOutgroupKey = -2;

// Comments and attributes are held only when an individual has them: a groups file makes one
// individual per sequence, tens of thousands of them with neither.
struct TIndivid {
  std::string indName = "No_name";
  TRareText indComment;
  std::int32_t indGroup = -1;  // group key; kOutgroupKey = outgroup; -1 = none
  std::int32_t indSpecies = -1;
  double latitude = -1.0;
  double longitude = -1.0;
  double altitude = -1.0;
  TRare<std::vector<sir>> attributes;
  std::int32_t indTag = -1;
  std::int32_t indKey = -1;  // sequences refer to it through individId
  std::int32_t indDbId = -1;
  std::int32_t indLocationId = -1;
  std::int32_t indReserved = -1;
  bool indEnabled = true;
  bool operator==(const TIndivid&) const = default;
};

struct TGroup {
  std::int32_t grpKey = -1;  // kOutgroupKey = the outgroup group
  std::int32_t grpTag = -1;
  std::int32_t grpLocationId = -1;
  std::int32_t grpDbId = -1;
  std::int32_t grpReserved = -1;  // former key while projects are merged
  std::int32_t grpParent = -1;    // -1 = top level
  std::string grpName;
  std::string grpComment;
  std::vector<bool> grpMembers;  // membership flags of older project files
  bool grpSelected = true;
  bool operator==(const TGroup&) const = default;
};

class TDataProj {
 public:
  // The services must outlive the project and its datasets.
  explicit TDataProj(Services& services);
  ~TDataProj();
  TDataProj(const TDataProj&) = delete;
  TDataProj& operator=(const TDataProj&) = delete;

  std::int32_t lastDsNumber = -1;
  std::int32_t maxLetters = 0, maxRows = 0;  // UpdateMaxima
  std::int32_t lastGroupKey = 0;
  std::int32_t lastIndividKey = 0;
  std::string projName = "No_Name";
  std::string projComment;
  std::string projFile;

  Services& GetServices() const { return *services_; }

  // ---- lifecycle ----
  void Clear();
  void CopyTo(TDataProj& target) const;
  void UpdateMaxima();

  // ---- datasets ----
  [[nodiscard]] int DatasetCount() const { return static_cast<int>(datasets.size()); }
  [[nodiscard]] int TotalSeqCount() const;
  [[nodiscard]] int SelectedDatasetCount() const;
  // -1 = the current one; on an empty project a dataset is created first; nullptr for a bad
  // index.
  TDataSeq* DatasetAt(int index);
  [[nodiscard]] const TDataSeq* DatasetAt(int index) const;  // never creates
  TDataSeq* CurrentDataset() { return DatasetAt(-1); }
  [[nodiscard]] int CurrentIndex() const { return currentDs; }
  void SetCurrent(int index);  // ignored when out of range
  // Exchanges two datasets' places (the current one follows its dataset); false for a bad index.
  bool SwapDatasets(int a, int b);
  [[nodiscard]] std::string CurrentDatasetName() const;
  [[nodiscard]] TDataSeq* DatasetByNumber(int dsNumber) const;
  [[nodiscard]] int IndexByNumber(int dsNumber) const;
  [[nodiscard]] TDataSeq* DatasetByName(std::string_view name) const;
  [[nodiscard]] int IndexByName(std::string_view name) const;  // upper-cased, cut at first space
  int NewDataset();  // returns its dsNumber; it becomes current
  // Takes ds over. Merged into the same-named dataset (mergeByName): ds is freed and -1
  // returned; otherwise the new index.
  int AddDataset(std::unique_ptr<TDataSeq>& ds, bool mergeByName);
  // A dataset with this project's services, not yet added.
  [[nodiscard]] std::unique_ptr<TDataSeq> MakeDataset() const;
  void DeleteDataset(int index);
  [[nodiscard]] std::unique_ptr<TDataSeq> ReleaseDataset(int index);  // nullptr for a bad index
  bool RenameDataset(int index, const std::string& name);  // made unique; false for a bad index
  int FindDataset(const std::string& text, bool exact);
  int FindSequence(const std::string& text, bool exact);
  int RemoveShortSeqs(int minLength, bool basesOnly);
  int RemoveLongSeqs(int maxLength);
  void MarkGapRegions(int dsIndex, int row);  // dsIndex -1: all datasets

  // ---- groups ----
  [[nodiscard]] int GroupCount() const { return static_cast<int>(groups.size()); }
  [[nodiscard]] std::string GroupName(int index) const;
  bool SetGroupName(int index, const std::string& name);  // made unique
  [[nodiscard]] int GroupIndexByName(std::string_view name) const;
  [[nodiscard]] int GroupIndexByKey(int key) const;
  [[nodiscard]] int GroupKeyByName(std::string_view name) const;  // -1 when absent
  [[nodiscard]] int GroupKeyAt(int index) const;                  // -1 for a bad index
  bool GetGroup(int index, TGroup& out) const;
  [[nodiscard]] const std::vector<TGroup>& Groups() const { return groups; }
  TGroup* GroupAt(int index);  // nullptr for a bad index; do not change the key or name here
  int AddGroup(TGroup group);  // returns the key; -1 when not added
  void DeleteGroup(int index, bool withSubgroups);
  // False when the group is unknown or the parent is the group or one of its descendants.
  bool SetGroupParent(const std::string& groupName, const std::string& parentName);
  [[nodiscard]] int GroupDepth(int index) const;
  [[nodiscard]] int GroupCountAtDepth(int depth) const;  // -1: all groups
  [[nodiscard]] bool IsAncestorOrSelf(int ancestorKey, int key) const;
  [[nodiscard]] bool IsInGroup(const TDataSeq& ds, int seqId, bool withAncestors,
                               int groupKey) const;
  [[nodiscard]] int CountSeqsInGroup(int groupKey, int dsNumber, bool withSubgroups) const;
  int IndividsOfGroup(const std::string& groupName, std::vector<bool>& flags) const;
  [[nodiscard]] int OutgroupInfo(int& seqCount) const;
  [[nodiscard]] std::vector<int> TopLevelGroupKeys() const;

  // ---- individuals ----
  [[nodiscard]] int IndividCount() const { return static_cast<int>(individs.size()); }
  [[nodiscard]] std::string IndividName(int index) const;
  [[nodiscard]] int IndividIndexByName(std::string_view name) const;  // exact
  [[nodiscard]] int IndividIndexByKey(int key) const;
  [[nodiscard]] int IndividKeyByName(std::string_view name) const;  // upper-cased, cut
  [[nodiscard]] int IndexOfKey(int key) const;
  [[nodiscard]] int GroupKeyOfIndivid(int index) const;
  bool GetIndivid(int index, TIndivid& out) const;
  bool GetIndivid(std::string_view name, TIndivid& out) const;
  [[nodiscard]] const std::vector<TIndivid>& Individs() const { return individs; }
  TIndivid* IndividAt(int index);    // nullptr for a bad index; do not change key or name here
  int AddIndivid(TIndivid individ);  // returns the key
  bool RenameIndivid(int index, const std::string& name);  // made unique
  bool DeleteIndivid(std::string_view name, bool deleteSeqs);
  bool DeleteIndividAt(int index, bool deleteSeqs);
  // The individuals at the indexes (any order, repeats ignored) in one pass over the rows;
  // returns the number removed.
  int DeleteIndividsAt(const std::vector<int>& indexes, bool deleteSeqs);
  // Individuals ordered by name (letters of either case alike); keys and links stay.
  void SortIndividsByName();
  bool SetIndividGroup(std::string_view individName, std::string_view groupName);
  bool SetIndividGroupByKey(int key, int groupKey);
  void SetIndividEnabled(int index, bool enabled);
  bool AssignSeqToGroup(int dsIndex, const std::string& seqName, const std::string& groupName);
  // The same for many (sequence name, group name) pairs of one dataset, later pairs winning:
  // every row of the project is visited once, not once per pair. rows: the pairs' rows as
  // RowsByName gives them, when the caller has them already. Returns the pairs applied.
  int AssignSeqsToGroups(int dsIndex,
                         const std::vector<std::pair<std::string, std::string>>& seqGroups,
                         const std::vector<int>* rows = nullptr);
  [[nodiscard]] int GroupOfSeq(const TDataSeq& ds, int seqId) const;
  [[nodiscard]] int GroupOfSeqByNumber(int dsNumber, int seqId) const;
  void SyncGroupNums(int dsIndex);  // -1: all datasets
  [[nodiscard]] bool IsOutgroup(const TDataSeq& ds, int row) const;
  [[nodiscard]] int CountSeqsOfIndivid(int key, int dsNumber) const;
  void AddAttributeColumn(const std::string& name);

  // ---- merging and concatenation ----
  // Takes other's datasets, individuals and groups; other is left empty.
  void MergeProject(TDataProj& other, bool mergeByName);
  [[nodiscard]] std::unique_ptr<TDataSeq> ConcatDataSeq() const;

 private:
  Services* services_;
  int currentDs = 0;
  std::vector<TGroup> groups;
  std::vector<TIndivid> individs;
  std::vector<std::unique_ptr<TDataSeq>> datasets;
  // Kept current on insert and rename; a deletion rebuilds its list's maps once.
  FirstIndexMap<std::string> dsNameIndex;  // lookup key
  FirstIndexMap<std::string> dsExactNames;
  FirstIndexMap<std::int32_t> dsNumberIndex;
  // The individuals' name maps are made on the first lookup by name (as a dataset's are).
  mutable FirstIndexMap<std::string> individNameIndex;  // lookup key
  mutable FirstIndexMap<std::string> individExactNames;
  mutable bool individNamesIndexed = false;
  SeqIdIndex individKeyIndex;  // keys are handed out one after the other, as sequence ids are
  FirstIndexMap<std::string> groupExactNames;
  FirstIndexMap<std::int32_t> groupKeyIndex;
  SuffixHints dsHints, individHints, groupHints;  // cleared when a name leaves

  void IndexDataset(int index);
  void IndexIndivid(int index);
  void IndexIndividNames() const;
  void IndexIndividName(int index) const;  // into the name maps
  int AppendIndivid(TIndivid individ);     // gives it a free key; its name must be free already
  void IndexGroup(int index);
  void RebuildDatasetIndex();
  void RebuildIndividIndex();
  void RebuildGroupIndex();
  int AppendDataset(std::unique_ptr<TDataSeq> ds);  // returns the index; becomes current
  int GroupIndexByKeyChecked(int key) const;
  [[nodiscard]] int GroupOfIndividKey(int individKey) const;  // -1 when none
};
