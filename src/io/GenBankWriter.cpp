// SPDX-License-Identifier: GPL-3.0-or-later
// GenBank flat-file writer: one sequence per record.
//
// The LOCUS line and the numbered ORIGIN lines keep GenBank's columns. ORIGIN holds the
// letters without gaps, so every feature's location counts those letters;
// a region lying on gaps only is left out. Feature keys are one word (blanks become '_') of at
// most 15 characters, so the location always starts in column 22. Coding regions (CDS, Exon,
// ORF) are written as one CDS feature per chain of linked parts, in reading order: a chain on
// the reverse strand as complement(join(...)), with its translation under the dataset's code
// (the final stop codon is not part of a GenBank translation). Every qualifier line, the
// continuation lines of a translation included, starts with 21 blanks.
#include <algorithm>
#include <unordered_map>
#include <vector>

#include "io/AnnotatedFormats.h"
#include "io/TextHelpers.h"
#include "model/Datasequnit.h"
#include "model/GenCodUnit.h"
#include "model/tsequnit.h"

namespace {

const std::string kQualifierIndent(21, ' ');
constexpr std::size_t kTranslationLine = 40;
constexpr std::size_t kLocationLine = 58;

// Positions among the letters without gaps.
class GaplessPositions {
 public:
  explicit GaplessPositions(const std::string& letters) : lettersBefore_(letters.size() + 1, 0) {
    for (std::size_t i = 0; i < letters.size(); ++i)
      lettersBefore_[i + 1] = lettersBefore_[i] + (letters[i] != '-' ? 1 : 0);
  }
  // The letters a region from..to covers, as first..last among the letters without gaps;
  // false when it covers gaps only.
  bool Map(int from, int to, int& first, int& last) const {
    const int size = static_cast<int>(lettersBefore_.size()) - 1;
    from = std::clamp(from, 1, std::max(size, 1));
    to = std::clamp(to, 0, size);
    first = lettersBefore_[static_cast<std::size_t>(from - 1)] + 1;
    last = lettersBefore_[static_cast<std::size_t>(to)];
    return first <= last;
  }

