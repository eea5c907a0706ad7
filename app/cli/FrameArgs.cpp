// SPDX-License-Identifier: GPL-3.0-or-later
// The common options of the analysis commands, the project they read and their output.
#include "FrameArgs.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>

#include "CliCommand.h"
#include "CliServices.h"
#include "FileArgs.h"
#include "io/Dispatcher.h"
#include "io/FormatDetect.h"
#include "io/GroupsFile.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"

bool ReadGroupsFile(const std::string& path, TDataProj& project) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::cerr << "nodrix3-cli: cannot read the groups file " << path << "\n";
    return false;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const GroupImport result = ImportGroups(project, text);
  if (!result.unmatched.empty()) {
    std::cerr << "nodrix3-cli: " << path << ": " << result.unmatched.size()
              << " name(s) match no sequence:";
    for (const std::string& name : result.unmatched) std::cerr << ' ' << name;
    std::cerr << '\n';
  }
  return true;
}

void AddFrameOptions(CliCommand& cmd, bool windows) {
  AddReadOptions(cmd);
  cmd.Add("current", "Analyses the current (first) dataset only, not every dataset.");
  cmd.Add("groups",
          "Reads groups from FILE: lines \"sequence,group\" (or tab separated); group "
          "Outgroups marks outgroups.",
          "FILE");
  cmd.Add("sites", "Sites analysed: all, noncoding, or coding with codon positions (coding:13).",
          "all|noncoding|coding[:123]");
  cmd.Add("mutations", "Mutations counted at coding sites.", "all|silent|nonsilent");
  cmd.Add("gaps", "Alignment gaps: ignored, polymorphisms in indels, or indels only.",
          "ignored|polym|indels-only");
  cmd.Add("ambiguity", "Sites with ambiguous letters: ignored or removed.", "ignored|removed");
  cmd.Add("ignore-cds", "Does not take coding regions into account.");
  cmd.Add("region", "Analyses alignment columns FROM to TO only.", "FROM-TO");
  cmd.Add("text", "Also writes the report to FILE.", "FILE");
  cmd.Add("table", "Writes the statistics table to FILE (comma-separated).", "FILE");
  cmd.Add("pop-table", "Adds the table of every population to the table file.");
  AddOutDirOption(cmd);
  if (!windows) return;
  cmd.Add("window-size", "Sliding windows of N columns.", "N");
  cmd.Add("window-step", "Sliding windows moved by N columns.", "N");
  cmd.Add("windows", "Writes the sliding-window values to FILE.", "FILE");
}

bool ReadFrameOptions(const CliCommand& cmd, FrameArgs& fa, bool windows) {
  FrameOptions& fo = fa.frame;
  auto bad = [&](const std::string& option) {
    cmd.UsageError("bad value of --" + option + ": '" + cmd.Value(option) + "'");
    return false;
  };
  if (!ReadReadOptions(cmd, fa.read)) return false;
  if (cmd.IsSet("current")) fo.useAllDatasets = false;
  if (cmd.IsSet("groups")) fa.groupsFile = cmd.Value("groups");
  if (cmd.IsSet("sites")) {
    const std::string v = cmd.Value("sites");
    fo.allSites = v == "all";
    fo.noncodingSites = v == "noncoding";
    fo.codingSites = v.starts_with("coding");
    if (!fo.allSites && !fo.noncodingSites && !fo.codingSites) return bad("sites");
    const std::string pos = v.size() > 7 ? v.substr(7) : "123";
    fo.pos1 = fo.codingSites && pos.find('1') != std::string::npos;
    fo.pos2 = fo.codingSites && pos.find('2') != std::string::npos;
    fo.pos3 = fo.codingSites && pos.find('3') != std::string::npos;
  }
  if (cmd.IsSet("mutations")) {
    const std::string v = cmd.Value("mutations");
    fo.mutAll = v == "all";
    fo.mutSilent = v == "silent";
    fo.mutRepl = v == "nonsilent";
    if (!fo.mutAll && !fo.mutSilent && !fo.mutRepl) return bad("mutations");
  }
  if (cmd.IsSet("gaps")) {
    const std::string v = cmd.Value("gaps");
    if (v == "ignored")
      fo.indels = IndelChoice::Ignored;
    else if (v == "polym")
      fo.indels = IndelChoice::PolymInIndels;
    else if (v == "indels-only")
      fo.indels = IndelChoice::IndelsOnly;
    else
      return bad("gaps");
  }
  if (cmd.IsSet("ambiguity")) {
    const std::string v = cmd.Value("ambiguity");
    if (v != "ignored" && v != "removed") return bad("ambiguity");
    fo.ambiguityRemoved = v == "removed";
  }
  if (cmd.IsSet("ignore-cds")) fo.ignoreCDS = true;
  if (cmd.IsSet("region")) {
    const std::string v = cmd.Value("region");
    const auto dash = v.find('-');
    int from = 0, to = 0;
    if (dash == std::string::npos || !ToInt(v.substr(0, dash), from) ||
        !ToInt(v.substr(dash + 1), to) || from < 1 || to < 1)
      return bad("region");
    fo.onlyRegion = true;
    fo.regFrom = from;
    fo.regTo = to;
  }
  if (cmd.IsSet("text")) {
    fo.fileOutput = true;
    fo.outFname = cmd.Value("text");
  }
  if (cmd.IsSet("table")) {
    fo.tableToFile = true;
    fo.tableFileName = cmd.Value("table");
  }
  if (cmd.IsSet("pop-table")) fo.popOut = true;
  if (windows) {
    if (!cmd.Int("window-size", fo.swSize, 1, 1000000000) ||
        !cmd.Int("window-step", fo.swStep, 1, 1000000000))
      return false;
    if (cmd.IsSet("window-size") || cmd.IsSet("window-step")) fo.doSW = true;
    if (cmd.IsSet("windows")) {
      fo.doSW = true;
      fo.sw2file = true;
      fo.swfile = cmd.Value("windows");
    }
  }
  if (!cmd.Positionals().empty()) fa.file = cmd.Positionals().front();
  return OutDirOf(cmd, fo.outputFolder);
}

int LoadAnalysisProject(const FrameArgs& fa, CliServices& cli, TDataProj& project) {
  int code = 0;
  ApplyReadArgs(fa.read, cli);
  if (!ReadInto(fa.file, project, cli, code, fa.read)) return kExitFailed;
  if (!fa.groupsFile.empty() && !ReadGroupsFile(fa.groupsFile, project)) return 1;
  InitAnalysisSelection(project);
  return 0;
}

int PrintAnalysisOutput(const AnalysisOutput& out) {
  std::fwrite(out.report.data(), 1, out.report.size(), stdout);
  std::fflush(stdout);
  for (const std::string& n : out.notices) std::cerr << n << "\n";
  if (!out.error.empty()) {
    std::cerr << "nodrix3-cli: " << out.error << "\n";
    return 1;
  }
  return 0;
}
