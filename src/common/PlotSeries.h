// SPDX-License-Identifier: GPL-3.0-or-later
// Plot series handed from the analyses to the plot viewer: tser with its TSerPoint values.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct TSerPoint {
  double x = 0;
  double y = 0;
  double yMin = 0;
  double yMax = 0;
  int screenX = 0;  // pixel column of the last paint
  std::string label;
};

// Colours are 0x00BBGGRR, as the program always stored them (255 = pure red).
struct tser {
  std::string name;
  int pointSize = 5;
  std::uint8_t shape = 0;  // 0 circle, 1 square, 2 diamond, 3 triangle up, 4 triangle down
  bool visible = true;
  std::uint32_t lineColor = 0;
  std::uint32_t fillColor = 255;
  std::vector<TSerPoint> points;
};

inline constexpr std::uint32_t kColorBlue = 0xFF0000;
inline constexpr std::uint32_t kColorRed = 0x0000FF;
inline constexpr std::uint32_t kColorGreen = 0x008000;
