// SPDX-License-Identifier: GPL-3.0-or-later
// TDataSeq: row order (by name, by position) and read work: joining the reads of one
// individual and linking mate pairs.
#include <algorithm>
#include <cctype>
#include <map>

#include "model/Datasequnit.h"

namespace {
bool SameIgnoringCase(char a, char b) {
  return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
}
}  // namespace

void TDataSeq::SortByName(bool descending) {
  if (Count() < 2) return;
  const TSeq* current = SeqAt(currentRow);
  // Reversed first, so that the stable sort puts the later of two equal names first.
  std::reverse(seqs.begin() + 1, seqs.end());
  std::stable_sort(seqs.begin() + 1, seqs.end(),
                   [](const auto& a, const auto& b) { return a->seqName < b->seqName; });
  if (descending) std::reverse(seqs.begin() + 1, seqs.end());
  for (int r = 1; r <= Count(); ++r)
    if (SeqAt(r) == current) currentRow = r;
  RowsChanged();
}

void TDataSeq::SortByPosition(int column) {
  if (Count() < 2) return;
  const TSeq* current = SeqAt(currentRow);
  auto covers = [column](const std::unique_ptr<TSeq>& s) {
    return column <= 0 || (column > s->columnShift && column <= s->columnShift + s->Length());
  };
  auto mid = std::stable_partition(seqs.begin() + 1, seqs.end(), covers);
  std::stable_sort(seqs.begin() + 1, mid,
                   [](const auto& a, const auto& b) { return a->columnShift < b->columnShift; });
  for (int r = 1; r <= Count(); ++r)
    if (SeqAt(r) == current) currentRow = r;
  RowsChanged();
}

int TDataSeq::MergeOverlappingReads(bool joinDisjoint, bool joinOverlapping, bool markJoin) {
  // Reads of each individual in start order.
  std::map<int, std::vector<int>> byIndivid;
  for (int r = 1; r <= Count(); ++r) {
    const TSeq& s = *SeqAt(r);
    if (s.individId >= 0 && s.enabled && s.Length() > 0) byIndivid[s.individId].push_back(r);
  }
  std::vector<int> appended;
  for (auto& [individ, rows] : byIndivid) {
    std::stable_sort(rows.begin(), rows.end(), [this](int a, int b) {
      return SeqAt(a)->columnShift < SeqAt(b)->columnShift;
    });
    TSeq* base = SeqAt(rows[0]);
    for (std::size_t k = 1; k < rows.size(); ++k) {
      TSeq& read = *SeqAt(rows[k]);
      const int baseEnd = base->columnShift + base->Length();  // last column
      const int readEnd = read.columnShift + read.Length();
      const int firstAppended = base->Length() + 1;
      bool joined = false;
      if (read.columnShift < baseEnd) {
        if (joinOverlapping) {
          bool same = true;
          for (int c = read.columnShift + 1; c <= std::min(baseEnd, readEnd) && same; ++c)
            same =
                SameIgnoringCase(base->letters[static_cast<std::size_t>(c - base->columnShift - 1)],
                                 read.letters[static_cast<std::size_t>(c - read.columnShift - 1)]);
          if (same) {
            if (readEnd > baseEnd) {
              auto tail =
                  read.SubSequence(baseEnd - read.columnShift + 1, readEnd - baseEnd, false);
              tail->columnShift = 0;
              base->InsertSequence(base->Length() + 1, *tail);
            }
            joined = true;
          }
        }
      } else if (joinDisjoint) {
        const int gap = read.columnShift - baseEnd;
        if (gap > 0)
          base->InsertLetters(base->Length() + 1, std::string(static_cast<std::size_t>(gap), 'n'),
                              false);
        auto whole = read.Clone();
        whole->columnShift = 0;
        base->InsertSequence(base->Length() + 1, *whole);
        joined = true;
      }
      if (!joined) {
        base = &read;  // the next reads join this one
        continue;
      }
      base->SyncLength();
      if (markJoin && base->Length() >= firstAppended)
        (void)base->AddSimpleRegion(firstAppended, base->Length(),
                                    "merged from seq " + read.seqName, "", kRegMisc, 0);
      appended.push_back(rows[k]);
    }
  }
  DeleteSeqs(appended);
  InvalidateMutHolders();
  return static_cast<int>(appended.size());
}

int TDataSeq::LinkMates() {
  std::unordered_multimap<std::string, int> rowsByName;
  rowsByName.reserve(static_cast<std::size_t>(Count()));
  for (int r = 1; r <= Count(); ++r) rowsByName.emplace(SeqAt(r)->seqName, r);
  auto waiting = [](const TSeq& s) {
    return (s.mateFirst || s.mateSecond) && s.mateId < 0 && s.mateName != "*";
  };
  int linked = 0;
  for (int r = 1; r <= Count(); ++r) {
    TSeq& read = *SeqAt(r);
    if (!waiting(read)) continue;
    const std::string target = read.mateName == "=" ? read.seqName : read.mateName;
    auto [from, to] = rowsByName.equal_range(target);
    for (auto it = from; it != to; ++it) {
      if (it->second == r) continue;
      TSeq& mate = *SeqAt(it->second);
      if (!waiting(mate)) continue;
      const bool pair = (read.mateFirst && mate.mateSecond) || (read.mateSecond && mate.mateFirst);
      if (!pair) continue;
      read.mateId = mate.seqId;
      mate.mateId = read.seqId;
      ++linked;
      break;
    }
  }
  return linked;
}

void TDataSeq::AppendReads(std::vector<std::unique_ptr<TSeq>>& reads) {
  seqs.reserve(seqs.size() + reads.size());
  for (auto& read : reads) {
    if (!read) continue;
    read->seqId = -1;  // no stale id may catch a mate link while renumbering
    seqs.push_back(std::move(read));
  }
  reads.clear();
  RenumberIds();
  InvalidateMutHolders();
}
