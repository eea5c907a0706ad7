// SPDX-License-Identifier: GPL-3.0-or-later
// Commands on the sequence of one individual in every dataset ("seq @ individ"): the
// individual is the current row's. Yes to the scope question works on that individual's row in
// every dataset; No (or a current row without an individual) on the current row only.
#pragma once
#include "editor/EditorContext.h"

enum class IndividOp {
  CdsFromUpperCase,       // "CDS is in UpperCase": AddCdsFromUpperCase
  WholeSeqIsCds,          // "Entire seq is CDS": AddWholeCds
  CopyRegionsToSelected,  // "Copy &from curent to selected seq.": CopyRegionsTo every selected row
  SingletonInserts,       // "Singleton inserts": RemoveSingletonInserts
  RestoreOrf,             // "Add gaps to restore ORF": RestoreOrf
  MaskStopCodons,         // "Mask stop codons with "nnn"": MaskStops
};

// Returns the number of datasets worked on (0 when nothing could be done).
int RunOnIndividual(EditorContext& ctx, IndividOp op);
