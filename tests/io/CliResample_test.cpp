// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli filter-sites, subsample, bootstrap and segregation, run as a script would; the
// reports equal those the dialogs show for the same options and seed.
#include <gtest/gtest.h>

#include "CliRun.h"
#include "analysis/BaseDbox1.h"
#include "analysis/SamplingFormUnit.h"
#include "common/PlatformRandom.h"
#include "editor/SegregationCommand.h"
#include "io/ProjectFile.h"
#include "model/DatasetBuilders.h"
#include "support/RecordingServices.h"

namespace {

// Dataset L: a, b of population A, c, d of B, o an outgroup; column 2 holds a gap.
std::string WritePopulations(const TestFolder& dir) {
  RecordingServices svc;
  TDataProj project(svc);
  TDataSeq& ds = *project.DatasetAt(0);
  ds.dsName = "L";
  TGroup g;
  g.grpName = "A";
  const int a = project.AddGroup(g);
  g.grpName = "B";
  const int b = project.AddGroup(g);
  const std::pair<const char*, int> rows[] = {
      {"a", a}, {"b", a}, {"c", b}, {"d", b}, {"o", kOutgroupKey}};
  const char* letters[] = {"ACGTACGT", "A-GAACGT", "TCGAACGA", "TCGAACGA", "ACGTACGA"};
  for (int i = 0; i < 5; ++i) {
    TIndivid ind;
    ind.indName = rows[i].first;
    ind.indGroup = rows[i].second;
    AddRow(ds, rows[i].first, letters[i], 0, project.AddIndivid(ind));
  }
  project.SyncGroupNums(-1);
  const std::string file = dir.File("pops.df");
  EXPECT_TRUE(WriteProject(file, project, GridFileSettings{}));
  return file;
}

bool Read(const std::string& file, TDataProj& project) {
  return ReadProject(file, project, 0) == 0 && project.DatasetCount() > 0;
}

}  // namespace

TEST(Nodrix3CliResample, FilterSubsampleAndBootstrapWriteTheirProjects) {
  const TestFolder dir("cli_resample");
  const std::string in = WritePopulations(dir);

  const CliRun filter = Cli("filter-sites --sites noncoding " + in + " " + dir.File("f.df"), dir);
  ASSERT_EQ(filter.status, 0) << filter.err;
  EXPECT_NE(filter.err.find("Noncoding sites"), std::string::npos);
  RecordingServices svc;
  TDataProj filtered(svc);
  ASSERT_TRUE(Read(dir.File("f.df"), filtered));
  EXPECT_EQ(filtered.DatasetAt(0)->SeqAt(2)->letters, "AGAACGT");
  EXPECT_EQ(Cli("filter-sites --sites pos1,deg2 " + in + " " + dir.File("x.df"), dir).status, 2);

  const std::string args = "--per-population --add-outgroup --size 2 --samples 4 --seed 9 ";
  const CliRun sub = Cli("subsample " + args + in + " " + dir.File("s.df"), dir);
  ASSERT_EQ(sub.status, 0) << sub.err;
  TDataProj source(svc);
  ASSERT_TRUE(Read(in, source));
  InitAnalysisSelection(source);
  SamplingOptions o;
  o.perPopulation = o.addOutgroup = true;
  o.sampleSize = 2;
  o.samples = 4;
  o.seed = 9;
  const std::string report = RunSampling(source, o, svc).report;
  EXPECT_EQ(sub.out.substr(0, report.size()), report);
  TDataProj samples(svc);
  ASSERT_TRUE(Read(dir.File("s.df"), samples));
  ASSERT_EQ(samples.DatasetCount(), 4);
  EXPECT_EQ(samples.DatasetAt(0)->Count(), 6);  // two of A, two of B, the outgroup twice

  const std::string boot = "bootstrap --replicates 3 --codons --seed 5 " + in + " ";
  ASSERT_EQ(Cli(boot + dir.File("b1.df"), dir).status, 0);
  ASSERT_EQ(Cli(boot + dir.File("b2.df"), dir).status, 0);
  TDataProj b1(svc), b2(svc);
  ASSERT_TRUE(Read(dir.File("b1.df"), b1));
  ASSERT_TRUE(Read(dir.File("b2.df"), b2));
  ASSERT_EQ(b1.DatasetCount(), 3);
  EXPECT_EQ(b1.DatasetAt(2)->dsName, "L_3");
  for (int k = 0; k < 3; ++k) EXPECT_EQ(RowLetters(*b1.DatasetAt(k)), RowLetters(*b2.DatasetAt(k)));
  EXPECT_EQ(Cli("bootstrap " + in + " " + dir.File("b3.df"), dir).status, 2);
}

TEST(Nodrix3CliResample, SegregationReportAndFilteredLoci) {
  const TestFolder dir("cli_segregation");
  RecordingServices svc;
  TDataProj project(svc);
  TDataSeq& ds = *project.DatasetAt(0);
  ds.dsName = "locus";
  AddRow(ds, "Father", "AAAGG");
  AddRow(ds, "Mother", "ACATT");
  AddRow(ds, "Sons", "ACCTG");
  AddRow(ds, "Daughters", "ACAGT");
  const std::string in = dir.File("cross.df");
  ASSERT_TRUE(WriteProject(in, project, GridFileSettings{}));

  const CliRun run = Cli("segregation --filtered " + dir.File("hits.df") + " " + in, dir);
  ASSERT_EQ(run.status, 0) << run.err;
  PlatformRandom rng(1);
  const auto expected = RunSegregation(project, {}, rng, svc);
  ASSERT_TRUE(expected.has_value());
  EXPECT_EQ(run.out.substr(0, expected->report.size()), expected->report);
  EXPECT_NE(expected->report.find("?X"), std::string::npos);
  TDataProj hits(svc);
  ASSERT_TRUE(Read(dir.File("hits.df"), hits));
  EXPECT_EQ(hits.DatasetAt(0)->dsName, "locus");
}
