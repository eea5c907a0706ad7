// SPDX-License-Identifier: GPL-3.0-or-later
// The bundled example project: one 60-letter coding locus sampled from two populations and
// an outgroup, with individuals, groups and a CDS region, written in the native format.
#include "ExampleProject.h"

#include <array>
#include <memory>

#include "io/ProjectFile.h"
#include "model/DataProjUnit.h"

namespace {

// 3 letters before the coding region, 18 codons (ATG ... TAA) and 3 letters after it.
constexpr std::string_view kReference =
    "GCAATGGCTAAAGGTCTTGAACGTATCGCAGATTTCGGTACCCTGAAAGCTCAGTAATCG";

struct Sample {
  const char* name;
  const char* group;
  // 1-based position and the letter found there instead of the reference letter.
  std::array<std::pair<int, char>, 3> changes;
};

// Population A carries a synonymous T at 12; population B a replacement G at 25 and a
// synonymous C at 45; the outgroup differs at 9, 30 and 51. Position 0 means no change.
constexpr std::array<Sample, 7> kSamples{{
    {"A1", "PopA", {{{12, 'T'}, {0, 0}, {0, 0}}}},
    {"A2", "PopA", {{{12, 'T'}, {36, 'T'}, {0, 0}}}},
    {"A3", "PopA", {{{0, 0}, {0, 0}, {0, 0}}}},
    {"B1", "PopB", {{{25, 'G'}, {45, 'C'}, {0, 0}}}},
    {"B2", "PopB", {{{25, 'G'}, {0, 0}, {0, 0}}}},
    {"B3", "PopB", {{{25, 'G'}, {45, 'C'}, {54, 'G'}}}},
    {"O1", "Outgroup", {{{9, 'A'}, {30, 'G'}, {51, 'T'}}}},
}};

}  // namespace

bool BuildExampleProject(TDataProj& project) {
  project.projName = "Example";
  project.projComment = "Two populations and an outgroup at one coding locus";
  for (const char* name : {"PopA", "PopB"}) {
    TGroup g;
    g.grpName = name;
    if (project.AddGroup(g) < 0) return false;
  }
  // Every project has its outgroup group already; adding one merges into it.
  TGroup out;
  out.grpName = "Outgroup";
  out.grpKey = kOutgroupKey;
  if (project.AddGroup(out) != kOutgroupKey) return false;

  project.NewDataset();
  TDataSeq* ds = project.CurrentDataset();
  if (ds == nullptr) return false;
  project.RenameDataset(project.CurrentIndex(), "Adh_example");
  for (const Sample& s : kSamples) {
    TIndivid ind;
    ind.indName = s.name;
    ind.indGroup = std::string_view(s.group) == "Outgroup" ? kOutgroupKey
                                                           : project.GroupKeyByName(s.group);
    const int key = project.AddIndivid(ind);
    std::string letters(kReference);
    for (const auto& [pos, letter] : s.changes)
      if (pos > 0) letters[static_cast<std::size_t>(pos - 1)] = letter;
    auto seq = std::make_unique<TSeq>(s.name, letters);
    seq->individId = key;
    TRegion cds;
    cds.regStart = 4;
    cds.regEnd = 57;
    cds.regType = kRegCds;
    cds.regName = "CDS";
    cds.codonPos = 1;
    seq->AddRegion(cds);
    if (ds->AddSeq(seq, true) < 0) return false;
  }
  project.SyncGroupNums(-1);
  project.UpdateMaxima();
  return true;
}

bool WriteExampleProject(const std::string& path, Services& services) {
  TDataProj project(services);
  if (!BuildExampleProject(project)) return false;
  GridFileSettings grid;
  return WriteProject(path, project, grid);
}
