// SPDX-License-Identifier: GPL-3.0-or-later
// Commands on the sequence of one individual across the datasets of a project.
#include "editor/IndividCommands.h"

#include <gtest/gtest.h>

#include "EditorCommandFixture.h"

namespace {
// Two datasets each holding a row of individual "ind1" (second row) and one of nobody.
int TwoDatasetsWithIndividual(CommandFixture& f) {
  TIndivid ind;
  ind.indName = "ind1";
  const int key = f.project.AddIndivid(ind);
  for (const char* name : {"D1", "D2"}) {
    TDataSeq& ds = f.AddDataset(name, {{"other", "ACGTACGTA"}});
    AddRow(ds, "mine", "acgATGAAAtaa", 0, key);
  }
  f.Ds(0).SetCursor(1, 2);
  f.project.SetCurrent(0);
  return key;
}
}  // namespace

TEST(IndividCommand, YesWorksOnTheIndividualsRowInEveryDataset) {
  CommandFixture f;
  TwoDatasetsWithIndividual(f);
  f.Answer({true});
  EXPECT_EQ(RunOnIndividual(f.ctx, IndividOp::WholeSeqIsCds), 2);
  EXPECT_EQ(f.Questions().at(0),
            "Proceed with all datasets in the project?\r\n(will attempt to assign CDS to all seq "
            "@ individ ind1; each dataset should have a sequence assigned to that "
            "individ)\r\n\r\nPress NO to assign CDS only to sequence @ cursor");
  for (int i : {0, 1}) {
    ASSERT_EQ(f.Row(2, i).regions.size(), 1u);
    EXPECT_EQ(f.Row(2, i).regions[0].regType, kRegCds);
    EXPECT_TRUE(f.Row(1, i).regions.empty());
  }
  EXPECT_TRUE(f.ctx.modified);
  ASSERT_TRUE(f.Ds(1).Undo());
  EXPECT_TRUE(f.Row(2, 1).regions.empty());
}

TEST(IndividCommand, NoWorksOnTheCurrentRowOnly) {
  CommandFixture f;
  TwoDatasetsWithIndividual(f);
  EXPECT_EQ(RunOnIndividual(f.ctx, IndividOp::CdsFromUpperCase), 1);
  EXPECT_FALSE(f.Row(2, 0).regions.empty());
  EXPECT_TRUE(f.Row(2, 1).regions.empty());
}

TEST(IndividCommand, CopyRegionsGoToTheSelectedRowsOfEachDataset) {
  CommandFixture f;
  TwoDatasetsWithIndividual(f);
  for (int i : {0, 1}) {
    f.Row(2, i).AddRegion(MakeRegion(4, 9, kRegExon, 1));
    f.Row(1, i).selected = true;
  }
  f.Answer({true});
  EXPECT_EQ(RunOnIndividual(f.ctx, IndividOp::CopyRegionsToSelected), 2);
  EXPECT_EQ(f.Questions().at(0),
            "Proceed with all datasets in the project?\r\n(will attempt to copy func. regions "
            "from seq @ individ ind1; each dataset should have a sequence assigned to that "
            "individ)\r\n\r\nPress NO to copy func. regions only in the current dataset");
  for (int i : {0, 1}) EXPECT_EQ(f.Row(1, i).regions.size(), 1u);
}

TEST(IndividCommand, StatusTextsAndRowsWithoutIndividual) {
  CommandFixture f;
  TwoDatasetsWithIndividual(f);
  f.Answer({true});
  RunOnIndividual(f.ctx, IndividOp::MaskStopCodons);
  EXPECT_EQ(f.Questions().at(0),
            "Proceed with all datasets in the project?\r\n(will attempt to mask stop codons in "
            "seq of individ ind1)\r\n\r\nPress NO to proceed only with the current dataset");
  EXPECT_EQ(f.svc.progress.statuses.at(0), "Masking stop codons...");
  f.Ds(0).SetCursor(1, 1);  // a row of nobody: no question, the row itself
  EXPECT_EQ(RunOnIndividual(f.ctx, IndividOp::WholeSeqIsCds), 1);
  EXPECT_EQ(f.Questions().size(), 1u);
  EXPECT_EQ(f.Row(1, 0).regions.size(), 1u);
  f.ctx.locked = true;
  EXPECT_EQ(RunOnIndividual(f.ctx, IndividOp::RestoreOrf), 0);
}
