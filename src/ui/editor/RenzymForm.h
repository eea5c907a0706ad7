// SPDX-License-Identifier: GPL-3.0-or-later
// TRenzymForm ("Restriction enzymes"): switches the enzymes of the program's list on and off,
// then marks their sites in every sequence of the current editor window's current dataset.
// One window in its registry slot: opening it again brings the open one to the front.
#pragma once
#include "ui/shell/CLXChildWin.h"

class QGroupBox;
class QListWidget;
class QPushButton;

class TRenzymForm : public TMDIChild {
  Q_OBJECT
 public:
  explicit TRenzymForm(TMainForm& mainForm, QWidget* parent = nullptr);

  QGroupBox* GroupBox1 = nullptr;  // "Choose restriction enzymes"
  QPushButton* Button1 = nullptr;  // "Select all"
  QPushButton* Button2 = nullptr;  // "Unselect all"
  QPushButton* Button3 = nullptr;  // "Invert"
  QListWidget* CheckListBox1 = nullptr;
  QPushButton* OkButton = nullptr;
  QPushButton* CancelButton = nullptr;

  // Stores the check states as the switches, marks the sites (when an editor window with a
  // current dataset is current) and closes the window.
  void OkButtonClick();
  void CancelButtonClick();

 protected:
  // Keeps four columns across the list whatever its width.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetAll(Qt::CheckState state);
  void Invert();
  void CloseWindow();
};

// The open window, to the front, or a new one in the registry slot.
TRenzymForm* NewRenzymForm(TMainForm& mainForm);
void RenzymFrmClose(TMainForm& mainForm);
