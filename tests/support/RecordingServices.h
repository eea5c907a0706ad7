// SPDX-License-Identifier: GPL-3.0-or-later
// Services for tests: records every message and progress call, answers questions from a script.
#pragma once
#include <deque>
#include <string>
#include <vector>

#include "common/Services.h"
#include "model/GenCodUnit.h"

class RecordingMessages final : public IMessages {
 public:
  std::vector<std::string> errors;
  std::vector<std::string> questions;
  std::vector<std::string> notices;
  std::deque<bool> answers;  // next answers to AskYesNo; No once exhausted
  void ReportError(const std::string& text) override { errors.push_back(text); }
  bool AskYesNo(const std::string& question) override;
  void Notify(const std::string& text) override { notices.push_back(text); }
};

class RecordingProgress final : public IProgress {
 public:
  int starts = 0, steps = 0, ends = 0;
  std::vector<std::string> statuses;
  int cancelAfterSteps = -1;   // the cancel flag rises once this many steps have processed events
  int cancelAfterStatuses = -1;  // ... or once this many status lines have processed events
  int clears = 0;                // ClearCancel calls; the counts above start again
  void StartProgress(int max, const std::string& text) override;
  void StepProgress(bool processEvents) override;
  void ShowStatus(const std::string& text, bool step, bool processEvents) override;
  void EndProgress() override { ++ends; }
  bool cancelRequested() const override { return cancelled; }
  void ClearCancel() override;
  // Long steps report on every unit here; the cancel flag rises at the given report.
  int stepReports = 0;
  int cancelAtStepReport = -1;
  void ShowStepProgress(const std::string& status, long long done, long long total) override;
  int StepIntervalMs() const override { return 0; }

 private:
  int eventSteps = 0;
  int eventStatuses = 0;
  bool cancelled = false;
  bool inStep = false;
  std::string beforeStep;
};

// Everything a command needs, owned in one place.
struct RecordingServices {
  RecordingMessages messages;
  RecordingProgress progress;
  AppSettings settings;
  TGenCode genCode{"Universal"};
  Services services{messages, progress, settings, genCode};
  operator Services&() { return services; }
};

// Splits text at line ends, for comparing message lists.
std::vector<std::string> Lines(const std::string& text);
