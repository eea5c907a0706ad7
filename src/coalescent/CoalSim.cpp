// SPDX-License-Identifier: GPL-3.0-or-later
// The simulation run behind the dialog and the command line.
#include "coalescent/CoalSim.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "coalescent/SimulationRun.h"
#include "common/NumberFormat.h"
#include "common/OutputFolder.h"
#include "common/Services.h"
#include "common/StepTicker.h"
#include "io/TextHelpers.h"

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr const char* kError = "     Error";
constexpr int kRunWidth = 7;
constexpr int kValueWidth = 10;

// The statistics in the order of the summary; the statistics file has the pairs-of-demes
// counts (Shared..Excl2) before Fst.
enum Stat {
  kS,
  kSingl,
  kTheta,
  kPi,
  kD,
  kDstar,
  kFstar,
  kZnS,
  kB,
  kQ,
  kFst,
  kDst,
  kKst,
  kNm,
  kDxy,
  kDa,
  kShared,
  kFixed,
  kEx1,
  kEx2,
  kStatCount
};

constexpr const char* kLabels[kStatCount] = {
    "SegrSites:   ", "Singletons:  ", "Theta:       ", "   Pi:       ", "Tajima D:    ",
    " Fu&Li D*:   ", " Fu&Li F*:   ", "Kelly ZnS:   ", "   Wall B:   ", "   Wall Q:   ",
    "      Fst:   ", "      Dst:   ", "      Kst:   ", "       Nm:   ", "      Dxy:   ",
    "       Da:   ", "   Shared:   ", "    Fixed:   ", "Exclusive 1: ", "Exclusive 2: "};

bool IsInteger(int s) {
  return s == kS || s >= kShared;
}

// Which statistics are on, in the statistics file's column order.
std::vector<int> FileColumns(const SimStatChoice& c, int demes) {
  std::vector<int> out;
  if (c.segSites) out.push_back(kS);
  if (c.singletons) out.push_back(kSingl);
  if (c.theta) out.push_back(kTheta);
  if (c.pi) out.push_back(kPi);
  if (c.tajimaD) out.push_back(kD);
  if (c.fuLi) out.insert(out.end(), {kDstar, kFstar});
  if (c.zns) out.push_back(kZnS);
  if (c.wallBQ) out.insert(out.end(), {kB, kQ});
  if (c.shared && demes == 2) out.insert(out.end(), {kShared, kFixed, kEx1, kEx2});
  if (c.fst) out.push_back(kFst);
  if (c.dst) out.push_back(kDst);
  if (c.kst) out.push_back(kKst);
  if (c.nm) out.push_back(kNm);
  if (c.dxy) out.insert(out.end(), {kDxy, kDa});
  return out;
}

std::optional<double> Real(const std::string& text) {
  return ParseReal(TrimBlanks(text));
}
std::optional<int> Integer(const std::string& text) {
  return ParseInt(TrimBlanks(text));
}

// A value as the statistics file shows it; nullopt where it prints "     Error".
std::optional<double> Printed(int stat, double v) {
  switch (stat) {
    case kD:
    case kDstar:
    case kFstar:
      if (v == kNeutralityError) return std::nullopt;
      break;
    case kNm:
      if (v < 0 || v > 100000) return std::nullopt;
      break;
    case kDxy:
    case kDa:
      if (v == -1) return std::nullopt;
      break;
    default:
      break;
  }
  return v;
}

// Theta, ZnS and Wall's B and Q are never negative where they are defined; the -1 the
// analyses return for "cannot be computed" is written as it is, but as a summary value it would
// pull the mean and the percentiles down, so it counts as undefined.
bool CountsInSummary(int stat, double shown) {
  const bool nonNegative = stat == kTheta || stat == kZnS || stat == kB || stat == kQ;
  return !nonNegative || shown >= 0;
}

double SampleValue(int stat, const SampleStats& s) {
  switch (stat) {
    case kS:
      return s.segSites;
    case kSingl:
      return s.singletons;
    case kTheta:
      return s.theta;
    case kPi:
      return s.pi;
    case kD:
      return s.tajimaD;
    case kDstar:
      return s.fuLiDstar;
    case kFstar:
      return s.fuLiFstar;
    case kZnS:
      return s.zns;
    case kB:
      return s.wallB;
    default:
      return s.wallQ;
  }
}

