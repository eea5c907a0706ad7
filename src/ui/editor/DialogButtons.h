// SPDX-License-Identifier: GPL-3.0-or-later
// The row of "OK" (or "Ok") and "Cancel" at the foot of the editor's small dialogs and tool
// windows, right-aligned, named OkButton and CancelButton.
#pragma once

class QBoxLayout;
class QPushButton;
class QWidget;

struct OkCancelButtons {
  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
};

OkCancelButtons AddOkCancelRow(QWidget* owner, QBoxLayout* layout, const char* okCaption = "OK");
