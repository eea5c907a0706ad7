// SPDX-License-Identifier: GPL-3.0-or-later
// The group-pair exports: J. Hey's HKA program and Hey and Nielsen's IM.
//
// Both programs read the number of loci before the loci: it is the number of loci the file
// holds, not the project's dataset count, or the programs read past the end or stop short.
#include <cmath>
#include <optional>

#include "analysis/GroupMask.h"
#include "analysis/MutUnit.h"
#include "analysis/Neutrality.h"
#include "analysis/SFS2dUnit.h"
#include "analysis/Subdivision.h"
#include "common/NumberFormat.h"
#include "common/PlatformRandom.h"
#include "editor/AmbiguityResolution.h"
#include "io/IOUnit.h"
#include "io/PopGenFormats.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"

namespace {

constexpr const char* kManyGroupsNotice =
    "There are more than two groups in the project. A file will be saved for each of the group "
    "pairs.";

std::string InheritanceScalar(const TDataSeq& ds) {
  return ds.chromosome == -2 ? "0.25" : ds.chromosome == -1 ? "0.75" : "1";
}

// The project the pair files are made from: ambiguities resolved, every sequence selected, and
// with fewer than two groups but some outgroups, the pair "AllButOgrp" / "Outgrp".
struct PairProject {
  std::unique_ptr<TDataProj> proj;
  std::unique_ptr<TDataProj> withOutgroups;  // the same rows with the outgroups kept, or null
  std::vector<int> groupKeys;                // groups that take part in pairs, in order
};

std::optional<PairProject> MakePairProject(const TDataProj& project, Services& services,
                                           std::uint32_t seed, bool keepOutgroupCopy) {
  std::vector<const TDataSeq*> datasets;
  for (int d = 0; d < project.DatasetCount(); ++d) datasets.push_back(project.DatasetAt(d));
  PlatformRandom rng(seed);
  std::string error;
  PairProject p;
  p.proj = ResolvedProject(project, datasets, rng, error);
  if (!p.proj) {
    services.messages.Notify(error);
    return std::nullopt;
  }
  for (int d = 0; d < p.proj->DatasetCount(); ++d) p.proj->DatasetAt(d)->Select(-1);
  if (keepOutgroupCopy) {
    p.withOutgroups = std::make_unique<TDataProj>(services);
    p.proj->CopyTo(*p.withOutgroups);
  }
  TDataProj& pp = *p.proj;
  int outgroupCount = 0;
  for (const TIndivid& ind : pp.Individs()) outgroupCount += ind.indGroup == kOutgroupKey;
  if (pp.GroupCount() < 2 && outgroupCount > 0) {
    TGroup all, out;
    all.grpName = "AllButOgrp";
    out.grpName = "Outgrp";
    const int allKey = pp.AddGroup(all);
    const int outKey = pp.AddGroup(out);
    for (int i = 0; i < pp.IndividCount(); ++i) {
      const TIndivid& ind = pp.Individs()[static_cast<std::size_t>(i)];
      (void)pp.SetIndividGroupByKey(ind.indKey, ind.indGroup == kOutgroupKey ? outKey : allKey);
    }
  }
  for (const TGroup& g : pp.Groups())
    if (g.grpKey >= -1) p.groupKeys.push_back(g.grpKey);
  return p;
}

struct PairData {
  std::string nameA, nameB;
  std::vector<int> usable;  // dataset indexes
};

// Every pair (a, b), a before b, with the datasets usable for it.
std::vector<PairData> Pairs(const PairProject& p) {
  const TDataProj& pp = *p.proj;
  std::vector<PairData> pairs;
  for (std::size_t a = 0; a < p.groupKeys.size(); ++a)
    for (std::size_t b = a + 1; b < p.groupKeys.size(); ++b) {
      PairData pair;
      pair.nameA = pp.GroupName(pp.GroupIndexByKey(p.groupKeys[a]));
      pair.nameB = pp.GroupName(pp.GroupIndexByKey(p.groupKeys[b]));
      for (int d = 0; d < pp.DatasetCount(); ++d) {
        const TDataSeq& ds = *pp.DatasetAt(d);
        const int na = GroupMask(pp, ds, p.groupKeys[a]).Count();
        const int nb = GroupMask(pp, ds, p.groupKeys[b]).Count();
        if ((na > 0 && nb > 1) || (nb > 0 && na > 1)) pair.usable.push_back(d);
      }
      if (!pair.usable.empty()) pairs.push_back(std::move(pair));
    }
  return pairs;
}

// The file of a pair: the chosen path while at most two groups hold sequences.
std::string PairPath(const std::string& path, const PairProject& p, const PairData& pair) {
  int withSeqs = 0;
  for (const int key : p.groupKeys) withSeqs += p.proj->CountSeqsInGroup(key, -1, true) > 0;
  if (withSeqs <= 2) return path;
  const auto slash = path.find_last_of("/\\");
  const auto dot = path.rfind('.');
  const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string stem = hasExt ? path.substr(0, dot) : path;
  const std::string ext = hasExt ? path.substr(dot) : "";
  return stem + "_" + pair.nameA + "_" + pair.nameB + ext;
}

std::string Fixed4OrErr(double v, bool ok) {
  return ok ? FormatFixed(v, 4) : "Err";
}

std::string HkaLocus(PairProject& p, int d, int keyA, int keyB, const HkaChoices& choices) {
  TDataProj& pp = *p.proj;
  TDataSeq& ds = *pp.DatasetAt(d);
  if (!UpdateMuts(ds, AnalysisOptions{}, &pp, {keyA, keyB}, ScanChoices{}) || ds.mutHolders.empty())
    return {};
  const tmutholder* whole = TableOfGroup(ds, 0, false);
  const tmutholder* ta = TableOfGroup(ds, keyA, false);
  const tmutholder* tb = TableOfGroup(ds, keyB, false);
  const samptype ma = GroupMask(pp, ds, keyA), mb = GroupMask(pp, ds, keyB);
  const int La = ta != nullptr ? ta->positionsAnalysed() : 0;
  const int Lb = tb != nullptr ? tb->positionsAnalysed() : 0;
  const int L = whole != nullptr ? whole->positionsAnalysed()
                                 : static_cast<int>(std::lround((La + Lb) / 2.0));
  std::string line = ds.dsName + " " + InheritanceScalar(ds) + " " + std::to_string(La) + " " +
                     std::to_string(Lb) + " " + std::to_string(L) + " " +
                     std::to_string(ma.Count()) + " " + std::to_string(mb.Count()) + " ";
  line +=
      (ta ? std::to_string(ta->countSegregatingSites(0, 0, ma, kSiteAll, kMutAll)) : "Err") + " ";
  line +=
      (tb ? std::to_string(tb->countSegregatingSites(0, 0, mb, kSiteAll, kMutAll)) : "Err") + " ";
  const double dxy = whole ? divergenceDxyDa(*whole, 0, 0, kSiteAll, kMutAll, {ma, mb}).dxy : -1.0;
  line += Fixed4OrErr(dxy * L, dxy != -1);
  if (choices.tajimaD) {
    for (const auto& [t, m] : {std::pair{ta, &ma}, std::pair{tb, &mb}}) {
      const double D = t ? tajimaD(*t, 0, 0, *m, kSiteAll, kMutAll) : kNeutralityError;
      line += " " + Fixed4OrErr(D, D > kNeutralityError);
    }
  }
  if (choices.fuLiD && p.withOutgroups) {
    // Fu and Li's D with an outgroup comes from the copy that kept the outgroups; the rows
    // are the same in both copies.
    TDataProj& po = *p.withOutgroups;
    TDataSeq& dso = *po.DatasetAt(d);
    int outgroups = 0;
    (void)po.OutgroupInfo(outgroups);
    if (outgroups > 0) {
      (void)UpdateMuts(dso, AnalysisOptions{}, &po, {}, ScanChoices{});
      const tmutholder* div = TableOfGroup(dso, 0, true);
      for (const samptype* m : {&ma, &mb}) {
        samptype in = *m;
        for (int r = 1; r <= dso.Count(); ++r)
          if (po.IsOutgroup(dso, r)) in.Set(r - 1, false);
        const double D = div != nullptr && in.Any()
                             ? fuLiDoutgroup(*div, 0, 0, in, kSiteAll, kMutAll).value
                             : kNeutralityError;
        line += " " + Fixed4OrErr(D, D > kNeutralityError);
      }
    }
  }
  return line;
}

// Names of at most ten characters; a longer one is cut and ends in its row number.
std::string ImName(const std::string& name, int row, bool secondGroup) {
  if (name.size() <= 10) return name + std::string(10 - name.size(), ' ');
  const std::string number = std::to_string(row);
  const int d = static_cast<int>(number.size());
  const int keep = std::max(0, (secondGroup ? 9 : 10) - d);
  return name.substr(0, static_cast<std::size_t>(keep)) + (secondGroup ? "~" : "") + number;
}

}  // namespace

