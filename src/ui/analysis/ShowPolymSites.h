// SPDX-License-Identifier: GPL-3.0-or-later
// TShowPolymSites: the "Find polymorphic sites" dialog.
#pragma once
#include "analysis/ShowPolymSUnit.h"
#include "ui/analysis/BaseDbox.h"

class QGroupBox;

class TShowPolymSites : public TBaseDialogBox1 {
  Q_OBJECT
 public:
  explicit TShowPolymSites(TMainForm& mainForm, QWidget* parent = nullptr);
  // Also takes the caption of the current editor window, which names the new windows.
  bool InitData(TDataProj* project) override;
  [[nodiscard]] PolymSitesOptions GetPolymSitesOptions() const;
  // The caption the new windows' names are made from ("Polymorphic sites in " + caption).
  void SetSourceCaption(const QString& caption) { sourceCaption = caption; }
  [[nodiscard]] const QString& SourceCaption() const { return sourceCaption; }

  QCheckBox *cbSFS, *SNPsOnly, *cbDoubleMut, *cbSNPlist, *cbSNPrep;
  QRadioButton *rbSNPnewWin, *rbSNPsameWin;
  QGroupBox* ShowPolymIn = nullptr;
  QLineEdit* SNPrepFile = nullptr;
  QPushButton* SNPrepFileButton = nullptr;

 protected:
  AnalysisOutput RunAnalysis(const FrameOptions& options) override;
  [[nodiscard]] bool WritesFiles(const FrameOptions& options) const override;
  void AfterOutput(AnalysisOutput& out) override;

 private:
  void ShowDatasets(std::vector<std::unique_ptr<TDataSeq>>& datasets, const QString& caption);
  QString sourceCaption;
};

// The open dialog of the kind (activated), or a new one registered in the main window.
TShowPolymSites* NewShowPolymSites(TMainForm& mainForm);
