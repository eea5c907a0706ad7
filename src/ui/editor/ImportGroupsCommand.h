// SPDX-License-Identifier: GPL-3.0-or-later
// File > "Import groups...": group assignments from a "sequence,group" file into the window's
// project, the same files nodrix3-cli reads with --groups.
#pragma once
#include <QString>

class TSeqGridFrm;

// Asks for the file, then imports it.
void ImportGroups1Click(TSeqGridFrm& window);
// Reads the file into the window's project and says in a notice how many sequences joined
// which group and which names matched nothing. False when the file cannot be read or the grid
// is locked.
bool ImportGroupsFile(TSeqGridFrm& window, const QString& path);
