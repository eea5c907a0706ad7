// SPDX-License-Identifier: GPL-3.0-or-later
// TDNApolymDbox: the "Analyse DNA polymorphism" dialog.
#pragma once
#include "analysis/DNApolDbox.h"
#include "ui/analysis/BaseDbox.h"

class TDNApolymDbox : public TBaseDialogBox1 {
  Q_OBJECT
 public:
  explicit TDNApolymDbox(TMainForm& mainForm, QWidget* parent = nullptr);
  [[nodiscard]] DNApolymOptions GetPolymOptions() const;

  QCheckBox *cbPi, *cbVarPi, *cbTheta, *cbVarTheta, *cbDoSWpi, *cbDoSWtheta, *cbDoSW_S, *cbDoSWHd;

 protected:
  AnalysisOutput RunAnalysis(const FrameOptions& options) override;
};

// The open dialog of the kind (activated), or a new one registered in the main window.
TDNApolymDbox* NewDNApolDbox(TMainForm& mainForm);
