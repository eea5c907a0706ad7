// SPDX-License-Identifier: GPL-3.0-or-later
// Global alignment in linear space: the divide and conquer of Myers and Miller (1988) with the
// boundary gap costs tb and te, single-precision scores and the letter table below.
#include <algorithm>
#include <array>
#include <chrono>

#include "alignment/AlnUnit.h"
#include "common/NumberFormat.h"
#include "common/Services.h"

namespace {

constexpr float g = kGapOpen;
constexpr float h = kGapExtend;
constexpr int kBand = 4;  // rows of a pass computed together

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
  int last_ = 0;  // the last value put into the list

  char A(int i) const { return a_[i - 1]; }
  char B(int j) const { return b_[j - 1]; }
  static std::size_t Byte(char c) { return static_cast<unsigned char>(c); }

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
    const char* b = b_ + bo;
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
    dd[0] = hh[0];
  }

  // The same from the ends: rr_ and ss_ for a[ao+midi+1..ao+m] against every suffix.
  void Reverse(int ao, int bo, int m, int midi, int n, float te) {
    float* rr = rr_.data();
    float* ss = ss_.data();
    const char* b = b_ + bo;
    rr[n] = 0;
    float t = -te;
    for (int j = n - 1; j >= 0; --j) {
      t -= h;
      rr[j] = t;
      ss[j] = t - g;
    }
    t = -te;
    int i = m - 1;
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
    ss[n] = rr[n];
  }

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
