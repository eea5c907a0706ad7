// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the MUSCLE aligner. It takes MUSCLE 5's "-align IN -output OUT" (or, with
// NODRIX_STANDIN_VERSION=3, MUSCLE 3's "-in IN -out OUT" and nothing else) and answers at once
// with the sequences in reverse order, each padded with gaps at its end to the longest. With
// NODRIX_STANDIN_MODE it misbehaves instead:
//   fail      error text on stderr, exit code 1      none      exit 0, no output file
//   truncate  the output cut in the middle          drop      the last sequence left out
//   rename    the first sequence renamed            change    a letter of the first changed
//   sleep     waits until it is stopped             shift     a gap before every other sequence
// With NODRIX_STANDIN_LOG each run appends a line with its arguments to that file, followed by
// its input.
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v == nullptr ? std::string() : std::string(v);
}

std::vector<std::pair<std::string, std::string>> ReadFasta(const std::string& path) {
  std::vector<std::pair<std::string, std::string>> records;
  std::ifstream in(path, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '>')
      records.emplace_back(line.substr(1), std::string());
    else if (!records.empty())
      records.back().second += line;
  }
  return records;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const std::string mode = Env("NODRIX_STANDIN_MODE");
  const bool version3 = Env("NODRIX_STANDIN_VERSION") == "3";
  if (const std::string log = Env("NODRIX_STANDIN_LOG"); !log.empty()) {
    std::ofstream out(log, std::ios::app);
    for (const std::string& a : args) out << a << ' ';
    out << '\n';
  }
  if (args.size() == 1 && args[0] == "-version") {
    std::cout << (version3 ? "MUSCLE v3.8.31 stand-in\n" : "muscle 5.1 stand-in\n");
    return 0;
  }
  std::string in, out;
  for (std::size_t k = 0; k + 1 < args.size(); ++k) {
    if (args[k] == (version3 ? "-in" : "-align")) in = args[k + 1];
    if (args[k] == (version3 ? "-out" : "-output")) out = args[k + 1];
  }
  if (in.empty() || out.empty()) {
    std::cerr << "Invalid command line\n";
    return 1;
  }
  if (const std::string log = Env("NODRIX_STANDIN_LOG"); !log.empty()) {
    std::ifstream given(in, std::ios::binary);
    std::ofstream(log, std::ios::app) << given.rdbuf();
  }
  if (mode == "fail") {
    std::cerr << "stand-in failure: out of memory\n";
    return 1;
  }
  if (mode == "none") return 0;
  if (mode == "sleep")
    for (;;) std::this_thread::sleep_for(std::chrono::milliseconds(100));

  auto records = ReadFasta(in);
  if (records.empty()) return 1;
  if (mode == "shift")
    for (std::size_t k = 0; k < records.size(); k += 2) records[k].second.insert(0, "-");
  std::size_t longest = 0;
  for (const auto& r : records) longest = std::max(longest, r.second.size());
  for (auto& r : records) r.second.append(longest - r.second.size(), '-');
  if (mode == "drop") records.pop_back();
  if (mode == "rename") records.front().first = "renamed";
  if (mode == "change") {
    std::string& s = records.front().second;
    const std::size_t at = s.find_first_not_of('-');
    s[at] = s[at] == 'A' ? 'C' : 'A';
  }
  std::string text;
  for (auto it = records.rbegin(); it != records.rend(); ++it)
    text += ">" + it->first + "\n" + it->second + "\n";
  if (mode == "truncate") text.resize(text.size() / 2);
  std::ofstream(out, std::ios::binary) << text;
  return 0;
}
