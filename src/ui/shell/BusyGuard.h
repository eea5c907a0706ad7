// SPDX-License-Identifier: GPL-3.0-or-later
// BusyGuard: marks the main window busy for the life of a long operation. While busy, window
// closes and clicks or keys that would start other commands are refused; only Escape and
// widgets marked as cancel controls get through.
#pragma once

class TMainForm;
class QWidget;

class BusyGuard {
 public:
  explicit BusyGuard(TMainForm& mainForm);
  ~BusyGuard();
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;

  // Lets clicks on `control` (and its children) through while busy: Cancel buttons.
  static void MarkAsCancelControl(QWidget* control);

 private:
  TMainForm& mainForm_;
};
