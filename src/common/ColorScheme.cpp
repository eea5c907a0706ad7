// SPDX-License-Identifier: GPL-3.0-or-later
// Default colour scheme and the main window's colour menu.
#include "common/ColorScheme.h"

namespace {
constexpr std::int32_t kWhite = RgbColor(255, 255, 255);
constexpr std::int32_t kBlack = RgbColor(0, 0, 0);
constexpr std::int32_t kRed = RgbColor(255, 0, 0);
constexpr std::int32_t kGray = RgbColor(128, 128, 128);
constexpr std::int32_t kPurple = RgbColor(128, 0, 128);
constexpr std::int32_t kBlue = RgbColor(0, 0, 255);
constexpr std::int32_t kYellow = RgbColor(255, 255, 0);
constexpr std::int32_t kGreen = RgbColor(0, 128, 0);
constexpr std::int32_t kMaroon = RgbColor(128, 0, 0);
}  // namespace

ColorScheme DefaultColorScheme() {
  return ColorScheme{
      kWhite,  kRed,   kGray,  kBlack, kPurple, kBlue,  kRed,  kBlue,  kYellow, kGray,
      kYellow, kBlack, kBlack, kGreen, kRed,    kBlack, kBlue, kBlack, kWhite,  kMaroon,
      kGray,   5,      5,      7,      7,       5,      5,     5,      3,
  };
}

const std::array<ColorMenuItem, 16>& MainColorMenuItems() {
  static const std::array<ColorMenuItem, 16> items{{
      {kSelectedBlockColor, "Se&lected..."},
      {kSeqLineColor, "&Sequence line..."},
      {kExonColor, "&Exon..."},
      {kIntronColor, "&Intron..."},
      {kCodingColor, "C&oding..."},
      {kNoncodingColor, "&Noncoding..."},
      {kSnpColor, "SN&P..."},
      {kMiscRegionColor, "&Misc-region..."},
      {kPrimerColor, "&Primer..."},
      {kCursorColor, "C&ursor..."},
      {kLetterAColor, "&A-color..."},
      {kLetterTColor, "&T-color..."},
      {kLetterGColor, "&G-color..."},
      {kLetterCColor, "&C-color..."},
      {kBackgroundColor, "&Background..."},
      {kOtherLetterColor, "&N-color..."},
  }};
  return items;
}
