// SPDX-License-Identifier: GPL-3.0-or-later
// Segregation analysis of a cross: the X/Y patterns, a hand-made family run through the whole
// command (preparation, cleaning, analysis), the mutation limit with re-anchoring.
#include <gtest/gtest.h>

#include "common/PlatformRandom.h"
#include "editor/SegregationCommand.h"
#include "model/DatasetBuilders.h"
#include "support/RecordingServices.h"

namespace {

std::string RandomLetters(int n, std::uint32_t seed) {
  PlatformRandom rng(seed);
  std::string s;
  for (int i = 0; i < n; ++i) s += "ACGT"[rng.NextInt(4)];
  return s;
}

const std::array<const TDataProj*, 4> kNoContigs{};

}  // namespace

TEST(Segregation, PatternsOfTheFamilyMembers) {
  EXPECT_EQ(CrossSiteLine(12, true, false, false, true), "   12  1 0 0 1 ?X ");
  EXPECT_EQ(CrossSiteLine(3, true, false, true, false), "    3  1 0 1 0 ?Y ");
  EXPECT_EQ(CrossSiteLine(3, true, false, true, true), "    3  1 0 1 1    ");
  EXPECT_EQ(CrossPattern(false, true, true, false), "?X ");
}

TEST(Segregation, FamilyIsPreparedCleanedAndAnalysed) {
  RecordingServices svc;
  TDataProj proj(svc);
  TDataSeq& ds = *proj.DatasetAt(0);
  ds.dsName = "locus";
  // Column 2: only the father differs; 3: the parents agree; 4 and 5: the father's letter
  // comes first, so the other letter is the variant (carried by M, S and by M, D).
  AddRow(ds, "Father", "AAAGG");
  AddRow(ds, "Father_2", "AGG", 2);  // an overlapping read of the father, same letters
  AddRow(ds, "Mother", "ACATT");
  AddRow(ds, "Sons", "ACCTG");
  AddRow(ds, "Daughters", "ACAGT");
  proj.NewDataset();  // three sequences: skipped
  for (const char* name : {"Father", "Mother", "Sons"}) AddRow(*proj.DatasetAt(1), name, "AC");

  // The father's contigs: a consensus row, then two reads (one not yet begun at column 2).
  TDataProj fatherContigs(svc);
  TDataSeq& contig = *fatherContigs.DatasetAt(0);
  fatherContigs.RenameDataset(0, "locus");
  AddRow(contig, "consensus", "AAAGG");
  AddRow(contig, "r1", "AAAGG");
  AddRow(contig, "r2", "--ACG");

  PlatformRandom rng(1);
  const auto out = RunSegregation(proj, {&fatherContigs, nullptr, nullptr, nullptr}, rng, svc);
  ASSERT_TRUE(out.has_value());
  EXPECT_EQ(proj.GroupCount(), 5);
  EXPECT_EQ(proj.IndividCount(), 5);
  EXPECT_EQ(ds.Count(), 4);  // the father's reads were joined
  EXPECT_EQ(out->report,
            "--------------------------\r\nlocus\r\n       F M S D\r\n"
            "    2  1 0 0 0     F: A\r\n"
            "    4  0 1 1 0 ?X  F: GC\r\n"
            "    5  0 1 0 1 ?Y  F: GG\r\n"
            "2/3\r\n\r\n");
  ASSERT_EQ(out->filtered.size(), 1u);
  EXPECT_EQ(out->filtered[0]->dsName, "locus");
  EXPECT_NE(out->filtered[0].get(), &ds);

  // Without a member group the command stops.
  TDataProj bare(svc);
  AddRow(*bare.DatasetAt(0), "x", "A");
  TGroup g;
  g.grpName = "North";
  bare.AddGroup(g);
  EXPECT_FALSE(RunSegregation(bare, kNoContigs, rng, svc).has_value());
}

