// SPDX-License-Identifier: GPL-3.0-or-later
// Comma-separated SNP tables. With a reference (the SNP table dialog): each SNP line gives an
// accession, a reference position and the wild-type and mutant letters; the accessions become
// rows holding the reference segment the SNPs span, with their mutant letters in place. As a
// genotype table: one individual per line, each further field one genotype ("A/G", "AG" or
// "A") shared out to the individual's two SNP rows.
//
// Fields are trimmed of blanks and double quotes; no quoted commas. Lines with too few fields,
// a position that is no integer or one that falls before the reference are passed over.
#include <algorithm>

#include "io/ByteProgress.h"
#include "io/ByteSource.h"
#include "io/ResultFormats.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"
#include "model/Datasequnit.h"

namespace {

// One SNP of the table with reference.
struct snprec {
  std::int32_t position = 0;  // in the reference, offset already subtracted
  std::string wildType, mutant, seqName;
};

std::vector<std::string> TableFields(std::string_view line) {
  std::string text(line);
  StripLineBreaks(text);
  TrimSeparators(text);
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    std::string_view f = std::string_view(text).substr(
        start, comma == std::string::npos ? std::string::npos : comma - start);
    const auto strip = [](char c) {
      return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ';' || c == '=' || c == '"';
    };
    while (!f.empty() && strip(f.front())) f.remove_prefix(1);
    while (!f.empty() && strip(f.back())) f.remove_suffix(1);
    fields.emplace_back(f);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return fields;
}

// Walks the lines of a table with the reader's progress bar and its status every 100 lines;
// the header line, when there is one, is passed over.
template <typename OnFields>
void ForEachTableLine(std::string_view text, bool hasHeaders, Services& services,
                      OnFields onFields) {
  ByteProgress bar(services.progress, text.size(), "Reading SNP file ...");
  LineReader lines(text);
  std::string_view line;
  if (hasHeaders) (void)lines.Next(line);
  std::uint64_t consumed = 0;
  while (lines.Next(line)) {
    consumed += line.size() + 1;
    if (lines.LineNumber() % 100 == 0) {
      services.progress.ShowStatus("Reading SNP file; line " + std::to_string(lines.LineNumber()),
                                   false, false);
      bar.At(consumed);
    }
    onFields(TableFields(line));
  }
}

std::vector<snprec> ReadSnpEntries(std::string_view text, const SnpTableOptions& o,
                                   Services& services) {
  std::vector<snprec> entries;
  const int needed = std::max({o.colName, o.colPosition, o.colWildType, o.colSnp});
  if (std::min({o.colName, o.colPosition, o.colWildType, o.colSnp}) < 1) return entries;
  ForEachTableLine(text, o.hasHeaders, services, [&](const std::vector<std::string>& f) {
    if (static_cast<int>(f.size()) < needed) return;
    const std::optional<int> p = ParseInt(f[static_cast<std::size_t>(o.colPosition - 1)]);
    if (!p) return;
    const long long position = static_cast<long long>(*p) - o.positionOffset;
    // A position before the reference's first letter has no letter to change.
    if (position < 1 || position > INT32_MAX) return;
    entries.push_back(
        {static_cast<std::int32_t>(position), f[static_cast<std::size_t>(o.colWildType - 1)],
         f[static_cast<std::size_t>(o.colSnp - 1)], f[static_cast<std::size_t>(o.colName - 1)]});
  });
  return entries;
}

// The reference letters first..last (numbered from 1 across all records of a FASTA or plain
// file), reading no further than last.
std::string ReferenceSpan(std::string_view text, std::int32_t first, std::int32_t last,
                          Services& services) {
  ByteProgress bar(services.progress, text.size(), "Reading reference file ...");
  std::string kept;
  std::int64_t n = 0;
  for (std::size_t i = 0; i < text.size() && n < last; ++i) {
    const char c = text[i];
    if (c == '>') {
      const std::size_t eol = text.find('\n', i);
      i = eol == std::string_view::npos ? text.size() : eol;
      continue;
    }
    if (c == '\r' || c == '\n' || c == ' ' || c == '\t' || c == kEndOfFileMark) continue;
    ++n;
    if (n >= first) kept.push_back(c);
    if (n % 1000 == 0) {
      services.progress.ShowStatus("Reading reference sequence position " + std::to_string(n),
                                   false, false);
      bar.At(i);
    }
  }
  return kept;
}

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

void ReadSnpTable(std::string_view snpText, std::string_view referenceText,
                  const std::string& referenceName, const SnpTableOptions& options,
                  OpenWindow& window, Services& services) {
  const std::vector<snprec> entries = ReadSnpEntries(snpText, options, services);
  if (entries.empty()) return;
  const auto [lo, hi] =
      std::minmax_element(entries.begin(), entries.end(),
                          [](const snprec& a, const snprec& b) { return a.position < b.position; });
  const std::int32_t first = lo->position, last = hi->position;
  const std::string span = ReferenceSpan(referenceText, first, last, services);
  if (span.empty()) return;
  TDataSeq* ds = window.project.CurrentDataset();
  if (ds == nullptr) return;
  auto reference = std::make_unique<TSeq>(
      referenceName + "[" + std::to_string(first) + "-" + std::to_string(last) + "]", span);
  (void)ds->AddSeq(reference, true);
  for (const snprec& e : entries) {
    if (e.seqName.empty() || e.mutant.empty()) continue;
    int row = ds->RowByName(e.seqName);
    if (row < 1) {
      auto seq = std::make_unique<TSeq>(e.seqName, span);
      row = ds->AddSeq(seq, true);
    }
    TSeq* seq = ds->SeqAt(row);
    const auto at = static_cast<std::size_t>(e.position - first);
    if (seq == nullptr || at >= seq->letters.size()) continue;
    if (std::string(1, Upper(seq->letters[at])) == UpperCase(e.wildType))
      seq->letters[at] = e.mutant.front();
  }
  ds->LettersChanged();
}

void OpenSnpTable(const SnpTableOptions& options, OpenWindow& window, Services& services) {
  // Either file may be missing: without SNPs or reference letters nothing is added.
  FileSource snp, reference;
  const bool haveSnps = snp.Open(options.snpPath);
  const bool haveReference = reference.Open(options.referencePath);
  if (!haveSnps || !haveReference) return;
  ReadSnpTable(snp.Bytes(), reference.Bytes(), FileNameOnly(options.referencePath), options, window,
               services);
}

void ReadSnpTable2(std::string_view text, const std::string& path, bool hasHeaders,
                   OpenWindow& window, Services& services) {
  if (window.gridLocked) return;
  TDataProj& project = window.project;
  auto ds = project.MakeDataset();
  ds->dsName = FileNameOnly(path);
  ForEachTableLine(text, hasHeaders, services, [&](const std::vector<std::string>& f) {
    if (f.size() < 2) return;
    TIndivid individ;
    individ.indName = f[0];
    const int key = project.AddIndivid(individ);
    std::unique_ptr<TSeq> rows[2];
    for (int k = 0; k < 2; ++k) {
      rows[k] = std::make_unique<TSeq>(f[0] + "_" + std::to_string(k + 1), "");
      rows[k]->seqType = kSeqSnp;
      rows[k]->individId = key;
    }
    for (std::size_t i = 1; i < f.size(); ++i) {
      const std::string& g = f[i];
      rows[0]->letters.push_back(g.empty() ? 'N' : g[0]);
      rows[1]->letters.push_back(g.size() >= 3 ? g[2] : g.size() == 2 ? g[1] : 'N');
    }
    for (auto& row : rows) {
      row->SyncLength();
      (void)ds->AddSeq(row, true);
    }
  });
  if (ds->Count() > 0) project.AddDataset(ds, false);
}

void OpenSnpTable2(const std::string& path, bool hasHeaders, OpenWindow& window,
                   Services& services) {
  FileSource src;
  if (!src.Open(path)) return;
  ReadSnpTable2(src.Bytes(), path, hasHeaders, window, services);
}
