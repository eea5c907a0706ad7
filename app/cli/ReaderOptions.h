// SPDX-License-Identifier: GPL-3.0-or-later
// Options of the readers that need more than a file name (the SNP table's reference and
// columns, the BLAST result's query file, the XMFA questions, the column file's ranges),
// offered by every command that reads a file.
// A reader that needs a value of its own adds its option here and its field to OpenOptions.
#pragma once
#include <string>
#include <vector>

#include "io/Dispatcher.h"

class CliCommand;

struct ReaderArgs {
  OpenOptions open;                     // handed to the open dispatcher
  std::vector<std::string> yesAnswers;  // beginnings of the questions these options answer Yes
};

void AddReaderOptions(CliCommand& cmd);
// False after a usage error on stderr.
bool ReadReaderOptions(const CliCommand& cmd, ReaderArgs& args);
