// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "coalescent/CoalSim.h"
#include "support/RecordingServices.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct TempFolder {
  fs::path path;
  TempFolder() {
    path = fs::temp_directory_path() /
           ("coalsim_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~TempFolder() { fs::remove_all(path); }
};

CoalSimOutcome RunSim(const CoalSimOptions& o, const fs::path& folder, RecordingServices& s) {
  CoalSimIO io{s.messages, s.progress, folder.string(), {}};
  return RunCoalSim(o, io);
}

CoalSimOptions Small(int runs, std::uint64_t seed) {
  CoalSimOptions o;
  o.runs = runs;
  o.seed = seed;
  o.sampleSize = 6;
  o.seqLength = 200;
  o.targetCount = 5;
  return o;
}

}  // namespace

TEST(CoalSimSummary, PercentilesRoundHalfToEven) {
  for (double p : {0.05, 0.5, 0.95}) EXPECT_EQ(PercentileIndex(1, static_cast<float>(p)), 0);
  const float p = 0.05F;
  EXPECT_EQ(PercentileIndex(100, p), 5);
  EXPECT_EQ(PercentileIndex(100, 0.5), 50);
  EXPECT_EQ(PercentileIndex(100, 1 - static_cast<double>(p)), 94);
}

// Five replicates worked by hand: S = 3, 5, 4, 7, 1 and Tajima's D = 0.5, -1.2, Error, 2.0,
// 0.1. S: mean 4, indices 0, 2, 4 of 1 3 4 5 7. D: four defined values -1.2 0.1 0.5 2.0, mean
// 0.35, indices round(0.15) = 0, round(1.5) = 2, round(2.85) = 3.
TEST(CoalSimSummary, FiveKnownReplicates) {
  SimStatChoice c;
  c.pi = false;
  std::vector<StatColumn> cols = SummaryColumns(c, 1);
  ASSERT_EQ(cols.size(), 2U);
  cols[0].values = {3, 5, 4, 7, 1};
  cols[1].values = {0.5, -1.2, 2.0, 0.1};
  cols[1].undefined = 1;
  EXPECT_EQ(SummaryRows(cols, 0.05F),
            "Statistics     Mean     5.000%       50%   95.000% - percentiles\r\n"
            "SegrSites:    4.000         1         4         7\r\n"
            "Tajima D:     0.350    -1.200     0.500     2.000 (1 undefined)\r\n");
}

TEST(CoalSimOptions, ChecksInOrderWithTheirMessages) {
  CoalSimOptions o;
  CoalSimSettings s;
  EXPECT_FALSE(CheckCoalSimOptions(o, s));
  o.recRate = "2";
  o.theta = "x";
  o.ne = "1.5";
  o.sizeChangeTime = "t";
  o.growthRate = "-1";
  o.pValue = "1.5";
  o.demeNumber = "two";
  o.migrationRate = "m";
  o.migrationStart = "1e3x";
  o.splitTime = "";
  o.targetCount = 101;
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Rrate", "The value of pernucleotide recombination rate must be between 0 and 1"},
      {"ThetaEdit", "The value of Theta must be between 0 and 1"},
      {"EditNe", "The value of Ne must be integer"},
      {"TsinceEdit", "Time since population size change must be integer"},
      {"ScoEdit", "Population growth parameter must be between 0 and 1"},
      {"Pval", "P-value parameter must be between 0 and 1"},
      {"DemeNumber", "Number of demes must be integer value"},
      {"MigRateEdit", "Migration rate must be real value"},
      {"MigRateEdit", "Beginning of migration must be integer value"},
      {"TofSplit", "Time of split must be real value"},
      {"nMut", "Number of segregating sites can not be > than the sequence length!"}};
  const std::vector<std::function<void()>> repair = {[&] { o.recRate = "0.01"; },
                                                     [&] { o.theta = "0.01"; },
                                                     [&] { o.ne = "1000"; },
                                                     [&] { o.sizeChangeTime = "100"; },
                                                     [&] { o.growthRate = "0"; },
                                                     [&] { o.pValue = "0.1"; },
                                                     [&] { o.demeNumber = "2"; },
                                                     [&] { o.migrationRate = "1"; },
                                                     [&] { o.migrationStart = "1000"; },
                                                     [&] { o.splitTime = "10"; },
                                                     [&] { o.targetCount = 100; }};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto e = CheckCoalSimOptions(o, s);
    ASSERT_TRUE(e) << i;
    EXPECT_EQ(e->field, expected[i].first);
    EXPECT_EQ(e->message, expected[i].second);
    repair[i]();
  }
  EXPECT_FALSE(CheckCoalSimOptions(o, s));
  // A growth parameter of 0 is refused only when growth is on: its time scale is undefined.
  o.growth = true;
  const auto e = CheckCoalSimOptions(o, s);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->field, "ScoEdit");
  o.growthRate = "0.5";
  EXPECT_FALSE(CheckCoalSimOptions(o, s));
}

