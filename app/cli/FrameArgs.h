// SPDX-License-Identifier: GPL-3.0-or-later
// What the analysis commands share: the options of the dialogs' common pages, reading the file
// and its groups into a project, and handing the output to stdout and stderr.
#pragma once
#include <string>
#include <vector>

#include "FileArgs.h"
#include "analysis/BaseDbox1.h"

class CliCommand;
struct CliServices;
class TDataProj;

// Lines "sequence,group" (or tab separated); group "Outgroups" marks an outgroup. Every
// dataset's sequence of that name joins the group. False (reason on stderr) when unreadable.
bool ReadGroupsFile(const std::string& path, TDataProj& project);

struct FrameArgs {
  FrameOptions frame;
  std::string file;
  std::string groupsFile;
  ReadArgs read;  // --from and the other reading options
};

// The common options of the analysis dialogs (and --from for FILE). Without `windows` the
// sliding-window options are not offered (the LD dialog hides them).
void AddFrameOptions(CliCommand& cmd, bool windows);
// Reads them, and FILE (the first positional argument), into fa; false after a usage error.
bool ReadFrameOptions(const CliCommand& cmd, FrameArgs& fa, bool windows);

// Reads the file and the groups file, and selects every sequence as opening a dialog does.
// 0 when the project is ready, else the exit status (the reason is on stderr).
int LoadAnalysisProject(const FrameArgs& fa, CliServices& cli, TDataProj& project);

// The report on stdout as the report window shows it, notices and the failure on stderr;
// returns the exit status.
int PrintAnalysisOutput(const AnalysisOutput& out);
