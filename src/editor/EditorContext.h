// SPDX-License-Identifier: GPL-3.0-or-later
// What every editor command gets from its window: the project, the services, the program-wide
// sequence clipboard and the window's lock and file; commands report back through the OUT
// fields. Commands are free functions so that they run and test without a window.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "common/Services.h"
#include "model/DataProjUnit.h"
#include "model/tsequnit.h"

struct EditorContext {
  TDataProj& project;  // the window's project; the current dataset, row and cursor live in it
  Services& services;  // questions (AskYesNo), notices (Notify), progress and status
  std::vector<std::unique_ptr<TSeq>>& seqClipboard;  // program-wide, outlives every window
  bool locked = false;                // the grid's lock: letter and region commands do nothing
  std::string filePath{};             // the window's file ("" for a new window)
  bool modified = false;              // OUT: set by every command that changed anything
  std::string systemClipboardText{};  // OUT: text Copy puts on the system clipboard
  bool findSucceeded = false;         // IN/OUT: a find has succeeded since start-up
};
