// SPDX-License-Identifier: GPL-3.0-or-later
// Stderr messages and the text progress line of nodrix3-cli.
#include "CliServices.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>

std::string OneLine(std::string text) {
  for (std::size_t p = 0; (p = text.find("\r\n", p)) != std::string::npos;) text.replace(p, 2, " ");
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  return text;
}

void StderrMessages::ReportError(const std::string& text) {
  ++errorCount;
  std::cerr << "nodrix3-cli: " << OneLine(text) << '\n';
}

bool StderrMessages::AskYesNo(const std::string& question) {
  bool yes = answerAll > 0;
  for (const auto& [prefix, answer] : answers)
    if (question.starts_with(prefix)) yes = answer;
  if (verbose)
    std::cerr << "nodrix3-cli: " << OneLine(question) << " [" << (yes ? "Yes" : "No") << "]\n";
  return yes;
}

void StderrMessages::Notify(const std::string& text) {
  std::cerr << "nodrix3-cli: " << OneLine(text) << '\n';
}

void TextProgress::StartProgress(int max, const std::string& text) {
  tty_ = isatty(STDERR_FILENO) != 0;
  max_ = max;
  pos_ = 0;
  text_ = OneLine(text);
  Draw();
}

void TextProgress::StepProgress(bool) {
  ++pos_;
  Draw();
}

void TextProgress::ShowStatus(const std::string& text, bool step, bool) {
  text_ = OneLine(text);
  if (step) ++pos_;
  Draw();
}

void TextProgress::EndProgress() {
  if (tty_ && max_ > 0) std::cerr << '\n';
  max_ = 0;
}

void TextProgress::Draw() {
  if (!tty_ || max_ <= 0) return;
  std::cerr << '\r' << text_ << ' ' << pos_ << '/' << max_ << std::flush;
}
