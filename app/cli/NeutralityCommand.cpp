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
  cmd.Add("sfs",
          "Site frequency spectra of every dataset tested against their sum, the summed and "
          "two-dimensional spectra; appended to SFS_folded.out and SFS_unfolded.out.");
  cmd.Add("mlhka",
          "The ML-HKA test through the outside MLHKA program (its folder, then PATH); results "
          "appended to mlHKAresults1.txt and mlHKAresults2.txt.");
  cmd.Add("reference-datasets",
          "ML-HKA reference datasets (at most 99; default the first 10 with an outgroup).", "A,B");
  cmd.Add("chain", "ML-HKA chain length (default 1000).", "N");
  cmd.Add("seed", "ML-HKA random seed (default 100).", "N");
  cmd.Add("each-selected", "ML-HKA on each analysed dataset in turn, not the current one.");
  cmd.Add("mlhka-program", "The ML-HKA program to run instead of MLHKA.", "PROGRAM");
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
  no.sfs = cmd.IsSet("sfs");
  no.atLabel = "At: " + fa.file;
  MLHKAOptions& hka = no.mlhka;
  hka.run = cmd.IsSet("mlhka");
  hka.chain = 1000;
  if (!cmd.Int("chain", hka.chain, 0, 100000000) || !cmd.Int("seed", hka.seed, 0, 10000000))
    return kExitUsage;
  hka.currentOnly = !cmd.IsSet("each-selected");
  if (cmd.IsSet("mlhka-program")) hka.program = cmd.Value("mlhka-program");
  const bool listed = cmd.IsSet("reference-datasets");
  if (listed) {
    std::stringstream in(cmd.Value("reference-datasets"));
    for (std::string name; std::getline(in, name, ',');)
      if (!name.empty()) hka.references.push_back(name);
    if (static_cast<int>(hka.references.size()) > kMaxHKAReferences)
      return cmd.UsageError("Max number of checked datasets = 99");
  }
  if (!hka.run && (listed || cmd.IsSet("chain") || cmd.IsSet("seed") ||
                   cmd.IsSet("each-selected") || cmd.IsSet("mlhka-program")))
    return cmd.UsageError("the ML-HKA options need --mlhka");

  CliServices cli;
  TDataProj project(cli.services);
  if (const int status = LoadAnalysisProject(fa, cli, project); status != 0) return status;
  if (hka.run && !listed) {
    // As the dialog: the first 10 datasets with an outgroup.
    hka.references = HKAReferenceCandidates(project);
    if (hka.references.size() > 10) hka.references.resize(10);
  }
  return PrintAnalysisOutput(RunNeutrality(project, fa.frame, no, cli.services));
}

namespace {
const bool kRegistered =
    RegisterCommand({"neutrality", "FILE", "neutrality tests report", RunNeutralityCommand});
}  // namespace
