// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Datasequnit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "model/DatasetBuilders.h"
#include "support/RecordingServices.h"

using ::testing::ElementsAre;

namespace {
// A stand-in for a cached mutation table: the dataset only ever frees it.
int freedTables = 0;
char tableStorage;
MutHolderPtr FakeTable() {
  return MutHolderPtr(reinterpret_cast<tmutholder*>(&tableStorage),
                      [](tmutholder*) { ++freedTables; });
}
}  // namespace

TEST(TDataSeqCreate, NewDatasetIsEmptyWithDefaultName) {
  RecordingServices svc;
  TDataSeq ds(svc);
  EXPECT_EQ(ds.Count(), 0);
  EXPECT_EQ(ds.AlignmentLength(true), 0);
  EXPECT_EQ(ds.dsName, "Dataset");
  EXPECT_EQ(ds.SeqAt(0), nullptr);  // the placeholder is never handed out
  EXPECT_EQ(ds.SeqAt(1), nullptr);
  EXPECT_EQ(ds.LongestName(), "Sequences");
  EXPECT_TRUE(ds.ColumnLetters(1, 0).empty());
}

TEST(TDataSeqAddSeq, RepeatedNamesGetTheSmallestFreeSuffix) {
  RecordingServices svc;
  TDataSeq ds(svc);
  AddRow(ds, "s1", "A");
  AddRow(ds, "s1", "A");
  AddRow(ds, "s1", "A");
  EXPECT_THAT(RowNames(ds), ElementsAre("s1", "s1~1", "s1~2"));
  // A freed suffix is used again, as the rule counts from 1 each time.
  ds.DeleteSeq(2);
  AddRow(ds, "s1", "A");
  EXPECT_THAT(RowNames(ds), ElementsAre("s1", "s1~2", "s1~1"));
  // A name that already carries a suffix is a name like any other.
  AddRow(ds, "s1~1", "A");
  EXPECT_EQ(ds.NameAt(4), "s1~1~1");
}

TEST(TDataSeqAddSeq, NeverLeavesTwoRowsWithOneNameEvenPastAThousandCopies) {
  RecordingServices svc;
  TDataSeq ds(svc);
  for (int i = 0; i < 1003; ++i) AddRow(ds, "read", "AC");
  std::set<std::string> names;
  for (int r = 1; r <= ds.Count(); ++r) names.insert(ds.NameAt(r));
  EXPECT_EQ(names.size(), 1003u);
  EXPECT_EQ(ds.NameAt(1003), "read~1002");
}

TEST(TDataSeqAddSeq, FullDatasetRefusesAndKeepsTheSequenceWithTheCaller) {
  RecordingServices svc;
  svc.settings.maxSeqPerDataset = 2;
  TDataSeq ds(svc);
  ds.dsName = "locus7";
  AddRow(ds, "a", "ACGT");
  AddRow(ds, "b", "ACGT");
  auto third = MakeSeq("c", "ACGT");
  EXPECT_EQ(ds.AddSeq(third, true), -1);
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(third->seqName, "c");
  EXPECT_EQ(ds.Count(), 2);
  EXPECT_EQ(svc.messages.errors,
            Lines("Exceeded maxSeqNum (2): Sequence c has not been added to dataset locus7"));
  // The limit is read at each add: raising it lets the same sequence in.
  svc.settings.maxSeqPerDataset = 3;
  EXPECT_EQ(ds.AddSeq(third, true), 3);
  EXPECT_EQ(third, nullptr);
}

TEST(TDataSeqAddSeq, IdsAreUniqueAndHandedOutAfterTheLargest) {
  RecordingServices svc;
  TDataSeq ds(svc);
  auto a = MakeSeq("a", "A");
  a->seqId = 7;
  ASSERT_EQ(ds.AddSeq(a, true), 1);
  auto b = MakeSeq("b", "A");
  b->seqId = 7;  // taken: dropped and replaced
  ASSERT_EQ(ds.AddSeq(b, true), 2);
  auto c = MakeSeq("c", "A");
  c->seqId = 3;  // kept only with the unique-name rule
  ASSERT_EQ(ds.AddSeq(c, false), 3);
  EXPECT_EQ(ds.SeqAt(1)->seqId, 7);
  EXPECT_EQ(ds.SeqAt(2)->seqId, 8);
  EXPECT_EQ(ds.SeqAt(3)->seqId, 9);
  EXPECT_EQ(ds.RowById(8), 2);
  EXPECT_EQ(ds.RowById(3), -1);
  ds.DeleteSeq(1);
  EXPECT_EQ(ds.RowById(7), -1);
  EXPECT_EQ(ds.RowById(9), 2);
  ds.RenumberIds();
  EXPECT_EQ(ds.SeqAt(2)->seqId, 2);
  EXPECT_EQ(ds.lastSeqId, 2);
  EXPECT_EQ(ds.RowById(2), 2);
}

