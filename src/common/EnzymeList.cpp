// SPDX-License-Identifier: GPL-3.0-or-later
// Reading RENZYM.txt.
#include "common/EnzymeList.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/Services.h"

namespace {
std::string_view NextLine(std::string_view text, std::size_t& pos) {
  const std::size_t end = text.find('\n', pos);
  std::string_view line =
      text.substr(pos, end == std::string_view::npos ? text.size() - pos : end - pos);
  pos = end == std::string_view::npos ? text.size() : end + 1;
  while (!line.empty() && (line.back() == '\r' || line.back() == '\x1a')) line.remove_suffix(1);
  return line;
}
}  // namespace

std::vector<renzyme> ParseEnzymeList(std::string_view text) {
  std::vector<renzyme> list;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::string_view line = NextLine(text, pos);
    const std::size_t first = line.find('/');
    if (first == std::string_view::npos) continue;
    const std::size_t second = line.find('/', first + 1);
    if (second == std::string_view::npos) continue;
    const std::string_view written = line.substr(first + 1, second - first - 1);
    renzyme enzyme;
    enzyme.name = std::string(line.substr(0, first));
    for (std::size_t i = 0; i < written.size(); ++i) {
      if (written[i] == '\'') {
        if (enzyme.cutOffset == 0) enzyme.cutOffset = static_cast<int>(i) + 1;
      } else if (written[i] != '\x1a') {
        enzyme.site.push_back(written[i]);
      }
    }
    if (enzyme.site.empty()) continue;
    list.push_back(std::move(enzyme));
  }
  return list;
}

std::vector<renzyme> LoadEnzymeList(const std::string& folder, IMessages& messages) {
  const std::filesystem::path path = std::filesystem::path(folder) / "RENZYM.txt";
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    messages.Notify("Cannot find file RENZYM.txt - no restriction enzyme analyses will be posible");
    return {};
  }
  std::ostringstream text;
  text << in.rdbuf();
  return ParseEnzymeList(text.str());
}
