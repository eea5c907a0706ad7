// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program's open and save flows: main "&Open", files named on the command line,
// "Open files from folder..." and "&Save", all through the core dispatcher and save command.
#pragma once
#include <QString>
#include <QStringList>

class TMainForm;
class TSeqGridFrm;

// Installs the editor window factory, the dispatcher hook (command line and folder opening)
// and the "&Open" and "&Save" commands of the main window.
void InstallOpenDispatcher(TMainForm& mainForm);

// Main "&Open" once the dialog has given its files and the 1-based filter code.
void MainOpenFiles(TMainForm& mainForm, QStringList files, int filterCode);

// The editor window's "&Open..." once the dialog has given its files and filter code: every
// file goes into `window`; a file that cannot be dispatched is reported as an I/O error.
void EditorOpenFiles(TMainForm& mainForm, TSeqGridFrm& window, QStringList files, int filterCode);

// One file named on the command line: detected, then read into a new window captioned with
// the name as typed. Files of no known format are skipped without a message.
bool OpenCommandLineFile(TMainForm& mainForm, const QString& path);

// The save command for a window once the dialog has given the entry (1-based) and the name.
// True when every planned file was written.
bool SaveWindowAs(TMainForm& mainForm, TSeqGridFrm& window, int filterIndex,
                  const QString& chosenPath);
// Shows the save dialog first; false when cancelled or when writing failed.
bool SaveWindowInteractive(TMainForm& mainForm, TSeqGridFrm& window);
// "Save" without a question where one is known: a project read from or last saved as a
// project file is written back to that file; any other shows the save dialog. False when
// cancelled or when writing failed.
bool SaveWindowToItsFile(TMainForm& mainForm, TSeqGridFrm& window);

// The open dialog's filter strings in code order (Qt form: caption and patterns).
QStringList OpenDialogFilters();
QStringList SaveDialogFilters();
