// SPDX-License-Identifier: GPL-3.0-or-later
// Concatenation of datasets individual by individual; expected rows worked out by hand.
#include <gtest/gtest.h>

#include "EditorCommandFixture.h"
#include "editor/Concatenation.h"

namespace {

struct ConcatFixture : CommandFixture {
  int Individ(const std::string& name) {
    TIndivid ind;
    ind.indName = name;
    return project.AddIndivid(ind);
  }
  TSeq& Add(TDataSeq& ds, const std::string& name, const std::string& letters, int individ) {
    return AddRow(ds, name, letters, 0, individ);
  }
  std::unique_ptr<TDataProj> Join(std::vector<std::string> individuals,
                                  std::vector<std::string> datasets, bool exclude = false,
                                  bool revComp = false) {
    return ConcatenateDatasets(project, {std::move(individuals), std::move(datasets), revComp,
                                         exclude});
  }
};

}  // namespace

TEST(ConcatenateDatasets, JoinsPerIndividualPaddingMissingPiecesWithN) {
  ConcatFixture f;
  const int a = f.Individ("A"), b = f.Individ("B");
  TGroup pop;
  pop.grpName = "Pop";
  f.project.AddGroup(pop);
  TDataSeq& g1 = f.AddDataset("g1", {});
  f.Add(g1, "a1", "ACGT", a);
  TDataSeq& g2 = f.AddDataset("g2", {});
  f.Add(g2, "a2", "TT", a).ploidy = 2;
  f.Add(g2, "b2", "GG", b);

  const auto joined = f.Join({"A", "B"}, {"g1", "g2"});
  const TDataSeq& out = *joined->DatasetAt(0);
  EXPECT_EQ(RowNames(out), (std::vector<std::string>{"A", "B"}));
  // B has nothing in g1: its first part is N as long as the longest row after g1.
  EXPECT_EQ(RowLetters(out), (std::vector<std::string>{"ACGTTT", "NNNNGG"}));
  // Every group of the source comes along: the project's own outgroup and "Pop" (one group
  // was expected here before, overlooking the outgroup every project holds).
  EXPECT_EQ(joined->GroupCount(), 2);
  EXPECT_GE(joined->GroupIndexByName("Pop"), 0);
  EXPECT_EQ(joined->IndividCount(), 2);
  EXPECT_EQ(out.SeqAt(1)->individId, joined->IndividKeyByName("A"));
  EXPECT_EQ(out.SeqAt(1)->definition, "Concatenation of several genes");
  EXPECT_EQ(out.SeqAt(1)->ploidy, 0);  // ploidy comes from the first dataset's piece only
  // Each piece is marked with a Misc. region named after its dataset.
  ASSERT_EQ(out.SeqAt(1)->regions.size(), 2u);
  const TRegion& second = out.SeqAt(1)->regions[1];
  EXPECT_EQ(second.regType, kRegMisc);
  EXPECT_EQ(second.regName, "g2");
  EXPECT_EQ(std::make_pair(second.regStart, second.regEnd), std::make_pair(5, 6));

  const auto excluded = f.Join({"A", "B"}, {"g1", "g2"}, true);
  EXPECT_EQ(RowNames(*excluded->DatasetAt(0)), (std::vector<std::string>{"A"}));
}

TEST(ConcatenateDatasets, CopiesShiftsAndStrandsAsTheOptionsSay) {
  ConcatFixture f;
  const int a = f.Individ("A");
  TDataSeq& g1 = f.AddDataset("g1", {});
  f.Add(g1, "a1", "AC", a);
  f.Add(g1, "a2", "GT", a);
  TDataSeq& g2 = f.AddDataset("g2", {});
  f.Add(g2, "a3", "TTT", a);
  // Two sequences in g1 give two rows; g2's one goes to "_0", "_1" is padded.
  EXPECT_EQ(RowNames(*f.Join({"A"}, {"g1", "g2"})->DatasetAt(0)),
            (std::vector<std::string>{"A_0", "A_1"}));
  EXPECT_EQ(RowLetters(*f.Join({"A"}, {"g1", "g2"})->DatasetAt(0)),
            (std::vector<std::string>{"ACTTT", "GTNNN"}));

  TDataSeq& g3 = f.AddDataset("g3", {});
  TSeq& s = f.Add(g3, "a4", "AACG", a);
  s.columnShift = 3;
  s.reversed = true;
  s.plusStrand = false;
  EXPECT_EQ(RowLetters(*f.Join({"A"}, {"g3"})->DatasetAt(0)),
            (std::vector<std::string>{"NNNAACG"}));
  // Stored reversed and complemented: joined as its reverse complement (shift N included).
  EXPECT_EQ(RowLetters(*f.Join({"A"}, {"g3"}, false, true)->DatasetAt(0)),
            (std::vector<std::string>{"CGTTNNN"}));
}

TEST(ConcatenateDatasets, ExclusionCountsOnlyDatasetsThatStillExist) {
  ConcatFixture f;
  const int a = f.Individ("A"), b = f.Individ("B");
  TDataSeq& g1 = f.AddDataset("g1", {});
  f.Add(g1, "a1", "AC", a);
  f.Add(g1, "b1", "AC", b);
  TDataSeq& g2 = f.AddDataset("g2", {});
  f.Add(g2, "a2", "GG", a);
  // "gone" was deleted while the dialog was open: it must not drop every row.
  const auto joined = f.Join({"A", "B"}, {"g1", "gone", "g2"}, true);
  EXPECT_EQ(RowNames(*joined->DatasetAt(0)), (std::vector<std::string>{"A"}));
  EXPECT_EQ(RowLetters(*joined->DatasetAt(0)), (std::vector<std::string>{"ACGG"}));
}
