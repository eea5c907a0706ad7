// SPDX-License-Identifier: GPL-3.0-or-later
// Bootstrap replicates of one dataset in a project of their own.
#include "editor/BootstrapCopies.h"

#include "common/Services.h"
#include "model/DataProjUnit.h"

std::string BootstrapQuestion(int count, const std::string& dsName) {
  return "Generate " + std::to_string(count) + " bootstrap replicates for " + dsName + "?";
}

std::string BootstrapWindowCaption(const std::string& caption, const std::string& dsName) {
  return "Bootstrapped_" + caption + "_[" + dsName + "]";
}

std::unique_ptr<TDataProj> BootstrapCurDseq(const TDataSeq& ds, int count, bool keepCodons,
                                            PlatformRandom& rng, Services& services) {
  auto project = std::make_unique<TDataProj>(services);
  ProgressScope bar(services.progress, count, "Bootstrapping...");
  for (int k = 1; k <= count; ++k) {
    bar.Step(true);
    if (bar.Cancelled()) break;
    std::unique_ptr<TDataSeq> copy = ds.Bootstrap(keepCodons, rng);
    copy->dsName = ds.dsName + "_" + std::to_string(k);
    (void)project->AddDataset(copy, false);
  }
  return project;
}
