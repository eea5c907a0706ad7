// SPDX-License-Identifier: GPL-3.0-or-later
// Population subdivision through the analysis frame: matrix blocks and overall values of a
// project worked by hand, the outgroup left out of the groups, the permutation test and the
// bootstrap with a fixed seed, the window file and the split of an assembly.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "analysis/PopStrucDBox.h"
#include "analysis/ScanFixture.h"

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Runs a test inside a fresh folder: the split writes into the working folder.
struct InTempFolder {
  std::filesystem::path old = std::filesystem::current_path();
  std::filesystem::path dir;
  explicit InTempFolder(const std::string& name)
      : dir(std::filesystem::temp_directory_path() / name) {
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
  }
  ~InTempFolder() { std::filesystem::current_path(old); }
};

// pop1 = s1 s2 s3, pop2 = s4 s5, s6 an outgroup unlike all of them. The differences are those
// of the two-group table of the statistics tests (sites at columns 1, 2, 3 of 10):
// Dxy = 11/60, Da = 1/15, Fst = 4/11, Kst* = 0.16267, Hst = 4/53, Nm = 7/16; one shared,
// one fixed site, one site exclusive to pop1.
struct TwoPopProject : ScanFixture {
  TwoPopProject()
      : ScanFixture(
            {"CATAAAAAAA", "AATAAAAAAA", "AAAAAAAAAA", "AGTAAAAAAA", "AGAAAAAAAA", "GCCAAAAAAA"}) {
    proj.projName = "Proj";
    ds->dsName = "Locus";
    const int pop1 = AddGroup("pop1"), pop2 = AddGroup("pop2");
    for (int r = 1; r <= 3; ++r) Assign(r, pop1);
    for (int r = 4; r <= 5; ++r) Assign(r, pop2);
    Assign(6, kOutgroupKey);
    InitAnalysisSelection(proj);
  }
};

const std::string kHead = "   Y \\ X    pop1    pop2\r\n";
const std::string kNone(8, ' ');

TEST(PopSubdiv, MatrixBlocksAndOverallValues) {
  TwoPopProject p;
  FrameOptions fo;
  fo.tableToWin = true;
  PopSubdivOptions so;
  so.nm = so.dxy = so.da = so.sFixed = true;
  const AnalysisOutput out = RunPopSubdiv(p.proj, fo, so, p.svc);
  ASSERT_TRUE(out.error.empty()) << out.error;
  EXPECT_EQ(out.reportCaption, "Population subdivision report");
  const std::string& r = out.report;
  // The blocks follow the group reports in their fixed order. The outgroup s6 is in no
  // group's mask: with it, pop1 would have four sequences and other values.
  EXPECT_TRUE(Has(r,
                  "=============================\r\n"
                  "Population subdivision statistics for 2 populations\r\n"
                  "Fst (upper right matrix) and Kst* (lower left matrix)\r\n"
                  "Fst is eq 3 Hudson et al 1992 Genetics v132 p583; Kst* is eq9&11 Hudson et "
                  "al 1992 MBE v9 p138\r\n\r\n" +
                      kHead + "   pop1 " + kNone + "  0.3636\r\n" + "   pop2   0.1627" + kNone +
                      "\r\n" +
                      "\r\nFor 2 populations Fst = 0.3636 Kst* = 0.1627\r\n\r\n"
                      "Hst (eq.9 Jost 2008) for 2 populations\r\n\r\n" +
                      kHead + "   pop1 " + kNone + "  0.0755\r\n" + "   pop2 " + kNone + kNone +
                      "\r\n" + "\r\nFor 2 populations Hst = 0.0755\r\n\r\n" +
                      "Gene flow, Nm (eq4 Hudson et al 1992 Genetics v132 p583) for 2 "
                      "populations\r\n\r\n" +
                      kHead + "   pop1 " + kNone + "  0.4375\r\n" + "   pop2 " + kNone + kNone +
                      "\r\n" + "\r\nFor 2 populations Nm = 0.4375\r\n\r\n" +
                      "Population divergence: Dxy (upper right matrix) and Da (lower left "
                      "matrix) for 2 populations\r\n"
                      "Dxy is average number of nucl.diff between populations (eq 10.7 Nei "
                      "1987);\r\n"
                      "Da = Dxy - (PiX+PiY)/2 (same as Delta in Eq25 in Nei&Li 1979)\r\n\r\n" +
                      kHead + "   pop1 " + kNone + "  0.1833\r\n" + "   pop2   0.0667" + kNone +
                      "\r\n" + "\r\nFor 2 populations Dxy = 0.1833 Da = 0.0667\r\n\r\n"));
  // Shared (upper) and fixed (lower) sites; each exclusive cell counts its column's group, so
  // the site exclusive to pop1 shows below the diagonal and pop2's none above it.
  EXPECT_TRUE(Has(
      r,
      "Number of shared sites (upper right matrix) and\r\n"
      "fixed sites (lower left matrix) for 2 populations\r\n\r\n" +
          kHead + "   pop1 " + kNone + "       1\r\n" + "   pop2        1" + kNone + "\r\n\r\n" +
          "Number of exclusive sites in population X (upper right matrix) and Y "
          "(lower left matrix)\r\n\r\n" +
          kHead + "   pop1 " + kNone + "       0\r\n" + "   pop2        1" + kNone + "\r\n"));

  // The statistics table carries each filled cell and the overall values.
  ASSERT_EQ(out.table.size(), 2u);
  const auto& names = out.table[0];
  const auto& values = out.table[1];
  auto value = [&](const std::string& name) {
    const auto it = std::find(names.begin(), names.end(), name);
    return it == names.end() ? std::string("missing")
                             : values[static_cast<std::size_t>(it - names.begin())];
  };
  EXPECT_EQ(value("Dxy for groups pop1 & pop2"), "0.183");
  EXPECT_EQ(value("Da for groups pop2 & pop1"), "0.067");
  EXPECT_EQ(value("Fst for groups pop1 & pop2"), "0.364");
  EXPECT_EQ(value("Kst* for groups pop2 & pop1"), "0.163");
  EXPECT_EQ(value("Hst (eq9 Jost2008) for groups pop1 & pop2"), "0.075");
  EXPECT_EQ(value("Nm for groups pop1 & pop2"), "0.438");
  EXPECT_EQ(value("Fst over all groups"), "0.364");
  EXPECT_EQ(value("Dxy over all groups"), "0.183");
  EXPECT_EQ(value("Shared_sites"), "1");
  EXPECT_EQ(value("Fixed_sites"), "1");
}

