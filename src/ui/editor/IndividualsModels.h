// SPDX-License-Identifier: GPL-3.0-or-later
// Item models of the individuals page over the project itself: the individuals table (cells
// read on demand, edits written to the individual) and the checkable sequence list (a tick is
// the sequence's link to the chosen individual). No widget or item object per row, so tens of
// thousands of rows fill at once.
#pragma once
#include <QAbstractListModel>
#include <QAbstractTableModel>
#include <functional>
#include <string>
#include <vector>

#include "editor/IndividualsTable.h"

class TDataProj;

class TIndividModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using CellWriter = std::function<bool(int individIndex, int column, const std::string& text)>;
  explicit TIndividModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}
  // Columns and rows taken from the project again for the group filter item.
  void Reset(const TDataProj* project, int groupFilterItem);
  void SetCellWriter(CellWriter writer) { writeCell = std::move(writer); }
  [[nodiscard]] int IndividAtRow(int row) const;  // -1 for a bad row
  [[nodiscard]] const IndividColumns& Columns() const { return columns; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 private:
  const TDataProj* project = nullptr;
  IndividColumns columns;
  std::vector<int> rows;
  CellWriter writeCell;
};

class TSeqListModel : public QAbstractListModel {
  Q_OBJECT
 public:
  // Links a listed sequence to the chosen individual (key) or unlinks it (-1).
  using Linker = std::function<bool(const SeqListItem& item, int individKey)>;
  explicit TSeqListModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}
  // dsFilter: a dataset index or kAllDatasets.
  void Reset(const TDataProj* project, int dsFilter);
  void Clear();
  // The individual whose sequences are ticked (-1: none, and ticking does nothing).
  void SetIndivid(int individKey);
  void SetLinker(Linker l) { link = std::move(l); }
  [[nodiscard]] int TickedCount() const;
  [[nodiscard]] const std::vector<SeqListItem>& Items() const { return items; }
  // Ticks (links) or unticks (unlinks) every listed sequence; invert swaps each.
  enum class Bulk { All, None, Invert };
  void TickAll(Bulk how);

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 signals:
  void linksChanged();

 private:
  const TDataProj* project = nullptr;
  std::vector<SeqListItem> items;
  bool allDatasets = false;
  int individKey = -1;
  Linker link;
};
