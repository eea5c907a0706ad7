// SPDX-License-Identifier: GPL-3.0-or-later
// Complementing read letters for the read-file tools (IUPAC, case kept).
#pragma once
#include <string>
#include <string_view>

// Reverse complement of read letters (IUPAC, case kept; U gives A). The letter complement
// itself is ComplementLetter of the sequence record.
std::string ReverseComplement(std::string_view letters);
