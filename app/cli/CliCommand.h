// SPDX-License-Identifier: GPL-3.0-or-later
// One nodrix3-cli command's options, parsed with QCommandLineParser so that --help, unknown
// options and missing values behave alike in every command and the usage text is generated.
#pragma once
#include <QCommandLineParser>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitUndefined = 3;  // some results could not be computed; the rest are out

class CliCommand {
 public:
  // positionals: the synopsis after the command's name ("IN OUT", "FILE...").
  CliCommand(std::string name, std::string positionals, const std::string& description);

  // names: "window-size", or "o,output" for a short and a long name. A switch has no valueName.
  void Add(const std::string& names, const std::string& description,
           const std::string& valueName = {});
  // A paragraph after the generated option list (file layouts, defaults).
  void AddNote(const std::string& text) { note_ += text; }

  // nullopt when the command goes on; else the exit status to end with: --help prints the
  // usage on stdout (0); an unknown option, a missing value or a wrong number of positional
  // arguments prints the reason and the usage on stderr (2).
  std::optional<int> Parse(const std::vector<std::string>& args, std::size_t minPositionals,
                           std::size_t maxPositionals);

  bool IsSet(const std::string& name) const;
  std::string Value(const std::string& name) const;  // the last one given
  const std::vector<std::string>& Positionals() const { return positionals_; }

  // Reads an integer option into value when set: false (after a usage error on stderr) when it
  // is not a whole number from lo to hi.
  bool Int(const std::string& name, int& value, int lo, int hi) const;
  bool Double(const std::string& name, double& value) const;

  // Prints "nodrix3-cli: " + message and the usage on stderr; returns kExitUsage.
  int UsageError(const std::string& message) const;
  std::string Usage() const;

 private:
  std::string name_, synopsis_, note_;
  QCommandLineParser parser_;
  std::vector<std::string> positionals_;
};

// Whole-string conversions without locale; false when the text is not entirely a number.
bool ToInt(const std::string& text, int& value);
bool ToDouble(const std::string& text, double& value);

// The commands register themselves, each in its own file, so adding a command touches no
// shared table:
//   const bool kRegistered = RegisterCommand({"name", "FILE", "what it does", RunName});
struct CliCommandEntry {
  std::string_view name, synopsis, summary;
  int (*run)(const std::vector<std::string>& args);
};
bool RegisterCommand(const CliCommandEntry& entry);
const std::vector<CliCommandEntry>& RegisteredCommands();  // sorted by name
