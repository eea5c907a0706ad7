// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the FASTQ pair converter and the FASTA read cutter on arbitrary input. The first
// bytes choose the read length, distance and step of the cutter.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "common/Services.h"
#include "editor/FastqPairs.h"
#include "editor/FragmentFasta.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  NullProgress progress;
  const std::string text(reinterpret_cast<const char*>(data), size);
  {
    std::istringstream in(text);
    std::ostringstream out;
    ProcFastqPE(in, out, progress);
  }
  if (size >= 3) {
    FragmentOptions options{data[0] % 40 - 2, data[1] % 60 - 2, data[2] % 20 - 2};
    std::istringstream in(text.substr(3));
    std::ostringstream out1, out2;
    if (FragmentOptionsProblem(options).empty()) FragmentFasta(in, out1, out2, options, progress);
  }
  return 0;
}
