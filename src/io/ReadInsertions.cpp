// SPDX-License-Identifier: GPL-3.0-or-later
// ExpandInsertions: the gap columns that let the letters reads insert stand between the
// reference's columns.
//
// Columns are reference columns as the readers placed the reads, before any gap is opened.
// Every column where some read inserts is opened as wide as the widest insertion there; rows
// that span the column get that many gaps, and reads with a shorter insertion of their own
// there get the difference after their inserted letters. A row's own inserted letters move its
// later letters along, so its gap points are counted in its own letters, not in columns. Each
// row is rebuilt once, however many columns open inside it.
#include <algorithm>
#include <map>

#include "io/ReadFormats.h"
#include "model/Datasequnit.h"

namespace {

struct OwnInsertion {
  long long column;  // reference column after which the letters stand
  long long length;
};

// The row's own insertions by column, lengths at one column summed.
std::vector<OwnInsertion> OwnInsertions(const TSeq& s) {
  std::vector<OwnInsertion> own;
  for (const auto& [c, n] : s.insertions)
    if (n > 0) own.push_back({static_cast<long long>(c) + s.columnShift, n});
  std::sort(own.begin(), own.end(),
            [](const OwnInsertion& a, const OwnInsertion& b) { return a.column < b.column; });
  std::vector<OwnInsertion> merged;
  for (const OwnInsertion& e : own) {
    if (!merged.empty() && merged.back().column == e.column)
      merged.back().length += e.length;
    else
      merged.push_back(e);
  }
  return merged;
}

}  // namespace

void ExpandInsertions(TDataSeq& ds) {
  // Widest insertion per column.
  std::map<long long, long long> width;
  bool any = false;
  for (int r = 1; r <= ds.Count(); ++r) {
    for (const OwnInsertion& e : OwnInsertions(*ds.SeqAt(r))) {
      long long& w = width[e.column];
      w = std::max(w, e.length);
      any = true;
    }
  }
  if (!any) return;
  std::vector<long long> columns, widths, opened;  // opened[k]: gap columns at columns[0..k]
  long long total = 0;
  for (const auto& [column, w] : width) {
    columns.push_back(column);
    widths.push_back(w);
    total += w;
    opened.push_back(total);
  }
  const auto openedBefore = [&](std::size_t index) { return index == 0 ? 0LL : opened[index - 1]; };

  std::vector<std::pair<int, int>> runs;
  for (int r = 1; r <= ds.Count(); ++r) {
    TSeq& s = *ds.SeqAt(r);
    const std::vector<OwnInsertion> own = OwnInsertions(s);
    long long ownTotal = 0;
    for (const OwnInsertion& e : own) ownTotal += e.length;
    const long long shift = s.columnShift;
    const long long end = shift + s.Length() - ownTotal;  // last reference column of the row
    // Columns opened at or before the row's start move it, except one it opens itself by
    // beginning with inserted letters: those fill that column's first places.
    const bool opensAtStart = !own.empty() && own.front().column == shift;
    auto first = opensAtStart ? std::lower_bound(columns.begin(), columns.end(), shift)
                              : std::upper_bound(columns.begin(), columns.end(), shift);
    const auto firstIndex = static_cast<std::size_t>(first - columns.begin());
    const long long newShift = shift + openedBefore(firstIndex);
    runs.clear();
    std::size_t k = 0;  // own insertions before the current column
    long long ownBefore = 0;
    for (std::size_t i = firstIndex; i < columns.size() && columns[i] < end; ++i) {
      const long long x = columns[i];
      while (k < own.size() && own[k].column < x) ownBefore += own[k++].length;
      const long long ownHere = k < own.size() && own[k].column == x ? own[k].length : 0;
      const long long gaps = widths[i] - ownHere;
      if (gaps > 0)
        runs.emplace_back(static_cast<int>(x - shift + ownBefore + ownHere + 1),
                          static_cast<int>(gaps));
    }
    s.InsertGapRuns(runs);
    s.columnShift = static_cast<std::int32_t>(newShift);
    s.insertions.clear();  // opened: another run must not open them again
  }
  ds.LettersChanged();
}
