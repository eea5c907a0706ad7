// SPDX-License-Identifier: GPL-3.0-or-later
// Dataset and project commands: removals with their questions, splitting, turning, thinning.
#include "editor/DatasetCommands.h"

#include <gtest/gtest.h>

#include <set>

#include "EditorCommandFixture.h"

namespace {
std::vector<std::string> DatasetNames(const TDataProj& p) {
  std::vector<std::string> out;
  for (int i = 0; i < p.DatasetCount(); ++i) out.push_back(p.DatasetAt(i)->dsName);
  return out;
}

void FourDatasets(CommandFixture& f) {
  for (const char* n : {"D1", "D2", "D3", "D4"}) f.AddDataset(n, {{"s", "ACGT"}});
  f.project.SetCurrent(1);
}
}  // namespace

TEST(RemoveDatasetCommands, CurrentAndFromCurrentToEitherEnd) {
  CommandFixture f;
  FourDatasets(f);
  EXPECT_EQ(RemoveCurrentDataset(f.ctx), 0);
  EXPECT_EQ(f.Questions().back(),
            "Do you want to permanently remove the dataset D2 ?\r\nPlease note that there is NO "
            "UNDO option to restore a deleted dataset.");
  EXPECT_EQ(f.project.DatasetCount(), 4);
  EXPECT_FALSE(f.ctx.modified);
  f.Answer({true});
  EXPECT_EQ(RemoveDatasetsFromCurrentToEnd(f.ctx), 3);
  EXPECT_EQ(f.Questions().back(),
            "Do you want to permanently remove 3 datasets from current to the end of the "
            "project?\r\nPlease note that there is NO UNDO option to restore a deleted dataset.");
  EXPECT_EQ(DatasetNames(f.project), std::vector<std::string>{"D1"});
  EXPECT_TRUE(f.ctx.modified);
}

TEST(RemoveDatasetCommands, BeforeAndAfterCurrentStateTheCount) {
  CommandFixture f;
  FourDatasets(f);
  f.project.SetCurrent(2);
  f.Answer({true, true});
  EXPECT_EQ(RemoveDatasetsAfterCurrent(f.ctx), 1);
  EXPECT_EQ(f.Questions().back(),
            "You are about to irreversibly delete 1 datasets. Proceed anyway?");
  EXPECT_EQ(RemoveDatasetsBeforeCurrent(f.ctx), 2);
  EXPECT_EQ(f.Questions().back(),
            "You are about to irreversibly delete 2 datasets. Proceed anyway?");
  EXPECT_EQ(DatasetNames(f.project), std::vector<std::string>{"D3"});
  EXPECT_EQ(RemoveDatasetsAfterCurrent(f.ctx), 0);  // nothing after: no question
  EXPECT_EQ(f.Questions().size(), 2u);
  CommandFixture g;
  FourDatasets(g);
  g.Answer({true});
  EXPECT_EQ(RemoveDatasetsFromCurrentToStart(g.ctx), 2);
  EXPECT_EQ(DatasetNames(g.project), (std::vector<std::string>{"D3", "D4"}));
}