std::vector<PairFile> HkaFiles(const std::string& path, const TDataProj& project,
                               const HkaChoices& choices, Services& services,
                               std::uint32_t rngSeed) {
  std::vector<PairFile> files;
  std::optional<PairProject> p = MakePairProject(project, services, rngSeed, choices.fuLiD);
  if (!p) return files;
  ProgressScope bar(services.progress, p->proj->DatasetCount(), "Searching for polymorphisms...");
  for (const PairData& pair : Pairs(*p)) {
    const int keyA = p->proj->GroupKeyByName(pair.nameA);
    const int keyB = p->proj->GroupKeyByName(pair.nameB);
    std::vector<std::string> loci;
    for (const int d : pair.usable) {
      bar.Step(false);
      services.progress.ShowStatus(
          "Searching for polymorphisms in " + p->proj->DatasetAt(d)->dsName, false, true);
      std::string line = HkaLocus(*p, d, keyA, keyB, choices);
      if (!line.empty()) loci.push_back(std::move(line));
    }
    if (loci.empty()) continue;
    std::string text;
    AppendLine(text, "Input file for J.Hey's HKA prog was generated by Nodrix3");
    AppendLine(text, std::to_string(loci.size()));
    AppendLine(text, pair.nameA + " " + pair.nameB);
    for (const std::string& line : loci) AppendLine(text, line);
    files.push_back({PairPath(path, *p, pair), std::move(text)});
  }
  return files;
}

