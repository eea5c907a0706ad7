// SPDX-License-Identifier: GPL-3.0-or-later
// Statistics of population subdivision on a mutation table, by per-site state counts and, for
// Kst* and the permutation test, by one matrix of pairwise differences.
#include "analysis/Subdivision.h"

#include <algorithm>
#include <cmath>

#include "analysis/SiteStates.h"
#include "common/PlatformRandom.h"
#include "common/StepTicker.h"

namespace {

// log10(1 + d) is kept as an integer multiple of 2^-28 so sums are exact and do not depend on
// the order in which pairs are visited: permuted and observed values then tie exactly when
// they should.
constexpr double kLogScale = 268435456.0;  // 2^28

// Entries of the difference matrix (and of the logs beside it) the permutation test may keep:
// 384 MB with the logs. Beyond it the test falls back on the table operations.
constexpr std::size_t kMaxMatrixEntries = std::size_t{1} << 26;

// Within-group and between-group sums of pairwise differences, with the group sizes.
struct GroupSums {
  int k = 0;
  std::vector<long long> n;
  std::vector<long long> within;     // sum over pairs inside group g
  std::vector<long long> between;    // [g * k + h], g < h
  std::vector<long long> withinLog;  // log sums inside group g, fixed point
  long long totalLog = 0;            // log sum over all pairs of the union, fixed point
  void Reset(int groups) {
    k = groups;
    n.assign(static_cast<std::size_t>(k), 0);
    within.assign(static_cast<std::size_t>(k), 0);
    between.assign(static_cast<std::size_t>(k * k), 0);
    withinLog.assign(static_cast<std::size_t>(k), 0);
    totalLog = 0;
  }
};

double PairsOf(long long n) {
  return static_cast<double>(n) * static_cast<double>(n - 1) / 2.0;
}

DivergenceSums DivergenceOf(const GroupSums& s, double sites) {
  DivergenceSums d;
  const int k = s.k;
  double dxy = 0;
  for (int g = 0; g < k; ++g)
    for (int h = g + 1; h < k; ++h)
      dxy += static_cast<double>(s.between[static_cast<std::size_t>(g * k + h)]) /
             (static_cast<double>(s.n[static_cast<std::size_t>(g)]) *
              static_cast<double>(s.n[static_cast<std::size_t>(h)]) * sites);
  double pi = 0;
  for (int g = 0; g < k; ++g) {
    const long long ng = s.n[static_cast<std::size_t>(g)];
    if (ng >= 2) pi += static_cast<double>(s.within[static_cast<std::size_t>(g)]) / PairsOf(ng);
  }
  d.dxy = dxy;
  d.da = dxy - (k - 1) / 2.0 * pi / sites;
  return d;
}

SubdivisionValues ValuesOf(const GroupSums& s, double sites, const DivergenceSums& d,
                           bool withKst) {
  SubdivisionValues v;
  const int k = s.k;
  const double hb = d.dxy * 2.0 / (static_cast<double>(k) * (k - 1));
  double hw = 0;
  long long union_ = 0;
  for (int g = 0; g < k; ++g) {
    const long long ng = s.n[static_cast<std::size_t>(g)];
    union_ += ng;
    if (ng >= 2)
      hw += static_cast<double>(s.within[static_cast<std::size_t>(g)]) / PairsOf(ng) / sites;
  }
  hw /= k;
  if (hb != 0 && 1 - hw != 0) {
    v.fst = 1 - hw / hb;
    v.hst = (hb - hw) / (1 - hw);
  }
  if (withKst) {
    double ks = 0;
    for (int g = 0; g < k; ++g) {
      const long long ng = s.n[static_cast<std::size_t>(g)];
      if (ng < 2) continue;  // a single sequence has no pair: K*_g = 0
      const double kg =
          static_cast<double>(s.withinLog[static_cast<std::size_t>(g)]) / kLogScale / PairsOf(ng);
      ks += static_cast<double>(ng) / static_cast<double>(union_) * kg;
    }
    const double kt = static_cast<double>(s.totalLog) / kLogScale / PairsOf(union_);
    if (kt > 0) v.kst = std::max(0.0, 1 - ks / kt);
  }
  v.ok = v.fst != -1 && v.hst != -1 && (!withKst || v.kst != -1);
  return v;
}

bool MasksFit(const tmutholder& t, const std::vector<samptype>& masks) {
  const int n = t.SequenceCount();
  return std::all_of(masks.begin(), masks.end(), [n](const samptype& m) { return m.Size() == n; });
}

// Disjoint copies: a sequence stays in the first mask that holds it.
std::vector<samptype> Disjoint(const std::vector<samptype>& masks) {
  std::vector<samptype> out = masks;
  for (std::size_t g = 1; g < out.size(); ++g)
    for (std::size_t e = 0; e < g; ++e) {
      std::uint64_t* w = out[g].Words();
      const std::uint64_t* taken = out[e].Words();
      for (int i = 0; i < out[g].WordCount(); ++i) w[i] &= ~taken[i];
    }
  return out;
}

template <typename Fn>
void ForPassing(const tmutholder& t, int from, int to, int siteFlags, int mutationFlags, Fn fn) {
  for (const tmutation& m : t.mutations) {
    if ((from != 0 || to != 0) && (m.position < from || m.position > to)) continue;
    if (!PassesSiteFilter(m, siteFlags) || !PassesMutationFilter(m, mutationFlags)) continue;
    fn(m);
  }
}

// The per-site sums of the disjoint groups. A site adds, within group g, the pairs of g whose
// states differ, (n_g^2 - sum of c_gv^2) / 2, and between g and h, n_g n_h - sum of c_gv c_hv.
void SiteSums(const tmutholder& t, int from, int to, int siteFlags, int mutationFlags,
              const std::vector<samptype>& groups, GroupSums& s) {
  const int k = static_cast<int>(groups.size());
  s.Reset(k);
  for (int g = 0; g < k; ++g)
    s.n[static_cast<std::size_t>(g)] = groups[static_cast<std::size_t>(g)].Count();
  std::vector<long long> c;
  ForEachSite(t, from, to, siteFlags, mutationFlags, [&](SiteRecords site) {
    const auto states = static_cast<std::size_t>(StateCounts(site, groups, s.n, c));
    for (int g = 0; g < k; ++g) {
      const long long* cg = &c[static_cast<std::size_t>(g) * states];
      const long long ng = s.n[static_cast<std::size_t>(g)];
      long long same = 0;
      for (std::size_t v = 0; v < states; ++v) same += cg[v] * cg[v];
      s.within[static_cast<std::size_t>(g)] += (ng * ng - same) / 2;
      for (int h = g + 1; h < k; ++h) {
        const long long* ch = &c[static_cast<std::size_t>(h) * states];
        long long both = 0;
        for (std::size_t v = 0; v < states; ++v) both += cg[v] * ch[v];
        s.between[static_cast<std::size_t>(g * k + h)] +=
            ng * s.n[static_cast<std::size_t>(h)] - both;
      }
    }
  });
}

// log10(1 + d) in fixed point, kept per difference count as counts appear.
class LogTable {
 public:
  std::int32_t operator()(int d) {
    const auto i = static_cast<std::size_t>(d);
    if (i >= values_.size()) {
      const std::size_t old = values_.size();
      values_.resize(i + 1);
      for (std::size_t x = old; x < values_.size(); ++x)
        values_[x] = static_cast<std::int32_t>(
            std::llround(std::log10(1.0 + static_cast<double>(x)) * kLogScale));
    }
    return values_[i];
  }

