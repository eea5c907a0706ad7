// SPDX-License-Identifier: GPL-3.0-or-later
// Commands of the individuals page: adding and deleting individuals, linking sequences to
// them by name, group membership, attribute columns, sorting, and extracting individuals into
// a project of their own. Individuals are named by their project indexes; questions and
// notices go through the context's services. Nothing runs while the grid is locked.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "editor/EditorContext.h"
#include "editor/IndividualsTable.h"

// "&Add individual": "Individ" + (number of individuals + 1). Returns its key, -1 when locked.
int AddNumberedIndividual(EditorContext& ctx);

// "&Delete selected": asks, then deletes the individuals, with their sequences in every
// dataset when both questions about the sequences are answered Yes. Returns the number deleted.
int DeleteIndividuals(EditorContext& ctx, const std::vector<int>& indexes);

// "&Remove "empty" individuals": individuals without a linked sequence. Returns the number
// deleted, -1 when not run.
int RemoveEmptyIndividuals(EditorContext& ctx);

// Links every sequence of the project to the last individual (project order) whose name holds
// the sequence name or is held in it, letters of either case alike; a sequence that matches
// none is left without individual, and an empty name matches nothing. Names are looked up
// through hashes of name pieces, never pair by pair. Returns the sequences left unlinked.
int AutolinkNames(TDataProj& project);
// "&Link seq(s) to individ(s)": the question, AutolinkNames and the notice. -1 when not run.
int AutolinkSequences(EditorContext& ctx);

// "&Create individ for each seq" over the listed sequences: an individual of the sequence's
// name is made when none exists, and the sequence is linked to it. Returns the number made,
// -1 when not run.
int CreateIndividForEachSeq(EditorContext& ctx, const std::vector<SeqListItem>& items);

// "Add individ to &group": groupIndex is the group chosen in the project tree (-1 when none).
int AddIndividsToGroup(EditorContext& ctx, const std::vector<int>& indexes, int groupIndex);
// "Remove &from group".
int RemoveIndividsFromGroup(EditorContext& ctx, const std::vector<int>& indexes);

// "&Sort  by name".
bool SortIndividuals(EditorContext& ctx);

// "Add c&olumn...": the name the user gave; a name the table already has is refused.
bool AddTableColumn(EditorContext& ctx, const std::string& name);
// The name proposed for a new column.
std::string ProposedColumnName(const TDataProj& project);
// "De&lete column": the column of the table; the first six are refused.
bool DeleteTableColumn(EditorContext& ctx, int column);

// "Individs to separate project...": the question for the chosen individuals.
bool AskExtractIndividuals(EditorContext& ctx, const std::vector<int>& indexes);
// A project with the chosen individuals, the groups they belong to (with their ancestors) and
// only their sequences, each dataset under its name; datasets left empty are not included.
std::unique_ptr<TDataProj> ExtractIndividuals(const TDataProj& project, Services& services,
                                              const std::vector<int>& indexes);
