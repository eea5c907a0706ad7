// SPDX-License-Identifier: GPL-3.0-or-later
// NEXUS tokeniser.
#include "io/NexusTokens.h"

namespace {
bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 26;
}
bool IsPunct(char c) {
  return c == ';' || c == '=' || c == ',';
}
}  // namespace

NexusTokens TokeniseNexus(std::string_view text) {
  NexusTokens out;
  int line = 1;
  int lastTokenLine = 0;
  std::size_t i = 0;
  const std::size_t n = text.size();
  auto push = [&](std::string word, int at, bool quoted) {
    out.tokens.push_back({std::move(word), at, at != lastTokenLine, quoted});
    lastTokenLine = at;
  };
  while (i < n) {
    const char c = text[i];
    if (c == '\n') {
      ++line;
      ++i;
    } else if (IsSpace(c)) {
      ++i;
    } else if (c == '[') {
      const int start = line;
      int depth = 0;
      for (; i < n; ++i) {
        if (text[i] == '\n') ++line;
        if (text[i] == '[') ++depth;
        if (text[i] == ']' && --depth == 0) break;
      }
      if (i >= n)
        out.unclosedCommentLine = start;
      else
        ++i;
    } else if (c == ']') {
      ++i;  // a stray closing bracket carries nothing
    } else if (IsPunct(c)) {
      push(std::string(1, c), line, false);
      ++i;
    } else if (c == '\'') {
      const int start = line;
      std::string word;
      ++i;
      bool closed = false;
      while (i < n) {
        if (text[i] == '\'') {
          if (i + 1 < n && text[i + 1] == '\'') {
            word += '\'';
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        if (text[i] == '\n') ++line;
        if (text[i] != '\r' && text[i] != 26) word += text[i];
        ++i;
      }
      if (!closed) out.unclosedQuoteLine = start;
      push(std::move(word), start, true);
    } else {
      const std::size_t start = i;
      while (i < n && !IsSpace(text[i]) && !IsPunct(text[i]) && text[i] != '[' && text[i] != '\'')
        ++i;
      push(std::string(text.substr(start, i - start)), line, false);
    }
  }
  return out;
}

std::string NexusNameKey(std::string_view name) {
  std::string key(name);
  for (char& c : key) {
    if (c == '_')
      c = ' ';
    else if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
  }
  return key;
}
