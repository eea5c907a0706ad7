// SPDX-License-Identifier: GPL-3.0-or-later
// Readers of ms (and scrm) output and of fastPHASE output.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <memory>
#include <string_view>

#include "common/NumberFormat.h"
#include "io/BinarySource.h"
#include "io/Dispatcher.h"
#include "io/PopGenFormats.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"

namespace {

bool ReadText(const std::string& path, std::string& text, Services& services) {
  std::string error;
  if (ReadWholeFile(path, text, error)) {
    // Views of the lines must stay valid; LineReader's copies of lines with the mark do not.
    std::erase(text, '\x1a');
    return true;
  }
  services.messages.ReportError(error);
  return false;
}

std::vector<std::string_view> TextLines(std::string_view text) {
  std::vector<std::string_view> lines;
  LineReader reader(text);
  for (std::string_view line; reader.Next(line);) lines.push_back(line);
  return lines;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// ms writes positions in (0, 1); its finite-sites variants write whole sites. Sites of the
// unit interval are placed on 10000 columns.
int MsSite(double p) {
  const long site = p >= 1 ? std::lround(p) : std::lround(10000.0 * p);
  return static_cast<int>(std::clamp<long>(site, 1, 10000));
}

struct MsCommand {
  int n = 0;
  int runs = 0;
  std::vector<int> sizes;  // one per population
};

bool ParseMsCommand(std::string_view line, MsCommand& cmd) {
  const std::vector<std::string_view> w = SplitWords(line);
  if (w.size() < 3) return false;
  const auto n = ParseInt(w[1]);
  const auto runs = ParseInt(w[2]);
  if (!n || !runs || *n < 1 || *runs < 1) return false;
  cmd.n = *n;
  cmd.runs = *runs;
  cmd.sizes = {cmd.n};
  for (std::size_t i = 3; i + 1 < w.size(); ++i) {
    if (w[i] != "-I") continue;
    const auto k = ParseInt(w[i + 1]);
    if (!k || *k < 1 || i + 1 + static_cast<std::size_t>(*k) >= w.size()) break;
    std::vector<int> sizes;
    int total = 0;
    for (int j = 0; j < *k; ++j) {
      const auto size = ParseInt(w[i + 2 + static_cast<std::size_t>(j)]);
      if (!size || *size < 0) return true;
      sizes.push_back(*size);
      total += *size;
    }
    // Sizes that do not add up to n would link haplotypes to the wrong individuals.
    if (total == cmd.n) cmd.sizes = sizes;
    break;
  }
  return true;
}

// A continuation of the positions: haplotype rows hold neither blanks nor decimal marks.
bool LooksLikePositions(std::string_view line) {
  const std::string_view t = TrimBlanks(line);
  return !t.empty() && t.find_first_of(" \t.") != std::string_view::npos;
}

bool IsMsCommandLine(std::string_view line) {
  if (line.find("ms") != std::string_view::npos || line.find("ssw") != std::string_view::npos)
    return true;
  const std::vector<std::string_view> w = SplitWords(line);
  return !w.empty() && w.front() == "scrm";
}

}  // namespace

bool OpenMsOutput(const std::string& path, OpenWindow& window, Services& services) {
  std::string text;
  if (window.gridLocked || !ReadText(path, text, services)) return false;
  const std::vector<std::string_view> lines = TextLines(text);
  std::size_t at = 0;
  MsCommand cmd;
  for (; at < lines.size(); ++at)
    if (IsMsCommandLine(lines[at])) break;
  if (at == lines.size() || !ParseMsCommand(lines[at], cmd)) {
    services.messages.ReportError(path + ": no ms command line (ms n runs ...) was found");
    return false;
  }
  ++at;

  TDataProj& proj = window.project;
  std::vector<int> individKeys;  // one per haplotype of a run
  for (std::size_t k = 0; k < cmd.sizes.size(); ++k) {
    int groupKey = -1;
    if (cmd.sizes.size() >= 2) {
      TGroup g;
      g.grpName = "Group_" + std::to_string(k + 1);
      groupKey = proj.AddGroup(g);
    }
    for (int i = 0; i < cmd.sizes[k]; ++i) {
      TIndivid ind;
      ind.indName = "Individ_" + std::to_string(proj.IndividCount() + 1);
      ind.indGroup = groupKey;
      individKeys.push_back(proj.AddIndivid(ind));
    }
  }

  ProgressScope bar(services.progress, cmd.runs, "Reading Hudson's ms output file ...");
  int runsRead = 0;
  for (int r = 1; r <= cmd.runs && !bar.Cancelled(); ++r) {
    bar.Step(true);
    while (at < lines.size() && !StartsWith(lines[at], "//")) ++at;
    if (at == lines.size()) break;
    ++at;
    while (at < lines.size() && !StartsWith(lines[at], "segsites:") && !StartsWith(lines[at], "//"))
      ++at;
    if (at == lines.size() || !StartsWith(lines[at], "segsites:")) continue;
    const auto s = ParseInt(TrimBlanks(lines[at].substr(9)));
    ++at;
    const int S = s && *s > 0 ? *s : 0;
    std::vector<std::int32_t> sites;
    // A run without segregating sites has neither a "positions:" line nor haplotypes.
    if (S > 0) {
      while (at < lines.size() && !StartsWith(lines[at], "positions:") &&
             !StartsWith(lines[at], "//"))
        ++at;
      if (at == lines.size() || !StartsWith(lines[at], "positions:")) continue;
      std::string_view rest = lines[at].substr(10);
      ++at;
      while (true) {
        for (std::string_view word : SplitWords(rest))
          if (static_cast<int>(sites.size()) < S)
            if (const auto p = ParseReal(word)) sites.push_back(MsSite(*p));
        if (static_cast<int>(sites.size()) >= S || at == lines.size() ||
            !LooksLikePositions(lines[at]))
          break;
        rest = lines[at++];
      }
    }
    auto ds = proj.MakeDataset();
    ds->dsName = "Run_" + std::to_string(r);
    for (int k = 0; k < cmd.n; ++k) {
      std::string_view letters;
      if (S > 0) {
        while (at < lines.size() && TrimBlanks(lines[at]).empty()) ++at;
        if (at == lines.size() || StartsWith(lines[at], "//")) break;  // a cut-off run
        letters = TrimBlanks(lines[at++]);
      }
      auto seq = std::make_unique<TSeq>("Seq_" + std::to_string(k + 1), std::string(letters));
      seq->seqType = kSeqSnp;
      seq->individId = individKeys[static_cast<std::size_t>(k)];
      seq->polySitePos = sites;
      if (ds->AddSeq(seq, true) < 0) break;
    }
    if (proj.AddDataset(ds, false) >= 0) ++runsRead;
  }
  return runsRead > 0;
}

namespace {

std::string WithoutBlanks(std::string_view s) {
  std::string out;
  for (const char c : s)
    if (c != ' ' && c != '\t' && c != '[' && c != ']') out += c;
  return out;
}

struct PhasedIndivid {
  std::string name;
  std::string h1, h2;
};

}  // namespace

bool OpenFastPhaseOutput(const std::string& outPath, const std::string& inpPath, OpenWindow& window,
                         Services& services) {
  std::string inp, out;
  if (!ReadText(outPath, out, services)) return false;
  std::vector<std::int32_t> positions;
  if (ReadText(inpPath, inp, services)) {
    for (std::string_view line : TextLines(inp)) {
      if (!StartsWith(line, "P")) continue;
      for (std::string_view word : SplitWords(line.substr(1)))
        if (const auto p = ParseInt(word)) positions.push_back(*p);
      break;
    }
  }
  std::vector<PhasedIndivid> people;
  const std::vector<std::string_view> lines = TextLines(out);
  std::size_t at = 0;
  while (at < lines.size() && lines[at].find("BEGIN GENOTYPES") == std::string_view::npos) ++at;
  for (++at; at < lines.size(); ++at) {
    if (lines[at].find("END GENOTYPES") != std::string_view::npos) break;
    if (lines[at].find('#') == std::string_view::npos) continue;
    std::string name(lines[at]);
    std::erase(name, '#');
    TrimSeparators(name);
    if (at + 2 >= lines.size()) break;
    people.push_back({name, WithoutBlanks(lines[at + 1]), WithoutBlanks(lines[at + 2])});
    at += 2;
  }
  if (people.empty()) {
    services.messages.ReportError(outPath +
                                  ": no genotypes between BEGIN GENOTYPES and END GENOTYPES");
    return false;
  }

  TDataProj& proj = window.project;
  const std::string name = FileNameOnly(PathWithoutExtension(outPath));
  TDataSeq* target = proj.DatasetByName(name);
  if (target != nullptr && target->dsName == name && !positions.empty()) {
    for (std::size_t k = 0; k < people.size(); ++k) {
      const int row1 = 2 * static_cast<int>(k) + 1;
      // fastPHASE may list more individuals than the dataset has pairs of rows.
      if (row1 + 1 > target->Count()) break;
      TSeq* first = target->SeqAt(row1);
      TSeq* second = target->SeqAt(row1 + 1);
      const PhasedIndivid& p = people[k];
      const std::size_t sites = std::min({positions.size(), p.h1.size(), p.h2.size()});
      for (std::size_t i = 0; i < sites; ++i) {
        const char a = p.h1[i], b = p.h2[i];
        if (a == b) continue;
        const int i1 = positions[i] - 1 - first->columnShift;
        const int i2 = positions[i] - 1 - second->columnShift;
        if (i1 < 0 || i2 < 0 || i1 >= first->Length() || i2 >= second->Length()) continue;
        char& x = first->letters[static_cast<std::size_t>(i1)];
        char& y = second->letters[static_cast<std::size_t>(i2)];
        if (std::toupper(static_cast<unsigned char>(y)) ==
                std::toupper(static_cast<unsigned char>(a)) &&
            std::toupper(static_cast<unsigned char>(x)) ==
                std::toupper(static_cast<unsigned char>(b))) {
          std::swap(x, y);
        }
      }
    }
    target->LettersChanged();
    return true;
  }
  if (window.gridLocked) return false;
  auto ds = proj.MakeDataset();
  ds->dsName = name;
  for (const PhasedIndivid& p : people) {
    for (const std::string* h : {&p.h1, &p.h2}) {
      auto seq = std::make_unique<TSeq>(p.name, *h);
      seq->seqType = kSeqSnp;
      seq->polySitePos = positions;
      if (ds->AddSeq(seq, true) < 0) break;
    }
  }
  if (ds->Count() == 0) return false;
  return proj.AddDataset(ds, false) >= 0;
}
