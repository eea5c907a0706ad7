// SPDX-License-Identifier: GPL-3.0-or-later
// Functional region commands of the editor: assignment over blocks, SNP and indel marking,
// removal of assignments, deletion of region letters, splicing and region merging.
#pragma once
#include <string>

#include "editor/EditorContext.h"

// A region an assignment command places: kind, codon position of its first letter, name.
struct RegionAssignment {
  int kind;
  int codonPos;
  const char* name;
};
inline constexpr RegionAssignment kAssignCds1{kRegCds, 1, "CDS"};
inline constexpr RegionAssignment kAssignCds2{kRegCds, 2, "CDS"};
inline constexpr RegionAssignment kAssignCds3{kRegCds, 3, "CDS"};
inline constexpr RegionAssignment kAssignNoncoding{kRegNoncoding, 0, "Noncoding"};
inline constexpr RegionAssignment kAssignIntron{kRegIntron, 0, "Intron"};
inline constexpr RegionAssignment kAssignOrf1{kRegOrf, 1, "ORF"};
inline constexpr RegionAssignment kAssignOrf2{kRegOrf, 2, "ORF"};
inline constexpr RegionAssignment kAssignOrf3{kRegOrf, 3, "ORF"};
inline constexpr RegionAssignment kAssignExon1{kRegExon, 1, "Exon"};
inline constexpr RegionAssignment kAssignExon2{kRegExon, 2, "Exon"};
inline constexpr RegionAssignment kAssignExon3{kRegExon, 3, "Exon"};
inline constexpr RegionAssignment kAssignGene{kRegGene, 0, "Gene"};
inline constexpr RegionAssignment kAssignVector{kRegVector, 0, "Vector"};
inline constexpr RegionAssignment kAssignRepeat{kRegRepeat, 0, "Repeat region"};
inline constexpr RegionAssignment kAssignHetSnp{kRegHetSnp, 0, "Heterozygous SNP"};
inline constexpr RegionAssignment kAssignHetIndel{kRegHetIndel, 0, "Heterozygous indel"};
inline constexpr RegionAssignment kAssignMisc{kRegMisc, 0, "Misc.region"};

// Places the region (forward strand, empty comment) over the block of every enabled row that
// has one; returns the number of rows that got it.
int AssignRegion(EditorContext& ctx, const RegionAssignment& region);
// "&SNP" and "Indel or &gap". The window switches the SNP display on before calling. Yes to
// the first question marks every polymorphic (indel) site of the dataset in every row that is
// not an outgroup; No marks the blocks, else the cursor column of the selected rows or the
// current row. Return the number of regions added.
int AssignSnps(EditorContext& ctx);
int AssignIndels(EditorContext& ctx);

// "&Remove region assignment" items.
enum class RegionRemoval { All, Exons, Introns, Genes, Cds, Misc };
// Deletes the kinds from every row of the scope; returns the number of datasets processed.
int RemoveRegionAssignments(EditorContext& ctx, RegionRemoval which);

// Deletes the letters of the kind (allBut: of every other kind) in each row of the current
// dataset. "Delete all non-coding" is (kRegCds, true), "Delete all coding" (kRegCds, false).
bool DeleteRegionLetters(EditorContext& ctx, int kind, bool allBut);
// "Splice CDS" / "Splice exons".
bool SpliceRegions(EditorContext& ctx, int kind);

// "Merge overlapping": MergeRegions on every row of the scope.
bool MergeOverlappingRegions(EditorContext& ctx);
// "Merge CDS split by NNNN"; returns the pairs merged (-1 when declined).
int MergeCdsSplitByNs(EditorContext& ctx);
// "Turn all CDSs ===>"; returns the sequences turned (-1 when declined).
int TurnAllCdsForward(EditorContext& ctx);
