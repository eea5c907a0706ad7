// SPDX-License-Identifier: GPL-3.0-or-later
// The greedy overlap search: exact 7-letter seeds extended along ungapped diagonals, a contig
// grown read by read, and the layout of the reads against the finished contig. The seeds are
// looked up in an index of the contig's words instead of a substring search per seed; it gives
// the same occurrences, so the layout is the one the plain search would give.
#include <algorithm>
#include <cstring>

#include "alignment/AsmContUnit.h"
#include "editor/ReadLetters.h"
#include "model/Datasequnit.h"

namespace {

std::uint64_t WordKey(const char* p) {
  std::uint64_t key = 0;
  std::memcpy(&key, p, kSeedLength);
  return key;
}

constexpr std::size_t kDenseWords = std::size_t{1} << (2 * kSeedLength);

// 2-bit code of a word of A, C, G and T; -1 for any other letter.
int DenseCode(const char* p) {
  int code = 0;
  for (int k = 0; k < kSeedLength; ++k) {
    int b = 0;
    switch (p[k]) {
      case 'A':
        b = 0;
        break;
      case 'C':
        b = 1;
        break;
      case 'G':
        b = 2;
        break;
      case 'T':
        b = 3;
        break;
      default:
        return -1;
    }
    code = code << 2 | b;
  }
  return code;
}

// Whether the k-th stored start survives the left-to-right search, which resumes after the
// end of each occurrence it takes.
bool Kept(const std::vector<long long>& starts, std::size_t k) {
  if (k == 0 || starts[k - 1] + kSeedLength <= starts[k]) return true;
  long long nextFree = starts[0];
  for (std::size_t j = 0; j < k; ++j)
    if (starts[j] >= nextFree) nextFree = starts[j] + kSeedLength;
  return starts[k] >= nextFree;
}

struct Diagonal {
  int readStart = 0, contigStart = 0, length = 0;
};

}  // namespace

ContigIndex::ContigIndex(std::string text) : text_(std::move(text)) {
  Clear();
  AddWords(1, static_cast<int>(text_.size()) - kSeedLength + 1, false);
}

void ContigIndex::Clear() {
  dense_.assign(kDenseWords, {});
  words_.clear();
  base_ = 0;
}

std::vector<long long>& ContigIndex::Slot(const char* word) {
  const int code = DenseCode(word);
  return code >= 0 ? dense_[static_cast<std::size_t>(code)] : words_[WordKey(word)];
}

const std::vector<long long>* ContigIndex::Starts(std::string_view seed) const {
  if (seed.size() != static_cast<std::size_t>(kSeedLength)) return nullptr;
  const int code = DenseCode(seed.data());
  if (code >= 0) {
    const auto& starts = dense_[static_cast<std::size_t>(code)];
    return starts.empty() ? nullptr : &starts;
  }
  const auto it = words_.find(WordKey(seed.data()));
  return it == words_.end() || it->second.empty() ? nullptr : &it->second;
}

void ContigIndex::AddWords(int fromPos, int toPos, bool atFront) {
  if (toPos < fromPos) return;
  if (atFront) {
    // Walked backwards so that each word's front receives its starts in ascending order.
    for (int p = toPos; p >= fromPos; --p) {
      auto& starts = Slot(text_.data() + p - 1);
      starts.insert(starts.begin(), p + base_);
    }
    return;
  }
  for (int p = fromPos; p <= toPos; ++p) Slot(text_.data() + p - 1).push_back(p + base_);
}

void ContigIndex::Update(std::string newText, int before) {
  const int oldLength = static_cast<int>(text_.size());
  const int newLength = static_cast<int>(newText.size());
  const bool extends = before >= 0 && before + oldLength <= newLength &&
                       newText.compare(static_cast<std::size_t>(before),
                                       static_cast<std::size_t>(oldLength), text_) == 0;
  text_ = std::move(newText);
  if (!extends || oldLength < kSeedLength) {
    Clear();
    AddWords(1, newLength - kSeedLength + 1, false);
    return;
  }
  base_ -= before;
  // New words are those that end in the added letters: at the front they start in 1..before,
  // at the back after the last old word.
  const int oldLastStart = before + oldLength - kSeedLength + 1;
  AddWords(oldLastStart + 1, newLength - kSeedLength + 1, false);
  AddWords(1, before, true);
}

void ContigIndex::Occurrences(std::string_view seed, std::vector<int>& starts) const {
  starts.clear();
  const std::vector<long long>* all = Starts(seed);
  if (all == nullptr) return;
  long long nextFree = 0;
  for (const long long stored : *all) {
    const auto pos = static_cast<int>(stored - base_);
    if (pos < nextFree) continue;
    starts.push_back(pos);
    nextFree = pos + kSeedLength;
  }
}

Overlap LongestDiagonal(std::string_view letters, std::string_view contig, int minOverlap) {
  return LongestDiagonal(letters, ContigIndex(std::string(contig)), minOverlap);
}

