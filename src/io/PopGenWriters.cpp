// SPDX-License-Identifier: GPL-3.0-or-later
// Writers of one dataset's polymorphic sites: ms-style text, fastPHASE input, SweepFinder.
#include <algorithm>
#include <cctype>

#include "analysis/MutUnit.h"
#include "analysis/PolymEstimators.h"
#include "common/NumberFormat.h"
#include "common/PlatformRandom.h"
#include "io/IOUnit.h"
#include "io/PopGenFormats.h"
#include "io/PopGenSupport.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"

const tmutholder* WholeSampleTable(TDataSeq& ds) {
  if (!UpdateMuts(ds, AnalysisOptions{}, ds.project, {}, ScanChoices{}) || ds.mutHolders.empty())
    return nullptr;
  const tmutholder* t = ds.mutHolders.front().get();
  return t->positionsAnalysed() > 0 ? t : nullptr;
}

samptype IngroupOf(const TDataSeq& ds, const tmutholder& t) {
  samptype mask = t.sampleMask;
  if (ds.project != nullptr)
    for (int r = 1; r <= ds.Count() && r <= mask.Size(); ++r)
      if (mask.Test(r - 1) && ds.project->IsOutgroup(ds, r)) mask.Set(r - 1, false);
  return mask;
}

std::vector<const tmutation*> WrittenMutations(const tmutholder& t, const samptype& mask) {
  std::vector<const tmutation*> out;
  for (const tmutation& m : t.mutations)
    if (!m.isExcluded && tmutholder::isSegregatingIn(m, mask)) out.push_back(&m);
  return out;
}

char LetterAtPosition(const TDataSeq& ds, int row, int position) {
  const TSeq* s = ds.SeqAt(row);
  if (s == nullptr) return '-';
  int index = position - 1 - s->columnShift;
  // SNP rows keep their sites' positions beside the letters.
  if (s->seqType == kSeqSnp && !s->polySitePos.empty()) {
    index = -1;
    for (std::size_t i = 0; i < s->polySitePos.size(); ++i)
      if (s->polySitePos[i] == position) index = static_cast<int>(i);
  }
  return index >= 0 && index < s->Length() ? s->letters[static_cast<std::size_t>(index)] : '-';
}

std::string MsStyleText(TDataSeq& ds, bool withHeader, int seed) {
  const tmutholder* t = WholeSampleTable(ds);
  if (t == nullptr) return {};
  const samptype mask = IngroupOf(ds, *t);
  const std::vector<const tmutation*> muts = WrittenMutations(*t, mask);
  const int n = mask.Count();
  const int L = t->positionsAnalysed();
  std::string out;
  if (withHeader) {
    const double theta = thetaW(*t, 0, 0, mask, kSiteAll, kMutAll);
    AppendLine(out, "ms " + std::to_string(n) + " 1 -t " + FormatFixed(theta, 6) + " -r GIVE_RHO " +
                        std::to_string(L));
    AppendLine(out, std::to_string(seed));
    AppendLine(out, "");
    AppendLine(out, " N.sample     = " + std::to_string(n));
    AppendLine(out, " seq.length   = " + std::to_string(L));
    for (const char* line : {" Rn           = 1.000000e-01", " Gn           = 0.000000e+00",
                             " trackL       = 300         ", " Alpha        = GIVE_VALUE         ",
                             " Bsite        = GIVE_SITE         ", " BFreq        = 1.000000    ",
                             " Tau          = 1.000000e-02"})
      AppendLine(out, line);
    AppendLine(out, " Theta        = " + FormatFixed(theta / L, 6));
    AppendLine(out, " r_theta      = 0.300000    ");
    AppendLine(out, " random seed  = " + std::to_string(seed));
    AppendLine(out, " epsilon      = 5.000000e-05");
  }
  AppendLine(out, "");
  AppendLine(out, "//");
  // segsites must match the columns below: a site of three letters gives two of them.
  AppendLine(out, "segsites: " + std::to_string(muts.size()));
  // Sites kept as positions (SNP rows) can lie beyond the letters: the unit interval must
  // hold them all.
  int length = ds.AlignmentLength(true);
  for (const tmutation* m : muts) length = std::max(length, m->position);
  out += "positions: ";
  for (std::size_t i = 0; i < muts.size(); ++i) {
    if (length > 0)
      AppendFixed(out, static_cast<double>(muts[i]->position) / length, 8);
    else
      out += '0';
    out += ' ';
    if (i % 10 == 9 && i + 1 < muts.size()) out += "\r\n";
  }
  out += "\r\n";
  for (int r = 1; r <= ds.Count(); ++r) {
    if (!mask.Test(r - 1)) continue;
    for (const tmutation* m : muts) out += m->Test(r - 1) ? '1' : '0';
    out += "\r\n";
  }
  return out;
}

