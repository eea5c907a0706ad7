// SPDX-License-Identifier: GPL-3.0-or-later
// The neighbour-joining dialog: model, standard deviations, gene-tree file and bootstrap on
// the frame's pages.
#include "ui/trees/NJTreeFrm.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMdiSubWindow>
#include <QPointer>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "model/DataProjUnit.h"
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
  // A cancelled run shows no tree at all rather than the part that was built.
  if (LastOutput().cancelled) {
    trees.clear();
    statusBar->showMessage("Cancelled: no tree was built");
    return;
  }
  TTreeViewForm* viewer = OpenTreeViewForm(MainForm());
  viewer->ClearTrees();
  for (const NamedTree& t : trees) viewer->AddTree(t.name, t.text, true);
  viewer->SelectTree(1);
  // The trees are drawn rooted on the project's outgroup, when it has one, and sized to the
  // window once it is laid out.
  std::vector<std::string> outgroup;
  for (int d = 0; d < project->DatasetCount(); ++d) {
    const TDataSeq& ds = *project->DatasetAt(d);
    for (int r = 1; r <= ds.Count(); ++r)
      if (project->IsOutgroup(ds, r)) outgroup.push_back(ds.NameAt(r));
  }
  viewer->SetOutgroup(outgroup);
  if (QWidget* window = viewer->parentWidget()) {
    const QSize area = MainForm().ChildArea();
    MainForm().FitChildWindow(window, QSize(area.width() * 2 / 3, area.height()));
  }
  QTimer::singleShot(0, viewer, [viewer = QPointer<TTreeViewForm>(viewer)] {
    if (viewer) viewer->FitToWindow();
  });
  lastViewer = viewer;
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->close();
}

TNJTreeFrm* NewNJTreeFrm(TMainForm& mainForm) {
  if (auto* open = qobject_cast<TNJTreeFrm*>(mainForm.RaiseToolWindow(ToolKind::NJTreeFrm)))
    return open;
  auto* dialog = new TNJTreeFrm(mainForm);
  mainForm.RegisterToolWindow(ToolKind::NJTreeFrm, dialog);
  return dialog;
}
