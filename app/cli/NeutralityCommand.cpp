// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli neutrality: the neutrality tests of a file with the dialog's options; the report
// goes to stdout exactly as the report window shows it.
#include <sstream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FrameArgs.h"
#include "analysis/NeutralityAnalysis.h"
#include "model/DataProjUnit.h"

namespace {

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
  CliCommand cmd("neutrality", "FILE",
                 "Neutrality tests report of every dataset and group on stdout.");
  AddFrameOptions(cmd, true);
  cmd.Add("tests", "The tests reported (default tajima).",
          "tajima,dstar,fstar,doutgroup,wallb,wallq,zns");
  cmd.Add("window-stats", "Statistics of the sliding windows.", "tajima,zns");
  if (const auto status = cmd.Parse(args, 1, 1)) return *status;

  FrameArgs fa;
  if (!ReadFrameOptions(cmd, fa, true)) return kExitUsage;
  NeutralityRunOptions no;
  if (cmd.IsSet("tests") && !ParseTests(cmd.Value("tests"), no.tests))
    return cmd.UsageError("unknown test in --tests " + cmd.Value("tests"));
  if (cmd.IsSet("window-stats")) {
    const std::string v = cmd.Value("window-stats");
    no.swTajimaD = v.find("tajima") != std::string::npos;
    no.swZnS = v.find("zns") != std::string::npos;
    if (!no.swTajimaD && !no.swZnS) return cmd.UsageError("unknown --window-stats " + v);
    fa.frame.doSW = true;
  }

  CliServices cli;
  TDataProj project(cli.services);
  if (const int status = LoadAnalysisProject(fa, cli, project); status != 0) return status;
  return PrintAnalysisOutput(RunNeutrality(project, fa.frame, no, cli.services));
}

namespace {
const bool kRegistered =
    RegisterCommand({"neutrality", "FILE", "neutrality tests report", RunNeutralityCommand});
}  // namespace
