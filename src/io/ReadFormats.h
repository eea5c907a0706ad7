// SPDX-License-Identifier: GPL-3.0-or-later
// Sequencing reads and mapping files: SAM (reads placed on their references, the reads of one
// reference, coverage counts and reports), MAQ mapview, Illumina Eland export, the seed-and-check
// mapper of raw Illumina reads and the FASTQ scaffold converter.
//
// Reads become rows placed by columnShift against their reference's coordinates, in the dataset
// named after the reference. Every reader makes one pass over its source and keeps no line after
// handling it.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "io/IOUnit.h"

class TSeq;
class TDataSeq;
class TDataProj;

// ---- CIGAR ----
// Applies a CIGAR text to a read whose letters are SEQ: gap letters for D, P and N, the soft
// clips as poorQualityLeft/Right, and an `insertions` entry (letter count c, length) for every
// I, c counting the reference columns from the read's first letter. M, = and X are aligned
// letters; H and unknown operations are passed over. True when the read inserts letters.
bool ApplyCigar(std::string_view cigar, TSeq& read);

// ---- SAM ----
// Every mapped record (RNAME not "*", POS above 0, SEQ not "*", no 0x200 flag) becomes a read of
// the dataset named RNAME; referencesOnly: records of references without a dataset are passed
// over, else such a dataset is made. Then the insertion columns are opened in every dataset.
// Returns the number of reads added.
int OpenSam(const ByteSource& src, ReadContext& ctx, TDataProj& proj, bool referencesOnly);

// Opens gap columns where reads carry letters the other rows lack. Insertions of different
// lengths at one column open the widest; each row gets its gaps in one rebuild. The applied
// entries are cleared, so a later run never opens them twice.
void ExpandInsertions(TDataSeq& ds);

// Every record whose line contains filterText (all when empty) as a read of ds, second mates of
// proper pairs reverse-complemented; no insertion columns are opened. Returns the reads added.
int OpenSamReads(const ByteSource& src, ReadContext& ctx, std::string_view filterText,
                 TDataSeq& ds);
// The same on a file: -1 (and the notice "Can not open file") when it cannot be read.
int OpenSamReadsFile(const std::string& path, std::string_view filterText, TDataSeq& ds,
                     Services& services);

// True when the first line that is not a header ("@...") has SAM's column types: FLAG, POS and
// TLEN integers, CIGAR and SEQ not.
[[nodiscard]] bool LooksLikeSamText(std::string_view text);
[[nodiscard]] bool LooksLikeSam(const std::string& path);  // reads a bounded prefix

// ---- coverage ----
struct SamCoverage {
  int alignmentLines = 0;  // every record line, counted or not
  // Reads covering each letter of each reference, when counted per position.
  std::unordered_map<const TSeq*, std::vector<std::int32_t>> depth;
};
// Counts the mapped records onto the project's sequences by name: readCount of the sequence,
// regValue of each region that holds the read's range or lies within it, and with perPosition
// the reads over each letter.
SamCoverage CountSamCoverage(const ByteSource& src, ReadContext& ctx, TDataProj& proj,
                             bool perPosition);
// The ".FRcovrg.csv" and ".seqCovrg.txt" texts of a count of the SAM file samPath.
std::string CoverageTableText(const TDataProj& proj, const std::string& samPath,
                              const SamCoverage& coverage);
std::string CoverageDepthText(const TDataProj& proj, const SamCoverage& coverage);

struct CoverageRun {
  bool ok = false;
  std::vector<std::string> written;  // the report files
  std::string notice;                // "Coverage report(s) saved to file(s):..."
};
// Counts samPath onto proj and writes samPath + ".FRcovrg.csv" (and, per position,
// samPath + ".seqCovrg.txt"). A missing file gives the notice "Can not open file".
CoverageRun RunSamCoverage(const std::string& samPath, TDataProj& proj, bool perPosition,
                           Services& services);
// The editor command "Coverage (from SAM file)" once the file is chosen: "SAM file not found",
// the two questions (Yes to start; perPosition from the second), the run and its notice.
bool SamCoverageCommand(const std::string& samPath, TDataProj& proj, Services& services);

// ---- MAQ, Eland ----
// MAQ mapview: name, reference, position and letters of fields 1, 2, 3 and 15. Returns the reads
// added, as OpenSam does.
int OpenMaq(const ByteSource& src, ReadContext& ctx, TDataProj& proj, bool referencesOnly);
// Eland export: passed-filter lines (ending in "Y") give reads named "X:x_Y:y" on the contig of
// field 12 at the position of field 13, reverse-complemented on strand "R". Returns reads added.
int OpenEland(const ByteSource& src, ReadContext& ctx, TDataProj& proj, bool referencesOnly);

// ---- mapper ----
// Places raw Illumina reads (plain lines or FASTQ records) on every sequence of at least 200
// letters of proj by three 15-letter seeds and at most 5 differences, forward strand first.
// Upper-cases the project's letters. Returns the placements made.
int MapReads(const ByteSource& src, ReadContext& ctx, TDataProj& proj);

// ---- FASTQ scaffolds ----
struct FastqConversion {
  bool ok = false;  // the three files were written
  long long records = 0;
  std::string fastaPath, qualityPath, namesPath;
};
// Writes path-without-extension + ".fa", ".qual" (decimal qualities, character code - 33, the
// form the FASTA reader's quality companion reads) and "_names.txt". Records may span several
// sequence and quality lines.
FastqConversion ConvertFastq(const std::string& path, Services& services);
