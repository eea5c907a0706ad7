// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's alignment commands: the pairwise ones ("Local alignment", "Pairwise local
// alignment", "Quickly align left seq ends") and the MUSCLE ones ("A&lign sequences", "Align
// selected &datasets", "Align datasets from current to end of project", "Realign too
// polymorphic datasets"). Each works on the context's project, asks its questions through the
// services and takes the dataset's undo copy before changing it. True when anything changed.
#pragma once
#include <string>
#include <vector>

#include "editor/EditorContext.h"

class TDataSeq;

// ---- pairwise ----
bool LocalAlignment(EditorContext& ctx);
bool PairwiseLocalAlignment(EditorContext& ctx);
bool AlignLeftEnds(EditorContext& ctx);
// Sets the shifts of the rows so that their left ends line up with the row the others start
// in ("Quickly align left seq ends" for all sequences); other rows keep theirs.
void AnchorLeftEnds(TDataSeq& ds, const std::vector<int>& rows);

// ---- MUSCLE ----
struct AlignSetup {
  std::string aligner;    // the aligner's path; empty: MUSCLE from the program's folder or PATH
  std::string outFolder;  // where the "aln_" + dataset + ".fasta" copies go ("": working folder)
};
bool AlignSequences(EditorContext& ctx, const AlignSetup& setup);
bool AlignSelectedDatasets(EditorContext& ctx, const AlignSetup& setup);
bool AlignDatasetsFromCurrent(EditorContext& ctx, const AlignSetup& setup);
// maxDifferences: the prompt's "max nucl. differences per 100 bases".
bool RealignPolymorphicDatasets(EditorContext& ctx, const AlignSetup& setup, int maxDifferences);
// The file a batch alignment writes a dataset to.
std::string AlignedCopyPath(const std::string& folder, const std::string& datasetName);
