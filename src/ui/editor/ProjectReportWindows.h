// SPDX-License-Identifier: GPL-3.0-or-later
// The project reports of an editor window, each in a new report window.
#pragma once

class TRepForm;
class TSeqGridFrm;

enum class ProjectReport { Datasets, Individuals, Sequences, IndividualsPage };

// Builds the report of the window's project (the datasets report first asks whether to add
// the column counts) and shows it; nullptr when nothing was shown.
TRepForm* ShowProjectReport(TSeqGridFrm& window, ProjectReport which);
