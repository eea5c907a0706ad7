// SPDX-License-Identifier: GPL-3.0-or-later
// The Analyse menu table.
#include "ui/editor/AnalyseMenu.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <optional>
#include <string>

#include "analysis/AnalysisOutput.h"
#include "ui/analysis/BaseDbox.h"
#include "ui/analysis/BootstrapDbox.h"
#include "ui/analysis/FilterSitesForm.h"
#include "ui/analysis/SamplingForm.h"
#include "ui/analysis/DNApolDbox.h"
#include "ui/analysis/GCcontentForm.h"
#include "ui/analysis/LDform.h"
#include "ui/analysis/NTestsDialog.h"
#include "ui/analysis/PopSubdivDbox.h"
#include "ui/analysis/ShowPolymSites.h"
#include "ui/editor/CrossAnalysis.h"
#include "ui/editor/SamCoverageCommand.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/shell/CLXMain.h"
#include "ui/trees/NJTreeFrm.h"
#include "ui/trees/ShowTreeUnit.h"  // the dialog keeps a QPointer to its viewer

const std::vector<AnalyseMenuItem>& AnalyseMenuItems() {
  static const std::vector<AnalyseMenuItem> items{
      {"&Polymorphic sites...", "Polymorphicsites1", "polymorphic sites",
       [](TMainForm& m) -> TBaseDialogBox* { return NewShowPolymSites(m); }},
      {"&DNA polymorphism...", "DNApolymorphism1", "DNA polymorphism",
       [](TMainForm& m) -> TBaseDialogBox* { return NewDNApolDbox(m); }},
      {"&Neutrality tests...", "Neutralitytests1", "neutrality tests",
       [](TMainForm& m) -> TBaseDialogBox* { return NewNTestsDialog(m); }},
      {"Population &subdivision...", "Populationsubdivision1", "population subdivision",
       [](TMainForm& m) -> TBaseDialogBox* { return NewPopSubdivDbox(m); }},
      {"Linkage disequilibrium...", "Linkagedisequilibrium1", "linkage disequilibrium",
       [](TMainForm& m) -> TBaseDialogBox* { return NewLDform(m); }},
      {"N&ucleotide composition...", "Nucleotidecomposition1", "nucleotide composition",
       [](TMainForm& m) -> TBaseDialogBox* { return NewGCContentForm(m); }},
      {"Neighbour-&joining tree...", "NeighbourJoiningtree1", "neighbour-joining tree",
       [](TMainForm& m) -> TBaseDialogBox* { return NewNJTreeFrm(m); }},
      {"Segregation analysis", "Segregationanalysis1", "segregation analysis", {},
       Segregationanalysis1Click},
      {"Coverage (from SAM file)",
       "CoveragefromSAMfile1",
       "coverage",
       {},
       CoveragefromSAMfile1Click},
  };
  return items;
}

const AnalyseMenuItem& FilterSitesItem() {
  static const AnalyseMenuItem item{
      "&Filter sites...", "Filtersites1", "filter sites",
      [](TMainForm& m) -> TBaseDialogBox* { return NewFilterSitesForm(m); }};
  return item;
}

const AnalyseMenuItem& SubsamplesItem() {
  static const AnalyseMenuItem item{
      "Create sub-samples...", "Createsubsamples1", "sub-samples",
      [](TMainForm& m) -> TBaseDialogBox* { return NewDataSamplingForm(m); }};
  return item;
}

const AnalyseMenuItem& BootstrapItem() {
  static const AnalyseMenuItem item{"&Bootstrap", "Bootstrap1", "bootstrap",
                                    [](TMainForm& m) -> TBaseDialogBox* { return NewBstrapDB(m); }};
  return item;
}

void RunAnalyseItem(const AnalyseMenuItem& item, TSeqGridFrm& window) {
  TMainForm& main = window.MainForm();
  if (item.command) {
    if (!main.RefuseIfBusy()) item.command(window);
    return;
  }
  if (!item.factory || main.RefuseIfBusy()) return;
  if (window.GetProject().TotalSeqCount() == 0) {
    main.Notify(kNoSequencesToAnalyse);
    return;
  }
  TBaseDialogBox* dialog = item.factory(main);
  if (dialog == nullptr) return;
  window.KeepWithProject(dialog);
  dialog->outputFolderSource = [w = QPointer<TSeqGridFrm>(&window)]() -> std::optional<std::string> {
    if (w == nullptr) return std::nullopt;
    return w->OutputFolder();
  };
  dialog->SetAt(window.windowTitle());
  // What the dialog's tree changes shows in the editor window too (an open dialog taken over
  // by another window forgets the first one).
  QObject::disconnect(dialog, &TBaseDialogBox::projectEdited, nullptr, nullptr);
  QObject::connect(dialog, &TBaseDialogBox::projectEdited, &window, [&window] {
    window.SetModified(true);
    window.UpdateAllBits();
  });
  if (!dialog->InitData(&window.GetProject())) {
    main.Notify(std::string("Can not initialise data for the ") + item.dialogName + " dialog box");
    if (QWidget* frame = dialog->parentWidget()) frame->close();
  }
}

void FillAnalyseMenu(QMenu* menu, TSeqGridFrm& window) {
  for (const AnalyseMenuItem& item : AnalyseMenuItems()) {
    QAction* a = menu->addAction(item.caption);
    a->setObjectName(item.objectName);
    window.addAction(a);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    if (!item.factory && !item.command) {
      a->setEnabled(false);
      continue;
    }
    QObject::connect(a, &QAction::triggered, &window,
                     [&item, &window] { RunAnalyseItem(item, window); });
  }
}
