// SPDX-License-Identifier: GPL-3.0-or-later
// Picking trees out of texts and files for the tree table.
#include "trees/TreeTexts.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr std::size_t npos = std::string_view::npos;

// End (one past) of the quoted label opening at i; npos when it never closes.
std::size_t QuoteEnd(std::string_view s, std::size_t i) {
  for (std::size_t j = i + 1; j < s.size(); ++j)
    if (s[j] == '\'') {
      if (j + 1 < s.size() && s[j + 1] == '\'') {
        ++j;
        continue;
      }
      return j + 1;
    }
  return npos;
}

// A "[" opens a comment when no comma stands before its matching "]". commentEnd receives
// one past that "]" (npos when it never closes).
bool IsComment(std::string_view s, std::size_t i, std::size_t& commentEnd) {
  int level = 0;
  for (std::size_t j = i; j < s.size(); ++j) {
    if (s[j] == ',') return false;
    if (s[j] == '[') ++level;
    if (s[j] == ']' && --level == 0) {
      commentEnd = j + 1;
      return true;
    }
  }
  commentEnd = npos;
  return true;
}

std::string Trim(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return std::string(s.substr(b, e - b));
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(s[i])) !=
        std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  return true;
}

}  // namespace

std::optional<std::string> ExtractTree(std::string_view text) {
  std::size_t start = npos, firstCurly = npos, firstSquare = npos;
  for (std::size_t i = 0; i < text.size() && start == npos;) {
    const char c = text[i];
    std::size_t end = 0;
    if (c == '\'') {
      end = QuoteEnd(text, i);
      if (end == npos) return std::nullopt;
      i = end;
    } else if (c == '[' && IsComment(text, i, end)) {
      if (end == npos) return std::nullopt;
      i = end;
    } else {
      if (c == '[' && firstSquare == npos) firstSquare = i;
      if (c == '{' && firstCurly == npos) firstCurly = i;
      if (c == '(') start = i;
      ++i;
    }
  }
  if (start == npos) return std::nullopt;
  start = std::min({start, firstCurly, firstSquare});
  std::string out;
  int opens = 0, closes = 0;
  for (std::size_t i = start; i < text.size();) {
    const char c = text[i];
    std::size_t end = 0;
    if (c == '\'') {
      end = QuoteEnd(text, i);
      if (end == npos) return std::nullopt;
      out.append(text.substr(i, end - i));
      i = end;
      continue;
    }
    if (c == '[' && IsComment(text, i, end)) {
      if (end == npos) return std::nullopt;
      out.append(text.substr(i, end - i));
      i = end;
      continue;
    }
    if (c == ';') {
      out += ';';
      if (opens > 0 && opens == closes) return out;
      return std::nullopt;
    }
    const char converted = (c == '{' || c == '[') ? '(' : (c == '}' || c == ']') ? ')' : c;
    opens += converted == '(' ? 1 : 0;
    closes += converted == ')' ? 1 : 0;
    out += converted;
    ++i;
  }
  return std::nullopt;
}

std::vector<NamedTree> SplitTreeFile(std::string_view text) {
  std::string joined;
  joined.reserve(text.size());
  for (const char c : text)
    if (c != '\r' && c != '\n' && c != '\x1a') joined += c;
  std::vector<std::string> pieces;
  std::size_t from = 0;
  for (std::size_t i = 0; i < joined.size();) {
    std::size_t end = 0;
    if (joined[i] == '\'' && (end = QuoteEnd(joined, i)) != npos) {
      i = end;
    } else if (joined[i] == '[' && IsComment(joined, i, end) && end != npos) {
      i = end;
    } else if (joined[i] == ';') {
      pieces.push_back(joined.substr(from, i + 1 - from));
      from = ++i;
    } else {
      ++i;
    }
  }
  // Blanks after the last ";" are no tree; a row for them would grow with every save.
  if (from < joined.size() && !Trim(std::string_view(joined).substr(from)).empty())
    pieces.push_back(joined.substr(from));
  std::vector<NamedTree> out;
  for (const std::string& piece : pieces) {
    std::size_t cut = piece.find('(');
    if (cut == npos) cut = piece.find('[');
    if (cut == npos) cut = piece.find('{');
    if (cut == npos)
      out.push_back({Trim(piece), ""});
    else
      out.push_back({Trim(std::string_view(piece).substr(0, cut)), piece.substr(cut)});
  }
  return out;
}

std::vector<NamedTree> ReadTreeFile(std::string_view text, IMessages* messages) {
  std::size_t b = 0;
  while (b < text.size() && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
  const std::string_view body = text.substr(b);
  if (StartsWithNoCase(body, "#NEXUS")) return ReadNexusTrees(body, messages);
  if (StartsWithNoCase(body, "#PAG")) {
    std::optional<TTree> tree = ReadPag(body, messages);
    if (!tree) return {};
    return {{"PAG", tree->WriteBrackets(false)}};
  }
  return SplitTreeFile(text);
}
