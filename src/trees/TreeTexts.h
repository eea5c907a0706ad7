// SPDX-License-Identifier: GPL-3.0-or-later
// Tree texts as a tree table holds them: picking the tree out of a text, splitting a tree
// file into named trees, and reading NEXUS trees blocks and "#PAG" parent lists.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "trees/TreeUnit.h"

struct IMessages;

struct NamedTree {
  std::string name;
  std::string text;  // bracket form
  bool operator==(const NamedTree&) const = default;
};

// The bracket tree held in text, from its first bracket to the first ";" after it, with
// "{" "}" and tree-forming "[" "]" turned into round brackets; nothing when there is no
// "(", no ";" after it, or the brackets do not balance. A "[...]" holding no comma is a
// comment, not a bracket, and is kept as it is.
std::optional<std::string> ExtractTree(std::string_view text);

// The trees of a file in any of the three forms: a NEXUS file ("#NEXUS") gives the trees of
// its trees blocks, a "#PAG" file its one tree, anything else one row per ";"-ended piece,
// split into name and tree text at the first bracket.
std::vector<NamedTree> ReadTreeFile(std::string_view text, IMessages* messages);

// The pieces of a bracket tree file, as the tree table takes them.
std::vector<NamedTree> SplitTreeFile(std::string_view text);

// The trees of every "begin trees;" block, leaf numbers replaced by their translate labels.
std::vector<NamedTree> ReadNexusTrees(std::string_view text, IMessages* messages);

// The tree of a "#PAG" parent list (as WritePag writes it); nothing when it is damaged, with
// the reason in messages.
std::optional<TTree> ReadPag(std::string_view text, IMessages* messages);
