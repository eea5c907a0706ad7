// SPDX-License-Identifier: GPL-3.0-or-later
// Regions grid model.
#include "ui/editor/RegionGridModel.h"

#include <utility>

RegionGridModel::RegionGridModel(RegionWorkingCopy copy, QObject* parent)
    : QAbstractTableModel(parent), copy(std::move(copy)) {}

int RegionGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : copy.RowCount();
}

int RegionGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kRegionColumnCount;
}

QVariant RegionGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  return QString::fromLatin1(copy.Cell(index.row(), index.column()));
}

QVariant RegionGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
      section >= kRegionColumnCount)
    return {};
  return QString::fromLatin1(RegionColumnHeads()[static_cast<std::size_t>(section)]);
}

Qt::ItemFlags RegionGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() >= kRegionFixedColumns && copy.RegionOfRow(index.row()) >= 0)
    f |= Qt::ItemIsEditable;
  return f;
}

bool RegionGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  if (!copy.Edit(index.row(), index.column(), value.toString().toLatin1().toStdString()))
    return false;
  emit dataChanged(this->index(index.row(), 0), this->index(index.row(), kRegionColumnCount - 1));
  return true;
}

void RegionGridModel::SetFilter(int fileCode) {
  beginResetModel();
  copy.SetFilter(fileCode);
  endResetModel();
}

int RegionGridModel::Add() {
  beginResetModel();
  const int region = copy.Add();
  endResetModel();
  return copy.RowOfRegion(region);
}

bool RegionGridModel::Remove(const std::vector<int>& rows) {
  beginResetModel();
  const bool removed = copy.Remove(rows);
  endResetModel();
  return removed;
}

bool RegionGridModel::ChangeType(int row, int choice) {
  beginResetModel();
  const bool changed = copy.ChangeType(row, choice);
  endResetModel();
  return changed;
}