TEST(PopSubdiv, EmptyGroupPrintsErrAndTooFewGroupRecordsAreRefused) {
  TwoPopProject p;
  p.AddGroup("empty");
  const AnalysisOutput out = RunPopSubdiv(p.proj, FrameOptions{}, PopSubdivOptions{}, p.svc);
  // Every pair with the empty group, and the overall values, cannot be computed.
  EXPECT_TRUE(Has(out.report,
                  "   Y \\ X    pop1    pop2   empty\r\n"
                  "   pop1           0.3636     Err\r\n"));
  EXPECT_TRUE(Has(out.report, "For 3 populations Fst =    Err Kst* =    Err\r\n"));

  ScanFixture lone({"AAAA", "AAAC"});
  InitAnalysisSelection(lone.proj);
  const AnalysisOutput none = RunPopSubdiv(lone.proj, FrameOptions{}, PopSubdivOptions{}, lone.svc);
  EXPECT_EQ(
      lone.svc.messages.notices,
      std::vector<std::string>{"Number of populations must be > 1\r\nSelect more populations"});
  EXPECT_FALSE(Has(none.report, "Population subdivision statistics"));
}

// Two groups of ten separated by three fixed differences and sharing a polymorphism; or, mixed,
// each group holding five sequences of either kind (the lowest Fst any grouping reaches).
ScanFixture SeparatedGroups(bool mixed) {
  std::vector<std::string> rows;
  for (int r = 0; r < 20; ++r) {
    const bool second = mixed ? r % 2 == 1 : r >= 10;
    std::string s = second ? "CCCAAAAA" : "AAAAAAAA";
    if (!mixed && r % 3 == 0) s[5] = 'T';
    rows.push_back(s);
  }
  return ScanFixture(rows);
}

PopSubdivOptions Permuting(int runs) {
  PopSubdivOptions so;
  so.hst = false;
  so.permute = true;
  so.permutations = runs;
  so.seed = 4711;
  return so;
}

