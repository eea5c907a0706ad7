// SPDX-License-Identifier: GPL-3.0-or-later
// Project file reader on arbitrary bytes (each name filter), then both writers on the result.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzServices.h"
#include "io/ProjectFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  FuzzServices svc;
  const int filter = data[0] % 3;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  TDataProj window(svc.services);
  if (filter != 0) {
    window.NewDataset();
    window.RenameDataset(0, "Dataset1");
  }
  GridFileSettings grid;
  if (ReadProjectBytes(bytes, "fuzz.df", window, filter, &grid) == 0) {
    std::string out, error;
    (void)BuildProjectFile(window, grid, out, error);
    if (window.DatasetCount() > 0) (void)BuildDatasetFile(*window.DatasetAt(0), out, error);
  }
  return 0;
}