TEST(TDataSeqAddSeq, ScatteredIdsAreFoundBesideConsecutiveOnes) {
  // Ids near the rows sit in a list, far ones in a map; the list widens as rows come and takes
  // over the map's ids it then reaches (20,000 here), and deletions renumber both alike.
  RecordingServices svc;
  TDataSeq ds(svc);
  std::vector<int> ids;
  auto add = [&](int id) {
    auto s = MakeSeq("s" + std::to_string(ids.size()), "A");
    s->seqId = id;
    ASSERT_EQ(ds.AddSeq(s, true), static_cast<int>(ids.size()) + 1);
    ids.push_back(ds.SeqAt(ds.Count())->seqId);
  };
  for (int i = 0; i < 3000; ++i) add(0);
  for (const int id : {20000, 2000000000, 5000}) add(id);
  for (int id = 3001; id <= 17000; ++id) add(id);
  ASSERT_EQ(ids[3000], 20000);
  ASSERT_EQ(ids[3002], 5000);
  ds.DeleteSeq(2);
  ids.erase(ids.begin() + 1);
  for (std::size_t r = 0; r < ids.size(); ++r)
    ASSERT_EQ(ds.RowById(ids[r]), static_cast<int>(r) + 1) << ids[r];
  EXPECT_EQ(ds.RowById(2), -1);
  EXPECT_EQ(ds.RowById(1999999999), -1);
}

// Small and large datasets must answer the same: names are upper-cased and cut at the first
// space either way, and the first row with a name wins.
class RowByNameAtSize : public ::testing::TestWithParam<int> {};

TEST_P(RowByNameAtSize, FindsRowsThroughAddRenameAndDelete) {
  RecordingServices svc;
  TDataSeq ds(svc);
  const int n = GetParam();
  for (int i = 1; i <= n; ++i) AddRow(ds, "seq" + std::to_string(i), "ACGT");
  ASSERT_TRUE(ds.RenameSeq(5, "Ab cd", true));
  AddRow(ds, "AB x", "A");  // same lookup form as row 5, added later
  EXPECT_EQ(ds.RowByName("ab"), 5);
  EXPECT_EQ(ds.RowByName("AB cd"), 5);
  EXPECT_EQ(ds.RowByName("SEQ7"), 7);
  EXPECT_EQ(ds.RowByName("seq" + std::to_string(n)), n);
  EXPECT_EQ(ds.IdByName("seq7"), ds.SeqAt(7)->seqId);
  EXPECT_EQ(ds.RowByName("nothing"), -1);

  ds.DeleteSeq(3);
  EXPECT_EQ(ds.RowByName("seq7"), 6);
  EXPECT_EQ(ds.RowByName("seq3"), -1);
  EXPECT_EQ(ds.RowByName("ab"), 4);
  ds.DeleteSeq(4);  // the later "AB x" takes over the name
  EXPECT_EQ(ds.RowByName("ab"), n - 1);
  ASSERT_TRUE(ds.RenameSeq(1, "renamed", true));
  EXPECT_EQ(ds.RowByName("seq1"), -1);
  EXPECT_EQ(ds.RowByName("RENAMED"), 1);
  EXPECT_EQ(ds.StaleLookupCount(), 0);

  // A name changed behind the dataset's back is picked up after NamesChanged.
  ds.SeqAt(2)->seqName = "direct";
  ds.NamesChanged();
  EXPECT_EQ(ds.RowByName("direct"), 2);
  EXPECT_EQ(ds.RowByName("seq2"), -1);
}

INSTANTIATE_TEST_SUITE_P(Sizes, RowByNameAtSize, ::testing::Values(20, 99, 100, 150));

