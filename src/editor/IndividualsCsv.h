// SPDX-License-Identifier: GPL-3.0-or-later
// The individuals text file (comma-separated): export of the table as shown, import of one
// individual per line. A cell holding a comma or a double quote is written in quotes and read
// back whole. Columns 3 to 5 are read as coordinates only under the headers "LAT.", "LONG.",
// "ALT."; under any other header they are attributes like the columns after them, so an
// exported table reads back with every column.
#pragma once
#include <string>
#include <string_view>

class TDataProj;
struct IMessages;

// The rows the group filter shows, header row first, each row ended by CR LF.
std::string ExportIndividuals(const TDataProj& project, int groupFilterItem);

// Adds one individual per line after the header; returns the number added.
int ImportIndividuals(TDataProj& project, std::string_view text);

// The same from a file; -1 (and the reason reported) when it cannot be read or written.
int ImportIndividualsFile(TDataProj& project, const std::string& path, IMessages& messages);
bool ExportIndividualsFile(const TDataProj& project, int groupFilterItem, const std::string& path,
                           IMessages& messages);
