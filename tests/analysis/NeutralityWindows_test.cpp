// SPDX-License-Identifier: GPL-3.0-or-later
// Sliding-window spans and profiles of Tajima's D and ZnS, window-file lines, and the group
// report lines of the neutrality and LD dialogs.
#include "analysis/NeutralityWindows.h"

#include <gtest/gtest.h>

#include <cmath>

#include "MutTables.h"
#include "analysis/Neutrality.h"
#include "analysis/NeutralityReport.h"

namespace {

tmutholder Profiled() {
  // Ten sequences, mutations at 2, 4, 6 (linked), 15, 17 (a singleton), 33 and 35.
  return TableOf({{2, "1111000000"},
                  {4, "1111000000"},
                  {6, "1110000000"},
                  {15, "0000011100"},
                  {17, "1000000000"},
                  {33, "0011001100"},
                  {35, "0011001110"}},
                 10);
}

TEST(NeutralityWindows, ProfilesMatchTheStatisticsOfEachSpan) {
  const tmutholder t = Profiled();
  const samptype all = Everyone(10);
  const std::vector<WindowSpan> spans = SlidingWindows(1, 40, 10, 5);
  const std::vector<NeutralityWindowPoint> d = TajimaDWindows(t, all, spans, kSiteAll, kMutAll);
  const std::vector<NeutralityWindowPoint> z = ZnSWindows(t, all, spans, kSiteAll, kMutAll);
  ASSERT_EQ(d.size(), spans.size());
  ASSERT_EQ(z.size(), spans.size());
  for (std::size_t w = 0; w < spans.size(); ++w) {
    SCOPED_TRACE(w);
    EXPECT_EQ(d[w].value, tajimaD(t, spans[w].start, spans[w].end, all, kSiteAll, kMutAll));
    EXPECT_NEAR(z[w].value, kellyZnS(t, spans[w].start, spans[w].end, all), 1e-12);
    EXPECT_EQ(d[w].segregating, z[w].segregating);
  }
  // Windows of ten columns (they spanned eleven, 1..11, before): 1..10 has x = 5.5, rounded
  // to 6, and three segregating sites; 21..30 holds none.
  ASSERT_EQ(spans.size(), 7u);
  EXPECT_EQ(d[0].x, 6);
  EXPECT_EQ(d[0].segregating, 3);
  EXPECT_EQ(d[4].start, 21);
  EXPECT_EQ(d[4].segregating, 0);
  EXPECT_EQ(NeutralityWindowLine("ds", d[4], false), "ds,21,30,SegrS=,0,TajimaD:,NA");
  EXPECT_EQ(NeutralityWindowLine("ds", z[4], true), "ds,21,30,SegrS=,0,ZnS:,NA");
  // 1..10: r^2 of (2, 4) = 1; (2, 6) and (4, 6): pA .4, pB .3, pAB .3: D = .18,
  // r^2 = .0324 / (.24 * .21) = 9/14. ZnS = 2 (1 + 9/7) / 6.
  EXPECT_NEAR(z[0].value, (1 + 9.0 / 7.0) / 3.0, 1e-12);
  EXPECT_EQ(NeutralityWindowLine("ds", z[0], true), "ds,1,10,SegrS=,3,ZnS:,0.7619");
}

TEST(NeutralityGroupReport, LinesInOrderWithErrorText) {
  const tmutholder t = TableOf({{7, "1000"}}, 4);
  NeutralityChoices c;
  c.fuLiDstar = c.fuLiFstar = c.wallB = c.wallQ = c.kellyZnS = true;
  GroupStatsText r = NeutralityGroupReport(t, nullptr, Everyone(4), 4, 0, 0, kSiteAll, kMutAll, c);
  // Tajima's D and D* = -1.5 / sqrt(6); F* = -0.25 / sqrt(3/11) (see Neutrality_test).
  EXPECT_EQ(r.text,
            "Neutrality tests & stats:\r\n"
            "Tajima D = -0.6124\r\n"
            "Fu and Li D* = -0.6124\r\n"
            "Fu and Li F* = -0.4787\r\n"
            "Wall B = 0.0000\r\n"
            "Wall Q = 0.0000\r\n"
            "Kelly ZnS = -1.0000\r\n");
  ASSERT_EQ(r.stats.size(), 6u);
  EXPECT_EQ(r.stats[0].first, "Tajima_D");
  EXPECT_EQ(r.stats[5].first, "Kelly ZnS");
  // A sample without segregating sites.
  samptype quiet(4);
  for (int k : {1, 2, 3}) quiet.Set(k);
  r = NeutralityGroupReport(t, nullptr, quiet, 3, 0, 0, kSiteAll, kMutAll, NeutralityChoices{});
  EXPECT_EQ(r.text, "Neutrality tests & stats:\r\nTajima D = Error\r\n");
  EXPECT_EQ(r.stats[0].second, kNeutralityError);
  // One sequence in the group: nothing.
  EXPECT_TRUE(NeutralityGroupReport(t, nullptr, quiet, 1, 0, 0, kSiteAll, kMutAll, c).text.empty());
}

TEST(NeutralityGroupReport, OutgroupLineCountsMutations) {
  std::vector<MutSpec> specs;
  int pos = 10;
  for (int k : {1, 1, 2, 3, 5, 9}) {
    std::string rows = FirstCarriers(k, 10);
    if (pos == 20) rows = "0100000000";
    specs.push_back({pos, rows, true, k == 1});
    pos += 10;
  }
  const tmutholder div = TableOf(specs, 10);
  NeutralityChoices c;
  c.tajimaD = false;
  c.fuLiDoutgroup = true;
  c.wallB = true;
  GroupStatsText r = NeutralityGroupReport(div, &div, Everyone(10), 10, 0, 0, kSiteAll, kMutAll, c);
  EXPECT_EQ(r.text,
            "Neutrality tests & stats:\r\n"
            "Fu and Li D with outgroup = 0.0820 (based on 6 mutations with 2 of them on terminal "
            "branches)\r\n"
            "Wall B = 0.0000\r\n");
  // No divergence table: no outgroup line.
  r = NeutralityGroupReport(div, nullptr, Everyone(10), 10, 0, 0, kSiteAll, kMutAll, c);
  EXPECT_EQ(r.text, "Neutrality tests & stats:\r\nWall B = 0.0000\r\n");
  // Checked alone, the outgroup test still gets its heading and line.
  c.wallB = false;
  r = NeutralityGroupReport(div, &div, Everyone(10), 10, 0, 0, kSiteAll, kMutAll, c);
  EXPECT_EQ(r.text,
            "Neutrality tests & stats:\r\n"
            "Fu and Li D with outgroup = 0.0820 (based on 6 mutations with 2 of them on terminal "
            "branches)\r\n");
  ASSERT_EQ(r.stats.size(), 1u);
  EXPECT_EQ(r.stats[0].first, "Fu and Li D(outgr)");
  EXPECT_TRUE(NeutralityGroupReport(div, nullptr, Everyone(10), 10, 0, 0, kSiteAll, kMutAll, c)
                  .text.empty());
}

TEST(LDGroupReport, UsesSnpsWithEnoughCarriers) {
  // The singleton at 3 is left out: the two linked SNPs remain, B = Q = ZnS = 1.
  const tmutholder t = TableOf({{1, "1100"}, {3, "0010"}, {5, "1100"}}, 4);
  const GroupStatsText r = LDGroupReport(t, Everyone(4), 4, 0, 0, LDSummaryChoices{});
  EXPECT_EQ(r.text,
            "Only 2 mutations with frequency of at least 2 were used for LD analysis\r\n"
            "LD summary stats:\r\n"
            "Wall B = 1.0000\r\n"
            "Wall Q = 1.0000\r\n"
            "Kelly ZnS = 1.0000\r\n"
            "\r\n");
  ASSERT_EQ(r.stats.size(), 3u);
  EXPECT_EQ(r.stats[1].first, "Wall_Q");
}

}  // namespace
