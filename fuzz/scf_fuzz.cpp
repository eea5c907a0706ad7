// SPDX-License-Identifier: GPL-3.0-or-later
// SCF reader on arbitrary bytes, then the SCF writer and reader again on what it read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzServices.h"
#include "io/TraceFormats.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzServices svc;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (auto seq = ReadScf(bytes, "fuzz.scf", svc.services)) {
    std::string out, error;
    if (BuildScf(*seq, out, error)) (void)ReadScf(out, "again.scf", svc.services);
  }
  return 0;
}
