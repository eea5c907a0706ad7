// SPDX-License-Identifier: GPL-3.0-or-later
// Assembly with the real base caller (Debian's ttuner) and the stand-in phrap.
#include <gtest/gtest.h>

#include <QFile>
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "alignment/AsmContUnit.h"
#include "editor/EditorCommandFixture.h"
#include "io/IoTestFiles.h"
#include "io/TraceFormats.h"

namespace {

const std::string X = "GGATCACAGTCTACACTGCTCACTCCAACCCCGGCCCCTGAGTCCGAGGAGAGGGTGCTT";

std::string StandInPhrap() {
  return std::string(NODRIX_BINARY_DIR) + "/standins/phrap_standin";
}

struct EnvScope {
  EnvScope(const char* name, const std::string& value) : name_(name) {
    ::setenv(name, value.c_str(), 1);
  }
  ~EnvScope() { ::unsetenv(name_); }
  const char* name_;
};

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

struct AssemblyFixture : CommandFixture {
  TestFolder work{"assembly"};
  AssemblySetup setup{StandInPhrap(), work.Path()};
  // Plain reads that overlap by 20 letters.
  void PlainReads() { AddDataset("reads", {{"a", X.substr(0, 40)}, {"b", X.substr(20)}}); }
  void TraceRead(const char* file) {
    std::unique_ptr<TSeq> read = OpenAbi(std::string(NODRIX_TEST_DATA) + "/" + file, svc);
    ASSERT_NE(read, nullptr);
    (void)Ds().AddSeq(read, true);
  }
};

}  // namespace

TEST(AssembleContigs, TracesGoThroughTheBaseCallerAndComeBackUnderTheirNames) {
  AssemblyFixture f;
  f.AddDataset("traces", {});
  f.TraceRead("310.ab1");
  f.TraceRead("3730.ab1");
  f.work.Write("1.scf", "taken");  // row 1 moves on to 2, row 2 then to 3
  f.Answer({true});
  const AssemblyOutcome out = AssembleContigs(f.ctx, f.setup);
  ASSERT_NE(out.contigs, nullptr);
  EXPECT_TRUE(out.namesRestored);
  const std::vector<std::string> names = RowNames(*out.contigs->CurrentDataset());
  EXPECT_NE(std::find(names.begin(), names.end(), "310"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "3730"), names.end());
  // Only what was there before the run is left.
  EXPECT_EQ(FilesIn(f.work.Path()), (std::vector<std::string>{"1.scf"}));
  EXPECT_EQ(f.Questions(),
            (std::vector<std::string>{"Less than two reads selected. Assemble all reads?"}));
}

TEST(AssembleContigs, OneReadWithoutTraceSendsAllAsPlainSequences) {
  AssemblyFixture f;
  f.PlainReads();
  f.TraceRead("310.ab1");
  for (int r = 1; r <= 3; ++r) f.Row(r).selected = true;
  const AssemblyOutcome out = AssembleContigs(f.ctx, f.setup);
  ASSERT_NE(out.contigs, nullptr);
  EXPECT_FALSE(out.namesRestored);
  const TDataSeq& ds = *out.contigs->CurrentDataset();
  EXPECT_EQ(RowNames(ds), (std::vector<std::string>{"Contig1", "a", "b", "Contig2", "310"}));
  EXPECT_EQ(ds.SeqAt(1)->letters, X);
  EXPECT_TRUE(FilesIn(f.work.Path()).empty());
}

TEST(AssembleContigs, APhrapFailureOpensNothingAndLeavesNoFiles) {
  AssemblyFixture f;
  f.PlainReads();
  f.Answer({true});
  {
    EnvScope fail("PHRAP_STANDIN_EXIT", "3");
    EXPECT_EQ(AssembleContigs(f.ctx, f.setup).contigs, nullptr);
  }
  EXPECT_EQ(f.Notices(), (std::vector<std::string>{"Failed to run phrap. Error code: 3"}));
  EXPECT_TRUE(FilesIn(f.work.Path()).empty());
}

TEST(AssembleContigs, ADotInAFolderNameDeletesNothingOutsideTheRunFolder) {
  AssemblyFixture f;
  f.PlainReads();
  f.Answer({true});
  std::filesystem::create_directories(f.work.File("a.b/run"));
  f.work.Write("a", "keep");
  f.work.Write("a.ace", "keep");
  f.setup.workFolder = f.work.File("a.b/run");
  EXPECT_NE(AssembleContigs(f.ctx, f.setup).contigs, nullptr);
  EXPECT_EQ(FilesIn(f.work.Path()), (std::vector<std::string>{"a", "a.ace", "a.b"}));
  EXPECT_TRUE(FilesIn(f.work.File("a.b/run")).empty());
}

TEST(AssembleContigs, MissingProgramsAreNamedWithWhereTheyWereSought) {
  AssemblyFixture f;
  f.PlainReads();
  f.svc.settings.programFolder = f.work.Path();
  f.setup.phrap.clear();
  EXPECT_EQ(AssembleContigs(f.ctx, f.setup).contigs, nullptr);
  EXPECT_EQ(f.Notices(),
            (std::vector<std::string>{"Can not assemble contigs.\r\nphrap was not found in " +
                                      f.work.Path() + " or on PATH."}));
  EXPECT_TRUE(f.Questions().empty());
}

TEST(AssembleContigs, AReadTheBaseCallerFailedOnIsLeftOutWithAMessage) {
  AssemblyFixture f;
  f.AddDataset("traces", {});
  f.TraceRead("310.ab1");
  f.TraceRead("3730.ab1");
  f.Answer({true});
  TestFolder programs("assembly_programs");
  const std::string phred = programs.Write("phred", "#!/bin/sh\nexit 1\n");
  QFile::setPermissions(QString::fromStdString(phred),
                        QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  f.svc.settings.programFolder = programs.Path();
  EXPECT_EQ(AssembleContigs(f.ctx, f.setup).contigs, nullptr);
  EXPECT_EQ(f.svc.messages.errors,
            (std::vector<std::string>{
                "The base caller gave no 1.scf.phd.1 for 310; the read is left out",
                "The base caller gave no 2.scf.phd.1 for 3730; the read is left out"}));
  EXPECT_TRUE(f.Notices().empty());  // phrap never ran on an empty set of reads
}
