// SPDX-License-Identifier: GPL-3.0-or-later
// Per-replicate statistics through the analyses' own operations; the simulation adds only the
// scaling by L and the combinations over demes.
#include "coalescent/SimStats.h"

#include "analysis/PolymEstimators.h"

namespace {

constexpr int kAllSites = kSiteAll;
constexpr int kAllMutations = kMutAll;

}  // namespace

void ComputeSampleStats(const tmutholder& t, const samptype& mask, int seqLength,
                        const SimStatChoice& c, SampleStats& out) {
  const double L = seqLength > 0 ? seqLength : 1;
  out = SampleStats();
  if (c.segSites || c.singletons)
    out.segSites = t.countSegregatingSites(0, 0, mask, kAllSites, kAllMutations);
  // A fraction of the mutations: a site hit twice holds two mutations but counts once in S, so
  // singletons over S could pass 1. Without repeat hits the two denominators are equal.
  if (c.singletons && out.segSites >= 1)
    out.singletons = static_cast<double>(t.countSingletons(0, 0, mask, kAllSites, kAllMutations)) /
                     t.countMutations(0, 0, mask, kAllSites, kAllMutations);
  if (c.theta) {
    const double theta = thetaW(t, 0, 0, mask, kAllSites, kAllMutations);
    out.theta = theta < 0 ? theta : theta / L;
  }
  if (c.pi) out.pi = nucleotideDiversity(t, 0, 0, mask, kAllSites, kAllMutations) / L;
  if (c.tajimaD) out.tajimaD = tajimaD(t, 0, 0, mask, kAllSites, kAllMutations);
  if (c.fuLi) {
    out.fuLiDstar = fuLiDstar(t, 0, 0, mask, kAllSites, kAllMutations);
    out.fuLiFstar = fuLiFstar(t, 0, 0, mask, kAllSites, kAllMutations);
  }
  if (c.zns) out.zns = kellyZnS(t, 0, 0, mask);
  if (c.wallBQ) {
    const WallResult w = wallBQ(t, 0, 0, mask);
    out.wallB = w.B;
    out.wallQ = w.Q;
  }
}

ReplicateStats ComputeReplicateStats(const tmutholder& t, const samptype& whole,
                                     const std::vector<samptype>& demeMasks, int seqLength,
                                     const SimStatChoice& c) {
  ReplicateStats r;
  ComputeSampleStats(t, whole, seqLength, c, r.whole);
  r.demes.resize(demeMasks.size());
  for (std::size_t d = 0; d < demeMasks.size(); ++d)
    ComputeSampleStats(t, demeMasks[d], seqLength, c, r.demes[d]);

  if (c.shared && demeMasks.size() == 2) {
    r.hasShared = true;
    r.shared = sharedFixedSites(t, 0, 0, kAllSites, kAllMutations, demeMasks[0], demeMasks[1]);
  }
  // Between-deme values are taken over the demes that were sampled: a deme without samples
  // has no sequences to compare.
  std::vector<samptype> sampled;
  for (const samptype& m : demeMasks)
    if (m.Any()) sampled.push_back(m);
  if (sampled.size() < 2) return r;
  if (c.fst || c.dst || c.kst || c.nm) {
    const SubdivisionValues v = subdivisionFst(t, 0, 0, kAllSites, kAllMutations, sampled, c.kst);
    r.fst = v.fst;
    r.dst = v.hst;
    r.kst = v.kst;
    r.nm = GeneFlowNm(v.fst);
  }
  if (c.dxy) {
    const DivergenceSums s = divergenceDxyDa(t, 0, 0, kAllSites, kAllMutations, sampled);
    const double k = static_cast<double>(sampled.size());
    const double pairs = k * (k - 1) / 2;
    r.dxy = s.dxy < 0 ? -1 : s.dxy / pairs;
    r.da = s.dxy < 0 ? -1 : s.da / pairs;
  }
  return r;
}
