// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "IoTestFiles.h"
#include "io/Dispatcher.h"
#include "io/FormatDetect.h"
#include "io/FormatTables.h"
#include "io/PopGenFormats.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"
#include "support/RecordingServices.h"

namespace {

const std::string kData = NODRIX_TEST_DATA;

// The haplotype rows of each run of an ms file, as written.
std::vector<std::vector<std::string>> MsRows(const std::string& text, int n) {
  std::vector<std::vector<std::string>> runs;
  std::vector<std::string> lines = Lines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!lines[i].starts_with("positions:")) continue;
    runs.emplace_back(lines.begin() + static_cast<long>(i) + 1,
                      lines.begin() + static_cast<long>(i) + 1 + n);
  }
  return runs;
}

}  // namespace

TEST(OpenMsOutput, ScrmRunsReadBackAsTheirRowsWithGroupsAndIndividualsFromI) {
  RecordingServices svc;
  TDataProj proj(svc);
  const std::string path = kData + "/ms/scrm_I2.ms";
  EXPECT_EQ(DetectFormat(path, svc.messages), kCodeMsOutput);
  OpenWindow window(proj);
  ASSERT_TRUE(DispatchFile(path, kCodeMsOutput, {}, &window, svc).handled);
  ASSERT_EQ(proj.DatasetCount(), 2);
  // -I 2 3 2: Group_1 with three individuals, Group_2 with two.
  ASSERT_EQ(proj.GroupCount(), 3);  // the outgroup group first
  EXPECT_EQ(proj.GroupName(1), "Group_1");
  ASSERT_EQ(proj.IndividCount(), 5);
  EXPECT_EQ(proj.IndividName(4), "Individ_5");
  EXPECT_EQ(proj.GroupKeyOfIndivid(2), proj.GroupKeyAt(1));
  EXPECT_EQ(proj.GroupKeyOfIndivid(3), proj.GroupKeyAt(2));

  const auto rows = MsRows(TestFolder::Read(path), 5);
  ASSERT_EQ(rows.size(), 2u);
  for (int r = 0; r < 2; ++r) {
    const TDataSeq& ds = *proj.DatasetAt(r);
    EXPECT_EQ(ds.dsName, "Run_" + std::to_string(r + 1));
    ASSERT_EQ(ds.Count(), 5);
    for (int k = 1; k <= 5; ++k) {
      EXPECT_EQ(ds.SeqAt(k)->letters, rows[static_cast<std::size_t>(r)][k - 1]);
      EXPECT_EQ(ds.SeqAt(k)->seqType, kSeqSnp);
      EXPECT_EQ(ds.SeqAt(k)->polySitePos.size(), ds.SeqAt(k)->letters.size());
    }
  }
  // positions: 0.109477 ... 0.999908 on 10000 columns.
  EXPECT_EQ(proj.DatasetAt(0)->SeqAt(1)->polySitePos.front(), 1095);
  EXPECT_EQ(proj.DatasetAt(0)->SeqAt(1)->polySitePos.back(), 9999);
}

TEST(OpenMsOutput, SitesRoundAndRunsWithoutSitesKeepTheNextRunIntact) {
  RecordingServices svc;
  TestFolder dir("msread");
  const std::string path = dir.Write(
      "a.ms",
      "ms 2 3 -t 1\n1 2 3\n\n//\nsegsites: 0\n\n//\nsegsites: 2\npositions: 0.12345 0\n01\n10\n"
      "\n//\nsegsites: 1\npositions: 3.6\n1\n0\n");
  TDataProj proj(svc);
  // Someone is there already: the haplotypes must name the individuals made for them.
  TIndivid before;
  before.indName = "Present";
  const int presentKey = proj.AddIndivid(before);
  OpenWindow window(proj);
  ASSERT_TRUE(OpenMsOutput(path, window, svc));
  ASSERT_EQ(proj.DatasetCount(), 3);
  EXPECT_EQ(proj.DatasetAt(0)->Count(), 2);
  EXPECT_TRUE(proj.DatasetAt(0)->SeqAt(1)->letters.empty());
  const TDataSeq& run2 = *proj.DatasetAt(1);
  EXPECT_EQ(run2.SeqAt(2)->letters, "10");
  EXPECT_EQ(run2.SeqAt(1)->polySitePos, (std::vector<std::int32_t>{1235, 1}));
  EXPECT_EQ(proj.DatasetAt(2)->SeqAt(1)->polySitePos, (std::vector<std::int32_t>{4}));
  ASSERT_EQ(proj.IndividCount(), 3);
  EXPECT_EQ(proj.GroupCount(), 1);
  EXPECT_NE(run2.SeqAt(1)->individId, presentKey);
  EXPECT_EQ(run2.SeqAt(1)->individId, proj.Individs()[1].indKey);
  EXPECT_EQ(run2.SeqAt(2)->individId, proj.Individs()[2].indKey);

  // scrm's own "segsites: 0" runs.
  TDataProj other(svc);
  OpenWindow w2(other);
  ASSERT_TRUE(OpenMsOutput(kData + "/ms/scrm_seg0.ms", w2, svc));
  EXPECT_EQ(other.DatasetCount(), 2);
}

TEST(OpenFastPhaseOutput, PhasesTheDatasetOfTheSameNameOrAddsANewOne) {
  RecordingServices svc;
  TestFolder dir("fpread");
  dir.Write("loc.inp", "2\n3\nP 2 4 5\nSSS\n");
  const std::string out =
      dir.Write("loc.out",
                "header\nBEGIN GENOTYPES\n# ind1\nA T G\nC T A\n# ind2\nA A G\nA A T\n"
                "# ind3\nA C G\nT C G\nEND GENOTYPES\n");
  TDataProj proj(svc);
  proj.NewDataset();
  proj.RenameDataset(0, "loc");
  TDataSeq& ds = *proj.CurrentDataset();
  for (const char* s : {"xCxAA", "xAxAG", "xAxAT", "xAxAG"}) {
    auto seq = std::make_unique<TSeq>("s", s);
    (void)ds.AddSeq(seq, true);
  }
  OpenWindow window(proj);
  ASSERT_TRUE(DispatchFile(out, kCodeFastPhase, {}, &window, svc).handled);
  // ind1: column 2 and 5 swapped to put A and G on the first row; ind2 at column 5 likewise;
  // ind3 has no rows 5 and 6 and is left out.
  EXPECT_EQ(ds.SeqAt(1)->letters, "xAxAG");
  EXPECT_EQ(ds.SeqAt(2)->letters, "xCxAA");
  EXPECT_EQ(ds.SeqAt(3)->letters, "xAxAG");
  EXPECT_EQ(ds.SeqAt(4)->letters, "xAxAT");
  EXPECT_EQ(proj.DatasetCount(), 1);

  TDataProj fresh(svc);
  OpenWindow w2(fresh);
  ASSERT_TRUE(OpenFastPhaseOutput(out, dir.File("loc.inp"), w2, svc));
  const TDataSeq& made = *fresh.DatasetAt(0);
  ASSERT_EQ(made.Count(), 6);
  EXPECT_EQ(made.dsName, "loc");
  EXPECT_EQ(made.NameAt(2), "ind1~1");
  EXPECT_EQ(made.SeqAt(2)->letters, "CTA");
  EXPECT_EQ(made.SeqAt(2)->polySitePos, (std::vector<std::int32_t>{2, 4, 5}));
}
