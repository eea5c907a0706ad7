// SPDX-License-Identifier: GPL-3.0-or-later
// Naming rules shared by sequences, datasets, groups and individuals: the lookup form of a
// name and the "~k" suffix that makes a name unique within its list.
#pragma once
#include <string>
#include <string_view>
#include <unordered_map>

// The lookup form of a name: upper-cased and cut before its first space.
std::string NameLookupKey(std::string_view name);

// Byte-wise comparison with ASCII letters of either case equal.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

// The next k worth trying per base name. It stays valid only while names are added to the
// list; whoever removes or renames a name clears it.
using SuffixHints = std::unordered_map<std::string, long long>;

// The name itself when free, else name + "~" + k for the smallest free k = 1, 2, ... The count
// goes on past any fixed bound: a list of n names leaves one of k = 1..n+1 free, so the search
// ends and never hands back a taken name. With hints, many additions of one name stay linear.
template <typename Taken>
std::string MakeUniqueName(const std::string& name, Taken taken, SuffixHints* hints = nullptr) {
  if (!taken(name)) return name;
  long long k = 1;
  if (hints != nullptr) {
    auto it = hints->find(name);
    if (it != hints->end()) k = it->second;
  }
  for (;; ++k) {
    std::string candidate = name + "~" + std::to_string(k);
    if (!taken(candidate)) {
      if (hints != nullptr) (*hints)[name] = k + 1;
      return candidate;
    }
  }
}
