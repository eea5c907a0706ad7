// SPDX-License-Identifier: GPL-3.0-or-later
// What the sequence grid shows, decided without a window: letter and region colours, which
// region kinds are drawn, the dotted view, band heights and the mouse hint text.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "common/ColorScheme.h"
#include "model/Datasequnit.h"

// One entry of the list of region kinds the grid draws.
struct RegionDisplayEntry {
  int kind = 0;
  bool shown = false;
};
// 24 entries: "Sequence" shown, then the kinds with file codes 1..23, shown for CDS, Noncoding,
// Intron, Exon, ORF, SNP, Heterozygous SNP, Gene, tRNA and rRNA.
std::vector<RegionDisplayEntry> DefaultRegionDisplay();
// The trace view's copy: every entry shown.
std::vector<RegionDisplayEntry> AllShownRegionDisplay();
// Per kind (0..27): drawn or not. Kinds missing from the list are not drawn.
std::array<bool, 28> ShownKinds(const std::vector<RegionDisplayEntry>& display);

// Colour slot of a letter: A/C/G/T/U in either case take their letter colour and every other
// letter the colour of other letters, for DNA, RNA, cDNA and SNP rows; -1 (the font colour) for
// other sequence types; the disabled colour for a disabled row.
int LetterColorSlot(int seqType, char letter, bool enabled);
// Colour slot of a region kind's band.
int RegionColorSlot(int kind);
// Band height of a kind from the scheme's metrics (CDS/ORF, Exon, Intron, Primer, others).
int RegionBandHeight(int kind, const ColorScheme& scheme);
// Dotted view: a letter equal (ignoring case) to the first row's letter at the same column is
// shown as '.', on rows after the first. firstRowLetter 0: the first row has no letter there.
bool IsDottedLetter(int row, char letter, char firstRowLetter);

// Zoomed out, when columns are too narrow for letters, each column is a block in its letter's
// colour; where several columns share one pixel, the letter shown for alignment columns
// first..last of the row is the first that differs (ignoring case) from the reference row's
// letter in its column, else the first letter that is not a gap, else '-'. 0 when the row has
// no letter there. reference may be nullptr (or the row itself).
char OverviewLetter(const TSeq& seq, const TSeq* reference, int firstColumn, int lastColumn);

// Label of a region band: the kind's display name, then ": " and the region name when the name
// differs from the kind's (trimmed, upper-cased).
std::string RegionLabel(const TRegion& region);
// Pixels from the band's left edge to its label: 18 for exons, 40 for genes, 1 otherwise.
int RegionLabelIndent(int kind);

// Hint for the mouse over the grid. ds null: no dataset. pos: letter under the mouse (0 when the
// mouse is over no letter); yInRow: pixels from the row's top.
std::string GridHintText(const TDataSeq* ds, int row, int pos, int yInRow, int rowHeight,
                         const ColorScheme& scheme);
