// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's alignment commands: the pairwise ones ("Local alignment", "Pairwise local
// alignment", "Quickly align left seq ends") and the MUSCLE ones ("A&lign sequences", "Align
// selected &datasets", "Align datasets from current to end of project", "Realign too
// polymorphic datasets"). Each works on the context's project, asks its questions through the
// services and takes the dataset's undo copy before changing it. True when anything changed.
#pragma once
#include <string>
#include <string_view>
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
  std::string clustal{};  // Clustal's path; empty: from the program's folder or PATH
};
bool AlignSequences(EditorContext& ctx, const AlignSetup& setup);
bool AlignSelectedDatasets(EditorContext& ctx, const AlignSetup& setup);
bool AlignDatasetsFromCurrent(EditorContext& ctx, const AlignSetup& setup);
// maxDifferences: the prompt's "max nucl. differences per 100 bases".
bool RealignPolymorphicDatasets(EditorContext& ctx, const AlignSetup& setup, int maxDifferences);
// The file a batch alignment writes a dataset to.
std::string AlignedCopyPath(const std::string& folder, const std::string& datasetName);

// ---- tree-guided and Clustal ----
// "Align...": asks for the blocks, the selected sequences or the whole dataset, aligns them by
// TreeGuidedAlign and shows "Alignment completed".
bool AlignTreeGuided(EditorContext& ctx);
// "Global alignment": Clustal on the current dataset (its blocks, selection or every row) or,
// answering No with several datasets, on every dataset in turn.
bool GlobalAlignment(EditorContext& ctx, const AlignSetup& setup);

// ---- gap copying ----
// "from current to selected seq" (shiftOnly false) and "copy shiftToRight" (true): the current
// row's gaps or columnShift go to the selected rows, or to all others after a question; with
// several datasets and a source of an individual, in every dataset through that individual.
bool CopyGapsFromCurrent(EditorContext& ctx, bool shiftOnly);
// Gives target the gaps source has in the same columns (target's gaps removed first); columns
// outside target's letters are left out.
void CopyGapColumns(TSeq& target, const TSeq& source);
// "from alignment in a file": the file (formatCode as the open dispatcher takes it; 0 or 1
// detects the format) is read into a scratch project; each of its rows gives its gaps and shift to
// the row of the current dataset with its seqId, else the row its name numbers. The number of rows
// that took them, -1 when the file could not be read.
int CopyGapsFromFile(EditorContext& ctx, const std::string& path, int formatCode);
// "Extend seq with seq from file": rows named in the FASTA file grow at both ends by what the
// file's sequence holds beyond them (found by 20-letter probes, on either strand). The number of
// rows extended, -1 when the file could not be read.
int ExtendFromFile(EditorContext& ctx, const std::string& path);
// One row against one file sequence: the letters added at both ends.
int ExtendFromSequence(TSeq& row, std::string_view fileLetters);
