// SPDX-License-Identifier: GPL-3.0-or-later
// The mutation-table helpers the population-genetics writers share.
#pragma once
#include <vector>

#include "analysis/MutHold.h"

class TDataSeq;

// The dataset's whole-sample table, rebuilt; null when it analysed no position.
const tmutholder* WholeSampleTable(TDataSeq& ds);
// The table's sample without the outgroup sequences.
samptype IngroupOf(const TDataSeq& ds, const tmutholder& t);
// The mutations of the table, in order, not excluded and segregating in the mask.
std::vector<const tmutation*> WrittenMutations(const tmutholder& t, const samptype& mask);
// The letter of a row at a site position ('-' where the row has none); SNP rows are looked up
// through their polySitePos.
char LetterAtPosition(const TDataSeq& ds, int row, int position);
