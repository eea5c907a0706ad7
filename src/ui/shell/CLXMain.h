// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: the multiple-document main window. It owns the program-wide settings, the current
// genetic code, the enzyme list and the colour scheme, shows reported problems in its message
// pane, drives the progress bar for long operations and keeps the registry of tool windows.
#pragma once
#include <QHash>
#include <QKeySequence>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/AppSettings.h"
#include "common/ColorScheme.h"
#include "common/EnzymeList.h"
#include "common/Services.h"
#include "model/GenCodUnit.h"
#include "model/tsequnit.h"
#include "ui/shell/ToolRegistry.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressBar;
class QSplitter;
class MessagePane;
class TGCodEditor;
class THelpForm;
class TRepForm;
class TMDIChild;
class TDataProj;
class TTabReport;
class ShellEventFilter;
struct FragmentOptions;

// Answer of a question that can also be cancelled (closing a modified editor window).
enum class YesNoCancel { Yes, No, Cancel };

// A dialogs hook (tests, batch runs) that also implements this answers the three-way
// questions; any other hook answers them through AskYesNo, never with Cancel.
class IYesNoCancelQuestions {
 public:
  virtual ~IYesNoCancelQuestions() = default;
  virtual YesNoCancel AskYesNoCancel(const std::string& question) = 0;
};

class TMainForm : public QMainWindow, public IMessages, public IProgress {
  Q_OBJECT
 public:
  // `programFolder`: where RENZYM.txt and outside programs are looked for (the executable's
  // folder when empty). `dialogs`, when given, answers questions and receives notices instead of
  // message boxes (tests and batch runs); it must outlive the window.
  explicit TMainForm(const QString& programFolder = {}, IMessages* dialogs = nullptr,
                     QWidget* parent = nullptr);
  ~TMainForm() override;

  [[nodiscard]] QMdiArea* MdiArea() const { return mdiArea; }
  [[nodiscard]] AppSettings& Settings() { return settings; }
  [[nodiscard]] TGenCode& GenCode() { return currentCode; }
  [[nodiscard]] ColorScheme& Colors() { return settings.colors; }
  [[nodiscard]] std::vector<renzyme>& Enzymes() { return settings.enzymes; }
  [[nodiscard]] Services& GetServices() { return services; }

  // IMessages
  void ReportError(const std::string& text) override;
  bool AskYesNo(const std::string& question) override;
  void Notify(const std::string& text) override;
  YesNoCancel AskYesNoCancel(const std::string& question);
  // IProgress
  void StartProgress(int max, const std::string& text) override;
  void StepProgress(bool processEvents) override;
  void ShowStatus(const std::string& text, bool step, bool processEvents) override;
  void EndProgress() override;
  [[nodiscard]] bool cancelRequested() const override { return cancelFlag; }
  void ClearCancel() override { cancelFlag = false; }
  // A long step takes the bar over (0..1000) until it ends, then gives it back as it was.
  void ShowStepProgress(const std::string& status, long long done, long long total) override;
  // Every 50 ms: a step of up to 50 ms between reports still answers within 100 ms.
  [[nodiscard]] int StepIntervalMs() const override { return 50; }
  void RequestCancel() { cancelFlag = true; }

  [[nodiscard]] QProgressBar* ProgressBar() const { return progressBar; }
  [[nodiscard]] QString StatusText() const;
  [[nodiscard]] MessagePane* Messages() const { return messagePane; }

  // Busy state: a BusyGuard is alive, or a progress run is between Start and End.
  [[nodiscard]] bool IsBusy() const { return busyDepth > 0 || progressActive; }
  // True (and a status hint) when a command must not start now.
  bool RefuseIfBusy();

  // Places a child window in the main window; it is deleted when it closes. It opens at the
  // size its content asks for (an editor at least two thirds of the area) within the area, or
  // at the size the user last gave a window of its kind.
  QMdiSubWindow* AddChildWindow(QWidget* child);
  // Resizes a child's frame to hold `content` (the child's own size) within the area, unless
  // the user has chosen a size for windows of its kind in this session.
  void FitChildWindow(QWidget* child, QSize content);
  void RememberChildSize(const QWidget* child, QSize frameSize);
  [[nodiscard]] QSize RememberedSize(const QWidget* child) const;  // invalid when none
  [[nodiscard]] QSize ChildArea() const;                           // the room child windows have

  // Tool window registry: New<Kind> gives the open window of the kind (activated) or a new one.
  TRepForm* NewRepForm();
  void RepFormClose();
  TTabReport* NewTabReport();
  void TabReportClose();
  [[nodiscard]] QWidget* ToolWindow(ToolKind kind) const { return registry.Get(kind); }
  // The open window of the kind brought to the front (restored when minimised) with the
  // focus in it; nullptr when none is open.
  QWidget* RaiseToolWindow(ToolKind kind);
  // Places a tool window built elsewhere (analysis dialogs) in its registry slot; the slot
  // empties when the window closes.
  void RegisterToolWindow(ToolKind kind, TMDIChild* window);

