// SPDX-License-Identifier: GPL-3.0-or-later
// TConcatDialog ("Concatenate sequences in the project"): which datasets are joined in which
// order, which individuals are included, and the joining options; "Ok" opens the joined
// project in a new editor window.
#pragma once
#include <QString>

#include "editor/Concatenation.h"
#include "ui/analysis/BaseDbox.h"

class QCheckBox;
class QListWidget;
class QToolButton;

class TConcatDialog : public TBaseDialogBox {
  Q_OBJECT
 public:
  explicit TConcatDialog(TMainForm& mainForm, QWidget* parent = nullptr);
  // Fills the individuals (ticked when enabled) and the datasets (all ticked), highlights the
  // project's current dataset.
  bool InitData(TDataProj* project) override;
  // The ticked names of both lists, in list order, and the boxes.
  [[nodiscard]] ConcatOptions Options() const;

  QListWidget* datasetslist = nullptr;
  QToolButton *tbSelAllds, *tbUnSelAllds, *tbInvSelDS, *tbUp, *tbDown;
  QCheckBox* cbRevComp = nullptr;
  QListWidget* clIndivids = nullptr;
  QToolButton *tbSelAllIndivids, *tbUnSelAllIndivids, *tbInvSelIndivids;
  QCheckBox* cbExIMG = nullptr;
  QCheckBox* cbSNPs = nullptr;

 protected:
  void OkButtonClick() override;

 private:
  // Refills the dataset list in project order, keeping ticks by name, and highlights `current`.
  void FillDatasets(int current);
  void DatasetHighlighted(int row);
  // Swaps the highlighted dataset with its neighbour `step` places away, in the project too.
  void MoveHighlighted(int step);
};

// The registered concatenation dialog (activated), or a new one.
TConcatDialog* NewConcatDialog(TMainForm& mainForm);

inline constexpr const char* kConcatWindowPrefix = "Concatenated sequences from project ";
