// SPDX-License-Identifier: GPL-3.0-or-later
// The editor window's command runner and the handlers that gather more than a command call:
// files, clipboards, colours and fonts.
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMimeData>

#include "editor/ClipboardCommands.h"
#include "editor/EditorContext.h"
#include "io/ProjectFile.h"
#include "ui/editor/OpenCommands.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/grid/QChromBox.h"
#include "ui/grid/QSeqGrid3.h"
#include "ui/shell/BusyGuard.h"
#include "ui/shell/CLXMain.h"

bool TSeqGridFrm::RunCommand(const std::function<bool(EditorContext&)>& command, bool edits) {
  if (!command || MainForm().RefuseIfBusy()) return false;
  if (edits && SeqGrid->isLocked) return false;
  TMainForm& main = MainForm();
  EditorContext ctx{GetProject(),
                    main.GetServices(),
                    main.SeqClipboard(),
                    SeqGrid->isLocked,
                    filePath.toStdString(),
                    false,
                    {},
                    main.findSucceeded};
  bool ok = false;
  {
    // Commands with questions and progress process events: no other command may start.
    BusyGuard busy(main);
    ok = command(ctx);
  }
  main.findSucceeded = ctx.findSucceeded;
  if (!ctx.systemClipboardText.empty())
    QGuiApplication::clipboard()->setText(QString::fromLatin1(
        ctx.systemClipboardText.data(), static_cast<qsizetype>(ctx.systemClipboardText.size())));
  if (ctx.modified) SetModified(true);
  UpdateAllBits();
  SeqGrid->Refresh(false);
  return ok;
}

void TSeqGridFrm::Open1Click() {
  const QStringList filters = OpenDialogFilters();
  QString selected = filters.front();
  const QStringList files =
      QFileDialog::getOpenFileNames(this, "Open file", {}, filters.join(";;"), &selected);
  if (files.isEmpty()) return;
  const int index = static_cast<int>(filters.indexOf(selected));
  EditorOpenFiles(MainForm(), *this, files, index < 0 ? 1 : index + 1);
}

void TSeqGridFrm::Save1Click() {
  SaveWindowInteractive(MainForm(), *this);
}

void TSeqGridFrm::FilterOpen(int nameFilter) {
  const QString path = QFileDialog::getOpenFileName(this, "Open file", {},
                                                    "Nodrix data file (*.df *.psf);;All files (*)");
  if (path.isEmpty()) return;
  // No dataset is added while the grid is locked.
  if (SeqGrid->isLocked) return;
  const int before = GetProject().TotalSeqCount() + GetProject().DatasetCount();
  BusyGuard busy(MainForm());
  if (ReadProject(path.toStdString(), GetProject(), nameFilter, &Target().grid) == 0 &&
      GetProject().TotalSeqCount() + GetProject().DatasetCount() != before)
    SetModified(true);
  GetProject().UpdateMaxima();
  UpdateAllBits();
}

void TSeqGridFrm::ColorItemClick(int slot) {
  if (slot < 0 || slot >= kColorSchemeSlots) return;
  const std::int32_t old = SeqGrid->colorScheme[static_cast<std::size_t>(slot)];
  const QColor chosen = QColorDialog::getColor(QColor(RedOf(old), GreenOf(old), BlueOf(old)), this);
  if (!chosen.isValid()) return;
  // This window's grid only; the program's scheme comes back at the next renewal.
  SeqGrid->colorScheme[static_cast<std::size_t>(slot)] =
      RgbColor(chosen.red(), chosen.green(), chosen.blue());
  SeqGrid->viewport()->update();
  ChromBox->update();
}

void TSeqGridFrm::Font1Click() {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, SeqGrid->GridFont(), this);
  if (!ok) return;
  SeqGrid->SetGridFont(font);
  SeqGrid->Refresh(false);
}

void TSeqGridFrm::SetStandardView(bool dotted) {
  SeqGrid->dottedView = dotted;
  SeqGrid->letterWidth = 10;
  SeqGrid->Refresh(false);
}
