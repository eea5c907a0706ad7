// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the tree readers (bracket text, tree files with NEXUS and "#PAG"
// forms, the viewer's tree extraction) and runs the writers on whatever was read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/Services.h"
#include "trees/TreeTexts.h"
#include "trees/TreeUnit.h"

namespace {

// What the bracket writer wrote must read back, and settle within three rounds: a support
// in 0..1 is written as percent and reads back as that number, so 0.01 -> "1" -> 1.0 ->
// "100" -> 100, which is no longer written. A lone node ("()" read) writes as its bare
// label, which is no bracket tree.
void CheckRoundTrip(const TTree& tree) {
  if (tree.Count() < 2) return;
  std::string text = tree.WriteBrackets(false);
  for (int round = 0; round < 3; ++round) {
    TTree again;
    if (!again.ReadBrackets(text)) std::abort();
    text = again.WriteBrackets(false);
  }
  TTree last;
  if (!last.ReadBrackets(text) || last.WriteBrackets(false) != text) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  QuietMessages quiet;
  {
    TTree tree;
    if (tree.ReadBrackets(text, &quiet)) {
      CheckRoundTrip(tree);
      (void)tree.WritePag();
      (void)tree.WriteNexus();
      tree.ComputeSplits();
      tree.ResolveMultifurcations(0.5);
      CheckRoundTrip(tree);
    }
  }
  if (const auto extracted = ExtractTree(text)) {
    TTree tree;
    (void)tree.ReadBrackets(*extracted, &quiet);
  }
  for (const NamedTree& named : ReadTreeFile(text, &quiet)) {
    TTree tree;
    if (tree.ReadBrackets(named.text, &quiet)) (void)tree.WriteBrackets(false);
  }
  return 0;
}
