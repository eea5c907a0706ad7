// SPDX-License-Identifier: GPL-3.0-or-later
// File masks and folder listing.
#include "common/FileMask.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace {
char Lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Iterative match with one backtrack point: linear in practice, never exponential on masks
// with many stars.
bool MatchOne(std::string_view name, std::string_view mask) {
  std::size_t n = 0, m = 0, starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() &&
        (mask[m] == '?' || (mask[m] != '*' && Lower(mask[m]) == Lower(name[n])))) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}
}  // namespace

bool MatchesFileMask(std::string_view name, std::string_view mask) {
  std::size_t start = 0;
  while (start <= mask.size()) {
    const std::size_t end = std::min(mask.find(';', start), mask.size());
    std::string_view one = mask.substr(start, end - start);
    while (!one.empty() && one.front() == ' ') one.remove_prefix(1);
    while (!one.empty() && one.back() == ' ') one.remove_suffix(1);
    if (!one.empty() && MatchOne(name, one)) return true;
    start = end + 1;
  }
  return false;
}

std::vector<std::string> FilesMatching(const std::string& folder, std::string_view mask) {
  std::vector<std::string> files;
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  if (error) return files;
  for (const auto& entry : it) {
    std::error_code typeError;
    if (!entry.is_regular_file(typeError)) continue;
    const std::string name = entry.path().filename().string();
    if (MatchesFileMask(name, mask)) files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string WithTrailingSeparator(std::string folder) {
  const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
  if (folder.empty() || (folder.back() != '/' && folder.back() != separator))
    folder.push_back(separator);
  return folder;
}
