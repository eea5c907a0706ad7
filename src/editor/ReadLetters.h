// SPDX-License-Identifier: GPL-3.0-or-later
// Complementing read letters for the read-file tools (IUPAC, case kept).
#pragma once
#include <string>
#include <string_view>

// A<->T (U gives A), C<->G, R<->Y, K<->M, B<->V, D<->H; S, W, N, gaps and other characters
// stay as they are.
char ComplementReadLetter(char letter);
std::string ReverseComplement(std::string_view letters);
