// SPDX-License-Identifier: GPL-3.0-or-later
// Staden experiment files: lines of a two-letter code, blanks and a value. The reader acts on
// ID, AC, EN, CC, WT, AQ, AV, LN, SQ, QL, QR, CL, CR, SL, SR, AP, ON and TG and skips the rest.
//
// The letters of SQ are every character of its continuation lines up to the "//" line except
// blanks, '/' and digits (EMBL numbers its sequence lines); the SQ line's own text counts too
// unless it is EMBL's summary ("Sequence 1859 BP; ..."). Quality values (AV) come as
// blank-separated integers; comma-separated groups (four values per base) are not taken.
// Clips, tags and the trace are applied once all lines are read, when the letter count is
// known; the trace is kept only when its peaks give one per letter.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>

#include "io/AnnotatedFormats.h"
#include "io/BinarySource.h"
#include "io/TextHelpers.h"
#include "io/TraceFormats.h"
#include "model/tsequnit.h"

namespace {

constexpr int kMinClipSpan = 5;  // QL/QR/CL/CR/SL/SR regions need end - start above this

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::size_t j = i;
    while (j < text.size() && text[j] != ' ' && text[j] != '\t') ++j;
    if (j > i) words.push_back(text.substr(i, j - i));
    i = j;
  }
  return words;
}

// "ID   X56734; SV 1; ..." and "ID   xb63c7.s1" alike: the first word without its ';'.
std::string FirstName(std::string_view text) {
  const auto words = Words(text);
  if (words.empty()) return {};
  std::string_view w = words.front();
  return std::string(w.substr(0, w.find(';')));
}

// a..b (1-based) from the first such word of text.
bool FindRange(std::string_view text, int& a, int& b) {
  for (std::string_view w : Words(text)) {
    const std::size_t dots = w.find("..");
    if (dots == std::string_view::npos) continue;
    const auto from = ParseInt(w.substr(0, dots));
    const auto to = ParseInt(w.substr(dots + 2));
    if (!from || !to) continue;
    a = *from;
    b = *to;
    return true;
  }
  return false;
}

struct Clip {
  std::string code;  // QL, QR, CL, CR, SL, SR
  int value = 0;
};

struct Tag {
  std::string name;
  int kind = 0;
  int from = 0, to = 0;
};

class ExperimentParser {
 public:
  ExperimentParser(ReadContext& ctx) : ctx_(ctx), seq_(std::make_unique<TSeq>()) {}

  ExperimentRead Read(std::string_view text) {
    LineReader lines(text);
    std::string_view raw;
    bool inSequence = false;
    while (lines.Next(raw)) {
      if (inSequence) {
        AppendLetters(raw);
        inSequence = raw.find("//") == std::string_view::npos;
        continue;
      }
      std::string line(raw.substr(0, std::min<std::size_t>(raw.size(), 2)));
      if (raw.size() > 2 && raw[2] != ' ' && raw[2] != '\t') continue;  // no code here
      line.resize(2, ' ');
      const std::string code = UpperCase(line);
      const std::string_view value =
          raw.size() > 2 ? TrimBlanks(raw.substr(2)) : std::string_view();
      if (code == "SQ") {
        if (value.find(';') == std::string_view::npos) AppendLetters(value);
        inSequence = value.find("//") == std::string_view::npos;
        continue;
      }
      Act(code, value, lines.LineNumber());
    }
    return Finish();
  }

 private:
  ReadContext& ctx_;
  std::unique_ptr<TSeq> seq_;
  ExperimentRead result_;
  std::vector<Clip> clips_;
  std::vector<Tag> tags_;
  std::string traceName, onText_;
  int skippedQuality_ = 0;

  void AppendLetters(std::string_view text) {
    for (const char c : text)
      if (c != ' ' && c != '\t' && c != '/' && (c < '0' || c > '9')) seq_->letters += c;
  }