TEST(Segregation, FiftyMutationsAreAnalysedAndMoreAreReanchoredFirst) {
  RecordingServices svc;
  TDataProj proj(svc);
  const std::string base = RandomLetters(120, 3);
  auto locus = [&](const std::string& name, const std::string& father, const std::string& read,
                   int readShift) {
    proj.NewDataset();
    TDataSeq& ds = *proj.DatasetAt(proj.DatasetCount() - 1);
    ds.dsName = name;
    AddRow(ds, "Father", father);
    AddRow(ds, "Mother", base);
    AddRow(ds, "Sons", base);
    AddRow(ds, "Daughters", read, readShift);
    return &ds;
  };
  // The father differs from everyone at 50 (51) columns.
  std::string fifty = base, fiftyOne = base;
  for (int i = 0; i < 51; ++i) {
    char& c = (i < 50 ? fifty : fiftyOne)[static_cast<std::size_t>(2 * i)];
    c = c == 'A' ? 'C' : 'A';
    if (i < 50) fiftyOne[static_cast<std::size_t>(2 * i)] = fifty[static_cast<std::size_t>(2 * i)];
  }
  locus("fifty", fifty, base, 0);
  locus("fiftyone", fiftyOne, base, 0);
  // The daughter's read starts five letters into the locus but sits at column 1.
  TDataSeq* shifted = locus("shifted", base, base.substr(5), 0);
  // Eleven reads, long enough to stay and different enough not to be joined.
  proj.NewDataset();
  TDataSeq& eleven = *proj.DatasetAt(proj.DatasetCount() - 1);
  eleven.dsName = "eleven";
  int k = 0;
  for (const char* name : {"Father", "Father", "Mother", "Mother", "Mother", "Sons", "Sons", "Sons",
                           "Daughters", "Daughters", "Daughters"}) {
    std::string letters = base;
    letters[static_cast<std::size_t>(10 * k++)] = 'N';
    AddRow(eleven, name, letters);
  }

  PlatformRandom rng(1);
  const auto out = RunSegregation(proj, kNoContigs, rng, svc);
  ASSERT_TRUE(out.has_value());
  EXPECT_NE(out->report.find("fifty\r\n       F M S D\r\n    1  1 0 0 0    \r\n"),
            std::string::npos);
  EXPECT_NE(out->report.find("0/50\r\n"), std::string::npos);
  EXPECT_NE(out->report.find("fiftyone\r\n       F M S D\r\n" + std::string(kTooManyMutations) +
                             "\r\n\r\n"),
            std::string::npos)
      << out->report;
  // Re-anchored on the father: no mutation is left, so nothing follows the header.
  EXPECT_EQ(shifted->SeqAt(4)->columnShift, 5);
  EXPECT_NE(out->report.find("shifted\r\n       F M S D\r\n"), std::string::npos);
  EXPECT_EQ(out->report.find("shifted\r\n       F M S D\r\n "), std::string::npos);
  EXPECT_EQ(eleven.Count(), 11);
  EXPECT_EQ(out->report.find("eleven"), std::string::npos);
}

TEST(Segregation, ReanchoringNeverReadsPastAShortReadNorShiftsBelowZero) {
  RecordingServices svc;
  TDataProj proj(svc);
  TDataSeq& ds = *proj.DatasetAt(0);
  const std::string first = RandomLetters(40, 9);
  AddRow(ds, "first", first);
  // Twelve letters: only the first probe fits, and it is not found; letters 9..12 are.
  AddRow(ds, "short", "TTTTTTTT" + first.substr(3, 4), 4);
  // Letters 18..25 are found at letter 8 of the first sequence: the shift would be -10.
  AddRow(ds, "early", "GGGGGGGGGG" + first.substr(0, 20), 3);
  AddRow(ds, "late", first.substr(10, 20));
  EXPECT_EQ(ReanchorReads(ds), 1);
  EXPECT_EQ(RowShifts(ds), (std::vector<int>{0, 4, 3, 10}));
}
