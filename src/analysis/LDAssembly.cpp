// SPDX-License-Identifier: GPL-3.0-or-later
// The LD sliding-window test of an assembly: summed |D'| between adjacent SNP blocks, and the
// split of the dataset at low-LD junctions that fall on runs of unknown letters.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>

#include "analysis/LDOutput.h"
#include "analysis/PopStrucDBox.h"
#include "common/NumberFormat.h"
#include "model/Datasequnit.h"

namespace {

constexpr const char* kCrLf = "\r\n";

char LetterAt(const TSeq& s, int column) {
  const long long p = static_cast<long long>(column) - s.columnShift;
  if (p < 1 || p > s.Length()) return '-';
  return static_cast<char>(
      std::toupper(static_cast<unsigned char>(s.letters[static_cast<std::size_t>(p - 1)])));
}

bool IsGapLetter(char c) {
  switch (c) {
    case 'N':
    case '-':
    case '?':
    case 'K':
    case 'R':
    case 'W':
    case 'S':
    case 'V':
    case 'Y':
    case 'M':
    case 'D':
    case 'B':
    case 'H':
      return true;
    default:
      return false;
  }
}

// No enabled sequence has a known base at the column.
bool GapColumn(const TDataSeq& ds, int column) {
  for (int r = 1; r <= ds.Count(); ++r) {
    const TSeq& s = *ds.SeqAt(r);
    if (s.enabled && !IsGapLetter(LetterAt(s, column))) return false;
  }
  return true;
}

}  // namespace

double CachedDprime(const tmutholder& t, int i, int j, const samptype& mask, DprimeCache& cache) {
  double x = 0;
  if (cache.Find(i, j, x)) return x;
  x = pairDprime(t, i, j, mask);
  cache.Put(i, j, x);
  return x;
}

AssemblyScanText AssemblyLDScan(const tmutholder& t, const samptype& mask,
                                const std::string& dataset, int b, int step, int minSNPfreq,
                                bool dprimeChecked, DprimeCache& cache, const LDRowHook& onWindow) {
  AssemblyScanText out;
  if (b < 1) b = 10;
  if (step < 1) step = 5;
  const std::vector<int> snps = LDFrequentSnps(t, minSNPfreq);
  const int n = static_cast<int>(snps.size());
  out.detail = "Dataset,SNP1 position,SNP2 position, SNP1 freq, SNP2 freq";
  if (dprimeChecked) out.detail += ",Dprim";
  out.detail += kCrLf;
  out.scanFile = std::string("Dataset,SNP1 position,SNP2 position,D'") + kCrLf;
  auto pos = [&](int k) {
    return t.mutations[static_cast<std::size_t>(snps[static_cast<std::size_t>(k)])].position;
  };
  auto freq = [&](int k) {
    return t.mutations[static_cast<std::size_t>(snps[static_cast<std::size_t>(k)])].carrierCount;
  };
  for (int w = 0; n > 0 && (w == 0 || w + 2 * b <= n); w += step) {
    if (onWindow && onWindow(pos(w))) break;
    const int leftEnd = std::min(n, w + b), rightEnd = std::min(n, w + 2 * b);
    AsmWindow win;
    win.leftJunction = w + b - 1 < n ? pos(w + b - 1) : 0;
    for (int l = w; l < leftEnd; ++l)
      for (int r = leftEnd; r < rightEnd; ++r) {
        const double x = CachedDprime(t, snps[static_cast<std::size_t>(l)],
                                      snps[static_cast<std::size_t>(r)], mask, cache);
        if (!(x >= -1 && x <= 1)) continue;
        if (r == w + b) win.rightJunction = pos(r);
        win.sum += std::abs(x);
        out.detail += dataset + ", " + std::to_string(pos(l)) + ", " + std::to_string(pos(r)) +
                      ", " + std::to_string(freq(l)) + ", " + std::to_string(freq(r)) + ", " +
                      FormatFixed(x, 4) + kCrLf;
      }
    out.windows.push_back(win);
    out.scanFile += dataset + ", " + std::to_string(win.leftJunction) + ", " +
                    std::to_string(win.rightJunction) + ", " + FormatFixed(win.sum, 4) + kCrLf;
  }
  return out;
}

bool FindGapRun(const TDataSeq& ds, int& left, int& right) {
  if (ds.Count() < 1 || right < left) return false;
  const TSeq& first = *ds.SeqAt(1);
  std::string text;
  for (int c = left; c <= right; ++c) text += LetterAt(first, c);
  std::size_t at = text.find("NNN");
  if (at == std::string::npos) at = text.find("---");
  if (at == std::string::npos) return false;
  int run = 0;
  for (int c = left + static_cast<int>(at); c <= right; ++c) {
    if (GapColumn(ds, c)) {
      if (run == 0) left = c;
      ++run;
    } else if (run > 2) {
      right = c;
      return true;
    } else {
      run = 0;
    }
  }
  return run > 2;
}

bool FindGapRunBackward(const TDataSeq& ds, int& left, int& right) {
  if (ds.Count() < 1 || right < left) return false;
  const TSeq& first = *ds.SeqAt(1);
  std::string text;
  for (int c = left; c <= right; ++c) text += LetterAt(first, c);
  std::size_t at = text.rfind("NNN");
  if (at == std::string::npos) at = text.rfind("---");
  if (at == std::string::npos) return false;
  int run = 0;
  for (int c = left + static_cast<int>(at) + 2; c >= left; --c) {
    if (GapColumn(ds, c)) {
      if (run == 0) right = c;
      ++run;
    } else if (run > 2) {
      left = c;
      return true;
    } else {
      run = 0;
    }
  }
  return run > 2;
}

std::vector<AsmSegment> AssemblySplit(const TDataSeq& ds, const std::vector<AsmWindow>& windows,
                                      double splitCoef, int alignmentLength) {
  const std::size_t count = windows.size();
  double total = 0;
  for (const AsmWindow& w : windows) total += w.sum;
  const double mean = (count > 1 && total > 0) ? total / static_cast<double>(count) : 0;
  double sd = 0;
  if (count > 1) {
    double ss = 0;
    for (const AsmWindow& w : windows) ss += (w.sum - mean) * (w.sum - mean);
    sd = std::sqrt(ss / static_cast<double>(count - 1));
  }
  std::vector<AsmSegment> segments;
  AsmSegment current{1, 0};
  for (const AsmWindow& w : windows) {
    int left = w.leftJunction, right = w.rightJunction;
    if (!(mean - splitCoef * sd / 2 > w.sum) || !FindGapRun(ds, left, right)) continue;
    current.last = left;
    segments.push_back(current);
    current.first = right;
  }
  current.last = alignmentLength;
  segments.push_back(current);
  return segments;
}
