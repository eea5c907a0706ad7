// SPDX-License-Identifier: GPL-3.0-or-later
// Similarity search: where a query (typically a cloning vector) lies in the sequences of a
// dataset, on both strands, by identity in an ungapped window or as an exact substring; and a
// local alignment score (Smith-Waterman, +1/-1, linear gap) of the query against each row.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/Services.h"
#include "model/tsequnit.h"

class TDataSeq;

inline constexpr const char* kSimSearchPlaceholder =
    "Paste (Ctrl-V) vector sequence here or load from file";

struct IdentityHit {
  int pos = 0;  // 1-based window start, 0 when none
  double identity = 0;
};
// The first window (from `from` on, 1-based) of target whose identity with query is strictly
// greater than minIdentity percent; no gaps. Both compared upper-cased.
IdentityHit IdentityWindowSearch(std::string_view query, std::string_view target,
                                 double minIdentity, int from = 1);

// The places of query in target on both strands as regions of a scratch sequence: kind Misc.,
// forward hits first; a reverse-strand hit runs from the target position of its last letter
// down to that of its first (regStart >= regEnd). minIdentity 100 (or more) finds exact copies
// only. Line breaks are dropped from the query.
TSeq SimilaritySearch(std::string_view target, std::string_view query, double minIdentity);

// The best local alignment score of a against b: +1 for equal letters (either case), -1 for
// unequal ones, `gap` for each gap letter. Memory in proportion to b.
int SmithWatermanScore(std::string_view a, std::string_view b, int gap);

// The query the dialog searches for: the loaded sequence's letters, else the memo's text unless
// it is the placeholder; line breaks removed. Empty when there is none.
std::string SearchQuery(const TSeq* loaded, std::string_view memoText);

// The query from a file, by the entry of the file dialog's filter list: 1 FASTA (its first
// sequence), 2 plain text, 3 GenBank (its first record), 4 EMBL and 5 Staden EXP (the
// experiment-file reader). nullptr when nothing was read; any other entry gives the notice
// "I/O Error: can not recognise format of the file " + path.
std::unique_ptr<TSeq> LoadQuery(const std::string& path, int filterIndex, Services& services);

struct SimSearchOptions {
  bool allSeqs = false;  // false: the rows flagged selected
  bool identity = true;  // "Similarity (%)"
  double minIdentity = 100;
  bool mark = true;    // hits become regions of the rows
  bool score = false;  // "BLAST": the local alignment score of each row
};

struct SimSearchRowScore {
  int row = 0;
  int score = 0;
};

struct SimSearchOutput {
  int rowsSearched = 0;
  int hits = 0;
  int marked = 0;      // regions added to rows
  std::string report;  // one line per hit: sequence, start, end, strand, identity (CR LF)
  std::vector<SimSearchRowScore> scores;
};

// Searches the rows of ds in row order; each score is also shown as the notice
// "SmithWaterman score = " + score. An empty query searches nothing.
SimSearchOutput RunSimilaritySearch(TDataSeq& ds, const std::string& query,
                                    const SimSearchOptions& options, Services& services);
