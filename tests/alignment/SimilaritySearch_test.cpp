// SPDX-License-Identifier: GPL-3.0-or-later
// Similarity search on both strands, the identity window and the local alignment score; the
// positions and scores are worked out by hand.
#include "alignment/SimilaritySearch.h"

#include <gtest/gtest.h>

#include <random>

#include "../io/CliRun.h"
#include "../model/DatasetBuilders.h"
#include "../support/RecordingServices.h"

namespace {

const std::string kQuery = "ACGTAGGCTT";  // reverse complement AAGCCTACGT

TEST(SimilaritySearch, ExactCopiesOnBothStrandsBecomeRegions) {
  const TSeq two = SimilaritySearch("gggACGTAGGCTTcccacgtaggcttggg", kQuery, 100);
  ASSERT_EQ(two.regions.size(), 2u);
  EXPECT_EQ(two.regions[0].regStart, 4);
  EXPECT_EQ(two.regions[0].regEnd, 13);
  EXPECT_EQ(two.regions[1].regStart, 17);
  EXPECT_EQ(two.regions[0].regType, kRegMisc);
  EXPECT_EQ(two.regions[0].regName, "Misc_Region");
  EXPECT_EQ(two.regions[0].regComment, "Found by the similarity search, identity (%) 100.000");
  // The reverse complement at 3..12 of 14 letters: from 12 down to 3.
  const TSeq reverse = SimilaritySearch("ttAAGCCTACGTtt", "acgt\r\nAGGCTT", 100);
  ASSERT_EQ(reverse.regions.size(), 1u);
  EXPECT_TRUE(reverse.regions[0].regReverse);
  EXPECT_EQ(reverse.regions[0].regStart, 12);
  EXPECT_EQ(reverse.regions[0].regEnd, 3);
  // One letter off is no exact copy.
  EXPECT_TRUE(SimilaritySearch("ACGTAGGCTA", kQuery, 100).regions.empty());
}

TEST(SimilaritySearch, IdentityMustBeStrictlyAboveTheMinimum) {
  const std::string q = "GATTACACGTTGCAAGCTCA";
  std::string two = q, one = q;
  two[5] = 'T';
  two[12] = 'T';  // 18 of 20: 90 %, not above 90
  one[12] = 'T';  // 19 of 20: 95 %
  EXPECT_EQ(IdentityWindowSearch(q, "cc" + two, 90).pos, 0);
  const IdentityHit hit = IdentityWindowSearch(q, "cc" + one, 90);
  EXPECT_EQ(hit.pos, 3);
  EXPECT_DOUBLE_EQ(hit.identity, 95.0);
  EXPECT_TRUE(SimilaritySearch(two, q, 90).regions.empty());
  const TSeq found = SimilaritySearch(one, q, 90);
  ASSERT_EQ(found.regions.size(), 1u);
  EXPECT_EQ(found.regions[0].regComment, "Found by the similarity search, identity (%) 95.000");
  // A mismatch past the first eight letters is counted too.
  EXPECT_EQ(IdentityWindowSearch(q, two, 94).pos, 0);
}

TEST(SmithWatermanScore, ScoresMatchesMismatchesAndGaps) {
  EXPECT_EQ(SmithWatermanScore("acgtacgtac", "ACGTACGTAC", -2), 10);
  EXPECT_EQ(SmithWatermanScore("ACGTTCGTAC", "ACGTACGTAC", -2), 8);
  // Eight matches around one gap: 8 - 2.
  EXPECT_EQ(SmithWatermanScore("AAAACCCC", "AAAAGCCCC", -2), 6);
  EXPECT_EQ(SmithWatermanScore("", "ACGT", -2), 0);
}

// EMBOSS water with a +1/-1 matrix and gaps of 2 per letter (open 2, extend 2) is an
// independent Smith-Waterman; the scores must agree.
TEST(SmithWatermanScore, AgreesWithEmbossWater) {
  if (ShellOutput("command -v water").empty()) GTEST_SKIP() << "EMBOSS water is not installed";
  TestFolder dir("water");
  std::string matrix = "   A  C  G  T  N\n";
  for (const char a : std::string("ACGTN")) {
    matrix += a;
    for (const char b : std::string("ACGTN")) matrix += a == b ? "  1" : " -1";
    matrix += '\n';
  }
  dir.Write("pm1", matrix);
  std::mt19937 rng(11);
  auto random = [&](int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "ACGT"[rng() % 4];
    return s;
  };
  for (int round = 0; round < 4; ++round) {
    const std::string core = random(60);
    std::string a = random(20) + core + random(15), b = core;
    b.erase(10 + round, 2);  // a gap inside the shared part
    b[40] = b[40] == 'A' ? 'C' : 'A';
    const std::string cmd = "water -asequence " + dir.Write("a.fa", ">a\n" + a + "\n") +
                            " -bsequence " + dir.Write("b.fa", ">b\n" + b + "\n") + " -datafile " +
                            dir.File("pm1") +
                            " -gapopen 2 -gapextend 2 -outfile stdout -auto 2>/dev/null";
    const std::string out = ShellOutput(cmd);
    const auto at = out.find("# Score: ");
    ASSERT_NE(at, std::string::npos) << out;
    EXPECT_EQ(SmithWatermanScore(a, b, -2), std::stoi(out.substr(at + 9))) << a << ' ' << b;
  }
}

TEST(LoadQuery, TakesTheFirstSequenceOrTellsAnUnknownEntry) {
  RecordingServices svc;
  TestFolder dir("load_query");
  const std::string fasta = dir.Write("v.fas", ">v1\nACGTAG\nGCTT\n>v2\nTTTT\n");
  const std::unique_ptr<TSeq> q = LoadQuery(fasta, 1, svc.services);
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(q->letters, kQuery);
  EXPECT_EQ(LoadQuery(fasta, 6, svc.services), nullptr);
  EXPECT_EQ(svc.messages.notices,
            Lines("I/O Error: can not recognise format of the file " + fasta));
}

TEST(RunSimilaritySearch, MarksHitsOnSelectedRowsAndScoresOnRequest) {
  RecordingServices svc;
  TDataSeq ds(svc.services);
  AddRow(ds, "a", "ttAAGCCTACGTtt");
  AddRow(ds, "b", "gggACGTAGGCTTccc");
  ds.Select(2);
  EXPECT_EQ(SearchQuery(nullptr, kSimSearchPlaceholder), "");
  SimSearchOptions opt;
  opt.score = true;
  SimSearchOutput out = RunSimilaritySearch(ds, SearchQuery(nullptr, kQuery), opt, svc.services);
  EXPECT_EQ(out.rowsSearched, 1);
  EXPECT_TRUE(ds.SeqAt(1)->regions.empty());
  ASSERT_EQ(ds.SeqAt(2)->regions.size(), 1u);
  EXPECT_EQ(ds.SeqAt(2)->regions[0].regStart, 4);
  EXPECT_EQ(svc.messages.notices, Lines("SmithWaterman score = 10"));
  opt.allSeqs = true;
  opt.score = false;
  out = RunSimilaritySearch(ds, kQuery, opt, svc.services);
  EXPECT_EQ(out.report,
            "Sequence\tStart\tEnd\tStrand\tIdentity (%)\r\na\t12\t3\t-\t100.000\r\n"
            "b\t4\t13\t+\t100.000\r\n");
  ASSERT_EQ(ds.SeqAt(1)->regions.size(), 1u);
  EXPECT_EQ(ds.SeqAt(1)->regions[0].regStart, 3);  // the row holds it ascending, reverse strand
  EXPECT_TRUE(ds.SeqAt(1)->regions[0].regReverse);
}

}  // namespace
