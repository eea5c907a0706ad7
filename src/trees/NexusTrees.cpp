// SPDX-License-Identifier: GPL-3.0-or-later
// Reading NEXUS trees blocks and "#PAG" parent lists. The NEXUS reader takes every
// "begin trees;" block with an optional translate table ("tree" and "utree" commands, "*"
// allowed before the name, [comments] anywhere, quoted labels with ''); other blocks and
// commands are skipped. The parent-list reader takes what WritePag writes.
#include <cctype>
#include <charconv>
#include <cmath>
#include <map>

#include "common/Services.h"
#include "trees/TreeTexts.h"

namespace {

class NexusLexer {
 public:
  explicit NexusLexer(std::string_view text) : s(text) {}
  std::size_t pos = 0;

  // Next word, quoted label or punctuation; false at the end of the text.
  bool Next(std::string& tok) {
    tok.clear();
    for (;;) {
      while (pos < s.size() && std::isspace(static_cast<unsigned char>(s[pos]))) ++pos;
      if (pos < s.size() && s[pos] == '[') {
        int level = 0;
        for (; pos < s.size(); ++pos) {
          if (s[pos] == '[') ++level;
          if (s[pos] == ']' && --level == 0) break;
        }
        if (pos < s.size()) ++pos;
        continue;
      }
      break;
    }
    if (pos >= s.size()) return false;
    const char c = s[pos];
    if (c == ';' || c == '=' || c == ',') {
      tok = c;
      ++pos;
      return true;
    }
    if (c == '\'') {
      for (++pos; pos < s.size(); ++pos) {
        if (s[pos] == '\'') {
          if (pos + 1 < s.size() && s[pos + 1] == '\'') {
            tok += '\'';
            ++pos;
            continue;
          }
          ++pos;
          break;
        }
        tok += s[pos];
      }
      quoted = true;
      return true;
    }
    quoted = false;
    while (pos < s.size() && !std::isspace(static_cast<unsigned char>(s[pos])) && s[pos] != ';' &&
           s[pos] != '=' && s[pos] != ',' && s[pos] != '[')
      tok += s[pos++];
    return true;
  }

  // The raw text up to and including the next ";" outside quotes and comments.
  std::string_view UpToSemicolon() {
    const std::size_t from = pos;
    int level = 0;
    bool inQuote = false;
    for (; pos < s.size(); ++pos) {
      const char c = s[pos];
      if (inQuote) {
        if (c == '\'') inQuote = false;  // a doubled quote reopens at once
      } else if (c == '\'' && level == 0) {
        inQuote = true;
      } else if (c == '[') {
        ++level;
      } else if (c == ']' && level > 0) {
        --level;
      } else if (c == ';' && level == 0) {
        ++pos;
        return s.substr(from, pos - from);
      }
    }
    return s.substr(from);
  }

  void SkipCommand() { UpToSemicolon(); }

 private:
  std::string_view s;
  bool quoted = false;
};

bool Is(const std::string& tok, std::string_view word) {
  if (tok.size() != word.size()) return false;
  for (std::size_t i = 0; i < tok.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(tok[i])) != word[i]) return false;
  return true;
}

}  // namespace

std::vector<NamedTree> ReadNexusTrees(std::string_view text, IMessages* messages) {
  std::vector<NamedTree> out;
  NexusLexer lex(text);
  std::string tok;
  while (lex.Next(tok)) {
    if (!Is(tok, "begin")) continue;
    if (!lex.Next(tok) || !Is(tok, "trees")) continue;
    lex.SkipCommand();
    std::map<std::string, std::string> translate;
    while (lex.Next(tok)) {
      if (Is(tok, "end") || Is(tok, "endblock")) {
        lex.SkipCommand();
        break;
      }
      if (Is(tok, "translate")) {
        std::string key, label;
        while (lex.Next(key) && key != ";") {
          if (key == ",") continue;
          if (!lex.Next(label) || label == ";") break;
          translate[key] = label;
        }
        continue;
      }
      if (Is(tok, "tree") || Is(tok, "utree")) {
        std::string name;
        if (!lex.Next(name)) break;
        if (name == "*" && !lex.Next(name)) break;
        std::string eq;
        if (name == "=") {
          name = "tree" + std::to_string(out.size() + 1);
        } else if (!lex.Next(eq) || eq != "=") {
          lex.SkipCommand();
          continue;
        }
        const std::string_view body = lex.UpToSemicolon();
        TTree tree;
        std::string why;
        if (!tree.ReadBrackets(body, nullptr, &why)) {
          if (messages) messages->ReportError("NEXUS tree " + name + ": " + why);
          continue;
        }
        for (auto& node : tree.nodes) {
          if (node->isInternal) continue;
          const auto it = translate.find(node->name);
          if (it != translate.end()) node->name = it->second;
        }
        out.push_back({name, tree.WriteBrackets(false)});
        continue;
      }
      if (tok != ";") lex.SkipCommand();
    }
  }
  return out;
}

