// SPDX-License-Identifier: GPL-3.0-or-later
// The individuals page and the editor window's project tree working on the project: cell
// edits, ticks, filters, deletion with its questions, and every kind of drop on the tree.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QMimeData>
#include <QTabWidget>
#include <QTableView>

#include "EditorFixture.h"
#include "ui/editor/IndividualsPage.h"
#include "ui/editor/ProjectTree.h"

namespace {

struct PageFixture : EditorFixture {
  TSeqGridFrm* w = nullptr;
  TDataProj* p = nullptr;
  PageFixture() {
    w = NewEditor("proj");
    p = &w->GetProject();
    AddDataset(*p, "g1", {{"s1", "A"}, {"s2", "A"}});
    AddDataset(*p, "g2", {{"t1", "A"}});
    for (const char* n : {"top", "sub"}) {
      TGroup g;
      g.grpName = n;
      p->AddGroup(g);
    }
    p->SetGroupParent("sub", "top");
    for (const char* n : {"A", "B"}) {
      TIndivid ind;
      ind.indName = n;
      p->AddIndivid(ind);
    }
    p->SetIndividGroup("B", "top");
    w->UpdateAllBits();
  }
  int Key(int individ) const { return p->Individs()[static_cast<std::size_t>(individ)].indKey; }
};

QTreeWidgetItem* Find(TProjectTree* tree, const QString& text) {
  const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
  return found.isEmpty() ? nullptr : found.front();
}

// What a drag inside the tree ends in (QDrag::exec would block the test).
void Drop(TProjectTree* tree, const QString& dragged, const QString& target) {
  tree->window()->show();  // item positions need a laid-out tree
  for (int d = 0; d < tree->DatasetsRoot()->childCount(); ++d)
    tree->DatasetsRoot()->child(d)->setExpanded(true);  // lists the sequences
  tree->expandAll();
  QTreeWidgetItem* from = Find(tree, dragged);
  QTreeWidgetItem* to = Find(tree, target);
  ASSERT_NE(from, nullptr) << dragged.toStdString();
  ASSERT_NE(to, nullptr) << target.toStdString();
  tree->setCurrentItem(from);
  tree->scrollToItem(to);
  QMimeData mime;
  mime.setData("application/x-qabstractitemmodeldatalist", {});
  QDropEvent drop(tree->visualItemRect(to).center(), Qt::MoveAction, &mime, Qt::LeftButton,
                  Qt::NoModifier);
  // Sent through the application a drop outside a real drag never arrives; the tree's handler
  // gets it directly.
  tree->dropEvent(&drop);
}

}  // namespace

TEST(TIndividualsPage, CellEditsTicksAndFiltersWorkOnTheProject) {
  PageFixture f;
  f.w->PageControl2->setCurrentWidget(f.w->IndividPage);
  TIndividualsPage* page = f.w->IndividPage;
  QAbstractItemModel* table = page->IndivGrid->model();
  QAbstractItemModel* list = page->SeqList->model();
  ASSERT_EQ(table->rowCount(), 2);
  EXPECT_EQ(table->headerData(2, Qt::Horizontal).toString(), "Comment");

  EXPECT_TRUE(table->setData(table->index(0, 2), "tall"));
  EXPECT_EQ(f.p->Individs()[0].indComment, "tall");
  EXPECT_TRUE(f.w->IsModified());
  EXPECT_TRUE(table->setData(table->index(1, 1), "A"));
  EXPECT_EQ(f.p->IndividName(1), "A~1");

  // A tick links the sequence to the individual of the current row.
  page->IndivGrid->setCurrentIndex(table->index(0, 1));
  ASSERT_EQ(list->rowCount(), 3);
  EXPECT_EQ(list->data(list->index(2, 0)).toString(), "t1_@_g2");
  EXPECT_TRUE(list->setData(list->index(2, 0), Qt::Checked, Qt::CheckStateRole));
  EXPECT_EQ(f.p->DatasetAt(1)->SeqAt(1)->individId, f.Key(0));
  EXPECT_EQ(page->SelectedLabel->text(), "Selected: 1");
  page->IndivGrid->setCurrentIndex(table->index(1, 1));
  EXPECT_EQ(list->data(list->index(2, 0), Qt::CheckStateRole).toInt(), Qt::Unchecked);
  EXPECT_EQ(page->SelectedLabel->text(), "Selected: 0");

  // The filters narrow the table and the list.
  page->GrpBox->setCurrentIndex(page->GrpBox->findText("top"));
  ASSERT_EQ(table->rowCount(), 1);
  EXPECT_EQ(table->data(table->index(0, 1)).toString(), "A~1");
  page->GrpBox->setCurrentIndex(page->GrpBox->findText("Not in any group"));
  ASSERT_EQ(table->rowCount(), 1);
  EXPECT_EQ(table->data(table->index(0, 1)).toString(), "A");
  page->DSbox->setCurrentIndex(page->DSbox->findText("g1"));
  ASSERT_EQ(list->rowCount(), 2);
  EXPECT_EQ(list->data(list->index(1, 0)).toString(), "s2");
}

