// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/ReadLetters.h"

#include "model/tsequnit.h"

std::string ReverseComplement(std::string_view letters) {
  std::string out(letters.size(), ' ');
  for (std::size_t i = 0; i < letters.size(); ++i) {
    const char c = letters[i];
    // Reads may be RNA: U pairs with A.
    out[letters.size() - 1 - i] = c == 'U' ? 'A' : c == 'u' ? 'a' : ComplementLetter(c);
  }
  return out;
}
