// SPDX-License-Identifier: GPL-3.0-or-later
// TIndividualsPage: the individuals page of an editor window, for now a read-only view: the
// individuals table (filtered by group), the groups, and the sequences of the current dataset
// with the individual and group each is linked to.
#pragma once
#include <QPointer>
#include <QWidget>

class QComboBox;
class QListWidget;
class QTableWidget;
class TSeqGrid3;

class TIndividualsPage : public QWidget {
  Q_OBJECT
 public:
  explicit TIndividualsPage(TSeqGrid3* grid, QWidget* parent = nullptr);
  // Fills every list from the project again.
  void Rebuild();

  QComboBox* GrpBox = nullptr;        // "All", "Not in any group", then the groups
  QTableWidget* IndivGrid = nullptr;  // #, Individ, Comment, Group, then the attributes
  QListWidget* GroupList = nullptr;
  QTableWidget* SeqList = nullptr;  // Sequence, Individ, Group

 private:
  QPointer<TSeqGrid3> grid;
  bool filling = false;
  void FillIndividuals();
};
