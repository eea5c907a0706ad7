// SPDX-License-Identifier: GPL-3.0-or-later
// TSeq trace helpers (normalising, trimming, base quality from the trace), restriction site
// search and copying the gap pattern of an aligned copy.
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <limits>
#include <span>
#include <string_view>

#include "common/NumberFormat.h"
#include "model/tsequnit.h"

namespace {

float ChannelMean(const std::vector<std::uint16_t>& ch) {
  if (ch.empty()) return 0.0f;
  double sum = 0;
  for (std::uint16_t v : ch) sum += v;
  return static_cast<float>(sum / static_cast<double>(ch.size()));
}

// The positions of a text by the four letters starting there, when those are all A, C, G or T.
// A site beginning with four such letters is then compared only where they stand, not at
// every position: a list of hundreds of enzymes costs a few comparisons per enzyme and row.
class SitePrefixIndex {
 public:
  static constexpr std::size_t kPrefix = 4;

  explicit SitePrefixIndex(std::string_view text) {
    if (text.size() < kPrefix) return;
    std::vector<int> keyAt(text.size() - kPrefix + 1, -1);
    int key = 0;
    std::size_t valid = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const int code = Code(text[i]);
      valid = code < 0 ? 0 : valid + 1;
      key = ((key << 2) | std::max(code, 0)) & (kKeys - 1);
      if (valid >= kPrefix) keyAt[i + 1 - kPrefix] = key;
    }
    for (int k : keyAt)
      if (k >= 0) ++start_[static_cast<std::size_t>(k) + 1];
    for (std::size_t k = 0; k < kKeys; ++k) start_[k + 1] += start_[k];
    positions_.resize(static_cast<std::size_t>(start_[kKeys]));
    std::array<int, kKeys + 1> next = start_;
    for (std::size_t p = 0; p < keyAt.size(); ++p)
      if (keyAt[p] >= 0)
        positions_[static_cast<std::size_t>(next[static_cast<std::size_t>(keyAt[p])]++)] =
            static_cast<int>(p);
  }

  // The key of a site's first four letters; -1 when it is shorter or they are not all A, C, G, T.
  static int SiteKey(std::string_view site) {
    if (site.size() < kPrefix) return -1;
    int key = 0;
    for (std::size_t i = 0; i < kPrefix; ++i) {
      const int code = Code(site[i]);
      if (code < 0) return -1;
      key = (key << 2) | code;
    }
    return key;
  }

  // Positions (0-based, ascending) where the four letters of the key stand.
  [[nodiscard]] std::span<const int> Candidates(int key) const {
    const auto k = static_cast<std::size_t>(key);
    return {positions_.data() + start_[k], static_cast<std::size_t>(start_[k + 1] - start_[k])};
  }

 private:
  static constexpr std::size_t kKeys = 256;  // four letters of two bits
  std::array<int, kKeys + 1> start_{};       // key k holds positions_[start_[k] .. start_[k+1])
  std::vector<int> positions_;

  static int Code(char c) {
    switch (c) {
      case 'A':
        return 0;
      case 'C':
        return 1;
      case 'G':
        return 2;
      case 'T':
        return 3;
      default:
        return -1;
    }
  }
};

const std::vector<std::uint16_t>* OwnChannel(const TSeq& s, char letter) {
  switch (letter) {
    case 'A':
    case 'a':
      return &s.traceA.get();
    case 'C':
    case 'c':
      return &s.traceC.get();
    case 'G':
    case 'g':
      return &s.traceG.get();
    case 'T':
    case 't':
      return &s.traceT.get();
    default:
      return nullptr;
  }
}

double Clamp01(double v) {
  return std::clamp(v, 0.0, 1.0);
}

int CountNonGaps(const std::string& text) {
  return static_cast<int>(text.size()) -
         static_cast<int>(std::count(text.begin(), text.end(), '-'));
}

}  // namespace

void TSeq::NormaliseTraces(double target) {
  if (!(target > 0)) return;
  const float divisor =
      (ChannelMean(traceA) + ChannelMean(traceT) + ChannelMean(traceC) + ChannelMean(traceG)) /
      4.0f / static_cast<float>(target);
  // Flat or missing channels give no scale; dividing by it would blow every sample up.
  if (!(divisor > 0.0f) || !std::isfinite(divisor)) return;
  for (auto* ch : {&traceA, &traceT, &traceG, &traceC})
    for (std::uint16_t& v : *ch) {
      const long long q = RoundHalfEven(static_cast<double>(v) / static_cast<double>(divisor));
      v = static_cast<std::uint16_t>(std::clamp<long long>(q, 0, 65535));
    }
  traceScale = divisor;
}

void TSeq::TrimTraceStart() {
  if (peakPos.empty()) return;
  const int drop = std::max(0, peakPos[0] - 10);
  if (drop == 0) return;
  for (auto* channel : {&traceA, &traceT, &traceG, &traceC})
    if (auto* ch = channel->Held())
      ch->erase(ch->begin(), ch->begin() + static_cast<std::ptrdiff_t>(std::min(
                                               ch->size(), static_cast<std::size_t>(drop))));
  for (auto& p : peakPos) p -= drop;
}

