// SPDX-License-Identifier: GPL-3.0-or-later
// Window side of the assembly commands: the core builds the projects and says where the cursor
// goes; this file opens the windows and moves the grid.
#include "ui/editor/ContigCommands.h"

#include <QFileDialog>

#include "alignment/AsmContUnit.h"
#include "model/Datasequnit.h"
#include "ui/editor/OpenCommands.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/grid/QSeqGrid3.h"
#include "ui/shell/CLXMain.h"

void Assemblecontigs1Click(TSeqGridFrm& window) {
  AssemblyOutcome outcome;
  std::string name;
  window.RunCommand(
      [&](EditorContext& ctx) {
        name = ctx.project.CurrentDatasetName();
        outcome = AssembleContigs(ctx, {});
        return outcome.contigs != nullptr;
      },
      false);
  if (outcome.contigs)
    window.MainForm().ShowDatasetsInNewEditor(std::move(outcome.contigs),
                                              QString::fromStdString(kContigCaptionPrefix + name));
}

void Inthenewproject1Click(TSeqGridFrm& window) {
  std::unique_ptr<TDataProj> cons;
  window.RunCommand(
      [&cons](EditorContext& ctx) {
        cons = ConsensusInNewProject(ctx);
        return true;
      },
      false);
  if (cons)
    window.MainForm().ShowDatasetsInNewEditor(std::move(cons),
                                              QString::fromStdString(kConsensusProjectCaption));
}

namespace {

// The cursor at the view's place, the window's column range starting five columns before it.
void PlaceCursor(TSeqGridFrm& window, const ContigView& view) {
  TDataProj& project = window.GetProject();
  project.SetCurrent(view.datasetIndex);
  TDataSeq* ds = project.CurrentDataset();
  if (ds == nullptr) return;
  ds->SetCursor(view.position, view.row);
  const TSeq* row = ds->SeqAt(ds->currentRow);
  const int column = view.position + (row != nullptr ? row->columnShift : 0);
  const int width = std::max(1, ds->lastVisibleCol - ds->firstVisibleCol);
  ds->firstVisibleCol = std::max(1, column - 5);
  ds->lastVisibleCol = ds->firstVisibleCol + width;
  if (view.mapping) {
    window.SeqGrid->dottedView = true;
    window.SeqGrid->letterWidth = 10;
    ds->SortByPosition(0);
  }
  window.UpdateAllBits();
  window.SeqGrid->Refresh(false);
}

}  // namespace

void Showcontig1Click(TSeqGridFrm& window) {
  std::optional<ContigView> view;
  auto askSource = [&window]() -> ChosenSource {
    const QStringList filters = OpenDialogFilters();
    QString selected = filters.front();
    const QString path =
        QFileDialog::getOpenFileName(&window, "Open file", {}, filters.join(";;"), &selected);
    return {path.toStdString(), selected.startsWith("Map Illumina reads to reference seq")};
  };
  window.RunCommand(
      [&](EditorContext& ctx) {
        view = ShowContig(ctx, askSource);
        return view.has_value();
      },
      false);
  if (!view) return;
  if (!view->project) {
    PlaceCursor(window, *view);
    return;
  }
  TSeqGridFrm* shown =
      AsSeqGridFrm(window.MainForm().NewEditorWindow(QString::fromStdString(view->caption)));
  if (shown == nullptr) return;
  shown->AdoptProject(std::move(view->project));
  PlaceCursor(*shown, *view);
}
