// SPDX-License-Identifier: GPL-3.0-or-later
// What the sequence grid shows: colours, region display list, dotted view, hint text.
#include "editor/GridPaintRules.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace {
std::string TrimUpper(std::string_view text) {
  const auto notSpace = [](unsigned char c) { return !std::isspace(c); };
  auto b = std::find_if(text.begin(), text.end(), notSpace);
  auto e = std::find_if(text.rbegin(), text.rend(), notSpace).base();
  std::string out = b < e ? std::string(b, e) : std::string();
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool IsNucleotideType(int seqType) {
  return seqType == kSeqDna || seqType == kSeqRna || seqType == kSeqCDna || seqType == kSeqSnp;
}

bool Covers(const TRegion& r, int pos) {
  return std::min(r.regStart, r.regEnd) <= pos && pos <= std::max(r.regStart, r.regEnd);
}
}  // namespace

std::vector<RegionDisplayEntry> DefaultRegionDisplay() {
  std::vector<RegionDisplayEntry> out;
  out.push_back({kRegSequence, true});
  for (int code = 1; code <= 23; ++code) {
    const int kind = RegionKindFromFileCode(code);
    const bool shown = kind == kRegCds || kind == kRegNoncoding || kind == kRegIntron ||
                       kind == kRegExon || kind == kRegOrf || kind == kRegSnp ||
                       kind == kRegHetSnp || kind == kRegGene || kind == kRegTRna ||
                       kind == kRegRRna;
    out.push_back({kind, shown});
  }
  return out;
}

std::vector<RegionDisplayEntry> AllShownRegionDisplay() {
  std::vector<RegionDisplayEntry> out = DefaultRegionDisplay();
  for (auto& e : out) e.shown = true;
  return out;
}

std::array<bool, 28> ShownKinds(const std::vector<RegionDisplayEntry>& display) {
  std::array<bool, 28> shown{};
  for (const auto& e : display)
    if (e.kind >= 0 && e.kind < kRegionKindCount) shown[static_cast<std::size_t>(e.kind)] = e.shown;
  return shown;
}

int LetterColorSlot(int seqType, char letter, bool enabled) {
  if (!enabled) return kDisabledSeqColor;
  if (!IsNucleotideType(seqType)) return -1;
  switch (letter) {
    case 'A':
    case 'a':
      return kLetterAColor;
    case 'C':
    case 'c':
      return kLetterCColor;
    case 'G':
    case 'g':
      return kLetterGColor;
    case 'T':
    case 't':
    case 'U':
    case 'u':
      return kLetterTColor;
    default:
      return kOtherLetterColor;
  }
}

int RegionColorSlot(int kind) {
  switch (kind) {
    case kRegCds:
    case kRegOrf:
      return kCodingColor;
    case kRegNoncoding:
      return kNoncodingColor;
    case kRegIntron:
      return kIntronColor;
    case kRegExon:
      return kExonColor;
    case kRegPrimer:
      return kPrimerColor;
    case kRegSequence:
      return kSeqLineColor;
    default:
      return kMiscRegionColor;
  }
}

int RegionBandHeight(int kind, const ColorScheme& scheme) {
  switch (kind) {
    case kRegCds:
    case kRegOrf:
      return scheme[24];
    case kRegExon:
      return scheme[23];
    case kRegIntron:
      return scheme[22];
    case kRegPrimer:
      return scheme[26];
    default:
      return scheme[27];
  }
}

bool IsDottedLetter(int row, char letter, char firstRowLetter) {
  if (row <= 1 || firstRowLetter == 0) return false;
  return std::toupper(static_cast<unsigned char>(letter)) ==
         std::toupper(static_cast<unsigned char>(firstRowLetter));
}

char OverviewLetter(const TSeq& seq, const TSeq* reference, int firstColumn, int lastColumn) {
  const int from = std::max(firstColumn, seq.columnShift + 1);
  const int to = std::min(lastColumn, seq.columnShift + seq.Length());
  if (from > to) return 0;
  if (reference == &seq) reference = nullptr;
  char first = 0;
  for (int c = from; c <= to; ++c) {
    const char letter = seq.letters[static_cast<std::size_t>(c - seq.columnShift - 1)];
    if (letter == '-') continue;
    if (first == 0) first = letter;
    if (reference == nullptr) break;
    const int rp = c - reference->columnShift;
    const char ref = rp >= 1 && rp <= reference->Length()
                         ? reference->letters[static_cast<std::size_t>(rp - 1)]
                         : '\0';
    if (std::toupper(static_cast<unsigned char>(letter)) !=
        std::toupper(static_cast<unsigned char>(ref)))
      return letter;
  }
  return first != 0 ? first : '-';
}

std::string RegionLabel(const TRegion& region) {
  std::string label = RegionKindName(region.regType);
  if (!region.regName.empty() && TrimUpper(region.regName) != TrimUpper(label))
    label += ": " + region.regName;
  return label;
}

int RegionLabelIndent(int kind) {
  if (kind == kRegExon) return 18;
  if (kind == kRegGene) return 40;
  return 1;
}

std::string GridHintText(const TDataSeq* ds, int row, int pos, int yInRow, int rowHeight,
                         const ColorScheme& scheme) {
  if (ds == nullptr) return "To add sequences to this window right-click on it and use menu Open";
  const TSeq* s = ds->SeqAt(row);
  if (s == nullptr || pos < 1 || pos > s->Length()) return "DataSet window";
  const TRegion* best = nullptr;
  for (const TRegion& r : s->regions) {
    if (!Covers(r, pos)) continue;
    const int h = RegionBandHeight(r.regType, scheme);
    const int top = (rowHeight - h) / 2;
    if (yInRow < top || yInRow >= top + h) continue;
    if (best == nullptr || std::abs(r.Length()) < std::abs(best->Length())) best = &r;
  }
  std::string text;
  if (best != nullptr) {
    text = std::string(RegionKindName(best->regType)) + "[" + std::to_string(best->regStart) + ":" +
           std::to_string(best->regEnd) + "]";
    if (!best->regName.empty()) text += " \"" + best->regName + "\"";
    if (!best->regComment.empty()) text += ", " + best->regComment;
  } else {
    const char letter = static_cast<char>(
        std::toupper(static_cast<unsigned char>(s->letters[static_cast<std::size_t>(pos - 1)])));
    text = std::string("\"") + letter + "\", pos=" + std::to_string(pos);
  }
  if (!s->quality.empty()) {
    const int q = ds->QualityAt(row, pos);
    if (q >= 0) text += " Quality = " + std::to_string(q);
  }
  return text;
}