TEST(PopSubdiv, PermutationTestIsReproducibleAndSensible) {
  ScanFixture f = SeparatedGroups(false);
  const int a = f.AddGroup("a"), b = f.AddGroup("b");
  for (int r = 1; r <= 20; ++r) f.Assign(r, r <= 10 ? a : b);
  InitAnalysisSelection(f.proj);
  PopSubdivOptions so = Permuting(100);
  so.dxy = true;
  const AnalysisOutput first = RunPopSubdiv(f.proj, FrameOptions{}, so, f.svc);
  // No relabelling reaches the observed split: the P-value prints as 0.
  EXPECT_TRUE(Has(first.report,
                  "From 100 permutaions P-value for Fst = 0.0000  P-value for Kst* = 0.0000\r\n"));
  EXPECT_TRUE(Has(first.report, "From 100 permutaions   P-value for Dxy = 0.0000\r\n"));
  // The same seed gives the same run.
  const AnalysisOutput again = RunPopSubdiv(f.proj, FrameOptions{}, so, f.svc);
  EXPECT_EQ(first.report, again.report);

  // Groups of the same make-up: the observed Fst is as low as any relabelling makes it.
  ScanFixture g = SeparatedGroups(true);
  const int c = g.AddGroup("a"), d = g.AddGroup("b");
  for (int r = 1; r <= 20; ++r) g.Assign(r, r <= 10 ? c : d);
  InitAnalysisSelection(g.proj);
  const AnalysisOutput same = RunPopSubdiv(g.proj, FrameOptions{}, Permuting(100), g.svc);
  const auto at = same.report.find("P-value for Fst = ");
  ASSERT_NE(at, std::string::npos);
  EXPECT_GT(std::stod(same.report.substr(at + 18, 6)), 0.5);
}

TEST(PopSubdiv, NoReplicatesGiveErrNotADivisionByZero) {
  TwoPopProject p;
  FrameOptions fo;
  fo.doBootstrap = true;
  fo.bsReplicates = 0;
  PopSubdivOptions so = Permuting(0);
  const AnalysisOutput out = RunPopSubdiv(p.proj, fo, so, p.svc);
  EXPECT_TRUE(
      Has(out.report, "From 0 permutaions P-value for Fst =   Err  P-value for Kst* =   Err"));
  EXPECT_TRUE(Has(out.report, "Fst[min2.5%] = Err Fst[max97.5%] = Err\r\n"));
}

TEST(PopSubdiv, HstAloneIsReported) {
  TwoPopProject p;
  PopSubdivOptions so;
  so.fst = so.kst = false;
  const AnalysisOutput out = RunPopSubdiv(p.proj, FrameOptions{}, so, p.svc);
  EXPECT_TRUE(Has(out.report, "For 2 populations Hst = 0.0755\r\n"));
  EXPECT_FALSE(Has(out.report, "Population subdivision statistics"));
}

// Three groups of two whose every column separates the same sequences: any bootstrap copy
// equals the table, so the interval is the overall value itself (the mean over the three
// pairs, not their sum).
TEST(PopSubdiv, BootstrapIntervalOfDxyIsOnTheScaleOfTheOverallValue) {
  ScanFixture f({"AAAA", "AAAA", "CCCC", "CCCC", "AAAA", "CCCC"});
  const int a = f.AddGroup("a"), b = f.AddGroup("b"), c = f.AddGroup("c");
  f.Assign(1, a);
  f.Assign(2, a);
  f.Assign(3, b);
  f.Assign(4, b);
  f.Assign(5, c);
  f.Assign(6, c);
  InitAnalysisSelection(f.proj);
  FrameOptions fo;
  fo.doBootstrap = true;
  fo.bsReplicates = 10;
  PopSubdivOptions so;
  so.dxy = true;
  so.seed = 3;
  const AnalysisOutput out = RunPopSubdiv(f.proj, fo, so, f.svc);
  // Pairs ab: 4 of 4 pairs differ at each site, Dxy = 1; ac: 2 of 4, 0.5; bc: 0.5.
  // Overall = (1 + 0.5 + 0.5) x 2 / 6 = 0.6667.
  EXPECT_TRUE(Has(out.report, "For 3 populations Dxy = 0.6667\r\n"));
  EXPECT_TRUE(Has(out.report, "Dxy[min2.5%] = 0.6667 Dxy[max97.5%] = 0.6667\r\n"));
}

TEST(PopSubdiv, ReplicatesOfSeveralDatasetsLeaveTheRunBarAlone) {
  TwoPopProject p;
  PopSubdivOptions so = Permuting(5);
  RunPopSubdiv(p.proj, FrameOptions{}, so, p.svc);
  EXPECT_EQ(p.svc.progress.starts, p.svc.progress.ends);
  const int alone = p.svc.progress.starts;
  EXPECT_GE(alone, 1);  // one dataset: the replicates have a bar of their own

  TwoPopProject two;
  two.proj.NewDataset();
  two.proj.SetCurrent(0);
  InitAnalysisSelection(two.proj);
  RunPopSubdiv(two.proj, FrameOptions{}, so, two.svc);
  // Only the run's bar over the datasets; the replicates show their status within it.
  EXPECT_EQ(two.svc.progress.starts, 1);
  EXPECT_NE(std::find(two.svc.progress.statuses.begin(), two.svc.progress.statuses.end(),
                      "Doing permutations"),
            two.svc.progress.statuses.end());
}

