// SPDX-License-Identifier: GPL-3.0-or-later
// Consensus of a dataset: the weighted consensus letter of a column, the plain consensus
// sequence and the one stitched from the best-quality rows.
#include <algorithm>
#include <array>
#include <climits>

#include "common/NumberFormat.h"
#include "model/Datasequnit.h"

namespace {
// Weights in sixths, so that halves and thirds add up exactly. Order A, T, G, C.
constexpr int kWhole = 6;

void AddWeights(char letter, std::array<int, 4>& w) {
  enum { A, T, G, C };
  auto share = [&](std::initializer_list<int> bases) {
    const int part = kWhole / static_cast<int>(bases.size());
    for (int b : bases) w[static_cast<std::size_t>(b)] += part;
  };
  switch (letter) {
    case 'A':
    case 'a':
      share({A});
      break;
    case 'T':
    case 't':
    case 'U':
    case 'u':
      share({T});
      break;
    case 'G':
    case 'g':
      share({G});
      break;
    case 'C':
    case 'c':
      share({C});
      break;
    case 'K':
    case 'k':
      share({G, T});
      break;
    case 'M':
    case 'm':
      share({A, C});
      break;
    case 'R':
    case 'r':
      share({A, G});
      break;
    case 'S':
    case 's':
      share({C, G});
      break;
    case 'W':
    case 'w':
      share({A, T});
      break;
    case 'Y':
    case 'y':
      share({C, T});
      break;
    case 'B':
    case 'b':
      share({C, G, T});
      break;
    case 'D':
    case 'd':
      share({A, G, T});
      break;
    case 'H':
    case 'h':
      share({A, C, T});
      break;
    case 'V':
    case 'v':
      share({A, C, G});
      break;
    default:
      break;
  }
}

// IUPAC letter of a set of bases given as bits A=1, T=2, G=4, C=8.
char IupacOf(int bits) {
  static constexpr char kLetters[16] = {'-', 'A', 'T', 'W', 'G', 'R', 'K', 'D',
                                        'C', 'M', 'Y', 'H', 'S', 'V', 'B', 'N'};
  return kLetters[bits & 15];
}

// What the consensus letter of a column needs, gathered one letter at a time, so that a
// consensus is one pass over the rows' letters rather than one pass over the rows per column.
struct ColumnTally {
  int count = 0;
  char first = 0;
  bool allGaps = true;
  std::array<int, 4> w{};
  void Add(char c) {
    if (count++ == 0) first = c;
    allGaps = allGaps && c == '-';
    AddWeights(c, w);
  }
  [[nodiscard]] std::pair<char, double> Letter() const {
    const int total = w[0] + w[1] + w[2] + w[3];
    if (total == 0) {
      // No base at all: a column of gaps stays a gap, anything else is unknown.
      return {allGaps ? '-' : 'N', 0.0};
    }
    const int top = *std::max_element(w.begin(), w.end());
    int bits = 0;
    for (int b = 0; b < 4; ++b)
      if (w[static_cast<std::size_t>(b)] == top) bits |= 1 << b;
    return {IupacOf(bits), 100.0 * top / total};
  }
};
}  // namespace

std::pair<char, double> ConsensusLetter(std::string_view letters, int minCount) {
  if (static_cast<int>(letters.size()) < minCount || letters.empty()) return {'-', 0.0};
  ColumnTally tally;
  for (char c : letters) tally.Add(c);
  return tally.Letter();
}

std::unique_ptr<TSeq> TDataSeq::Consensus(bool byQuality, bool selectedOnly) const {
  std::vector<const TSeq*> used;
  for (int r = 1; r <= Count(); ++r)
    if (!selectedOnly || IsSelected(r)) used.push_back(SeqAt(r));
  auto out = std::make_unique<TSeq>();
  out->seqName = "Consensus";
  if (used.empty()) return out;
  int start = INT_MAX, end = 0;
  for (const TSeq* s : used) {
    start = std::min(start, s->columnShift);
    end = std::max(end, s->columnShift + s->Length());
  }
  out->columnShift = start;

  // Plain consensus letter and quality of every column start+1..end.
  const int width = std::max(0, end - start);
  std::string plain(static_cast<std::size_t>(width), 'n');
  std::vector<std::uint8_t> plainQuality(static_cast<std::size_t>(width), 0);
  std::vector<ColumnTally> tallies(static_cast<std::size_t>(width));
  for (const TSeq* s : used)
    for (int p = 1; p <= s->Length(); ++p)
      tallies[static_cast<std::size_t>(p + s->columnShift - start - 1)].Add(
          s->letters[static_cast<std::size_t>(p - 1)]);
  for (std::size_t i = 0; i < tallies.size(); ++i) {
    const ColumnTally& t = tallies[i];
    if (t.count == 1) {
      plain[i] = t.first;
      plainQuality[i] = 1;
    } else if (t.count >= 2) {
      const auto [letter, percent] = t.Letter();
      plain[i] = letter;
      plainQuality[i] = static_cast<std::uint8_t>(RoundHalfEvenInt(percent));
    }
  }
  if (!byQuality) {
    out->letters = std::move(plain);
    out->quality = std::move(plainQuality);
    out->SyncLength();
    return out;
  }

  // Stitched: each run of columns whose best-quality row stays the same is copied from that
  // row; columns without any quality take the plain consensus. The last run is closed at the
  // end of the alignment too.
  auto bestAt = [&](int c) -> int {
    int best = -1, bestQ = -1;
    for (std::size_t k = 0; k < used.size(); ++k) {
      const TSeq& s = *used[k];
      const int pos = c - s.columnShift;
      if (pos < 1 || pos > s.Length() || static_cast<int>(s.quality.size()) < pos) continue;
      const int q = s.quality[static_cast<std::size_t>(pos - 1)];
      if (q > bestQ) bestQ = q, best = static_cast<int>(k);
    }
    return best;
  };
  auto appendRun = [&](int owner, int from, int to) {
    if (owner < 0) {
      const auto i = static_cast<std::size_t>(from - start - 1);
      const auto n = static_cast<std::size_t>(to - from + 1);
      out->letters.append(plain, i, n);
      out->quality.Mut().insert(out->quality.end(),
                                plainQuality.begin() + static_cast<std::ptrdiff_t>(i),
                                plainQuality.begin() + static_cast<std::ptrdiff_t>(i + n));
      out->SyncLength();
      return;
    }
    const TSeq& s = *used[static_cast<std::size_t>(owner)];
    auto piece = s.SubSequence(from - s.columnShift, to - from + 1, true);
    piece->columnShift = 0;
    // Qualities are kept here: the insertion leaves them alone while the result has none.
    std::vector<std::uint8_t> quality = out->quality.Take();
    std::vector<std::uint8_t> pieceQuality = piece->quality;
    pieceQuality.resize(static_cast<std::size_t>(piece->Length()), 0);
    out->quality.clear();
    out->InsertSequence(out->Length() + 1, *piece);
    quality.insert(quality.end(), pieceQuality.begin(), pieceQuality.end());
    out->quality = std::move(quality);
    out->SyncLength();
  };
  int runOwner = bestAt(start + 1), runFrom = start + 1;
  for (int c = start + 2; c <= end; ++c) {
    const int owner = bestAt(c);
    if (owner == runOwner) continue;
    appendRun(runOwner, runFrom, c - 1);
    runOwner = owner;
    runFrom = c;
  }
  if (end >= start + 1) appendRun(runOwner, runFrom, end);
  return out;
}
