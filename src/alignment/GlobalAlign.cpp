// SPDX-License-Identifier: GPL-3.0-or-later
// Global alignment in linear space: the divide and conquer of Myers and Miller (1988) with the
// boundary gap costs tb and te, single-precision scores and the letter table below.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <type_traits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "alignment/AlnUnit.h"
#include "common/NumberFormat.h"
#include "common/Services.h"

namespace {

constexpr float g = kGapOpen;
constexpr float h = kGapExtend;
#if defined(__SSE2__)
constexpr int kWide = 16;                // rows of a pass computed together in 4-lane registers
constexpr std::size_t kCodePad = kWide;  // codes read beyond either end of b
#else
constexpr int kBand = 4;  // rows of a pass computed together
#endif

// 0..3 for A, C, G, T/U of either case, -1 for anything else.
int BaseIndex(char c) {
  switch (c) {
    case 'A':
    case 'a':
      return 0;
    case 'C':
    case 'c':
      return 1;
    case 'G':
    case 'g':
      return 2;
    case 'T':
    case 't':
    case 'U':
    case 'u':
      return 3;
    default:
      return -1;
  }
}

bool IsGapOrBlank(char c) {
  return c == '-' || c == ' ';
}

#if defined(__SSE2__)
// A code per letter such that two letters score 10 exactly when their codes share a bit: a
// base has its own bit, "N", gaps and blanks share one, every other letter has all bits.
std::int32_t LetterCode(char c) {
  const int base = BaseIndex(c);
  if (base >= 0) return std::int32_t{1} << base;
  return c == 'N' || IsGapOrBlank(c) ? 16 : -1;
}
#endif

using ScoreRow = std::array<float, 256>;
using ScoreTable = std::array<ScoreRow, 256>;

const ScoreTable& Table() {
  static const ScoreTable table = [] {
    ScoreTable t{};
    for (int x = 0; x < 256; ++x)
      for (int y = 0; y < 256; ++y) {
        const char a = static_cast<char>(x), b = static_cast<char>(y);
        const int ba = BaseIndex(a), bb = BaseIndex(b);
        float v = 10;
        if (ba >= 0) {
          // A base against a base scores by identity; against "N" or a gap it scores nothing,
          // against "n" and any other character it counts as a match.
          if (bb >= 0)
            v = ba == bb ? 10 : 0;
          else if (b == 'N' || IsGapOrBlank(b))
            v = 0;
        } else if (a == 'N' || IsGapOrBlank(a)) {
          v = bb >= 0 ? 0 : 10;
        }
        t[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] = v;
      }
    return t;
  }();
  return table;
}

const ScoreRow& RowOf(char a) {
  return Table()[static_cast<unsigned char>(a)];
}

// The status title, renewed at most every 100 ms while the passes run.
class StatusTicker {
 public:
  StatusTicker(IProgress* progress, const std::string& title)
      : progress_(progress), title_(title) {}
  void Tick() {
    if (progress_ == nullptr) return;
    const auto now = std::chrono::steady_clock::now();
    if (shown_ && now - last_ < std::chrono::milliseconds(100)) return;
    shown_ = true;
    last_ = now;
    progress_->ShowStatus(title_, false, true);
  }

 private:
  IProgress* progress_;
  const std::string& title_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point last_{};
};

// One alignment's working rows and list; nothing outlives the call.
class Aligner {
 public:
  Aligner(const char* a, const char* b, int n, StatusTicker& ticker)
      : a_(a), b_(b), ticker_(ticker) {
    const auto size = static_cast<std::size_t>(n) + 1;
    hh_.resize(size);
    dd_.resize(size);
    rr_.resize(size);
    ss_.resize(size);
#if defined(__SSE2__)
    codes_.assign(size_t(n) + 2 * kCodePad, 0);
    reversedCodes_.assign(codes_.size(), 0);
    for (std::size_t j = 0; j < static_cast<std::size_t>(n); ++j) {
      codes_[kCodePad + j] = LetterCode(b[j]);
      reversedCodes_[codes_.size() - kCodePad - 1 - j] = codes_[kCodePad + j];
    }
#endif
  }

  std::vector<int> list;

