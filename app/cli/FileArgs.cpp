// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing the files of nodrix3-cli commands through the open dispatcher and the
// save command, as the desktop program's open and save dialogs do.
#include "FileArgs.h"

#include <filesystem>
#include <iostream>

#include "CliCommand.h"
#include "CliServices.h"
#include "io/Dispatcher.h"
#include "io/FormatDetect.h"
#include "io/FormatTables.h"
#include "io/SaveCommand.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"

namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// PHYLIP has no content test of its own: a file detection cannot place is read as PHYLIP
// when its name says so.
int CodeFromExtension(const std::string& path) {
  const std::string name = Lower(FileNameOnly(path));
  return name.ends_with(".phy") || name.ends_with(".phylip") ? kCodePhylip : 0;
}

}  // namespace

const std::vector<ReadFormatName>& ReadFormatNames() {
  static const std::vector<ReadFormatName> names{
      {"project", 2}, {"nexus", 4},    {"mega", 5},    {"fasta", 6}, {"pir", 7},
      {"text", 8},    {"clustal", 18}, {"phylip", 35}, {"abi", 11},  {"scf", 12},
  };
  return names;
}

const std::vector<WriteFormat>& WriteFormats() {
  static const std::vector<WriteFormat> formats{
      {"project", 1, {".psf", ".df"}},
      {"nexus", 2, {".nex", ".nexus"}},
      {"phylip", 3, {".phy", ".phylip"}},
      {"mega", 4, {".meg", ".mega"}},
      {"fasta", 5, {".fasta", ".fas", ".fa"}},
      {"dataset-psf", 6, {}},
      {"text", 7, {".txt"}},
      {"gff", 21, {".gff"}},
  };
  return formats;
}

int ReadCodeByName(std::string_view name) {
  for (const ReadFormatName& f : ReadFormatNames())
    if (f.name == Lower(name)) return f.code;
  const auto n = ParseInt(name);
  return n && *n >= 2 && *n <= kLastFormatCode ? *n : 0;
}

const WriteFormat* WriteFormatByName(std::string_view name) {
  for (const WriteFormat& f : WriteFormats())
    if (f.name == Lower(name)) return &f;
  return nullptr;
}

const WriteFormat* WriteFormatByPath(const std::string& path) {
  const std::string name = Lower(FileNameOnly(path));
  const auto dot = name.rfind('.');
  if (dot == std::string::npos) return nullptr;
  const std::string ext = name.substr(dot);
  for (const WriteFormat& f : WriteFormats())
    for (auto e : f.extensions)
      if (e == ext) return &f;
  return nullptr;
}

void AddReadOptions(CliCommand& cmd) {
  cmd.Add("from", "Reads the input as format NAME (see below) instead of detecting it.", "NAME");
}

void AddWriteOptions(CliCommand& cmd) {
  cmd.Add("format", "Writes the output as format NAME (see below); default: from its extension.",
          "NAME");
}

int ReadInForOut(const CliCommand& cmd, TDataProj& project, CliServices& cli,
                 const WriteFormat*& format) {
  format = OutputFormat(cmd, cmd.Positionals()[1]);
  if (format == nullptr) return kExitUsage;
  int code = 0;
  return ReadInput(cmd, cmd.Positionals()[0], project, cli, code);
}

void AddOutDirOption(CliCommand& cmd) {
  cmd.Add("out-dir",
          "Writes the files with fixed or default names into DIR (default: the current folder); "
          "a file name given with a folder of its own is kept.",
          "DIR");
}

bool OutDirOf(const CliCommand& cmd, std::string& folder) {
  std::error_code error;
  const std::filesystem::path dir =
      cmd.IsSet("out-dir") ? std::filesystem::path(cmd.Value("out-dir")) : ".";
  if (!std::filesystem::is_directory(dir, error)) {
    std::cerr << "nodrix3-cli: " << dir.string() << " is not a folder\n";
    return false;
  }
  // Absolute, so that the notices name every file in full.
  folder = std::filesystem::absolute(dir, error).lexically_normal().string();
  if (folder.size() > 1 && folder.back() == std::filesystem::path::preferred_separator)
    folder.pop_back();
  return true;
}

std::string ReadFormatsNote() {
  std::string text = "Input formats (--from): ";
  for (const ReadFormatName& f : ReadFormatNames())
    text += std::string(f.name) + (&f == &ReadFormatNames().back() ? "" : ", ");
  text +=
      ", or a format code. Without --from the format is detected from the content; a .phy "
      "file detection cannot place is read as PHYLIP.\n";
  return text;
}

std::string WriteFormatsNote() {
  std::string text = "Output formats (--format) and their extensions:\n";
  for (const WriteFormat& f : WriteFormats()) {
    text += "  " + std::string(f.name);
    for (auto e : f.extensions) text += " " + std::string(e);
    text += "  (" + std::string(SaveFilterAt(f.saveIndex)->caption) + ")\n";
  }
  return text;
}

bool ReadInto(const std::string& path, TDataProj& project, CliServices& cli, int& code,
              int forcedCode) {
  code = 0;
  const int access = CheckFileAccess(path);
  if (access != 0) {
    cli.messages.ReportError(path + ": " + OneLine(IoErrorMessage(access, path)));
    return false;
  }
  OpenWindow window(project);
  window.caption = FileNameOnly(path);
  OpenResult r;
  if (forcedCode == 0) {
    r = OpenDetected(path, window, cli.services, code);
    if (code < 2 && CodeFromExtension(path) != 0) forcedCode = CodeFromExtension(path);
  }
  if (forcedCode != 0) {
    code = forcedCode;
    r = DispatchFile(path, code, {}, &window, cli.services);
  }
  if (code < 2) {
    cli.messages.ReportError(path + ": format not recognised");
    return false;
  }
  if (!r.handled) return false;  // the dispatcher said why
  if (!r.ReadSomething()) {
    cli.messages.ReportError(path + ": no sequences could be read as \"" +
                             std::string(OpenFilterCaption(code)) + "\"");
    return false;
  }
  return true;
}

int ReadInput(const CliCommand& cmd, const std::string& path, TDataProj& project, CliServices& cli,
              int& code) {
  int forced = 0;
  if (cmd.IsSet("from")) {
    forced = ReadCodeByName(cmd.Value("from"));
    if (forced == 0) return cmd.UsageError("unknown input format " + cmd.Value("from"));
  }
  return ReadInto(path, project, cli, code, forced) ? kExitOk : kExitFailed;
}

const WriteFormat* OutputFormat(const CliCommand& cmd, const std::string& path) {
  const std::string name = cmd.IsSet("format") ? cmd.Value("format") : std::string();
  const WriteFormat* format = name.empty() ? WriteFormatByPath(path) : WriteFormatByName(name);
  if (format == nullptr)
    cmd.UsageError(name.empty() ? "cannot tell the format from " + path + "; use --format NAME"
                                : "unknown format " + name);
  return format;
}

int WriteOutput(TDataProj& project, const WriteFormat& format, const std::string& path,
                CliServices& cli) {
  const SaveOutcome out = RunSaveCommand(project, format.saveIndex, path, cli.services);
  for (const std::string& w : out.written) std::cout << "wrote " << w << '\n';
  if (!out.ok) {
    std::cerr << "nodrix3-cli: could not write " << path << '\n';
    return kExitFailed;
  }
  return kExitOk;
}
