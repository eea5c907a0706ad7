// SPDX-License-Identifier: GPL-3.0-or-later
// Main window: start-up, child windows, the tool window registry and editor windows.
#include "ui/shell/CLXMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>

#include "model/DataProjUnit.h"
#include "ui/shell/GCodEditor.h"
#include "ui/shell/MessagePane.h"
#include "ui/shell/ShellEventFilter.h"
#include "ui/shell/WindowSizes.h"
#include "ui/viewers/RepUnit.h"
#include "ui/viewers/TabRepUnit.h"

namespace {
// Collects start-up notices so they are shown once the window is up, not before it exists.
class NoticeCollector final : public IMessages {
 public:
  std::vector<std::string> notices;
  void ReportError(const std::string& text) override { notices.push_back(text); }
  bool AskYesNo(const std::string&) override { return false; }
  void Notify(const std::string& text) override { notices.push_back(text); }
};
}  // namespace

TMainForm::TMainForm(const QString& programFolder, IMessages* dialogHook, QWidget* parent)
    : QMainWindow(parent), dialogs(dialogHook) {
  setWindowTitle("Nodrix3");
  setObjectName("MainForm");
  settings.programFolder =
      (programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder)
          .toStdString();

  mdiArea = new QMdiArea(this);
  mdiArea->setObjectName("MdiArea");
  mdiArea->setBackground(QColor(128, 128, 128));
  messagePane = new MessagePane(this);
  splitter = new QSplitter(Qt::Vertical, this);
  splitter->addWidget(mdiArea);
  splitter->addWidget(messagePane);
  splitter->setStretchFactor(0, 4);
  splitter->setStretchFactor(1, 1);
  splitter->setChildrenCollapsible(false);
  messagePane->hide();
  setCentralWidget(splitter);
  connect(messagePane, &MessagePane::hideRequested, this, &TMainForm::HideMessagesClick);

  statusLabel = new QLabel(this);
  statusLabel->setObjectName("StatusLabel");
  statusBar()->addWidget(statusLabel, 1);
  progressBar = new QProgressBar(this);
  progressBar->setObjectName("ProgressBar");
  progressBar->setMaximumWidth(240);
  progressBar->setTextVisible(false);
  progressBar->hide();
  statusBar()->addPermanentWidget(progressBar);

  CreateMenus();

  // Shared dialogs live as long as the main window.
  gcodEditor = new TGCodEditor(this);

  NoticeCollector startup;
  settings.enzymes = LoadEnzymeList(settings.programFolder, startup);
  if (!startup.notices.empty()) {
    QTimer::singleShot(0, this, [this, notices = startup.notices] {
      for (const auto& n : notices) Notify(n);
    });
  }

  eventFilter = std::make_unique<ShellEventFilter>(*this);
  qApp->installEventFilter(eventFilter.get());
  connect(qApp, &QApplication::focusChanged, this, [this] { UpdateShortcutOwnership(); });
  connect(mdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) {
    if (w != nullptr && w->widget() != nullptr && w->widget()->property("nodrixEditor").toBool())
      currentEditor = w->widget();
    UpdateShortcutOwnership();
  });
  resize(1100, 750);
}

TMainForm::~TMainForm() {
  // The QWidget part outlives this body and moves focus and active windows as it goes: no
  // handler of this class may run then.
  if (eventFilter) qApp->removeEventFilter(eventFilter.get());
  disconnect(qApp, nullptr, this, nullptr);
  disconnect(mdiArea, nullptr, this, nullptr);
}

QMdiSubWindow* TMainForm::AddChildWindow(QWidget* child) {
  const int n = static_cast<int>(mdiArea->subWindowList().size());
  QMdiSubWindow* sub = mdiArea->addSubWindow(child);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  // Without an icon of its own a child shows the toolkit's logo.
  sub->setWindowIcon(child->windowIcon().isNull() ||
                             child->windowIcon().cacheKey() == qApp->windowIcon().cacheKey()
                         ? style()->standardIcon(QStyle::SP_FileIcon)
                         : child->windowIcon());
  sub->move(10 * n + 5, 10 * n + 5);
  WatchChildSize(sub);
  FitChildWindow(child, child->property("nodrixEditor").toBool() ? EditorWindowSize(ChildArea())
                                                                 : child->size());
  return sub;
}