double ReplicateValue(int stat, const ReplicateStats& r) {
  switch (stat) {
    case kShared:
      return r.shared.shared;
    case kFixed:
      return r.shared.fixed;
    case kEx1:
      return r.shared.exclusiveX;
    case kEx2:
      return r.shared.exclusiveY;
    case kFst:
      return r.fst;
    case kDst:
      return r.dst;
    case kKst:
      return r.kst;
    case kNm:
      return r.nm;
    case kDxy:
      return r.dxy;
    case kDa:
      return r.da;
    default:
      return SampleValue(stat, r.whole);
  }
}

// Appends the value's field; the value as written (or nullopt for "Error") is returned, so
// that the summary describes exactly the file's values and a summary rebuilt from the files
// of several runs equals that of one run.
std::optional<double> AppendValue(std::string& line, int stat, double v) {
  const std::optional<double> shown = Printed(stat, v);
  if (!shown) {
    line += kError;
    return std::nullopt;
  }
  if (IsInteger(stat)) {
    line += PadLeft(std::to_string(static_cast<long long>(v)), kValueWidth);
    return v;
  }
  const std::size_t start = line.size();
  line += FixedWidth(v, kValueWidth, 3);
  return std::strtod(line.c_str() + start, nullptr);
}

std::string Run7(std::int64_t r) {
  return PadLeft(std::to_string(r), kRunWidth);
}

// The header of the per-deme columns and of the columns only the whole sample has.
std::string HeaderPart(int stat) {
  switch (stat) {
    case kS:
      return " SegSites ";
    case kSingl:
      return " % singls ";
    case kTheta:
      return "  Theta   ";
    case kPi:
      return "    Pi    ";
    case kD:
      return " Tajima D ";
    case kDstar:
      return "  Fu&LiD* ";
    case kFstar:
      return "  Fu&LiF* ";
    case kZnS:
      return " Kelly Z  ";
    case kB:
      return "  Wall B   and   Q  ";
    case kShared:
      return "    Shared     Fixed     Excl.1     Excl.2";
    case kFst:
      return "    Fst    ";
    case kDst:
      return "    Dst    ";
    case kKst:
      return "   Kst    ";
    case kNm:
      return "   Nm    ";
    case kDxy:
      return "    Dxy       Da  ";
    default:
      return {};
  }
}

bool PerDeme(int stat) {
  return stat <= kQ;
}

// For each statistic, its place among the summary's rows (-1 when off).
std::vector<int> SummaryIndex(std::vector<int> columns) {
  std::sort(columns.begin(), columns.end());
  std::vector<int> index(kStatCount, -1);
  for (std::size_t i = 0; i < columns.size(); ++i) index[columns[i]] = static_cast<int>(i);
  return index;
}

bool OpenText(std::ofstream& out, const std::string& path) {
  out.open(path, std::ios::binary | std::ios::trunc);
  return out.is_open();
}

std::string ReportHead(const CoalSimOptions& o, const CoalSimSettings& s, std::uint64_t seed,
                       std::int64_t runs) {
  const CoalescentInputs& in = s.inputs;
  std::string t = "Seed: " + std::to_string(seed) + kCrLf;
  t += "Runs: " + std::to_string(runs) + ";  " + "Seq.Number: " + std::to_string(in.sampleSize) +
       ";   " + "Seq.Length: " + std::to_string(in.seqLength) + ";   " + kCrLf;
  t += "Recombination rate between adjacent nucleotides: " + FixedWidth(in.recRatePerSite, 6, 4) +
       ";   " + kCrLf;
  if (!in.subdivided) {
    t += std::string("Panmictic population;") + kCrLf;
  } else {
    t += "Subdivided population. Number of demes: " + std::to_string(in.demeCount) + ";" +
         "Migration rate, Nm: " + FixedWidth(in.migrationRate, 5, 3) + ";" + kCrLf;
    if (o.split)
      t += "Populations split " + FixedWidth(in.splitTime / in.effectiveSize, 6, 4) +
           " Ne generations ago" + kCrLf;
  }
  if (o.growth)
    t += "Population growth or selective sweep " +
         FixedWidth(in.sizeChangeTime / in.effectiveSize, 6, 4) + " Ne generations ago" + kCrLf;
  if (in.conditionalOnTheta)
    t += "Simulations conditional on Theta: " + FixedWidth(in.theta, 3, 3) + kCrLf;
  else
    t += "Simulations conditional on " + std::to_string(in.targetCount) + " segregating sites" +
         kCrLf;
  t += std::string(kCrLf) + kCrLf;
  return t;
}

}  // namespace

