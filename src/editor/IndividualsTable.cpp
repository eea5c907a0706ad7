// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/IndividualsTable.h"

#include "common/NumberFormat.h"
#include "model/DataProjUnit.h"

namespace {

const char* const kCoordinateHeaders[] = {"LAT.", "LONG.", "ALT."};
constexpr double kUnsetCoordinate = -1.0;

template <typename Individ>
auto* Coordinate(Individ& ind, int which) {
  return which == 0 ? &ind.latitude : which == 1 ? &ind.longitude : &ind.altitude;
}

sir* FindAttribute(TIndivid& ind, const std::string& name) {
  for (sir& a : ind.attributes)
    if (SameNameIgnoringCase(a.sirName, name)) return &a;
  return nullptr;
}

}  // namespace

std::vector<std::string> GroupFilterItems(const TDataProj& project) {
  std::vector<std::string> items{"All", "Not in any group"};
  for (const TGroup& g : project.Groups()) items.push_back(g.grpName);
  return items;
}

IndividColumns TableColumns(const TDataProj& project) {
  IndividColumns c;
  c.headers = {"#", "Individ", "Comment"};
  const TIndivid* widest = nullptr;
  for (const TIndivid& ind : project.Individs()) {
    if (widest == nullptr || ind.attributes.size() > widest->attributes.size()) widest = &ind;
    if (ind.latitude != kUnsetCoordinate || ind.longitude != kUnsetCoordinate ||
        ind.altitude != kUnsetCoordinate)
      c.coordinates = true;
  }
  if (c.coordinates)
    for (const char* h : kCoordinateHeaders) c.headers.emplace_back(h);
  if (widest != nullptr)
    for (const sir& a : widest->attributes) c.headers.push_back(a.sirName);
  return c;
}

std::vector<int> TableRows(const TDataProj& project, int groupFilterItem) {
  std::vector<int> rows;
  const int groupKey = groupFilterItem >= kGroupFilterFirstGroup
                           ? project.GroupKeyAt(groupFilterItem - kGroupFilterFirstGroup)
                           : -1;
  const auto& individs = project.Individs();
  rows.reserve(individs.size());
  for (int i = 0; i < static_cast<int>(individs.size()); ++i) {
    const int g = individs[static_cast<std::size_t>(i)].indGroup;
    const bool inGroup = g != -1 && project.GroupIndexByKey(g) >= 0;
    if (groupFilterItem == kGroupFilterNone && inGroup) continue;
    if (groupFilterItem >= kGroupFilterFirstGroup && (!inGroup || g != groupKey)) continue;
    rows.push_back(i);
  }
  return rows;
}

std::string CellText(const TDataProj& project, const IndividColumns& columns, int individIndex,
                     int column, int tableRow) {
  if (individIndex < 0 || individIndex >= project.IndividCount() || column < 0 ||
      column >= columns.Count())
    return {};
  const TIndivid& ind = project.Individs()[static_cast<std::size_t>(individIndex)];
  if (column == 0) return std::to_string(tableRow + 1);
  if (column == 1) return ind.indName;
  if (column == 2) return ind.indComment;
  if (column < columns.FirstAttribute()) {
    const double v = *Coordinate(ind, column - 3);
    return v == kUnsetCoordinate ? std::string() : FormatReal(v);
  }
  const std::string& name = columns.headers[static_cast<std::size_t>(column)];
  for (const sir& a : ind.attributes)
    if (SameNameIgnoringCase(a.sirName, name)) return a.sirText;
  return {};
}

double AttributeNumber(const std::string& text) {
  return ParseReal(text).value_or(kNotANumberValue);
}

bool EditCell(TDataProj& project, const IndividColumns& columns, int individIndex, int column,
              const std::string& text) {
  TIndivid* ind = project.IndividAt(individIndex);
  if (ind == nullptr || column < 1 || column >= columns.Count()) return false;
  if (column == 1) return project.RenameIndivid(individIndex, text);
  if (column == 2) {
    ind->indComment = text;
    return true;
  }
  if (column < columns.FirstAttribute()) {
    if (text.empty()) {
      *Coordinate(*ind, column - 3) = kUnsetCoordinate;
      return true;
    }
    const auto v = ParseReal(text);
    if (!v) return false;
    *Coordinate(*ind, column - 3) = *v;
    return true;
  }
  const std::string& name = columns.headers[static_cast<std::size_t>(column)];
  sir* a = FindAttribute(*ind, name);
  if (a == nullptr) {
    a = &ind->attributes.Mut().emplace_back(sir{name, "", 0, 0.0});
  }
  a->sirText = text;
  a->sirReal = AttributeNumber(text);
  return true;
}

std::vector<SeqListItem> SeqListItems(const TDataProj& project, int dsFilter) {
  std::vector<SeqListItem> items;
  for (int d = 0; d < project.DatasetCount(); ++d) {
    if (dsFilter != kAllDatasets && d != dsFilter) continue;
    const TDataSeq& ds = *project.DatasetAt(d);
    items.reserve(items.size() + static_cast<std::size_t>(ds.Count()));
    for (int r = 1; r <= ds.Count(); ++r) items.push_back({d, r});
  }
  return items;
}

std::string SeqListText(const TDataProj& project, const SeqListItem& item, bool allDatasets) {
  const TDataSeq* ds = project.DatasetAt(item.dsIndex);
  if (ds == nullptr || ds->SeqAt(item.row) == nullptr) return {};
  return allDatasets ? ds->NameAt(item.row) + "_@_" + ds->dsName : ds->NameAt(item.row);
}

bool SeqLinkedTo(const TDataProj& project, const SeqListItem& item, int individKey) {
  const TDataSeq* ds = project.DatasetAt(item.dsIndex);
  const TSeq* s = ds != nullptr ? ds->SeqAt(item.row) : nullptr;
  return s != nullptr && individKey >= 0 && s->individId == individKey;
}

bool LinkSeq(TDataProj& project, const SeqListItem& item, int individKey) {
  TDataSeq* ds = item.dsIndex >= 0 && item.dsIndex < project.DatasetCount()
                     ? project.DatasetAt(item.dsIndex)
                     : nullptr;
  TSeq* s = ds != nullptr ? ds->SeqAt(item.row) : nullptr;
  if (s == nullptr) return false;
  const int index = individKey < 0 ? -1 : project.IndexOfKey(individKey);
  if (individKey >= 0 && index < 0) return false;
  s->individId = index < 0 ? -1 : individKey;
  s->groupNum = index < 0 ? -1 : project.GroupKeyOfIndivid(index);
  ds->InvalidateMutHolders();
  return true;
}