Overlap LongestDiagonal(std::string_view letters, const ContigIndex& contig, int minOverlap) {
  const int length = static_cast<int>(letters.size());
  std::vector<Diagonal> diagonals;
  std::vector<std::size_t> open, stillOpen;  // diagonals that the next seed may continue
  // The seed starting at length - 6 is not used.
  for (int i = 1; i <= length - kSeedLength; ++i) {
    const std::vector<long long>* starts =
        contig.Starts(letters.substr(static_cast<std::size_t>(i - 1), kSeedLength));
    stillOpen.clear();
    if (starts == nullptr) {
      open.clear();
      continue;
    }
    const long long base = contig.Base();
    for (const std::size_t d : open) {
      Diagonal& diag = diagonals[d];
      const long long want = diag.contigStart + diag.length - (kSeedLength - 1) + base;
      const auto at = std::lower_bound(starts->begin(), starts->end(), want);
      if (at != starts->end() && *at == want &&
          Kept(*starts, static_cast<std::size_t>(at - starts->begin()))) {
        ++diag.length;
        stillOpen.push_back(d);
      }
    }
    if (stillOpen.empty()) {
      diagonals.push_back({i, static_cast<int>(starts->front() - base), kSeedLength});
      stillOpen.push_back(diagonals.size() - 1);
    }
    open.swap(stillOpen);
  }
  const Diagonal* best = nullptr;
  for (const Diagonal& d : diagonals)
    if (best == nullptr || d.length > best->length) best = &d;
  if (best == nullptr || best->length < minOverlap) return {};
  return {best->readStart, best->contigStart, best->length, false};
}

Overlap BestOverlap(std::string_view letters, const ContigIndex& contig, int minOverlap) {
  const Overlap forward = LongestDiagonal(letters, contig, minOverlap);
  Overlap reverse = LongestDiagonal(ReverseComplement(letters), contig, minOverlap);
  if (reverse.length <= forward.length) return forward;
  reverse.reversed = true;
  return reverse;
}

Overlap BestOverlap(std::string_view letters, std::string_view contig, int minOverlap) {
  return BestOverlap(letters, ContigIndex(std::string(contig)), minOverlap);
}

std::string MergeIntoContig(std::string_view contig, std::string_view letters, int offset) {
  const auto c = static_cast<long long>(contig.size());
  const auto r = static_cast<long long>(letters.size());
  if (offset == 0) return std::string(r > c ? letters : contig);
  if (offset > 0) {
    if (c >= offset + r) return std::string(contig);
    // A read that starts beyond the contig's end cannot come from an overlap; it is put right
    // after the end rather than read from before its first letter.
    const auto from = static_cast<std::size_t>(std::max(0LL, c - offset));
    return std::string(contig) + std::string(letters.substr(from));
  }
  const long long d = -static_cast<long long>(offset);
  if (r >= d + c) return std::string(letters);
  const auto from = static_cast<std::size_t>(std::max(0LL, r - d));
  return std::string(letters) + std::string(contig.substr(from));
}

namespace {

// Merges the read into the index's contig; true when the contig changed.
bool MergeRead(ContigIndex& index, const std::string& letters, int minOverlap) {
  const Overlap ov = BestOverlap(letters, index, minOverlap);
  if (!ov.Found()) return false;
  const std::string laid = ov.reversed ? ReverseComplement(letters) : letters;
  std::string merged = MergeIntoContig(index.Text(), laid, ov.Offset());
  if (merged == index.Text()) return false;
  // A read that began before the contig added letters in front; Update checks that the old
  // text follows them and re-indexes otherwise.
  const int before =
      ov.Offset() < 0 ? static_cast<int>(merged.size()) - static_cast<int>(index.Text().size()) : 0;
  index.Update(std::move(merged), before);
  return true;
}

}  // namespace

std::string BuildContig(const std::vector<TSeq*>& reads, int minOverlap) {
  if (reads.size() < 2) return {};
  ContigIndex index(reads.front()->letters);
  for (int pass = 0; pass < kMaxContigPasses; ++pass) {
    bool changed = false;
    for (const TSeq* read : reads) changed = MergeRead(index, read->letters, minOverlap) || changed;
    if (!changed) break;
  }
  for (TSeq* read : reads) {
    const Overlap ov = BestOverlap(read->letters, index, minOverlap);
    if (!ov.Found()) continue;
    if (ov.reversed) read->ReverseComplement();
    read->InsertGaps(1, ov.Offset());
  }
  return index.Text();
}

bool FindOverlaps(EditorContext& ctx) {
  TDataSeq* ds = ctx.project.CurrentDataset();
  if (ds == nullptr || ctx.locked) return false;
  ds->SaveUndo();
  std::vector<TSeq*> reads;
  for (int r = 1; r <= ds->Count(); ++r)
    if (ds->SeqAt(r)->enabled && ds->SeqAt(r)->selected) reads.push_back(ds->SeqAt(r));
  if (reads.empty() &&
      ctx.services.messages.AskYesNo("Find overlaps for all sequences in the dataset?"))
    for (int r = 1; r <= ds->Count(); ++r) reads.push_back(ds->SeqAt(r));
  if (reads.size() < 2) return false;
  BuildContig(reads, kMinOverlap);
  ds->LettersChanged();
  ctx.modified = true;
  return true;
}
