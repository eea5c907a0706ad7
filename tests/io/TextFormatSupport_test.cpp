// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers of the text format tests (kept in a _test file so the test target picks it up).
#include "io/TextFormatSupport.h"

#include <fstream>
#include <sstream>

std::string ReadTestFile(const std::string& name) {
  std::ifstream in(std::string(NODRIX_TEST_DATA) + "/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string WithCrLf(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}
