// SPDX-License-Identifier: GPL-3.0-or-later
// The pairwise LD texts (sequential and cross-table) with the distance bins of mean R^2.
#include "analysis/LDOutput.h"

#include <algorithm>

#include "common/NumberFormat.h"

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
  out += FormatFixed(v, 4);
}

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

LDSequentialText LDSequentialOutput(const tmutholder& t, const samptype& mask,
                                    const std::string& dataset, int alignmentLength,
                                    const LDPairChoices& c, DprimeCache* cache,
                                    const LDRowHook& onRow) {
  LDSequentialText out;
  out.pairs = "Dataset,SNP1 position,SNP2 position, SNP1 freq, SNP2 freq";
  if (c.D) out.pairs += ",D";
  if (c.Dprime) out.pairs += ",Dprim";
  if (c.R) out.pairs += ",R";
  if (c.chiSquare) out.pairs += ",chi^2";
  out.pairs += kCrLf;
  const int maxDistance = c.maxDistance < 1 ? alignmentLength : c.maxDistance;
  const int binSize = std::max(1, c.binSize);
  std::vector<long long> binCount;
  std::vector<double> binSum;
  if (c.averageR2) {
    const int bins = std::max(0, alignmentLength) / binSize + 1;
    binCount.assign(static_cast<std::size_t>(bins), 0);
    binSum.assign(static_cast<std::size_t>(bins), 0);
    out.hist = "bins:, ";
    for (int k = 0; k < bins; ++k) out.hist += std::to_string(k * binSize + 1) + ", ";
    out.hist += kCrLf;
  }
  if (mask.Size() != t.SequenceCount()) return out;

  const std::vector<int> snps = LDPairSnps(t, c.minSNPfreq);
  const int s = static_cast<int>(snps.size());
  std::vector<int> pos(static_cast<std::size_t>(s));
  for (int k = 0; k < s; ++k)
    pos[static_cast<std::size_t>(k)] = PositionOf(t, snps[static_cast<std::size_t>(k)]);
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
    const int posI = pos[static_cast<std::size_t>(k)];
    if (onRow && onRow(posI)) return true;
    rowHead = dataset + ", " + std::to_string(posI) + ", ";
    carriersI = ", " + std::to_string(CarriersOf(t, snps[static_cast<std::size_t>(k)])) + ", ";
    return false;
  };
  auto pair = [&](int k, int l, int, const PairLDValues& v) {
    const int i = snps[static_cast<std::size_t>(k)], j = snps[static_cast<std::size_t>(l)];
    const int posI = pos[static_cast<std::size_t>(k)], posJ = pos[static_cast<std::size_t>(l)];
    out.pairs += rowHead;
    out.pairs += std::to_string(posJ);
    out.pairs += carriersI;
    out.pairs += std::to_string(CarriersOf(t, j));
    if (cache) cache->Put(i, j, v.Dprime);
    if (c.averageR2) {
      const auto bin = static_cast<std::size_t>((posJ - posI) / binSize);
      if (bin < binCount.size()) {
        ++binCount[bin];
        binSum[bin] += v.R * v.R;
      }
    }
    if (c.D) AppendValue(out.pairs, v.D);
    if (c.Dprime) AppendValue(out.pairs, v.Dprime);
    if (c.R) AppendValue(out.pairs, v.R);
    if (c.chiSquare) AppendValue(out.pairs, v.chiSquare);
    out.pairs += kCrLf;
  };
  ForEachPairLD(carriers, reach, pair, startRow);
  if (c.averageR2) {
    out.hist += dataset + ", ";
    // A bin that received no pair has no mean.
    for (std::size_t k = 0; k < binCount.size(); ++k)
      out.hist += (binCount[k] > 0 ? FormatFixed(binSum[k] / static_cast<double>(binCount[k]), 2)
                                   : std::string("NA")) +
                  ", ";
    out.hist += kCrLf;
  }
  return out;
}

std::string LDCrossTable(const tmutholder& t, const samptype& mask, const std::string& dataset,
                         int alignmentLength, const LDPairChoices& c, bool dTable,
                         DprimeCache* cache, const LDRowHook& onRow) {
  const bool lower = dTable ? c.D : c.R, upper = dTable ? c.Dprime : c.chiSquare;
  std::string out = dataset + ", Xtab-LD-output: SNP positions are in the top row and left column.";
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
  }
  out += kCrLf;
  return out;
}