TEST(PopSubdiv, CancelStopsThePermutations) {
  ScanFixture f = SeparatedGroups(false);
  const int a = f.AddGroup("a"), b = f.AddGroup("b");
  for (int r = 1; r <= 20; ++r) f.Assign(r, r <= 10 ? a : b);
  InitAnalysisSelection(f.proj);
  f.svc.progress.cancelAfterSteps = 30;
  const AnalysisOutput out = RunPopSubdiv(f.proj, FrameOptions{}, Permuting(10000), f.svc);
  EXPECT_TRUE(out.cancelled);
  EXPECT_TRUE(Has(out.report, "Calculation was stopped by user \r\n"));
  EXPECT_FALSE(Has(out.report, "permutaions"));
}

TEST(PopSubdiv, BootstrapIntervalsAndReplicateFile) {
  InTempFolder folder("nodrix_subdiv_boot");
  TwoPopProject p;
  FrameOptions fo;
  fo.doBootstrap = true;
  fo.bsReplicates = 20;
  PopSubdivOptions so;
  so.hst = so.kst = false;
  so.csvFile = true;
  so.seed = 11;
  const AnalysisOutput out = RunPopSubdiv(p.proj, fo, so, p.svc);
  ASSERT_TRUE(out.error.empty()) << out.error;
  const std::string csv = Slurp("boot_out.csv");
  std::istringstream lines(csv);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "Fst \r");
  std::vector<double> fst;
  while (std::getline(lines, line)) {
    EXPECT_EQ(line.size(), 7u) << line;  // "%5.3f" then "," and CR
    fst.push_back(std::stod(line));
  }
  ASSERT_EQ(fst.size(), 20u);
  // One generator for all replicates: they are not all the same draw.
  EXPECT_NE(std::count(fst.begin(), fst.end(), fst.front()), 20);
  // 20 replicates: the bounds are the values at sorted indices 0 and 19.
  const auto [lo, hi] = std::minmax_element(fst.begin(), fst.end());
  const auto at = out.report.find("Fst[min2.5%] = ");
  ASSERT_NE(at, std::string::npos);
  EXPECT_NEAR(std::stod(out.report.substr(at + 15, 6)), *lo, 0.0006);
  const auto up = out.report.find(" Fst[max97.5%] = ");
  ASSERT_NE(up, std::string::npos);
  EXPECT_NEAR(std::stod(out.report.substr(up + 17, 6)), *hi, 0.0006);
  EXPECT_TRUE(Has(out.report,
                  "Bootstrap confidence interval from 20 bootstrap replicates\r\nFst[min2.5%] = "));
  EXPECT_TRUE(Has(out.report,
                  " Fst values for individual bootstrap replicates were written to file "
                  "boot_out.csv\r\n"));
}

// Four sequences of 60 columns: pop1 = s1 s2, pop2 = s3 s4, fixed for different letters at
// columns 33, 35 and 37, unknown letters in every sequence at 21..25 and 50..54.
std::vector<std::string> AssemblyRows() {
  std::string base(60, 'A');
  for (int c = 21; c <= 25; ++c) base[static_cast<std::size_t>(c - 1)] = 'N';
  for (int c = 50; c <= 54; ++c) base[static_cast<std::size_t>(c - 1)] = 'N';
  std::string other = base;
  for (int c : {33, 35, 37}) other[static_cast<std::size_t>(c - 1)] = 'C';
  return {base, base, other, other};
}

struct Assembly : ScanFixture {
  Assembly() : ScanFixture(AssemblyRows()) {
    ds->dsName = "asm";
    const int a = AddGroup("pop1"), b = AddGroup("pop2");
    Assign(1, a);
    Assign(2, a);
    Assign(3, b);
    Assign(4, b);
    InitAnalysisSelection(proj);
  }
};

