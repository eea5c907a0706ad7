// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: plain text and last-resort readers, then the text and FASTA writers.
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
  ReadContext ctx(svc.services, "fuzz.txt");
  if (const auto seq = OpenPlainText(MemorySource(bytes), ctx)) (void)SeqText(*seq);
  TDataSeq ds(svc.services);
  if (OpenUnknownText(MemorySource(bytes), ctx, ds)) (void)FastaText(ds, false);
  return 0;
}
