// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: the multiple-document main window.
#pragma once
#include <QMainWindow>

class QMdiArea;

class TMainForm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TMainForm(QWidget* parent = nullptr);
  [[nodiscard]] QMdiArea* MdiArea() const { return mdiArea; }

 private:
  QMdiArea* mdiArea = nullptr;
};
