// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: RENZYM.txt parsing. Every record has a site and a cut mark within its line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/EnzymeList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const renzyme& e : ParseEnzymeList(text)) {
    if (e.site.empty() || e.cutOffset < 0 || static_cast<std::size_t>(e.cutOffset) > size)
      std::abort();
  }
  return 0;
}
