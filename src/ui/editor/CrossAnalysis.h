// SPDX-License-Identifier: GPL-3.0-or-later
// "Segregation analysis" of the editor window: the contig files asked for, the analysis of the
// window's project, the report and the "Filtered" window.
#pragma once
#include <QString>
#include <array>

class TSeqGridFrm;

// Asks "Have files with contigs?" and, on Yes, for the four contig files; then runs.
void Segregationanalysis1Click(TSeqGridFrm& window);
// Opens each named contig file (empty: none) in an editor window of its own, then analyses the
// window's project. False when a member group is missing (nothing is shown then).
bool RunCrossAnalysis(TSeqGridFrm& window, const std::array<QString, 4>& contigFiles);
