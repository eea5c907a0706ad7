// SPDX-License-Identifier: GPL-3.0-or-later
// The open dispatcher's codes for sequencing reads: SAM (26), MAQ (27), Eland (28), the read
// mapper (29) and the FASTQ converter (34), with their reference step and questions.
#pragma once
#include <string>

#include "common/Services.h"

struct OpenOptions;
struct OpenWindow;

// True when the code is one of the five and its reader ran (or the user chose not to run it).
bool DispatchReadsFile(int formatCode, const std::string& path, const OpenOptions& options,
                       OpenWindow& window, Services& services);
