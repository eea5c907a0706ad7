// SPDX-License-Identifier: GPL-3.0-or-later
// Alignment of a dataset by the outside multiple aligner MUSCLE, run on windows of columns so
// that long sequences can be aligned, with the gaps it finds laid back into the sequences.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "common/Services.h"

class TDataSeq;
class TSeq;

constexpr int kAlignFailed = -1;
constexpr int kAlignCancelled = -2;

// The aligner and how it is called. MUSCLE 5 (Debian's) takes -align IN -output OUT and
// rejects MUSCLE 3's -maxiters 3 -diags -in IN -out OUT.
struct OutsideAligner {
  std::string program;  // empty when none was found
  int majorVersion = 5;
};

// MUSCLE from the program's folder ("muscle", "muscle.exe"), else on PATH; with an explicit
// program that one. The major version is asked once here (-version); an empty program when
// none is found or an explicit one does not exist, after a message saying so.
OutsideAligner FindAligner(Services& services, const std::string& explicitProgram = {});

// "Alignment window size" as the alignment uses it: 5000 outside 101..34999.
int EffectiveWindowSize(int setting);

struct MuscleRun {
  OutsideAligner aligner;
  bool showProgress = true;  // a bar over the windows (off when the caller has its own)
  bool applyShift = true;    // a gap run before a sequence's first letter becomes columnShift
  bool trailing = false;     // keep a gap run after a sequence's last letter
  bool saveUndo = true;      // off when the caller took the dataset's undo copy itself
  std::vector<int> rows;     // the rows aligned; empty: every row
};

// Aligns the dataset window by window. 0 on success; kAlignFailed when the aligner is missing,
// fails or gives back anything but the sequences it was given (a message names the program and
// its error output); kAlignCancelled when the user confirmed "Cancel alignment?" ("Alignment
// cancelled" is shown). On failure and cancel the dataset is as it was (its undo copy).
[[nodiscard]] int MuscleAlign(TDataSeq& ds, Services& services, const MuscleRun& run);

// The letters without '-'.
std::string WithoutGaps(std::string_view s);
// Equal letters, case aside: what an aligner that upper-cases gives back is accepted.
bool SameIgnoringCase(std::string_view x, std::string_view y);

// Replaces the gaps among positions first..last of s by the gap runs of pattern (those
// positions' letters with the gaps an aligner gave them), put in from position first on.
void LayGapRuns(TSeq& s, int first, int last, std::string_view pattern);
