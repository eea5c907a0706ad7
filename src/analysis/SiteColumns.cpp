// SPDX-License-Identifier: GPL-3.0-or-later
// Column blocks and per-letter bit sets of a column.
#include "analysis/SiteColumns.h"

#include <algorithm>
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

// Bit i set where p[i] is c, over the 64 letters at p.
std::uint64_t Matches64(const char* p, unsigned char c) {
  const std::uint64_t pattern = 0x0101010101010101ull * c;
  constexpr std::uint64_t kLow7 = 0x7f7f7f7f7f7f7f7full;
  std::uint64_t out = 0;
  for (int k = 0; k < 8; ++k) {
    std::uint64_t v;
    std::memcpy(&v, p + 8 * k, sizeof v);
    v ^= pattern;
    // The high bit of a byte ends up set exactly where the byte is zero (no carries across).
    const std::uint64_t zero = ~(((v & kLow7) + kLow7) | v | kLow7);
    // Gathers the eight high bits into one byte, byte j's flag as bit j.
    out |= (((zero >> 7) * 0x0102040810204080ull) >> 56) << (8 * k);
  }
  return out;
}

// Transposes an 8 x 8 block of bytes held as eight little-endian words: byte c of word r
// moves to byte r of word c.
void Transpose8x8(std::uint64_t (&x)[8]) {
  auto swap = [&](int a, int b, int shift, std::uint64_t mask) {
    const std::uint64_t t = ((x[a] >> shift) ^ x[b]) & mask;
    x[b] ^= t;
    x[a] ^= t << shift;
  };
  for (int i = 0; i < 8; i += 2) swap(i, i + 1, 8, 0x00FF00FF00FF00FFull);
  for (int i : {0, 1, 4, 5}) swap(i, i + 2, 16, 0x0000FFFF0000FFFFull);
  for (int i = 0; i < 4; ++i) swap(i, i + 4, 32, 0x00000000FFFFFFFFull);
}

}  // namespace

bool SlotIsAmbiguity(int slot) {
  return slot >= kFirstAmbiguitySlot && slot < kFixedCount;
}

int SlotOfLetter(char c) {
  const std::uint8_t s = kSlots.slot[static_cast<unsigned char>(c)];
  return s < kFixedCount ? s : -1;
}

ColumnBlock::ColumnBlock(const TDataSeq& ds, const std::vector<int>* rows)
    : n_(rows != nullptr ? static_cast<int>(rows->size()) : ds.Count()) {
  rows_.resize(static_cast<std::size_t>(n_));
  for (int k = 0; k < n_; ++k) {
    const TSeq* s = ds.SeqAt((rows != nullptr ? (*rows)[static_cast<std::size_t>(k)] : k) + 1);
    RowView& v = rows_[static_cast<std::size_t>(k)];
    v.letters = s->enabled ? s->letters.data() : nullptr;
    v.length = s->Length();
    v.shift = s->columnShift;
  }
}

