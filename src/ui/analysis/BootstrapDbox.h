// SPDX-License-Identifier: GPL-3.0-or-later
// TBstrapDB ("Generate bootstrap replicates"): replicates of the current dataset shown in a new
// editor window.
#pragma once
#include "editor/BootstrapCopies.h"
#include "ui/analysis/BaseDbox.h"

class TBstrapDB : public TBaseDialogBox {
  Q_OBJECT
 public:
  explicit TBstrapDB(TMainForm& mainForm, QWidget* parent = nullptr);
  bool InitData(TDataProj* project) override;
  [[nodiscard]] BootstrapOptions Options() const;

  QSpinBox* repCount = nullptr;
  QCheckBox* cbDoCodons = nullptr;
  QLabel* acData = nullptr;

 protected:
  void OkButtonClick() override;
};

inline constexpr const char* kBootstrapHelp =
    "Bootstrap option allows one to bootstrap across sites\r\nSubsamplng option generates "
    "subsamples of sequences, one sequence per population.";

TBstrapDB* NewBstrapDB(TMainForm& mainForm);
