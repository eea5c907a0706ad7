// SPDX-License-Identifier: GPL-3.0-or-later
// Ambiguity resolution by ploidy: which letters each copy may hold, names, the seed.
#include <gtest/gtest.h>

#include <set>

#include "EditorCommandFixture.h"
#include "common/PlatformRandom.h"
#include "editor/AmbiguityResolution.h"

namespace {

std::unique_ptr<TDataSeq> Resolve(const TDataSeq& ds, std::uint32_t seed) {
  PlatformRandom rng(seed);
  std::string error;
  return ResolveAmbiguities(ds, true, rng, error);
}

}  // namespace

TEST(AmbiguitySet, FollowsTheIupacTableInEitherCase) {
  EXPECT_EQ(AmbiguitySet('Y'), "TC");
  EXPECT_EQ(AmbiguitySet('b'), "gtc");
  EXPECT_EQ(AmbiguitySet('X'), "?");
  for (char c : std::string("-?ACGNTUacgntu")) EXPECT_EQ(AmbiguitySet(c), "") << c;
}

TEST(ResolveAmbiguities, GivesOneCopyPerPloidyWithTheSetsSharedOut) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("d", {{"s", "ACYT"}, {"t", "ACGT-n"}});
  ds.SeqAt(1)->ploidy = 2;
  ds.SeqAt(2)->ploidy = 2;
  const auto out = Resolve(ds, 7);
  EXPECT_EQ(out->dsName, "d");
  EXPECT_EQ(RowNames(*out), (std::vector<std::string>{"s", "s~1", "t", "t~1"}));
  EXPECT_EQ((std::set<std::string>{out->SeqAt(1)->letters, out->SeqAt(2)->letters}),
            (std::set<std::string>{"ACTT", "ACCT"}));
  EXPECT_EQ(out->SeqAt(3)->letters, "ACGT-n");
  EXPECT_EQ(out->SeqAt(4)->letters, "ACGT-n");
  EXPECT_EQ(out->SeqAt(2)->ploidy, 1);

  // Triploid Y: both bases present, one of them twice.
  ds.SeqAt(1)->letters = "Y";
  ds.SeqAt(1)->ploidy = 3;
  for (std::uint32_t seed : {1u, 2u, 3u}) {
    const auto tri = Resolve(ds, seed);
    std::multiset<char> letters;
    for (int r = 1; r <= 3; ++r) letters.insert(tri->SeqAt(r)->letters[0]);
    EXPECT_EQ(letters.count('T') + letters.count('C'), 3u);
    EXPECT_GE(letters.count('T'), 1u);
    EXPECT_GE(letters.count('C'), 1u);
  }
}

TEST(ResolveAmbiguities, DrawsFromOneGeneratorSeededOnce) {
  CommandFixture f;
  TDataSeq& ds = f.AddDataset("d", {{"s", "R"}, {"long", std::string(64, 'Y')}});
  std::set<std::string> seen;
  for (std::uint32_t seed = 0; seed < 40; ++seed) seen.insert(Resolve(ds, seed)->SeqAt(1)->letters);
  EXPECT_EQ(seen, (std::set<std::string>{"A", "G"}));  // haploid: one base, both occur
  // The sites of one run are not all resolved alike (reseeding per site within one clock tick
  // would repeat the same draw at every site).
  const std::string row = Resolve(ds, 11)->SeqAt(2)->letters;
  EXPECT_NE(row.find('T'), std::string::npos);
  EXPECT_NE(row.find('C'), std::string::npos);
  EXPECT_EQ(row, Resolve(ds, 11)->SeqAt(2)->letters);  // a fixed seed repeats

  ds.SeqAt(1)->selected = true;  // only the selected rows are processed
  EXPECT_EQ(RowNames(*Resolve(ds, 1)), (std::vector<std::string>{"s"}));
}

TEST(ResolveAmbiguities, RefusesAPloidyAboveTheDatasetLimitBeforeAnyCopy) {
  CommandFixture f;
  f.svc.settings.maxSeqPerDataset = 4;
  TDataSeq& ds = f.AddDataset("d", {{"s", "Y"}});
  ds.SeqAt(1)->ploidy = 5;
  PlatformRandom rng(1);
  std::string error;
  EXPECT_EQ(ResolveAmbiguities(ds, true, rng, error), nullptr);
  EXPECT_NE(error.find("ploidy 5"), std::string::npos);

  // The command asks, then names the refusal; no project comes back.
  f.Answer({true});
  EXPECT_EQ(ResolveAmbiguousSites(f.ctx, rng), nullptr);
  ASSERT_EQ(f.Notices().size(), 1u);
  EXPECT_EQ(f.Questions().size(), 1u);

  // Accepted: the new project keeps the individuals the rows refer to.
  ds.SeqAt(1)->ploidy = 2;
  TIndivid ind;
  ind.indName = "I1";
  ds.SeqAt(1)->individId = f.project.AddIndivid(ind);
  f.Answer({true});
  const auto resolved = ResolveAmbiguousSites(f.ctx, rng);
  ASSERT_NE(resolved, nullptr);
  EXPECT_EQ(resolved->IndividCount(), 1);
  EXPECT_EQ(resolved->DatasetAt(0)->Count(), 2);
}
