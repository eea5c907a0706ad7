// SPDX-License-Identifier: GPL-3.0-or-later
// TGCContentForm: the "Composition analysis" dialog.
#pragma once
#include "analysis/GCcontentUnit.h"
#include "ui/analysis/BaseDbox.h"

class TGCContentForm : public TBaseDialogBox1 {
  Q_OBJECT
 public:
  explicit TGCContentForm(TMainForm& mainForm, QWidget* parent = nullptr);
  [[nodiscard]] CompositionOptions GetCompositionOptions() const;

  QCheckBox *cbGCmut, *cbNnuc, *cbGCstat, *cbNpair, *cbCpG;
  // Shown as the dialog always had them; no computation reads them, so they stay disabled.
  QCheckBox *cbSW_GC, *cbSW_CpG, *cbExcludeOutg;

 protected:
  AnalysisOutput RunAnalysis(const FrameOptions& options) override;
};

// The open dialog of the kind (activated), or a new one registered in the main window.
TGCContentForm* NewGCContentForm(TMainForm& mainForm);
