// SPDX-License-Identifier: GPL-3.0-or-later
// MapReads: raw Illumina reads (plain lines or FASTQ records) placed on the window's reference
// sequences by three 15-letter seeds and a check of at most 5 differences.
//
// A seed is looked up through an index of every 15-letter word of the references (both
// strands) that keeps each word's first place per reference, so the first occurrence found is
// the one a scan from the reference's start would find, and only references holding a seed
// are checked. Seeds that do not fit in their read
// are not tried, nor are windows that would begin before a reference's first letter.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <span>
#include <unordered_map>

#include "io/ReadFormats.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"

namespace {

constexpr int kSeedLength = 15;
constexpr int kMaxDifferences = 5;
constexpr int kMinReferenceLength = 200;

// First place (1-based) of every 15-letter word in each reference of one strand. Words of
// A, C, G and T are packed 2 bits a letter and sorted; the few holding other letters (N runs,
// gaps) are kept by their text.
class WordIndex {
 public:
  struct Hit {
    std::uint32_t code, ref, pos;
  };
  void Add(std::uint32_t ref, std::string_view letters) {
    const std::uint32_t mask = (1u << (2 * kSeedLength)) - 1;
    std::uint32_t code = 0;
    int valid = 0;  // A/C/G/T letters in a row ending at i
    for (std::size_t i = 0; i < letters.size(); ++i) {
      std::uint32_t v = 0;
      valid = LetterCode(letters[i], v) ? valid + 1 : 0;
      code = ((code << 2) | v) & mask;
      if (i + 1 < kSeedLength) continue;
      const auto pos = static_cast<std::uint32_t>(i + 2 - kSeedLength);
      if (valid >= kSeedLength) {
        hits_.push_back({code, ref, pos});
        continue;
      }
      std::vector<Hit>& odd = odd_[std::string(letters.substr(pos - 1, kSeedLength))];
      if (odd.empty() || odd.back().ref != ref) odd.push_back({0, ref, pos});
    }
  }
  void Finish() {
    std::sort(hits_.begin(), hits_.end(), [](const Hit& a, const Hit& b) {
      return a.code != b.code ? a.code < b.code : a.ref != b.ref ? a.ref < b.ref : a.pos < b.pos;
    });
    hits_.erase(
        std::unique(hits_.begin(), hits_.end(),
                    [](const Hit& a, const Hit& b) { return a.code == b.code && a.ref == b.ref; }),
        hits_.end());
  }
  // The references holding the word, each with its first place, in reference order.
  std::span<const Hit> Find(std::string_view word) const {
    std::uint32_t code = 0;
    if (!WordCode(word, code)) {
      const auto it = odd_.find(std::string(word));
      return it == odd_.end() ? std::span<const Hit>{} : std::span<const Hit>(it->second);
    }
    const auto range = std::equal_range(hits_.begin(), hits_.end(), Hit{code, 0, 0},
                                        [](const Hit& a, const Hit& b) { return a.code < b.code; });
    return {range.first, range.second};
  }

 private:
  static bool LetterCode(char c, std::uint32_t& v) {
    switch (c) {
      case 'A':
        v = 0;
        return true;
      case 'C':
        v = 1;
        return true;
      case 'G':
        v = 2;
        return true;
      case 'T':
        v = 3;
        return true;
      default:
        v = 0;
        return false;
    }
  }
  static bool WordCode(std::string_view word, std::uint32_t& code) {
    code = 0;
    for (const char c : word) {
      std::uint32_t v = 0;
      if (!LetterCode(c, v)) return false;
      code = (code << 2) | v;
    }
    return true;
  }
  std::vector<Hit> hits_;
  std::unordered_map<std::string, std::vector<Hit>> odd_;
};

struct Reference {
  TDataSeq* ds;
  std::string name;
  std::string_view forward;  // the row's letters, upper case
  std::string reverse;       // their reverse complement
};

std::string ReverseComplementText(std::string_view s) {
  std::string out(s.rbegin(), s.rend());
  for (char& c : out) c = ComplementLetter(c);
  return out;
}

int Differences(std::string_view window, std::string_view read) {
  const std::size_t n = std::min(window.size(), read.size());
  int d = 0;
  for (std::size_t i = 0; i < n && d <= kMaxDifferences; ++i) d += window[i] != read[i] ? 1 : 0;
  return d;
}

class Mapper {
 public:
  explicit Mapper(TDataProj& proj) {
    for (int d = 0; d < proj.DatasetCount(); ++d) {
      TDataSeq& ds = *proj.DatasetAt(d);
      for (int r = 1; r <= ds.Count(); ++r) {
        TSeq& s = *ds.SeqAt(r);
        std::transform(s.letters.begin(), s.letters.end(), s.letters.begin(), [](char c) {
          return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        });
        // Only the rows present now: reads placed during the run are no references.
        if (s.Length() >= kMinReferenceLength)
          refs_.push_back({&ds, s.seqName, s.letters, ReverseComplementText(s.letters)});
      }
      ds.LettersChanged();
    }
    for (std::uint32_t k = 0; k < refs_.size(); ++k) {
      forward_.Add(k, refs_[k].forward);
      reverse_.Add(k, refs_[k].reverse);
    }
    forward_.Finish();
    reverse_.Finish();
  }

