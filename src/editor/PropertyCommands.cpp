// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing the fields of the sequence, dataset and project property dialogs.
#include "editor/PropertyCommands.h"

#include <algorithm>

#include "editor/RegionTable.h"
#include "model/NameRules.h"

SeqProperties ReadSeqProperties(const TSeq& seq, const TDataProj& project) {
  SeqProperties p;
  p.seqName = seq.seqName;
  p.seqTypeIndex = SeqTypeBoxIndex(seq.seqType);
  p.accession = seq.accession;
  p.enabled = seq.enabled;
  p.selected = seq.selected;
  p.plusStrand = seq.plusStrand;
  p.showRegions = seq.showRegions;
  p.showTrace = seq.showTrace;
  p.forward = !seq.reversed;
  p.ploidy = std::max(1, static_cast<int>(seq.ploidy));
  p.comment = seq.seqComment;
  p.sourceFile = seq.sourceFile;
  p.organism = seq.organism;
  p.locusName = seq.locusName;
  p.definition = seq.definition;
  if (const int i = seq.individId < 0 ? -1 : project.IndividIndexByKey(seq.individId); i >= 0)
    p.individName = project.IndividName(i);
  p.poorQualityLeft = std::max(-1, static_cast<int>(seq.poorQualityLeft));
  p.poorQualityRight = std::max(-1, static_cast<int>(seq.poorQualityRight));
  return p;
}

std::string NewIndividualName(const TDataProj& project,
                              const std::vector<std::string>& alreadyAsked) {
  const std::string base =
      "Individual_" + std::to_string(project.IndividCount() + alreadyAsked.size());
  return MakeUniqueName(base, [&](const std::string& n) {
    return project.IndividIndexByName(n) >= 0 ||
           std::find(alreadyAsked.begin(), alreadyAsked.end(), n) != alreadyAsked.end();
  });
}

bool ApplySeqProperties(TDataProj& project, TDataSeq& ds, int row, const SeqProperties& props,
                        const std::vector<std::string>& newIndividuals,
                        const std::vector<TRegion>& regions) {
  TSeq* seq = ds.SeqAt(row);
  if (seq == nullptr) return false;
  const bool same = ReadSeqProperties(*seq, project) == props && seq->regions == regions &&
                    newIndividuals.empty();
  for (const std::string& name : newIndividuals) {
    TIndivid individ;
    individ.indName = name;
    project.AddIndivid(individ);
  }
  if (!props.seqName.empty()) (void)ds.RenameSeq(row, props.seqName, true);
  seq->seqType = static_cast<std::uint8_t>(SeqTypeFromBoxIndex(props.seqTypeIndex));
  seq->accession = props.accession;
  seq->enabled = props.enabled;
  seq->selected = props.selected;
  seq->plusStrand = props.plusStrand;
  seq->showRegions = props.showRegions;
  // Without a trace the box is disabled and must not switch a trace view on.
  seq->showTrace = props.showTrace && seq->HasTrace();
  seq->reversed = !props.forward;
  seq->ploidy = std::max(1, props.ploidy);
  seq->seqComment = props.comment;
  seq->sourceFile = props.sourceFile;
  seq->organism = props.organism;
  seq->locusName = props.locusName;
  seq->definition = props.definition;
  const int individ =
      props.individName.empty() ? -1 : project.IndividIndexByName(props.individName);
  const std::int32_t individKey =
      individ < 0 ? -1 : project.Individs()[static_cast<std::size_t>(individ)].indKey;
  if (seq->individId != individKey) {
    // The group follows the individual, as every other way of linking one keeps it.
    seq->individId = individKey;
    if (individ >= 0) seq->groupNum = project.GroupKeyOfIndivid(individ);
    ds.InvalidateMutHolders();
  }
  seq->poorQualityLeft = std::max(-1, props.poorQualityLeft);
  seq->poorQualityRight = std::max(-1, props.poorQualityRight);
  if (seq->regions != regions) {
    seq->regions = regions;
    seq->ForgetRegionIds();
    ds.InvalidateMutHolders();
  }
  return !same;
}

DatasetProperties ReadDatasetProperties(const TDataSeq& ds) {
  DatasetProperties p;
  p.name = ds.dsName;
  p.comment = ds.dsComment;
  p.chromosome = std::clamp(static_cast<int>(ds.chromosome), -2, 10000);
  p.genePosition = std::max(0, static_cast<int>(ds.genePosition));
  p.selected = ds.dsSelected;
  return p;
}

bool ApplyDatasetProperties(TDataProj& project, int index, const DatasetProperties& props) {
  TDataSeq* ds = index >= 0 && index < project.DatasetCount() ? project.DatasetAt(index) : nullptr;
  if (ds == nullptr) return false;
  const bool same = ReadDatasetProperties(*ds) == props;
  if (!props.name.empty()) (void)project.RenameDataset(index, props.name);
  ds->dsComment = props.comment;
  ds->chromosome = std::clamp(props.chromosome, -2, 10000);
  ds->genePosition = std::max(0, props.genePosition);
  ds->dsSelected = props.selected;
  return !same;
}

ProjectProperties ReadProjectProperties(const TDataProj& project) {
  return {project.projName, project.projComment, project.projFile};
}

bool ApplyProjectProperties(TDataProj& project, const ProjectProperties& props) {
  const bool same = ReadProjectProperties(project) == props;
  project.projName = props.name;
  project.projComment = props.comment;
  project.projFile = props.file;
  return !same;
}

std::array<std::string, 4> ProjectContentsLines(const TDataProj& project) {
  return {"Datasets: " + std::to_string(project.DatasetCount()),
          "Individuals: " + std::to_string(project.IndividCount()),
          "Groups: " + std::to_string(project.GroupCountAtDepth(-1)),
          "Sequences: " + std::to_string(project.TotalSeqCount())};
}
