// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <fstream>

#include "analysis/DNApolDbox.h"
#include "analysis/NeutralityAnalysis.h"
#include "analysis/PopStrucDBox.h"
#include "analysis/ShowPolymSUnit.h"
#include "model/DataProjUnit.h"
#include "support/RecordingServices.h"
#include "trees/NJTreeAnalysis.h"

// Every analysis on a project without sequences (a new window, or datasets with no rows) says
// so in words the user can act on, and writes no report, table or file.
TEST(AnalysisFrameRun, ProjectWithoutSequencesSaysSoInsteadOfAReport) {
  RecordingServices svc;
  for (const int datasets : {0, 2}) {
    SCOPED_TRACE(datasets);
    TDataProj proj(svc);
    while (proj.DatasetCount() < datasets) proj.NewDataset();
    FrameOptions fo;
    fo.fileOutput = true;
    fo.outFname = "never_written.txt";
    const AnalysisOutput outputs[] = {
        RunDNApolym(proj, fo, DNApolymOptions{}, svc),
        RunNeutrality(proj, fo, NeutralityRunOptions{}, svc),
        RunPopSubdiv(proj, fo, PopSubdivOptions{}, svc),
        RunPolymSites(proj, fo, PolymSitesOptions{}, svc),
        RunLD(proj, fo, LDRunOptions{}, svc),
        RunNJ(proj, fo, NJTreeOptions{}, svc, 1).output,
    };
    for (const AnalysisOutput& out : outputs) {
      EXPECT_EQ(out.error, "The project has no sequences to analyse");
      EXPECT_TRUE(out.report.empty());
      EXPECT_TRUE(out.table.empty());
      EXPECT_TRUE(out.filesWritten.empty());
    }
    EXPECT_FALSE(std::ifstream("never_written.txt").good());
  }
}
