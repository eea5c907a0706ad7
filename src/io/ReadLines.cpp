// SPDX-License-Identifier: GPL-3.0-or-later
// Shared pieces of the mapping-file readers.
#include "io/ReadLines.h"

#include <algorithm>

#include "model/DataProjUnit.h"

LineProgress::LineProgress(IProgress& progress, std::string_view text,
                           const std::string& startStatus, std::string lineStatus)
    : scope_(progress, BarSize(text), startStatus),
      bar_(progress),
      lineStatus_(std::move(lineStatus)) {}

int LineProgress::BarSize(std::string_view text) {
  std::size_t first = 0;
  std::size_t start = 0;
  while (start < text.size() && first == 0) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::size_t len = end - start;
    if (len > 0 && text[end - 1] == '\r') --len;
    first = len;
    start = end + 1;
  }
  const std::size_t size = text.size() / (std::max<std::size_t>(first, 1) * 1000);
  return static_cast<int>(std::clamp<std::size_t>(size, 1, 1'000'000'000));
}

void PlaceByPosition(TSeq& read, long long v) {
  if (v >= 1) {
    read.columnShift = static_cast<std::int32_t>(std::min<long long>(v - 1, 2'000'000'000));
    return;
  }
  const long long lost = std::min<long long>(1 - v, read.Length());
  const int k = static_cast<int>(lost);
  read.letters.erase(0, static_cast<std::size_t>(k));
  read.SyncLength();
  read.columnShift = 0;
  if (read.poorQualityLeft >= 0) read.poorQualityLeft = std::max(0, read.poorQualityLeft - k);
  if (read.poorQualityRight >= 0) read.poorQualityRight = std::max(0, read.poorQualityRight - k);
  // An insertion now before the first column has lost its letters with the clip.
  if (auto* held = read.insertions.Held())
    std::erase_if(*held, [k](const auto& e) { return e.first < k; });
  for (auto& e : read.insertions) e.first -= k;
}

ReadTargets::ReadTargets(TDataProj& proj, bool referencesOnly, bool emptyNameMakesDataset)
    : proj_(proj), referencesOnly_(referencesOnly), emptyNameMakesDataset_(emptyNameMakesDataset) {}

ReadTargets::Target* ReadTargets::For(std::string_view referenceName) {
  // Mapping files are sorted by reference, so the name of the last line nearly always repeats.
  if (last_ != nullptr && referenceName == lastName_) return last_;
  Target* target = nullptr;
  if (auto it = byName_.find(std::string(referenceName)); it != byName_.end()) {
    target = it->second;
  } else {
    TDataSeq* ds = proj_.DatasetByName(referenceName);
    if (ds == nullptr && !referencesOnly_ && (!referenceName.empty() || emptyNameMakesDataset_)) {
      auto made = proj_.MakeDataset();
      made->dsName = std::string(referenceName);
      const int index = proj_.AddDataset(made, false);
      ds = proj_.DatasetAt(index);
    }
    if (ds != nullptr) {
      auto [entry, isNew] = byDataset_.try_emplace(ds);
      target = &entry->second;
      if (isNew) {
        target->ds = ds;
        order_.push_back(target);
      }
    }
    byName_.emplace(referenceName, target);
  }
  if (target != nullptr) {
    lastName_ = referenceName;
    last_ = target;
  }
  return target;
}

int ReadTargets::Finish(bool linkMates) {
  int appended = 0;
  for (Target* t : order_) {
    appended += static_cast<int>(t->reads.size());
    t->ds->AppendReads(t->reads);
    if (linkMates) (void)t->ds->LinkMates();
  }
  return appended;
}
