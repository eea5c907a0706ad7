// SPDX-License-Identifier: GPL-3.0-or-later
// A progress bar of 1000 steps that follows the bytes a reader has consumed, so a large file
// moves it evenly whatever its lines or records hold.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>

#include "common/Services.h"

class ByteProgress {
 public:
  static constexpr int kSteps = 1000;
  ByteProgress(IProgress& progress, std::uint64_t totalBytes, const std::string& text)
      : bar_(progress, kSteps, text), total_(totalBytes) {}
  // Steps the bar up to the share of the bytes read; events run at each step.
  void At(std::uint64_t bytesRead) {
    if (total_ == 0) return;
    const std::uint64_t want = std::min<std::uint64_t>(bytesRead, total_) * kSteps / total_;
    while (done_ < want) {
      bar_.Step(true);
      ++done_;
    }
  }

 private:
  ProgressScope bar_;
  std::uint64_t total_;
  std::uint64_t done_ = 0;
};
