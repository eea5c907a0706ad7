// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the editor commands: the current dataset and row, the scope question and
// the per-dataset progress of project-wide commands.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "editor/EditorContext.h"

// The current dataset; nullptr on an empty project (never creates one).
TDataSeq* CommandDataset(EditorContext& ctx);
// The current row's sequence; nullptr when there is no current dataset or row.
TSeq* CommandRow(EditorContext& ctx);

// Datasets a project-wide command works on: with more than one dataset the question decides
// between all of them (Yes) and the current one (No); with one dataset no question is asked.
std::vector<TDataSeq*> ScopeDatasets(EditorContext& ctx, const std::string& question);
// Every dataset of the project.
std::vector<TDataSeq*> AllDatasets(EditorContext& ctx);

// The standard scope question of project-wide commands.
inline const std::string kAllDatasetsQuestion = "Proceed with all datasets in the project?";

// Runs work on each dataset; with more than one it shows "Processing dataset " + name (or
// statusPrefix + name) and steps the progress once per dataset.
void ForEachDataset(EditorContext& ctx, const std::vector<TDataSeq*>& datasets,
                    const std::function<void(TDataSeq&)>& work,
                    const std::string& statusPrefix = "Processing dataset ");

// Rows of the selected-or-current rule that are enabled.
std::vector<int> EnabledTargetRowsOf(const TDataSeq& ds);
