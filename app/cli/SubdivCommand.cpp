// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli subdivision: the population subdivision analysis of a file, with the dialog's
// options; the report goes to stdout exactly as the report window shows it.
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FrameArgs.h"
#include "analysis/PopStrucDBox.h"
#include "model/DataProjUnit.h"

namespace {

bool SetStats(const std::string& list, PopSubdivOptions& so) {
  so.fst = so.kst = so.hst = so.nm = so.dxy = so.da = so.sFixed = false;
  std::size_t start = 0;
  while (start <= list.size()) {
    const auto comma = list.find(',', start);
    const std::string s =
        list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (s == "fst")
      so.fst = true;
    else if (s == "kst")
      so.kst = true;
    else if (s == "hst")
      so.hst = true;
    else if (s == "nm")
      so.nm = true;
    else if (s == "dxy")
      so.dxy = true;
    else if (s == "da")
      so.da = true;
    else if (s == "sfixed")
      so.sFixed = true;
    else
      return false;
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return true;
}

}  // namespace

int RunSubdivision(const std::vector<std::string>& args) {
  CliCommand cmd("subdivision", "FILE",
                 "Population subdivision report of every dataset on stdout.");
  AddFrameOptions(cmd, true);
  cmd.Add("stats", "Statistics reported (default fst,kst,hst).", "fst,kst,hst,nm,dxy,da,sfixed");
  cmd.Add("permutations", "Permutation test with N permutations (0 to 10000).", "N");
  cmd.Add("seed", "Seed of the permutations and the bootstrap (default: from the clock).", "N");
  cmd.Add("bootstrap", "Bootstrap intervals from N replicates (1 to 10000).", "N");
  cmd.Add("bootstrap-csv", "Writes the bootstrap replicates' values to FILE.", "FILE");
  cmd.Add("window-stat", "Statistic of the sliding windows.", "fst|dxy|da|sfixed");
  cmd.Add("split",
          "Splits the alignment where the shared and fixed sites change by more than "
          "THRESHOLD (1 to 1000; needs --window-stat sfixed).",
          "THRESHOLD");
  cmd.Add("output", "Also writes the report to FILE (as --text).", "FILE");
  if (const auto status = cmd.Parse(args, 1, 1)) return *status;

  FrameArgs fa;
  fa.frame = PopSubdivFrameDefaults();
  FrameOptions& fo = fa.frame;
  if (!ReadFrameOptions(cmd, fa, true)) return kExitUsage;
  PopSubdivOptions so;
  if (cmd.IsSet("stats") && !SetStats(cmd.Value("stats"), so))
    return cmd.UsageError("unknown statistic in --stats " + cmd.Value("stats"));
  int seed = 0;
  if (!cmd.Int("permutations", so.permutations, 0, 10000) ||
      !cmd.Int("seed", seed, 0, 2147483647) || !cmd.Int("bootstrap", fo.bsReplicates, 1, 10000) ||
      !cmd.Int("split", so.splitThreshold, 1, 1000))
    return kExitUsage;
  if (cmd.IsSet("permutations")) so.permute = true;
  if (cmd.IsSet("seed")) so.seed = static_cast<std::uint32_t>(seed);
  if (cmd.IsSet("bootstrap")) fo.doBootstrap = true;
  if (cmd.IsSet("bootstrap-csv")) {
    so.csvFile = true;
    so.csvFileName = cmd.Value("bootstrap-csv");
  }
  if (cmd.IsSet("window-stat")) {
    const std::string v = cmd.Value("window-stat");
    if (v == "fst")
      so.windowStat = SubdivWindowStat::Fst;
    else if (v == "dxy")
      so.windowStat = SubdivWindowStat::Dxy;
    else if (v == "da")
      so.windowStat = SubdivWindowStat::Da;
    else if (v == "sfixed")
      so.windowStat = SubdivWindowStat::SFixed;
    else
      return cmd.UsageError("unknown --window-stat " + v);
    fo.doSW = true;
  }
  if (cmd.IsSet("split")) so.split = true;
  if (cmd.IsSet("output")) {
    fo.fileOutput = true;
    fo.outFname = cmd.Value("output");
  }
  // The split is offered only while the shared and fixed sites are profiled.
  if (so.split && (so.windowStat != SubdivWindowStat::SFixed || !fo.doSW))
    return cmd.UsageError("--split needs --window-stat sfixed");
  if (so.csvFile && !fo.doBootstrap) return cmd.UsageError("--bootstrap-csv needs --bootstrap N");

  CliServices cli;
  TDataProj project(cli.services);
  if (const int status = LoadAnalysisProject(fa, cli, project); status != 0) return status;
  return PrintAnalysisOutput(RunPopSubdiv(project, fo, so, cli.services));
}

namespace {
const bool kRegistered =
    RegisterCommand({"subdivision", "FILE", "population subdivision report", RunSubdivision});
}  // namespace
