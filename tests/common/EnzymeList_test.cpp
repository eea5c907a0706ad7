// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/EnzymeList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "support/RecordingServices.h"

TEST(ParseEnzymeList, TakesNameAndSiteAndRemovesTheCutMark) {
  const auto list = ParseEnzymeList(
      "REBASE-style list: comments without slashes are skipped\r\n"
      "EcoRI/G'AATTC/\r\n"
      "MboI/'GATC//extra/fields\n"
      "NlaIII/CATG'/\n"
      "HaeIII/GGCC\n"  // one slash only: skipped
      "Mixed/gaatTC/ignored\x1a\n");
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].name, "EcoRI");
  EXPECT_EQ(list[0].site, "GAATTC");
  EXPECT_EQ(list[0].cutOffset, 2);  // "'" is the 2nd character of G'AATTC
  EXPECT_EQ(list[1].site, "GATC");
  EXPECT_EQ(list[1].cutOffset, 1);
  EXPECT_EQ(list[2].site, "CATG");
  EXPECT_EQ(list[2].cutOffset, 5);
  EXPECT_EQ(list[3].site, "gaatTC");  // kept as written; the search upper-cases
  EXPECT_EQ(list[3].cutOffset, 0);
  EXPECT_FALSE(list[0].selected);
}

TEST(ParseEnzymeList, SkipsEmptySitesThatWouldMatchEverywhere) {
  const auto list = ParseEnzymeList("Empty//\nOnlyCut/'/\nEcoRV/GAT'ATC/\n\n/\n");
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].name, "EcoRV");
  EXPECT_EQ(list[0].cutOffset, 4);
}

TEST(LoadEnzymeList, MissingFileIsNoticedOnceAndGivesAnEmptyList) {
  RecordingServices svc;
  const auto folder = std::filesystem::temp_directory_path() /
                      ("nodrix_enzyme_test_missing_" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(folder);
  std::filesystem::remove(folder / "RENZYM.txt");
  EXPECT_TRUE(LoadEnzymeList(folder.string(), svc.messages).empty());
  EXPECT_EQ(svc.messages.notices,
            std::vector<std::string>{
                "Cannot find file RENZYM.txt - no restriction enzyme analyses will be posible"});

  std::ofstream(folder / "RENZYM.txt", std::ios::binary) << "BamHI/G'GATCC/\r\n";
  const auto list = LoadEnzymeList(folder.string(), svc.messages);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].site, "GGATCC");
  EXPECT_EQ(svc.messages.notices.size(), 1u);
  std::filesystem::remove_all(folder);
}

TEST(ShippedEnzymeList, ReadsWithTheCommonEnzymesAndTheirCutPositions) {
  RecordingServices svc;
  const auto list = LoadEnzymeList(NODRIX_BINARY_DIR, svc.messages);
  EXPECT_TRUE(svc.messages.notices.empty());
  ASSERT_GE(list.size(), 40u);
  auto find = [&](const std::string& name) -> const renzyme* {
    for (const auto& e : list)
      if (e.name == name) return &e;
    return nullptr;
  };
  // Recognition sites and cut positions from the suppliers' catalogues.
  const struct {
    const char* name;
    const char* site;
    int cut;
  } known[] = {{"EcoRI", "GAATTC", 2}, {"BamHI", "GGATCC", 2},  {"HindIII", "AAGCTT", 2},
               {"PstI", "CTGCAG", 6},  {"NotI", "GCGGCCGC", 3}, {"SmaI", "CCCGGG", 4}};
  for (const auto& k : known) {
    SCOPED_TRACE(k.name);
    const renzyme* e = find(k.name);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->site, k.site);
    EXPECT_EQ(e->cutOffset, k.cut);
  }
  for (const auto& e : list)
    EXPECT_EQ(e.site.find_first_not_of("ACGTRYKMSWBDHVN"), std::string::npos) << e.name;
}
