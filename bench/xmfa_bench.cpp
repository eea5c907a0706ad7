// SPDX-License-Identifier: GPL-3.0-or-later
// An XMFA alignment of 500 blocks x 3 genomes x 10 kb (genomes of 5 Mb, each with a GFF of
// 5,000 features) read as blocks, read with the annotations carried into every entry, and read
// ordered along genome 1 and concatenated.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <cstdint>
#include <fstream>
#include <string>

#include "BenchServices.h"
#include "io/IOUnit.h"
#include "io/MultiLocusFormats.h"
#include "model/DataProjUnit.h"
#include "model/Datasequnit.h"
#include "model/tsequnit.h"

namespace {

constexpr int kBlocks = 500;
constexpr int kBlockLength = 10000;
constexpr int kGenomes = 3;
constexpr int kFeatures = 5000;

// Answers the reader's questions in the order they come.
class ScriptedMessages final : public IMessages {
 public:
  std::vector<bool> answers;
  std::size_t next = 0;
  void ReportError(const std::string&) override {}
  void Notify(const std::string&) override {}
  bool AskYesNo(const std::string&) override { return next < answers.size() && answers[next++]; }
};

struct Files {
  QTemporaryDir dir;
  std::string xmfa;
  std::string text;
};

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Genome g's block b covers letters b * 10 kb + 1 .. (b + 1) * 10 kb; genome 3 lies on the
// minus strand in odd blocks. Every 500th column of each entry is a gap.
const Files& MakeFiles() {
  static Files f = [] {
    Files out;
    const std::string folder = out.dir.path().toStdString() + "/";
    std::uint32_t seed = 11;
    const char bases[4] = {'A', 'C', 'G', 'T'};
    std::vector<std::string> genomes(kGenomes);
    for (int g = 0; g < kGenomes; ++g) {
      std::string& s = genomes[static_cast<std::size_t>(g)];
      s.resize(static_cast<std::size_t>(kBlocks) * kBlockLength);
      for (char& c : s) {
        seed = seed * 134775813u + 1u;
        c = bases[seed >> 30];
      }
      const std::string name = "g" + std::to_string(g + 1);
      WriteFile(folder + name + ".fa", ">" + name + "\n" + s + "\n");
      std::string gff;
      for (int k = 0; k < kFeatures; ++k) {
        const int start = 1 + k * (static_cast<int>(s.size()) / kFeatures) + 300;
        gff += name + "\tbench\tCDS\t" + std::to_string(start) + "\t" +
               std::to_string(start + 1499) + "\t.\t" + (k % 2 ? "-" : "+") + "\t0\tID=f\n";
      }
      WriteFile(folder + name + ".gff", gff);
      out.text += "#Sequence" + std::to_string(g + 1) + "File\t" + name + ".fa\n";
    }
    for (int b = 0; b < kBlocks; ++b) {
      for (int g = 0; g < kGenomes; ++g) {
        const bool minus = g == 2 && b % 2 == 1;
        const int start = b * kBlockLength + 1;
        out.text += "> " + std::to_string(g + 1) + ":" + std::to_string(start) + "-" +
                    std::to_string(start + kBlockLength - 1) + (minus ? " - " : " + ") + "g" +
                    std::to_string(g + 1) + ".fa\n";
        std::string row = genomes[static_cast<std::size_t>(g)].substr(
            static_cast<std::size_t>(start - 1), kBlockLength);
        for (std::size_t at = 499; at < row.size(); at += 500) row.insert(at, 1, '-');
        for (std::size_t at = 0; at < row.size(); at += 80) out.text += row.substr(at, 80) + "\n";
      }
      out.text += "=\n";
    }
    out.xmfa = folder + "bench.xmfa";
    WriteFile(out.xmfa, out.text);
    return out;
  }();
  return f;
}

void ReadWith(benchmark::State& state, std::vector<bool> answers) {
  const Files& f = MakeFiles();
  const MemorySource src(f.text);
  std::size_t rows = 0, regions = 0;
  for (auto _ : state) {
    ScriptedMessages msg;
    msg.answers = answers;
    BenchServices b;
    Services svc{msg, b.progress, b.settings, b.genCode};
    TDataProj proj(svc);
    ReadContext ctx(svc, f.xmfa);
    benchmark::DoNotOptimize(OpenXmfa(src, ctx, proj));
    rows = static_cast<std::size_t>(proj.TotalSeqCount());
    regions = 0;
    for (int d = 0; d < proj.DatasetCount(); ++d)
      for (int r = 1; r <= proj.DatasetAt(d)->Count(); ++r)
        regions += proj.DatasetAt(d)->SeqAt(r)->regions.size();
  }
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["regions"] = static_cast<double>(regions);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(f.text.size()));
}

// Ordering No (so no concatenation), annotations No.
void BM_XmfaBlocks(benchmark::State& state) {
  ReadWith(state, {false, false});
}
// Ordering No, annotations Yes: the three genomes and their GFF files are read too.
void BM_XmfaAnnotated(benchmark::State& state) {
  ReadWith(state, {false, true});
}
// Ordering Yes, concatenation Yes, annotations No.
void BM_XmfaOrderedConcatenated(benchmark::State& state) {
  ReadWith(state, {true, true, false});
}

}  // namespace

BENCHMARK(BM_XmfaBlocks)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_XmfaAnnotated)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_XmfaOrderedConcatenated)->Unit(benchmark::kMillisecond)->Iterations(2);
