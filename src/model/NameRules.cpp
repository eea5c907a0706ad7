// SPDX-License-Identifier: GPL-3.0-or-later
// The lookup form of names.
#include "model/NameRules.h"

std::string NameLookupKey(std::string_view name) {
  const std::size_t space = name.find(' ');
  if (space != std::string_view::npos) name = name.substr(0, space);
  std::string key(name);
  for (char& c : key)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return key;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}