 private:
  std::vector<std::int32_t> values_;
};

// The members grouped by haplotype over the sites counted: two members of one haplotype differ
// nowhere, and every other member differs from both by the same count. Sums over pairs of
// members thus become sums over pairs of haplotypes weighted by the pairs of members they stand
// for, and samples have far fewer haplotypes than members.
struct Haplotypes {
  std::vector<int> of;              // haplotype of each member, numbered by first appearance
  std::vector<int> representative;  // the first member of each haplotype
  [[nodiscard]] int Count() const { return static_cast<int>(representative.size()); }
};

// Two members hold one state at a site when every mutation of the site has both or neither as
// carriers, so the haplotypes are the classes left after every counted mutation has split them
// by its carriers. This needs no row per member: a few hundred haplotypes of 30,000 sequences
// then take a few hundred packed rows.
Haplotypes HaplotypesOf(const tmutholder& t, const std::vector<int>& members, int from, int to,
                        int siteFlags, int mutationFlags) {
  Haplotypes h;
  const std::size_t n = members.size();
  h.of.assign(n, 0);
  int classes = n > 0 ? 1 : 0;
  std::vector<int> renumber;
  ForEachSite(t, from, to, siteFlags, mutationFlags, [&](SiteRecords site) {
    for (const tmutation* m : site) {
      renumber.assign(2 * static_cast<std::size_t>(classes), -1);
      int next = 0;
      for (std::size_t u = 0; u < n; ++u) {
        int& r = renumber[2 * static_cast<std::size_t>(h.of[u]) + (m->Test(members[u]) ? 1 : 0)];
        if (r < 0) r = next++;
        h.of[u] = r;
      }
      classes = next;
    }
  });
  h.representative.assign(static_cast<std::size_t>(classes), -1);
  for (std::size_t u = n; u-- > 0;)
    h.representative[static_cast<std::size_t>(h.of[u])] = static_cast<int>(u);
  return h;
}

// Packed rows of one member of each haplotype, row a for haplotype a.
std::vector<int> RepresentativeSequences(const Haplotypes& haps, const std::vector<int>& members) {
  std::vector<int> sequences;
  sequences.reserve(haps.representative.size());
  for (const int u : haps.representative) sequences.push_back(members[static_cast<std::size_t>(u)]);
  return sequences;
}

// Kst*'s sums of log10(1 + d) over all pairs of the union and over the pairs inside each group,
// taken over pairs of haplotypes (row a of rows is haplotype a): a pair of haplotypes a, b
// stands for n_a n_b pairs of members (n_ga n_gb inside group g), and pairs of one haplotype add
// log10(1) = 0. Every term is the integer of the pair's count, so the sums equal those over
// pairs of members exactly.
void AddLogSums(const PackedStates& rows, const Haplotypes& haps, const std::vector<int>& label,
                GroupSums& s) {
  const int k = s.k;
  const auto h = static_cast<std::size_t>(haps.Count());
  std::vector<long long> total(h, 0), inGroup(static_cast<std::size_t>(k) * h, 0);
  constexpr int kNone = -2, kMixed = -1;
  std::vector<int> groupOf(h, kNone);  // the one group holding the haplotype, or kMixed
  for (std::size_t u = 0; u < haps.of.size(); ++u) {
    const auto a = static_cast<std::size_t>(haps.of[u]);
    const int g = label[u];
    ++total[a];
    ++inGroup[static_cast<std::size_t>(g) * h + a];
    groupOf[a] = groupOf[a] == kNone || groupOf[a] == g ? g : kMixed;
  }
  LogTable logOf;
  for (std::size_t a = 0; a < h; ++a)
    for (std::size_t b = a + 1; b < h; ++b) {
      const long long lg = logOf(rows.Differences(static_cast<int>(a), static_cast<int>(b)));
      if (lg == 0) continue;
      s.totalLog += total[a] * total[b] * lg;
      const int ga = groupOf[a], gb = groupOf[b];
      if (ga >= 0 && gb >= 0) {
        if (ga == gb) s.withinLog[static_cast<std::size_t>(ga)] += total[a] * total[b] * lg;
        continue;
      }
      for (std::size_t g = 0; g < static_cast<std::size_t>(k); ++g)
        s.withinLog[g] += inGroup[g * h + a] * inGroup[g * h + b] * lg;
    }
}

bool AllNonEmpty(const std::vector<samptype>& groups) {
  return std::all_of(groups.begin(), groups.end(), [](const samptype& m) { return m.Any(); });
}

}  // namespace

