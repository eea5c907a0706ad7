// SPDX-License-Identifier: GPL-3.0-or-later
// The translate window's run: every sequence is translated from a copy, so the source dataset
// never changes.
#include "editor/Translation.h"

#include <algorithm>
#include <charconv>

#include "io/IOUnit.h"
#include "model/Datasequnit.h"
#include "model/GenCodUnit.h"

namespace {

constexpr const char* kCrLf = "\r\n";

// The letters the "Coding" choice leaves: the CDS regions spliced, cut at the front to the
// first whole codon of the first region. Returns whether the copy was turned to read a
// reverse-strand sequence forward.
bool KeepCoding(TSeq& seq) {
  const bool hasCds = std::any_of(seq.regions.begin(), seq.regions.end(),
                                  [](const TRegion& r) { return r.regType == kRegCds; });
  // SpliceKind keeps every letter when no region is of the kind; translating them all would
  // pass non-coding letters off as coding ones.
  if (!hasCds) {
    seq.DeleteLetters(1, seq.Length(), false);
    return false;
  }
  seq.SpliceKind(kRegCds);
  if (seq.regions.empty() || seq.Length() == 0) return false;
  const int cut = seq.regions.front().codonPos == 2 ? 2 : seq.regions.front().codonPos == 3 ? 1 : 0;
  if (cut > 0) {
    seq.DeleteLetters(1, cut, false);
    if (!seq.regions.empty()) seq.regions.front().codonPos = 1;
  }
  if (!seq.reversed) return false;
  seq.Complement(false);
  seq.Reverse(false);
  return true;
}

void KeepBlock(TSeq& seq, bool inside) {
  const bool hasBlock = seq.selStart >= 1 && seq.selLength > 0;
  if (!inside) {
    if (hasBlock) seq.DeleteLetters(seq.selStart, seq.selLength, false);
    return;
  }
  if (!hasBlock) {
    seq.DeleteLetters(1, seq.Length(), false);
    return;
  }
  const int shift = seq.columnShift;
  const int last = seq.selStart + seq.selLength - 1;
  if (last < seq.Length()) seq.DeleteLetters(last + 1, seq.Length() - last, false);
  if (seq.selStart > 1) seq.DeleteLetters(1, seq.selStart - 1, false);
  seq.columnShift = seq.Length() > 0 ? shift : 0;
}

class Translator {
 public:
  Translator(const TGenCode& code, const TranslateOptions& options, TDataSeq& out,
             std::string& report, TextSink* file)
      : code_(code), opt_(options), out_(out), report_(report), file_(file) {}

  void One(const TSeq& source);
  [[nodiscard]] int Dropped() const { return dropped_; }

 private:
  void Emit(std::unique_ptr<TSeq> seq, bool toFile);

