// SPDX-License-Identifier: GPL-3.0-or-later
// Clustal alignment reader.
//
// Reading starts after the header line: "CLUSTAL ...", or the header another aligner writes
// in the same layout (MUSCLE's "multiple sequence alignment", Kalign's "ClustalW format"). Each
// later non-empty line is a name, blanks, letters in groups and an optional residue count; the
// count is not a letter, nor are the blanks between groups. Letters are upper-cased. The first
// block creates the sequences; it ends at a name seen before or at a line without name or letters
// (the conservation line, made of '*', ':' and '.' only). Later blocks append to the sequence of
// exactly the same name.
#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "io/IOUnit.h"
#include "io/TextHelpers.h"
#include "model/Datasequnit.h"
#include "model/tsequnit.h"

namespace {

bool AllDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void SplitLine(std::string_view text, std::string& name, std::string& letters) {
  name.clear();
  letters.clear();
  const std::size_t cut = text.find_first_of(" \t");
  if (cut == std::string_view::npos) return;  // no blank: no name
  name = std::string(text.substr(0, cut));
  std::vector<std::string_view> groups;
  std::string_view rest = text.substr(cut);
  while (!rest.empty()) {
    const std::size_t start = rest.find_first_not_of(" \t");
    if (start == std::string_view::npos) break;
    rest.remove_prefix(start);
    const std::size_t end = rest.find_first_of(" \t");
    groups.push_back(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end);
  }
  if (!groups.empty() && AllDigits(groups.back())) groups.pop_back();  // residue count
  for (const std::string_view g : groups) letters += UpperCase(g);
  // Only the conservation line is made of these marks alone; testing for base letters instead
  // would drop protein groups such as a final "V".
  if (letters.find_first_not_of("*:.") == std::string::npos) letters.clear();
}

}  // namespace

bool IsClustalHeader(std::string_view line) {
  const std::string upper = UpperCase(line);
  return upper.find("CLUSTAL") != std::string::npos ||
         upper.find("MULTIPLE SEQUENCE ALIGNMENT") != std::string::npos;
}

bool OpenClustal(const ByteSource& src, ReadContext& ctx, TDataSeq& ds) {
  ds.dsName = FileNameOnly(ctx.fileName);
  ds.dsSourceFile = ctx.fileName;
  LineReader lines(src.Bytes());
  std::string_view line;
  bool started = false;
  while (!started && lines.Next(line)) started = IsClustalHeader(line);
  if (!started) {
    ctx.Report(
        "no Clustal header line (CLUSTAL, or \"multiple sequence alignment\"); this is "
        "not a Clustal alignment");
    return false;
  }
  struct Entry {
    std::string name, letters;
    int line = 0;
  };
  std::vector<Entry> entries;
  std::unordered_set<std::string> upperNames;
  std::unordered_map<std::string, std::size_t> exactNames;
  bool firstBlock = true;
  std::string name, letters;
  while (lines.Next(line)) {
    const std::string text = TrimmedSeparators(line);
    if (text.empty()) continue;
    SplitLine(text, name, letters);
    if (firstBlock) {
      if (!name.empty() && !letters.empty() && !upperNames.contains(UpperCase(name))) {
        upperNames.insert(UpperCase(name));
        exactNames.try_emplace(name, entries.size());
        entries.push_back({name, letters, lines.LineNumber()});
        continue;
      }
      firstBlock = entries.empty();
      if (firstBlock) continue;
    }
    if (name.empty() || letters.empty()) continue;
    const auto it = exactNames.find(name);
    if (it != exactNames.end()) entries[it->second].letters += letters;
  }
  if (entries.empty()) {
    ctx.Report("the alignment holds no sequences");
    return false;
  }
  const auto [shortest, longest] = std::minmax_element(
      entries.begin(), entries.end(),
      [](const Entry& a, const Entry& b) { return a.letters.size() < b.letters.size(); });
  if (shortest->letters.size() != longest->letters.size())
    ctx.ReportLine(shortest->line, "sequence " + shortest->name + " has " +
                                       std::to_string(shortest->letters.size()) + " letters, " +
                                       longest->name + " has " +
                                       std::to_string(longest->letters.size()) +
                                       "; the alignment may be cut short");
  int added = 0;
  for (Entry& e : entries) {
    auto seq = std::make_unique<TSeq>(std::move(e.name), std::move(e.letters));
    if (ds.AddSeq(seq, true) < 0) break;
    ++added;
  }
  return added > 0;
}
