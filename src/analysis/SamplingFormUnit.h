// SPDX-License-Identifier: GPL-3.0-or-later
// Sub-samples without their dialog: random samples of the sequences of every dataset, drawn
// from the whole dataset or from each population, one new project per dataset, and the report.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "common/PlatformRandom.h"

class TDataProj;
class TDataSeq;
struct Services;

// The controls of "Create sub-samples of the dataset" with their defaults.
struct SamplingOptions {
  bool perPopulation = false;  // rbPop, else rbAll
  int sampleSize = 5;          // SampSizeEdit
  int samples = 100;           // RunsEdit
  bool noRepeats = true;       // cbRepeatedSamp
  bool addOutgroup = false;    // cbAddOG
  int seed = 0;                // RSeedEdit
};

inline constexpr const char* kSamplingWindowPrefix = "Sampling from dataset ";

struct SamplingWindow {
  std::string caption;  // kSamplingWindowPrefix + dataset name
  std::unique_ptr<TDataProj> project;
};

struct SamplingResult {
  std::string report;
  std::vector<SamplingWindow> windows;
  bool cancelled = false;
};

class DataSampling {
 public:
  DataSampling(TDataProj& project, SamplingOptions options, Services& services);

  // With draw 0 the description of the dataset (groupName empty) or the group goes to the
  // report; with draw > 0 one random sub-sample of the candidates (the selected sequences of
  // the group, outgroups apart) is appended to target, the outgroups after it on request.
  void AnalysePop(const TDataSeq& ds, const std::string& groupName, int draw, TDataSeq* target);
  // The whole run: the generator reseeded, every dataset selected for analysis sampled.
  SamplingResult Run();

  [[nodiscard]] const std::string& Report() const { return report_; }

 private:
  void Line(const std::string& text);
  TDataProj& project_;
  SamplingOptions o_;
  Services& svc_;
  PlatformRandom rng_;
  std::string report_;
};

inline SamplingResult RunSampling(TDataProj& project, const SamplingOptions& options,
                                  Services& services) {
  return DataSampling(project, options, services).Run();
}
