// SPDX-License-Identifier: GPL-3.0-or-later
// Readers and writers of the alignment text formats (FASTA with its quality and annotation
// companions, PHYLIP, MEGA/GDE, NEXUS, Clustal, NBRF/PIR, plain text, the last-resort reader)
// and the GFF annotation reader and writer, with the read context they share.
//
// Readers take a ByteSource and a ReadContext and build the model only through its own
// operations (AddSeq, AddDataset, AddGroup ...). They return whether anything was read; a
// malformed file is reported with its name and line and never leaves a half-built sequence.
// Writers only read the model and produce CR LF text; the Save... functions put it on disk
// through a temporary file, so a failed save never destroys the previous file.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/Services.h"
#include "io/ByteSource.h"

class TSeq;
class TDataSeq;
class TDataProj;

// Source-file type codes the text readers set.
constexpr int kSourceProjectFile = 2;
constexpr int kSourceNexus = 3;
constexpr int kSourceFasta = 6;
constexpr int kSourcePlainText = 8;

struct ReadContext {
  ReadContext(Services& svc, std::string file) : services(svc), fileName(std::move(file)) {}

  Services& services;
  std::string fileName;       // path as the user chose it: dataset names and messages
  bool showProgress = false;  // the FASTA reader drives the progress bar when set
  // Asked when a FASTA file holds more records than "Max seq per dataset": returns the
  // 1-based record to start at (the "File too big" dialog), or 0 to read nothing. Unset: the
  // first records are read and the cut is reported.
  std::function<int(int recordCount, int limit)> chooseFastaStart;

  // "<file>, line <n>: <what>" to the message pane.
  void ReportLine(int line, const std::string& what) const;
  void Report(const std::string& what) const;
};

// Receives a writer's text piece by piece, so a large file is never held twice in memory.
class TextSink {
 public:
  virtual ~TextSink() = default;
  virtual void Put(std::string_view text) = 0;
};

// ---- FASTA ----
struct FastaCompanions {
  const ByteSource* quality = nullptr;  // the ".qual" file
  const ByteSource* gff = nullptr;      // the ".gff" (or ".gff3") file
  std::string gffName;                  // for the GFF reader's messages
};
// Fills ds (named after the file) with every record; false when nothing was read.
bool OpenFasta(const ByteSource& src, ReadContext& ctx, TDataSeq& ds,
               const FastaCompanions& companions = {});
// True when the records of text (a file's first bytes) hold blank-separated numbers only: a
// quality file. Digits run together ("0110") are taken for letters.
[[nodiscard]] bool LooksLikeQualityText(std::string_view text);
// Opens ctx.fileName with its companions path-without-extension + ".qual", ".gff", ".gff3".
bool OpenFastaFile(ReadContext& ctx, TDataSeq& ds);
// "Fasta; Each seq in separate dataset": returns the number of datasets added to proj.
int OpenFastaEachSeq(const ByteSource& src, ReadContext& ctx, TDataProj& proj);
// Records whose key (header up to its first blank) names a dataset of proj go to that
// dataset, named namePrefix + header. True when a sequence was added.
bool OpenFastaByDatasetName(const ByteSource& src, ReadContext& ctx, TDataProj& proj,
                            const std::string& namePrefix);
void WriteFasta(const TDataSeq& ds, bool withHeader, TextSink& out);
std::string FastaText(const TDataSeq& ds, bool withHeader);
std::string FastaQualityText(const TDataSeq& ds);
std::string PolySitesText(const TDataSeq& ds, bool withHeader);  // the ".pos" companion
// Writes the ".gff", ".pos" and ".qual" companions where the dataset has what they carry.
bool SaveFasta(const std::string& path, const TDataSeq& ds, bool withHeader, Services& svc);

// ---- GFF ----
// Returns the number of times the matched sequence changes (sequences annotated).
int ApplyGff(const ByteSource& src, ReadContext& ctx, TDataSeq& ds, bool alignedCoords);
std::string GffText(const TDataSeq& ds);
bool SaveGff(const std::string& path, const TDataSeq& ds, Services& svc);

// ---- PHYLIP (sequential and interleaved) ----
bool OpenPhylip(const ByteSource& src, ReadContext& ctx, TDataSeq& ds);
// The layout PHYLIP reads: each name in a 10-character field followed by its letters, every
// row as long as the longest. Names that clash after cutting get "~k"; clashes (optional)
// receives "name -> written name" for each.
std::string PhylipText(const TDataSeq& ds, std::vector<std::string>* clashes = nullptr);
// Writes PhylipText; the clashes and unequal lengths are told in notices.
bool SavePhylip(const std::string& path, const TDataSeq& ds, Services& svc);
// The older layout: name line, letter line, empty line; a long name is written whole or, when
// truncateNames, as its first nine characters and its last.
std::string PhylipLinesText(const TDataSeq& ds, bool truncateNames);
// Asks "Truncate sequence names to 10 symbols?" and warns about unequal lengths.
bool SavePhylipLines(const std::string& path, const TDataSeq& ds, Services& svc);

// ---- MEGA / GDE ----
bool OpenMega(const ByteSource& src, ReadContext& ctx, TDataSeq& ds);
std::string MegaText(const TDataSeq& ds);
bool SaveMega(const std::string& path, const TDataSeq& ds, Services& svc);

// ---- NEXUS ----
// Adds one dataset (and the groups of a SETS block) to proj; false when no sequence was read.
bool OpenNexus(const ByteSource& src, ReadContext& ctx, TDataProj& proj);
std::string NexusText(const TDataProj& proj, int datasetIndex);  // empty for a bad index
bool SaveNexus(const std::string& path, const TDataProj& proj, int datasetIndex, Services& svc);

// ---- Clustal, NBRF/PIR ----
// A Clustal header: any line holding "CLUSTAL" (any case), which covers "CLUSTAL W (1.83)"
// and Kalign's "alignment in ClustalW format", or "multiple sequence alignment" (MUSCLE).
[[nodiscard]] bool IsClustalHeader(std::string_view line);
bool OpenClustal(const ByteSource& src, ReadContext& ctx, TDataSeq& ds);
bool OpenPir(const ByteSource& src, ReadContext& ctx, TDataSeq& ds);

// ---- plain text ----
// One sequence named after the file without extension; nullptr when the source cannot give one.
std::unique_ptr<TSeq> OpenPlainText(const ByteSource& src, ReadContext& ctx);
std::string SeqText(const TSeq& seq);
bool SaveSeqText(const std::string& path, const TSeq& seq, Services& svc);
// Last resort for files of unrecognised format.
bool OpenUnknownText(const ByteSource& src, ReadContext& ctx, TDataSeq& ds);

// Writes text to path through a temporary file renamed over the target; reports and returns
// false on failure, leaving any previous file untouched.
bool SaveTextFile(const std::string& path, const std::string& text, Services& svc);
// The same with the text produced straight into the file.
bool SaveTextFile(const std::string& path, const std::function<void(TextSink&)>& produce,
                  Services& svc);