// Readers add rows without the unique-name rule, which leaves the name lookups to the first
// lookup by name: names changed and rows deleted before it are found as they are then.
TEST(TDataSeqRowsByName, LateLookupsAndManyNamesAtOnceAgreeWithOneByOne) {
  RecordingServices svc;
  TDataSeq ds(svc);
  for (int i = 1; i <= 40; ++i) {
    auto s = std::make_unique<TSeq>("s" + std::to_string(i), "ACGT");
    ds.AddSeq(s, false);
  }
  ds.SeqAt(3)->seqName = "Dup x";
  ds.SeqAt(9)->seqName = "DUP";
  ds.DeleteSeq(1);
  const std::vector<std::string_view> names{"dup", "s40", "S2", "s1", "missing", "Dup x"};
  const std::vector<int> once = ds.RowsByName(names);  // many names: one pass, no lookups
  EXPECT_THAT(once, ElementsAre(2, 39, 1, -1, -1, 2));
  for (std::size_t k = 0; k < names.size(); ++k) EXPECT_EQ(ds.RowByName(names[k]), once[k]);
  EXPECT_TRUE(ds.HasExactName("DUP"));
  EXPECT_FALSE(ds.HasExactName("dup"));
  auto again = std::make_unique<TSeq>("DUP", "A");
  ASSERT_EQ(ds.AddSeq(again, true), 40);
  EXPECT_EQ(ds.NameAt(40), "DUP~1");
  ds.DeleteSeq(2);  // kept current from the first lookup on
  EXPECT_THAT(ds.RowsByName(names), ElementsAre(7, 38, 1, -1, -1, 7));
  EXPECT_EQ(ds.RowByName("dup~1"), 39);
  EXPECT_EQ(ds.StaleLookupCount(), 0);
}

TEST(TDataSeqDeleteSeq, LookupsStayRightThroughLongRunsOfSingleDeletions) {
  RecordingServices svc;
  TDataSeq ds(svc);
  for (int i = 1; i <= 300; ++i) AddRow(ds, "s" + std::to_string(i), "A");
  // 150 deletions at scattered places, with lookups and additions in between now and then.
  for (int k = 0; k < 150; ++k) {
    ds.DeleteSeq(1 + (k * 37) % ds.Count());
    if (k % 50 == 49) {
      AddRow(ds, "late" + std::to_string(k), "A");
      EXPECT_EQ(ds.RowByName("late" + std::to_string(k)), ds.Count());
    }
  }
  ASSERT_EQ(ds.Count(), 153);
  for (int r = 1; r <= ds.Count(); ++r) {
    EXPECT_EQ(ds.RowByName(ds.NameAt(r)), r);
    EXPECT_EQ(ds.RowById(ds.SeqAt(r)->seqId), r);
  }
  EXPECT_EQ(ds.StaleLookupCount(), 0);  // found through the maps, not by a repair
}

TEST(TDataSeqDeleteSeqs, ManyRowsGoAtOnceAndTheCurrentRowFollowsItsSequence) {
  RecordingServices svc;
  TDataSeq ds(svc);
  for (int i = 1; i <= 6; ++i) AddRow(ds, "s" + std::to_string(i), "AC", i);
  ds.currentRow = 5;
  ds.DeleteSeqs({4, 1, 6, 99});
  EXPECT_THAT(RowNames(ds), ElementsAre("s2", "s3", "s5"));
  EXPECT_EQ(ds.currentRow, 3);
  EXPECT_THAT(RowShifts(ds), ElementsAre(0, 1, 3));  // shifts 2, 3, 5 normalised
  EXPECT_EQ(ds.RowByName("s5"), 3);
}

TEST(TDataSeqNormaliseShifts, SubtractsTheSmallestShiftOfNonEmptyRows) {
  RecordingServices svc;
  TDataSeq ds(svc);
  AddRow(ds, "a", "AC", 3);
  AddRow(ds, "b", "AC", 5);
  AddRow(ds, "c", "", 1);
  ds.NormaliseShifts();
  EXPECT_THAT(RowShifts(ds), ElementsAre(0, 2, 0));
  ds.SeqAt(3)->columnShift = 4;  // an empty row alone out of place
  ds.NormaliseShifts();
  EXPECT_THAT(RowShifts(ds), ElementsAre(0, 2, 0));
}

TEST(TDataSeqColumnLetters, MarksUncoveredDisabledAndOtherGroupRows) {
  RecordingServices svc;
  TDataSeq ds(svc);
  AddRow(ds, "a", "ACGT");
  AddRow(ds, "b", "GG", 2).groupNum = 4;
  AddRow(ds, "c", "TTTTT").enabled = false;
  EXPECT_EQ(ds.AlignmentLength(true), 5);
  EXPECT_EQ(ds.AlignmentLength(false), 5);
  EXPECT_EQ(ds.GroupLength(4, true), 4);
  EXPECT_EQ(ds.ColumnLetters(1, 0), "A-!");
  EXPECT_EQ(ds.ColumnLetters(3, 0), "GG!");
  EXPECT_EQ(ds.ColumnLetters(3, 4), "!G!");
  EXPECT_EQ(ds.ColumnLetters(5, 0), "--!");
  EXPECT_EQ(ds.ColumnLetters(6, 0), "");
  EXPECT_EQ(ds.ColumnLetters(0, 0), "");
}

