// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/GenCodUnit.h"

#include <gtest/gtest.h>

#include <set>

#include "model/GenCodeTable.h"

TEST(TGenCodeCreate, UniversalHoldsEverySenseAndStopCodonOnce) {
  const TGenCode code("UNIVERSAL");
  ASSERT_EQ(code.aaCount, 21);
  EXPECT_EQ(code.Aminoacids()[0]->fullName, "Stop");
  EXPECT_EQ(code.Aminoacids()[20]->abbrev3, "Gly");
  std::set<std::string> seen;
  int total = 0;
  for (const auto& aa : code.Aminoacids()) {
    total += aa->nCodons;
    seen.insert(aa->codons.begin(), aa->codons.end());
  }
  EXPECT_EQ(total, 64);
  EXPECT_EQ(seen.size(), 64u);
  EXPECT_EQ(TGenCode("Mito").aaCount, 0);
}

TEST(TGenCodeTranslateCodon, IgnoresCaseAndResolvesThirdPositionAmbiguityOnlyWhenUnanimous) {
  const TGenCode code;
  EXPECT_EQ(code.TranslateCodon("ATG", false), "M");
  EXPECT_EQ(code.TranslateCodon("aug", false), "?");      // RNA letters are not in the table
  EXPECT_EQ(code.TranslateCodon("ctn", true), "Leu");
  EXPECT_EQ(code.TranslateCodon("gay", false), "D");
  EXPECT_EQ(code.TranslateCodon("tan", false), "?");      // tat/tac = Y, taa/tag = *
  EXPECT_EQ(code.TranslateCodon("tar", false), "*");
  EXPECT_EQ(code.TranslateCodon("ytt", false), "?");      // first-position ambiguity never resolved
  EXPECT_EQ(code.TranslateCodon("agn", true), "???");     // Ser and Arg
  EXPECT_EQ(code.TranslateCodon("a-g", false), "?");
  EXPECT_EQ(code.TranslateCodon("at", false), "?");
}

TEST(TGenCodeTranslateSeq, TranslatesFrameOneAndIgnoresTrailingLetters) {
  const TGenCode code;
  EXPECT_EQ(code.TranslateSeq("atgtaaat", false), "M*");
  EXPECT_EQ(code.TranslateSeq("atgtaaat", true), "Met***");
  EXPECT_EQ(code.TranslateSeq("ATG---TTY", false), "M?F");
  EXPECT_EQ(TGenCode("empty").TranslateSeq("atgatg", true), "??????");
}

TEST(TGenCodeSynonymousFraction, CountsSynonymousChangesAmongThree) {
  const TGenCode code;
  EXPECT_DOUBLE_EQ(code.SynonymousFraction("ctg", 3), 1.0);
  EXPECT_DOUBLE_EQ(code.SynonymousFraction("atg", 3), 0.0);
  EXPECT_DOUBLE_EQ(code.SynonymousFraction("taa", 3), 1.0 / 3);   // tag stays a stop
  EXPECT_DOUBLE_EQ(code.SynonymousFraction("TTA", 1), 1.0 / 3);   // cta
  EXPECT_EQ(code.SynonymousFraction("ctg", 4), -1);
  EXPECT_EQ(code.SynonymousFraction("ctg", 0), -1);
  EXPECT_EQ(code.SynonymousFraction("nnn", 1), -1);
}

TEST(TGenCodeSynonymousFraction, NeverExceedsOneForAResolvedAmbiguityLetter) {
  const TGenCode code;
  // ctn is Leu; all four bases at position 3 keep Leu, which used to count as 4/3.
  EXPECT_DOUBLE_EQ(code.SynonymousFraction("ctn", 3), 1.0);
  // ggr is Gly: a, t, g, c at position 3 all keep Gly.
  EXPECT_DOUBLE_EQ(code.SynonymousFraction("ggr", 3), 1.0);
}

TEST(TGenCodeCompareCodons, ClassesEachStepAgainstTheFirstCodon) {
  const TGenCode code;
  std::vector<CodonStep> steps;
  ASSERT_EQ(code.CompareCodons("TTT", "CTG", 2, steps), 2);
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0].position, 1);
  EXPECT_EQ(steps[0].newLetter, 'C');
  EXPECT_EQ(steps[0].oldLetter, 'T');
  EXPECT_EQ(steps[0].stepClass, 1);   // CTT is Leu, TTT is Phe
  EXPECT_EQ(steps[1].position, 3);
  EXPECT_EQ(steps[1].newLetter, 'G');
  EXPECT_EQ(steps[1].stepClass, 1);   // TTG is Leu
  EXPECT_EQ(code.CompareCodons("ctt", "ctc", 3, steps), 1);
  EXPECT_EQ(steps[0].stepClass, 4);
  EXPECT_EQ(code.CompareCodons("TAA", "CAA", 3, steps), -1);
  EXPECT_EQ(code.CompareCodons("TAA", "CA", 3, steps), -1);
}

