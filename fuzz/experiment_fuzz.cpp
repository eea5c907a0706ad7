// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: Staden experiment-file reader (the reader of files opened as EXP or EMBL), then
// the GenBank writer on the sequence read. The file sits in a folder that does not exist, so a
// relative trace name on an LN line finds nothing.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "QuietServices.h"
#include "io/AnnotatedFormats.h"
#include "model/tsequnit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietServices svc;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ReadContext ctx(svc.services, "/nonexistent-fuzz-folder/read.exp");
  const ExperimentRead r = ReadExperimentFile(MemorySource(bytes), ctx);
  if (r.seq) (void)GenBankText(*r.seq, svc.genCode);
  return 0;
}
