// SPDX-License-Identifier: GPL-3.0-or-later
// Services of the command-line tool: messages and questions on stderr, a text progress line.
#pragma once
#include <map>
#include <string>

#include "common/Services.h"
#include "model/GenCodUnit.h"

// Questions are answered without asking: a question whose text begins with a key of
// `answers` gets that answer (what the command's own options decide); the others Yes with
// answerAll 1, else No. With verbose each question and its answer is echoed on stderr, so a
// script's log shows what was decided.
class StderrMessages final : public IMessages {
 public:
  std::map<std::string, bool> answers;
  int answerAll = 0;
  bool verbose = false;
  int errorCount = 0;
  void ReportError(const std::string& text) override;
  bool AskYesNo(const std::string& question) override;
  void Notify(const std::string& text) override;
};

// A progress line on stderr, redrawn in place only when stderr is a terminal.
class TextProgress final : public IProgress {
 public:
  void StartProgress(int max, const std::string& text) override;
  void StepProgress(bool processEvents) override;
  void ShowStatus(const std::string& text, bool step, bool processEvents) override;
  void EndProgress() override;
  bool cancelRequested() const override { return false; }

 private:
  void Draw();
  bool tty_ = false;
  int max_ = 0, pos_ = 0;
  std::string text_;
};

struct CliServices {
  StderrMessages messages;
  TextProgress progress;
  AppSettings settings;
  TGenCode genCode{"Universal"};
  Services services{messages, progress, settings, genCode};
};

// "\r\n" in the program's texts becomes one blank on a terminal line.
std::string OneLine(std::string text);
