// SPDX-License-Identifier: GPL-3.0-or-later
// OpenDataFile: the one dispatcher every way of opening a file ends in. It maps a format code
// to a reader and places what was read in a window's project: as a new dataset, into the
// current dataset, or merged into the project.
#pragma once
#include <functional>
#include <string>

#include "common/Services.h"
#include "io/ProjectFile.h"

class TDataProj;

// What the dispatcher needs of an editor window (the desktop program's windows and the
// command-line tool's scratch project alike).
struct OpenWindow {
  explicit OpenWindow(TDataProj& proj) : project(proj) {}
  TDataProj& project;
  std::string caption;
  bool gridLocked = false;  // no dataset is added while the grid is locked
  GridFileSettings grid;    // the grid block of a project file read into the window
};

struct OpenOptions {
  bool addFileNamePrefix = false;  // code 23: "name_" before every sequence name
  bool askReference = false;       // codes 26..29: offer a reference file first
  bool showProgress = true;        // the FASTA reader drives the progress bar
  // A FASTA file with more records than "Max seq per dataset": see ReadContext.
  std::function<int(int recordCount, int limit)> chooseFastaStart;
};

struct OpenResult {
  bool handled = false;  // what OpenDataFile returns
  int datasetsAdded = 0;
  int sequencesAdded = 0;
  [[nodiscard]] bool ReadSomething() const { return datasetsAdded > 0 || sequencesAdded > 0; }
};

// Codes 0, 1 and above 36 and a missing window are not handled. A code whose reader is not
// part of this build is not handled either, after a message naming the format.
OpenResult DispatchFile(const std::string& path, int formatCode, const OpenOptions& options,
                        OpenWindow* window, Services& services);

// True when the code was handled (a reader ran), whether or not it found anything to read:
// readers report their own problems.
bool OpenDataFile(const std::string& path, int formatCode, bool addFileNamePrefix,
                  OpenWindow* window, Services& services, bool askReference = false);

// True when this build has a reader for the code.
[[nodiscard]] bool HasReader(int formatCode);

// "Open files from folder...": one FASTA file into a new dataset of the window, without the
// reader's own progress. True when a dataset was added.
bool ReadFolderFile(const std::string& path, OpenWindow& window, Services& services);

// Detection, then the dispatcher: the command-line path. Codes below 2 are skipped without a
// message; the code found is left in detectedCode.
OpenResult OpenDetected(const std::string& path, OpenWindow& window, Services& services,
                        int& detectedCode);
