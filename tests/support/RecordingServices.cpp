// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/RecordingServices.h"

bool RecordingMessages::AskYesNo(const std::string& question) {
  questions.push_back(question);
  if (answers.empty()) return false;
  const bool answer = answers.front();
  answers.pop_front();
  return answer;
}

void RecordingProgress::StartProgress(int, const std::string& text) {
  ++starts;
  statuses.push_back(text);
}

void RecordingProgress::StepProgress(bool processEvents) {
  ++steps;
  if (processEvents && cancelAfterSteps >= 0 && ++eventSteps >= cancelAfterSteps) cancelled = true;
}

void RecordingProgress::ShowStatus(const std::string& text, bool step, bool processEvents) {
  statuses.push_back(text);
  if (step) StepProgress(processEvents);
  if (processEvents && !step && cancelAfterStatuses >= 0 && ++eventStatuses >= cancelAfterStatuses)
    cancelled = true;
}

void RecordingProgress::ClearCancel() {
  ++clears;
  cancelled = false;
  eventSteps = eventStatuses = 0;
}

void RecordingProgress::ShowStepProgress(const std::string& status, long long, long long total) {
  // As the main window does: the step's end gives the status line back to the command.
  if (total <= 0) {
    if (inStep) statuses.push_back(beforeStep);
    inStep = false;
    return;
  }
  if (!inStep) beforeStep = statuses.empty() ? std::string() : statuses.back();
  inStep = true;
  ++stepReports;
  if (statuses.empty() || statuses.back() != status) statuses.push_back(status);
  if (stepReports == cancelAtStepReport) cancelled = true;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      if (start < text.size()) out.push_back(text.substr(start));
      break;
    }
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out.push_back(line);
    start = end + 1;
  }
  return out;
}
