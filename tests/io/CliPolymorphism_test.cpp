// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli polymorphism: the table and window files it writes, and the question a project
// of more than 100 datasets raises.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "CliRun.h"
#include "analysis/DNApolDbox.h"
#include "io/ProjectFile.h"
#include "support/RecordingServices.h"

namespace {

// Columns 4 (rows c, d) and 10 (row d) vary.
const char* kSmall = ">a\nAAAAAAAAAA\n>b\nAAAAAAAAAA\n>c\nAAATAAAAAA\n>d\nAAATAAAAAC\n";

const char* kManyQuestion =
    "This dataproject contains 101 datasets and the output might be too long to keep it in "
    "memory.\r\nWould you like to direct the output to file instead?";

// A project of `count` datasets of two sequences each, one site varying.
void FillMany(TDataProj& p, int count) {
  p.projName = "many";
  for (int d = 0; d < count; ++d) {
    TDataSeq* ds = d == 0 ? p.DatasetAt(0) : p.DatasetAt(p.IndexByNumber(p.NewDataset()));
    ds->dsName = "D" + std::to_string(d + 1);
    for (const char* letters : {"ACGT", "ACCT"}) {
      auto s = std::make_unique<TSeq>(std::string("s") + letters, letters);
      (void)ds->AddSeq(s, true);
    }
  }
}

// The table of the small file: base columns, then Pi and theta for all sites and for each site
// class. Without coding regions every site is noncoding and the classes of codons give -1.
std::string SmallTable() {
  std::string header =
      "Datasets,SeqNumber,PosAnalysed,NonCodPos,Codons,SynonymPos-pol,NonSynPos-pol,Hd,SD(Hd),"
      "Hapl.num,"
      "Segreg.Sites,Mutations,MutInNonCoding-polym,MutIn1stCodPos-polym,MutIn2ndCodPos-polym,"
      "MutIn3rdCodPos-polym,SynonymMut-polym,NonSynMut-polym";
  const char* piLabels[] = {"all mutations at all sites",
                            "all mutations at noncoding regions",
                            "all mutations at  1st codon positions",
                            "all mutations at  2nd codon positions",
                            "all mutations at  3rd codon positions",
                            "replacement mutations at coding regions",
                            "silent mutations at coding regions"};
  for (const std::string l : piLabels)
    header += ",Pi_per_seq " + l + ",StDev(Pi_per_seq) " + l + ",Pi_per_nucl. " + l +
              ",StDev(Pi_per_nucl. )" + l;
  const char* sites[] = {"all sites",
                         "noncoding regions",
                         " 1st codon positions",
                         " 2nd codon positions",
                         " 3rd codon positions",
                         "coding regions",
                         "coding regions"};
  for (const std::string l : sites)
    header += ",Theta_per_seq. @ " + l + ",StDev(Theta_per_seq)_NoRec @ " + l +
              ",StDev(Theta_per_seq)_Rec @ " + l + ",Theta_per_nucl. @ " + l +
              ",StDev(Theta_per_nucl.)_NoRec @ " + l + ",StDev(Theta_per_nucl.)_Rec @ " + l;
  // n = 4, S = 2, L = 10: Pi = (2*2 + 1*3) / 6, theta = 2 / (1 + 1/2 + 1/3). Haplotypes of 2,
  // 1 and 1 (Nei 1987, eq. 8.4 and 8.12): Hd = 4/3 (1 - 6/16), V = 1/6 (4 (10/64 - 36/256) +
  // 6/16 - 36/256).
  const std::string pi = ",1.16667,1.05496,0.11667,0.10550";
  const std::string theta = ",1.09091,0.87553,0.77139,0.10909,0.08755,0.07714";
  std::string row =
      "t.fas,4,10,10,0,0.00000,0.00000,0.83333,0.22244,3,2,2,2,-1,-1,-1,-1,-1" + pi + pi;
  for (int i = 0; i < 5 * 4; ++i) row += ",-1.00000";
  row += theta + theta;
  for (int i = 0; i < 5 * 6; ++i) row += ",-1.00000";
  return header + "\r\n" + row + "\r\n";
}

TEST(CliPolymorphism, TableAndWindowFilesHoldExactlyTheRunsValues) {
  TestFolder dir("cli_polym_files");
  const std::string fasta = dir.Write("t.fas", kSmall);
  const CliRun r =
      Cli("polymorphism " + fasta + " --table " + dir.File("tab.csv") + " --windows " +
              dir.File("w.csv") + " --window-size 2 --window-step 2 --window-stats pi,theta,S,Hd",
          dir);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("Tabular output was saved to file " + dir.File("tab.csv")),
            std::string::npos);
  EXPECT_NE(r.err.find("Sliding window output was saved to file " + dir.File("w.csv")),
            std::string::npos);
  EXPECT_EQ(TestFolder::Read(dir.File("tab.csv")), SmallTable());
  // Windows of two columns, 1..2 to 9..10 (three columns each, 1..3 to 7..9, before); 3..4
  // holds column 4 (two carriers of four), 9..10 column 10 (one carrier), each over 2 sites.
  // Hd: one haplotype in a window without sites; 2 and 2 in 3..4; 3 and 1 in 9..10.
  EXPECT_EQ(TestFolder::Read(dir.File("w.csv")),
            "t.fas,1,2,SegrS=,0,Pi=,0.0000,SD=,0.00000\r\n"
            "t.fas,3,4,SegrS=,1,Pi=,0.3333,SD=,0.32778\r\n"
            "t.fas,5,6,SegrS=,0,Pi=,0.0000,SD=,0.00000\r\n"
            "t.fas,7,8,SegrS=,0,Pi=,0.0000,SD=,0.00000\r\n"
            "t.fas,9,10,SegrS=,1,Pi=,0.2500,SD=,0.32778\r\n"
            "t.fas,1,2,SegrS=,0,Theta=,0.0000,SD=,0.00000\r\n"
            "t.fas,3,4,SegrS=,1,Theta=,0.2727,SD=,0.27273\r\n"
            "t.fas,5,6,SegrS=,0,Theta=,0.0000,SD=,0.00000\r\n"
            "t.fas,7,8,SegrS=,0,Theta=,0.0000,SD=,0.00000\r\n"
            "t.fas,9,10,SegrS=,1,Theta=,0.2727,SD=,0.27273\r\n"
            "t.fas,1,2,SegrS=,0Segr_sites:,   0\r\n"
            "t.fas,3,4,SegrS=,1Segr_sites:,   1\r\n"
            "t.fas,5,6,SegrS=,0Segr_sites:,   0\r\n"
            "t.fas,7,8,SegrS=,0Segr_sites:,   0\r\n"
            "t.fas,9,10,SegrS=,1Segr_sites:,   1\r\n"
            "t.fas,1,2,SegrS=,0,Hd=,0.0000,SD=,0.00000\r\n"
            "t.fas,3,4,SegrS=,1,Hd=,0.6667,SD=,0.20412\r\n"
            "t.fas,5,6,SegrS=,0,Hd=,0.0000,SD=,0.00000\r\n"
            "t.fas,7,8,SegrS=,0,Hd=,0.0000,SD=,0.00000\r\n"
            "t.fas,9,10,SegrS=,1,Hd=,0.5000,SD=,0.26517\r\n");
  // A second run starts both files afresh.
  ASSERT_EQ(Cli("polymorphism " + fasta + " --table " + dir.File("tab.csv") + " --windows " +
                    dir.File("w.csv") + " --window-size 2 --window-step 2 --window-stats S",
                dir)
                .status,
            0);
  EXPECT_EQ(TestFolder::Read(dir.File("tab.csv")), SmallTable());
  EXPECT_EQ(TestFolder::Read(dir.File("w.csv")),
            "t.fas,1,2,SegrS=,0Segr_sites:,   0\r\n"
            "t.fas,3,4,SegrS=,1Segr_sites:,   1\r\n"
            "t.fas,5,6,SegrS=,0Segr_sites:,   0\r\n"
            "t.fas,7,8,SegrS=,0Segr_sites:,   0\r\n"
            "t.fas,9,10,SegrS=,1Segr_sites:,   1\r\n");
}

