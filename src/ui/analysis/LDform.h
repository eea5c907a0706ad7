// SPDX-License-Identifier: GPL-3.0-or-later
// TLDform: the "Analyse LD" dialog.
#pragma once
#include "analysis/NeutralityAnalysis.h"
#include "ui/analysis/BaseDbox.h"

class QDoubleSpinBox;

class TLDform : public TBaseDialogBox1 {
  Q_OBJECT
 public:
  explicit TLDform(TMainForm& mainForm, QWidget* parent = nullptr);
  [[nodiscard]] LDRunOptions GetLDOptions() const;
  // "...": a save dialog for the pairwise file.
  void ChoosePairwiseFile();

  QCheckBox *cbD, *cbDprim, *cbR, *cbChi2, *cbZnS, *cbWallBQ;
  QRadioButton *rbDoAll, *rbDoWin, *rbNoPairwiseLD, *rbVertical, *rbXtab;
  QSpinBox *seWinSize, *distBinSize, *minSNPfreq, *winsz, *wincr;
  QCheckBox *cbLD, *cbAvrR2, *cbLDTestAsm, *cbSplit;
  QLineEdit* LDFileName;
  QPushButton* LDFileButton;
  QDoubleSpinBox* splitCoef;

 protected:
  AnalysisOutput RunAnalysis(const FrameOptions& options) override;
  [[nodiscard]] bool WritesFiles(const FrameOptions& options) const override;

 private:
  // What choosing a pairwise radio button does to the output controls.
  void PairwiseChoiceChanged();
};

// The open dialog of the kind (activated), or a new one registered in the main window.
TLDform* NewLDform(TMainForm& mainForm);
