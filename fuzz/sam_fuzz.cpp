// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the SAM readers (reads on references with their insertion columns, the reads of
// one reference, the coverage count and the column-type test).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "QuietServices.h"
#include "io/ReadFormats.h"
#include "model/DataProjUnit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietServices svc;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  MemorySource src(bytes);
  TDataProj proj(svc.services);
  proj.NewDataset();
  proj.RenameDataset(0, "ref");
  auto ref = std::make_unique<TSeq>("ref", "ACGTACGTACGTACGTACGT");
  (void)proj.DatasetAt(0)->AddSeq(ref, false);
  ReadContext ctx(svc.services, "fuzz.sam");
  (void)OpenSam(src, ctx, proj, false);
  // No writer here: a read at POS 2^31 would ask the FASTA writer for 2 GB of leading gaps.
  for (int d = 0; d < proj.DatasetCount(); ++d) (void)proj.DatasetAt(d)->AlignmentLength(true);
  (void)CountSamCoverage(src, ctx, proj, true);
  TDataSeq reads(svc.services);
  (void)OpenSamReads(src, ctx, "ref", reads);
  (void)LooksLikeSamText(bytes);
  return 0;
}
