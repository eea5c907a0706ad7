// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "alignment/Haplotypes.h"
#include "editor/EditorCommandFixture.h"

namespace {

// 100 letters of A/C/G/T with `snp` at column 50.
std::string Read100(char snp) {
  std::string s;
  for (int i = 0; i < 100; ++i) s += "ACGT"[(i * 7 + i / 3) % 4];
  s[49] = snp;
  return s;
}

std::vector<int> SelectedRows(TDataSeq& ds) {
  std::vector<int> rows;
  for (int r = 1; r <= ds.Count(); ++r)
    if (ds.SeqAt(r)->selected) rows.push_back(r);
  return rows;
}

void Mates(TDataSeq& ds, int a, int b) {
  ds.SeqAt(a)->mateId = ds.SeqAt(b)->seqId;
  ds.SeqAt(b)->mateId = ds.SeqAt(a)->seqId;
}

}  // namespace

TEST(FindSnpColumns, NeedsTwoLettersEachSeenTwiceGapsAndAmbiguityLeftOut) {
  CommandFixture f;
  f.AddDataset("d",
               {{"a", "AAC-N"}, {"b", "AAC-N"}, {"c", "ACGTN"}, {"d", "AAg-N"}, {"e", "AT--N"}});
  // Column 2: A three times, C and T once: not one. Column 3: C twice, G twice (g upper-cased).
  const std::vector<SnpColumn> snps = FindSnpColumns(f.Ds());
  ASSERT_EQ(snps.size(), 1u);
  EXPECT_EQ(snps[0].column, 3);
  EXPECT_EQ(snps[0].alleles, "CG");
}

TEST(ReconstructHaplotypes, KeepsConsensusWithAHundredBasesAndCountsOnlyKeptOnes) {
  CommandFixture f;
  std::string a = Read100('A'), c = Read100('C');
  std::string a99 = a;
  a99[0] = 'N';  // the A group's consensus has 99 bases
  f.AddDataset("d", {{"a1", a99}, {"c1", c}, {"a2", a99}, {"c2", c}, {"x", "TT"}});
  f.Row(5).columnShift = 49;  // a lone read covering the SNP with its own letter
  TDataSeq result(f.svc);
  ReconstructHaplotypes(f.Ds(), &result, false);
  ASSERT_EQ(result.Count(), 1);
  EXPECT_EQ(result.SeqAt(1)->seqName, "hapl1");
  EXPECT_EQ(result.SeqAt(1)->letters, c);
  EXPECT_EQ(SelectedRows(f.Ds()), (std::vector<int>{1, 2, 3, 4}));
  TDataSeq again(f.svc);
  f.Row(1).letters = a;
  f.Row(3).letters = a;
  ReconstructHaplotypes(f.Ds(), &again, false);
  EXPECT_EQ(RowNames(again), (std::vector<std::string>{"hapl1", "hapl2"}));
  EXPECT_EQ(again.SeqAt(1)->letters, a);
}

TEST(ReconstructHaplotypes, LowerCaseAlleleJoinsOnlyAsAMateAndMatesAreFoundAtAnyRow) {
  CommandFixture f;
  const std::string a = Read100('A');
  std::string lower = a;
  lower[49] = 'a';
  // Row 1 is a mate that does not reach the SNP; row 5 carries the allele in lower case.
  f.AddDataset("d", {{"m", "GGGG"},
                     {"a1", a},
                     {"a2", a},
                     {"c1", Read100('C')},
                     {"low", lower},
                     {"c2", Read100('C')}});
  f.Row(1).columnShift = 100;
  Mates(f.Ds(), 1, 2);
  TDataSeq result(f.svc);
  ReconstructHaplotypes(f.Ds(), &result, false);
  EXPECT_EQ(SelectedRows(f.Ds()), (std::vector<int>{1, 2, 3, 4, 6}));
  ASSERT_EQ(result.Count(), 2);
  EXPECT_EQ(result.SeqAt(1)->letters, a + "GGGG");
  Mates(f.Ds(), 5, 3);
  TDataSeq withMate(f.svc);
  ReconstructHaplotypes(f.Ds(), &withMate, false);
  EXPECT_EQ(SelectedRows(f.Ds()), (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

TEST(ReconstructHaplotypes, IterateFollowsOtherSnpsAndAReadIsGroupedOnce) {
  CommandFixture f;
  // SNPs at columns 10 and 110. r3 reaches only column 110 and joins r1's group through r1's
  // letter there when iterating; it adds five letters beyond r1.
  std::string b;
  for (int i = 0; i < 120; ++i) b += "ACGT"[(i * 5 + i / 7) % 4];
  auto with = [&b](char at10, char at110) {
    std::string s = b;
    s[9] = at10;
    s[109] = at110;
    return s;
  };
  const std::string r1 = with('A', 'T');
  f.AddDataset("d", {{"r1", r1},
                     {"r2", with('A', 'T').substr(0, 60)},
                     {"r3", r1.substr(100) + "GGGGG"},
                     {"r4", with('C', 'C')},
                     {"r5", with('C', 'C')}});
  f.Row(3).columnShift = 100;
  TDataSeq plain(f.svc);
  ReconstructHaplotypes(f.Ds(), &plain, false);
  ASSERT_EQ(plain.Count(), 2);  // r3 alone at column 110 makes no haplotype
  EXPECT_EQ(plain.SeqAt(1)->letters, r1);
  EXPECT_EQ(SelectedRows(f.Ds()), (std::vector<int>{1, 2, 3, 4, 5}));
  TDataSeq iterated(f.svc);
  ReconstructHaplotypes(f.Ds(), &iterated, true);
  ASSERT_EQ(iterated.Count(), 2);  // r3 is not grouped again at column 110
  EXPECT_EQ(iterated.SeqAt(1)->letters, r1 + "GGGGG");
  EXPECT_EQ(iterated.SeqAt(2)->letters, with('C', 'C'));

  HaplotypeGroup g(f.svc);
  g.Add(f.Row(4));
  EXPECT_FALSE(IsCompatible(f.Row(2), g));
  EXPECT_FALSE(IsCompatible(TSeq("n", "NNNNN"), g));
  EXPECT_TRUE(IsCompatible(f.Row(5), g));
  EXPECT_TRUE(IsCompatible(TSeq("empty", ""), g));
}

TEST(ReconstructHaplotypes, AHundredThousandChainedReadsGatherWithoutDeepRecursion) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("d", {});
  std::vector<std::unique_ptr<TSeq>> reads;
  constexpr int kPairs = 50000;
  for (int i = 0; i < kPairs; ++i)
    for (const char* letters : {"AA", "CC"}) {
      auto r = std::make_unique<TSeq>("r", letters);
      r->columnShift = i;
      reads.push_back(std::move(r));
    }
  ds.AppendReads(reads);
  TDataSeq result(f.svc);
  ReconstructHaplotypes(ds, &result, true);
  EXPECT_EQ(SelectedRows(ds).size(), static_cast<std::size_t>(2 * kPairs));
  ASSERT_EQ(result.Count(), 2);
  EXPECT_EQ(result.SeqAt(1)->letters, std::string(kPairs + 1, 'A'));
}
