// SPDX-License-Identifier: GPL-3.0-or-later
// Property dialogs without windows: sequence, dataset and project fields, the datasets list,
// the region kinds shown and the restriction site marks.
#include "editor/PropertyCommands.h"

#include <gtest/gtest.h>

#include "EditorCommandFixture.h"
#include "editor/DatasetList.h"
#include "editor/EnzymeSites.h"
#include "editor/ShownRegionKinds.h"

namespace {
TGroup Group(const std::string& name) {
  TGroup g;
  g.grpName = name;
  return g;
}
}  // namespace

TEST(ApplySeqProperties, WritesEveryFieldKeepingNamesUniqueAndLookupsCurrent) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"a", "ACGTACGT"}, {"b", "ACGT"}});
  TIndivid ind;
  ind.indName = "Individual_0";
  ind.indGroup = f.project.AddGroup(Group("Pop"));
  f.project.AddIndivid(ind);
  TSeq& seq = *ds.SeqAt(1);
  seq.seqType = kSeqRflp;

  SeqProperties p = ReadSeqProperties(seq, f.project);
  EXPECT_EQ(p.seqTypeIndex, 6);  // RFLP at its own entry: "OK" alone keeps the type
  EXPECT_EQ(p.ploidy, 1);        // stored 0, the box starts at 1
  EXPECT_EQ(p.individName, "");
  p.seqName = "b";  // taken by row 2
  p.seqTypeIndex = 3;
  p.forward = false;
  p.plusStrand = false;
  p.showTrace = true;  // no trace: stays off
  p.organism = "Drosophila";
  p.poorQualityLeft = 3;
  // "New" twice while the dialog was open; the second is the one chosen.
  const std::string first = NewIndividualName(f.project, {});
  const std::string second = NewIndividualName(f.project, {first});
  EXPECT_EQ(first, "Individual_1");
  EXPECT_EQ(second, "Individual_2");
  p.individName = "Individual_0";
  std::vector<TRegion> regions{MakeRegion(2, 5, kRegCds, 1)};
  regions[0].regId = 4;

  ASSERT_TRUE(ApplySeqProperties(f.project, ds, 1, p, {first, second}, regions));
  EXPECT_EQ(seq.seqName, "b~1");
  EXPECT_EQ(ds.RowByName("b~1"), 1);
  EXPECT_EQ(ds.RowByName("a"), -1);
  EXPECT_EQ(seq.seqType, kSeqProtein1);
  EXPECT_TRUE(seq.reversed);
  EXPECT_FALSE(seq.plusStrand);
  EXPECT_FALSE(seq.showTrace);
  EXPECT_EQ(seq.organism, "Drosophila");
  EXPECT_EQ(seq.poorQualityLeft, 3);
  EXPECT_EQ(seq.ploidy, 1);
  EXPECT_EQ(seq.regions, regions);
  EXPECT_EQ(f.project.IndividCount(), 3);
  EXPECT_EQ(f.project.IndividName(2), "Individual_2");
  EXPECT_EQ(seq.individId, f.project.Individs()[0].indKey);
  EXPECT_EQ(seq.groupNum, ind.indGroup);  // the group follows the individual

  // Read back unchanged, written again: nothing changes.
  EXPECT_FALSE(
      ApplySeqProperties(f.project, ds, 1, ReadSeqProperties(seq, f.project), {}, seq.regions));
  // A name already taken by an individual is not offered again.
  EXPECT_EQ(NewIndividualName(f.project, {}), "Individual_3");
  f.project.RenameIndivid(0, "Individual_3");
  EXPECT_EQ(NewIndividualName(f.project, {}), "Individual_3~1");
}

TEST(ApplyDatasetProperties, RenamesUniquelyAndClampsTheNumbers) {
  CommandFixture f;
  f.AddDataset("Adh", {});
  f.AddDataset("Ddc", {});
  DatasetProperties p = ReadDatasetProperties(*f.project.DatasetAt(1));
  p.name = "Adh";
  p.comment = "second";
  p.chromosome = -7;
  p.genePosition = 1200;
  p.selected = false;
  ASSERT_TRUE(ApplyDatasetProperties(f.project, 1, p));
  const TDataSeq& ds = *f.project.DatasetAt(1);
  EXPECT_EQ(ds.dsName, "Adh~1");
  EXPECT_EQ(f.project.IndexByName("Adh~1"), 1);
  EXPECT_EQ(ds.chromosome, -2);
  EXPECT_EQ(ds.genePosition, 1200);
  EXPECT_FALSE(ds.dsSelected);
  EXPECT_FALSE(ApplyDatasetProperties(f.project, 1, ReadDatasetProperties(ds)));
  EXPECT_FALSE(ApplyDatasetProperties(f.project, 5, p));

  f.project.AddGroup(Group("Pop"));
  EXPECT_EQ(
      ProjectContentsLines(f.project),
      (std::array<std::string, 4>{"Datasets: 2", "Individuals: 0", "Groups: 2", "Sequences: 0"}));
}

TEST(DatasetListTicks, ButtonsSetTheTicksTheirHintsName) {
  std::vector<bool> t(5, false);
  TickToStart(t, 2);  // third of five highlighted
  EXPECT_EQ(t, (std::vector<bool>{true, true, true, false, false}));
  TickToEnd(t, 3);
  EXPECT_EQ(t, (std::vector<bool>{true, true, true, true, true}));
  UntickAll(t);
  EXPECT_EQ(t, std::vector<bool>(5, false));
  t[1] = true;
  InvertTicks(t);
  EXPECT_EQ(t, (std::vector<bool>{true, false, true, true, true}));
  TickToEnd(t, -1);  // nothing highlighted
  TickAll(t);
  EXPECT_EQ(t, std::vector<bool>(5, true));
}

