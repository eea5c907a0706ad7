// SPDX-License-Identifier: GPL-3.0-or-later
// "Fragment fasta file": simulated paired reads cut from the sequence lines of a FASTA file.
#pragma once
#include <iosfwd>
#include <string>

struct IProgress;

struct FragmentOptions {
  int readLength = 100;  // L: "Enter fragment ("read") length"
  int distance = 500;    // D: "Enter distance between paired "reads""
  int step = 10;         // S: "Enter step size"
};

// Why the options cannot be used, or empty when they can. A step of 0 would divide by zero.
std::string FragmentOptionsProblem(const FragmentOptions& options);

struct FragmentOutcome {
  int pairs = 0;
  bool cancelled = false;
};

// Every input line not starting with '>' and longer than 2L + D letters gives
// m = trunc((length - D - 2L) / S) read positions o = 1..m: read 1 is the L letters from
// 1-based position S*o, read 2 the reverse complement of the L letters from L + S*o + D.
// Pairs holding 'N', 'n' or '-' are skipped. Records go to out1/out2 with CR LF line ends.
// The options must have passed FragmentOptionsProblem. Escape (the cancel flag, noticed every
// 1000 positions) stops the run with `cancelled` set.
FragmentOutcome FragmentFasta(std::istream& in, std::ostream& out1, std::ostream& out2,
                              const FragmentOptions& options, IProgress& progress);

struct FragmentFileOutcome {
  bool ok = false;
  FragmentOutcome reads;
  std::string file1, file2;  // input name + "_1.fq" and + "_2.fq"
  std::string problem;       // what went wrong when !ok
};

// Runs FragmentFasta on a file. The read files appear only when the run ends well: they are
// written under temporary names and renamed at the end, so a failed or cancelled run leaves
// earlier files of the same name untouched.
FragmentFileOutcome FragmentFastaFile(const std::string& inputPath, const FragmentOptions& options,
                                      IProgress& progress);

// The notice shown at the end: "Saved k paired reads to files \r\n first \r\n second".
std::string FragmentSavedMessage(const FragmentFileOutcome& outcome);
