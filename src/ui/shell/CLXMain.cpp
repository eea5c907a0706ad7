// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell/CLXMain.h"

#include <QMdiArea>

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle("Nodrix3");
  mdiArea = new QMdiArea(this);
  setCentralWidget(mdiArea);
  resize(1100, 750);
}