TEST(DeleteTickedDatasets, AsksTwiceAndDeletesTheTickedFromTheLast) {
  CommandFixture f;
  for (const char* name : {"Gene A", "Gene B", "Gene C"}) f.AddDataset(name, {});
  EXPECT_EQ(DeleteTickedDatasets(f.project, {false, false, false}, f.svc.messages), 0);
  EXPECT_TRUE(f.Questions().empty());

  const std::vector<bool> two{true, false, true};
  f.Answer({false});
  EXPECT_EQ(DeleteTickedDatasets(f.project, two, f.svc.messages), 0);
  f.Answer({true, false});
  EXPECT_EQ(DeleteTickedDatasets(f.project, two, f.svc.messages), 0);
  EXPECT_EQ(f.project.DatasetCount(), 3);
  f.Answer({true, true});
  EXPECT_EQ(DeleteTickedDatasets(f.project, two, f.svc.messages), 2);
  const std::string warning =
      "Warning: you are about to delete data. There is no undo for this action. Would you like "
      "to proceed?";
  EXPECT_EQ(f.Questions(),
            (std::vector<std::string>{"Delete 2 selected datasets?", "Delete 2 selected datasets?",
                                      warning, "Delete 2 selected datasets?", warning}));
  // Names sharing their lookup key ("GENE") still stand for their own datasets.
  ASSERT_EQ(f.project.DatasetCount(), 1);
  EXPECT_EQ(f.project.DatasetAt(0)->dsName, "Gene B");

  f.Questions().clear();
  f.AddDataset("Gene D", {});
  f.Answer({true, true});
  EXPECT_EQ(DeleteTickedDatasets(f.project, {false, true}, f.svc.messages), 1);
  EXPECT_EQ(f.Questions().front(), "Delete dataset Gene D ?");

  EXPECT_FALSE(WriteDatasetTicks(f.project, {true}));
  EXPECT_TRUE(WriteDatasetTicks(f.project, {false}));
  EXPECT_EQ(DatasetTicks(f.project), std::vector<bool>{false});
}

TEST(ApplyShownKinds, WritesTicksAndMarksGapsWhenEitherListShowsThem) {
  CommandFixture f;
  f.AddDataset("D1", {{"a", "AC--GT-"}});
  f.AddDataset("D2", {{"b", "A---C"}, {"c", "ACGT"}});
  std::vector<RegionDisplayEntry> grid = DefaultRegionDisplay(), trace = DefaultRegionDisplay();
  const std::vector<std::string> names = ShownKindNames(grid);
  ASSERT_EQ(names.size(), 23u);
  EXPECT_EQ(names[17], "Indel or gap");  // file code 18
  std::vector<bool> gridTicks = ShownKindTicks(grid), traceTicks(23, false);
  gridTicks[9] = true;  // Restr.site

  EXPECT_EQ(ApplyShownKinds(f.project, grid, gridTicks, trace, traceTicks), 0);
  EXPECT_TRUE(grid[10].shown);
  EXPECT_TRUE(grid[0].shown);  // "Sequence" is not listed and stays
  EXPECT_FALSE(trace[1].shown);
  EXPECT_TRUE(f.Row(1, 0).regions.empty());

  traceTicks[17] = true;
  EXPECT_EQ(ApplyShownKinds(f.project, grid, gridTicks, trace, traceTicks), 2);
  ASSERT_EQ(f.Row(1, 0).regions.size(), 2u);
  EXPECT_EQ(f.Row(1, 0).regions[1].regStart, 7);
  EXPECT_EQ(f.Row(1, 1).regions.size(), 1u);
  EXPECT_EQ(ApplyShownKinds(f.project, grid, gridTicks, trace, traceTicks), 0);
}

TEST(MarkRestrictionSites, SwitchedEnzymesMarkEveryRowOthersClearTheirMarks) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("D", {{"a", "ttgaattcAA"}, {"b", "GGATCCGAATTC"}});
  std::vector<renzyme> enzymes{{"EcoRI", "gaattc", 2, true}, {"BamHI", "GGATCC", 2, false}};
  const std::vector<TRenzyme> list = SiteSearchEnzymes(enzymes);
  EXPECT_EQ(list[0].site, "GAATTC");
  EXPECT_FALSE(list[1].enabled);

  EXPECT_EQ(MarkRestrictionSites(ds, enzymes, f.svc.progress), 2);
  ASSERT_EQ(ds.SeqAt(1)->siteMarks.size(), 1u);
  EXPECT_EQ(ds.SeqAt(1)->siteMarks[0].regStart, 3);
  ASSERT_EQ(ds.SeqAt(2)->siteMarks.size(), 1u);
  EXPECT_EQ(ds.SeqAt(2)->siteMarks[0].regName, "EcoRI");
  EXPECT_EQ(f.svc.progress.starts, 0);  // small datasets show no bar

  for (renzyme& e : enzymes) e.selected = false;
  MarkRestrictionSites(ds, enzymes, f.svc.progress);
  EXPECT_TRUE(ds.SeqAt(1)->siteMarks.empty());
  EXPECT_TRUE(ds.SeqAt(2)->siteMarks.empty());

  for (int i = 0; i < 600; ++i) AddRow(ds, "r" + std::to_string(i), "GAATTC");
  enzymes[0].selected = true;
  MarkRestrictionSites(ds, enzymes, f.svc.progress);
  EXPECT_EQ(f.svc.progress.starts, 1);
  EXPECT_EQ(f.svc.progress.steps, 6);
  EXPECT_EQ(f.svc.progress.ends, 1);
  EXPECT_EQ(ds.SeqAt(602)->siteMarks.size(), 1u);
}
