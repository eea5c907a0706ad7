// SPDX-License-Identifier: GPL-3.0-or-later
// TDataSeq: rows, naming and id rules, lookups, lengths, selection, cursor and undo.
#include "model/Datasequnit.h"

#include <algorithm>
#include <cassert>

#include "model/DataProjUnit.h"

namespace {
std::unique_ptr<TSeq> MakePlaceholder() {
  auto p = std::make_unique<TSeq>();
  p->letters.assign(1, '-');
  p->SyncLength();
  return p;
}
}  // namespace

TDataSeq::TDataSeq(Services& services) : code(&services.genCode), services_(&services) {
  seqs.push_back(MakePlaceholder());
}

TDataSeq::~TDataSeq() = default;

// ---- rows ----

TSeq* TDataSeq::SeqAt(int row) {
  return (row >= 1 && row <= Count()) ? seqs[static_cast<std::size_t>(row)].get() : nullptr;
}

const TSeq* TDataSeq::SeqAt(int row) const {
  return (row >= 1 && row <= Count()) ? seqs[static_cast<std::size_t>(row)].get() : nullptr;
}

std::unique_ptr<TSeq> TDataSeq::CloneAt(int row) const {
  const TSeq* s = SeqAt(row);
  return s != nullptr ? s->Clone() : nullptr;
}

int TDataSeq::AddSeq(std::unique_ptr<TSeq>& seq, bool uniqueName) {
  if (!seq) return -1;
  const int limit = services_->settings.maxSeqPerDataset;
  if (Count() >= limit) {
    services_->messages.ReportError("Exceeded maxSeqNum (" + std::to_string(limit) +
                                    "): Sequence " + seq->seqName +
                                    " has not been added to dataset " + dsName);
    return -1;
  }
  if (uniqueName) {
    IndexNames();
    if (seq->seqId > 0 && idIndex.Contains(seq->seqId)) seq->seqId = -1;
    seq->seqName = MakeUniqueName(
        seq->seqName, [this](const std::string& n) { return exactNames.count(n) != 0; },
        &suffixHints);
  } else {
    seq->seqId = -1;
  }
  if (seq->seqId <= 0) {
    std::int32_t id = std::max<std::int32_t>(lastSeqId, 0) + 1;
    while (idIndex.Contains(id)) ++id;  // an id set behind the dataset's back
    seq->seqId = id;
  }
  lastSeqId = std::max(lastSeqId, seq->seqId);
  seqs.push_back(std::move(seq));
  IndexRow(Count());
  InvalidateMutHolders();
  return Count();
}

void TDataSeq::Reserve(int rows) {
  if (rows <= 0) return;
  const std::size_t n = seqs.size() + static_cast<std::size_t>(rows);
  seqs.reserve(n);
  if (namesIndexed) {
    nameIndex.reserve(n);
    exactNames.reserve(n);
  }
  idIndex.Reserve(n);
}

int TDataSeq::AddEmptySeq() {
  auto s = std::make_unique<TSeq>();
  s->seqName = "Seq";
  return AddSeq(s, true);
}

void TDataSeq::DeleteSeq(int row) {
  if (SeqAt(row) == nullptr) return;
  UnindexRow(row);
  ForgetRow(row);
  seqs.erase(seqs.begin() + row);
  if (currentRow > row || currentRow > Count()) --currentRow;
  NormaliseShifts();
  InvalidateMutHolders();
}

void TDataSeq::DeleteSeqs(const std::vector<int>& rows) {
  std::vector<char> drop(seqs.size(), 0);
  bool any = false;
  for (int r : rows)
    if (r >= 1 && r <= Count()) drop[static_cast<std::size_t>(r)] = 1, any = true;
  if (!any) return;
  const TSeq* current = SeqAt(currentRow);
  std::vector<std::unique_ptr<TSeq>> kept;
  kept.reserve(seqs.size());
  int newCurrent = 0, below = 0;
  for (std::size_t i = 0; i < seqs.size(); ++i) {
    if (drop[i] != 0) {
      if (static_cast<int>(i) < currentRow) ++below;
      continue;
    }
    if (seqs[i].get() == current && i != 0) newCurrent = static_cast<int>(kept.size());
    kept.push_back(std::move(seqs[i]));
  }
  seqs = std::move(kept);
  // A deleted current row hands over to the row that took its place.
  currentRow = newCurrent != 0 ? newCurrent : std::min(currentRow - below, Count());
  if (currentRow < 0) currentRow = 0;
  suffixHints.clear();
  RebuildLookups();
  NormaliseShifts();
  InvalidateMutHolders();
}

