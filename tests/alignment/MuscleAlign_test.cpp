// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>

#include "alignment/AlignerStandIn.h"
#include "alignment/MuscleAlign.h"
#include "model/DatasetBuilders.h"
#include "support/RecordingServices.h"

namespace {

std::string RandomDna(std::mt19937& rng, int length) {
  std::string s;
  for (int i = 0; i < length; ++i) s.push_back("ACGT"[rng() % 4]);
  return s;
}

std::string WithoutGaps(std::string s) {
  std::erase(s, '-');
  return s;
}

MuscleRun StandInRun(RecordingServices& svc) {
  MuscleRun run;
  run.aligner = FindAligner(svc, StandInAligner());
  run.showProgress = false;
  return run;
}

}  // namespace

TEST(MuscleAlign, RealMuscleKeepsLettersAndNamesThroughItsReordering) {
  RecordingServices svc;
  MuscleRun run;
  run.aligner = FindAligner(svc);
  if (run.aligner.program.empty()) GTEST_SKIP() << "muscle not installed";
  EXPECT_EQ(run.aligner.majorVersion, 5);  // Debian's muscle
  run.trailing = true;
  run.applyShift = false;
  std::mt19937 rng(7);
  const std::string ancestor = RandomDna(rng, 300);
  TDataSeq ds(svc);
  std::vector<std::string> given;
  for (int k = 0; k < 6; ++k) {
    std::string s = ancestor;
    for (int m = 0; m < 12; ++m) s[rng() % s.size()] = "ACGT"[rng() % 4];
    s.erase(rng() % 250, 1 + k);                   // a deletion of its own length in each
    s.insert(rng() % 250, RandomDna(rng, k % 3));  // and some insertions
    given.push_back(s);
    AddRow(ds, k == 5 ? "sixth read, reverse" : "r" + std::to_string(k + 1), s);
  }
  ASSERT_EQ(MuscleAlign(ds, svc, run), 0) << svc.messages.errors.front();
  for (int r = 1; r <= 6; ++r) {
    SCOPED_TRACE(r);
    EXPECT_EQ(WithoutGaps(ds.SeqAt(r)->letters), given[r - 1]);
    EXPECT_EQ(ds.SeqAt(r)->Length(), ds.SeqAt(1)->Length());
    EXPECT_EQ(ds.SeqAt(r)->columnShift, 0);
  }
  EXPECT_GT(ds.SeqAt(1)->Length(), 300);
  EXPECT_EQ(ds.NameAt(6), "sixth read, reverse");
}

TEST(MuscleAlign, EveryFaultOfTheAlignerLeavesTheDatasetAsItWas) {
  for (const char* mode : {"fail", "none", "truncate", "drop", "rename", "change"}) {
    SCOPED_TRACE(mode);
    StandInScope standIn(mode);
    RecordingServices svc;
    TDataSeq ds(svc);
    AddRow(ds, "a", "ACGT-ACGTTGCAACGTAGCTAGGCA", 2);
    AddRow(ds, "b", "ACGTTACGTAGCATTTCGATCGATCGA");
    AddRow(ds, "c", "TTTTACGTACGATTACA");
    const auto letters = RowLetters(ds);
    const auto shifts = RowShifts(ds);
    EXPECT_EQ(MuscleAlign(ds, svc, StandInRun(svc)), kAlignFailed);
    EXPECT_EQ(RowLetters(ds), letters);
    EXPECT_EQ(RowShifts(ds), shifts);
    ASSERT_EQ(svc.messages.errors.size(), 1u);
    EXPECT_NE(svc.messages.errors[0].find("muscle_standin could not align dataset Dataset"),
              std::string::npos);
    if (std::string(mode) == "fail") {
      EXPECT_NE(svc.messages.errors[0].find("stand-in failure: out of memory"), std::string::npos);
    }
    EXPECT_EQ(standIn.Runs().size(), 1u);
  }
}

TEST(MuscleAlign, CancelWhileTheAlignerRunsStopsItAfterTheQuestion) {
  StandInScope standIn("sleep");
  RecordingServices svc;
  TDataSeq ds(svc);
  AddRow(ds, "a", "ACGTACGTTGCAACGTAGCTAGGCA");
  AddRow(ds, "b", "ACGTTACGTAGCATTTCGATCGATCGA");
  const auto letters = RowLetters(ds);
  svc.progress.cancelAfterStatuses = 3;  // Escape after about 300 ms
  svc.messages.answers = {false, true};  // go on at first, then stop
  MuscleRun run = StandInRun(svc);
  run.showProgress = true;
  EXPECT_EQ(MuscleAlign(ds, svc, run), kAlignCancelled);
  EXPECT_EQ(svc.messages.questions,
            (std::vector<std::string>{"Cancel alignment?", "Cancel alignment?"}));
  EXPECT_EQ(svc.messages.notices, std::vector<std::string>{"Alignment cancelled"});
  EXPECT_EQ(RowLetters(ds), letters);
  ASSERT_FALSE(svc.progress.statuses.empty());
  // The waiting status: the spinner of the third tick is '|', the window starts at column 1.
  EXPECT_NE(std::find(svc.progress.statuses.begin(), svc.progress.statuses.end(),
                      "Aligning Dataset | [1]"),
            svc.progress.statuses.end());
}

