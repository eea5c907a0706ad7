// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "alignment/AsmContUnit.h"
#include "editor/EditorCommandFixture.h"
#include "editor/ReadLetters.h"

namespace {
// 60 letters whose 7-letter words occur once, on one strand only.
const std::string T = "GGATCACAGTCTACACTGCTCACTCCAACCCCGGCCCCTGAGTCCGAGGAGAGGGTGCTT";
std::string Part(int from, int to) {
  return T.substr(from - 1, to - from + 1);
}
}  // namespace

TEST(LongestDiagonal, TenSharedEndLettersMergeAndTheUnusedLastSeedCostsOne) {
  const std::string contig = Part(1, 30);
  // The read begins with the contig's last 10 letters: four seeds, a diagonal of 10.
  EXPECT_EQ(BestOverlap(Part(21, 45), contig), (Overlap{1, 21, 10, false}));
  EXPECT_FALSE(BestOverlap(Part(22, 45), contig).Found());
  // The read ends with the contig's first 10 letters: its last seed is not used, so only 9.
  const std::string before = Part(41, 60) + Part(1, 10);
  EXPECT_FALSE(LongestDiagonal(before, contig, 10).Found());
  EXPECT_EQ(LongestDiagonal(before, contig, 9), (Overlap{21, 1, 9, false}));
}

TEST(LongestDiagonal, ARepeatedSeedStartsOneDiagonalAtItsFirstOccurrence) {
  // GATTACA occurs at 1 and 13; the diagonal that would start at 13 is never opened, the next
  // seed opens its own at 14.
  const std::string contig = "GATTACACCCCCGATTACAGGG";
  EXPECT_EQ(LongestDiagonal("GATTACAGGGTT", contig, 9), (Overlap{2, 14, 9, false}));
  // Occurrences that overlap one already found are skipped.
  std::vector<int> starts;
  ContigIndex(std::string(15, 'A')).Occurrences("AAAAAAA", starts);
  EXPECT_EQ(starts, (std::vector<int>{1, 8}));
}

TEST(BestOverlap, ReverseWinsOnlyWhenLonger) {
  const std::string palindrome = "ACGTTTAAACGT";  // its own reverse complement
  EXPECT_EQ(BestOverlap(palindrome, "GGGGG" + palindrome + "CCCCC"), (Overlap{1, 6, 11, false}));
  const Overlap rev = BestOverlap(ReverseComplement(Part(21, 45)), Part(1, 30));
  EXPECT_EQ(rev, (Overlap{1, 21, 10, true}));
}

TEST(MergeIntoContig, TheTextThatBeginsFirstKeepsItsLetters) {
  EXPECT_EQ(MergeIntoContig("ACGT", "ACG", 0), "ACGT");
  EXPECT_EQ(MergeIntoContig("ACG", "ACGTT", 0), "ACGTT");
  EXPECT_EQ(MergeIntoContig("ACGT", "TTTT", 0), "ACGT");
  EXPECT_EQ(MergeIntoContig("AAAACCCC", "CCCAGG", 4), "AAAACCCCGG");
  EXPECT_EQ(MergeIntoContig("AAAACCCC", "AC", 3), "AAAACCCC");
  EXPECT_EQ(MergeIntoContig("CCCCGGGG", "TTCCCA", -2), "TTCCCAGGGG");
  EXPECT_EQ(MergeIntoContig("CCCC", "TTCCCCAA", -2), "TTCCCCAA");
}

TEST(ContigIndex, FollowsLettersAddedAtEitherEndAsAFreshIndexWould) {
  ContigIndex grown(Part(21, 40));
  grown.Update(Part(11, 40), 10);
  grown.Update(Part(11, 60), 0);
  grown.Update(Part(1, 60) + "A", 10);
  const ContigIndex fresh(T + "A");
  std::vector<int> a, b;
  for (int p = 1; p + 6 <= static_cast<int>(T.size()) + 1; ++p) {
    grown.Occurrences((T + "A").substr(static_cast<std::size_t>(p - 1), 7), a);
    fresh.Occurrences((T + "A").substr(static_cast<std::size_t>(p - 1), 7), b);
    EXPECT_EQ(a, b) << p;
    EXPECT_EQ(a, (std::vector<int>{p}));
  }
}

