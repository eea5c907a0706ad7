// SPDX-License-Identifier: GPL-3.0-or-later
// TDataProj: lifecycle, the dataset list with its lookups, finding and pruning.
#include "model/DataProjUnit.h"

#include <algorithm>

namespace {
TGroup OutgroupGroup() {
  TGroup g;
  g.grpKey = kOutgroupKey;
  g.grpName = "Outgroups";
  return g;
}
}  // namespace

TDataProj::TDataProj(Services& services) : services_(&services) {
  groups.push_back(OutgroupGroup());
  RebuildGroupIndex();
}

TDataProj::~TDataProj() = default;

void TDataProj::Clear() {
  datasets.clear();
  groups.clear();
  individs.clear();
  projName.clear();
  projComment.clear();
  lastDsNumber = -1;
  lastGroupKey = 0;
  lastIndividKey = 0;
  currentDs = 0;
  maxLetters = maxRows = 0;
  RebuildDatasetIndex();
  RebuildIndividIndex();
  RebuildGroupIndex();
}

void TDataProj::CopyTo(TDataProj& target) const {
  if (&target == this) return;
  target.Clear();
  for (const auto& ds : datasets) {
    auto copy = target.MakeDataset();
    ds->CopyTo(*copy);
    copy->project = &target;
    target.datasets.push_back(std::move(copy));
  }
  target.projName = projName;
  target.projComment = projComment;
  target.lastDsNumber = lastDsNumber;
  target.maxLetters = maxLetters;
  target.maxRows = maxRows;
  target.currentDs = currentDs;
  target.groups = groups;
  target.individs = individs;
  target.lastGroupKey = lastGroupKey;
  target.lastIndividKey = lastIndividKey;
  target.RebuildDatasetIndex();
  target.RebuildIndividIndex();
  target.RebuildGroupIndex();
}

void TDataProj::UpdateMaxima() {
  maxLetters = maxRows = 0;
  lastDsNumber = -1;
  for (const auto& ds : datasets) {
    maxLetters = std::max(maxLetters, ds->AlignmentLength(false));
    maxRows = std::max(maxRows, ds->Count());
    lastDsNumber = std::max(lastDsNumber, ds->dsNumber);
  }
}

// ---- lookups ----

void TDataProj::IndexDataset(int index) {
  const TDataSeq& ds = *datasets[static_cast<std::size_t>(index)];
  dsNameIndex.Add(NameLookupKey(ds.dsName), index);
  dsExactNames.Add(ds.dsName, index);
  dsNumberIndex.Add(ds.dsNumber, index);
}

void TDataProj::RebuildDatasetIndex() {
  dsNameIndex.Clear();
  dsExactNames.Clear();
  dsNumberIndex.Clear();
  dsHints.clear();
  for (int i = 0; i < DatasetCount(); ++i) IndexDataset(i);
}

// ---- datasets ----

int TDataProj::TotalSeqCount() const {
  int n = 0;
  for (const auto& ds : datasets) n += ds->Count();
  return n;
}

int TDataProj::SelectedDatasetCount() const {
  return static_cast<int>(std::count_if(datasets.begin(), datasets.end(),
                                        [](const auto& ds) { return ds->dsSelected; }));
}

TDataSeq* TDataProj::DatasetAt(int index) {
  if (datasets.empty()) {
    std::unique_ptr<TDataSeq> ds = MakeDataset();
    (void)AddDataset(ds, false);
  }
  if (index == -1) index = currentDs;
  return (index >= 0 && index < DatasetCount()) ? datasets[static_cast<std::size_t>(index)].get()
                                                : nullptr;
}

const TDataSeq* TDataProj::DatasetAt(int index) const {
  if (index == -1) index = currentDs;
  return (index >= 0 && index < DatasetCount()) ? datasets[static_cast<std::size_t>(index)].get()
                                                : nullptr;
}

void TDataProj::SetCurrent(int index) {
  if (index >= 0 && index < DatasetCount()) currentDs = index;
}

bool TDataProj::SwapDatasets(int a, int b) {
  if (a < 0 || b < 0 || a >= DatasetCount() || b >= DatasetCount()) return false;
  if (a == b) return true;
  std::swap(datasets[static_cast<std::size_t>(a)], datasets[static_cast<std::size_t>(b)]);
  if (currentDs == a)
    currentDs = b;
  else if (currentDs == b)
    currentDs = a;
  RebuildDatasetIndex();
  return true;
}

std::string TDataProj::CurrentDatasetName() const {
  const TDataSeq* ds = DatasetAt(-1);
  return ds != nullptr ? ds->dsName : std::string();
}

TDataSeq* TDataProj::DatasetByNumber(int dsNumber) const {
  const int i = IndexByNumber(dsNumber);
  return i >= 0 ? datasets[static_cast<std::size_t>(i)].get() : nullptr;
}

int TDataProj::IndexByNumber(int dsNumber) const {
  return dsNumberIndex.Find(dsNumber);
}

TDataSeq* TDataProj::DatasetByName(std::string_view name) const {
  const int i = IndexByName(name);
  return i >= 0 ? datasets[static_cast<std::size_t>(i)].get() : nullptr;
}

int TDataProj::IndexByName(std::string_view name) const {
  return dsNameIndex.Find(NameLookupKey(name));
}

std::unique_ptr<TDataSeq> TDataProj::MakeDataset() const {
  return std::make_unique<TDataSeq>(*services_);
}

