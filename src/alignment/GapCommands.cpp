// SPDX-License-Identifier: GPL-3.0-or-later
// Copying gaps and shifts between sequences, from an alignment file, and extending sequences
// by the longer copies a FASTA file holds.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <set>

#include "alignment/AlignCommands.h"
#include "alignment/MuscleAlign.h"
#include "editor/CommandSupport.h"
#include "editor/ReadLetters.h"
#include "io/ByteSource.h"
#include "io/Dispatcher.h"
#include "io/FormatTables.h"
#include "io/IOUnit.h"
#include "model/Datasequnit.h"

namespace {

constexpr std::size_t kProbe = 20;

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Gives each enabled target row the source row's shift or gap columns.
void CopyWithin(TDataSeq& ds, int sourceRow, const std::vector<int>& targets, bool shiftOnly) {
  const TSeq& source = *ds.SeqAt(sourceRow);
  ds.SaveUndo();
  for (int r : targets) {
    TSeq* t = ds.SeqAt(r);
    if (t == nullptr || r == sourceRow || !t->enabled) continue;
    if (shiftOnly)
      t->columnShift = source.columnShift;
    else
      CopyGapColumns(*t, source);
  }
  ds.InvalidateMutHolders();
}

std::vector<int> OtherRows(const TDataSeq& ds, int row) {
  std::vector<int> rows;
  for (int r = 1; r <= ds.Count(); ++r)
    if (r != row) rows.push_back(r);
  return rows;
}

// The row a whole-number name stands for, 0 when it is none of 1..count.
int RowNumbered(const std::string& name, int count) {
  int k = 0;
  const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), k);
  if (ec != std::errc() || end != name.data() + name.size() || k < 1 || k > count) return 0;
  return k;
}

// Where probe lies in f (1-based), else minus where it lies in rc, else 0.
long long ProbeAt(const std::string& probe, const std::string& f, const std::string& rc) {
  if (const auto p = f.find(probe); p != std::string::npos) return static_cast<long long>(p) + 1;
  if (const auto p = rc.find(probe); p != std::string::npos) return -static_cast<long long>(p) - 1;
  return 0;
}

// The letters the file sequence holds before the probe, in the probe's orientation.
std::string Before(long long q, const std::string& f, const std::string& rc) {
  if (q > 1) return f.substr(0, static_cast<std::size_t>(q - 1));
  if (q < -1) return rc.substr(0, static_cast<std::size_t>(-q - 1));
  return {};
}

}  // namespace

void CopyGapColumns(TSeq& target, const TSeq& source) {
  if (!target.enabled) return;
  target.RemoveGaps();
  const int length = target.Length();
  const std::string& pattern = source.letters;
  const int width = static_cast<int>(pattern.size());
  std::vector<std::pair<int, int>> runs;
  int inserted = 0;
  for (int p = 1; p <= width;) {
    if (pattern[static_cast<std::size_t>(p - 1)] != '-') {
      ++p;
      continue;
    }
    int e = p;
    while (e < width && pattern[static_cast<std::size_t>(e)] == '-') ++e;
    // The run's first column, as a position in the target before any run goes in.
    const int at = p + source.columnShift - target.columnShift - inserted;
    if (at >= 1 && at <= length) {
      runs.emplace_back(at, e - p + 1);
      inserted += e - p + 1;
    }
    p = e + 1;
  }
  target.InsertGapRuns(runs);
}

bool CopyGapsFromCurrent(EditorContext& ctx, bool shiftOnly) {
  TDataSeq* ds = CommandDataset(ctx);
  if (ds == nullptr || ctx.locked) return false;
  const int sourceRow = ds->currentRow;
  const TSeq* source = ds->SeqAt(sourceRow);
  if (source == nullptr) return false;
  Services& svc = ctx.services;
  std::vector<int> targets;
  for (int r = 1; r <= ds->Count(); ++r)
    if (ds->IsSelected(r) && r != sourceRow) targets.push_back(r);
  const bool all = targets.empty();
  if (all && !svc.messages.AskYesNo("No sequences selected. Copy to all seq in the dataset?"))
    return false;

  const int individ = source->individId;
  const int individIndex = individ >= 0 ? ctx.project.IndividIndexByKey(individ) : -1;
  if (ctx.project.DatasetCount() > 1 && individIndex >= 0 &&
      svc.messages.AskYesNo("Proceed with all datasets in the project?\r\n(will attempt to copy "
                            "from seq@individ " +
                            ctx.project.IndividName(individIndex) +
                            "; each dataset should have a sequence assigned to that "
                            "individ)\r\n\r\nPress NO to copy gaps only in the current dataset")) {
    std::set<int> individs;
    for (int r : targets) individs.insert(ds->SeqAt(r)->individId);
    for (TDataSeq* d : AllDatasets(ctx)) {
      const int from = d->RowOfIndivid(individ);
      if (from < 1) continue;
      std::vector<int> rows;
      for (int r = 1; r <= d->Count(); ++r)
        if (r != from && (all || individs.count(d->SeqAt(r)->individId) > 0)) rows.push_back(r);
      if (!rows.empty()) CopyWithin(*d, from, rows, shiftOnly);
    }
  } else {
    CopyWithin(*ds, sourceRow, all ? OtherRows(*ds, sourceRow) : targets, shiftOnly);
  }
  ctx.modified = true;
  return true;
}

