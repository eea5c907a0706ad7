// SPDX-License-Identifier: GPL-3.0-or-later
// Replicates against values from the literature and against Debian's scrm. Times are in
// generations with Ne = 1000 (4 Ne generations are one coalescent unit).
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <algorithm>
#include <sstream>

#include "analysis/MutHold.h"
#include "coalescent/SimTestSupport.h"

// Watterson (1975): E[S] = theta a_n, Var(S) = theta a_n + theta^2 b_n. Tajima (1983): E[pi] =
// theta, Var(pi) = theta (n + 1) / (3 (n - 1)) + theta^2 2 (n^2 + n + 3) / (9 n (n - 1)). Fu
// (1995): E[xi_1] = theta derived singletons; Fu and Li (1993): E[eta_s] = theta n / (n - 1)
// singletons without orientation. Kingman: E[TMRCA] = 2 (1 - 1/n), E[total length] = 2 a_n, in
// units of 4 Ne generations.
TEST(CoalescentNeutral, FollowsTheStandardNeutralCoalescent) {
  const int n = 10, L = 10000;
  const double thetaL = 5;
  const double a = tmutholder::a(n), b = tmutholder::b(n), nd = n;
  SimStatChoice stats;
  stats.tajimaD = false;
  Moments S, pi, derived, folded, tmrca, total;
  Simulate(NeutralInputs(n, L, thetaL / L), 2024, 3000, stats,
           [&](cTree& tree, const ReplicateView& v) {
             S.Add(v.stats.whole.segSites);
             pi.Add(v.stats.whole.pi * L);
             int singles = 0;
             for (const tmutation& m : v.table.mutations) singles += m.carrierCount == 1;
             derived.Add(singles);
             folded.Add(v.table.countSingletons(0, 0, tree.WholeSample(), kSiteAll, kMutAll));
             tmrca.Add(tree.LastTmrca());
             total.Add(tree.LastBranchTotal());
           });
  ASSERT_EQ(S.Count(), 3000);
  EXPECT_NEAR(S.Mean(), thetaL * a, kSigmas * S.MeanSE());
  EXPECT_NEAR(S.Variance(), thetaL * a + thetaL * thetaL * b, kSigmas * S.VarianceSE());
  EXPECT_NEAR(pi.Mean(), thetaL, kSigmas * pi.MeanSE());
  EXPECT_NEAR(pi.Variance(),
              thetaL * (nd + 1) / (3 * (nd - 1)) +
                  thetaL * thetaL * 2 * (nd * nd + nd + 3) / (9 * nd * (nd - 1)),
              kSigmas * pi.VarianceSE());
  EXPECT_NEAR(derived.Mean(), thetaL, kSigmas * derived.MeanSE());
  EXPECT_NEAR(folded.Mean(), thetaL * nd / (nd - 1), kSigmas * folded.MeanSE());
  const double unit = 4 * 1000.0;
  EXPECT_NEAR(tmrca.Mean(), 2 * unit * (1 - 1 / nd), kSigmas * tmrca.MeanSE());
  EXPECT_NEAR(total.Mean(), 2 * unit * a, kSigmas * total.MeanSE());
}

// Hudson (1983), n = 2: Var(S) = theta L + theta^2 sum over pairs of sites (i, j) of
// f(C |i - j|). With theta L = 10 and C (L - 1) = 10 that is about 49, against 110 without
// recombination.
TEST(CoalescentRecombination, VarianceOfSegregatingSitesOfTwoSequencesFollowsHudson) {
  const int L = 10000;
  const double theta = 0.001;
  for (double R : {10.0, 0.0}) {
    SCOPED_TRACE(R);
    const double C = R / (L - 1);
    // f(r) = (r + 18) / (r^2 + 13 r + 18), the correlation of the two sites' coalescence times.
    double pairs = L;
    for (int d = 1; d < L; ++d) pairs += 2.0 * (L - d) * (C * d + 18) / (C * d * (C * d + 13) + 18);
    const double expected = theta * L + theta * theta * pairs;
    EXPECT_NEAR(expected, R > 0 ? 49.0 : 110.0, 0.5);
    CoalescentInputs in = NeutralInputs(2, L, theta);
    in.recRatePerSite = static_cast<float>(C);
    SimStatChoice stats;
    stats.pi = stats.tajimaD = false;
    Moments S;
    Simulate(in, 1983, 4000, stats,
             [&](cTree&, const ReplicateView& v) { S.Add(v.stats.whole.segSites); });
    EXPECT_NEAR(S.Mean(), theta * L, kSigmas * S.MeanSE());
    EXPECT_NEAR(S.Variance(), expected, kSigmas * S.VarianceSE());
  }
}

