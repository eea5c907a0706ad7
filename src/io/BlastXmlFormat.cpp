// SPDX-License-Identifier: GPL-3.0-or-later
// BLAST XML results as alignments: one dataset per query, its first row the query (the
// full-length query from a FASTA file, or the query as the HSPs show it) and one row per
// high-scoring pair placed at the query position it aligns to.
//
// The file is read one "Iteration" element at a time from a stream, so memory holds one
// iteration and, in all mode, the datasets read since the last split file; results of any
// size are saved in parts of kBlastSplitEvery iterations beside the BLAST file.
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "io/BinarySource.h"
#include "io/ByteProgress.h"
#include "io/IOUnit.h"
#include "io/ProjectFile.h"
#include "io/ResultFormats.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"
#include "model/Datasequnit.h"

namespace {

constexpr const char* kNameModeQuestion =
    "Would you like to load only contigs with names corresponding to names of datasets?\r\n"
    "Press No to open all contigs in the file (may run out of memory).";
constexpr const char* kQueryFileQuestion =
    "Would you like to include full length query sequences?\r\n(Need to input these query "
    "seqs from a fasta file.)";
constexpr const char* kSplitNotice =
    "Due to large size of input file it was split into several files.\r\nThe following files "
    "containing parts of the input file have been saved separately:\r\n";

bool EqualsIgnoringCase(char a, char b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  return lower(a) == lower(b);
}

// Hands out the text of each element whose lower-case start and end tags are given, reading
// the stream in blocks. Only text not yet handed out is kept, and a search never looks at the
// same bytes twice.
class ElementScanner {
 public:
  explicit ElementScanner(std::istream& in) : in_(in) {}

  // Moves past the first occurrence of tag; false at the end of the stream.
  bool SkipPast(std::string_view tag) {
    const std::size_t at = Find(tag, pos_, false);
    if (at == std::string::npos) return false;
    pos_ = at + tag.size();
    return true;
  }

  // The next element from its start tag to its end tag; false when no whole one is left.
  bool Next(std::string_view startTag, std::string_view endTag, std::string& element) {
    const std::size_t start = Find(startTag, pos_, false);
    if (start == std::string::npos) return false;
    pos_ = start;  // from here on the element's text is kept while its end is looked for
    const std::size_t end = Find(endTag, pos_ + startTag.size(), true);
    if (end == std::string::npos) return false;
    element.assign(buffer_, pos_, end + endTag.size() - pos_);
    pos_ = end + endTag.size();
    return true;
  }

  [[nodiscard]] std::uint64_t Consumed() const { return dropped_ + pos_; }

 private:
  static constexpr std::size_t kBlock = 1 << 20;
  std::istream& in_;
  std::string buffer_;
  std::size_t pos_ = 0;        // first byte not handed out yet
  std::uint64_t dropped_ = 0;  // bytes dropped from the front of buffer_

  // Position of tag (case-insensitive) at or after from, reading more as needed; npos at the
  // end of the stream. Unless keep is set, the bytes passed over are dropped as it goes.
  std::size_t Find(std::string_view tag, std::size_t from, bool keep) {
    std::size_t at = from;
    for (;;) {
      while (at + tag.size() <= buffer_.size()) {
        at = buffer_.find(tag[0], at);
        if (at == std::string::npos || at + tag.size() > buffer_.size()) break;
        if (std::equal(tag.begin(), tag.end(), buffer_.begin() + static_cast<std::ptrdiff_t>(at),
                       EqualsIgnoringCase))
          return at;
        ++at;
      }
      // Not in what is held: only the tail a tag could still start in is looked at again.
      const std::size_t tail = buffer_.size() >= tag.size() ? buffer_.size() - tag.size() + 1 : 0;
      at = std::max(from, std::min(tail, buffer_.size()));
      if (!keep) pos_ = std::max(pos_, at);
      at -= Compact();
      from = at;
      if (!Fill()) return std::string::npos;
    }
  }

