// SPDX-License-Identifier: GPL-3.0-or-later
// Menu handlers of the property dialogs.
#include "ui/editor/PropertyMenu.h"

#include "ui/editor/PropertyDialogs.h"
#include "ui/editor/RenzymForm.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/editor/SeqPropDialog.h"
#include "ui/editor/ShowFRegForm.h"

namespace {

// The dialogs work on what the window shows: without it they do not open.
template <typename Dialog>
void ShowModal(TSeqGridFrm& editor, bool canShow) {
  if (!canShow) return;
  Dialog dialog(editor);
  dialog.exec();
}

}  // namespace

void Properties1Click(TSeqGridFrm& editor) {
  ShowModal<TSeqPropDialog>(editor, CanShowSeqProperties(editor));
}

void DatasetProperties1Click(TSeqGridFrm& editor) {
  ShowModal<TDatasetPropFrm>(editor, HasCurrentDataset(editor));
}

void Datasets1Click(TSeqGridFrm& editor) {
  ShowModal<TDatasetsForm>(editor, HasCurrentDataset(editor));
}

void ProjectProperties1Click(TSeqGridFrm& editor) {
  ShowModal<TDProjProperties>(editor, HasCurrentDataset(editor));
}

void ShowFunctionalRegions1Click(TSeqGridFrm& editor) {
  NewShowFRegForm(editor.MainForm(), editor);
}

void ShowRestrictionSites1Click(TSeqGridFrm& editor) {
  NewRenzymForm(editor.MainForm());
}
