// SPDX-License-Identifier: GPL-3.0-or-later
// PHYLIP reader (sequential and interleaved, relaxed and strict names) and writers.
//
// The first line gives the sequence count and the letter count (an "I" after them marks an
// interleaved file). A name is the first blank-free word of its line; blanks and tabs between
// letters are dropped. Sequential layout: a sequence continues over the following lines until
// it holds the letter count (a blank line also ends it). Interleaved layout: the first block
// names every sequence, later lines carry letters only, taken in turn. The layout is the one
// that gives every sequence the declared letter count. When neither does with blank-ended
// names, the strict rule of PHYLIP itself is tried: the name is the first 10 characters, so a
// name glued to its letters ("Seq1AAAAAA") or holding a blank reads right. When that does not
// fit either, the file is taken as damaged, the closer relaxed layout is kept and the shortfall
// reported.
//
// The writer writes what PHYLIP, Biopython and ape read: the count line, then per sequence the
// name padded or cut to 10 characters and its letters on the same line. The older layout with
// the name on a line of its own is kept as a second writer for the projects that rely on it.
#include <algorithm>
#include <cstdlib>
#include <unordered_set>
#include <vector>

#include "io/IOUnit.h"
#include "io/TextHelpers.h"
#include "model/Datasequnit.h"
#include "model/tsequnit.h"

namespace {

struct DataLine {
  std::string text;  // blanks trimmed; empty for a blank line
  int number = 0;
};

struct Entry {
  std::string name;
  std::string letters;
  int line = 0;
};

void AppendNonBlank(std::string& out, std::string_view text) {
  for (const char c : text)
    if (c != ' ' && c != '\t') out += c;
}

constexpr std::size_t kNameField = 10;

// strictName: the name is the first 10 characters; otherwise it ends at the first blank.
void SplitNameLine(std::string_view text, Entry& e, bool strictName) {
  if (strictName) {
    e.name = std::string(TrimBlanks(text.substr(0, kNameField)));
    if (text.size() > kNameField) AppendNonBlank(e.letters, text.substr(kNameField));
    return;
  }
  const std::size_t cut = text.find_first_of(" \t");
  e.name = std::string(text.substr(0, cut));
  if (cut != std::string_view::npos) AppendNonBlank(e.letters, text.substr(cut));
}

// Returns the entries and whether the layout consumed every line with every length right.
bool ParseSequential(const std::vector<DataLine>& lines, std::size_t count, std::size_t length,
                     bool strictName, std::vector<Entry>& out) {
  std::size_t i = 0;
  bool exact = true;
  while (out.size() < count) {
    while (i < lines.size() && lines[i].text.empty()) ++i;
    if (i >= lines.size()) break;
    Entry e;
    e.line = lines[i].number;
    SplitNameLine(lines[i].text, e, strictName);
    ++i;
    while (e.letters.size() < length && i < lines.size() && !lines[i].text.empty())
      AppendNonBlank(e.letters, lines[i++].text);
    exact = exact && e.letters.size() == length;
    out.push_back(std::move(e));
  }
  while (i < lines.size() && lines[i].text.empty()) ++i;
  return exact && out.size() == count && i == lines.size();
}

bool ParseInterleaved(const std::vector<DataLine>& lines, std::size_t count, std::size_t length,
                      bool strictName, std::vector<Entry>& out) {
  std::size_t next = 0;
  for (const DataLine& line : lines) {
    if (line.text.empty()) continue;
    if (out.size() < count) {
      Entry e;
      e.line = line.number;
      SplitNameLine(line.text, e, strictName);
      out.push_back(std::move(e));
    } else {
      AppendNonBlank(out[next].letters, line.text);
      next = (next + 1) % count;
    }
  }
  bool exact = out.size() == count && next == 0;
  for (const Entry& e : out) exact = exact && e.letters.size() == length;
  return exact;
}

std::size_t LengthError(const std::vector<Entry>& entries, std::size_t count, std::size_t length) {
  std::size_t error = (count - std::min(count, entries.size())) * length;
  for (const Entry& e : entries)
    error += e.letters.size() > length ? e.letters.size() - length : length - e.letters.size();
  return error;
}

}  // namespace

