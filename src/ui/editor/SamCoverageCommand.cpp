// SPDX-License-Identifier: GPL-3.0-or-later
// "Coverage (from SAM file)" of the editor window.
#include "ui/editor/SamCoverageCommand.h"

#include <QFileDialog>

#include "io/ReadFormats.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/shell/BusyGuard.h"
#include "ui/shell/CLXMain.h"

void CoveragefromSAMfile1Click(TSeqGridFrm& window) {
  const QString path = QFileDialog::getOpenFileName(
      &window, "Open SAM file with reads mapped to sequences of the project", {},
      "Sam files (*.sam)");
  if (!path.isEmpty()) (void)RunSamCoverageFile(window, path);
}

bool RunSamCoverageFile(TSeqGridFrm& window, const QString& samPath) {
  TMainForm& main = window.MainForm();
  BusyGuard busy(main);
  return SamCoverageCommand(samPath.toStdString(), window.GetProject(), main.GetServices());
}
