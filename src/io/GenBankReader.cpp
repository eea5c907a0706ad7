// SPDX-License-Identifier: GPL-3.0-or-later
// GenBank flat-file reader.
//
// A record runs from its LOCUS line to the line that starts with "//"; a record cut off
// before it is reported and not added. Sections start at lines that do not begin with a blank;
// a line indented less than the text column (ORGANISM under SOURCE, AUTHORS under REFERENCE)
// is a sub-keyword and ends its parent's text; continuation lines join with one blank.
// Features: a feature starts at a line whose key begins within the first 21 columns, outside
// an open quoted value, and runs to the next such line, so every feature's extent comes from
// one pass over the lines whatever its key. Only gene and CDS features become regions.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "io/AnnotatedFormats.h"
#include "io/GenBankLocation.h"
#include "io/TextHelpers.h"
#include "model/Datasequnit.h"
#include "model/tsequnit.h"

namespace {

constexpr int kStatusEvery = 100;
constexpr std::size_t kKeyColumns = 21;  // feature keys begin before this column
constexpr std::size_t kTextColumn = 10;  // sub-keywords begin before this column
constexpr const char* kCutRecord =
    "the record starting here ends before its closing \"//\" and was not read";

bool IsLocusDelimiter(char c) {
  return std::strchr("\t\r\n ().,;<=>[]", c) != nullptr && c != '\0';
}

std::vector<std::string_view> LocusWords(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size() && words.size() < 3) {
    while (i < line.size() && IsLocusDelimiter(line[i])) ++i;
    std::size_t j = i;
    while (j < line.size() && !IsLocusDelimiter(line[j])) ++j;
    if (j > i) words.push_back(line.substr(i, j - i));
    i = j;
  }
  return words;
}

// The line's first word, upper-cased, is "LOCUS" (the words split as detection splits them).
bool IsLocusLine(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && IsLocusDelimiter(line[i])) ++i;
  if (line.size() - i < 5 || (line.size() > i + 5 && !IsLocusDelimiter(line[i + 5]))) return false;
  for (std::size_t k = 0; k < 5; ++k)
    if (std::toupper(static_cast<unsigned char>(line[i + k])) != "LOCUS"[k]) return false;
  return true;
}

std::string_view FirstWord(std::string_view line) {
  line = TrimBlanks(line);
  return line.substr(0, line.find_first_of(" \t"));
}

// Text of a section line: blanks, ',', '.', ';' and '=' off both ends.
std::string SectionText(std::string_view text) {
  const char* const kTrim = " \t,.;=";
  const std::size_t first = text.find_first_not_of(kTrim);
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(kTrim) - first + 1));
}

std::size_t Indent(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  return i;
}

// GenBank's /codon_start 1, 2, 3: the first letter read is codon position 1, 3, 2.
int CodonPosFromStart(int codonStart) {
  switch (codonStart) {
    case 2:
      return 3;
    case 3:
      return 2;
    default:
      return 1;
  }
}

struct Qualifier {
  std::string name;
  std::string raw;  // the text after '=', continuation lines joined with one blank
};

struct Feature {
  std::string key;
  std::string location;
  std::vector<Qualifier> qualifiers;
  int quotes = 0;  // double quotes in the last qualifier: odd while its value is open
};

// The regions one gene or CDS feature gives, in reading order, before they are placed.
struct FeatureRegions {
  std::vector<TRegion> parts;
};

constexpr const char* kCommentQualifiers[] = {"product",       "note",    "locus_tag",    "comment",
                                              "standard_name", "db_xref", "gene_synonym", "number"};
constexpr const char* kNamingQualifiers[] = {"product", "locus_tag", "standard_name"};

template <std::size_t N>
bool OneOf(const std::string& word, const char* const (&list)[N]) {
  return std::any_of(std::begin(list), std::end(list), [&](const char* w) { return word == w; });
}

