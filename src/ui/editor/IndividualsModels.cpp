// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editor/IndividualsModels.h"

#include "model/DataProjUnit.h"

namespace {
QString Latin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

void TIndividModel::Reset(const TDataProj* p, int groupFilterItem) {
  beginResetModel();
  project = p;
  columns = p != nullptr ? TableColumns(*p) : IndividColumns{};
  rows = p != nullptr ? TableRows(*p, groupFilterItem) : std::vector<int>{};
  endResetModel();
}

int TIndividModel::IndividAtRow(int row) const {
  return row >= 0 && row < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(row)] : -1;
}

int TIndividModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows.size());
}

int TIndividModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : columns.Count();
}

QVariant TIndividModel::data(const QModelIndex& index, int role) const {
  if (project == nullptr || !index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
    return {};
  return Latin1(
      CellText(*project, columns, IndividAtRow(index.row()), index.column(), index.row()));
}

QVariant TIndividModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
      section >= columns.Count())
    return QAbstractTableModel::headerData(section, orientation, role);
  return Latin1(columns.headers[static_cast<std::size_t>(section)]);
}

Qt::ItemFlags TIndividModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags f = QAbstractTableModel::flags(index);
  if (index.isValid() && index.column() >= 1) f |= Qt::ItemIsEditable;
  return f;
}

bool TIndividModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || !writeCell) return false;
  if (!writeCell(IndividAtRow(index.row()), index.column(),
                 value.toString().toLatin1().toStdString()))
    return false;
  emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columns.Count() - 1));
  return true;
}

void TSeqListModel::Reset(const TDataProj* p, int dsFilter) {
  beginResetModel();
  project = p;
  allDatasets = dsFilter == kAllDatasets;
  items = p != nullptr ? SeqListItems(*p, dsFilter) : std::vector<SeqListItem>{};
  endResetModel();
}

void TSeqListModel::Clear() {
  beginResetModel();
  items.clear();
  endResetModel();
}

void TSeqListModel::SetIndivid(int key) {
  individKey = key;
  if (!items.empty())
    emit dataChanged(index(0), index(static_cast<int>(items.size()) - 1), {Qt::CheckStateRole});
}

int TSeqListModel::TickedCount() const {
  if (project == nullptr) return 0;
  int n = 0;
  for (const SeqListItem& item : items) n += SeqLinkedTo(*project, item, individKey) ? 1 : 0;
  return n;
}

void TSeqListModel::TickAll(Bulk how) {
  if (project == nullptr || individKey < 0 || !link) return;
  for (const SeqListItem& item : items) {
    const bool on = SeqLinkedTo(*project, item, individKey);
    const bool want = how == Bulk::All ? true : how == Bulk::None ? false : !on;
    if (want != on) link(item, want ? individKey : -1);
  }
  SetIndivid(individKey);
  emit linksChanged();
}

int TSeqListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(items.size());
}

QVariant TSeqListModel::data(const QModelIndex& index, int role) const {
  if (project == nullptr || !index.isValid() || index.row() >= static_cast<int>(items.size()))
    return {};
  const SeqListItem& item = items[static_cast<std::size_t>(index.row())];
  if (role == Qt::DisplayRole) return Latin1(SeqListText(*project, item, allDatasets));
  if (role == Qt::CheckStateRole)
    return SeqLinkedTo(*project, item, individKey) ? Qt::Checked : Qt::Unchecked;
  return {};
}

Qt::ItemFlags TSeqListModel::flags(const QModelIndex& index) const {
  return QAbstractListModel::flags(index) | Qt::ItemIsUserCheckable;
}

bool TSeqListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || !index.isValid() || individKey < 0 || !link ||
      index.row() >= static_cast<int>(items.size()))
    return false;
  const bool on = value.toInt() == Qt::Checked;
  if (!link(items[static_cast<std::size_t>(index.row())], on ? individKey : -1)) return false;
  emit dataChanged(index, index, {Qt::CheckStateRole});
  emit linksChanged();
  return true;
}
