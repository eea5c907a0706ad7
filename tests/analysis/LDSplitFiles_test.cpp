// SPDX-License-Identifier: GPL-3.0-or-later
// The LD analysis's files beside its pairwise file and the FASTA pieces of a split assembly.
#include "analysis/LDSplitFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "analysis/NeutralityAnalysis.h"
#include "analysis/ScanFixture.h"

namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A fresh folder of the test's own.
fs::path Folder(const std::string& name) {
  const fs::path dir = fs::path(::testing::TempDir()) / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

TEST(LDSideFiles, StayInThePairwiseFilesFolder) {
  EXPECT_EQ(BesideFile("LD-pairwise.csv", "avrgLDscan.csv"), "avrgLDscan.csv");
  EXPECT_EQ(BesideFile("/data/run/LD-pairwise.csv", "avrgLDscan.csv"), "/data/run/avrgLDscan.csv");
  EXPECT_EQ(PrefixedFile("/data/run/LD-pairwise.csv", "hist_"), "/data/run/hist_LD-pairwise.csv");
  EXPECT_EQ(PrefixedFile("pairs.csv", "AsmTest_"), "AsmTest_pairs.csv");
}

TEST(SegmentFileName, NeverLeavesTheFolder) {
  EXPECT_EQ(SegmentFileName("Locus", 1, 8), "Locus_1-8.fasta");
  EXPECT_EQ(SegmentFileName("../../etc/passwd", 3, 9), ".._.._etc_passwd_3-9.fasta");
  EXPECT_EQ(SegmentFileName("C:\\x*y?\"<|>\t", 1, 2), "C__x_y_______1-2.fasta");
  const std::string longName = SegmentFileName(std::string(1000, 'a'), 1, 100000000);
  EXPECT_LE(longName.size(), 255u);
  EXPECT_TRUE(longName.ends_with("_1-100000000.fasta"));
}

TEST(CopyColumns, CutsEveryRowByAlignmentColumns) {
  ScanFixture f({"ACGTACGTAC", "TTGGCCAA", "GGGG"});
  f.ds->dsName = "Locus";
  f.Row(2).columnShift = 2;  // occupies columns 3..10
  f.Row(3).columnShift = 6;  // columns 7..10
  const std::unique_ptr<TDataSeq> piece = CopyColumns(*f.ds, 4, 8);
  ASSERT_EQ(piece->Count(), 3);
  EXPECT_EQ(piece->dsName, "Locus");
  EXPECT_EQ(piece->SeqAt(1)->letters, "TACGT");
  EXPECT_EQ(piece->SeqAt(1)->columnShift, 0);
  EXPECT_EQ(piece->SeqAt(2)->letters, "TGGCC");  // letters 2..6 sit in columns 4..8
  EXPECT_EQ(piece->SeqAt(2)->columnShift, 0);
  EXPECT_EQ(piece->SeqAt(3)->letters, "GG");  // columns 7 and 8: the piece's 4th and 5th
  EXPECT_EQ(piece->SeqAt(3)->columnShift, 3);
  EXPECT_EQ(f.ds->SeqAt(2)->letters, "TTGGCCAA");  // the dataset stays as it was
}

TEST(WriteSegmentFasta, WritesThePieceOrSaysWhyNot) {
  ScanFixture f({"ACGTACGTAC", "TTGGCCAACC"});
  f.ds->dsName = "chr1/part";
  const fs::path dir = Folder("ld_segment_write");
  std::string path;
  EXPECT_EQ(WriteSegmentFasta(*f.ds, {3, 6}, (dir / "pairs.csv").string(), f.svc, path), "");
  EXPECT_EQ(path, (dir / "chr1_part_3-6.fasta").string());
  EXPECT_EQ(Slurp(path), ">s1\r\nGTAC\r\n>s2\r\nGGCC\r\n");

  const std::string missing = (dir / "no such folder" / "pairs.csv").string();
  const std::string problem = WriteSegmentFasta(*f.ds, {3, 6}, missing, f.svc, path);
  EXPECT_NE(problem.find("chr1_part_3-6.fasta"), std::string::npos) << problem;
  EXPECT_TRUE(f.svc.messages.errors.empty());  // the caller reports it, once
}

// Eight sequences: SNPs at 2, 4, 6 carried by s1..s4 and at 14, 16, 18 by s1, s2, s5, s6, so
// |D'| is 1 within a block and 0 across; columns 8..12 are N in every sequence.
struct SplitProject : ScanFixture {
  static std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    for (int r = 1; r <= 8; ++r) {
      std::string s(20, 'A');
      for (int c = 8; c <= 12; ++c) s[static_cast<std::size_t>(c - 1)] = 'N';
      if (r <= 4)
        for (int c : {2, 4, 6}) s[static_cast<std::size_t>(c - 1)] = 'T';
      if (r == 1 || r == 2 || r == 5 || r == 6)
        for (int c : {14, 16, 18}) s[static_cast<std::size_t>(c - 1)] = 'G';
      rows.push_back(s);
    }
    return rows;
  }
  SplitProject() : ScanFixture(Rows()) { InitAnalysisSelection(proj); }
};