std::optional<CoalOptionError> CheckCoalSimOptions(const CoalSimOptions& o,
                                                   CoalSimSettings& settings) {
  CoalescentInputs& in = settings.inputs;
  in = CoalescentInputs();
  in.sampleSize = o.sampleSize;
  in.seqLength = o.seqLength;
  in.targetCount = o.targetCount;
  in.conditionalOnTheta = o.target == CoalTarget::Theta;
  in.conditionalOnMutations = o.target == CoalTarget::Mutations;
  const auto fail = [](const char* field, const char* message) {
    return std::optional<CoalOptionError>(CoalOptionError{field, message});
  };
  const auto unit = [](std::optional<double> v) { return v && *v >= 0 && *v <= 1; };

  const auto rec = Real(o.recRate);
  if (!unit(rec))
    return fail("Rrate", "The value of pernucleotide recombination rate must be between 0 and 1");
  in.recRatePerSite = static_cast<float>(*rec);
  const auto theta = Real(o.theta);
  if (!unit(theta)) return fail("ThetaEdit", "The value of Theta must be between 0 and 1");
  in.theta = *theta;
  const auto ne = Integer(o.ne);
  if (!ne) return fail("EditNe", "The value of Ne must be integer");
  in.effectiveSize = *ne;
  const auto since = Real(o.sizeChangeTime);
  if (!since) return fail("TsinceEdit", "Time since population size change must be integer");
  in.sizeChangeTime = *since;
  const auto growth = Real(o.growthRate);
  if (!unit(growth)) return fail("ScoEdit", "Population growth parameter must be between 0 and 1");
  // ln(g w + 1) / g, the time scale of growth, has no value at g = 0.
  if (o.growth && *growth == 0)
    return fail("ScoEdit", "Population growth parameter must be greater than 0 with growth");
  in.growthRate = static_cast<float>(*growth);
  in.constantSize = !o.growth;
  const auto p = Real(o.pValue);
  if (!unit(p)) return fail("Pval", "P-value parameter must be between 0 and 1");
  settings.pValue = static_cast<float>(*p);
  const auto demes = Integer(o.demeNumber);
  if (!demes || *demes < 1 || *demes > 1000)
    return fail("DemeNumber", "Number of demes must be integer value");
  in.subdivided = o.subdivided;
  in.demeCount = o.subdivided ? *demes : 1;
  const auto mig = Real(o.migrationRate);
  if (!mig) return fail("MigRateEdit", "Migration rate must be real value");
  in.migrationRate = *mig;
  const auto start = Integer(o.migrationStart);
  if (!start) return fail("MigRateEdit", "Beginning of migration must be integer value");
  in.migrationStart = *start;
  const auto split = Real(o.splitTime);
  if (!split) return fail("TofSplit", "Time of split must be real value");
  in.splitTime = *split;
  in.splitOff = !o.split;

  if (o.target == CoalTarget::SegSites && o.seqLength < o.targetCount)
    return fail("nMut", "Number of segregating sites can not be > than the sequence length!");
  return std::nullopt;
}

std::vector<std::string> FillSamplingGrid(int demes, int sampleSize, CoalSampling mode) {
  std::vector<std::string> cells(static_cast<std::size_t>(std::max(demes, 0)));
  if (cells.empty() || mode == CoalSampling::Typed) return cells;
  if (mode == CoalSampling::OneDeme) {
    cells[0] = std::to_string(sampleSize);
    for (std::size_t d = 1; d < cells.size(); ++d) cells[d] = "0";
    return cells;
  }
  const int each = sampleSize / demes;
  for (auto& c : cells) c = std::to_string(each);
  cells.back() = std::to_string(each + sampleSize - each * demes);
  return cells;
}

