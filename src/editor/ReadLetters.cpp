// SPDX-License-Identifier: GPL-3.0-or-later
// IUPAC complement.
#include "editor/ReadLetters.h"

#include <cctype>

char ComplementLetter(char letter) {
  const bool lower = std::islower(static_cast<unsigned char>(letter)) != 0;
  char c = 0;
  switch (std::toupper(static_cast<unsigned char>(letter))) {
    case 'A':
      c = 'T';
      break;
    case 'T':
    case 'U':
      c = 'A';
      break;
    case 'C':
      c = 'G';
      break;
    case 'G':
      c = 'C';
      break;
    case 'R':
      c = 'Y';
      break;
    case 'Y':
      c = 'R';
      break;
    case 'K':
      c = 'M';
      break;
    case 'M':
      c = 'K';
      break;
    case 'B':
      c = 'V';
      break;
    case 'V':
      c = 'B';
      break;
    case 'D':
      c = 'H';
      break;
    case 'H':
      c = 'D';
      break;
    default:
      return letter;
  }
  return lower ? static_cast<char>(std::tolower(static_cast<unsigned char>(c))) : c;
}

std::string ReverseComplement(std::string_view letters) {
  std::string out(letters.size(), ' ');
  for (std::size_t i = 0; i < letters.size(); ++i)
    out[letters.size() - 1 - i] = ComplementLetter(letters[i]);
  return out;
}
