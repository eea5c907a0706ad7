// SPDX-License-Identifier: GPL-3.0-or-later
// The files of every nodrix3-cli command: reading IN (content detection, or the format named by
// --from) and writing OUT in the format named by --format or guessed from its extension.
// New readers and writers join the two tables here, so every command reaches them.
#pragma once
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ReaderOptions.h"

class CliCommand;
struct CliServices;
class TDataProj;

struct ReadFormatName {
  std::string_view name;
  int code;  // open-dispatcher format code
};
const std::vector<ReadFormatName>& ReadFormatNames();

struct WriteFormat {
  std::string_view name;
  int saveIndex;  // save-command entry
  std::vector<std::string_view> extensions;
};
const std::vector<WriteFormat>& WriteFormats();

// An open format code from a --from name or a number; 0 when unknown.
int ReadCodeByName(std::string_view name);
const WriteFormat* WriteFormatByName(std::string_view name);
const WriteFormat* WriteFormatByPath(const std::string& path);

// What a command that reads a file takes from its options: the format, the reading limits
// and how the questions the desktop program would ask are answered.
struct ReadArgs {
  int fromCode = 0;      // --from; 0: detected from the content
  int maxSeq = 0;        // --max-seq: "Max seq per dataset"; 0 keeps the default
  bool rescue = false;   // --rescue: the rescue reader of damaged project files, unasked
  int answerAll = 0;     // --yes 1, --no -1; 0: each question's usual answer
  bool verbose = false;  // --verbose: questions and their answers on stderr
  ReaderArgs reader;     // the options of readers that need more than a path
};

// "--from NAME", "--max-seq N", "--rescue", "--yes", "--no", "--verbose" and the reader
// options on a command that reads IN; "--format NAME" and the writers' options on one that
// writes OUT.
void AddReadOptions(CliCommand& cmd);
// False after a usage error on stderr.
bool ReadReadOptions(const CliCommand& cmd, ReadArgs& args);
// Applies the limits and the answers to the command's services.
void ApplyReadArgs(const ReadArgs& args, CliServices& cli);
void AddWriteOptions(CliCommand& cmd);
// "--force": an existing OUT is overwritten (IN never is).
void AddForceOption(CliCommand& cmd);
// Applies the writers' options (answers to their questions) to the command's services.
void ApplyWriteOptions(const CliCommand& cmd, CliServices& cli);
// A command of the form IN OUT: OUT's format into `format` and IN read into project. The exit
// status, kExitOk when the command goes on.
int ReadInForOut(const CliCommand& cmd, TDataProj& project, CliServices& cli,
                 const WriteFormat*& format);

// The dataset "--dataset N" names (1-based, default 1) made current; false after a message.
bool ChooseDataset(const CliCommand& cmd, TDataProj& project, const std::string& path);
// ReadInForOut, then the dataset "--dataset N" names made current (kExitUsage when none).
int ReadDatasetForOut(const CliCommand& cmd, TDataProj& project, CliServices& cli,
                      const WriteFormat*& format);

// "--out-dir DIR" on a command that writes files with fixed or default names.
void AddOutDirOption(CliCommand& cmd);
// The folder those files go to, absolute (the current folder without --out-dir); false (the
// reason on stderr) when it is not an existing folder.
bool OutDirOf(const CliCommand& cmd, std::string& folder);
// The lists of names for the usage notes.
std::string ReadFormatsNote();
std::string WriteFormatsNote();

// IN "-" reads standard input, OUT "-" writes standard output (text formats only); both, like
// devices and pipes named as files, pass through a temporary file.

// Reads path into project (its format from --from when cmd has it set, else detected);
// code receives the format code read. The exit status: kExitOk, kExitUsage for a bad read
// option, kExitFailed when no sequence could be read (the reason is on stderr).
int ReadInput(const CliCommand& cmd, const std::string& path, TDataProj& project, CliServices& cli,
              int& code);
// The same with the options already read (and applied to cli). A FASTA file with more
// records than "Max seq per dataset" is refused with the limit and the option to raise it.
bool ReadInto(const std::string& path, TDataProj& project, CliServices& cli, int& code,
              const ReadArgs& args = {});

// The format OUT is written in (--format, else OUT's extension); nullptr after a usage error
// on stderr.
const WriteFormat* OutputFormat(const CliCommand& cmd, const std::string& path);
// Writes project to path in format through the save command, keeping the name path has (with
// or without extension); each file written is named on stdout (nothing is, when path is "-").
// The files are checked first: none may be the input file (after resolving links), nor an
// existing file unless force (pipes and devices are written in place). The exit status
// (kExitFailed with the reason on stderr).
int WriteOutput(TDataProj& project, const WriteFormat& format, const std::string& path,
                CliServices& cli, const std::string& input = {}, bool force = true,
                bool allDatasets = false);