std::vector<int> GridSampleSizes(const std::vector<std::string>& cells, int demes, int sampleSize,
                                 IMessages& messages) {
  std::vector<int> sizes(static_cast<std::size_t>(std::max(demes, 0)), 0);
  int remaining = sampleSize;
  for (int d = 0; d < demes; ++d) {
    const auto i = static_cast<std::size_t>(d);
    const auto value = i < cells.size() ? Integer(cells[i]) : std::nullopt;
    if (!value && d != demes - 1) {
      messages.Notify("Sample size from " + std::to_string(d + 1) + " deme is uncorrect");
      continue;
    }
    if (d == demes - 1) {
      sizes[i] = remaining;
      continue;
    }
    // A negative cell would raise what is left for the last deme so that the sum still
    // matched; it is refused like a cell asking for more than is left, which leaves nothing
    // that can match (the whole sample then goes to the first deme).
    remaining = *value < 0 ? std::min(remaining, 0) - 1 : remaining - *value;
    if (remaining < 0)
      messages.Notify(
          "Sum of sequences sampled from demes must be equal to total number of "
          "sequences");
    else
      sizes[i] = *value;
  }
  return sizes;
}

std::vector<StatColumn> SummaryColumns(const SimStatChoice& stats, int demes) {
  std::vector<int> on = FileColumns(stats, demes);
  std::sort(on.begin(), on.end());
  std::vector<StatColumn> out;
  for (int s : on) out.push_back(StatColumn{kLabels[s], IsInteger(s), {}, 0});
  return out;
}

long long PercentileIndex(long long count, double p) {
  if (count < 1) return 0;
  return RoundHalfEven(static_cast<double>(count - 1) * p);
}

std::string SummaryRows(std::vector<StatColumn>& columns, float pValue) {
  const double p = pValue;
  std::string t = "Statistics     Mean     " + FixedWidth(p * 100, 4, 3) + "%       50%   " +
                  FixedWidth((1 - p) * 100, 4, 3) + "% - percentiles" + kCrLf;
  for (StatColumn& c : columns) {
    t += c.label;
    const auto count = static_cast<long long>(c.values.size());
    if (count > 0) {
      // The sum in replicate order, so that joined slices give the same mean to the last bit.
      double sum = 0;
      for (double v : c.values) sum += v;
      t += FixedWidth(sum / static_cast<double>(count), 6, 3);
      // Only three places of the sorted column are printed: selecting them gives the values a
      // full sort puts there in linear time (a million replicates of twenty statistics).
      auto& v = c.values;
      const auto mid = static_cast<std::ptrdiff_t>(PercentileIndex(count, 0.5));
      std::nth_element(v.begin(), v.begin() + mid, v.end());
      for (double q : {p, 1 - p}) {
        const auto i = static_cast<std::ptrdiff_t>(PercentileIndex(count, q));
        if (i < mid) std::nth_element(v.begin(), v.begin() + i, v.begin() + mid);
        if (i > mid) std::nth_element(v.begin() + mid + 1, v.begin() + i, v.end());
      }
      for (double q : {p, 0.5, 1 - p}) {
        const double x = v[static_cast<std::size_t>(PercentileIndex(count, q))];
        t += "    ";
        t +=
            c.integer ? PadLeft(std::to_string(static_cast<long long>(x)), 6) : FixedWidth(x, 6, 3);
      }
    }
    if (c.undefined > 0) t += " (" + std::to_string(c.undefined) + " undefined)";
    t += kCrLf;
  }
  return t;
}

std::string StatsHeader(const SimStatChoice& stats, int demes, bool withDemeColumns) {
  std::string h = "  Run N ";
  for (int s : FileColumns(stats, demes)) {
    if (s == kQ || s == kFstar || s == kFixed || s == kEx1 || s == kEx2 || s == kDa) continue;
    if (PerDeme(s) || withDemeColumns) h += HeaderPart(s);
  }
  return h;
}

