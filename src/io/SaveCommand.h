// SPDX-License-Identifier: GPL-3.0-or-later
// The save command of both "&Save..." entries: from the save filter chosen to the files
// written, their names and the datasets and sequences each one holds.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "common/Services.h"
#include "io/ProjectFile.h"

class TDataProj;

// A dataset or sequence name made fit to be a file name in a chosen folder: path separators,
// drive colons, wildcard and control characters become '_', and a name that is empty or
// made of dots only becomes "_", so the file can never land outside the folder.
[[nodiscard]] std::string SafeFileName(std::string_view name);

struct PlannedFile {
  std::string path;
  int datasetIndex = 0;  // 0-based
  int row = 0;           // sequence entries: the row written; 0 for a dataset or project
};

// The files one save writes. allDatasets: one file per dataset named after it in the chosen
// file's folder, else the current dataset to the chosen name. Sequence entries write one
// file per sequence: with allSequences each sequence of each dataset written as
// dataset + "_" + sequence, otherwise the selected sequences (the current one when none is
// selected), to the chosen name when there is one, else chosen stem + "_" + sequence. Names
// repeated within one save get "_2", "_3" ... so no file overwrites another of the same save.
// The entry's extension replaces the chosen one, unless keepExtension and the chosen name has
// one (the command-line tool writes the name it was given).
[[nodiscard]] std::vector<PlannedFile> PlanSave(const TDataProj& project, int filterIndex,
                                                const std::string& chosenPath, bool allDatasets,
                                                bool allSequences, bool keepExtension = false);

struct SaveOutcome {
  bool ran = false;           // the filter and dataset were valid and writing was tried
  bool ok = false;            // every planned file was written
  bool wholeProject = false;  // the whole project went to the chosen file: the caller clears
                              // the window's modified mark; an export never does
  std::vector<std::string> written;
  std::string caption;  // the chosen file name only: the window's new caption
};

// Asks the questions of the chosen entry through services.messages, then writes.
// grid: what a project file keeps of the window's grid.
SaveOutcome RunSaveCommand(TDataProj& project, int filterIndex, const std::string& chosenPath,
                           Services& services, const GridFileSettings& grid = {},
                           bool keepExtension = false);

// True when this build has a writer for the save entry.
[[nodiscard]] bool HasWriter(int filterIndex);
