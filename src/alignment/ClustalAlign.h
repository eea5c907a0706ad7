// SPDX-License-Identifier: GPL-3.0-or-later
// The Clustal global aligner (Debian's clustalw) on the rows of a dataset.
#pragma once
#include <string>

#include "common/Services.h"

class TDataSeq;

// Clustal from the program's folder ("cl", "cl.exe", "clustalw"), else clustalw on PATH; with an
// explicit program that one. Empty after a message when none is found.
std::string FindClustal(Services& services, const std::string& explicitProgram = {});

// Aligns the rows of TreeAlignScopeOf(ds) (blocks, selection or every row) with Clustal in a
// folder of the run's own: "infile.f" holds the letters without gaps under the names "1", "2",
// ... (Clustal cuts a name at its first blank), and the program is waited for. Its
// "infile.aln" is used only when it ended with exit code 0 and gave every sequence back with
// its letters; each row then takes its copy's gaps. 0, kAlignFailed after a message, or
// kAlignCancelled; on failure and cancel the dataset is unchanged.
[[nodiscard]] int ClustalAlign(TDataSeq& ds, Services& services, const std::string& program);