  const TGenCode& code_;
  const TranslateOptions& opt_;
  TDataSeq& out_;
  std::string& report_;
  TextSink* file_;
  int dropped_ = 0;  // sequences the full dataset refused
  // The working copy of the row being translated: assigned, not cloned, for every row, so its
  // letters and lists keep their room from one row to the next.
  TSeq scratch_;
  std::vector<std::pair<std::unique_ptr<TSeq>, bool>> made_;  // (sequence, is a protein)
};

void Translator::One(const TSeq& source) {
  scratch_ = source;
  TSeq* const seq = &scratch_;
  // Strand and letter edits leave a disabled sequence alone; this copy is ours to change.
  seq->enabled = true;
  if (file_ == nullptr)
    report_ += std::string(35, '-') + kCrLf + "Sequence: " + seq->seqName + kCrLf + kCrLf +
               "Forward: " + kCrLf;
  bool turned = false;
  switch (opt_.regions) {
    case TranslateRegions::Throughout:
      break;
    case TranslateRegions::Coding:
      turned = KeepCoding(*seq);
      break;
    case TranslateRegions::Selected:
    case TranslateRegions::Unselected:
      KeepBlock(*seq, opt_.regions == TranslateRegions::Selected);
      break;
  }
  const std::string proteinName = "p" + seq->seqName;
  std::unique_ptr<TSeq> orfCopy;
  if (opt_.addOrfs) orfCopy = std::make_unique<TSeq>("ORFs_in_" + seq->seqName, seq->letters);
  const int length = seq->Length();

  // cDNA copies and proteins in the order they are added; the ORF copy goes before the first
  // protein once every frame has marked its ORF on it.
  std::vector<std::pair<std::unique_ptr<TSeq>, bool>>& made = made_;
  made.clear();
  for (int f = 1; f <= opt_.frames; ++f) {
    if (f == 4) {
      seq->ReverseComplement(false);
      seq->seqName = "r" + seq->seqName;
      report_ += std::string(kCrLf) + "Reverse: " + kCrLf;
    }
    const int offset = (f - 1) % 3;
    // A sequence shorter than its frame offset has nothing to translate in that frame.
    const std::string_view letters =
        offset < length ? std::string_view(seq->letters).substr(static_cast<std::size_t>(offset))
                        : std::string_view();
    std::string protein = code_.TranslateSeq(letters, opt_.threeLetter);
    report_ += "Frame " + std::to_string(f) + kCrLf;
    if (opt_.findOrfs) {
      const std::vector<OrfHit> orfs = FindOrfs(protein, opt_.threeLetter, opt_.minOrf, offset);
      const OrfHit* longest = nullptr;
      for (const OrfHit& orf : orfs) {
        report_ += OrfLine(orf);
        if (longest == nullptr || orf.ntLength > longest->ntLength) longest = &orf;
      }
      if (orfCopy && longest != nullptr)
        orfCopy->AddRegionClipped(OrfRegion(*longest, f, length), true);
    }
    if (opt_.showCDna && !opt_.threeLetter) {
      std::string spaced;
      spaced.reserve(protein.size() * 3);
      for (char aa : protein) (spaced += aa) += "--";
      protein = std::move(spaced);
    }
    if (opt_.showCDna || opt_.addOrfs) protein.insert(0, static_cast<std::size_t>(offset), '-');
    if (turned) std::reverse(protein.begin(), protein.end());
    if (opt_.showCDna && (f == 1 || f == 4)) {
      std::unique_ptr<TSeq> cdna = seq->Clone();
      if (turned) cdna->ReverseComplement(false);
      made.emplace_back(std::move(cdna), false);
    }
    auto p = std::make_unique<TSeq>(
        opt_.frames > 1 ? proteinName + "fr" + std::to_string(f) : proteinName, std::move(protein));
    p->seqType = opt_.threeLetter ? kSeqProtein3 : kSeqProtein1;
    if (opt_.showCDna) p->columnShift = seq->columnShift;
    made.emplace_back(std::move(p), true);
  }
  for (auto& [s, isProtein] : made) {
    if (isProtein && orfCopy) Emit(std::move(orfCopy), true);
    Emit(std::move(s), isProtein);
  }
}

void Translator::Emit(std::unique_ptr<TSeq> seq, bool toFile) {
  if (toFile && file_ != nullptr) {
    file_->Put(">" + seq->seqName + kCrLf);
    file_->Put(seq->letters);
    file_->Put(kCrLf);
    return;
  }
  // Six frames of a large dataset can outgrow "Max seq per dataset": the refusals are counted
  // and told once, not once per sequence.
  if (out_.Count() >= out_.GetServices().settings.maxSeqPerDataset) {
    ++dropped_;
    return;
  }
  (void)out_.AddSeq(seq, true);
}

}  // namespace

int MinOrfFromText(std::string_view text) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && !text.empty() ? value : 100;
}

