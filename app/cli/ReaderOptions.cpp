// SPDX-License-Identifier: GPL-3.0-or-later
// The reader options of nodrix3-cli, read into the dispatcher's OpenOptions.
#include "ReaderOptions.h"

#include "CliCommand.h"

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
  return true;
}
