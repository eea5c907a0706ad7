// SPDX-License-Identifier: GPL-3.0-or-later
// Option parsing of the nodrix3-cli commands on QCommandLineParser.
#include "CliCommand.h"

#include <algorithm>
#include <charconv>
#include <iostream>

namespace {

QString Q(const std::string& s) {
  return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size()));
}

std::string S(const QString& s) {
  return s.toLocal8Bit().toStdString();
}

}  // namespace

bool ToInt(const std::string& s, int& v) {
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  return !s.empty() && r.ec == std::errc() && r.ptr == s.data() + s.size();
}

bool ToDouble(const std::string& s, double& v) {
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  return !s.empty() && r.ec == std::errc() && r.ptr == s.data() + s.size();
}

CliCommand::CliCommand(std::string name, std::string positionals, const std::string& description)
    : name_(std::move(name)), synopsis_(std::move(positionals)) {
  parser_.setApplicationDescription(Q(description));
  parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
  parser_.addOption(QCommandLineOption({"h", "help"}, "Shows this help."));
}

void CliCommand::Add(const std::string& names, const std::string& description,
                     const std::string& valueName) {
  QStringList list;
  for (const QString& n : Q(names).split(',')) list << n.trimmed();
  parser_.addOption(QCommandLineOption(list, Q(description), Q(valueName)));
}

std::optional<int> CliCommand::Parse(const std::vector<std::string>& args,
                                     std::size_t minPositionals, std::size_t maxPositionals) {
  QStringList list{Q("nodrix3-cli " + name_)};
  for (const std::string& a : args) list << Q(a);
  if (!parser_.parse(list)) return UsageError(S(parser_.errorText()));
  if (parser_.isSet("help")) {
    std::cout << Usage();
    return kExitOk;
  }
  positionals_.clear();
  for (const QString& p : parser_.positionalArguments()) positionals_.push_back(S(p));
  if (positionals_.size() < minPositionals) return UsageError(name_ + " needs " + synopsis_);
  if (positionals_.size() > maxPositionals)
    return UsageError("unexpected argument " + positionals_[maxPositionals]);
  return std::nullopt;
}

bool CliCommand::IsSet(const std::string& name) const {
  return parser_.isSet(Q(name));
}

std::string CliCommand::Value(const std::string& name) const {
  const QStringList values = parser_.values(Q(name));
  return values.isEmpty() ? std::string() : S(values.last());
}

bool CliCommand::Int(const std::string& name, int& value, int lo, int hi) const {
  if (!IsSet(name)) return true;
  int n = 0;
  if (!ToInt(Value(name), n) || n < lo || n > hi) {
    UsageError("--" + name + " needs a whole number from " + std::to_string(lo) + " to " +
               std::to_string(hi) + ", not '" + Value(name) + "'");
    return false;
  }
  value = n;
  return true;
}

bool CliCommand::Double(const std::string& name, double& value) const {
  if (!IsSet(name)) return true;
  double x = 0;
  if (!ToDouble(Value(name), x)) {
    UsageError("--" + name + " needs a number, not '" + Value(name) + "'");
    return false;
  }
  value = x;
  return true;
}

int CliCommand::UsageError(const std::string& message) const {
  std::cerr << "nodrix3-cli: " << message << "\n" << Usage();
  return kExitUsage;
}

std::string CliCommand::Usage() const {
  // The generated text names the program by argv[0] and puts [options] first; the first line
  // is ours, so it reads as the command is typed.
  std::string text = S(parser_.helpText());
  const auto firstEnd = text.find('\n');
  text.replace(
      0, firstEnd,
      "Usage: nodrix3-cli " + name_ + (synopsis_.empty() ? "" : " " + synopsis_) + " [options]");
  if (!note_.empty()) text += "\n" + note_ + (note_.ends_with('\n') ? "" : "\n");
  return text;
}

namespace {
std::vector<CliCommandEntry>& Registry() {
  static std::vector<CliCommandEntry> commands;
  return commands;
}
}  // namespace

bool RegisterCommand(const CliCommandEntry& entry) {
  auto& commands = Registry();
  const auto at = std::lower_bound(
      commands.begin(), commands.end(), entry,
      [](const CliCommandEntry& a, const CliCommandEntry& b) { return a.name < b.name; });
  commands.insert(at, entry);
  return true;
}

const std::vector<CliCommandEntry>& RegisteredCommands() {
  return Registry();
}
