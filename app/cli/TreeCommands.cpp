// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli distances and nj: the distance matrices and the neighbour-joining trees of a
// file's datasets and groups, with the neighbour-joining dialog's options.
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "CliServices.h"
#include "FrameArgs.h"
#include "model/DataProjUnit.h"
#include "trees/NJTreeAnalysis.h"

namespace {

void TreeUsage(const char* command) {
  std::cerr << "Usage: nodrix3-cli " << command << " FILE\n"
            << FrameUsage(false) << "         [--model jc|kimura|differences] [--no-sd]\n";
  if (std::string(command) == "nj")
    std::cerr << "         [--bootstrap N] [--seed N] [--titled] [--report OUT.txt]\n"
                 "         [--gene-tree]\n"
                 "Exit status 3: some results undefined (a dataset or group of two or more\n"
                 "sequences got no tree); every tree that could be built is still printed.\n";
}

constexpr int kExitUndefined = 3;

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
  const char* name = treeCommand ? "nj" : "distances";
  FrameArgs fa;
  FrameOptions& fo = fa.frame;
  NJTreeOptions nj;
  nj.buildTree = treeCommand;
  std::string reportFile;
  std::optional<std::uint32_t> seed;
  bool titled = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    int n = 0;
    if (a == "--help" || a == "-h") {
      TreeUsage(name);
      return 0;
    }
    const ArgTake take = TakeFrameArg(args, i, fa, false);
    if (take == ArgTake::Taken) continue;
    if (take == ArgTake::Bad) return TreeUsage(name), 2;
    if (a == "--model" && hasValue) {
      if (!ParseModel(args[++i], nj.model)) return TreeUsage(name), 2;
    } else if (a == "--no-sd") {
      nj.showSD = false;
    } else if (treeCommand && a == "--bootstrap" && hasValue) {
      if (!ToInt(args[++i], n) || n < 1 || n > 10000) return TreeUsage(name), 2;
      fo.doBootstrap = true;
      fo.bsReplicates = n;
    } else if (treeCommand && a == "--seed" && hasValue) {
      if (!ToInt(args[++i], n) || n < 0) return TreeUsage(name), 2;
      seed = static_cast<std::uint32_t>(n);
    } else if (treeCommand && a == "--titled") {
      titled = true;
    } else if (treeCommand && a == "--report" && hasValue) {
      reportFile = args[++i];
    } else if (treeCommand && a == "--gene-tree") {
      nj.geneTree = true;
    } else {
      TreeUsage(name);
      return 2;
    }
  }
  if (fa.file.empty()) return TreeUsage(name), 2;

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