 private:
  std::vector<int> lettersBefore_;  // [i]: letters among positions 1..i
};

// A qualifier value on one line: line breaks become blanks, quotes are doubled.
std::string Quoted(const std::string& value) {
  std::string out = "\"";
  for (const char c : value) {
    if (c == '"')
      out += "\"\"";
    else
      out += (c == '\r' || c == '\n') ? ' ' : c;
  }
  return out + "\"";
}

std::string OneLineText(std::string text) {
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  return text;
}

std::string FeatureKey(int kind) {
  std::string key = kind == kRegGene ? std::string("gene") : RegionKindName(kind);
  std::replace(key.begin(), key.end(), ' ', '_');
  key.resize(std::min<std::size_t>(key.size(), 15));
  key.resize(16, ' ');
  return key;
}

// GenBank's /codon_start for the codon position of the first letter read.
int CodonStartOf(int codonPos) {
  return codonPos == 3 ? 2 : codonPos == 2 ? 3 : 1;
}

std::string Range(int first, int last, bool reverse) {
  const std::string range = std::to_string(first) + ".." + std::to_string(last);
  return reverse ? "complement(" + range + ")" : range;
}

// A long location is broken after its commas, continuation lines indented like qualifiers.
void PutLocation(std::string& out, const std::string& key, const std::string& location) {
  out += "     " + key;
  std::size_t at = 0;
  while (location.size() - at > kLocationLine) {
    std::size_t cut = location.rfind(',', at + kLocationLine);
    if (cut == std::string::npos || cut < at) cut = location.find(',', at + kLocationLine);
    if (cut == std::string::npos) break;
    AppendLine(out, std::string_view(location).substr(at, cut + 1 - at));
    out += kQualifierIndent;
    at = cut + 1;
  }
  AppendLine(out, std::string_view(location).substr(at));
}

void PutQualifier(std::string& out, const char* name, const std::string& value) {
  AppendLine(out, kQualifierIndent + "/" + name + "=" + Quoted(value));
}

std::string Translation(const std::string& letters, const TGenCode& code) {
  std::string protein = code.TranslateSeq(letters, false);
  if (!protein.empty() && protein.back() == '*') protein.pop_back();
  return protein;
}

void PutTranslation(std::string& out, const std::string& protein) {
  out += kQualifierIndent + "/translation=\"";
  for (std::size_t at = 0; at < protein.size(); at += kTranslationLine) {
    if (at > 0) out += kQualifierIndent;
    out.append(protein, at, kTranslationLine);
    if (at + kTranslationLine >= protein.size()) out += '"';
    out += "\r\n";
  }
}

std::string ReverseComplemented(std::string s) {
  std::reverse(s.begin(), s.end());
  for (char& c : s) c = ComplementLetter(c);
  return s;
}

// The coding regions grouped into chains through nextId, each in chain order. A region that
// no chain reaches (its links form a loop) starts a chain of its own, so nothing is lost.
std::vector<std::vector<const TRegion*>> CodingChains(const TSeq& seq) {
  std::unordered_map<int, const TRegion*> byId;
  std::vector<const TRegion*> coding;
  for (const TRegion& r : seq.regions)
    if (IsCodingKind(r.regType)) {
      coding.push_back(&r);
      byId[r.regId] = &r;
    }
  auto linked = [&](int id) -> const TRegion* {
    if (id < 0) return nullptr;
    const auto it = byId.find(id);
    return it == byId.end() ? nullptr : it->second;
  };
  std::unordered_map<const TRegion*, bool> used;
  std::vector<std::vector<const TRegion*>> chains;
  auto follow = [&](const TRegion* r) {
    std::vector<const TRegion*> chain;
    for (; r != nullptr && !used[r]; r = linked(r->nextId)) {
      used[r] = true;
      chain.push_back(r);
    }
    chains.push_back(std::move(chain));
  };
  for (const TRegion* r : coding)
    if (linked(r->prevId) == nullptr || linked(r->prevId) == r) follow(r);
  for (const TRegion* r : coding)
    if (!used[r]) follow(r);
  return chains;
}

void PutCodingChain(std::string& out, const TSeq& seq, const std::vector<const TRegion*>& chain,
                    const GaplessPositions& map, const TGenCode& code) {
  struct Part {
    int first, last;
    bool reverse;
    const TRegion* region;
  };
  std::vector<Part> parts;
  for (const TRegion* r : chain) {
    Part p{0, 0, r->regReverse, r};
    if (map.Map(r->regStart, r->regEnd, p.first, p.last)) parts.push_back(p);
  }
  if (parts.empty()) return;
  const bool allReverse =
      std::all_of(parts.begin(), parts.end(), [](const Part& p) { return p.reverse; });
  std::string location;
  if (allReverse) {
    for (auto it = parts.rbegin(); it != parts.rend(); ++it)
      location += (location.empty() ? "" : ",") + Range(it->first, it->last, false);
    location =
        parts.size() > 1 ? "complement(join(" + location + "))" : "complement(" + location + ")";
  } else {
    for (const Part& p : parts)
      location += (location.empty() ? "" : ",") + Range(p.first, p.last, p.reverse);
    if (parts.size() > 1) location = "join(" + location + ")";
  }
  PutLocation(out, FeatureKey(kRegCds), location);

  std::string gapless;
  for (const TRegion* r : chain) {
    std::string piece;
    const int from = std::max(1, r->regStart), to = std::min(seq.Length(), r->regEnd);
    for (int pos = from; pos <= to; ++pos)
      if (const char c = seq.letters[static_cast<std::size_t>(pos - 1)]; c != '-') piece += c;
    gapless += r->regReverse ? ReverseComplemented(std::move(piece)) : piece;
  }
  const TRegion& first = *parts.front().region;
  AppendLine(out,
             kQualifierIndent + "/codon_start=" + std::to_string(CodonStartOf(first.codonPos)));
  if (!first.regName.empty()) PutQualifier(out, "name", first.regName);
  if (!first.regComment.empty()) PutQualifier(out, "note", first.regComment);
  const std::size_t skip = first.codonPos == 2 ? 2 : first.codonPos == 3 ? 1 : 0;
  const std::string protein =
      Translation(skip < gapless.size() ? gapless.substr(skip) : std::string(), code);
  if (!protein.empty()) PutTranslation(out, protein);
}

// GenBank's LOCUS line in its own columns: name from column 13, the length right-aligned to
// column 40, the unit, the molecule, the topology, an unknown division and the placeholder date
// other writers use when a record has none.
std::string LocusLine(const std::string& name, std::size_t length, int seqType) {
  const bool protein = seqType == kSeqProtein1 || seqType == kSeqProtein3;
  std::string molecule = protein ? "" : seqType == kSeqRna ? "RNA" : "DNA";
  molecule.resize(6, ' ');
  std::string paddedName = name;
  if (paddedName.size() < 16) paddedName.resize(16, ' ');
  std::string count = std::to_string(length);
  if (count.size() < 11) count.insert(0, 11 - count.size(), ' ');
  return "LOCUS       " + paddedName + " " + count + (protein ? " aa    " : " bp    ") + molecule +
         "  linear   UNK 01-JAN-1980";
}

}  // namespace

