// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: PHYLIP reader, then the PHYLIP writer.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "QuietServices.h"
#include "io/IOUnit.h"
#include "model/DataProjUnit.h"
#include "model/Datasequnit.h"
#include "model/tsequnit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietServices svc;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TDataSeq ds(svc.services);
  ReadContext ctx(svc.services, "fuzz.phy");
  if (OpenPhylip(MemorySource(bytes), ctx, ds)) {
    (void)PhylipText(ds);
    (void)PhylipLinesText(ds, true);
  }
  return 0;
}
