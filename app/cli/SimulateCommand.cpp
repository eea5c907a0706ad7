// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli simulate: coalescent simulations with the options of the dialog "Coalescent
// simulations", the same files and the same report on stdout. nodrix3-cli merge-stats: the
// statistics files of slices of one study joined into the summary of the whole study.
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FileArgs.h"
#include "coalescent/CoalSim.h"
#include "common/OutputFolder.h"
#include "io/IOUnit.h"

namespace {

bool ToSeed(const std::string& text, std::uint64_t& value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 20)
    return false;
  errno = 0;
  char* end = nullptr;
  value = std::strtoull(text.c_str(), &end, 10);
  return errno == 0 && *end == '\0';
}

// "S,pi,D": the statistics columns; false for an unknown name.
bool ReadStatistics(const std::string& list, SimStatChoice& c) {
  c = SimStatChoice();
  c.segSites = c.pi = c.tajimaD = false;
  std::stringstream in(list);
  for (std::string name; std::getline(in, name, ',');) {
    if (name == "S")
      c.segSites = true;
    else if (name == "singletons")
      c.singletons = true;
    else if (name == "theta")
      c.theta = true;
    else if (name == "pi")
      c.pi = true;
    else if (name == "D")
      c.tajimaD = true;
    else if (name == "fuli")
      c.fuLi = true;
    else if (name == "zns")
      c.zns = true;
    else if (name == "wall")
      c.wallBQ = true;
    else if (name == "fst")
      c.fst = true;
    else if (name == "dst")
      c.dst = true;
    else if (name == "kst")
      c.kst = true;
    else if (name == "nm")
      c.nm = true;
    else if (name == "dxy")
      c.dxy = true;
    else if (name == "shared")
      c.shared = true;
    else
      return false;
  }
  return true;
}

int RunSimulate(const std::vector<std::string>& args) {
  CliCommand cmd("simulate", "",
                 "Coalescent simulations: the replicates' statistics written to the statistics "
                 "file (one line per replicate) and to one file per deme, the summary of means "
                 "and percentiles on stdout.");
  cmd.Add("runs", "Number of replicates, 1..1000000 (default 100).", "N");
  cmd.Add("length", "Sequence length L, 10..1000000000 (default 100).", "L");
  cmd.Add("number", "Number of sequences n, 2..100000 (default 12).", "N");
  cmd.Add("segsites", "Conditional on this number of segregating sites (the default, 10).", "N");
  cmd.Add("mutations", "Conditional on this number of mutations.", "N");
  cmd.Add("theta", "Conditional on theta per site, 0..1.", "X");
  cmd.Add("rec-rate", "Recombination rate per nucleotide, C = 4Nc, 0..1 (default 0).", "C");
  cmd.Add("growth", "Population growth with this parameter, 0..1.", "G");
  cmd.Add("ne", "Effective population size Ne (default 1000000).", "N");
  cmd.Add("since", "Generations since the size change (default 10000).", "T");
  cmd.Add("demes", "Subdivided population of D demes, 1..1000.", "D");
  cmd.Add("migration", "Migration rate Nm (default 0).", "NM");
  cmd.Add("mig-start", "Migration started this many generations ago (default 4000000).", "T");
  cmd.Add("split", "The demes split this many generations ago.", "T");
  cmd.Add("sampling",
          "Sample sizes of the demes: \"one\" (all from the first, the default), \"equal\", or "
          "the sizes, comma-separated (the last deme takes what is left).",
          "MODE");
  cmd.Add("statistics",
          "Comma-separated columns among S, singletons, theta, pi, D, fuli, zns, wall, fst, dst, "
          "kst, nm, dxy, shared (default S,pi,D).",
          "LIST");
  cmd.Add("p-value", "P-value of the percentiles, 0..1 (default 0.05).", "P");
  cmd.Add("stats", "Name of the statistics file (default statout.txt).", "FILE");
  cmd.Add("no-stats", "Writes no statistics file and no per-deme files.");
  cmd.Add("sequences", "Writes the simulated sequences to FILE.", "FILE");
  cmd.Add("seed", "Seed of the study; 0 or none: from the clock (the report's first line).", "N");
  cmd.Add("first",
          "Number of the first replicate (default 0): with --seed, the slice of a larger study "
          "that starts there, so that slices run apart join with merge-stats.",
          "K");
  AddOutDirOption(cmd);
  if (const auto status = cmd.Parse(args, 0, 0)) return *status;

  CoalSimOptions o;
  if (!cmd.Int("runs", o.runs, 1, 1000000) || !cmd.Int("length", o.seqLength, 10, 1000000000) ||
      !cmd.Int("number", o.sampleSize, 2, 100000))
    return kExitUsage;
  const int targets = cmd.IsSet("segsites") + cmd.IsSet("mutations") + cmd.IsSet("theta");
  if (targets > 1) return cmd.UsageError("give one of --segsites, --mutations and --theta");
  if (cmd.IsSet("mutations")) {
    o.target = CoalTarget::Mutations;
    if (!cmd.Int("mutations", o.targetCount, 0, 100000000)) return kExitUsage;
  } else if (cmd.IsSet("theta")) {
    o.target = CoalTarget::Theta;
    o.theta = cmd.Value("theta");
  } else if (!cmd.Int("segsites", o.targetCount, 0, 100000000)) {
    return kExitUsage;
  }
  if (cmd.IsSet("rec-rate")) o.recRate = cmd.Value("rec-rate");
  if (cmd.IsSet("growth")) {
    o.growth = true;
    o.growthRate = cmd.Value("growth");
  }
  if (cmd.IsSet("ne")) o.ne = cmd.Value("ne");
  if (cmd.IsSet("since")) o.sizeChangeTime = cmd.Value("since");
  if (cmd.IsSet("demes")) {
    o.subdivided = true;
    o.demeNumber = cmd.Value("demes");
  }
  if (cmd.IsSet("migration")) o.migrationRate = cmd.Value("migration");
  if (cmd.IsSet("mig-start")) o.migrationStart = cmd.Value("mig-start");
  if (cmd.IsSet("split")) {
    o.split = true;
    o.splitTime = cmd.Value("split");
  }
  if (cmd.IsSet("statistics") && !ReadStatistics(cmd.Value("statistics"), o.stats))
    return cmd.UsageError("unknown statistic in --statistics " + cmd.Value("statistics"));
  if (cmd.IsSet("p-value")) o.pValue = cmd.Value("p-value");
  if (cmd.IsSet("stats")) o.statsFile = cmd.Value("stats");
  o.saveStats = !cmd.IsSet("no-stats");
  if (cmd.IsSet("sequences")) {
    o.saveSequences = true;
    o.sequenceFile = cmd.Value("sequences");
  }
  if (cmd.IsSet("seed") && !ToSeed(cmd.Value("seed"), o.seed))
    return cmd.UsageError("--seed takes a whole number from 0 to 2^64 - 1");
  if (cmd.IsSet("first")) {
    std::uint64_t first = 0;
    if (!ToSeed(cmd.Value("first"), first) || first > (1ULL << 62))
      return cmd.UsageError("--first takes a replicate number from 0");
    o.firstRun = static_cast<std::int64_t>(first);
  }
  // The grid as the dialog fills it, once the number of demes is known to be sound.
  CoalSimSettings checked;
  if (const auto error = CheckCoalSimOptions(o, checked)) {
    std::cerr << "nodrix3-cli: " << OneLine(error->message) << "\n";
    return kExitUsage;
  }
  const std::string sampling = cmd.IsSet("sampling") ? cmd.Value("sampling") : "one";
  const int demes = checked.inputs.demeCount;
  if (sampling == "one" || sampling == "equal") {
    o.sampleCells = FillSamplingGrid(
        demes, o.sampleSize, sampling == "one" ? CoalSampling::OneDeme : CoalSampling::Equal);
  } else {
    std::stringstream in(sampling);
    for (std::string cell; std::getline(in, cell, ',');) o.sampleCells.push_back(cell);
  }
  std::string folder;
  if (!OutDirOf(cmd, folder)) return kExitUsage;

  CliServices cli;
  CoalSimIO io{cli.messages, cli.progress, folder, {}};
  const CoalSimOutcome out = RunCoalSim(o, io);
  if (!out.started) return kExitFailed;
  if (out.cancelled) return kExitUndefined;
  std::fwrite(out.report.data(), 1, out.report.size(), stdout);
  std::fputs("\r\n", stdout);
  std::fflush(stdout);
  return out.writeFailed ? kExitFailed : kExitOk;
}