TEST(CoalSimOptions, SamplingGrid) {
  EXPECT_EQ(FillSamplingGrid(3, 10, CoalSampling::OneDeme),
            (std::vector<std::string>{"10", "0", "0"}));
  EXPECT_EQ(FillSamplingGrid(3, 10, CoalSampling::Equal),
            (std::vector<std::string>{"3", "3", "4"}));

  RecordingMessages m;
  EXPECT_EQ(GridSampleSizes({"4", "4", "9"}, 3, 10, m), (std::vector<int>{4, 4, 2}));
  EXPECT_TRUE(m.notices.empty());
  const std::string sum =
      "Sum of sequences sampled from demes must be equal to total number of sequences";
  EXPECT_EQ(GridSampleSizes({"8", "5", "1"}, 3, 10, m), (std::vector<int>{8, 0, -3}));
  EXPECT_EQ(m.notices, std::vector<std::string>{sum});
  m.notices.clear();
  EXPECT_EQ(GridSampleSizes({"x", "4", ""}, 3, 10, m), (std::vector<int>{0, 4, 6}));
  EXPECT_EQ(m.notices, std::vector<std::string>{"Sample size from 1 deme is uncorrect"});

  // A negative cell is refused, and what is left can no longer match: the whole sample then
  // goes to the first deme instead of a deme indexing past the sample.
  m.notices.clear();
  const std::vector<int> sizes = GridSampleSizes({"-5", "4", "0"}, 3, 10, m);
  EXPECT_EQ(sizes[0], 0);
  EXPECT_FALSE(m.notices.empty());
  EXPECT_EQ(m.notices[0], sum);
  cTree tree(m);
  tree.inputs.sampleSize = 10;
  tree.inputs.subdivided = true;
  tree.inputs.demeCount = 3;
  tree.inputs.migrationRate = 1;
  tree.inputs.demeSampleSizes = sizes;
  ASSERT_TRUE(tree.InitSimulation(1));
  EXPECT_EQ(tree.inputs.demeSampleSizes, (std::vector<int>{10, 0, 0}));
  EXPECT_EQ(m.errors.size(), 1U);
}

TEST(CoalSimOptions, SharedNeedsExactlyTwoDemes) {
  SimStatChoice c;
  c.shared = true;
  EXPECT_EQ(SummaryColumns(c, 3).size(), SummaryColumns(SimStatChoice(), 3).size());
  EXPECT_EQ(StatsHeader(c, 3, true), StatsHeader(SimStatChoice(), 3, true));
  EXPECT_EQ(SummaryColumns(c, 2).size(), SummaryColumns(SimStatChoice(), 2).size() + 4);
}

TEST(CoalSimRun, PanmicticFilesAndReport) {
  TempFolder dir;
  RecordingServices s;
  CoalSimOptions o = Small(4, 11);
  o.saveSequences = true;
  const CoalSimOutcome out = RunSim(o, dir.path, s);
  ASSERT_TRUE(out.started);
  EXPECT_FALSE(out.cancelled);
  EXPECT_EQ(out.completed, 4);
  const std::vector<std::string> stats = Lines(ReadAll(dir.path / "statout.txt"));
  const std::vector<std::string> deme = Lines(ReadAll(dir.path / "statout~0.txt"));
  ASSERT_GE(stats.size(), 6U);
  EXPECT_EQ(stats[0], "  Run N  SegSites     Pi     Tajima D ");
  EXPECT_EQ(deme[0], "Population 0");
  for (int r = 0; r < 4; ++r) {
    EXPECT_EQ(stats[static_cast<std::size_t>(r + 1)].substr(0, 7), "      " + std::to_string(r));
    EXPECT_EQ(deme[static_cast<std::size_t>(r + 2)], stats[static_cast<std::size_t>(r + 1)]);
  }
  EXPECT_EQ(stats[5], "");
  EXPECT_EQ(out.report.rfind("Seed: 11\r\nRuns: 4;  Seq.Number: 6;   Seq.Length: 200;   \r\n"
                             "Recombination rate between adjacent nucleotides: 0.0000;   \r\n"
                             "Panmictic population;\r\n"
                             "Simulations conditional on 5 segregating sites\r\n\r\n\r\n"
                             "Statistics ",
                             0),
            0U)
      << out.report;
  EXPECT_NE(out.report.find("See detailed output in the file "), std::string::npos);
  const std::string seq = ReadAll(dir.path / "seqout.txt");
  EXPECT_EQ(seq.substr(0, 23), "\r\n   6  200\r\nSeq1      ");
  EXPECT_EQ(s.messages.notices.back(),
            "Simulated datasets saved to file " + (dir.path / "seqout.txt").string());

  // The same seed gives the same files; D with no segregating site prints "     Error", and
  // ZnS's "cannot be computed" (-1) stays out of the summary as well.
  RecordingServices s2;
  TempFolder dir2;
  CoalSimOptions z = Small(3, 5);
  z.targetCount = 0;
  z.stats.zns = true;
  const CoalSimOutcome zero = RunSim(z, dir2.path, s2);
  EXPECT_NE(ReadAll(dir2.path / "statout.txt").find("     Error"), std::string::npos);
  EXPECT_NE(zero.report.find("Tajima D:     (3 undefined)"), std::string::npos) << zero.report;
  EXPECT_NE(zero.report.find("Kelly ZnS:    (3 undefined)"), std::string::npos) << zero.report;
}

