// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/FileMask.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

TEST(MatchesFileMask, StarsAndQuestionMarksIgnoringCase) {
  EXPECT_TRUE(MatchesFileMask("adh.fasta", "*.fasta"));
  EXPECT_TRUE(MatchesFileMask("ADH.FASTA", "*.fasta"));
  EXPECT_FALSE(MatchesFileMask("adh.fasta.bak", "*.fasta"));
  EXPECT_FALSE(MatchesFileMask("adh.fas", "*.fasta"));
  EXPECT_TRUE(MatchesFileMask("read07.ab1", "read??.ab1"));
  EXPECT_FALSE(MatchesFileMask("read7.ab1", "read??.ab1"));
  EXPECT_TRUE(MatchesFileMask("a.b.c", "*.*"));
  EXPECT_TRUE(MatchesFileMask("x", "*"));
  EXPECT_TRUE(MatchesFileMask("seq.fas", "*.fasta; *.fas"));
  EXPECT_FALSE(MatchesFileMask("seq.txt", "*.fasta;*.fas"));
  EXPECT_FALSE(MatchesFileMask("seq.fas", ""));
  // Many stars against a long name that fails at the end: must finish quickly.
  EXPECT_FALSE(MatchesFileMask(std::string(5000, 'a'), "*a*a*a*a*a*a*a*a*a*b"));
}

TEST(FilesMatching, ListsMatchingRegularFilesSortedAndNothingForAMissingFolder) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("nodrix_mask_" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(dir / "sub.fasta");
  for (const char* name : {"b.fasta", "a.fasta", "c.fas", "d.FASTA"})
    std::ofstream(dir / name) << ">x\n";
  const auto files = FilesMatching(dir.string(), "*.fasta");
  ASSERT_EQ(files.size(), 3u);  // the folder named sub.fasta is not a file
  EXPECT_EQ(std::filesystem::path(files[0]).filename(), "a.fasta");
  EXPECT_EQ(std::filesystem::path(files[1]).filename(), "b.fasta");
  EXPECT_EQ(std::filesystem::path(files[2]).filename(), "d.FASTA");
  EXPECT_TRUE(FilesMatching((dir / "none").string(), "*").empty());
  std::filesystem::remove_all(dir);
  EXPECT_EQ(WithTrailingSeparator("/data/reads"), "/data/reads/");
  EXPECT_EQ(WithTrailingSeparator("/data/reads/"), "/data/reads/");
}
