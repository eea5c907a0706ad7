// SPDX-License-Identifier: GPL-3.0-or-later
// The reader options of nodrix3-cli, read into the dispatcher's OpenOptions.
#include "ReaderOptions.h"

#include "CliCommand.h"

namespace {

// "FROM-TO" with 1 <= FROM <= TO <= 1000000000.
bool Range(const CliCommand& cmd, const std::string& name, int& from, int& to) {
  if (!cmd.IsSet(name)) return true;
  const std::string text = cmd.Value(name);
  const auto dash = text.find('-');
  int a = 0, b = 0;
  if (dash == std::string::npos || !ToInt(text.substr(0, dash), a) ||
      !ToInt(text.substr(dash + 1), b) || a < 1 || b < a || b > 1000000000) {
    cmd.UsageError("--" + name + " takes FROM-TO, 1 <= FROM <= TO <= 1000000000, not " + text);
    return false;
  }
  from = a;
  to = b;
  return true;
}

}  // namespace

void AddReaderOptions(CliCommand& cmd) {
  cmd.Add("snp-reference",
          "snp-table: the FASTA or plain file of the reference the SNP positions refer to.",
          "FILE");
  cmd.Add("headers", "snp-table, snp-table2: the first line holds column headers.");
  cmd.Add("snp-name-col", "snp-table: column of the accession names (default 2).", "N");
  cmd.Add("snp-pos-col", "snp-table: column of the SNP positions (default 3).", "N");
  cmd.Add("snp-wt-col", "snp-table: column of the wild-type (reference) letter (default 4).", "N");
  cmd.Add("snp-col", "snp-table: column of the mutant letter (default 5).", "N");
  cmd.Add("snp-offset",
          "snp-table: subtracted from each SNP position to give the reference position "
          "(default 0).",
          "N");
  cmd.Add("blast-query",
          "blast-xml: FASTA file of the full-length queries, each placed as its dataset's "
          "first row.",
          "FILE");
  cmd.Add("order-by-reference",
          "XMFA: lays the blocks along the first genome file named in the header (Yes to "
          "\"Order alignments by reference?\").");
  cmd.Add("concatenate", "XMFA, with --order-by-reference: joins the blocks of each genome.");
  cmd.Add("load-annotations",
          "XMFA: carries the annotations of each genome's GFF companion into its entries.");
  cmd.Add("lines", "Columns file: reads lines FROM to TO (default 1-100).", "FROM-TO");
  cmd.Add("columns", "Columns file: reads fields FROM to TO of each line (default 1-100).",
          "FROM-TO");
}

bool ReadReaderOptions(const CliCommand& cmd, ReaderArgs& args) {
  SnpTableOptions& snp = args.open.snpTable;
  if (cmd.IsSet("snp-reference")) snp.referencePath = cmd.Value("snp-reference");
  snp.hasHeaders = cmd.IsSet("headers");
  constexpr int kMaxColumn = 1000000;
  if (!cmd.Int("snp-name-col", snp.colName, 1, kMaxColumn) ||
      !cmd.Int("snp-pos-col", snp.colPosition, 1, kMaxColumn) ||
      !cmd.Int("snp-wt-col", snp.colWildType, 1, kMaxColumn) ||
      !cmd.Int("snp-col", snp.colSnp, 1, kMaxColumn) ||
      !cmd.Int("snp-offset", snp.positionOffset, -2000000000, 2000000000))
    return false;
  if (cmd.IsSet("blast-query")) {
    const std::string query = cmd.Value("blast-query");
    args.open.chooseOpenFile = [query](const std::string&) { return query; };
    args.yesAnswers.emplace_back("Would you like to include full length query sequences?");
  }
  const std::pair<const char*, const char*> questions[] = {
      {"order-by-reference", "Order alignments by reference?"},
      {"concatenate", "Concatenate LCBs"},
      {"load-annotations", "Load annotations"}};
  for (const auto& [option, question] : questions)
    if (cmd.IsSet(option)) args.yesAnswers.emplace_back(question);
  ColumnsRead& columns = args.open.columns;
  return Range(cmd, "lines", columns.readFrom, columns.readTo) &&
         Range(cmd, "columns", columns.colFrom, columns.colTo);
}