int AnalysedColumns(const tmutholder& t, int from, int to) {
  const int columns = static_cast<int>(t.siteAnalysed.size());
  int first = 1, last = columns;
  if (from != 0 || to != 0) {
    first = std::max(1, from);
    last = std::min(columns, to);
  }
  int n = 0;
  for (int c = first; c <= last; ++c)
    if (t.siteAnalysed[static_cast<std::size_t>(c - 1)]) ++n;
  return n;
}

DivergenceSums divergenceDxyDa(const tmutholder& t, int from, int to, int siteFlags,
                               int mutationFlags, const std::vector<samptype>& masks) {
  const double sites = AnalysedColumns(t, from, to);
  if (t.mutations.empty() || masks.empty() || sites <= 0 || !MasksFit(t, masks)) return {};
  const std::vector<samptype> groups = Disjoint(masks);
  if (!AllNonEmpty(groups)) return {};
  GroupSums s;
  SiteSums(t, from, to, siteFlags, mutationFlags, groups, s);
  return DivergenceOf(s, sites);
}

SubdivisionValues subdivisionFst(const tmutholder& t, int from, int to, int siteFlags,
                                 int mutationFlags, const std::vector<samptype>& masks,
                                 bool withKst) {
  const double sites = AnalysedColumns(t, from, to);
  if (masks.size() < 2 || sites <= 0 || !MasksFit(t, masks)) return {};
  const std::vector<samptype> groups = Disjoint(masks);
  if (!AllNonEmpty(groups)) return {};
  long long union_ = 0;
  for (const samptype& g : groups) union_ += g.Count();
  if (union_ < 2) return {};
  GroupSums s;
  SiteSums(t, from, to, siteFlags, mutationFlags, groups, s);
  if (withKst) {
    // Kst* needs every pair of sequences; it is taken over the pairs of haplotypes.
    const std::vector<int> labels = LabelsOf(groups, t.SequenceCount());
    std::vector<int> members, label;
    for (std::size_t i = 0; i < labels.size(); ++i)
      if (labels[i] >= 0) {
        members.push_back(static_cast<int>(i));
        label.push_back(labels[i]);
      }
    const Haplotypes haps = HaplotypesOf(t, members, from, to, siteFlags, mutationFlags);
    const PackedStates rows(t, RepresentativeSequences(haps, members), from, to, siteFlags,
                            mutationFlags, false);
    AddLogSums(rows, haps, label, s);
  }
  return ValuesOf(s, sites, DivergenceOf(s, sites), withKst);
}

