// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli align and pairwise.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "CliRun.h"
#include "alignment/AlignCommands.h"
#include "alignment/AlignerStandIn.h"
#include "editor/EditorCommandFixture.h"
#include "io/IOUnit.h"
#include "io/ProjectFile.h"

namespace {
const std::string K = "ACGTTGCAAGCTTACGGATC";
}

TEST(Nodrix3CliAlign, GivesTheEditorsRows) {
  StandInScope standIn("shift");
  const TestFolder dir("cli_align");
  const std::vector<std::pair<std::string, std::string>> rows{
      {"a", "GG-C" + K}, {"b", "TGCAC" + K.substr(5)}, {"c", "TTGCAC" + K.substr(6)}};
  std::string fasta;
  for (const auto& [name, letters] : rows) fasta += ">" + name + "\n" + letters + "\n";
  const std::string in = dir.Write("in.fasta", fasta);

  const CliRun run = Cli("align " + in + " " + dir.File("out.fasta") + " --aligner " +
                             StandInAligner() + " --window 300 --verbose",
                         dir);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("No selected sequences found. Align the entire dataset "),
            std::string::npos);
  EXPECT_NE(run.err.find("? [Yes]"), std::string::npos);

  CommandFixture f;
  TDataSeq& ds = f.AddDataset("in", {});
  for (const auto& [name, letters] : rows) AddRow(ds, name, letters);
  f.Answer({true});
  ASSERT_TRUE(AlignSequences(f.ctx, AlignSetup{StandInAligner(), dir.Path()}));
  EXPECT_EQ(TestFolder::Read(dir.File("out.fasta")), FastaText(ds, false));
  EXPECT_EQ(standIn.Runs().size(), 2u);  // one run each
}

TEST(Nodrix3CliAlign, SelectedDatasetsGoToTheOutputFolderAndBadScopesAreRefused) {
  StandInScope standIn("");
  const TestFolder dir("cli_align_sel");
  RecordingServices svc;
  TDataProj project(svc);
  for (const char* name : {"g1", "g2"}) {
    project.NewDataset();
    project.RenameDataset(project.CurrentIndex(), name);
    AddRow(*project.CurrentDataset(), "a", "GGC" + K);
    AddRow(*project.CurrentDataset(), "b", "TGCAC" + K.substr(5));
  }
  const std::string in = dir.File("two.df");
  ASSERT_TRUE(WriteProject(in, project, GridFileSettings{}));
  ::mkdir(dir.File("out").c_str(), 0700);
  const CliRun run = Cli("align " + in + " " + dir.File("aligned.df") + " --scope selected" +
                             " --aligner " + StandInAligner() + " --out-dir " + dir.File("out"),
                         dir);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(standIn.Runs().size(), 2u);
  for (const char* name : {"aln_g1.fasta", "aln_g2.fasta"})
    EXPECT_EQ(TestFolder::Read(dir.File("out/") + name),
              ">a\r\nGGC" + K + "\r\n>b\r\nTGCAC" + K.substr(5) + "\r\n")
        << name;
  EXPECT_EQ(Cli("align " + in + " x.fasta --scope all", dir).status, 2);
  EXPECT_EQ(Cli("align " + in + " x.fasta --aligner " + dir.File("none"), dir).status, 1);
}

TEST(Nodrix3CliPairwise, PrintsBothRowsOfTheGlobalOrAnchoredAlignment) {
  const TestFolder dir("cli_pairwise");
  const std::string in = dir.Write("pair.fasta", ">long\nGGC" + K + "\n>short\n" + K + "\n");
  const CliRun global = Cli("pairwise " + in, dir);
  EXPECT_EQ(global.status, 0) << global.err;
  EXPECT_EQ(global.out, ">long\nGGC" + K + "\n>short\n---" + K + "\n");
  // 20 matches of 10, a leading end gap of 3 letters at 0.3; every letter of the shorter shared.
  EXPECT_NE(global.err.find("score 199.1, distance 0.0000"), std::string::npos);
  const CliRun anchored = Cli("pairwise --anchored " + in, dir);
  EXPECT_EQ(anchored.out, global.out);
}

TEST(Nodrix3CliAlign, TreeMethodGivesTheEditorsRowsAndCopyGapsLaysAFilesGaps) {
  const TestFolder dir("cli_align_tree");
  const std::vector<std::pair<std::string, std::string>> rows{
      {"a", "GGC" + K + "TTAG"}, {"b", K.substr(0, 9) + K.substr(12) + "TTAG"}, {"c", "GC" + K}};
  std::string fasta;
  for (const auto& [name, letters] : rows) fasta += ">" + name + "\n" + letters + "\n";
  const std::string in = dir.Write("in.fasta", fasta);
  const CliRun run = Cli("align --method tree " + in + " " + dir.File("tree.fasta"), dir);
  EXPECT_EQ(run.status, 0) << run.err;
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("in", {});
  for (const auto& [name, letters] : rows) AddRow(ds, name, letters);
  f.Answer({true});
  ASSERT_TRUE(AlignTreeGuided(f.ctx));
  EXPECT_EQ(TestFolder::Read(dir.File("tree.fasta")), FastaText(ds, false));

  // The aligned rows give their gaps back to the unaligned file.
  const CliRun copy =
      Cli("copy-gaps " + dir.File("tree.fasta") + " " + in + " " + dir.File("copied.fasta"), dir);
  EXPECT_EQ(copy.status, 0) << copy.err;
  EXPECT_NE(copy.err.find("3 of 3 sequences took the gaps"), std::string::npos);
  EXPECT_EQ(TestFolder::Read(dir.File("copied.fasta")), FastaText(ds, false));
  EXPECT_EQ(Cli("align --method tree --scope selected " + in + " x.fasta", dir).status, 2);
  EXPECT_EQ(Cli("copy-gaps " + dir.File("none.fasta") + " " + in + " x.fasta", dir).status, 1);
}
