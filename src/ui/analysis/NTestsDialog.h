// SPDX-License-Identifier: GPL-3.0-or-later
// TNTestsDialog: the "Neutrality tests" dialog.
#pragma once
#include "analysis/NeutralityAnalysis.h"
#include "ui/analysis/BaseDbox.h"

class QListWidget;

class TNTestsDialog : public TBaseDialogBox1 {
  Q_OBJECT
 public:
  explicit TNTestsDialog(TMainForm& mainForm, QWidget* parent = nullptr);
  [[nodiscard]] NeutralityRunOptions GetNeutralityOptions() const;

  QCheckBox *cbTajD, *cbFuLiDstar, *cbFuLiFstar, *cbFuLiDog, *cbWallB, *cbWallQ, *cbZnS;
  // Spectra across datasets and the ML-HKA test (its settings on the "HKA" page).
  QCheckBox *cbSFS, *cbMLHKA;
  QCheckBox *cbSWTajD, *cbSwZnS;
  QRadioButton *rbMLHKcurrent, *rbHKAall;
  QSpinBox *seSeed, *seChain, *seNumDS;
  QListWidget* dsqlist;
  QPushButton *Button2, *Button3;  // "Uncheck all", "Check" random datasets

  // Fills the reference list from the project (datasets with an enabled outgroup) and checks
  // the first seNumDS of them.
  void FillReferenceList();
  // Unchecks all, then checks seNumDS distinct entries drawn at random.
  void CheckRandomReferences();

 protected:
  AnalysisOutput RunAnalysis(const FrameOptions& options) override;
  [[nodiscard]] bool WritesFiles(const FrameOptions& options) const override;

 private:
  void MLHKAToggled(bool on);
  QList<QWidget*> hkaGroups_;
  bool checking_ = false;
};

// The open dialog of the kind (activated), or a new one registered in the main window.
TNTestsDialog* NewNTestsDialog(TMainForm& mainForm);
