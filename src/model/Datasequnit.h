// SPDX-License-Identifier: GPL-3.0-or-later
// TDataSeq: one dataset, an ordered list of sequences (one alignment, usually one locus) with
// name and id lookups, cursor state, an undo snapshot and the dataset-wide edits.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/Services.h"
#include "model/NameRules.h"
#include "model/SeqIdIndex.h"
#include "model/tsequnit.h"

class TDataProj;
class TGenCode;
class PlatformRandom;
class tmutholder;  // mutation tables of the site scan, built by the analyses

// The analyses create the cached mutation tables; the deleter travels with the pointer so the
// dataset can free a table without seeing its type.
using MutHolderPtr = std::unique_ptr<tmutholder, void (*)(tmutholder*)>;

// Consensus letter of a column and the weight of its top base in percent. Fewer than minCount
// letters give '-'; letters without any base weight give '-' when all are gaps, else 'N' (0%).
std::pair<char, double> ConsensusLetter(std::string_view letters, int minCount);

// Block selection of the grid.
struct TBlockRect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const TBlockRect&) const = default;
};

class TDataSeq {
 public:
  // The services give the "Max seq per dataset" limit (read at each add), the message pane and
  // the genetic code; they must outlive the dataset.
  explicit TDataSeq(Services& services);
  ~TDataSeq();
  TDataSeq(const TDataSeq&) = delete;
  TDataSeq& operator=(const TDataSeq&) = delete;

  // ---- fields of the dataset ----
  std::int32_t lastSeqId = -1;
  bool dsForward = true;
  std::string dsName = "Dataset";
  std::string dsComment;
  TGenCode* code = nullptr;    // shared, not owned; the services' code at creation
  std::int32_t dsNumber = -1;  // handed out by the project from 0
  std::int32_t chromosome = 0;
  std::int32_t genePosition = 0;
  double genomeCoord = -1.0;
  std::int32_t blockRefStart = -1, blockRefEnd = -1;  // XMFA block ordering only
  std::int32_t blockGaps = 0, blockEndColumn = 0;
  std::vector<std::vector<std::string>> resultTexts;
  std::vector<std::vector<double>> resultValues;
  std::vector<std::vector<bool>> resultFlags;
  std::int32_t cursorPos = 1;
  std::int32_t currentRow = 0;
  TBlockRect blockRect;
  bool dsSelected = true;
  std::string dsSourceFile;
  std::int32_t firstVisibleCol = 0, lastVisibleCol = 0;
  TDataProj* project = nullptr;  // the owning project; set when a project takes the dataset

  Services& GetServices() const { return *services_; }

  // ---- rows ----
  [[nodiscard]] int Count() const { return static_cast<int>(seqs.size()) - 1; }  // rows 1..Count()
  [[nodiscard]] TSeq* SeqAt(int row);  // nullptr for a bad row
  [[nodiscard]] const TSeq* SeqAt(int row) const;
  [[nodiscard]] std::unique_ptr<TSeq> CloneAt(int row) const;  // nullptr for a bad row
  // Takes seq over and returns its row; -1 when the dataset is full, and then seq stays with
  // the caller and the reason goes to the message pane. With uniqueName the stored name is
  // never one another row already has.
  [[nodiscard]] int AddSeq(std::unique_ptr<TSeq>& seq, bool uniqueName);
  // Makes room for rows more rows, so a run that adds many in a row (translation, six
  // proteins a sequence) neither regrows the row list nor rehashes the lookups as it goes.
  void Reserve(int rows);
  int AddEmptySeq();                              // -1 when full
  void DeleteSeq(int row);                        // normalises the shifts
  void DeleteSeqs(const std::vector<int>& rows);  // any order; compacts once
  // Takes a row out of the dataset; nullptr for a bad row. Shifts are not normalised.
  [[nodiscard]] std::unique_ptr<TSeq> ReleaseSeq(int row);
  void Clear();
  void RenumberIds();
  // Renames a row keeping the lookups current; with uniqueName a taken name gets "~k".
  bool RenameSeq(int row, const std::string& name, bool uniqueName);
  void CopyTo(TDataSeq& target) const;
  void CopyRangeTo(TDataSeq& target, int from, int count) const;

