// SPDX-License-Identifier: GPL-3.0-or-later
// Comma-separated tables and name lists: the multigenic table (genes in columns, individuals
// in rows), the CSV export of one dataset and the list of dataset names.
//
// Table rows are the lines holding a comma, cut at every comma without trimming, so a
// trailing comma gives an empty last field; other lines are skipped.
#include <string>
#include <vector>

#include "io/Dispatcher.h"
#include "io/IOUnit.h"
#include "io/MultiLocusFormats.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"
#include "model/Datasequnit.h"
#include "model/tsequnit.h"

namespace {

constexpr const char* kMultigenicNotice =
    "Opening multigenic dataset in csv format:\r\nEach column corresponds to a single gene, "
    "each row (line) to a single individual.\r\nThe first line should contain gene names; the "
    "first column - individual names.\r\nE.g. the following dataset contains short sequences "
    "of three genes from two individuals:\r\n,gene1,gene2,gene3\r\n"
    "individ1,ATGCATG,TACCTTG,TTCATGCT\r\nindivid2,ATGTATA,TAGCTTG,TTCAGGCT";

std::vector<std::string_view> SplitAtCommas(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t comma; (comma = line.find(',')) != std::string_view::npos;) {
    fields.push_back(line.substr(0, comma));
    line.remove_prefix(comma + 1);
  }
  fields.push_back(line);
  return fields;
}

}  // namespace

bool OpenMultigenicCsv(const std::string& path, OpenWindow& window, Services& services) {
  services.messages.Notify(kMultigenicNotice);
  TDataProj& proj = window.project;
  proj.projName = FileNameOnly(path);
  FileSource src;
  if (!src.Open(path)) {
    services.messages.Notify("Error: File not found: " + path);
    return false;
  }
  if (window.gridLocked) return false;
  LineReader lines(src.Bytes());
  std::string_view line;
  std::vector<int> genes;  // dataset index of each gene column
  bool header = true;
  bool added = false;
  while (lines.Next(line)) {
    if (line.find(',') == std::string_view::npos) continue;
    const std::vector<std::string_view> fields = SplitAtCommas(line);
    if (header) {
      for (std::size_t k = 1; k < fields.size(); ++k) {
        proj.NewDataset();
        proj.RenameDataset(proj.CurrentIndex(), std::string(fields[k]));
        genes.push_back(proj.CurrentIndex());
      }
      header = false;
      continue;
    }
    TIndivid individ;
    individ.indName = std::string(fields[0]);
    const int key = proj.AddIndivid(std::move(individ));
    const std::string name = proj.IndividName(proj.IndividIndexByKey(key));
    const std::size_t last = std::min(fields.size() - 1, genes.size());
    for (std::size_t k = 1; k <= last; ++k) {
      if (fields[k].empty()) continue;
      auto seq = std::make_unique<TSeq>(name, std::string(fields[k]));
      seq->individId = key;
      added = proj.DatasetAt(genes[k - 1])->AddSeq(seq, true) > 0 || added;
    }
  }
  return added;
}

std::string CsvText(const TDataSeq& ds) {
  std::string out;
  if (ds.Count() == 0) return out;
  out = "pos:";
  for (const int pos : ds.SeqAt(1)->polySitePos) out += "," + std::to_string(pos);
  out += "\r\n";
  for (int r = 1; r <= ds.Count(); ++r) {
    const TSeq& s = *ds.SeqAt(r);
    out += s.seqName;
    out.reserve(out.size() + 2 * s.letters.size() + 2);
    for (const char c : s.letters) {
      out += ',';
      out += c;
    }
    out += "\r\n";
  }
  return out;
}

bool SaveCsv(const std::string& path, const TDataSeq& ds, Services& services) {
  if (ds.Count() == 0) {
    services.messages.ReportError(path + ": dataset " + ds.dsName +
                                  " holds no sequences; nothing was written");
    return false;
  }
  return SaveTextFile(path, CsvText(ds), services);
}

bool OpenDatasetNames(const ByteSource& src, TDataProj& project) {
  LineReader lines(src.Bytes());
  std::string_view line;
  bool added = false;
  while (lines.Next(line)) {
    if (line.empty()) continue;
    project.NewDataset();
    project.RenameDataset(project.CurrentIndex(), std::string(line));
    added = true;
  }
  return added;
}

std::string DatasetNamesText(const TDataProj& project) {
  std::string out;
  for (int d = 0; d < project.DatasetCount(); ++d) AppendLine(out, project.DatasetAt(d)->dsName);
  return out;
}

bool SaveDatasetNames(const std::string& path, const TDataProj& project, Services& services) {
  return SaveTextFile(path, DatasetNamesText(project), services);
}
