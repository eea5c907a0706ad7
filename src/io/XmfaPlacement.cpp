// SPDX-License-Identifier: GPL-3.0-or-later
// Ordering mode of the XMFA reader: each block goes into the dataset of the reference sequence
// it lies on, its rows shifted to the columns of its genome-1 entry, whose gaps are copied into
// the reference row.
//
// Gaps are copied for every run of the genome-1 entry, a run that ends the block included: the
// other genomes have letters in those columns, and leaving the run out would lay them over the
// next reference columns (and, when concatenating, drop the next block of that genome as
// overlapping). Rows are joined by genome number, never into the reference row or into a row
// of another genome; a row without a genome number stays a row of its own.
#include "io/XmfaPlacement.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "model/DataProjUnit.h"
#include "model/Datasequnit.h"
#include "model/tsequnit.h"

namespace {

// count gaps go before letter pos of the reference row as it was before any insertion.
struct GapRun {
  int pos = 0;
  int count = 0;
};

struct ReferenceState {
  std::vector<GapRun> runs;
  std::unordered_map<int, int> rowOfGenome;  // concatenation: genome number -> row
};

// All runs in one pass: inserting them one by one would move the rest of a genome-long row
// once per run.
void InsertGapRuns(TSeq& seq, std::vector<GapRun>& runs) {
  if (runs.empty()) return;
  const int len = seq.Length();
  for (GapRun& r : runs) r.pos = std::clamp(r.pos, 1, len + 1);
  std::stable_sort(runs.begin(), runs.end(),
                   [](const GapRun& a, const GapRun& b) { return a.pos < b.pos; });
  const auto size = static_cast<std::size_t>(len);
  const bool perLetterLists = seq.peakPos.empty() &&
                              (seq.quality.empty() || seq.quality.size() == size) &&
                              (seq.polySitePos.empty() || seq.polySitePos.size() == size);
  if (!perLetterLists) {  // traces or partial lists: the row's own edit keeps them right
    for (auto it = runs.rbegin(); it != runs.rend(); ++it) seq.InsertGaps(it->pos, it->count);
    return;
  }
  std::vector<int> before(runs.size() + 1, 0);  // gaps inserted before runs[i]
  for (std::size_t i = 0; i < runs.size(); ++i) before[i + 1] = before[i] + runs[i].count;
  const auto total = static_cast<std::size_t>(before.back());

  std::string letters;
  letters.reserve(size + total);
  std::vector<std::uint8_t> quality;
  std::vector<std::int32_t> poly;
  quality.reserve(seq.quality.empty() ? 0 : size + total);
  poly.reserve(seq.polySitePos.empty() ? 0 : size + total);
  std::size_t from = 0;
  auto copyUpTo = [&](std::size_t to) {
    letters.append(seq.letters, from, to - from);
    if (!seq.quality.empty())
      quality.insert(quality.end(), seq.quality.begin() + static_cast<std::ptrdiff_t>(from),
                     seq.quality.begin() + static_cast<std::ptrdiff_t>(to));
    if (!seq.polySitePos.empty())
      poly.insert(poly.end(), seq.polySitePos.begin() + static_cast<std::ptrdiff_t>(from),
                  seq.polySitePos.begin() + static_cast<std::ptrdiff_t>(to));
    from = to;
  };
  for (const GapRun& r : runs) {
    copyUpTo(static_cast<std::size_t>(r.pos - 1));
    const auto n = static_cast<std::size_t>(r.count);
    letters.append(n, '-');
    if (!seq.quality.empty()) quality.insert(quality.end(), n, 0);
    if (!seq.polySitePos.empty()) poly.insert(poly.end(), n, 0);
  }
  copyUpTo(size);
  // As a gap insertion before pos does: a region starting at or after pos moves, one that
  // only ends there grows.
  auto shiftAt = [&](int p) {
    const auto it = std::upper_bound(runs.begin(), runs.end(), p,
                                     [](int v, const GapRun& r) { return v < r.pos; });
    return before[static_cast<std::size_t>(it - runs.begin())];
  };
  for (std::vector<TRegion>* list : {&seq.regions, &seq.siteMarks})
    for (TRegion& r : *list) {
      r.regStart += shiftAt(r.regStart);
      r.regEnd += shiftAt(r.regEnd);
    }
  seq.letters = std::move(letters);
  if (!seq.quality.empty()) seq.quality = std::move(quality);
  if (!seq.polySitePos.empty()) seq.polySitePos = std::move(poly);
  seq.SyncLength();
}

void PlaceCopy(TDataSeq& ref, ReferenceState& state, std::unique_ptr<TSeq> copy, bool concatenate) {
  const int genome = copy->genomeNumber;
  if (concatenate && genome > 0) {
    if (const auto it = state.rowOfGenome.find(genome); it != state.rowOfGenome.end()) {
      TSeq& row = *ref.SeqAt(it->second);
      const int endColumn = row.Length() + row.columnShift;
      // The copy's letters begin in column columnShift + 1: a row reaching that far overlaps.
      if (endColumn > copy->columnShift) return;
      row.InsertGaps(row.Length() + 1, copy->columnShift - endColumn);
      row.InsertSequence(row.Length() + 1, *copy);
      return;
    }
  }
  const int row = ref.AddSeq(copy, true);
  if (row > 0 && concatenate && genome > 0) state.rowOfGenome.emplace(genome, row);
}

}  // namespace

