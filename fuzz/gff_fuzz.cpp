// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: GFF reader on a small dataset, then the GFF writer.
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
  for (const char* name : {"s1", "ctg123", "seq 2"}) {
    auto seq = std::make_unique<TSeq>(name, "AC--GT-ACGTAC");
    (void)ds.AddSeq(seq, false);
  }
  ReadContext ctx(svc.services, "fuzz.gff");
  ApplyGff(MemorySource(bytes), ctx, ds, true);
  (void)GffText(ds);
  return 0;
}
