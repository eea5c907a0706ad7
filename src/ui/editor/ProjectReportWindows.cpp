// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editor/ProjectReportWindows.h"

#include <QMdiSubWindow>

#include "editor/ProjectReports.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/shell/BusyGuard.h"
#include "ui/shell/CLXMain.h"
#include "ui/viewers/RepUnit.h"

TRepForm* ShowProjectReport(TSeqGridFrm& window, ProjectReport which) {
  TMainForm& main = window.MainForm();
  if (main.RefuseIfBusy()) return nullptr;
  const TDataProj& project = window.GetProject();
  const std::string caption = window.windowTitle().toLatin1().toStdString();
  std::string title, text;
  switch (which) {
    case ProjectReport::Datasets: {
      const bool counts = main.AskYesNo("Show seq length & number of gaps?");
      BusyGuard busy(main);
      title = kDatasetsReportCaption;
      text = DatasetsReport(project, caption, counts, main);
      break;
    }
    case ProjectReport::Individuals:
      title = kIndividualsReportCaption;
      text = IndividualsReport(project, caption);
      break;
    case ProjectReport::Sequences:
      title = kSequencesReportCaption;
      text = SequencesReport(project, caption);
      break;
    case ProjectReport::IndividualsPage:
      title = kSequencesReportCaption;
      text = IndividualsPageReport(project, caption);
      break;
  }
  auto* report = new TRepForm(main);
  report->setWindowTitle(QString::fromLatin1(title.c_str()));
  report->SetText(text);
  main.AddChildWindow(report)->show();
  return report;
}