TEST(TDataSeqSelection, OnlyEnabledRowsChangeTheirSelection) {
  RecordingServices svc;
  TDataSeq ds(svc);
  AddRow(ds, "a", "A");
  AddRow(ds, "b", "A").enabled = false;
  AddRow(ds, "c", "A");
  ds.Select(-1);
  EXPECT_EQ(ds.SelectedCount(), 2);
  EXPECT_FALSE(ds.SeqAt(2)->selected);
  ds.ToggleSelect(1);
  EXPECT_EQ(ds.SelectedCount(), 1);
  ds.currentRow = 2;
  EXPECT_THAT(ds.SelectedOrCurrentRows(), ElementsAre(3));
  ds.Unselect(-1);
  EXPECT_THAT(ds.SelectedOrCurrentRows(), ElementsAre(2));
  ds.Enable(2);
  ds.Select(2);
  EXPECT_TRUE(ds.IsSelected(2));
}

TEST(TDataSeqSetCursor, ClampsThePositionAndScrollsTheWindowByTheLeastAmount) {
  RecordingServices svc;
  TDataSeq ds(svc);
  AddRow(ds, "a", "ACGTACGTAC", 5);  // columns 6..15
  ds.firstVisibleCol = 1;
  ds.lastVisibleCol = 8;
  ds.SetCursor(0, 1);
  EXPECT_EQ(ds.cursorPos, 1);
  EXPECT_EQ(ds.currentRow, 1);
  EXPECT_EQ(ds.firstVisibleCol, 1);  // column 6 is visible already
  ds.SetCursor(99, 1);
  EXPECT_EQ(ds.cursorPos, 11);
  EXPECT_EQ(ds.lastVisibleCol, 16);
  EXPECT_EQ(ds.firstVisibleCol, 9);
  ds.SetCursor(2, 1);
  EXPECT_EQ(ds.firstVisibleCol, 7);
  EXPECT_EQ(ds.lastVisibleCol, 14);
  ds.SetCursor(1, 7);  // a bad row changes nothing
  EXPECT_EQ(ds.cursorPos, 2);
}

TEST(TDataSeqUndo, RestoresRowsAndLookupsAndDropsCachedTables) {
  RecordingServices svc;
  TDataSeq ds(svc);
  AddRow(ds, "a", "ACGT");
  AddRow(ds, "b", "AGGT");
  EXPECT_FALSE(ds.Undo());
  ds.SaveUndo();
  ds.DeleteSeq(1);
  ds.SeqAt(1)->letters = "TTTT";
  ds.mutHolders.push_back(FakeTable());
  freedTables = 0;
  ASSERT_TRUE(ds.Undo());
  EXPECT_THAT(RowLetters(ds), ElementsAre("ACGT", "AGGT"));
  EXPECT_EQ(ds.RowByName("a"), 1);
  EXPECT_EQ(ds.RowByName("b"), 2);
  EXPECT_EQ(ds.RowById(ds.SeqAt(2)->seqId), 2);
  EXPECT_TRUE(ds.mutHolders.empty());
  EXPECT_EQ(freedTables, 1);
}

TEST(TDataSeqMutHolders, EveryChangeOfRowsOrLettersDropsTheCachedTables) {
  RecordingServices svc;
  TDataSeq ds(svc);
  AddRow(ds, "a", "A-CT");
  AddRow(ds, "b", "A-GT");
  const std::vector<std::pair<const char*, std::function<void()>>> edits = {
      {"AddSeq", [&] { AddRow(ds, "c", "ACCT"); }},
      {"DeleteSeq", [&] { ds.DeleteSeq(3); }},
      {"SaveUndo", [&] { ds.SaveUndo(); }},
      {"Undo", [&] { ds.Undo(); }},
      {"RemoveSharedGapColumns", [&] { ds.RemoveSharedGapColumns(); }},
      {"PadWithN", [&] { ds.PadWithN(); }},
      {"SortByName", [&] { ds.SortByName(true); }},
      {"ComplementRows", [&] { ds.ComplementRows(-1); }},
      {"Clear", [&] { ds.Clear(); }},
  };
  for (const auto& [name, edit] : edits) {
    SCOPED_TRACE(name);
    ds.mutHolders.push_back(FakeTable());
    ds.groupMutHolders.push_back(FakeTable());
    freedTables = 0;
    edit();
    EXPECT_TRUE(ds.mutHolders.empty());
    EXPECT_TRUE(ds.groupMutHolders.empty());
    EXPECT_EQ(freedTables, 2);
  }
}

