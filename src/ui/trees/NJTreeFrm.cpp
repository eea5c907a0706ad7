// SPDX-License-Identifier: GPL-3.0-or-later
// The neighbour-joining dialog: model, standard deviations, gene-tree file and bootstrap on
// the frame's pages.
#include "ui/trees/NJTreeFrm.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/shell/CLXMain.h"
#include "ui/trees/ShowTreeUnit.h"
#include "ui/trees/TreeViewWindow.h"

TNJTreeFrm::TNJTreeFrm(TMainForm& mainForm, QWidget* parent) : TBaseDialogBox1(mainForm, parent) {
  setObjectName("NJTreeFrm");
  setWindowTitle(ToolKindCaption(ToolKind::NJTreeFrm));
  const NJTreeOptions d;
  auto* model = new QGroupBox("Model", analysePage);
  auto* ml = new QHBoxLayout(model);
  auto radio = [&](const char* caption, const char* name, bool on) {
    auto* b = new QRadioButton(caption, model);
    b->setObjectName(name);
    b->setChecked(on);
    ml->addWidget(b);
    return b;
  };
  rbJC = radio("Jukes-Cantor", "rbJC", d.model == DistanceModel::JukesCantor);
  rbKimura = radio("Kimura's", "rbKimura", d.model == DistanceModel::Kimura2P);
  rbNumDif = radio("Number of differences", "rbNumDif", d.model == DistanceModel::Differences);
  analyseLayout->insertWidget(0, model);
  auto* extras = new QHBoxLayout;
  cbSDK = new QCheckBox("SD(K)", analysePage);
  cbSDK->setObjectName("cbSDK");
  cbSDK->setChecked(d.showSD);
  cbGeneTree = new QCheckBox("Gene tree", analysePage);
  cbGeneTree->setObjectName("cbGeneTree");
  cbGeneTree->setChecked(d.geneTree);
  cbGeneTree->setToolTip("Append each tree to the file named in the table output + \".tree\"");
  extras->addWidget(cbSDK);
  extras->addWidget(cbGeneTree);
  extras->addStretch(1);
  analyseLayout->insertLayout(1, extras);
  // Trees come with bootstrap support here; sliding windows mean nothing for them.
  if (auto* bs = findChild<QGroupBox*>("BootstrapBox")) bs->setVisible(true);
  SetReplicatesToFile(true);
  cbDoSW->parentWidget()->setVisible(false);
  if (auto* sw = findChild<QGroupBox*>("SlidingWindowOutputBox")) sw->setVisible(false);
}

NJTreeOptions TNJTreeFrm::GetNJOptions() const {
  NJTreeOptions o;
  o.model = rbKimura->isChecked()   ? DistanceModel::Kimura2P
            : rbNumDif->isChecked() ? DistanceModel::Differences
                                    : DistanceModel::JukesCantor;
  o.showSD = cbSDK->isChecked();
  o.geneTree = cbGeneTree->isChecked();
  return o;
}

bool TNJTreeFrm::WritesFiles(const FrameOptions& options) const {
  return TBaseDialogBox1::WritesFiles(options) ||
         (cbGeneTree->isChecked() && NeedsFolder(options.tableFileName));
}

AnalysisOutput TNJTreeFrm::RunAnalysis(const FrameOptions& options) {
  NJRunOutput r = RunNJ(*project, options, GetNJOptions(), MainForm().GetServices());
  trees = std::move(r.trees);
  return std::move(r.output);
}

void TNJTreeFrm::OkButtonClick() {
  if (project == nullptr || Running()) return;
  trees.clear();
  TBaseDialogBox1::OkButtonClick();
  TTreeViewForm* viewer = OpenTreeViewForm(MainForm());
  viewer->ClearTrees();
  for (const NamedTree& t : trees) viewer->AddTree(t.name, t.text, true);
  viewer->SelectTree(1);
  lastViewer = viewer;
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->close();
}

TNJTreeFrm* NewNJTreeFrm(TMainForm& mainForm) {
  if (auto* open = qobject_cast<TNJTreeFrm*>(mainForm.ToolWindow(ToolKind::NJTreeFrm))) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(open->parentWidget())) sub->showNormal();
    return open;
  }
  auto* dialog = new TNJTreeFrm(mainForm);
  mainForm.RegisterToolWindow(ToolKind::NJTreeFrm, dialog);
  return dialog;
}
