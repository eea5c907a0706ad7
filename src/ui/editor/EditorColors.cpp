// SPDX-License-Identifier: GPL-3.0-or-later
// Editor colour items.
#include "ui/editor/EditorColors.h"

#include "common/ColorScheme.h"

const std::array<EditorColorItem, 18>& EditorColorItems() {
  static const std::array<EditorColorItem, 18> items{{
      {kLetterAColor, "A-color"},
      {kLetterTColor, "T-color"},
      {kLetterGColor, "G-color"},
      {kLetterCColor, "C-color"},
      {kOtherLetterColor, "N-color"},
      {kSelectedSeqColor, "Selected sequence"},
      {kSelectedBlockColor, "Selected region"},
      {kDisabledSeqColor, "Hidden sequence"},
      {kSeqLineColor, "Sequence line"},
      {kExonColor, "Exon"},
      {kIntronColor, "Intron"},
      {kCodingColor, "Coding (CDS)"},
      {kNoncodingColor, "Noncoding"},
      {kMiscRegionColor, "Misc.feature"},
      {kPrimerColor, "Primer"},
      {kIndelColor, "Indel or gap"},
      {kCursorColor, "Cursor color"},
      {kBackgroundColor, "Background color"},
  }};
  return items;
}
