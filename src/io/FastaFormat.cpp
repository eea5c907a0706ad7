// SPDX-License-Identifier: GPL-3.0-or-later
// FASTA reader and writer with the quality (".qual") and annotation (".gff") companions.
//
// A record opens at '>' and its header runs to the line end; the whole header is the name.
// The letters are everything up to the next '>', without CR, LF, blanks, '*' and character
// 26; case is kept. Text before the first '>' (such as the writer's count line) is skipped.
// Quality values above 255 are held at 255 and negative ones at 0, never wrapped.
#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <limits>

#include "io/IOUnit.h"
#include "io/TextHelpers.h"
#include "model/Datasequnit.h"
#include "model/tsequnit.h"

namespace {

constexpr std::array<bool, 256> MakeDropTable() {
  std::array<bool, 256> t{};
  t['\r'] = t['\n'] = t[' '] = t['*'] = t[static_cast<unsigned char>(kEndOfFileMark)] = true;
  return t;
}
constexpr std::array<bool, 256> kDropFromLetters = MakeDropTable();

// Copies the runs between dropped characters whole: no per-letter allocation.
void AppendKept(std::string& out, const char* begin, const char* end) {
  const char* run = begin;
  for (const char* p = begin; p < end; ++p) {
    if (kDropFromLetters[static_cast<unsigned char>(*p)]) {
      if (p > run) out.append(run, static_cast<std::size_t>(p - run));
      run = p + 1;
    }
  }
  if (end > run) out.append(run, static_cast<std::size_t>(end - run));
}

bool Holds(const char* begin, std::size_t size, char c) {
  return std::memchr(begin, c, size) != nullptr;
}

// Most bodies hold letters and LF only: a few library scans over the whole body tell, and then
// the lines are copied whole. Bodies with blanks, '*', CR or character 26 take the byte loop.
void AppendLetters(std::string& out, const char* begin, const char* end) {
  const auto size = static_cast<std::size_t>(end - begin);
  out.reserve(out.size() + size);
  if (size == 0) return;
  if (Holds(begin, size, ' ') || Holds(begin, size, '*') || Holds(begin, size, '\r') ||
      Holds(begin, size, kEndOfFileMark)) {
    AppendKept(out, begin, end);
    return;
  }
  const char* p = begin;
  while (p < end) {
    const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
    const char* lineEnd = lf ? static_cast<const char*>(lf) : end;
    out.append(p, static_cast<std::size_t>(lineEnd - p));
    p = lineEnd + 1;
  }
}

// Walks the records of a FASTA (or FASTA-like quality) text.
class RecordScanner {
 public:
  explicit RecordScanner(std::string_view text) : text_(text) {
    const void* first = text_.empty() ? nullptr : std::memchr(text_.data(), '>', text_.size());
    pos_ = first ? static_cast<std::size_t>(static_cast<const char*>(first) - text_.data())
                 : text_.size();
  }
  [[nodiscard]] bool AtEnd() const { return pos_ >= text_.size(); }

