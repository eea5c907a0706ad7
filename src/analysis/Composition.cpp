// SPDX-License-Identifier: GPL-3.0-or-later
// Nucleotide composition: the five blocks of a group's report and the analysis around them.
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <optional>

#include "analysis/GCcontentUnit.h"
#include "common/NumberFormat.h"
#include "common/Services.h"
#include "model/DataProjUnit.h"

namespace {

constexpr const char* kCrLf = "\r\n";

// Index in the order A, T, G, C; -1 for anything else (U included).
int BaseIndex(char c) {
  switch (std::toupper(static_cast<unsigned char>(c))) {
    case 'A':
      return 0;
    case 'T':
      return 1;
    case 'G':
      return 2;
    case 'C':
      return 3;
    default:
      return -1;
  }
}

std::vector<int> MaskRows(const TDataSeq& ds, const samptype& mask) {
  std::vector<int> rows;
  for (int r = 1; r <= ds.Count(); ++r)
    if (mask.Test(r - 1)) rows.push_back(r);
  return rows;
}

// The upper-case letter a sequence holds at an alignment column; 0 outside its letters.
char LetterAtColumn(const TSeq& s, int column) {
  const int p = column - s.columnShift;
  if (p < 1 || p > s.Length()) return 0;
  return static_cast<char>(
      std::toupper(static_cast<unsigned char>(s.letters[static_cast<std::size_t>(p - 1)])));
}

bool IsGC(char c) {
  return c == 'G' || c == 'C';
}
bool IsAT(char c) {
  return c == 'A' || c == 'T';
}

// For every sequence of the mask, bit sets over the table's mutations: plane 0 the mutations it
// carries (two sequences differ at the set bits of the XOR of their rows), planes 1.. what
// classify(sequence, column) says of its letters at each mutation's column, so a pair's counts
// are popcounts of word operations instead of a letter lookup per differing mutation.
class MutationRows {
 public:
  template <class Classify>
  MutationRows(const TDataSeq& ds, const tmutholder& t, const std::vector<int>& rows, int planes,
               Classify classify)
      : words_((t.mutations.size() + 63) / 64), planes_(static_cast<std::size_t>(planes) + 1) {
    bits_.assign(rows.size() * planes_ * words_, 0);
    std::vector<int> slot(static_cast<std::size_t>(t.SequenceCount()) + 1, -1);
    for (std::size_t i = 0; i < rows.size(); ++i)
      if (rows[i] - 1 < static_cast<int>(slot.size()))
        slot[static_cast<std::size_t>(rows[i] - 1)] = static_cast<int>(i);
    for (std::size_t j = 0; j < t.mutations.size(); ++j) {
      const tmutation& m = t.mutations[j];
      const std::uint64_t bit = std::uint64_t{1} << (j % 64);
      for (int w = 0; w < m.WordCount(); ++w) {
        for (std::uint64_t bits = m.Words()[w]; bits != 0; bits &= bits - 1) {
          const int r0 = w * 64 + std::countr_zero(bits);
          const int s =
              r0 < static_cast<int>(slot.size()) ? slot[static_cast<std::size_t>(r0)] : -1;
          if (s >= 0) Row(static_cast<std::size_t>(s), 0)[j / 64] |= bit;
        }
      }
      for (std::size_t i = 0; i < rows.size(); ++i) {
        const unsigned kinds = classify(*ds.SeqAt(rows[i]), m.position);
        for (std::size_t k = 1; k < planes_; ++k)
          if (((kinds >> (k - 1)) & 1U) != 0) Row(i, static_cast<int>(k))[j / 64] |= bit;
      }
    }
  }
  [[nodiscard]] std::size_t Words() const { return words_; }
  [[nodiscard]] const std::uint64_t* Row(std::size_t slot, int plane) const {
    return bits_.data() + (slot * planes_ + static_cast<std::size_t>(plane)) * words_;
  }