  // ---- lookups (-1 when absent) ----
  [[nodiscard]] int RowById(int id) const;
  [[nodiscard]] int RowByName(std::string_view name) const;  // upper-cased, cut at first space
  // RowByName of every name at once. Without the name lookups at hand a list of many names
  // takes one pass over the rows and leaves no lookup behind.
  [[nodiscard]] std::vector<int> RowsByName(const std::vector<std::string_view>& names) const;
  [[nodiscard]] int IdByName(std::string_view name) const;
  [[nodiscard]] bool HasExactName(std::string_view name) const;
  [[nodiscard]] int RowOfIndivid(int individId) const;
  [[nodiscard]] int CountOfIndivid(int individId) const;
  [[nodiscard]] bool IsOutgroup(int row) const;  // false without a project
  [[nodiscard]] std::string LongestName() const;
  [[nodiscard]] std::string NameAt(int row) const;      // empty for a bad row
  [[nodiscard]] int LettersLength(int row) const;       // -1 for a bad row
  [[nodiscard]] int QualityAt(int row, int pos) const;  // -1 when out of range or no quality
  // Call after names were changed through SeqAt; RenameSeq keeps the lookups current itself.
  void NamesChanged();
  // Lookups that found the maps out of date and rebuilt them (a name or id changed behind the
  // dataset's back); the dataset's own edits never cause one.
  [[nodiscard]] int StaleLookupCount() const { return staleLookups; }

  // ---- lengths ----
  [[nodiscard]] int AlignmentLength(bool withShift) const;
  [[nodiscard]] int GroupLength(int groupNum, bool withShift) const;  // 0 or -1: all rows
  [[nodiscard]] int PolySiteRange(int& first) const;                  // -1 when none
  // One character per row: the letter at the 1-based column, '-' when the row does not cover
  // it, '!' for a disabled row or (groupNum != 0) a row of another group. Empty beyond the
  // alignment.
  [[nodiscard]] std::string ColumnLetters(int column, int groupNum) const;

  // ---- selection and enabling ----
  void Select(int row);    // -1: all
  void Unselect(int row);  // -1: all
  void ToggleSelect(int row);
  [[nodiscard]] bool IsSelected(int row) const;
  [[nodiscard]] int SelectedCount() const;
  [[nodiscard]] int BlockCount() const;
  void Enable(int row);
  void ToggleEnable(int row);
  [[nodiscard]] int NonOutgroupCount(bool all) const;
  // Rows an editing command acts on: the selected rows, or the current row when none is.
  [[nodiscard]] std::vector<int> SelectedOrCurrentRows() const;

  // ---- cursor ----
  void SetCursor(int pos, int row);

  // ---- undo ----
  void SaveUndo();
  bool Undo();  // false when no snapshot exists
  [[nodiscard]] bool HasUndo() const { return !undoSeqs.empty(); }
  [[nodiscard]] int UndoCount() const { return static_cast<int>(undoSeqs.size()) - 1; }

  // ---- cached mutation tables ----
  // Entry 0 covers all sequences, entry g the analysed group g.
  std::vector<MutHolderPtr> mutHolders;
  // The same with the first enabled outgroup sequence included.
  std::vector<MutHolderPtr> groupMutHolders;
  [[nodiscard]] int MutHolderLimit() const;  // "Max mut per dataset"
  // Drops the cached tables. Every change of rows or letters made here calls it; a caller that
  // edits a row through SeqAt calls it (or LettersChanged) itself.
  void InvalidateMutHolders();
  void LettersChanged() { InvalidateMutHolders(); }

  // ---- row-wise wrappers: row 0 = selected-or-current, -1 = all rows ----
  void ReverseRows(int row);
  void ComplementRows(int row);
  void ReverseComplementRows(int row);
  // Upper (or lower) case of from..to; the whole sequence when the range is not inside it.
  void ChangeCase(int row, int from, int to, bool upper);
  void GapNsToDash(int row);  // "Change gap Ns => '-'"
  void RemoveGapsRows(int row);
  void NameSpacesToUnderscore(int row);                      // "Whitespaces from seq. names"
  void NamePrefixBeforeUnderscore(int row);                  // "Prefix from seq name (before '_')"
  void InsertText(int row, int pos, std::string_view text);  // row -1: all rows
  void DeleteText(int row, int pos, int count);              // row -1: all rows
  void MarkGapRegions(int row);
  void DeleteRegionsOfKinds(int row, const std::set<int>& kinds, bool allRows);
  void FindRestrictionSites(int row, const std::vector<TRenzyme>& enzymes, std::string& report);
  void RemoveTrace(int row);
  void RemoveQuality(int row);
  int AddRegionClipped(int row, const TRegion& region);  // merges; -1 when rejected

