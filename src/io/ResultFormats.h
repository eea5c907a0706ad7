// SPDX-License-Identifier: GPL-3.0-or-later
// Outside analysis results read as alignments: ACE contig assemblies (with the reads' PHD
// traces), BLAST XML results (one dataset per query, one row per high-scoring pair), SNP
// tables applied to a reference, genotype tables and SDI files of SNP calls.
#pragma once
#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/Services.h"
#include "io/Dispatcher.h"

class TDataSeq;
class TSeq;

// ---- ACE ----
// Fills ds (named after the file) with each contig's consensus and its reads. PHD files named
// in DS lines are looked for in the folder of path. A contig whose reads start before its
// consensus is moved right as a whole, so no row has a negative shift. False when no row was
// read.
bool ReadAce(std::string_view text, const std::string& path, TDataSeq& ds, Services& services);
// Open code 25: the index of the dataset added to the window's project, -1 when nothing was
// read (a missing file after the notice "Can not open file").
int OpenAce(const std::string& path, OpenWindow& window, Services& services);

// ---- BLAST XML ----
struct BlastHitHsp {
  int queryFrom = 0, queryTo = 0, hitFrom = 0, hitTo = 0;
  int queryFrame = 0, hitFrame = 0;
  int identity = 0, positive = 0;
  double bitScore = 0, score = 0, evalue = 0;
  std::string querySeq, hitSeq;  // "Hsp_qseq", "Hsp_hseq"
};
struct BlastHit {
  int number = 0, length = 0;
  std::string id, definition, accession;
  std::vector<BlastHitHsp> hsps;
};
struct BlastIter {
  int number = 0, queryLength = 0;
  int queryRow = 0;  // row of the full-length query in the query dataset, 0 when none
  std::string queryName;
  std::vector<BlastHit> hits;
};
// Fills iter from the text of one "Iteration" element (entities decoded; tag names in any
// case; numbers that do not parse stay 0). False, with iter cleared, when the text is not
// well-formed XML or names no query.
bool ReadBlastIteration(std::string_view text, BlastIter& iter);

// Iterations after which, in all mode, the rows read so far are saved to a file of their own.
constexpr int kBlastSplitEvery = 1000;
// Open code 20. Reads the file one iteration at a time; questions and the query file chooser
// as the open dialog asks them (options.chooseOpenFile). False when the file cannot be opened.
bool OpenBlastXml(const std::string& path, OpenWindow& window, const OpenOptions& options,
                  Services& services);
// The same on a stream of size bytes (the progress bar's measure); path names the split files.
bool ReadBlastXml(std::istream& in, std::uint64_t size, const std::string& path, OpenWindow& window,
                  const OpenOptions& options, Services& services);

// ---- SNP tables ----
// "Ok" of the SNP table dialog: the SNPs of options.snpPath applied to the letters of
// options.referencePath they span, as rows of the window's current dataset.
void OpenSnpTable(const SnpTableOptions& options, OpenWindow& window, Services& services);
// The same on texts in memory; referenceName names the reference row.
void ReadSnpTable(std::string_view snpText, std::string_view referenceText,
                  const std::string& referenceName, const SnpTableOptions& options,
                  OpenWindow& window, Services& services);
// Open code 33: a genotype table, one individual and two SNP rows per line, in a new dataset.
void OpenSnpTable2(const std::string& path, bool hasHeaders, OpenWindow& window,
                   Services& services);
void ReadSnpTable2(std::string_view text, const std::string& path, bool hasHeaders,
                   OpenWindow& window, Services& services);

// ---- SDI ----
// Open code 36: SNP calls of one sample, one dataset per chromosome with a reference row and
// one row per sample on the union of their sites. Nothing happens for a missing file.
void OpenSdi(const std::string& path, OpenWindow& window, Services& services);
void ReadSdi(std::string_view text, const std::string& path, OpenWindow& window,
             Services& services);
// Adds a SNP row (letters at its polySitePos, its reference letters in seqComment) to ds,
// rebuilding every row on the union of row 1's sites and the new row's: a row lacking a
// site takes the reference letter there. Returns the new row's number, -1 when the dataset
// is full (row then stays with the caller).
int AddSnpRow(TDataSeq& ds, std::unique_ptr<TSeq>& row);
