// SPDX-License-Identifier: GPL-3.0-or-later
// Formats that carry several loci at once or lay sequences out as table columns: the extended
// multi-FASTA alignment (XMFA, also plain multi-FASTA) with its ordering of blocks along a
// reference genome and its annotation transfer, the multigenic CSV table, the CSV export of
// one dataset, the tab-separated column file and the list of dataset names.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "common/Services.h"
#include "io/ByteSource.h"

class TDataProj;
class TDataSeq;
struct OpenWindow;
struct ReadContext;

// ---- XMFA ----
// An entry name "k:start-end s ..." (genome number, 1-based coordinates over the genome's
// FASTA records one after another, strand sign). Parts that are not whole numbers stay -1.
struct XmfaHeader {
  int genome = -1;
  int start = -1;
  int end = -1;
  bool plusStrand = false;
  bool ok = false;  // ':', '-' and a blank in their places and all three numbers >= 0
};
[[nodiscard]] XmfaHeader ParseXmfaHeader(std::string_view name);

// Reads the blocks of src into a new project and, unless cancelled, makes it target's
// content (the former datasets, individuals and groups go). Genome files named by
// "#Sequence<k>File" header lines are looked for beside ctx.fileName first, then as written.
// The three questions (ordering along the reference, concatenation, annotations) are asked at
// most once each. False when the file held no block.
bool OpenXmfa(const ByteSource& src, ReadContext& ctx, TDataProj& target);
// The file at path into the window's project (left alone when the file is absent or the
// grid locked). True when the project was replaced.
bool OpenXmfaFile(const std::string& path, OpenWindow& window, Services& services);

// Every dataset as one block; withCoordinates appends ":chr<c>" (for chromosome > 0),
// ":start-end" and " +" to the names, datasets 100000 apart.
std::string XmfaText(const TDataProj& project, bool withCoordinates);
// Asks whether to add the coordinates, then writes XmfaText.
bool SaveXmfa(const std::string& path, const TDataProj& project, Services& services);

// ---- multigenic CSV: genes in columns, individuals in rows ----
// One dataset per gene column and one individual per row, each non-empty cell a sequence of
// that individual. Shows the format notice first; renames the project after the file.
bool OpenMultigenicCsv(const std::string& path, OpenWindow& window, Services& services);

// "pos:" with the first row's polymorphic-site positions, then one line per row with its
// letters comma-separated. Nothing is written for a dataset without rows.
std::string CsvText(const TDataSeq& ds);
bool SaveCsv(const std::string& path, const TDataSeq& ds, Services& services);

// ---- tab-separated columns, one sequence per column ----
struct ColumnsRead {
  bool openInEditor = true;  // a new dataset in the window
  bool saveAsFasta = true;   // path + ".fasta" beside the file
  int readFrom = 1;          // 1-based lines, inclusive
  int readTo = 100;
  int colFrom = 1;  // 1-based fields, inclusive
  int colTo = 100;
};
struct ColumnText {
  std::string name;  // "col" + field number
  std::string letters;
};
// The columns of text: the range is fixed by the first line that yields a field (clamped to
// that line's fields); later lines add the fields of that range they have. In the lines read,
// 'Z' becomes 'N' and 'D' becomes '-'. Progress steps every 1000th line.
std::vector<ColumnText> ReadColumnTexts(std::string_view text, const ColumnsRead& options,
                                        IProgress& progress);
// The FASTA file the columns of path are saved to: path + ".fasta", else path + "_.fasta",
// else path + "_~1.fasta" (replaced when present).
std::string ColumnsFastaName(const std::string& path);
// Reads path (notice "Cannot open file ..." and false when it is absent), writes the FASTA
// file and adds the dataset as options say.
bool OpenColumns(const std::string& path, OpenWindow& window, const ColumnsRead& options,
                 Services& services);

// ---- dataset names, one per line ----
// A dataset per non-empty line, named after it. True when a dataset was added.
bool OpenDatasetNames(const ByteSource& src, TDataProj& project);
std::string DatasetNamesText(const TDataProj& project);
bool SaveDatasetNames(const std::string& path, const TDataProj& project, Services& services);