std::unique_ptr<TSeq> TDataSeq::ReleaseSeq(int row) {
  if (SeqAt(row) == nullptr) return nullptr;
  UnindexRow(row);
  ForgetRow(row);
  std::unique_ptr<TSeq> out = std::move(seqs[static_cast<std::size_t>(row)]);
  seqs.erase(seqs.begin() + row);
  if (currentRow > row || currentRow > Count()) --currentRow;
  InvalidateMutHolders();
  return out;
}

void TDataSeq::Clear() {
  seqs.resize(1);
  pendingGone.clear();
  nameIndex.clear();
  exactNames.clear();
  idIndex.Clear();
  suffixHints.clear();
  currentRow = 0;
  cursorPos = 1;
  InvalidateMutHolders();
}

void TDataSeq::RenumberIds() {
  // Mate links refer to ids, so they follow the renumbering.
  std::unordered_map<std::int32_t, std::int32_t> newId;
  for (int r = 1; r <= Count(); ++r) newId.emplace(seqs[static_cast<std::size_t>(r)]->seqId, r);
  for (int r = 1; r <= Count(); ++r) {
    TSeq& s = *seqs[static_cast<std::size_t>(r)];
    s.seqId = r;
    if (s.mateId >= 0) {
      auto it = newId.find(s.mateId);
      s.mateId = it != newId.end() ? it->second : -1;
    }
  }
  lastSeqId = Count();
  RebuildLookups();
}

bool TDataSeq::RenameSeq(int row, const std::string& name, bool uniqueName) {
  TSeq* s = SeqAt(row);
  if (s == nullptr) return false;
  if (s->seqName == name) return true;
  if (uniqueName) IndexNames();
  UnindexRow(row);
  s->seqName =
      uniqueName
          ? MakeUniqueName(name, [this](const std::string& n) { return exactNames.count(n) != 0; })
          : name;
  IndexRow(row);
  return true;
}

void TDataSeq::CopyTo(TDataSeq& target) const {
  if (&target == this) return;
  target.lastSeqId = lastSeqId;
  target.dsForward = dsForward;
  target.dsName = dsName;
  target.dsComment = dsComment;
  target.code = code;
  target.dsNumber = dsNumber;
  target.chromosome = chromosome;
  target.genePosition = genePosition;
  target.genomeCoord = genomeCoord;
  target.blockRefStart = blockRefStart;
  target.blockRefEnd = blockRefEnd;
  target.blockGaps = blockGaps;
  target.blockEndColumn = blockEndColumn;
  target.cursorPos = cursorPos;
  target.currentRow = currentRow;
  target.blockRect = blockRect;
  target.dsSelected = dsSelected;
  target.dsSourceFile = dsSourceFile;
  target.firstVisibleCol = firstVisibleCol;
  target.lastVisibleCol = lastVisibleCol;
  target.seqs.clear();
  target.seqs.reserve(seqs.size());
  for (const auto& s : seqs) target.seqs.push_back(s->Clone());
  target.suffixHints.clear();
  target.RowsChanged();
}

void TDataSeq::CopyRangeTo(TDataSeq& target, int from, int count) const {
  if (&target == this) return;
  CopyTo(target);
  for (int r = 1; r <= target.Count(); ++r) {
    auto& s = target.seqs[static_cast<std::size_t>(r)];
    s = s->SubSequence(from, count, false);
  }
  target.NormaliseShifts();
  target.RowsChanged();
}

// ---- lookups ----

int TDataSeq::ToMapRow(int row) const {
  int m = row;
  for (int gone : pendingGone) {
    if (gone > m) break;
    ++m;
  }
  return m;
}

int TDataSeq::FromMapRow(int mapRow) const {
  int below = 0;
  for (int gone : pendingGone) {
    if (gone >= mapRow) break;
    ++below;
  }
  return mapRow - below;
}

