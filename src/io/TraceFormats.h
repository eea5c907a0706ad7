// SPDX-License-Identifier: GPL-3.0-or-later
// Chromatogram files: ABIF and SCF traces, the SCF writer, PHD base calls, quality files and
// the outside base caller. A trace becomes a TSeq with letters, the four channels, the peak
// sample of each letter and, when computed or read, one quality value per letter.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/Services.h"
#include "model/tsequnit.h"

// Format codes the readers leave in sourceFormat.
constexpr std::uint8_t kSourceFormatAbi = 11;
constexpr std::uint8_t kSourceFormatScf = 12;

// Reads an ABIF file. nullptr after a notice naming the file: not ABIF, damaged, no base calls.
std::unique_ptr<TSeq> OpenAbi(const std::string& path, Services& services);
// The same on bytes already in memory; path names the file in messages and fields.
std::unique_ptr<TSeq> ReadAbi(std::string_view bytes, const std::string& path, Services& services);

// Reads an SCF file of version 3 (channels one after another as second differences) or of an
// earlier version (samples interleaved, stored plainly; bases as 12-byte records).
std::unique_ptr<TSeq> OpenScf(const std::string& path, Services& services);
std::unique_ptr<TSeq> ReadScf(std::string_view bytes, const std::string& path, Services& services);

// SCF version 3.00 with 2-byte samples. False with the reason in error when the sequence
// cannot be stored (a peak beyond 32 bits, no channels) or the file cannot be written; the
// previous file at path is then left as it was.
[[nodiscard]] bool BuildScf(const TSeq& seq, std::string& out, std::string& error);
[[nodiscard]] bool SaveScf(const std::string& path, const TSeq& seq, Services& services);

// PHD base calls with their quality and peaks; the channels come from the trace file the PHD
// names when it can be read. Every BEGIN_SEQUENCE record of the file becomes a sequence: one
// record is named after the file, several after the trace each names. Empty after a notice
// when the file holds no base calls.
std::vector<std::unique_ptr<TSeq>> OpenPhdRecords(const std::string& path, Services& services);
std::vector<std::unique_ptr<TSeq>> ReadPhdRecords(std::string_view text, const std::string& path,
                                                  Services& services);
// The first record only (a base caller's ".phd.1" holds one).
std::unique_ptr<TSeq> OpenPhd(const std::string& path, Services& services);

// Quality values of the first ">" record of a quality file's text; false without a record.
[[nodiscard]] bool ParseQualityText(std::string_view text, TSeq& seq);
// Loads path.qual, else (path without extension).qual, else runs the base caller and tries
// path.qual again. Returns whether quality values were loaded.
bool LoadTraceQuality(const std::string& path, TSeq& seq, Services& services);

// The base caller found for a trace: phred in the program's folder, then phred on PATH, then
// Debian's ttuner, which takes the same options and writes the same companion files.
struct BaseCaller {
  std::string program;        // empty when none was found
  bool optionsFirst = false;  // ttuner wants "-s -q -p TRACE"; phred "TRACE -s -q -p"
};
BaseCaller FindBaseCaller(const std::string& programFolder);
// Runs the base caller on a trace with the trace's folder as working directory and waits.
// Returns its exit code; -1 without a base caller (after a message saying so); 1 with
// "Could not execute the application" when it cannot be started.
int RunPhred(const std::string& tracePath, Services& services);
