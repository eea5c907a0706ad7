// SPDX-License-Identifier: GPL-3.0-or-later
// Column blocks and per-letter bit sets of a column.
#include "analysis/SiteColumns.h"

#include <bit>
#include <cctype>
#include <cstring>

#include "model/Datasequnit.h"

namespace {

constexpr std::uint8_t kIgnore = 255;
constexpr std::uint8_t kDynamic = 254;
constexpr char kFixedLetters[] = "ACGT-UN?KRWSVYMDBH";
constexpr int kFixedCount = 18;
constexpr int kFirstAmbiguitySlot = 6;

struct SlotTable {
  std::array<std::uint8_t, 256> slot{};
  SlotTable() {
    slot.fill(kDynamic);
    for (int s = 0; s < kFixedCount; ++s) {
      const auto c = static_cast<unsigned char>(kFixedLetters[s]);
      slot[c] = static_cast<std::uint8_t>(s);
      slot[static_cast<unsigned char>(std::tolower(c))] = static_cast<std::uint8_t>(s);
    }
    slot[static_cast<unsigned char>('!')] = kIgnore;
  }
};
const SlotTable kSlots;

}  // namespace

bool SlotIsAmbiguity(int slot) {
  return slot >= kFirstAmbiguitySlot && slot < kFixedCount;
}

int SlotOfLetter(char c) {
  const std::uint8_t s = kSlots.slot[static_cast<unsigned char>(c)];
  return s < kFixedCount ? s : -1;
}

ColumnBlock::ColumnBlock(const TDataSeq& ds) : n_(ds.Count()) {
  rows_.resize(static_cast<std::size_t>(n_));
  for (int r = 1; r <= n_; ++r) {
    const TSeq* s = ds.SeqAt(r);
    RowView& v = rows_[static_cast<std::size_t>(r - 1)];
    v.letters = s->letters.data();
    v.length = s->Length();
    v.shift = s->columnShift;
    v.enabled = s->enabled;
  }
}

void ColumnBlock::Fill(int first, int count) {
  first_ = first;
  count_ = count;
  const auto n = static_cast<std::size_t>(n_);
  buffer_.resize(n * static_cast<std::size_t>(count));
  for (std::size_t r = 0; r < n; ++r) {
    const RowView& v = rows_[r];
    char* dst = buffer_.data() + r;
    if (!v.enabled) {
      for (int j = 0; j < count; ++j) dst[static_cast<std::size_t>(j) * n] = '!';
      continue;
    }
    // Letters of the row cover columns shift + 1 .. shift + length.
    for (int j = 0; j < count; ++j) {
      const int pos = first + j - v.shift;
      dst[static_cast<std::size_t>(j) * n] =
          (pos >= 1 && pos <= v.length) ? v.letters[pos - 1] : '-';
    }
  }
}

const char* ColumnBlock::Column(int column) const {
  return buffer_.data() + static_cast<std::size_t>(column - first_) * static_cast<std::size_t>(n_);
}

void ColumnBlock::ReadColumn(int column, std::string& out) const {
  out.resize(static_cast<std::size_t>(n_));
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    const RowView& v = rows_[r];
    const int pos = column - v.shift;
    out[r] = !v.enabled ? '!' : (pos >= 1 && pos <= v.length) ? v.letters[pos - 1] : '-';
  }
}

int ColumnSlots::CountIn(int s, const samptype& mask) const {
  if (!((used >> s) & 1u)) return 0;
  const std::uint64_t* b = Slot(s);
  const std::uint64_t* m = mask.Words();
  int n = 0;
  for (int w = 0; w < words; ++w) n += std::popcount(b[w] & m[w]);
  return n;
}

int ColumnSlots::FirstIn(int s, const samptype& mask) const {
  if (!((used >> s) & 1u)) return -1;
  const std::uint64_t* b = Slot(s);
  const std::uint64_t* m = mask.Words();
  for (int w = 0; w < words; ++w)
    if (const std::uint64_t x = b[w] & m[w]; x != 0) return w * 64 + std::countr_zero(x);
  return -1;
}

void ColumnSlots::Build(int columnNumber, const char* col, int n) {
  column = columnNumber;
  const int newWords = (n + 63) / 64;
  if (newWords != words || bits.empty()) {
    words = newWords;
    bits.assign(static_cast<std::size_t>(kMaxSlots) * static_cast<std::size_t>(words), 0);
    used = 0;
  }
  for (std::uint64_t u = used; u != 0; u &= u - 1)
    std::memset(bits.data() + static_cast<std::size_t>(std::countr_zero(u)) * words, 0,
                sizeof(std::uint64_t) * static_cast<std::size_t>(words));
  used = 0;
  for (int s = 0; s < kFixedCount; ++s) letter[static_cast<std::size_t>(s)] = kFixedLetters[s];
  std::array<std::uint8_t, 256> dynamic{};  // letter -> slot + 1 for letters without a fixed slot
  int nextDynamic = kFixedCount;
  std::array<std::uint64_t, kMaxSlots> acc{};
  for (int w = 0; w < words; ++w) {
    const int base = w * 64;
    const int end = std::min(64, n - base);
    std::uint64_t touched = 0;
    for (int i = 0; i < end; ++i) {
      const auto c = static_cast<unsigned char>(col[base + i]);
      std::uint8_t s = kSlots.slot[c];
      if (s == kIgnore) continue;
      if (s == kDynamic) {
        const auto up = static_cast<unsigned char>(std::toupper(c));
        if (dynamic[up] == 0) {
          if (nextDynamic >= kMaxSlots) continue;  // more distinct odd letters than slots
          letter[static_cast<std::size_t>(nextDynamic)] = static_cast<char>(up);
          dynamic[up] = static_cast<std::uint8_t>(++nextDynamic);
        }
        s = static_cast<std::uint8_t>(dynamic[up] - 1);
      }
      acc[s] |= std::uint64_t{1} << i;
      touched |= std::uint64_t{1} << s;
    }
    used |= touched;
    for (std::uint64_t t = touched; t != 0; t &= t - 1) {
      const int s = std::countr_zero(t);
      bits[static_cast<std::size_t>(s) * words + w] = acc[static_cast<std::size_t>(s)];
      acc[static_cast<std::size_t>(s)] = 0;
    }
  }
}
