// SPDX-License-Identifier: GPL-3.0-or-later
// The outside base caller: phred from the program's folder or PATH, else Debian's ttuner,
// run in the trace's folder so that its .phd.1, .qual and .seq files land beside the trace.
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "io/BinarySource.h"
#include "io/TraceFormats.h"

namespace {

// A base caller that has not finished after this long is stopped rather than waited on.
constexpr int kBaseCallerTimeoutMs = 10 * 60 * 1000;

std::string Executable(const QString& path) {
  const QFileInfo info(path);
  return info.isFile() && info.isExecutable() ? info.absoluteFilePath().toStdString()
                                              : std::string();
}

}  // namespace

BaseCaller FindBaseCaller(const std::string& programFolder) {
  if (!programFolder.empty()) {
    const QDir folder(QString::fromStdString(programFolder));
    for (const char* name : {"phred", "phred.exe"}) {
      const std::string found = Executable(folder.filePath(QString::fromLatin1(name)));
      if (!found.empty()) return {found, false};
    }
  }
  const QString onPath = QStandardPaths::findExecutable(QStringLiteral("phred"));
  if (!onPath.isEmpty()) return {onPath.toStdString(), false};
  const QString ttuner = QStandardPaths::findExecutable(QStringLiteral("ttuner"));
  if (!ttuner.isEmpty()) return {ttuner.toStdString(), true};
  return {};
}

int RunPhred(const std::string& tracePath, Services& services) {
  const BaseCaller caller = FindBaseCaller(services.settings.programFolder);
  if (caller.program.empty()) {
    services.messages.ReportError(
        "No base caller found (phred in the program's folder or on PATH, or ttuner from the "
        "tracetuner package): " +
        tracePath + " keeps no quality values");
    return -1;
  }
  const QString trace = QString::fromStdString(FileNameOf(tracePath));
  QStringList args;
  if (caller.optionsFirst)
    args << "-s"
         << "-q"
         << "-p" << trace;
  else
    args << trace << "-s"
         << "-q"
         << "-p";
  QProcess process;
  process.setWorkingDirectory(QString::fromStdString(FolderOf(tracePath)));
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(QString::fromStdString(caller.program), args);
  if (!process.waitForStarted()) {
    services.messages.Notify("Could not execute the application");
    return 1;
  }
  if (!process.waitForFinished(kBaseCallerTimeoutMs)) {
    process.kill();
    process.waitForFinished();
    services.messages.ReportError(caller.program + " did not finish on " + tracePath +
                                  " and was stopped");
    return 1;
  }
  return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : 1;
}