 private:
  std::uint64_t* Row(std::size_t slot, int plane) {
    return bits_.data() + (slot * planes_ + static_cast<std::size_t>(plane)) * words_;
  }
  std::size_t words_;
  std::size_t planes_;
  std::vector<std::uint64_t> bits_;
};

// Per sequence, bit sets over alignment columns of its bases, its Gs and its Cs: the counts
// over the columns two sequences share are popcounts of the AND of their rows.
class ColumnLetters {
 public:
  ColumnLetters(const TDataSeq& ds, const std::vector<int>& rows) {
    int last = 0;
    for (int r : rows) last = std::max(last, ds.SeqAt(r)->columnShift + ds.SeqAt(r)->Length());
    words_ = static_cast<std::size_t>(std::max(last, 0) + 63) / 64;
    bits_.assign(rows.size() * 3 * words_, 0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const TSeq& s = *ds.SeqAt(rows[i]);
      std::uint64_t* base = bits_.data() + i * 3 * words_;
      for (int p = 1; p <= s.Length(); ++p) {
        const int c0 = p + s.columnShift - 1;
        if (c0 < 0) continue;
        const char l = static_cast<char>(
            std::toupper(static_cast<unsigned char>(s.letters[static_cast<std::size_t>(p - 1)])));
        const std::uint64_t bit = std::uint64_t{1} << (c0 % 64);
        const std::size_t w = static_cast<std::size_t>(c0) / 64;
        if (l == 'A' || l == 'C' || l == 'G' || l == 'T' || l == 'U') base[w] |= bit;
        if (l == 'G') base[words_ + w] |= bit;
        if (l == 'C') base[2 * words_ + w] |= bit;
      }
    }
  }
  // Columns where both hold a base, both a G, both a C.
  std::array<int, 3> Shared(std::size_t a, std::size_t b) const {
    std::array<int, 3> n{};
    for (int k = 0; k < 3; ++k) {
      const std::uint64_t* x = bits_.data() + (a * 3 + static_cast<std::size_t>(k)) * words_;
      const std::uint64_t* y = bits_.data() + (b * 3 + static_cast<std::size_t>(k)) * words_;
      for (std::size_t w = 0; w < words_; ++w)
        n[static_cast<std::size_t>(k)] += PopCount64(x[w] & y[w]);
    }
    return n;
  }

 private:
  std::size_t words_ = 0;
  std::vector<std::uint64_t> bits_;
};

}  // namespace

void CountBases(TSeq& seq) {
  seq.baseCounts.Mut().fill(0);
  seq.pairCounts.Mut().fill(0);
  int previous = -1;
  for (const char c : seq.letters) {
    const int b = BaseIndex(c);
    if (b >= 0) {
      ++seq.baseCounts[static_cast<std::size_t>(b)];
      if (previous >= 0) ++seq.pairCounts[static_cast<std::size_t>(4 * previous + b)];
    }
    previous = b;
  }
}

std::string GCMutationsBlock(const tmutholder& t) {
  struct Counts {
    int changing = 0, neutral = 0;
  };
  Counts all, polymorphic, fixed;
  for (const tmutation& m : t.mutations) {
    const char a = static_cast<char>(std::toupper(static_cast<unsigned char>(m.ancestralLetter)));
    const char d = static_cast<char>(std::toupper(static_cast<unsigned char>(m.derivedLetter)));
    const bool changing = (IsGC(a) && IsAT(d)) || (IsAT(a) && IsGC(d));
    const bool neutral = a != d && ((IsGC(a) && IsGC(d)) || (IsAT(a) && IsAT(d)));
    for (Counts* c : {&all, m.isFixed ? &fixed : &polymorphic}) {
      c->changing += changing ? 1 : 0;
      c->neutral += neutral ? 1 : 0;
    }
  }
  std::string s =
      std::string("====Number of GC%-changing & non-GC%-changing mutations====") + kCrLf;
  s += "Number of mutations affecting GC% (G/C<=>T/A): " + std::to_string(all.changing) + kCrLf;
  s += "Number of mutations not affecting GC% (G<=>C or A<=>T): " + std::to_string(all.neutral) +
       kCrLf;
  s += kCrLf;
  if (fixed.changing > 0 || fixed.neutral > 0) {
    s += "Number of G/C<=>T/A mutations polymorphic in the population: " +
         std::to_string(polymorphic.changing) + kCrLf;
    s += "Number of G<=>C or A<=>T mutations polymorphic in the population: " +
         std::to_string(polymorphic.neutral) + kCrLf;
    s += "Number of G/C<=>T/A mutations fixed in the population, but different from outgroup: " +
         std::to_string(fixed.changing) + kCrLf;
    s += "Number of G<=>C or A<=>T mutations fixed in the population, but different from "
         "outgroup: " +
         std::to_string(fixed.neutral) + kCrLf;
    s += kCrLf;
  }
  return s;
}