std::string GenBankText(const TSeq& seq, const TGenCode& code) {
  std::string letters;
  letters.reserve(seq.letters.size());
  for (const char c : seq.letters)
    if (c != '-') letters += c;
  std::string name = OneLineText(seq.seqName.empty() ? std::string("unnamed") : seq.seqName);
  std::replace(name.begin(), name.end(), ' ', '_');

  std::string out;
  out.reserve(letters.size() * 76 / 60 + 4096);
  AppendLine(out, LocusLine(name, letters.size(), seq.seqType));
  if (!seq.definition.empty()) AppendLine(out, "DEFINITION  " + OneLineText(seq.definition));
  if (!seq.accession.empty()) AppendLine(out, "ACCESSION   " + OneLineText(seq.accession));
  if (!seq.organism.empty()) AppendLine(out, "SOURCE      " + OneLineText(seq.organism));
  AppendLine(out, "FEATURES             Location/Qualifiers");

  const GaplessPositions map(seq.letters);
  for (const TRegion& r : seq.regions) {
    if (IsCodingKind(r.regType)) continue;
    int first = 0, last = 0;
    if (!map.Map(r.regStart, r.regEnd, first, last)) continue;
    PutLocation(out, FeatureKey(r.regType), Range(first, last, r.regReverse));
    if (!r.regName.empty()) PutQualifier(out, "name", r.regName);
    if (!r.regComment.empty()) PutQualifier(out, "note", r.regComment);
  }
  for (const auto& chain : CodingChains(seq)) PutCodingChain(out, seq, chain, map, code);

  long long a = 0, c = 0, g = 0, t = 0;
  for (const char x : letters) {
    switch (x) {
      case 'A':
      case 'a':
        ++a;
        break;
      case 'C':
      case 'c':
        ++c;
        break;
      case 'G':
      case 'g':
        ++g;
        break;
      case 'T':
      case 't':
      case 'U':
      case 'u':
        ++t;
        break;
      default:
        break;
    }
  }
  AppendLine(out, "BASE COUNT      " + std::to_string(a) + " a    " + std::to_string(c) + " c    " +
                      std::to_string(g) + " g    " + std::to_string(t) + " t    ");
  AppendLine(out, "ORIGIN");
  for (std::size_t at = 0; at < letters.size(); at += 60) {
    const std::string number = std::to_string(at + 1);
    out.append(number.size() < 9 ? 9 - number.size() : 0, ' ');
    out += number;
    for (std::size_t k = at; k < std::min(letters.size(), at + 60); ++k) {
      if ((k - at) % 10 == 0) out += ' ';
      out += letters[k];
    }
    out += "\r\n";
  }
  AppendLine(out, "//");
  return out;
}

bool SaveGenBank(const std::string& path, const TSeq& seq, const TDataSeq& ds, Services& svc) {
  const TGenCode& code = ds.code != nullptr ? *ds.code : svc.genCode;
  return SaveTextFile(path, GenBankText(seq, code), svc);
}
