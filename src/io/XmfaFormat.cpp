// SPDX-License-Identifier: GPL-3.0-or-later
// Extended multi-FASTA alignments (XMFA, as progressiveMauve writes them) and plain
// multi-FASTA: one dataset per block, blocks ended by a line holding '='.
//
// Lines beginning with '#' are headers; only "#Sequence<k>File<sep><path>" is read, naming the
// FASTA file of genome k. A line holding '=' ends the block (so ">x=y" does too); a line
// holding '>' starts an entry, any other line adds letters to it. An entry ends at the next
// '>' or '=' line: letters between a block's end and the next entry belong to no entry.
//
// Annotations are carried from genome k's own FASTA file (with its GFF companion) to the
// entries of genome k; an entry on the minus strand holds the reverse complement of its
// genome range, so regions are mirrored into it and change strand.
#include <filesystem>
#include <map>
#include <optional>

#include "io/Dispatcher.h"
#include "io/IOUnit.h"
#include "io/LetterColumns.h"
#include "io/MultiLocusFormats.h"
#include "io/TextHelpers.h"
#include "io/XmfaPlacement.h"
#include "model/DataProjUnit.h"
#include "model/Datasequnit.h"
#include "model/tsequnit.h"

namespace {

enum class Answer { NotAsked, Yes, No };

constexpr int kStatusEvery = 500;

Answer Ask(Services& svc, const std::string& question) {
  return svc.messages.AskYesNo(question) ? Answer::Yes : Answer::No;
}

int NumberOr(std::string_view text, int fallback) {
  const auto n = ParseInt(text);
  return n ? *n : fallback;
}

class XmfaReader {
 public:
  explicit XmfaReader(ReadContext& ctx)
      : ctx_(ctx), svc_(ctx.services), fileName_(FileNameOnly(ctx.fileName)) {}

  // False when cancelled or when no block was found; target is then left alone.
  bool Read(std::string_view text, TDataProj& target);

 private:
  void Header(std::string_view line);
  [[nodiscard]] std::string GenomePath(const std::string& written) const;
  void LoadGenome(int genome, const std::string& path);
  void StartEntry(std::string_view line);
  void FinishEntry();
  void CloseBlock();
  void CarryRegions(TSeq& entry, const XmfaHeader& h) const;

  ReadContext& ctx_;
  Services& svc_;
  std::string fileName_;
  std::vector<XmfaBlock> blocks_;
  std::optional<XmfaBlock> open_;
  std::unique_ptr<TSeq> entry_;
  std::string buffer_;
  Answer order_ = Answer::NotAsked;
  Answer concatenate_ = Answer::NotAsked;
  Answer annotate_ = Answer::NotAsked;
  bool companion_ = false;  // the latest genome file exists and has a GFF companion
  // Genome files read, by genome number: each genome's entries take its own annotations.
  std::map<int, std::unique_ptr<TDataSeq>> genomes_;
  const TDataSeq* firstGenome_ = nullptr;
  std::unique_ptr<TDataProj> reference_;
};

std::string XmfaReader::GenomePath(const std::string& written) const {
  namespace fs = std::filesystem;
  if (written.empty()) return {};
  auto usable = [](const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec) && FileReadable(p.string());
  };
  // Aligners write the names they were given, relative to where they ran: beside the
  // alignment is where such files travel with it.
  const fs::path path(written);
  const fs::path folder = fs::path(ctx_.fileName).parent_path();
  if (path.is_relative() && !folder.empty() && usable(folder / path))
    return (folder / path).string();
  return usable(path) ? written : std::string();
}

void XmfaReader::LoadGenome(int genome, const std::string& path) {
  std::unique_ptr<TDataSeq>& slot = genomes_[genome];
  if (slot) return;
  slot = std::make_unique<TDataSeq>(svc_);
  ReadContext genomeCtx(svc_, path);
  genomeCtx.showProgress = true;
  genomeCtx.chooseFastaStart = ctx_.chooseFastaStart;
  (void)OpenFastaFile(genomeCtx, *slot);
  if (firstGenome_ == nullptr) firstGenome_ = slot.get();
}

