// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "io/AnnotatedFormats.h"
#include "io/Dispatcher.h"
#include "io/FormatTables.h"
#include "io/IoTestFiles.h"
#include "io/TextFormatSupport.h"

namespace {

// A random 60-letter consensus; the reads are pieces of it, worked out by hand.
const std::string kConsensus = "ATATCACACCCAACCTTCAAATGCCGTGCCCTAACGCCCTAATCCTGCGCTAGGGGTTGC";

std::string Exp(const std::string& name, const std::string& ap, const std::string& letters,
                const std::string& extra = "") {
  return "ID   " + name + "\nEN   " + name + "\nAP   " + ap + "\n" + extra + "SQ\n     " + letters +
         "\n//\n";
}

}  // namespace

// r1 starts the contig at column 1. r2 hangs on r1 and has five poor-quality letters in front:
// they are cut and the rest (consensus 11..40) is placed by its anchor on the consensus, not
// at the AP sum (1 + 7, then 5 cut letters), so its shift is 10. r3 lies complemented on r2 at
// 1 + 7 + 23 = 31: read back the right way round it is consensus 31..60.
TEST(OpenStadenContigs, ReadsArePlacedAtTheirAssemblyColumns) {
  TestFolder dir("staden_contigs");
  const std::string contigs = dir.Write("proj.contigs", ">contig1\n" + kConsensus + "\n");
  std::filesystem::create_directory(dir.File("proj.assembly"));
  dir.Write("proj.assembly/r1.ph", Exp("r1", "*new* + 1 25", kConsensus.substr(0, 25)));
  dir.Write("proj.assembly/r2.ph",
            Exp("r2", "r1 + 7 35", "GGGGG" + kConsensus.substr(10, 30), "QL   5\n"));
  dir.Write("proj.assembly/r3.ph", Exp("r3", "r2 - 23 30", "GCAACCCCTAGCGCAGGATTAGGGCGTTAG"));
  dir.Write("proj.assembly/notes.ph", "nothing here\n");

  RecordingServices svc;
  TDataProj proj(svc.services);
  OpenWindow window(proj);
  const OpenResult result = DispatchFile(contigs, kCodeStadenContigs, {}, &window, svc.services);
  EXPECT_TRUE(result.handled);
  ASSERT_EQ(proj.DatasetCount(), 1);
  EXPECT_EQ(RowsOf(*proj.DatasetAt(0)),
            (Rows{{"contig1", kConsensus},
                  {"r1", kConsensus.substr(0, 25)},
                  {"r2", std::string(10, '-') + kConsensus.substr(10, 30)},
                  {"r3", std::string(30, '-') + kConsensus.substr(30)}}));
  EXPECT_EQ(svc.messages.notices,
            Lines("I/O Error: can not recognise format of the file notes.ph"));
}

TEST(AnchorMatch, TheSecondWordMustStandAtTheSameDistanceWithinTheTolerance) {
  AnchorHit hit;
  // Read words "AAAA" at 1 and "CCCC" at 5: in the text 4 apart (match) or 9 apart.
  EXPECT_TRUE(AnchorMatch("AAAACCCCG", "GGAAAACCCCGG", 4, 0, hit));
  EXPECT_EQ(hit.readPos, 1);
  EXPECT_EQ(hit.textPos, 3);
  EXPECT_FALSE(AnchorMatch("AAAACCCCG", "GGAAAATTTTTCCCC", 4, 4, hit));
  EXPECT_TRUE(AnchorMatch("AAAACCCCG", "GGAAAATTTTTCCCC", 4, 5, hit));
}
