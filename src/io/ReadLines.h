// SPDX-License-Identifier: GPL-3.0-or-later
// What the SAM, MAQ and Eland readers share: tab-separated fields, the progress of a line-by-line
// pass, placing a read by its position, and the datasets the reads of each reference go to.
#pragma once
#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/Services.h"

class TSeq;
class TDataSeq;
class TDataProj;

// The first fields of a tab-separated line; fields beyond the line are empty.
template <std::size_t N>
std::array<std::string_view, N> TabFields(std::string_view line) {
  std::array<std::string_view, N> fields{};
  std::size_t start = 0;
  for (std::size_t k = 0; k < N; ++k) {
    const std::size_t tab = line.find('\t', start);
    fields[k] =
        line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  return fields;
}

// The bar of a reader that steps every 1000th line: file size / (first line length x 1000),
// at least 1; the first line is the first that is not empty, so an empty one never divides.
class LineProgress {
 public:
  LineProgress(IProgress& progress, std::string_view text, const std::string& startStatus,
               std::string lineStatus);
  void AtLine(int lineNumber) {
    if (lineNumber % 1000 == 0)
      bar_.ShowStatus(lineStatus_ + std::to_string(lineNumber), true, true);
  }

 private:
  static int BarSize(std::string_view text);
  ProgressScope scope_;
  IProgress& bar_;
  std::string lineStatus_;
};

// Position v (1-based) of the read's first letter: columnShift v - 1, or, for v below 1, the
// letters that would lie in columns v..0 are removed (the clip and insertion marks follow them).
void PlaceByPosition(TSeq& read, long long v);

// The dataset of each reference name, found once per name: an existing dataset of that name,
// else (unless referencesOnly) a new one. Reads wait per dataset and are appended in one go.
class ReadTargets {
 public:
  struct Target {
    TDataSeq* ds = nullptr;
    std::vector<std::unique_ptr<TSeq>> reads;
  };
  ReadTargets(TDataProj& proj, bool referencesOnly, bool emptyNameMakesDataset);
  // nullptr when reads of this reference are not taken.
  Target* For(std::string_view referenceName);
  // Appends the waiting reads of every dataset used, renumbers its ids and, with linkMates,
  // links its mate pairs. Returns the number of reads appended.
  int Finish(bool linkMates);

 private:
  TDataProj& proj_;
  bool referencesOnly_, emptyNameMakesDataset_;
  std::unordered_map<std::string, Target*> byName_;
  std::unordered_map<const TDataSeq*, Target> byDataset_;
  std::vector<Target*> order_;  // datasets in order of first use
  std::string lastName_;
  Target* last_ = nullptr;
};
