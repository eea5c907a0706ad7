// SPDX-License-Identifier: GPL-3.0-or-later
// The editor window's command runner and the handlers that gather more than a command call:
// files, clipboards, colours and fonts.
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMimeData>

#include <QCheckBox>
#include <QLineEdit>
#include <optional>

#include "editor/ClipboardCommands.h"
#include "editor/DatasetCommands.h"
#include "editor/EditorContext.h"
#include "editor/FindReplaceCommands.h"
#include "editor/RegionCommands.h"
#include "editor/SequenceCommands.h"
#include "io/ProjectFile.h"
#include "ui/editor/FindDialogs.h"
#include "ui/editor/OpenCommands.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/grid/QChromBox.h"
#include "ui/grid/QSeqGrid3.h"
#include "ui/shell/BusyGuard.h"
#include "ui/shell/CLXMain.h"
#include "ui/shell/ValuePrompt.h"
#include "ui/viewers/RepUnit.h"

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

void TSeqGridFrm::PasteText1Click() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (data == nullptr || !data->hasFormat("text/plain")) return;
  const std::string text = data->text().toLatin1().toStdString();
  RunCommand([&text](EditorContext& ctx) { return PasteText(ctx, text); }, true);
}

namespace {

std::string Latin1Of(const QString& text) {
  return text.toLatin1().toStdString();
}

// A value prompt with the limits its command accepts.
std::optional<int> AskNumber(QWidget* parent, const char* caption, const char* label, int preset) {
  return ValuePrompt::Ask(parent, caption, label, preset, 0, 1'000'000'000);
}

}  // namespace

void TSeqGridFrm::FindSeq1Click() {
  TFindDialog dialog(this, "Find sequence", "Match case");
  dialog.setObjectName("FindSeq");
  dialog.FindEdit->setText(lastFind);
  if (dialog.exec() != QDialog::Accepted) return;
  lastFind = dialog.FindEdit->text();
  const std::string text = Latin1Of(lastFind);
  const bool matchCase = dialog.OptionBox->isChecked();
  if (RunCommand([&](EditorContext& ctx) { return FindInSequences(ctx, text, matchCase); }, false))
    ShowCursorColumn();
}

void TSeqGridFrm::FindSeqName1Click() {
  TFindDialog dialog(this, "Find sequence name", "Whole word");
  dialog.setObjectName("FindSeqName");
  if (dialog.exec() != QDialog::Accepted) return;
  const std::string text = Latin1Of(dialog.FindEdit->text());
  const bool whole = dialog.OptionBox->isChecked();
  RunCommand([&](EditorContext& ctx) { return FindSequenceName(ctx, text, whole) >= 0; }, false);
}

void TSeqGridFrm::FindDataSeq1Click() {
  TFindDialog dialog(this, "Find dataset name", "Whole word");
  dialog.setObjectName("FindDataSeq");
  if (dialog.exec() != QDialog::Accepted) return;
  const std::string text = Latin1Of(dialog.FindEdit->text());
  const bool whole = dialog.OptionBox->isChecked();
  RunCommand([&](EditorContext& ctx) { return FindDatasetName(ctx, text, whole) >= 0; }, false);
}

void TSeqGridFrm::ReplaceSeq1Click() {
  TReplaceDialog dialog(this, "Replace sequence", "Match case");
  dialog.setObjectName("replaceSeq");
  dialog.FindEdit->setText(lastFind);
  dialog.ReplaceEdit->setText(lastReplace);
  connect(&dialog, &TReplaceDialog::replaceRequested, this, [this, &dialog](bool all) {
    lastFind = dialog.FindEdit->text();
    lastReplace = dialog.ReplaceEdit->text();
    const std::string find = Latin1Of(lastFind), with = Latin1Of(lastReplace);
    const bool matchCase = dialog.OptionBox->isChecked();
    if (all)
      RunCommand(
          [&](EditorContext& ctx) { return ReplaceAllInSequences(ctx, find, with, matchCase) > 0; },
          true);
    else if (RunCommand(
                 [&](EditorContext& ctx) {
                   return ReplaceNextInSequences(ctx, find, with, matchCase);
                 },
                 true))
      ShowCursorColumn();
  });
  dialog.exec();
}

void TSeqGridFrm::ReplaceSeqName1Click() {
  TReplaceDialog dialog(this, "Replace sequence name", {});
  dialog.setObjectName("ReplaceSeqName");
  dialog.OptionBox->hide();
  connect(&dialog, &TReplaceDialog::replaceRequested, this, [this, &dialog](bool all) {
    const std::string find = Latin1Of(dialog.FindEdit->text());
    const std::string with = Latin1Of(dialog.ReplaceEdit->text());
    RunCommand([&](EditorContext& ctx) { return ReplaceInSequenceNames(ctx, find, with, all) > 0; },
               false);
  });
  dialog.exec();
}

void TSeqGridFrm::ReplaceDSName1Click() {
  TReplaceDialog dialog(this, "Replace dataset name", {});
  dialog.setObjectName("ReplaceDSName");
  dialog.OptionBox->hide();
  connect(&dialog, &TReplaceDialog::replaceRequested, this, [this, &dialog](bool all) {
    const std::string find = Latin1Of(dialog.FindEdit->text());
    const std::string with = Latin1Of(dialog.ReplaceEdit->text());
    RunCommand([&](EditorContext& ctx) { return ReplaceInDatasetNames(ctx, find, with, all) > 0; },
               false);
  });
  dialog.exec();
}

void TSeqGridFrm::AssignSNP1Click() {
  if (SeqGrid->isLocked) return;
  // The marks are to be seen: SNP regions are switched on in the grid and the trace view.
  for (auto* display : {&SeqGrid->regionDisplay, &ChromBox->regionDisplay})
    for (RegionDisplayEntry& e : *display)
      if (e.kind == kRegSnp) e.shown = true;
  RunCommand([](EditorContext& ctx) { return AssignSnps(ctx) > 0; }, true);
}

void TSeqGridFrm::AssignIndel1Click() {
  if (SeqGrid->isLocked) return;
  for (auto* display : {&SeqGrid->regionDisplay, &ChromBox->regionDisplay})
    for (RegionDisplayEntry& e : *display)
      if (e.kind == kRegIndel) e.shown = true;
  RunCommand([](EditorContext& ctx) { return AssignIndels(ctx) > 0; }, true);
}

void TSeqGridFrm::SetPloidy1Click() {
  const auto n = ValuePrompt::Ask(this, "Set ploidy of all seq", "Set ploidy of all sequences to",
                                  2, 1, 1'000'000);
  if (n) RunCommand([p = *n](EditorContext& ctx) { return SetPloidy(ctx, p); }, false);
}

void TSeqGridFrm::ShortSequences1Click() {
  if (SeqGrid->isLocked) return;
  const auto n = AskNumber(this, "Short sequences", "Remove seq shorter than", 100);
  if (n)
    RunCommand([m = *n](EditorContext& ctx) { return RemoveShortSequences(ctx, m) > 0; }, true);
}

void TSeqGridFrm::ProjShortSequences1Click() {
  const auto n = AskNumber(this, "Short sequences", "Remove seq shorter than", 100);
  if (n)
    RunCommand([m = *n](EditorContext& ctx) { return RemoveShortSequencesInProject(ctx, m) > 0; },
               false);
}

void TSeqGridFrm::ProjLongSequences1Click() {
  const auto n = AskNumber(this, "Long sequences", "Remove seq longer than", 100000);
  if (n)
    RunCommand([m = *n](EditorContext& ctx) { return RemoveLongSequencesInProject(ctx, m) > 0; },
               false);
}

void TSeqGridFrm::DatasetsWithFewSeq1Click() {
  const auto n =
      AskNumber(this, "Datasets with too few seq", "Remove datasets with fewer seq than", 2);
  if (n)
    RunCommand([m = *n](EditorContext& ctx) { return RemoveDatasetsWithFewSequences(ctx, m) > 0; },
               false);
}

void TSeqGridFrm::DatasetsWithManySeq1Click() {
  const auto n =
      AskNumber(this, "Datasets with too many seq", "Remove datasets with more seq than", 1000);
  if (n)
    RunCommand([m = *n](EditorContext& ctx) { return RemoveDatasetsWithManySequences(ctx, m) > 0; },
               false);
}

void TSeqGridFrm::RevComplAllToForward1Click() {
  std::string report;
  RunCommand([&report](EditorContext& ctx) { return RevComplAllToForward(ctx, report) > 0; }, true);
  if (!report.empty()) MainForm().NewRepForm()->SetText(report);
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
  if (!path.isEmpty()) FilterOpenFile(path, nameFilter);
}

void TSeqGridFrm::FilterOpenFile(const QString& path, int nameFilter) {
  if (SeqGrid->isLocked || MainForm().RefuseIfBusy()) return;
  const int before = GetProject().TotalSeqCount() + GetProject().DatasetCount();
  BusyGuard busy(MainForm());
  // Datasets join a project that has its own grid: the file's grid block is not taken.
  if (ReadProject(path.toStdString(), GetProject(), nameFilter) == 0 &&
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
