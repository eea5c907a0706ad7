// SPDX-License-Identifier: GPL-3.0-or-later
// TSeq coding helpers: stop codons of a CDS, whole-sequence and upper-case CDS regions, splitting
// a CDS at frame-breaking gap runs and joining CDS parts split by runs of N.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "model/GenCodUnit.h"
#include "model/tsequnit.h"

namespace {

constexpr const char* kSplitComment = "Added by splitCDSbyIndel function";
constexpr const char* kUpperCaseComment = "Added by CDSupperCase function";

// The text between the first "[" and the next "]", empty when there is none.
std::string BracketTag(const std::string& comment) {
  const auto open = comment.find('[');
  if (open == std::string::npos) return {};
  const auto close = comment.find(']', open + 1);
  if (close == std::string::npos) return {};
  return comment.substr(open + 1, close - open - 1);
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

bool IsN(char c) {
  return c == 'N' || c == 'n';
}

}  // namespace

int TSeq::CountStops(int regionIndex, const TGenCode& code, bool relativeToShift,
                     std::string& positions, bool extendByCodon) const {
  if (regionIndex < 0 || regionIndex >= static_cast<int>(regions.size())) return -1;
  const TRegion& r = regions[static_cast<std::size_t>(regionIndex)];
  if (r.regType != kRegCds) return -1;
  const int len = Length();
  int start = std::min(r.regStart, r.regEnd);
  int end = std::max(r.regStart, r.regEnd);
  if (start < 1 || end > len) return 0;
  if (extendByCodon) end = std::min(end + 3, len);
  int offset = 0;
  if (!r.regReverse) {
    offset = r.codonPos == 2 ? 2 : r.codonPos == 3 ? 1 : 0;
  } else {
    // The frame at the region's own first letter, whichever region lies on top of it.
    const int atStart = CodonPosBefore(r.codonPos, r.regEnd - start);
    offset = atStart == 1 ? 1 : atStart == 2 ? 2 : 0;
  }
  int stops = 0;
  for (int p = start + offset; p + 2 <= end; p += 3) {
    std::string codon = letters.substr(static_cast<std::size_t>(p - 1), 3);
    if (r.regReverse) {
      std::reverse(codon.begin(), codon.end());
      for (char& c : codon) c = ComplementLetter(c);
    }
    if (code.TranslateCodon(codon, false) == "*") {
      ++stops;
      positions += std::to_string(p + (relativeToShift ? columnShift : 0)) + ',';
    }
  }
  return stops;
}

void TSeq::AddWholeCds(bool splitAtGaps) {
  const auto first = letters.find_first_not_of('-');
  if (first == std::string::npos) return;
  const auto last = letters.find_last_not_of('-');
  const int id = AddSimpleRegion(static_cast<int>(first) + 1, static_cast<int>(last) + 1,
                                 kSplitComment, "CDS", kRegCds, 1);
  if (splitAtGaps && id >= 0) SplitCdsAtGaps(RegionIndexById(id), '-');
}

int TSeq::SplitCdsAtGaps(int regionIndex, char gapLetter) {
  if (regionIndex < 0 || regionIndex >= static_cast<int>(regions.size())) return -1;
  const TRegion src = regions[static_cast<std::size_t>(regionIndex)];
  if (src.regType != kRegCds) return -1;
  const int s = std::max(1, std::min(src.regStart, src.regEnd));
  const int e = std::min(Length(), std::max(src.regStart, src.regEnd));
  auto at = [&](int p) { return letters[static_cast<std::size_t>(p - 1)]; };

  std::vector<std::pair<int, int>> pieces;
  int pieceStart = s;
  for (int p = s; p <= e;) {
    if (at(p) != gapLetter) {
      ++p;
      continue;
    }
    int q = p;
    while (q < e && at(q + 1) == gapLetter) ++q;
    // A run of whole codons keeps the frame; any other run breaks it.
    if ((q - p + 1) % 3 != 0) {
      if (pieceStart <= p - 1) pieces.emplace_back(pieceStart, p - 1);
      pieceStart = q + 1;
    }
    p = q + 1;
  }
  // A CDS ending in a gap run keeps its last piece, closed at its last letter.
  int lastLetter = e;
  while (lastLetter >= pieceStart && at(lastLetter) == gapLetter) --lastLetter;
  if (pieceStart <= lastLetter) pieces.emplace_back(pieceStart, lastLetter);
  if (pieces.empty()) return 0;
  if (pieces.size() == 1 && pieces[0].first == src.regStart && pieces[0].second == src.regEnd)
    return 1;  // nothing to split: the region stays as it was

  const std::size_t n = pieces.size();
  std::vector<int> codon(n);
  if (!src.regReverse) {
    codon[0] = src.codonPos;
    for (std::size_t k = 1; k < n; ++k)
      codon[k] = CodonPosAfter(codon[k - 1], pieces[k - 1].second - pieces[k - 1].first + 1);
  } else {
    // A reverse CDS reads from its end: the frame runs from the last piece to the first.
    codon[n - 1] = src.codonPos;
    for (std::size_t k = n - 1; k-- > 0;)
      codon[k] = CodonPosAfter(codon[k + 1], pieces[k + 1].second - pieces[k + 1].first + 1);
  }
  const std::size_t base = regions.size();
  for (std::size_t k = 0; k < n; ++k) {
    TRegion piece;
    piece.regStart = pieces[k].first;
    piece.regEnd = pieces[k].second;
    piece.regType = kRegCds;
    piece.regReverse = src.regReverse;
    piece.regName = "CDS";
    piece.regComment = kSplitComment;
    piece.codonPos = codon[k];
    AddRegion(piece);
  }
  // Chain in reading order.
  for (std::size_t k = 0; k < n; ++k) {
    TRegion& piece = regions[base + k];
    const std::size_t readIdx = src.regReverse ? n - 1 - k : k;
    auto idAtRead = [&](std::size_t j) {
      return regions[base + (src.regReverse ? n - 1 - j : j)].regId;
    };
    piece.prevId = readIdx > 0 ? idAtRead(readIdx - 1) : -1;
    piece.nextId = readIdx + 1 < n ? idAtRead(readIdx + 1) : -1;
  }
  DeleteRegion(regionIndex);
  return static_cast<int>(n);
}

void TSeq::AddCdsFromUpperCase(bool splitAtGaps) {
  const TGenCode universal("Universal");
  const int len = Length();
  std::vector<std::pair<int, int>> runs;
  for (int p = 0; p < len;) {
    if (std::strchr("ACGT", letters[static_cast<std::size_t>(p)]) == nullptr ||
        letters[static_cast<std::size_t>(p)] == '\0') {
      ++p;
      continue;
    }
    int q = p + 1;
    while (q < len && letters[static_cast<std::size_t>(q)] != '\0' &&
           std::strchr("-ACGNT", letters[static_cast<std::size_t>(q)]) != nullptr)
      ++q;
    // A run reaching the last letter is closed like any other.
    if (q - p >= 2) runs.emplace_back(p + 1, q);
    p = q;
  }
  for (const auto& [start, end] : runs) {
    const int id = AddSimpleRegion(start, end, kUpperCaseComment, "CDS", kRegCds, 1);
    const int idx = RegionIndexById(id);
    if (idx < 0) continue;
    TRegion& r = regions[static_cast<std::size_t>(idx)];
    const bool strand = r.regReverse;
    bool found = false;
    for (int attempt = 0; attempt < 2 && !found; ++attempt) {
      int cp = 1;
      for (int t = 0; t < 3; ++t) {
        r.codonPos = cp;
        std::string ignored;
        if (CountStops(idx, universal, false, ignored) == 0) {
          found = true;
          break;
        }
        cp = CodonPosAfter(cp, 1);
      }
      if (!found) r.regReverse = !r.regReverse;
    }
    if (!found) {
      r.regReverse = strand;
      r.codonPos = 0;
    }
    if (splitAtGaps) SplitCdsAtGaps(idx, '-');
  }
}

int TSeq::MergeCdsSplitByN() {
  if (!enabled) return 0;
  int joins = 0;
  for (const bool reverse : {false, true}) {
    for (bool joined = true; joined;) {
      joined = false;
      std::vector<int> order;
      for (int i = 0; i < static_cast<int>(regions.size()); ++i) {
        const TRegion& r = regions[static_cast<std::size_t>(i)];
        if (r.regType == kRegCds && r.regReverse == reverse) order.push_back(i);
      }
      std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return regions[static_cast<std::size_t>(a)].regStart <
               regions[static_cast<std::size_t>(b)].regStart;
      });
      for (std::size_t k = 0; k + 1 < order.size(); ++k) {
        const int ia = order[k];
        const int ib = order[k + 1];
        const TRegion& a = regions[static_cast<std::size_t>(ia)];
        const TRegion& b = regions[static_cast<std::size_t>(ib)];
        const std::string tagA = BracketTag(a.regComment);
        const std::string tagB = BracketTag(b.regComment);
        if (tagA.empty() || tagB.empty() || !SameIgnoringCase(tagA, tagB)) continue;
        if (b.regStart <= a.regEnd || a.regEnd < 1 || b.regStart > Length()) continue;
        const std::string stretch =
            letters.substr(static_cast<std::size_t>(a.regEnd - 1),
                           static_cast<std::size_t>(b.regStart - a.regEnd + 1));
        const int sl = static_cast<int>(stretch.size());
        int firstNN = -1, lastNN = -1;
        for (int i = 0; i + 1 < sl; ++i) {
          if (IsN(stretch[static_cast<std::size_t>(i)]) &&
              IsN(stretch[static_cast<std::size_t>(i + 1)])) {
            if (firstNN < 0) firstNN = i;
            lastNN = i;
          }
        }
        if (firstNN < 0 || firstNN >= 10 || lastNN + 2 < sl - 10 + 1) continue;
        const int between = b.regStart - a.regEnd - 1;
        const int fill = between % 3 == 1 ? 2 : between % 3 == 2 ? 1 : 0;
        const int nnStart = a.regEnd + firstNN;  // position of the first N of the first "NN"
        if (fill > 0)
          InsertLetters(nnStart + 1, std::string(static_cast<std::size_t>(fill), 'n'), false);
        TRegion& first = regions[static_cast<std::size_t>(ia)];
        const TRegion& second = regions[static_cast<std::size_t>(ib)];
        first.regEnd = second.regEnd;
        // A reverse CDS reads from its end, so the frame comes from the later part.
        if (reverse) first.codonPos = second.codonPos;
        DeleteRegion(ib);
        ++joins;
        joined = true;
        break;
      }
    }
  }
  return joins;
}