TEST(RemoveAnnotationCommands, KindsQuestionsAndStatuses) {
  CommandFixture f;
  f.AddDataset("D1", {{"a", "ACGTACGT"}});
  f.AddDataset("D2", {{"b", "ACGTACGT"}});
  for (int i : {0, 1}) {
    f.Row(1, i).AddRegion(MakeRegion(1, 3, kRegCds, 1));
    f.Row(1, i).AddRegion(MakeRegion(4, 6, kRegIntron));
  }
  EXPECT_FALSE(RemoveAnnotationsInProject(f.ctx, AnnotationRemoval::NonCoding));
  EXPECT_EQ(f.Row(1, 0).regions.size(), 2u);
  f.Answer({true});
  ASSERT_TRUE(RemoveAnnotationsInProject(f.ctx, AnnotationRemoval::NonCoding));
  EXPECT_EQ(f.Questions().back(),
            "Proceed with removing all non-coding regions from the sequences in the "
            "project?\r\nWarning: there is no undo for this step");
  for (int i : {0, 1}) {
    ASSERT_EQ(f.Row(1, i).regions.size(), 1u);
    EXPECT_EQ(f.Row(1, i).regions[0].regType, kRegCds);
  }
  EXPECT_EQ(f.svc.progress.statuses,
            (std::vector<std::string>{
                "Removing non-coding regions from sequences in the project...",
                "Removing all but CDS from dataset D1", "Removing all but CDS from dataset D2"}));
  f.Answer({true});
  ASSERT_TRUE(RemoveAnnotationsInProject(f.ctx, AnnotationRemoval::Coding));
  EXPECT_TRUE(f.Row(1, 1).regions.empty());
  EXPECT_FALSE(f.Ds(1).HasUndo());
}

TEST(RemoveSequencesInProjectCommands, ShortLongAndDatasetSizes) {
  CommandFixture f;
  f.AddDataset("D1", {{"a", "AC--"}, {"b", "ACGTAC"}});
  f.AddDataset("D2", {{"c", "A"}});
  f.AddDataset("D3", {{"d", "ACGT"}, {"e", "ACGT"}, {"f", "ACG"}});
  f.Answer({true});  // count usable positions: "AC--" has two
  EXPECT_EQ(RemoveShortSequencesInProject(f.ctx, 3), 2);
  EXPECT_EQ(f.Questions().back(), "Count usable positions? Press No to analyse total length only");
  EXPECT_EQ(f.Notices().back(), "2 sequences were removed.");
  EXPECT_EQ(RemoveLongSequencesInProject(f.ctx, 5), 1);
  EXPECT_EQ(f.Notices().back(), "1 sequences were removed.");
  EXPECT_EQ(RemoveDatasetsWithManySequences(f.ctx, 2), 1);
  EXPECT_EQ(f.Notices().back(), "1 datasets were removed.");
  EXPECT_EQ(DatasetNames(f.project), (std::vector<std::string>{"D1", "D2"}));
  EXPECT_EQ(RemoveDatasetsWithFewSequences(f.ctx, 1), 2);  // both are empty now
  EXPECT_EQ(f.svc.progress.statuses.back(), "Removing datasets with too few seq...");
  EXPECT_EQ(RemoveShortSequencesInProject(f.ctx, 0), -1);
}

TEST(SplitCommand, OneDatasetPerSequenceOfTheFirstNamedBeforeTheSpace) {
  CommandFixture f;
  f.AddDataset("All", {{"ind1 from pop A", "ACGT"}, {"ind2", "GGCC"}});
  f.AddDataset("Other", {{"x", "T"}});
  EXPECT_EQ(SplitIntoDatasets(f.ctx), 2);
  EXPECT_EQ(DatasetNames(f.project), (std::vector<std::string>{"All", "Other", "ind1", "ind2"}));
  EXPECT_EQ(RowNames(f.Ds(2)), std::vector<std::string>{"ind1"});
  EXPECT_EQ(RowLetters(f.Ds(3)), std::vector<std::string>{"GGCC"});
  EXPECT_EQ(f.project.CurrentIndex(), 1);
}

