// SPDX-License-Identifier: GPL-3.0-or-later
// TPopSubdivDbox: the "Analyse population subdivision" dialog.
#pragma once
#include "analysis/PopStrucDBox.h"
#include "ui/analysis/BaseDbox.h"

class TPopSubdivDbox : public TBaseDialogBox1 {
  Q_OBJECT
 public:
  explicit TPopSubdivDbox(TMainForm& mainForm, QWidget* parent = nullptr);
  [[nodiscard]] PopSubdivOptions GetSubdivOptions() const;

  QCheckBox *cbFst, *cbKst, *cbDst, *cbNm, *cbDxy, *cbDa, *cbSfix;
  QCheckBox *cbperm, *cbSplit, *cbFixedSeed;
  QSpinBox *pruns, *thrsh, *seSeed;
  QRadioButton *swFst, *swDxy, *swDa, *swSfx;

 protected:
  AnalysisOutput RunAnalysis(const FrameOptions& options) override;
  [[nodiscard]] bool WritesFiles(const FrameOptions& options) const override;
};

// The open dialog of the kind (activated), or a new one registered in the main window.
TPopSubdivDbox* NewPopSubdivDbox(TMainForm& mainForm);