  // Drops the bytes before pos_; returns how far everything moved.
  std::size_t Compact() {
    const std::size_t shift = pos_;
    if (shift == 0) return 0;
    buffer_.erase(0, shift);
    dropped_ += shift;
    pos_ = 0;
    return shift;
  }

  bool Fill() {
    const std::size_t old = buffer_.size();
    buffer_.resize(old + kBlock);
    in_.read(buffer_.data() + old, static_cast<std::streamsize>(kBlock));
    buffer_.resize(old + static_cast<std::size_t>(std::max<std::streamsize>(in_.gcount(), 0)));
    return buffer_.size() > old;
  }
};

char ComplementChar(char c) {
  return ComplementLetter(c);
}

void ReverseComplementText(std::string& text) {
  std::reverse(text.begin(), text.end());
  std::transform(text.begin(), text.end(), text.begin(), ComplementChar);
}

// The query range an HSP covers and its query text, for building the query row.
struct QueryPiece {
  int start = 0, end = 0;
  const std::string* text = nullptr;
};

// The query as the HSPs show it: their query texts in query order, overlaps taken once and
// the stretches no HSP covers as gaps, placed at the first HSP's query start so that every
// column holds the query letter the hit rows are aligned to.
void BuildQueryRow(std::vector<QueryPiece> pieces, TSeq& query) {
  if (pieces.empty()) return;
  std::stable_sort(pieces.begin(), pieces.end(),
                   [](const QueryPiece& a, const QueryPiece& b) { return a.start < b.start; });
  query.columnShift = std::max(0, pieces.front().start - 1);
  query.letters = *pieces.front().text;
  int covered = pieces.front().end;
  for (std::size_t k = 1; k < pieces.size(); ++k) {
    const QueryPiece& p = pieces[k];
    if (p.end <= covered) continue;  // inside what is already there
    if (p.start > covered) {
      query.letters.append(static_cast<std::size_t>(p.start - covered - 1), '-');
      query.letters.append(*p.text);
    } else {
      // Skip the query letters already shown (alignment gaps in between do not count).
      std::size_t skip = 0;
      for (int letters = covered - p.start + 1; skip < p.text->size() && letters > 0; ++skip)
        if ((*p.text)[skip] != '-') --letters;
      query.letters.append(*p.text, skip);
    }
    covered = p.end;
  }
  query.SyncLength();
}

class BlastXmlRun {
 public:
  BlastXmlRun(const std::string& path, OpenWindow& window, const OpenOptions& options,
              Services& services)
      : path_(path), window_(window), options_(options), services_(services) {}

  void AskMode() {
    IMessages& msg = services_.messages;
    nameMode_ = window_.project.DatasetCount() >= 2 && msg.AskYesNo(kNameModeQuestion);
    if (!nameMode_) batch_ = std::make_unique<TDataProj>(services_);
    if (!msg.AskYesNo(kQueryFileQuestion) || !options_.chooseOpenFile) return;
    const std::string queryPath = options_.chooseOpenFile("Open Blast query file");
    if (queryPath.empty()) return;
    ReadContext ctx(services_, queryPath);
    ctx.showProgress = true;
    queries_ = window_.project.MakeDataset();
    (void)OpenFastaFile(ctx, *queries_);
  }

  void Read(std::istream& in, std::uint64_t size) {
    ElementScanner scanner(in);
    ByteProgress bar(services_.progress, size, "Reading XML file ...");
    if (!scanner.SkipPast("<blastoutput_iterations>")) return;
    std::string text;
    BlastIter iter;
    while (scanner.Next("<iteration>", "</iteration>", text)) {
      ++iterations_;
      bar.At(scanner.Consumed());
      if (ReadBlastIteration(text, iter)) Process(iter);
      if (!nameMode_ && iterations_ % kBlastSplitEvery == 0) SplitOff();
    }
  }

  void Finish() {
    if (!nameMode_) MoveBatchInto(window_.project);
    if (splitFiles_.empty()) return;
    std::string notice = kSplitNotice;
    for (const std::string& f : splitFiles_) notice += f + "\r\n";
    services_.messages.Notify(notice);
  }

