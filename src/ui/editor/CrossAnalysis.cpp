// SPDX-License-Identifier: GPL-3.0-or-later
// The segregation analysis command of the editor window.
#include "ui/editor/CrossAnalysis.h"

#include <QFileDialog>

#include "analysis/ShowPolymSUnit.h"
#include "common/PlatformRandom.h"
#include "editor/SegregationCommand.h"
#include "io/ProjectFile.h"
#include "model/DataProjUnit.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/shell/BusyGuard.h"
#include "ui/shell/CLXMain.h"
#include "ui/viewers/RepUnit.h"

void Segregationanalysis1Click(TSeqGridFrm& window) {
  std::array<QString, 4> files;
  if (window.MainForm().AskYesNo("Have files with contigs?"))
    for (std::size_t i = 0; i < files.size(); ++i)
      files[i] = QFileDialog::getOpenFileName(
          &window, QString("Open contig file for the ") + kCrossMembers[i], {},
          "Nodrix3 file (*.df)");
  (void)RunCrossAnalysis(window, files);
}

bool RunCrossAnalysis(TSeqGridFrm& window, const std::array<QString, 4>& contigFiles) {
  TMainForm& main = window.MainForm();
  Services& services = main.GetServices();
  std::array<const TDataProj*, 4> contigs{};
  for (std::size_t i = 0; i < contigFiles.size(); ++i) {
    if (contigFiles[i].isEmpty()) continue;
    auto project = std::make_unique<TDataProj>(services);
    if (ReadProject(contigFiles[i].toStdString(), *project, 0) != 0) {
      main.ReportError("Could not read the contig file " + contigFiles[i].toStdString());
      continue;
    }
    TSeqGridFrm* shown = AsSeqGridFrm(
        main.NewEditorWindow(QString("Contigs for the ") + kCrossMembers[i] + " of the cross"));
    if (shown == nullptr) continue;
    shown->AdoptProject(std::move(project));
    contigs[i] = &shown->GetProject();
  }
  std::optional<SegregationOutput> out;
  {
    BusyGuard busy(main);
    PlatformRandom rng = PlatformRandom::FromClock();
    out = RunSegregation(window.GetProject(), contigs, rng, services);
  }
  window.SetModified(true);
  window.UpdateAllBits();
  if (!out) return false;
  auto filtered = ProjectForDatasets(window.GetProject(), std::move(out->filtered));
  main.ShowDatasetsInNewEditor(std::move(filtered), "Filtered " + window.windowTitle());
  TRepForm* rep = main.NewRepForm();
  rep->SetText(out->report);
  return true;
}
