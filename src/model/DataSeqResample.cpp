// SPDX-License-Identifier: GPL-3.0-or-later
// TDataSeq: bootstrap and sub-sample copies of a dataset, and the codon position of a column.
#include <algorithm>

#include "common/PlatformRandom.h"
#include "model/DataProjUnit.h"
#include "model/Datasequnit.h"

namespace {
// Drawn triples that keep reaching past the end are given up after this many tries in a row,
// so alignments too short for a whole codon still finish.
constexpr int kMaxRedraws = 64;
}  // namespace

int TDataSeq::ColumnCodonPos(int column, const std::vector<bool>& rowMask) const {
  int agreed = -2;
  for (int r = 1; r <= Count(); ++r) {
    if (!rowMask.empty() && (static_cast<std::size_t>(r - 1) >= rowMask.size() ||
                             !rowMask[static_cast<std::size_t>(r - 1)]))
      continue;
    const TSeq& s = *SeqAt(r);
    const int pos = column - s.columnShift;
    if (!s.enabled || pos < 1 || pos > s.Length()) continue;
    const int p = s.CodonPosAt(pos);
    if (p < 0) return -1;
    if (agreed == -2)
      agreed = p;
    else if (agreed != p)
      return -1;
  }
  return agreed;
}

std::unique_ptr<TDataSeq> TDataSeq::Bootstrap(bool byCodon, PlatformRandom& rng) const {
  auto out = std::make_unique<TDataSeq>(*services_);
  out->dsName = dsName + "_bstrapped";
  out->dsComment = dsComment;
  out->code = code;
  const int length = AlignmentLength(true);
  const int rows = Count();

  // The letter of every row at every column, disabled rows included: a resampled row keeps
  // its own letters, never a display mark.
  std::vector<std::string> result(static_cast<std::size_t>(rows));
  for (auto& text : result) text.reserve(static_cast<std::size_t>(length));
  auto appendColumn = [&](int column) {
    for (int r = 1; r <= rows; ++r) {
      const TSeq& s = *SeqAt(r);
      const int pos = column - s.columnShift;
      result[static_cast<std::size_t>(r - 1)].push_back(
          pos >= 1 && pos <= s.Length() ? s.letters[static_cast<std::size_t>(pos - 1)] : '-');
    }
  };

  std::vector<char> fromTriple;  // per output column
  fromTriple.reserve(static_cast<std::size_t>(length));
  bool anyTriple = false;
  int drawn = 0, redraws = 0;
  while (drawn < length) {
    const int c = rng.NextInt(length) + 1;
    int first = c;
    // A triple needs three of the remaining draws, so each copy keeps the original length.
    if (byCodon && length - drawn >= 3) {
      const int p = ColumnCodonPos(c, {});
      if (p >= 1 && p <= 3) {
        first = c - (p - 1);
        if (first < 1) {
          first = c;
        } else if (first + 2 > length) {
          if (++redraws < kMaxRedraws) continue;
          first = c;
        } else {
          for (int k = 0; k < 3; ++k) {
            appendColumn(first + k);
            fromTriple.push_back(1);
          }
          drawn += 3;
          anyTriple = true;
          redraws = 0;
          continue;
        }
      }
    }
    appendColumn(first);
    fromTriple.push_back(0);
    ++drawn;
    redraws = 0;
  }

  std::vector<TRegion> cdsRuns;
  if (anyTriple) {
    for (int c = 1; c <= static_cast<int>(fromTriple.size()); ++c) {
      if (fromTriple[static_cast<std::size_t>(c - 1)] == 0) continue;
      int e = c;
      while (e < static_cast<int>(fromTriple.size()) &&
             fromTriple[static_cast<std::size_t>(e)] != 0)
        ++e;
      TRegion reg;
      reg.regStart = c;
      reg.regEnd = e;
      reg.regType = kRegCds;
      reg.codonPos = 1;
      reg.regId = static_cast<std::int32_t>(cdsRuns.size()) + 1;
      cdsRuns.push_back(reg);
      c = e;
    }
  }

  for (int r = 1; r <= rows; ++r) {
    auto copy = SeqAt(r)->Clone();
    copy->letters = std::move(result[static_cast<std::size_t>(r - 1)]);
    copy->regions = cdsRuns;
    copy->columnShift = 0;
    copy->quality.clear();
    copy->peakPos.clear();
    copy->polySitePos.clear();
    copy->traceA.clear();
    copy->traceC.clear();
    copy->traceG.clear();
    copy->traceT.clear();
    copy->hasTrace = false;
    copy->showTrace = false;
    copy->siteMarks.clear();
    copy->selStart = 0;
    copy->selLength = 0;
    copy->SyncLength();
    (void)out->AddSeq(copy, true);
  }
  return out;
}

std::unique_ptr<TDataSeq> TDataSeq::Subsample(PlatformRandom& rng) const {
  auto out = std::make_unique<TDataSeq>(*services_);
  out->dsName = dsName + "_subsmp";
  out->dsComment = dsComment;
  out->code = code;
  if (project == nullptr) return out;
  for (int key : project->TopLevelGroupKeys()) {
    std::vector<int> members;
    for (int r = 1; r <= Count(); ++r)
      if (project->IsInGroup(*this, SeqAt(r)->seqId, true, key)) members.push_back(r);
    if (members.empty()) continue;
    auto copy =
        SeqAt(members[static_cast<std::size_t>(rng.NextInt(static_cast<int>(members.size())))])
            ->Clone();
    copy->groupNum = key;
    (void)out->AddSeq(copy, true);
  }
  return out;
}
