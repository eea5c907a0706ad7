// SPDX-License-Identifier: GPL-3.0-or-later
// A small FASTA project with two populations and an outgroup for the analysis dialog tests,
// read as nodrix3-cli reads it, and a runner of the command-line tool.
#pragma once
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <fstream>
#include <string>
#include <utility>

#include "io/Dispatcher.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"

// s3, s4, s5 carry T at 1; s4, s5 C at 6; s5, s6 G at 10; s5 T at 13; s3 A at 20. og equals s1.
inline const char* kAnalysisFasta =
    ">s1\nAAAAAAAAAACCCCCGGGGG\n>s2\nAAAAAAAAAACCCCCGGGGG\n>s3\nTAAAAAAAAACCCCCGGGGA\n"
    ">s4\nTAAAACAAAACCCCCGGGGG\n>s5\nTAAAACAAAGCCTCCGGGGG\n>s6\nAAAAAAAAAGCCCCCGGGGG\n"
    ">og\nAAAAAAAAAACCCCCGGGGG\n";
inline const char* kAnalysisGroups =
    "s1,north\ns2,north\ns3,north\ns4,south\ns5,south\ns6,south\nog,Outgroups\n";

inline std::string WriteTempFile(const std::string& name, const std::string& text) {
  const std::string path = QDir::tempPath().toStdString() + "/" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

// The reading and group assignment of nodrix3-cli's --groups.
inline bool ReadAnalysisProject(const std::string& fasta, TDataProj& project, Services& services) {
  OpenWindow window(project);
  window.caption = FileNameOnly(fasta);
  int code = 0;
  if (!OpenDetected(fasta, window, services, code).ReadSomething()) return false;
  for (const char* g : {"north", "south"}) {
    TGroup group;
    group.grpName = g;
    project.AddGroup(group);
  }
  const std::pair<const char*, const char*> members[] = {
      {"s1", "north"}, {"s2", "north"}, {"s3", "north"},    {"s4", "south"},
      {"s5", "south"}, {"s6", "south"}, {"og", "Outgroups"}};
  for (auto [seq, group] : members) project.AssignSeqToGroup(0, seq, group);
  return true;
}

inline QString CliPath() {
  return QString(NODRIX_BINARY_DIR) + "/nodrix3-cli";
}

struct CliRun {
  int exitCode = -1;
  std::string out, err;
};

inline CliRun RunCli(const QStringList& args) {
  QProcess run;
  run.start(CliPath(), args);
  CliRun r;
  if (!run.waitForFinished(60000)) return r;
  r.exitCode = run.exitCode();
  r.out = run.readAllStandardOutput().toStdString();
  r.err = run.readAllStandardError().toStdString();
  return r;
}

inline std::string ReadWhole(const std::string& path) {
  QFile f(QString::fromStdString(path));
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll().toStdString();
}
