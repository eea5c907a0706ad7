// SPDX-License-Identifier: GPL-3.0-or-later
// Main window as the core's message, progress and busy services.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>
#include <algorithm>

#include "ui/shell/BusyGuard.h"
#include "ui/shell/CLXMain.h"
#include "ui/shell/MessagePane.h"

namespace {
constexpr const char* kCancelControl = "nodrixCancelControl";
}

void TMainForm::ReportError(const std::string& text) {
  if (!settings.reportErrors) return;
  messagePane->Append(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
  messagePane->show();
}

bool TMainForm::AskYesNo(const std::string& question) {
  if (dialogs != nullptr) return dialogs->AskYesNo(question);
  return QMessageBox::question(this, "Nodrix3", QString::fromLatin1(question.c_str()),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void TMainForm::Notify(const std::string& text) {
  if (dialogs != nullptr) {
    dialogs->Notify(text);
    return;
  }
  QMessageBox::information(this, "Nodrix3", QString::fromLatin1(text.c_str()));
}

YesNoCancel TMainForm::AskYesNoCancel(const std::string& question) {
  if (dialogs != nullptr) {
    if (auto* threeWay = dynamic_cast<IYesNoCancelQuestions*>(dialogs))
      return threeWay->AskYesNoCancel(question);
    return dialogs->AskYesNo(question) ? YesNoCancel::Yes : YesNoCancel::No;
  }
  switch (QMessageBox::question(this, "Nodrix3", QString::fromLatin1(question.c_str()),
                                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
      return YesNoCancel::Yes;
    case QMessageBox::No:
      return YesNoCancel::No;
    default:
      return YesNoCancel::Cancel;  // Escape and the title bar's close button too
  }
}

void TMainForm::HideMessagesClick() {
  if (AskYesNo("Hide error list?")) messagePane->hide();
}

void TMainForm::StartProgress(int max, const std::string& text) {
  // A run that starts outside any guarded command begins uncancelled; inside one, the guard
  // cleared the flag and an Escape since then must survive the next stage's start.
  if (!IsBusy()) cancelFlag = false;
  progressActive = true;
  progressBar->setRange(0, std::max(0, max));
  progressBar->setValue(0);
  progressBar->show();
  if (!text.empty()) statusLabel->setText(QString::fromLatin1(text.c_str()));
}

void TMainForm::StepProgress(bool processEvents) {
  if (progressBar->value() < progressBar->maximum())
    progressBar->setValue(progressBar->value() + 1);
  if (processEvents) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TMainForm::ShowStatus(const std::string& text, bool step, bool processEvents) {
  if (!text.empty()) statusLabel->setText(QString::fromLatin1(text.c_str()));
  if (step) {
    StepProgress(processEvents);
  } else if (processEvents) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
}

void TMainForm::ShowStepProgress(const std::string& status, long long done, long long total) {
  if (total <= 0) {
    if (!stepSaved) return;
    progressBar->setRange(stepSaved->min, stepSaved->max);
    progressBar->setValue(stepSaved->value);
    progressBar->setVisible(stepSaved->visible);
    statusLabel->setText(stepSaved->status);
    stepSaved.reset();
    return;
  }
  if (!stepSaved)
    stepSaved = SavedBar{progressBar->minimum(), progressBar->maximum(), progressBar->value(),
                         progressBar->isVisible(), statusLabel->text()};
  progressBar->setRange(0, 1000);
  progressBar->setValue(static_cast<int>(std::clamp(done, 0LL, total) * 1000 / total));
  progressBar->show();
  if (!status.empty()) statusLabel->setText(QString::fromLatin1(status.c_str()));
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TMainForm::EndProgress() {
  progressActive = false;
  stepSaved.reset();
  progressBar->reset();
  progressBar->hide();
  statusLabel->clear();
}

QString TMainForm::StatusText() const {
  return statusLabel->text();
}

bool TMainForm::RefuseIfBusy() {
  if (!IsBusy()) return false;
  statusBar()->showMessage("Busy: wait for the running operation or press Escape to cancel it",
                           3000);
  return true;
}

void TMainForm::EnterBusy() {
  if (busyDepth++ == 0) {
    cancelFlag = false;
    modalAtBusyStart = QApplication::activeModalWidget();
  }
}

void TMainForm::LeaveBusy() {
  if (busyDepth > 0) --busyDepth;
}

bool TMainForm::EventPassesWhileBusy(QObject* target) const {
  auto* widget = qobject_cast<QWidget*>(target);
  if (widget == nullptr) return false;
  for (QWidget* w = widget; w != nullptr; w = w->parentWidget())
    if (w->property(kCancelControl).toBool()) return true;
  // A question the running operation asks (a modal box opened after it started) must be
  // answerable.
  QWidget* modal = QApplication::activeModalWidget();
  if (modal != nullptr && modal != modalAtBusyStart.data() &&
      (modal == widget || modal->isAncestorOf(widget)))
    return true;
  return false;
}

void TMainForm::UpdateShortcutOwnership() {
  // An editor window's own shortcut (WidgetWithChildrenShortcut) and a main-window shortcut on
  // the same key would be ambiguous while focus is in the editor, and Qt then fires neither.
  // The main window gives the key up while focus is inside a child window whose item on that
  // key is enabled. A disabled item claims nothing: the key stays with the main window, so
  // "&Open" works from every window until the editor has a command of its own on Ctrl+O.
  QWidget* focus = QApplication::focusWidget();
  QMdiSubWindow* sub = nullptr;
  for (QWidget* w = focus; w != nullptr; w = w->parentWidget()) {
    if ((sub = qobject_cast<QMdiSubWindow*>(w)) != nullptr) break;
  }
  QList<QKeySequence> claimed;
  const auto claim = [this, &claimed](QAction* a) {
    if (a->shortcutContext() != Qt::WidgetWithChildrenShortcut || a->shortcuts().isEmpty()) return;
    // An item enabled or disabled later changes who owns its key.
    connect(a, &QAction::enabledChanged, this, &TMainForm::UpdateShortcutOwnership,
            Qt::UniqueConnection);
    if (a->isEnabled()) claimed += a->shortcuts();
  };
  if (sub != nullptr && sub->widget() != nullptr && mdiArea->isAncestorOf(sub)) {
    for (QAction* a : sub->widget()->findChildren<QAction*>()) claim(a);
    for (QAction* a : sub->widget()->actions()) claim(a);
  }
  for (auto& [action, key] : ownShortcuts) {
    const QKeySequence wanted = claimed.contains(key) ? QKeySequence() : key;
    if (action->shortcut() != wanted) action->setShortcut(wanted);
  }
}

BusyGuard::BusyGuard(TMainForm& mainForm) : mainForm_(mainForm) {
  mainForm_.EnterBusy();
}
BusyGuard::~BusyGuard() {
  mainForm_.LeaveBusy();
}

void BusyGuard::MarkAsCancelControl(QWidget* control) {
  if (control != nullptr) control->setProperty(kCancelControl, true);
}
