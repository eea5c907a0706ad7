// SPDX-License-Identifier: GPL-3.0-or-later
// Escape and the busy guard's input filter.
#include "ui/shell/ShellEventFilter.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMdiSubWindow>

#include "ui/shell/CLXMain.h"

bool ShellEventFilter::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  const bool escape = (type == QEvent::KeyPress || type == QEvent::KeyRelease) &&
                      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
  if (escape && type == QEvent::KeyPress) mainForm_.RequestCancel();
  if (!mainForm_.IsBusy()) return false;

  // Input reaches windows (QWindow) first and widgets next: judge it at the widget.
  auto* widget = qobject_cast<QWidget*>(watched);
  switch (type) {
    case QEvent::Close:
      if (widget != nullptr &&
          (widget->isWindow() || qobject_cast<QMdiSubWindow*>(widget) != nullptr) &&
          !mainForm_.EventPassesWhileBusy(widget)) {
        event->ignore();
        return true;
      }
      return false;
    case QEvent::Shortcut:
      // Action shortcuts go to the QAction itself: never while busy.
      if (widget != nullptr && mainForm_.EventPassesWhileBusy(widget)) return false;
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
      // Escape has raised the flag above; it must not also close a dialog under the operation.
      if (widget == nullptr || mainForm_.EventPassesWhileBusy(widget)) return false;
      event->ignore();
      return true;
    default:
      return false;
  }
}