TEST(FindOverlaps, LaysReadsOutAgainstTheContigInItsOrientation) {
  CommandFixture f;
  f.AddDataset("reads", {{"r0", Part(11, 40)},
                         {"r1", ReverseComplement(Part(25, 60))},
                         {"r2", Part(1, 25)},
                         {"other", "ACACACACACACACAC"}});
  f.Answer({true});
  EXPECT_TRUE(FindOverlaps(f.ctx));
  EXPECT_EQ(f.Questions(),
            (std::vector<std::string>{"Find overlaps for all sequences in the dataset?"}));
  // r1 matched only reversed; r2 began before r0 and the contig grew in front of it.
  EXPECT_EQ(RowLetters(f.Ds()), (std::vector<std::string>{std::string(10, '-') + Part(11, 40),
                                                          std::string(24, '-') + Part(25, 60),
                                                          Part(1, 25), "ACACACACACACACAC"}));
  EXPECT_TRUE(f.Ds().Undo());
  EXPECT_EQ(f.Row(2).letters, ReverseComplement(Part(25, 60)));
  // Selected rows only; one read is not enough.
  f.Row(1).selected = true;
  EXPECT_FALSE(FindOverlaps(f.ctx));
  EXPECT_EQ(f.Row(1).letters, Part(11, 40));
}

// The search as written: plain left-to-right substring searches per seed, every diagonal of
// the list tested. The index must give the same answer on repetitive texts.
Overlap PlainLongestDiagonal(const std::string& r, const std::string& c, int minOverlap) {
  struct D {
    int readStart, contigStart, length;
  };
  std::vector<D> list;
  for (int i = 1; i <= static_cast<int>(r.size()) - 7; ++i) {
    const std::string seed = r.substr(static_cast<std::size_t>(i - 1), 7);
    std::vector<int> occ;
    for (std::size_t at = c.find(seed); at != std::string::npos; at = c.find(seed, at + 7))
      occ.push_back(static_cast<int>(at) + 1);
    if (occ.empty()) continue;
    bool continued = false;
    for (D& d : list)
      if (d.readStart + d.length - 6 == i &&
          std::find(occ.begin(), occ.end(), d.contigStart + d.length - 6) != occ.end()) {
        ++d.length;
        continued = true;
      }
    if (!continued) list.push_back({i, occ.front(), 7});
  }
  const D* best = nullptr;
  for (const D& d : list)
    if (best == nullptr || d.length > best->length) best = &d;
  if (best == nullptr || best->length < minOverlap) return {};
  return {best->readStart, best->contigStart, best->length, false};
}

TEST(LongestDiagonal, IndexGivesThePlainSearchsAnswerOnRepetitiveTexts) {
  std::mt19937 rng(3);
  auto text = [&rng](std::size_t n) {
    std::string s(n, 'A');
    for (char& ch : s) ch = "AC"[rng() % 2];
    return s;
  };
  for (int trial = 0; trial < 200; ++trial) {
    const std::string read = text(40), contig = text(120);
    ContigIndex grown(contig.substr(30, 60));
    grown.Update(contig.substr(0, 90), 30);
    grown.Update(contig, 0);
    SCOPED_TRACE(read + " / " + contig);
    EXPECT_EQ(LongestDiagonal(read, grown, 10), PlainLongestDiagonal(read, contig, 10));
  }
}

TEST(BuildContig, ErrorFreeReadsInShuffledOrderRebuildTheTemplate) {
  std::mt19937 rng(11);
  std::string tmpl(3000, 'A');
  for (char& c : tmpl) c = "ACGT"[rng() % 4];
  std::vector<std::unique_ptr<TSeq>> owned;
  for (int start = 0; start + 300 <= 3000; start += 150) {
    std::string letters = tmpl.substr(static_cast<std::size_t>(start), 300);
    if (start % 600 == 0) letters = ReverseComplement(letters);
    owned.push_back(std::make_unique<TSeq>("r", letters));
  }
  std::shuffle(owned.begin(), owned.end(), rng);
  std::vector<TSeq*> reads;
  for (auto& r : owned) reads.push_back(r.get());
  // 20 letters: with 10, chance 10-letter matches between unrelated stretches are expected
  // here and would merge reads in the wrong place, as the greedy search allows.
  const std::string contig = BuildContig(reads, 20);
  EXPECT_TRUE(contig == tmpl || contig == ReverseComplement(tmpl));
  for (const TSeq* r : reads) {
    const std::size_t lead = r->letters.find_first_not_of('-');
    EXPECT_EQ(r->letters.substr(lead), contig.substr(lead, 300));
  }
}
