// SPDX-License-Identifier: GPL-3.0-or-later
// MEGA / GDE reader and writer.
//
// A "#MEGA" first line is a header (the title lines after it are skipped up to the first
// sequence); without it the file starts with a sequence, as GDE files do. A line starting
// with '#' opens a sequence: the first word after '#' is the name, the rest of that line and
// the following lines up to the next '#' line are the letters (blanks dropped). Text between
// double quotes is a comment, also across lines. Statements starting with '!' are skipped up
// to their closing ';'.
//
// Interleaved files repeat the names of the first block in the same order: then a name seen
// again continues its sequence. In any other file a repeated name is a sequence of its own,
// named "~k" by the dataset's unique-name rule and listed in a notice.
#include <algorithm>
#include <unordered_map>
#include <vector>

#include "io/IOUnit.h"
#include "io/TextHelpers.h"
#include "model/Datasequnit.h"
#include "model/tsequnit.h"

namespace {
struct Entry {
  std::string name;
  std::string letters;
};

void AppendLetters(std::string& out, std::string_view text) {
  for (const char c : text)
    if (c != ' ' && c != '\t') out += c;
}
}  // namespace

namespace {

// Drops the quoted comments of one line; inQuote carries an open quote to the next line.
std::string WithoutComments(std::string_view line, bool& inQuote) {
  std::string out;
  for (const char c : line) {
    if (c == '"')
      inQuote = !inQuote;
    else if (!inQuote)
      out += c;
  }
  return out;
}

// The names of the '#' lines repeat the first block's names, in the same order, in whole
// blocks. A single name repeated is taken for repeats, not for an interleaved file.
bool RepeatsFirstBlock(const std::vector<std::string>& names) {
  std::unordered_map<std::string_view, std::size_t> first;
  std::size_t period = 0;
  for (std::size_t i = 0; i < names.size() && period == 0; ++i)
    if (!first.try_emplace(names[i], i).second) period = i;
  if (period < 2 || names[period] != names[0] || names.size() % period != 0) return false;
  for (std::size_t i = period; i < names.size(); ++i)
    if (names[i] != names[i % period]) return false;
  return true;
}

}  // namespace

bool OpenMega(const ByteSource& src, ReadContext& ctx, TDataSeq& ds) {
  ds.dsName = FileNameOnly(ctx.fileName);
  ds.dsSourceFile = ctx.fileName;
  LineReader lines(src.Bytes());
  std::string_view line;
  bool first = true, inStatement = false, inQuote = false;
  std::vector<Entry> rows;  // one per '#' line
  std::vector<std::string> names;
  while (lines.Next(line)) {
    if (first) {
      first = false;
      if (UpperCase(line.substr(0, 5)) == "#MEGA") continue;
    }
    const std::string uncommented = WithoutComments(line, inQuote);
    const std::string_view text = TrimBlanks(uncommented);
    if (inStatement || (!text.empty() && text.front() == '!')) {
      inStatement = text.find(';') == std::string_view::npos;
      continue;
    }
    if (!text.empty() && text.front() == '#') {
      std::string_view rest = TrimBlanks(text.substr(1));
      const std::size_t cut = rest.find_first_of(" \t");
      names.emplace_back(rest.substr(0, cut));
      rows.push_back({names.back(), {}});
      if (cut != std::string_view::npos) AppendLetters(rows.back().letters, rest.substr(cut));
    } else if (!rows.empty()) {
      AppendLetters(rows.back().letters, text);
    }
  }
  if (rows.empty()) {
    ctx.services.messages.Notify("This is not a MEGA file format");
    return false;
  }
  std::vector<Entry> entries;
  if (RepeatsFirstBlock(names)) {
    std::unordered_map<std::string, std::size_t> byName;
    for (Entry& r : rows) {
      const auto [it, fresh] = byName.try_emplace(r.name, entries.size());
      if (fresh)
        entries.push_back(std::move(r));
      else
        entries[it->second].letters += r.letters;
    }
  } else {
    entries = std::move(rows);
  }
  std::size_t shortest = entries.front().letters.size(), longest = shortest;
  for (const Entry& e : entries) {
    shortest = std::min(shortest, e.letters.size());
    longest = std::max(longest, e.letters.size());
  }
  if (shortest != longest)
    ctx.Report("sequences have between " + std::to_string(shortest) + " and " +
               std::to_string(longest) + " letters; the file may be damaged");
  int added = 0;
  std::string renamed;
  for (Entry& e : entries) {
    auto seq = std::make_unique<TSeq>(e.name, std::move(e.letters));
    const int row = ds.AddSeq(seq, true);
    if (row < 0) break;
    if (ds.NameAt(row) != e.name) renamed += "\r\n" + e.name + " -> " + ds.NameAt(row);
    ++added;
  }
  if (!renamed.empty())
    ctx.services.messages.Notify(ctx.fileName +
                                 ": names repeated in a file that is not interleaved; each "
                                 "repeat is a sequence of its own, renamed:" +
                                 renamed);
  return added > 0;
}

std::string MegaText(const TDataSeq& ds) {
  std::string out;
  AppendLine(out, "#MEGA");
  AppendLine(out, "TITLE: file generated by NODRIX v 3.0");
  for (int row = 1; row <= ds.Count(); ++row) {
    const TSeq* s = ds.SeqAt(row);
    std::string name = s->seqName;
    // MEGA names end at the first blank, and a double quote would open a comment.
    for (char& c : name)
      if (c == ' ' || c == '\t' || c == '"') c = '_';
    AppendLine(out, "#" + name);
    out.append(static_cast<std::size_t>(std::max(0, s->columnShift)), '-');
    AppendLine(out, s->letters);
    out += "\r\n";
  }
  return out;
}

bool SaveMega(const std::string& path, const TDataSeq& ds, Services& svc) {
  return SaveTextFile(path, MegaText(ds), svc);
}
