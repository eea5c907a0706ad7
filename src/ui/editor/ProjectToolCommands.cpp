// SPDX-License-Identifier: GPL-3.0-or-later
// The editor window's project tools (concatenation, ambiguity resolution, splitting), its file
// reports, the grid's pop-up menu and the window's output folder.
#include <QAction>
#include <QMdiSubWindow>
#include <QMenu>

#include "alignment/AsmContUnit.h"
#include "common/PlatformRandom.h"
#include "editor/AmbiguityResolution.h"
#include "editor/LongDatasetSplit.h"
#include "editor/RegionReports.h"
#include "ui/alignment/SimSearchDialog.h"
#include "ui/editor/AnalyseMenu.h"
#include "ui/editor/ConcatDialog.h"
#include "ui/editor/ContigCommands.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/grid/QSeqGrid3.h"
#include "ui/shell/CLXMain.h"
#include "ui/shell/ValuePrompt.h"
#include "ui/viewers/RepUnit.h"

std::optional<std::string> TSeqGridFrm::OutputFolder() {
  return outputFolder.Folder(this, filePath);
}

void TSeqGridFrm::CreatePopupMenu() {
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  for (const char* name : {"Undo1", "Copy1", "Paste1", "Selectall1"})
    PopupMenu1->addAction(Action(name));
  PopupMenu1->addSeparator();
  Item(PopupMenu1, "Resolve am&biguous sites", "Resolveambiguoussites2",
       [this] { Resolveambiguoussites1Click(); });
  Item(PopupMenu1, "&Split long datasets...", "Splitlongdatasets1",
       [this] { Splitlongsequences1Click(); });
  Command(
      PopupMenu1, "Add con&sensus to dataset", "Addconsensus2",
      [](EditorContext& c) { return CreateConsensus(c) > 0; }, false);
  QMenu* consensus = PopupMenu1->addMenu("Create consensus for all datasets");
  consensus->setObjectName("Createconsensusforalldatasets2");
  Command(
      consensus, "In the same project", "Consensusinthesameproject2",
      [](EditorContext& c) { return ConsensusInSameProject(c) >= 0; }, false);
  Item(consensus, "In a new project", "Consensusinanewproject2",
       [this] { Inthenewproject1Click(*this); });
  Item(PopupMenu1, "&Similarity search...", "Similaritysearch2",
       [this] { NewSimSearchForm(MainForm()); });
  SeqGrid->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(SeqGrid, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->popup(SeqGrid->viewport()->mapToGlobal(at)); });
}

void TSeqGridFrm::Concatenateseq1Click() {
  static const AnalyseMenuItem item{"&Concatenate seq...", "Concatenateseq1", "concatenation",
                                    [](TMainForm& m) -> TBaseDialogBox* {
                                      return NewConcatDialog(m);
                                    }};
  RunAnalyseItem(item, *this);
}

void TSeqGridFrm::Resolveambiguoussites1Click() {
  std::unique_ptr<TDataProj> resolved;
  RunCommand(
      [&resolved](EditorContext& ctx) {
        PlatformRandom rng = PlatformRandom::FromClock();
        resolved = ResolveAmbiguousSites(ctx, rng);
        return resolved != nullptr;
      },
      true);
  if (resolved)
    MainForm().ShowDatasetsInNewEditor(std::move(resolved), kResolvedCaptionPrefix + windowTitle());
}

void TSeqGridFrm::Splitlongsequences1Click() {
  if (SeqGrid->isLocked || MainForm().RefuseIfBusy()) return;
  const std::optional<int> length =
      ValuePrompt::Ask(this, "Split long sequences", "Enter max sequence length in bases",
                       kDefaultSplitLength, 0, 1'000'000'000);
  if (!length) return;
  RunCommand([m = *length](EditorContext& ctx) { return SplitLongDatasetsCommand(ctx, m) >= 0; },
             true);
}

void TSeqGridFrm::Functionalregions3Click() {
  const std::optional<std::string> folder = OutputFolder();
  if (!folder) return;
  RunCommand(
      [&](EditorContext& ctx) {
        return FunctionalRegionsCommand(ctx.project, *folder, ctx.services);
      },
      false);
}

void TSeqGridFrm::CDS2Click() {
  const std::optional<std::string> folder = OutputFolder();
  if (!folder) return;
  const std::string caption = windowTitle().toLatin1().toStdString();
  std::string text;
  if (!RunCommand(
          [&](EditorContext& ctx) {
            return CodingRegionsCommand(ctx.project, caption, *folder, ctx.services, text);
          },
          false))
    return;
  auto* report = new TRepForm(MainForm());
  report->setWindowTitle(kCodingRegionsCaption);
  report->SetText(text);
  MainForm().AddChildWindow(report)->show();
}

void TSeqGridFrm::SNPsreport1Click() {
  const std::optional<std::string> folder = OutputFolder();
  if (!folder) return;
  RunCommand(
      [&](EditorContext& ctx) { return SnpReportCommand(ctx.project, *folder, ctx.services); },
      false);
}