  // The header (without '>') and the body up to the next '>' of the record at hand.
  bool Next(std::string_view& header, std::string_view& body) {
    if (AtEnd()) return false;
    const char* start = text_.data() + pos_ + 1;
    const char* stop = text_.data() + text_.size();
    const char* eol = start;
    while (eol < stop && *eol != '\n' && *eol != '\r') ++eol;
    header = std::string_view(start, static_cast<std::size_t>(eol - start));
    const void* next =
        eol < stop ? std::memchr(eol, '>', static_cast<std::size_t>(stop - eol)) : nullptr;
    const char* bodyEnd = next ? static_cast<const char*>(next) : stop;
    body = std::string_view(eol, static_cast<std::size_t>(bodyEnd - eol));
    pos_ = static_cast<std::size_t>(bodyEnd - text_.data());
    return true;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

std::string RecordName(std::string_view header) {
  std::string name(header);
  TrimSeparators(name);
  StripLineBreaks(name);
  return name;
}

std::string RecordLetters(std::string_view body) {
  std::string letters;
  AppendLetters(letters, body.data(), body.data() + body.size());
  TrimSeparators(letters);
  return letters;
}

std::uint8_t ClampQuality(std::string_view piece, bool& ok) {
  long long value = 0;
  const auto [end, ec] = std::from_chars(piece.data(), piece.data() + piece.size(), value);
  ok = end == piece.data() + piece.size();
  if (ec == std::errc::result_out_of_range && ok) return piece.front() == '-' ? 0 : 255;
  if (ec != std::errc{} || !ok) {
    ok = false;
    return 0;
  }
  return static_cast<std::uint8_t>(std::clamp<long long>(value, 0, 255));
}

// Quality values of one record body: blank-separated integers; pieces that do not parse are
// skipped. Every value is read; the letters take as many as they need.
std::vector<std::uint8_t> QualityValues(std::string_view body) {
  std::vector<std::uint8_t> values;
  const auto isSeparator = [](char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '*' || c == kEndOfFileMark;
  };
  std::size_t i = 0;
  while (i < body.size()) {
    while (i < body.size() && isSeparator(body[i])) ++i;
    std::size_t j = i;
    while (j < body.size() && !isSeparator(body[j])) ++j;
    if (j > i) {
      bool ok = false;
      const std::uint8_t q = ClampQuality(body.substr(i, j - i), ok);
      if (ok) values.push_back(q);
    }
    i = j;
  }
  return values;
}

// Jumps from mark to mark with the library search: records are thousands of bytes apart.
long long CountChar(std::string_view text, char c) {
  long long count = 0;
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    const void* hit = std::memchr(p, c, static_cast<std::size_t>(end - p));
    if (hit == nullptr) break;
    ++count;
    p = static_cast<const char*>(hit) + 1;
  }
  return count;
}

}  // namespace

bool OpenFasta(const ByteSource& src, ReadContext& ctx, TDataSeq& ds,
               const FastaCompanions& companions) {
  const std::string_view text = src.Bytes();
  ds.dsName = FileNameOnly(ctx.fileName);
  ds.dsSourceFile = ctx.fileName;
  const long long n = CountChar(text, '>');
  if (n == 0) {
    ctx.services.messages.Notify("This is not a Fasta file");
    return false;
  }
  std::string_view qualText;
  if (companions.quality != nullptr) {
    qualText = companions.quality->Bytes();
    const long long qn = CountChar(qualText, '>');
    if (qn == 0 || qn != n) qualText = {};  // a mismatched quality file is ignored silently
  }

  const long long limit = std::max(1, ctx.services.settings.maxSeqPerDataset);
  long long start = 1;
  long long toRead = n;
  if (n > limit) {
    const int count = static_cast<int>(std::min<long long>(n, std::numeric_limits<int>::max()));
    if (ctx.chooseFastaStart) {
      const int chosen = ctx.chooseFastaStart(count, static_cast<int>(limit));
      if (chosen < 1) return false;  // declined: the chooser said why
      start = chosen;
    } else {
      // Nobody to ask: the first records are read, and never without a word.
      ctx.Report("holds " + std::to_string(n) + " sequences, more than \"Max seq per dataset\" (" +
                 std::to_string(limit) + "); only sequences 1 to " + std::to_string(limit) +
                 " were read");
    }
    toRead = limit;
  }

  std::unique_ptr<ProgressScope> bar;
  if (ctx.showProgress)
    bar = std::make_unique<ProgressScope>(ctx.services.progress, static_cast<int>(toRead / 10),
                                          "Reading fasta file...");

  RecordScanner records(text);
  RecordScanner quals(qualText);
  std::string_view header, body, qualHeader, qualBody;
  for (long long skip = 1; skip < start; ++skip) {
    if (!records.Next(header, body)) break;
    if (!qualText.empty()) quals.Next(qualHeader, qualBody);
  }

  int added = 0;
  for (long long k = 0; k < toRead && records.Next(header, body); ++k) {
    auto seq = std::make_unique<TSeq>(RecordName(header), RecordLetters(body));
    seq->sourceFormat = kSourceFasta;
    if (!qualText.empty() && quals.Next(qualHeader, qualBody)) {
      const std::vector<std::uint8_t> values = QualityValues(qualBody);
      seq->quality.assign(seq->letters.size(), 0);
      std::copy_n(values.begin(), std::min(values.size(), seq->quality.size()),
                  seq->quality.begin());
    }
    if (ds.AddSeq(seq, false) < 0) break;  // the dataset reported why
    ++added;
    if (bar && (start + k) % 10 == 0)
      ctx.services.progress.ShowStatus("Reading fasta file; sequence " + std::to_string(start + k),
                                       true, true);
  }
  bar.reset();

  if (companions.gff != nullptr) {
    if (ctx.showProgress) ctx.services.progress.ShowStatus("Reading GFF file...", false, false);
    ReadContext gffCtx(ctx.services,
                       companions.gffName.empty() ? ctx.fileName : companions.gffName);
    ApplyGff(*companions.gff, gffCtx, ds, false);
  }
  return added > 0;
}

bool LooksLikeQualityText(std::string_view text) {
  LineReader lines(text);
  std::string_view line;
  bool sawHeader = false, sawValues = false;
  while (lines.Next(line)) {
    line = TrimBlanks(line);
    if (line.empty()) continue;
    if (line.front() == '>') {
      sawHeader = true;
      continue;
    }
    if (!sawHeader) return false;
    if (line.find_first_not_of("0123456789 \t") != std::string_view::npos) return false;
    // Values stand apart; digits run together are letters (0/1 haplotypes, say).
    sawValues = sawValues || line.find_first_of(" \t") != std::string_view::npos;
  }
  return sawValues;
}

bool OpenFastaFile(ReadContext& ctx, TDataSeq& ds) {
  FileSource main;
  if (!main.Open(ctx.fileName)) {
    ctx.Report("cannot open the file");
    return false;
  }
  const std::string base = PathWithoutExtension(ctx.fileName);
  FastaCompanions companions;
  FileSource quality, gff;
  if (quality.Open(base + ".qual")) companions.quality = &quality;
  for (const char* ext : {".gff", ".gff3"}) {
    if (gff.Open(base + ext)) {
      companions.gff = &gff;
      companions.gffName = base + ext;
      break;
    }
  }
  return OpenFasta(main, ctx, ds, companions);
}

namespace {
int LongestWithShift(const TDataSeq& ds) {
  int longest = 0;
  for (int row = 1; row <= ds.Count(); ++row) {
    const TSeq* s = ds.SeqAt(row);
    longest = std::max(longest, s->columnShift + s->Length());
  }
  return longest;
}

// The unique-name rule's "~k" is left off ("seq1~1" beside "seq1" is written "seq1"); a '~'
// that is part of the name itself ("a~1 first", or "x~2" with no "x" in the dataset) stays.
std::string WrittenName(const TDataSeq& ds, const std::string& name) {
  std::string written = name;
  const std::size_t tilde = name.rfind('~');
  if (tilde != std::string::npos && tilde > 0 && tilde + 1 < name.size() &&
      name.find_first_not_of("0123456789", tilde + 1) == std::string::npos &&
      ds.HasExactName(std::string_view(name).substr(0, tilde)))
    written.erase(tilde);
  TrimSeparators(written);
  return written;
}
}  // namespace

void WriteFasta(const TDataSeq& ds, bool withHeader, TextSink& out) {
  if (withHeader)
    out.Put(std::to_string(ds.Count()) + " " + std::to_string(LongestWithShift(ds)) + "\r\n");
  static const std::string kGaps(4096, '-');
  for (int row = 1; row <= ds.Count(); ++row) {
    const TSeq* s = ds.SeqAt(row);
    out.Put(">" + WrittenName(ds, s->seqName) + "\r\n");
    for (int left = std::max(0, s->columnShift); left > 0; left -= static_cast<int>(kGaps.size()))
      out.Put(std::string_view(kGaps).substr(
          0, std::min<std::size_t>(kGaps.size(), static_cast<std::size_t>(left))));
    out.Put(s->letters);
    out.Put("\r\n");
  }
}

namespace {
class StringSink final : public TextSink {
 public:
  void Put(std::string_view text) override { text_.append(text); }
  std::string text_;
};
}  // namespace

std::string FastaText(const TDataSeq& ds, bool withHeader) {
  StringSink sink;
  WriteFasta(ds, withHeader, sink);
  return std::move(sink.text_);
}

std::string FastaQualityText(const TDataSeq& ds) {
  std::string out;
  for (int row = 1; row <= ds.Count(); ++row) {
    const TSeq* s = ds.SeqAt(row);
    out += '>';
    AppendLine(out, s->seqName);
    for (const std::uint8_t q : s->quality) {
      out += std::to_string(q);
      out += ' ';
    }
    out += "\r\n";
  }
  return out;
}

std::string PolySitesText(const TDataSeq& ds, bool withHeader) {
  std::string out;
  const TSeq* first = ds.SeqAt(1);
  if (first == nullptr) return out;
  if (withHeader)
    AppendLine(out, std::to_string(first->polySitePos.size()) + " " +
                        std::to_string(LongestWithShift(ds)) + " L");
  for (const std::int32_t p : first->polySitePos) {
    out += std::to_string(p);
    out += ' ';
  }
  return out;
}

bool SaveFasta(const std::string& path, const TDataSeq& ds, bool withHeader, Services& svc) {
  bool hasRegions = false, hasQuality = false;
  for (int row = 1; row <= ds.Count(); ++row) {
    hasRegions = hasRegions || !ds.SeqAt(row)->regions.empty();
    hasQuality = hasQuality || !ds.SeqAt(row)->quality.empty();
  }
  const std::string base = PathWithoutExtension(path);
  bool ok = true;
  if (hasRegions) ok = SaveGff(base + ".gff", ds, svc) && ok;
  const TSeq* first = ds.SeqAt(1);
  if (first != nullptr && first->seqType == kSeqSnp && !first->polySitePos.empty())
    ok = SaveTextFile(path + ".pos", PolySitesText(ds, withHeader), svc) && ok;
  if (hasQuality) ok = SaveTextFile(base + ".qual", FastaQualityText(ds), svc) && ok;
  return SaveTextFile(
             path, [&](TextSink& out) { WriteFasta(ds, withHeader, out); }, svc) &&
         ok;
}
