// SPDX-License-Identifier: GPL-3.0-or-later
// Similarity search and the local alignment score.
#include "alignment/SimilaritySearch.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <unordered_map>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The ungapped windows of a query in a text (both upper-cased) whose identity is strictly
// above the minimum, in order. A window with at most e mismatches holds at least one of e + 1
// disjoint pieces of the query unchanged (pigeonhole), so where the pieces are long enough only
// the windows a piece is found in are counted; masking found places with '!' only removes
// letters, so the windows found before masking still include every window that can pass.
class WindowFinder {
 public:
  WindowFinder(std::string_view query, const std::string& text, double minIdentity)
      : query_(query), text_(text) {
    const int q = static_cast<int>(query.size());
    allowed_ = q - NeededMatches(minIdentity, q);
    if (q == 0 || q > static_cast<int>(text.size()) || allowed_ < 0) {
      none_ = true;
      return;
    }
    FindCandidates();
  }

  // The first passing window starting at `from` (1-based) or later.
  IdentityHit Next(int from) const {
    if (none_) return {};
    const int q = static_cast<int>(query_.size());
    const int last = static_cast<int>(text_.size()) - q + 1;
    for (int i = std::max(from, 1); i <= last; ++i) {
      if (!candidate_.empty() && candidate_[static_cast<std::size_t>(i - 1)] == 0) continue;
      const int mism = Mismatches(text_.data() + i - 1, query_.data(), q, allowed_);
      if (mism <= allowed_) return {i, 100.0 * (q - mism) / q};
    }
    return {};
  }

 private:
  void FindCandidates() {
    constexpr int kMinPiece = 8;  // shorter pieces are found almost everywhere
    const int q = static_cast<int>(query_.size());
    const int pieces = allowed_ + 1;
    const int len = q / pieces;
    if (len < kMinPiece) return;
    std::unordered_map<std::string_view, std::vector<int>> where;
    for (int k = 0; k < pieces; ++k)
      where[query_.substr(static_cast<std::size_t>(k * len), static_cast<std::size_t>(len))]
          .push_back(k * len);
    const int t = static_cast<int>(text_.size());
    const int lastStart = t - q;
    candidate_.assign(static_cast<std::size_t>(lastStart + 1), 0);
    // Low-complexity texts find pieces everywhere: then the filter saves nothing.
    long long budget = 16LL * t;
    const std::string_view text(text_);
    for (int p = 0; p + len <= t; ++p) {
      const auto it =
          where.find(text.substr(static_cast<std::size_t>(p), static_cast<std::size_t>(len)));
      if (it == where.end()) continue;
      for (const int offset : it->second) {
        const int start = p - offset;
        if (start >= 0 && start <= lastStart) candidate_[static_cast<std::size_t>(start)] = 1;
      }
      budget -= static_cast<long long>(it->second.size());
      if (budget < 0) {
        candidate_.clear();
        return;
      }
    }
  }

