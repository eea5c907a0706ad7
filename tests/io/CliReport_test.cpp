// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli report: the report windows' texts of a project file on stdout.
#include <gtest/gtest.h>

#include "CliRun.h"
#include "editor/ProjectReports.h"
#include "io/ProjectFile.h"
#include "model/DatasetBuilders.h"
#include "support/RecordingServices.h"

TEST(Nodrix3CliReport, PrintsTheReportWindowsTexts) {
  const TestFolder dir("cli_report");
  RecordingServices svc;
  TDataProj project(svc);
  project.NewDataset();
  project.RenameDataset(0, "gene1");
  TIndivid ind;
  ind.indName = "A";
  const int key = project.AddIndivid(ind);
  AddRow(*project.DatasetAt(0), "s1", "AC-T", 0, key);
  AddRow(*project.DatasetAt(0), "s2", "ACGT");
  const std::string file = dir.File("proj.df");
  ASSERT_TRUE(WriteProject(file, project, GridFileSettings{}));

  const CliRun sequences = Cli("report sequences " + file, dir);
  EXPECT_EQ(sequences.status, 0) << sequences.err;
  EXPECT_EQ(sequences.out, SequencesReport(project, "proj.df"));
  const CliRun datasets = Cli("report datasets --counts " + file, dir);
  EXPECT_EQ(datasets.out, DatasetsReport(project, "proj.df", true, svc.progress));
  EXPECT_NE(datasets.out.find("GapFreePos"), std::string::npos);
  EXPECT_EQ(Cli("report people " + file, dir).status, 2);
}
