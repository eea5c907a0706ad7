// SPDX-License-Identifier: GPL-3.0-or-later
// SNP tables on arbitrary bytes: cut at the first NUL into the SNP table and the reference
// (the first byte picks the header switch and the offset), then the same bytes as a genotype
// table; the FASTA writer on every dataset read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzServices.h"
#include "io/IOUnit.h"
#include "io/ResultFormats.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  FuzzServices svc;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t cut = bytes.find('\0');
  const std::string_view snps = bytes.substr(0, cut);
  const std::string_view reference =
      cut == std::string_view::npos ? std::string_view{} : bytes.substr(cut + 1);
  SnpTableOptions options;
  options.hasHeaders = (data[0] & 1) != 0;
  options.positionOffset = (data[0] >> 1) - 64;
  TDataProj project(svc.services);
  OpenWindow window(project);
  ReadSnpTable(snps, reference, "ref.fa", options, window, svc.services);
  ReadSnpTable2(snps, "fuzz.csv", options.hasHeaders, window, svc.services);
  for (int d = 0; d < project.DatasetCount(); ++d) (void)FastaText(*project.DatasetAt(d), true);
  return 0;
}
