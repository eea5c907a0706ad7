// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the XMFA / multi-FASTA reader (every question answered No, so no genome file is
// read), then the XMFA writer with and without coordinates.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "QuietServices.h"
#include "io/IOUnit.h"
#include "io/MultiLocusFormats.h"
#include "model/DataProjUnit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietServices svc;
  svc.settings.maxSeqPerDataset = 1000;
  const MemorySource src(std::string_view(reinterpret_cast<const char*>(data), size));
  TDataProj proj(svc.services);
  ReadContext ctx(svc.services, "fuzz.xmfa");
  (void)OpenXmfa(src, ctx, proj);
  (void)XmfaText(proj, true);
  (void)XmfaText(proj, false);
  return 0;
}
