// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli neutrality: the neutrality tests of a file with the dialog's options; the report
// goes to stdout exactly as the report window shows it.
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "CliServices.h"
#include "FrameArgs.h"
#include "analysis/NeutralityAnalysis.h"
#include "model/DataProjUnit.h"

namespace {

void NeutralityUsage() {
  std::cerr << "Usage: nodrix3-cli neutrality FILE\n"
            << FrameUsage(true)
            << "         [--tests tajima,dstar,fstar,doutgroup,wallb,wallq,zns]\n"
               "         [--window-stats tajima,zns]\n";
}

// Sets the chosen tests from a comma-separated list; false for an unknown name.
bool ParseTests(const std::string& list, NeutralityChoices& c) {
  c = NeutralityChoices{};
  c.tajimaD = false;
  std::stringstream in(list);
  std::string name;
  while (std::getline(in, name, ',')) {
    if (name == "tajima")
      c.tajimaD = true;
    else if (name == "dstar")
      c.fuLiDstar = true;
    else if (name == "fstar")
      c.fuLiFstar = true;
    else if (name == "doutgroup")
      c.fuLiDoutgroup = true;
    else if (name == "wallb")
      c.wallB = true;
    else if (name == "wallq")
      c.wallQ = true;
    else if (name == "zns")
      c.kellyZnS = true;
    else
      return false;
  }
  return true;
}

}  // namespace

int RunNeutralityCommand(const std::vector<std::string>& args) {
  FrameArgs fa;
  NeutralityRunOptions no;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const ArgTake take = TakeFrameArg(args, i, fa, true);
    if (take == ArgTake::Taken) continue;
    if (take == ArgTake::Bad) return NeutralityUsage(), 2;
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--tests" && hasValue) {
      if (!ParseTests(args[++i], no.tests)) return NeutralityUsage(), 2;
    } else if (a == "--window-stats" && hasValue) {
      const std::string v = args[++i];
      no.swTajimaD = v.find("tajima") != std::string::npos;
      no.swZnS = v.find("zns") != std::string::npos;
      if (!no.swTajimaD && !no.swZnS) return NeutralityUsage(), 2;
      fa.frame.doSW = true;
    } else {
      NeutralityUsage();
      return 2;
    }
  }
  if (fa.file.empty()) return NeutralityUsage(), 2;

  CliServices cli;
  TDataProj project(cli.services);
  if (const int status = LoadAnalysisProject(fa, cli, project); status != 0) return status;
  return PrintAnalysisOutput(RunNeutrality(project, fa.frame, no, cli.services));
}