TEST(MuscleAlign, MuscleThreeGetsItsOwnArguments) {
  StandInScope standIn("", "3");
  RecordingServices svc;
  TDataSeq ds(svc);
  AddRow(ds, "a", "ACGTACGTTGCAACGTAGCTAGG");
  AddRow(ds, "b", "TTACGTAGCATTTCGATCGATCGA");
  const MuscleRun run = StandInRun(svc);
  EXPECT_EQ(run.aligner.majorVersion, 3);
  EXPECT_EQ(MuscleAlign(ds, svc, run), 0);
  EXPECT_EQ(standIn.Runs(),
            std::vector<std::string>{"-maxiters 3 -diags -in infile.f -out infile.fa "});
}

TEST(MuscleAlign, ConservedStartMovesTheOnlyWindowByTens) {
  StandInScope standIn("");
  RecordingServices svc;
  TDataSeq ds(svc);
  const std::string same(20, 'A');
  AddRow(ds, "a", same + "ACGTACGTACGTACGTACGT");
  AddRow(ds, "b", same + "CATGCATGCATGCATGCATG");
  ASSERT_EQ(MuscleAlign(ds, svc, StandInRun(svc)), 0);
  // Columns 1..11 and 11..21 vary in fewer than 4 columns; the window starts at column 21 and,
  // the dataset being shorter than the window, without the back-step.
  EXPECT_EQ(standIn.Inputs(),
            (std::vector<std::string>{"ACGTACGTACGTACGTACGT", "CATGCATGCATGCATGCATG"}));
}

TEST(MuscleAlign, ColumnsOfOneSequenceOrNoneAreNoWindow) {
  StandInScope standIn("");
  RecordingServices svc;
  std::mt19937 rng(5);
  const std::string a = RandomDna(rng, 60), b = RandomDna(rng, 60);
  TDataSeq ds(svc);
  AddRow(ds, "a", a, 300);
  AddRow(ds, "b", b, 300);
  AddRow(ds, "c", RandomDna(rng, 100));
  ASSERT_EQ(MuscleAlign(ds, svc, StandInRun(svc)), 0);
  // Columns 1..100 hold c alone and 101..300 nothing: both are passed over, and the one run
  // starts where a and b do, without c, which has no letters there.
  EXPECT_EQ(standIn.Inputs(), (std::vector<std::string>{a, b}));
  EXPECT_EQ(RowShifts(ds), (std::vector<int>{300, 300, 0}));
}

TEST(MuscleAlign, GapsOfAWindowAreLaidWhereTheSequencesGoOn) {
  StandInScope standIn("shift");
  RecordingServices svc;
  svc.settings.alignWindowSize = 150;
  std::mt19937 rng(3);
  const std::string a = RandomDna(rng, 150), b = RandomDna(rng, 150), c = RandomDna(rng, 150);
  TDataSeq ds(svc);
  AddRow(ds, "r1", a + c);
  AddRow(ds, "r2", b + c);
  AddRow(ds, "r3", c.substr(49, 50), 199);  // right of the first window, in line with c
  ASSERT_EQ(MuscleAlign(ds, svc, StandInRun(svc)), 0);
  // The stand-in put a gap before r1's part and one after r2's: r1 moves right by a column,
  // r2's run stays where r2 goes on, and r3 moves with the column the window gained. After
  // that every column agrees, so no other window is aligned.
  EXPECT_EQ(RowLetters(ds), (std::vector<std::string>{a + c, b + "-" + c, c.substr(49, 50)}));
  EXPECT_EQ(RowShifts(ds), (std::vector<int>{1, 0, 200}));
  EXPECT_EQ(standIn.Runs().size(), 1u);
}

TEST(MuscleAlign, WindowSizesOutsideTheRangeActAsFiveThousand) {
  EXPECT_EQ(EffectiveWindowSize(100), 5000);
  EXPECT_EQ(EffectiveWindowSize(40000), 5000);
  EXPECT_EQ(EffectiveWindowSize(101), 101);
  EXPECT_EQ(EffectiveWindowSize(34999), 34999);
  StandInScope standIn("");
  RecordingServices svc;
  svc.settings.alignWindowSize = 100;
  std::mt19937 rng(11);
  TDataSeq ds(svc);
  for (int k = 0; k < 3; ++k) AddRow(ds, "r" + std::to_string(k), RandomDna(rng, 5200));
  ASSERT_EQ(MuscleAlign(ds, svc, StandInRun(svc)), 0);
  // Columns 1..5000, then 4901..5200 after the 100-column back-step.
  ASSERT_EQ(standIn.Runs().size(), 2u);
  const auto inputs = standIn.Inputs();
  ASSERT_EQ(inputs.size(), 6u);
  EXPECT_EQ(inputs[0], ds.SeqAt(1)->letters.substr(0, 5000));
  EXPECT_EQ(inputs[3], ds.SeqAt(1)->letters.substr(4900));
}
