// SPDX-License-Identifier: GPL-3.0-or-later
// PHYLIP reader (sequential and interleaved) and writer.
//
// The first line gives the sequence count and the letter count (an "I" after them marks an
// interleaved file). A name is the first blank-free word of its line; blanks and tabs between
// letters are dropped. Sequential layout: a sequence continues over the following lines until
// it holds the letter count (a blank line also ends it). Interleaved layout: the first block
// names every sequence, later lines carry letters only, taken in turn. The layout is the one
// that gives every sequence the declared letter count; when neither does, the file is taken
// as damaged, the closer layout is kept and the shortfall reported. Names glued to their
// letters in a fixed 10-column field are not recognised.
#include <algorithm>
#include <cstdlib>
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

void SplitNameLine(std::string_view text, Entry& e) {
  const std::size_t cut = text.find_first_of(" \t");
  e.name = std::string(text.substr(0, cut));
  if (cut != std::string_view::npos) AppendNonBlank(e.letters, text.substr(cut));
}

// Returns the entries and whether the layout consumed every line with every length right.
bool ParseSequential(const std::vector<DataLine>& lines, std::size_t count, std::size_t length,
                     std::vector<Entry>& out) {
  std::size_t i = 0;
  bool exact = true;
  while (out.size() < count) {
    while (i < lines.size() && lines[i].text.empty()) ++i;
    if (i >= lines.size()) break;
    Entry e;
    e.line = lines[i].number;
    SplitNameLine(lines[i].text, e);
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
                      std::vector<Entry>& out) {
  std::size_t next = 0;
  for (const DataLine& line : lines) {
    if (line.text.empty()) continue;
    if (out.size() < count) {
      Entry e;
      e.line = line.number;
      SplitNameLine(line.text, e);
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
  std::vector<Entry> sequential, interleaved;
  const bool seqOk = !interleavedFlag && ParseSequential(lines, n, len, sequential);
  const bool intOk = !seqOk && ParseInterleaved(lines, n, len, interleaved);
  std::vector<Entry>* chosen = &sequential;
  if (interleavedFlag || intOk) {
    chosen = &interleaved;
    if (interleavedFlag && !intOk) ParseInterleaved(lines, n, len, interleaved);
  } else if (!seqOk) {
    ParseInterleaved(lines, n, len, interleaved);
    if (LengthError(interleaved, n, len) < LengthError(sequential, n, len)) chosen = &interleaved;
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
std::string PhylipName(const std::string& name, bool truncate) {
  std::string out = name;
  std::replace(out.begin(), out.end(), ' ', '_');  // a blank would end the name on reading
  if (out.size() < 10)
    out.resize(10, ' ');
  else if (out.size() > 10 && truncate)
    out = out.substr(0, 9) + out.back();
  return out;
}
}  // namespace

std::string PhylipText(const TDataSeq& ds, bool truncateNames) {
  int longest = 0;
  for (int row = 1; row <= ds.Count(); ++row) {
    const TSeq* s = ds.SeqAt(row);
    longest = std::max(longest, s->columnShift + s->Length());
  }
  std::string out;
  AppendLine(out, std::to_string(ds.Count()) + " " + std::to_string(longest));
  for (int row = 1; row <= ds.Count(); ++row) {
    const TSeq* s = ds.SeqAt(row);
    AppendLine(out, PhylipName(s->seqName, truncateNames));
    out.append(static_cast<std::size_t>(std::max(0, s->columnShift)), '-');
    AppendLine(out, s->letters);
    out += "\r\n";
  }
  return out;
}

bool SavePhylip(const std::string& path, const TDataSeq& ds, Services& svc) {
  const bool truncate = svc.messages.AskYesNo("Truncate sequence names to 10 symbols?");
  const bool ok = SaveTextFile(path, PhylipText(ds, truncate), svc);
  bool sameLength = true;
  for (int row = 2; row <= ds.Count(); ++row)
    sameLength = sameLength && ds.SeqAt(row)->Length() == ds.SeqAt(1)->Length();
  if (ok && !sameLength)
    svc.messages.Notify(
        "Warning: sequences are of different lengths!\r\nSequence length at the top of the file "
        "will show maximal length.");
  return ok;
}
