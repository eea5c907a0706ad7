// SPDX-License-Identifier: GPL-3.0-or-later
// Columns of a dataset as bit sets: a block of columns is copied out of the rows once, and each
// column becomes one bit set per distinct letter, so every table of a scan counts variants and
// carriers by masking and popcounts instead of walking the rows again.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/SampType.h"

class TDataSeq;

constexpr int kMaxSlots = 64;

// The letters of each row for a run of columns, column by column ('!' for a disabled row, '-'
// where the row does not cover the column). Built over chosen rows (0-based, ascending), the
// block's row k is rows[k].
class ColumnBlock {
 public:
  explicit ColumnBlock(const TDataSeq& ds, const std::vector<int>* rows = nullptr);
  // Copies columns first..first+count-1.
  void Fill(int first, int count);
  [[nodiscard]] bool Holds(int column) const {
    return column >= first_ && column < first_ + count_;
  }
  [[nodiscard]] const char* Column(int column) const;  // Holds(column) must be true
  // One column read straight from the rows, for columns outside the block.
  void ReadColumn(int column, std::string& out) const;
  [[nodiscard]] int Rows() const { return n_; }

 private:
  struct RowView {
    const char* letters = nullptr;  // none for a disabled row
    int length = 0;
    int shift = 0;
  };
  std::vector<RowView> rows_;
  std::vector<char> buffer_;
  int n_ = 0, first_ = 0, count_ = 0;
};

// One column as bit sets per letter slot.
struct ColumnSlots {
  int column = -1;
  int words = 0;
  std::uint64_t used = 0;  // bit s: slot s has members
  std::array<char, kMaxSlots> letter{};
  // Words of slot s from bits[(block[s] - 1) * words] on; a slot gets its block the first time
  // it has members and keeps it, so a column of four letters holds four blocks, not 64.
  std::array<std::uint8_t, kMaxSlots> block{};
  std::vector<std::uint64_t> bits;
  // Slot s must be in used.
  const std::uint64_t* Slot(int s) const {
    return bits.data() + static_cast<std::size_t>(block[static_cast<std::size_t>(s)] - 1) * words;
  }
  // Members of slot s inside mask.
  [[nodiscard]] int CountIn(int s, const samptype& mask) const;
  [[nodiscard]] int FirstIn(int s, const samptype& mask) const;  // -1 when none
  void Build(int columnNumber, const char* letters, int n);

 private:
  std::uint64_t* Words(int s);  // slot s's words, its block made on first use
};

// Slot of an upper-case letter class: variants and ambiguity letters are fixed slots.
bool SlotIsAmbiguity(int slot);
int SlotOfLetter(char upperLetter);  // -1 for '!' and for letters without a fixed slot
