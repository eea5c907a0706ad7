// SPDX-License-Identifier: GPL-3.0-or-later
// Arithmetic of the trace view.
#include "editor/TraceGeometry.h"

#include <algorithm>
#include <cmath>

#include "common/NumberFormat.h"

namespace {
constexpr double kPixelLimit = 1073741824.0;

double SafeScale(double scale) {
  return scale > 0 ? scale : 1.0;
}
}  // namespace

int FirstSampleForPeak(int peak, int firstSample, int width, double scale) {
  scale = SafeScale(scale);
  if ((peak - firstSample) * scale + 45 > width)
    firstSample = peak - static_cast<int>(RoundHalfEven((width - 45) / scale));
  if (peak - firstSample < 9) firstSample = peak - 9;
  return std::max(firstSample, 0);
}

double SampleX(const TraceWindow& window, double sample) {
  const double x = (sample - window.firstSample) * SafeScale(window.scale);
  return window.margin + std::clamp(x, -kPixelLimit, kPixelLimit);
}

SampleRange VisibleSamples(const TraceWindow& window, int width, int channelLength) {
  const double scale = SafeScale(window.scale);
  SampleRange range;
  range.first = std::max(window.firstSample, 0);
  // One sample beyond each edge so the polyline reaches the border.
  const double lastShown = window.firstSample + std::ceil((width - window.margin) / scale) + 1;
  range.last = static_cast<int>(std::min<double>(lastShown, channelLength - 1.0));
  if (range.first > 0) --range.first;
  return range;
}

int SignalY(double value, double yScale, int top, int bottom) {
  const double y = bottom - yScale * value;
  return static_cast<int>(std::clamp(y, static_cast<double>(top), static_cast<double>(bottom)));
}

int LetterAtTraceX(int x, const TraceWindow& window, const std::vector<std::int32_t>& peaks) {
  if (peaks.empty()) return 0;
  const double sample = (x - window.margin) / SafeScale(window.scale) + window.firstSample;
  for (std::size_t i = 0; i < peaks.size(); ++i)
    if (peaks[i] >= sample) return static_cast<int>(i) + 1;
  return static_cast<int>(peaks.size());
}

int LetterAtOverviewX(int x, int width, int length) {
  if (length <= 0) return 0;
  if (width <= 0) return 1;
  const double letter = static_cast<double>(x) * length / width;
  return static_cast<int>(std::clamp(std::trunc(letter), 1.0, static_cast<double>(length)));
}
