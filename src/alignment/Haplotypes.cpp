// SPDX-License-Identifier: GPL-3.0-or-later
// Haplotype reconstruction from aligned reads. Gathering runs on an explicit work list in the
// order the natural recursion (one level per read gathered) would take, so that 10^5 reads
// cannot exhaust the stack. Each SNP column keeps the rows that cover it, and each group the
// letter set of every column it covers, so a compatibility test costs one read length.
#include "alignment/Haplotypes.h"

#include <algorithm>
#include <cctype>

#include "analysis/MutUnit.h"
#include "model/Datasequnit.h"

namespace {

char Upper(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// The group's letters keep what the variant finder keeps: no gaps, no ambiguity letters.
bool CountsAsGroupLetter(char c) {
  return c != '-' && c != '!' && !IsAmbiguityLetter(c);
}

char LetterAt(const TSeq& s, int column) {
  return s.letters[static_cast<std::size_t>(column - s.columnShift - 1)];
}

}  // namespace

std::vector<SnpColumn> FindSnpColumns(const TDataSeq& ds) {
  // One pass over the letters: per column its letters in order of first appearance (row by
  // row), with their counts.
  const int width = ds.AlignmentLength(true);
  std::vector<std::string> seen(static_cast<std::size_t>(std::max(width, 0)));
  std::vector<std::vector<int>> counts(seen.size());
  for (int r = 1; r <= ds.Count(); ++r) {
    const TSeq& s = *ds.SeqAt(r);
    if (!s.enabled) continue;
    for (int p = std::max(1, 1 - s.columnShift); p <= s.Length(); ++p) {
      const char c = Upper(s.letters[static_cast<std::size_t>(p - 1)]);
      if (!CountsAsGroupLetter(c)) continue;
      const auto col = static_cast<std::size_t>(p + s.columnShift - 1);
      const std::size_t at = seen[col].find(c);
      if (at == std::string::npos) {
        seen[col] += c;
        counts[col].push_back(1);
      } else {
        ++counts[col][at];
      }
    }
  }
  std::vector<SnpColumn> snps;
  for (std::size_t col = 0; col < seen.size(); ++col) {
    SnpColumn snp{static_cast<int>(col) + 1, {}};
    for (std::size_t k = 0; k < seen[col].size(); ++k)
      if (counts[col][k] >= 2) snp.alleles += seen[col][k];
    if (snp.alleles.size() >= 2) snps.push_back(std::move(snp));
  }
  return snps;
}

HaplotypeGroup::HaplotypeGroup(Services& services) : services_(services) {}
HaplotypeGroup::~HaplotypeGroup() = default;

void HaplotypeGroup::Add(const TSeq& read) {
  auto copy = std::make_unique<TSeq>(read.seqName, read.letters);
  copy->mateId = read.mateId;
  copy->mateFirst = read.mateFirst;
  copy->mateSecond = read.mateSecond;
  copy->columnShift = read.columnShift;
  for (int p = 1; p <= read.Length(); ++p) {
    const char c = read.letters[static_cast<std::size_t>(p - 1)];
    if (CountsAsGroupLetter(c))
      letters_[p + read.columnShift].set(static_cast<unsigned char>(Upper(c)));
  }
  reads_.push_back(std::move(copy));
}

std::unique_ptr<TSeq> HaplotypeGroup::Consensus() const {
  // Groups are working copies: no name rule and no row limit apply.
  TDataSeq ds(services_);
  std::vector<std::unique_ptr<TSeq>> copies;
  for (const auto& r : reads_) copies.push_back(r->Clone());
  ds.AppendReads(copies);
  std::unique_ptr<TSeq> out = ds.Consensus(false, false);
  for (char& c : out->letters) c = Upper(c);
  return out;
}

const std::bitset<256>* HaplotypeGroup::LettersAt(int column) const {
  const auto it = letters_.find(column);
  return it == letters_.end() || it->second.none() ? nullptr : &it->second;
}

bool IsCompatible(const TSeq& read, const HaplotypeGroup& group) {
  if (group.Count() == 0 || read.letters.empty()) return true;
  for (int p = 1; p <= read.Length(); ++p) {
    const std::bitset<256>* held = group.LettersAt(p + read.columnShift);
    if (held != nullptr && !held->test(static_cast<unsigned char>(
                               Upper(read.letters[static_cast<std::size_t>(p - 1)]))))
      return false;
  }
  return true;
}

namespace {

class Gatherer {
 public:
  Gatherer(TDataSeq& ds, const std::vector<SnpColumn>& snps, bool iterate)
      : ds_(ds), snps_(snps), iterate_(iterate), coverers_(snps.size()) {
    for (std::size_t k = 0; k < snps.size(); ++k) indexOf_[snps[k].column] = k;
    for (int r = 1; r <= ds.Count(); ++r) {
      const TSeq& s = *ds.SeqAt(r);
      const auto [from, to] = SnpRange(s);
      for (std::size_t k = from; k < to; ++k) coverers_[k].push_back(r);
    }
  }

  // Gathers into group the reads carrying allele at the SNP column of index snp.
  void Collect(std::size_t snp, char allele, HaplotypeGroup& group) {
    stack_.clear();
    stack_.push_back(Frame::Scan(snp, allele));
    while (!stack_.empty()) {
      // Frames are copied out: pushing may move the stack.
      Frame f = stack_.back();
      stack_.pop_back();
      if (f.kind == Frame::kScan) {
        Scan(f, group);
      } else {
        Follow(f, group);
      }
    }
  }

