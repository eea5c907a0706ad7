// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing the files of nodrix3-cli commands through the open dispatcher and the
// save command, as the desktop program's open and save dialogs do.
#include "FileArgs.h"

#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>

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

// The same file after resolving links, or (for a file still to come) the same path.
bool SameFile(const std::string& a, const std::string& b) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (fs::equivalent(a, b, ec)) return true;
  const fs::path ca = fs::weakly_canonical(a, ec);
  if (ec) return false;
  const fs::path cb = fs::weakly_canonical(b, ec);
  return !ec && ca == cb;
}

constexpr std::string_view kStandardStream = "-";

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// A device, pipe or socket named as a file: it can be read once only (format detection would
// eat its start), and saving through a temporary file renamed over it would put a plain file
// in its place.
bool IsSpecialFile(const std::string& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  return !ec && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
         !std::filesystem::is_directory(status);
}

bool PassesThroughSpool(const std::string& path) {
  return path == kStandardStream || IsSpecialFile(path);
}

bool Copy(std::FILE* from, std::FILE* to) {
  std::vector<char> block(std::size_t{1} << 20);
  std::size_t got = 0;
  while ((got = std::fread(block.data(), 1, block.size(), from)) > 0)
    if (std::fwrite(block.data(), 1, got, to) != got) return false;
  return std::ferror(from) == 0 && std::fflush(to) == 0;
}

bool IsBinaryFormat(const WriteFormat& format) {
  return format.name == "project" || format.name == "dataset-psf";
}

// Formats that write companion files beside the main one (parameter files, one file per group
// pair): through a stream those would land in a scratch folder and be lost.
bool WritesCompanionFiles(const WriteFormat& format) {
  return format.name == "structure" || format.name == "hka" || format.name == "im";
}

}  // namespace