void PlaceBlocksAlongReference(std::vector<XmfaBlock>& blocks, TDataProj& reference,
                               bool concatenate, Services& services) {
  const int refCount = reference.DatasetCount();
  std::vector<long long> ends(static_cast<std::size_t>(refCount));  // P(m): running letter sum
  long long total = 0;
  for (int m = 0; m < refCount; ++m) {
    const TDataSeq& ds = *reference.DatasetAt(m);
    total += ds.Count() > 0 ? ds.SeqAt(1)->Length() : 0;
    ends[static_cast<std::size_t>(m)] = total;
  }
  std::vector<XmfaBlock*> order;
  for (XmfaBlock& b : blocks)
    if (b.ds && b.refRow > 0 && b.ds->blockRefEnd > 0) order.push_back(&b);
  std::stable_sort(order.begin(), order.end(), [](const XmfaBlock* a, const XmfaBlock* b) {
    return a->ds->blockRefEnd < b->ds->blockRefEnd;
  });

  std::vector<ReferenceState> state(static_cast<std::size_t>(refCount));
  for (XmfaBlock* b : order) {
    const int start = b->ds->blockRefStart;
    if (start < 1 || start > total) continue;
    const auto m =
        static_cast<std::size_t>(std::lower_bound(ends.begin(), ends.end(), start) - ends.begin());
    TDataSeq& ref = *reference.DatasetAt(static_cast<int>(m));
    if (ref.Count() == 0) continue;
    services.progress.ShowStatus("Processing dataset " + ref.dsName, false, false);
    const int local = static_cast<int>(start - (m > 0 ? ends[m - 1] : 0) - 1);
    const int placedGaps = ref.blockGaps;

    for (int r = 1; r <= b->ds->Count(); ++r) {
      if (r == b->refRow) continue;
      std::unique_ptr<TSeq> copy = b->ds->CloneAt(r);
      if (!b->refPlus) copy->ReverseComplement();
      copy->columnShift += local + placedGaps;
      PlaceCopy(ref, state[m], std::move(copy), concatenate);
    }

    // The block is dropped afterwards: its genome-1 entry need not be turned back.
    TSeq& first = *b->ds->SeqAt(b->refRow);
    if (!b->refPlus) first.ReverseComplement();
    const std::string& letters = first.letters;
    int inBlock = 0;
    for (std::size_t i = 0; i < letters.size();) {
      if (letters[i] != '-') {
        ++i;
        continue;
      }
      std::size_t j = i;
      while (j < letters.size() && letters[j] == '-') ++j;
      const int n = static_cast<int>(j - i);
      // Column i + 1 of the entry is column local + placedGaps + i + 1 of the reference: in the
      // row's own letters, before the letter that follows the gaps of this block so far.
      state[m].runs.push_back({static_cast<int>(i) + 1 + first.columnShift + local - inBlock, n});
      inBlock += n;
      i = j;
    }
    ref.blockGaps += inBlock;
  }
  for (int m = 0; m < refCount; ++m) {
    TDataSeq& ref = *reference.DatasetAt(m);
    if (ref.Count() > 0) InsertGapRuns(*ref.SeqAt(1), state[static_cast<std::size_t>(m)].runs);
    ref.LettersChanged();
  }
  blocks.clear();
}
