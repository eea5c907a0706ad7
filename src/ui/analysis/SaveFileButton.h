// SPDX-License-Identifier: GPL-3.0-or-later
// The "..." button beside an output file box of the analysis dialogs: a save dialog titled
// "Save" that starts at the box's name and puts the chosen file in the box.
#pragma once

class QLineEdit;
class QPushButton;
class QWidget;

// Named after the box + "Button"; placing it is the caller's.
QPushButton* MakeSaveFileButton(QLineEdit* box, QWidget* parent);