std::vector<PairFile> ImFiles(const std::string& path, const TDataProj& project, Services& services,
                              std::uint32_t rngSeed) {
  std::vector<PairFile> files;
  std::optional<PairProject> p = MakePairProject(project, services, rngSeed, false);
  if (!p) return files;
  TDataProj& pp = *p->proj;
  std::unique_ptr<ProgressScope> bar;
  if (pp.DatasetCount() > 1)
    bar = std::make_unique<ProgressScope>(services.progress, pp.DatasetCount(),
                                          "Saving data for IM...");
  for (const PairData& pair : Pairs(*p)) {
    const int keyA = pp.GroupKeyByName(pair.nameA);
    const int keyB = pp.GroupKeyByName(pair.nameB);
    std::string loci;
    int count = 0;
    for (const int d : pair.usable) {
      TDataSeq& ds = *pp.DatasetAt(d);
      if (bar) bar->Step(true);
      if (!UpdateMuts(ds, AnalysisOptions{}, &pp, {keyA, keyB}, ScanChoices{})) continue;
      const samptype ma = GroupMask(pp, ds, keyA), mb = GroupMask(pp, ds, keyB);
      const int length = ds.AlignmentLength(true);
      AppendLine(loci, ds.dsName + " " + std::to_string(ma.Count()) + " " +
                           std::to_string(mb.Count()) + " " + std::to_string(length) + " I " +
                           InheritanceScalar(ds) + " 0.000000001 (0.00000005 0.000000005)");
      for (const auto& [mask, second] : {std::pair{&ma, false}, std::pair{&mb, true}})
        for (int r = 1; r <= ds.Count(); ++r) {
          if (!mask->Test(r - 1)) continue;
          const TSeq& s = *ds.SeqAt(r);
          // IM reads aligned rows: each row starts at its column and fills the length.
          std::string row(static_cast<std::size_t>(std::max(0, s.columnShift)), '-');
          row += s.letters;
          if (static_cast<int>(row.size()) < length)
            row.resize(static_cast<std::size_t>(length), '-');
          AppendLine(loci, ImName(s.seqName, r, second) + row);
        }
      ++count;
    }
    if (count == 0) continue;
    std::string text;
    AppendLine(text, "Input file for J.Hey and Nielsen's IM(a) prog was generated by Nodrix3");
    AppendLine(text, pair.nameA + " " + pair.nameB);
    AppendLine(text, std::to_string(count));
    text += loci;
    files.push_back({PairPath(path, *p, pair), std::move(text)});
  }
  return files;
}

namespace {

bool WritePairFiles(const std::vector<PairFile>& files, const std::string& path,
                    Services& services) {
  if (files.empty()) {
    services.messages.Notify(
        "No pair of groups has a dataset with sequences in both groups: "
        "nothing was written to " +
        path);
    return false;
  }
  if (files.size() > 1 || files.front().path != path) services.messages.Notify(kManyGroupsNotice);
  bool ok = true;
  for (const PairFile& f : files) ok = SaveTextFile(f.path, f.text, services) && ok;
  return ok;
}

}  // namespace

bool SaveHka(const std::string& path, const TDataProj& project, Services& services) {
  HkaChoices choices;
  choices.tajimaD = services.messages.AskYesNo("Include Tajima's D values (optional)?");
  choices.fuLiD = services.messages.AskYesNo("Include Fu and Li's D values (optional)?");
  return WritePairFiles(
      HkaFiles(path, project, choices, services, PlatformRandom::FromClock().Next()), path,
      services);
}

bool SaveIm(const std::string& path, const TDataProj& project, Services& services) {
  return WritePairFiles(ImFiles(path, project, services, PlatformRandom::FromClock().Next()), path,
                        services);
}
