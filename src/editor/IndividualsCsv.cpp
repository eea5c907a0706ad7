// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/IndividualsCsv.h"

#include <vector>

#include "common/NumberFormat.h"
#include "common/ReportText.h"
#include "common/Services.h"
#include "editor/IndividualsTable.h"
#include "io/BinarySource.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"

namespace {

void AppendRow(std::string& out, const std::vector<std::string>& cells) {
  for (std::size_t c = 0; c < cells.size(); ++c) {
    if (c > 0) out.push_back(',');
    AppendCsvCell(out, cells[c]);
  }
  out += "\r\n";
}

}  // namespace

std::string ExportIndividuals(const TDataProj& project, int groupFilterItem) {
  const IndividColumns columns = TableColumns(project);
  std::string out;
  AppendRow(out, columns.headers);
  const std::vector<int> rows = TableRows(project, groupFilterItem);
  std::vector<std::string> cells(columns.headers.size());
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (int c = 0; c < columns.Count(); ++c)
      cells[static_cast<std::size_t>(c)] =
          CellText(project, columns, rows[r], c, static_cast<int>(r));
    AppendRow(out, cells);
  }
  return out;
}

int ImportIndividuals(TDataProj& project, std::string_view text) {
  LineReader lines(text);
  std::string_view line;
  std::vector<std::string> header;
  while (header.empty() && lines.Next(line))
    if (!line.empty()) header = SplitCsvLine(line);
  if (header.empty()) return 0;
  std::vector<std::string> upper;
  for (const std::string& h : header) upper.push_back(UpperCase(h));
  const char* const coordinateHeaders[] = {"LAT.", "LONG.", "ALT."};
  int added = 0;
  while (lines.Next(line)) {
    if (line.empty()) continue;
    const std::vector<std::string> fields = SplitCsvLine(line);
    TIndivid ind;
    for (std::size_t f = 1; f < fields.size() && f < header.size(); ++f) {
      const std::string& value = fields[f];
      if (f == 1 && upper[f] == "INDIVID") {
        if (!value.empty()) ind.indName = value;
        continue;
      }
      if (f == 2 && upper[f] == "COMMENT") {
        ind.indComment = value;
        continue;
      }
      if (f >= 3 && f <= 5 && upper[f] == coordinateHeaders[f - 3]) {
        if (const auto v = ParseReal(value))
          (f == 3 ? ind.latitude : f == 4 ? ind.longitude : ind.altitude) = *v;
        continue;
      }
      if (f < 3) continue;
      ind.attributes.push_back(sir{header[f], value, 0, AttributeNumber(value)});
    }
    project.AddIndivid(std::move(ind));
    ++added;
  }
  return added;
}

int ImportIndividualsFile(TDataProj& project, const std::string& path, IMessages& messages) {
  std::string text, error;
  if (!ReadWholeFile(path, text, error)) {
    messages.ReportError(error);
    return -1;
  }
  return ImportIndividuals(project, text);
}

bool ExportIndividualsFile(const TDataProj& project, int groupFilterItem, const std::string& path,
                           IMessages& messages) {
  std::string error;
  if (!SaveFileAtomically(path, ExportIndividuals(project, groupFilterItem), error)) {
    messages.ReportError(error);
    return false;
  }
  return true;
}
