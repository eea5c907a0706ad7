// SPDX-License-Identifier: GPL-3.0-or-later
// SDI reader on arbitrary bytes, read twice as two samples so that the second merges its sites
// into the first's rows, then the FASTA writer on every dataset.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzServices.h"
#include "io/IOUnit.h"
#include "io/ResultFormats.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzServices svc;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TDataProj project(svc.services);
  OpenWindow window(project);
  ReadSdi(bytes, "a.sdi", window, svc.services);
  ReadSdi(bytes, "b.sdi", window, svc.services);
  for (int d = 0; d < project.DatasetCount(); ++d) (void)FastaText(*project.DatasetAt(d), true);
  return 0;
}