const std::vector<ReadFormatName>& ReadFormatNames() {
  static const std::vector<ReadFormatName> names{
      {"project", 2},
      {"nexus", 4},
      {"mega", 5},
      {"fasta", 6},
      {"pir", 7},
      {"text", 8},
      {"clustal", 18},
      {"phylip", 35},
      {"abi", 11},
      {"scf", 12},
      {"multifasta", 3},
      {"xmfa", 3},
      {"multigenic-csv", 16},
      {"columns", 21},
      {"dataset-names", 22},
      {"genbank", 9},
      {"embl", 10},
      {"exp", 13},
      {"staden-contigs", 14},
      {"blast-xml", 20},
      {"ace", 25},
      {"snp-table", 32},
      {"snp-table2", 33},
      {"sdi", 36},
      {"sam", 26},
      {"maq", 27},
      {"eland", 28},
      {"fastq", 34},
      {"ms", 17},
      {"fastphase", 31},
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
      {"genbank", 8, {".gb", ".gbk"}},
      {"gff", 21, {".gff"}},
      {"csv", 14, {".csv"}},
      {"xmfa", 16, {".xmfa"}},
      {"dataset-names", 20, {}},
      {"ms", 13, {".ms"}},
      {"sweepfinder", 19, {".sf"}},
      {"fastphase", 22, {".inp"}},
      {"arlequin", 12, {".arp"}},
      {"structure", 15, {}},
      {"hka", 17, {".hka"}},
      {"im", 18, {".im"}},
      {"bayescan", 23, {}},
      {"mlhka", 24, {}},
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
  cmd.Add("max-seq",
          "Reads up to N sequences per dataset (\"Max seq per dataset\", default 30000); a "
          "FASTA file with more is refused.",
          "N");
  cmd.Add("rescue",
          "Reads a damaged project file with the rescue reader: every whole sequence record.");
  cmd.Add("yes", "Answers Yes to every question the desktop program would ask.");
  cmd.Add("no", "Answers No to every question the desktop program would ask.");
  cmd.Add("verbose", "Shows those questions and their answers on stderr.");
  AddReaderOptions(cmd);
}

bool ReadReadOptions(const CliCommand& cmd, ReadArgs& args) {
  if (cmd.IsSet("from")) {
    args.fromCode = ReadCodeByName(cmd.Value("from"));
    if (args.fromCode == 0) {
      cmd.UsageError("unknown input format " + cmd.Value("from"));
      return false;
    }
  }
  if (!cmd.Int("max-seq", args.maxSeq, 1, 1000000000)) return false;
  if (cmd.IsSet("yes") && cmd.IsSet("no")) {
    cmd.UsageError("--yes and --no exclude each other");
    return false;
  }
  args.rescue = cmd.IsSet("rescue");
  args.answerAll = cmd.IsSet("yes") ? 1 : cmd.IsSet("no") ? -1 : 0;
  args.verbose = cmd.IsSet("verbose");
  return ReadReaderOptions(cmd, args.reader);
}

void ApplyReadArgs(const ReadArgs& args, CliServices& cli) {
  if (args.maxSeq > 0) cli.settings.maxSeqPerDataset = args.maxSeq;
  cli.messages.answerAll = args.answerAll;
  cli.messages.verbose = args.verbose;
  for (const std::string& q : args.reader.yesAnswers) cli.messages.answers[q] = true;
}

void AddWriteOptions(CliCommand& cmd) {
  cmd.Add("format", "Writes the output as format NAME (see below); default: from its extension.",
          "NAME");
  cmd.Add("coordinates",
          "XMFA: appends \":start-end +\" to the names (Yes to \"Add the \":1-xxx\" ...\").");
  cmd.Add("tajima-d",
          "HKA: adds Tajima's D of both groups (Yes to \"Include Tajima's D values "
          "(optional)?\").");
  cmd.Add("fu-li-d",
          "HKA: adds Fu and Li's D with the outgroup (Yes to \"Include Fu and Li's D "
          "values (optional)?\").");
  cmd.Add("ms-header",
          "ms: writes the header of parameters before the sites (Yes to \"Output "
          "header at the beginning of MS file?\").");
}

void AddForceOption(CliCommand& cmd) {
  cmd.Add("force", "Overwrites OUT when it exists (never IN itself).");
}

void ApplyWriteOptions(const CliCommand& cmd, CliServices& cli) {
  if (cmd.IsSet("coordinates")) cli.messages.answers["Add the \":1-xxx\""] = true;
  if (cmd.IsSet("tajima-d")) cli.messages.answers["Include Tajima's D values"] = true;
  if (cmd.IsSet("fu-li-d")) cli.messages.answers["Include Fu and Li's D values"] = true;
  if (cmd.IsSet("ms-header"))
    cli.messages.answers["Output header at the beginning of MS file?"] = true;
}

int ReadInForOut(const CliCommand& cmd, TDataProj& project, CliServices& cli,
                 const WriteFormat*& format) {
  format = OutputFormat(cmd, cmd.Positionals()[1]);
  if (format == nullptr) return kExitUsage;
  int code = 0;
  return ReadInput(cmd, cmd.Positionals()[0], project, cli, code);
}

bool ChooseDataset(const CliCommand& cmd, TDataProj& project, const std::string& path) {
  int number = 1;
  if (!cmd.Int("dataset", number, 1, 1000000000)) return false;
  if (number > project.DatasetCount()) {
    std::cerr << "nodrix3-cli: " << path << " has " << project.DatasetCount() << " datasets, not "
              << number << '\n';
    return false;
  }
  project.SetCurrent(number - 1);
  return true;
}

int ReadDatasetForOut(const CliCommand& cmd, TDataProj& project, CliServices& cli,
                      const WriteFormat*& format) {
  if (const int read = ReadInForOut(cmd, project, cli, format); read != kExitOk) return read;
  return ChooseDataset(cmd, project, cmd.Positionals()[0]) ? kExitOk : kExitUsage;
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
      "or .phylip file whose content says nothing else is read as PHYLIP.\n";
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
              const ReadArgs& args) {
  code = 0;
  if (PassesThroughSpool(path)) {
    const QTemporaryDir spool;
    const std::string copy = spool.path().toStdString() + "/stdin";
    const FilePtr to(spool.isValid() ? std::fopen(copy.c_str(), "wb") : nullptr);
    const FilePtr from(path == kStandardStream ? nullptr : std::fopen(path.c_str(), "rb"));
    std::FILE* in = path == kStandardStream ? stdin : from.get();
    if (to == nullptr || in == nullptr || !Copy(in, to.get()) || std::fflush(to.get()) != 0) {
      cli.messages.ReportError(path + ": cannot be read");
      return false;
    }
    return ReadInto(copy, project, cli, code, args);
  }
  if (const std::string reason = CannotOpenMessage(path); !reason.empty()) {
    cli.messages.ReportError(reason);
    return false;
  }
  OpenWindow window(project);
  window.caption = FileNameOnly(path);
  OpenOptions options = args.reader.open;
  options.columns.saveAsFasta = false;  // the FASTA file is what convert writes when asked
  // Nobody to ask: a file over the limit is refused rather than cut.
  options.chooseFastaStart = [&cli, &path](int count, int limit) {
    cli.messages.ReportError(path + ": holds " + std::to_string(count) +
                             " sequences, more than the limit of " + std::to_string(limit) +
                             " per dataset; raise it with --max-seq N");
    return 0;
  };
  // Running the command answers the long readers' "Proceed anyway?", unless --no says otherwise.
  cli.messages.answers.emplace("Nodrix is about to", args.answerAll >= 0);
  code = args.rescue ? kCodeRescue : args.fromCode;
  if (code == 0) code = DetectFormat(path, cli.messages);
  if (code < 2) {
    cli.messages.ReportError(FileLooksBinary(path)
                                 ? path +
                                       ": Unable to recognise format of the file: it holds "
                                       "binary data, not text"
                                 : path + ": Unable to recognise format of the file");
    return false;
  }
  // --rescue is the answer to the rescue reader's question, whatever --no says.
  if (args.rescue) cli.messages.answers["Warning: Rescue mode."] = true;
  OpenResult r = DispatchFile(path, code, options, &window, cli.services);
  // The converter opens nothing: what it wrote is read back as FASTA with its qualities.
  if (code == kCodeFastq && r.handled)
    r = DispatchFile(PathWithoutExtension(path) + ".fa", kCodeFastaGffQual, options, &window,
                     cli.services);
  if (!r.handled) return false;  // the dispatcher said why
  // A list of dataset names makes datasets without sequences.
  if ((code == kCodeDatasetNames ? r.datasetsAdded : r.sequencesAdded) == 0) {
    std::string text =
        path + ": no sequences could be read as \"" + std::string(OpenFilterCaption(code)) + "\"";
    if (code == kCodeProjectFile) text += "; --rescue reads what is left of a damaged file";
    cli.messages.ReportError(text);
    return false;
  }
  return true;
}

int ReadInput(const CliCommand& cmd, const std::string& path, TDataProj& project, CliServices& cli,
              int& code) {
  ReadArgs args;
  if (!ReadReadOptions(cmd, args)) return kExitUsage;
  ApplyReadArgs(args, cli);
  return ReadInto(path, project, cli, code, args) ? kExitOk : kExitFailed;
}

const WriteFormat* OutputFormat(const CliCommand& cmd, const std::string& path) {
  const std::string name = cmd.IsSet("format") ? cmd.Value("format") : std::string();
  const WriteFormat* format = name.empty() ? WriteFormatByPath(path) : WriteFormatByName(name);
  if (format == nullptr) {
    cmd.UsageError(name.empty() ? "cannot tell the format from " + path + "; use --format NAME"
                                : "unknown format " + name);
  } else if (path == kStandardStream && IsBinaryFormat(*format)) {
    cmd.UsageError("standard output (-) takes text formats only, not " + std::string(format->name));
    return nullptr;
  } else if (PassesThroughSpool(path) && WritesCompanionFiles(*format)) {
    cmd.UsageError(std::string(format->name) + " writes several files; give a file name, not " +
                   path);
    return nullptr;
  }
  return format;
}

int WriteOutput(TDataProj& project, const WriteFormat& format, const std::string& path,
                CliServices& cli, const std::string& input, bool force, bool allDatasets) {
  allDatasets = allDatasets && project.DatasetCount() > 1;
  if (!PassesThroughSpool(path)) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
      std::cerr << "nodrix3-cli: cannot write '" << path << "': is a directory\n";
      return kExitFailed;
    }
    const std::vector<PlannedFile> plan = PlanSave(project, format.saveIndex, path, allDatasets,
                                                   /*allSequences=*/true, /*keepExtension=*/true);
    for (const PlannedFile& file : plan) {
      if (!input.empty() && SameFile(file.path, input)) {
        std::cerr << "nodrix3-cli: " << file.path << " is the input file; it is not overwritten\n";
        return kExitFailed;
      }
      if (!force && std::filesystem::exists(file.path, ec)) {
        std::cerr << "nodrix3-cli: " << file.path << " exists; --force overwrites it\n";
        return kExitFailed;
      }
    }
    const SaveOutcome out =
        RunSaveCommand(project, format.saveIndex, path, cli.services, {}, /*keepExtension=*/true);
    for (const std::string& w : out.written) std::cout << "wrote " << w << '\n';
    if (!out.ok) {
      std::cerr << "nodrix3-cli: could not write " << path << '\n';
      return kExitFailed;
    }
    return kExitOk;
  }
  // Every file the save writes (one per dataset with --all-datasets) goes, in turn, to path.
  const QTemporaryDir spool;
  const SaveOutcome out =
      spool.isValid() ? RunSaveCommand(project, format.saveIndex,
                                       spool.path().toStdString() + "/out", cli.services, {},
                                       /*keepExtension=*/true)
                      : SaveOutcome{};
  const FilePtr target(path == kStandardStream ? nullptr : std::fopen(path.c_str(), "wb"));
  std::FILE* to = path == kStandardStream ? stdout : target.get();
  bool ok = out.ok && to != nullptr;
  std::fflush(stdout);
  for (const std::string& w : out.written) {
    const FilePtr from(std::fopen(w.c_str(), "rb"));
    ok = ok && from != nullptr && Copy(from.get(), to);
  }
  if (!ok) {
    std::cerr << "nodrix3-cli: could not write " << path << '\n';
    return kExitFailed;
  }
  if (path != kStandardStream) std::cout << "wrote " << path << '\n';
  return kExitOk;
}
