// SPDX-License-Identifier: GPL-3.0-or-later
// The XMFA reader's ordering mode: alignment blocks laid along a reference genome.
#pragma once
#include <memory>
#include <vector>

#include "common/Services.h"

class TDataProj;
class TDataSeq;

// One alignment block as read. Its dataset's blockRefStart and blockRefEnd hold the genome-1
// entry's coordinates (-1 without one).
struct XmfaBlock {
  std::unique_ptr<TDataSeq> ds;
  int refRow = 0;       // the genome-1 entry's row; 0 when the block has none
  bool refPlus = true;  // the genome-1 entry lies on the plus strand
};

// reference: one dataset per sequence of the reference genome, that sequence its only row.
// Blocks whose genome-1 entry ends above 0 are placed in ascending order of that end, each in
// the dataset of the reference sequence holding the entry's start: the block's other rows
// (reverse-complemented for a minus-strand genome-1 entry) shifted to the entry's columns,
// and the entry's gaps copied into the reference row. With concatenate, the rows of one genome
// are joined into one row per reference dataset. The blocks' datasets are consumed.
void PlaceBlocksAlongReference(std::vector<XmfaBlock>& blocks, TDataProj& reference,
                               bool concatenate, Services& services);
