// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/SaveCommand.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "IoTestFiles.h"
#include "model/DataProjUnit.h"
#include "support/RecordingServices.h"

namespace {

// Datasets named as given, each with sequences s1..sN of "ACGT".
void AddDataset(TDataProj& proj, const std::string& name, std::vector<std::string> seqNames) {
  proj.NewDataset();
  proj.RenameDataset(proj.CurrentIndex(), name);
  TDataSeq* ds = proj.CurrentDataset();
  for (const std::string& n : seqNames) {
    auto seq = std::make_unique<TSeq>(n, "ACGT");
    (void)ds->AddSeq(seq, false);
  }
}

std::vector<std::string> Paths(const std::vector<PlannedFile>& plan) {
  std::vector<std::string> out;
  for (const PlannedFile& f : plan) out.push_back(f.path);
  return out;
}

}  // namespace

TEST(SafeFileName, KeepsTheFileInsideTheChosenFolder) {
  EXPECT_EQ(SafeFileName("locus_1"), "locus_1");
  EXPECT_EQ(SafeFileName("../../etc/passwd"), ".._.._etc_passwd");
  EXPECT_EQ(SafeFileName("a\\b:c*d?e\"f<g>h|i"), "a_b_c_d_e_f_g_h_i");
  EXPECT_EQ(SafeFileName(".."), "_");
  EXPECT_EQ(SafeFileName(""), "_");
  EXPECT_EQ(SafeFileName(std::string("x\ny\tz", 5)), "x_y_z");
  EXPECT_EQ(SafeFileName(std::string(300, 'a')).size(), 200u);
}

TEST(PlanSave, AllDatasetsGoToFilesNamedAfterThemInTheChosenFolder) {
  RecordingServices svc;
  TDataProj proj(svc);
  AddDataset(proj, "L1", {"a"});
  AddDataset(proj, "L2", {"b"});
  EXPECT_EQ(Paths(PlanSave(proj, 5, "/out/chosen.fasta", true, false)),
            (std::vector<std::string>{"/out/L1.fasta", "/out/L2.fasta"}));
  // Only the current one: the chosen path with the entry's extension.
  proj.SetCurrent(0);
  EXPECT_EQ(Paths(PlanSave(proj, 2, "/out/chosen.txt", false, false)),
            (std::vector<std::string>{"/out/chosen.nex"}));
  // Project entries write the project to the chosen name, with their extension when they have one.
  EXPECT_EQ(Paths(PlanSave(proj, 1, "/out/p.psf", true, false)),
            (std::vector<std::string>{"/out/p.psf"}));
}

TEST(PlanSave, AGivenExtensionIsKeptWhenAsked) {
  RecordingServices svc;
  TDataProj proj(svc);
  AddDataset(proj, "L1", {"a"});
  AddDataset(proj, "L2", {"b"});
  EXPECT_EQ(Paths(PlanSave(proj, 5, "/out/mine.backup", false, false, true)),
            (std::vector<std::string>{"/out/mine.backup"}));
  // A name without extension is written as given too ("/dev/null" must stay itself), not
  // with the entry's extension added as once pinned here.
  EXPECT_EQ(Paths(PlanSave(proj, 5, "/out/mine", false, false, true)),
            (std::vector<std::string>{"/out/mine"}));
  EXPECT_EQ(Paths(PlanSave(proj, 5, "/out/any.fas", true, false, true)),
            (std::vector<std::string>{"/out/L1.fas", "/out/L2.fas"}));
}

TEST(PlanSave, UnsafeOrRepeatedDatasetNamesStayInTheFolderAndApart) {
  RecordingServices svc;
  TDataProj proj(svc);
  AddDataset(proj, "../up", {"a"});
  AddDataset(proj, "a/b", {"a"});
  AddDataset(proj, "a_b", {"a"});
  const auto plan = Paths(PlanSave(proj, 3, "/out/x.phy", true, false));
  EXPECT_EQ(plan, (std::vector<std::string>{"/out/.._up.phy", "/out/a_b.phy", "/out/a_b_2.phy"}));
}

TEST(PlanSave, SeveralSelectedSequencesGetOneFileEach) {
  RecordingServices svc;
  TDataProj proj(svc);
  AddDataset(proj, "L1", {"s1", "s2/x", "s3"});
  TDataSeq* ds = proj.CurrentDataset();
  ds->SeqAt(1)->selected = true;
  ds->SeqAt(2)->selected = true;
  EXPECT_EQ(Paths(PlanSave(proj, 7, "/out/seq.txt", false, false)),
            (std::vector<std::string>{"/out/seq_s1.txt", "/out/seq_s2_x.txt"}));
  // One selected sequence: the chosen name itself.
  ds->SeqAt(2)->selected = false;
  EXPECT_EQ(Paths(PlanSave(proj, 7, "/out/seq.txt", false, false)),
            (std::vector<std::string>{"/out/seq.txt"}));
  // All sequences: dataset name + "_" + sequence name.
  EXPECT_EQ(Paths(PlanSave(proj, 7, "/out/seq.txt", false, true)),
            (std::vector<std::string>{"/out/L1_s1.txt", "/out/L1_s2_x.txt", "/out/L1_s3.txt"}));
}

