// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli translate and search: the translate window's proteins and ORF report, and the
// similarity search's regions, from the command line.
#include <gtest/gtest.h>

#include "CliRun.h"
#include "alignment/SimilaritySearch.h"
#include "editor/Translation.h"
#include "io/ProjectFile.h"
#include "model/DatasetBuilders.h"
#include "support/RecordingServices.h"

TEST(Nodrix3CliTranslate, GivesTheWindowsProteinsAndReport) {
  const TestFolder dir("cli_translate");
  const std::string in = dir.Write("in.fas", ">S\natggcctaaggg\n>T\nttatgaaacccgga\n");
  const CliRun run =
      Cli("translate --frames 6 --orfs 1 --three-letter " + in + " " + dir.File("out.fas"), dir);
  ASSERT_EQ(run.status, 0) << run.err;
  RecordingServices svc;
  TDataSeq ds(svc.services);
  AddRow(ds, "S", "atggcctaaggg");
  AddRow(ds, "T", "ttatgaaacccgga");
  TranslateOptions opt;
  opt.allSeqs = true;
  opt.frames = 6;
  opt.findOrfs = true;
  opt.minOrf = 1;
  opt.threeLetter = true;
  const TranslateOutput expected = TranslateDataset(ds, svc.genCode, opt, svc.services);
  // The score is of the forward strand: a holds only ACGT of the query (4).
  EXPECT_TRUE(run.out.ends_with(expected.report));
  const std::string fasta = TestFolder::Read(dir.File("out.fas"));
  EXPECT_NE(fasta.find(">pSfr1\r\nMetAla***Gly\r\n"), std::string::npos) << fasta;
  EXPECT_NE(fasta.find(">pTfr6"), std::string::npos);

  const CliRun toFile = Cli(
      "translate --fasta " + dir.File("p.txt") + " --force " + in + " " + dir.File("out.fas"), dir);
  EXPECT_EQ(toFile.status, 0) << toFile.err;
  EXPECT_EQ(TestFolder::Read(dir.File("p.txt")), ">pS\r\nMA*G\r\n>pT\r\nL*NP\r\n");
  // The window allows ORFs in whole sequences only.
  EXPECT_EQ(Cli("translate --orfs 5 --coding " + in + " " + dir.File("x.fas"), dir).status, 2);
  EXPECT_EQ(Cli("translate --frames 2 " + in + " " + dir.File("x.fas"), dir).status, 2);
}

TEST(Nodrix3CliSearch, MarksAndListsTheHitsOnBothStrands) {
  const TestFolder dir("cli_search");
  const std::string in = dir.Write("in.fas", ">a\nttAAGCCTACGTtt\n>b\ngggACGTAGGCTTccc\n");
  const std::string query = dir.Write("vector.fas", ">v\nACGTAGGCTT\n");
  const std::string out = dir.File("out.df");
  const CliRun run = Cli("search --all --score " + in + " " + query + " " + out, dir);
  ASSERT_EQ(run.status, 0) << run.err;
  // The score is of the forward strand: a holds only ACGT of the query (4).
  EXPECT_TRUE(
      run.out.ends_with("Sequence\tStart\tEnd\tStrand\tIdentity "
                        "(%)\r\na\t12\t3\t-\t100.000\r\nb\t4\t13\t+\t100.000\r\n"
                        "a\tSmithWaterman score = 4\r\nb\tSmithWaterman score = 10\r\n"))
      << run.out;
  RecordingServices svc;
  TDataProj project(svc);
  ASSERT_EQ(ReadProject(out, project, 0), 0);
  const TSeq& a = *project.CurrentDataset()->SeqAt(1);
  ASSERT_EQ(a.regions.size(), 1u);
  EXPECT_EQ(a.regions[0].regStart, 3);
  EXPECT_EQ(a.regions[0].regEnd, 12);
  EXPECT_TRUE(a.regions[0].regReverse);
  EXPECT_EQ(
      Cli("search --min-identity 101 " + in + " " + query + " " + dir.File("x.df"), dir).status, 2);
}