std::uint64_t ReplicateSeed(std::uint64_t seed, std::int64_t run) {
  // The generator state comes from the seed's low word, one to one (see SeedsFrom): stepping
  // the low word gives every replicate of a study its own state; replicate numbers start at 1
  // past the seed itself, which draws the ancestral sequence.
  const auto low = static_cast<std::uint32_t>(seed) + static_cast<std::uint32_t>(run + 1);
  return (seed & 0xffffffff00000000ull) | low;
}

CoalSimOutcome RunCoalSim(const CoalSimOptions& o, CoalSimIO& io) {
  CoalSimOutcome outcome;
  CoalSimSettings settings;
  if (const auto error = CheckCoalSimOptions(o, settings)) {
    io.messages.Notify(error->message);
    return outcome;
  }
  cTree tree(io.messages);
  tree.inputs = settings.inputs;
  if (o.subdivided)
    tree.inputs.demeSampleSizes =
        GridSampleSizes(o.sampleCells, settings.inputs.demeCount, o.sampleSize, io.messages);
  if (!tree.InitSimulation(o.seed != 0 ? std::optional<std::uint64_t>(o.seed) : std::nullopt))
    return outcome;
  settings.inputs = tree.inputs;
  if (!settings.inputs.conditionalOnTheta) settings.inputs.theta = 0;
  outcome.seed = tree.SeedUsed();

  std::ofstream stats;
  if (o.saveStats) {
    const std::string name = OutputPath(io.folder, o.statsFile);
    std::string used = name;
    if (!OpenText(stats, used)) {
      for (const char* suffix : {"1", "2"}) {
        used = name + suffix;
        if (OpenText(stats, used)) {
          io.messages.Notify("File " + name + " is used by another application." + kCrLf +
                             "Output will be directed to file " + used);
          break;
        }
      }
    }
    if (!stats.is_open()) {
      // Without any statistics file the replicates would be lost: the run does not start.
      io.messages.Notify("Can not create file " + name);
      return outcome;
    }
    outcome.statsPath = used;
  }
  std::ofstream sequences;
  const std::string seqPath = OutputPath(io.folder, o.sequenceFile);
  if (o.saveSequences && !OpenText(sequences, seqPath)) {
    io.messages.Notify("Can not create file " + seqPath);
    return outcome;
  }
  outcome.started = true;

  const int D = tree.inputs.demeCount;
  const std::vector<int> columns = FileColumns(o.stats, D);
  std::vector<int> demeColumns;
  for (int s : columns)
    if (PerDeme(s)) demeColumns.push_back(s);
  std::vector<StatColumn> summary = SummaryColumns(o.stats, D);
  const std::vector<int> summaryIndex = SummaryIndex(columns);
  for (StatColumn& c : summary) c.values.reserve(static_cast<std::size_t>(o.runs));

  const std::string header = StatsHeader(o.stats, D, true);
  std::vector<std::string> demeText(static_cast<std::size_t>(D));
  for (int d = 0; d < D; ++d)
    demeText[static_cast<std::size_t>(d)] =
        "Population " + std::to_string(d) + kCrLf + StatsHeader(o.stats, D, false) + kCrLf;
  // The header goes out at once: a run cancelled inside its first replicate still leaves it.
  if (o.saveStats) stats << header << kCrLf;
  std::string line;
  const bool withSequences = o.saveSequences || static_cast<bool>(io.datasets);

  std::int64_t done = 0;
  {
    ProgressScope progress(io.progress, o.runs, "Running coalescent simulations...");
    StepTicker ticker(&io.progress, "Running coalescent simulations...", o.runs);
    RunCallbacks callbacks;
    callbacks.starting = [&](int r) {
      tree.SeedReplicate(ReplicateSeed(outcome.seed, o.firstRun + r));
    };
    callbacks.cancelled = [&] { return io.progress.cancelRequested() || ticker.Tick(done); };
    callbacks.progress = [&](int) { progress.Step(true); };
    callbacks.sink = [&](const ReplicateView& v) {
      const std::int64_t run = o.firstRun + v.index;
      if (io.datasets) io.datasets(run, *v.sequences);
      if (o.saveSequences) {
        sequences << kCrLf << "   " << o.sampleSize << "  " << o.seqLength << kCrLf;
        for (std::size_t i = 0; i < v.sequences->size(); ++i)
          sequences << FitText("Seq" + std::to_string(i + 1), 10) << (*v.sequences)[i] << kCrLf;
      }
      for (std::string& t : demeText) t += Run7(run);
      if (o.saveStats && !line.empty()) stats << line << kCrLf;
      line = Run7(run);
      for (int s : columns) {
        const std::optional<double> shown = AppendValue(line, s, ReplicateValue(s, v.stats));
        StatColumn& c = summary[static_cast<std::size_t>(summaryIndex[s])];
        if (shown && CountsInSummary(s, *shown))
          c.values.push_back(*shown);
        else
          ++c.undefined;
      }
      for (int d = 0; d < D; ++d)
        for (int s : demeColumns)
          AppendValue(demeText[static_cast<std::size_t>(d)], s,
                      SampleValue(s, v.stats.demes[static_cast<std::size_t>(d)]));
      for (std::string& t : demeText) t += kCrLf;
      ++done;
    };
    const RunOutcome run = RunReplicates(tree, o.runs, o.stats, withSequences, callbacks);
    outcome.completed = run.completed;
    outcome.cancelled = run.cancelled;
  }
  if (outcome.cancelled) {
    io.messages.Notify("Simulation cancelled!");
    return outcome;
  }
  if (o.saveSequences) io.messages.Notify("Simulated datasets saved to file " + seqPath);
  if (o.saveStats) {
    stats << line << kCrLf << kCrLf;
    const std::string base = OutputPath(io.folder, PathWithoutExtension(o.statsFile));
    for (int d = 0; d < D; ++d) {
      const std::string name = base + "~" + std::to_string(d) + ".txt";
      std::ofstream out;
      if (!OpenText(out, name) || !(out << demeText[static_cast<std::size_t>(d)]).flush()) {
        io.messages.Notify(std::string("Can not right to the file") + kCrLf + name);
      }
    }
  }
  {
    ProgressScope progress(io.progress, 15, "Processing output...");
    outcome.report = ReportHead(o, settings, outcome.seed, outcome.completed) +
                     SummaryRows(summary, settings.pValue);
  }
  if (o.saveStats) {
    stats << outcome.report;
    stats.flush();
    outcome.writeFailed = !stats;
    outcome.report += std::string(kCrLf) + "See detailed output in the file " + outcome.statsPath;
  }
  if (o.saveSequences && !sequences.flush()) outcome.writeFailed = true;
  if (outcome.writeFailed) io.messages.Notify("Input/output error writing the simulation files");
  return outcome;
}

