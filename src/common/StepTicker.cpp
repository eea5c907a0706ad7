// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/StepTicker.h"

#include <algorithm>

StepTicker::StepTicker(IProgress* progress, std::string status, long long total)
    : progress_(progress), status_(std::move(status)), total_(std::max(1LL, total)) {
  interval_ = std::chrono::milliseconds(progress_ != nullptr ? progress_->StepIntervalMs() : 0);
  next_ = std::chrono::steady_clock::now() + interval_;
}

StepTicker::~StepTicker() {
  if (reported_) progress_->ShowStepProgress({}, 0, 0);
}

bool StepTicker::Tick(long long done) {
  if (progress_ == nullptr) return false;
  // Work nested in the step (a tree per bootstrap replicate) may have let the cancel in.
  if (cancelled_ || (cancelled_ = progress_->cancelRequested())) return true;
  const auto now = std::chrono::steady_clock::now();
  if (now < next_) return false;
  next_ = now + interval_;
  reported_ = true;
  progress_->ShowStepProgress(status_, std::clamp(done, 0LL, total_), total_);
  cancelled_ = progress_->cancelRequested();
  return cancelled_;
}
