// SPDX-License-Identifier: GPL-3.0-or-later
// Overlap search and contig assembly: the greedy overlap layout of reads ("Find overlaps"),
// the phred/phrap assembly ("&Assemble contigs"), the consensus commands and "Show contig".
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "editor/EditorContext.h"

class TDataSeq;
class TDataProj;

// One exact, ungapped match of a read against the contig. All fields 0: no overlap. Positions
// are 1-based; for a reversed match they refer to the read's reverse complement.
struct Overlap {
  std::int32_t readStart = 0;
  std::int32_t contigStart = 0;
  std::int32_t length = 0;
  bool reversed = false;
  [[nodiscard]] bool Found() const { return length > 0; }
  [[nodiscard]] int Offset() const { return contigStart - readStart; }
  bool operator==(const Overlap&) const = default;
};

constexpr int kSeedLength = 7;
constexpr int kMinOverlap = 10;
constexpr int kMaxContigPasses = 10;

// The contig's 7-letter words with their start positions. It answers the left-to-right search
// for a seed (non-overlapping occurrences) without scanning the contig, and follows the
// contig as letters are added before or after it.
class ContigIndex {
 public:
  explicit ContigIndex(std::string text = {});
  [[nodiscard]] const std::string& Text() const { return text_; }
  // The 1-based starts of seed in the contig as a left-to-right search finds them: each search
  // resumes after the end of the previous occurrence.
  void Occurrences(std::string_view seed, std::vector<int>& starts) const;
  // Every start of seed as stored, ascending, overlapping ones included; nullptr when it does
  // not occur. A stored start minus Base() is the 1-based position.
  [[nodiscard]] const std::vector<long long>* Starts(std::string_view seed) const;
  [[nodiscard]] long long Base() const { return base_; }
  // Replaces the contig by newText, which must be old text with letters added before and/or
  // after it (`before` letters in front), or anything else when before < 0.
  void Update(std::string newText, int before);

 private:
  std::string text_;
  // Starts are stored as position + base_, so letters added in front (which move every
  // position) change only base_.
  long long base_ = 0;
  // Ascending stored starts: words of upper-case A, C, G and T by their 2-bit code, all other
  // words (lower case, ambiguity letters, gaps) by their bytes.
  std::vector<std::vector<long long>> dense_;
  std::unordered_map<std::uint64_t, std::vector<long long>> words_;
  void Clear();
  std::vector<long long>& Slot(const char* word);
  void AddWords(int fromPos, int toPos, bool atFront);
};

Overlap LongestDiagonal(std::string_view letters, std::string_view contig, int minOverlap);
Overlap LongestDiagonal(std::string_view letters, const ContigIndex& contig, int minOverlap);
Overlap BestOverlap(std::string_view letters, std::string_view contig,
                    int minOverlap = kMinOverlap);
Overlap BestOverlap(std::string_view letters, const ContigIndex& contig,
                    int minOverlap = kMinOverlap);
// The contig with the read's letters laid in at offset (contigStart - readStart); where the
// two overlap, the text that begins first keeps its letters.
std::string MergeIntoContig(std::string_view contig, std::string_view letters, int offset);
// Grows the contig from the reads (at least two) and lays the reads out against it: turned to
// the contig's orientation and moved right by gaps. Returns the contig text.
std::string BuildContig(const std::vector<TSeq*>& reads, int minOverlap);
// "Find overlaps" on the current dataset. True when the reads were laid out.
bool FindOverlaps(EditorContext& ctx);

// ---- consensus ----
// "Create consensus" / "Add con&sensus to dataset": the row number of the consensus, -1 when
// none was added.
int CreateConsensus(EditorContext& ctx);
// "In the same project": the number of datasets that got their consensus.
int ConsensusInSameProject(EditorContext& ctx);
// "In a new project": a project holding one dataset per source dataset with its consensus.
std::unique_ptr<TDataProj> ConsensusInNewProject(EditorContext& ctx);
inline const std::string kConsensusProjectCaption = "Cons";

// ---- assembly with the base caller and phrap ----
// phrap in the program's folder, then on PATH; empty when neither has it.
std::string FindPhrap(const std::string& programFolder);
// Runs phrap on the FASTA file (path and "-ace" as two arguments) in the file's folder and
// waits: phrap's exit code, -1 when phrap is empty, 1 when it could not be started, -2 when
// the user stopped it.
int RunPhrap(const std::string& phrap, const std::string& fastaPath, Services& services);

struct AssemblySetup {
  std::string phrap;       // the assembler's path; empty: FindPhrap
  std::string workFolder;  // empty: a private folder made and removed for the run
};
struct AssemblyOutcome {
  std::unique_ptr<TDataProj> contigs;  // phrap's assembly, nullptr when it gave none
  bool namesRestored = false;          // an assembled read got its row's name back
};
inline const std::string kContigCaptionPrefix = "Contig of ";
// "&Assemble contigs" on the current dataset: the reads (as traces through the base caller,
// or as plain sequences when any lacks a trace) are assembled by phrap, whose ACE file is read
// into a new project. Only the run's own files are deleted afterwards.
AssemblyOutcome AssembleContigs(EditorContext& ctx, const AssemblySetup& setup);

// ---- "Show contig" ----
// Where "Show contig" puts the read: in the window's own project (project null) or in a new
// window holding project, captioned caption.
struct ContigView {
  std::unique_ptr<TDataProj> project;
  std::string caption;
  int datasetIndex = 0;
  int row = 1;
  int position = 1;      // the cursor's letter position
  bool mapping = false;  // a mapping file: dotted view, rows sorted by position
};
// The file a read came from, as the open dialog gave it, and whether the user chose the
// mapping entry ("Map Illumina reads to reference seq (*.*)").
struct ChosenSource {
  std::string path;
  bool mapping = false;
};
// "path[dataset]" split at its last brackets; the dataset name is empty without both.
std::pair<std::string, std::string> SplitSourceFile(const std::string& sourceFile);
// The ten letters starting one before the cursor, empty when the read is shorter than
// cursorPos + 10.
std::string ContigProbe(const TSeq& read, int cursorPos);
// "Show contig" on the current row: none after a message (or with nothing to show).
// askSource asks for a file when the read names none.
std::optional<ContigView> ShowContig(EditorContext& ctx,
                                     const std::function<ChosenSource()>& askSource);
