// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the MAQ mapview reader.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "QuietServices.h"
#include "io/ReadFormats.h"
#include "model/DataProjUnit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietServices svc;
  MemorySource src(std::string_view(reinterpret_cast<const char*>(data), size));
  TDataProj proj(svc.services);
  ReadContext ctx(svc.services, "fuzz.map");
  (void)OpenMaq(src, ctx, proj, false);
  // No writer here: a read at POS 2^31 would ask the FASTA writer for 2 GB of leading gaps.
  for (int d = 0; d < proj.DatasetCount(); ++d) (void)proj.DatasetAt(d)->AlignmentLength(true);
  return 0;
}
