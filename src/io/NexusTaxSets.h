// SPDX-License-Identifier: GPL-3.0-or-later
// The members of a NEXUS TAXSET: the items after '=' resolved to taxon numbers.
#pragma once
#include <string>
#include <unordered_map>
#include <vector>

#include "io/NexusTokens.h"

struct TaxSetMembers {
  std::vector<int> members;          // 1-based taxon numbers, in the order written
  std::vector<std::string> unknown;  // items that name no taxon, set or number
};

// Items may be taxon numbers, taxon names (quoted or not, compared as NEXUS names are), ranges
// "a-b" between numbers or names (b may be '.', the last taxon) with an optional step "\k",
// and names of sets defined earlier, mixed freely and written with or without blanks around
// '-' and '\'.
// A bare number is a taxon number, as NEXUS has it, even when a taxon bears it as name.
// earlierSets is keyed by NexusNameKey of the set name.
TaxSetMembers ResolveTaxSet(const std::vector<const NexusToken*>& items,
                            const std::vector<std::string>& taxonNames,
                            const std::unordered_map<std::string, std::vector<int>>& earlierSets);
