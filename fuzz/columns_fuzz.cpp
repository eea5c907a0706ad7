// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the tab-separated column reader, its ranges taken from the first four bytes,
// and the dataset-name list read and written back.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "QuietServices.h"
#include "io/MultiLocusFormats.h"
#include "model/DataProjUnit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  QuietServices svc;
  ColumnsRead options;
  options.readFrom = 1 + data[0] % 8;
  options.readTo = options.readFrom + data[1];
  options.colFrom = 1 + data[2] % 8;
  options.colTo = options.colFrom + data[3] % 16;
  const std::string_view text(reinterpret_cast<const char*>(data) + 4, size - 4);
  (void)ReadColumnTexts(text, options, svc.progress);
  TDataProj proj(svc.services);
  (void)OpenDatasetNames(MemorySource(text), proj);
  (void)DatasetNamesText(proj);
  return 0;
}
