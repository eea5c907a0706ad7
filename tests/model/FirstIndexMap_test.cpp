// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/FirstIndexMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

// Many names added and removed in a mixed order, with repeated names and renames, must give the
// lookups a plain ordered map of every holder gives.
TEST(FirstIndexMap, FollowsAddsRemovalsAndRepeatsAsAPlainMapWould) {
  FirstIndexMap<std::string> map;
  std::vector<std::string> items;  // item i carries items[i]; "" once it left
  std::map<std::string, std::vector<int>> holders;
  auto add = [&](const std::string& name) {
    items.push_back(name);
    map.Add(name, static_cast<int>(items.size()) - 1);
    holders[name].push_back(static_cast<int>(items.size()) - 1);
  };
  auto remove = [&](int i) {
    const std::string name = items[static_cast<std::size_t>(i)];
    map.Remove(name, i, static_cast<int>(items.size()),
               [&](int j) { return items[static_cast<std::size_t>(j)] == name; });
    items[static_cast<std::size_t>(i)].clear();
    auto& h = holders[name];
    h.erase(std::find(h.begin(), h.end(), i));
  };
  for (int i = 0; i < 5000; ++i) add("s" + std::to_string(i % 3700));  // 1,300 names twice
  add("");  // an empty name is a key like any other
  for (int i = 0; i < 5000; i += 3) remove(i);
  for (int i = 0; i < 2000; ++i) add("renamed" + std::to_string(i));
  for (int i = 5001; i < 7001; i += 2) remove(i);
  for (const auto& [name, h] : holders)
    EXPECT_EQ(map.Find(name), h.empty() ? -1 : h.front()) << name;
  EXPECT_FALSE(map.Contains("s99999"));

  map.Clear();
  EXPECT_EQ(map.Find("s1"), -1);
  map.Add("s1", 4);
  map.Add("s1", 2);
  EXPECT_EQ(map.Find("s1"), 2);
}

TEST(FirstIndexMap, IntegerKeysIncludingNegativeOnesAfterAReserve) {
  FirstIndexMap<std::int32_t> map;
  map.Reserve(100);
  for (int k = -50; k < 3000; ++k) map.Add(k * 7, k + 50);
  for (int k = -50; k < 3000; k += 2) map.Remove(k * 7, k + 50, 3050, [](int) { return false; });
  EXPECT_EQ(map.Find(-49 * 7), 1);
  EXPECT_EQ(map.Find(-50 * 7), -1);
  EXPECT_EQ(map.Find(2999 * 7), 3049);
  EXPECT_FALSE(map.Contains(1));
}
