// SPDX-License-Identifier: GPL-3.0-or-later
// Main window menus and the Options commands.
#include <QAction>
#include <QColorDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>

#include "common/FileMask.h"
#include "ui/editor/RenzymForm.h"
#include "ui/shell/BusyGuard.h"
#include "ui/shell/CLXMain.h"
#include "ui/shell/GCodEditor.h"
#include "ui/shell/HelpWindow.h"
#include "ui/shell/OpenFolderDialog.h"
#include "ui/shell/ValuePrompt.h"

namespace {
// Limits of the Options prompts; the seq-per-dataset limit has no upper bound of its own.
constexpr int kMaxSeqLimit = 1'000'000'000;
}  // namespace

QAction* TMainForm::AddAction(QMenu* menu, const QString& caption, const char* objectName) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(objectName);
  return action;
}

void TMainForm::CreateMenus() {
  CreateFileMenu();
  CreateOptionsMenu();
  CreateToolsMenu();
  CreateWindowMenu();
  CreateHelpMenu();
}

void TMainForm::CreateFileMenu() {
  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName("File1");
  newAction = AddAction(file, "&New", "New1");
  newAction->setShortcut(QKeySequence("Ctrl+N"));
  newAction->setEnabled(false);  // until the editor module installs its window factory
  connect(newAction, &QAction::triggered, this, [this] {
    if (!RefuseIfBusy()) NewEditorWindow();
  });
  openAction = AddAction(file, "&Open", "Open1");
  openAction->setShortcut(QKeySequence("Ctrl+O"));
  openAction->setEnabled(false);  // until the open dispatcher exists
  connect(openAction, &QAction::triggered, this, &TMainForm::Open1Click);
  ownShortcuts = {{newAction, newAction->shortcut()}, {openAction, openAction->shortcut()}};
  openFolderAction = AddAction(file, "Open files from folder...", "OpenFolder1");
  openFolderAction->setEnabled(false);  // needs both the editor window and the open dispatcher
  connect(openFolderAction, &QAction::triggered, this, &TMainForm::OpenFolder1Click);
  AddAction(file, "&Save", "Save1")->setEnabled(false);
  file->addSeparator();
  connect(AddAction(file, "&Close", "Close1"), &QAction::triggered, this, &TMainForm::Close1Click);
  connect(AddAction(file, "E&xit", "Exit1"), &QAction::triggered, this, [this] {
    if (!RefuseIfBusy()) close();
  });
}

void TMainForm::CreateOptionsMenu() {
  QMenu* options = menuBar()->addMenu("&Options");
  options->setObjectName("Options1");
  QMenu* colorsMenu = options->addMenu("&Colors");
  colorsMenu->setObjectName("Colors1");
  for (const ColorMenuItem& item : MainColorMenuItems()) {
    QAction* a = colorsMenu->addAction(item.caption);
    a->setObjectName(QString("Color%1").arg(item.slot));
    const int slot = item.slot;
    connect(a, &QAction::triggered, this, [this, slot] { ColorItemClick(slot); });
  }
  showDatasetNumberAction = AddAction(options, "Show dataset number: OFF", "ShowDatasetNumber1");
  connect(showDatasetNumberAction, &QAction::triggered, this, &TMainForm::ShowDatasetNumber1Click);
  connect(AddAction(options, "Max seq per dataset", "MaxSeqPerDataset1"), &QAction::triggered, this,
          &TMainForm::MaxSeqPerDataset1Click);
  connect(AddAction(options, "Max mut per dataset", "MaxMutPerDataset1"), &QAction::triggered, this,
          &TMainForm::MaxMutPerDataset1Click);
  connect(AddAction(options, "Alignment window size", "AlignmentWindowSize1"), &QAction::triggered,
          this, &TMainForm::AlignmentWindowSize1Click);
  errorReportingAction =
      AddAction(options, "Switch off error reporting", "SwitchOffErrorReporting1");
  connect(errorReportingAction, &QAction::triggered, this,
          &TMainForm::SwitchOffErrorReporting1Click);
  options->addSeparator();
  connect(AddAction(options, "&Genetic code...", "GeneticCode1"), &QAction::triggered, this,
          &TMainForm::GeneticCode1Click);
  connect(AddAction(options, "&Restriction enzymes...", "RestrictionEnzymes1"), &QAction::triggered,
          this, [this] {
            if (!RefuseIfBusy()) NewRenzymForm(*this);
          });
}

void TMainForm::CreateWindowMenu() {
  QMenu* window = menuBar()->addMenu("&Window");
  window->setObjectName("Window1");
  connect(AddAction(window, "&Cascade", "Cascade1"), &QAction::triggered, mdiArea,
          &QMdiArea::cascadeSubWindows);
  connect(AddAction(window, "&Tile", "Tile1"), &QAction::triggered, mdiArea,
          &QMdiArea::tileSubWindows);
  connect(AddAction(window, "&Minimize All", "MinimizeAll1"), &QAction::triggered, this, [this] {
    for (QMdiSubWindow* sub : mdiArea->subWindowList()) sub->showMinimized();
  });
  connect(AddAction(window, "C&lose", "WindowClose1"), &QAction::triggered, this,
          &TMainForm::Close1Click);
  // Below them the open windows, the active one checked, as in every MDI program.
  connect(window, &QMenu::aboutToShow, this, [this, window] { FillWindowList(window); });
}

