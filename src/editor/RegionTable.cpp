// SPDX-License-Identifier: GPL-3.0-or-later
// Region kind lists, the sequence type box and the working copy behind the regions table.
#include "editor/RegionTable.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <string_view>

#include "io/TextHelpers.h"

namespace {

// Entries 1..23 are the kinds with file codes 1..23.
constexpr int kKindListCount = 24;

// A whole decimal number, any size (beyond int64 it is cut to the int64 range); blanks around
// it are allowed.
std::optional<long long> WholeNumber(std::string_view text) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  long long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (end != text.data() + text.size()) return std::nullopt;
  if (ec == std::errc::result_out_of_range)
    return text.front() == '-' ? std::numeric_limits<long long>::min()
                               : std::numeric_limits<long long>::max();
  if (ec != std::errc{}) return std::nullopt;
  return value;
}

std::int32_t ToInt32(long long v) {
  return static_cast<std::int32_t>(std::clamp<long long>(
      v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

const std::vector<std::string>& RegionFilterNames() {
  static const std::vector<std::string> names{"Show all",
                                              "Coding (CDS)",
                                              "Noncoding",
                                              "Intron",
                                              "Exon",
                                              "ORF",
                                              "Start of transcription",
                                              "Promotor",
                                              "Enhancer",
                                              "Silencer",
                                              "SiteRestr",
                                              "OligSite",
                                              "STS",
                                              "SNP",
                                              "Repeat region",
                                              "Misc_region",
                                              "Mobile element",
                                              "Vector",
                                              "Indel or gap",
                                              "heterozygous_SNP",
                                              "heterozygous_Indel",
                                              "gene",
                                              "tRNA",
                                              "rRNA"};
  return names;
}

const std::vector<std::string>& RegionTypeChooserNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> n = RegionFilterNames();
    n[0] = "Unknown_type";
    n[19] = "Heterozygous SNP";
    n[20] = "Heterozygous indel";
    n[21] = "Gene";
    return n;
  }();
  return names;
}

int KindListIndex(int kind, int count) {
  const int code = RegionKindToFileCode(kind);
  return code >= 0 && code < count ? code : 0;
}

int RegionTypeChoice(int index, bool reverse) {
  if (index <= 0 || index >= kKindListCount) return kRegionTypeCancelled;
  return reverse ? -10 * index : 10 * index;
}

const std::vector<std::string>& SeqTypeBoxNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> n;
    for (int t = kSeqDna; t <= kSeqUnknown; ++t) n.emplace_back(SeqTypeName(t));
    return n;
  }();
  return names;
}

int SeqTypeBoxIndex(int seqType) {
  // RFLP stands at its own entry: showing it as "UnknownSeq" would turn it into type 8 on "OK"
  // although nobody touched the box.
  return seqType >= kSeqDna && seqType < kSeqUnknown ? seqType : kSeqUnknown;
}

int SeqTypeFromBoxIndex(int index) {
  return index >= kSeqDna && index < kSeqUnknown ? index : kSeqUnknown;
}

const std::array<const char*, kRegionColumnCount>& RegionColumnHeads() {
  static const std::array<const char*, kRegionColumnCount> heads{
      "#", "Type", "F/R", "Name", "Start", "End", "1CP", "L-FR", "R-FR", "Comment"};
  return heads;
}

const std::array<int, kRegionColumnCount>& RegionColumnWidths() {
  static const std::array<int, kRegionColumnCount> widths{20, 100, 25, 70, 55, 55, 28, 32, 32, 300};
  return widths;
}

std::string RegionCellExplanation(int column, const std::string& cellText) {
  switch (column) {
    case kColName:
      return "Func.Reg.Name: " + cellText;
    case kColStart:
      return "Func.Reg. starts at position: " + cellText;
    case kColEnd:
      return "Func.Reg. ends at position: " + cellText;
    case kColCodonPos:
      return "(Coding only) region starts at the " + cellText + " codon position";
    case kColLeftLink:
      return "(For joint func. regions) The left(upstream) joint func.reg. number: " + cellText;
    case kColRightLink:
      return "(For joint func. regions) The right(downstream) joint func.reg. number: " + cellText;
    case kColComment:
      return "Func.Reg.Comment: " + cellText;
    default:
      return {};
  }
}

RegionWorkingCopy::RegionWorkingCopy(std::vector<TRegion> regions, int seqLength)
    : regions_(std::move(regions)), seqLength_(seqLength) {
  ReindexIds();
  Refilter();
}

void RegionWorkingCopy::SetFilter(int fileCode) {
  filter_ = fileCode > 0 && fileCode < kKindListCount ? fileCode : 0;
  Refilter();
}

void RegionWorkingCopy::Refilter() {
  shown_.clear();
  for (int i = 0; i < static_cast<int>(regions_.size()); ++i)
    if (filter_ == 0 ||
        RegionKindToFileCode(regions_[static_cast<std::size_t>(i)].regType) == filter_)
      shown_.push_back(i);
}

void RegionWorkingCopy::ReindexIds() {
  indexOfId_.clear();
  for (int i = 0; i < static_cast<int>(regions_.size()); ++i)
    indexOfId_[regions_[static_cast<std::size_t>(i)].regId] = i;
}

int RegionWorkingCopy::RowCount() const {
  return std::max(1, static_cast<int>(shown_.size()));
}

