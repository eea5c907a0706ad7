// SPDX-License-Identifier: GPL-3.0-or-later
// File name masks ("*.fasta", "read??.ab1") and the files of a folder that match one.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// '*' stands for any run of characters, '?' for one; letters compare without regard to case,
// as the masks users type come from systems whose file names ignore case. Several masks may be
// given separated by ';'.
bool MatchesFileMask(std::string_view name, std::string_view mask);

// Regular files directly in `folder` whose names match, as full paths sorted by name; empty
// when the folder cannot be read.
std::vector<std::string> FilesMatching(const std::string& folder, std::string_view mask);

// The folder with a separator at its end, as the names built from it expect.
std::string WithTrailingSeparator(std::string folder);
