// SPDX-License-Identifier: GPL-3.0-or-later
// TSeq construction, copies and queries; region and sequence kind tables; codon arithmetic.
#include "model/tsequnit.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

struct RegionKindInfo {
  const char* name;
  int fileCode;
};

constexpr std::array<RegionKindInfo, kRegionKindCount> kRegionKinds{{
    {"CDS", 1},
    {"Noncoding", 2},
    {"Intron", 3},
    {"Exon", 4},
    {"ORF", 5},
    {"start_codon", 24},
    {"stop_codon", 25},
    {"Start transcr.", 6},
    {"Promotor", 7},
    {"Enhancer", 8},
    {"Silencer", 9},
    {"Restr.site", 10},
    {"Unknown", 0},
    {"Primer", 11},
    {"STS", 12},
    {"Sequence", 0},
    {"Repeat", 14},
    {"Misc.", 15},
    {"Mobile element", 16},
    {"SNP", 13},
    {"Vector", 17},
    {"Indel or gap", 18},
    {"Heterozygous SNP", 19},
    {"Heterozygous indel", 20},
    {"Gene", 21},
    {"tRNA", 22},
    {"rRNA", 23},
    {"Unknown", 26},
}};

struct FeatureWord {
  const char* word;
  int kind;
};

constexpr FeatureWord kFeatureWords[] = {
    {"cds", kRegCds},
    {"noncoding", kRegNoncoding},
    {"ncds", kRegNoncoding},
    {"intron", kRegIntron},
    {"exon", kRegExon},
    {"orf", kRegOrf},
    {"startcodon", kRegStartCodon},
    {"start_codon", kRegStartCodon},
    {"stopcodon", kRegStopCodon},
    {"stop_codon", kRegStopCodon},
    {"promotor", kRegPromotor},
    {"enhancer", kRegEnhancer},
    {"silencer", kRegSilencer},
    {"sts", kRegSts},
    {"repeat", kRegRepeat},
    {"miscelaneous", kRegMisc},
    {"misc", kRegMisc},
    {"te", kRegMobileElement},
    {"transposon", kRegMobileElement},
    {"retrotransposon", kRegMobileElement},
    {"snp", kRegSnp},
    {"polymorphism", kRegSnp},
    {"vector", kRegVector},
    {"indel", kRegIndel},
    {"gene", kRegGene},
    {"trna", kRegTRna},
    {"rrna", kRegRRna},
    {"mrna", kRegMRna},
};

struct SeqKindInfo {
  const char* name;
  int fileCode;
};

constexpr std::array<SeqKindInfo, 9> kSeqKinds{{
    {"DNA", 1},
    {"RNA", 2},
    {"cDNA", 3},
    {"Protein1", 4},
    {"Protein3", 5},
    {"SNP", 6},
    {"RFLP", 0},
    {"Allozymes", 7},
    {"UnknownSeq", 0},
}};

int Mod3Position(int sum) {
  const int m = ((sum % 3) + 3) % 3;
  return m == 0 ? 3 : m;
}

bool CoversPos(const TRegion& r, int pos) {
  return std::min(r.regStart, r.regEnd) <= pos && pos <= std::max(r.regStart, r.regEnd);
}

}  // namespace

const char* RegionKindName(int kind) {
  if (kind < 0 || kind >= kRegionKindCount) return "Unknown";
  return kRegionKinds[static_cast<std::size_t>(kind)].name;
}

int RegionKindToFileCode(int kind) {
  if (kind < 0 || kind >= kRegionKindCount) return 0;
  return kRegionKinds[static_cast<std::size_t>(kind)].fileCode;
}

int RegionKindFromFileCode(int fileCode) {
  // File code 0 is shared by Unknown and Sequence; it reads back as Unknown.
  if (fileCode == 0) return kRegUnknown;
  for (int k = 0; k < kRegionKindCount; ++k)
    if (kRegionKinds[static_cast<std::size_t>(k)].fileCode == fileCode) return k;
  return kRegUnknown;
}

int RegionKindFromWord(std::string_view word) {
  std::string lower(word);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const FeatureWord& f : kFeatureWords)
    if (lower == f.word) return RegionKindToFileCode(f.kind);
  return 0;
}

bool IsCodingKind(int kind) {
  return kind == kRegCds || kind == kRegExon || kind == kRegOrf;
}

const char* SeqTypeName(int seqType) {
  if (seqType < 0 || seqType >= static_cast<int>(kSeqKinds.size())) return "UnknownSeq";
  return kSeqKinds[static_cast<std::size_t>(seqType)].name;
}

int SeqTypeToFileCode(int seqType) {
  if (seqType < 0 || seqType >= static_cast<int>(kSeqKinds.size())) return 0;
  return kSeqKinds[static_cast<std::size_t>(seqType)].fileCode;
}

int CodonPosAfter(int p, int n) {
  return Mod3Position(p + n);
}

int CodonPosBefore(int p, int n) {
  const int sum = p + n;
  if (sum == 0) return 2;
  if (sum == -1) return 3;
  return Mod3Position(sum);
}

TSeq::TSeq(std::string name, std::string text)
    : letters(std::move(text)), seqName(std::move(name)) {
  SyncLength();
}

std::unique_ptr<TSeq> TSeq::Clone() const {
  return std::make_unique<TSeq>(*this);
}

