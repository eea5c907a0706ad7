// SPDX-License-Identifier: GPL-3.0-or-later
// A coalescent simulation run as the dialog "Coalescent simulations" and `nodrix3-cli simulate`
// start it: the options as typed, their checks, the sampling grid, the replicate loop with the
// statistics file, the per-deme files and the sequence file, and the summary report.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "coalescent/CoalUnit.h"
#include "coalescent/SimStats.h"

struct IMessages;
struct IProgress;

enum class CoalTarget { SegSites, Mutations, Theta };
enum class CoalSampling { OneDeme, Equal, Typed };

// The dialog's controls with their defaults. Boxes the user types into keep their text, so
// that the checks (and their messages) are the same wherever the options come from.
struct CoalSimOptions {
  int runs = 100;
  std::string recRate = "0";
  int seqLength = 100;
  int sampleSize = 12;
  CoalTarget target = CoalTarget::SegSites;
  int targetCount = 10;
  std::string theta = "0.005";
  bool growth = false;
  std::string ne = "1000000";
  std::string sizeChangeTime = "10000";
  std::string growthRate = "0.5";
  bool subdivided = false;
  std::string demeNumber = "1";
  std::string migrationRate = "0";
  std::string migrationStart = "4000000";
  bool split = false;
  std::string splitTime = "4000000";
  // Rows 1..D of the sampling grid's column 1 (the dialog fills them from the sampling mode).
  std::vector<std::string> sampleCells;
  SimStatChoice stats;
  bool saveStats = true;
  std::string statsFile = "statout.txt";
  bool saveSequences = false;
  std::string sequenceFile = "seqout.txt";
  std::string pValue = "0.05";
  std::uint64_t seed = 0;     // 0: from the clock
  std::int64_t firstRun = 0;  // number of the first replicate (a slice of a larger study)
};

// The control a check failed on and the message to show.
struct CoalOptionError {
  std::string field;  // "Rrate", "ThetaEdit", ... (the component's name)
  std::string message;
};

// The options checked and converted, as the run uses them.
struct CoalSimSettings {
  CoalescentInputs inputs;
  float pValue = 0.05F;
};

// Checks the boxes in the dialog's order; the first failure is returned. The sample sizes of
// the demes are not read here (they are read, with their own messages, when the run starts).
std::optional<CoalOptionError> CheckCoalSimOptions(const CoalSimOptions& options,
                                                   CoalSimSettings& settings);

// The grid's column 1 for rows 1..demes in the given mode (Typed keeps nothing: empty cells).
std::vector<std::string> FillSamplingGrid(int demes, int sampleSize, CoalSampling mode);

// The demes' sample sizes from the cells of rows 1..demes; each bad cell is reported and
// counts 0. The last deme takes what the others leave (its cell is not read).
std::vector<int> GridSampleSizes(const std::vector<std::string>& cells, int demes, int sampleSize,
                                 IMessages& messages);

// One statistic over the replicates: its defined values and how many were not defined.
struct StatColumn {
  std::string label;  // the summary row's label, "SegrSites:   " ...
  bool integer = false;
  std::vector<double> values;
  long long undefined = 0;
};

// The columns the options ask for, in the summary's order (empty values).
std::vector<StatColumn> SummaryColumns(const SimStatChoice& stats, int demes);
// The summary's heading and rows: mean, and the values at the lo, mid and hi places of each
// column in ascending order (the column is reordered).
std::string SummaryRows(std::vector<StatColumn>& columns, float pValue);
// The index of the percentile p among count sorted values, halves to even.
long long PercentileIndex(long long count, double p);

// The header line of the statistics file, its per-deme part (the columns shared with the
// demes' files) first.
std::string StatsHeader(const SimStatChoice& stats, int demes, bool withDemeColumns);

// Where a run's messages, progress and simulated datasets go.
struct CoalSimIO {
  IMessages& messages;
  IProgress& progress;
  std::string folder;  // the output folder for names typed without one
  // Each replicate's sequences, when the simulated datasets are shown.
  std::function<void(std::int64_t run, const std::vector<std::string>& sequences)> datasets;
};

struct CoalSimOutcome {
  bool started = false;  // false: a check failed or no statistics file could be created
  bool cancelled = false;
  bool writeFailed = false;
  std::int64_t completed = 0;
  std::string report;      // the report window's text (empty unless the run ended)
  std::string statsPath;   // the statistics file written, when saved
  std::uint64_t seed = 0;  // the seed used
};

// The whole run: checks, the tree, the files and the replicates, the summary.
CoalSimOutcome RunCoalSim(const CoalSimOptions& options, CoalSimIO& io);

// The seed of replicate number `run` of the study started with `seed`: replicates of one study
// never start from the same generator state, so slices run apart give the replicates of one
// long run.
std::uint64_t ReplicateSeed(std::uint64_t seed, std::int64_t run);

// Statistics files of slices of one study joined: the report of a run with all their
// replicates. Files are read in the order given; replicates come in order of their numbers.
struct MergedStats {
  bool ok = false;
  std::string error;
  std::string statsText;  // header, the lines, an empty line and the report
  std::string report;
};
MergedStats MergeStatsFiles(const std::vector<std::string>& paths);