 private:
  struct Frame {
    enum Kind { kScan, kOwnColumns, kMate };
    Kind kind = kScan;
    std::size_t snp = 0;   // kScan: the SNP scanned; else the one the read joined by
    char allele = 0;       // kScan
    std::size_t next = 0;  // kScan: next coverer; else next SNP index of the read
    int row = 0;           // kOwnColumns / kMate: the read
    bool isMate = false;   // kOwnColumns: the read is the mate (no mate step after it)
    static Frame Scan(std::size_t snp, char allele) { return {kScan, snp, allele, 0, 0, false}; }
  };

  TDataSeq& ds_;
  const std::vector<SnpColumn>& snps_;
  bool iterate_;
  std::vector<std::vector<int>> coverers_;  // per SNP: the rows covering it, in row order
  std::unordered_map<int, std::size_t> indexOf_;
  std::vector<Frame> stack_;

  // The SNP indexes [from, to) whose columns the read covers.
  std::pair<std::size_t, std::size_t> SnpRange(const TSeq& s) const {
    const auto first = std::upper_bound(snps_.begin(), snps_.end(), s.columnShift,
                                        [](int c, const SnpColumn& x) { return c < x.column; });
    const auto last = std::upper_bound(first, snps_.end(), s.columnShift + s.Length(),
                                       [](int c, const SnpColumn& x) { return c < x.column; });
    return {static_cast<std::size_t>(first - snps_.begin()),
            static_cast<std::size_t>(last - snps_.begin())};
  }

  void Join(TSeq& read, HaplotypeGroup& group) {
    group.Add(read);
    read.selected = true;
  }

  void Scan(Frame f, HaplotypeGroup& group) {
    const int column = snps_[f.snp].column;
    const std::vector<int>& rows = coverers_[f.snp];
    for (; f.next < rows.size(); ++f.next) {
      TSeq& r = *ds_.SeqAt(rows[f.next]);
      if (r.selected || LetterAt(r, column) != f.allele || !IsCompatible(r, group)) continue;
      Join(r, group);
      ++f.next;
      stack_.push_back(f);  // the scan goes on once the read's own gathering is done
      Frame own{Frame::kOwnColumns, f.snp, 0, SnpRange(r).first, rows[f.next - 1], false};
      stack_.push_back(own);
      return;
    }
  }

  void Follow(Frame f, HaplotypeGroup& group) {
    if (f.kind == Frame::kOwnColumns) {
      const TSeq& r = *ds_.SeqAt(f.row);
      const std::size_t end = SnpRange(r).second;
      if (iterate_) {
        while (f.next < end && f.next == f.snp) ++f.next;
        if (f.next < end) {
          const std::size_t k = f.next++;
          stack_.push_back(f);
          stack_.push_back(Frame::Scan(k, LetterAt(r, snps_[k].column)));
          return;
        }
      }
      if (!f.isMate) {
        f.kind = Frame::kMate;
        stack_.push_back(f);
      }
      return;
    }
    // The mate of f.row, wherever it lies and whether or not it covers the SNP.
    const int mateId = ds_.SeqAt(f.row)->mateId;
    const int mateRow = mateId < 0 ? -1 : ds_.RowById(mateId);
    if (mateRow < 1) return;
    TSeq& mate = *ds_.SeqAt(mateRow);
    if (mate.selected || !IsCompatible(mate, group)) return;
    Join(mate, group);
    stack_.push_back(Frame{Frame::kOwnColumns, f.snp, 0, SnpRange(mate).first, mateRow, true});
  }
};

constexpr int kMinHaplotypeBases = 100;

int CountBases(const std::string& letters) {
  return static_cast<int>(std::count_if(letters.begin(), letters.end(), [](char c) {
    return c == 'A' || c == 'C' || c == 'G' || c == 'T';
  }));
}

}  // namespace

void ReconstructHaplotypes(TDataSeq& ds, TDataSeq* result, bool iterate) {
  if (result == nullptr) return;
  Services& services = ds.GetServices();
  for (int r = 1; r <= ds.Count(); ++r) ds.SeqAt(r)->selected = false;
  const std::vector<SnpColumn> snps = FindSnpColumns(ds);
  ProgressScope bar(services.progress, static_cast<int>(snps.size()), "Assembling haplotypes...");
  Gatherer gatherer(ds, snps, iterate);
  int counter = 1;
  for (std::size_t k = 0; k < snps.size(); ++k) {
    services.progress.ShowStatus("Processing SNP " + std::to_string(k + 1), true, true);
    for (const char allele : snps[k].alleles) {
      HaplotypeGroup group(services);
      gatherer.Collect(k, allele, group);
      if (group.Count() <= 1) continue;
      std::unique_ptr<TSeq> hap = group.Consensus();
      hap->seqName = "hapl" + std::to_string(counter);
      if (CountBases(hap->letters) < kMinHaplotypeBases) continue;
      ++counter;
      (void)result->AddSeq(hap, true);
    }
  }
}

int ReconstructHaplotypesCommand(EditorContext& ctx) {
  TDataSeq* ds = ctx.project.CurrentDataset();
  if (ds == nullptr) return 0;
  const bool iterate = ctx.services.messages.AskYesNo("Iterate over multiple SNPs?");
  TDataSeq result(ctx.services);
  ReconstructHaplotypes(*ds, &result, iterate);
  int added = 0;
  for (int r = 1; r <= result.Count(); ++r) {
    std::unique_ptr<TSeq> hap = result.CloneAt(r);
    if (ds->AddSeq(hap, true) > 0) ++added;
  }
  if (added > 0) ctx.modified = true;
  return added;
}