SharedFixedCounts sharedFixedSites(const tmutholder& t, int from, int to, int siteFlags,
                                   int mutationFlags, const samptype& x, const samptype& y) {
  SharedFixedCounts c;
  if (x.Size() != t.SequenceCount() || y.Size() != x.Size()) return c;
  samptype both = x;
  for (int w = 0; w < both.WordCount(); ++w) both.Words()[w] |= y.Words()[w];
  ForPassing(t, from, to, siteFlags, mutationFlags, [&](const tmutation& m) {
    const bool inX = tmutholder::isSegregatingIn(m, x);
    const bool inY = tmutholder::isSegregatingIn(m, y);
    if (inX && inY)
      ++c.shared;
    else if (inX)
      ++c.exclusiveX;
    else if (inY)
      ++c.exclusiveY;
    else if (tmutholder::isSegregatingIn(m, both))
      ++c.fixed;
  });
  return c;
}

double GeneFlowNm(double fst) {
  return fst > 0 ? (1 / fst - 1) / 4 : -1;
}

bool PermuteGroups(std::vector<samptype>& masks, PlatformRandom& rng) {
  const int k = static_cast<int>(masks.size());
  if (k < 2) return false;
  const int n = masks.front().Size();
  if (n <= 0) return false;
  for (const samptype& m : masks)
    if (m.Size() != n) return false;
  const long long attempts = 5LL * n * k;
  for (long long a = 0; a < attempts; ++a) {
    const int g1 = rng.NextInt(k), g2 = rng.NextInt(k);
    const int s1 = rng.NextInt(n), s2 = rng.NextInt(n);
    samptype& m1 = masks[static_cast<std::size_t>(g1)];
    samptype& m2 = masks[static_cast<std::size_t>(g2)];
    // Only a swap between two different groups of sequences in just one of them keeps the
    // sizes and the groups apart.
    if (g1 == g2 || s1 == s2 || !m1.Test(s1) || !m2.Test(s2) || m2.Test(s1) || m1.Test(s2))
      continue;
    m1.Set(s1, false);
    m2.Set(s1);
    m2.Set(s2, false);
    m1.Set(s2);
  }
  return true;
}

