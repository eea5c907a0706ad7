// SPDX-License-Identifier: GPL-3.0-or-later
// Find and replace in sequences, and in sequence and dataset names.
#pragma once
#include <string>

#include "editor/EditorContext.h"

// The notice for an empty search text; no search runs.
inline constexpr const char* kEmptyFindText = "Please enter the text to find";

// Searches from the cursor of the current row (one letter after it once a find has succeeded)
// to the last row; on a match moves the cursor there and notifies where it was found.
bool FindInSequences(EditorContext& ctx, const std::string& text, bool matchCase);
// The project's name searches; return the index (row) found or -1.
int FindSequenceName(EditorContext& ctx, const std::string& text, bool wholeWord);
int FindDatasetName(EditorContext& ctx, const std::string& text, bool wholeWord);

// One replacement: the next match from the cursor is offered with a question; true when it was
// replaced. Afterwards the cursor stands past the replacement (or past a declined match), so
// the next call moves on.
bool ReplaceNextInSequences(EditorContext& ctx, const std::string& find,
                            const std::string& replacement, bool matchCase);
// Every non-overlapping match in the scope's rows; returns the number of replacements (-1 when
// refused).
int ReplaceAllInSequences(EditorContext& ctx, const std::string& find,
                          const std::string& replacement, bool matchCase);
// Names containing find get every occurrence replaced; without replaceAll each name is asked
// for. Names stay unique ("~n"). Return the number of names changed.
int ReplaceInSequenceNames(EditorContext& ctx, const std::string& find,
                           const std::string& replacement, bool replaceAll);
int ReplaceInDatasetNames(EditorContext& ctx, const std::string& find,
                          const std::string& replacement, bool replaceAll);
