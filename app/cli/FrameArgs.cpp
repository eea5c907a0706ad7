// SPDX-License-Identifier: GPL-3.0-or-later
// The common options of the analysis commands, the project they read and their output.
#include "FrameArgs.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>

#include "CliServices.h"
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

bool ToInt(const std::string& s, int& v) {
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

ArgTake TakeFrameArg(const std::vector<std::string>& args, std::size_t& i, FrameArgs& fa,
                     bool windows) {
  FrameOptions& fo = fa.frame;
  const std::string& a = args[i];
  const bool hasValue = i + 1 < args.size();
  int n = 0;
  if (a == "--current") {
    fo.useAllDatasets = false;
  } else if (a == "--groups" && hasValue) {
    fa.groupsFile = args[++i];
  } else if (a == "--sites" && hasValue) {
    const std::string v = args[++i];
    fo.allSites = v == "all";
    fo.noncodingSites = v == "noncoding";
    fo.codingSites = v.starts_with("coding");
    if (!fo.allSites && !fo.noncodingSites && !fo.codingSites) return ArgTake::Bad;
    const std::string pos = v.size() > 7 ? v.substr(7) : "123";
    fo.pos1 = fo.codingSites && pos.find('1') != std::string::npos;
    fo.pos2 = fo.codingSites && pos.find('2') != std::string::npos;
    fo.pos3 = fo.codingSites && pos.find('3') != std::string::npos;
  } else if (a == "--mutations" && hasValue) {
    const std::string v = args[++i];
    fo.mutAll = v == "all";
    fo.mutSilent = v == "silent";
    fo.mutRepl = v == "nonsilent";
    if (!fo.mutAll && !fo.mutSilent && !fo.mutRepl) return ArgTake::Bad;
  } else if (a == "--gaps" && hasValue) {
    const std::string v = args[++i];
    if (v == "ignored")
      fo.indels = IndelChoice::Ignored;
    else if (v == "polym")
      fo.indels = IndelChoice::PolymInIndels;
    else if (v == "indels-only")
      fo.indels = IndelChoice::IndelsOnly;
    else
      return ArgTake::Bad;
  } else if (a == "--ambiguity" && hasValue) {
    const std::string v = args[++i];
    if (v != "ignored" && v != "removed") return ArgTake::Bad;
    fo.ambiguityRemoved = v == "removed";
  } else if (a == "--ignore-cds") {
    fo.ignoreCDS = true;
  } else if (a == "--region" && hasValue) {
    const std::string v = args[++i];
    const auto dash = v.find('-');
    int from = 0, to = 0;
    if (dash == std::string::npos || !ToInt(v.substr(0, dash), from) ||
        !ToInt(v.substr(dash + 1), to) || from < 1 || to < 1)
      return ArgTake::Bad;
    fo.onlyRegion = true;
    fo.regFrom = from;
    fo.regTo = to;
  } else if (a == "--text" && hasValue) {
    fo.fileOutput = true;
    fo.outFname = args[++i];
  } else if (a == "--table" && hasValue) {
    fo.tableToFile = true;
    fo.tableFileName = args[++i];
  } else if (a == "--pop-table") {
    fo.popOut = true;
  } else if (windows && (a == "--window-size" || a == "--window-step") && hasValue) {
    if (!ToInt(args[++i], n) || n < 1) return ArgTake::Bad;
    (a == "--window-size" ? fo.swSize : fo.swStep) = n;
    fo.doSW = true;
  } else if (windows && a == "--windows" && hasValue) {
    fo.doSW = true;
    fo.sw2file = true;
    fo.swfile = args[++i];
  } else if (!a.starts_with("--") && fa.file.empty()) {
    fa.file = a;
  } else {
    return ArgTake::NotMine;
  }
  return ArgTake::Taken;
}

std::string FrameUsage(bool windows) {
  std::string text =
      "         [--current] [--groups FILE] [--sites all|noncoding|coding[:123]]\n"
      "         [--mutations all|silent|nonsilent] [--gaps ignored|polym|indels-only]\n"
      "         [--ambiguity ignored|removed] [--ignore-cds] [--region FROM-TO]\n"
      "         [--text OUT.txt] [--table OUT.csv] [--pop-table]\n";
  if (windows) text += "         [--window-size N] [--window-step N] [--windows OUT.csv]\n";
  return text;
}

int LoadAnalysisProject(const FrameArgs& fa, CliServices& cli, TDataProj& project) {
  const int access = CheckFileAccess(fa.file);
  if (access != 0) {
    cli.messages.ReportError(fa.file + ": " + OneLine(IoErrorMessage(access, fa.file)));
    return 1;
  }
  OpenWindow window(project);
  window.caption = FileNameOnly(fa.file);
  int code = 0;
  const OpenResult r = OpenDetected(fa.file, window, cli.services, code);
  if (code < 2 || !r.handled || !r.ReadSomething()) {
    cli.messages.ReportError(fa.file + ": no sequences could be read");
    return 1;
  }
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