// Two demes without migration split tau units ago. Any two lineages meet at rate 1 once they
// share a deme, so a pair from one deme has E[T] = 1 and a pair from both E[T] = tau + 1; with
// the mutation rate theta L / (2 D) per lineage, E[pi within] = theta L / 2 and E[Dxy L] =
// theta L (tau + 1) / 2. Events drawn past the split, or a rate that doubles when the demes
// merge, both raise these.
TEST(CoalescentSplit, DiversityWithinAndBetweenDemesFollowsTheSplitTime) {
  const int L = 10000;
  const double thetaL = 10, tau = 0.5;
  CoalescentInputs in = NeutralInputs(10, L, thetaL / L);
  in.subdivided = true;
  in.demeCount = 2;
  in.demeSampleSizes = {5, 5};
  in.splitOff = false;
  in.splitTime = tau * 4 * in.effectiveSize;
  SimStatChoice stats;
  stats.tajimaD = false;
  stats.dxy = true;
  Moments within, between;
  Simulate(in, 77, 2000, stats, [&](cTree&, const ReplicateView& v) {
    within.Add(v.stats.demes[0].pi * L);
    within.Add(v.stats.demes[1].pi * L);
    between.Add(v.stats.dxy * L);
  });
  ASSERT_EQ(between.Count(), 2000);
  EXPECT_NEAR(within.Mean(), thetaL / 2, kSigmas * within.MeanSE() * std::sqrt(2.0));
  EXPECT_NEAR(between.Mean(), thetaL * (tau + 1) / 2, kSigmas * between.MeanSE());
}

namespace {

struct DemeValues {
  Moments within, between, fst;
  void Add(const ReplicateStats& r, int L) {
    double w = 0;
    for (const SampleStats& d : r.demes) w += d.pi * L / static_cast<double>(r.demes.size());
    within.Add(w);
    between.Add(std::max(0.0, r.dxy) * L);  // -1: a replicate without mutations
    if (r.fst != -1) fst.Add(r.fst);
  }
};

// Each replicate of ms-format output as a mutation table, one mutation per column.
std::vector<tmutholder> ReadMs(const std::string& text, int n, int L) {
  std::vector<tmutholder> tables;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("segsites:", 0) != 0) continue;
    tmutholder& t = tables.emplace_back();
    t.siteAnalysed.assign(static_cast<std::size_t>(L), true);
    t.sampleMask.Resize(n);
    t.mutations.resize(static_cast<std::size_t>(std::stoi(line.substr(9))));
    if (t.mutations.empty()) continue;
    std::getline(in, line);  // positions
    for (std::size_t k = 0; k < t.mutations.size(); ++k) {
      t.mutations[k].Resize(n);
      t.mutations[k].position = static_cast<int>(k);
    }
    for (int i = 0; i < n && std::getline(in, line); ++i)
      for (std::size_t k = 0; k < t.mutations.size() && k < line.size(); ++k)
        t.mutations[k].Set(i, line[k] == '1');
  }
  return tables;
}

void ExpectSameMean(const Moments& ours, const Moments& theirs) {
  EXPECT_NEAR(ours.Mean(), theirs.Mean(), kSigmas * std::hypot(ours.MeanSE(), theirs.MeanSE()));
}

}  // namespace

// Island model: D demes of 6 samples, migration from time 0, recombination, no split; scrm
// runs "scrm n R -t thetaL/D -r C(L-1) L -I D 6 ... 6 2Nm(D-1)/D". Both samples are measured
// by the same operations, so the comparison is between the genealogies.
TEST(CoalescentIslandModel, DiversityWithinAndBetweenDemesAndFstAgreeWithScrm) {
  const QString scrm = QStandardPaths::findExecutable("scrm");
  if (scrm.isEmpty()) GTEST_SKIP() << "scrm is not installed (Debian package scrm)";
  const int D = 3, perDeme = 6, L = 2000, runs = 1500;
  const double thetaL = 6, R = 5, Nm = 1;
  CoalescentInputs in = NeutralInputs(D * perDeme, L, thetaL / L);
  in.subdivided = true;
  in.demeCount = D;
  in.demeSampleSizes.assign(D, perDeme);
  in.recRatePerSite = static_cast<float>(R / (L - 1));
  in.migrationRate = Nm;
  SimStatChoice stats;
  stats.tajimaD = false;
  stats.fst = stats.dxy = true;
  DemeValues ours, theirs;
  samptype whole;
  std::vector<samptype> demeMasks;
  Simulate(in, 31, runs, stats, [&](cTree& tree, const ReplicateView& v) {
    ours.Add(v.stats, L);
    whole = tree.WholeSample();
    demeMasks = tree.DemeMasks();
  });
  ASSERT_EQ(ours.within.Count(), runs);

  QStringList args = {
      QString::number(D * perDeme), QString::number(runs), "-t", QString::number(thetaL / D), "-r",
      QString::number(R),           QString::number(L),    "-I", QString::number(D)};
  for (int d = 0; d < D; ++d) args << QString::number(perDeme);
  args << QString::number(2 * Nm * (D - 1) / D, 'g', 10) << "-seed"
       << "4711";
  QProcess run;
  run.start(scrm, args);
  ASSERT_TRUE(run.waitForFinished(60000));
  for (const tmutholder& t : ReadMs(run.readAllStandardOutput().toStdString(), D * perDeme, L))
    theirs.Add(ComputeReplicateStats(t, whole, demeMasks, L, stats), L);
  ASSERT_EQ(theirs.within.Count(), runs);

  ExpectSameMean(ours.within, theirs.within);
  ExpectSameMean(ours.between, theirs.between);
  ExpectSameMean(ours.fst, theirs.fst);
  EXPECT_NEAR(ours.within.Mean(), thetaL, kSigmas * ours.within.MeanSE());
}
