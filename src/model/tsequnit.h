// SPDX-License-Identifier: GPL-3.0-or-later
// TSeq: one sequence with its descriptive fields, functional regions, traces and qualities;
// TRegion: a functional region; TSeqRef: a member of a contig built on a sequence.
// Positions are 1-based letter positions; the letter at position p stands in alignment column
// p + columnShift.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/RareField.h"

class TGenCode;

// Region kinds (in-memory codes).
enum RegionKind : std::uint8_t {
  kRegCds = 0,
  kRegNoncoding = 1,
  kRegIntron = 2,
  kRegExon = 3,
  kRegOrf = 4,
  kRegStartCodon = 5,
  kRegStopCodon = 6,
  kRegStartTranscr = 7,
  kRegPromotor = 8,
  kRegEnhancer = 9,
  kRegSilencer = 10,
  kRegRestrSite = 11,
  kRegUnknown = 12,
  kRegPrimer = 13,
  kRegSts = 14,
  kRegSequence = 15,
  kRegRepeat = 16,
  kRegMisc = 17,
  kRegMobileElement = 18,
  kRegSnp = 19,
  kRegVector = 20,
  kRegIndel = 21,
  kRegHetSnp = 22,
  kRegHetIndel = 23,
  kRegGene = 24,
  kRegTRna = 25,
  kRegRRna = 26,
  kRegMRna = 27,
};
constexpr int kRegionKindCount = 28;

const char* RegionKindName(int kind);           // "Unknown" for a bad kind
int RegionKindToFileCode(int kind);
int RegionKindFromFileCode(int fileCode);      // unknown file codes read as kind 12
int RegionKindFromWord(std::string_view word); // file code of a feature word, 0 when unknown
bool IsCodingKind(int kind);                   // CDS, Exon, ORF

// Sequence kinds (seqType) with their display names and project-file codes.
enum SeqKind : std::uint8_t {
  kSeqDna = 0, kSeqRna = 1, kSeqCDna = 2, kSeqProtein1 = 3, kSeqProtein3 = 4,
  kSeqSnp = 5, kSeqRflp = 6, kSeqAllozymes = 7, kSeqUnknown = 8,
};
const char* SeqTypeName(int seqType);
int SeqTypeToFileCode(int seqType);

struct TRegion {
  std::int32_t regStart = 0;
  std::int32_t regEnd = 0;
  std::uint8_t regType = kRegMisc;
  bool regReverse = false;
  std::string regName;
  std::string regComment;
  std::int32_t codonPos = 0;   // codon position of the first letter (coding kinds); 0 = unknown
  std::int32_t regMark = -1;
  std::int32_t regId = -1;
  std::int32_t prevId = -1;
  std::int32_t nextId = -1;
  std::int32_t regValue = 0;

  [[nodiscard]] int Length() const { return regEnd - regStart + 1; }
  bool operator==(const TRegion&) const = default;
};

struct TSeqRef {
  std::uint8_t kind = 0;
  std::int32_t value1 = 0, value2 = 0;
  std::string memberName;
  std::string sourceName;
  std::int32_t value3 = 0, value4 = 0;
  std::int32_t firstPos = 0, lastPos = 0;
  std::vector<std::pair<std::int32_t, std::int32_t>> insertions;   // (position, length)
  std::vector<std::pair<std::int32_t, std::int32_t>> deletions;    // (position, length)
  struct PointDiff {
    std::int32_t position = 0;
    char letter = 0;
    std::int32_t extra = 0;
    bool operator==(const PointDiff&) const = default;
  };
  std::vector<PointDiff> differences;
  bool operator==(const TSeqRef&) const = default;
};

// A restriction enzyme of the program's list.
struct TRenzyme {
  std::string name;
  std::string site;        // recognition site, upper case, without the cut mark
  std::int32_t cutOffset = 0;
  bool enabled = true;
};

// Result of FindPeak.
struct PeakHit {
  int index = -1;       // 0-based index into peakPos; -1 when no peak lies at or after the sample
  bool exact = false;
};

