// SPDX-License-Identifier: GPL-3.0-or-later
// Copy and the paste commands of the sequence editor.
#pragma once
#include <string>

#include "editor/EditorContext.h"

// Fills the sequence clipboard from the current dataset (blocks cut, whole selected rows, or
// the current row) and sets ctx.systemClipboardText to the letters of blocks or current row.
// False when there is no current dataset or row.
bool CopySequences(EditorContext& ctx);
// Inserts the first clipboard sequence at the cursor of the current row, or appends every
// clipboard sequence when the dataset is empty. Notifies when the clipboard is empty.
bool PasteSequences(EditorContext& ctx);
// Appends a copy of every clipboard sequence to the current dataset.
bool PasteAsSeparateSequences(EditorContext& ctx);
// Inserts the sequence letters of text (everything else dropped) at the cursor of the current
// row; the window passes the system clipboard's plain text.
bool PasteText(EditorContext& ctx, const std::string& text);
