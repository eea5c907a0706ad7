// SPDX-License-Identifier: GPL-3.0-or-later
// Reading GenBank files: one 5 Mb record with 5,000 gene and 5,000 CDS features, and a file of
// 1,000 records read with its progress bar; writing the big record back.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "BenchServices.h"
#include "io/AnnotatedFormats.h"
#include "model/Datasequnit.h"
#include "model/tsequnit.h"

namespace {

// A progress bar that only counts, as the window's would be driven.
class CountingProgress final : public IProgress {
 public:
  int steps = 0, statuses = 0;
  void StartProgress(int, const std::string&) override {}
  void StepProgress(bool) override { ++steps; }
  void ShowStatus(const std::string&, bool, bool) override { ++statuses; }
  void EndProgress() override {}
  bool cancelRequested() const override { return false; }
};

std::uint32_t Next(std::uint32_t& seed) {
  seed = seed * 134775813u + 1u;
  return seed;
}

void AppendOrigin(std::string& text, std::size_t letters, std::uint32_t& seed) {
  text += "ORIGIN\n";
  const char bases[4] = {'a', 'c', 'g', 't'};
  for (std::size_t at = 0; at < letters; at += 60) {
    const std::string number = std::to_string(at + 1);
    text.append(9 - std::min<std::size_t>(9, number.size()), ' ');
    text += number;
    for (std::size_t k = at; k < std::min(letters, at + 60); ++k) {
      if ((k - at) % 10 == 0) text += ' ';
      text += bases[Next(seed) >> 30];
    }
    text += '\n';
  }
  text += "//\n";
}

// Features as NCBI writes them: a gene, then its CDS (every third one joined, every fifth on
// the reverse strand) with a wrapped note and a 300-residue translation.
std::string Record(const std::string& name, std::size_t letters, int genes, std::uint32_t seed) {
  std::string text = "LOCUS       " + name + "  " + std::to_string(letters) +
                     " bp    DNA     linear   BCT 01-JAN-2000\nDEFINITION  Synthetic record.\n"
                     "ACCESSION   " +
                     name +
                     "\nSOURCE      Synthetica\n  ORGANISM  Synthetica\n"
                     "FEATURES             Location/Qualifiers\n"
                     "     source          1.." +
                     std::to_string(letters) + "\n";
  const std::size_t span = letters / static_cast<std::size_t>(std::max(genes, 1));
  const std::string translation(300, 'M');
  for (int g = 0; g < genes; ++g) {
    const std::size_t start = static_cast<std::size_t>(g) * span + 1, end = start + span - 11;
    const std::string range = std::to_string(start) + ".." + std::to_string(end);
    const bool reverse = g % 5 == 4;
    const std::string tag = name + "_" + std::to_string(g);
    text += "     gene            " + (reverse ? "complement(" + range + ")" : range) + "\n";
    text += "                     /gene=\"g" + std::to_string(g) + "\"\n";
    text += "                     /locus_tag=\"" + tag + "\"\n";
    std::string location = range;
    if (g % 3 == 0) {
      const std::size_t mid = start + span / 2;
      location = "join(" + std::to_string(start) + ".." + std::to_string(mid) + ",\n" +
                 std::string(21, ' ') + std::to_string(mid + 10) + ".." + std::to_string(end) + ")";
    }
    if (reverse) location = "complement(" + location + ")";
    text += "     CDS             " + location + "\n";
    text += "                     /locus_tag=\"" + tag + "\"\n";
    text +=
        "                     /note=\"similar to a protein of another record; the\n"
        "                     note runs over two lines\"\n";
    text += "                     /codon_start=" + std::to_string(1 + Next(seed) % 3) + "\n";
    text += "                     /product=\"protein " + std::to_string(g) + "\"\n";
    text += "                     /translation=\"";
    for (std::size_t at = 0; at < translation.size(); at += 58) {
      if (at > 0) text += std::string(21, ' ');
      text += translation.substr(at, 58);
      text += at + 58 >= translation.size() ? "\"\n" : "\n";
    }
  }
  AppendOrigin(text, letters, seed);
  return text;
}

const std::string& BigRecord() {
  static const std::string text = Record("BIG0001", 5'000'000, 5000, 7);
  return text;
}

const std::string& ManyRecords() {
  static const std::string text = [] {
    std::string all;
    for (int r = 0; r < 1000; ++r) all += Record("R" + std::to_string(r), 5000, 5, 11u + r);
    return all;
  }();
  return text;
}

void BM_ReadGenBankBigRecord(benchmark::State& state) {
  const std::string& text = BigRecord();
  for (auto _ : state) {
    BenchServices svc;
    TDataSeq ds(svc.services);
    ReadContext ctx(svc.services, "big.gb");
    if (OpenGenBank(MemorySource(text), ctx, ds) != 1 ||
        ds.SeqAt(1)->regions.size() != 5000 + 5000 + 5000 / 3 + 1)
      state.SkipWithError("the record was not read whole");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ReadGenBankBigRecord)->Unit(benchmark::kMillisecond);

void BM_ReadGenBankRecordsWithProgress(benchmark::State& state) {
  const std::string& text = ManyRecords();
  for (auto _ : state) {
    BenchServices bench;
    CountingProgress progress;
    Services svc{bench.messages, progress, bench.settings, bench.genCode};
    TDataSeq ds(svc);
    ReadContext ctx(svc, "many.gb");
    ctx.showProgress = true;
    if (OpenGenBank(MemorySource(text), ctx, ds) != 1000 || progress.steps != 1000)
      state.SkipWithError("the records were not read with their progress");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ReadGenBankRecordsWithProgress)->Unit(benchmark::kMillisecond);

void BM_WriteGenBankBigRecord(benchmark::State& state) {
  BenchServices svc;
  TDataSeq ds(svc.services);
  ReadContext ctx(svc.services, "big.gb");
  OpenGenBank(MemorySource(BigRecord()), ctx, ds);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string text = GenBankText(*ds.SeqAt(1), svc.genCode);
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_WriteGenBankBigRecord)->Unit(benchmark::kMillisecond);

}  // namespace