void PermuteLabels(std::vector<int>& labels, int groups, PlatformRandom& rng) {
  const int n = static_cast<int>(labels.size());
  if (groups < 2 || n <= 0) return;
  const long long attempts = 5LL * n * groups;
  for (long long a = 0; a < attempts; ++a) {
    const int g1 = rng.NextInt(groups), g2 = rng.NextInt(groups);
    const int s1 = rng.NextInt(n), s2 = rng.NextInt(n);
    int& l1 = labels[static_cast<std::size_t>(s1)];
    int& l2 = labels[static_cast<std::size_t>(s2)];
    if (g1 != g2 && l1 == g1 && l2 == g2) std::swap(l1, l2);
  }
}

std::vector<int> LabelsOf(const std::vector<samptype>& masks, int sequences) {
  std::vector<int> labels(static_cast<std::size_t>(std::max(0, sequences)), -1);
  for (int i = 0; i < sequences; ++i)
    for (std::size_t g = 0; g < masks.size(); ++g)
      if (masks[g].Test(i)) {
        labels[static_cast<std::size_t>(i)] = static_cast<int>(g);
        break;
      }
  return labels;
}

std::unique_ptr<tmutholder> BootstrapTable(const tmutholder& source, PlatformRandom& rng) {
  auto copy = std::make_unique<tmutholder>();
  copy->sampleMask = source.sampleMask;
  copy->siteAnalysed = source.siteAnalysed;
  copy->groupId = source.groupId;
  copy->maxMutations = source.maxMutations;
  copy->spanCounting = source.spanCounting;
  copy->positionsCounted = source.positionsCounted;
  const int columns = static_cast<int>(source.siteAnalysed.size());
  for (int draw = 0; draw < columns; ++draw) {
    const int column = rng.NextInt(columns) + 1;
    if (!source.siteAnalysed[static_cast<std::size_t>(column - 1)]) continue;
    const auto it = std::lower_bound(source.mutations.begin(), source.mutations.end(), column,
                                     [](const tmutation& m, int p) { return m.position < p; });
    if (it != source.mutations.end() && it->position == column) copy->mutations.push_back(*it);
  }
  // Spans are found by bisection, so the copy keeps the table's order by position.
  std::stable_sort(copy->mutations.begin(), copy->mutations.end(),
                   [](const tmutation& a, const tmutation& b) { return a.position < b.position; });
  return copy;
}

// ---------------- SubdivisionMatrix ----------------

SubdivisionMatrix::SubdivisionMatrix(const tmutholder& t, int from, int to, int siteFlags,
                                     int mutationFlags, const std::vector<samptype>& masks,
                                     bool withLogs, IProgress* progress)
    : withLogs_(withLogs) {
  sites_ = AnalysedColumns(t, from, to);
  const int total = t.SequenceCount();
  if (masks.empty() || sites_ <= 0 || !MasksFit(t, masks)) return;
  const std::vector<samptype> groups = Disjoint(masks);
  if (!AllNonEmpty(groups)) return;
  groups_ = static_cast<int>(groups.size());
  const std::vector<int> labels = LabelsOf(groups, total);
  sizes_.assign(static_cast<std::size_t>(groups_), 0);
  for (int i = 0; i < total; ++i)
    if (labels[static_cast<std::size_t>(i)] >= 0) {
      members_.push_back(i);
      ++sizes_[static_cast<std::size_t>(labels[static_cast<std::size_t>(i)])];
    }
  const int n = static_cast<int>(members_.size());
  if (n < 2) return;

  const Haplotypes haps = HaplotypesOf(t, members_, from, to, siteFlags, mutationFlags);
  LogTable logOf;
  if (2 * haps.Count() <= n) {
    const auto h = static_cast<std::size_t>(haps.Count());
    if (h * h > kMaxMatrixEntries) return;
    const PackedStates rows(t, RepresentativeSequences(haps, members_), from, to, siteFlags,
                            mutationFlags, false);
    haplotypes_ = haps.Count();
    haplotypeOf_ = haps.of;
    std::vector<long long> total(h, 0);
    for (const int a : haps.of) ++total[static_cast<std::size_t>(a)];
    diff_.assign(h * h, 0);
    if (withLogs_) logs_.assign(h * h, 0);
    for (std::size_t a = 0; a < h; ++a)
      for (std::size_t b = a + 1; b < h; ++b) {
        const int d = rows.Differences(static_cast<int>(a), static_cast<int>(b));
        if (d > 0xFFFF) return;  // beyond the packed range: callers use the table operations
        diff_[a * h + b] = diff_[b * h + a] = static_cast<std::uint16_t>(d);
        if (!withLogs_) continue;
        logs_[a * h + b] = logs_[b * h + a] = logOf(d);
        totalLog_ += total[a] * total[b] * logs_[a * h + b];
      }
    usable_ = true;
    return;
  }
  const std::size_t pairs = static_cast<std::size_t>(n) * static_cast<std::size_t>(n - 1) / 2;
  if (pairs > kMaxMatrixEntries) return;
  const PackedStates rows(t, members_, from, to, siteFlags, mutationFlags, false);
  diff_.resize(pairs);
  if (withLogs_) logs_.resize(pairs);
  std::size_t at = 0;
  rowTotal_.assign(static_cast<std::size_t>(n), 0);
  StepTicker ticker(progress, "Counting differences between pairs", n);
  for (int u = 0; u < n; ++u) {
    if (ticker.Tick(u)) return;
    for (int v = u + 1; v < n; ++v, ++at) {
      const int d = rows.Differences(u, v);
      if (d > 0xFFFF) return;  // beyond the packed range: callers use the table operations
      diff_[at] = static_cast<std::uint16_t>(d);
      rowTotal_[static_cast<std::size_t>(u)] += static_cast<std::uint32_t>(d);
      if (withLogs_) {
        logs_[at] = logOf(d);
        totalLog_ += logs_[at];
      }
    }
  }
  usable_ = true;
}