TEST(CliPolymorphism, MoreThanAHundredDatasetsAskWhetherTheOutputGoesToFiles) {
  TestFolder dir("cli_polym_many");
  RecordingServices svc;
  TDataProj project(svc);
  FillMany(project, 101);
  ASSERT_TRUE(WriteProject(dir.File("many.df"), project, GridFileSettings{}));
  // The question and its answer are shown with --verbose only.
  CliRun r = Cli("polymorphism " + dir.File("many.df"), dir);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err.find("dataproject contains"), std::string::npos) << r.err;
  r = Cli("polymorphism --verbose " + dir.File("many.df"), dir);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("nodrix3-cli: This dataproject contains 101 datasets and the output might "
                       "be too long to keep it in memory. Would you like to direct the output to "
                       "file instead? [No]"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.out.find("This project contains 101 datasets\r\nDatasets to analyse: 101\r\n"),
            std::string::npos);
  // Only the current dataset: nothing to ask.
  r = Cli("polymorphism --verbose " + dir.File("many.df") + " --current", dir);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err.find("dataproject contains"), std::string::npos);
}

TEST(CliPolymorphism, YesToTheManyDatasetsQuestionSendsReportAndTableToFiles) {
  TestFolder dir("polym_many_yes");
  RecordingServices svc;
  TDataProj project(svc);
  FillMany(project, 101);
  InitAnalysisSelection(project);
  FrameOptions fo;
  fo.outFname = dir.File("out.txt");
  fo.tableFileName = dir.File("out.csv");
  fo.tableToWin = true;
  svc.messages.answers = {true};
  const AnalysisOutput out = RunDNApolym(project, fo, DNApolymOptions{}, svc);
  ASSERT_TRUE(out.error.empty()) << out.error;
  ASSERT_EQ(svc.messages.questions, std::vector<std::string>{kManyQuestion});
  EXPECT_FALSE(out.showReport);
  EXPECT_FALSE(out.showTable);
  EXPECT_TRUE(out.report.empty());
  const std::string text = TestFolder::Read(dir.File("out.txt"));
  EXPECT_EQ(text.rfind("Data project: many\r\nThis project contains 101 datasets\r\n", 0), 0u);
  EXPECT_NE(text.find("Data set: D101"), std::string::npos);
  EXPECT_EQ(TestFolder::Read(dir.File("out.csv")).rfind("Datasets,SeqNumber,", 0), 0u);
  EXPECT_NE(std::find(out.notices.begin(), out.notices.end(),
                      "Textual output was saved to file " + dir.File("out.txt")),
            out.notices.end());

  // No: the report stays in memory. One dataset fewer, or "current": no question at all.
  RecordingServices no;
  TDataProj kept(no);
  FillMany(kept, 101);
  InitAnalysisSelection(kept);
  EXPECT_TRUE(RunDNApolym(kept, FrameOptions{}, DNApolymOptions{}, no).showReport);
  EXPECT_EQ(no.messages.questions.size(), 1u);
  RecordingServices few;
  TDataProj hundred(few);
  FillMany(hundred, 100);
  InitAnalysisSelection(hundred);
  (void)RunDNApolym(hundred, FrameOptions{}, DNApolymOptions{}, few);
  FrameOptions current;
  current.useAllDatasets = false;
  (void)RunDNApolym(kept, current, DNApolymOptions{}, few);
  EXPECT_TRUE(few.messages.questions.empty());
}

}  // namespace
