// SPDX-License-Identifier: GPL-3.0-or-later
// Small builders for dataset and project tests: sequences from text, rows as text.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "model/DataProjUnit.h"
#include "model/Datasequnit.h"
#include "model/tsequnit.h"

inline std::unique_ptr<TSeq> MakeSeq(const std::string& name, const std::string& letters,
                                     int shift = 0, int individ = -1) {
  auto s = std::make_unique<TSeq>();
  s->seqName = name;
  s->letters = letters;
  s->columnShift = shift;
  s->individId = individ;
  s->SyncLength();
  return s;
}

// Adds a row and returns it; fails the test when the dataset refuses.
inline TSeq& AddRow(TDataSeq& ds, const std::string& name, const std::string& letters,
                    int shift = 0, int individ = -1) {
  auto s = MakeSeq(name, letters, shift, individ);
  const int row = ds.AddSeq(s, true);
  return *ds.SeqAt(row);
}

inline std::vector<std::string> RowLetters(const TDataSeq& ds) {
  std::vector<std::string> out;
  for (int r = 1; r <= ds.Count(); ++r) out.push_back(ds.SeqAt(r)->letters);
  return out;
}

inline std::vector<int> RowShifts(const TDataSeq& ds) {
  std::vector<int> out;
  for (int r = 1; r <= ds.Count(); ++r) out.push_back(ds.SeqAt(r)->columnShift);
  return out;
}

inline std::vector<std::string> RowNames(const TDataSeq& ds) {
  std::vector<std::string> out;
  for (int r = 1; r <= ds.Count(); ++r) out.push_back(ds.SeqAt(r)->seqName);
  return out;
}

inline TRegion MakeRegion(int start, int end, int kind, int codonPos = 0) {
  TRegion r;
  r.regStart = start;
  r.regEnd = end;
  r.regType = static_cast<std::uint8_t>(kind);
  r.codonPos = codonPos;
  return r;
}
