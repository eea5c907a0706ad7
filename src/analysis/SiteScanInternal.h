// SPDX-License-Identifier: GPL-3.0-or-later
// State of one scan shared by its single-site and codon-unit halves.
#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "analysis/CodingMap.h"
#include "analysis/MutUnit.h"
#include "analysis/SiteColumns.h"

class TGenCode;

namespace scan_detail {

// One table being filled.
struct TableScan {
  tmutholder* table = nullptr;
  int outgroup = -1;      // row of the outgroup in use, -1 for none
  samptype letterMask;    // rows whose letters take part
  samptype slotMask;      // the same rows as the column sets number them (ScanContext::slotRows)
  int outgroupSlot = -1;  // the outgroup's row in the column block, -1 for none
  int endColumn = 0;      // last column visited
  std::unique_ptr<CodingAgreement> coding;
  std::vector<bool> consumed;  // columns already taken by a codon unit
  bool full = false;
  std::size_t messageStart = 0;  // length of the outgroup name opening the message
};

struct ScanContext {
  TDataSeq& ds;
  const AnalysisOptions& options;
  const ScanChoices& choices;
  const TGenCode& code;
  PlatformRandom& rng;
  bool snp = false;
  int rows = 0;  // rows of the dataset: the size of every carrier set
  // A scan that reads only some rows (one group's) copies and sets out only those: row k of
  // the column block and bit k of the column sets stand for dataset row slotRows[k]. Empty
  // when they are the dataset's rows themselves.
  std::vector<int> slotRows;
  ColumnBlock block;

  ScanContext(TDataSeq& d, const AnalysisOptions& o, const ScanChoices& c, const TGenCode& g,
              PlatformRandom& r, std::vector<int> readRows = {});
  // Bit sets of a column; the last few stay cached, so up to four may be held at once.
  const ColumnSlots& SlotsOf(int column);
  // A dataset row (0-based) as the column sets number it, -1 when the scan does not read it.
  [[nodiscard]] int SlotOf(int row) const;
  // A set of dataset rows as the column sets number them, and back.
  [[nodiscard]] samptype ToSlots(const samptype& datasetRows) const;
  [[nodiscard]] samptype ToRows(const samptype& slots) const;
  // Adds the members of slot words `bits` that `slotMask` keeps to the carrier set m.
  void AddCarriers(samptype& m, const std::uint64_t* bits, const samptype& slotMask) const;

 private:
  std::array<ColumnSlots, 8> cache_;
  std::array<long, 8> stamp_{};
  long clock_ = 0;
  std::string scratch_;
};

// Site scan step for one column of one table.
void ScanSingleSite(ScanContext& ctx, TableScan& t, int column, int storedPosition);
// Codon unit opened at column; marks the columns it takes.
void ScanCodonUnit(ScanContext& ctx, TableScan& t, int column);

}  // namespace scan_detail
