// SPDX-License-Identifier: GPL-3.0-or-later
// Clustal runs. The program is waited for in a folder made for the run, so an "infile.aln" of
// an earlier run can never be read, and what it gives back is checked before any row changes.
#include "alignment/ClustalAlign.h"

#include <charconv>
#include <fstream>
#include <limits>

#include "alignment/ExtProgUnit.h"
#include "alignment/MuscleAlign.h"
#include "alignment/TreeAlign.h"
#include "io/ByteSource.h"
#include "io/IOUnit.h"
#include "model/Datasequnit.h"

namespace {

std::string BlockOrLetters(const TSeq& s, bool blocks) {
  if (!blocks) return s.letters;
  return s.letters.substr(static_cast<std::size_t>(s.selStart - 1),
                          static_cast<std::size_t>(s.selLength));
}

// The row number a Clustal name stands for, 0 when it is none of 1..count.
int NumberOf(const std::string& name, int count) {
  int k = 0;
  const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), k);
  if (ec != std::errc() || end != name.data() + name.size() || k < 1 || k > count) return 0;
  return k;
}

std::string NotFoundMessage(const std::string& seqName, const std::string& dsName) {
  return "Error in sequence " + seqName + " of dataset " + dsName +
         "\r\nCannot find the sequence to insert alignment gaps.\r\nThis is most likely due to "
         "sequence name that Clustal did not like\r\n(e.g. >30 letters or having spaces in the "
         "name). Change the seq. name and try again.";
}

}  // namespace

std::string FindClustal(Services& services, const std::string& explicitProgram) {
  std::string program;
  if (!explicitProgram.empty()) {
    program = FindProgram(".", {explicitProgram}, {});
    if (program.empty()) program = FindProgram({}, {}, explicitProgram);
  } else {
    program =
        FindProgram(services.settings.programFolder, {"cl", "cl.exe", "clustalw"}, "clustalw");
  }
  if (program.empty())
    services.messages.ReportError(
        explicitProgram.empty()
            ? "No Clustal aligner found: cl in the program's folder or clustalw on PATH (the "
              "clustalw package)"
            : "No Clustal aligner found: " + explicitProgram + " is not an executable program");
  return program;
}

int ClustalAlign(TDataSeq& ds, Services& svc, const std::string& program) {
  const TreeAlignScope scope = TreeAlignScopeOf(ds);
  const int n = static_cast<int>(scope.rows.size());
  if (n < 2) return 0;
  const auto fail = [&](const std::string& why, const std::string& errors) {
    std::string text = "Clustal could not align dataset " + ds.dsName + ": " + why;
    if (!errors.empty()) text += "\r\n" + errors;
    svc.messages.ReportError(text);
    return kAlignFailed;
  };
  if (program.empty()) return fail("no aligner", {});

  std::vector<std::string> letters;
  for (int r : scope.rows)
    letters.push_back(WithoutGaps(BlockOrLetters(*ds.SeqAt(r), scope.blocks)));
  WorkFolder work;
  if (!work.Valid()) return fail("no working folder could be made", {});
  {
    std::ofstream file(work.File("infile.f"), std::ios::binary);
    for (int k = 0; k < n; ++k)
      file << '>' << k + 1 << '\n' << letters[static_cast<std::size_t>(k)] << '\n';
    if (!file) return fail("its input file could not be written", {});
  }
  TExtProg runner(svc);
  if (runner.Start(program, {"infile.f"}, work.Path()) != 0)
    return fail("it could not be started", runner.ErrorOutput());
  const std::string status = "Aligning " + ds.dsName + " ";
  if (!runner.Wait([&](char spinner) { return status + spinner; }, "Cancel alignment?")) {
    svc.messages.Notify("Alignment cancelled");
    return kAlignCancelled;
  }
  if (!runner.Succeeded())
    return fail("it ended with exit code " + std::to_string(runner.ExitCode()),
                runner.ErrorOutput());

  const std::string out = work.File("infile.aln");
  FileSource source;
  if (!source.Open(out)) return fail("it wrote no infile.aln", runner.ErrorOutput());
  QuietMessages quiet;
  NullProgress still;
  Services readServices{quiet, still, svc.settings, svc.genCode};
  TDataSeq answer(readServices);
  ReadContext ctx(readServices, out);
  (void)OpenClustal(source, ctx, answer);

  // aligned[k]: the letters Clustal gave sequence k + 1.
  std::vector<std::string> aligned(static_cast<std::size_t>(n));
  for (int r = 1; r <= answer.Count(); ++r) {
    const int k = NumberOf(answer.NameAt(r), n);
    if (k == 0) {
      svc.messages.Notify(NotFoundMessage(answer.NameAt(r), ds.dsName));
      return kAlignFailed;
    }
    aligned[static_cast<std::size_t>(k - 1)] = answer.SeqAt(r)->letters;
  }
  for (int k = 0; k < n; ++k) {
    const auto uk = static_cast<std::size_t>(k);
    const std::string name = ds.NameAt(scope.rows[uk]);
    if (aligned[uk].empty()) {
      svc.messages.Notify(NotFoundMessage(name, ds.dsName));
      return kAlignFailed;
    }
    if (!SameIgnoringCase(WithoutGaps(aligned[uk]), letters[uk]))
      return fail("the letters of sequence " + name + " came back changed", {});
    if (aligned[uk].size() != aligned[0].size())
      return fail("sequence " + name + " came back with another length than the others", {});
  }

  ds.SaveUndo();
  int leftmost = std::numeric_limits<int>::max();
  for (int r : scope.rows)
    leftmost = std::min(leftmost, ds.SeqAt(r)->selStart + ds.SeqAt(r)->columnShift);
  for (int k = 0; k < n; ++k) {
    TSeq& s = *ds.SeqAt(scope.rows[static_cast<std::size_t>(k)]);
    const std::string& pattern = aligned[static_cast<std::size_t>(k)];
    if (scope.blocks) {
      const int start = s.selStart;
      LayGapRuns(s, start, start + s.selLength - 1, pattern);
      s.selStart = start;
      s.selLength = static_cast<int>(pattern.size());
      s.columnShift = leftmost - start;
    } else {
      // The whole row, even where the row has a block of its own selected.
      const TSeq copy(s.seqName, pattern);
      (void)s.ApplyGapPatternAt(copy, '-', true, true, true, 0);
    }
  }
  ds.NormaliseShifts();
  ds.InvalidateMutHolders();
  return 0;
}
