// SPDX-License-Identifier: GPL-3.0-or-later
// Outputs whose bytes must not change when the code behind them is made faster: the pairwise
// LD files, the population subdivision report and the project files. The expected files in
// tests/data/golden were written by the straightforward code these outputs started from.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CliRun.h"
#include "IoTestFiles.h"
#include "ProjectFileTestSupport.h"
#include "common/PlatformRandom.h"

namespace {

std::string Golden(const std::string& name) {
  return TestFolder::Read(std::string(NODRIX_TEST_DATA) + "/golden/" + name);
}

std::string CopyOfData(const TestFolder& dir, const std::string& name) {
  return dir.Write(name, TestFolder::Read(std::string(NODRIX_TEST_DATA) + "/" + name));
}

// The first differing byte tells more than two dumps of binary text.
void ExpectSameBytes(const std::string& actual, const std::string& expected,
                     const std::string& what) {
  SCOPED_TRACE(what);
  ASSERT_FALSE(expected.empty());
  std::size_t at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
  EXPECT_TRUE(at == actual.size() && at == expected.size())
      << "first difference at byte " << at << " of " << actual.size() << " (expected "
      << expected.size() << ")";
}

TEST(SameBytes, LDPairFilesHistogramAndAssemblyScan) {
  TestFolder dir("same_ld");
  const std::string fasta = CopyOfData(dir, "ld_pairs.fas");
  CliRun r = Cli("ld " + fasta + " --pairs all --min-freq 1 --pair-file " + dir.File("pairs.csv") +
                     " --avg-r2 10 --asm-test",
                 dir);
  ASSERT_EQ(r.status, 0) << r.err;
  for (const char* name : {"pairs.csv", "hist_pairs.csv", "AsmTest_pairs.csv", "avrgLDscan.csv"})
    ExpectSameBytes(TestFolder::Read(dir.File(name)), Golden(std::string("ld_") + name), name);
  r = Cli("ld " + fasta + " --pairs window:30 --format cross --pair-file " + dir.File("cross.csv"),
          dir);
  ASSERT_EQ(r.status, 0) << r.err;
  ExpectSameBytes(TestFolder::Read(dir.File("cross.csv")), Golden("ld_cross.csv"), "cross.csv");
}

// Identical sequences, a site with three letters, an N, a group of one sequence and an
// outgroup; every statistic with the permutation test and bootstrap intervals.
TEST(SameBytes, SubdivisionReport) {
  TestFolder dir("same_subdiv");
  const std::string fasta = CopyOfData(dir, "subdiv.fas");
  const std::string groups = CopyOfData(dir, "subdiv.groups");
  const CliRun r = Cli("subdivision " + fasta + " --groups " + groups +
                           " --stats fst,kst,hst,nm,dxy,da,sfixed --permutations 100 --seed 7 "
                           "--bootstrap 50",
                       dir);
  ASSERT_EQ(r.status, 0) << r.err;
  ExpectSameBytes(r.out, Golden("subdiv_report.txt"), "report");
}

TEST(SameBytes, ProjectFilesInMemoryAndOnDisk) {
  RecordingServices svc;
  TDataProj p(svc);
  FillRichProject(p);
  ExpectSameBytes(FileOf(p), Golden("rich.df"), "version 3 in memory");
  TestFolder dir("same_project");
  ASSERT_TRUE(WriteProject(dir.File("rich.df"), p, GridFileSettings{}));
  ExpectSameBytes(TestFolder::Read(dir.File("rich.df")), Golden("rich.df"), "version 3 file");
  p.DatasetAt(2)->SeqAt(1)->columnShift = 3;  // written as leading gaps
  ASSERT_TRUE(WriteDatasetFile(dir.File("locusB.psf"), *p.DatasetAt(2)));
  ExpectSameBytes(TestFolder::Read(dir.File("locusB.psf")), Golden("rich_locusB.psf"),
                  "version 1 file");
}

// Two datasets of 200 sequences of 5,000 letters, some with qualities, each with a region:
// several times what the file writer buffers, so sizes and tables are filled in after the
// bytes they belong to have left the buffer.
void FillLargeProject(TDataProj& p) {
  PlatformRandom rng(11);
  for (const char* name : {"first", "second"}) {
    p.NewDataset();
    p.RenameDataset(p.DatasetCount() - 1, name);
    TDataSeq& ds = *p.DatasetAt(p.DatasetCount() - 1);
    for (int r = 0; r < 200; ++r) {
      std::string letters(5000, 'A');
      for (char& c : letters) c = "ACGT"[rng.NextInt(4)];
      auto s = std::make_unique<TSeq>("row" + std::to_string(r), letters);
      if (r % 7 == 0) s->quality.assign(letters.size(), static_cast<std::uint8_t>(r % 60));
      TRegion cds;
      cds.regType = kRegCds;
      cds.regStart = 1 + r;
      cds.regEnd = 4000;
      cds.regName = "cds";
      s->regions.push_back(cds);
      AddRow(ds, std::move(s));
    }
  }
}

std::uint64_t Fnv1a(const std::string& bytes) {
  std::uint64_t h = 14695981039346656037ull;
  for (const unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
  return h;
}

TEST(SameBytes, LargeProjectFiles) {
  RecordingServices svc;
  TDataProj p(svc);
  FillLargeProject(p);
  TestFolder dir("same_large_project");
  ASSERT_TRUE(WriteProject(dir.File("large.df"), p, GridFileSettings{}));
  const std::string v3 = TestFolder::Read(dir.File("large.df"));
  EXPECT_EQ(v3.size(), 2468709u);
  EXPECT_EQ(Fnv1a(v3), 13985145759735396600ull);
  EXPECT_EQ(v3, FileOf(p));
  ASSERT_TRUE(WriteDatasetFile(dir.File("second.psf"), *p.DatasetAt(1)));
  const std::string v1 = TestFolder::Read(dir.File("second.psf"));
  EXPECT_EQ(v1.size(), 1216088u);
  EXPECT_EQ(Fnv1a(v1), 5394575993156272232ull);
}

}  // namespace