TEST(TGenCodeCompareCodons, CountsButNeverWritesStepsBeyondCapacity) {
  const TGenCode code;
  std::vector<CodonStep> steps;
  EXPECT_EQ(code.CompareCodons("TTT", "GGG", 1, steps), 3);
  EXPECT_EQ(steps.size(), 1u);
  EXPECT_EQ(code.CompareCodons("TTT", "GGG", 0, steps), 3);
  EXPECT_TRUE(steps.empty());
}

TEST(TGenCodeTranslate, FirstEntryWinsWhenACodonStandsTwiceAndEditsReachTheLookup) {
  TGenCode code("mine");
  auto a = std::make_unique<TAminoacid>();
  a->fullName = "First"; a->abbrev3 = "Fst"; a->letter = 'X';
  TAminoacid& first = *a;
  code.AddAminoacid(std::move(a));
  auto b = std::make_unique<TAminoacid>();
  b->fullName = "Second"; b->abbrev3 = "Snd"; b->letter = 'Z';
  TAminoacid& second = *b;
  code.AddAminoacid(std::move(b));
  code.AddCodon(second, "AAA");
  EXPECT_EQ(code.TranslateCodon("aaa", false), "Z");
  code.AddCodon(first, "aaa");
  code.AddCodon(first, "AAA");   // duplicate, ignored
  EXPECT_EQ(first.nCodons, 1);
  EXPECT_EQ(code.TranslateCodon("aaa", false), "X");
  EXPECT_TRUE(TGenCode::HasCodon(second, "AaA"));
}

TEST(CodeGrid, UnchangedEditorRebuildsTheUniversalCode) {
  TGenCode code;
  CodeGrid grid = EmptyCodeGrid();
  FillCodeGrid(code, grid);
  ASSERT_EQ(grid.size(), 22u);
  EXPECT_EQ(grid[0][3], "cdn1");
  EXPECT_EQ(grid[0][8], "cdn6");
  ApplyCodeGrid(grid, code);
  const TGenCode fresh;
  ASSERT_EQ(code.aaCount, 21);
  for (int i = 0; i < 21; ++i) {
    EXPECT_EQ(code.Aminoacids()[i]->codons, fresh.Aminoacids()[i]->codons);
    EXPECT_EQ(code.Aminoacids()[i]->letter, fresh.Aminoacids()[i]->letter);
  }
  EXPECT_EQ(code.Aminoacids()[2]->nCodons, 6);
}

TEST(CodeGrid, SavedTableReadsBackToTheSameCode) {
  const TGenCode universal;
  CodeGrid grid = EmptyCodeGrid();
  FillCodeGrid(universal, grid);
  const std::string text = CodeGridToText(grid);
  EXPECT_EQ(text.substr(0, text.find("\r\n")), "Stop,***,*,taa,tag,tga");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 21);
  TGenCode loaded("x");
  ApplyCodeGrid(CodeGridFromText(text), loaded);
  ASSERT_EQ(loaded.aaCount, 21);
  EXPECT_EQ(loaded.TranslateSeq("atgtggtaa", true), "MetTrp***");
}

TEST(CodeGrid, EmptyFieldEndsALineAndEmptyRowsBecomeUnnamedEntries) {
  const CodeGrid grid = CodeGridFromText(",Phe,F,ttt\n\nPhenylalanine,Phe,F,ttt,,ttc\n");
  TGenCode code("x");
  ApplyCodeGrid(grid, code);
  ASSERT_EQ(code.aaCount, 3);
  EXPECT_EQ(code.Aminoacids()[0]->fullName, "AminoAcid1");
  EXPECT_EQ(code.Aminoacids()[0]->abbrev3, "???");
  EXPECT_EQ(code.Aminoacids()[0]->letter, '?');
  EXPECT_EQ(code.Aminoacids()[0]->nCodons, 0);
  EXPECT_EQ(code.Aminoacids()[1]->fullName, "AminoAcid2");
  EXPECT_EQ(code.Aminoacids()[2]->codons, std::vector<std::string>{"ttt"});
}