bool OpenPhylip(const ByteSource& src, ReadContext& ctx, TDataSeq& ds) {
  ds.dsName = FileNameOnly(ctx.fileName);
  ds.dsSourceFile = ctx.fileName;
  LineReader reader(src.Bytes());
  std::string_view raw;
  if (!reader.Next(raw)) {
    ctx.Report("the file is empty; expected the sequence count and length on line 1");
    return false;
  }
  std::string header = UpperCase(raw);
  TrimSeparators(header);
  const std::optional<int> count = ParseInt(NextToken(header));
  const std::optional<int> length = ParseInt(NextToken(header));
  const bool interleavedFlag = NextToken(header) == "I";
  if (!count || !length || *count <= 0 || *length <= 0) {
    ctx.ReportLine(1,
                   "expected the sequence count and length (two whole numbers above 0), "
                   "found \"" +
                       std::string(raw) + "\"");
    return false;
  }
  std::vector<DataLine> lines;
  while (reader.Next(raw)) lines.push_back({std::string(TrimBlanks(raw)), reader.LineNumber()});

  const auto n = static_cast<std::size_t>(*count);
  const auto len = static_cast<std::size_t>(*length);
  std::vector<Entry> sequential, interleaved, strictSeq, strictInt;
  const bool seqOk = ParseSequential(lines, n, len, false, sequential);
  const bool intOk = ParseInterleaved(lines, n, len, false, interleaved);
  std::vector<Entry>* chosen = &sequential;
  if (interleavedFlag || (!seqOk && intOk))
    chosen = &interleaved;
  else if (!seqOk && LengthError(interleaved, n, len) < LengthError(sequential, n, len))
    chosen = &interleaved;
  if (!seqOk && !intOk) {
    // Only the strict name field makes the lengths right: a name glued to its letters.
    const bool strictSeqOk = ParseSequential(lines, n, len, true, strictSeq);
    const bool strictIntOk = ParseInterleaved(lines, n, len, true, strictInt);
    if (strictSeqOk && !interleavedFlag)
      chosen = &strictSeq;
    else if (strictIntOk)
      chosen = &strictInt;
    else if (strictSeqOk)
      chosen = &strictSeq;
  }

  int wrong = 0;
  for (const Entry& e : *chosen)
    if (e.letters.size() != len && wrong++ == 0)
      ctx.ReportLine(e.line, "sequence " + e.name + " has " + std::to_string(e.letters.size()) +
                                 " letters, the first line says " + std::to_string(len));
  if (wrong > 1) ctx.Report(std::to_string(wrong) + " sequences do not have the declared length");
  if (chosen->size() < n)
    ctx.Report("the first line announces " + std::to_string(n) + " sequences, the file holds " +
               std::to_string(chosen->size()));

  int added = 0;
  for (Entry& e : *chosen) {
    if (e.name.empty()) continue;
    auto seq = std::make_unique<TSeq>(std::move(e.name), std::move(e.letters));
    if (ds.AddSeq(seq, true) < 0) break;
    ++added;
  }
  return added > 0;
}

