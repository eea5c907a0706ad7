// SPDX-License-Identifier: GPL-3.0-or-later
// Bootstrap replicates of a dataset for the analyses that measure support (neighbour-joining).
#include <algorithm>

#include "analysis/BaseDbox1.h"
#include "analysis/MutUnit.h"
#include "common/PlatformRandom.h"
#include "common/Services.h"
#include "model/DataProjUnit.h"

namespace {

bool HoldsSnps(const TDataSeq& ds) {
  for (int r = 1; r <= ds.Count(); ++r)
    if (ds.SeqAt(r)->seqType == kSeqSnp) return true;
  return false;
}

// A copy holding only the columns from..to, or nothing when that is the whole alignment (or
// the positions are stored SNP sites rather than columns).
std::unique_ptr<TDataSeq> RegionCopy(const TDataSeq& ds, const TDataProj& owner, int from, int to) {
  const int length = ds.AlignmentLength(true);
  if (HoldsSnps(ds) || from < 1 || to > length || from > to || (from == 1 && to == length))
    return nullptr;
  auto copy = owner.MakeDataset();
  ds.CopyTo(*copy);
  for (int r = 1; r <= copy->Count(); ++r) {
    TSeq& s = *copy->SeqAt(r);
    const int shift = s.columnShift;
    // Disabled rows refuse edits; their letters are resampled like any other.
    const bool enabled = s.enabled;
    s.enabled = true;
    const int keepTo = std::max(0, to - shift);  // last letter within the region
    if (keepTo < s.Length()) s.DeleteLetters(keepTo + 1, s.Length() - keepTo, false);
    const int before = std::min(s.Length(), from - 1 - shift);  // letters left of the region
    if (before > 0) s.DeleteLetters(1, before, false);
    s.enabled = enabled;
    if (s.Length() > 0) s.columnShift = std::max(0, shift - (from - 1));
  }
  copy->LettersChanged();
  return copy;
}

}  // namespace

bool BootstrapDseq(const TDataSeq& ds, int replicates, int regionFrom, int regionTo,
                   std::unique_ptr<TDataProj>& replicateProject, int indelMode, int ambiguityMode,
                   PlatformRandom& rng, Services& services) {
  replicateProject = std::make_unique<TDataProj>(services);
  if (replicates < 1) return false;
  const std::unique_ptr<TDataSeq> region = RegionCopy(ds, *replicateProject, regionFrom, regionTo);
  const TDataSeq& source = region ? *region : ds;
  AnalysisOptions scan;
  scan.siteFlags = kSiteAll;
  scan.mutationFlags = kMutAll;
  scan.indelMode = static_cast<std::uint8_t>(indelMode);
  scan.ambiguityMode = static_cast<std::uint8_t>(ambiguityMode);
  // The resampled copy holds just the region's columns.
  scan.regionFrom = region ? 1 : regionFrom;
  scan.regionTo = region ? 0 : regionTo;
  scan.showProgress = false;
  ProgressScope bar(services.progress, replicates, "Bootstrapping dataset " + ds.dsName);
  for (int k = 1; k <= replicates && !bar.Cancelled(); ++k) {
    bar.Step(true);
    std::unique_ptr<TDataSeq> copy = source.Bootstrap(true, rng);
    copy->dsName = ds.dsName + "_" + std::to_string(k);
    // The replicate project has no individuals, so every sequence takes part as itself.
    UpdateMuts(*copy, scan, replicateProject.get(), {0}, ScanChoices{}, &rng);
    replicateProject->AddDataset(copy, false);
  }
  return replicateProject->DatasetCount() == replicates;
}
