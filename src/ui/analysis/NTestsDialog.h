// SPDX-License-Identifier: GPL-3.0-or-later
// TNTestsDialog: the "Neutrality tests" dialog.
#pragma once
#include "analysis/NeutralityAnalysis.h"
#include "ui/analysis/BaseDbox.h"

class TNTestsDialog : public TBaseDialogBox1 {
  Q_OBJECT
 public:
  explicit TNTestsDialog(TMainForm& mainForm, QWidget* parent = nullptr);
  [[nodiscard]] NeutralityRunOptions GetNeutralityOptions() const;

  QCheckBox *cbTajD, *cbFuLiDstar, *cbFuLiFstar, *cbFuLiDog, *cbWallB, *cbWallQ, *cbZnS;
  // Spectra across datasets and the ML-HKA test: shown, not offered yet.
  QCheckBox *cbSFS, *cbMLHKA;
  QCheckBox *cbSWTajD, *cbSwZnS;

 protected:
  AnalysisOutput RunAnalysis(const FrameOptions& options) override;
};

// The open dialog of the kind (activated), or a new one registered in the main window.
TNTestsDialog* NewNTestsDialog(TMainForm& mainForm);