TEST(RunSaveCommand, ExportingSelectedSequencesWritesEveryOne) {
  RecordingServices svc;
  TestFolder dir("save_selected");
  TDataProj proj(svc);
  AddDataset(proj, "L1", {"s1", "s2", "s3"});
  proj.CurrentDataset()->SeqAt(1)->selected = true;
  proj.CurrentDataset()->SeqAt(3)->selected = true;
  svc.messages.answers = {false};  // "Export all sequences?" No: the selected ones
  const SaveOutcome out = RunSaveCommand(proj, 7, dir.File("pick.txt"), svc);
  EXPECT_TRUE(out.ok);
  EXPECT_FALSE(out.wholeProject);
  EXPECT_TRUE(std::filesystem::exists(dir.File("pick_s1.txt")));
  EXPECT_TRUE(std::filesystem::exists(dir.File("pick_s3.txt")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("pick_s2.txt")));
  EXPECT_EQ(svc.messages.questions,
            (std::vector<std::string>{"Export all sequences?\r\nPress No if you would like to "
                                      "export only selected sequences"}));
}

TEST(RunSaveCommand, TwoDatasetsExportedToFastaAsL1AndL2) {
  RecordingServices svc;
  TestFolder dir("save_all");
  TDataProj proj(svc);
  AddDataset(proj, "L1", {"a"});
  AddDataset(proj, "L2", {"b"});
  svc.messages.answers = {false, true};  // no FASTA header; all datasets
  const SaveOutcome out = RunSaveCommand(proj, 5, dir.File("any.fasta"), svc);
  EXPECT_TRUE(out.ok);
  EXPECT_FALSE(out.wholeProject);  // an export never clears the modified mark
  EXPECT_EQ(TestFolder::Read(dir.File("L1.fasta")), ">a\r\nACGT\r\n");
  EXPECT_EQ(TestFolder::Read(dir.File("L2.fasta")), ">b\r\nACGT\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir.File("any.fasta")));
  EXPECT_EQ(svc.progress.starts, 1);
  ASSERT_EQ(svc.messages.questions.size(), 2u);
  EXPECT_EQ(svc.messages.questions[1],
            "Export all datasets into separate files?\r\nPress No if you would like to export "
            "only current dataset.");
}

TEST(RunSaveCommand, OnlyTheWholeProjectSaveCountsAsSavingTheProject) {
  RecordingServices svc;
  TestFolder dir("save_project");
  TDataProj proj(svc);
  AddDataset(proj, "L1", {"a"});
  AddDataset(proj, "L2", {"b"});
  const SaveOutcome whole = RunSaveCommand(proj, 1, dir.File("p.df"), svc);
  EXPECT_TRUE(whole.ok);
  EXPECT_TRUE(whole.wholeProject);
  EXPECT_EQ(whole.caption, "p.df");
  EXPECT_TRUE(svc.messages.questions.empty());  // no "all datasets" question for the project
  const SaveOutcome dataset = RunSaveCommand(proj, 6, dir.File("one.psf"), svc);
  EXPECT_TRUE(dataset.ok);
  EXPECT_FALSE(dataset.wholeProject);
}

TEST(RunSaveCommand, EntriesWithoutAWriterSaySoAndWriteNothing) {
  RecordingServices svc;
  TestFolder dir("save_none");
  TDataProj proj(svc);
  AddDataset(proj, "L1", {"a"});
  SaveOutcome out = RunSaveCommand(proj, 9, dir.File("x.emb"), svc);
  EXPECT_FALSE(out.ok);
  EXPECT_EQ(svc.messages.notices,
            (std::vector<std::string>{"SaveEMBL method is not yet implemented"}));
  EXPECT_TRUE(svc.messages.errors.empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
  // Every other entry has its writer (the population-genetics ones last).
  for (int entry = 1; entry <= 25; ++entry)
    if (entry != 9 && entry != 11) EXPECT_TRUE(HasWriter(entry)) << entry;
  EXPECT_TRUE(RunSaveCommand(proj, 12, dir.File("x.arp"), svc).ok);
  // No valid current dataset: nothing happens.
  TDataProj empty(svc);
  EXPECT_FALSE(RunSaveCommand(empty, 5, dir.File("e.fasta"), svc).ran);
}