bool SaveMsStyle(const std::string& path, TDataSeq& ds, bool withHeader, Services& services) {
  PlatformRandom rng = PlatformRandom::FromClock();
  const std::string text = MsStyleText(ds, withHeader, rng.NextInt(10000));
  if (text.empty()) {
    services.messages.ReportError(ds.dsName + ": no analysed sites, nothing written to " + path);
    return false;
  }
  return SaveTextFile(path, text, services);
}

std::string FastPhaseInputText(TDataSeq& ds, std::string& refusal) {
  const tmutholder* t = WholeSampleTable(ds);
  if (t == nullptr) {
    refusal = ds.dsName + ": no analysed sites";
    return {};
  }
  const samptype mask = IngroupOf(ds, *t);
  const int n = mask.Count();
  // Rows are read two by two as one individual's haplotypes.
  if (n % 2 != 0) {
    refusal = ds.dsName + " has an odd number of ingroup sequences (" + std::to_string(n) +
              "): fastPHASE reads two haplotypes per individual";
    return {};
  }
  std::vector<int> positions;
  for (const tmutation* m : WrittenMutations(*t, mask))
    if (positions.empty() || positions.back() != m->position) positions.push_back(m->position);
  std::vector<int> rows;
  for (int r = 1; r <= ds.Count(); ++r)
    if (mask.Test(r - 1)) rows.push_back(r);
  // columns[p][k]: the letter of row k at site p, at most two alleles per site.
  std::vector<std::string> columns;
  for (const int p : positions) {
    std::string col;
    for (const int r : rows)
      col +=
          static_cast<char>(std::toupper(static_cast<unsigned char>(LetterAtPosition(ds, r, p))));
    std::string alleles;
    for (const char c : col)
      if (c != 'N' && c != '?' && alleles.find(c) == std::string::npos) alleles += c;
    if (alleles.size() > 2)
      for (char& c : col)
        if (c != 'N' && c != '?' && c != alleles[0] && c != alleles[1]) c = alleles[0];
    columns.push_back(std::move(col));
  }
  std::string out;
  AppendLine(out, std::to_string(n / 2));
  AppendLine(out, std::to_string(positions.size()));
  out += "P ";
  for (const int p : positions) out += std::to_string(p) + " ";
  out += "\r\n";
  for (std::size_t k = 0; k < rows.size(); ++k) {
    if (k % 2 == 0) AppendLine(out, "# " + ds.NameAt(rows[k]));
    for (const std::string& col : columns) out += col[k] == 'N' ? '?' : col[k];
    out += "\r\n";
  }
  return out;
}

bool SaveFastPhaseInput(const std::string& path, TDataSeq& ds, Services& services) {
  std::string refusal;
  const std::string text = FastPhaseInputText(ds, refusal);
  if (text.empty()) {
    services.messages.Notify(refusal + ". Nothing was written to " + path);
    return false;
  }
  return SaveTextFile(path, text, services);
}

std::string SweepFinderText(TDataSeq& ds) {
  const tmutholder* t = WholeSampleTable(ds);
  if (t == nullptr) return {};
  const samptype mask = IngroupOf(ds, *t);
  const std::string n = std::to_string(mask.Count());
  std::string out = "position\tx\tn\tfolded\r\n";
  for (const tmutation& m : t->mutations) {
    if (m.isExcluded) continue;
    out +=
        std::to_string(m.position) + "\t" + std::to_string(m.CountAnd(mask)) + "\t" + n + "\t1\r\n";
  }
  return out;
}

bool SaveSweepFinder(const std::string& path, TDataSeq& ds, Services& services) {
  const std::string text = SweepFinderText(ds);
  if (text.empty()) {
    services.messages.ReportError(ds.dsName + ": no analysed sites, nothing written to " + path);
    return false;
  }
  return SaveTextFile(path, text, services);
}
