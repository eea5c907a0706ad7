// SPDX-License-Identifier: GPL-3.0-or-later
// Tab-separated files holding one sequence per column (individuals in columns, sites in
// lines), as genotype tables are exported.
//
// Each tab ends a field (empty fields between tabs count); what follows the last tab is a field
// when it is not empty. The column range is settled by the first line that has a field and
// kept for the whole file: a shorter line adds nothing to the columns it lacks, and never
// narrows or moves the range of the lines after it. Lines before the first line to read are
// skipped.
#include <algorithm>
#include <string>

#include "io/Dispatcher.h"
#include "io/IOUnit.h"
#include "io/MultiLocusFormats.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"
#include "model/Datasequnit.h"
#include "model/tsequnit.h"

namespace {

constexpr int kStepEvery = 1000;

void SplitAtTabs(std::string_view line, std::vector<std::string_view>& fields) {
  fields.clear();
  for (std::size_t tab; (tab = line.find('\t')) != std::string_view::npos;) {
    fields.push_back(line.substr(0, tab));
    line.remove_prefix(tab + 1);
  }
  if (!line.empty()) fields.push_back(line);
}

std::string ColumnName(int field) {
  return "col" + std::to_string(field);
}

}  // namespace

std::vector<ColumnText> ReadColumnTexts(std::string_view text, const ColumnsRead& options,
                                        IProgress& progress) {
  std::vector<ColumnText> columns;
  int from = 0;
  LineReader lines(text);
  std::string_view raw;
  std::string line;
  std::vector<std::string_view> fields;
  while (lines.Next(raw)) {
    const int n = lines.LineNumber();
    if (n > options.readTo) break;
    if (n % kStepEvery == 0) progress.StepProgress(true);
    if (n < options.readFrom) continue;
    line.assign(raw);
    std::replace(line.begin(), line.end(), 'Z', 'N');
    std::replace(line.begin(), line.end(), 'D', '-');
    SplitAtTabs(line, fields);
    const int count = static_cast<int>(fields.size());
    if (count == 0) continue;
    if (columns.empty()) {
      from = std::clamp(options.colFrom, 1, count);
      const int to = std::clamp(options.colTo, from, count);
      for (int f = from; f <= to; ++f) columns.push_back({ColumnName(f), {}});
    }
    for (std::size_t j = 0; j < columns.size(); ++j) {
      const int field = from + static_cast<int>(j);
      if (field > count) break;
      columns[j].letters.append(fields[static_cast<std::size_t>(field - 1)]);
    }
  }
  return columns;
}

std::string ColumnsFastaName(const std::string& path) {
  for (const char* suffix : {".fasta", "_.fasta"})
    if (!FileReadable(path + suffix)) return path + suffix;
  return path + "_~1.fasta";
}

bool OpenColumns(const std::string& path, OpenWindow& window, const ColumnsRead& options,
                 Services& services) {
  FileSource src;
  if (!src.Open(path)) {
    services.messages.Notify("Cannot open file \r\n" + path);
    return false;
  }
  ProgressScope bar(services.progress, 1000, "Reading file ...");
  const std::vector<ColumnText> columns = ReadColumnTexts(src.Bytes(), options, services.progress);
  if (columns.empty()) {
    services.messages.ReportError(path + ": no tab-separated fields in lines " +
                                  std::to_string(options.readFrom) + " to " +
                                  std::to_string(options.readTo));
    return true;
  }
  if (options.saveAsFasta) {
    const std::string fasta = ColumnsFastaName(path);
    std::string text;
    for (const ColumnText& c : columns) {
      AppendLine(text, ">" + c.name);
      AppendLine(text, c.letters);
    }
    if (SaveTextFile(fasta, text, services))
      services.messages.Notify("Sequences were saved as a FASTA file " + fasta);
  }
  if (options.openInEditor && !window.gridLocked) {
    auto ds = window.project.MakeDataset();
    const std::string name = FileNameOnly(path);
    ds->dsName = name.substr(0, name.rfind('.'));
    for (const ColumnText& c : columns) {
      auto seq = std::make_unique<TSeq>(c.name, c.letters);
      (void)ds->AddSeq(seq, true);
    }
    if (ds->Count() > 0) (void)window.project.AddDataset(ds, false);
  }
  return true;
}
