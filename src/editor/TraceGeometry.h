// SPDX-License-Identifier: GPL-3.0-or-later
// Arithmetic of the trace view: which samples are shown, where a sample is drawn, which letter a
// click hits. Samples are 0-based indexes into the channels; letters are 1-based positions.
#pragma once
#include <cstdint>
#include <vector>

struct TraceWindow {
  int firstSample = 100;
  double scale = 1.0;    // pixels per sample
  double yScale = 0.05;  // pixels per unit of signal
  int margin = 3;
};

// First sample that keeps the peak visible: when peak + 45 pixels lies beyond the right edge,
// peak - round((width - 45) / scale); when the peak lies less than 9 samples after the first
// sample, peak - 9; never below 0.
int FirstSampleForPeak(int peak, int firstSample, int width, double scale);
// Pixel of a sample (margin + (sample - first) * scale), clamped far inside int.
double SampleX(const TraceWindow& window, double sample);
// Range of samples drawn in a box of the given width: [first, last] clipped to the channel.
struct SampleRange {
  int first = 0;
  int last = -1;  // last < first: nothing to draw
};
SampleRange VisibleSamples(const TraceWindow& window, int width, int channelLength);
// y of a signal value: bottom - yScale * value, clipped to top..bottom.
int SignalY(double value, double yScale, int top, int bottom);

// Letter hit by a click at x in a shown trace: the first peak at or after the sample
// x / scale + first sample; a click past the last peak gives the last letter; 0 without peaks.
int LetterAtTraceX(int x, const TraceWindow& window, const std::vector<std::int32_t>& peaks);
// Letter hit by a click in the overview: x * length / width, within 1..length (0 when empty).
int LetterAtOverviewX(int x, int width, int length);