FeatureRegions RegionsOf(const Feature& f) {
  FeatureRegions out;
  const bool cds = f.key == "CDS";
  const std::vector<LocationPart> parts = ParseLocation(f.location);
  if (parts.empty()) return out;
  std::string name = f.key, givenName, comment;
  bool named = false;
  int codonStart = 1;  // GenBank's default when the qualifier is absent
  for (const Qualifier& q : f.qualifiers) {
    if (q.name == "codon_start") {
      if (const auto n = ParseInt(QualifierValue(q.raw)); n && *n >= 1 && *n <= 3) codonStart = *n;
      continue;
    }
    if (q.name == "translation") continue;
    const std::string value = QualifierValue(q.raw);
    if (q.name == "gene" || q.name == "name") {
      givenName = value;
      continue;
    }
    if (OneOf(q.name, kNamingQualifiers) && !named && !value.empty()) {
      name = value;
      named = true;
    }
    if (OneOf(q.name, kCommentQualifiers))
      comment += (comment.empty() ? "" : "; ") + q.name + "=\"" + value + "\"";
  }
  if (!givenName.empty()) name = givenName;
  int codonPos = cds ? CodonPosFromStart(codonStart) : 0;
  for (const LocationPart& p : parts) {
    TRegion r;
    r.regStart = p.start;
    r.regEnd = p.end;
    r.regReverse = p.reverse;
    r.regType = cds ? kRegCds : kRegGene;
    r.regName = name;
    r.regComment = comment;
    r.codonPos = codonPos;
    if (cds) codonPos = CodonPosAfter(codonPos, p.end - p.start + 1);
    out.parts.push_back(std::move(r));
  }
  return out;
}

// One record while it is read.
class Record {
 public:
  Record(const std::string& path, std::string_view locusLine) : seq_(std::make_unique<TSeq>()) {
    seq_->seqName = FileNameOnly(PathWithoutExtension(path));
    seq_->seqType = kSeqDna;
    seq_->sourceFile = path;
    seq_->sourceFormat = kSourceGenBank;
    if (const auto words = LocusWords(locusLine); words.size() > 1)
      seq_->locusName = std::string(words[1]);
  }

  void Line(std::string_view line) {
    if (!line.empty() && line.front() != ' ' && line.front() != '\t') {
      StartSection(line);
      return;
    }
    switch (section_) {
      case Section::Origin:
        for (const char c : line) {
          if (c >= 'a' && c <= 'z')
            seq_->letters += static_cast<char>(c - 'a' + 'A');
          else if (c >= 'A' && c <= 'Z')
            seq_->letters += c;
        }
        return;
      case Section::Features:
        FeatureLine(line);
        return;
      case Section::Other:
        return;
      default:
        if (TrimBlanks(line).empty()) return;
        if (Indent(line) < kTextColumn) {  // a sub-keyword ends the parent's text
          CloseSection();
          return;
        }
        text_ += ' ';
        text_ += TrimBlanks(line);
        return;
    }
  }

  // After "//": the finished sequence.
  std::unique_ptr<TSeq> Finish() {
    CloseSection();
    CloseFeature();
    if (!seq_->accession.empty()) seq_->seqName = seq_->accession;
    seq_->enabled = true;
    seq_->SyncLength();
    int nextId = 1;
    for (auto* list : {&genes_, &cds_})
      for (FeatureRegions& f : *list) Place(f, nextId);
    seq_->SortRegions();
    return std::move(seq_);
  }

 private:
  enum class Section { None, Definition, Accession, Source, Comment, Features, Origin, Other };
  std::unique_ptr<TSeq> seq_;
  Section section_ = Section::None;
  std::string text_;
  Feature feature_;
  bool inFeature_ = false;
  std::vector<FeatureRegions> genes_, cds_;

  void StartSection(std::string_view line) {
    CloseSection();
    CloseFeature();
    const std::string keyword = UpperCase(FirstWord(line));
    const std::string_view rest = TrimBlanks(line).substr(FirstWord(line).size());
    if (keyword == "DEFINITION")
      section_ = Section::Definition;
    else if (keyword == "ACCESSION")
      section_ = Section::Accession;
    else if (keyword == "SOURCE")
      section_ = Section::Source;
    else if (keyword == "COMMENT")
      section_ = Section::Comment;
    else if (keyword == "FEATURES")
      section_ = Section::Features;
    else if (keyword == "ORIGIN")
      section_ = Section::Origin;
    else
      section_ = Section::Other;
    text_ = std::string(TrimBlanks(rest));
  }

  void CloseSection() {
    const std::string text = SectionText(text_);
    switch (section_) {
      case Section::Definition:
        seq_->definition = text;
        break;
      case Section::Accession:
        seq_->accession = text;
        seq_->dbLinks = text;
        break;
      case Section::Source:
        seq_->organism = text;
        break;
      case Section::Comment:
        seq_->seqComment = text;
        break;
      default:
        break;
    }
    if (section_ != Section::Features && section_ != Section::Origin) section_ = Section::Other;
    text_.clear();
  }