  void Act(const std::string& code, std::string_view value, int line) {
    if (code == "ID" || code == "AC") {
      seq_->accession = FirstName(value);
    } else if (code == "EN") {
      seq_->seqName = std::string(value);
    } else if (code == "CC") {
      seq_->seqComment += (seq_->seqComment.empty() ? "" : " ") + std::string(value);
    } else if (code == "WT") {
      seq_->traceFile = std::string(value);
    } else if (code == "AQ") {
      double mean = 0;
      const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), mean);
      if (ec == std::errc() && std::isfinite(mean)) seq_->meanQuality = mean;
    } else if (code == "AV") {
      for (std::string_view w : Words(value)) {
        if (const auto q = ParseInt(w)) {
          seq_->quality.push_back(static_cast<std::uint8_t>(std::clamp(*q, 0, 255)));
        } else {
          ++skippedQuality_;
        }
      }
    } else if (code == "LN") {
      traceName = std::string(value);
    } else if (code == "ON") {
      onText_ += ' ';
      onText_ += value;
    } else if (code == "AP") {
      ReadAssembly(value);
    } else if (code == "TG") {
      ReadTag(value, line);
    } else if (code == "QL" || code == "QR" || code == "CL" || code == "CR" || code == "SL" ||
               code == "SR") {
      const auto words = Words(value);
      if (const auto n = words.empty() ? std::nullopt : ParseInt(words.front()))
        clips_.push_back({code, *n});
    }
  }

  void ReadAssembly(std::string_view value) {
    const auto words = Words(value);
    if (words.empty()) return;
    AssemblyLink& link = result_.link;
    link.anchor = std::string(words[0]);
    std::size_t k = 1;
    if (k < words.size() && (words[k] == "-" || words[k] == "+"))
      link.complemented = words[k++] == "-";
    if (k < words.size())
      if (const auto pos = ParseInt(words[k++])) seq_->assemblyPos = *pos;
    if (k < words.size())
      if (const auto length = ParseInt(words[k])) link.length = *length;
    result_.hasLink = true;
  }

  void ReadTag(std::string_view value, int line) {
    Tag tag;
    if (value.find("HETI") != std::string_view::npos) {
      tag = {"Heterozygous_Indel", kRegHetIndel};
    } else if (value.find("HETE") != std::string_view::npos) {
      tag = {"Heterozygous_SNP", kRegHetSnp};
    } else if (value.find("MUT") != std::string_view::npos) {
      tag = {"SNP", kRegSnp};
    } else {
      return;
    }
    if (!FindRange(value, tag.from, tag.to) || tag.from < 1 || tag.from > tag.to) {
      ctx_.ReportLine(line, "the tag's range is not a..b with 0 < a <= b; the tag was skipped");
      return;
    }
    tags_.push_back(tag);
  }

  void AddClipRegion(const char* name, int kind, int from, int to) {
    if (to - from > kMinClipSpan) (void)seq_->AddSimpleRegion(from, to, "", name, kind, 0);
  }

  void ApplyClips() {
    const int length = seq_->Length();
    for (const Clip& c : clips_) {
      if (c.code == "QL") {
        seq_->poorQualityLeft = c.value;
        AddClipRegion("Bad_Quality_Seq", kRegMisc, 1, c.value);
      } else if (c.code == "QR") {
        seq_->poorQualityRight = c.value;
        AddClipRegion("Bad_Quality_Seq", kRegMisc, c.value, length);
      } else if (c.code == "CL" || c.code == "SL") {
        AddClipRegion("Cloning vector", kRegVector, 1, c.value);
      } else {
        AddClipRegion("Cloning vector", kRegVector, c.value, length);
      }
    }
    for (const Tag& t : tags_) (void)seq_->AddSimpleRegion(t.from, t.to, "", t.name, t.kind, 0);
  }

  // The trace file an LN line names: the path before a bracketed suffix, beside the
  // experiment file when relative.
  void ReadTrace() {
    std::string name = traceName, suffix;
    if (const auto open = name.rfind('['); open != std::string::npos) {
      suffix = name.substr(open);
      name.erase(open);
    }
    name = std::string(TrimBlanks(name));
    if (name.empty()) return;
    std::filesystem::path path(name);
    if (path.is_relative()) path = std::filesystem::path(FolderOf(ctx_.fileName)) / path;
    const std::string tracePath = path.lexically_normal().string();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(tracePath, ec) || !FileReadable(tracePath)) return;
    seq_->sourceFile = tracePath + suffix;
    if (!TakeTraceChannels(tracePath, *seq_, ctx_.services, true)) return;
    if (!onText_.empty()) ApplyOriginalPositions();
    if (seq_->peakPos.size() != seq_->letters.size()) {
      ctx_.Report("the trace " + tracePath + " has " + std::to_string(seq_->peakPos.size()) +
                  " base calls for " + std::to_string(seq_->letters.size()) +
                  " letters; the letters were read without it");
      seq_->traceA.clear();
      seq_->traceC.clear();
      seq_->traceG.clear();
      seq_->traceT.clear();
      seq_->peakPos.clear();
      seq_->showTrace = false;
    }
  }

  // ON: each letter's position among the trace's base calls (0: an inserted letter). Letters
  // of the trace left out lose their peaks; inserted ones get peaks spaced evenly between
  // their neighbours' (the mean of the two for a single letter).
  void ApplyOriginalPositions() {
    const std::size_t letters = seq_->letters.size();
    std::vector<long long> original;
    for (std::string_view w : Words(onText_)) {
      if (original.size() > letters) break;
      int a = 0, b = 0;
      if (const std::size_t dots = w.find(".."); dots != std::string_view::npos) {
        const auto from = ParseInt(w.substr(0, dots)), to = ParseInt(w.substr(dots + 2));
        if (!from || !to) return;
        a = *from;
        b = *to;
      } else if (const auto n = ParseInt(w)) {
        a = b = *n;
      } else {
        return;
      }
      const int step = a <= b ? 1 : -1;
      for (long long p = a; original.size() <= letters; p += step) {
        original.push_back(p);
        if (p == b) break;
      }
    }
    if (original.size() != letters) return;
    const std::vector<std::int32_t>& old = seq_->peakPos;
    std::vector<std::int32_t> peaks(letters, 0);
    std::vector<bool> known(letters, false);
    for (std::size_t i = 0; i < letters; ++i)
      if (original[i] >= 1 && original[i] <= static_cast<long long>(old.size())) {
        peaks[i] = old[static_cast<std::size_t>(original[i] - 1)];
        known[i] = true;
      }
    for (std::size_t i = 0; i < letters;) {
      if (known[i]) {
        ++i;
        continue;
      }
      std::size_t j = i;
      while (j < letters && !known[j]) ++j;
      const bool hasLeft = i > 0, hasRight = j < letters;
      const double left = hasLeft ? peaks[i - 1] : (hasRight ? peaks[j] : 0);
      const double right = hasRight ? peaks[j] : left;
      const double run = static_cast<double>(j - i + 1);
      for (std::size_t k = i; k < j; ++k)
        peaks[k] = static_cast<std::int32_t>(
            std::nearbyint(left + (right - left) * static_cast<double>(k - i + 1) / run));
      i = j;
    }
    seq_->peakPos = std::move(peaks);
  }

  ExperimentRead Finish() {
    if (seq_->letters.empty()) {
      ctx_.Report("no sequence letters (SQ) were found; nothing was read");
      return std::move(result_);
    }
    seq_->SyncLength();
    if (skippedQuality_ > 0 ||
        (!seq_->quality.empty() && seq_->quality.size() != seq_->letters.size()))
      ctx_.Report(std::to_string(seq_->quality.size()) + " quality values (AV) for " +
                  std::to_string(seq_->letters.size()) + " letters" +
                  (skippedQuality_ > 0 ? ", " + std::to_string(skippedQuality_) +
                                             " values that are not whole numbers skipped"
                                       : std::string()));
    if (!seq_->quality.empty()) seq_->quality.resize(seq_->letters.size(), 0);
    ApplyClips();
    if (!traceName.empty()) ReadTrace();
    if (seq_->seqName.empty()) seq_->seqName = seq_->accession;
    if (seq_->seqName.empty()) seq_->seqName = FileNameOnly(PathWithoutExtension(ctx_.fileName));
    if (seq_->sourceFormat == 0) seq_->sourceFormat = kSourceExperiment;
    seq_->showTrace = seq_->HasTrace();
    seq_->hasTrace = seq_->HasTrace();
    seq_->SortRegions();
    result_.seq = std::move(seq_);
    return std::move(result_);
  }
};

}  // namespace

ExperimentRead ReadExperimentFile(const ByteSource& src, ReadContext& ctx) {
  return ExperimentParser(ctx).Read(src.Bytes());
}

std::unique_ptr<TSeq> OpenExperimentFile(const std::string& path, Services& svc) {
  ReadContext ctx(svc, path);
  FileSource src;
  if (!src.Open(path)) {
    ctx.Report("cannot open the file");
    return nullptr;
  }
  return ReadExperimentFile(src, ctx).seq;
}
