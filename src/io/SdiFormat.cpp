// SPDX-License-Identifier: GPL-3.0-or-later
// SDI files of SNP calls (tab-separated: chromosome, position, length, reference letters,
// consensus letters, a skipped field, support, a real score). Substitutions (length 0, letters
// of equal length) are used; insertions, deletions and lines that do not parse are passed
// over. Each chromosome is a dataset with a reference row and one row per sample; rows hold
// one letter per site, the sites listed in polySitePos.
#include <algorithm>
#include <limits>
#include <numeric>

#include "common/NumberFormat.h"
#include "io/BinarySource.h"
#include "io/ByteSource.h"
#include "io/ResultFormats.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"
#include "model/Datasequnit.h"

namespace {

struct SdiLine {
  std::string_view chromosome, reference, consensus;
  int position = 0, length = 0, support = 0;
};

bool ParseSdiLine(std::string_view line, SdiLine& out) {
  std::string_view f[8];
  std::size_t n = 0, start = 0;
  while (n < 8) {
    const std::size_t tab = line.find('\t', start);
    f[n++] =
        line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  if (n < 8) return false;
  const auto pos = ParseInt(f[1]), len = ParseInt(f[2]), support = ParseInt(f[6]);
  if (!pos || !len || !support || !ParseReal(f[7]) || f[0].empty() || f[3].empty() || f[4].empty())
    return false;
  out = {f[0], f[3], f[4], *pos, *len, *support};
  return true;
}

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::int32_t AddSaturating(std::int32_t a, int b) {
  const std::int64_t s = std::int64_t{a} + b;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      s, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

int IndividKey(TDataProj& project, const std::string& name, bool reuse) {
  if (reuse)
    if (const TIndivid* ind = project.IndividAt(project.IndividIndexByName(name)))
      return ind->indKey;
  TIndivid blank;
  blank.indName = name;
  return project.AddIndivid(blank);
}

// The rows of one chromosome while its lines are read.
struct PendingRows {
  std::string chromosome;
  std::unique_ptr<TSeq> reference, sample;
};

class SdiReader {
 public:
  SdiReader(const std::string& path, OpenWindow& window, Services& services)
      : window_(window), services_(services), sample_(FileBaseNameOf(path)) {
    referenceKey_ = IndividKey(window.project, "reference", true);
    sampleKey_ = IndividKey(window.project, sample_, false);
  }

  void Run(std::string_view text) {
    LineReader lines(text);
    std::string_view raw;
    SdiLine line;
    while (lines.Next(raw)) {
      if (lines.LineNumber() % 1000 == 0)
        services_.progress.ShowStatus("Reading file: " + sample_ +
                                          "; line: " + std::to_string(lines.LineNumber()) +
                                          "; dataset: " + pending_.chromosome,
                                      false, true);
      if (!ParseSdiLine(raw, line) || line.length != 0 ||
          line.reference.size() != line.consensus.size())
        continue;
      if (!pending_.sample || line.chromosome != pending_.chromosome) Begin(line.chromosome);
      Take(line);
    }
    Flush();
  }

 private:
  OpenWindow& window_;
  Services& services_;
  std::string sample_;
  int referenceKey_ = -1, sampleKey_ = -1;
  PendingRows pending_;

  std::unique_ptr<TSeq> NewRow(const std::string& name, int individKey) const {
    auto row = std::make_unique<TSeq>(name, "");
    row->seqType = kSeqSnp;
    row->individId = individKey;
    row->groupNum = 0;
    return row;
  }

  void Begin(std::string_view chromosome) {
    Flush();
    pending_.chromosome = std::string(chromosome);
    pending_.reference = NewRow("ref_" + pending_.chromosome, referenceKey_);
    pending_.sample = NewRow(sample_ + "_" + pending_.chromosome, sampleKey_);
  }

  void Take(const SdiLine& line) {
    TSeq& ref = *pending_.reference;
    TSeq& sample = *pending_.sample;
    for (std::size_t i = 0; i < line.reference.size(); ++i) {
      const std::int64_t site = std::int64_t{line.position} + static_cast<std::int64_t>(i);
      // A site before the chromosome's first letter cannot be placed.
      if (site < 1 || site > std::numeric_limits<std::int32_t>::max()) continue;
      if (Upper(line.reference[i]) == Upper(line.consensus[i])) continue;
      ref.letters.push_back(line.reference[i]);
      ref.polySitePos.push_back(static_cast<std::int32_t>(site));
      sample.letters.push_back(line.consensus[i]);
      sample.seqComment.push_back(line.reference[i]);
      sample.polySitePos.push_back(static_cast<std::int32_t>(site));
      ref.readCount = AddSaturating(ref.readCount, line.support);
      sample.readCount = AddSaturating(sample.readCount, line.support);
    }
  }

  // The dataset named after the chromosome: the current one, another of that name, or a new
  // one; nullptr when none may be added.
  TDataSeq* DatasetFor(const std::string& chromosome) {
    TDataProj& project = window_.project;
    if (project.DatasetCount() > 0 && project.CurrentDatasetName() == chromosome)
      return project.CurrentDataset();
    if (TDataSeq* ds = project.DatasetByName(chromosome)) return ds;
    if (window_.gridLocked) return nullptr;
    auto ds = project.MakeDataset();
    ds->dsName = chromosome;
    return project.DatasetAt(project.AddDataset(ds, false));
  }

  void Flush() {
    if (!pending_.sample) return;
    if (TDataSeq* ds = DatasetFor(pending_.chromosome)) {
      pending_.reference->SyncLength();
      pending_.sample->SyncLength();
      if (TSeq* existing = ds->SeqAt(ds->RowByName(pending_.reference->seqName)))
        existing->readCount = AddSaturating(existing->readCount, pending_.reference->readCount);
      else
        (void)AddSnpRow(*ds, pending_.reference);
      (void)AddSnpRow(*ds, pending_.sample);
    }
    pending_ = {};
  }
};

// Orders a row's sites ascending with their letters and reference letters, keeping the first
// of repeated sites.
void SortSites(TSeq& row) {
  const std::size_t n = std::min(row.letters.size(), row.polySitePos.size());
  row.letters.resize(n);
  row.polySitePos.resize(n);
  if (std::is_sorted(row.polySitePos.begin(), row.polySitePos.end(), std::less_equal<>())) return;
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return row.polySitePos[a] < row.polySitePos[b];
  });
  std::string letters, comment;
  std::vector<std::int32_t> sites;
  for (const std::size_t k : order) {
    if (!sites.empty() && sites.back() == row.polySitePos[k]) continue;
    sites.push_back(row.polySitePos[k]);
    letters.push_back(row.letters[k]);
    if (k < row.seqComment.size()) comment.push_back(row.seqComment[k]);
  }
  row.letters = std::move(letters);
  row.polySitePos = std::move(sites);
  if (!row.seqComment.empty()) row.seqComment = std::move(comment);
}

bool StrictlyAscending(const std::vector<std::int32_t>& v) {
  return std::adjacent_find(v.begin(), v.end(), std::greater_equal<>()) == v.end();
}

}  // namespace