  // Aligns a[ao+1 .. ao+m] with b[bo+1 .. bo+n] (offsets into the whole strings).
  float Diff(int ao, int bo, int m, int n, float tb, float te) {
    const auto tbgap = [&](int k) { return k > 0 ? tb + h * static_cast<float>(k) : 0.0f; };
    const auto tegap = [&](int k) { return k > 0 ? te + h * static_cast<float>(k) : 0.0f; };
    if (n <= 0) {
      if (m > 0) Del(m);
      return -tbgap(m);
    }
    if (m <= 1) {
      if (m <= 0) {
        Add(n);
        return -tbgap(n);
      }
      float best = std::max(-(tb + h) - tegap(n), -(te + h) - tbgap(n));
      int at = 0;
      const ScoreRow& row = RowOf(A(ao + 1));
      for (int j = 1; j <= n; ++j) {
        const float v = row[Byte(B(bo + j))] - tegap(n - j) - tbgap(j - 1);
        if (v > best) {
          best = v;
          at = j;
        }
      }
      if (at == 0) {
        Del(1);
        Add(n);
      } else {
        if (at > 1) Add(at - 1);
        Rep();
        if (at < n) Add(n - at);
      }
      return best;
    }

    const int midi = RoundHalfEvenInt(m / 2.0);
    Forward(ao, bo, midi, n, tb);
    Reverse(ao, bo, m, midi, n, te);

    float best = hh_[0] + rr_[0];
    int midj = 0;
    bool throughGap = false;
    for (int j = 0; j <= n; ++j) {
      const auto k = static_cast<std::size_t>(j);
      const float v = hh_[k] + rr_[k];
      if (v > best || (v == best && hh_[k] != dd_[k] && rr_[k] == ss_[k])) {
        best = v;
        midj = j;
      }
    }
    for (int j = n; j >= 0; --j) {
      const auto k = static_cast<std::size_t>(j);
      const float v = dd_[k] + ss_[k] + g;
      if (v > best) {
        best = v;
        midj = j;
        throughGap = true;
      }
    }
    if (!throughGap) {
      Diff(ao, bo, midi, midj, tb, g);
      Diff(ao + midi, bo + midj, m - midi, n - midj, g, te);
    } else {
      Diff(ao, bo, midi - 1, midj, tb, 0);
      Del(2);
      Diff(ao + midi + 1, bo + midj, m - midi - 1, n - midj, 0, te);
    }
    return best;
  }

 private:
  const char* a_;
  const char* b_;
  StatusTicker& ticker_;
  std::vector<float> hh_, dd_, rr_, ss_;
#if defined(__SSE2__)
  std::vector<std::int32_t> codes_, reversedCodes_;  // LetterCode of b, and of b backwards
#endif
  int last_ = 0;  // the last value put into the list

  char A(int i) const {
    return a_[i - 1];
  }
  char B(int j) const {
    return b_[j - 1];
  }
  static std::size_t Byte(char c) {
    return static_cast<unsigned char>(c);
  }

  void Add(int k) {
    if (last_ < 0) {
      list.back() = k;
      list.push_back(last_);
    } else {
      list.push_back(k);
      last_ = k;
    }
  }
  void Del(int k) {
    if (last_ < 0) {
      list.back() -= k;
      last_ = list.back();
    } else {
      list.push_back(-k);
      last_ = -k;
    }
  }
  void Rep() {
    list.push_back(0);
    last_ = 0;
  }

  // Best scores of a[ao+1..ao+midi] against every prefix of b[bo+1..bo+n]: hh_ overall, dd_
  // ending with a letter of a against a gap.
  void Forward(int ao, int bo, int midi, int n, float tb) {
    float* hh = hh_.data();
    float* dd = dd_.data();
    hh[0] = 0;
    float t = -tb;
    for (int j = 1; j <= n; ++j) {
      t -= h;
      hh[j] = t;
      dd[j] = t - g;
    }
    // Every row starts from the boundary cost again; carrying t on from the loop above would
    // charge the first column as if row 0's gap went on down it.
    t = -tb;
    int i = 1;
#if defined(__SSE2__)
    for (; i <= midi; i += kWide) {
      Wide(true, ao + i, std::min(kWide, midi - i + 1), bo, n, t);
      ticker_.Tick();
    }
#else
    const char* b = b_ + bo;
    for (; i + kBand - 1 <= midi; i += kBand) {
      ForwardBand(ao + i, b, n, t);
      ticker_.Tick();
    }
    for (; i <= midi; ++i) {
      const ScoreRow& row = RowOf(A(ao + i));
      float s = hh[0];
      t -= h;
      float c = t;
      hh[0] = t;
      float f = t - g;
      for (int j = 1; j <= n; ++j) {
        f = std::max(f - h, c - g - h);
        const float e = std::max(dd[j] - h, hh[j] - g - h);
        c = std::max({s + row[Byte(b[j - 1])], f, e});
        s = hh[j];
        hh[j] = c;
        dd[j] = e;
      }
      ticker_.Tick();
    }
#endif
    dd[0] = hh[0];
  }

