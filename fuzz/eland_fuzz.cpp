// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the Eland export reader and the read mapper on the same bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "QuietServices.h"
#include "io/ReadFormats.h"
#include "model/DataProjUnit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietServices svc;
  svc.settings.maxSeqPerDataset = 1000;
  MemorySource src(std::string_view(reinterpret_cast<const char*>(data), size));
  TDataProj proj(svc.services);
  proj.NewDataset();
  std::string ref;
  for (int k = 0; k < 240; ++k) ref += "ACGTTGCAAC"[(k * 7 + k / 10) % 10];
  auto seq = std::make_unique<TSeq>("ref", ref);
  (void)proj.DatasetAt(0)->AddSeq(seq, false);
  ReadContext ctx(svc.services, "fuzz_export.txt");
  (void)OpenEland(src, ctx, proj, false);
  (void)MapReads(src, ctx, proj);
  // No writer here: a read at POS 2^31 would ask the FASTA writer for 2 GB of leading gaps.
  for (int d = 0; d < proj.DatasetCount(); ++d) (void)proj.DatasetAt(d)->AlignmentLength(true);
  return 0;
}
