// SPDX-License-Identifier: GPL-3.0-or-later
// The editor window's menu items that open the property dialogs, the datasets list, the region
// kinds shown and the restriction enzyme window. Each does nothing without what its dialog
// works on (a current row, a current dataset).
#pragma once

class TSeqGridFrm;

void Properties1Click(TSeqGridFrm& editor);             // Sequence > "Pr&operties"
void DatasetProperties1Click(TSeqGridFrm& editor);      // Dataset > "Dataset properties..."
void Datasets1Click(TSeqGridFrm& editor);               // Dataset > "Datasets..."
void ProjectProperties1Click(TSeqGridFrm& editor);      // Project > "Project properties..."
void ShowFunctionalRegions1Click(TSeqGridFrm& editor);  // View > "Show f&unctional regions..."
void ShowRestrictionSites1Click(TSeqGridFrm& editor);   // View > "Show restriction sites..."