int TDataProj::AppendDataset(std::unique_ptr<TDataSeq> ds) {
  ds->dsName = MakeUniqueName(
      ds->dsName, [this](const std::string& n) { return dsExactNames.Contains(n); }, &dsHints);
  ds->dsNumber = ++lastDsNumber;
  ds->project = this;
  datasets.push_back(std::move(ds));
  currentDs = DatasetCount() - 1;
  IndexDataset(currentDs);
  return currentDs;
}

int TDataProj::NewDataset() {
  auto ds = MakeDataset();
  ds->dsName = "Dataset" + std::to_string(DatasetCount() + 1);
  AppendDataset(std::move(ds));
  return lastDsNumber;
}

int TDataProj::AddDataset(std::unique_ptr<TDataSeq>& ds, bool mergeByName) {
  if (!ds) return -1;
  if (mergeByName) {
    const int existing = dsExactNames.Find(ds->dsName);
    if (existing >= 0) {
      TDataSeq& into = *datasets[static_cast<std::size_t>(existing)];
      // The rows move over; any the full dataset refuses go with the incoming one.
      for (std::size_t r = 1; r < ds->seqs.size(); ++r) (void)into.AddSeq(ds->seqs[r], true);
      ds.reset();
      return -1;
    }
  }
  return AppendDataset(std::move(ds));
}

std::unique_ptr<TDataSeq> TDataProj::ReleaseDataset(int index) {
  if (index < 0 || index >= DatasetCount()) return nullptr;
  std::unique_ptr<TDataSeq> out = std::move(datasets[static_cast<std::size_t>(index)]);
  datasets.erase(datasets.begin() + index);
  if (currentDs > index) --currentDs;
  currentDs = std::clamp(currentDs, 0, std::max(0, DatasetCount() - 1));
  RebuildDatasetIndex();
  out->project = nullptr;
  return out;
}

void TDataProj::DeleteDataset(int index) {
  if (ReleaseDataset(index) == nullptr) return;
  if (datasets.empty()) {
    NewDataset();
    services_->messages.Notify(
        "There should be at least one dataset in the project, so a new empty dataset was "
        "created: " +
        datasets.front()->dsName);
  }
}

bool TDataProj::RenameDataset(int index, const std::string& name) {
  if (index < 0 || index >= DatasetCount()) return false;
  TDataSeq& ds = *datasets[static_cast<std::size_t>(index)];
  if (ds.dsName == name) return true;
  const std::string oldKey = NameLookupKey(ds.dsName), oldName = ds.dsName;
  dsNameIndex.Remove(oldKey, index, DatasetCount(), [&](int i) {
    return NameLookupKey(datasets[static_cast<std::size_t>(i)]->dsName) == oldKey;
  });
  dsExactNames.Remove(oldName, index, DatasetCount(), [&](int i) {
    return datasets[static_cast<std::size_t>(i)]->dsName == oldName;
  });
  dsHints.clear();
  ds.dsName =
      MakeUniqueName(name, [this](const std::string& n) { return dsExactNames.Contains(n); });
  dsNameIndex.Add(NameLookupKey(ds.dsName), index);
  dsExactNames.Add(ds.dsName, index);
  return true;
}

int TDataProj::FindDataset(const std::string& text, bool exact) {
  const int n = DatasetCount();
  if (exact) {
    const int i = dsExactNames.Find(text);
    if (i >= 0) {
      currentDs = i;
      return i;
    }
    services_->messages.Notify("Dataset with name " + text + " not found");
    return -1;
  }
  for (int step = 1; step <= n; ++step) {
    const int i = (currentDs + step) % n;
    if (datasets[static_cast<std::size_t>(i)]->dsName.find(text) != std::string::npos) {
      currentDs = i;
      return i;
    }
  }
  services_->messages.Notify("Dataset with name containing " + text + " not found");
  return -1;
}

int TDataProj::FindSequence(const std::string& text, bool exact) {
  TDataSeq* ds = DatasetAt(-1);
  if (ds == nullptr) return -1;
  int row = -1;
  if (exact) {
    row = ds->RowByName(text);
  } else {
    for (int r = std::max(ds->currentRow, 0) + 1; r <= ds->Count() && row < 0; ++r)
      if (ds->SeqAt(r)->seqName.find(text) != std::string::npos) row = r;
  }
  if (row > 0) ds->currentRow = row;
  return row;
}

int TDataProj::RemoveShortSeqs(int minLength, bool basesOnly) {
  int removed = 0;
  for (auto& ds : datasets) {
    std::vector<int> rows;
    for (int r = 1; r <= ds->Count(); ++r) {
      const TSeq& s = *ds->SeqAt(r);
      if ((basesOnly ? s.CountBases() : s.Length()) < minLength) rows.push_back(r);
    }
    ds->DeleteSeqs(rows);
    removed += static_cast<int>(rows.size());
  }
  return removed;
}

int TDataProj::RemoveLongSeqs(int maxLength) {
  int removed = 0;
  for (auto& ds : datasets) {
    std::vector<int> rows;
    for (int r = 1; r <= ds->Count(); ++r)
      if (ds->SeqAt(r)->Length() > maxLength) rows.push_back(r);
    ds->DeleteSeqs(rows);
    removed += static_cast<int>(rows.size());
  }
  return removed;
}

void TDataProj::MarkGapRegions(int dsIndex, int row) {
  for (int i = 0; i < DatasetCount(); ++i)
    if (dsIndex == -1 || dsIndex == i) datasets[static_cast<std::size_t>(i)]->MarkGapRegions(row);
}
