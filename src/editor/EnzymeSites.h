// SPDX-License-Identifier: GPL-3.0-or-later
// Restriction sites of the program's enzyme list marked on the sequences of a dataset.
#pragma once
#include <vector>

#include "common/EnzymeList.h"
#include "common/Services.h"
#include "model/Datasequnit.h"

// The enzyme list as the site search takes it: sites upper-cased (the search runs on upper-cased
// letters), each switched on when the list entry is selected.
std::vector<TRenzyme> SiteSearchEnzymes(const std::vector<renzyme>& enzymes);

// Searches every row of ds, in order, with the whole list: each row's earlier marks go first, so
// afterwards the marks are those of the enzymes switched on. Large datasets step the progress
// bar; Escape stops the search after the block of rows it is in (the rows not reached keep
// their marks). Returns the rows searched.
int MarkRestrictionSites(TDataSeq& ds, const std::vector<renzyme>& enzymes, IProgress& progress);
