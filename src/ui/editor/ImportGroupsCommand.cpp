// SPDX-License-Identifier: GPL-3.0-or-later
// Importing group assignments into an editor window's project.
#include "ui/editor/ImportGroupsCommand.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

#include "io/GroupsFile.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/grid/QSeqGrid3.h"
#include "ui/shell/CLXMain.h"

bool ImportGroupsFile(TSeqGridFrm& w, const QString& path) {
  TMainForm& main = w.MainForm();
  if (w.SeqGrid->isLocked) {
    main.Notify("The project is locked: unlock it to change its groups");
    return false;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    main.ReportError("Can not read the groups file " + path.toStdString() + ": " +
                     file.errorString().toStdString());
    return false;
  }
  const QByteArray bytes = file.readAll();
  const GroupImport result = ImportGroups(
      w.GetProject(), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  w.SetModified(true);
  w.UpdateAllBits();
  main.Notify("Groups from " + QFileInfo(path).fileName().toStdString() + ":\r\n" +
              GroupImportNotice(result));
  return true;
}

void ImportGroups1Click(TSeqGridFrm& w) {
  const QString path = QFileDialog::getOpenFileName(
      &w, "Import groups", {}, "Sequence and group lists (*.csv *.txt *.tsv);;All files (*)");
  if (!path.isEmpty()) ImportGroupsFile(w, path);
}
