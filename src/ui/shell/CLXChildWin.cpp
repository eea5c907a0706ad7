// SPDX-License-Identifier: GPL-3.0-or-later
// Child window base.
#include "ui/shell/CLXChildWin.h"

#include <QCloseEvent>

#include "ui/shell/CLXMain.h"

TMDIChild::TMDIChild(TMainForm& mainForm, QWidget* parent) : QWidget(parent), mainForm_(mainForm) {}

void TMDIChild::StartProgress(int max, const std::string& text) {
  mainForm_.StartProgress(max, text);
}
void TMDIChild::StepProgress(bool processEvents) {
  mainForm_.StepProgress(processEvents);
}
void TMDIChild::ShowStatus(const std::string& text, bool step, bool processEvents) {
  mainForm_.ShowStatus(text, step, processEvents);
}
void TMDIChild::EndProgress() {
  mainForm_.EndProgress();
}

void TMDIChild::closeEvent(QCloseEvent* event) {
  if (mainForm_.IsBusy()) {
    event->ignore();
    return;
  }
  event->accept();
  emit closing(this);
}