TEST(RunLD, SplitAssemblyWritesEveryPieceAsFasta) {
  SplitProject p;
  p.ds->dsName = "chr1/asm";
  const fs::path dir = Folder("ld_split_run");
  LDRunOptions lo;
  lo.pairFile = (dir / "pairs.csv").string();
  lo.assemblyTest = true;
  lo.asmWinSize = 2;
  lo.asmWinStep = 1;
  lo.split = true;
  lo.splitCoef = 1;
  FrameOptions fo = LDFrameDefaults();
  fo.repWin = false;
  const AnalysisOutput out = RunLD(p.proj, fo, lo, p.svc);
  ASSERT_TRUE(out.error.empty()) << out.error;
  // Window sums 2, 0, 2: mean 4/3, sd 2/sqrt(3); 4/3 - 1/sqrt(3) = 0.76 > 0 splits at the
  // middle window, whose junctions 6 and 14 enclose the N run 8..12: pieces 1..8 and 13..20.
  EXPECT_EQ(Slurp(dir / "avrgLDsplit.csv"), "chr1/asm,1,8\r\nchr1/asm,13,20\r\n");
  EXPECT_TRUE(fs::exists(dir / "avrgLDscan.csv"));
  EXPECT_TRUE(fs::exists(dir / "AsmTest_pairs.csv"));
  const std::string first = Slurp(dir / "chr1_asm_1-8.fasta");
  EXPECT_TRUE(first.starts_with(">s1\r\nATATATAN\r\n>s2\r\n")) << first;
  const std::string second = Slurp(dir / "chr1_asm_13-20.fasta");
  EXPECT_TRUE(second.starts_with(">s1\r\nAGAGAGAA\r\n")) << second;
  EXPECT_NE(second.find(">s8\r\nAAAAAAAA\r\n"), std::string::npos) << second;
  EXPECT_EQ(out.filesWritten.size(), 2u);
}

TEST(RunLD, UnwritablePieceStopsTheRunWithTheReason) {
  SplitProject p;
  const fs::path dir = Folder("ld_split_blocked");
  p.ds->dsName = "Locus";
  // A folder where the first piece's file should go.
  fs::create_directories(dir / "Locus_1-8.fasta");
  LDRunOptions lo;
  lo.pairFile = (dir / "pairs.csv").string();
  lo.assemblyTest = lo.split = true;
  lo.asmWinSize = 2;
  lo.splitCoef = 1;
  const AnalysisOutput out = RunLD(p.proj, LDFrameDefaults(), lo, p.svc);
  EXPECT_NE(out.error.find("Locus_1-8.fasta"), std::string::npos) << out.error;
  EXPECT_FALSE(fs::exists(dir / "Locus_13-20.fasta"));
}

}  // namespace