  // The same from the ends: rr_ and ss_ for a[ao+midi+1..ao+m] against every suffix.
  void Reverse(int ao, int bo, int m, int midi, int n, float te) {
    float* rr = rr_.data();
    float* ss = ss_.data();
    rr[n] = 0;
    float t = -te;
    for (int j = n - 1; j >= 0; --j) {
      t -= h;
      rr[j] = t;
      ss[j] = t - g;
    }
    t = -te;
    int i = m - 1;
#if defined(__SSE2__)
    for (; i >= midi; i -= kWide) {
      Wide(false, ao + i + 1, std::min(kWide, i - midi + 1), bo, n, t);
      ticker_.Tick();
    }
#else
    const char* b = b_ + bo;
    for (; i - kBand + 1 >= midi; i -= kBand) {
      ReverseBand(ao + i + 1, b, n, t);
      ticker_.Tick();
    }
    for (; i >= midi; --i) {
      const ScoreRow& row = RowOf(A(ao + i + 1));
      float s = rr[n];
      t -= h;
      float c = t;
      rr[n] = t;
      float f = t - g;
      for (int j = n - 1; j >= 0; --j) {
        f = std::max(f - h, c - g - h);
        const float e = std::max(ss[j] - h, rr[j] - g - h);
        c = std::max({s + row[Byte(b[j])], f, e});
        s = rr[j];
        rr[j] = c;
        ss[j] = e;
      }
      ticker_.Tick();
    }
#endif
    ss[n] = rr[n];
  }

#if !defined(__SSE2__)
  // Rows a0 .. a0 + kBand - 1 of the forward pass together, row k one column behind row k - 1:
  // a row's maxima depend each on the one before, and kBand such chains overlap in the
  // processor. Every cell is computed exactly as the one-row loop computes it.
  void ForwardBand(int a0, const char* b, int n, float& t) {
    float* hh = hh_.data();
    float* dd = dd_.data();
    const ScoreRow* row[kBand];
    float s[kBand], c[kBand], f[kBand];
    for (int k = 0; k < kBand; ++k) {
      row[k] = &RowOf(A(a0 + k));
      s[k] = hh[0];
      t -= h;
      c[k] = t;
      hh[0] = t;
      f[k] = t - g;
    }
    const auto cell = [&](int k, int j) {
      f[k] = std::max(f[k] - h, c[k] - g - h);
      const float e = std::max(dd[j] - h, hh[j] - g - h);
      c[k] = std::max({s[k] + (*row[k])[Byte(b[j - 1])], f[k], e});
      s[k] = hh[j];
      hh[j] = c[k];
      dd[j] = e;
    };
    for (int step = 1; step < n + kBand; ++step) {
      if (step >= kBand && step <= n) {
#pragma GCC unroll 4
        for (int k = 0; k < kBand; ++k) cell(k, step - k);
      } else {
        for (int k = 0; k < kBand; ++k)
          if (step - k >= 1 && step - k <= n) cell(k, step - k);
      }
    }
  }

