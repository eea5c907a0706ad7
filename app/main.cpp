// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3: the desktop program.
#include <QApplication>

#include "ui/editor/OpenCommands.h"
#include "ui/shell/CLXMain.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Nodrix3");
  TMainForm mainForm;
  InstallOpenDispatcher(mainForm);
  mainForm.show();
  QStringList files = QApplication::arguments();
  files.removeFirst();
  mainForm.OpenFiles(files);
  return QApplication::exec();
}
