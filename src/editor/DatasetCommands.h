// SPDX-License-Identifier: GPL-3.0-or-later
// Dataset and project commands: removing datasets, annotations and sequences across the
// project, splitting, turning everything forward, sorting, thinning to one sequence per
// individual or group, ploidy, base quality and the dataset selection flags.
#pragma once
#include <string>

#include "common/PlatformRandom.h"
#include "editor/EditorContext.h"

// Dataset > Remove. Return the number of datasets removed (0 after No).
int RemoveCurrentDataset(EditorContext& ctx);
int RemoveDatasetsFromCurrentToEnd(EditorContext& ctx);
int RemoveDatasetsFromCurrentToStart(EditorContext& ctx);
// Project > Remove from project > "All datasets after (before) current".
int RemoveDatasetsAfterCurrent(EditorContext& ctx);
int RemoveDatasetsBeforeCurrent(EditorContext& ctx);

// Project > Remove from project > "Functional region assignments", "All coding (CDS)
// regions", "All but coding regions". No undo.
enum class AnnotationRemoval { All, Coding, NonCoding };
bool RemoveAnnotationsInProject(EditorContext& ctx, AnnotationRemoval which);

// Project > Remove from project > "Short sequences..." / "Long sequences..." with the value
// the window prompted for; return the number removed (-1 for a refused value).
int RemoveShortSequencesInProject(EditorContext& ctx, int minLength);
int RemoveLongSequencesInProject(EditorContext& ctx, int maxLength);
// "Datasets with too few seq..." / "Datasets with too many seq...".
int RemoveDatasetsWithFewSequences(EditorContext& ctx, int minCount);
int RemoveDatasetsWithManySequences(EditorContext& ctx, int maxCount);

// "Split into separate datasets": one dataset per sequence of the first dataset, named after
// the sequence name up to its first space. Returns the datasets added.
int SplitIntoDatasets(EditorContext& ctx);

// "RevCompl all to +Forward". report receives the list of sequences with annotations on both
// strands (empty when there are none). Returns the sequences turned (-1 after No).
int RevComplAllToForward(EditorContext& ctx, std::string& report);
// "Sort seq by name in all datasets".
bool SortAllDatasetsByName(EditorContext& ctx);

// "Leave 1seq per individ (group) per dataset": keeps one randomly chosen sequence of each
// individual (group) in each dataset; rows without one are kept. Returns the rows removed
// (-1 after No).
int LeaveOneSequencePerIndivid(EditorContext& ctx, PlatformRandom& rng);
int LeaveOneSequencePerGroup(EditorContext& ctx, PlatformRandom& rng);

// "Set ploidy of all seq" with the prompted value (at least 1), scope question.
bool SetPloidy(EditorContext& ctx, int ploidy);
// "Assign base quality": EstimateQuality of the current row and its notice.
bool AssignBaseQuality(EditorContext& ctx);

// Dataset > "Select all", "Unselect all", "Invert selection" (the dsSelected flags).
bool SelectAllDatasets(EditorContext& ctx);
bool UnselectAllDatasets(EditorContext& ctx);
bool InvertDatasetSelection(EditorContext& ctx);
