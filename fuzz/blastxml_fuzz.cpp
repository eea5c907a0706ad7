// SPDX-License-Identifier: GPL-3.0-or-later
// BLAST XML on arbitrary bytes: one iteration's parser on the whole input, then the stream
// reader in all mode (split files would go to a folder that does not exist), then the project
// writer on what was read.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "FuzzServices.h"
#include "io/ProjectFile.h"
#include "io/ResultFormats.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzServices svc;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  BlastIter iter;
  (void)ReadBlastIteration(bytes, iter);
  TDataProj project(svc.services);
  OpenWindow window(project);
  std::istringstream in(bytes);
  (void)ReadBlastXml(in, bytes.size(), "/nonexistent-nodrix-fuzz/fuzz.xml", window, {},
                     svc.services);
  std::string out, error;
  (void)BuildProjectFile(project, GridFileSettings{}, out, error);
  return 0;
}
