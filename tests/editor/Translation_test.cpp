// SPDX-License-Identifier: GPL-3.0-or-later
// Translation of datasets: frames, output spacing, ORF report and the file output. Proteins
// worked out by hand from the standard code.
#include "editor/Translation.h"

#include <gtest/gtest.h>

#include "../io/IoTestFiles.h"
#include "../model/DatasetBuilders.h"
#include "../support/RecordingServices.h"

namespace {

const std::string kCrLf = "\r\n";
const std::string kDashes(35, '-');

struct Fixture {
  RecordingServices svc;
  TDataSeq ds{svc.services};
  Fixture() { AddRow(ds, "S", "atggcctaaggg"); }
  TranslateOutput Run(TranslateOptions opt) {
    opt.allSeqs = true;
    return TranslateDataset(ds, svc.genCode, opt, svc.services);
  }
};

TEST(TranslateDataset, OneFrameGivesProteinAndOrfLineInOneOrThreeLetters) {
  Fixture f;
  TranslateOptions opt;
  opt.findOrfs = true;
  opt.minOrf = 1;
  // The stretch MA is an ORF; G (length 1) is not longer than the minimum.
  const std::string orf =
      "ORF(aa pos): 1 - 2; length = 2; ORF(nucl pos): 1 - 6; length = 6" + kCrLf;
  const std::string report = "Reports ORFs longer than 1 amino acids" + kCrLf + kDashes + kCrLf +
                             "Sequence: S" + kCrLf + kCrLf + "Forward: " + kCrLf + "Frame 1" +
                             kCrLf + orf;
  TranslateOutput one = f.Run(opt);
  ASSERT_EQ(one.dataset->Count(), 1);
  EXPECT_EQ(one.dataset->NameAt(1), "pS");
  EXPECT_EQ(one.dataset->SeqAt(1)->letters, "MA*G");
  EXPECT_EQ(one.dataset->SeqAt(1)->seqType, kSeqProtein1);
  EXPECT_EQ(one.report, report);
  opt.threeLetter = true;
  TranslateOutput three = f.Run(opt);
  EXPECT_EQ(three.dataset->SeqAt(1)->letters, "MetAla***Gly");
  EXPECT_EQ(three.dataset->SeqAt(1)->seqType, kSeqProtein3);
  EXPECT_EQ(three.report, report);
  EXPECT_EQ(f.ds.SeqAt(1)->letters, "atggcctaaggg");  // the source is never changed
}

TEST(TranslateDataset, ThreeFramesWithCDnaAreSpacedUnderTheirCodons) {
  Fixture f;
  f.ds.SeqAt(1)->columnShift = 4;
  TranslateOptions opt;
  opt.frames = 3;
  opt.showCDna = true;
  TranslateOutput out = f.Run(opt);
  // tgg cct aag (two letters left over) and ggc cta agg.
  EXPECT_EQ(RowNames(*out.dataset), (std::vector<std::string>{"S", "pSfr1", "pSfr2", "pSfr3"}));
  EXPECT_EQ(RowLetters(*out.dataset), (std::vector<std::string>{"atggcctaaggg", "M--A--*--G--",
                                                                "-W--P--K--", "--G--L--R--"}));
  EXPECT_EQ(out.dataset->SeqAt(3)->columnShift, 4);
}

TEST(TranslateDataset, SixFramesTranslateTheReverseComplementAfterTheReverseLine) {
  Fixture f;
  TranslateOptions opt;
  opt.frames = 6;
  TranslateOutput out = f.Run(opt);
  ASSERT_EQ(out.dataset->Count(), 6);
  // Reverse complement cccttaggccat: ccc tta ggc cat, cct tag gcc, ctt agg cca.
  EXPECT_EQ(out.dataset->NameAt(4), "pSfr4");
  EXPECT_EQ(RowLetters(*out.dataset),
            (std::vector<std::string>{"MA*G", "WPK", "GLR", "PLGH", "P*A", "LRP"}));
  const auto reverse = out.report.find("Reverse: ");
  ASSERT_NE(reverse, std::string::npos);
  EXPECT_LT(out.report.find("Frame 3"), reverse);
  EXPECT_GT(out.report.find("Frame 4"), reverse);
}

TEST(TranslateDataset, ShortSequencesGiveEmptyProteinsAndAFullDatasetIsToldOnce) {
  RecordingServices svc;
  TDataSeq ds(svc.services);
  AddRow(ds, "T", "a");
  TranslateOptions opt;
  opt.frames = 3;
  opt.allSeqs = true;
  TranslateOutput out = TranslateDataset(ds, svc.genCode, opt, svc.services);
  EXPECT_EQ(RowLetters(*out.dataset), (std::vector<std::string>{"", "", ""}));
  // A full dataset refuses the rest, told once.
  svc.settings.maxSeqPerDataset = 2;
  out = TranslateDataset(ds, svc.genCode, opt, svc.services);
  EXPECT_EQ(out.dataset->Count(), 2);
  EXPECT_EQ(svc.messages.errors,
            Lines("Exceeded maxSeqNum (2): 1 sequences have not been added to dataset Dataset"));
}

TEST(TranslateDataset, SelectedWithoutSelectionTranslatesTheCurrentRowOnly) {
  Fixture f;
  AddRow(f.ds, "U", "tttaaa");
  f.ds.currentRow = 2;
  TranslateOptions opt;  // "Selected"
  TranslateOutput out = TranslateDataset(f.ds, f.svc.genCode, opt, f.svc.services);
  EXPECT_EQ(out.translated, 1);
  EXPECT_EQ(RowNames(*out.dataset), (std::vector<std::string>{"pU"}));
  EXPECT_EQ(out.dataset->SeqAt(1)->letters, "FK");
}

TEST(TranslateDataset, CodingSplicesCdsFromItsFirstWholeCodonAndBlocksCut) {
  Fixture f;
  TSeq& s = *f.ds.SeqAt(1);
  s.AddRegion(MakeRegion(2, 6, kRegCds, 3));    // tggcc: first whole codon at ggc
  s.AddRegion(MakeRegion(10, 12, kRegCds, 1));  // ggg
  TranslateOptions opt;
  opt.regions = TranslateRegions::Coding;
  // tggcc + ggg, cut by one letter: ggc cgg g.
  EXPECT_EQ(f.Run(opt).dataset->SeqAt(1)->letters, "GR");
  s.selStart = 4;
  s.selLength = 6;  // gcctaa
  opt.regions = TranslateRegions::Selected;
  EXPECT_EQ(f.Run(opt).dataset->SeqAt(1)->letters, "A*");
  opt.regions = TranslateRegions::Unselected;  // atg ggg
  EXPECT_EQ(f.Run(opt).dataset->SeqAt(1)->letters, "MG");
}

TEST(TranslateDataset, FileHoldsTheOrfCopyBeforeTheProteins) {
  Fixture f;
  TestFolder dir("translate");
  TranslateOptions opt;
  opt.frames = 3;
  opt.findOrfs = true;
  opt.minOrf = 1;
  opt.addOrfs = true;
  opt.toFile = true;
  opt.outFile = dir.File("translation.txt");
  TranslateOutput out = f.Run(opt);
  EXPECT_TRUE(out.ok);
  EXPECT_EQ(out.dataset->Count(), 0);
  EXPECT_EQ(
      TestFolder::Read(opt.outFile),
      ">ORFs_in_S\r\natggcctaaggg\r\n>pSfr1\r\nMA*G\r\n>pSfr2\r\n-WPK\r\n>pSfr3\r\n--GLR\r\n");
  opt.toFile = false;
  out = f.Run(opt);
  ASSERT_EQ(out.dataset->NameAt(1), "ORFs_in_S");
  EXPECT_FALSE(out.dataset->SeqAt(1)->regions.empty());
}

TEST(OrfSearch, FindsStretchesBetweenStopsAndPlacesReverseFramesForward) {
  // Three-letter stops end stretches; "???" does not.
  const std::vector<OrfHit> orfs = FindOrfs("***Met???Ala***", true, 1, 2);
  ASSERT_EQ(orfs.size(), 1u);
  EXPECT_EQ(OrfLine(orfs[0]),
            "ORF(aa pos): 2 - 4; length = 3; ORF(nucl pos): 6 - 14; length = 9" + kCrLf);
  // Frame 5 of atggcctaaggg reads cct in cccttaggccat at 2..4: forward letters 9..11 (agg).
  const TRegion r = OrfRegion(FindOrfs("P*A", false, 0, 1)[0], 5, 12);
  EXPECT_EQ(r.regStart, 9);
  EXPECT_EQ(r.regEnd, 11);
  EXPECT_TRUE(r.regReverse);
  EXPECT_EQ(r.regType, kRegOrf);
  EXPECT_EQ(MinOrfFromText("12"), 12);
  EXPECT_EQ(MinOrfFromText("12a"), 100);
}

}  // namespace