  // ---- dataset-wide edits ----
  void PadWithN();
  void PadWithGaps();
  void CutToCommonEnd(bool codonAware);
  void CutToCommonStart();
  void NormaliseShifts();
  int RemoveSharedGapColumns();         // returns the number of columns removed
  int RemoveSingletonInserts(int row);  // returns the number of columns removed
  // Column resampling with replacement; byCodon keeps codons of annotated coding regions
  // together. The command seeds rng once (PlatformRandom::FromClock, or a fixed seed to
  // reproduce a run); every copy has the original's column count.
  [[nodiscard]] std::unique_ptr<TDataSeq> Bootstrap(bool byCodon, PlatformRandom& rng) const;
  // One random row per top-level group of the project; empty without project or groups.
  [[nodiscard]] std::unique_ptr<TDataSeq> Subsample(PlatformRandom& rng) const;
  // Codon position all enabled rows agree on (rowMask[row-1], all rows when empty); -1 when
  // they disagree or a row has no annotation there; -2 when no row covers the column.
  [[nodiscard]] int ColumnCodonPos(int column, const std::vector<bool>& rowMask) const;
  [[nodiscard]] std::unique_ptr<TSeq> Consensus(bool byQuality, bool selectedOnly) const;
  void SortByName(bool descending);
  void SortByPosition(int column);
  // Returns the number of reads appended to another read (and deleted).
  int MergeOverlappingReads(bool joinDisjoint, bool joinOverlapping, bool markJoin);
  int RestoreOrf(int row, bool byIndividual);  // returns the number of gap insertions made
  int MaskStops(int row, bool byIndividual, bool extendEnd);  // returns the stops masked
  int LinkMates();                                            // returns the number of pairs linked
  // Appends every read as it is (no name change, no count limit), then renumbers the ids and
  // rebuilds the lookups once: the bulk form of AddSeq for mapping files of millions of reads.
  void AppendReads(std::vector<std::unique_ptr<TSeq>>& reads);

 private:
  struct IndexEntry {
    int row = 0;    // first row with the name
    int count = 0;  // rows with the name
  };
  Services* services_;
  std::vector<std::unique_ptr<TSeq>> seqs;      // seqs[0] is the placeholder
  std::vector<std::unique_ptr<TSeq>> undoSeqs;  // snapshot, placeholder included
  // Kept current on add, rename and delete; bulk changes rebuild once. A hit whose row no
  // longer carries the name (a field changed behind the dataset's back) rebuilds them. The two
  // name maps are made on the first lookup by name: a dataset read only to be analysed holds
  // no second copy of every name.
  mutable std::unordered_map<std::string, IndexEntry> nameIndex;  // lookup key
  mutable std::unordered_map<std::string, IndexEntry> exactNames;
  mutable bool namesIndexed = false;
  mutable SeqIdIndex idIndex;  // seqId -> row
  SuffixHints suffixHints;     // cleared whenever a name leaves
  // Rows deleted since the maps last caught up, as map rows, ascending. Renumbering every
  // entry once per deletion would make deleting rows one by one quadratic; the maps catch up
  // once this list is full, and lookups translate in between.
  mutable std::vector<int> pendingGone;
  mutable int staleLookups = 0;
  static constexpr std::size_t kMaxPendingGone = 64;

  void RebuildLookups() const;
  void IndexNames() const;  // makes the name maps when they are not there yet
  void RowsChanged();       // lookups rebuilt, cached tables dropped
  void IndexRow(int row);
  void UnindexRow(int row);  // before the row's name or id changes or the row goes
  void ForgetRow(int row);   // the row is about to go
  int ToMapRow(int row) const;
  int FromMapRow(int mapRow) const;
  std::vector<int> RowsFor(int row) const;    // 0: selected-or-current; -1: all; else one
  std::vector<int> RowsOrAll(int row) const;  // -1: all; else one
  // Deletes ascending, non-overlapping column runs (first column, count) from every row in one
  // pass per row; columns before a row's first letter lower its shift.
  void DeleteColumns(const std::vector<std::pair<int, int>>& runs);
  void InsertGapColumns(int column, int count);
  int TargetRow(int row, bool byIndividual) const;  // -1 when none

  friend class TDataProj;
};