TEST(TDataSeqCopyTo, CopiesFieldsAndRowsIntoAnIndependentDataset) {
  RecordingServices svc;
  TDataSeq ds(svc);
  ds.dsName = "locus";
  ds.dsNumber = 4;
  ds.chromosome = -1;
  AddRow(ds, "a", "ACGTAC", 2);
  AddRow(ds, "b", "GGTTAA");
  TDataSeq copy(svc);
  ds.CopyTo(copy);
  EXPECT_EQ(copy.dsName, "locus");
  EXPECT_EQ(copy.dsNumber, 4);
  EXPECT_EQ(copy.chromosome, -1);
  EXPECT_THAT(RowLetters(copy), ElementsAre("ACGTAC", "GGTTAA"));
  EXPECT_EQ(copy.RowByName("b"), 2);
  copy.SeqAt(1)->letters = "T";
  EXPECT_EQ(ds.SeqAt(1)->letters, "ACGTAC");

  TDataSeq range(svc);
  ds.CopyRangeTo(range, 2, 3);  // letters 2..4 of every row
  EXPECT_THAT(RowLetters(range), ElementsAre("CGT", "GTT"));
  EXPECT_THAT(RowShifts(range), ElementsAre(2, 0));  // 3 and 1 after the cut, normalised
}

TEST(TDataSeqSortByName, EqualNamesPutTheLaterRowFirst) {
  RecordingServices svc;
  TDataSeq ds(svc);
  for (const char* n : {"b", "a", "B", "a", "c"}) {
    auto s = MakeSeq(n, n);
    ASSERT_GT(ds.AddSeq(s, false), 0);
  }
  ds.SeqAt(2)->letters = "first a";
  ds.SeqAt(4)->letters = "second a";
  ds.currentRow = 1;  // "b"
  ds.SortByName(false);
  EXPECT_THAT(RowNames(ds), ElementsAre("B", "a", "a", "b", "c"));
  EXPECT_EQ(ds.SeqAt(2)->letters, "second a");
  EXPECT_EQ(ds.currentRow, 4);
  EXPECT_EQ(ds.RowByName("c"), 5);
  ds.SortByName(true);
  EXPECT_THAT(RowNames(ds), ElementsAre("c", "b", "a", "a", "B"));
}

TEST(TDataSeqSortByPosition, CoveringRowsMoveUpByShiftOthersKeepTheirOrder) {
  RecordingServices svc;
  TDataSeq ds(svc);
  AddRow(ds, "far", "AC", 10);
  AddRow(ds, "late", "ACGT", 3);
  AddRow(ds, "early", "ACGTAC", 0);
  AddRow(ds, "none", "A", 0);
  AddRow(ds, "late2", "AC", 3);
  ds.SortByPosition(4);
  EXPECT_THAT(RowNames(ds), ElementsAre("early", "late", "late2", "far", "none"));
  ds.SortByPosition(0);
  EXPECT_THAT(RowNames(ds), ElementsAre("early", "none", "late", "late2", "far"));
}

TEST(TDataSeqRowNames, WhitespaceAndPrefixCommandsKeepNamesUnique) {
  RecordingServices svc;
  TDataSeq ds(svc);
  AddRow(ds, "  my seq ", "A");
  AddRow(ds, "my_seq", "A");
  AddRow(ds, "pop1_ind4", "A");
  AddRow(ds, "noprefix", "A");
  ds.NameSpacesToUnderscore(-1);
  EXPECT_THAT(RowNames(ds), ElementsAre("my_seq~1", "my_seq", "pop1_ind4", "noprefix"));
  ds.NamePrefixBeforeUnderscore(3);
  ds.NamePrefixBeforeUnderscore(4);
  EXPECT_EQ(ds.NameAt(3), "ind4");
  EXPECT_EQ(ds.NameAt(4), "noprefix");
  EXPECT_EQ(ds.RowByName("ind4"), 3);
}