void TMainForm::CreateHelpMenu() {
  QMenu* help = menuBar()->addMenu("&Help");
  help->setObjectName("Help1");
  QAction* guide = AddAction(help, "&User guide", "UserGuide1");
  guide->setShortcut(QKeySequence::HelpContents);
  connect(guide, &QAction::triggered, this, [this] { ShowHelp(); });
  connect(AddAction(help, "&About...", "About1"), &QAction::triggered, this,
          &TMainForm::About1Click);
}

THelpForm* TMainForm::ShowHelp(const QString& topic) {
  if (helpForm.isNull()) {
    helpForm = new THelpForm(*this);
    AddChildWindow(helpForm)->show();
  }
  if (auto* sub = qobject_cast<QMdiSubWindow*>(helpForm->parentWidget())) {
    if (sub->isMinimized()) sub->showNormal();
    mdiArea->setActiveSubWindow(sub);
    sub->raise();
  }
  helpForm->ShowTopic(topic);
  return helpForm;
}

void TMainForm::Open1Click() {
  if (RefuseIfBusy()) return;
  if (!fileOpener) {
    Notify("Opening files is not available in this build");
    return;
  }
  OpenFiles(QFileDialog::getOpenFileNames(this, "Open"));
}

void TMainForm::OpenFolder1Click() {
  if (RefuseIfBusy()) return;
  OpenFolderDialog dialog(this);
  if (dialog.exec() != QDialog::Accepted) return;
  RunOpenFolder(dialog.FolderEdit()->text(), dialog.FilterEdit()->text());
}

void TMainForm::RunOpenFolder(const QString& folderText, const QString& mask) {
  if (RefuseIfBusy()) return;
  const std::string folder = WithTrailingSeparator(folderText.toStdString());
  const std::vector<std::string> files = FilesMatching(folder, mask.toStdString());
  int opened = 0;
  if (!files.empty() && fileOpener) {
    if (QWidget* editor = NewEditorWindow(QString::fromStdString("Files from " + folder))) {
      BusyGuard busy(*this);
      ProgressScope bar(*this, static_cast<int>(files.size()), "Reading files...");
      for (std::size_t i = 0; i < files.size(); ++i) {
        ShowStatus("Reading file " + std::to_string(i + 1), true, true);
        if (cancelRequested()) break;
        if (fileOpener(*this, QString::fromStdString(files[i]), editor)) ++opened;
      }
    }
  }
  Notify("Opened " + std::to_string(opened) + " files");
}

void TMainForm::Close1Click() {
  if (RefuseIfBusy()) return;
  if (QMdiSubWindow* sub = mdiArea->activeSubWindow()) sub->close();
}

void TMainForm::ColorItemClick(int slot) {
  if (RefuseIfBusy() || slot < 0 || slot >= kColorSchemeSlots) return;
  const std::int32_t old = settings.colors[static_cast<std::size_t>(slot)];
  const QColor chosen = QColorDialog::getColor(QColor(RedOf(old), GreenOf(old), BlueOf(old)), this);
  if (chosen.isValid())
    settings.colors[static_cast<std::size_t>(slot)] =
        RgbColor(chosen.red(), chosen.green(), chosen.blue());
}

void TMainForm::ShowDatasetNumber1Click() {
  if (RefuseIfBusy()) return;
  settings.showDatasetNumber = !settings.showDatasetNumber;
  showDatasetNumberAction->setText(QString("Show dataset number: ") +
                                   (settings.showDatasetNumber ? "ON" : "OFF"));
}

void TMainForm::MaxSeqPerDataset1Click() {
  if (RefuseIfBusy()) return;
  const auto n =
      ValuePrompt::Ask(this, "Max seq per dataset", "Enter max number of seq per dataset",
                       settings.maxSeqPerDataset, 1, kMaxSeqLimit);
  if (!n) return;
  settings.maxSeqPerDataset = *n;
  Notify("Max number of seq per dataset is now set to " + std::to_string(*n));
}

void TMainForm::MaxMutPerDataset1Click() {
  if (RefuseIfBusy()) return;
  const auto n =
      ValuePrompt::Ask(this, "Max mut per dataset", "Enter max number of mutations per dataset",
                       settings.maxMutPerDataset, 1000, 50000);
  if (!n) return;
  settings.maxMutPerDataset = *n;
  Notify("Max number of mutations per dataset is now set to " + std::to_string(*n));
}

void TMainForm::AlignmentWindowSize1Click() {
  if (RefuseIfBusy()) return;
  const auto n = ValuePrompt::Ask(this, "Alignment window size",
                                  "Enter window size to use for alignment of long sequences",
                                  settings.alignWindowSize, 1000, 35000);
  if (!n) return;
  settings.alignWindowSize = *n;
  Notify("Alignment window size is now set to " + std::to_string(*n));
}

void TMainForm::SwitchOffErrorReporting1Click() {
  if (RefuseIfBusy()) return;
  settings.reportErrors = !settings.reportErrors;
  errorReportingAction->setText(settings.reportErrors ? "Do NOT report errors"
                                                      : "Do report errors");
}

void TMainForm::GeneticCode1Click() {
  if (RefuseIfBusy()) return;
  if (gcodEditor->Execute(currentCode, settings.geneticCodeId) == QDialog::Accepted)
    settings.geneticCodeId = gcodEditor->ChosenTable();
}

void TMainForm::About1Click() {
  Notify("Nodrix3 " + settings.versionText +
         "\nDNA sequence data in population-genetic studies.\nFree software under the GNU GPL, "
         "version 3 or later.");
}