  void FeatureLine(std::string_view line) {
    const std::size_t indent = Indent(line);
    const std::string_view body = TrimBlanks(line);
    if (body.empty()) return;
    const bool open = inFeature_ && feature_.quotes % 2 == 1;
    if (!open && indent < kKeyColumns && body.front() != '/') {
      CloseFeature();
      feature_ = Feature{};
      inFeature_ = true;
      const std::string_view key = FirstWord(body);
      feature_.key = std::string(key);
      feature_.location = std::string(TrimBlanks(body.substr(key.size())));
      return;
    }
    if (!inFeature_) return;
    if (!open && body.front() == '/') {
      const std::size_t eq = body.find('=');
      Qualifier q;
      q.name = std::string(body.substr(1, eq == std::string_view::npos ? body.size() - 1 : eq - 1));
      if (eq != std::string_view::npos) q.raw = std::string(body.substr(eq + 1));
      feature_.quotes = static_cast<int>(std::count(q.raw.begin(), q.raw.end(), '"'));
      feature_.qualifiers.push_back(std::move(q));
      return;
    }
    if (feature_.qualifiers.empty()) {
      feature_.location += body;
      return;
    }
    Qualifier& q = feature_.qualifiers.back();
    feature_.quotes += static_cast<int>(std::count(body.begin(), body.end(), '"'));
    if (q.name == "translation") return;  // never read: it is worked out from the letters
    q.raw += ' ';
    q.raw += body;
  }

  void CloseFeature() {
    if (!inFeature_) return;
    inFeature_ = false;
    if (feature_.key == "gene") genes_.push_back(RegionsOf(feature_));
    if (feature_.key == "CDS") cds_.push_back(RegionsOf(feature_));
  }

  // Adds the parts that touch the letters, chained in reading order with fresh ids.
  void Place(FeatureRegions& f, int& nextId) {
    const int length = seq_->Length();
    std::vector<TRegion*> kept;
    for (TRegion& r : f.parts)
      if (r.regStart <= length) kept.push_back(&r);
    for (std::size_t k = 0; k < kept.size(); ++k) {
      TRegion& r = *kept[k];
      r.regId = nextId + static_cast<int>(k);
      r.prevId = k > 0 ? r.regId - 1 : -1;
      r.nextId = k + 1 < kept.size() ? r.regId + 1 : -1;
      (void)seq_->AddRegionClipped(r, false);
    }
    nextId += static_cast<int>(kept.size());
  }
};

int CountRecordEnds(std::string_view text) {
  int count = 0;
  for (std::size_t at = 0; at < text.size();) {
    if (text.compare(at, 2, "//") == 0) ++count;
    const std::size_t lf = text.find('\n', at);
    if (lf == std::string_view::npos) break;
    at = lf + 1;
  }
  return count;
}

}  // namespace

int OpenGenBank(const ByteSource& src, ReadContext& ctx, TDataSeq& ds) {
  const std::string_view text = src.Bytes();
  std::unique_ptr<ProgressScope> bar;
  if (ctx.showProgress)
    if (const int records = CountRecordEnds(text); records > 1)
      bar = std::make_unique<ProgressScope>(ctx.services.progress, records,
                                            "Reading GenBank file...");

  std::vector<std::unique_ptr<TSeq>> read;
  std::unique_ptr<Record> record;
  bool strayText = false;  // text outside a record that no LOCUS line followed
  int cutLine = 0;
  LineReader lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    if (lines.LineNumber() % kStatusEvery == 0)
      ctx.services.progress.ShowStatus(
          "Processing line " + std::to_string(lines.LineNumber()) + " from GB file " + ctx.fileName,
          false, false);
    const bool locus =
        IsLocusLine(line) && (!record || (line.front() != ' ' && line.front() != '\t'));
    if (record && locus) {  // the record before had no "//"
      ctx.ReportLine(cutLine, kCutRecord);
      record.reset();
    }
    if (!record) {
      if (locus) {
        record = std::make_unique<Record>(ctx.fileName, line);
        cutLine = lines.LineNumber();
        strayText = false;
      } else if (!TrimBlanks(line).empty()) {
        strayText = true;
      }
      continue;
    }
    if (line.starts_with("//")) {
      read.push_back(record->Finish());
      record.reset();
      if (bar) {
        bar->Step(true);
        if (bar->Cancelled()) {
          ctx.Report("reading cancelled; nothing was added");
          return 0;
        }
      }
      continue;
    }
    record->Line(line);
  }
  if (record) ctx.ReportLine(cutLine, kCutRecord);
  if ((read.empty() && !record) || strayText)
    ctx.services.messages.Notify("Check file type! Errors occured while reading GenBank file \r\n" +
                                 ctx.fileName);
  int added = 0;
  for (auto& seq : read) {
    if (ds.AddSeq(seq, true) < 0) break;  // the dataset said why
    ++added;
  }
  return added;
}