TEST(TDataSeqLinkMates, LinksFirstAndSecondReadsOfAPairBothWays) {
  RecordingServices svc;
  TDataSeq ds(svc);
  TSeq& a = AddRow(ds, "p1", "ACGT");
  a.mateFirst = true;
  a.mateName = "p2";
  TSeq& b = AddRow(ds, "p2", "ACGT");
  b.mateSecond = true;
  b.mateName = "p1";
  TSeq& c = AddRow(ds, "lonely", "ACGT");
  c.mateFirst = true;
  c.mateName = "*";
  TSeq& d = AddRow(ds, "p3", "ACGT");  // both first: not a pair
  d.mateFirst = true;
  d.mateName = "p1";
  EXPECT_EQ(ds.LinkMates(), 1);
  EXPECT_EQ(a.mateId, b.seqId);
  EXPECT_EQ(b.mateId, a.seqId);
  EXPECT_EQ(c.mateId, -1);
  EXPECT_EQ(d.mateId, -1);
}

TEST(TDataSeqRowWrappers, ActOnOneRowAllRowsOrTheSelectedOnes) {
  RecordingServices svc;
  TDataSeq ds(svc);
  TSeq& a = AddRow(ds, "a", "acgTN-N");
  TSeq& b = AddRow(ds, "b", "ACGT");
  TSeq& c = AddRow(ds, "c", "ttNN");
  ds.ChangeCase(1, 1, 3, true);
  EXPECT_EQ(a.letters, "ACGTN-N");
  ds.ChangeCase(2, 3, 9, false);  // range not inside: the whole row
  EXPECT_EQ(b.letters, "acgt");
  ds.Select(3);
  ds.ChangeCase(0, 1, 2, true);  // selected rows only
  EXPECT_EQ(c.letters, "TTNN");
  EXPECT_EQ(b.letters, "acgt");
  ds.GapNsToDash(-1);
  EXPECT_THAT(RowLetters(ds), ElementsAre("ACGT---", "acgt", "TT--"));
  ds.RemoveGapsRows(1);
  EXPECT_EQ(a.letters, "ACGT");
  ds.ReverseComplementRows(2);
  EXPECT_EQ(b.letters, "acgt");  // acgt reversed is tgca, complemented acgt
  EXPECT_TRUE(b.reversed);
  EXPECT_FALSE(b.plusStrand);

  a.traceA = a.traceC = a.traceG = a.traceT = {1, 2, 3};
  a.peakPos = {0, 1, 2, 2};
  a.hasTrace = a.showTrace = true;
  a.quality = {5, 5, 5, 5};
  ds.RemoveTrace(1);
  ds.RemoveQuality(1);
  EXPECT_TRUE(a.traceA.empty());
  EXPECT_TRUE(a.peakPos.empty());
  EXPECT_FALSE(a.showTrace);
  EXPECT_TRUE(a.quality.empty());
  EXPECT_EQ(ds.QualityAt(1, 1), -1);

  const int index = ds.AddRegionClipped(1, MakeRegion(-3, 2, kRegMisc));
  ASSERT_EQ(index, 0);
  EXPECT_EQ(a.regions[0].regStart, 1);
  EXPECT_EQ(ds.AddRegionClipped(1, MakeRegion(9, 12, kRegMisc)), -1);
  EXPECT_EQ(ds.AddRegionClipped(7, MakeRegion(1, 2, kRegMisc)), -1);
}

TEST(TDataSeqQueries, NamesQualitiesAndPolymorphicSiteRange) {
  RecordingServices svc;
  TDataSeq ds(svc);
  TSeq& a = AddRow(ds, "short", "ACGT");
  a.quality = {10, 20, 30, 40};
  a.polySitePos = {3, 9, 14};
  TSeq& b = AddRow(ds, "a much longer name", "AC");
  b.polySitePos = {2, 20};
  AddRow(ds, "c", "A", 0, 7);
  AddRow(ds, "d", "A", 0, 7);
  EXPECT_EQ(ds.LongestName(), "a much longer name");
  EXPECT_EQ(ds.QualityAt(1, 4), 40);
  EXPECT_EQ(ds.QualityAt(1, 5), -1);
  EXPECT_EQ(ds.QualityAt(2, 1), -1);
  EXPECT_EQ(ds.LettersLength(2), 2);
  EXPECT_EQ(ds.LettersLength(9), -1);
  int first = 0;
  EXPECT_EQ(ds.PolySiteRange(first), 20);
  EXPECT_EQ(first, 2);
  EXPECT_EQ(ds.RowOfIndivid(7), 3);
  EXPECT_EQ(ds.CountOfIndivid(7), 2);
  EXPECT_EQ(ds.RowOfIndivid(8), -1);
}