void TDataSeq::ForgetRow(int row) {
  const int m = ToMapRow(row);
  pendingGone.insert(std::upper_bound(pendingGone.begin(), pendingGone.end(), m), m);
  if (pendingGone.size() < kMaxPendingGone) return;
  for (auto& [key, e] : nameIndex) e.row = FromMapRow(e.row);
  for (auto& [key, e] : exactNames) e.row = FromMapRow(e.row);
  idIndex.ForEachRow([this](int r) { return FromMapRow(r); });
  pendingGone.clear();
}

void TDataSeq::IndexRow(int rowNumber) {
  const TSeq& s = *seqs[static_cast<std::size_t>(rowNumber)];
  const int row = ToMapRow(rowNumber);
  idIndex.Add(s.seqId, row);
  if (!namesIndexed) return;
  auto add = [row](std::unordered_map<std::string, IndexEntry>& map, std::string key) {
    auto [it, inserted] = map.try_emplace(std::move(key), IndexEntry{row, 0});
    if (!inserted && row < it->second.row) it->second.row = row;
    ++it->second.count;
  };
  add(nameIndex, NameLookupKey(s.seqName));
  add(exactNames, s.seqName);
}

void TDataSeq::UnindexRow(int rowNumber) {
  const TSeq& s = *seqs[static_cast<std::size_t>(rowNumber)];
  const int row = ToMapRow(rowNumber);
  suffixHints.clear();  // the name becomes free again
  // When the row was the first of several with the name, the next one takes over.
  auto remove = [&](std::unordered_map<std::string, IndexEntry>& map, const std::string& key,
                    bool byKey) {
    auto it = map.find(key);
    if (it == map.end()) return;
    if (--it->second.count <= 0) {
      map.erase(it);
      return;
    }
    if (it->second.row != row) return;
    for (int r = rowNumber + 1; r <= Count(); ++r) {
      const std::string& n = seqs[static_cast<std::size_t>(r)]->seqName;
      if (byKey ? NameLookupKey(n) == key : n == key) {
        it->second.row = ToMapRow(r);
        return;
      }
    }
    map.erase(it);  // counts were off: drop rather than point at a wrong row
  };
  idIndex.Remove(s.seqId, row);
  if (!namesIndexed) return;
  remove(nameIndex, NameLookupKey(s.seqName), true);
  remove(exactNames, s.seqName, false);
}

void TDataSeq::RebuildLookups() const {
  pendingGone.clear();
  nameIndex.clear();
  exactNames.clear();
  idIndex.Clear();
  if (namesIndexed) {
    nameIndex.reserve(seqs.size());
    exactNames.reserve(seqs.size());
  }
  idIndex.Reserve(seqs.size());
  for (int r = 1; r <= Count(); ++r) const_cast<TDataSeq*>(this)->IndexRow(r);
}

void TDataSeq::IndexNames() const {
  if (namesIndexed) return;
  namesIndexed = true;
  RebuildLookups();
}

void TDataSeq::RowsChanged() {
  suffixHints.clear();
  RebuildLookups();
  for (const auto& s : seqs) lastSeqId = std::max(lastSeqId, s->seqId);
  InvalidateMutHolders();
}

void TDataSeq::NamesChanged() {
  suffixHints.clear();
  RebuildLookups();
}

int TDataSeq::RowById(int id) const {
  const int mapRow = idIndex.Find(id);
  if (mapRow < 0) return -1;
  const int row = FromMapRow(mapRow);
  if (row <= Count() && seqs[static_cast<std::size_t>(row)]->seqId == id) return row;
  ++staleLookups;
  RebuildLookups();
  return idIndex.Find(id);
}

int TDataSeq::RowByName(std::string_view name) const {
  IndexNames();
  const std::string key = NameLookupKey(name);
  auto it = nameIndex.find(key);
  if (it == nameIndex.end()) return -1;
  const int row = FromMapRow(it->second.row);
  if (row <= Count() && NameLookupKey(seqs[static_cast<std::size_t>(row)]->seqName) == key)
    return row;
  ++staleLookups;
  RebuildLookups();
  it = nameIndex.find(key);
  return it == nameIndex.end() ? -1 : it->second.row;
}

int TDataSeq::IdByName(std::string_view name) const {
  const TSeq* s = SeqAt(RowByName(name));
  return s != nullptr ? s->seqId : -1;
}

