// SPDX-License-Identifier: GPL-3.0-or-later
// Sizes of the main window's child windows: what their content needs within the MDI area, or
// the size the user last gave a window of the same kind in this session; and the Window menu's
// list of open windows.
#include <QAction>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QStatusBar>
#include <QStyle>
#include <algorithm>

#include "ui/shell/WindowSizes.h"

#include "ui/shell/CLXMain.h"

namespace {

// The kind a size is remembered for: the class of the window inside the frame.
QString KindOf(const QWidget* child) {
  return child != nullptr ? QString::fromLatin1(child->metaObject()->className()) : QString();
}

// Title bar and borders around a child: measured once the frame is shown, else from the style.
QSize FrameAround(const QMdiSubWindow* sub, const QWidget* child) {
  const QSize measured = sub->size() - child->size();
  if (sub->isVisible() && measured.width() >= 0 && measured.height() >= 0) return measured;
  const int border = sub->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, sub);
  const int title = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
  return {2 * border, title + border};
}

}  // namespace

QSize FitWithinArea(QSize wanted, QSize area, QPoint at) {
  // A window wider or taller than what is left of the area right and below its corner would
  // need scrolling the area to reach its far edge.
  const int w = std::max(1, area.width() - std::max(0, at.x()));
  const int h = std::max(1, area.height() - std::max(0, at.y()));
  return {std::clamp(wanted.width(), std::min(160, w), w),
          std::clamp(wanted.height(), std::min(120, h), h)};
}

QSize EditorWindowSize(QSize area) {
  // The designed size, but never below two thirds of the area: an alignment wants width.
  return {std::max(area.width() * 2 / 3, std::min(area.width(), 900)),
          std::max(area.height() * 2 / 3, std::min(area.height(), 620))};
}

class ChildSizeWatcher final : public QObject {
 public:
  explicit ChildSizeWatcher(TMainForm& form) : QObject(&form), form_(form) {}

 protected:
  // A frame dragged by the mouse is the user's choice of size for windows of that kind.
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* sub = qobject_cast<QMdiSubWindow*>(watched);
    if (sub == nullptr) return false;
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
      pressSize_ = sub->size();
    } else if (event->type() == QEvent::MouseButtonRelease && pressSize_.isValid()) {
      if (sub->size() != pressSize_ && !sub->isMaximized() && !sub->isMinimized())
        form_.RememberChildSize(sub->widget(), sub->size());
      pressSize_ = QSize();
    }
    return false;
  }

 private:
  TMainForm& form_;
  QSize pressSize_;
};

QSize TMainForm::ChildArea() const {
  // A main window not shown yet has not laid its area out: the window less its bars stands in.
  if (!isVisible())
    return {width(), height() - menuBar()->sizeHint().height() - statusBar()->sizeHint().height()};
  return mdiArea->viewport()->size();
}

void TMainForm::RememberChildSize(const QWidget* child, QSize size) {
  if (child != nullptr && size.isValid()) rememberedSizes[KindOf(child)] = size;
}

QSize TMainForm::RememberedSize(const QWidget* child) const {
  return rememberedSizes.value(KindOf(child));
}

void TMainForm::FitChildWindow(QWidget* child, QSize wanted) {
  auto* sub = child != nullptr ? qobject_cast<QMdiSubWindow*>(child->parentWidget()) : nullptr;
  if (sub == nullptr || sub->isMaximized() || sub->isMinimized()) return;
  const QSize remembered = RememberedSize(child);
  const QSize want = remembered.isValid() ? remembered : wanted + FrameAround(sub, child);
  sub->resize(FitWithinArea(want, ChildArea(), sub->pos()));
}

void TMainForm::WatchChildSize(QMdiSubWindow* sub) {
  if (sizeWatcher == nullptr) sizeWatcher = new ChildSizeWatcher(*this);
  sub->installEventFilter(sizeWatcher);
}

void TMainForm::FillWindowList(QMenu* menu) {
  // The fixed items stay; the list after the last separator is built anew each time.
  for (QAction* a : menu->actions()) {
    if (a->property("nodrixWindowList").toBool()) {
      menu->removeAction(a);
      a->deleteLater();
    }
  }
  QList<QMdiSubWindow*> windows = mdiArea->subWindowList(QMdiArea::CreationOrder);
  // A window closed a moment ago waits to be deleted: it is no longer open.
  windows.removeIf([](const QMdiSubWindow* sub) { return sub->isHidden(); });
  if (windows.isEmpty()) return;
  QAction* separator = menu->addSeparator();
  separator->setProperty("nodrixWindowList", true);
  int n = 0;
  for (QMdiSubWindow* sub : windows) {
    ++n;
    const QString title = sub->windowTitle().isEmpty() && sub->widget() != nullptr
                              ? sub->widget()->windowTitle()
                              : sub->windowTitle();
    QAction* a = menu->addAction((n < 10 ? QString("&%1 ").arg(n) : QString("%1 ").arg(n)) +
                                 QString(title).replace('&', "&&"));
    a->setProperty("nodrixWindowList", true);
    a->setObjectName(QString("WindowListItem%1").arg(n));
    a->setCheckable(true);
    a->setChecked(sub == mdiArea->activeSubWindow());
    QPointer<QMdiSubWindow> target(sub);
    connect(a, &QAction::triggered, this, [this, target] {
      if (target.isNull()) return;
      if (target->isMinimized()) target->showNormal();
      mdiArea->setActiveSubWindow(target);
    });
  }
}
