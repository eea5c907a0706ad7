// SPDX-License-Identifier: GPL-3.0-or-later
// The Analyse menu's "Coverage (from SAM file)": reads of a SAM file counted onto the sequences
// of the editor window's project, with the coverage reports beside the SAM file.
#pragma once
#include <QString>

class TSeqGridFrm;

// Asks for the SAM file ("Open SAM file with reads mapped to sequences of the project"), then
// runs the command on it.
void CoveragefromSAMfile1Click(TSeqGridFrm& window);
// The command once the file is chosen: its questions, the count and the notice.
bool RunSamCoverageFile(TSeqGridFrm& window, const QString& samPath);
