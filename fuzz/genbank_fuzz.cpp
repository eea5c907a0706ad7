// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: GenBank reader (with its progress, as the dispatcher runs it), then the GenBank
// writer on every record read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "QuietServices.h"
#include "io/AnnotatedFormats.h"
#include "model/Datasequnit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietServices svc;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TDataSeq ds(svc.services);
  ReadContext ctx(svc.services, "fuzz.gb");
  ctx.showProgress = true;
  OpenGenBank(MemorySource(bytes), ctx, ds);
  for (int row = 1; row <= ds.Count(); ++row) (void)GenBankText(*ds.SeqAt(row), svc.genCode);
  return 0;
}
