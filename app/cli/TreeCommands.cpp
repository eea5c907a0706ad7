// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli distances and nj: the distance matrices and the neighbour-joining trees of a
// file's datasets and groups, with the neighbour-joining dialog's options.
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FrameArgs.h"
#include "common/OutputFolder.h"
#include "model/DataProjUnit.h"
#include "trees/NJTreeAnalysis.h"

namespace {

bool ParseModel(const std::string& v, DistanceModel& model) {
  if (v == "jc")
    model = DistanceModel::JukesCantor;
  else if (v == "kimura")
    model = DistanceModel::Kimura2P;
  else if (v == "differences")
    model = DistanceModel::Differences;
  else
    return false;
  return true;
}

bool WriteText(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && ok;
}

// treeCommand: nj (trees on stdout) rather than distances (the matrix report on stdout).
int RunTrees(const std::vector<std::string>& args, bool treeCommand) {
  CliCommand cmd(treeCommand ? "nj" : "distances", "FILE",
                 treeCommand ? "Neighbour-joining trees (Newick), one line per dataset and group, "
                               "on stdout."
                             : "Distance matrices of every dataset and group on stdout.");
  AddFrameOptions(cmd, false);
  cmd.Add("model", "Distance model (default jc).", "jc|kimura|differences");
  cmd.Add("no-sd", "Leaves out the standard deviations.");
  if (treeCommand) {
    cmd.Add("bootstrap", "Bootstrap support from N replicates (1 to 10000).", "N");
    cmd.Add("seed", "Seed of the bootstrap (default: from the clock).", "N");
    cmd.Add("titled", "Starts each line with the tree's name.");
    cmd.Add("report", "Writes the distances report to FILE.", "FILE");
    cmd.Add("gene-tree", "Writes the gene tree file.");
    cmd.AddNote(
        "Exit status 3: some results undefined (a dataset or group of two or more sequences got "
        "no tree); every tree that could be built is still printed.\n");
  }
  if (const auto status = cmd.Parse(args, 1, 1)) return *status;

  FrameArgs fa;
  FrameOptions& fo = fa.frame;
  if (!ReadFrameOptions(cmd, fa, false)) return kExitUsage;
  NJTreeOptions nj;
  nj.buildTree = treeCommand;
  if (cmd.IsSet("model") && !ParseModel(cmd.Value("model"), nj.model))
    return cmd.UsageError("unknown --model " + cmd.Value("model"));
  if (cmd.IsSet("no-sd")) nj.showSD = false;
  std::optional<std::uint32_t> seed;
  std::string reportFile;
  bool titled = false;
  if (treeCommand) {
    int n = 0;
    if (!cmd.Int("bootstrap", fo.bsReplicates, 1, 10000) || !cmd.Int("seed", n, 0, 2147483647))
      return kExitUsage;
    if (cmd.IsSet("bootstrap")) fo.doBootstrap = true;
    if (cmd.IsSet("seed")) seed = static_cast<std::uint32_t>(n);
    titled = cmd.IsSet("titled");
    if (cmd.IsSet("report")) reportFile = OutputPath(fo.outputFolder, cmd.Value("report"));
    nj.geneTree = cmd.IsSet("gene-tree");
  }

  CliServices cli;
  TDataProj project(cli.services);
  if (const int status = LoadAnalysisProject(fa, cli, project); status != 0) return status;
  const NJRunOutput run = RunNJ(project, fo, nj, cli.services, seed);
  const AnalysisOutput& out = run.output;
  if (treeCommand) {
    std::string text;
    for (const NamedTree& t : run.trees) text += (titled ? t.name + " " : "") + t.text + "\n";
    std::fwrite(text.data(), 1, text.size(), stdout);
  } else {
    std::fwrite(out.report.data(), 1, out.report.size(), stdout);
  }
  std::fflush(stdout);
  for (const std::string& notice : out.notices) std::cerr << notice << "\n";
  if (!reportFile.empty() && !WriteText(reportFile, out.report)) {
    std::cerr << "nodrix3-cli: could not write " << reportFile << "\n";
    return 1;
  }
  if (!out.error.empty()) {
    std::cerr << "nodrix3-cli: " << out.error << "\n";
    return 1;
  }
  return treeCommand && run.missingTrees > 0 ? kExitUndefined : 0;
}

}  // namespace

int RunDistances(const std::vector<std::string>& args) {
  return RunTrees(args, false);
}

int RunNJTrees(const std::vector<std::string>& args) {
  return RunTrees(args, true);
}

namespace {
const bool kDistances = RegisterCommand(
    {"distances", "FILE", "distance matrices of every dataset and group", RunDistances});
const bool kNJ = RegisterCommand({"nj", "FILE", "neighbour-joining trees (Newick)", RunNJTrees});
}  // namespace
