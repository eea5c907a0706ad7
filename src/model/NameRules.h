// SPDX-License-Identifier: GPL-3.0-or-later
// Naming rules shared by sequences, datasets, groups and individuals: the lookup form of a
// name and the "~k" suffix that makes a name unique within its list.
#pragma once
#include <string>
#include <string_view>

// The lookup form of a name: upper-cased and cut before its first space.
std::string NameLookupKey(std::string_view name);

// The name itself when free, else name + "~" + k for the first free k = 1, 2, ... The count
// goes on past any fixed bound: a list of n names always leaves one of k = 1..n+1 free, so the
// search ends and never hands back a taken name.
template <typename Taken>
std::string MakeUniqueName(const std::string& name, Taken taken) {
  if (!taken(name)) return name;
  for (long long k = 1;; ++k) {
    std::string candidate = name + "~" + std::to_string(k);
    if (!taken(candidate)) return candidate;
  }
}
