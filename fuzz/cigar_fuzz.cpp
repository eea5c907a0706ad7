// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the CIGAR parser. The input is a CIGAR text, a tab and the read's letters; the
// read is placed beside a reference and its insertion columns are opened.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "QuietServices.h"
#include "io/ReadFormats.h"
#include "model/Datasequnit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietServices svc;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t tab = bytes.find('\t');
  const std::string_view cigar = bytes.substr(0, tab);
  const std::string_view letters =
      tab == std::string_view::npos ? "ACGTACGT" : bytes.substr(tab + 1);
  TDataSeq ds(svc.services);
  auto ref = std::make_unique<TSeq>("ref", std::string(64, 'A'));
  (void)ds.AddSeq(ref, false);
  for (const int shift : {0, 7}) {
    auto read = std::make_unique<TSeq>("read", std::string(letters));
    (void)ApplyCigar(cigar, *read);
    read->columnShift = shift;
    (void)ds.AddSeq(read, false);
  }
  ExpandInsertions(ds);
  return 0;
}