std::string BaseCompositionBlock(const TDataSeq& ds, const samptype& mask) {
  // Columns in the order A, G, T, C as indexes of baseCounts (A, T, G, C).
  constexpr std::array<int, 4> kOrder{0, 2, 1, 3};
  std::string s = std::string("========Nucleotide composition========") + kCrLf;
  s += std::string("Sequence  -------A------- ") + "-------G------- " + "-------T------- " +
       "-------C------- " + "  GC-content " + kCrLf;
  const std::vector<int> rows = MaskRows(ds, mask);
  std::array<double, 5> sums{};
  auto cell = [](const std::string& count, double part, bool ok) {
    return count + " (" + (ok ? FixedWidth(part, 5, 3) : std::string("error")) + ")  ";
  };
  for (int r : rows) {
    const TSeq& q = *ds.SeqAt(r);
    const auto& b = q.baseCounts;
    const int h = b[0] + b[1] + b[2] + b[3];
    s += FitText(ds.NameAt(r), 10);
    for (std::size_t k = 0; k < 4; ++k) {
      const int c = b[static_cast<std::size_t>(kOrder[k])];
      sums[k] += c;
      s += cell(PadLeft(std::to_string(c), 6), h < 1 ? 0.0 : static_cast<double>(c) / h, h >= 1);
    }
    const int gc = b[2] + b[3];
    sums[4] += gc;
    s += cell(PadLeft(std::to_string(gc), 6), h < 1 ? 0.0 : static_cast<double>(gc) / h, h >= 1);
    s += kCrLf;
  }
  const double n = rows.empty() ? 1.0 : static_cast<double>(rows.size());
  const double total = (sums[0] + sums[1] + sums[2] + sums[3]) / n;
  s += "Average   ";
  for (std::size_t k = 0; k < 5; ++k) {
    const double mean = sums[k] / n;
    s += cell(FixedWidth(mean, 6, 3), total > 0 ? mean / total : 0.0, total > 0);
  }
  s += kCrLf;
  s += kCrLf;
  return s;
}

std::string GCStationarityBlock(const TDataSeq& ds, const samptype& mask, const tmutholder& t) {
  std::string s = kCrLf;
  s += std::string("===%GC stationarity (Eyre-Walker 1994)===") + kCrLf;
  s += std::string("Sequence1  ") + "Sequence2 " + " GC1:AT2 " + " AT1:GC2  " + "G-test" + kCrLf;
  const std::vector<int> rows = MaskRows(ds, mask);
  // Planes 1 and 2: a strong (G or C) and a weak (A or T) letter at the mutation's column.
  const MutationRows m(ds, t, rows, 2, [](const TSeq& seq, int column) {
    const char c = LetterAtColumn(seq, column);
    return c == 'G' || c == 'C' ? 1U : c == 'A' || c == 'T' ? 2U : 0U;
  });
  const std::size_t words = m.Words();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::uint64_t *carA = m.Row(i, 0), *strongA = m.Row(i, 1), *weakA = m.Row(i, 2);
    for (std::size_t k = i + 1; k < rows.size(); ++k) {
      const std::uint64_t *carB = m.Row(k, 0), *strongB = m.Row(k, 1), *weakB = m.Row(k, 2);
      int x = 0, y = 0;
      for (std::size_t w = 0; w < words; ++w) {
        const std::uint64_t d = carA[w] ^ carB[w];
        x += PopCount64(d & strongA[w] & weakB[w]);
        y += PopCount64(d & weakA[w] & strongB[w]);
      }
      s += FitText(ds.NameAt(rows[i]), 10) + " " + FitText(ds.NameAt(rows[k]), 10) +
           PadLeft(std::to_string(x), 8) + " " + PadLeft(std::to_string(y), 8);
      if (x >= 1 && y >= 1) {
        const double e = (x + y) / 2.0;
        const double g = 2 * (x * std::log(x / e) + y * std::log(y / e));
        s += " " + FixedWidth(g, 6, 3);
      } else {
        s += "  Error";
      }
      s += kCrLf;
    }
  }
  s += kCrLf;
  return s;
}

