// SPDX-License-Identifier: GPL-3.0-or-later
// Open and save flows of the main window over the core dispatcher and save command.
#include "ui/editor/OpenCommands.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <memory>

#include "io/FormatDetect.h"
#include "io/FormatTables.h"
#include "io/IOUnit.h"
#include "io/SaveCommand.h"
#include "io/TextHelpers.h"
#include "ui/editor/ProjectWindow.h"
#include "ui/shell/CLXMain.h"

namespace {

QString QtPatterns(std::string_view patterns) {
  QString p = QString::fromLatin1(patterns.data(), static_cast<int>(patterns.size()));
  p.replace("; ", " ");
  // "*.*" would hide files without a dot on systems whose names need none.
  if (p == "*.*") p = "*";
  return p;
}

QString QtFilter(std::string_view caption, std::string_view patterns) {
  return QString::fromLatin1(caption.data(), static_cast<int>(caption.size())).trimmed() + " (" +
         QtPatterns(patterns) + ")";
}

TProjectWindow* NewProjectWindow(TMainForm& main, const QString& caption) {
  return AsProjectWindow(main.NewEditorWindow(caption));
}

void ReadUnknownText(TMainForm& main, TProjectWindow& w, const std::string& path) {
  FileSource src;
  if (!src.Open(path)) {
    main.Notify(IoErrorMessage(CheckFileAccess(path), path));
    return;
  }
  ReadContext ctx(main.GetServices(), path);
  auto ds = w.Project().MakeDataset();
  if (OpenUnknownText(src, ctx, *ds) && ds->Count() > 0 && !w.Target().gridLocked)
    w.Project().AddDataset(ds, false);
}

void AfterRead(TProjectWindow* w, bool markModified) {
  if (w == nullptr) return;
  if (markModified) w->modified = true;
  w->Project().UpdateMaxima();
  w->Refresh();
}

int FilterIndexOf(const QStringList& filters, const QString& chosen) {
  const int i = static_cast<int>(filters.indexOf(chosen));
  return i < 0 ? 1 : i + 1;
}

}  // namespace

QStringList OpenDialogFilters() {
  QStringList list;
  for (const OpenFilter& f : OpenFilters()) list << QtFilter(f.caption, f.patterns);
  return list;
}

QStringList SaveDialogFilters() {
  QStringList list;
  for (const SaveFilter& f : SaveFilters()) {
    const std::string entry = SaveFilterEntry(f);
    const auto bar = entry.find('|');
    list << QtFilter(f.caption, std::string_view(entry).substr(bar + 1));
  }
  return list;
}

bool OpenCommandLineFile(TMainForm& main, const QString& path) {
  const std::string p = path.toStdString();
  QuietMessages quiet;  // detection is silent on the command line
  const int code = DetectFormat(p, quiet);
  if (code < 2) return false;
  TProjectWindow* w = NewProjectWindow(main, path);
  if (w == nullptr) return false;
  w->filePath = path;
  const bool handled = OpenDataFile(p, code, false, &w->Target(), main.GetServices());
  AfterRead(w, false);
  return handled;
}

