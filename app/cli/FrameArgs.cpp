// SPDX-License-Identifier: GPL-3.0-or-later
// Frame options and the analysed file for the analysis commands of nodrix3-cli.
#include "FrameArgs.h"

#include <charconv>
#include <fstream>
#include <iostream>

#include "CliServices.h"
#include "io/Dispatcher.h"
#include "io/FormatDetect.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"

const char* const kFrameArgsUsage =
    "         [--current] [--groups FILE] [--sites all|noncoding|coding[:123]]\n"
    "         [--mutations all|silent|nonsilent] [--gaps ignored|polym|indels-only]\n"
    "         [--ambiguity ignored|removed] [--ignore-cds] [--region FROM-TO]\n"
    "         [--table OUT.csv] [--pop-table]\n";

bool ToInt(const std::string& s, int& v) {
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

ArgUse ParseFrameArg(const std::vector<std::string>& args, std::size_t& i, FrameOptions& fo,
                     std::string& groupsFile) {
  const std::string& a = args[i];
  const bool hasValue = i + 1 < args.size();
  if (a == "--current") {
    fo.useAllDatasets = false;
  } else if (a == "--ignore-cds") {
    fo.ignoreCDS = true;
  } else if (a == "--pop-table") {
    fo.popOut = true;
  } else if (!hasValue ||
             (a != "--groups" && a != "--sites" && a != "--mutations" && a != "--gaps" &&
              a != "--ambiguity" && a != "--region" && a != "--table")) {
    return ArgUse::NotMine;
  } else {
    const std::string v = args[++i];
    if (a == "--groups") {
      groupsFile = v;
    } else if (a == "--sites") {
      fo.allSites = v == "all";
      fo.noncodingSites = v == "noncoding";
      fo.codingSites = v.starts_with("coding");
      if (!fo.allSites && !fo.noncodingSites && !fo.codingSites) return ArgUse::Bad;
      const std::string pos = v.size() > 7 ? v.substr(7) : "123";
      fo.pos1 = pos.find('1') != std::string::npos;
      fo.pos2 = pos.find('2') != std::string::npos;
      fo.pos3 = pos.find('3') != std::string::npos;
    } else if (a == "--mutations") {
      fo.mutAll = v == "all";
      fo.mutSilent = v == "silent";
      fo.mutRepl = v == "nonsilent";
      if (!fo.mutAll && !fo.mutSilent && !fo.mutRepl) return ArgUse::Bad;
    } else if (a == "--gaps") {
      if (v == "ignored")
        fo.indels = IndelChoice::Ignored;
      else if (v == "polym")
        fo.indels = IndelChoice::PolymInIndels;
      else if (v == "indels-only")
        fo.indels = IndelChoice::IndelsOnly;
      else
        return ArgUse::Bad;
    } else if (a == "--ambiguity") {
      if (v != "ignored" && v != "removed") return ArgUse::Bad;
      fo.ambiguityRemoved = v == "removed";
    } else if (a == "--region") {
      const auto dash = v.find('-');
      int from = 0, to = 0;
      if (dash == std::string::npos || !ToInt(v.substr(0, dash), from) ||
          !ToInt(v.substr(dash + 1), to) || from < 1 || to < 1)
        return ArgUse::Bad;
      fo.onlyRegion = true;
      fo.regFrom = from;
      fo.regTo = to;
    } else {  // --table
      fo.tableToFile = true;
      fo.tableFileName = v;
    }
  }
  return ArgUse::Used;
}

namespace {

bool ReadGroups(const std::string& path, TDataProj& project) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::cerr << "nodrix3-cli: cannot read the groups file " << path << "\n";
    return false;
  }
  std::string line;
  while (std::getline(in, line)) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    const auto sep = line.find_first_of(",\t");
    if (sep == std::string::npos || sep == 0) continue;
    const std::string seq = line.substr(0, sep), group = line.substr(sep + 1);
    if (group.empty()) continue;
    if (project.GroupIndexByName(group) < 0) {
      TGroup g;
      g.grpName = group;
      project.AddGroup(g);
    }
    for (int d = 0; d < project.DatasetCount(); ++d) project.AssignSeqToGroup(d, seq, group);
  }
  return true;
}

}  // namespace

bool LoadAnalysisProject(const std::string& file, const std::string& groupsFile, TDataProj& project,
                         CliServices& cli) {
  const int access = CheckFileAccess(file);
  if (access != 0) {
    cli.messages.ReportError(file + ": " + OneLine(IoErrorMessage(access, file)));
    return false;
  }
  OpenWindow window(project);
  window.caption = FileNameOnly(file);
  int code = 0;
  const OpenResult r = OpenDetected(file, window, cli.services, code);
  if (code < 2 || !r.handled || !r.ReadSomething()) {
    cli.messages.ReportError(file + ": no sequences could be read");
    return false;
  }
  if (!groupsFile.empty() && !ReadGroups(groupsFile, project)) return false;
  InitAnalysisSelection(project);
  return true;
}
