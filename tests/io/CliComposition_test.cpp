// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli composition and neutrality --sfs --mlhka on a project file of three loci with
// an outgroup: the same report as the analyses give, the files in --out-dir.
#include <gtest/gtest.h>

#include "CliRun.h"
#include "analysis/GCcontentUnit.h"
#include "analysis/NeutralityAnalysis.h"
#include "io/ProjectFile.h"
#include "model/DatasetBuilders.h"
#include "support/RecordingServices.h"

namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::string ThreeLoci(const TestFolder& dir, RecordingServices& svc) {
  TDataProj project(svc);
  TIndivid og;
  og.indName = "og";
  og.indGroup = kOutgroupKey;
  const int outgroup = project.AddIndivid(og);
  for (int d = 0; d < 3; ++d) {
    project.NewDataset();
    project.RenameDataset(d, "L" + std::to_string(d + 1));
    TDataSeq& ds = *project.DatasetAt(d);
    AddRow(ds, "s1", "ACGTACGTAA");
    AddRow(ds, "s2", "ATGTACGTAA");
    AddRow(ds, "s3", "ATGTACGAAA");
    AddRow(ds, "og", "ACGTTCGTCC", 0, outgroup);
  }
  project.SetCurrent(0);
  const std::string file = dir.File("loci.df");
  EXPECT_TRUE(WriteProject(file, project, GridFileSettings{}));
  return file;
}

}  // namespace

TEST(Nodrix3CliComposition, SameReportAsTheAnalysis) {
  const TestFolder dir("cli_composition");
  RecordingServices svc;
  const std::string file = ThreeLoci(dir, svc);
  const CliRun r = Cli("composition " + file + " --blocks nucleotides,stationarity,cpg", dir);
  ASSERT_EQ(r.status, 0) << r.err;
  TDataProj project(svc);
  ASSERT_EQ(ReadProject(file, project, 0), 0);
  InitAnalysisSelection(project);
  CompositionOptions co{false, true, true, false, true};
  EXPECT_EQ(r.out, RunComposition(project, FrameOptions{}, co, svc).report);
  EXPECT_TRUE(Contains(r.out, "===Methylation, mutations in CpG===")) << r.out;
  EXPECT_EQ(Cli("composition " + file + " --blocks gc,cpg", dir).status, 2);
}

TEST(Nodrix3CliNeutrality, SpectraAndMLHKAWithTheStandIn) {
  const TestFolder dir("cli_sfs_mlhka");
  RecordingServices svc;
  const std::string file = ThreeLoci(dir, svc);
  const std::string standIn = std::string(NODRIX_BINARY_DIR) + "/standins/mlhka_standin";
  std::filesystem::create_directories(dir.File("out"));
  const CliRun r = Cli("neutrality " + file + " --sfs --mlhka --chain 500 --mlhka-program " +
                           standIn + " --out-dir " + dir.File("out"),
                       dir);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "Unfolded frequency spectrum for polymorphisms at all sites: "))
      << r.out;
  EXPECT_TRUE(Contains(r.out, "Chain length: 500\r\nL1 (compared to 2 ref. datasets) neutral Ln"))
      << r.out;
  EXPECT_TRUE(Contains(r.err, "ML-HKA results were saved into files:")) << r.err;
  for (const char* name :
       {"SFS_folded.out", "SFS_unfolded.out", "mlHKAresults1.txt", "mlHKAresults2.txt"})
    EXPECT_TRUE(std::filesystem::exists(dir.File(std::string("out/") + name))) << name;

  // The same run in the process, into a folder of its own, gives the same report.
  TDataProj project(svc);
  ASSERT_EQ(ReadProject(file, project, 0), 0);
  InitAnalysisSelection(project);
  FrameOptions fo;
  std::filesystem::create_directories(dir.File("own"));
  fo.outputFolder = dir.File("own");
  NeutralityRunOptions no;
  no.sfs = true;
  no.mlhka = MLHKAOptions{true, true, 100, 500, {"L1", "L2", "L3"}, standIn};
  EXPECT_EQ(r.out, RunNeutrality(project, fo, no, svc).report);

  // A missing program is said, and no verdict is given.
  const CliRun missing =
      Cli("neutrality " + file + " --mlhka --mlhka-program " + dir.File("none"), dir);
  EXPECT_TRUE(Contains(missing.err, "The ML-HKA program was not found")) << missing.err;
  EXPECT_FALSE(Contains(missing.out, "neutral Ln")) << missing.out;
  EXPECT_EQ(Cli("neutrality " + file + " --chain 5", dir).status, 2);
}
