// SPDX-License-Identifier: GPL-3.0-or-later
// ML-HKA: locus lines, the input file of both models, the likelihoods file, the verdict and
// runs of the stand-in program through the neutrality analysis.
#include "analysis/MLHKA.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "analysis/NeutralityAnalysis.h"
#include "analysis/ScanFixture.h"
#include "io/IoTestFiles.h"

namespace {

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Ingroup s1..s3: S = 2 (columns 1 and 3); the outgroup differs from s3 at 1, 3, 5 and 6.
const std::vector<std::string> kLocus{"AAAAAAAAAA", "TAAAAAAAAA", "TACAAAAAAA", "AAAAGGAAAA"};

struct HKAProject : ScanFixture {
  HKAProject() : ScanFixture(kLocus) {
    ds->dsName = "L1";
    Assign(4, kOutgroupKey);
    for (const char* name : {"L2", "L3"}) AssignIn(AddDataset(name, kLocus), 4, kOutgroupKey);
    proj.SetCurrent(0);
    InitAnalysisSelection(proj);
  }
};

std::string StandIn() {
  return std::string(NODRIX_BINARY_DIR) + "/standins/mlhka_standin";
}

// Sets an environment variable for one scope.
struct Env {
  std::string name;
  Env(const char* n, const std::string& value) : name(n) { ::setenv(n, value.c_str(), 1); }
  ~Env() { ::unsetenv(name.c_str()); }
};

AnalysisOutput RunHKA(HKAProject& p, const TestFolder& dir, const std::string& program) {
  FrameOptions fo;
  fo.outputFolder = dir.Path();
  fo.useAllDatasets = false;
  NeutralityRunOptions no;
  no.mlhka.run = true;
  no.mlhka.chain = 1000;
  no.mlhka.references = {"L2", "L3", "L1"};
  no.mlhka.program = program;
  return RunNeutrality(p.proj, fo, no, p.svc);
}

}  // namespace

TEST(MLHKAFiles, LocusLineAndInfileOfBothModels) {
  HKAProject p;
  ASSERT_TRUE(p.Scan(Options(0)));
  // L 10, S 2, n 3, D 4, theta 2 / a(3) / 10 = 0.13333, autosomal.
  const auto line = HKALocusLine(p.proj, *p.ds);
  ASSERT_TRUE(line.has_value());
  EXPECT_EQ(*line, "L1\t10\t2\t3\t4\t0.13333\t1");
  p.ds->chromosome = -1;  // X
  EXPECT_EQ(HKALocusLine(p.proj, *p.ds)->substr(line->size() - 1), "0.75");

  EXPECT_EQ(HKAInfile(0, "L1", "l1", {"r1", "r2"}), "3\t\t0\t5.00000\r\nl1\r\nr1\r\nr2\r\n");
  EXPECT_EQ(HKAInfile(1, "L1", "l1", {"r1"}), "2\t\t1\tL1\t5.00000\r\nl1\r\nr1\r\n");

  // Without an outgroup there is no divergence to count.
  ScanFixture none({"AAAA", "TAAA"});
  ASSERT_TRUE(none.Scan(Options(0)));
  EXPECT_FALSE(HKALocusLine(none.proj, *none.ds).has_value());
}