  // The reverse pass's rows aTop, aTop - 1, ... the same way, columns from the right.
  void ReverseBand(int aTop, const char* b, int n, float& t) {
    float* rr = rr_.data();
    float* ss = ss_.data();
    const ScoreRow* row[kBand];
    float s[kBand], c[kBand], f[kBand];
    for (int k = 0; k < kBand; ++k) {
      row[k] = &RowOf(A(aTop - k));
      s[k] = rr[n];
      t -= h;
      c[k] = t;
      rr[n] = t;
      f[k] = t - g;
    }
    const auto cell = [&](int k, int j) {
      f[k] = std::max(f[k] - h, c[k] - g - h);
      const float e = std::max(ss[j] - h, rr[j] - g - h);
      c[k] = std::max({s[k] + (*row[k])[Byte(b[j])], f[k], e});
      s[k] = rr[j];
      rr[j] = c[k];
      ss[j] = e;
    };
    for (int step = 0; step < n + kBand - 1; ++step) {
      if (step >= kBand - 1 && step <= n - 1) {
#pragma GCC unroll 4
        for (int k = 0; k < kBand; ++k) cell(k, n - 1 - step + k);
      } else {
        for (int k = 0; k < kBand; ++k)
          if (n - 1 - step + k >= 0 && n - 1 - step + k <= n - 1) cell(k, n - 1 - step + k);
      }
    }
  }
#else
  // Up to kWide rows of a pass at once, one row per register lane, computed as the one-row
  // loops compute them: at step u, row k works on the pass's (u - k)-th column (forward: column
  // u - k of hh_; reverse: column n - u + k of rr_), so a lane reads what the lane below wrote
  // one step earlier and the registers carry it. Lane 0 reads the pass's array, the top row
  // writes it. Rows not started yet keep their state; rows done, and lanes above the top row,
  // compute harmless values no row reads. Forward: rows a0, a0 + 1, ...; reverse: a0, a0 - 1.
  template <bool kForward, int kVecs>
  void WideBand(int a0, int rows, int bo, int n, float& t) {
    float* hh = kForward ? hh_.data() : rr_.data();
    float* dd = kForward ? dd_.data() : ss_.data();
    const auto at = [n](int u) { return static_cast<std::size_t>(kForward ? u : n - u); };
    // The codes the lanes of step u meet start at codeBase - u and rise with the lane.
    const std::int32_t* codeBase =
        kForward ? reversedCodes_.data() + (reversedCodes_.size() - kCodePad - bo)
                 : codes_.data() + kCodePad + bo + n;
    constexpr int kLanes = 4 * kVecs;
    alignas(16) float s[kLanes] = {}, c[kLanes] = {}, f[kLanes] = {}, top[4];
    alignas(16) std::int32_t code[kLanes] = {}, lane[kLanes];
    for (int k = 0; k < kLanes; ++k) lane[k] = k;
    for (int k = 0; k < rows; ++k) {
      code[k] = LetterCode(A(kForward ? a0 + k : a0 - k));
      s[k] = hh[at(0)];
      t -= h;
      c[k] = t;
      hh[at(0)] = t;
      f[k] = t - g;
    }
    __m128 vs[kVecs], vc[kVecs], vf[kVecs], ve[kVecs];
    for (int v = 0; v < kVecs; ++v) {
      vs[v] = _mm_load_ps(s + 4 * v);
      vc[v] = _mm_load_ps(c + 4 * v);
      vf[v] = _mm_load_ps(f + 4 * v);
      ve[v] = _mm_setzero_ps();
    }
    const __m128 vg = _mm_set1_ps(g), vh = _mm_set1_ps(h), ten = _mm_set1_ps(10);
    const __m128i zero = _mm_setzero_si128();
    const int topVec = (rows - 1) / 4, topLane = (rows - 1) % 4;
    // With `starting` (a std::bool_constant) the lanes of rows not yet begun keep their state.
    const auto step = [&](int u, auto starting) __attribute__((always_inline)) {
      // Each lane takes the value of the lane below; lane 0 of the first register the array's.
      __m128 upC[kVecs], upE[kVecs];
#pragma GCC unroll 4
      for (int v = 0; v < kVecs; ++v) {
        upC[v] = _mm_shuffle_ps(vc[v], vc[v], _MM_SHUFFLE(2, 1, 0, 3));
        upE[v] = _mm_shuffle_ps(ve[v], ve[v], _MM_SHUFFLE(2, 1, 0, 3));
      }
      const __m128 inH = u <= n ? _mm_load_ss(hh + at(u)) : _mm_setzero_ps();
      const __m128 inD = u <= n ? _mm_load_ss(dd + at(u)) : _mm_setzero_ps();
      const std::int32_t* codes = codeBase - u;
      const __m128i started = _mm_set1_epi32(u);
#pragma GCC unroll 4
      for (int v = kVecs - 1; v >= 0; --v) {
        const __m128 inC = _mm_move_ss(upC[v], v == 0 ? inH : upC[v - 1]);
        const __m128 inE = _mm_move_ss(upE[v], v == 0 ? inD : upE[v - 1]);
        const __m128i other = _mm_loadu_si128(reinterpret_cast<const __m128i*>(codes + 4 * v));
        const __m128i own = _mm_load_si128(reinterpret_cast<const __m128i*>(code + 4 * v));
        const __m128 mismatch = _mm_castsi128_ps(_mm_cmpeq_epi32(_mm_and_si128(other, own), zero));
        const __m128 score = _mm_andnot_ps(mismatch, ten);
        // _mm_max_ps(y, x) is std::max(x, y) to the bit, the sign of a zero included.
        __m128 nf = _mm_max_ps(_mm_sub_ps(_mm_sub_ps(vc[v], vg), vh), _mm_sub_ps(vf[v], vh));
        __m128 ne = _mm_max_ps(_mm_sub_ps(_mm_sub_ps(inC, vg), vh), _mm_sub_ps(inE, vh));
        __m128 nc = _mm_max_ps(ne, _mm_max_ps(nf, _mm_add_ps(vs[v], score)));
        __m128 ns = inC;
        if constexpr (decltype(starting)::value) {
          const __m128 on = _mm_castsi128_ps(_mm_cmplt_epi32(
              _mm_load_si128(reinterpret_cast<const __m128i*>(lane + 4 * v)), started));
          const auto keep = [on](__m128 now, __m128 before) {
            return _mm_or_ps(_mm_and_ps(on, now), _mm_andnot_ps(on, before));
          };
          nf = keep(nf, vf[v]);
          ne = keep(ne, ve[v]);
          nc = keep(nc, vc[v]);
          ns = keep(ns, vs[v]);
        }
        vf[v] = nf;
        ve[v] = ne;
        vc[v] = nc;
        vs[v] = ns;
      }
      const int done = u - rows + 1;  // the column the top row finished
      if (done >= 1) {
        _mm_store_ps(top, vc[topVec]);
        hh[at(done)] = top[topLane];
        _mm_store_ps(top, ve[topVec]);
        dd[at(done)] = top[topLane];
      }
    };
    int u = 1;
    for (; u < rows; ++u) step(u, std::true_type{});
    for (; u < n + rows; ++u) step(u, std::false_type{});
  }