void XmfaReader::Header(std::string_view line) {
  constexpr std::string_view kSequence = "#Sequence";
  if (!line.starts_with(kSequence)) return;
  const std::size_t file = line.find("File", kSequence.size());
  if (file == std::string_view::npos) return;
  const auto genome = ParseInt(line.substr(kSequence.size(), file - kSequence.size()));
  if (!genome) return;
  const std::string path =
      GenomePath(std::string(line.size() > file + 5 ? line.substr(file + 5) : ""));
  companion_ = false;
  if (!path.empty()) {
    if (order_ == Answer::NotAsked) {
      order_ = Ask(svc_, "Order alignments by reference? Will use reference from file:\r\n" + path);
      if (order_ == Answer::No) concatenate_ = Answer::No;
    }
    if (concatenate_ == Answer::NotAsked)
      concatenate_ = Ask(svc_,
                         "Concatenate LCBs fo each genome?\r\nPress No to keep all LCBs as "
                         "separate seq.");
    const std::string base = PathWithoutExtension(path);
    companion_ = FileReadable(base + ".gff") || FileReadable(base + ".gff3");
  }
  if (companion_ && annotate_ == Answer::NotAsked)
    annotate_ = Ask(svc_, "Load annotations (will take more time and memory)?");
  if (companion_ && annotate_ == Answer::Yes) LoadGenome(*genome, path);
  if (order_ != Answer::Yes || path.empty()) return;
  if (genomes_.empty()) LoadGenome(*genome, path);
  if (reference_ || firstGenome_ == nullptr) return;
  reference_ = std::make_unique<TDataProj>(svc_);
  for (int r = 1; r <= firstGenome_->Count(); ++r) {
    reference_->NewDataset();
    std::unique_ptr<TSeq> copy = firstGenome_->CloneAt(r);
    const std::string& name = copy->seqName;
    reference_->RenameDataset(reference_->CurrentIndex(), name.substr(0, name.find(' ')));
    (void)reference_->CurrentDataset()->AddSeq(copy, true);
  }
}

void XmfaReader::StartEntry(std::string_view line) {
  FinishEntry();
  if (!open_) open_.emplace(XmfaBlock{std::make_unique<TDataSeq>(svc_)});
  entry_ = std::make_unique<TSeq>();
  entry_->seqName = TrimmedSeparators(line.substr(line.find('>') + 1));
  buffer_.clear();
}

void XmfaReader::FinishEntry() {
  if (!entry_) return;
  entry_->letters = std::move(buffer_);
  buffer_.clear();
  entry_->SyncLength();
  const XmfaHeader h = ParseXmfaHeader(entry_->seqName);
  if (h.ok) {
    CarryRegions(*entry_, h);
    entry_->genomeNumber = h.genome;
  }
  TDataSeq& ds = *open_->ds;
  const bool reference = h.ok && h.genome == 1 && order_ == Answer::Yes && open_->refRow == 0;
  const int row = ds.AddSeq(entry_, false);
  if (row > 0 && reference) {
    ds.blockRefStart = h.start;
    ds.blockRefEnd = h.end;
    open_->refPlus = h.plusStrand;
    open_->refRow = row;
  }
  entry_.reset();
}

void XmfaReader::CloseBlock() {
  FinishEntry();
  if (!open_) return;
  const int k = static_cast<int>(blocks_.size()) + 1;
  open_->ds->dsNumber = k - 1;
  open_->ds->dsName = std::to_string(k) + "_" + fileName_;
  blocks_.push_back(std::move(*open_));
  open_.reset();
}

// Regions of genome h.genome lying in h.start..h.end, placed on the entry's letters.
void XmfaReader::CarryRegions(TSeq& entry, const XmfaHeader& h) const {
  if (annotate_ != Answer::Yes || h.genome < 1 || h.start < 1 || entry.letters.empty()) return;
  const auto found = genomes_.find(h.genome);
  if (found == genomes_.end()) return;
  const TDataSeq& genome = *found->second;
  const TSeq* source = nullptr;
  long long before = 0;  // letters of the genome's records before the source
  for (int r = 1; r <= genome.Count(); ++r) {
    const TSeq* s = genome.SeqAt(r);
    if (before + s->Length() >= h.start) {
      source = s;
      break;
    }
    before += s->Length();
  }
  if (source == nullptr || source->regions.empty()) return;
  const int s0 = static_cast<int>(h.start - before);
  const int e0 = static_cast<int>(h.end - before);
  const int length = entry.Length();
  const LetterColumns columns(entry);
  for (const TRegion& reg : source->regions) {
    if (reg.regEnd < s0 || reg.regStart > e0) continue;
    const int a = std::max(reg.regStart, s0);  // the part inside the block, genome letters
    const int b = std::min(reg.regEnd, e0);
    const bool cutLeft = reg.regStart<s0, cutRight = reg.regEnd> e0;
    TRegion r = reg;
    int firstLetter = a - s0 + 1, lastLetter = b - s0 + 1;
    bool cutFirst = cutLeft, cutLast = cutRight;
    if (!h.plusStrand) {  // entry letter i holds genome letter e0 - i + 1
      firstLetter = e0 - b + 1;
      lastLetter = e0 - a + 1;
      std::swap(cutFirst, cutLast);
      r.regReverse = !reg.regReverse;
    }
    r.regStart = cutFirst ? 1 : columns.Column(firstLetter);
    r.regEnd = cutLast ? length : std::min(columns.Column(lastLetter), length);
    if (r.regStart > length || r.regStart > r.regEnd) continue;
    // The codon position belongs to the region's first letter in its own direction.
    const int lost = reg.regReverse ? reg.regEnd - b : a - reg.regStart;
    if (r.codonPos > 0 && lost > 0) r.codonPos = CodonPosAfter(r.codonPos, lost);
    entry.AddRegion(r);
  }
}

