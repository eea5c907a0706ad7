// SPDX-License-Identifier: GPL-3.0-or-later
// Sub-samples: repeatable draws, sampling with and without repeats, per-population draws with
// outgroups, and the report.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "analysis/SamplingFormUnit.h"
#include "model/DatasetBuilders.h"
#include "support/RecordingServices.h"

namespace {

// Rows p1..p3 of population A, q1..q3 of B, r1 of C (unticked), o1 an outgroup.
struct Populations {
  RecordingServices svc;
  TDataProj proj{svc};
  TDataSeq* ds = nullptr;
  Populations() {
    proj.projName = "pops";
    ds = proj.DatasetAt(0);
    ds->dsName = "locus";
    const int a = Group("A"), b = Group("B"), c = Group("C");
    proj.GroupAt(proj.GroupIndexByKey(c))->grpSelected = false;
    for (const auto& [name, key] : std::vector<std::pair<std::string, int>>{{"p1", a},
                                                                            {"p2", a},
                                                                            {"p3", a},
                                                                            {"q1", b},
                                                                            {"q2", b},
                                                                            {"q3", b},
                                                                            {"r1", c},
                                                                            {"o1", kOutgroupKey}}) {
      TIndivid ind;
      ind.indName = name;
      ind.indGroup = key;
      AddRow(*ds, name, "ACGT", 0, proj.AddIndivid(ind));
    }
    proj.SyncGroupNums(-1);
    ds->Select(-1);
  }
  int Group(const std::string& name) {
    TGroup g;
    g.grpName = name;
    return proj.AddGroup(g);
  }
};

std::string Base(const std::string& name) {
  return name.substr(0, name.find('~'));
}

std::vector<std::string> BaseNames(const TDataSeq& ds) {
  std::vector<std::string> out;
  for (const std::string& n : RowNames(ds)) out.push_back(Base(n));
  return out;
}

}  // namespace

TEST(DataSampling, SeedZeroRepeatsTheRunAndNoRepeatsGivesEveryCandidateOnce) {
  Populations f;
  SamplingOptions o;
  o.sampleSize = 7;  // exactly the candidates: all rows but the outgroup
  o.samples = 20;
  const SamplingResult first = RunSampling(f.proj, o, f.svc);
  const SamplingResult again = RunSampling(f.proj, o, f.svc);
  EXPECT_EQ(first.report, again.report);
  ASSERT_EQ(first.windows.size(), 1u);
  EXPECT_EQ(first.windows[0].caption, "Sampling from dataset locus");
  const TDataProj& samples = *first.windows[0].project;
  ASSERT_EQ(samples.DatasetCount(), 20);
  bool reordered = false;
  const std::vector<std::string> rowsInOrder{"p1", "p2", "p3", "q1", "q2", "q3", "r1"};
  for (int k = 0; k < 20; ++k) {
    const std::vector<std::string> names = RowNames(*samples.DatasetAt(k));
    EXPECT_EQ(names, RowNames(*again.windows[0].project->DatasetAt(k)));
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()),
              std::set<std::string>(rowsInOrder.begin(), rowsInOrder.end()));
    reordered = reordered || names != rowsInOrder;
    EXPECT_EQ(samples.DatasetAt(k)->SelectedCount(), 0);
  }
  EXPECT_TRUE(reordered);
  EXPECT_NE(first.report.find("Data project: pops\r\nThis project contains 1 dataset\r\n"
                              "Datasets to sample: 1\r\n\r\n"),
            std::string::npos)
      << first.report;
  EXPECT_NE(first.report.find("Of these 1 is an outgroup (excluded from re-sampling): \r\no1; "),
            std::string::npos);
  EXPECT_NE(first.report.find("20 sub-samples of size 7 are shown in the \"Sampling from "
                              "dataset locus\" window"),
            std::string::npos);

  o.sampleSize = 9;
  EXPECT_NE(RunSampling(f.proj, o, f.svc).report.find("Dataset locus contains too few sequences."),
            std::string::npos);
}

TEST(DataSampling, WithRepeatsASequenceCanRecur) {
  Populations f;
  SamplingOptions o;
  o.noRepeats = false;
  o.sampleSize = 7;
  o.samples = 30;
  o.seed = 11;
  const SamplingResult r = RunSampling(f.proj, o, f.svc);
  bool repeated = false;
  for (int k = 0; k < 30; ++k) {
    const std::vector<std::string> names = BaseNames(*r.windows[0].project->DatasetAt(k));
    EXPECT_EQ(names.size(), 7u);
    repeated = repeated || std::set<std::string>(names.begin(), names.end()).size() < 7;
  }
  EXPECT_TRUE(repeated);
}

TEST(DataSampling, PerPopulationDrawsTheTickedPopulationsWithTheOutgroupEachTime) {
  Populations f;
  TIndivid extra;  // C has two individuals, yet it is unticked
  extra.indName = "r2";
  extra.indGroup = f.proj.GroupKeyByName("C");
  f.proj.AddIndivid(extra);
  SamplingOptions o;
  o.perPopulation = true;
  o.addOutgroup = true;
  o.sampleSize = 2;
  o.samples = 10;
  const SamplingResult r = RunSampling(f.proj, o, f.svc);
  EXPECT_NE(r.report.find("The project contains 3 populations\r\nPopulations to sample: 2\r\n"
                          "A;B;\r\n\r\n"),
            std::string::npos)
      << r.report;
  EXPECT_NE(r.report.find("(included in each sub-sample):"), std::string::npos);
  EXPECT_NE(r.report.find("from each of the 2 populations"), std::string::npos);
  for (int k = 0; k < 10; ++k) {
    const std::vector<std::string> names = BaseNames(*r.windows[0].project->DatasetAt(k));
    ASSERT_EQ(names.size(), 6u);
    std::map<char, int> perPop;
    for (const std::string& n : names) ++perPop[n[0]];
    EXPECT_EQ(perPop, (std::map<char, int>{{'p', 2}, {'q', 2}, {'o', 2}}));
    EXPECT_EQ(names[2], "o1");
    EXPECT_EQ(names[5], "o1");
  }

  o.sampleSize = 4;  // more than any population holds
  EXPECT_NE(RunSampling(f.proj, o, f.svc)
                .report.find("Population A contains too few individuals - excluded from "
                             "re-sampling"),
            std::string::npos);
}
