// SPDX-License-Identifier: GPL-3.0-or-later
// The sequence properties dialog without a window: the region kind lists of its filter and of
// the type chooser, the sequence type box, and the working copy of one sequence's functional
// regions behind the regions table (rows a filter shows, cell texts, cell edits with their
// clamps, "Add", "Remove" and "Change type").
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/tsequnit.h"

// Both kind lists are indexed by file code: entry 0 is "Show all" (filter) or "Unknown_type"
// (chooser), entries 1..23 the kinds with those file codes.
const std::vector<std::string>& RegionFilterNames();
const std::vector<std::string>& RegionTypeChooserNames();
// The entry a kind list of `count` entries opens on for a region kind: its file code, or 0 when
// the list has no entry for it (start and stop codons, mRNA).
int KindListIndex(int kind, int count);

// The type chooser's result: index x 10, negated for the reverse strand; kRegionTypeCancelled
// for index 0 or an index outside the list.
constexpr int kRegionTypeCancelled = 0;
int RegionTypeChoice(int index, bool reverse);

// The sequence type box: "DNA" .. "UnknownSeq". Types 0..7 stand at their own index, any other
// at "UnknownSeq"; an index outside 0..7 (none chosen included) writes type 8.
const std::vector<std::string>& SeqTypeBoxNames();
int SeqTypeBoxIndex(int seqType);
int SeqTypeFromBoxIndex(int index);

// Columns of the regions table; the first three are fixed (not editable).
enum RegionColumn : int {
  kColNumber,
  kColType,
  kColStrand,
  kColName,
  kColStart,
  kColEnd,
  kColCodonPos,
  kColLeftLink,
  kColRightLink,
  kColComment,
  kRegionColumnCount
};
const std::array<const char*, kRegionColumnCount>& RegionColumnHeads();
const std::array<int, kRegionColumnCount>& RegionColumnWidths();  // pixels
constexpr int kRegionFixedColumns = 3;

// What the memo under the table says about a selected cell; empty for the fixed columns.
std::string RegionCellExplanation(int column, const std::string& cellText);

class RegionWorkingCopy {
 public:
  // seqLength: the sequence's letter count, the bound of every start and end.
  RegionWorkingCopy(std::vector<TRegion> regions, int seqLength);

  [[nodiscard]] const std::vector<TRegion>& Regions() const { return regions_; }

  // File code the rows are filtered by; 0 shows every region. Outside the filter list: 0.
  void SetFilter(int fileCode);
  [[nodiscard]] int Filter() const { return filter_; }

  // Rows shown: the regions passing the filter in list order, or one empty row.
  [[nodiscard]] int RowCount() const;
  [[nodiscard]] int RegionOfRow(int row) const;    // 0-based region index; -1 for no region
  [[nodiscard]] int RowOfRegion(int index) const;  // -1 when not shown
  [[nodiscard]] std::string Cell(int row, int column) const;
  // 1-based index of the region with that regId (the last one with it); 0 when none has it.
  [[nodiscard]] int LinkNumber(std::int32_t regId) const;

  // A typed cell; true when the row's region changed. Only that row's cells can change.
  bool Edit(int row, int column, const std::string& text);
  // "Add": returns the new region's index.
  int Add();
  // "Remove": the regions of the given rows, from the last row to the first. True when any went.
  bool Remove(std::vector<int> rows);
  // "Change type" with the chooser's result. True when the region changed; it may then have
  // left the filter.
  bool ChangeType(int row, int choice);

 private:
  std::vector<TRegion> regions_;
  int seqLength_;
  int filter_ = 0;
  std::vector<int> shown_;                           // region index per row
  std::unordered_map<std::int32_t, int> indexOfId_;  // regId -> 0-based index, last wins

  void Refilter();
  void ReindexIds();
  void ClampBounds(TRegion& r) const;
};