int RunMergeStats(const std::vector<std::string>& args) {
  CliCommand cmd("merge-stats", "FILE...",
                 "Joins the statistics files of slices of one simulation study (simulate --seed "
                 "N --first K --runs R) and prints the summary of all their replicates, the same "
                 "as one run with those replicates gives.");
  cmd.Add("stats", "Also writes the joined statistics file (lines in replicate order).", "FILE");
  cmd.Add("force", "Overwrites an existing --stats file.");
  AddOutDirOption(cmd);
  if (const auto status = cmd.Parse(args, 1, 100000)) return *status;
  const MergedStats m = MergeStatsFiles(cmd.Positionals());
  if (!m.ok) {
    std::cerr << "nodrix3-cli: " << m.error << "\n";
    return kExitFailed;
  }
  std::string report = m.report;
  if (cmd.IsSet("stats")) {
    std::string folder;
    if (!OutDirOf(cmd, folder)) return kExitUsage;
    const std::string path = OutputPath(folder, cmd.Value("stats"));
    if (!cmd.IsSet("force") && std::ifstream(path).good()) {
      std::cerr << "nodrix3-cli: " << path << " exists; --force overwrites it\n";
      return kExitFailed;
    }
    // Through a temporary file renamed over it: a failed write keeps the file that was there.
    CliServices cli;
    if (!SaveTextFile(path, m.statsText, cli.services)) return kExitFailed;
    report += "\r\nSee detailed output in the file " + path;
  }
  std::fwrite(report.data(), 1, report.size(), stdout);
  std::fputs("\r\n", stdout);
  std::fflush(stdout);
  return kExitOk;
}

const bool kSimulate = RegisterCommand(
    {"simulate", "", "coalescent simulations: statistics files and summary", RunSimulate});
const bool kMerge =
    RegisterCommand({"merge-stats", "FILE...", "joins simulation statistics files into one summary",
                     RunMergeStats});

}  // namespace