namespace {

struct StatsFileParts {
  std::string header;
  std::vector<std::pair<std::int64_t, std::string>> lines;  // run number, line
  std::string seedLine;
  std::vector<std::string> head;  // the report's lines before the summary, Runs line blanked
  std::string heading;
};

bool SplitStatsFile(const std::string& text, StatsFileParts& parts, std::string& error) {
  LineReader reader(text);
  std::vector<std::string> all;
  for (std::string_view l; reader.Next(l);) all.emplace_back(l);
  std::size_t i = 0;
  if (all.empty()) {
    error = "empty file";
    return false;
  }
  parts.header = all[i++];
  if (parts.header.rfind("  Run N ", 0) != 0) {
    error = "not a statistics file of coalescent simulations";
    return false;
  }
  for (; i < all.size() && !all[i].empty(); ++i) {
    char* end = nullptr;
    const long long run = std::strtoll(all[i].c_str(), &end, 10);
    if (end == all[i].c_str()) {
      error = "a replicate line without its number";
      return false;
    }
    parts.lines.emplace_back(run, all[i]);
  }
  for (++i; i < all.size(); ++i) {
    const std::string& l = all[i];
    if (l.rfind("Statistics ", 0) == 0) {
      parts.heading = l;
      return true;
    }
    if (l.rfind("Seed: ", 0) == 0)
      parts.seedLine = l;
    else if (l.rfind("Runs: ", 0) == 0)
      parts.head.push_back(l.substr(l.find(';')));
    else
      parts.head.push_back(l);
  }
  error = "the summary is missing (the run did not end)";
  return false;
}

}  // namespace