  void Wide(bool forward, int a0, int rows, int bo, int n, float& t) {
    switch ((rows + 3) / 4 + (forward ? 0 : 4)) {
      case 1:
        return WideBand<true, 1>(a0, rows, bo, n, t);
      case 2:
        return WideBand<true, 2>(a0, rows, bo, n, t);
      case 3:
        return WideBand<true, 3>(a0, rows, bo, n, t);
      case 4:
        return WideBand<true, 4>(a0, rows, bo, n, t);
      case 5:
        return WideBand<false, 1>(a0, rows, bo, n, t);
      case 6:
        return WideBand<false, 2>(a0, rows, bo, n, t);
      case 7:
        return WideBand<false, 3>(a0, rows, bo, n, t);
      default:
        return WideBand<false, 4>(a0, rows, bo, n, t);
    }
  }
#endif
};

int NonGapCount(std::string_view s) {
  return static_cast<int>(std::count_if(s.begin(), s.end(), [](char c) { return c != '-'; }));
}

}  // namespace

float PairScore(char a, char b) {
  return RowOf(a)[static_cast<unsigned char>(b)];
}

PairAlignment GlobalAlign(std::string_view a, std::string_view b, const std::string& title,
                          IProgress* progress) {
  PairAlignment out;
  if (a.empty() || b.empty()) return out;
  StatusTicker ticker(progress, title);
  Aligner aligner(a.data(), b.data(), static_cast<int>(b.size()), ticker);
  out.score = aligner.Diff(0, 0, static_cast<int>(a.size()), static_cast<int>(b.size()), 0, 0);
  out.displacement = std::move(aligner.list);

  // Identity: letters that face an equal letter, over the letters of the shorter string.
  std::size_t i1 = 0, i2 = 0;
  int same = 0;
  for (int k : out.displacement) {
    if (k == 0) {
      if (a[i1] != '-' && a[i1] == b[i2]) ++same;
      ++i1;
      ++i2;
    } else if (k > 0) {
      i2 += static_cast<std::size_t>(k);
    } else {
      i1 += static_cast<std::size_t>(-k);
    }
  }
  ticker.Tick();
  const int shorter = std::min(NonGapCount(a), NonGapCount(b));
  const double identity = shorter == 0 ? 0.0 : 100.0 * same / shorter;
  out.distance = (100.0 - identity) / 100.0;
  return out;
}

std::pair<std::string, std::string> ApplyDisplacement(std::string_view a, std::string_view b,
                                                      const std::vector<int>& displacement) {
  std::pair<std::string, std::string> out;
  std::size_t i1 = 0, i2 = 0;
  for (int k : displacement) {
    if (k == 0) {
      if (i1 >= a.size() || i2 >= b.size()) break;
      out.first.push_back(a[i1++]);
      out.second.push_back(b[i2++]);
    } else if (k > 0) {
      const auto n = std::min(static_cast<std::size_t>(k), b.size() - i2);
      out.first.append(n, '-');
      out.second.append(b.substr(i2, n));
      i2 += n;
    } else {
      const auto n = std::min(static_cast<std::size_t>(-k), a.size() - i1);
      out.first.append(a.substr(i1, n));
      out.second.append(n, '-');
      i1 += n;
    }
  }
  return out;
}