void ColumnBlock::Fill(int first, int count) {
  first_ = first;
  count_ = count;
  const auto n = static_cast<std::size_t>(n_);
  const auto width = static_cast<std::size_t>(count);
  buffer_.resize(n * width);
  // Rows are copied 64 at a time into a small tile and written out column by column, so both
  // the reads and the writes run along memory instead of striding by the row count.
  constexpr std::size_t kTile = 64;
  std::vector<char> tile(kTile * width);
  for (std::size_t r0 = 0; r0 < n; r0 += kTile) {
    const std::size_t rows = std::min(kTile, n - r0);
    for (std::size_t i = 0; i < rows; ++i) {
      const RowView& v = rows_[r0 + i];
      char* dst = tile.data() + i * width;
      if (v.letters == nullptr) {
        std::memset(dst, '!', width);
        continue;
      }
      // Letters cover columns shift + 1 .. shift + length; the rest reads as gaps.
      const long lo = std::clamp<long>(static_cast<long>(v.shift) + 1 - first, 0, count);
      const long hi =
          std::clamp<long>(static_cast<long>(v.shift) + v.length + 1 - first, lo, count);
      std::memset(dst, '-', static_cast<std::size_t>(lo));
      if (hi > lo)
        std::memcpy(dst + lo, v.letters + (first + lo - v.shift - 1),
                    static_cast<std::size_t>(hi - lo));
      std::memset(dst + hi, '-', static_cast<std::size_t>(count - hi));
    }
    // Whole 8 x 8 blocks move as words; the edges byte by byte.
    const std::size_t rows8 = rows & ~std::size_t{7}, width8 = width & ~std::size_t{7};
    for (std::size_t i0 = 0; i0 < rows8; i0 += 8)
      for (std::size_t j0 = 0; j0 < width8; j0 += 8) {
        std::uint64_t x[8];
        for (std::size_t k = 0; k < 8; ++k)
          std::memcpy(&x[k], tile.data() + (i0 + k) * width + j0, 8);
        Transpose8x8(x);
        for (std::size_t k = 0; k < 8; ++k)
          std::memcpy(buffer_.data() + (j0 + k) * n + r0 + i0, &x[k], 8);
      }
    for (std::size_t j = 0; j < width; ++j) {
      char* out = buffer_.data() + j * n + r0;
      for (std::size_t i = j < width8 ? rows8 : 0; i < rows; ++i) out[i] = tile[i * width + j];
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
    out[r] = v.letters == nullptr ? '!' : (pos >= 1 && pos <= v.length) ? v.letters[pos - 1] : '-';
  }
}

int ColumnSlots::CountIn(int s, const samptype& mask) const {
  if (!((used >> s) & 1u)) return 0;
  const std::uint64_t* b = Slot(s);
  const std::uint64_t* m = mask.Words();
  int n = 0;
  for (int w = 0; w < words; ++w) n += PopCount64(b[w] & m[w]);
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

std::uint64_t* ColumnSlots::Words(int s) {
  std::uint8_t& b = block[static_cast<std::size_t>(s)];
  if (b == 0) {
    bits.resize(bits.size() + static_cast<std::size_t>(words), 0);
    b = static_cast<std::uint8_t>(bits.size() / static_cast<std::size_t>(words));
  }
  return bits.data() + static_cast<std::size_t>(b - 1) * words;
}

void ColumnSlots::Build(int columnNumber, const char* col, int n) {
  column = columnNumber;
  const int newWords = (n + 63) / 64;
  if (newWords != words) {
    words = newWords;
    bits.clear();
    block.fill(0);
    used = 0;
  }
  for (std::uint64_t u = used; u != 0; u &= u - 1)
    std::memset(Words(std::countr_zero(u)), 0,
                sizeof(std::uint64_t) * static_cast<std::size_t>(words));
  used = 0;
  for (int s = 0; s < kFixedCount; ++s) letter[static_cast<std::size_t>(s)] = kFixedLetters[s];
  std::array<std::uint8_t, 256> dynamic{};  // letter -> slot + 1 for letters without a fixed slot
  int nextDynamic = kFixedCount;
  std::array<std::uint64_t, kMaxSlots> acc{};
  for (int w = 0; w < words; ++w) {
    const int base = w * 64;
    const int end = std::min(64, n - base);
    std::uint64_t rest = end == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << end) - 1;
    std::uint64_t touched = 0;
    // Most of 64 rows hold one letter at a column: the rows holding the first row's letter are
    // found at once, and only the others one by one.
    if (end == 64) {
      const auto c = static_cast<unsigned char>(col[base]);
      const std::uint8_t s = kSlots.slot[c];
      if (s < kFixedCount) {
        const std::uint64_t same = Matches64(col + base, c);
        acc[s] = same;
        touched = std::uint64_t{1} << s;
        rest &= ~same;
      }
    }
    for (; rest != 0; rest &= rest - 1) {
      const int i = std::countr_zero(rest);
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
      Words(s)[w] = acc[static_cast<std::size_t>(s)];
      acc[static_cast<std::size_t>(s)] = 0;
    }
  }
}
