// SPDX-License-Identifier: GPL-3.0-or-later
// Shared text helpers of the text readers.
#include "io/TextHelpers.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {
bool IsSeparator(char c) {
  return c == '\t' || c == '\r' || c == '\n' || c == ' ' || c == ';' || c == '=';
}
}  // namespace

void TrimSeparators(std::string& s) {
  std::size_t first = 0;
  while (s.size() - first > 1 && IsSeparator(s[first])) ++first;
  std::size_t last = s.size();
  while (last - first > 1 && IsSeparator(s[last - 1])) --last;
  // Erase in place: letter strings can be hundreds of megabytes.
  s.erase(last);
  s.erase(0, first);
  if (s.size() == 1) {
    const char c = s[0];
    if (c == '\r' || c == '\n' || c == ' ' || c == ';' || c == '=') s.clear();
  }
}

std::string TrimmedSeparators(std::string_view s) {
  std::string out(s);
  TrimSeparators(out);
  return out;
}

std::string NextToken(std::string& s) {
  TrimSeparators(s);
  std::size_t end = 0;
  while (end < s.size() && !IsSeparator(s[end])) ++end;
  std::string token = s.substr(0, end);
  s.erase(0, std::min(s.size(), end + 1));
  TrimSeparators(s);
  return token;
}

void StripLineBreaks(std::string& s) {
  std::erase_if(s, [](char c) { return c == '\r' || c == '\n' || c == kEndOfFileMark; });
}

bool LooksLikeNucleotides(std::string_view line) {
  long long acgt = 0, other = 0;
  for (const char c : line) {
    switch (c) {
      case 'A':
      case 'C':
      case 'G':
      case 'T':
      case 'a':
      case 'c':
      case 'g':
      case 't':
        ++acgt;
        break;
      default:
        ++other;
    }
  }
  if (other == 0) return acgt > 0;
  return static_cast<double>(acgt) / static_cast<double>(other) > 4.0;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string UpperCase(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string FileNameOnly(std::string_view path) {
  const std::size_t cut = path.find_last_of("\\/");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string PathWithoutExtension(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  return std::string(dot == std::string_view::npos ? path : path.substr(0, dot));
}

std::optional<int> ParseInt(std::string_view text) {
  if (text.empty()) return std::nullopt;
  if (text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::vector<std::string_view> SplitWords(std::string_view s) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    std::size_t j = i;
    while (j < s.size() && s[j] != ' ' && s[j] != '\t') ++j;
    if (j > i) words.push_back(s.substr(i, j - i));
    i = j;
  }
  return words;
}

bool LineReader::Next(std::string_view& line) {
  if (pos_ >= text_.size()) return false;
  const char* begin = text_.data() + pos_;
  const std::size_t left = text_.size() - pos_;
  const void* lf = std::memchr(begin, '\n', left);
  const std::size_t len =
      lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - begin) : left;
  pos_ += lf ? len + 1 : len;
  ++lineNumber_;
  line = std::string_view(begin, len);
  if (line.find(kEndOfFileMark) != std::string_view::npos) {
    scratch_.assign(line);
    std::erase(scratch_, kEndOfFileMark);
    line = scratch_;
  }
  while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return true;
}
