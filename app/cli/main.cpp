// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli: inspect and convert sequence files without the desktop program, through the
// same open dispatcher and save command. Results go to stdout, messages to stderr; the exit
// status is 0 on success, 1 when a file could not be read or written, 2 for a usage error.
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "CliServices.h"
#include "ExampleProject.h"
#include "io/Dispatcher.h"
#include "io/FormatDetect.h"
#include "io/FormatTables.h"
#include "io/SaveCommand.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"

int RunPolymorphism(const std::vector<std::string>& args);       // PolymCommand.cpp
int RunNeutralityCommand(const std::vector<std::string>& args);  // NeutralityCommand.cpp
int RunLDCommand(const std::vector<std::string>& args);          // LDCommand.cpp
int RunDistances(const std::vector<std::string>& args);          // TreeCommands.cpp
int RunNJTrees(const std::vector<std::string>& args);            // TreeCommands.cpp
int RunSubdivision(const std::vector<std::string>& args);        // SubdivCommand.cpp

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

struct WriteFormat {
  std::string_view name;
  int saveIndex;
  std::vector<std::string_view> extensions;
};

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

void Usage(std::ostream& out) {
  out << "Usage:\n"
         "  nodrix3-cli info FILE...\n"
         "      Detects each file's format, reads it and lists its datasets (sequences and\n"
         "      lengths), groups and individuals.\n"
         "  nodrix3-cli convert IN OUT [--format NAME] [--from NAME] [--dataset N] "
         "[--all-datasets]\n"
         "      Reads IN (format detected from its content, or named by --from: project,\n"
         "      nexus, mega, fasta, pir, text, clustal, phylip, abi, scf or a format code;\n"
         "      a .phy file detection cannot place is read as PHYLIP) and writes OUT. The format "
         "comes\n"
         "      from --format or OUT's extension. Formats:\n";
  for (const WriteFormat& f : WriteFormats()) {
    out << "        " << f.name;
    for (auto e : f.extensions) out << ' ' << e;
    out << "  (" << SaveFilterAt(f.saveIndex)->caption << ")\n";
  }
  out << "      Formats of one dataset write dataset N (default 1), or with --all-datasets\n"
         "      every dataset into its own file named after it in OUT's folder.\n"
         "  nodrix3-cli make-example OUT\n"
         "      Writes the bundled example project (two populations and an outgroup).\n"
         "  nodrix3-cli polymorphism FILE [options]\n"
         "      DNA polymorphism report on stdout (options: polymorphism --help).\n"
         "  nodrix3-cli neutrality FILE [options]\n"
         "      Neutrality tests report on stdout (options: neutrality --help).\n"
         "  nodrix3-cli ld FILE [options]\n"
         "      Linkage disequilibrium report on stdout, pairwise values and assembly test\n"
         "      to files (options: ld --help).\n"
         "  nodrix3-cli distances FILE [options]\n"
         "      Distance matrices of every dataset and group on stdout (distances --help).\n"
         "  nodrix3-cli nj FILE [options]\n"
         "      Neighbour-joining trees (Newick), one line per dataset and group, on stdout\n"
         "      (options: nj --help).\n"
         "  nodrix3-cli subdivision FILE [options]\n"
         "      Population subdivision report on stdout (options: subdivision --help).\n"
         "  nodrix3-cli --help\n"
         "Exit status: 0 success, 1 a file could not be read or written, 2 usage error,\n"
         "3 some results undefined (nj: a dataset or group got no tree).\n";
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

const WriteFormat* FormatByName(std::string_view name) {
  for (const WriteFormat& f : WriteFormats())
    if (f.name == Lower(name)) return &f;
  return nullptr;
}

const WriteFormat* FormatByPath(const std::string& path) {
  const std::string name = Lower(FileNameOnly(path));
  const auto dot = name.rfind('.');
  if (dot == std::string::npos) return nullptr;
  const std::string ext = name.substr(dot);
  for (const WriteFormat& f : WriteFormats())
    for (auto e : f.extensions)
      if (e == ext) return &f;
  return nullptr;
}

struct ReadFormat {
  std::string_view name;
  int code;
};
constexpr ReadFormat kReadFormats[] = {
    {"project", 2}, {"nexus", 4},    {"mega", 5},    {"fasta", 6}, {"pir", 7},
    {"text", 8},    {"clustal", 18}, {"phylip", 35}, {"abi", 11},  {"scf", 12},
};

// A format code from a name or number; 0 when unknown.
int ReadCodeByName(std::string_view name) {
  for (const ReadFormat& f : kReadFormats)
    if (f.name == Lower(name)) return f.code;
  const auto n = ParseInt(name);
  return n && *n >= 2 && *n <= kLastFormatCode ? *n : 0;
}

// PHYLIP has no content test of its own: a file detection cannot place is read as PHYLIP
// when its name says so.
int CodeFromExtension(const std::string& path) {
  const std::string name = Lower(FileNameOnly(path));
  return name.ends_with(".phy") || name.ends_with(".phylip") ? kCodePhylip : 0;
}

// Reads one file into project; false (with the reason on stderr) when nothing was read.
// forcedCode 0: detected from the content.
bool ReadInto(const std::string& path, TDataProj& project, CliServices& cli, int& code,
              int forcedCode = 0) {
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

std::string GroupNameOfKey(const TDataProj& p, int key) {
  const int g = p.GroupIndexByKey(key);
  return g < 0 ? "-" : p.GroupName(g);
}

void PrintInfo(const std::string& path, int code, const TDataProj& p) {
  std::cout << path << '\n';
  std::cout << "  format: " << code << " " << OpenFilterCaption(code) << '\n';
  std::cout << "  datasets: " << p.DatasetCount() << '\n';
  for (int d = 0; d < p.DatasetCount(); ++d) {
    const TDataSeq& ds = *p.DatasetAt(d);
    std::cout << "  dataset " << d + 1 << ": " << ds.dsName << ", " << ds.Count()
              << " sequences, alignment length " << ds.AlignmentLength(true) << '\n';
    for (int r = 1; r <= ds.Count(); ++r)
      std::cout << "    " << ds.NameAt(r) << '\t' << ds.LettersLength(r) << '\n';
  }
  std::cout << "  groups: " << p.GroupCount() << '\n';
  for (const TGroup& g : p.Groups()) {
    int members = 0;
    for (const TIndivid& i : p.Individs()) members += i.indGroup == g.grpKey ? 1 : 0;
    std::cout << "    " << g.grpName << '\t' << members << " individuals"
              << (g.grpKey == kOutgroupKey ? " (outgroup)" : "") << '\n';
  }
  std::cout << "  individuals: " << p.IndividCount() << '\n';
  for (const TIndivid& i : p.Individs())
    std::cout << "    " << i.indName << '\t' << GroupNameOfKey(p, i.indGroup) << '\n';
}

int RunInfo(const std::vector<std::string>& files) {
  if (files.empty()) {
    std::cerr << "nodrix3-cli: info needs at least one file\n";
    return kExitUsage;
  }
  int status = kExitOk;
  for (const std::string& path : files) {
    CliServices cli;
    TDataProj project(cli.services);
    int code = 0;
    if (!ReadInto(path, project, cli, code)) {
      status = kExitFailed;
      continue;
    }
    PrintInfo(path, code, project);
  }
  return status;
}

int RunConvert(const std::vector<std::string>& args) {
  std::vector<std::string> paths;
  std::string formatName;
  int fromCode = 0;
  int datasetNumber = 1;
  bool allDatasets = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--format" && i + 1 < args.size()) {
      formatName = args[++i];
    } else if (args[i] == "--from" && i + 1 < args.size()) {
      fromCode = ReadCodeByName(args[++i]);
      if (fromCode == 0) {
        std::cerr << "nodrix3-cli: unknown input format " << args[i] << '\n';
        return kExitUsage;
      }
    } else if (args[i] == "--dataset" && i + 1 < args.size()) {
      const auto n = ParseInt(args[++i]);
      if (!n || *n < 1) {
        std::cerr << "nodrix3-cli: --dataset needs a number from 1\n";
        return kExitUsage;
      }
      datasetNumber = *n;
    } else if (args[i] == "--all-datasets") {
      allDatasets = true;
    } else if (args[i].starts_with("--")) {
      std::cerr << "nodrix3-cli: unknown option " << args[i] << '\n';
      return kExitUsage;
    } else {
      paths.push_back(args[i]);
    }
  }
  if (paths.size() != 2) {
    std::cerr << "nodrix3-cli: convert needs IN and OUT\n";
    return kExitUsage;
  }
  const WriteFormat* format =
      formatName.empty() ? FormatByPath(paths[1]) : FormatByName(formatName);
  if (format == nullptr) {
    std::cerr << "nodrix3-cli: "
              << (formatName.empty()
                      ? "cannot tell the format from " + paths[1] + "; use --format NAME"
                      : "unknown format " + formatName)
              << '\n';
    return kExitUsage;
  }
  CliServices cli;
  TDataProj project(cli.services);
  int code = 0;
  if (!ReadInto(paths[0], project, cli, code, fromCode)) return kExitFailed;
  if (datasetNumber > project.DatasetCount()) {
    std::cerr << "nodrix3-cli: " << paths[0] << " has " << project.DatasetCount()
              << " datasets, not " << datasetNumber << '\n';
    return kExitUsage;
  }
  project.SetCurrent(datasetNumber - 1);
  if (allDatasets) cli.messages.yesPrefixes.insert("Export all datasets");
  cli.messages.yesPrefixes.insert("Export all sequences");
  const SaveOutcome out = RunSaveCommand(project, format->saveIndex, paths[1], cli.services);
  for (const std::string& w : out.written) std::cout << "wrote " << w << '\n';
  if (!out.ok) {
    std::cerr << "nodrix3-cli: could not write " << paths[1] << '\n';
    return kExitFailed;
  }
  return kExitOk;
}

int RunMakeExample(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::cerr << "nodrix3-cli: make-example needs OUT\n";
    return kExitUsage;
  }
  CliServices cli;
  if (!WriteExampleProject(args[0], cli.services)) {
    std::cerr << "nodrix3-cli: could not write " << args[0] << '\n';
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace

int main(int argc, char* argv[]) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    Usage(std::cerr);
    return kExitUsage;
  }
  const std::string command = args.front();
  args.erase(args.begin());
  if (command == "--help" || command == "-h" || command == "help") {
    Usage(std::cout);
    return kExitOk;
  }
  if (command == "info") return RunInfo(args);
  if (command == "convert") return RunConvert(args);
  if (command == "make-example") return RunMakeExample(args);
  if (command == "polymorphism") return RunPolymorphism(args);
  if (command == "neutrality") return RunNeutralityCommand(args);
  if (command == "ld") return RunLDCommand(args);
  if (command == "distances") return RunDistances(args);
  if (command == "nj") return RunNJTrees(args);
  if (command == "subdivision") return RunSubdivision(args);
  std::cerr << "nodrix3-cli: unknown command " << command << "\n";
  Usage(std::cerr);
  return kExitUsage;
}