bool XmfaReader::Read(std::string_view text, TDataProj& target) {
  LineReader lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    if (lines.LineNumber() % kStatusEvery == 0) {
      svc_.progress.ShowStatus(
          "Processing line " + std::to_string(lines.LineNumber()) + " from file " + ctx_.fileName,
          false, true);
      if (svc_.progress.cancelRequested()) return false;
    }
    if (line.starts_with('#'))
      Header(line);
    else if (line.find('=') != std::string_view::npos)
      CloseBlock();
    else if (line.find('>') != std::string_view::npos)
      StartEntry(line);
    else if (entry_)
      buffer_.append(line);
  }
  FinishEntry();
  if (open_ && open_->ds->Count() > 0) CloseBlock();
  if (blocks_.empty()) {
    ctx_.Report("no alignment block (no line holding '>') was found");
    return false;
  }
  TDataProj result(svc_);
  if (order_ == Answer::Yes && reference_ && reference_->DatasetCount() > 0) {
    PlaceBlocksAlongReference(blocks_, *reference_, concatenate_ == Answer::Yes, svc_);
    result.MergeProject(*reference_, false);
  } else {
    if (order_ == Answer::Yes)
      ctx_.Report("the reference genome holds no sequence: the blocks are kept as they are");
    for (XmfaBlock& b : blocks_) (void)result.AddDataset(b.ds, false);
  }
  target.Clear();
  target.MergeProject(result, false);
  return true;
}

}  // namespace

XmfaHeader ParseXmfaHeader(std::string_view name) {
  XmfaHeader h;
  const std::size_t colon = name.find(':');
  if (colon == std::string_view::npos) return h;
  h.genome = NumberOr(name.substr(0, colon), -1);
  const std::size_t dash = name.find('-', colon + 1);
  if (dash == std::string_view::npos) return h;
  h.start = NumberOr(name.substr(colon + 1, dash - colon - 1), -1);
  const std::size_t blank = name.find(' ', dash + 1);
  if (blank == std::string_view::npos || blank < dash + 2) return h;
  h.end = NumberOr(name.substr(dash + 1, blank - dash - 1), -1);
  h.plusStrand = blank + 1 < name.size() && name[blank + 1] == '+';
  h.ok = h.genome >= 0 && h.start >= 0 && h.end >= 0;
  return h;
}

bool OpenXmfa(const ByteSource& src, ReadContext& ctx, TDataProj& target) {
  XmfaReader reader(ctx);
  return reader.Read(src.Bytes(), target);
}

bool OpenXmfaFile(const std::string& path, OpenWindow& window, Services& services) {
  ReadContext ctx(services, path);
  FileSource src;
  if (!src.Open(path)) {
    ctx.Report("cannot open the file");
    return false;
  }
  return !window.gridLocked && OpenXmfa(src, ctx, window.project);
}

std::string XmfaText(const TDataProj& project, bool withCoordinates) {
  std::string out;
  for (int i = 1; i <= project.DatasetCount(); ++i) {
    const TDataSeq& ds = *project.DatasetAt(i - 1);
    AppendLine(out, "# dataset" + std::to_string(i) + " " + ds.dsName);
    const long long start = (i - 1) * 100000LL + 1;
    const long long end = start + ds.AlignmentLength(true);
    std::string suffix;
    if (withCoordinates) {
      if (ds.chromosome > 0) suffix = ":chr" + std::to_string(ds.chromosome);
      suffix += ":" + std::to_string(start) + "-" + std::to_string(end) + " +";
    }
    for (int r = 1; r <= ds.Count(); ++r) {
      const TSeq& s = *ds.SeqAt(r);
      AppendLine(out, ">" + s.seqName + suffix);
      out.append(static_cast<std::size_t>(std::max(0, s.columnShift)), '-');
      AppendLine(out, s.letters);
    }
    AppendLine(out, "=");
  }
  return out;
}

bool SaveXmfa(const std::string& path, const TDataProj& project, Services& services) {
  const bool coordinates =
      services.messages.AskYesNo("Add the \":1-xxx\" to the ends of seq names?");
  return SaveTextFile(path, XmfaText(project, coordinates), services);
}
