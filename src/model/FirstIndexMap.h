// SPDX-License-Identifier: GPL-3.0-or-later
// FirstIndexMap: a hash lookup from a key to the first list index holding it, kept current as
// items are added, renamed or removed, so no lookup needs a rebuild of the whole index.
//
// A project may hold one individual per sequence, tens of thousands of them, each in three of
// these maps; a node per key (the key's string, its hash, a link) cost about as much as the
// individuals themselves. Keys therefore sit in one open-addressed array of small slots, text
// keys in a shared byte store the slot points into.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

template <typename Key>
class FirstIndexMap {
  static constexpr bool kText = std::is_same_v<Key, std::string>;
  static_assert(kText || std::is_same_v<Key, std::int32_t>, "text or 32-bit integer keys");

 public:
  // Keeps the slots, as a rebuild fills the map to about the same size again.
  void Clear() {
    std::fill(slots_.begin(), slots_.end(), Slot{});
    store_.clear();
    used_ = 0;
    storeGarbage_ = 0;
  }
  void Reserve(std::size_t n) {
    if (SlotsFor(n) > slots_.size()) Rehash(SlotsFor(n));
  }
  [[nodiscard]] bool Contains(const Key& key) const { return Find(key) >= 0; }
  [[nodiscard]] int Find(const Key& key) const {  // -1 when absent
    const std::size_t at = Locate(key, HashOf(key));
    return at == kNone ? -1 : slots_[at].index;
  }
  void Add(const Key& key, int index) {
    const std::uint32_t hash = HashOf(key);
    if (const std::size_t at = Locate(key, hash); at != kNone) {
      Slot& s = slots_[at];
      if (index < s.index) s.index = index;
      ++s.count;
      return;
    }
    if (SlotsFor(used_ + 1) > slots_.size()) Rehash(SlotsFor(2 * used_ + 8));
    Slot s{hash, index, 1, Store(key)};
    for (std::size_t at = Home(hash);; at = Next(at))
      if (slots_[at].count == 0) {
        slots_[at] = s;
        break;
      }
    ++used_;
  }
  // holds(i) tells whether item i still carries the key; used to find the next holder when
  // the first one leaves. Call before the item changes.
  template <typename Holds>
  void Remove(const Key& key, int index, int size, Holds holds) {
    const std::size_t at = Locate(key, HashOf(key));
    if (at == kNone) return;
    Slot& s = slots_[at];
    if (--s.count <= 0) {
      Erase(at);
      return;
    }
    if (s.index != index) return;
    for (int i = index + 1; i < size; ++i)
      if (holds(i)) {
        s.index = i;
        return;
      }
    Erase(at);
  }

 private:
  struct Slot {
    std::uint32_t hash = 0;
    std::int32_t index = 0;
    std::int32_t count = 0;  // 0: the slot is free
    std::uint32_t key = 0;   // the key itself, or where a text key starts in store_
  };
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  // Room for n keys with a quarter of the slots free, so probe runs stay short.
  static std::size_t SlotsFor(std::size_t n) { return n == 0 ? 0 : n + n / 3 + 1; }

  static std::uint32_t HashOf(const Key& key) {
    std::uint64_t h;
    if constexpr (kText)
      h = std::hash<std::string_view>{}(key);
    else
      h = static_cast<std::uint32_t>(key) * 0x9E3779B97F4A7C15ull;
    return static_cast<std::uint32_t>(h ^ (h >> 32));
  }
  // Slot a hash starts probing at: the hash scaled to the table's size.
  [[nodiscard]] std::size_t Home(std::uint32_t hash) const {
    return static_cast<std::size_t>((std::uint64_t{hash} * slots_.size()) >> 32);
  }
  [[nodiscard]] std::size_t Next(std::size_t at) const {
    return at + 1 == slots_.size() ? 0 : at + 1;
  }

  [[nodiscard]] std::string_view TextAt(std::uint32_t offset) const {
    std::uint32_t length;
    std::memcpy(&length, store_.data() + offset, sizeof length);
    return {store_.data() + offset + sizeof length, length};
  }
  [[nodiscard]] bool SameKey(const Slot& s, const Key& key) const {
    if constexpr (kText)
      return TextAt(s.key) == key;
    else
      return static_cast<std::int32_t>(s.key) == key;
  }
  std::uint32_t Store(const Key& key) {
    if constexpr (kText) {
      return StoreText(key);
    } else {
      return static_cast<std::uint32_t>(key);
    }
  }
  std::uint32_t StoreText(std::string_view text) {
    const auto offset = static_cast<std::uint32_t>(store_.size());
    const auto length = static_cast<std::uint32_t>(text.size());
    store_.resize(store_.size() + sizeof length + text.size());
    std::memcpy(store_.data() + offset, &length, sizeof length);
    if (!text.empty())
      std::memcpy(store_.data() + offset + sizeof length, text.data(), text.size());
    return offset;
  }

  [[nodiscard]] std::size_t Locate(const Key& key, std::uint32_t hash) const {
    if (used_ == 0) return kNone;
    for (std::size_t at = Home(hash);; at = Next(at)) {
      const Slot& s = slots_[at];
      if (s.count == 0) return kNone;
      if (s.hash == hash && SameKey(s, key)) return at;
    }
  }

  // Frees a slot and moves later slots of the probe run back into it, so lookups never meet a
  // gap inside a run.
  void Erase(std::size_t hole) {
    if constexpr (kText) storeGarbage_ += sizeof(std::uint32_t) + TextAt(slots_[hole].key).size();
    slots_[hole] = Slot{};
    --used_;
    for (std::size_t at = Next(hole); slots_[at].count != 0; at = Next(at)) {
      const std::size_t home = Home(slots_[at].hash);
      // The slot may move back when its home does not lie in the cyclic range (hole, at].
      const bool homeBetween =
          hole <= at ? (home > hole && home <= at) : (home > hole || home <= at);
      if (homeBetween) continue;
      slots_[hole] = slots_[at];
      slots_[at] = Slot{};
      hole = at;
    }
    // Keys left behind by renames and removals are dropped once they outweigh the live ones.
    if constexpr (kText)
      if (storeGarbage_ > 4096 && storeGarbage_ * 2 > store_.size()) Rehash(slots_.size());
  }

  void Rehash(std::size_t count) {
    std::vector<Slot> old(count);
    old.swap(slots_);
    std::vector<char> oldStore;
    if constexpr (kText) {
      oldStore.swap(store_);
      store_.reserve(oldStore.size() - storeGarbage_);
      storeGarbage_ = 0;
    }
    for (Slot s : old) {
      if (s.count == 0) continue;
      if constexpr (kText) {
        std::uint32_t length;
        std::memcpy(&length, oldStore.data() + s.key, sizeof length);
        s.key = StoreText({oldStore.data() + s.key + sizeof length, length});
      }
      std::size_t at = Home(s.hash);
      while (slots_[at].count != 0) at = Next(at);
      slots_[at] = s;
    }
  }

  std::vector<Slot> slots_;
  std::vector<char> store_;  // text keys: a 32-bit length, then the bytes
  std::size_t used_ = 0;
  std::size_t storeGarbage_ = 0;
};