std::size_t SubdivisionMatrix::RowStart(int u) const {
  const auto n = static_cast<std::size_t>(members_.size());
  const auto uu = static_cast<std::size_t>(u);
  return uu * n - uu * (uu + 1) / 2;
}

SubdivisionStats SubdivisionMatrix::EvaluateHaplotypes(const std::vector<int>& labels) const {
  SubdivisionStats out;
  const int k = groups_;
  const auto h = static_cast<std::size_t>(haplotypes_);
  GroupSums s;
  s.Reset(k);
  // count[g * h + a]: members of haplotype a in group g.
  std::vector<std::int32_t> count(static_cast<std::size_t>(k) * h, 0);
  for (std::size_t u = 0; u < members_.size(); ++u) {
    const auto i = static_cast<std::size_t>(members_[u]);
    const int g = i < labels.size() ? labels[i] : -1;
    if (g < 0 || g >= k) return out;
    ++count[static_cast<std::size_t>(g) * h + static_cast<std::size_t>(haplotypeOf_[u])];
    ++s.n[static_cast<std::size_t>(g)];
  }
  for (int g = 0; g < k; ++g)
    if (s.n[static_cast<std::size_t>(g)] == 0) return out;
  s.totalLog = totalLog_;
  // For each haplotype a and group g: the differences (and logs) of a to all members of g;
  // weighted by a's members in each group they give the sums over pairs of members, the pairs
  // inside a group counted from both ends.
  std::vector<long long> toGroup(static_cast<std::size_t>(k)), logToGroup(toGroup.size());
  std::vector<long long> within2(toGroup.size(), 0), withinLog2(toGroup.size(), 0);
  for (std::size_t a = 0; a < h; ++a) {
    const std::uint16_t* d = diff_.data() + a * h;
    const std::int32_t* lg = withLogs_ ? logs_.data() + a * h : nullptr;
    for (std::size_t g = 0; g < static_cast<std::size_t>(k); ++g) {
      const std::int32_t* c = count.data() + g * h;
      long long sum = 0, logSum = 0;
      for (std::size_t b = 0; b < h; ++b) sum += static_cast<long long>(c[b]) * d[b];
      if (lg != nullptr)
        for (std::size_t b = 0; b < h; ++b) logSum += static_cast<long long>(c[b]) * lg[b];
      toGroup[g] = sum;
      logToGroup[g] = logSum;
    }
    for (std::size_t g = 0; g < static_cast<std::size_t>(k); ++g) {
      const long long ca = count[g * h + a];
      if (ca == 0) continue;
      within2[g] += ca * toGroup[g];
      withinLog2[g] += ca * logToGroup[g];
      for (std::size_t x = g + 1; x < static_cast<std::size_t>(k); ++x)
        s.between[g * static_cast<std::size_t>(k) + x] += ca * toGroup[x];
    }
  }
  for (std::size_t g = 0; g < static_cast<std::size_t>(k); ++g) {
    s.within[g] = within2[g] / 2;
    s.withinLog[g] = withinLog2[g] / 2;
  }
  out.sums = DivergenceOf(s, sites_);
  if (k >= 2) out.values = ValuesOf(s, sites_, out.sums, withLogs_);
  return out;
}

