// SPDX-License-Identifier: GPL-3.0-or-later
// Where files with fixed or default names go: every such name is joined to one output folder
// (the folder of the window's project file, or one the user picked), while a name that says
// where it goes (typed with a folder, or chosen in a file dialog) is kept.
#pragma once
#include <string>

// A file named `name` in the folder of `path` (the working folder when path names no folder).
std::string BesideFile(const std::string& path, const std::string& name);

// Whether name says no folder of its own (so that it goes to the output folder).
bool NeedsFolder(const std::string& name);

// name in folder, unless name is absolute or has a folder part of its own: then name as given.
// An empty folder leaves name as given (the process's working folder).
std::string OutputPath(const std::string& folder, const std::string& name);