double TSeq::EstimateQuality() {
  const std::size_t n = peakPos.size();
  if (n == 0 || letters.size() != n) return -1;
  const long long g = static_cast<long long>(std::min<std::size_t>(
      {traceA.size(), traceT.size(), traceG.size(), traceC.size(), std::size_t{10000000}}));
  if (static_cast<long long>(n) >= g) return -1;
  auto sum4 = [&](long long s) {
    const auto i = static_cast<std::size_t>(s);
    return static_cast<double>(traceA[i]) + traceT[i] + traceG[i] + traceC[i];
  };
  auto inTrace = [&](long long s) { return s >= 0 && s < g; };
  quality.resize(n, 0);
  long long total = 0;
  for (std::size_t i = 0; i + 1 < n; ++i) {
    const long long u = peakPos[i];
    const long long x = peakPos[i + 1];
    const long long half = RoundHalfEven(static_cast<double>(x - u) * 0.5);
    const long long v = std::max(0LL, u - half);
    const long long w = std::min(g - 1, u + half);
    const long long leftPt = u - RoundHalfEven(static_cast<double>(u - v) * 0.5);
    const long long rightPt = u + RoundHalfEven(static_cast<double>(w - u) * 0.5);
    double p = 0, tl = 0, tr = 0, wl = 0, wr = 0;
    const auto* own = OwnChannel(*this, letters[i]);
    if (own != nullptr && inTrace(u) && inTrace(leftPt) && inTrace(rightPt)) {
      const double j = sum4(u), il = sum4(leftPt), h = sum4(rightPt);
      const double ou = (*own)[static_cast<std::size_t>(u)];
      const double ol = (*own)[static_cast<std::size_t>(leftPt)];
      const double orr = (*own)[static_cast<std::size_t>(rightPt)];
      if (j >= 1 && il >= 1 && h >= 1 && ou != 0) {
        p = ou / j;
        wl = ol / il;
        wr = orr / h;
        tl = 1 - ol / ou;
        tr = 1 - orr / ou;
      }
    }
    tl = Clamp01(tl);
    tr = Clamp01(tr);
    wl = Clamp01(wl);
    wr = Clamp01(wr);
    const double s = 1 - std::fabs(tr - tl);
    const double q =
        std::min(1.0, 0.1 * p + 0.05 * tl + 0.05 * tr + 0.02 * s + 0.05 * wl + 0.05 * wr);
    const int value = RoundHalfEvenInt(100 * q);
    quality[i] = static_cast<std::uint8_t>(value);
    total += value;
  }
  return static_cast<double>(RoundHalfEven(static_cast<double>(total) / static_cast<double>(n)));
}

void TSeq::FindRestrictionSites(const std::vector<TRenzyme>& enzymes, std::string& report) {
  siteMarks.clear();
  std::string upper = letters;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const SitePrefixIndex index(upper);
  for (const TRenzyme& enzyme : enzymes) {
    if (!enzyme.enabled) continue;
    report += "\r\n" + enzyme.name + ": ";
    if (enzyme.site.empty()) continue;
    // Every hit counts, overlapping ones too, and one enzyme's hits never hide another's: the
    // search goes on one letter past each hit, so masking that hit's first letter would change
    // nothing.
    const auto addHit = [&](std::size_t hit) {
      TRegion mark;
      mark.regStart = static_cast<std::int32_t>(hit) + 1;
      mark.regEnd = static_cast<std::int32_t>(hit + enzyme.site.size());
      mark.regType = kRegRestrSite;
      mark.regName = enzyme.name;
      mark.codonPos = enzyme.cutOffset;
      mark.regId = static_cast<std::int32_t>(siteMarks.size()) + 1;
      siteMarks.push_back(std::move(mark));
      report += std::to_string(static_cast<long long>(hit) + 1 + enzyme.cutOffset - 1) + "; ";
    };
    if (const int key = SitePrefixIndex::SiteKey(enzyme.site); key >= 0) {
      for (int p : index.Candidates(key))
        if (upper.compare(static_cast<std::size_t>(p), enzyme.site.size(), enzyme.site) == 0)
          addHit(static_cast<std::size_t>(p));
    } else {
      for (std::size_t hit = upper.find(enzyme.site); hit != std::string::npos;
           hit = upper.find(enzyme.site, hit + 1))
        addHit(hit);
    }
  }
}

bool TSeq::ApplyGapPattern(const TSeq& aligned, char gapLetter) {
  return ApplyGapPatternAt(aligned, gapLetter, true, true, true, -1);
}

bool TSeq::ApplyGapPatternAt(const TSeq& aligned, char gapLetter, bool includeLastRun,
                             bool shiftAllowed, bool clearShift, int offset) {
  if (!enabled || !aligned.enabled) return false;
  if (CountNonGaps(letters) != CountNonGaps(aligned.letters)) return false;
  const std::string pattern = aligned.letters;  // aligned may be this sequence
  RemoveGaps();
  if (clearShift) columnShift = 0;
  if (offset < 0) offset = selLength > 0 ? selStart - 1 : 0;
  const int alen = static_cast<int>(pattern.size());
  // Runs sent into the shift are no longer letters here, so later insertion points move back.
  int intoShift = 0;
  for (int s = 1; s <= alen;) {
    if (pattern[static_cast<std::size_t>(s - 1)] != gapLetter) {
      ++s;
      continue;
    }
    int e = s;
    while (e < alen && pattern[static_cast<std::size_t>(e)] == gapLetter) ++e;
    const int n = e - s + 1;
    const bool lastRun = e == alen;
    const int point = s + offset - intoShift;
    if (lastRun && !includeLastRun) break;
    if (point < 2 && shiftAllowed) {
      columnShift += n;
      intoShift += n;
    } else {
      InsertGaps(point, n);
    }
    s = e + 1;
  }
  return true;
}
