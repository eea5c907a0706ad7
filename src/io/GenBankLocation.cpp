// SPDX-License-Identifier: GPL-3.0-or-later
// GenBank feature locations: a small recursive reader over the operators complement(),
// join() and order() (any other operator name is read like join()), bounded in depth so that
// a damaged file cannot exhaust the stack.
#include "io/GenBankLocation.h"

#include <algorithm>

#include "io/TextHelpers.h"

namespace {

constexpr int kMaxDepth = 64;

class LocationReader {
 public:
  explicit LocationReader(std::string text) : s_(std::move(text)) {}

  void ReadAll(std::vector<LocationPart>& out) {
    while (pos_ < s_.size()) {
      const std::size_t before = pos_;
      Read(false, 0, out);
      // Whatever stopped the reader (a stray ')' or ','), step over it and go on.
      if (pos_ == before) ++pos_;
    }
  }

 private:
  std::string s_;
  std::size_t pos_ = 0;

  [[nodiscard]] bool At(char c) const { return pos_ < s_.size() && s_[pos_] == c; }

  // One location at pos_: an operator with its list, or a simple range.
  void Read(bool reverse, int depth, std::vector<LocationPart>& out) {
    std::size_t word = pos_;
    while (word < s_.size() &&
           (std::isalpha(static_cast<unsigned char>(s_[word])) || s_[word] == '_'))
      ++word;
    if (word > pos_ && word < s_.size() && s_[word] == '(') {
      const std::string_view name = std::string_view(s_).substr(pos_, word - pos_);
      pos_ = word + 1;
      const bool complement = name == "complement";
      std::vector<LocationPart> inner;
      if (depth < kMaxDepth) {
        ReadList(complement ? !reverse : reverse, depth + 1, inner);
      } else {
        SkipToClose();
      }
      if (At(')')) ++pos_;
      if (complement) std::reverse(inner.begin(), inner.end());
      out.insert(out.end(), inner.begin(), inner.end());
      return;
    }
    ReadRange(reverse, out);
  }

  void ReadList(bool reverse, int depth, std::vector<LocationPart>& out) {
    while (pos_ < s_.size() && !At(')')) {
      const std::size_t before = pos_;
      Read(reverse, depth, out);
      if (At(','))
        ++pos_;
      else if (pos_ == before)
        ++pos_;  // a character no location starts with
    }
  }

  void SkipToClose() {
    int level = 0;
    for (; pos_ < s_.size(); ++pos_) {
      if (s_[pos_] == '(') ++level;
      if (s_[pos_] == ')' && level-- == 0) return;
    }
  }

  void ReadRange(bool reverse, std::vector<LocationPart>& out) {
    const std::size_t end = s_.find_first_of(",()", pos_);
    const std::string_view token =
        std::string_view(s_).substr(pos_, (end == std::string::npos ? s_.size() : end) - pos_);
    pos_ += token.size();
    if (token.find(':') != std::string_view::npos) return;  // on another record
    const std::size_t dots = token.find("..");
    if (dots == std::string_view::npos) return;  // a single base, a site a^b or a choice a.b
    auto number = [](std::string_view t) {
      while (!t.empty() && (t.front() == '<' || t.front() == '>')) t.remove_prefix(1);
      return ParseInt(t);
    };
    const auto a = number(token.substr(0, dots));
    const auto b = number(token.substr(dots + 2));
    if (!a || !b || *a < 1 || *a > *b) return;
    out.push_back({*a, *b, reverse});
  }
};

}  // namespace

std::vector<LocationPart> ParseLocation(std::string_view text) {
  std::string compact;
  compact.reserve(text.size());
  for (const char c : text)
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') compact += c;
  std::vector<LocationPart> parts;
  LocationReader(std::move(compact)).ReadAll(parts);
  return parts;
}

std::string QualifierValue(std::string_view raw) {
  raw = TrimBlanks(raw);
  if (raw.empty() || raw.front() != '"') return std::string(raw);
  std::string value;
  for (std::size_t i = 1; i < raw.size(); ++i) {
    if (raw[i] == '"') {
      if (i + 1 < raw.size() && raw[i + 1] == '"') {
        value += '"';
        ++i;
        continue;
      }
      break;
    }
    value += raw[i];
  }
  return std::string(TrimBlanks(value));
}
