// SPDX-License-Identifier: GPL-3.0-or-later
// Similarity search and the local alignment score.
#include "alignment/SimilaritySearch.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>

#include "common/NumberFormat.h"
#include "io/AnnotatedFormats.h"
#include "io/IOUnit.h"
#include "io/TextHelpers.h"
#include "model/Datasequnit.h"

namespace {

// The least number of equal letters a window of q letters needs to be strictly above
// minIdentity percent: 100 * count > minIdentity * q, compared exactly for whole percents.
int NeededMatches(double minIdentity, int q) {
  const double limit = minIdentity * q;
  auto c = static_cast<long long>(std::floor(limit / 100.0)) + 1;
  while (c > 0 && 100.0 * static_cast<double>(c - 1) > limit) --c;
  while (!(100.0 * static_cast<double>(c) > limit)) ++c;
  return static_cast<int>(std::clamp<long long>(c, 0, static_cast<long long>(q) + 1));
}

// Unequal letters of t and q over n letters, eight at a time; stops counting once the count
// passes limit (the window is lost then, and the rest need not be read).
int Mismatches(const char* t, const char* q, int n, int limit) {
  constexpr std::uint64_t kLowBits = 0x0101010101010101ULL;
  int count = 0;
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t a = 0, b = 0;
    std::memcpy(&a, t + i, 8);
    std::memcpy(&b, q + i, 8);
    std::uint64_t x = a ^ b;
    if (x == 0) continue;
    // Folds each byte onto its lowest bit: one bit per unequal letter.
    x |= x >> 4;
    x |= x >> 2;
    x |= x >> 1;
    count += std::popcount(x & kLowBits);
    if (count > limit) return count;
  }
  for (; i < n; ++i) count += t[i] != q[i] ? 1 : 0;
  return count;
}

// IdentityWindowSearch on texts already upper-cased; from is 1-based.
IdentityHit WindowSearch(std::string_view query, std::string_view target, double minIdentity,
                         int from) {
  const int q = static_cast<int>(query.size());
  const int t = static_cast<int>(target.size());
  if (q == 0 || q > t) return {};
  const int allowed = q - NeededMatches(minIdentity, q);
  if (allowed < 0) return {};
  for (int i = std::max(from, 1); i + q - 1 <= t; ++i) {
    const int mism = Mismatches(target.data() + i - 1, query.data(), q, allowed);
    if (mism <= allowed) return {i, 100.0 * (q - mism) / q};
  }
  return {};
}

std::string HitComment(double identity) {
  std::string text = FormatFixed(identity, 3);
  if (text.size() < 5) text.insert(0, 5 - text.size(), ' ');
  return "Found by the similarity search, identity (%) " + text;
}

// Every place of query in w, each masked with '!' once found so the next search finds the next
// place; `place` receives the 1-based start and identity.
void SearchStrand(std::string& w, const std::string& query, double minIdentity,
                  const std::function<void(int, double)>& place) {
  const auto q = query.size();
  if (q == 0 || q > w.size()) return;
  const bool exact = minIdentity >= 100;
  const std::boyer_moore_horspool_searcher searcher(query.begin(), query.end());
  std::size_t from = 0;  // 0-based: windows before a hit stay below the minimum after masking
  while (from + q <= w.size()) {
    std::size_t at = 0;
    double identity = 100;
    if (exact) {
      const auto it = std::search(w.begin() + static_cast<std::ptrdiff_t>(from), w.end(), searcher);
      if (it == w.end()) return;
      at = static_cast<std::size_t>(it - w.begin());
    } else {
      const IdentityHit hit = WindowSearch(query, w, minIdentity, static_cast<int>(from) + 1);
      if (hit.pos == 0) return;
      at = static_cast<std::size_t>(hit.pos - 1);
      identity = hit.identity;
    }
    place(static_cast<int>(at) + 1, identity);
    std::fill_n(w.begin() + static_cast<std::ptrdiff_t>(at), q, '!');
    // A query holding '!' would find its masked place again.
    from = at + 1;
  }
}

}  // namespace

IdentityHit IdentityWindowSearch(std::string_view query, std::string_view target,
                                 double minIdentity, int from) {
  return WindowSearch(UpperCase(query), UpperCase(target), minIdentity, from);
}

