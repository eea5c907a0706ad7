// SPDX-License-Identifier: GPL-3.0-or-later
// NBRF/PIR reader.
//
// An entry is a line ">XX;name" (XX the type code such as P1 or DL), one description line,
// then the letters up to the closing '*'. The description line is never part of the letters.
// Blanks, line breaks and '*' are dropped from the letters. Entries cut off before their
// description line are reported and left out; a missing closing '*' is reported.
#include <vector>

#include "io/IOUnit.h"
#include "io/TextHelpers.h"
#include "model/Datasequnit.h"
#include "model/tsequnit.h"

bool OpenPir(const ByteSource& src, ReadContext& ctx, TDataSeq& ds) {
  ds.dsName = FileNameOnly(ctx.fileName);
  ds.dsSourceFile = ctx.fileName;
  struct Entry {
    std::string name, letters;
    int line = 0;
    bool described = false, closed = false;
  };
  std::vector<Entry> entries;
  LineReader lines(src.Bytes());
  std::string_view line;
  while (lines.Next(line)) {
    if (!line.empty() && line.front() == '>') {
      std::string_view rest = line.substr(1);
      const std::size_t semicolon = rest.find(';');
      if (semicolon != std::string_view::npos && semicolon <= 3) rest.remove_prefix(semicolon + 1);
      entries.push_back({TrimmedSeparators(rest), {}, lines.LineNumber()});
      continue;
    }
    if (entries.empty()) continue;
    Entry& e = entries.back();
    if (!e.described) {
      e.described = true;
      continue;
    }
    for (const char c : line) {
      if (c == '*')
        e.closed = true;
      else if (c != ' ' && c != '\t')
        e.letters += c;
    }
  }
  if (entries.empty()) {
    ctx.services.messages.Notify("Wrong (non NBRF/PIR) file format");
    return false;
  }
  int added = 0;
  for (Entry& e : entries) {
    if (!e.described) {
      ctx.ReportLine(e.line, "entry " + e.name + " ends before its description line; left out");
      continue;
    }
    if (!e.closed)
      ctx.ReportLine(e.line, "entry " + e.name + " has no closing '*'; the file may be cut short");
    auto seq = std::make_unique<TSeq>(std::move(e.name), std::move(e.letters));
    if (ds.AddSeq(seq, true) < 0) break;
    ++added;
  }
  return added > 0;
}