 private:
  const std::string& path_;
  OpenWindow& window_;
  const OpenOptions& options_;
  Services& services_;
  bool nameMode_ = false;
  std::unique_ptr<TDataSeq> queries_;  // the full-length queries, when read
  std::unique_ptr<TDataProj> batch_;   // all mode: the datasets since the last split
  int iterations_ = 0;
  std::vector<std::string> splitFiles_;

  void MoveBatchInto(TDataProj& target) {
    if (window_.gridLocked) return;
    while (batch_->DatasetCount() > 0) {
      std::unique_ptr<TDataSeq> ds = batch_->ReleaseDataset(0);
      target.AddDataset(ds, false);
    }
  }

  // Only the datasets read from this file go to the split file and leave the window; those
  // the window held before stay.
  void SplitOff() {
    if (batch_->DatasetCount() > 0) {
      const std::string file = WithoutExtension(path_) + std::to_string(iterations_) + ".df";
      if (WriteProject(file, *batch_, GridFileSettings{})) splitFiles_.push_back(file);
    }
    batch_ = std::make_unique<TDataProj>(services_);
  }

  TDataSeq* DatasetFor(const std::string& queryName) {
    if (nameMode_) return window_.project.DatasetByName(queryName);
    auto ds = batch_->MakeDataset();
    ds->dsName = queryName;
    const int index = batch_->AddDataset(ds, false);
    return batch_->DatasetAt(index);
  }

  void Process(BlastIter& iter) {
    if (iter.hits.empty()) return;
    if (queries_) iter.queryRow = std::max(0, queries_->RowByName(iter.queryName));
    TDataSeq* ds = DatasetFor(iter.queryName);
    if (ds == nullptr) return;
    std::unique_ptr<TSeq> query = iter.queryRow > 0 ? queries_->CloneAt(iter.queryRow) : nullptr;
    const bool fullLength = query != nullptr;
    if (!fullLength) query = std::make_unique<TSeq>(iter.queryName, "");
    const int queryRow = ds->AddSeq(query, true);
    std::vector<QueryPiece> pieces;
    for (BlastHit& hit : iter.hits) {
      int number = 0;
      for (BlastHitHsp& hsp : hit.hsps) {
        ++number;
        if (hsp.queryTo < hsp.queryFrom) {
          ReverseComplementText(hsp.querySeq);
          ReverseComplementText(hsp.hitSeq);
          std::swap(hsp.queryFrom, hsp.queryTo);
          std::swap(hsp.hitFrom, hsp.hitTo);
        }
        pieces.push_back({hsp.queryFrom, hsp.queryTo, &hsp.querySeq});
        auto row = std::make_unique<TSeq>();
        row->seqName = hit.id + (hit.hsps.size() > 1 ? "~" + std::to_string(number) : "");
        row->definition = hit.definition;
        row->locusName = hit.accession;
        row->letters = hsp.hitSeq;
        row->SyncLength();
        row->columnShift = std::max(0, hsp.queryFrom - 1);
        if (hsp.queryFrame < 0) {
          row->columnShift = std::max(0, hsp.queryTo - 1);
          row->ReverseComplement();
        }
        (void)ds->AddSeq(row, true);
      }
    }
    if (!fullLength)
      if (TSeq* q = ds->SeqAt(queryRow)) BuildQueryRow(std::move(pieces), *q);
    ds->InvalidateMutHolders();
  }
};

}  // namespace

bool ReadBlastXml(std::istream& in, std::uint64_t size, const std::string& path, OpenWindow& window,
                  const OpenOptions& options, Services& services) {
  BlastXmlRun run(path, window, options, services);
  run.AskMode();
  run.Read(in, size);
  run.Finish();
  return true;
}

bool OpenBlastXml(const std::string& path, OpenWindow& window, const OpenOptions& options,
                  Services& services) {
  std::ifstream in(path, std::ios::binary);
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (!in || ec) {
    services.messages.Notify("Cannot open file \r\n" + path);
    return false;
  }
  return ReadBlastXml(in, size, path, window, options, services);
}
