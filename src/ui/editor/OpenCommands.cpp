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
#include "ui/editor/FileTooBigDialog.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/shell/BusyGuard.h"
#include "ui/shell/CLXMain.h"

namespace {

constexpr const char* kFastPhaseNotice =
    "To extract phase data and SNP positions both the fastPhase input and output files are "
    "needed.\r\n\r\nIt is assumed that the input and output files are in the fame folder "
    "and have the same NAME with diff extensions: NAME.inp and NAME.out\r\n\r\nTo apply "
    "phase data to existing dataset, that dataset has to be open and should have the same "
    "NAME as the fastPhase files. The seq order in the dataset and in fastPhase files is "
    "assumed to be the same.";

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

TSeqGridFrm* NewSeqGridFrm(TMainForm& main, const QString& caption) {
  return AsSeqGridFrm(main.NewEditorWindow(caption));
}

void ReadUnknownText(TMainForm& main, TSeqGridFrm& w, const std::string& path) {
  FileSource src;
  if (!src.Open(path)) {
    main.Notify(IoErrorMessage(CheckFileAccess(path), path));
    return;
  }
  ReadContext ctx(main.GetServices(), path);
  auto ds = w.GetProject().MakeDataset();
  if (OpenUnknownText(src, ctx, *ds) && ds->Count() > 0 && !w.Target().gridLocked)
    w.GetProject().AddDataset(ds, false);
}

void AfterRead(TSeqGridFrm* w, bool markModified) {
  if (w == nullptr) return;
  if (markModified) w->SetModified(true);
  w->ApplyGridSettings();
  w->GetProject().UpdateMaxima();
  w->UpdateAllBits();
}

// The dispatcher's options in the desktop program: a FASTA file over "Max seq per dataset"
// asks the "File too big" question.
OpenOptions DesktopOptions(TMainForm& main) {
  OpenOptions options;
  options.chooseFastaStart = [&main](int count, int limit) {
    return AskFastaStart(&main, count, limit);
  };
  return options;
}

// Binary data read as text is garbage: such a file is refused, not offered to the last-resort
// reader.
bool RefuseBinary(IMessages& msg, const std::string& path) {
  if (!FileLooksBinary(path)) return false;
  msg.Notify(BinaryFileMessage(path));
  return true;
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
  TSeqGridFrm* w = NewSeqGridFrm(main, path);
  if (w == nullptr) return false;
  w->filePath = path;
  const bool handled =
      DispatchFile(p, code, DesktopOptions(main), &w->Target(), main.GetServices()).handled;
  AfterRead(w, false);
  return handled;
}

void MainOpenFiles(TMainForm& main, QStringList files, int code) {
  if (files.isEmpty()) return;
  IMessages& msg = main;
  TSeqGridFrm* current = AsSeqGridFrm(main.CurrentEditor());
  const bool intoCurrent =
      current != nullptr && msg.AskYesNo("Open in the current project window?");
  if (code == kCodeFastPhase) msg.Notify(kFastPhaseNotice);
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
  TSeqGridFrm* shared = intoCurrent ? current : nullptr;
  if (oneWindow && !intoCurrent) {
    shared = NewSeqGridFrm(main, {});
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
    TSeqGridFrm* w = shared;
    bool madeForFile = false;
    if (!oneWindow && fileCode > 1) {
      w = NewSeqGridFrm(main, QFileInfo(file).fileName());
      if (w != nullptr) w->filePath = file;
      madeForFile = true;
    }
    if (w == nullptr) w = AsSeqGridFrm(main.CurrentEditor());
    if (bar) bar->Step(true);
    OpenOptions options = DesktopOptions(main);
    options.addFileNamePrefix = prefix;
    options.askReference = askReference;
    const bool handled =
        DispatchFile(path, fileCode, options, w ? &w->Target() : nullptr, main.GetServices())
            .handled;
    if (!handled && !RefuseBinary(msg, path) &&
        msg.AskYesNo("Unable to recognise format of the file: \r\n\r\n" + path +
                     "\r\n\r\nIt may be interpreted incorrectly. Attempt to read it anyway?")) {
      // The window made for this file is still empty: read into it rather than open another.
      const bool keep = (oneWindow && intoCurrent) ||
                        (madeForFile && w != nullptr && w->GetProject().DatasetCount() == 0);
      if (!keep || w == nullptr) w = NewSeqGridFrm(main, QFileInfo(file).fileName());
      if (w != nullptr) ReadUnknownText(main, *w, path);
    }
    AfterRead(w, w != nullptr && (intoCurrent || (oneWindow && files.size() > 1)));
  }
}

void EditorOpenFiles(TMainForm& main, TSeqGridFrm& w, QStringList files, int code) {
  if (files.isEmpty()) return;
  IMessages& msg = main;
  if (main.RefuseIfBusy()) return;
  if (code == kCodeFastPhase) msg.Notify(kFastPhaseNotice);
  bool askReference = false;
  if (code == kCodeSam && files.size() == 1)
    askReference = msg.AskYesNo("Open fasta file with reference sequence(s)?");
  bool prefix = false;
  if (code == kCodeFastaByDatasetName)
    prefix = msg.AskYesNo("Add file name in front of each sequence name?");
  if (code == kCodeSam &&
      !msg.AskYesNo("Nodrix is about to start reading SAM file. This may take some time. "
                    "Proceed anyway?"))
    return;
  BusyGuard busy(main);
  std::unique_ptr<ProgressScope> bar;
  if (files.size() > 1)
    bar = std::make_unique<ProgressScope>(main, static_cast<int>(files.size()),
                                          "Reading sequences...");
  bool readSomething = false;
  for (const QString& file : files) {
    const std::string path = file.toStdString();
    if (bar) bar->Step(true);
    const int fileCode = code == kCodeAuto ? DetectFormat(path, msg) : code;
    OpenOptions options = DesktopOptions(main);
    options.addFileNamePrefix = prefix;
    options.askReference = askReference;
    OpenResult result;
    if (fileCode >= 2 && fileCode <= kLastFormatCode)
      result = DispatchFile(path, fileCode, options, &w.Target(), main.GetServices());
    if (!result.handled) msg.Notify("I/O Error: can not open file " + path);
    readSomething = readSomething || result.ReadSomething();
  }
  bar.reset();
  AfterRead(&w, readSomething);
}

bool SaveWindowAs(TMainForm& main, TSeqGridFrm& w, int filterIndex, const QString& chosen) {
  const GridFileSettings grid = w.GridSettings();
  const SaveOutcome out =
      RunSaveCommand(w.GetProject(), filterIndex, chosen.toStdString(), main.GetServices(), grid);
  if (!out.ran) return false;
  if (out.wholeProject) {
    w.SetModified(false);
    w.filePath = chosen;
  }
  if (!out.written.empty()) {
    w.setWindowTitle(QString::fromStdString(out.caption));
    if (auto* sub = w.parentWidget()) sub->setWindowTitle(w.windowTitle());
  }
  return out.ok;
}

bool SaveWindowInteractive(TMainForm& main, TSeqGridFrm& w) {
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
      [](TMainForm& m, const QString&) -> QWidget* { return new TSeqGridFrm(m); });
  // Datasets an analysis builds open in a new editor window of their own, unsaved.
  main.SetDatasetViewer(
      [](TMainForm& m, std::unique_ptr<TDataProj> project, const QString& caption) {
        TSeqGridFrm* w = AsSeqGridFrm(m.NewEditorWindow(caption));
        if (w == nullptr) return false;
        w->AdoptProject(std::move(project));
        w->SetModified(true);
        return true;
      });
  main.SetFileOpener([](TMainForm& m, const QString& path, QWidget* editor) {
    if (editor == nullptr) return OpenCommandLineFile(m, path);
    TSeqGridFrm* w = AsSeqGridFrm(editor);
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
      const QStringList files =
          QFileDialog::getOpenFileNames(&main, "Open", {}, filters.join(";;"), &selected);
      if (files.isEmpty()) return;
      MainOpenFiles(main, files, FilterIndexOf(filters, selected));
    });
  }
  if (auto* save = main.findChild<QAction*>("Save1")) {
    save->setEnabled(true);
    QObject::connect(save, &QAction::triggered, &main, [&main] {
      if (main.RefuseIfBusy()) return;
      if (TSeqGridFrm* w = AsSeqGridFrm(main.CurrentEditor())) SaveWindowInteractive(main, *w);
    });
  }
}