  // Editor windows are built by a factory the editor module installs; without one, "&New" is
  // disabled and NewEditorWindow gives nullptr.
  using EditorFactory = std::function<QWidget*(TMainForm&, const QString& caption)>;
  void SetEditorFactory(EditorFactory factory);
  // Caption "No_name" + (child windows + 1) when none is given; the window becomes current.
  QWidget* NewEditorWindow(const QString& caption = {});
  [[nodiscard]] QWidget* CurrentEditor() const { return currentEditor.data(); }

  // Datasets an analysis builds (the polymorphic sites of each group) open in a new editor
  // window through a viewer the editor module installs. The project carries the datasets with
  // the groups and individuals their rows refer to; its last dataset is the current one.
  // Without a viewer ShowDatasetsInNewEditor gives false and the project is dropped.
  using DatasetViewer =
      std::function<bool(TMainForm&, std::unique_ptr<TDataProj>, const QString& caption)>;
  void SetDatasetViewer(DatasetViewer viewer);
  bool ShowDatasetsInNewEditor(std::unique_ptr<TDataProj> project, const QString& caption);

  // The sequence clipboard every editor window copies to and pastes from; lives until exit.
  [[nodiscard]] std::vector<std::unique_ptr<TSeq>>& SeqClipboard() { return seqClipboard; }
  // Once a find has succeeded anywhere, finds start one letter after the cursor.
  bool findSucceeded = false;

  // The open dispatcher installs itself here: it reads one file into `editor` (or, when that
  // is nullptr, into an editor window of its own) and says whether it could. Without one,
  // "&Open" and "Open files from folder..." are disabled and named files are reported as not
  // openable.
  using FileOpener = std::function<bool(TMainForm&, const QString& path, QWidget* editor)>;
  void SetFileOpener(FileOpener opener);
  // Files named on the command line; missing files are reported in the message pane.
  void OpenFiles(const QStringList& paths);

  // Shared dialogs.
  [[nodiscard]] TGCodEditor* GCodEditor() const { return gcodEditor; }
  // The user guide at the section on `topic` (a heading's first words; empty: the start), in
  // the one guide window, opened or brought to the front.
  THelpForm* ShowHelp(const QString& topic = {});

  // Tools whose work is in the core; public so batch callers and tests can run them without
  // the file and number prompts.
  void RunFragmentFasta(const QString& path, const FragmentOptions& options);
  void RunProcFastqPE(const QString& path);
  void RunProgram1Click();
  // "Open files from folder...": every file of `folder` matching `mask` into one new editor
  // window "Files from " + folder; ends with the notice "Opened n files".
  void RunOpenFolder(const QString& folder, const QString& mask);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  friend class BusyGuard;
  friend class ShellEventFilter;
  void EnterBusy();
  void LeaveBusy();
  [[nodiscard]] bool EventPassesWhileBusy(QObject* target) const;
  void UpdateShortcutOwnership();

  void CreateMenus();
  void CreateFileMenu();
  void CreateOptionsMenu();
  void CreateToolsMenu();
  void CreateWindowMenu();
  void CreateHelpMenu();
  void FillWindowList(QMenu* windowMenu);
  void WatchChildSize(QMdiSubWindow* sub);
  QAction* AddAction(QMenu* menu, const QString& caption, const char* objectName);
  template <typename T>
  T* RegisteredWindow(ToolKind kind);

  // Menu handlers.
  void Open1Click();
  void Close1Click();
  void OpenFolder1Click();
  void UpdateHookActions();
  void ColorItemClick(int slot);
  void ShowDatasetNumber1Click();
  void MaxSeqPerDataset1Click();
  void MaxMutPerDataset1Click();
  void AlignmentWindowSize1Click();
  void SwitchOffErrorReporting1Click();
  void GeneticCode1Click();
  void FragmentFasta1Click();
  void ProcFastqPE1Click();
  void About1Click();
  void HideMessagesClick();

  AppSettings settings;
  TGenCode currentCode{"Universal"};
  Services services{*this, *this, settings, currentCode};
  IMessages* dialogs = nullptr;

  QMdiArea* mdiArea = nullptr;
  QSplitter* splitter = nullptr;
  MessagePane* messagePane = nullptr;
  QProgressBar* progressBar = nullptr;
  QLabel* statusLabel = nullptr;
  TGCodEditor* gcodEditor = nullptr;

  QAction* newAction = nullptr;
  QAction* openAction = nullptr;
  QAction* openFolderAction = nullptr;
  QAction* showDatasetNumberAction = nullptr;
  QAction* errorReportingAction = nullptr;
  std::vector<std::pair<QAction*, QKeySequence>> ownShortcuts;

  ToolWindowRegistry registry;
  EditorFactory editorFactory;
  DatasetViewer datasetViewer;
  FileOpener fileOpener;
  QPointer<QWidget> currentEditor;
  QPointer<THelpForm> helpForm;
  std::vector<std::unique_ptr<TSeq>> seqClipboard;

  QHash<QString, QSize> rememberedSizes;  // by the class of the window in the frame
  QObject* sizeWatcher = nullptr;
  std::unique_ptr<ShellEventFilter> eventFilter;
  int busyDepth = 0;
  bool progressActive = false;
  // The bar and status of the command while a step has taken them over.
  struct SavedBar {
    int min = 0, max = 0, value = 0;
    bool visible = false;
    QString status;
  };
  std::optional<SavedBar> stepSaved;
  bool cancelFlag = false;
  QPointer<QWidget> modalAtBusyStart;
};