std::vector<int> TDataSeq::RowsByName(const std::vector<std::string_view>& names) const {
  std::vector<int> rows;
  rows.reserve(names.size());
  // A few names go through the lookups (made once, then kept current): asked one at a time,
  // names would otherwise cost a pass each.
  if (namesIndexed || names.size() * 8 < static_cast<std::size_t>(Count())) {
    for (const std::string_view n : names) rows.push_back(RowByName(n));
    return rows;
  }
  std::unordered_map<std::string, int> first;  // lookup key -> first row with it, 0 for none
  first.reserve(names.size());
  for (const std::string_view n : names) first.try_emplace(NameLookupKey(n), 0);
  for (int r = 1; r <= Count(); ++r) {
    const auto it = first.find(NameLookupKey(seqs[static_cast<std::size_t>(r)]->seqName));
    if (it != first.end() && it->second == 0) it->second = r;
  }
  for (const std::string_view n : names) {
    const int r = first.find(NameLookupKey(n))->second;
    rows.push_back(r > 0 ? r : -1);
  }
  return rows;
}

bool TDataSeq::HasExactName(std::string_view name) const {
  IndexNames();
  return exactNames.count(std::string(name)) != 0;
}

int TDataSeq::RowOfIndivid(int individId) const {
  for (int r = 1; r <= Count(); ++r)
    if (seqs[static_cast<std::size_t>(r)]->individId == individId) return r;
  return -1;
}

int TDataSeq::CountOfIndivid(int individId) const {
  int n = 0;
  for (int r = 1; r <= Count(); ++r)
    if (seqs[static_cast<std::size_t>(r)]->individId == individId) ++n;
  return n;
}

bool TDataSeq::IsOutgroup(int row) const {
  return project != nullptr && project->IsOutgroup(*this, row);
}

std::string TDataSeq::LongestName() const {
  std::string longest = "Sequences";
  for (int r = 1; r <= Count(); ++r) {
    const std::string& n = seqs[static_cast<std::size_t>(r)]->seqName;
    if (n.size() > longest.size()) longest = n;
  }
  return longest;
}

std::string TDataSeq::NameAt(int row) const {
  const TSeq* s = SeqAt(row);
  return s != nullptr ? s->seqName : std::string();
}

int TDataSeq::LettersLength(int row) const {
  const TSeq* s = SeqAt(row);
  return s != nullptr ? s->Length() : -1;
}

int TDataSeq::QualityAt(int row, int pos) const {
  const TSeq* s = SeqAt(row);
  if (s == nullptr || pos < 1 || pos > static_cast<int>(s->quality.size())) return -1;
  return s->quality[static_cast<std::size_t>(pos - 1)];
}

// ---- lengths ----

int TDataSeq::AlignmentLength(bool withShift) const {
  return GroupLength(0, withShift);
}

int TDataSeq::GroupLength(int groupNum, bool withShift) const {
  int longest = 0;
  for (int r = 1; r <= Count(); ++r) {
    const TSeq& s = *seqs[static_cast<std::size_t>(r)];
    if (groupNum > 0 && s.groupNum != groupNum) continue;
    longest = std::max(longest, s.Length() + (withShift ? s.columnShift : 0));
  }
  return longest;
}

int TDataSeq::PolySiteRange(int& first) const {
  int last = -1;
  first = -1;
  for (int r = 1; r <= Count(); ++r) {
    const auto& p = seqs[static_cast<std::size_t>(r)]->polySitePos;
    if (p.empty()) continue;
    last = std::max(last, p.back());
    first = first < 0 ? p.front() : std::min(first, p.front());
  }
  return last;
}

std::string TDataSeq::ColumnLetters(int column, int groupNum) const {
  if (column < 1 || column > AlignmentLength(true)) return {};
  std::string out;
  out.reserve(static_cast<std::size_t>(Count()));
  for (int r = 1; r <= Count(); ++r) {
    const TSeq& s = *seqs[static_cast<std::size_t>(r)];
    const int pos = column - s.columnShift;
    if (!s.enabled || (groupNum != 0 && s.groupNum != groupNum))
      out.push_back('!');
    else if (pos >= 1 && pos <= s.Length())
      out.push_back(s.letters[static_cast<std::size_t>(pos - 1)]);
    else
      out.push_back('-');
  }
  return out;
}

// ---- selection and enabling ----

