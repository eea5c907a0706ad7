// SPDX-License-Identifier: GPL-3.0-or-later
// ABIF reader on arbitrary bytes, then the SCF writer on what it read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzServices.h"
#include "io/TraceFormats.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzServices svc;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (auto seq = ReadAbi(bytes, "fuzz.ab1", svc.services)) {
    std::string out, error;
    (void)BuildScf(*seq, out, error);
  }
  return 0;
}