int CopyGapsFromFile(EditorContext& ctx, const std::string& path, int formatCode) {
  TDataSeq* ds = CommandDataset(ctx);
  if (ds == nullptr || ctx.locked) return 0;
  Services& svc = ctx.services;
  TDataProj scratch(svc);
  OpenWindow window(scratch);
  OpenResult read;
  if (formatCode <= kCodeAuto) {
    int detected = 0;
    read = OpenDetected(path, window, svc, detected);
  } else {
    OpenOptions options;
    options.showProgress = false;
    read = DispatchFile(path, formatCode, options, &window, svc);
  }
  const TDataSeq* file = scratch.CurrentDataset();
  if (!read.handled || !read.ReadSomething() || file == nullptr) {
    svc.messages.Notify("Error: cannot open file " + path);
    return -1;
  }
  ds->SaveUndo();
  int taken = 0;
  for (int fr = 1; fr <= file->Count(); ++fr) {
    const TSeq& aligned = *file->SeqAt(fr);
    int target = ds->RowById(aligned.seqId);
    if (target < 1) target = RowNumbered(aligned.seqName, ds->Count());
    TSeq* t = ds->SeqAt(target);
    if (t == nullptr || !t->ApplyGapPatternAt(aligned, '-', true, true, true, 0)) continue;
    // A leading gap run of the file row has become shift: the file row's own shift adds to it.
    t->columnShift += aligned.columnShift;
    ++taken;
  }
  if (taken > 0) {
    ds->NormaliseShifts();
    ds->InvalidateMutHolders();
    ctx.modified = true;
  }
  return taken;
}

int ExtendFromSequence(TSeq& row, std::string_view fileLetters) {
  if (!row.enabled) return 0;
  const std::string f = WithoutGaps(fileLetters);
  const std::string rc = ReverseComplement(f);
  const std::string upperF = Upper(f), upperRc = Upper(rc);
  const std::string own = Upper(WithoutGaps(row.letters));
  // A shorter probe would be found by chance.
  if (own.size() < kProbe) return 0;
  const std::string left = Before(ProbeAt(own.substr(0, kProbe), upperF, upperRc), f, rc);
  const std::string right = ReverseComplement(
      Before(ProbeAt(Upper(ReverseComplement(own)).substr(0, kProbe), upperF, upperRc), f, rc));
  if (!left.empty()) {
    // Before the first letter, so that the old letters keep their columns.
    const auto first = row.letters.find_first_not_of('-');
    row.InsertSequence(static_cast<int>(first) + 1, TSeq({}, left));
    row.columnShift -= static_cast<int>(left.size());
  }
  if (!right.empty()) {
    const auto last = row.letters.find_last_not_of('-');
    row.InsertSequence(static_cast<int>(last) + 2, TSeq({}, right));
  }
  return static_cast<int>(left.size() + right.size());
}

int ExtendFromFile(EditorContext& ctx, const std::string& path) {
  if (ctx.locked || CommandDataset(ctx) == nullptr) return 0;
  Services& svc = ctx.services;
  FileSource source;
  TDataSeq file(svc);
  ReadContext read(svc, path);
  if (!source.Open(path) || !OpenFasta(source, read, file)) {
    svc.messages.Notify("Error: cannot open file " + path);
    return -1;
  }
  int extended = 0;
  for (TDataSeq* ds : AllDatasets(ctx)) {
    bool saved = false, changed = false;
    for (int r = 1; r <= ds->Count(); ++r) {
      TSeq& row = *ds->SeqAt(r);
      const TSeq* match = file.SeqAt(file.RowByName(row.seqName));
      if (match == nullptr) continue;
      if (!saved) ds->SaveUndo();
      saved = true;
      if (ExtendFromSequence(row, match->letters) > 0) {
        changed = true;
        ++extended;
      }
    }
    if (!changed) continue;
    ds->NormaliseShifts();
    ds->InvalidateMutHolders();
    ctx.modified = true;
  }
  return extended;
}
