// SPDX-License-Identifier: GPL-3.0-or-later
// Formats that carry annotation with the letters: GenBank flat files (read and written), the
// Staden experiment file (read; files opened as EMBL go through the same reader) and
// Staden-assembled contigs with their assembly folder (read).
#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "common/Services.h"
#include "io/ByteSource.h"
#include "io/IOUnit.h"

class TSeq;
class TDataSeq;
class TGenCode;

// Source-format codes these readers leave in sourceFormat.
constexpr std::uint8_t kSourceGenBank = 9;
constexpr std::uint8_t kSourceExperiment = 10;

// ---- GenBank ----
// Adds every record closed by "//" to ds and returns how many were added. Gene and CDS
// features become regions: the parts of a joined feature are chained in reading order, each
// with its codon position. A record cut off before its "//" is reported and not added. With
// ctx.showProgress a file of several records drives the progress bar, one step per record; a
// cancel adds nothing.
int OpenGenBank(const ByteSource& src, ReadContext& ctx, TDataSeq& ds);
// One record: the letters without gaps, every region at its position among those letters,
// coding chains as CDS features with their translation under code.
std::string GenBankText(const TSeq& seq, const TGenCode& code);
// Writes GenBankText with the dataset's genetic code.
bool SaveGenBank(const std::string& path, const TSeq& seq, const TDataSeq& ds, Services& svc);

// ---- Staden experiment file ----
// What the AP line says of a read's place in an assembly.
struct AssemblyLink {
  std::string anchor;         // the read this one is assembled against; "*new*" starts a contig
  bool complemented = false;  // the read lies reverse-complemented in the contig
  int length = 0;             // the read's assembly length
};
struct ExperimentRead {
  std::unique_ptr<TSeq> seq;  // nullptr when no letters were read
  AssemblyLink link;
  bool hasLink = false;  // the file holds an AP line
};
// Reads an experiment file (or an EMBL-style file). A trace named on an LN line is looked for
// beside the file (ctx.fileName) and read when it is an ABI or SCF trace.
ExperimentRead ReadExperimentFile(const ByteSource& src, ReadContext& ctx);
// The same from a file; nullptr (after a message) when it cannot be read or holds no letters.
std::unique_ptr<TSeq> OpenExperimentFile(const std::string& path, Services& svc);

// ---- Staden-assembled contigs ----
// Reads the contigs file as FASTA into ds (its consensus sequences), then the reads of the
// folder beside it named like it with the extension ".assembly", placed at their assembly
// positions after the consensus sequences. False when the contigs file could not be read.
bool OpenStadenContigs(const std::string& path, ReadContext& ctx, TDataSeq& ds);

// Anchor match of read in text (1-based): the first word of `word` letters of read found in
// text, confirmed by a later word found after it at the same distance within `tolerance`.
struct AnchorHit {
  int readPos = 0;  // i
  int textPos = 0;  // p
};
[[nodiscard]] bool AnchorMatch(std::string_view read, std::string_view text, int word,
                               int tolerance, AnchorHit& hit);