void TDataSeq::Select(int row) {
  for (int r : RowsOrAll(row))
    if (seqs[static_cast<std::size_t>(r)]->enabled)
      seqs[static_cast<std::size_t>(r)]->selected = true;
}

void TDataSeq::Unselect(int row) {
  for (int r : RowsOrAll(row))
    if (seqs[static_cast<std::size_t>(r)]->enabled)
      seqs[static_cast<std::size_t>(r)]->selected = false;
}

void TDataSeq::ToggleSelect(int row) {
  TSeq* s = SeqAt(row);
  if (s != nullptr && s->enabled) s->selected = !s->selected;
}

bool TDataSeq::IsSelected(int row) const {
  const TSeq* s = SeqAt(row);
  return s != nullptr && s->selected && s->enabled;
}

int TDataSeq::SelectedCount() const {
  int n = 0;
  for (int r = 1; r <= Count(); ++r) n += IsSelected(r) ? 1 : 0;
  return n;
}

int TDataSeq::BlockCount() const {
  int n = 0;
  for (int r = 1; r <= Count(); ++r) n += seqs[static_cast<std::size_t>(r)]->selLength > 0 ? 1 : 0;
  return n;
}

void TDataSeq::Enable(int row) {
  for (int r : RowsOrAll(row)) seqs[static_cast<std::size_t>(r)]->enabled = true;
}

void TDataSeq::ToggleEnable(int row) {
  TSeq* s = SeqAt(row);
  if (s != nullptr) s->enabled = !s->enabled;
}

int TDataSeq::NonOutgroupCount(bool all) const {
  if (all) return Count();
  int n = 0;
  for (int r = 1; r <= Count(); ++r) n += IsOutgroup(r) ? 0 : 1;
  return n;
}

std::vector<int> TDataSeq::SelectedOrCurrentRows() const {
  std::vector<int> rows;
  for (int r = 1; r <= Count(); ++r)
    if (IsSelected(r)) rows.push_back(r);
  if (rows.empty() && SeqAt(currentRow) != nullptr) rows.push_back(currentRow);
  return rows;
}

std::vector<int> TDataSeq::RowsOrAll(int row) const {
  return row == 0 ? std::vector<int>{} : RowsFor(row);
}

std::vector<int> TDataSeq::RowsFor(int row) const {
  if (row == 0) return SelectedOrCurrentRows();
  std::vector<int> rows;
  if (row == -1) {
    rows.reserve(static_cast<std::size_t>(Count()));
    for (int r = 1; r <= Count(); ++r) rows.push_back(r);
  } else if (SeqAt(row) != nullptr) {
    rows.push_back(row);
  }
  return rows;
}

// ---- cursor ----

void TDataSeq::SetCursor(int pos, int row) {
  const TSeq* s = SeqAt(row);
  if (s == nullptr) return;
  currentRow = row;
  const int len = s->Length();
  pos = std::clamp(pos, 0, len + 1);
  if (len > 0 && pos < 1) pos = 1;
  cursorPos = pos;
  const int column = pos + s->columnShift;
  const int width = lastVisibleCol - firstVisibleCol;
  if (column < firstVisibleCol) {
    firstVisibleCol = column;
    lastVisibleCol = column + width;
  } else if (column > lastVisibleCol) {
    lastVisibleCol = column;
    firstVisibleCol = column - width;
  }
}

// ---- undo ----

void TDataSeq::SaveUndo() {
  std::vector<std::unique_ptr<TSeq>> snapshot;
  snapshot.reserve(seqs.size());
  for (const auto& s : seqs) snapshot.push_back(s->Clone());
  undoSeqs = std::move(snapshot);
  InvalidateMutHolders();
}

bool TDataSeq::Undo() {
  if (undoSeqs.empty()) return false;
  std::vector<std::unique_ptr<TSeq>> restored;
  restored.reserve(undoSeqs.size());
  for (const auto& s : undoSeqs) restored.push_back(s->Clone());
  seqs = std::move(restored);
  currentRow = std::min(currentRow, Count());
  RowsChanged();
  return true;
}

// ---- cached mutation tables ----

int TDataSeq::MutHolderLimit() const {
  return services_->settings.maxMutPerDataset;
}

void TDataSeq::InvalidateMutHolders() {
  mutHolders.clear();
  groupMutHolders.clear();
}
