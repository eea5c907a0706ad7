// SPDX-License-Identifier: GPL-3.0-or-later
// A per-test temporary folder for the open and save tests.
#pragma once
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class TestFolder {
 public:
  explicit TestFolder(const std::string& name)
      : path_(std::filesystem::temp_directory_path() /
              ("nodrix_" + name + "_" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TestFolder() { std::filesystem::remove_all(path_); }
  [[nodiscard]] std::string File(const std::string& name) const { return (path_ / name).string(); }
  [[nodiscard]] std::string Path() const { return path_.string(); }
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(path_ / name, std::ios::binary);
    out << bytes;
    return File(name);
  }
  [[nodiscard]] static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

 private:
  std::filesystem::path path_;
};
