// SPDX-License-Identifier: GPL-3.0-or-later
// samptype: a set of dataset sequences as bits, 64 sequences per word. Bit k stands for row
// k + 1 of the dataset. Carrier sets and sample masks share it, so counts are popcounts.
#pragma once
#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

class samptype {
 public:
  samptype() = default;
  explicit samptype(int size) { Resize(size); }

  void Resize(int size) {
    size_ = size < 0 ? 0 : size;
    words_.assign(static_cast<std::size_t>((size_ + 63) / 64), 0);
  }
  [[nodiscard]] int Size() const { return size_; }
  [[nodiscard]] int WordCount() const { return static_cast<int>(words_.size()); }
  [[nodiscard]] bool Test(int k) const {
    return k >= 0 && k < size_ && ((words_[static_cast<std::size_t>(k >> 6)] >> (k & 63)) & 1u);
  }
  void Set(int k, bool on = true) {
    if (k < 0 || k >= size_) return;
    const std::uint64_t bit = std::uint64_t{1} << (k & 63);
    if (on)
      words_[static_cast<std::size_t>(k >> 6)] |= bit;
    else
      words_[static_cast<std::size_t>(k >> 6)] &= ~bit;
  }
  void Clear() { std::fill(words_.begin(), words_.end(), 0); }
  [[nodiscard]] int Count() const {
    int n = 0;
    for (std::uint64_t w : words_) n += std::popcount(w);
    return n;
  }
  // Members shared with other; 0 when the sizes differ.
  [[nodiscard]] int CountAnd(const samptype& other) const {
    if (other.size_ != size_) return 0;
    int n = 0;
    for (std::size_t i = 0; i < words_.size(); ++i) n += std::popcount(words_[i] & other.words_[i]);
    return n;
  }
  // Index of the first member, -1 when empty.
  [[nodiscard]] int First() const {
    for (std::size_t i = 0; i < words_.size(); ++i)
      if (words_[i] != 0) return static_cast<int>(i * 64) + std::countr_zero(words_[i]);
    return -1;
  }
  [[nodiscard]] bool Any() const {
    for (std::uint64_t w : words_)
      if (w != 0) return true;
    return false;
  }
  [[nodiscard]] const std::uint64_t* Words() const { return words_.data(); }
  std::uint64_t* Words() { return words_.data(); }
  bool operator==(const samptype&) const = default;

 private:
  std::vector<std::uint64_t> words_;
  int size_ = 0;
};
