// SPDX-License-Identifier: GPL-3.0-or-later
// The individuals table and the sequence list of the individuals page without the page: which
// columns and rows the group filter shows, the text of each cell, cell edits written to the
// project, and the sequence items of the dataset filter with their links to an individual.
#pragma once
#include <string>
#include <vector>

class TDataProj;

// Items of the group filter ("From group:"): "All", "Not in any group", then the group names.
constexpr int kGroupFilterAll = 0;
constexpr int kGroupFilterNone = 1;
constexpr int kGroupFilterFirstGroup = 2;  // item kGroupFilterFirstGroup + g is group index g
std::vector<std::string> GroupFilterItems(const TDataProj& project);

// Columns: 0 "#", 1 "Individ", 2 "Comment"; then "LAT.", "LONG.", "ALT." while any individual
// has a coordinate set (so they are written out and read back like the other columns); then
// one column per attribute name of the individual with the most attributes, in its order.
struct IndividColumns {
  std::vector<std::string> headers;
  bool coordinates = false;
  [[nodiscard]] int Count() const { return static_cast<int>(headers.size()); }
  [[nodiscard]] int FirstAttribute() const { return coordinates ? 6 : 3; }
};
IndividColumns TableColumns(const TDataProj& project);

// Indexes of the individuals the filter shows, in project order.
std::vector<int> TableRows(const TDataProj& project, int groupFilterItem);

// The cell as shown and exported: "#" is tableRow + 1; a coordinate left at its default -1 and
// an attribute the individual lacks are empty.
std::string CellText(const TDataProj& project, const IndividColumns& columns, int individIndex,
                     int column, int tableRow);

// Writes an edited cell to the individual: the name (made unique), the comment, a coordinate
// (empty text: unset; refused when not a number) or the attribute's text with its number read
// again (-999999999.0 when the text is none). False when nothing could be written.
bool EditCell(TDataProj& project, const IndividColumns& columns, int individIndex, int column,
              const std::string& text);

// The numeric value an attribute text stands for.
constexpr double kNotANumberValue = -999999999.0;
double AttributeNumber(const std::string& text);

// A sequence of the list: its dataset (0-based) and row.
struct SeqListItem {
  int dsIndex = 0;
  int row = 0;
};
constexpr int kAllDatasets = -1;
// Every row of the chosen dataset, or of all datasets in order for kAllDatasets.
std::vector<SeqListItem> SeqListItems(const TDataProj& project, int dsFilter);
// The item's text: the sequence name, + "_@_" + the dataset name when all datasets are listed.
std::string SeqListText(const TDataProj& project, const SeqListItem& item, bool allDatasets);
// True when the item's sequence is linked to the individual.
bool SeqLinkedTo(const TDataProj& project, const SeqListItem& item, int individKey);
// Links the item's sequence to the individual (its group follows), or unlinks it with -1.
bool LinkSeq(TDataProj& project, const SeqListItem& item, int individKey);
