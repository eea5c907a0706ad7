// SPDX-License-Identifier: GPL-3.0-or-later
// Throughput of the read-file tools: cutting paired reads from a long FASTA line and turning
// second mates of a FASTQ file.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>

#include "common/Services.h"
#include "editor/FastqPairs.h"
#include "editor/FragmentFasta.h"

namespace {
// Counts what is written and keeps nothing: the benchmark measures the tools, not the growth of
// an in-memory string of hundreds of megabytes.
class CountingBuf : public std::streambuf {
 public:
  std::int64_t bytes = 0;

 protected:
  std::streamsize xsputn(const char*, std::streamsize n) override {
    bytes += n;
    return n;
  }
  int_type overflow(int_type c) override {
    ++bytes;
    return c;
  }
};
std::string RandomLetters(std::size_t length, std::uint32_t seed) {
  std::string s(length, 'A');
  for (char& c : s) {
    seed = seed * 134775813u + 1u;
    c = "ACGT"[seed >> 30];
  }
  return s;
}
}  // namespace

static void BM_FragmentFasta(benchmark::State& state) {
  const std::string input =
      ">chr\n" + RandomLetters(static_cast<std::size_t>(state.range(0)), 7) + "\n";
  NullProgress progress;
  std::int64_t written = 0;
  for (auto _ : state) {
    std::istringstream in(input);
    CountingBuf buf1, buf2;
    std::ostream out1(&buf1), out2(&buf2);
    benchmark::DoNotOptimize(FragmentFasta(in, out1, out2, FragmentOptions{}, progress));
    written = buf1.bytes + buf2.bytes;
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(input.size()));
  state.counters["output_bytes"] = static_cast<double>(written);
}
BENCHMARK(BM_FragmentFasta)->Arg(5'000'000)->Unit(benchmark::kMillisecond);

static void BM_ProcFastqPE(benchmark::State& state) {
  std::string input;
  const std::string letters = RandomLetters(100, 3), quality(100, 'I');
  for (int i = 0; i < state.range(0); ++i)
    input +=
        "@rd" + std::to_string(i) + (i % 2 ? "/2\n" : "/1\n") + letters + "\n+\n" + quality + "\n";
  NullProgress progress;
  for (auto _ : state) {
    std::istringstream in(input);
    CountingBuf buf;
    std::ostream out(&buf);
    benchmark::DoNotOptimize(ProcFastqPE(in, out, progress));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(input.size()));
}
BENCHMARK(BM_ProcFastqPE)->Arg(200'000)->Unit(benchmark::kMillisecond);
