// SPDX-License-Identifier: GPL-3.0-or-later
// FirstIndexMap: a hash lookup from a key to the first list index holding it, kept current as
// items are added, renamed or removed, so no lookup needs a rebuild of the whole index.
#pragma once
#include <unordered_map>

template <typename Key>
class FirstIndexMap {
 public:
  void Clear() { map_.clear(); }
  void Reserve(std::size_t n) { map_.reserve(n); }
  [[nodiscard]] bool Contains(const Key& key) const { return map_.count(key) != 0; }
  [[nodiscard]] int Find(const Key& key) const {  // -1 when absent
    auto it = map_.find(key);
    return it == map_.end() ? -1 : it->second.index;
  }
  void Add(const Key& key, int index) {
    auto [it, inserted] = map_.try_emplace(key, Entry{index, 0});
    if (!inserted && index < it->second.index) it->second.index = index;
    ++it->second.count;
  }
  // holds(i) tells whether item i still carries the key; used to find the next holder when
  // the first one leaves. Call before the item changes.
  template <typename Holds>
  void Remove(const Key& key, int index, int size, Holds holds) {
    auto it = map_.find(key);
    if (it == map_.end()) return;
    if (--it->second.count <= 0) {
      map_.erase(it);
      return;
    }
    if (it->second.index != index) return;
    for (int i = index + 1; i < size; ++i)
      if (holds(i)) {
        it->second.index = i;
        return;
      }
    map_.erase(it);
  }

 private:
  struct Entry {
    int index = 0;
    int count = 0;
  };
  std::unordered_map<Key, Entry> map_;
};