TSeq SimilaritySearch(std::string_view target, std::string_view queryIn, double minIdentity) {
  TSeq hits;
  std::string query = UpperCase(queryIn);
  StripLineBreaks(query);
  const int q = static_cast<int>(query.size());
  const int t = static_cast<int>(target.size());
  auto add = [&](int start, int end, bool reverse, double identity) {
    TRegion r;
    r.regType = kRegMisc;
    r.regStart = start;
    r.regEnd = end;
    r.regReverse = reverse;
    r.regName = "Misc_Region";
    r.regComment = HitComment(identity);
    // The scratch list keeps the hit as made; ids are given when a row takes it.
    hits.regions.push_back(std::move(r));
  };
  std::string w = UpperCase(target);
  SearchStrand(w, query, minIdentity,
               [&](int p, double identity) { add(p, p + q - 1, false, identity); });
  w = UpperCase(target);
  std::reverse(w.begin(), w.end());
  for (char& c : w) c = ComplementLetter(c);
  SearchStrand(w, query, minIdentity,
               [&](int p, double identity) { add(t - p + 1, t - q - p + 2, true, identity); });
  return hits;
}

int SmithWatermanScore(std::string_view a, std::string_view bIn, int gap) {
  const std::string b = UpperCase(bIn);
  const std::size_t m = b.size();
  // One row of the matrix, over b: H(i, j) needs only H(i-1, j-1), H(i-1, j) and H(i, j-1).
  std::vector<int> row(m + 1, 0);
  int best = 0;
  for (const char raw : a) {
    const char x = static_cast<char>(std::toupper(static_cast<unsigned char>(raw)));
    int diag = 0, left = 0;
    for (std::size_t j = 1; j <= m; ++j) {
      const int up = row[j];
      int h = diag + (x == b[j - 1] ? 1 : -1);
      h = std::max(h, std::max(up, left) + gap);
      h = std::max(h, 0);
      diag = up;
      row[j] = h;
      left = h;
      best = std::max(best, h);
    }
  }
  return best;
}

std::string SearchQuery(const TSeq* loaded, std::string_view memoText) {
  std::string query;
  if (loaded != nullptr) query = loaded->letters;
  if (query.empty() && memoText.find("Paste (Ctrl-V)") == std::string_view::npos)
    query = std::string(memoText);
  StripLineBreaks(query);
  return query;
}

std::unique_ptr<TSeq> LoadQuery(const std::string& path, int filterIndex, Services& services) {
  if (filterIndex == 4 || filterIndex == 5) return OpenExperimentFile(path, services);
  if (filterIndex < 1 || filterIndex > 5) {
    services.messages.Notify("I/O Error: can not recognise format of the file " + path);
    return nullptr;
  }
  FileSource src;
  if (!src.Open(path)) {
    services.messages.ReportError("I/O Error: can not read the file " + path);
    return nullptr;
  }
  ReadContext ctx(services, path);
  if (filterIndex == 2) return OpenPlainText(src, ctx);
  TDataSeq scratch(services);
  if (filterIndex == 1)
    (void)OpenFasta(src, ctx, scratch);
  else
    (void)OpenGenBank(src, ctx, scratch);
  return scratch.Count() > 0 ? scratch.CloneAt(1) : nullptr;
}

SimSearchOutput RunSimilaritySearch(TDataSeq& ds, const std::string& query,
                                    const SimSearchOptions& opt, Services& services) {
  SimSearchOutput out;
  if (query.empty()) return out;
  ProgressScope bar(services.progress, ds.Count(), "Similarity search...");
  for (int row = 1; row <= ds.Count(); ++row) {
    bar.Step(false);
    if (!opt.allSeqs && !ds.IsSelected(row)) continue;
    TSeq& seq = *ds.SeqAt(row);
    ++out.rowsSearched;
    if (opt.identity) {
      const TSeq hits = SimilaritySearch(seq.letters, query, opt.minIdentity);
      for (TRegion r : hits.regions) {
        ++out.hits;
        out.report += seq.seqName + '\t' + std::to_string(r.regStart) + '\t' +
                      std::to_string(r.regEnd) + '\t' + (r.regReverse ? "-" : "+") + '\t' +
                      r.regComment.substr(r.regComment.rfind(' ') + 1) + "\r\n";
        r.codonPos = 0;
        if (opt.mark && seq.AddRegionClipped(r, true) >= 0) ++out.marked;
      }
    }
    if (opt.score) {
      const int s = SmithWatermanScore(seq.letters, query, -2);
      out.scores.push_back({row, s});
      services.messages.Notify("SmithWaterman score = " + std::to_string(s));
    }
  }
  if (out.marked > 0) ds.LettersChanged();
  if (opt.identity)
    out.report = "Sequence\tStart\tEnd\tStrand\tIdentity (%)\r\n" + out.report;
  return out;
}
