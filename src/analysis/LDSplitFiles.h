// SPDX-License-Identifier: GPL-3.0-or-later
// Files of the LD analysis beside its pairwise file, and the FASTA file of every piece of an
// assembly split at low LD.
#pragma once
#include <memory>
#include <string>

#include "analysis/LDOutput.h"
#include "common/OutputFolder.h"

class TDataSeq;
struct Services;

// `prefix` + the file name of path, in path's folder ("hist_", "AsmTest_").
std::string PrefixedFile(const std::string& path, const std::string& prefix);

// "dataset_first-last.fasta", with every character a file name cannot hold (folder separators,
// drive colons, wildcards, control characters) replaced by '_' and an over-long name cut, so
// the file always lands in the folder it is written to.
std::string SegmentFileName(const std::string& dataset, int first, int last);

// Alignment columns first..last of every sequence in a new dataset that keeps the dataset's
// name and settings. Rows that start further right keep their place among the columns.
std::unique_ptr<TDataSeq> CopyColumns(const TDataSeq& ds, int first, int last);

// Writes the piece as FASTA without the count header to SegmentFileName in `folderOf`'s
// folder. Gives the written path in `path`; the empty string on success, else the reason the
// file could not be written.
std::string WriteSegmentFasta(const TDataSeq& ds, const AsmSegment& piece,
                              const std::string& folderOf, Services& services, std::string& path);
