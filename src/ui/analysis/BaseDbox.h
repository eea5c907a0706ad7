// SPDX-License-Identifier: GPL-3.0-or-later
// TBaseDialogBox: base of the analysis and tool dialogs (pages, Ok, Cancel, Help, status bar);
// TBaseDialogBox1: the analysis frame's pages and options, the run and the output windows.
#pragma once
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "analysis/BaseDbox1.h"
#include "common/OutputFolder.h"
#include "ui/shell/CLXChildWin.h"
#include "ui/shell/OutputFolderChoice.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStatusBar;
class QTabWidget;
class QVBoxLayout;
class TDataProj;
class TGraphForm;
class TProjectTree;
class TTabReport;

class TBaseDialogBox : public TMDIChild {
  Q_OBJECT
 public:
  explicit TBaseDialogBox(TMainForm& mainForm, QWidget* parent = nullptr);
  // Remembers the project; in every dataset without a selected sequence all become selected.
  virtual bool InitData(TDataProj* project);
  void CancelButtonClick();
  virtual void cancelpressed();
  void HelpButtonClick();
  [[nodiscard]] bool Running() const { return running; }
  // "At: " + the caption of the editor window whose project the dialog analyses.
  void SetAt(const QString& editorCaption);
  // The status bar: datasets, the current one and its sequences.
  void UpdateStatus();
  // Where the dialog's files with fixed or default names go: the folder of the editor window
  // that opened it (outputFolderSource), else a folder the dialog asks for, once. None when
  // the user picks none.
  std::optional<std::string> OutputFolder();
  std::function<std::optional<std::string>()> outputFolderSource;

  QTabWidget* pages = nullptr;
  QLabel* AtLabel = nullptr;
  QPushButton* OkButton = nullptr;
  QPushButton* CancelButton = nullptr;
  QPushButton* HelpButton = nullptr;
  QStatusBar* statusBar = nullptr;

 signals:
  // The dialog changed the project it analyses (its tree's ticks, drops and deletions).
  void projectEdited();

 protected:
  virtual void OkButtonClick() {}
  // Clears the selected flags of the project's sequences as the dialog goes.
  void closeEvent(QCloseEvent* event) override;
  QWidget* AddPage(const QString& caption);
  TDataProj* project = nullptr;
  bool running = false;

 private:
  OutputFolderChoice ownFolder;
};

class TBaseDialogBox1 : public TBaseDialogBox {
  Q_OBJECT
 public:
  explicit TBaseDialogBox1(TMainForm& mainForm, QWidget* parent = nullptr);
  bool InitData(TDataProj* project) override;
  // The options the controls hold.
  [[nodiscard]] FrameOptions GetFrameOptions() const;
  // Runs the analysis and shows its output; the output of the last run stays for callers.
  void OkButtonClick() override;
  [[nodiscard]] const AnalysisOutput& LastOutput() const { return lastOutput; }
  [[nodiscard]] TGraphForm* LastPlot() const;
  [[nodiscard]] TTabReport* LastPopTable() const;
  // Whether the run makes bootstrap replicates of whole datasets that the PHYLIP box can
  // write; where none are made the box stays disabled and says so.
  void SetReplicatesToFile(bool made);

  // Datasets, groups, individuals and sequences chosen for the analysis.
  TProjectTree* ProjectTree = nullptr;
  QCheckBox *cbS, *cbHapNum, *cbOgDiv, *cbDoSW;
  // "Do bootstrap. Replicates:" (group BootstrapBox, hidden unless an analysis uses it).
  QCheckBox* cbDoBootstrap;
  QSpinBox *swSize, *swStep, *RegFrom, *RegTo;
  QSpinBox* seBSreplicates;
  QRadioButton *rbUseAllDS, *rbUseCurDS, *rbFullLength, *rbOnlyReg;
  QRadioButton *cbAllSites, *cbSilent, *cbNonSilent;
  QCheckBox *cb1st, *cb2nd, *cb3rd, *ignoreCDS;
  QRadioButton *cbMutAll, *cbMutSil, *cbMutRepl;
  QRadioButton *cbIgnoreInd, *cbAs1mut, *cbInclInd, *cbIndOnly;
  QRadioButton *cbAmbigIgnored, *cbAmbgRemoved;
  QCheckBox *cbRepWin, *cbFileOutput, *cbListHapl, *cbTableToWin, *cbTableToFile, *cbPopOut;
  QLineEdit *OutFname, *TableFileName, *swfile;
  QCheckBox *cbTabOutNumSeq, *cbTabOutPosAnal, *cbTabOutSegrS, *cbTabOutMut;
  QCheckBox *cbPlotSW, *cbsw2file;
  QCheckBox* cbPlotDistr;  // "Stats. distribution across datasets": no analysis offers it yet
  // Bootstrap output (group BootstrapOutputBox, shown while "Do bootstrap" is checked).
  QCheckBox *doPhilipFile, *doCSVfile;
  QLineEdit *PhylipFileName, *csvFileName;

 protected:
  // The derived dialog's analysis over the project.
  virtual AnalysisOutput RunAnalysis(const FrameOptions& options) = 0;
  // After the output windows are shown: what the run built besides them (new datasets).
  virtual void AfterOutput(AnalysisOutput& /*out*/) {}
  // Whether a run with these options writes a file whose name says no folder (the output
  // folder is asked for only then).
  [[nodiscard]] virtual bool WritesFiles(const FrameOptions& options) const;
  QWidget* analysePage = nullptr;
  QVBoxLayout* analyseLayout = nullptr;

 private:
  void ShowOutput(const AnalysisOutput& out);
  AnalysisOutput lastOutput;
  QPointer<TGraphForm> lastPlot;
  QPointer<TTabReport> lastPopTable;
};
