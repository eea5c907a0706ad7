// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers of the trace format tests: test data paths, temporary folders, program lookup.
#pragma once
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>
#include <string>

inline std::string TestData(const std::string& name) {
  return std::string(NODRIX_TEST_DATA) + "/" + name;
}

inline std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void Spit(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

inline bool HaveProgram(const char* name) {
  return !QStandardPaths::findExecutable(QString::fromLatin1(name)).isEmpty();
}
