// SPDX-License-Identifier: GPL-3.0-or-later
// TSeqGridFrm: the sequence editor window, one per open project. Left the project tree, right
// the sequence page (grid, sliders, trace pane, sequence status bar) and the individuals page;
// its menus gather what a command needs and hand it to the window-free editor commands.
#pragma once
#include <QKeySequence>
#include <QPointer>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "io/Dispatcher.h"
#include "model/DataProjUnit.h"
#include "ui/shell/CLXChildWin.h"
#include "ui/shell/OutputFolderChoice.h"

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QMenuBar;
class QScrollBar;
class QSlider;
class QStatusBar;
class QTabWidget;
class QTimer;
class QToolBar;
class TChromBox;
class TProjectTree;
class TIndividualsPage;
class TSeqGrid3;
struct EditorContext;

class TSeqGridFrm : public TMDIChild {
  Q_OBJECT
 public:
  explicit TSeqGridFrm(TMainForm& mainForm, QWidget* parent = nullptr);
  ~TSeqGridFrm() override;

  // Published operations other windows call.
  void AddDataSeq(std::unique_ptr<TDataSeq> dataset);  // added (unique name) and shown
  // Takes over a whole project built elsewhere (an analysis's datasets) and shows it.
  void AdoptProject(std::unique_ptr<TDataProj> project);
  void AddSequence(std::unique_ptr<TSeq> seq);  // appended to the current dataset
  void AddNewSeq();                             // "Sequence_" + (rows + 1), empty
  void UpdateAllBits();  // colours, fit, tree, status bars and caption renewed
  void SortSeq();
  void SpliceOutFReg(int kind, bool allBut);
  [[nodiscard]] bool SeqEmpty() const;  // no current dataset, or one without rows
  bool GetIndivid(int index, TIndivid& out) const;
  [[nodiscard]] int IndivCount() const;
  [[nodiscard]] TDataProj& GetProject();
  [[nodiscard]] const TDataProj& GetProject() const;

  // What the open dispatcher fills: the window's project with its caption and lock.
  [[nodiscard]] OpenWindow& Target();
  QString filePath;  // the file the window was opened from or last saved as
  // What a project file keeps of the grid: taken when saving, applied after reading one.
  [[nodiscard]] GridFileSettings GridSettings() const;
  void ApplyGridSettings();
  [[nodiscard]] bool IsModified() const;
  void SetModified(bool on);

  // Runs a window-free command on this window: builds its context, then shows what it did
  // (system clipboard text, modified mark, renewed display). Commands that change letters or
  // regions (`edits`) do nothing while the grid is locked. False when it did not run or failed.
  bool RunCommand(const std::function<bool(EditorContext&)>& command, bool edits);

  // A window that works on this window's project (analysis dialogs): it is closed before the
  // project goes.
  void KeepWithProject(QWidget* dependent);

  // File > Filter once the file is chosen: nameFilter 1 reads only the datasets whose names
  // the project has, 2 only the others. Nothing is read while the grid is locked.
  void FilterOpenFile(const QString& path, int nameFilter);

  // The dataset caption of the group box (Dataset: [n] name).
  [[nodiscard]] QString DatasetCaption() const;
  [[nodiscard]] QString StatusPanelText(int panel) const;     // StatusBar1, panels 0..9
  [[nodiscard]] QString SeqStatusPanelText(int panel) const;  // StatusBar2, panels 0..6
  // Where this window's files with fixed or default names go: the folder of its file, else the
  // folder the user picks, asked once per window. None when the user declines to pick one.
  [[nodiscard]] std::optional<std::string> OutputFolder();

  // A menu item by its object name (tests and the main window's shortcut ownership).
  [[nodiscard]] QAction* Action(const char* objectName) const;