namespace {

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t from = 0;
  while (from <= text.size()) {
    std::size_t end = text.find('\n', from);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(from, end - from);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\x1a')) line.remove_suffix(1);
    lines.push_back(line);
    from = end + 1;
  }
  return lines;
}

std::string_view TrimView(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

template <typename T>
bool ParseWhole(std::string_view s, T& value) {
  s = TrimView(s);
  if (s.empty()) return false;
  const auto res = std::from_chars(s.data(), s.data() + s.size(), value);
  return res.ec == std::errc() && res.ptr == s.data() + s.size();
}

}  // namespace

std::optional<TTree> ReadPag(std::string_view text, IMessages* messages) {
  auto fail = [&](std::size_t line, const std::string& what) -> std::optional<TTree> {
    if (messages) messages->ReportError("PAG tree, line " + std::to_string(line) + ": " + what);
    return std::nullopt;
  };
  const std::vector<std::string_view> lines = SplitLines(text);
  if (lines.empty() || TrimView(lines[0]) != "#PAG") return fail(1, "expected \"#PAG\"");
  if (lines.size() < 2) return fail(2, "expected the number of leaves");
  const std::string_view head = TrimView(lines[1]);
  int leaves = 0;
  if (!ParseWhole(head.substr(0, head.find(' ')), leaves) || leaves < 0)
    return fail(2, "expected the number of leaves, found \"" + std::string(head) + "\"");
  TTree tree;
  std::map<long long, Node*> byNumber;
  auto numbered = [&](long long number) {
    auto& slot = byNumber[number];
    if (!slot) slot = tree.At(tree.NewNode("node_" + std::to_string(number), 0, 0));
    return slot;
  };
  int leafRows = 0;
  for (std::size_t i = 2; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    if (TrimView(line).empty()) continue;
    // Split at the last two commas: a leaf's name may hold commas itself.
    const std::size_t c2 = line.rfind(',');
    const std::size_t c1 =
        c2 == std::string_view::npos || c2 == 0 ? std::string_view::npos : line.rfind(',', c2 - 1);
    if (c1 == std::string_view::npos) return fail(i + 1, "expected \"child, parent, length\"");
    long long parentNo = 0;
    double length = 0;
    if (!ParseWhole(line.substr(c1 + 1, c2 - c1 - 1), parentNo))
      return fail(i + 1, "parent number \"" +
                             std::string(TrimView(line.substr(c1 + 1, c2 - c1 - 1))) +
                             "\" is not a whole number");
    if (!ParseWhole(line.substr(c2 + 1), length) || !std::isfinite(length))
      return fail(i + 1, "branch length \"" + std::string(TrimView(line.substr(c2 + 1))) +
                             "\" is not a number");
    Node* child = nullptr;
    const std::string_view first = TrimView(line.substr(0, c1));
    if (leafRows < leaves) {
      ++leafRows;
      child = tree.At(tree.NewNode(std::string(first), 0, 0));
      child->isInternal = false;
    } else {
      long long number = 0;
      if (!ParseWhole(first, number))
        return fail(i + 1, "node number \"" + std::string(first) + "\" is not a whole number");
      child = numbered(number);
    }
    Node* parent = numbered(parentNo);
    if (child == parent || child->ParentLink())
      return fail(i + 1, "node listed twice or as its own parent");
    tree.Link(parent, child, length);
  }
  if (leafRows < leaves)
    return fail(lines.size(), "expected " + std::to_string(leaves) + " leaves, found " +
                                  std::to_string(leafRows));
  if (tree.Roots().size() != 1) return fail(lines.size(), "the parent list does not form one tree");
  // A cycle leaves nodes that no walk from the root reaches.
  tree.ComputeSplits();
  const Node* root = tree.Roots()[0];
  if (root->segments[0].Count() != tree.Count())
    return fail(lines.size(), "the parent list holds a cycle");
  return tree;
}
