// SPDX-License-Identifier: GPL-3.0-or-later
// Translation of a dataset's sequences into protein in one, three or six reading frames, with
// the open reading frame (ORF) report and the longest ORF of each frame marked on a copy.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/Services.h"
#include "model/tsequnit.h"

class TDataSeq;
class TGenCode;

enum class TranslateRegions { Throughout, Coding, Selected, Unselected };

struct TranslateOptions {
  bool allSeqs = false;  // false: the selected rows (the current row when none is selected)
  TranslateRegions regions = TranslateRegions::Throughout;
  int frames = 1;         // 1, 3 or 6
  bool showCDna = false;  // the nucleotide sequence beside its protein, spaced to align
  bool threeLetter = false;
  bool toFile = false;
  std::string outFile = "translation.txt";  // used with toFile, as given (folder already joined)
  bool findOrfs = false;                    // ORFs force the regions to Throughout
  int minOrf = 100;                         // ORFs longer than this many amino acids
  bool addOrfs = false;                     // needs findOrfs
};

// The minimum ORF length a text box gives: a whole number, else 100.
int MinOrfFromText(std::string_view text);

struct TranslateOutput {
  std::unique_ptr<TDataSeq> dataset;  // proteins, ORF and cDNA copies (empty with a file)
  std::string report;                 // the ORF report, lines ending in CR LF
  int translated = 0;                 // sequences translated
  bool ok = true;                     // false when the file could not be written
};

// One ORF of a frame's translation: amino-acid and nucleotide positions, 1-based.
struct OrfHit {
  int aaStart = 0, aaLength = 0;
  int ntStart = 0, ntLength = 0;
};
// The stretches between stops of `protein` longer than minOrf; stops are "*" (one-letter) or
// "***" (three-letter), untranslatable codons do not end a stretch. offset is the frame's
// (0, 1 or 2).
std::vector<OrfHit> FindOrfs(std::string_view protein, bool threeLetter, int minOrf, int offset);
// "ORF(aa pos): 1 - 2; length = 2; ORF(nucl pos): 1 - 6; length = 6" + CR LF.
std::string OrfLine(const OrfHit& orf);
// The region marking a frame's longest ORF on the copy with the forward letters (length
// letters): frames 4 to 6 count in the reverse complement, so their ORF is turned to the
// forward positions and marked on the reverse strand.
TRegion OrfRegion(const OrfHit& orf, int frame, int length);

// Translates the rows of ds as the options say, each from a copy: ds is not changed. With
// toFile the FASTA records go to outFile (a file that cannot be written is reported and ends
// the run with ok false). code is the dataset's genetic code.
TranslateOutput TranslateDataset(const TDataSeq& ds, const TGenCode& code,
                                 const TranslateOptions& options, Services& services);
