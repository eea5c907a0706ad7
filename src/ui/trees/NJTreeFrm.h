// SPDX-License-Identifier: GPL-3.0-or-later
// TNJTreeFrm: the neighbour-joining dialog on the analysis frame; its trees go to a new tree
// viewer.
#pragma once
#include <QPointer>
#include <vector>

#include "trees/NJTreeAnalysis.h"
#include "ui/analysis/BaseDbox.h"

class TTreeViewForm;

class TNJTreeFrm : public TBaseDialogBox1 {
  Q_OBJECT
 public:
  explicit TNJTreeFrm(TMainForm& mainForm, QWidget* parent = nullptr);
  [[nodiscard]] NJTreeOptions GetNJOptions() const;
  // Runs the analysis, shows the report, opens a tree viewer with the trees and closes.
  void OkButtonClick() override;
  // The viewer the last run opened.
  [[nodiscard]] TTreeViewForm* LastViewer() const { return lastViewer.data(); }
  [[nodiscard]] const std::vector<NamedTree>& LastTrees() const { return trees; }

  QRadioButton *rbJC, *rbKimura, *rbNumDif;
  QCheckBox *cbSDK, *cbGeneTree;

 protected:
  AnalysisOutput RunAnalysis(const FrameOptions& options) override;
  [[nodiscard]] bool WritesFiles(const FrameOptions& options) const override;

 private:
  std::vector<NamedTree> trees;
  QPointer<TTreeViewForm> lastViewer;
};

// The open dialog of the kind (activated), or a new one registered in the main window.
TNJTreeFrm* NewNJTreeFrm(TMainForm& mainForm);