TEST(RevComplForwardCommand, TurnsReverseAnnotatedSequencesAndReportsMixedOnes) {
  CommandFixture f;
  f.AddDataset("D", {{"rev", "AACG"}, {"mixed", "ACGTAC"}, {"plain", "TTTT"}});
  TRegion r = MakeRegion(1, 4, kRegCds, 1);
  r.regReverse = true;
  f.Row(1).AddRegion(r);
  r.regEnd = 2;
  f.Row(2).AddRegion(r);
  TRegion fwd = MakeRegion(4, 6, kRegGene);
  f.Row(2).AddRegion(fwd);
  std::string report;
  EXPECT_EQ(RevComplAllToForward(f.ctx, report), -1);
  f.Answer({true});
  EXPECT_EQ(RevComplAllToForward(f.ctx, report), 1);
  EXPECT_EQ(f.Row(1).letters, "CGTT");
  EXPECT_EQ(f.Row(2).letters, "ACGTAC");
  EXPECT_EQ(f.Row(3).letters, "TTTT");
  EXPECT_EQ(report,
            "Sequences with CDSs in opposite directions:\r\nDataset: D; Sequence: mixed\r\n");
  EXPECT_EQ(f.Notices().back(),
            "Rev-complemented 1 sequences\r\ncould not revcompl 1 sequences that contain "
            "annotations in both directions");
  EXPECT_EQ(f.svc.progress.statuses.back(), "Rev-complementing sequences...");
}

TEST(LeaveOneCommand, OneRandomRowPerIndividualInEachDataset) {
  CommandFixture f;
  TDataSeq& d1 = f.AddDataset("D1", {});
  for (auto [name, ind] :
       {std::pair{"a1", 1}, {"a2", 1}, {"a3", 1}, {"b1", 2}, {"x", -1}, {"y", -1}})
    AddRow(d1, name, "ACGT", 0, ind);
  TDataSeq& d2 = f.AddDataset("D2", {});
  for (auto [name, ind] : {std::pair{"a1", 1}, {"b1", 2}, {"b2", 2}})
    AddRow(d2, name, "ACGT", 0, ind);
  PlatformRandom rng(7);
  EXPECT_EQ(LeaveOneSequencePerIndivid(f.ctx, rng), -1);
  EXPECT_EQ(f.Questions().back(),
            "This will remove all but one seq per individ in each dataset of the project. "
            "Proceed?");
  f.Answer({true});
  EXPECT_EQ(LeaveOneSequencePerIndivid(f.ctx, rng), 3);
  EXPECT_EQ(f.Notices().back(), "3 sequences removed");
  EXPECT_EQ(d1.Count(), 4);  // one of a1..a3, b1, and both rows without an individual
  EXPECT_EQ(d1.CountOfIndivid(1), 1);
  EXPECT_EQ(d2.CountOfIndivid(2), 1);
  EXPECT_TRUE(d1.HasExactName("x") && d1.HasExactName("y"));
}

TEST(LeaveOneCommand, TheKeptRowVariesWithTheRandomSequence) {
  std::set<std::string> kept;
  for (std::uint32_t seed = 1; seed <= 12; ++seed) {
    CommandFixture f;
    TDataSeq& ds = f.AddDataset("D", {});
    for (const char* n : {"a", "b", "c"}) AddRow(ds, n, "A", 0, 5);
    PlatformRandom rng(seed * 0x9E3779B9u);
    f.Answer({true});
    ASSERT_EQ(LeaveOneSequencePerIndivid(f.ctx, rng), 2);
    kept.insert(ds.NameAt(1));
  }
  EXPECT_EQ(kept.size(), 3u);
}

TEST(PloidyAndQualityCommands, ScopeAndNotice) {
  CommandFixture f;
  f.AddDataset("D1", {{"a", "A"}});
  f.AddDataset("D2", {{"b", "A"}});
  EXPECT_FALSE(SetPloidy(f.ctx, 0));
  ASSERT_TRUE(SetPloidy(f.ctx, 2));
  EXPECT_EQ(f.Row(1, 1).ploidy, 2);
  EXPECT_EQ(f.Row(1, 0).ploidy, 0);
  f.Answer({true});
  ASSERT_TRUE(SetPloidy(f.ctx, 1));
  EXPECT_EQ(f.Row(1, 0).ploidy, 1);
  f.Row(1).quality = {20, 40};
  f.Row(1).letters = "AC";
  f.Row(1).SyncLength();
  AssignBaseQuality(f.ctx);
  ASSERT_EQ(f.Notices().size(), 1u);
  EXPECT_EQ(f.Notices()[0].rfind("Average base quality = ", 0), 0u);
}
