// SPDX-License-Identifier: GPL-3.0-or-later
// What polymorphic sites become outside the report: a dataset holding only the sites of a
// table, the SNP report with the first sequence's flanking letters, and the project that
// carries such datasets into a new editor window.
#include <algorithm>
#include <unordered_map>

#include "analysis/ShowPolymSUnit.h"
#include "model/DataProjUnit.h"

namespace {

bool IsSnpDataset(const TDataSeq& ds) {
  for (int r = 1; r <= ds.Count(); ++r)
    if (ds.SeqAt(r)->seqType == kSeqSnp) return true;
  return false;
}

// First mutation of each distinct position, in table order (the table is sorted).
std::vector<const tmutation*> DistinctSites(const tmutholder& table) {
  std::vector<const tmutation*> sites;
  for (const tmutation& m : table.mutations)
    if (sites.empty() || sites.back()->position != m.position) sites.push_back(&m);
  return sites;
}

// Alignment column of each site. A SNP dataset's mutations carry the stored site positions;
// their column is found the way the scan found the position: from the first sample row that
// stores one at that column.
std::vector<int> ColumnsOf(const TDataSeq& ds, const samptype& sample,
                           const std::vector<const tmutation*>& sites) {
  std::vector<int> columns;
  columns.reserve(sites.size());
  if (!IsSnpDataset(ds)) {
    for (const tmutation* m : sites) columns.push_back(m->position);
    return columns;
  }
  int last = 0;
  for (int r = 1; r <= ds.Count(); ++r)
    if (sample.Test(r - 1)) last = std::max(last, ds.SeqAt(r)->columnShift + ds.SeqAt(r)->Length());
  std::unordered_map<int, int> columnOf;
  for (int c = 1; c <= last; ++c) {
    for (int r = 1; r <= ds.Count(); ++r) {
      if (!sample.Test(r - 1)) continue;
      const TSeq* s = ds.SeqAt(r);
      const int p = c - s->columnShift;
      if (p >= 1 && p <= static_cast<int>(s->polySitePos.size())) {
        columnOf.try_emplace(s->polySitePos[static_cast<std::size_t>(p - 1)], c);
        break;
      }
    }
  }
  for (const tmutation* m : sites) {
    const auto it = columnOf.find(m->position);
    columns.push_back(it == columnOf.end() ? 0 : it->second);
  }
  return columns;
}

char LetterAt(const TSeq& s, int column) {
  const int p = column - s.columnShift;
  return p >= 1 && p <= s.Length() ? s.letters[static_cast<std::size_t>(p - 1)] : '-';
}

int ClassCode(const tmutation& m) {
  const bool coding = m.siteClass >= kClassCodingSite && m.siteClass <= kClassCodingSite + 3;
  if (!coding) return 0;
  return m.mutationClass == kMutClassReplacement ? -3 : -2;
}

}  // namespace

std::unique_ptr<TDataSeq> PolymorphicSitesDataset(const TDataSeq& ds, const tmutholder& table,
                                                  const std::string& name, bool classCodes) {
  auto out = std::make_unique<TDataSeq>(ds.GetServices());
  out->dsName = name;
  const samptype& sample = table.sampleMask;
  const std::vector<const tmutation*> sites = DistinctSites(table);
  const std::vector<int> columns = ColumnsOf(ds, sample, sites);
  std::vector<std::int32_t> positions, codes;
  for (const tmutation* m : sites) {
    positions.push_back(m->position);
    codes.push_back(ClassCode(*m));
  }
  // Every row of the sample gets every site: a row of a subgroup or one whose group number
  // lags behind its individual still belongs to the sample, and a row left short would put
  // its letters under the wrong positions.
  for (int r = 1; r <= ds.Count(); ++r) {
    if (!sample.Test(r - 1)) continue;
    const TSeq& src = *ds.SeqAt(r);
    std::string letters;
    letters.reserve(columns.size());
    for (int c : columns) letters += LetterAt(src, c);
    auto row = std::make_unique<TSeq>(src.seqName, std::move(letters));
    row->seqType = kSeqSnp;
    row->groupNum = src.groupNum;
    row->individId = src.individId;
    row->polySitePos = positions;
    if (classCodes) row->peakPos = codes;
    (void)out->AddSeq(row, true);
  }
  return out;
}

std::string SnpReportLines(const TDataSeq& ds, const std::string& groupName,
                           const tmutholder& table, const tmutholder* whole) {
  const TSeq* first = ds.SeqAt(1);
  if (first == nullptr) return {};
  const std::vector<const tmutation*> sites = DistinctSites(table);
  const std::vector<int> columns = ColumnsOf(ds, table.sampleMask, sites);
  const std::string& letters = first->letters;
  const int length = first->Length();
  std::string text;
  for (std::size_t k = 0; k < sites.size(); ++k) {
    const tmutation& m = *sites[k];
    const int p = columns[k] - first->columnShift;  // letter index of the site, 1-based
    const int before = std::clamp(p - 1, 0, length);
    const int gapsBefore =
        static_cast<int>(std::count(letters.begin(), letters.begin() + before, '-'));
    std::string total;
    if (whole == nullptr) {
      total = std::to_string(m.carrierCount);
    } else {
      const auto it =
          std::lower_bound(whole->mutations.begin(), whole->mutations.end(), m.position,
                           [](const tmutation& w, int position) { return w.position < position; });
      total = it != whole->mutations.end() && it->position == m.position
                  ? std::to_string(it->carrierCount)
                  : "NA";
    }
    std::string left;
    for (int i = before - 1; i >= 0 && left.size() < 201; --i)
      if (letters[static_cast<std::size_t>(i)] != '-') left += letters[static_cast<std::size_t>(i)];
    std::reverse(left.begin(), left.end());
    std::string right;
    for (int i = std::max(p, 0); i < length && right.size() < 200; ++i)
      if (letters[static_cast<std::size_t>(i)] != '-')
        right += letters[static_cast<std::size_t>(i)];
    text += ds.dsName + "," + groupName + "," + std::to_string(m.position) + "," +
            std::to_string(p - gapsBefore) + "," + std::to_string(m.carrierCount) + "," + total +
            "," + m.ancestralLetter + "," + m.derivedLetter + "," + left + "[" + m.ancestralLetter +
            "/" + m.derivedLetter + "]" + right + "\r\n";
  }
  return text;
}

std::unique_ptr<TDataProj> ProjectForDatasets(const TDataProj& source,
                                              std::vector<std::unique_ptr<TDataSeq>> datasets) {
  auto project = std::make_unique<TDataProj>(source.GetServices());
  for (const TGroup& g : source.Groups()) project->AddGroup(g);
  for (const TIndivid& i : source.Individs()) project->AddIndivid(i);
  for (auto& ds : datasets) (void)project->AddDataset(ds, false);
  return project;
}