namespace {

int LongestWithShift(const TDataSeq& ds) {
  int longest = 0;
  for (int row = 1; row <= ds.Count(); ++row) {
    const TSeq* s = ds.SeqAt(row);
    longest = std::max(longest, std::max(0, s->columnShift) + s->Length());
  }
  return longest;
}

// PHYLIP allows any printable character in a name but these; a blank would end the name for
// the relaxed readers.
std::string PhylipSafeName(const std::string& name) {
  std::string out = name;
  for (char& c : out)
    if (c == ' ' || c == '\t' || c == '(' || c == ')' || c == '[' || c == ']' || c == ':' ||
        c == ';' || c == ',')
      c = '_';
  return out;
}

// Cut to the name field; a name already taken gets "~k" within the 10 characters.
std::vector<std::string> PhylipFieldNames(const TDataSeq& ds, std::vector<std::string>* clashes) {
  std::vector<std::string> names;
  std::unordered_set<std::string> taken;
  for (int row = 1; row <= ds.Count(); ++row) {
    const std::string full = PhylipSafeName(ds.SeqAt(row)->seqName);
    const std::string cut = full.substr(0, kNameField);
    std::string name = cut;
    for (int k = 1; taken.contains(name); ++k) {
      const std::string suffix = "~" + std::to_string(k);
      name = cut.substr(0, kNameField - suffix.size()) + suffix;
    }
    if (name != cut && clashes != nullptr)
      clashes->push_back(ds.SeqAt(row)->seqName + " -> " + name);
    taken.insert(name);
    names.push_back(name);
  }
  return names;
}

std::string ShiftedLetters(const TSeq& s) {
  return std::string(static_cast<std::size_t>(std::max(0, s.columnShift)), '-') + s.letters;
}

bool SameLengths(const TDataSeq& ds, bool withShift) {
  const auto length = [&](int row) {
    const TSeq* s = ds.SeqAt(row);
    return s->Length() + (withShift ? std::max(0, s->columnShift) : 0);
  };
  for (int row = 2; row <= ds.Count(); ++row)
    if (length(row) != length(1)) return false;
  return true;
}

constexpr const char* kUnequalLengths =
    "Warning: sequences are of different lengths!\r\nSequence length at the top of the file "
    "will show maximal length.";

}  // namespace

std::string PhylipText(const TDataSeq& ds, std::vector<std::string>* clashes) {
  const int longest = LongestWithShift(ds);
  const std::vector<std::string> names = PhylipFieldNames(ds, clashes);
  std::string out;
  AppendLine(out, std::to_string(ds.Count()) + " " + std::to_string(longest));
  for (int row = 1; row <= ds.Count(); ++row) {
    std::string line = names[static_cast<std::size_t>(row - 1)];
    line.resize(kNameField, ' ');
    line += ShiftedLetters(*ds.SeqAt(row));
    // Every row must hold the count the first line gives: shorter rows end in gaps.
    line.resize(kNameField + static_cast<std::size_t>(longest), '-');
    AppendLine(out, line);
  }
  return out;
}

bool SavePhylip(const std::string& path, const TDataSeq& ds, Services& svc) {
  std::vector<std::string> clashes;
  const bool ok = SaveTextFile(path, PhylipText(ds, &clashes), svc);
  if (!ok) return false;
  if (!clashes.empty()) {
    std::string text = "Names cut to 10 characters for PHYLIP clashed and were made unique:";
    for (const std::string& c : clashes) text += "\r\n" + c;
    svc.messages.Notify(text);
  }
  if (!SameLengths(ds, true))
    svc.messages.Notify(std::string(kUnequalLengths) +
                        "\r\nShorter sequences end in '-' up to that length.");
  return true;
}

namespace {
std::string PhylipLinesName(const std::string& name, bool truncate) {
  std::string out = name;
  std::replace(out.begin(), out.end(), ' ', '_');  // a blank would end the name on reading
  if (out.size() < 10)
    out.resize(10, ' ');
  else if (out.size() > 10 && truncate)
    out = out.substr(0, 9) + out.back();
  return out;
}
}  // namespace

std::string PhylipLinesText(const TDataSeq& ds, bool truncateNames) {
  std::string out;
  AppendLine(out, std::to_string(ds.Count()) + " " + std::to_string(LongestWithShift(ds)));
  for (int row = 1; row <= ds.Count(); ++row) {
    const TSeq* s = ds.SeqAt(row);
    AppendLine(out, PhylipLinesName(s->seqName, truncateNames));
    AppendLine(out, ShiftedLetters(*s));
    out += "\r\n";
  }
  return out;
}

bool SavePhylipLines(const std::string& path, const TDataSeq& ds, Services& svc) {
  const bool truncate = svc.messages.AskYesNo("Truncate sequence names to 10 symbols?");
  const bool ok = SaveTextFile(path, PhylipLinesText(ds, truncate), svc);
  if (ok && !SameLengths(ds, false)) svc.messages.Notify(kUnequalLengths);
  return ok;
}
