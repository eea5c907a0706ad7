// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli: inspect, convert and analyse sequence files without the desktop program, through
// the same open dispatcher, save command and analyses. Results go to stdout, messages to
// stderr; the exit status is 0 on success, 1 when a file could not be read or written, 2 for a
// usage error.
#include <QCoreApplication>
#include <algorithm>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "CliCommand.h"

namespace {

void Usage(std::ostream& out) {
  out << "Usage: nodrix3-cli COMMAND [options] [files]\n"
         "       nodrix3-cli COMMAND --help    (the command's options)\n"
         "       nodrix3-cli --version\n"
         "Commands:\n";
  for (const CliCommandEntry& c : RegisteredCommands()) {
    std::string line = "  " + std::string(c.name) + " " + std::string(c.synopsis);
    line.resize(std::max<std::size_t>(line.size() + 1, 26), ' ');
    out << line << c.summary << '\n';
  }
  out << "Exit status: 0 success, 1 a file could not be read or written, 2 usage error,\n"
         "3 some results undefined (nj: a dataset or group got no tree).\n";
}

}  // namespace

int main(int argc, char* argv[]) {
  // QCommandLineParser's generated help needs an application object; the command line is
  // parsed by each command, not by Qt.
  int qtArgc = 1;
  char programName[] = "nodrix3-cli";
  char* qtArgv[] = {programName, nullptr};
  QCoreApplication app(qtArgc, qtArgv);
  QCoreApplication::setApplicationName("nodrix3-cli");
  QCoreApplication::setApplicationVersion(NODRIX_VERSION);

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
  if (command == "--version" || command == "-v") {
    std::cout << "nodrix3-cli " << NODRIX_VERSION << '\n';
    return kExitOk;
  }
  for (const CliCommandEntry& c : RegisteredCommands())
    if (c.name == command) return c.run(args);
  std::cerr << "nodrix3-cli: unknown command " << command << "\n";
  Usage(std::cerr);
  return kExitUsage;
}
