// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli concat, resolve, split and the file reports of report, run as a script would.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "CliRun.h"
#include "io/ProjectFile.h"
#include "model/DatasetBuilders.h"
#include "support/RecordingServices.h"

namespace {

// Datasets g1 (a1 of A: ACGT) and g2 (a2 of A: TY, b2 of B: GG, both diploid).
std::string WriteTwoLoci(const TestFolder& dir) {
  RecordingServices svc;
  TDataProj project(svc);
  TIndivid ind;
  ind.indName = "A";
  const int a = project.AddIndivid(ind);
  ind.indName = "B";
  const int b = project.AddIndivid(ind);
  project.NewDataset();
  project.RenameDataset(0, "g1");
  AddRow(*project.DatasetAt(0), "a1", "ACGT", 0, a);
  project.NewDataset();
  project.RenameDataset(1, "g2");
  AddRow(*project.DatasetAt(1), "a2", "TY", 0, a).ploidy = 2;
  AddRow(*project.DatasetAt(1), "b2", "GG", 0, b).ploidy = 2;
  const std::string file = dir.File("loci.df");
  EXPECT_TRUE(WriteProject(file, project, GridFileSettings{}));
  return file;
}

std::vector<std::string> DatasetRows(const std::string& file, int dataset) {
  RecordingServices svc;
  TDataProj project(svc);
  if (ReadProject(file, project, 0) != 0 || project.DatasetAt(dataset) == nullptr) return {};
  return RowLetters(*project.DatasetAt(dataset));
}

}  // namespace

TEST(Nodrix3CliProjectTools, ConcatResolveAndSplitWriteTheNewProject) {
  const TestFolder dir("cli_tools");
  const std::string in = WriteTwoLoci(dir);

  const CliRun concat = Cli("concat " + in + " " + dir.File("cat.df"), dir);
  EXPECT_EQ(concat.status, 0) << concat.err;
  EXPECT_EQ(DatasetRows(dir.File("cat.df"), 0), (std::vector<std::string>{"ACGTTY", "NNNNGG"}));
  Cli("concat --datasets g2,g1 --exclude-missing " + in + " " + dir.File("cat2.df"), dir);
  EXPECT_EQ(DatasetRows(dir.File("cat2.df"), 0), (std::vector<std::string>{"TYACGT"}));
  EXPECT_EQ(Cli("concat --datasets g9 " + in + " " + dir.File("x.df"), dir).status, 2);

  const CliRun resolve =
      Cli("resolve --all-datasets --seed 5 " + in + " " + dir.File("res.df"), dir);
  EXPECT_EQ(resolve.status, 0) << resolve.err;
  const std::vector<std::string> rows = DatasetRows(dir.File("res.df"), 1);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ((std::set<std::string>{rows[0], rows[1]}), (std::set<std::string>{"TT", "TC"}));
  Cli("resolve --all-datasets --seed 5 " + in + " " + dir.File("res2.df"), dir);
  EXPECT_EQ(DatasetRows(dir.File("res2.df"), 1), rows);  // the seed repeats the run

  const CliRun split = Cli("split --max 3 --remove " + in + " " + dir.File("split.df"), dir);
  EXPECT_EQ(split.status, 0) << split.err;
  EXPECT_EQ(DatasetRows(dir.File("split.df"), 1), (std::vector<std::string>{"ACG"}));
  EXPECT_EQ(DatasetRows(dir.File("split.df"), 2), (std::vector<std::string>{"T"}));
  EXPECT_EQ(Cli("split --max 0 " + in + " " + dir.File("x.df"), dir).status, 2);

  // An existing OUT is kept unless --force says otherwise, as convert does.
  const CliRun again = Cli("split --max 2 --remove " + in + " " + dir.File("split.df"), dir);
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("--force"), std::string::npos) << again.err;
  EXPECT_EQ(DatasetRows(dir.File("split.df"), 1), (std::vector<std::string>{"ACG"}));
  EXPECT_EQ(Cli("split --force --max 2 --remove " + in + " " + dir.File("split.df"), dir).status,
            0);
  EXPECT_EQ(DatasetRows(dir.File("split.df"), 1), (std::vector<std::string>{"AC"}));
}

TEST(Nodrix3CliProjectTools, FileReportsGoToTheOutputFolderOnly) {
  const TestFolder dir("cli_file_reports");
  const std::string in = WriteTwoLoci(dir);
  const std::string out = dir.File("out");
  std::filesystem::create_directory(out);
  for (const char* kind : {"regions", "cds", "snps"}) {
    const CliRun r = Cli(std::string("report ") + kind + " --out-dir " + out + " " + in, dir);
    EXPECT_EQ(r.status, 0) << kind << r.err;
  }
  for (const char* name :
       {"Func-regions.csv", "CDS_Report.txt", "CDS_Report_stopCodons.csv", "SNPreport.csv"}) {
    EXPECT_TRUE(std::filesystem::exists(out + "/" + name)) << name;
    EXPECT_FALSE(std::filesystem::exists(dir.File(name))) << name;
    EXPECT_FALSE(std::filesystem::exists(name)) << name;
  }
  // g2's column 1 (T, G) is the one variable column; the notice names the file in full.
  EXPECT_EQ(TestFolder::Read(out + "/SNPreport.csv").substr(112), "g2,1,1,1,N,TG,TG,[T/G]Y\r\n");
  const CliRun again = Cli("report snps --out-dir " + out + " " + in, dir);
  EXPECT_EQ(again.status, 1);  // the existing report is kept without --yes
  const CliRun replaced = Cli("report snps --yes --out-dir " + out + " " + in, dir);
  EXPECT_EQ(replaced.status, 0);
  EXPECT_NE(replaced.err.find("Saved 1 SNPs into file " + out + "/SNPreport.csv"),
            std::string::npos);
}
