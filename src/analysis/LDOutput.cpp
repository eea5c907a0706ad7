// SPDX-License-Identifier: GPL-3.0-or-later
// The pairwise LD texts (sequential and cross-table) with the distance bins of mean R^2.
#include "analysis/LDOutput.h"

#include <algorithm>

#include "common/NumberFormat.h"
#include "io/IOUnit.h"

namespace {

constexpr const char* kCrLf = "\r\n";

int PositionOf(const tmutholder& t, int i) {
  return t.mutations[static_cast<std::size_t>(i)].position;
}

int CarriersOf(const tmutholder& t, int i) {
  return t.mutations[static_cast<std::size_t>(i)].carrierCount;
}

void AppendValue(std::string& out, double v) {
  out += ", ";
  AppendFixed(out, v, 4);
}

// Lines gather in blocks of about 64 kB before they reach the sink.
class LineBlocks {
 public:
  explicit LineBlocks(TextSink& sink) : sink_(sink) { text.reserve(kBlock + 4096); }
  LineBlocks(const LineBlocks&) = delete;
  LineBlocks& operator=(const LineBlocks&) = delete;
  ~LineBlocks() { Flush(); }
  void LineDone() {
    if (text.size() >= kBlock) Flush();
  }
  void Flush() {
    if (text.empty()) return;
    sink_.Put(text);
    text.clear();
  }
  std::string text;

 private:
  static constexpr std::size_t kBlock = 1 << 16;
  TextSink& sink_;
};

class StringSink final : public TextSink {
 public:
  void Put(std::string_view piece) override { text.append(piece); }
  std::string text;
};

}  // namespace

std::vector<int> LDPairSnps(const tmutholder& t, int minSNPfreq) {
  std::vector<int> out;
  const int n = t.SequenceCount();
  for (std::size_t i = 0; i < t.mutations.size(); ++i) {
    const int c = t.mutations[i].carrierCount;
    if (c >= minSNPfreq && c <= n - minSNPfreq) out.push_back(static_cast<int>(i));
  }
  return out;
}

std::vector<int> LDFrequentSnps(const tmutholder& t, int minSNPfreq) {
  std::vector<int> out;
  for (std::size_t i = 0; i < t.mutations.size(); ++i)
    if (t.mutations[i].carrierCount >= minSNPfreq) out.push_back(static_cast<int>(i));
  return out;
}

std::string LDSequentialOutput(const tmutholder& t, const samptype& mask,
                               const std::string& dataset, int alignmentLength,
                               const LDPairChoices& c, DprimeCache* cache, TextSink& sink,
                               const LDRowHook& onRow) {
  LineBlocks out(sink);
  std::string& text = out.text;
  text = "Dataset,SNP1 position,SNP2 position, SNP1 freq, SNP2 freq";
  if (c.D) text += ",D";
  if (c.Dprime) text += ",Dprim";
  if (c.R) text += ",R";
  if (c.chiSquare) text += ",chi^2";
  text += kCrLf;
  const int maxDistance = c.maxDistance < 1 ? alignmentLength : c.maxDistance;
  const int binSize = std::max(1, c.binSize);
  std::vector<long long> binCount;
  std::vector<double> binSum;
  std::string hist;
  if (c.averageR2) {
    const int bins = std::max(0, alignmentLength) / binSize + 1;
    binCount.assign(static_cast<std::size_t>(bins), 0);
    binSum.assign(static_cast<std::size_t>(bins), 0);
    hist = "bins:, ";
    for (int k = 0; k < bins; ++k) hist += std::to_string(k * binSize + 1) + ", ";
    hist += kCrLf;
  }
  if (mask.Size() != t.SequenceCount()) return hist;

  const std::vector<int> snps = LDPairSnps(t, c.minSNPfreq);
  const int s = static_cast<int>(snps.size());
  std::vector<int> pos(static_cast<std::size_t>(s));
  // The second SNP's position and carrier count, written once per pair, are made text once.
  std::vector<std::string> posText(static_cast<std::size_t>(s)), carrierText(posText.size());
  for (int k = 0; k < s; ++k) {
    const auto u = static_cast<std::size_t>(k);
    pos[u] = PositionOf(t, snps[u]);
    posText[u] = std::to_string(pos[u]);
    carrierText[u] = std::to_string(CarriersOf(t, snps[u]));
  }
  // Partners of row k are k + 1 .. reach[k] - 1 (positions rise along the table).
  std::vector<int> reach(static_cast<std::size_t>(s));
  for (int k = 0, r = 0; k < s; ++k) {
    r = std::max(r, k + 1);
    while (r < s && static_cast<long long>(pos[static_cast<std::size_t>(r)]) -
                            pos[static_cast<std::size_t>(k)] <=
                        maxDistance)
      ++r;
    reach[static_cast<std::size_t>(k)] = r;
  }
  const PackedCarriers carriers(t, snps, mask);
  std::string rowHead, carriersI;
  auto startRow = [&](int k) {
    const auto u = static_cast<std::size_t>(k);
    if (onRow && onRow(pos[u])) return true;
    rowHead = dataset + ", " + posText[u] + ", ";
    carriersI = ", " + carrierText[u] + ", ";
    return false;
  };
  auto pair = [&](int k, int l, int, const PairLDValues& v) {
    const auto uk = static_cast<std::size_t>(k), ul = static_cast<std::size_t>(l);
    text += rowHead;
    text += posText[ul];
    text += carriersI;
    text += carrierText[ul];
    if (cache) cache->Put(snps[uk], snps[ul], v.Dprime);
    if (c.averageR2) {
      const auto bin = static_cast<std::size_t>((pos[ul] - pos[uk]) / binSize);
      if (bin < binCount.size()) {
        ++binCount[bin];
        binSum[bin] += v.R * v.R;
      }
    }
    if (c.D) AppendValue(text, v.D);
    if (c.Dprime) AppendValue(text, v.Dprime);
    if (c.R) AppendValue(text, v.R);
    if (c.chiSquare) AppendValue(text, v.chiSquare);
    text += kCrLf;
    out.LineDone();
  };
  ForEachPairLD(carriers, reach, pair, startRow);
  if (c.averageR2) {
    hist += dataset + ", ";
    // A bin that received no pair has no mean.
    for (std::size_t k = 0; k < binCount.size(); ++k)
      hist += (binCount[k] > 0 ? FormatFixed(binSum[k] / static_cast<double>(binCount[k]), 2)
                               : std::string("NA")) +
              ", ";
    hist += kCrLf;
  }
  return hist;
}

