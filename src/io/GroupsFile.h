// SPDX-License-Identifier: GPL-3.0-or-later
// Groups from a text file: lines "sequence,group" (or a tab between), the form the desktop
// program's "Import groups..." and nodrix3-cli's --groups read.
#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TDataProj;

struct GroupImport {
  // Each group the file assigns sequences to, in the order of the assignments, with the
  // number of sequences (over all datasets) that joined it.
  std::vector<std::pair<std::string, int>> joined;
  std::vector<std::string> unmatched;  // names that match no sequence of any dataset
};

// Pairs (sequence, group) of the lines; lines without a separator or with an empty name or
// group are skipped. CR LF and LF both end lines.
std::vector<std::pair<std::string, std::string>> ParseGroupsText(std::string_view text);

// Groups not yet in the project are added (one named "Outgroups" is the outgroup group every
// project has); every sequence named is assigned, in every dataset that has it, the later of
// two lines naming it winning.
GroupImport ImportGroups(TDataProj& project, std::string_view text);

// "n sequences joined G1, m joined G2" and the names that matched nothing (the first ten).
std::string GroupImportNotice(const GroupImport& result);