int AddSnpRow(TDataSeq& ds, std::unique_ptr<TSeq>& row) {
  if (!row) return -1;
  SortSites(*row);
  const TSeq* first = ds.SeqAt(1);
  // Rows are rebuilt on the union of row 1's sites and the new row's; without a first row
  // that lists its sites in order there is nothing to merge with.
  if (ds.Count() < 2 || !StrictlyAscending(first->polySitePos)) {
    const int added = ds.AddSeq(row, true);
    if (added > 0) ds.SeqAt(added)->SyncLength();
    return added;
  }
  const std::vector<std::int32_t> base = first->polySitePos;
  const std::string baseLetters = first->letters;
  const int added = ds.AddSeq(row, true);
  if (added < 0) return -1;
  const TSeq newRow = *ds.SeqAt(added);
  const std::vector<std::int32_t>& fresh = newRow.polySitePos;

  // One merge of the two sorted lists per row: (index in base or -1, index in fresh or -1).
  std::vector<std::pair<std::ptrdiff_t, std::ptrdiff_t>> plan;
  std::vector<std::int32_t> sites;
  plan.reserve(base.size() + fresh.size());
  sites.reserve(base.size() + fresh.size());
  for (std::size_t i = 0, j = 0; i < base.size() || j < fresh.size();) {
    if (j == fresh.size() || (i < base.size() && base[i] < fresh[j])) {
      plan.emplace_back(i, -1);
      sites.push_back(base[i++]);
    } else if (i == base.size() || fresh[j] < base[i]) {
      plan.emplace_back(-1, j);
      sites.push_back(fresh[j++]);
    } else {
      plan.emplace_back(i, j);
      sites.push_back(base[i]);
      ++i, ++j;
    }
  }
  const auto at = [](const std::string& s, std::ptrdiff_t k) {
    return k >= 0 && static_cast<std::size_t>(k) < s.size() ? s[static_cast<std::size_t>(k)] : 'n';
  };
  for (int r = 1; r <= ds.Count(); ++r) {
    TSeq& seq = *ds.SeqAt(r);
    const bool isNew = r == added;
    const bool withQuality = !seq.quality.empty();
    std::string letters, comment;
    std::vector<std::uint8_t> quality;
    letters.reserve(plan.size());
    for (const auto& [i, j] : plan) {
      if (isNew) {
        letters.push_back(j >= 0 ? at(newRow.letters, j) : at(baseLetters, i));
        if (!newRow.seqComment.empty())
          comment.push_back(j >= 0 ? at(newRow.seqComment, j) : at(baseLetters, i));
      } else {
        // A site only the new row has: the others hold the reference letter there.
        letters.push_back(i >= 0 ? at(seq.letters, i) : at(newRow.seqComment, j));
      }
      if (withQuality) {
        const std::ptrdiff_t k = isNew ? j : i;
        quality.push_back(k >= 0 && static_cast<std::size_t>(k) < seq.quality.size()
                              ? seq.quality[static_cast<std::size_t>(k)]
                              : 0);
      }
    }
    seq.letters = std::move(letters);
    if (isNew && !newRow.seqComment.empty()) seq.seqComment = std::move(comment);
    if (withQuality) seq.quality = std::move(quality);
    seq.polySitePos = sites;
    seq.SyncLength();
  }
  ds.LettersChanged();
  return added;
}

void ReadSdi(std::string_view text, const std::string& path, OpenWindow& window,
             Services& services) {
  SdiReader(path, window, services).Run(text);
}

void OpenSdi(const std::string& path, OpenWindow& window, Services& services) {
  FileSource src;
  if (!src.Open(path)) return;
  ReadSdi(src.Bytes(), path, window, services);
}
