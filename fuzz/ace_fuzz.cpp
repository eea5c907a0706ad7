// SPDX-License-Identifier: GPL-3.0-or-later
// ACE reader on arbitrary bytes (PHD files looked for in a folder that does not exist), then
// the FASTA and project writers on the dataset read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzServices.h"
#include "io/IOUnit.h"
#include "io/ProjectFile.h"
#include "io/ResultFormats.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzServices svc;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TDataSeq ds(svc.services);
  if (ReadAce(bytes, "/nonexistent-nodrix-fuzz/fuzz.ace", ds, svc.services)) {
    (void)FastaText(ds, true);
    std::string out, error;
    (void)BuildDatasetFile(ds, out, error);
  }
  return 0;
}
