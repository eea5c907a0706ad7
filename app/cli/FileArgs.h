// SPDX-License-Identifier: GPL-3.0-or-later
// The files of every nodrix3-cli command: reading IN (content detection, or the format named by
// --from) and writing OUT in the format named by --format or guessed from its extension.
// New readers and writers join the two tables here, so every command reaches them.
#pragma once
#include <string>
#include <string_view>
#include <vector>

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

// "--from NAME" on a command that reads IN; "--format NAME" on one that writes OUT.
void AddReadOptions(CliCommand& cmd);
void AddWriteOptions(CliCommand& cmd);
// A command of the form IN OUT: OUT's format into `format` and IN read into project. The exit
// status, kExitOk when the command goes on.
int ReadInForOut(const CliCommand& cmd, TDataProj& project, CliServices& cli,
                 const WriteFormat*& format);

// "--out-dir DIR" on a command that writes files with fixed or default names.
void AddOutDirOption(CliCommand& cmd);
// The folder those files go to, absolute (the current folder without --out-dir); false (the
// reason on stderr) when it is not an existing folder.
bool OutDirOf(const CliCommand& cmd, std::string& folder);
// The lists of names for the usage notes.
std::string ReadFormatsNote();
std::string WriteFormatsNote();

// Reads path into project (its format from --from when cmd has it set, else detected);
// code receives the format code read. The exit status: kExitOk, kExitUsage for an unknown
// --from name, kExitFailed when nothing could be read (the reason is on stderr).
int ReadInput(const CliCommand& cmd, const std::string& path, TDataProj& project, CliServices& cli,
              int& code);
// The same without a command: forcedCode 0 detects the format from the content.
bool ReadInto(const std::string& path, TDataProj& project, CliServices& cli, int& code,
              int forcedCode = 0);

// The format OUT is written in (--format, else OUT's extension); nullptr after a usage error
// on stderr.
const WriteFormat* OutputFormat(const CliCommand& cmd, const std::string& path);
// Writes project to path in format through the save command; each file written is named on
// stdout. The exit status (kExitFailed with the reason on stderr).
int WriteOutput(TDataProj& project, const WriteFormat& format, const std::string& path,
                CliServices& cli);