  // Places read on every reference it matches; returns the placements.
  int Place(const std::string& read, const std::string& name, const std::string& quality) {
    const int length = static_cast<int>(read.size());
    const int r = length / 3;
    seeds_.clear();
    for (const int start : {0, r, 2 * r})
      if (start + kSeedLength <= length) seeds_.push_back(start);
    if (seeds_.empty()) return 0;
    std::vector<std::uint32_t> candidates;
    for (const WordIndex* index : {&forward_, &reverse_})
      for (const int start : seeds_)
        for (const WordIndex::Hit& h : index->Find(Seed(read, start))) candidates.push_back(h.ref);
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    int placed = 0;
    for (const std::uint32_t k : candidates) {
      const Reference& ref = refs_[k];
      const long long n = static_cast<long long>(ref.forward.size());
      long long shift = -1;
      bool reverse = false;
      if (const long long w = Window(forward_, k, ref.forward, read, false); w > 0) {
        shift = w - 1;
      } else if (const long long q = Window(reverse_, k, ref.reverse, read, true); q > 0) {
        shift = n - q - length + 1;
        reverse = true;
      }
      if (shift < 0) continue;
      auto seq = std::make_unique<TSeq>(ref.name + "_" + name,
                                        reverse ? ReverseComplementText(read) : read);
      seq->seqComment = quality;
      seq->columnShift = static_cast<std::int32_t>(shift);
      if (ref.ds->AddSeq(seq, true) >= 0) ++placed;
    }
    return placed;
  }

 private:
  static std::string_view Seed(const std::string& read, int start) {
    return std::string_view(read).substr(static_cast<std::size_t>(start), kSeedLength);
  }

  // First place of the seed in reference k of one strand; 0 when absent.
  static long long SeedPlace(const WordIndex& index, std::uint32_t k, std::string_view seed) {
    const auto hits = index.Find(seed);
    const auto it =
        std::lower_bound(hits.begin(), hits.end(), k,
                         [](const WordIndex::Hit& h, std::uint32_t ref) { return h.ref < ref; });
    return it != hits.end() && it->ref == k ? it->pos : 0;
  }

  // Start of the first seed window with at most 5 differences, 0 when none. On the reverse
  // strand a seed found where an earlier seed was found is not tried again, and no window may
  // start after the place that keeps the read within column 1 of the forward strand.
  long long Window(const WordIndex& index, std::uint32_t k, std::string_view letters,
                   const std::string& read, bool reverseStrand) const {
    const long long n = static_cast<long long>(letters.size());
    const long long length = static_cast<long long>(read.size());
    long long found[3] = {0, 0, 0};
    for (std::size_t s = 0; s < seeds_.size(); ++s) {
      const int start = seeds_[s];
      const long long p = SeedPlace(index, k, Seed(read, start));
      found[s] = p;
      if (p == 0) continue;
      if (reverseStrand && ((s >= 1 && p == found[0]) || (s == 2 && p == found[1]))) continue;
      const long long w = p - start;
      if (w < 1 || (reverseStrand && n - w - length + 1 < 0)) continue;
      const std::string_view window =
          letters.substr(static_cast<std::size_t>(w - 1), static_cast<std::size_t>(length));
      if (Differences(window, read) <= kMaxDifferences) return w;
    }
    return 0;
  }

  std::vector<Reference> refs_;
  WordIndex forward_, reverse_;
  std::vector<int> seeds_;
};

}  // namespace

int MapReads(const ByteSource& src, ReadContext& ctx, TDataProj& proj) {
  Mapper mapper(proj);
  int placed = 0;
  {
    ProgressScope bar(ctx.services.progress, 100000, "Reading Illumina file...");
    LineReader lines(src.Bytes());
    std::string_view line;
    int nextStatus = 100;
    const auto upper = [](std::string_view s) {
      std::string out(s);
      for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      return out;
    };
    while (lines.Next(line)) {
      if (line.empty()) continue;
      std::string read, name, quality;
      if (line.front() == '@') {
        name = std::string(line.substr(1));
        if (lines.Next(line)) read = upper(line);
        if (lines.Next(line)) {
          quality = std::string(line);
          if (line.starts_with('+')) quality = lines.Next(line) ? std::string(line) : std::string();
        }
      } else {
        read = upper(line);
        name = "read_" + std::to_string(lines.LineNumber());
      }
      placed += mapper.Place(read, name, quality);
      while (lines.LineNumber() >= nextStatus) {
        ctx.services.progress.ShowStatus(
            "Reading Illumina file; line " + std::to_string(nextStatus), true, true);
        nextStatus += 100;
      }
    }
  }
  ctx.services.messages.Notify("Mapped " + std::to_string(placed) + " sequences");
  return placed;
}
