// SPDX-License-Identifier: GPL-3.0-or-later
// Rescue reader on arbitrary bytes, then the version 3 writer on what it rescued.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzServices.h"
#include "io/ProjectFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzServices svc;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TDataProj window(svc.services);
  if (RescueProjectBytes(bytes, size % 2 ? "fuzz.psf" : "fuzz.df", window) > 0) {
    std::string out, error;
    (void)BuildProjectFile(window, GridFileSettings{}, out, error);
  }
  return 0;
}
