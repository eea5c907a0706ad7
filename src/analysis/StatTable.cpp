// SPDX-License-Identifier: GPL-3.0-or-later
// The per-dataset statistics table: named values per group row, filled by the analyses.
#include <algorithm>
#include <cctype>

#include "analysis/MutHold.h"
#include "model/Datasequnit.h"

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

// A row whose names run ahead of its values (a header fixed by the first group) only takes the
// value its next column is named for, so no value ever lands under the wrong header.
bool AddStat(TDataSeq& ds, int row, const std::string& columnName, double value, bool isInt) {
  if (row < 0) return false;
  const auto r = static_cast<std::size_t>(row);
  if (ds.resultTexts.size() <= r) ds.resultTexts.resize(r + 1);
  if (ds.resultValues.size() <= r) ds.resultValues.resize(r + 1);
  if (ds.resultFlags.size() <= r) ds.resultFlags.resize(r + 1);
  auto& names = ds.resultTexts[r];
  auto& values = ds.resultValues[r];
  if (names.size() > values.size()) {
    if (!SameIgnoringCase(names[values.size()], columnName)) return false;
  } else if (names.size() == values.size()) {
    names.push_back(columnName);
  } else {
    return false;
  }
  values.push_back(value);
  ds.resultFlags[r].push_back(isInt);
  return true;
}

}  // namespace

bool AddIntStat(TDataSeq& ds, int row, int value, const std::string&,
                const std::string& columnName) {
  return AddStat(ds, row, columnName, static_cast<double>(value), true);
}

bool AddRealStat(TDataSeq& ds, int row, const std::string& columnName, const std::string&,
                 double value) {
  return AddStat(ds, row, columnName, value, false);
}

void ClearStats(TDataSeq& ds) {
  ds.resultTexts.clear();
  ds.resultValues.clear();
  ds.resultFlags.clear();
}
