// SPDX-License-Identifier: GPL-3.0-or-later
// The tool dialog base with a project tree.
#include "ui/analysis/BaseDbox2.h"

#include <QEvent>
#include <QLabel>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "model/DataProjUnit.h"
#include "ui/editor/ProjectTree.h"

TBaseDialogBox2::TBaseDialogBox2(TMainForm& mainForm, bool treeDisplaysOnly, QWidget* parent)
    : TBaseDialogBox(mainForm, parent), displayOnly(treeDisplaysOnly) {
  auto* frameLayout = qobject_cast<QVBoxLayout*>(layout());
  auto* split = new QSplitter(Qt::Horizontal, this);
  ProjectTree = new TProjectTree(split, TreeMode::Dialog);
  ProjectTree->setObjectName("ProjectTree");
  frameLayout->removeWidget(pages);
  split->addWidget(ProjectTree);
  split->addWidget(pages);
  split->setStretchFactor(1, 2);
  frameLayout->insertWidget(0, split, 1);
  if (displayOnly) {
    // Clicks, drags and keys never reach the tree; it still scrolls.
    ProjectTree->setDragDropMode(QAbstractItemView::NoDragDrop);
    ProjectTree->viewport()->installEventFilter(this);
    ProjectTree->installEventFilter(this);
  } else {
    connect(ProjectTree, &TProjectTree::selectionFlagsChanged, this,
            &TBaseDialogBox::projectEdited);
    connect(ProjectTree, &TProjectTree::projectChanged, this, [this] {
      if (project != nullptr) ProjectTree->Rebuild(*project);
      emit projectEdited();
    });
  }
}

bool TBaseDialogBox2::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Drop:
    case QEvent::DragEnter:
      return true;
    default:
      return TBaseDialogBox::eventFilter(watched, event);
  }
}

bool TBaseDialogBox2::InitData(TDataProj* proj) {
  if (!TBaseDialogBox::InitData(proj)) return false;
  ProjectTree->Rebuild(*project);
  UpdateStatus();
  return true;
}

int TBaseDialogBox2::LongestDataset() const {
  int longest = 1;
  if (project != nullptr)
    for (int d = 0; d < project->DatasetCount(); ++d)
      longest = std::max(
          longest, static_cast<const TDataProj*>(project)->DatasetAt(d)->AlignmentLength(true));
  return longest;
}

QString TBaseDialogBox2::SourceCaption() const {
  QString at = AtLabel->text();
  return at.startsWith("At: ") ? at.mid(4) : at;
}