TEST(PopSubdiv, SlidingWindowFileAndSplitAtDivergentWindows) {
  InTempFolder folder("nodrix_subdiv_split");
  Assembly f;
  FrameOptions fo;
  // The files go to the output folder, not the working folder.
  fo.outputFolder = (folder.dir / "out").string();
  std::filesystem::create_directory(fo.outputFolder);
  const auto at = [&fo](const char* name) { return fo.outputFolder + "/" + name; };
  fo.doSW = true;
  fo.swSize = 10;
  fo.swStep = 10;
  fo.sw2file = true;
  PopSubdivOptions so;
  so.windowStat = SubdivWindowStat::SFixed;
  so.split = true;
  so.splitThreshold = 2;
  const AnalysisOutput out = RunPopSubdiv(f.proj, fo, so, f.svc);
  ASSERT_TRUE(out.error.empty()) << out.error;
  EXPECT_TRUE(
      Has(out.report, "Sliding window is calculated for window size: 10, increment: 10\r\n"));
  // Windows over 1..60 of size 10, step 10, ten columns each: 1-10, ..., 51-60 (they spanned
  // eleven, 1-11 to 41-51, before).
  EXPECT_EQ(Slurp(at("sw_output.csv")),
            "asm,1,10,S-shared:,   0, S-fixed:,   0, Exclusive1:,   0, Exclusive2:,   0\r\n"
            "asm,11,20,S-shared:,   0, S-fixed:,   0, Exclusive1:,   0, Exclusive2:,   0\r\n"
            "asm,21,30,S-shared:,   0, S-fixed:,   0, Exclusive1:,   0, Exclusive2:,   0\r\n"
            "asm,31,40,S-shared:,   0, S-fixed:,   3, Exclusive1:,   0, Exclusive2:,   0\r\n"
            "asm,41,50,S-shared:,   0, S-fixed:,   0, Exclusive1:,   0, Exclusive2:,   0\r\n"
            "asm,51,60,S-shared:,   0, S-fixed:,   0, Exclusive1:,   0, Exclusive2:,   0\r\n");
  // Window 31-40 is divergent ((3 + 1) / (0 + 1) >= 2). Backward from column 36 the run of
  // unknown columns 21..25 gives the split (20, 25); forward from 35 the run 50..54 gives
  // (50, 55).
  EXPECT_EQ(Slurp(at("asmSplit.csv")), "asm,1,20\r\nasm,25,50\r\nasm,55,60\r\n");
  EXPECT_EQ(Slurp(at("asm_1-20.fasta")), ">s1\r\n" + std::string(20, 'A') + "\r\n>s2\r\n" +
                                         std::string(20, 'A') + "\r\n>s3\r\n" +
                                         std::string(20, 'A') + "\r\n>s4\r\n" +
                                         std::string(20, 'A') + "\r\n");
  EXPECT_TRUE(std::filesystem::exists(at("asm_25-50.fasta")));
  EXPECT_TRUE(std::filesystem::exists(at("asm_55-60.fasta")));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.dir), {}), 1);
}

TEST(PopSubdiv, FstAndDxyWindowsAndBackwardGapSearch) {
  InTempFolder folder("nodrix_subdiv_windows");
  Assembly f;
  FrameOptions fo;
  fo.doSW = true;
  fo.swSize = 20;
  fo.swStep = 20;
  fo.sw2file = true;
  PopSubdivOptions so;
  so.windowStat = SubdivWindowStat::Dxy;
  ASSERT_TRUE(RunPopSubdiv(f.proj, fo, so, f.svc).error.empty());
  // Windows 1-20, 21-40 and 41-60 (1-21 and 21-41 before, of 21 columns); the second holds the
  // three fixed sites over its 20 columns (the unknown columns count as analysed):
  // Dxy = 3 x 4 / (2 x 2 x 20) = 0.15.
  EXPECT_EQ(Slurp("sw_output.csv"),
            "asm,1,20,Dxy:,0.0000\r\nasm,21,40,Dxy:,0.1500\r\nasm,41,60,Dxy:,0.0000\r\n");
  so.windowStat = SubdivWindowStat::Fst;
  ASSERT_TRUE(RunPopSubdiv(f.proj, fo, so, f.svc).error.empty());
  // No difference in the first and last windows: Hb = 0, not computable; the second Fst = 1.
  EXPECT_EQ(Slurp("sw_output.csv"),
            "asm,1,20,Fst:,-1.0000\r\nasm,21,40,Fst:,1.0000\r\nasm,41,60,Fst:,-1.0000\r\n");

  // The backward search settles on the last run of unknown columns in the range.
  int left = 1, right = 58;
  EXPECT_TRUE(FindGapRunBackward(*f.ds, left, right));
  EXPECT_EQ(left, 49);
  EXPECT_EQ(right, 54);
  left = 1;
  right = 20;
  EXPECT_FALSE(FindGapRunBackward(*f.ds, left, right));
}

}  // namespace
