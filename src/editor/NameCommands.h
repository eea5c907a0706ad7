// SPDX-License-Identifier: GPL-3.0-or-later
// Name commands (Edit > Add and Edit > Delete). Names never become duplicates: a rename onto a
// name another sequence of the dataset (another dataset of the project) has gets "~n".
#pragma once
#include "editor/EditorContext.h"

// "Prefix seq name with dataset name": dataset name + "_" + name, scope question.
int PrefixSeqNamesWithDatasetName(EditorContext& ctx);
// "Prefix sequence names with @" / "Append sequence names with @", scope question.
int PrefixSeqNamesWithAt(EditorContext& ctx);
int AppendSeqNamesWithAt(EditorContext& ctx);
// "Prefix dataset names with @" / "Append dataset names with @": all datasets, or the current
// one after No to the scope question.
int PrefixDatasetNamesWithAt(EditorContext& ctx);
int AppendDatasetNamesWithAt(EditorContext& ctx);

// The cuts of Edit > Delete, by what they remove.
enum class NameCut {
  BeforeFirstUnderscore,  // "All before 1st "_"": the text after the first "_" stays
  AfterLastUnderscore,    // "All after last "_"": the text before the last "_" stays
  AfterFirstSpace,        // "All after 1st space": the text before the first space stays
};
// In every dataset, without a question; a name without the mark, or one that would become
// empty, stays unchanged. Return the number of names changed.
int CutSequenceNames(EditorContext& ctx, NameCut cut);
int CutDatasetNames(EditorContext& ctx, NameCut cut);

// "&Whitespaces from seq. names" and "Prefix from seq name (before '_')" on the selected rows
// (the current row when none is).
bool WhitespacesFromSeqNames(EditorContext& ctx);
bool PrefixFromSeqNames(EditorContext& ctx);