TEST(CoalSimRun, CancelKeepsTheFinishedLinesOnly) {
  TempFolder dir;
  RecordingServices s;
  s.progress.cancelAfterSteps = 3;  // pressed during replicate 2
  const CoalSimOutcome out = RunSim(Small(10, 3), dir.path, s);
  EXPECT_TRUE(out.cancelled);
  EXPECT_TRUE(out.report.empty());
  const std::vector<std::string> stats = Lines(ReadAll(dir.path / "statout.txt"));
  ASSERT_EQ(stats.size(), 3U);  // header and replicates 0 and 1
  EXPECT_EQ(stats[2].substr(0, 7), "      1");
  EXPECT_FALSE(fs::exists(dir.path / "statout~0.txt"));
  EXPECT_EQ(s.messages.notices.back(), "Simulation cancelled!");

  // Inside a long first replicate: the replicate is abandoned, the header stays.
  RecordingServices s2;
  s2.progress.cancelAtStepReport = 2;
  CoalSimOptions big = Small(3, 3);
  big.sampleSize = 3000;
  big.seqLength = 10000;
  big.recRate = "0.01";
  big.target = CoalTarget::Theta;
  big.theta = "0.001";
  big.statsFile = "big.txt";
  const CoalSimOutcome stopped = RunSim(big, dir.path, s2);
  EXPECT_TRUE(stopped.cancelled);
  EXPECT_EQ(stopped.completed, 0);
  EXPECT_EQ(ReadAll(dir.path / "big.txt"), "  Run N  SegSites     Pi     Tajima D \r\n");
}

TEST(CoalSimRun, StatisticsFileFallbacks) {
  TempFolder dir;
  RecordingServices s;
  fs::create_directory(dir.path / "statout.txt");
  CoalSimOutcome out = RunSim(Small(2, 1), dir.path, s);
  const std::string name = (dir.path / "statout.txt").string();
  EXPECT_EQ(out.statsPath, name + "1");
  EXPECT_EQ(s.messages.notices.front(), "File " + name + " is used by another application.\r\n" +
                                            "Output will be directed to file " + name + "1");
  // None of the three names: the run does not start.
  fs::remove(name + "1");
  fs::create_directory(name + "1");
  fs::create_directory(name + "2");
  s.messages.notices.clear();
  out = RunSim(Small(2, 1), dir.path, s);
  EXPECT_FALSE(out.started);
  EXPECT_EQ(s.messages.notices, std::vector<std::string>{"Can not create file " + name});
}

TEST(CoalSimRun, SlicesMergeIntoTheWholeRun) {
  TempFolder dir;
  RecordingServices s;
  CoalSimOptions o = Small(6, 99);
  o.stats.fuLi = true;
  o.stats.zns = true;
  o.statsFile = "all.txt";
  ASSERT_TRUE(RunSim(o, dir.path, s).started);
  o.runs = 4;
  o.statsFile = "a.txt";
  ASSERT_TRUE(RunSim(o, dir.path, s).started);
  o.runs = 2;
  o.firstRun = 4;
  o.statsFile = "b.txt";
  ASSERT_TRUE(RunSim(o, dir.path, s).started);
  // Given in either order, the slices give the file of the whole run.
  const MergedStats m =
      MergeStatsFiles({(dir.path / "b.txt").string(), (dir.path / "a.txt").string()});
  ASSERT_TRUE(m.ok) << m.error;
  EXPECT_EQ(m.statsText, ReadAll(dir.path / "all.txt"));
  EXPECT_FALSE(
      MergeStatsFiles({(dir.path / "a.txt").string(), (dir.path / "all.txt").string()}).ok);
  EXPECT_NE(ReplicateSeed(99, 0), ReplicateSeed(99, 1));
  EXPECT_NE(ReplicateSeed(99, 0), 99U);
}
