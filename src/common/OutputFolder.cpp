// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/OutputFolder.h"

#include <filesystem>

std::string BesideFile(const std::string& path, const std::string& name) {
  return OutputPath(std::filesystem::path(path).parent_path().string(), name);
}

bool NeedsFolder(const std::string& name) {
  const std::filesystem::path n(name);
  return !n.is_absolute() && !n.has_parent_path();
}

std::string OutputPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || !NeedsFolder(name)) return name;
  return (std::filesystem::path(folder) / name).string();
}
