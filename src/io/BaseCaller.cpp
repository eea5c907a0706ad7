// SPDX-License-Identifier: GPL-3.0-or-later
// The outside base caller: phred from the program's folder or PATH, else Debian's ttuner. It
// runs on a copy of the trace in a private folder, so nothing is written beside the user's
// file, and its companion files are read back from there.
#include <QFile>

#include "alignment/ExtProgUnit.h"
#include "io/BinarySource.h"
#include "io/TraceFormats.h"

BaseCaller FindBaseCaller(const std::string& programFolder) {
  const std::string phred = FindProgram(programFolder, {"phred", "phred.exe"}, "phred");
  if (!phred.empty()) return {phred, false};
  const std::string ttuner = FindProgram({}, {}, "ttuner");
  if (!ttuner.empty()) return {ttuner, true};
  return {};
}

int RunPhred(const std::string& tracePath, Services& services, BaseCalls& calls) {
  calls = {};
  const BaseCaller caller = FindBaseCaller(services.settings.programFolder);
  if (caller.program.empty()) {
    services.messages.ReportError(
        "No base caller found (phred in the program's folder or on PATH, or ttuner from the "
        "tracetuner package): " +
        tracePath + " keeps no quality values");
    return -1;
  }
  WorkFolder work;
  const std::string trace = FileNameOf(tracePath);
  if (!work.Valid() ||
      !QFile::copy(QString::fromStdString(tracePath), QString::fromStdString(work.File(trace)))) {
    services.messages.ReportError("Could not copy " + tracePath +
                                  " into a working folder for the base caller");
    return 1;
  }
  std::vector<std::string> args{trace, "-s", "-q", "-p"};
  if (caller.optionsFirst) args = {"-s", "-q", "-p", trace};
  TExtProg runner(services);
  const int code =
      runner.RunAndWait(caller.program, args, work.Path(), "Calling bases of " + trace);
  std::string error;
  if (FileExists(work.File(trace + ".qual")) &&
      !ReadWholeFile(work.File(trace + ".qual"), calls.qual, error))
    calls.qual.clear();
  if (FileExists(work.File(trace + ".phd.1")) &&
      !ReadWholeFile(work.File(trace + ".phd.1"), calls.phd, error))
    calls.phd.clear();
  return code;
}