std::string NucleotidePairsBlock(const TDataSeq& ds, const samptype& mask, int groupLength) {
  int r = 2;
  double x = groupLength / 16.0;
  do {
    x /= 10;
    ++r;
  } while (!(x < 1));
  // Header order A, G, T, C as indexes of the A, T, G, C counts.
  constexpr std::array<int, 4> kOrder{0, 2, 1, 3};
  constexpr std::array<char, 4> kLetter{'A', 'T', 'G', 'C'};
  std::string s = std::string("====Frequencies of nucleotide pairs====") + kCrLf;
  s += "Sequence  ";
  for (int f : kOrder)
    for (int g : kOrder)
      s += PadLeft(
          std::string{kLetter[static_cast<std::size_t>(f)], kLetter[static_cast<std::size_t>(g)]},
          r);
  s += std::string("  G-test ") + kCrLf;
  for (int row : MaskRows(ds, mask)) {
    const TSeq& q = *ds.SeqAt(row);
    s += FitText(ds.NameAt(row), 9, true) + " ";
    for (int f : kOrder)
      for (int g : kOrder)
        s += PadLeft(std::to_string(q.pairCounts[static_cast<std::size_t>(4 * f + g)]), r);
    s += kCrLf;
    const auto& b = q.baseCounts;
    const int h = b[0] + b[1] + b[2] + b[3];
    if (h < 1) {
      s += std::string("Error!") + kCrLf;
      continue;
    }
    int pairs = 0;
    for (int c : q.pairCounts) pairs += c;
    std::string expected = " Expected ";
    double gsum = 0;
    bool valid = true;
    for (int f : kOrder)
      for (int g : kOrder) {
        const double e =
            static_cast<double>(RoundHalfEven(static_cast<double>(b[static_cast<std::size_t>(f)]) /
                                              h * b[static_cast<std::size_t>(g)] / h * pairs));
        const int o = q.pairCounts[static_cast<std::size_t>(4 * f + g)];
        expected += PadLeft(std::to_string(static_cast<long long>(e)), r);
        if (valid && e >= 1 && o >= 1)
          gsum += 2 * o * std::log(o / e);
        else
          valid = false;
      }
    s += expected + (valid ? " " + FixedWidth(gsum, 7, 2) : std::string(" Error")) + kCrLf;
    s += kCrLf;
  }
  return s;
}

namespace {
// Planes of the CpG block: carried mutation; C, T, G, A at its column; the next column within
// the sequence; a G there; a C at the column before.
enum : int { kCarried, kC, kT, kG, kA, kNextReached, kNextG, kPreviousC, kCpGPlanes };
}  // namespace

