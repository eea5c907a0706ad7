// SPDX-License-Identifier: GPL-3.0-or-later
// TDataSeq: the row-wise wrappers around the sequence operations (strand, case, gaps, names,
// regions, traces). Row 0 means the selected rows or else the current one, -1 all rows.
#include <cctype>

#include "model/Datasequnit.h"

void TDataSeq::ReverseRows(int row) {
  for (int r : RowsFor(row)) SeqAt(r)->Reverse(false);
  InvalidateMutHolders();
}

void TDataSeq::ComplementRows(int row) {
  for (int r : RowsFor(row)) SeqAt(r)->Complement(false);
  InvalidateMutHolders();
}

void TDataSeq::ReverseComplementRows(int row) {
  for (int r : RowsFor(row)) SeqAt(r)->ReverseComplement(false);
  InvalidateMutHolders();
}

void TDataSeq::ChangeCase(int row, int from, int to, bool upper) {
  for (int r : RowsFor(row)) {
    TSeq& s = *SeqAt(r);
    const bool inside = from >= 1 && to <= s.Length() && from <= to;
    const int first = inside ? from : 1, last = inside ? to : s.Length();
    for (int p = first; p <= last; ++p) {
      char& c = s.letters[static_cast<std::size_t>(p - 1)];
      const auto u = static_cast<unsigned char>(c);
      c = static_cast<char>(upper ? std::toupper(u) : std::tolower(u));
    }
  }
  InvalidateMutHolders();
}

void TDataSeq::GapNsToDash(int row) {
  for (int r : RowsFor(row)) SeqAt(r)->ReplaceLetter('N', '-');
  InvalidateMutHolders();
}

void TDataSeq::RemoveGapsRows(int row) {
  for (int r : RowsFor(row)) SeqAt(r)->RemoveGaps();
  InvalidateMutHolders();
}

void TDataSeq::NameSpacesToUnderscore(int row) {
  for (int r : RowsFor(row)) {
    std::string name = SeqAt(r)->seqName;
    const auto first = name.find_first_not_of(" \t");
    const auto last = name.find_last_not_of(" \t");
    name = first == std::string::npos ? std::string() : name.substr(first, last - first + 1);
    for (char& c : name)
      if (c == ' ' || c == '\t') c = '_';
    (void)RenameSeq(r, name, true);
  }
}

void TDataSeq::NamePrefixBeforeUnderscore(int row) {
  for (int r : RowsFor(row)) {
    const std::string& name = SeqAt(r)->seqName;
    const auto bar = name.find('_');
    // A name without '_' or with nothing after it stays as it is.
    if (bar == std::string::npos || bar + 1 >= name.size()) continue;
    (void)RenameSeq(r, name.substr(bar + 1), true);
  }
}

void TDataSeq::InsertText(int row, int pos, std::string_view text) {
  if (row == 0) return;
  for (int r : RowsFor(row)) SeqAt(r)->InsertLetters(pos, text, false);
  InvalidateMutHolders();
}

void TDataSeq::DeleteText(int row, int pos, int count) {
  if (row == 0) return;
  for (int r : RowsFor(row)) SeqAt(r)->DeleteLetters(pos, count, false);
  InvalidateMutHolders();
}

void TDataSeq::MarkGapRegions(int row) {
  for (int r : RowsFor(row)) SeqAt(r)->MarkGapRegions();
}

void TDataSeq::DeleteRegionsOfKinds(int row, const std::set<int>& kinds, bool allRows) {
  for (int r : RowsFor(allRows ? -1 : row)) SeqAt(r)->DeleteRegionsOfKinds(kinds);
  InvalidateMutHolders();
}

void TDataSeq::FindRestrictionSites(int row, const std::vector<TRenzyme>& enzymes,
                                    std::string& report) {
  if (row == 0) return;
  for (int r : RowsFor(row)) SeqAt(r)->FindRestrictionSites(enzymes, report);
}

void TDataSeq::RemoveTrace(int row) {
  for (int r : RowsFor(row)) {
    TSeq& s = *SeqAt(r);
    s.traceA.clear();
    s.traceC.clear();
    s.traceG.clear();
    s.traceT.clear();
    s.peakPos.clear();
    s.hasTrace = false;
    s.showTrace = false;
  }
}

void TDataSeq::RemoveQuality(int row) {
  for (int r : RowsFor(row)) SeqAt(r)->quality.clear();
}

int TDataSeq::AddRegionClipped(int row, const TRegion& region) {
  TSeq* s = SeqAt(row);
  if (s == nullptr) return -1;
  const int id = s->AddRegionClipped(region, true);
  InvalidateMutHolders();
  return id < 0 ? -1 : s->RegionIndexById(id);
}