class TSeq {
 public:
  // Letters and descriptive fields. Numbers and flags come first, together, so the record
  // carries no padding: a project may hold hundreds of thousands of them.
  std::string letters;
  std::string seqName;
  std::int32_t seqId = 0;
  std::int32_t dbSeqId = 0;
  std::int32_t dbTraceId = 0;
  std::int32_t groupNum = 0;
  std::int32_t individId = -1;
  std::int32_t ploidy = 0;
  std::int32_t readCount = 0;
  std::int32_t mateId = -1;
  std::int32_t selStart = 0;
  std::int32_t selLength = 0;
  std::int32_t poorQualityLeft = -1;
  std::int32_t poorQualityRight = -1;
  std::int32_t columnShift = 0;
  std::int32_t assemblyPos = 0;
  std::int32_t traceSamplesPerCell = 10;
  std::int32_t lettersLength = 0;
  std::int32_t genomeNumber = 0;
  float traceScale = 1.0f;
  double meanQuality = 0;
  std::uint8_t seqType = kSeqDna;
  std::uint8_t sourceFormat = 0;
  bool mateFirst = false;
  bool mateSecond = false;

  // Flags (bit in the project file's flag byte).
  bool hasTrace = false;       // 7
  bool showRegions = true;     // 6
  bool showTrace = false;      // 5
  bool unnamedFlag = false;    // 4, carried and stored only
  bool reversed = false;       // 3
  bool plusStrand = true;      // 2
  bool enabled = true;         // 1
  bool selected = false;       // 0

  TRareText organism;
  TRareText locusName;
  TRareText cytoLocation;
  TRareText definition;
  TRareText accession;
  TRareText dbLinks;
  TRareText seqComment;
  TRareText sourceFile;
  TRareText traceFile;
  TRareText mateName;
  TRare<std::vector<std::pair<std::int32_t, std::int32_t>>> insertions;  // (column, length)
  TRare<std::vector<TSeqRef>> contigRefs;
  std::vector<TRegion> regions;
  std::vector<TRegion> siteMarks;
  TRare<std::vector<std::uint16_t>> traceA, traceT, traceG, traceC;
  TRare<std::vector<std::int32_t>> peakPos;
  std::vector<std::int32_t> polySitePos;
  TRare<std::array<std::int32_t, 4>> baseCounts;
  TRare<std::array<std::int32_t, 16>> pairCounts;
  TRare<std::vector<std::uint8_t>> quality;

  TSeq() = default;
  TSeq(std::string name, std::string text);

  // Construction and copies.
  [[nodiscard]] std::unique_ptr<TSeq> Clone() const;
  bool AssignTo(TSeq* target) const;
  [[nodiscard]] std::unique_ptr<TSeq> SubSequence(int from, int count, bool trimTrace) const;

  // Queries.
  [[nodiscard]] int Length() const { return static_cast<int>(letters.size()); }
  [[nodiscard]] bool HasTrace() const;
  [[nodiscard]] int CountGaps(int from, int to) const;
  [[nodiscard]] int CountBases() const;
  [[nodiscard]] PeakHit FindPeak(int sample) const;
  [[nodiscard]] int RegionIndexById(int id) const;
  [[nodiscard]] int RegionAtColumn(int column) const;
  [[nodiscard]] int NextCodingRegion(int pos) const;
  [[nodiscard]] int PreviousCodingRegion(int pos) const;
  [[nodiscard]] int CodonPosAt(int pos) const;
  [[nodiscard]] std::string RegionLine(int index) const;

  // Letter edits. All but InsertGaps and ReplaceLetter leave a disabled sequence unchanged.
  void InsertLetters(int pos, std::string_view text, bool shiftIfBefore, int insertedQuality = 0);
  void DeleteLetters(int pos, int count, bool trimTrace);
  void InsertGaps(int pos, int count);
  // The effect of InsertGaps(pos, count) for every (pos, count) run, taken from the last run to
  // the first, in one pass over the letters. Runs are in ascending pos order, positions as the
  // sequence stands before any of them.
  void InsertGapRuns(const std::vector<std::pair<int, int>>& runs);
  void ReplaceLetter(char oldLetter, char newLetter);
  void TrimTrailing(char letter);
  void RemoveLetterRuns(int from, int to, bool columnRelative, char letter);
  void RemoveGaps() { RemoveLetterRuns(1, Length(), false, '-'); }
  void InsertSequence(int pos, const TSeq& other, int insertedQuality = 0);
  bool InvertSegment(int from, int to);

  // Strand operations. withContigRefs = false is the dataset-level form.
  void Reverse(bool withContigRefs = true);
  void Complement(bool withContigRefs = true);
  void ReverseComplement(bool withContigRefs = true);

