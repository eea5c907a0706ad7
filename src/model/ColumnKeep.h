// SPDX-License-Identifier: GPL-3.0-or-later
// Keeping chosen alignment columns of a dataset, as the site filter does.
#pragma once
#include <vector>

class TDataSeq;

// Keeps the columns c with keep[c] != 0 (1-based; columns past keep go) and returns the number
// removed, in one pass per row; a row's shift drops by the removed columns before its first
// letter, so rows that start late stay aligned.
int KeepColumns(TDataSeq& ds, const std::vector<char>& keep);
