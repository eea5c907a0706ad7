// SPDX-License-Identifier: GPL-3.0-or-later
// StepTicker: progress and cancel inside one long step of a command (a distance matrix, the
// joins of a tree, a scan over thousands of columns), where a single step of the command's own
// bar would leave the window without events for seconds.
#pragma once
#include <chrono>
#include <string>

#include "common/Services.h"

class StepTicker {
 public:
  // progress may be nullptr: then Tick only counts and never stops the step.
  StepTicker(IProgress* progress, std::string status, long long total);
  ~StepTicker();  // gives the bar back to the command when the step reported at all
  StepTicker(const StepTicker&) = delete;
  StepTicker& operator=(const StepTicker&) = delete;

  // Called once per unit of the step (a row, a join, a replicate): cheap while the interval
  // has not passed; then shows done of total and processes events. True when the user has
  // cancelled: the step stops and leaves no partial result.
  [[nodiscard]] bool Tick(long long done);
  [[nodiscard]] bool Cancelled() const { return cancelled_; }

 private:
  IProgress* progress_;
  std::string status_;
  long long total_;
  std::chrono::steady_clock::duration interval_;
  std::chrono::steady_clock::time_point next_;
  bool reported_ = false;
  bool cancelled_ = false;
};
