// SPDX-License-Identifier: GPL-3.0-or-later
// The stand-in aligner of the alignment tests: its path, its mode and its log of runs.
#pragma once
#include <cstdlib>
#include <string>
#include <vector>

#include "io/IoTestFiles.h"

inline std::string StandInAligner() {
  return std::string(NODRIX_BINARY_DIR) + "/standins/muscle_standin";
}

// Sets the stand-in's behaviour for the life of the object; its runs are logged in a folder.
class StandInScope {
 public:
  explicit StandInScope(const std::string& mode, const std::string& version = "5")
      : folder_("standin") {
    ::setenv("NODRIX_STANDIN_MODE", mode.c_str(), 1);
    ::setenv("NODRIX_STANDIN_VERSION", version.c_str(), 1);
    ::setenv("NODRIX_STANDIN_LOG", folder_.File("runs.log").c_str(), 1);
  }
  ~StandInScope() {
    ::unsetenv("NODRIX_STANDIN_MODE");
    ::unsetenv("NODRIX_STANDIN_VERSION");
    ::unsetenv("NODRIX_STANDIN_LOG");
  }
  StandInScope(const StandInScope&) = delete;
  StandInScope& operator=(const StandInScope&) = delete;

  // The argument lines of the alignment runs (the version question left out).
  [[nodiscard]] std::vector<std::string> Runs() const {
    std::vector<std::string> runs;
    for (const std::string& line : LogLines())
      if (!line.empty() && line[0] == '-' && line != "-version ") runs.push_back(line);
    return runs;
  }
  // The letters each run was given, in order.
  [[nodiscard]] std::vector<std::string> Inputs() const {
    std::vector<std::string> inputs;
    for (const std::string& line : LogLines())
      if (!line.empty() && line[0] != '>' && line[0] != '-') inputs.push_back(line);
    return inputs;
  }
  [[nodiscard]] const TestFolder& Folder() const { return folder_; }

 private:
  TestFolder folder_;
  [[nodiscard]] std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    const std::string text = TestFolder::Read(folder_.File("runs.log"));
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
      lines.push_back(text.substr(start, end - start));
    return lines;
  }
};
