// SPDX-License-Identifier: GPL-3.0-or-later
// Reading of bracket (Newick) trees. Accepts: blanks and line breaks anywhere (blanks inside
// an unquoted name are dropped), 'quoted labels' with '' for a quote, [comments] anywhere
// (nested ones too), "#" annotations (dropped), branch lengths after ":", a number after ")"
// as the support of the inner node and any other text there as the inner node's name; commas
// between siblings are optional. Everything after the closing bracket of the root is ignored.
#include <charconv>
#include <cmath>
#include <vector>

#include "common/Services.h"
#include "trees/TreeUnit.h"

namespace {

enum class Tok { Open, Close, Comma, Semi, Colon, Hash, Name };

struct Token {
  Tok kind;
  std::string text;
  bool quoted = false;
};

bool IsBlank(char c) {
  return c == ' ' || c == '\r' || c == '\n' || c == '\t';
}
bool IsDelimiter(char c) {
  return c == '(' || c == ')' || c == ',' || c == ':' || c == ';' || c == '#';
}

class Lexer {
 public:
  explicit Lexer(std::string_view text) : s(text) {}
  std::string error;

  // Skips a [comment] starting at pos; false when it never closes.
  bool SkipComment() {
    const std::size_t open = pos;
    int level = 0;
    for (; pos < s.size(); ++pos) {
      if (s[pos] == '[') ++level;
      if (s[pos] == ']' && --level == 0) {
        ++pos;
        return true;
      }
    }
    error = "comment opened at character " + std::to_string(open + 1) + " is not closed";
    return false;
  }

  // The text up to the next delimiter: blanks and comments dropped, a leading quote read
  // as a quoted label.
  bool ReadWord(std::string& word, bool& quoted) {
    word.clear();
    quoted = false;
    bool started = false;
    while (pos < s.size()) {
      const char c = s[pos];
      if (IsBlank(c)) {
        ++pos;
      } else if (c == '[') {
        if (!SkipComment()) return false;
      } else if (c == '\'' && !started) {
        const std::size_t open = pos++;
        quoted = started = true;
        for (;;) {
          if (pos >= s.size()) {
            error =
                "quoted label opened at character " + std::to_string(open + 1) + " is not closed";
            return false;
          }
          if (s[pos] == '\'') {
            if (pos + 1 < s.size() && s[pos + 1] == '\'') {
              word += '\'';
              pos += 2;
              continue;
            }
            ++pos;
            break;
          }
          word += s[pos++];
        }
      } else if (IsDelimiter(c)) {
        break;
      } else {
        started = true;
        word += c;
        ++pos;
      }
    }
    return true;
  }

  // Tokens from the first "(" to the first ";" (included). False with error set otherwise.
  bool Tokenize(std::vector<Token>& out, int& opens, int& closes) {
    opens = closes = 0;
    while (pos < s.size() && s[pos] != '(') {
      if (s[pos] == '[') {
        if (!SkipComment()) return false;
      } else {
        ++pos;
      }
    }
    if (pos >= s.size()) {
      error = "no \"(\" in the text";
      return false;
    }
    while (pos < s.size()) {
      const char c = s[pos];
      if (IsBlank(c)) {
        ++pos;
        continue;
      }
      if (c == '[') {
        if (!SkipComment()) return false;
        continue;
      }
      Token t{Tok::Name, {}, false};
      switch (c) {
        case '(':
          t.kind = Tok::Open;
          ++pos;
          ++opens;
          break;
        case ',':
          t.kind = Tok::Comma;
          ++pos;
          break;
        case ';':
          out.push_back({Tok::Semi, {}, false});
          return true;
        case ')':
          t.kind = Tok::Close;
          ++pos;
          ++closes;
          break;
        case ':':
          t.kind = Tok::Colon;
          ++pos;
          break;
        case '#':
          t.kind = Tok::Hash;
          ++pos;
          break;
        default:
          break;
      }
      if (t.kind == Tok::Close || t.kind == Tok::Colon || t.kind == Tok::Hash ||
          t.kind == Tok::Name) {
        if (!ReadWord(t.text, t.quoted)) return false;
      }
      out.push_back(std::move(t));
    }
    error = "no \";\" after the tree";
    return false;
  }

 private:
  std::string_view s;
  std::size_t pos = 0;
};

// The whole text as one finite number; a leading "+" is allowed.
bool ParseNumber(std::string_view text, double& value) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
  return res.ec == std::errc() && res.ptr == text.data() + text.size() && std::isfinite(value);
}

}  // namespace

bool TTree::ReadBrackets(std::string_view text, IMessages* messages, std::string* why) {
  auto fail = [&](const std::string& reason) {
    if (why) *why = reason;
    if (messages) {
      messages->ReportError("Tree Error: " + reason);
      messages->Notify("Tree Error");
    }
    return false;
  };
  Lexer lexer(text);
  std::vector<Token> tokens;
  int opens = 0, closes = 0;
  if (!lexer.Tokenize(tokens, opens, closes)) return fail(lexer.error);
  if (opens != closes)
    return fail(std::to_string(opens) + " \"(\" but " + std::to_string(closes) + " \")\"");

  Node* current = nullptr;
  Node* last = nullptr;
  int depth = 0;
  int counter = 0;
  for (const Token& t : tokens) {
    switch (t.kind) {
      case Tok::Open: {
        ++depth;
        Node* fresh = At(NewNode("anc" + std::to_string(counter++), 0, 0));
        if (current) Link(current, fresh, 0);
        current = last = fresh;
        break;
      }
      case Tok::Name: {
        auto leaf = std::make_unique<Node>();
        leaf->name = t.text;
        leaf->isInternal = false;
        Node* raw = leaf.get();
        if (current) Link(current, raw, 0);
        AddNode(std::move(leaf));
        last = raw;
        break;
      }
      case Tok::Colon: {
        double length = 0;
        if (last && !t.quoted && ParseNumber(t.text, length)) {
          SetBranchLength(last, length);
        } else if (messages && !t.text.empty()) {
          messages->ReportError("Tree: branch length \"" + t.text + "\" is not a number; ignored");
        }
        break;
      }
      case Tok::Close: {
        if (depth == 1) return true;  // the root's label and length are not read
        --depth;
        double support = 0;
        if (!t.quoted && ParseNumber(t.text, support)) {
          current->support = support;
        } else if (!t.text.empty()) {
          current->name = t.text;
          current->labelled = true;
        }
        last = current;
        current = current->Parent();
        if (!current) {
          if (messages) messages->Notify("TreeError");
          return true;
        }
        break;
      }
      case Tok::Comma:
      case Tok::Semi:
      case Tok::Hash:
        break;
    }
  }
  return true;
}