TEST(TIndividualsPage, DeleteSelectedAsksThenDeletesWithTheSequences) {
  PageFixture f;
  f.p->DatasetAt(0)->SeqAt(2)->individId = f.Key(1);
  f.w->PageControl2->setCurrentWidget(f.w->IndividPage);
  TIndividualsPage* page = f.w->IndividPage;
  QAbstractItemModel* table = page->IndivGrid->model();
  page->IndivGrid->selectionModel()->select(
      QItemSelection(table->index(0, 0), table->index(1, 0)),
      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  f.dialogs.answers = {true, true, true};
  page->Action("DeleteSelected1")->trigger();
  ASSERT_GE(f.dialogs.questions.size(), 1u);
  EXPECT_EQ(f.dialogs.questions.front(), "Delete 2 selected individuals(A to B)?");
  EXPECT_EQ(f.p->IndividCount(), 0);
  EXPECT_EQ(f.p->DatasetAt(0)->Count(), 1);
  EXPECT_EQ(table->rowCount(), 0);
}

TEST(TProjectTree, EachKindOfDropChangesTheProjectAndTheTreeFollows) {
  PageFixture f;
  TProjectTree* tree = f.w->TreeView;
  Drop(tree, "s2", "g2");  // a copy into the other dataset
  ASSERT_EQ(f.p->DatasetAt(1)->Count(), 2);
  EXPECT_EQ(f.p->DatasetAt(1)->NameAt(2), "s2");
  EXPECT_EQ(Find(f.w->TreeView, "g2")->childCount(), 2);
  Drop(tree, "s1", "B");  // linked to B, so in B's group
  EXPECT_EQ(f.p->DatasetAt(0)->SeqAt(1)->individId, f.Key(1));
  EXPECT_EQ(f.p->DatasetAt(0)->SeqAt(1)->groupNum, f.p->GroupKeyByName("top"));
  Drop(tree, "t1", "sub");  // an individual named after the sequence joins the group
  EXPECT_EQ(f.p->IndividCount(), 3);
  EXPECT_EQ(f.p->Individs()[2].indGroup, f.p->GroupKeyByName("sub"));
  Drop(tree, "A", "sub");
  EXPECT_EQ(f.p->Individs()[0].indGroup, f.p->GroupKeyByName("sub"));
  Drop(tree, "A", "Individuals");
  EXPECT_EQ(f.p->Individs()[0].indGroup, -1);
  Drop(tree, "sub", "Groups");
  EXPECT_EQ(f.p->Groups()[f.p->GroupIndexByName("sub")].grpParent, -1);
  EXPECT_EQ(Find(tree, "sub")->parent(), tree->GroupsRoot());
  Drop(tree, "top", "sub");
  EXPECT_EQ(f.p->Groups()[f.p->GroupIndexByName("top")].grpParent, f.p->GroupKeyByName("sub"));
  Drop(tree, "sub", "top");  // would close a cycle
  EXPECT_EQ(f.dialogs.notices.back(), kGroupCycleNotice);
  EXPECT_EQ(f.p->Groups()[f.p->GroupIndexByName("sub")].grpParent, -1);
  EXPECT_TRUE(f.w->IsModified());
  // Group ticks mirror grpSelected.
  Find(tree, "top")->setCheckState(0, Qt::Unchecked);
  EXPECT_FALSE(f.p->Groups()[f.p->GroupIndexByName("top")].grpSelected);
}
