// SPDX-License-Identifier: GPL-3.0-or-later
// Random sub-samples of datasets, from the whole dataset or from each population.
#include <string>
#include <vector>

#include "analysis/SamplingFormUnit.h"
#include "analysis/ShowPolymSUnit.h"
#include "common/Services.h"
#include "model/DataProjUnit.h"

namespace {
const std::string kCrLf = "\r\n";
}  // namespace

DataSampling::DataSampling(TDataProj& project, SamplingOptions options, Services& services)
    : project_(project), o_(options), svc_(services), rng_(0) {}

void DataSampling::Line(const std::string& text) {
  report_ += text;
  report_ += kCrLf;
}

void DataSampling::AnalysePop(const TDataSeq& ds, const std::string& groupName, int draw,
                              TDataSeq* target) {
  int groupKey = 0;
  if (!groupName.empty()) {
    groupKey = project_.GroupKeyByName(groupName);
    if (groupKey == -1) {
      Line("Error: group " + groupName + " does not exist");
      return;
    }
  }
  const int n = ds.Count();
  std::vector<char> candidate(static_cast<std::size_t>(n) + 1, 0);
  int selected = 0;
  std::string names;
  for (int r = 1; r <= n; ++r) {
    if (!ds.IsSelected(r)) continue;
    candidate[static_cast<std::size_t>(r)] = 1;
    ++selected;
    names += ds.NameAt(r) + "; ";
  }
  if (draw == 0) {
    report_ += kCrLf + std::string(26, '-') + kCrLf;
    Line(groupName.empty() ? "Dataset: " + ds.dsName : groupName);
    Line("");
    Line("Number of sequences: " + std::to_string(selected));
    report_ += names;
  }
  std::vector<int> outgroups;
  for (int r = 1; r <= n; ++r) {
    if (candidate[static_cast<std::size_t>(r)] == 0) continue;
    if (groupKey != 0 && !project_.IsInGroup(ds, ds.SeqAt(r)->seqId, true, groupKey))
      candidate[static_cast<std::size_t>(r)] = 0;
    if (project_.IsOutgroup(ds, r)) {
      candidate[static_cast<std::size_t>(r)] = 0;
      outgroups.push_back(r);
    }
  }
  if (draw == 0) {
    if (outgroups.empty()) return;
    const std::size_t count = outgroups.size();
    report_ +=
        kCrLf + "Of these " + std::to_string(count) +
        (count == 1 ? " is an outgroup" : " are outgroups") +
        (o_.addOutgroup ? " (included in each sub-sample):" : " (excluded from re-sampling): ") +
        kCrLf;
    for (int r : outgroups) report_ += ds.NameAt(r) + "; ";
    report_ += kCrLf;
    return;
  }
  if (target == nullptr) return;
  int left = 0;
  for (int r = 1; r <= n; ++r) left += candidate[static_cast<std::size_t>(r)];
  auto addCopy = [&](int row) {
    auto copy = ds.CloneAt(row);
    copy->selected = false;
    (void)target->AddSeq(copy, true);
  };
  for (int drawn = 0; left > 0 && drawn < o_.sampleSize;) {
    const int row = rng_.NextInt(n) + 1;
    if (candidate[static_cast<std::size_t>(row)] == 0) continue;  // drawn again
    addCopy(row);
    ++drawn;
    if (o_.noRepeats) {
      candidate[static_cast<std::size_t>(row)] = 0;
      --left;
    }
  }
  if (o_.addOutgroup)
    for (int r : outgroups) addCopy(r);
}

SamplingResult DataSampling::Run() {
  SamplingResult result;
  rng_.Seed(static_cast<std::uint32_t>(o_.seed));
  report_.clear();
  const int datasets = project_.DatasetCount();
  Line("Data project: " + project_.projName);
  Line("This project contains " + std::to_string(datasets) + " dataset" +
       (datasets == 1 ? "" : "s"));
  Line("Datasets to sample: " + std::to_string(project_.SelectedDatasetCount()));
  Line("");

  std::vector<std::string> populations;
  if (o_.perPopulation) {
    Line("The project contains " + std::to_string(project_.GroupCount() - 1) + " populations");
    for (const TGroup& g : project_.Groups()) {
      // The outgroup group is no population.
      if (g.grpKey == kOutgroupKey || !g.grpSelected) continue;
      int individuals = 0;
      for (const TIndivid& ind : project_.Individs())
        if (ind.indGroup == g.grpKey) ++individuals;
      if (individuals < o_.sampleSize)
        Line("Population " + g.grpName +
             " contains too few individuals - excluded from re-sampling");
      else
        populations.push_back(g.grpName);
    }
    Line("Populations to sample: " + std::to_string(populations.size()));
    std::string names;
    for (const std::string& name : populations) names += name + ";";
    Line(names);
    Line("");
  }

  ProgressScope bar(svc_.progress, o_.samples * project_.SelectedDatasetCount(),
                    "Sub-sampling the data...");
  for (int d = 0; d < datasets && !result.cancelled; ++d) {
    const TDataSeq& ds = *static_cast<const TDataProj&>(project_).DatasetAt(d);
    if (!ds.dsSelected) continue;
    if (ds.Count() < o_.sampleSize) {
      Line("Dataset " + ds.dsName + " contains too few sequences.");
      continue;
    }
    AnalysePop(ds, "", 0, nullptr);
    std::vector<std::unique_ptr<TDataSeq>> samples;
    for (int k = 1; k <= o_.samples; ++k) {
      svc_.progress.ShowStatus("Sub-sampling the dataset " + ds.dsName + "...", true, true);
      if (svc_.progress.cancelRequested()) {
        result.cancelled = true;
        break;
      }
      auto sample = project_.MakeDataset();
      sample->dsName = ds.dsName + "_" + std::to_string(k);
      sample->code = ds.code;
      if (o_.perPopulation)
        for (const std::string& name : populations) AnalysePop(ds, name, k, sample.get());
      else
        AnalysePop(ds, "", k, sample.get());
      samples.push_back(std::move(sample));
    }
    report_ += kCrLf + std::to_string(o_.samples) + " sub-samples of size " +
               std::to_string(o_.sampleSize) +
               (o_.perPopulation
                    ? " from each of the " + std::to_string(populations.size()) + " populations"
                    : std::string()) +
               " are shown in the \"" + kSamplingWindowPrefix + ds.dsName + "\" window" + kCrLf;
    result.windows.push_back(
        {kSamplingWindowPrefix + ds.dsName, ProjectForDatasets(project_, std::move(samples))});
  }
  result.report = report_;
  return result;
}
