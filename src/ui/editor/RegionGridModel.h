// SPDX-License-Identifier: GPL-3.0-or-later
// The table model of the sequence properties' regions grid over a working copy of the regions.
// Cells are computed when the view asks, so a long region list fills at once, and an edit
// rewrites only the row it changed.
#pragma once
#include <QAbstractTableModel>
#include <vector>

#include "editor/RegionTable.h"

class RegionGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  RegionGridModel(RegionWorkingCopy copy, QObject* parent = nullptr);

  [[nodiscard]] const RegionWorkingCopy& Copy() const { return copy; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // The buttons and the filter; each refills the rows.
  void SetFilter(int fileCode);
  int Add();  // returns the grid row of the new region, -1 when the filter hides it
  bool Remove(const std::vector<int>& rows);
  bool ChangeType(int row, int choice);

 private:
  RegionWorkingCopy copy;
};