SubdivisionStats SubdivisionMatrix::Evaluate(const std::vector<int>& labels) const {
  SubdivisionStats out;
  if (!usable_) return out;
  if (!haplotypeOf_.empty()) return EvaluateHaplotypes(labels);
  const int n = static_cast<int>(members_.size());
  const int k = groups_;
  std::vector<std::uint16_t> lab(static_cast<std::size_t>(n));
  GroupSums s;
  s.Reset(k);
  for (int u = 0; u < n; ++u) {
    const std::size_t i = static_cast<std::size_t>(members_[static_cast<std::size_t>(u)]);
    const int g = i < labels.size() ? labels[i] : -1;
    if (g < 0 || g >= k) return out;
    lab[static_cast<std::size_t>(u)] = static_cast<std::uint16_t>(g);
    ++s.n[static_cast<std::size_t>(g)];
  }
  for (int g = 0; g < k; ++g)
    if (s.n[static_cast<std::size_t>(g)] == 0) return out;
  // Per group a mask over the members (all bits set for the group's members), so each row
  // sum is an AND and an add per entry that the compiler turns into vector code; the last
  // group's share of a row is its total minus the others.
  std::vector<std::vector<std::uint16_t>> mask16(
      static_cast<std::size_t>(k), std::vector<std::uint16_t>(static_cast<std::size_t>(n)));
  std::vector<std::vector<std::int32_t>> mask32;
  if (withLogs_)
    mask32.assign(static_cast<std::size_t>(k),
                  std::vector<std::int32_t>(static_cast<std::size_t>(n)));
  for (int u = 0; u < n; ++u) {
    const std::uint16_t g = lab[static_cast<std::size_t>(u)];
    mask16[g][static_cast<std::size_t>(u)] = 0xFFFF;
    if (withLogs_) mask32[g][static_cast<std::size_t>(u)] = -1;
  }
  s.totalLog = totalLog_;
  std::vector<std::uint32_t> rowSum(static_cast<std::size_t>(k));
  for (int u = 0; u + 1 < n; ++u) {
    const std::size_t start = RowStart(u);
    const std::uint16_t* d = diff_.data() + start;
    const int len = n - u - 1;
    const std::uint16_t g = lab[static_cast<std::size_t>(u)];
    std::uint32_t others = 0;
    for (int h = 0; h + 1 < k; ++h) {
      const std::uint16_t* m = mask16[static_cast<std::size_t>(h)].data() + u + 1;
      std::uint32_t sum = 0;
      for (int x = 0; x < len; ++x) sum += static_cast<std::uint32_t>(d[x] & m[x]);
      rowSum[static_cast<std::size_t>(h)] = sum;
      others += sum;
    }
    rowSum[static_cast<std::size_t>(k - 1)] = rowTotal_[static_cast<std::size_t>(u)] - others;
    s.within[g] += rowSum[g];
    for (int h = 0; h < k; ++h) {
      if (h == g) continue;
      const int lo = std::min<int>(g, h), hi = std::max<int>(g, h);
      s.between[static_cast<std::size_t>(lo * k + hi)] += rowSum[static_cast<std::size_t>(h)];
    }
    if (withLogs_) {
      const std::int32_t* lg = logs_.data() + start;
      const std::int32_t* m = mask32[g].data() + u + 1;
      std::int64_t inside = 0;
      for (int x = 0; x < len; ++x) inside += lg[x] & m[x];
      s.withinLog[g] += inside;
    }
  }
  out.sums = DivergenceOf(s, sites_);
  if (k >= 2) out.values = ValuesOf(s, sites_, out.sums, withLogs_);
  return out;
}
