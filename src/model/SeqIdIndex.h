// SPDX-License-Identifier: GPL-3.0-or-later
// SeqIdIndex: sequence id -> row of a dataset (and individual key -> index in the project's
// list). Ids are handed out one after the other, so most of them index a plain list (4 bytes a
// row instead of a hash node of about 40); ids far beyond the rows, as files may carry, go to a
// hash map.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

class SeqIdIndex {
 public:
  [[nodiscard]] bool Contains(std::int32_t id) const { return Find(id) >= 0; }
  // The row stored for id, -1 when there is none.
  [[nodiscard]] int Find(std::int32_t id) const {
    if (InList(id)) return list_[static_cast<std::size_t>(id)];
    const auto it = far_.find(id);
    return it == far_.end() ? -1 : it->second;
  }
  // Keeps the row already stored for id, as try_emplace does.
  void Add(std::int32_t id, int row) {
    if (!InList(id) && id >= 0 && id < Reach(count_ + 1)) Widen(id);
    if (InList(id)) {
      int& r = list_[static_cast<std::size_t>(id)];
      if (r < 0) {
        r = row;
        ++count_;
      }
      return;
    }
    if (far_.try_emplace(id, row).second) ++count_;
  }
  // Drops id only while it still points at row.
  void Remove(std::int32_t id, int row) {
    if (InList(id)) {
      int& r = list_[static_cast<std::size_t>(id)];
      if (r == row) {
        r = -1;
        --count_;
      }
      return;
    }
    const auto it = far_.find(id);
    if (it != far_.end() && it->second == row) {
      far_.erase(it);
      --count_;
    }
  }
  void Clear() {
    list_.clear();
    far_.clear();
    count_ = 0;
  }
  void Reserve(std::size_t rows) { list_.reserve(std::min(rows + 1, kMostReserved)); }
  // Applies f to every stored row (row numbers change together when rows go).
  template <typename F>
  void ForEachRow(F f) {
    for (int& r : list_)
      if (r >= 0) r = f(r);
    for (auto& [id, r] : far_) r = f(r);
  }

 private:
  static constexpr std::size_t kMostReserved = std::size_t{1} << 24;
  [[nodiscard]] bool InList(std::int32_t id) const {
    return id >= 0 && static_cast<std::size_t>(id) < list_.size();
  }
  // Ids below this many places stay in the list: a list at most four times the entries (and
  // never less than 1,024), so scattered ids cannot make it large.
  [[nodiscard]] static std::int32_t Reach(std::size_t entries) {
    return static_cast<std::int32_t>(std::min<std::size_t>(4 * entries + 1024, INT32_MAX));
  }
  // Grows the list to hold id (doubling, within the reach) and moves over the ids of the map
  // that now fall inside it.
  void Widen(std::int32_t id) {
    const std::size_t size = std::max<std::size_t>(
        static_cast<std::size_t>(id) + 1,
        std::min<std::size_t>(2 * list_.size(), static_cast<std::size_t>(Reach(count_ + 1))));
    list_.resize(size, -1);
    for (auto it = far_.begin(); it != far_.end();) {
      if (InList(it->first)) {
        list_[static_cast<std::size_t>(it->first)] = it->second;
        it = far_.erase(it);
      } else {
        ++it;
      }
    }
  }
  std::vector<int> list_;  // row per id, -1 where none
  std::unordered_map<std::int32_t, int> far_;
  std::size_t count_ = 0;
};
