// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/OutputFolder.h"

#include <filesystem>

std::string BesideFile(const std::string& path, const std::string& name) {
  return OutputPath(std::filesystem::path(path).parent_path().string(), name);
}

std::string OutputPath(const std::string& folder, const std::string& name) {
  const std::filesystem::path n(name);
  if (folder.empty() || n.is_absolute() || n.has_parent_path()) return name;
  return (std::filesystem::path(folder) / n).string();
}
