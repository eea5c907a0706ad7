// SPDX-License-Identifier: GPL-3.0-or-later
// TExtProg: the one runner of outside programs (aligners, base callers), on QProcess. A program
// runs in a private temporary folder made for that run; waiting keeps the window alive and
// Escape stops the program once the user confirms.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/Services.h"

class QProcess;
class QTemporaryDir;

// An outside program: the program's folder is searched first under each of folderNames, then
// PATH under debianName. Empty when none is found.
std::string FindProgram(const std::string& programFolder,
                        const std::vector<std::string>& folderNames, const std::string& debianName);

// A folder of its own for one run, removed with everything in it when the object goes.
class WorkFolder {
 public:
  WorkFolder();
  ~WorkFolder();
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;
  [[nodiscard]] bool Valid() const;
  [[nodiscard]] std::string Path() const;
  [[nodiscard]] std::string File(const std::string& name) const;

 private:
  std::unique_ptr<QTemporaryDir> dir_;
};

// The waiting spinner: on tick n it becomes '|' when n is a multiple of 3, '-' of 2, '\' of 5
// and '/' of 7, the last rule that holds winning; otherwise it keeps its character.
char SpinnerAt(int n, char current);

class TExtProg {
 public:
  explicit TExtProg(Services& services);
  ~TExtProg();  // stops a program still running
  TExtProg(const TExtProg&) = delete;
  TExtProg& operator=(const TExtProg&) = delete;

  // Starts program with its arguments in folder and returns at once: 0, or -1 when it could
  // not be started (ErrorOutput says why).
  int Start(const std::string& program, const std::vector<std::string>& arguments,
            const std::string& folder);
  [[nodiscard]] bool IsRunning() const;
  // Ends the program at once.
  void Stop();

  // Waits for the started program to end. Every 100 ms status(spinner) goes to the status line
  // and pending events run; when the cancel flag is up, cancelQuestion is asked, and Yes stops
  // the program (false), No lowers the flag and waits on. True once the program has ended.
  bool Wait(const std::function<std::string(char spinner)>& status,
            const std::string& cancelQuestion);

  // Start and Wait in one: the exit code; 1 with "Could not execute the application" when the
  // program cannot be started; -2 when the user stopped it.
  int RunAndWait(const std::string& program, const std::vector<std::string>& arguments,
                 const std::string& folder, const std::string& statusText);

  // After Wait: whether the program ended by itself with exit code 0.
  [[nodiscard]] bool Succeeded() const;
  [[nodiscard]] int ExitCode() const { return exitCode_; }
  // What the program wrote to its error channel (its last 2000 characters), or why it could
  // not start or ended abnormally.
  [[nodiscard]] std::string ErrorOutput() const;
  [[nodiscard]] std::string StandardOutput() const { return output_; }

 private:
  Services& services_;
  std::unique_ptr<QProcess> process_;
  std::string program_;
  std::string output_, errors_;
  int exitCode_ = 0;
  bool crashed_ = false;
  bool started_ = false;
  void Collect();
};
