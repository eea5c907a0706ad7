// SPDX-License-Identifier: GPL-3.0-or-later
// The Tools menu: entries whose work is done by the core.
#include <QAction>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenuBar>

#include "common/GoodnessOfFit.h"
#include "common/NumberFormat.h"
#include "editor/FastqPairs.h"
#include "editor/FragmentFasta.h"
#include "ui/coalescent/CoalSimDialog.h"
#include "ui/shell/BusyGuard.h"
#include "ui/shell/CLXMain.h"
#include "ui/trees/TreeViewWindow.h"
#include "ui/viewers/GraphUnit.h"

void TMainForm::CreateToolsMenu() {
  QMenu* tools = menuBar()->addMenu("&Tools");
  tools->setObjectName("Tools1");
  connect(AddAction(tools, "&Tree viewer...", "TreeViewer1"), &QAction::triggered, this, [this] {
    if (!RefuseIfBusy()) NewTreeViewForm(*this);
  });
  connect(AddAction(tools, "&Plot viewer...", "PlotViewer1"), &QAction::triggered, this, [this] {
    if (!RefuseIfBusy()) NewGraphForm(*this);
  });
  connect(AddAction(tools, "Coalescent simulations...", "CoalescentSimulations1"),
          &QAction::triggered, this, [this] {
            if (!RefuseIfBusy()) NewCoalSimDialog(*this);
          });
  connect(AddAction(tools, "Run program", "RunProgram1"), &QAction::triggered, this, [this] {
    if (!RefuseIfBusy()) RunProgram1Click();
  });
  QMenu* misc = tools->addMenu("Misc. file tools");
  misc->setObjectName("MiscFileTools1");
  connect(AddAction(misc, "Fragment fasta file", "FragmentFasta1"), &QAction::triggered, this,
          &TMainForm::FragmentFasta1Click);
  connect(AddAction(misc, "ProcFastqPE", "ProcFastqPE1"), &QAction::triggered, this,
          &TMainForm::ProcFastqPE1Click);
}

void TMainForm::RunProgram1Click() {
  const double observed[] = {80, 10};
  const double expected[] = {0.75, 0.25};
  const auto g = GTestGoodnessOfFit(observed, expected);
  if (!g) return;
  Notify("G =" + FormatFixed(g->g, 5) + " P=" + FormatFixed(g->p, 5) +
         " df=" + std::to_string(g->df));
}

void TMainForm::FragmentFasta1Click() {
  if (RefuseIfBusy()) return;
  const QString path = QFileDialog::getOpenFileName(
      this, "Open FASTA file", {}, "FASTA files (*.fas *.fasta *.fa *.fna);;All files (*)");
  if (path.isEmpty()) return;
  FragmentOptions options;
  bool ok = false;
  options.readLength =
      QInputDialog::getInt(this, "Fragment fasta file", "Enter fragment (\"read\") length",
                           options.readLength, -1'000'000'000, 1'000'000'000, 1, &ok);
  if (!ok) return;
  options.distance =
      QInputDialog::getInt(this, "Fragment fasta file", "Enter distance between paired \"reads\"",
                           options.distance, -1'000'000'000, 1'000'000'000, 1, &ok);
  if (!ok) return;
  options.step = QInputDialog::getInt(this, "Fragment fasta file", "Enter step size", options.step,
                                      -1'000'000'000, 1'000'000'000, 1, &ok);
  if (!ok) return;
  RunFragmentFasta(path, options);
}

void TMainForm::RunFragmentFasta(const QString& path, const FragmentOptions& options) {
  if (RefuseIfBusy()) return;
  if (const std::string problem = FragmentOptionsProblem(options); !problem.empty()) {
    Notify(problem + ": no reads were written");
    return;
  }
  FragmentFileOutcome outcome;
  {
    BusyGuard busy(*this);
    outcome = FragmentFastaFile(path.toStdString(), options, *this);
  }
  Notify(outcome.ok ? FragmentSavedMessage(outcome) : outcome.problem);
}

void TMainForm::ProcFastqPE1Click() {
  if (RefuseIfBusy()) return;
  const QString path = QFileDialog::getOpenFileName(this, "Open fastQ file with paired reads", {},
                                                    "FASTQ files (*.fq *.fastq);;All files (*)");
  if (path.isEmpty()) return;
  RunProcFastqPE(path);
}

void TMainForm::RunProcFastqPE(const QString& path) {
  if (RefuseIfBusy()) return;
  if (!AskYesNo("This will reverse-complement every read with name ending \"/2\" (2nd read in a "
                "pair). Proceed?"))
    return;
  FastqPairsFileOutcome outcome;
  {
    BusyGuard busy(*this);
    outcome = ProcFastqPEFile(path.toStdString(), *this);
    EndProgress();  // clears the "Processing read" status
  }
  if (!outcome.ok) {
    Notify(outcome.problem);
    return;
  }
  if (outcome.records.stoppedEarly)
    ReportError(path.toStdString() + ": reading stopped at line " +
                std::to_string(outcome.records.stopLine) +
                ", which does not continue a four-line FASTQ record; " +
                std::to_string(outcome.records.records) + " records were converted");
  Notify("Converted file was saved to " + outcome.outputPath);
}
