// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: FASTA with quality and GFF companions (the input is cut at its first two NUL
// bytes into the three files), then the FASTA, quality and GFF writers.
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
  std::string_view parts[3];
  std::string_view rest = bytes;
  for (int k = 0; k < 2; ++k) {
    const std::size_t cut = rest.find('\0');
    parts[k] = rest.substr(0, cut);
    rest = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 1);
  }
  parts[2] = rest;
  MemorySource fasta(parts[0]), quality(parts[1]), gff(parts[2]);
  TDataSeq ds(svc.services);
  ReadContext ctx(svc.services, "fuzz.fas");
  ctx.chooseFastaStart = [](int count, int) { return count / 2; };
  svc.settings.maxSeqPerDataset = 1000;
  OpenFasta(fasta, ctx, ds, {&quality, &gff, "fuzz.gff"});
  (void)FastaText(ds, true);
  (void)FastaQualityText(ds);
  (void)GffText(ds);
  return 0;
}