  std::string_view query_;
  const std::string& text_;
  int allowed_ = 0;
  bool none_ = false;
  std::vector<char> candidate_;  // per window start (0-based); empty: every window is counted
};

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
  std::optional<WindowFinder> finder;
  if (!exact) finder.emplace(query, w, minIdentity);
  std::size_t from = 0;  // 0-based: windows before a hit stay below the minimum after masking
  while (from + q <= w.size()) {
    std::size_t at = 0;
    double identity = 100;
    if (exact) {
      const auto it = std::search(w.begin() + static_cast<std::ptrdiff_t>(from), w.end(), searcher);
      if (it == w.end()) return;
      at = static_cast<std::size_t>(it - w.begin());
    } else {
      const IdentityHit hit = finder->Next(static_cast<int>(from) + 1);
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

char Upper(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// Smith-Waterman over one row of the matrix along b: H(i, j) needs only H(i-1, j-1),
// H(i-1, j) and H(i, j-1).
int ScalarScore(std::string_view a, const std::string& b, int gap) {
  const std::size_t m = b.size();
  std::vector<int> row(m + 1, 0);
  int best = 0;
  for (const char raw : a) {
    const char x = Upper(raw);
    int diag = 0, left = 0;
    for (std::size_t j = 1; j <= m; ++j) {
      const int up = row[j];
      const int h = std::max({diag + (x == b[j - 1] ? 1 : -1), std::max(up, left) + gap, 0});
      diag = up;
      row[j] = h;
      left = h;
      best = std::max(best, h);
    }
  }
  return best;
}

#if defined(__SSE2__)
// The same score with eight cells at once (Farrar's striped layout, Bioinformatics 23:156,
// 2007): lane k of segment t stands for b position k * segments + t, so the cells of one
// vector never depend on each other; the gaps along b that cross segments are caught up
// afterwards (the "lazy F" loop), which rarely runs more than a few segments.
struct Lanes {  // a vector type in a struct, so std::vector keeps its alignment
  __m128i v;
};

int StripedScore(std::string_view a, const std::string& b, int gap) {
  const std::size_t m = b.size();
  if (m == 0 || a.empty()) return 0;
  const std::size_t segs = (m + 7) / 8;
  // A profile per letter of b (and one for any other letter): +1 where b has it, else -1.
  std::array<int, 256> cls{};
  std::vector<char> letters;
  for (const char c : b)
    if (cls[static_cast<unsigned char>(c)] == 0) {
      letters.push_back(c);
      cls[static_cast<unsigned char>(c)] = static_cast<int>(letters.size());
    }
  std::vector<Lanes> profile((letters.size() + 1) * segs);
  for (std::size_t c = 0; c <= letters.size(); ++c)
    for (std::size_t t = 0; t < segs; ++t) {
      alignas(16) std::int16_t lane[8];
      for (std::size_t k = 0; k < 8; ++k) {
        const std::size_t j = k * segs + t;
        lane[k] = static_cast<std::int16_t>(c > 0 && j < m && b[j] == letters[c - 1] ? 1 : -1);
      }
      profile[c * segs + t].v = _mm_load_si128(reinterpret_cast<const __m128i*>(lane));
    }
  const __m128i vGap = _mm_set1_epi16(static_cast<std::int16_t>(-gap));
  const __m128i zero = _mm_setzero_si128();
  std::vector<Lanes> load(segs, Lanes{zero}), store(segs, Lanes{zero});
  __m128i vMax = zero;
  for (const char raw : a) {
    const Lanes* p =
        &profile[static_cast<std::size_t>(cls[static_cast<unsigned char>(Upper(raw))]) * segs];
    __m128i vF = zero;
    __m128i vH = _mm_slli_si128(store[segs - 1].v, 2);
    std::swap(load, store);
    for (std::size_t t = 0; t < segs; ++t) {
      vH = _mm_adds_epi16(vH, p[t].v);
      vH = _mm_max_epi16(vH, _mm_subs_epi16(load[t].v, vGap));
      vH = _mm_max_epi16(vH, vF);
      vH = _mm_max_epi16(vH, zero);
      vMax = _mm_max_epi16(vMax, vH);
      store[t].v = vH;
      vF = _mm_subs_epi16(vH, vGap);
      vH = load[t].v;
    }
    // A gap along b carried from the last segment into the next lane.
    vF = _mm_slli_si128(vF, 2);
    std::size_t t = 0;
    while (_mm_movemask_epi8(_mm_cmpgt_epi16(vF, store[t].v)) != 0) {
      store[t].v = _mm_max_epi16(store[t].v, vF);
      vF = _mm_subs_epi16(vF, vGap);
      if (++t == segs) {
        t = 0;
        vF = _mm_slli_si128(vF, 2);
      }
    }
  }
  alignas(16) std::int16_t lane[8];
  _mm_store_si128(reinterpret_cast<__m128i*>(lane), vMax);
  return *std::max_element(lane, lane + 8);
}
#endif

}  // namespace

IdentityHit IdentityWindowSearch(std::string_view query, std::string_view target,
                                 double minIdentity, int from) {
  const std::string q = UpperCase(query), t = UpperCase(target);
  return WindowFinder(q, t, minIdentity).Next(from);
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
#if defined(__SSE2__)
  // Scores never exceed the shorter length, so 16-bit lanes hold them for queries this short.
  if (b.size() <= 30000 && gap <= 0 && gap > -1000) return StripedScore(a, b, gap);
#endif
  return ScalarScore(a, b, gap);
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
  if (opt.identity) out.report = "Sequence\tStart\tEnd\tStrand\tIdentity (%)\r\n" + out.report;
  return out;
}