std::string CpGBlock(const TDataSeq& ds, const samptype& mask, const tmutholder& t,
                     const std::function<void()>& step) {
  std::string s = kCrLf;
  s += std::string("===Methylation, mutations in CpG===") + kCrLf;
  const std::vector<int> rows = MaskRows(ds, mask);
  // The letters at, after and before each mutation's column as planes (the planes named above).
  const MutationRows m(ds, t, rows, kCpGPlanes - 1, [](const TSeq& seq, int column) {
    const char x = LetterAtColumn(seq, column), next = LetterAtColumn(seq, column + 1);
    unsigned kinds = 0;
    if (x == 'C') kinds |= 1U << (kC - 1);
    if (x == 'T') kinds |= 1U << (kT - 1);
    if (x == 'G') kinds |= 1U << (kG - 1);
    if (x == 'A') kinds |= 1U << (kA - 1);
    if (next != 0) kinds |= 1U << (kNextReached - 1);
    if (next == 'G') kinds |= 1U << (kNextG - 1);
    if (LetterAtColumn(seq, column - 1) == 'C') kinds |= 1U << (kPreviousC - 1);
    return kinds;
  });
  const ColumnLetters letters(ds, rows);
  const std::size_t words = m.Words();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (step) step();
    std::array<const std::uint64_t*, kCpGPlanes> a{};
    for (int p = 0; p < kCpGPlanes; ++p) a[static_cast<std::size_t>(p)] = m.Row(i, p);
    for (std::size_t k = i + 1; k < rows.size(); ++k) {
      std::array<const std::uint64_t*, kCpGPlanes> b{};
      for (int p = 0; p < kCpGPlanes; ++p) b[static_cast<std::size_t>(p)] = m.Row(k, p);
      int ct = 0, ga = 0, ctInCG = 0, gaInCG = 0;
      for (std::size_t w = 0; w < words; ++w) {
        auto at = [w](const std::array<const std::uint64_t*, kCpGPlanes>& r, int plane) {
          return r[static_cast<std::size_t>(plane)][w];
        };
        const std::uint64_t d = at(a, kCarried) ^ at(b, kCarried);
        // C against T where both reach the next column; a column one of the two does not
        // reach tells nothing about either.
        const std::uint64_t cToT = d & ((at(a, kC) & at(b, kT)) | (at(a, kT) & at(b, kC))) &
                                   at(a, kNextReached) & at(b, kNextReached);
        const std::uint64_t gToA = d & ((at(a, kG) & at(b, kA)) | (at(a, kA) & at(b, kG)));
        ct += PopCount64(cToT);
        ctInCG += PopCount64(cToT & at(a, kNextG) & at(b, kNextG));
        ga += PopCount64(gToA);
        gaInCG += PopCount64(gToA & at(a, kPreviousC) & at(b, kPreviousC));
      }
      const std::array<int, 3> shared = letters.Shared(i, k);
      const int total = ct + ga, inCG = ctInCG + gaInCG;
      s += ds.NameAt(rows[i]) + " vers " + ds.NameAt(rows[k]) + ":" +
           " muts in C: " + std::to_string(total) + " (GA: " + std::to_string(ga) +
           " CT: " + std::to_string(ct) + ")" + "; of them in CG: " + std::to_string(inCG) + "." +
           " Expected:";
      if (shared[0] < 1) {
        // No base shared: no frequency to expect anything from.
        s += std::string("error; G-test = error") + kCrLf;
        continue;
      }
      const double fG = static_cast<double>(shared[1]) / shared[0];
      const double fC = static_cast<double>(shared[2]) / shared[0];
      const double ex = ct * fG + ga * fC;
      s += FixedWidth(ex, 6, 3) + "; G-test = ";
      if (ex > 0 && total - ex > 0 && inCG > 0 && total - inCG > 0) {
        const double g = 2 * (inCG * std::log(inCG / ex) +
                              (total - inCG) * std::log((total - inCG) / (total - ex)));
        s += FixedWidth(g, 6, 3);
      } else {
        s += "error";
      }
      s += kCrLf;
    }
  }
  return s;
}

void CompositionAnalysis::DoForm(TDataSeq& ds) {
  for (int r = 1; r <= ds.Count(); ++r) CountBases(*ds.SeqAt(r));
  AnalysisFrame::DoForm(ds);
}

void CompositionAnalysis::AnalysePop(TDataSeq& ds, const std::string& groupName) {
  BaseGroupReport(ds, groupName);
  if (project == nullptr || groupMask.Size() != ds.Count()) return;
  std::optional<ProgressScope> bar;
  if (co.cpg) bar.emplace(svc->progress, ds.Count() - 1, "Processing output...");
  // The base report has already said why when the group has no table.
  const int ti = TableIndex(ds, groupName, false);
  if (ti < 0 || groupMask.Count() <= 1) return;
  const tmutholder& t = *ds.mutHolders[static_cast<std::size_t>(ti)];
  if (co.gcMutations) Append(GCMutationsBlock(t));
  if (co.nucleotides) Append(BaseCompositionBlock(ds, groupMask));
  if (co.gcStationarity) Append(GCStationarityBlock(ds, groupMask, t));
  if (co.pairs) {
    const int key = groupName.empty() ? 0 : project->GroupKeyByName(groupName);
    Append(NucleotidePairsBlock(ds, groupMask, ds.GroupLength(key, true)));
  }
  if (co.cpg) Append(CpGBlock(ds, groupMask, t, [&] { bar->Step(true); }));
}

void CompositionAnalysis::AfterRun() {
  out.reportCaption = kCompositionReportCaption;
}

AnalysisOutput RunComposition(TDataProj& project, const FrameOptions& frame,
                              const CompositionOptions& options, Services& services) {
  CompositionAnalysis analysis(frame, options);
  AnalysisOutput out = analysis.Run(project, services);
  if (out.reportCaption.empty()) out.reportCaption = kCompositionReportCaption;
  return out;
}
