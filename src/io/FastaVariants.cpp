// SPDX-License-Identifier: GPL-3.0-or-later
// The FASTA open variants that place records in several datasets: one dataset per record, and
// records sent to the dataset their key names.
#include <unordered_map>

#include "io/IOUnit.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"
#include "model/Datasequnit.h"
#include "model/tsequnit.h"

int OpenFastaEachSeq(const ByteSource& src, ReadContext& ctx, TDataProj& proj) {
  std::unique_ptr<TDataSeq> all = proj.MakeDataset();
  if (!OpenFasta(src, ctx, *all)) return 0;
  // Taken from the end so that no row is moved more than once.
  std::vector<std::unique_ptr<TSeq>> seqs;
  for (int row = all->Count(); row >= 1; --row) seqs.push_back(all->ReleaseSeq(row));
  int added = 0;
  for (auto it = seqs.rbegin(); it != seqs.rend(); ++it) {
    ctx.services.progress.ShowStatus(
        "Addind dataset " + std::to_string(added + 1) + " to project...", false, false);
    std::unique_ptr<TDataSeq> ds = proj.MakeDataset();
    const std::string& name = (*it)->seqName;
    ds->dsName = name.substr(0, name.find(' '));
    ds->dsSourceFile = ctx.fileName;
    if (ds->AddSeq(*it, false) < 0) continue;
    proj.AddDataset(ds, false);
    ++added;
  }
  return added;
}

bool OpenFastaByDatasetName(const ByteSource& src, ReadContext& ctx, TDataProj& proj,
                            const std::string& namePrefix) {
  if (proj.DatasetCount() == 0) {
    ctx.Report("the project has no dataset to read into");
    return false;
  }
  // Built once: records with unknown keys are skipped without a word, and a lookup per record
  // must not walk the dataset list.
  std::unordered_map<std::string, int> byName;
  for (int i = 0; i < proj.DatasetCount(); ++i) byName.try_emplace(proj.DatasetAt(i)->dsName, i);
  ProgressScope bar(ctx.services.progress, 100, "Reading fasta file...");
  LineReader lines(src.Bytes());
  std::string_view line;
  bool added = false;
  TDataSeq* target = nullptr;
  std::unique_ptr<TSeq> seq;
  auto finish = [&]() {
    if (seq && target != nullptr && target->AddSeq(seq, true) >= 0) {
      target->LettersChanged();
      added = true;
    }
    seq.reset();
    target = nullptr;
  };
  while (lines.Next(line)) {
    if (lines.LineNumber() % 1000 == 0)
      ctx.services.progress.ShowStatus(
          "Reading fasta file, line " + std::to_string(lines.LineNumber()), false, false);
    const std::size_t mark = line.find('>');
    if (mark != std::string_view::npos) {
      finish();
      const std::string_view header = line.substr(mark + 1);
      const std::string key(header.substr(0, header.find(' ')));
      const auto found = byName.find(key);
      if (found == byName.end()) continue;
      target = proj.DatasetAt(found->second);
      seq = std::make_unique<TSeq>(namePrefix + std::string(header), std::string());
      seq->sourceFormat = kSourceFasta;
    } else if (seq) {
      seq->letters.append(line);
      seq->SyncLength();
    }
  }
  finish();
  return added;
}
