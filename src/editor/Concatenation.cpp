// SPDX-License-Identifier: GPL-3.0-or-later
// Concatenation of datasets into a new project.
#include "editor/Concatenation.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "model/DataProjUnit.h"

namespace {

// What joining keeps per output row besides the sequence; never stored in a file.
struct OutputRow {
  int sourceKey = -1;  // the individual's key in the source project
  int pieces = 0;      // datasets that have contributed a piece
  bool gotThisDataset = false;
};

// The piece a source row contributes: its shift as leading "N", turned forward and plus on
// request, marked with a region named after its dataset.
std::unique_ptr<TSeq> Piece(const TSeq& row, const std::string& datasetName, bool revComp) {
  std::unique_ptr<TSeq> p = row.Clone();
  // A copy, not an edit of the source: a disabled row contributes its letters all the same.
  p->enabled = true;
  if (p->columnShift > 0)
    p->InsertLetters(1, std::string(static_cast<std::size_t>(p->columnShift), 'N'), false);
  if (revComp) {
    if (p->reversed) p->Reverse();
    if (!p->plusStrand) p->Complement();
  }
  if (p->Length() > 0) {
    TRegion misc;
    misc.regStart = 1;
    misc.regEnd = p->Length();
    misc.regType = kRegMisc;
    misc.regName = datasetName;
    p->AddRegion(misc);
  }
  return p;
}

}  // namespace

std::unique_ptr<TDataProj> ConcatenateDatasets(const TDataProj& source, const ConcatOptions& o) {
  auto proj = std::make_unique<TDataProj>(source.GetServices());
  for (const TGroup& g : source.Groups()) proj->AddGroup(g);
  proj->NewDataset();
  TDataSeq& out = *proj->CurrentDataset();

  // Dataset names are unique in a project, so an exact lookup suffices.
  std::unordered_map<std::string, const TDataSeq*> byName;
  for (int i = 0; i < source.DatasetCount(); ++i)
    byName.emplace(source.DatasetAt(i)->dsName, source.DatasetAt(i));
  std::vector<const TDataSeq*> chosen;  // nullptr for a name that no longer names a dataset
  std::unordered_map<int, int> mostCopies;  // individual key -> most rows in one dataset
  int existing = 0;
  for (const std::string& name : o.datasets) {
    const auto it = byName.find(name);
    chosen.push_back(it != byName.end() ? it->second : nullptr);
    if (chosen.back() == nullptr) continue;
    ++existing;
    std::unordered_map<int, int> counts;
    for (int r = 1; r <= chosen.back()->Count(); ++r) ++counts[chosen.back()->SeqAt(r)->individId];
    for (const auto& [key, n] : counts) mostCopies[key] = std::max(mostCopies[key], n);
  }

  std::vector<OutputRow> rows;
  std::unordered_map<int, std::vector<int>> rowsOfKey;  // source key -> output rows (0-based)
  bool full = false;  // the dataset refused a row and has said so; no use asking again
  for (const std::string& name : o.individuals) {
    if (full) break;
    const int index = source.IndividIndexByName(name);
    TIndivid ind;
    if (index < 0 || !source.GetIndivid(index, ind)) continue;
    const int sourceKey = ind.indKey;
    const int key = proj->AddIndivid(ind);
    const std::string outName = proj->IndividName(proj->IndividIndexByKey(key));
    const auto found = mostCopies.find(sourceKey);
    const int copies = found != mostCopies.end() ? found->second : 0;
    for (int j = 0; j < copies; ++j) {
      auto s = std::make_unique<TSeq>();
      s->seqName = copies > 1 ? outName + "_" + std::to_string(j) : outName;
      s->individId = key;
      s->genomeNumber = 0;
      if (out.AddSeq(s, true) < 0) {
        full = true;
        break;
      }
      rowsOfKey[sourceKey].push_back(static_cast<int>(rows.size()));
      rows.push_back({sourceKey, 0, false});
    }
  }

  for (std::size_t k = 0; k < chosen.size(); ++k) {
    const TDataSeq* ds = chosen[k];
    if (ds == nullptr) continue;
    for (int r = 1; r <= ds->Count(); ++r) {
      const TSeq& row = *ds->SeqAt(r);
      const auto targets = rowsOfKey.find(row.individId);
      if (targets == rowsOfKey.end()) continue;
      // The first copy that still lacks this dataset's turn, else the last copy.
      int target = targets->second.back();
      for (int t : targets->second)
        if (rows[static_cast<std::size_t>(t)].pieces <= static_cast<int>(k)) {
          target = t;
          break;
        }
      OutputRow& info = rows[static_cast<std::size_t>(target)];
      if (info.gotThisDataset) continue;
      const std::unique_ptr<TSeq> p = Piece(row, ds->dsName, o.revComp);
      TSeq& joined = *out.SeqAt(target + 1);
      joined.InsertSequence(joined.Length() + 1, *p);
      joined.seqType = p->seqType;
      joined.groupNum = p->groupNum;
      // individId stays the new project's key of the individual (the source's key as a rule).
      joined.organism = p->organism;
      joined.definition = "Concatenation of several genes";
      if (k == 0) joined.ploidy = p->ploidy;
      ++info.pieces;
      info.gotThisDataset = true;
    }
    const int longest = out.AlignmentLength(true);
    for (int r = 1; r <= out.Count(); ++r) {
      TSeq& joined = *out.SeqAt(r);
      if (joined.Length() < longest)
        joined.InsertLetters(joined.Length() + 1,
                             std::string(static_cast<std::size_t>(longest - joined.Length()), 'N'),
                             false);
    }
    for (OutputRow& info : rows) info.gotThisDataset = false;
  }

  if (o.excludeMissing) {
    std::vector<int> drop;
    for (std::size_t i = 0; i < rows.size(); ++i)
      if (rows[i].pieces < existing) drop.push_back(static_cast<int>(i) + 1);
    out.DeleteSeqs(drop);
  }
  out.LettersChanged();
  return proj;
}
