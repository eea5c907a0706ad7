// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the built nodrix3-cli as a script would: exit status, stdout, stderr.
#pragma once
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "IoTestFiles.h"

struct CliRun {
  int status = -1;
  std::string out, err;
};

// A shell command's standard output; status (when given) gets its exit status.
inline std::string ShellOutput(const std::string& command, int* status = nullptr) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  const int raw = ::pclose(pipe);
  if (status != nullptr) *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return out;
}

// cwd: the folder the program runs in (empty: the test's own).
inline CliRun Cli(const std::string& args, const TestFolder& dir, const std::string& cwd = {}) {
  const std::string errFile = dir.File("stderr.txt");
  CliRun r;
  r.out = ShellOutput((cwd.empty() ? "" : "cd '" + cwd + "' && ") +
                          std::string(NODRIX_BINARY_DIR) + "/nodrix3-cli " + args + " 2>" + errFile,
                      &r.status);
  r.err = TestFolder::Read(errFile);
  return r;
}