TEST(MLHKAFiles, LikelihoodsAndVerdicts) {
  const auto neutral = ReadHKALikelihoods("Ln\tx\r\n-12.5\t3\r\n", 0);
  ASSERT_TRUE(neutral.has_value());
  EXPECT_EQ(neutral->header, "Ln\tx");
  EXPECT_DOUBLE_EQ(neutral->ln, -12.5);
  const auto selection = ReadHKALikelihoods("model 1\nLn k\n-10 2\n", 1);
  ASSERT_TRUE(selection.has_value());
  EXPECT_EQ(selection->result, "-10 2");
  EXPECT_FALSE(ReadHKALikelihoods("", 0).has_value());
  EXPECT_FALSE(ReadHKALikelihoods("Ln\nnot-a-number\n", 0).has_value());

  // LR = 2 (ln1 - ln0) at and just past the chi-square (1 df) quantiles.
  const struct {
    double lr;
    const char* verdict;
  } cases[] = {{3.8415, "NS"},     {3.8416, "P<0.05"},  {6.6349, "P<0.05"},
               {6.6350, "P<0.01"}, {10.8276, "P<0.01"}, {10.8277, "P<0.001"}};
  for (const auto& c : cases) EXPECT_EQ(MLHKAVerdict(-100, -100 + c.lr / 2), c.verdict) << c.lr;
  EXPECT_EQ(MLHKAVerdict(-10, -11),
            "???too short chain??? Ln-selection should be higher or equal to Ln-neutral");
}

TEST(MLHKARun, StandInGivesTheVerdictAndTheResultFiles) {
  HKAProject p;
  TestFolder dir("mlhka_run");
  Env log("NODRIX_STANDIN_LOG", dir.File("log.txt"));
  const AnalysisOutput out = RunHKA(p, dir, StandIn());
  ASSERT_TRUE(out.error.empty()) << out.error;
  // The stand-in's likelihoods: Ln0 = -(S + D) over the three loci = -18, LR = D of L1 = 4.
  const std::string verdict =
      "L1 (compared to 2 ref. datasets) neutral Ln = -18.00000 selection Ln = -16.00000 P<0.05";
  EXPECT_TRUE(Has(out.report,
                  "mlHKA (Wright and Charlesworth 2004 Genetics 168:1071) results:\r\n"
                  "Chain length: 1000\r\n" +
                      verdict + "\r\n"))
      << out.report;
  EXPECT_EQ(TestFolder::Read(dir.File("mlHKAresults1.txt")), verdict + "\r\n");
  EXPECT_EQ(TestFolder::Read(dir.File("mlHKAresults2.txt")),
            "Dataset RunMode Ln\tseed\tchain\r\nL1 neutral: -18\t100\t1000\r\n"
            "L1 selection: -16\t100\t1000\r\n");
  const std::string line = "L1\t10\t2\t3\t4\t0.13333\t1\r\n";
  const std::string refs = "L2\t10\t2\t3\t4\t0.13333\t1\r\nL3\t10\t2\t3\t4\t0.13333\t1\r\n";
  EXPECT_EQ(TestFolder::Read(dir.File("log.txt")),
            "100\r\n1000\r\n3\t\t0\t5.00000\r\n" + line + refs +
                "100\r\n1000\r\n3\t\t1\tL1\t5.00000\r\n" + line + refs);
  EXPECT_FALSE(p.svc.progress.statuses.empty());
}

TEST(MLHKARun, MissingSilentOrFailingProgramGivesNoVerdict) {
  HKAProject p;
  TestFolder dir("mlhka_fail");
  AnalysisOutput out = RunHKA(p, dir, dir.File("no-such-mlhka"));
  ASSERT_EQ(p.svc.messages.notices.size(), 1u);
  EXPECT_TRUE(Has(p.svc.messages.notices[0], "The ML-HKA program was not found")) << out.report;
  EXPECT_FALSE(Has(out.report, "neutral Ln =")) << out.report;
  {
    Env mode("NODRIX_STANDIN_MODE", "none");
    out = RunHKA(p, dir, StandIn());
    EXPECT_TRUE(Has(out.report, "L1: MLHKA wrote no likelihoods (neutral model)")) << out.report;
  }
  {
    Env mode("NODRIX_STANDIN_MODE", "fail");
    out = RunHKA(p, dir, StandIn());
    EXPECT_TRUE(Has(out.report, "L1: MLHKA failed: MLHKA stand-in: failing as asked"))
        << out.report;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("mlHKAresults1.txt")));
}
