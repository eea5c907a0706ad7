// SPDX-License-Identifier: GPL-3.0-or-later
// TDataSamplingForm ("Create sub-samples of the dataset"): random sub-samples of every
// dataset, each dataset's in a new editor window, and the report.
#pragma once
#include "analysis/SamplingFormUnit.h"
#include "ui/analysis/BaseDbox2.h"

class TDataSamplingForm : public TBaseDialogBox2 {
  Q_OBJECT
 public:
  explicit TDataSamplingForm(TMainForm& mainForm, QWidget* parent = nullptr);
  [[nodiscard]] SamplingOptions Options() const;
  // The report of the last run.
  [[nodiscard]] const std::string& LastReport() const { return lastReport; }

  QRadioButton *rbAll, *rbPop;
  QSpinBox *SampSizeEdit, *RunsEdit, *RSeedEdit;
  QCheckBox *cbRepeatedSamp, *cbAddOG;

 protected:
  void OkButtonClick() override;

 private:
  std::string lastReport;
};

TDataSamplingForm* NewDataSamplingForm(TMainForm& mainForm);