std::vector<OrfHit> FindOrfs(std::string_view protein, bool threeLetter, int minOrf, int offset) {
  const std::size_t width = threeLetter ? 3 : 1;
  const std::string_view stop = threeLetter ? "***" : "*";
  const int count = static_cast<int>(protein.size() / width);
  std::vector<OrfHit> orfs;
  int start = 0;  // amino acids (stops included) before the current stretch
  auto close = [&](int end) {
    const int k = end - start;
    if (k > minOrf) orfs.push_back({start + 1, k, 3 * start + offset + 1, 3 * k});
  };
  for (int i = 0; i < count; ++i) {
    if (protein.substr(static_cast<std::size_t>(i) * width, width) != stop) continue;
    close(i);
    start = i + 1;
  }
  close(count);
  return orfs;
}

TRegion OrfRegion(const OrfHit& orf, int frame, int length) {
  TRegion r;
  r.regType = kRegOrf;
  r.codonPos = 1;
  r.regName = RegionKindName(kRegOrf);
  const int first = orf.ntStart, last = orf.ntStart + orf.ntLength - 1;
  if (frame <= 3) {
    r.regStart = first;
    r.regEnd = last;
  } else {
    r.regStart = length - last + 1;
    r.regEnd = length - first + 1;
    r.regReverse = true;
  }
  return r;
}

std::string OrfLine(const OrfHit& orf) {
  return "ORF(aa pos): " + std::to_string(orf.aaStart) + " - " +
         std::to_string(orf.aaStart + orf.aaLength - 1) +
         "; length = " + std::to_string(orf.aaLength) +
         "; ORF(nucl pos): " + std::to_string(orf.ntStart) + " - " +
         std::to_string(orf.ntStart + orf.ntLength - 1) +
         "; length = " + std::to_string(orf.ntLength) + kCrLf;
}

TranslateOutput TranslateDataset(const TDataSeq& ds, const TGenCode& code,
                                 const TranslateOptions& options, Services& services) {
  TranslateOptions opt = options;
  // ORFs are looked for in whole sequences only, as the window allows.
  if (opt.findOrfs) opt.regions = TranslateRegions::Throughout;
  opt.addOrfs = opt.addOrfs && opt.findOrfs;
  if (opt.frames != 3 && opt.frames != 6) opt.frames = 1;

  TranslateOutput out;
  out.dataset = std::make_unique<TDataSeq>(services);
  out.dataset->dsName = ds.dsName;
  out.report = "Reports ORFs longer than " + std::to_string(opt.minOrf) + " amino acids" + kCrLf;
  auto run = [&](TextSink* file) {
    Translator t(code, opt, *out.dataset, out.report, file);
    {
      // Room for every sequence the run adds (up to what the dataset may hold) before the
      // first one comes.
      long long rows = 0;
      for (int row = 1; row <= ds.Count(); ++row) rows += opt.allSeqs || ds.IsSelected(row);
      const int perRow = (file == nullptr ? opt.frames + (opt.addOrfs ? 1 : 0) : 0) +
                         (opt.showCDna ? (opt.frames == 6 ? 2 : 1) : 0);
      const long long room = services.settings.maxSeqPerDataset - out.dataset->Count();
      out.dataset->Reserve(static_cast<int>(std::min(std::max(rows, 1LL) * perRow, room)));
    }
    ProgressScope bar(services.progress, ds.Count(), "Translating...");
    for (int row = 1; row <= ds.Count(); ++row) {
      bar.Step(false);
      if (!opt.allSeqs && !ds.IsSelected(row)) continue;
      t.One(*ds.SeqAt(row));
      ++out.translated;
    }
    if (out.translated == 0 && ds.SeqAt(ds.currentRow) != nullptr) {
      t.One(*ds.SeqAt(ds.currentRow));
      ++out.translated;
    }
    if (t.Dropped() > 0)
      services.messages.ReportError(
          "Exceeded maxSeqNum (" + std::to_string(services.settings.maxSeqPerDataset) +
          "): " + std::to_string(t.Dropped()) + " sequences have not been added to dataset " +
          out.dataset->dsName);
  };
  if (opt.toFile)
    out.ok = SaveTextFile(
        opt.outFile, [&](TextSink& sink) { run(&sink); }, services);
  else
    run(nullptr);
  return out;
}
