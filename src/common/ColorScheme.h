// SPDX-License-Identifier: GPL-3.0-or-later
// The colour scheme of the sequence grid: 29 int32 slots (colours, then drawing metrics).
#pragma once
#include <array>
#include <cstdint>

// A colour is held as 0x00RRGGBB.
constexpr std::int32_t RgbColor(int red, int green, int blue) {
  return static_cast<std::int32_t>(((red & 0xFF) << 16) | ((green & 0xFF) << 8) | (blue & 0xFF));
}
constexpr int RedOf(std::int32_t color) {
  return (color >> 16) & 0xFF;
}
constexpr int GreenOf(std::int32_t color) {
  return (color >> 8) & 0xFF;
}
constexpr int BlueOf(std::int32_t color) {
  return color & 0xFF;
}

// Slot numbers; 11 and 17 are spare, 21..28 are drawing metrics of the grid.
enum ColorSlot : int {
  kSelectedSeqColor = 0,
  kSelectedBlockColor = 1,
  kDisabledSeqColor = 2,
  kSeqLineColor = 3,
  kExonColor = 4,
  kIntronColor = 5,
  kCodingColor = 6,
  kNoncodingColor = 7,
  kSnpColor = 8,
  kMiscRegionColor = 9,
  kPrimerColor = 10,
  kCursorColor = 12,
  kLetterAColor = 13,
  kLetterTColor = 14,
  kLetterGColor = 15,
  kLetterCColor = 16,
  kBackgroundColor = 18,
  kOtherLetterColor = 19,
  kIndelColor = 20,
  kFirstMetricSlot = 21,
};

constexpr int kColorSchemeSlots = 29;
using ColorScheme = std::array<std::int32_t, kColorSchemeSlots>;

ColorScheme DefaultColorScheme();

// Colour slots the main window's Colors menu offers, in menu order, with their captions.
struct ColorMenuItem {
  int slot;
  const char* caption;
};
const std::array<ColorMenuItem, 16>& MainColorMenuItems();
