// SPDX-License-Identifier: GPL-3.0-or-later
// Shared pieces of the text format tests: reading into a fresh project, comparing datasets,
// loading the real sample files.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "io/IOUnit.h"
#include "model/DataProjUnit.h"
#include "model/Datasequnit.h"
#include "model/tsequnit.h"
#include "support/RecordingServices.h"

// The part of a dataset every alignment format carries: names and letters in row order.
using Rows = std::vector<std::pair<std::string, std::string>>;

inline Rows RowsOf(const TDataSeq& ds) {
  Rows rows;
  for (int row = 1; row <= ds.Count(); ++row) {
    const TSeq* s = ds.SeqAt(row);
    rows.emplace_back(s->seqName,
                      std::string(static_cast<std::size_t>(s->columnShift), '-') + s->letters);
  }
  return rows;
}

// A dataset filled with the given rows, for the writers.
inline void Fill(TDataSeq& ds, const Rows& rows) {
  for (const auto& [name, letters] : rows) {
    auto seq = std::make_unique<TSeq>(name, letters);
    (void)ds.AddSeq(seq, false);
  }
}

// Total messages: errors in the pane plus notices.
inline std::size_t MessageCount(const RecordingServices& svc) {
  return svc.messages.errors.size() + svc.messages.notices.size();
}

std::string ReadTestFile(const std::string& name);  // from tests/data; empty when absent

// Replaces every LF by CR LF.
std::string WithCrLf(const std::string& text);
