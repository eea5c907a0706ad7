// SPDX-License-Identifier: GPL-3.0-or-later
// The interfaces through which core code reports, asks and shows progress without a window.
#pragma once
#include <string>

#include "common/AppSettings.h"

class TGenCode;

// Message pane, questions and notices. The main window shows them; tests record them.
struct IMessages {
  virtual ~IMessages() = default;
  // Appends a line to the message pane (dropped when reporting is switched off).
  virtual void ReportError(const std::string& text) = 0;
  // A Yes/No question; true means Yes.
  virtual bool AskYesNo(const std::string& question) = 0;
  // A plain notice the user acknowledges.
  virtual void Notify(const std::string& text) = 0;
};

// Status line, progress bar and the cancel flag (Escape, a dialog's Cancel button).
struct IProgress {
  virtual ~IProgress() = default;
  virtual void StartProgress(int max, const std::string& text) = 0;
  // Advances the bar by one; with processEvents pending interface events run, which is the
  // only moment the cancel flag can change.
  virtual void StepProgress(bool processEvents) = 0;
  virtual void ShowStatus(const std::string& text, bool step, bool processEvents) = 0;
  virtual void EndProgress() = 0;
  [[nodiscard]] virtual bool cancelRequested() const = 0;
  // Lowers the cancel flag when the user, asked, chooses to go on after all.
  virtual void ClearCancel() {}
  // Where a long step inside the running command has got to (a distance matrix, the joins of
  // a tree, a site scan): the status names the step, the bar shows done of total, pending
  // events are processed. total 0 ends the step and gives the bar back to the command. Steps
  // report through StepTicker, which calls this at most once per StepInterval.
  virtual void ShowStepProgress(const std::string& status, long long done, long long total) {
    if (total > 0) ShowStatus(status, false, true);
  }
  // How often a long step reports (and so how soon it sees a cancel).
  [[nodiscard]] virtual int StepIntervalMs() const { return 50; }
};

// What a command needs from the program around it. Passed by reference, never global.
struct Services {
  IMessages& messages;
  IProgress& progress;
  AppSettings& settings;
  TGenCode& genCode;
};

// Starts the bar on construction and ends it on every exit path.
class ProgressScope {
 public:
  ProgressScope(IProgress& progress, int max, const std::string& text) : progress_(progress) {
    progress_.StartProgress(max, text);
  }
  ~ProgressScope() { progress_.EndProgress(); }
  ProgressScope(const ProgressScope&) = delete;
  ProgressScope& operator=(const ProgressScope&) = delete;
  void Step(bool processEvents) { progress_.StepProgress(processEvents); }
  [[nodiscard]] bool Cancelled() const { return progress_.cancelRequested(); }

 private:
  IProgress& progress_;
};

// Services that say nothing, answer No and never cancel: fuzzers, benchmarks, batch work.
class QuietMessages final : public IMessages {
 public:
  void ReportError(const std::string&) override {}
  bool AskYesNo(const std::string&) override { return false; }
  void Notify(const std::string&) override {}
};

class NullProgress final : public IProgress {
 public:
  void StartProgress(int, const std::string&) override {}
  void StepProgress(bool) override {}
  void ShowStatus(const std::string&, bool, bool) override {}
  void EndProgress() override {}
  bool cancelRequested() const override { return false; }
};
