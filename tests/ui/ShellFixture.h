// SPDX-License-Identifier: GPL-3.0-or-later
// A main window for widget tests: program folder with the shipped RENZYM.txt, dialogs recorded.
#pragma once
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "support/RecordingServices.h"
#include "ui/shell/CLXMain.h"

struct ShellFixture {
  RecordingMessages dialogs;
  std::unique_ptr<TMainForm> form;
  explicit ShellFixture(const QString& folder = NODRIX_BINARY_DIR)
      : form(std::make_unique<TMainForm>(folder, &dialogs)) {}
  QAction* Action(const char* name) const { return form->findChild<QAction*>(name); }
};

// Runs `act` on the next modal dialog once it is shown (polling, gives up after ~5 s).
inline void WhenModalShows(std::function<void(QWidget*)> act, int triesLeft = 250) {
  QTimer::singleShot(20, [act = std::move(act), triesLeft]() mutable {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      act(modal);
    } else if (triesLeft > 0) {
      WhenModalShows(std::move(act), triesLeft - 1);
    }
  });
}
