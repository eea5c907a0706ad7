// SPDX-License-Identifier: GPL-3.0-or-later
// TSeq::InsertGapRuns: many gap runs opened in one pass, for alignments that open thousands of
// insertion columns across a long reference.
#include <algorithm>
#include <cstdint>

#include "model/tsequnit.h"

namespace {

// Copies list with value repeated count times before each run's position.
template <typename T>
std::vector<T> WithRuns(const std::vector<T>& list, const std::vector<std::pair<int, int>>& runs,
                        std::size_t added, T value) {
  std::vector<T> out;
  out.reserve(list.size() + added);
  std::size_t from = 0;
  for (const auto& [pos, count] : runs) {
    const std::size_t at = static_cast<std::size_t>(pos - 1);
    out.insert(out.end(), list.begin() + static_cast<std::ptrdiff_t>(from),
               list.begin() + static_cast<std::ptrdiff_t>(at));
    out.insert(out.end(), static_cast<std::size_t>(count), value);
    from = at;
  }
  out.insert(out.end(), list.begin() + static_cast<std::ptrdiff_t>(from), list.end());
  return out;
}

}  // namespace

void TSeq::InsertGapRuns(const std::vector<std::pair<int, int>>& runs) {
  const int len = Length();
  const auto complete = [len](std::size_t size) {
    return size == 0 || size == static_cast<std::size_t>(len);
  };
  bool ordered = true;
  for (std::size_t k = 0; k < runs.size(); ++k)
    ordered = ordered && runs[k].first >= 1 && runs[k].first <= len + 1 && runs[k].second > 0 &&
              (k == 0 || runs[k - 1].first < runs[k].first);
  // Traces interpolate their peaks from the neighbours, and partial per-letter lists follow
  // their own rule: those rare rows take the runs one at a time.
  if (!ordered || HasTrace() || !complete(quality.size()) || !complete(polySitePos.size())) {
    for (auto it = runs.rbegin(); it != runs.rend(); ++it) InsertGaps(it->first, it->second);
    return;
  }
  if (runs.empty()) return;
  std::size_t added = 0;
  for (const auto& run : runs) added += static_cast<std::size_t>(run.second);
  std::string out;
  out.reserve(letters.size() + added);
  std::size_t from = 0;
  for (const auto& [pos, count] : runs) {
    const std::size_t at = static_cast<std::size_t>(pos - 1);
    out.append(letters, from, at - from);
    out.append(static_cast<std::size_t>(count), '-');
    from = at;
  }
  out.append(letters, from, std::string::npos);
  letters = std::move(out);
  if (!quality.empty()) quality = WithRuns(quality.get(), runs, added, std::uint8_t{0});
  if (!polySitePos.empty()) polySitePos = WithRuns(polySitePos, runs, added, std::int32_t{0});
  // A region moves by the gaps opened at or before its start and grows by those inside it.
  const auto gapsUpTo = [&runs](int p) {
    int sum = 0;
    for (auto it = runs.begin(); it != runs.end() && it->first <= p; ++it) sum += it->second;
    return sum;
  };
  for (std::vector<TRegion>* list : {&regions, &siteMarks})
    for (TRegion& r : *list) {
      r.regStart += gapsUpTo(r.regStart);
      r.regEnd += gapsUpTo(r.regEnd);
    }
  SyncLength();
}