  // Components, named as the window description names them.
  QTabWidget* PageControl2 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  TProjectTree* TreeView = nullptr;
  QToolBar* ToolBar1 = nullptr;
  QToolBar* ToolBar2 = nullptr;
  QSlider* ZoomSlider = nullptr;
  QGroupBox* GridBox = nullptr;
  QSlider* rowheightSlider = nullptr;
  TSeqGrid3* SeqGrid = nullptr;
  QSlider* NameWidthSlider = nullptr;
  QScrollBar* ScrollBar1 = nullptr;
  QGroupBox* ChromGroup = nullptr;
  TChromBox* ChromBox = nullptr;
  QSlider* XScale = nullptr;
  QSlider* YScale = nullptr;
  QStatusBar* StatusBar2 = nullptr;
  QTimer* CursorTimer = nullptr;
  TIndividualsPage* IndividPage = nullptr;
  QMenuBar* MenuBar = nullptr;
  QMenu* PopupMenu1 = nullptr;  // the grid's pop-up menu

 protected:
  // A modified project asks Yes/No/Cancel; a cancelled or failed save keeps the window open.
  void closeEvent(QCloseEvent* event) override;

 private:
  std::unique_ptr<OpenWindow> target;
  std::array<QLabel*, 10> statusPanels{};
  std::array<QLabel*, 7> seqPanels{};
  bool updating = false;
  std::vector<QPointer<QWidget>> dependents;
  QString lastFind, lastReplace;  // the find dialogs open with the last texts
  OutputFolderChoice outputFolder;

  void BuildSequencePage(QWidget* page);
  void BuildStatusBars();
  void UpdateStatusBars();
  void UpdateSeqStatus();
  void ShowDataset(int index);
  void ShowRow(int dsIndex, int row);

  // Menus (EditorMenus.cpp); handlers of the items live in EditorCommands.cpp.
  void CreateMenus();
  void CreateNewMenu();
  void CreateFileMenu();
  void CreateEditMenu();
  void CreateViewMenu();
  void CreateAlignMenu();
  void CreateSequenceMenu();
  void CreateRegionMenu(QMenu* sequence);
  void CreateDatasetMenu();
  void CreateProjectMenu();
  void CreateReportsMenu();
  void CreateOptionsMenu();
  void CreatePopupMenu();
  // An item of a menu with its caption, object name and shortcut; without a handler it stays
  // disabled (the window or command it needs does not exist yet).
  QAction* Item(QMenu* menu, const QString& caption, const char* objectName,
                std::function<void()> handler = {}, const QKeySequence& key = {});
  // An item that runs a window-free command.
  QAction* Command(QMenu* menu, const QString& caption, const char* objectName,
                   std::function<bool(EditorContext&)> command, bool edits,
                   const QKeySequence& key = {});

  // Handlers that need more than a command call.
  void Open1Click();
  void Save1Click();
  void FilterOpen(int nameFilter);
  void PasteText1Click();
  void FindSeq1Click();
  void FindSeqName1Click();
  void FindDataSeq1Click();
  void ReplaceSeq1Click();
  void ReplaceSeqName1Click();
  void ReplaceDSName1Click();
  void AssignSNP1Click();
  void AssignIndel1Click();
  void SetPloidy1Click();
  void ShortSequences1Click();
  void ProjShortSequences1Click();
  void ProjLongSequences1Click();
  void DatasetsWithFewSeq1Click();
  void DatasetsWithManySeq1Click();
  void RevComplAllToForward1Click();
  // Project tools and file reports (ProjectToolCommands.cpp).
  void Concatenateseq1Click();
  void Resolveambiguoussites1Click();
  void Splitlongsequences1Click();
  void Functionalregions3Click();
  void CDS2Click();
  void SNPsreport1Click();
  // Scrolls the grid so that the cursor's column is in the window.
  void ShowCursorColumn();
  void ColorItemClick(int slot);
  void Font1Click();
  void SetStandardView(bool dotted);
};

// The editor window shown in a main-window child, or nullptr.
TSeqGridFrm* AsSeqGridFrm(QWidget* w);