QWidget* TMainForm::RaiseToolWindow(ToolKind kind) {
  QWidget* open = registry.Get(kind);
  if (open == nullptr) return nullptr;
  if (auto* sub = qobject_cast<QMdiSubWindow*>(open->parentWidget())) {
    if (sub->isMinimized() || sub->isHidden()) sub->showNormal();
    mdiArea->setActiveSubWindow(sub);
    sub->raise();
  }
  // The window's own choice of control (its last focus) when it has one.
  QWidget* target = open->focusWidget() != nullptr ? open->focusWidget() : open;
  target->setFocus(Qt::OtherFocusReason);
  return open;
}

template <typename T>
T* TMainForm::RegisteredWindow(ToolKind kind) {
  if (auto* open = qobject_cast<T*>(RaiseToolWindow(kind))) return open;
  auto* window = new T(*this);
  window->setWindowTitle(ToolKindCaption(kind));
  registry.Set(kind, window);
  connect(window, &TMDIChild::closing, this,
          [this, kind](QWidget* self) { registry.Remove(kind, self); });
  AddChildWindow(window);
  return window;
}

void TMainForm::RegisterToolWindow(ToolKind kind, TMDIChild* window) {
  registry.Set(kind, window);
  connect(window, &TMDIChild::closing, this,
          [this, kind](QWidget* self) { registry.Remove(kind, self); });
  AddChildWindow(window)->show();
}

TRepForm* TMainForm::NewRepForm() {
  const bool fresh = registry.Get(ToolKind::RepForm) == nullptr;
  auto* form = RegisteredWindow<TRepForm>(ToolKind::RepForm);
  if (fresh) {
    auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget());
    sub->move(2, 2);
    FitChildWindow(form, QSize(640, 400));
    sub->show();
  }
  return form;
}

void TMainForm::RepFormClose() {
  if (auto* w = registry.Get(ToolKind::RepForm)) w->parentWidget()->close();
}

TTabReport* TMainForm::NewTabReport() {
  const bool fresh = registry.Get(ToolKind::TabReport) == nullptr;
  auto* table = RegisteredWindow<TTabReport>(ToolKind::TabReport);
  if (fresh) {
    auto* sub = qobject_cast<QMdiSubWindow*>(table->parentWidget());
    FitChildWindow(table, QSize(560, 340));
    sub->show();
  }
  return table;
}

void TMainForm::TabReportClose() {
  if (auto* w = registry.Get(ToolKind::TabReport)) w->parentWidget()->close();
}

void TMainForm::SetEditorFactory(EditorFactory factory) {
  editorFactory = std::move(factory);
  UpdateHookActions();
}

QWidget* TMainForm::NewEditorWindow(const QString& caption) {
  if (!editorFactory) return nullptr;
  const QString name =
      caption.isEmpty() ? QString("No_name%1").arg(mdiArea->subWindowList().size() + 1) : caption;
  QWidget* editor = editorFactory(*this, name);
  if (editor == nullptr) return nullptr;
  editor->setProperty("nodrixEditor", true);
  editor->setWindowTitle(name);
  if (editor->parentWidget() == nullptr) AddChildWindow(editor)->show();
  currentEditor = editor;
  return editor;
}

void TMainForm::SetDatasetViewer(DatasetViewer viewer) {
  datasetViewer = std::move(viewer);
}

bool TMainForm::ShowDatasetsInNewEditor(std::unique_ptr<TDataProj> project,
                                        const QString& caption) {
  if (!datasetViewer || !project) return false;
  return datasetViewer(*this, std::move(project), caption);
}

void TMainForm::SetFileOpener(FileOpener opener) {
  fileOpener = std::move(opener);
  UpdateHookActions();
}

void TMainForm::UpdateHookActions() {
  newAction->setEnabled(static_cast<bool>(editorFactory));
  openAction->setEnabled(static_cast<bool>(fileOpener));
  openFolderAction->setEnabled(editorFactory && fileOpener);
}

void TMainForm::OpenFiles(const QStringList& paths) {
  for (const QString& path : paths) {
    if (!QFileInfo(path).isFile()) {
      ReportError("File not found: " + path.toStdString());
      continue;
    }
    // Without the dispatcher, say so per file rather than ignore the request.
    if (!fileOpener)
      ReportError("Cannot open " + path.toStdString() +
                  ": opening sequence files is not available in this build");
    else
      fileOpener(*this, path, nullptr);  // the dispatcher reports its own failures
  }
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (IsBusy()) {
    event->ignore();
    return;
  }
  // Child windows get their own close (an editor asks to save); one that refuses keeps the
  // program running.
  mdiArea->closeAllSubWindows();
  for (QMdiSubWindow* sub : mdiArea->subWindowList()) {
    if (sub->isVisible()) {
      event->ignore();
      return;
    }
  }
  event->accept();
}