bool TSeq::AssignTo(TSeq* target) const {
  if (target == nullptr) return false;
  if (target == this) return true;
  target->letters = letters;
  target->SyncLength();
  target->seqName = seqName;
  target->seqId = seqId;
  target->columnShift = columnShift;
  target->reversed = reversed;
  target->plusStrand = plusStrand;
  target->enabled = enabled;
  target->selected = selected;
  CopyRegionsInto(*target, true);
  target->polySitePos = polySitePos;
  target->quality = quality;
  target->peakPos = peakPos;
  target->traceA = traceA;
  target->traceT = traceT;
  target->traceG = traceG;
  target->traceC = traceC;
  return true;
}

std::unique_ptr<TSeq> TSeq::SubSequence(int from, int count, bool trimTrace) const {
  auto sub = Clone();
  // The cut is a copy, not an edit of this sequence, so it is made on disabled sequences too.
  sub->enabled = true;
  const int len = Length();
  if (from < 1) {
    count += from - 1;
    from = 1;
  }
  if (count < 0) count = 0;
  const int tailStart = from + count;
  if (tailStart <= len) sub->DeleteLetters(tailStart, len - tailStart + 1, trimTrace);
  if (from > 1) sub->DeleteLetters(1, from - 1, trimTrace);
  sub->enabled = enabled;
  return sub;
}

bool TSeq::HasTrace() const {
  return !traceA.empty() && !traceT.empty() && !traceG.empty() && !traceC.empty() &&
         !peakPos.empty();
}

int TSeq::CountGaps(int from, int to) const {
  const int len = Length();
  if (to <= 0) to = len;
  if (from > to) std::swap(from, to);
  from = std::max(from, 1);
  to = std::min(to, len);
  if (from > to) return 0;
  return static_cast<int>(std::count(letters.begin() + (from - 1), letters.begin() + to, '-'));
}

int TSeq::CountBases() const {
  int n = 0;
  for (char c : letters) {
    switch (c) {
      case 'A':
      case 'C':
      case 'G':
      case 'T':
      case 'a':
      case 'c':
      case 'g':
      case 't':
        ++n;
        break;
      default:
        break;
    }
  }
  return n;
}

PeakHit TSeq::FindPeak(int sample) const {
  // Peaks are not guaranteed to rise (hand-edited reads), so no binary search.
  for (std::size_t i = 0; i < peakPos.size(); ++i)
    if (peakPos[i] >= sample) return PeakHit{static_cast<int>(i), peakPos[i] == sample};
  return PeakHit{};
}

int TSeq::RegionIndexById(int id) const {
  for (int i = static_cast<int>(regions.size()) - 1; i >= 0; --i)
    if (regions[static_cast<std::size_t>(i)].regId == id) return i;
  return -1;
}

int TSeq::RegionAtColumn(int column) const {
  int found = -1;
  for (std::size_t i = 0; i < regions.size(); ++i) {
    const TRegion& r = regions[i];
    if (r.regStart + columnShift > column || column > r.regEnd + columnShift) continue;
    const bool structural = r.regType == kRegCds || r.regType == kRegNoncoding ||
                            r.regType == kRegExon || r.regType == kRegIntron;
    if (structural || found < 0) found = static_cast<int>(i);
  }
  return found;
}

int TSeq::NextCodingRegion(int pos) const {
  int found = -1;
  for (std::size_t i = 0; i < regions.size(); ++i) {
    const TRegion& r = regions[i];
    if ((r.regType != kRegCds && r.regType != kRegExon) || r.regStart <= pos) continue;
    if (found < 0 || r.regStart < regions[static_cast<std::size_t>(found)].regStart)
      found = static_cast<int>(i);
  }
  return found;
}

int TSeq::PreviousCodingRegion(int pos) const {
  int found = -1;
  for (std::size_t i = 0; i < regions.size(); ++i) {
    const TRegion& r = regions[i];
    if ((r.regType != kRegCds && r.regType != kRegExon) || r.regStart >= pos) continue;
    if (found < 0 || r.regStart > regions[static_cast<std::size_t>(found)].regStart)
      found = static_cast<int>(i);
  }
  return found;
}

int TSeq::CodonPosAt(int pos) const {
  if (seqType == kSeqSnp) {
    if (pos < 1 || pos > static_cast<int>(peakPos.size())) return -1;
    return peakPos[static_cast<std::size_t>(pos - 1)];
  }
  for (int i = static_cast<int>(regions.size()) - 1; i >= 0; --i) {
    const TRegion& r = regions[static_cast<std::size_t>(i)];
    if (r.regType != kRegCds && r.regType != kRegNoncoding && r.regType != kRegIntron &&
        r.regType != kRegOrf)
      continue;
    if (!CoversPos(r, pos)) continue;
    if (r.regType == kRegNoncoding || r.regType == kRegIntron) return 0;
    if (r.regReverse || r.regStart > r.regEnd) return CodonPosBefore(r.codonPos, r.regEnd - pos);
    return CodonPosAfter(r.codonPos, pos - r.regStart);
  }
  return -1;
}

std::string TSeq::RegionLine(int index) const {
  if (index < 0 || index >= static_cast<int>(regions.size())) return {};
  const TRegion& r = regions[static_cast<std::size_t>(index)];
  std::string line = RegionKindName(r.regType);
  line += ',' + r.regName + ',' + std::to_string(r.regStart) + ',' + std::to_string(r.regEnd) +
          ',' + (r.regReverse ? "R" : "F") + ',';
  if (r.regValue >= 1) line += std::to_string(r.regValue);
  line += ',' + r.regComment;
  return line;
}