  // Region operations.
  int AddRegion(const TRegion& region);
  int AddRegionClipped(const TRegion& region, bool merge);  // -1 when rejected
  int AddSimpleRegion(int start, int end, const std::string& comment, const std::string& name,
                      int kind, int codonPos);
  void DeleteRegion(int index);
  void DeleteRegionsOfKinds(const std::set<int>& kinds);
  void SortRegions();
  void MergeRegions();
  void CopyRegionsTo(TSeq& target, bool clearFirst);
  void SpliceKind(int kind);
  void DeleteKindLetters(int kind, bool allBut);
  void MarkGapRegions();
  int TurnCdsForward();

  // Coding helpers.
  int CountStops(int regionIndex, const TGenCode& code, bool relativeToShift, std::string& positions,
                 bool extendByCodon = false) const;
  void AddWholeCds(bool splitAtGaps);
  int SplitCdsAtGaps(int regionIndex, char gapLetter);
  void AddCdsFromUpperCase(bool splitAtGaps);
  int MergeCdsSplitByN();

  // Trace helpers.
  void NormaliseTraces(double target);
  void TrimTraceStart();
  double EstimateQuality();   // mean quality, -1 when it cannot be computed
  void FindRestrictionSites(const std::vector<TRenzyme>& enzymes, std::string& report);
  // Both copy the runs of gapLetter in `aligned` into this sequence once its gaps are removed;
  // false (and nothing changed) unless both are enabled and hold the same number of non-gap
  // letters. ApplyGapPatternAt: includeLastRun copies a run that ends the aligned copy,
  // shiftAllowed turns a run before the first letter into columnShift, clearShift zeroes
  // columnShift first, and offset is added to every insertion point (-1: selStart - 1 when a
  // block is selected, else 0, as ApplyGapPattern does).
  bool ApplyGapPattern(const TSeq& aligned, char gapLetter);
  bool ApplyGapPatternAt(const TSeq& aligned, char gapLetter, bool includeLastRun, bool shiftAllowed,
                         bool clearShift, int offset);
  void AddContigRef(const TSeqRef& ref) { contigRefs.push_back(ref); }

  // Keeps lettersLength equal to the letter count; edits call it.
  void SyncLength() { lettersLength = static_cast<std::int32_t>(letters.size()); }

  // AddRegion remembers the ids in use so that bulk adds stay linear. The memory renews itself
  // when the region list changes size or storage; code that rewrites a listed region's regId in
  // place (or swaps in a same-sized list) calls ForgetRegionIds before the next AddRegion.
  void ForgetRegionIds() const { regionIds_.Forget(); }

 private:
  static constexpr std::size_t kNoCount = static_cast<std::size_t>(-1);
  struct RegionIdMemory {
    std::size_t count = kNoCount;
    const TRegion* data = nullptr;
    std::multiset<std::int32_t> ids;  // ordered: the largest id is at hand after deletions too
  };
  // The memory is made on first use: most sequences never have a region added, and 30,000
  // of them would carry it for nothing.
  class RegionIdSlot {
   public:
    RegionIdSlot() = default;
    // A copy describes another list: it starts empty and is rebuilt on first use.
    RegionIdSlot(const RegionIdSlot&) {}
    RegionIdSlot& operator=(const RegionIdSlot&) {
      memory_.reset();
      return *this;
    }
    RegionIdSlot(RegionIdSlot&&) noexcept = default;
    RegionIdSlot& operator=(RegionIdSlot&&) noexcept = default;
    RegionIdMemory* operator->() {
      if (!memory_) memory_ = std::make_unique<RegionIdMemory>();
      return memory_.get();
    }
    void Forget() {
      if (memory_) memory_->count = kNoCount;
    }

   private:
    std::unique_ptr<RegionIdMemory> memory_;
  };
  mutable RegionIdSlot regionIds_;
  void RefreshRegionIds() const;
  void NoteRegionListKept() const;
  // Moves and grows regions for n letters inserted before pos.
  void ShiftRegionsForInsert(int pos, int n);
  // After the last letter is deleted: every per-letter list, the regions and the shift go.
  void ClearAfterEmptied();
  // CopyRegionsTo without touching this sequence's regMark values.
  void CopyRegionsInto(TSeq& target, bool clearFirst) const;
  // Deletes the letters whose mask entry is true, with the effect of deleting each run from
  // the last to the first with DeleteLetters (no trace trimming), in one pass.
  void DeleteMaskedLetters(const std::vector<bool>& mask);
};

// Codon position arithmetic: r in 1..3 with r = p + n (mod 3).
int CodonPosAfter(int p, int n);
int CodonPosBefore(int p, int n);

// IUPAC complement of one letter, either case (A/T, C/G, K/M, R/Y, B/V, D/H swapped; S, W, N
// kept); any other letter unchanged.
char ComplementLetter(char letter);
