// SPDX-License-Identifier: GPL-3.0-or-later
// TSeq strand operations: reversal, complementation and both, with traces, regions and
// contig references following the letters.
#include <algorithm>
#include <array>

#include "model/tsequnit.h"

namespace {

// IUPAC complement as a table: reads and alignments are complemented by the million letters.
constexpr std::array<char, 256> MakeComplementTable() {
  std::array<char, 256> table{};
  for (int i = 0; i < 256; ++i) table[static_cast<std::size_t>(i)] = static_cast<char>(i);
  const char* from = "ATCGKMRYBVDH";
  const char* to = "TAGCMKYRVBHD";
  for (int i = 0; from[i] != 0; ++i) {
    table[static_cast<unsigned char>(from[i])] = to[i];
    table[static_cast<unsigned char>(from[i] + ('a' - 'A'))] =
        static_cast<char>(to[i] + ('a' - 'A'));
  }
  return table;
}
constexpr std::array<char, 256> kComplementTable = MakeComplementTable();

void MirrorRegions(std::vector<TRegion>& list, int len) {
  for (TRegion& r : list) {
    const int s = len - r.regEnd + 1;
    const int e = len - r.regStart + 1;
    r.regStart = std::min(s, e);
    r.regEnd = std::max(s, e);
    r.regReverse = !r.regReverse;
  }
}

void MirrorContigRef(TSeqRef& ref, int len) {
  const int first = len - ref.firstPos + 1;
  const int last = len - ref.lastPos + 1;
  ref.firstPos = std::min(first, last);
  ref.lastPos = std::max(first, last);
  for (auto* list : {&ref.insertions, &ref.deletions})
    for (auto& [position, length] : *list) position = len - position - length + 2;
  for (auto& d : ref.differences) d.position = len - d.position + 1;
}

// A mirrored position stays unset when it was unset (-1, or any value that is no position).
int MirrorPosition(int pos, int len) {
  return pos >= 1 ? len - pos + 1 : pos;
}

void SwapChannels(TRare<std::vector<std::uint16_t>>& x, TRare<std::vector<std::uint16_t>>& y) {
  const std::size_t n = std::max(x.size(), y.size());
  x.resize(n, 0);
  y.resize(n, 0);
  x.swap(y);
}

}  // namespace

char ComplementLetter(char letter) {
  return kComplementTable[static_cast<unsigned char>(letter)];
}

void TSeq::Reverse(bool withContigRefs) {
  if (!enabled) return;
  const int len = Length();
  std::reverse(letters.begin(), letters.end());
  reversed = !reversed;
  const std::size_t longest =
      std::max({traceA.size(), traceT.size(), traceG.size(), traceC.size()});
  for (auto* ch : {&traceA, &traceT, &traceG, &traceC}) std::reverse(ch->begin(), ch->end());
  std::reverse(quality.begin(), quality.end());
  std::reverse(polySitePos.begin(), polySitePos.end());
  std::reverse(peakPos.begin(), peakPos.end());
  // Peaks are measured from the other end of the longest channel (L - p, so reversing twice
  // gives them back); without channels (SNP positions) the values are no samples and only
  // follow their letters.
  if (longest > 0) {
    const int top = static_cast<int>(longest);
    for (auto& p : peakPos) p = top - p;
  }
  if (withContigRefs)
    for (TSeqRef& ref : contigRefs) MirrorContigRef(ref, len);
  MirrorRegions(regions, len);
  MirrorRegions(siteMarks, len);
  if (selStart > 0) {
    // The block keeps its letters: its last letter becomes its first.
    const int blockEnd = selStart + std::max(selLength, 1) - 1;
    selStart = len - blockEnd + 1;
  }
  const int left = poorQualityLeft;
  poorQualityLeft = MirrorPosition(poorQualityRight, len);
  poorQualityRight = MirrorPosition(left, len);
}

void TSeq::Complement(bool withContigRefs) {
  // The table itself: ComplementLetter may be interposed in a shared build, so a call to it
  // stays a call per letter.
  for (char& c : letters) c = kComplementTable[static_cast<unsigned char>(c)];
  plusStrand = !plusStrand;
  if (!traceA.empty() || !traceT.empty()) SwapChannels(traceA, traceT);
  if (!traceG.empty() || !traceC.empty()) SwapChannels(traceG, traceC);
  if (withContigRefs)
    for (TSeqRef& ref : contigRefs)
      for (auto& d : ref.differences) d.letter = ComplementLetter(d.letter);
}

void TSeq::ReverseComplement(bool withContigRefs) {
  // Complementing a disabled sequence without reversing it would leave it neither as it was
  // nor reverse-complemented.
  if (!enabled) return;
  Reverse(withContigRefs);
  Complement(withContigRefs);
}
