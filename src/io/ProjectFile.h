// SPDX-License-Identifier: GPL-3.0-or-later
// The native project file: version 3 (".df", a whole project with groups, individuals and the
// grid settings of its window), version 1 (".psf", one dataset) and the read-only version 2;
// the rescue reader that recovers sequence records from a damaged file.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "common/Services.h"
#include "model/DataProjUnit.h"

// The editor window's grid settings kept in the DSWINPAR block (and the DSPARAMS grid
// positions of older files). Colours are colour-scheme slots 0..28; slots 8, 17, 20 and 28
// are not stored.
struct GridFileSettings {
  std::int32_t currentDataset = 0;
  std::int32_t gridValue2 = 2;  // kept only for this block
  std::int32_t letterMargin = 3;
  std::int32_t textMargin = 2;
  std::int32_t bigStep = 50;
  std::int32_t cursorPenWidth = 2;
  std::array<std::uint32_t, 29> colours{};
  bool readFromFile = false;  // a DSWINPAR block was read
  std::array<std::int32_t, 4> dsParams{};
  bool hasDsParams = false;
  // The genetic code the project is analysed with, kept in a GENCODE_ block of its own when
  // it is not the built-in "Universal" code: NCBI table number (0 for a code edited by hand),
  // name and the 64 letters of CodeLetters. Empty letters: the file keeps no code.
  std::int32_t geneticCodeId = 0;
  std::string geneticCodeName;
  std::string geneticCodeLetters;
  bool operator==(const GridFileSettings&) const = default;
};

// The program's current code into the settings a project file is written with (only when it
// is not the built-in "Universal" code, so such files stay as they were).
void KeepGeneticCode(const Services& services, GridFileSettings& grid);
// A code read from a project file becomes the program's current code, with a notice when that
// changes it. False when the file kept none.
bool AdoptGeneticCode(const GridFileSettings& grid, Services& services);

// Reads a project file into `window` (0 when read, -1 otherwise). nameFilter 0 reads every
// dataset, 1 only datasets whose name the window's project already has, 2 only the others.
// The file is read into a fresh project that is then merged into `window`, so sequences stay
// linked to their own individuals whatever `window` held. A damaged file gives a message
// naming the problem and keeps every record read whole. grid (optional) receives DSWINPAR.
int ReadProject(const std::string& path, TDataProj& window, int nameFilter,
                GridFileSettings* grid = nullptr);
int ReadProjectBytes(std::string_view bytes, const std::string& path, TDataProj& window,
                     int nameFilter, GridFileSettings* grid = nullptr);

// Version 3 file of a project. Nothing is written for a project without datasets. False with
// the reason reported when a value does not fit its field (never cut) or the file cannot be
// written; the previous file at path is then untouched.
bool WriteProject(const std::string& path, const TDataProj& project, const GridFileSettings& grid);
[[nodiscard]] bool BuildProjectFile(const TDataProj& project, const GridFileSettings& grid,
                                    std::string& out, std::string& error);

// Version 1 file of one dataset. Column shifts become leading '-' in the file only: the
// dataset itself is not changed.
bool WriteDatasetFile(const std::string& path, const TDataSeq& dataset);
[[nodiscard]] bool BuildDatasetFile(const TDataSeq& dataset, std::string& out, std::string& error);

// Rescue reader: after the user agrees, adds every whole sequence record found in the file to
// the last dataset of `window`. Returns the number of sequences added, -1 when not run.
int RescueProject(const std::string& path, TDataProj& window);
int RescueProjectBytes(std::string_view bytes, const std::string& path, TDataProj& window);

// One sequence record (SEQSTRUC block) at `offset` of `bytes`, all its members inside
// `bytes`; nullptr with the reason in problem when it is not whole. version 1..3 decides the
// region layout and kind codes.
std::unique_ptr<TSeq> ReadSeqRecord(std::string_view bytes, std::uint64_t offset, int version,
                                    std::string& problem);
// Appends the record of seq in the given version's layout; false (out unchanged) with the
// reason when a value does not fit its field.
[[nodiscard]] bool WriteSeqRecord(const TSeq& seq, std::string& out, int version,
                                  std::string& error);
// The size field the version 3 writer puts in a record: 24 bytes more than it occupies.
std::uint64_t SeqRecordSize(const TSeq& seq);
