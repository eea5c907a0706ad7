// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "analysis/SiteColumns.h"

namespace {

// Rows of slot s as a string of '0' and '1'.
std::string Members(const ColumnSlots& col, int s, int n) {
  std::string out;
  for (int r = 0; r < n; ++r) out += ((col.Slot(s)[r / 64] >> (r % 64)) & 1u) ? '1' : '0';
  return out;
}

}  // namespace

TEST(ColumnSlots, ABuilderReusedOverColumnsOfOtherLettersHoldsOnlyTheNewColumn) {
  // 130 rows: two whole words and a part word. The slot blocks a column gets stay with the
  // builder, so each later column must clear what the earlier ones left in them.
  const int n = 130;
  std::string first(n, 'A');
  for (int r = 0; r < n; r += 3) first[static_cast<std::size_t>(r)] = 'g';
  std::string second(n, 'T');
  second[5] = 'x';
  second[129] = 'N';
  second[64] = '!';
  ColumnSlots col;
  col.Build(1, first.data(), n);
  col.Build(2, second.data(), n);
  const int t = SlotOfLetter('T'), nSlot = SlotOfLetter('N');
  EXPECT_EQ(col.used & (std::uint64_t{1} << SlotOfLetter('A')), 0u);
  EXPECT_EQ(col.used & (std::uint64_t{1} << SlotOfLetter('G')), 0u);
  std::string expectT(n, '1');
  expectT[5] = expectT[129] = expectT[64] = '0';
  EXPECT_EQ(Members(col, t, n), expectT);
  EXPECT_EQ(Members(col, nSlot, n), std::string(129, '0') + "1");
  int odd = -1;
  for (int s = 0; s < kMaxSlots; ++s)
    if (((col.used >> s) & 1u) && col.letter[static_cast<std::size_t>(s)] == 'X') odd = s;
  ASSERT_GE(odd, 0);
  EXPECT_EQ(Members(col, odd, n), std::string(5, '0') + "1" + std::string(124, '0'));

  col.Build(3, first.data(), n);  // back to the first column: T, N and X are gone
  EXPECT_EQ(col.used,
            (std::uint64_t{1} << SlotOfLetter('A')) | (std::uint64_t{1} << SlotOfLetter('G')));
  std::string expectG(n, '0');
  for (int r = 0; r < n; r += 3) expectG[static_cast<std::size_t>(r)] = '1';
  EXPECT_EQ(Members(col, SlotOfLetter('G'), n), expectG);
  EXPECT_EQ(col.CountIn(SlotOfLetter('A'), samptype(n)), 0);

  // Both cases of one letter share its slot, whichever case the first row of a word holds.
  std::string mixed(n, 'a');
  for (int r = 1; r < n; r += 2) mixed[static_cast<std::size_t>(r)] = 'A';
  mixed[70] = 'C';
  col.Build(4, mixed.data(), n);
  std::string expectA(n, '1');
  expectA[70] = '0';
  EXPECT_EQ(Members(col, SlotOfLetter('A'), n), expectA);
  EXPECT_EQ(Members(col, SlotOfLetter('C'), n), std::string(70, '0') + "1" + std::string(59, '0'));
}
