// SPDX-License-Identifier: GPL-3.0-or-later
// The scan of single sites: gaps under each indel mode, missing and ambiguous letters, ragged
// ends, disabled rows, outgroup orientation, groups and the mutation limit. Every count below
// is read off the alignment by hand.
#include <gtest/gtest.h>

#include "ScanFixture.h"

namespace {

// Columns: 1 A/G tie, 2 monomorphic, 3 G with N and R, 4 monomorphic, 5 A,A,C,gap,
// 6 s1 ends early (ragged), others A.
const std::vector<std::string> kRows = {"ACGTA", "ACGTAA", "GCNTCA", "GcRt-a"};

struct ModeCase {
  int indel, ambiguity;
  int analysed;
  std::vector<std::pair<int, char>> mutations;  // (column, derived letter)
};

TEST(UpdateMutsSingleSites, GapsMissingAndAmbiguousLettersUnderEachMode) {
  const ModeCase cases[] = {
      {0, 0, 4, {{1, 'G'}}},                                // gap columns 5 and 6 skipped
      {1, 0, 6, {{1, 'G'}, {5, 'C'}}},                      // gaps dropped from the variants
      {2, 0, 6, {{1, 'G'}, {5, 'C'}, {5, '-'}, {6, '-'}}},  // a gap is a variant
      {0, 1, 3, {{1, 'G'}}},                                // column 3 holds N and R: skipped
  };
  for (const ModeCase& c : cases) {
    SCOPED_TRACE("indel " + std::to_string(c.indel) + " ambiguity " + std::to_string(c.ambiguity));
    ScanFixture f(kRows);
    ASSERT_TRUE(f.Scan(Options(c.indel, c.ambiguity)));
    ASSERT_EQ(f.ds->mutHolders.size(), 1u);
    EXPECT_TRUE(f.ds->groupMutHolders.empty());
    const tmutholder& t = f.Table();
    EXPECT_EQ(t.positionsAnalysed(), c.analysed);
    EXPECT_EQ(t.noncodingPositions, c.analysed);
    ASSERT_EQ(t.mutations.size(), c.mutations.size());
    for (std::size_t i = 0; i < c.mutations.size(); ++i) {
      EXPECT_EQ(t.mutations[i].position, c.mutations[i].first);
      EXPECT_EQ(t.mutations[i].derivedLetter, c.mutations[i].second);
    }
    // Column 1: A and G twice each; A appears first so G is derived, carried by s3 and s4.
    EXPECT_EQ(CarrierRows(t.mutations[0]), (std::vector<int>{3, 4}));
    EXPECT_EQ(t.mutations[0].ancestralLetter, 'A');
    EXPECT_TRUE(t.mutations[0].isTransition);
    EXPECT_EQ(t.mutations[0].mutationClass, kMutClassNoncoding);
    EXPECT_EQ(t.mutations[0].siteClass, kClassNoncodingSite);
    if (c.indel == 1) {
      // The gap row s4 does not carry C; the site remembers its gap.
      EXPECT_EQ(CarrierRows(t.mutations[1]), (std::vector<int>{3}));
      EXPECT_TRUE(t.mutations[1].hasGap);
      EXPECT_FALSE(t.mutations[1].isTransition);  // A to C is a transversion
    }
    if (c.indel == 2) {
      EXPECT_EQ(CarrierRows(t.mutations[3]), (std::vector<int>{1}));  // ragged end of s1
    }
  }
}

TEST(UpdateMutsSingleSites, AmbiguityFlagClearedOnlyWhenACodeIsFullyObserved) {
  // R = A or G, both seen; Y = C or T, neither seen.
  ScanFixture f({"AA", "AA", "GG", "RY"});
  ASSERT_TRUE(f.Scan(Options(0)));
  const tmutholder& t = f.Table();
  ASSERT_EQ(t.mutations.size(), 2u);
  EXPECT_FALSE(t.mutations[0].hasAmbiguity);
  EXPECT_TRUE(t.mutations[1].hasAmbiguity);
  EXPECT_EQ(CarrierRows(t.mutations[0]), (std::vector<int>{3}));
}

TEST(UpdateMutsSingleSites, ColumnShiftDisabledRowsAndAllMissingColumns) {
  // s3 starts at column 3 (two leading columns not stored); s4 is disabled and its C is
  // never a variant. Column 5 holds only N and the disabled row: analysed, no variants.
  ScanFixture f({"ACGTN", "ACGAN", "GAN", "CCCCC"});
  f.Row(3).columnShift = 2;
  f.Row(4).enabled = false;
  AnalysisOptions o = Options(1);
  ASSERT_TRUE(f.Scan(o));
  const tmutholder& t = f.Table();
  // Column 1: A, A, - (not covered), ! -> gap removed, monomorphic. Column 3: G G G.
  // Column 4: T, A, A -> A first (2), T carried by s1. Column 5: N N N.
  ASSERT_EQ(t.mutations.size(), 1u);
  EXPECT_EQ(t.mutations[0].position, 4);
  EXPECT_EQ(t.mutations[0].ancestralLetter, 'A');
  EXPECT_EQ(CarrierRows(t.mutations[0]), (std::vector<int>{1}));
  EXPECT_EQ(t.positionsAnalysed(), 5);
  EXPECT_FALSE(t.sampleMask.Test(3));  // the disabled row is out of every sample
  // Without gaps the two columns s3 does not cover are skipped.
  ScanFixture g({"ACGTN", "ACGAN", "GAN"});
  g.Row(3).columnShift = 2;
  ASSERT_TRUE(g.Scan(Options(0)));
  EXPECT_EQ(g.Table().positionsAnalysed(), 3);
}

TEST(UpdateMutsSingleSites, RegionLimitsTheColumns) {
  ScanFixture f({"AAAA", "GGGG"});
  AnalysisOptions o = Options(0);
  o.regionFrom = 2;
  o.regionTo = 3;
  ASSERT_TRUE(f.Scan(o));
  ASSERT_EQ(f.Table().mutations.size(), 2u);
  EXPECT_EQ(f.Table().mutations[0].position, 2);
  EXPECT_EQ(f.Table().mutations[1].position, 3);
  EXPECT_EQ(f.Table().positionsAnalysed(), 2);
}

TEST(UpdateMutsOutgroup, OutgroupLetterLeadsAndFixesDifferences) {
  // Columns: 1 outgroup G is rare but ancestral; 2 ingroup all T, outgroup C: fixed;
  // 3 outgroup N: unoriented; 4 outgroup C private with three variants: excluded.
  ScanFixture f({"ATAA", "ATAA", "GTGG", "GCNC"});
  f.Assign(4, kOutgroupKey);
  ASSERT_TRUE(f.Scan(Options(0)));
  ASSERT_EQ(f.ds->groupMutHolders.size(), 1u);
  const tmutholder& d = f.Divergence();
  EXPECT_EQ(d.message, "s4");
  EXPECT_TRUE(d.sampleMask.Test(3));
  ASSERT_EQ(d.mutations.size(), 5u);
  const tmutation& c1 = d.mutations[0];
  EXPECT_EQ(c1.ancestralLetter, 'G');
  EXPECT_EQ(c1.derivedLetter, 'A');
  EXPECT_EQ(CarrierRows(c1), (std::vector<int>{1, 2}));
  EXPECT_EQ(c1.outgroupIndex, 4);
  EXPECT_EQ(c1.outgroupLetter, 'G');
  EXPECT_FALSE(c1.isFixed);
  const tmutation& c2 = d.mutations[1];
  EXPECT_EQ(c2.ancestralLetter, 'C');
  EXPECT_EQ(CarrierRows(c2), (std::vector<int>{1, 2, 3}));
  EXPECT_TRUE(c2.isFixed);
  // Missing outgroup letter: majority A stays ancestral, only s3 carries G, no orientation.
  const tmutation& c3 = d.mutations[2];
  EXPECT_EQ(c3.position, 3);
  EXPECT_EQ(c3.ancestralLetter, 'A');
  EXPECT_EQ(CarrierRows(c3), (std::vector<int>{3}));
  EXPECT_EQ(c3.outgroupIndex, -1);
  EXPECT_FALSE(c3.isSingleton);
  // Column 4: C (outgroup) leads, then A (2) and G (1); both excluded.
  EXPECT_EQ(d.mutations[3].derivedLetter, 'A');
  EXPECT_EQ(d.mutations[4].derivedLetter, 'G');
  EXPECT_TRUE(d.mutations[3].isExcluded);
  EXPECT_TRUE(d.mutations[4].isExcluded);
  EXPECT_TRUE(d.mutations[4].isSingleton);
  EXPECT_EQ(d.countFixedDifferences(0, 0, kSiteAll, kMutAll), 1);
  const samptype all = AllOf(4);
  // Excluded mutations are never polymorphisms; the fixed one is left out unless asked for.
  EXPECT_EQ(d.countMutations(0, 0, all, kSiteAll, kMutAll), 2);
  EXPECT_EQ(d.countMutations(0, 0, all, kSiteAll, kMutAll, true), 3);

  // The polymorphism table reads the outgroup's letters as absent.
  const tmutholder& p = f.Table();
  ASSERT_EQ(p.mutations.size(), 3u);
  EXPECT_EQ(p.mutations[0].derivedLetter, 'G');
  EXPECT_EQ(CarrierRows(p.mutations[0]), (std::vector<int>{3}));
  EXPECT_EQ(p.mutations[1].position, 3);
  EXPECT_EQ(p.mutations[2].position, 4);
  EXPECT_EQ(p.mutations[0].outgroupIndex, -1);
}

TEST(UpdateMutsGroups, OneTablePerGroupWithAndWithoutOutgroup) {
  ScanFixture f({"AC", "AC", "GC", "GT", "AC"});
  const int p1 = f.AddGroup("P1"), p2 = f.AddGroup("P2");
  f.Assign(1, p1);
  f.Assign(2, p1);
  f.Assign(3, p2);
  f.Assign(4, p2);
  f.Assign(5, kOutgroupKey);
  ASSERT_TRUE(f.Scan(Options(0), {p1, p2, p1}));
  ASSERT_EQ(f.ds->mutHolders.size(), 3u);
  ASSERT_EQ(f.ds->groupMutHolders.size(), 3u);
  EXPECT_EQ(f.Table(0).groupId, 0);
  EXPECT_EQ(f.Table(1).groupId, p1);
  EXPECT_EQ(f.Table(2).groupId, p2);
  EXPECT_EQ(f.Table(0).mutations.size(), 2u);  // G {3,4}; T {4}
  EXPECT_EQ(f.Table(1).mutations.size(), 0u);
  ASSERT_EQ(f.Table(2).mutations.size(), 1u);  // C/T within P2
  EXPECT_EQ(CarrierRows(f.Table(2).mutations[0]), (std::vector<int>{4}));
  // P2 against the outgroup: G at column 1 is fixed.
  const tmutholder& d2 = f.Divergence(2);
  ASSERT_EQ(d2.mutations.size(), 2u);
  EXPECT_EQ(CarrierRows(d2.mutations[0]), (std::vector<int>{3, 4}));
  EXPECT_TRUE(d2.mutations[0].isFixed);
  EXPECT_FALSE(d2.mutations[1].isFixed);
  EXPECT_TRUE(d2.mutations[1].isSingleton);
  EXPECT_EQ(f.Divergence(1).mutations.size(), 0u);
}

TEST(UpdateMutsGroups, AGroupScannedAloneGetsTheTablesOfTheWholeScan) {
  // Coding rows (codon counts and synonymous positions), a gap, a group-private variant and
  // an outgroup: each group's tables scanned alone equal those of the scan of all groups.
  ScanFixture f({"ATGAAACCC", "ATGAAGCCC", "ATGAAACCT", "ATGGAACC-", "ATGAAACCT", "ATGAAACCC"});
  f.AllCds(false);
  const int p1 = f.AddGroup("P1"), p2 = f.AddGroup("P2");
  for (int r : {1, 3, 5}) f.Assign(r, p1);
  for (int r : {2, 4}) f.Assign(r, p2);
  f.Assign(6, kOutgroupKey);
  const std::vector<int> groups{0, p1, p2};
  ASSERT_TRUE(f.Scan(Options(1), groups));
  auto summary = [](const tmutholder& t) {
    std::string s = std::to_string(t.groupId) + ' ' + std::to_string(t.sampleMask.Count()) + ' ' +
                    std::to_string(t.positionsAnalysed()) + ' ' + std::to_string(t.codonCount) +
                    ' ' + std::to_string(t.synPositions) + ' ' + t.message + '|';
    for (const tmutation& m : t.mutations) {
      s += std::to_string(m.position) + m.ancestralLetter + m.derivedLetter +
           std::to_string(m.mutationClass) + (m.isFixed ? "f" : "") + ':';
      for (int r : CarrierRows(m)) s += std::to_string(r) + ',';
      s += ' ';
    }
    return s;
  };
  std::vector<std::string> whole, divergence;
  for (int k = 0; k < 3; ++k) {
    whole.push_back(summary(f.Table(k)));
    divergence.push_back(summary(f.Divergence(k)));
  }
  ASSERT_NE(whole[1], whole[2]);
  ASSERT_TRUE(f.Scan(Options(1), {0}));
  ASSERT_EQ(f.ds->mutHolders.size(), 1u);
  for (int k : {2, 1}) {
    ASSERT_TRUE(UpdateGroupTables(*f.ds, Options(1), &f.proj, groups, k, ScanChoices{}, &f.rng));
    ASSERT_EQ(f.ds->mutHolders.size(), 3u);
    EXPECT_EQ(summary(f.Table(k)), whole[static_cast<std::size_t>(k)]);
    EXPECT_EQ(summary(f.Divergence(k)), divergence[static_cast<std::size_t>(k)]);
    // Every other table gave way, the dataset's too.
    for (int other : {0, 3 - k}) {
      EXPECT_EQ(f.Table(other).sampleMask.Size(), 0);
      EXPECT_EQ(f.Divergence(other).sampleMask.Size(), 0);
      EXPECT_EQ(f.Table(other).groupId, groups[static_cast<std::size_t>(other)]);
    }
  }
  // The dataset's tables scanned again beside group 1's.
  ASSERT_TRUE(
      UpdateGroupTables(*f.ds, Options(1), &f.proj, groups, 0, ScanChoices{}, &f.rng, false));
  EXPECT_EQ(summary(f.Table(0)), whole[0]);
  EXPECT_EQ(summary(f.Divergence(0)), divergence[0]);
  EXPECT_EQ(summary(f.Table(1)), whole[1]);
  EXPECT_FALSE(UpdateGroupTables(*f.ds, Options(1), &f.proj, groups, -1, ScanChoices{}, &f.rng));
  EXPECT_FALSE(UpdateGroupTables(*f.ds, Options(1), &f.proj, groups, 3, ScanChoices{}, &f.rng));
}

TEST(UpdateMutsGroups, OutgroupLettersCountOnlyWhenIncludedInTheSample) {
  ScanFixture f({"A", "A", "G"});
  f.Assign(3, kOutgroupKey);
  AnalysisOptions o = Options(0);
  o.showProgress = true;
  ASSERT_TRUE(f.Scan(o));
  EXPECT_TRUE(f.Table().mutations.empty());
  EXPECT_EQ(f.svc.progress.starts, 1);
  EXPECT_EQ(f.svc.progress.ends, 1);
  ScanChoices include;
  include.includeOutgroupsInSample = true;
  ASSERT_TRUE(UpdateMuts(*f.ds, Options(0), nullptr, {}, include, &f.rng));  // dataset's project
  EXPECT_EQ(f.ds->groupMutHolders.size(), 1u);  // the outgroup was still found
  ASSERT_EQ(f.Table().mutations.size(), 1u);
  EXPECT_EQ(CarrierRows(f.Table().mutations[0]), (std::vector<int>{3}));
}

TEST(UpdateMutsLimits, FullTableStopsAndIsReportedOnce) {
  ScanFixture f({"AAAAAA", "GGGGGG"});
  f.svc.settings.maxMutPerDataset = 1;
  ASSERT_TRUE(f.Scan(Options(0)));
  // Columns are taken while the table holds no more than the limit.
  EXPECT_EQ(f.Table().mutations.size(), 2u);
  EXPECT_EQ(f.Table().message, "Exceeded max number of mutations");
  EXPECT_EQ(f.svc.messages.errors,
            (std::vector<std::string>{"Exceeded max number of mutations in Dataset"}));
  // With an outgroup: its table's message loses the name, the dataset is reported once.
  ScanFixture g({"AAAAAA", "GGGGGG", "CCCCCC"});
  g.svc.settings.maxMutPerDataset = 1;
  g.Assign(3, kOutgroupKey);
  ASSERT_TRUE(g.Scan(Options(0)));
  EXPECT_EQ(g.Divergence().message, "Exceeded max number of mutations");
  EXPECT_EQ(g.Divergence().mutations.size(), 2u);
  EXPECT_EQ(g.svc.messages.errors.size(), 1u);
}

TEST(UpdateMutsLimits, EmptyDatasetGivesNoTables) {
  ScanFixture f({});
  EXPECT_FALSE(f.Scan(Options(0)));
  EXPECT_TRUE(f.ds->mutHolders.empty());
}

TEST(UpdateMutsSnp, StoredPositionsAndSpanCounting) {
  ScanFixture f({"AGT", "ACT", "GCT"});
  for (int r = 1; r <= 3; ++r) {
    f.Row(r).seqType = kSeqSnp;
    f.Row(r).polySitePos = {100, 250, 400};
  }
  ASSERT_TRUE(f.Scan(Options(0)));
  const tmutholder& t = f.Table();
  ASSERT_EQ(t.mutations.size(), 2u);
  EXPECT_EQ(t.mutations[0].position, 100);
  EXPECT_EQ(t.mutations[1].position, 250);
  EXPECT_TRUE(t.spanCounting);
  EXPECT_EQ(t.positionsAnalysed(), 151);  // 250 - 100 + 1
  AnalysisOptions o = Options(0);
  o.regionFrom = 200;  // stored positions, not columns
  ASSERT_TRUE(f.Scan(o));
  ASSERT_EQ(f.Table().mutations.size(), 1u);
  EXPECT_EQ(f.Table().mutations[0].position, 250);
}

TEST(UpdateMutsSimple, OneRecordPerAnalysedSite) {
  ScanFixture f({"AAC", "AGC", "ATC"});
  ScanChoices simple;
  simple.simple = true;
  ASSERT_TRUE(UpdateMuts(*f.ds, Options(0), &f.proj, {}, simple, &f.rng));
  const tmutholder& t = f.Table();
  ASSERT_EQ(t.mutations.size(), 3u);
  EXPECT_EQ(CarrierRows(t.mutations[1]), (std::vector<int>{2, 3}));  // G and T together
  EXPECT_EQ(t.mutations[2].carrierCount, 0);                         // monomorphic column
}

TEST(FindVariants, MostFrequentFirstTiesByFirstAppearance) {
  struct Case {
    const char* column;
    const char* letters;
    bool gap, ambiguity;
  };
  for (const Case& c : {Case{"AAGR", "AG", false, true}, Case{"GA", "GA", false, false},
                        Case{"CAAGG", "AGC", false, false}, Case{"!-AA", "A-", true, false},
                        Case{"N?!", "", false, true}}) {
    SCOPED_TRACE(c.column);
    const ColumnVariants v = FindVariants(c.column);
    EXPECT_EQ(v.letters, c.letters);
    EXPECT_EQ(v.hasGap, c.gap);
    EXPECT_EQ(v.hasAmbiguity, c.ambiguity);
  }
  EXPECT_FALSE(AmbiguityStays("R", "AG"));
  EXPECT_TRUE(AmbiguityStays("RN", "AC"));
  EXPECT_TRUE(AmbiguityStays("N", "ACGT"));  // N resolves nothing
}

}  // namespace
