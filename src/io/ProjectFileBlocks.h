// SPDX-License-Identifier: GPL-3.0-or-later
// Readers of the project file's project-level blocks (groups, individuals, the old GROUPING
// block, the grid settings, the genetic code). Each reads the bytes of one top-level block, adds what it reads
// whole to the project, and appends a line per damaged part to problems.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "io/ByteCursor.h"
#include "io/ProjectFile.h"

namespace projfile {

void ReadGroupsBlock(const ByteCursor& block, TDataProj& project,
                     std::vector<std::string>& problems);
void ReadIndividsBlock(const ByteCursor& block, TDataProj& project,
                       std::vector<std::string>& problems);
// A GROUPING block at `at` of the bytes (top level or inside a DATA_SEQ); positions in its
// table count from `base`.
void ReadGroupingBlock(const ByteCursor& bytes, std::uint64_t at, std::uint64_t base,
                       TDataProj& project, std::vector<std::string>& problems);
void ReadGridBlock(const ByteCursor& block, GridFileSettings& grid);
// The GENCODE_ text "number,letters,name"; a text of another shape is passed over.
void ReadCodeBlock(std::string_view text, GridFileSettings& grid);

}  // namespace projfile
