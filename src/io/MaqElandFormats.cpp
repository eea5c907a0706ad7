// SPDX-License-Identifier: GPL-3.0-or-later
// MAQ mapview output and Illumina Eland export files: reads placed on the dataset named after
// their reference.
//
// MAQ: tab-separated, name, reference and position in fields 1 to 3, letters in field 15 (the
// mapview letters are already on the reference strand). Eland export: only lines whose filter
// field (the last character of the line) is "Y"; letters in field 9, contig and position in 12
// and 13, strand "R" in 14. Lines whose position is not a number are passed over in both.
#include "io/ReadFormats.h"
#include "io/ReadLines.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"

int OpenMaq(const ByteSource& src, ReadContext& ctx, TDataProj& proj, bool referencesOnly) {
  const std::string_view text = src.Bytes();
  ReadTargets targets(proj, referencesOnly, false);
  {
    LineProgress bar(ctx.services.progress, text, "Reading MAQ file...",
                     "Reading MAQ export file; line ");
    LineReader lines(text);
    std::string_view line;
    while (lines.Next(line)) {
      bar.AtLine(lines.LineNumber());
      if (line.empty()) continue;
      const auto f = TabFields<15>(line);
      const auto pos = ParseInt(f[2]);
      if (!pos) continue;
      ReadTargets::Target* target = targets.For(f[1]);
      if (target == nullptr) continue;
      auto read = std::make_unique<TSeq>(std::string(f[0]), std::string(f[14]));
      PlaceByPosition(*read, *pos);
      target->reads.push_back(std::move(read));
    }
  }
  return targets.Finish(true);
}

int OpenEland(const ByteSource& src, ReadContext& ctx, TDataProj& proj, bool referencesOnly) {
  const std::string_view text = src.Bytes();
  ReadTargets targets(proj, referencesOnly, true);
  const int limit = ctx.services.settings.maxSeqPerDataset;
  int added = 0;
  LineProgress bar(ctx.services.progress, text, "Reading Eland export file...",
                   "Reading Eland export file; line ");
  LineReader lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    bar.AtLine(lines.LineNumber());
    if (line.empty() || line.back() != 'Y') continue;
    const auto f = TabFields<14>(line);
    // The position first: an unmapped read must not leave an empty dataset behind.
    const auto pos = ParseInt(f[12]);
    if (!pos) continue;
    ReadTargets::Target* target = targets.For(f[11]);
    if (target == nullptr || target->ds->Count() >= limit) continue;
    auto read = std::make_unique<TSeq>("X:" + std::string(f[4]) + "_Y:" + std::string(f[5]),
                                       std::string(f[8]));
    if (f[13] == "R") read->ReverseComplement();
    PlaceByPosition(*read, *pos);
    if (target->ds->AddSeq(read, true) >= 0) ++added;
  }
  return added;
}
