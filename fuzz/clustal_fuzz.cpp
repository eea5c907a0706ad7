// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: Clustal reader, then the FASTA writer (Clustal has none).
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
  ReadContext ctx(svc.services, "fuzz.aln");
  if (OpenClustal(MemorySource(bytes), ctx, ds)) (void)FastaText(ds, false);
  return 0;
}