void MainOpenFiles(TMainForm& main, QStringList files, int code) {
  if (files.isEmpty()) return;
  IMessages& msg = main;
  TProjectWindow* current = AsProjectWindow(main.CurrentEditor());
  const bool intoCurrent =
      current != nullptr && msg.AskYesNo("Open in the current project window?");
  if (code == kCodeFastPhase)
    msg.Notify(
        "To extract phase data and SNP positions both the fastPhase input and output files are "
        "needed.\r\n\r\nIt is assumed that the input and output files are in the fame folder "
        "and have the same NAME with diff extensions: NAME.inp and NAME.out\r\n\r\nTo apply "
        "phase data to existing dataset, that dataset has to be open and should have the same "
        "NAME as the fastPhase files. The seq order in the dataset and in fastPhase files is "
        "assumed to be the same.");
  bool askReference = false;
  if (code == kCodeSam && files.size() == 1)
    askReference = msg.AskYesNo("Open fasta file with reference sequence(s)?");
  bool oneWindow = intoCurrent;
  std::unique_ptr<ProgressScope> bar;
  if (files.size() > 1) {
    if (code == kCodeSdi || !msg.AskYesNo("Open files in separate windows?")) oneWindow = true;
    bar = std::make_unique<ProgressScope>(main, static_cast<int>(files.size()),
                                          "Reading data files...");
  }
  bool prefix = false;
  if (code == kCodeFastaByDatasetName)
    prefix = msg.AskYesNo("Add file name in front of each sequence name?");
  TProjectWindow* shared = intoCurrent ? current : nullptr;
  if (oneWindow && !intoCurrent) {
    shared = NewProjectWindow(main, {});
    if (shared != nullptr && files.size() == 1) shared->filePath = files.front();
  }
  // Dialogs tend to hand back the last-clicked name first.
  if (files.size() > 1 && files[0].toStdString() > files[1].toStdString())
    files.append(files.takeFirst());
  if (code == kCodeSam &&
      !msg.AskYesNo("Nodrix is about to start reading SAM file. This may take some time. "
                    "Proceed anyway?"))
    return;

  for (const QString& file : files) {
    const std::string path = file.toStdString();
    const int access = CheckFileAccess(path);
    if (access != 0) {
      msg.Notify(IoErrorMessage(access, path));
      continue;
    }
    const int fileCode = code == kCodeAuto ? DetectFormat(path, msg) : code;
    TProjectWindow* w = shared;
    bool madeForFile = false;
    if (!oneWindow && fileCode > 1) {
      w = NewProjectWindow(main, QFileInfo(file).fileName());
      if (w != nullptr) w->filePath = file;
      madeForFile = true;
    }
    if (w == nullptr) w = AsProjectWindow(main.CurrentEditor());
    if (bar) bar->Step(true);
    OpenOptions options;
    options.addFileNamePrefix = prefix;
    options.askReference = askReference;
    const bool handled =
        DispatchFile(path, fileCode, options, w ? &w->Target() : nullptr, main.GetServices())
            .handled;
    if (!handled &&
        msg.AskYesNo("Unable to recognise format of the file: \r\n\r\n" + path +
                     "\r\n\r\nIt may be interpreted incorrectly. Attempt to read it anyway?")) {
      // The window made for this file is still empty: read into it rather than open another.
      const bool keep = (oneWindow && intoCurrent) || (madeForFile && w != nullptr &&
                                                        w->Project().DatasetCount() == 0);
      if (!keep || w == nullptr) w = NewProjectWindow(main, QFileInfo(file).fileName());
      if (w != nullptr) ReadUnknownText(main, *w, path);
    }
    AfterRead(w, w != nullptr && (intoCurrent || (oneWindow && files.size() > 1)));
  }
}

bool SaveWindowAs(TMainForm& main, TProjectWindow& w, int filterIndex, const QString& chosen) {
  GridFileSettings grid = w.Target().grid;
  const SaveOutcome out =
      RunSaveCommand(w.Project(), filterIndex, chosen.toStdString(), main.GetServices(), grid);
  if (!out.ran) return false;
  if (out.wholeProject) {
    w.modified = false;
    w.filePath = chosen;
  }
  if (!out.written.empty()) {
    w.setWindowTitle(QString::fromStdString(out.caption));
    if (auto* sub = w.parentWidget()) sub->setWindowTitle(w.windowTitle());
  }
  return out.ok;
}

bool SaveWindowInteractive(TMainForm& main, TProjectWindow& w) {
  QString start;
  if (QFileInfo(w.filePath).isFile())
    start = w.filePath;
  else if (QFileInfo(w.windowTitle()).isFile())
    start = w.windowTitle();
  const QStringList filters = SaveDialogFilters();
  QString selected = filters.front();
  QString chosen =
      QFileDialog::getSaveFileName(&main, "Save As", start, filters.join(";;"), &selected);
  const int index = FilterIndexOf(filters, selected);
  if (chosen.isEmpty()) return false;
  if (index == 1 && QFileInfo(chosen).suffix().isEmpty()) chosen += ".df";
  return SaveWindowAs(main, w, index, chosen);
}

void InstallOpenDispatcher(TMainForm& main) {
  main.SetEditorFactory(
      [](TMainForm& m, const QString&) -> QWidget* { return new TProjectWindow(m); });
  main.SetFileOpener([](TMainForm& m, const QString& path, QWidget* editor) {
    if (editor == nullptr) return OpenCommandLineFile(m, path);
    TProjectWindow* w = AsProjectWindow(editor);
    if (w == nullptr) return false;
    const bool added = ReadFolderFile(path.toStdString(), w->Target(), m.GetServices());
    AfterRead(w, false);
    return added;
  });
  // "&Open" with the filter list and its questions replaces the shell's plain file prompt.
  if (auto* open = main.findChild<QAction*>("Open1")) {
    QObject::disconnect(open, &QAction::triggered, &main, nullptr);
    QObject::connect(open, &QAction::triggered, &main, [&main] {
      if (main.RefuseIfBusy()) return;
      const QStringList filters = OpenDialogFilters();
      QString selected = filters.front();
      const QStringList files = QFileDialog::getOpenFileNames(&main, "Open", {},
                                                              filters.join(";;"), &selected);
      if (files.isEmpty()) return;
      MainOpenFiles(main, files, FilterIndexOf(filters, selected));
    });
  }
  if (auto* save = main.findChild<QAction*>("Save1")) {
    save->setEnabled(true);
    QObject::connect(save, &QAction::triggered, &main, [&main] {
      if (main.RefuseIfBusy()) return;
      if (TProjectWindow* w = AsProjectWindow(main.CurrentEditor()))
        SaveWindowInteractive(main, *w);
    });
  }
}
