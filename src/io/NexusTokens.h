// SPDX-License-Identifier: GPL-3.0-or-later
// Splits NEXUS text into words and punctuation: comments in square brackets (nested) are
// dropped, quoted words ('it''s') come back unquoted, ';', '=' and ',' are tokens of their own.
#pragma once
#include <string>
#include <string_view>
#include <vector>

struct NexusToken {
  std::string text;
  int line = 0;            // 1-based line where the token starts
  bool lineStart = false;  // first token on its line
  bool quoted = false;
  [[nodiscard]] bool Is(char punct) const {
    return !quoted && text.size() == 1 && text[0] == punct;
  }
};

struct NexusTokens {
  std::vector<NexusToken> tokens;
  int unclosedCommentLine = 0;  // line of a '[' never closed; 0 when all are closed
  int unclosedQuoteLine = 0;    // line of a quote never closed; 0 when all are closed
};

// CR, LF and character 26 are whitespace here; line numbers count LF.
NexusTokens TokeniseNexus(std::string_view text);

// The form names are compared in: upper case, '_' read as a blank.
std::string NexusNameKey(std::string_view name);
