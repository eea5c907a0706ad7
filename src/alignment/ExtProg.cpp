// SPDX-License-Identifier: GPL-3.0-or-later
// The outside-program runner on QProcess, its program lookup and private working folders.
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "alignment/ExtProgUnit.h"

namespace {

constexpr int kPollMs = 100;
constexpr std::size_t kKeptErrorText = 2000;

std::string Executable(const QString& path) {
  const QFileInfo info(path);
  return info.isFile() && info.isExecutable() ? info.absoluteFilePath().toStdString()
                                              : std::string();
}

std::string Latin1(const QByteArray& bytes) {
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

std::string FindProgram(const std::string& programFolder,
                        const std::vector<std::string>& folderNames,
                        const std::string& debianName) {
  if (!programFolder.empty()) {
    const QDir folder(QString::fromStdString(programFolder));
    for (const std::string& name : folderNames) {
      std::string found = Executable(folder.filePath(QString::fromStdString(name)));
      if (!found.empty()) return found;
    }
  }
  if (debianName.empty()) return {};
  return QStandardPaths::findExecutable(QString::fromStdString(debianName)).toStdString();
}

WorkFolder::WorkFolder()
    : dir_(std::make_unique<QTemporaryDir>(QDir::tempPath() + "/nodrix3-XXXXXX")) {}
WorkFolder::~WorkFolder() = default;

bool WorkFolder::Valid() const {
  return dir_->isValid();
}

std::string WorkFolder::Path() const {
  return dir_->path().toStdString();
}

std::string WorkFolder::File(const std::string& name) const {
  return dir_->filePath(QString::fromStdString(name)).toStdString();
}

char SpinnerAt(int n, char current) {
  if (n % 3 == 0) current = '|';
  if (n % 2 == 0) current = '-';
  if (n % 5 == 0) current = '\\';
  if (n % 7 == 0) current = '/';
  return current;
}

TExtProg::TExtProg(Services& services) : services_(services) {}

TExtProg::~TExtProg() {
  Stop();
}

int TExtProg::Start(const std::string& program, const std::vector<std::string>& arguments,
                    const std::string& folder) {
  Stop();
  program_ = program;
  output_.clear();
  errors_.clear();
  exitCode_ = 0;
  crashed_ = false;
  started_ = false;
  process_ = std::make_unique<QProcess>();
  QStringList args;
  for (const std::string& a : arguments) args << QString::fromStdString(a);
  process_->setWorkingDirectory(QString::fromStdString(folder));
  process_->setProgram(QString::fromStdString(program));
  process_->setArguments(args);
  process_->start(QIODevice::ReadOnly);
  if (!process_->waitForStarted()) {
    errors_ = process_->errorString().toStdString();
    crashed_ = true;
    process_.reset();
    return -1;
  }
  started_ = true;
  return 0;
}

bool TExtProg::IsRunning() const {
  return process_ != nullptr && process_->state() != QProcess::NotRunning;
}

void TExtProg::Stop() {
  if (!IsRunning()) return;
  process_->kill();
  process_->waitForFinished(5000);
  crashed_ = true;
  errors_ += (errors_.empty() ? "" : "\n") + std::string("stopped");
}

void TExtProg::Collect() {
  if (process_ == nullptr) return;
  output_ += Latin1(process_->readAllStandardOutput());
  errors_ += Latin1(process_->readAllStandardError());
  if (errors_.size() > 2 * kKeptErrorText) errors_.erase(0, errors_.size() - kKeptErrorText);
}

bool TExtProg::Wait(const std::function<std::string(char spinner)>& status,
                    const std::string& cancelQuestion) {
  if (process_ == nullptr) return false;
  int tick = 0;
  char spinner = '|';
  // Reading while waiting keeps a talkative program from blocking on a full pipe.
  while (!process_->waitForFinished(kPollMs) && process_->state() != QProcess::NotRunning) {
    Collect();
    spinner = SpinnerAt(++tick, spinner);
    services_.progress.ShowStatus(status ? status(spinner) : std::string(), false, true);
    if (!services_.progress.cancelRequested()) continue;
    if (services_.messages.AskYesNo(cancelQuestion)) {
      Stop();
      return false;
    }
    services_.progress.ClearCancel();
  }
  Collect();
  crashed_ = process_->exitStatus() != QProcess::NormalExit;
  exitCode_ = process_->exitCode();
  if (crashed_) errors_ += (errors_.empty() ? "" : "\n") + process_->errorString().toStdString();
  return true;
}

int TExtProg::RunAndWait(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& folder, const std::string& statusText) {
  if (Start(program, arguments, folder) != 0) {
    services_.messages.Notify("Could not execute the application");
    return 1;
  }
  const bool ended =
      Wait([&](char spinner) { return statusText + " " + spinner; },
           "Stop " + QFileInfo(QString::fromStdString(program)).fileName().toStdString() + "?");
  if (!ended) return -2;
  return crashed_ ? 1 : exitCode_;
}

bool TExtProg::Succeeded() const {
  return started_ && !crashed_ && exitCode_ == 0;
}

std::string TExtProg::ErrorOutput() const {
  if (errors_.size() <= kKeptErrorText) return errors_;
  return errors_.substr(errors_.size() - kKeptErrorText);
}
