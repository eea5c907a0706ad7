// SPDX-License-Identifier: GPL-3.0-or-later
// Reading group assignments from "sequence,group" lines.
#include "io/GroupsFile.h"

#include <unordered_map>
#include <unordered_set>

#include "model/DataProjUnit.h"

std::vector<std::pair<std::string, std::string>> ParseGroupsText(std::string_view text) {
  std::vector<std::pair<std::string, std::string>> pairs;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == 26)) line.remove_suffix(1);
    const auto sep = line.find_first_of(",\t");
    if (sep == std::string_view::npos || sep == 0 || sep + 1 >= line.size()) continue;
    pairs.emplace_back(std::string(line.substr(0, sep)), std::string(line.substr(sep + 1)));
  }
  return pairs;
}

GroupImport ImportGroups(TDataProj& project, std::string_view text) {
  GroupImport result;
  // One group per name: a later line naming the same sequence replaces the earlier one.
  std::vector<std::pair<std::string, std::string>> pairs;
  std::unordered_map<std::string, std::size_t> byName;
  for (auto& [seq, group] : ParseGroupsText(text)) {
    if (const auto it = byName.find(seq); it != byName.end()) {
      pairs[it->second].second = std::move(group);
      continue;
    }
    byName.emplace(seq, pairs.size());
    pairs.emplace_back(std::move(seq), std::move(group));
  }
  std::unordered_map<std::string, std::size_t> groupSlot;
  for (const auto& [seq, group] : pairs) {
    if (groupSlot.try_emplace(group, result.joined.size()).second)
      result.joined.emplace_back(group, 0);
    if (project.GroupIndexByName(group) < 0) {
      TGroup g;
      g.grpName = group;
      project.AddGroup(g);
    }
  }
  std::unordered_set<std::string> matched;
  std::vector<std::string_view> names;
  names.reserve(pairs.size());
  for (const auto& pair : pairs) names.push_back(pair.first);
  for (int d = 0; d < project.DatasetCount(); ++d) {
    const std::vector<int> rows = project.DatasetAt(d)->RowsByName(names);
    for (std::size_t k = 0; k < pairs.size(); ++k)
      if (rows[k] >= 1) {
        ++result.joined[groupSlot[pairs[k].second]].second;
        matched.insert(pairs[k].first);
      }
    // All pairs at once: one visit of the project's rows per dataset, not one per line.
    project.AssignSeqsToGroups(d, pairs, &rows);
  }
  for (const auto& [seq, group] : pairs)
    if (!matched.contains(seq)) result.unmatched.push_back(seq);
  return result;
}

std::string GroupImportNotice(const GroupImport& r) {
  std::string text;
  for (const auto& [group, count] : r.joined)
    text += std::to_string(count) + (count == 1 ? " sequence" : " sequences") + " joined " + group +
            "\r\n";
  if (r.joined.empty()) text += "The file names no groups (lines \"sequence,group\")\r\n";
  if (!r.unmatched.empty()) {
    text += std::to_string(r.unmatched.size()) +
            (r.unmatched.size() == 1 ? " name matches" : " names match") + " no sequence:";
    for (std::size_t k = 0; k < r.unmatched.size() && k < 10; ++k)
      text += (k == 0 ? " " : ", ") + r.unmatched[k];
    if (r.unmatched.size() > 10) text += ", ...";
    text += "\r\n";
  }
  return text;
}
