// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ColorScheme.h"

#include <gtest/gtest.h>

#include <set>

TEST(DefaultColorScheme, LettersRegionsAndMetricsStartAtTheirDefaults) {
  const ColorScheme s = DefaultColorScheme();
  EXPECT_EQ(s[kLetterAColor], 0x008000);  // green
  EXPECT_EQ(s[kLetterTColor], 0xFF0000);  // red
  EXPECT_EQ(s[kLetterGColor], 0x000000);
  EXPECT_EQ(s[kLetterCColor], 0x0000FF);      // blue
  EXPECT_EQ(s[kOtherLetterColor], 0x800000);  // maroon
  EXPECT_EQ(s[kBackgroundColor], 0xFFFFFF);
  EXPECT_EQ(s[kExonColor], 0x800080);  // purple
  EXPECT_EQ(s[kSnpColor], 0xFFFF00);   // yellow
  EXPECT_EQ(s[kIndelColor], 0x808080);
  const int metrics[] = {5, 5, 7, 7, 5, 5, 5, 3};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(s[kFirstMetricSlot + i], metrics[i]) << i;
  EXPECT_EQ(RedOf(RgbColor(12, 34, 56)), 12);
  EXPECT_EQ(GreenOf(RgbColor(12, 34, 56)), 34);
  EXPECT_EQ(BlueOf(RgbColor(12, 34, 56)), 56);
}

TEST(MainColorMenuItems, OffersSixteenDistinctColourSlotsAndNoMetric) {
  std::set<int> slots;
  for (const auto& item : MainColorMenuItems()) {
    EXPECT_LT(item.slot, kFirstMetricSlot) << item.caption;
    slots.insert(item.slot);
  }
  EXPECT_EQ(slots.size(), 16u);
  EXPECT_EQ(slots.count(kSelectedSeqColor), 0u);  // only the editor window offers it
}
