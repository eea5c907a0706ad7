// SPDX-License-Identifier: GPL-3.0-or-later
// IUPAC complement through a 256-entry table: reads are complemented letter by letter by the
// million.
#include "editor/ReadLetters.h"

#include <array>

namespace {
constexpr std::array<char, 256> MakeComplementTable() {
  std::array<char, 256> table{};
  for (int i = 0; i < 256; ++i) table[static_cast<std::size_t>(i)] = static_cast<char>(i);
  const char* from = "ATUCGRYKMBVDH";
  const char* to = "TAAGCYRMKVBHD";
  for (int i = 0; from[i] != 0; ++i) {
    table[static_cast<unsigned char>(from[i])] = to[i];
    table[static_cast<unsigned char>(from[i] + ('a' - 'A'))] =
        static_cast<char>(to[i] + ('a' - 'A'));
  }
  return table;
}
constexpr std::array<char, 256> kComplement = MakeComplementTable();
}  // namespace

char ComplementReadLetter(char letter) {
  return kComplement[static_cast<unsigned char>(letter)];
}

std::string ReverseComplement(std::string_view letters) {
  std::string out(letters.size(), ' ');
  for (std::size_t i = 0; i < letters.size(); ++i)
    out[letters.size() - 1 - i] = ComplementReadLetter(letters[i]);
  return out;
}