int RegionWorkingCopy::RegionOfRow(int row) const {
  return row >= 0 && row < static_cast<int>(shown_.size()) ? shown_[static_cast<std::size_t>(row)]
                                                           : -1;
}

int RegionWorkingCopy::RowOfRegion(int index) const {
  const auto it = std::lower_bound(shown_.begin(), shown_.end(), index);
  return it != shown_.end() && *it == index ? static_cast<int>(it - shown_.begin()) : -1;
}

int RegionWorkingCopy::LinkNumber(std::int32_t regId) const {
  if (regId < 0) return 0;  // -1 links to nothing, whatever ids the list holds
  const auto it = indexOfId_.find(regId);
  return it == indexOfId_.end() ? 0 : it->second + 1;
}

std::string RegionWorkingCopy::Cell(int row, int column) const {
  const int index = RegionOfRow(row);
  if (index < 0) return {};
  const TRegion& r = regions_[static_cast<std::size_t>(index)];
  switch (column) {
    case kColNumber:
      return std::to_string(index + 1);
    case kColType:
      return RegionKindName(r.regType);
    case kColStrand:
      return r.regReverse ? "R" : "F";
    case kColName:
      return r.regName;
    case kColStart:
      return std::to_string(r.regStart);
    case kColEnd:
      return std::to_string(r.regEnd);
    case kColCodonPos:
      return std::to_string(r.codonPos);
    case kColLeftLink:
      return std::to_string(LinkNumber(r.prevId));
    case kColRightLink:
      return std::to_string(LinkNumber(r.nextId));
    case kColComment:
      return r.regComment;
    default:
      return {};
  }
}

void RegionWorkingCopy::ClampBounds(TRegion& r) const {
  if (r.regStart < 1) r.regStart = 1;
  if (r.regEnd <= 0) r.regEnd = 1;
  // An empty sequence has no letter to lower to: the region keeps position 1.
  if (seqLength_ >= 1) {
    r.regStart = std::min(r.regStart, seqLength_);
    r.regEnd = std::min(r.regEnd, seqLength_);
  }
}

bool RegionWorkingCopy::Edit(int row, int column, const std::string& text) {
  const int index = RegionOfRow(row);
  if (index < 0) return false;
  TRegion& r = regions_[static_cast<std::size_t>(index)];
  const TRegion before = r;
  switch (column) {
    case kColName:
      r.regName = text;
      break;
    case kColComment:
      r.regComment = text;
      break;
    case kColStart:
    case kColEnd:
      if (const auto v = WholeNumber(text))
        (column == kColStart ? r.regStart : r.regEnd) = ToInt32(*v);
      break;
    case kColCodonPos:
      // Codon positions are 1..3, 0 for unknown; anything else would be a reading frame no
      // coding step can use.
      if (const auto v = WholeNumber(text); v && *v >= 0 && *v <= 3)
        r.codonPos = static_cast<std::int32_t>(*v);
      break;
    case kColLeftLink:
    case kColRightLink:
      if (const auto k = WholeNumber(text)) {
        const bool inside = *k >= 1 && *k <= static_cast<long long>(regions_.size());
        const std::int32_t id =
            inside ? regions_[static_cast<std::size_t>(*k - 1)].regId : std::int32_t{-1};
        (column == kColLeftLink ? r.prevId : r.nextId) = id;
      }
      break;
    default:
      return false;
  }
  ClampBounds(r);
  return !(r == before);
}

int RegionWorkingCopy::Add() {
  TRegion r;
  if (filter_ != 0) r.regType = static_cast<std::uint8_t>(RegionKindFromFileCode(filter_));
  r.regName = "F_reg" + std::to_string(regions_.size() + 1);
  const bool idFree = r.regId > 0 && indexOfId_.find(r.regId) == indexOfId_.end();
  if (!idFree) {
    std::int32_t largest = 0;
    for (const TRegion& other : regions_) largest = std::max(largest, other.regId);
    r.regId = largest + 1;
  }
  // A region at position 0 names no letter: it starts where the clamps of an edit put it.
  ClampBounds(r);
  regions_.push_back(std::move(r));
  const int index = static_cast<int>(regions_.size()) - 1;
  indexOfId_[regions_.back().regId] = index;
  Refilter();
  return index;
}

bool RegionWorkingCopy::Remove(std::vector<int> rows) {
  std::vector<int> indexes;
  for (int row : rows)
    if (const int i = RegionOfRow(row); i >= 0) indexes.push_back(i);
  if (indexes.empty()) return false;
  std::sort(indexes.begin(), indexes.end());
  indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
  for (auto it = indexes.rbegin(); it != indexes.rend(); ++it)
    regions_.erase(regions_.begin() + *it);
  ReindexIds();
  Refilter();
  return true;
}

bool RegionWorkingCopy::ChangeType(int row, int choice) {
  const int index = RegionOfRow(row);
  if (index < 0 || (choice >= -9 && choice <= 9)) return false;
  TRegion& r = regions_[static_cast<std::size_t>(index)];
  const TRegion before = r;
  const long long magnitude = choice < 0 ? -static_cast<long long>(choice) : choice;
  r.regType =
      static_cast<std::uint8_t>(RegionKindFromFileCode(static_cast<int>((magnitude + 5) / 10)));
  r.regReverse = choice < 0;
  Refilter();
  return !(r == before);
}