MergedStats MergeStatsFiles(const std::vector<std::string>& paths) {
  MergedStats m;
  std::vector<StatsFileParts> files(paths.size());
  for (std::size_t f = 0; f < paths.size(); ++f) {
    std::ifstream in(paths[f], std::ios::binary);
    if (!in) {
      m.error = "cannot read " + paths[f];
      return m;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::string why;
    if (!SplitStatsFile(text.str(), files[f], why)) {
      m.error = paths[f] + ": " + why;
      return m;
    }
    if (f > 0 && (files[f].header != files[0].header || files[f].head != files[0].head ||
                  files[f].heading != files[0].heading)) {
      m.error = paths[f] + ": the simulation differs from that of " + paths[0];
      return m;
    }
  }
  if (files.empty()) {
    m.error = "no files";
    return m;
  }
  // The columns and the P-value as the files show them.
  const std::string& h = files[0].header;
  SimStatChoice c;
  const auto has = [&](int stat) { return h.find(HeaderPart(stat)) != std::string::npos; };
  c.segSites = has(kS);
  c.singletons = has(kSingl);
  c.theta = has(kTheta);
  c.pi = has(kPi);
  c.tajimaD = has(kD);
  c.fuLi = has(kDstar);
  c.zns = has(kZnS);
  c.wallBQ = has(kB);
  c.shared = has(kShared);
  c.fst = has(kFst);
  c.dst = has(kDst);
  c.kst = has(kKst);
  c.nm = has(kNm);
  c.dxy = has(kDxy);
  const int demes = c.shared ? 2 : 1;
  const std::vector<int> columns = FileColumns(c, demes);
  std::vector<StatColumn> summary = SummaryColumns(c, demes);
  const std::vector<int> summaryIndex = SummaryIndex(columns);
  const std::vector<std::string_view> words = SplitWords(files[0].heading);
  const auto percent =
      words.size() > 2 ? ParseReal(words[2].substr(0, words[2].find('%'))) : std::nullopt;
  if (!percent) {
    m.error = paths[0] + ": the summary's heading has no percentile";
    return m;
  }
  const auto pValue = static_cast<float>(*percent / 100);

  std::vector<std::pair<std::int64_t, std::string>> lines;
  for (const StatsFileParts& f : files) lines.insert(lines.end(), f.lines.begin(), f.lines.end());
  std::stable_sort(lines.begin(), lines.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  // A slice given twice would count its replicates twice.
  const auto twice = std::adjacent_find(
      lines.begin(), lines.end(), [](const auto& a, const auto& b) { return a.first == b.first; });
  if (twice != lines.end()) {
    m.error = "replicate " + std::to_string(twice->first) + " is in more than one file";
    return m;
  }
  for (const auto& [run, line] : lines) {
    std::size_t pos = line.find_first_not_of(' ');
    pos = line.find(' ', pos);
    if (pos == std::string::npos) pos = line.size();
    for (int s : columns) {
      const std::string field = pos < line.size() ? line.substr(pos, kValueWidth) : std::string();
      pos += kValueWidth;
      StatColumn& col = summary[static_cast<std::size_t>(summaryIndex[s])];
      if (TrimBlanks(field) == "Error") {
        ++col.undefined;
        continue;
      }
      const auto v = ParseReal(TrimBlanks(field));
      if (!v) {
        m.error = "a replicate line with too few values: " + line;
        return m;
      }
      if (CountsInSummary(s, *v))
        col.values.push_back(*v);
      else
        ++col.undefined;
    }
  }
  std::string seedLine = files[0].seedLine;
  for (const StatsFileParts& f : files)
    if (f.seedLine != seedLine) seedLine = "Seed: several";
  m.report = seedLine + kCrLf + "Runs: " + std::to_string(lines.size());
  for (const std::string& l : files[0].head) m.report += l + kCrLf;
  m.report += SummaryRows(summary, pValue);
  m.statsText = h + kCrLf;
  for (const auto& l : lines) m.statsText += l.second + kCrLf;
  m.statsText += kCrLf + m.report;
  m.ok = true;
  return m;
}
