// SPDX-License-Identifier: GPL-3.0-or-later
// ShellEventFilter: the application-wide event filter of the main window. Escape raises the
// cancel flag; while the main window is busy, closes and command-starting input are dropped.
#pragma once
#include <QObject>

class TMainForm;

class ShellEventFilter : public QObject {
  Q_OBJECT
 public:
  explicit ShellEventFilter(TMainForm& mainForm) : mainForm_(mainForm) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TMainForm& mainForm_;
};