LDSequentialText LDSequentialOutput(const tmutholder& t, const samptype& mask,
                                    const std::string& dataset, int alignmentLength,
                                    const LDPairChoices& c, DprimeCache* cache,
                                    const LDRowHook& onRow) {
  StringSink sink;
  LDSequentialText out;
  out.hist = LDSequentialOutput(t, mask, dataset, alignmentLength, c, cache, sink, onRow);
  out.pairs = std::move(sink.text);
  return out;
}

void LDCrossTable(const tmutholder& t, const samptype& mask, const std::string& dataset,
                  int alignmentLength, const LDPairChoices& c, bool dTable, DprimeCache* cache,
                  TextSink& sink, const LDRowHook& onRow) {
  const bool lower = dTable ? c.D : c.R, upper = dTable ? c.Dprime : c.chiSquare;
  LineBlocks blocks(sink);
  std::string& out = blocks.text;
  out = dataset + ", Xtab-LD-output: SNP positions are in the top row and left column.";
  if (dTable) {
    if (c.D) out += " D-values are below diagonal (bottom left).";
    if (c.Dprime) out += " D'-values are above diagonal (top right).";
  } else {
    if (c.R) out += " R-values are below diagonal (bottom left).";
    if (c.chiSquare) out += " Chi^2-values are above diagonal (top right).";
  }
  out += kCrLf;
  const int maxDistance = c.maxDistance < 1 ? alignmentLength : c.maxDistance;
  const std::vector<int> snps =
      mask.Size() == t.SequenceCount() ? LDPairSnps(t, c.minSNPfreq) : std::vector<int>{};
  out += "SNPs:";
  for (int i : snps) out += "," + std::to_string(PositionOf(t, i));
  out += kCrLf;
  const PackedCarriers carriers(t, snps, mask);
  const int m = carriers.SampleSize();
  const int s = static_cast<int>(snps.size());
  for (int k = 0; k < s; ++k) {
    const int i = snps[static_cast<std::size_t>(k)];
    const int pi = PositionOf(t, i);
    if (onRow && onRow(pi)) break;
    out += std::to_string(pi);
    for (int l = 0; l < s; ++l) {
      if (l == k) {
        out += ",NA";
        continue;
      }
      const int j = snps[static_cast<std::size_t>(l)];
      const long long distance = std::abs(static_cast<long long>(PositionOf(t, j)) - pi);
      if (distance > maxDistance) {
        if (l < k) {
          out += ", ";
          continue;
        }
        break;  // positions rise: the rest of the row is beyond the window too
      }
      const PairLDValues v =
          PairLDFromCounts(m, carriers.Count(k), carriers.Count(l), carriers.Both(k, l));
      if (!v.ok) {
        out += ", ";
        continue;
      }
      if (cache) cache->Put(i, j, v.Dprime);
      const bool below = l < k;
      if (below ? !lower : !upper) {
        out += ", ";
        continue;
      }
      const double value = dTable ? (below ? v.D : v.Dprime) : (below ? v.R : v.chiSquare);
      AppendValue(out, value);
    }
    out += kCrLf;
    blocks.LineDone();
  }
  out += kCrLf;
}

std::string LDCrossTable(const tmutholder& t, const samptype& mask, const std::string& dataset,
                         int alignmentLength, const LDPairChoices& c, bool dTable,
                         DprimeCache* cache, const LDRowHook& onRow) {
  StringSink sink;
  LDCrossTable(t, mask, dataset, alignmentLength, c, dTable, cache, sink, onRow);
  return std::move(sink.text);
}
