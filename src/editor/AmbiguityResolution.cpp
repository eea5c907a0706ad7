// SPDX-License-Identifier: GPL-3.0-or-later
// Ambiguity resolution by ploidy.
#include "editor/AmbiguityResolution.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "common/PlatformRandom.h"
#include "editor/CommandSupport.h"

namespace {

struct SetTable {
  std::array<const char*, 256> sets{};
  SetTable() {
    sets.fill("?");
    for (char c : std::string_view("-?ACGNTUacgntu")) sets[static_cast<unsigned char>(c)] = "";
    const std::pair<char, const char*> codes[] = {
        {'B', "GTC"}, {'D', "GAT"}, {'H', "ACT"}, {'K', "GT"}, {'M', "AC"}, {'R', "AG"},
        {'S', "GC"},  {'V', "GCA"}, {'W', "AT"},  {'Y', "TC"}, {'b', "gtc"}, {'d', "gat"},
        {'h', "act"}, {'k', "gt"},  {'m', "ac"},  {'r', "ag"}, {'s', "gc"},  {'v', "gca"},
        {'w', "at"},  {'y', "tc"}};
    for (const auto& [letter, set] : codes) sets[static_cast<unsigned char>(letter)] = set;
  }
};

const SetTable& Sets() {
  static const SetTable table;
  return table;
}

// Each letter taken once in a random order: positions are drawn until a free one turns up;
// after 101 draws that all hit taken positions the set's first letter stands in.
std::string Shuffled(const std::string& set, PlatformRandom& rng) {
  const int n = static_cast<int>(set.size());
  if (n < 2) return set;
  std::vector<bool> taken(set.size(), false);
  std::string out;
  out.reserve(set.size());
  for (int i = 0; i < n; ++i) {
    char letter = set[0];
    for (int draw = 0; draw < 101; ++draw) {
      const int at = rng.NextInt(n);
      if (taken[static_cast<std::size_t>(at)]) continue;
      taken[static_cast<std::size_t>(at)] = true;
      letter = set[static_cast<std::size_t>(at)];
      break;
    }
    out.push_back(letter);
  }
  return out;
}

std::vector<int> ProcessedRows(const TDataSeq& dataset) {
  std::vector<int> rows;
  const bool selectedOnly = dataset.SelectedCount() > 0;
  for (int r = 1; r <= dataset.Count(); ++r)
    if (!selectedOnly || dataset.SeqAt(r)->selected) rows.push_back(r);
  return rows;
}

void CopyDescription(const TDataSeq& from, TDataSeq& to) {
  to.dsName = from.dsName;
  to.dsComment = from.dsComment;
  to.code = from.code;
  to.chromosome = from.chromosome;
  to.genePosition = from.genePosition;
  to.genomeCoord = from.genomeCoord;
  to.dsForward = from.dsForward;
  to.dsSourceFile = from.dsSourceFile;
}

}  // namespace

std::string AmbiguitySet(char letter) {
  return Sets().sets[static_cast<unsigned char>(letter)];
}

std::string PloidyRefusal(const TDataSeq& dataset) {
  const int limit = dataset.GetServices().settings.maxSeqPerDataset;
  for (int r : ProcessedRows(dataset))
    if (dataset.SeqAt(r)->ploidy > limit)
      return "Sequence " + dataset.NameAt(r) + " of dataset " + dataset.dsName + " has ploidy " +
             std::to_string(dataset.SeqAt(r)->ploidy) +
             ", more copies than a dataset may hold (Max seq per dataset " + std::to_string(limit) +
             ")";
  return {};
}

std::unique_ptr<TDataSeq> ResolveAmbiguities(const TDataSeq& dataset, bool allCopies,
                                             PlatformRandom& rng, std::string& error) {
  error = PloidyRefusal(dataset);
  if (!error.empty()) return nullptr;
  const std::vector<int> rows = ProcessedRows(dataset);
  auto out = std::make_unique<TDataSeq>(dataset.GetServices());
  CopyDescription(dataset, *out);
  const auto& sets = Sets().sets;
  for (int r : rows) {
    const TSeq& row = *dataset.SeqAt(r);
    const int ploidy = row.ploidy > 0 ? row.ploidy : 1;
    std::vector<std::unique_ptr<TSeq>> copies;
    for (int k = 0; k < ploidy; ++k) {
      copies.push_back(row.Clone());
      copies.back()->ploidy = 1;
      if (k > 0) copies.back()->seqName = row.seqName + "~" + std::to_string(k);
    }
    for (std::size_t i = 0; i < row.letters.size(); ++i) {
      const char* set = sets[static_cast<unsigned char>(row.letters[i])];
      if (*set == '\0') continue;
      std::string s = set;
      const int m = static_cast<int>(s.size());
      while (static_cast<int>(s.size()) < ploidy) s.push_back(s[static_cast<std::size_t>(rng.NextInt(m))]);
      s = Shuffled(s, rng);
      for (int k = 0; k < ploidy; ++k) copies[static_cast<std::size_t>(k)]->letters[i] = s[static_cast<std::size_t>(k)];
    }
    for (std::size_t k = 0; k < (allCopies ? copies.size() : 1); ++k)
      if (out->AddSeq(copies[k], true) < 0) return out;  // full: the dataset has said so
  }
  return out;
}

std::unique_ptr<TDataProj> ResolvedProject(const TDataProj& project,
                                           const std::vector<const TDataSeq*>& datasets,
                                           PlatformRandom& rng, std::string& error) {
  for (const TDataSeq* ds : datasets) {
    error = PloidyRefusal(*ds);
    if (!error.empty()) return nullptr;
  }
  Services& services = project.GetServices();
  auto out = std::make_unique<TDataProj>(services);
  out->projName = project.projName;
  out->projComment = project.projComment;
  for (const TGroup& g : project.Groups()) out->AddGroup(g);
  for (const TIndivid& ind : project.Individs()) out->AddIndivid(ind);
  std::optional<ProgressScope> bar;
  if (datasets.size() > 1)
    bar.emplace(services.progress, static_cast<int>(datasets.size()), "Processing dataset ");
  for (const TDataSeq* ds : datasets) {
    if (bar) services.progress.ShowStatus("Processing dataset " + ds->dsName, true, false);
    std::unique_ptr<TDataSeq> resolved = ResolveAmbiguities(*ds, true, rng, error);
    if (resolved) out->AddDataset(resolved, false);
  }
  return out;
}

std::unique_ptr<TDataProj> ResolveAmbiguousSites(EditorContext& ctx, PlatformRandom& rng) {
  if (ctx.project.DatasetCount() == 0) return nullptr;
  if (!ctx.services.messages.AskYesNo(
          "This function RANDOMLY resolves IUPAC-encoded ambig. sites.\r\nI.e \"Y\" will be "
          "randomly resolved as \"T\" or \"C\".\r\nIf ploidy parameter in seq properties is set to "
          ">1 then \"Y\" will be resolved as \"T\" in one allele and \"C\" in the other allele."))
    return nullptr;
  const std::vector<TDataSeq*> scope = ScopeDatasets(ctx, kAllDatasetsQuestion);
  std::string error;
  auto out = ResolvedProject(ctx.project, {scope.begin(), scope.end()}, rng, error);
  if (!out) ctx.services.messages.Notify(error);
  return out;
}
