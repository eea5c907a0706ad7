// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/GenCodUnit.h"

#include <algorithm>
#include <cctype>

namespace {

struct UniversalEntry {
  const char* fullName;
  const char* abbrev3;
  char letter;
  std::vector<const char*> codons;
};

const std::vector<UniversalEntry>& UniversalTable() {
  static const std::vector<UniversalEntry> table = {
      {"Stop", "***", '*', {"taa", "tag", "tga"}},
      {"Phenylalanine", "Phe", 'F', {"ttt", "ttc"}},
      {"Leucine", "Leu", 'L', {"tta", "ttg", "ctt", "ctc", "cta", "ctg"}},
      {"Isoleucine", "Ile", 'I', {"att", "atc", "ata"}},
      {"Methionine", "Met", 'M', {"atg"}},
      {"Valine", "Val", 'V', {"gtt", "gtc", "gta", "gtg"}},
      {"Serine", "Ser", 'S', {"tct", "tcc", "tca", "tcg", "agt", "agc"}},
      {"Proline", "Pro", 'P', {"cct", "ccc", "cca", "ccg"}},
      {"Threonine", "Thr", 'T', {"act", "acc", "aca", "acg"}},
      {"Alanine", "Ala", 'A', {"gct", "gcc", "gca", "gcg"}},
      {"Tyrosine", "Tyr", 'Y', {"tat", "tac"}},
      {"Histidine", "His", 'H', {"cat", "cac"}},
      {"Glutamine", "Gln", 'Q', {"caa", "cag"}},
      {"Asparagine", "Asn", 'N', {"aat", "aac"}},
      {"Lysine", "Lys", 'K', {"aaa", "aag"}},
      {"Aspartic Acid", "Asp", 'D', {"gat", "gac"}},
      {"Glutamic Acid", "Glu", 'E', {"gaa", "gag"}},
      {"Cysteine", "Cys", 'C', {"tgt", "tgc"}},
      {"Tryptophan", "Trp", 'W', {"tgg"}},
      {"Arginine", "Arg", 'R', {"cgt", "cgc", "cga", "cgg", "aga", "agg"}},
      {"Glycine", "Gly", 'G', {"ggt", "ggc", "gga", "ggg"}},
  };
  return table;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// 0..3 for a, c, g, t in either case, -1 otherwise; a table, as translation asks per letter.
constexpr std::array<std::int8_t, 256> kBaseCodes = [] {
  std::array<std::int8_t, 256> t{};
  t.fill(-1);
  t['a'] = t['A'] = 0;
  t['c'] = t['C'] = 1;
  t['g'] = t['G'] = 2;
  t['t'] = t['T'] = 3;
  return t;
}();

int BaseCode(char c) {
  return kBaseCodes[static_cast<unsigned char>(c)];
}

int CodonCode(std::string_view codon) {
  if (codon.size() != 3) return -1;
  const int a = BaseCode(codon[0]), b = BaseCode(codon[1]), c = BaseCode(codon[2]);
  if (a < 0 || b < 0 || c < 0) return -1;
  return a * 16 + b * 4 + c;
}

// The bases an IUPAC ambiguity letter stands for, in the order the translation tries them;
// empty for a letter that is not an ambiguity code.
std::string_view AmbiguitySet(char lower) {
  switch (lower) {
    case 'b': return "gtc";
    case 'd': return "gat";
    case 'h': return "act";
    case 'k': return "gt";
    case 'm': return "ac";
    case 'n': return "gtac";
    case 'r': return "ag";
    case 's': return "gc";
    case 'v': return "gca";
    case 'w': return "at";
    case 'y': return "ct";
    default: return {};
  }
}

}  // namespace

TGenCode::TGenCode(std::string name) : codeName(std::move(name)) {
  lookup_.fill(-1);
  if (Lower(codeName) != "universal") return;
  for (const UniversalEntry& e : UniversalTable()) {
    auto entry = std::make_unique<TAminoacid>();
    entry->fullName = e.fullName;
    entry->abbrev3 = e.abbrev3;
    entry->letter = e.letter;
    for (const char* codon : e.codons) {
      entry->codons.emplace_back(codon);
      entry->codonValues.push_back(0);
    }
    entry->nCodons = static_cast<std::int32_t>(entry->codons.size());
    aminoacids_.push_back(std::move(entry));
  }
  aaCount = static_cast<std::int32_t>(aminoacids_.size());
  RebuildLookup();
}

TAminoacid* TGenCode::AminoacidAt(int index) {
  if (index < 0 || index >= static_cast<int>(aminoacids_.size())) return nullptr;
  return aminoacids_[static_cast<std::size_t>(index)].get();
}

void TGenCode::ClearCode() {
  aminoacids_.clear();
  aaCount = 0;
  RebuildLookup();
}

void TGenCode::AddAminoacid(std::unique_ptr<TAminoacid> entry) {
  if (!entry) return;
  for (auto& codon : entry->codons) codon = Lower(codon);
  entry->nCodons = static_cast<std::int32_t>(entry->codons.size());
  aminoacids_.push_back(std::move(entry));
  aaCount = static_cast<std::int32_t>(aminoacids_.size());
  RebuildLookup();
}

void TGenCode::AddCodon(TAminoacid& entry, std::string_view codon) {
  const std::string lower = Lower(codon);
  if (HasCodon(entry, lower)) return;
  entry.codons.push_back(lower);
  entry.codonValues.push_back(0);
  entry.nCodons = static_cast<std::int32_t>(entry.codons.size());
  RebuildLookup();
}

bool TGenCode::HasCodon(const TAminoacid& entry, std::string_view codon) {
  const std::string lower = Lower(codon);
  return std::find(entry.codons.begin(), entry.codons.end(), lower) != entry.codons.end();
}

void TGenCode::RebuildLookup() {
  lookup_.fill(-1);
  // Walk backwards so the first entry holding a codon wins, as a search in table order would.
  for (int i = static_cast<int>(aminoacids_.size()) - 1; i >= 0; --i)
    for (const std::string& codon : aminoacids_[static_cast<std::size_t>(i)]->codons) {
      const int code = CodonCode(codon);
      if (code >= 0) lookup_[static_cast<std::size_t>(code)] = static_cast<std::int16_t>(i);
    }
}

int TGenCode::FindEntry(std::string_view lowerCodon) const {
  for (std::size_t i = 0; i < aminoacids_.size(); ++i) {
    const auto& codons = aminoacids_[i]->codons;
    if (std::find(codons.begin(), codons.end(), lowerCodon) != codons.end()) return static_cast<int>(i);
  }
  return -1;
}

int TGenCode::LookupIndex(std::string_view lowerCodon) const {
  const int code = CodonCode(lowerCodon);
  if (code >= 0) return lookup_[static_cast<std::size_t>(code)];
  return FindEntry(lowerCodon);  // codons outside a/c/g/t only live in user tables
}

std::string TGenCode::TranslateCodon(std::string_view codonIn, bool threeLetter) const {
  std::string codon = Lower(codonIn);
  if (codon.size() == 3) {
    const std::string_view set = AmbiguitySet(codon[2]);
    if (!set.empty()) {
      std::string first, variant = codon;
      bool same = true;
      for (std::size_t k = 0; k < set.size(); ++k) {
        variant[2] = set[k];
        const std::string t = TranslateCodon(variant, true);
        if (k == 0) first = t;
        else if (t != first) same = false;
      }
      if (same) codon = variant;
    }
  }
  const int index = LookupIndex(codon);
  if (index < 0) return threeLetter ? "???" : "?";
  const TAminoacid& aa = *aminoacids_[static_cast<std::size_t>(index)];
  return threeLetter ? aa.abbrev3 : std::string(1, aa.letter);
}

std::string TGenCode::TranslateSeq(std::string_view letters, bool threeLetter) const {
  const std::size_t n = letters.size() / 3;
  std::string out;
  if (!threeLetter) {
    // Written in place from a letter per codon code: whole datasets in six frames are
    // translated at once.
    std::array<char, 64> letterOf{};
    for (std::size_t code = 0; code < letterOf.size(); ++code) {
      const int index = lookup_[code];
      letterOf[code] = index < 0 ? '?' : aminoacids_[static_cast<std::size_t>(index)]->letter;
    }
    out.resize(n);
    const char* codon = letters.data();
    for (std::size_t i = 0; i < n; ++i, codon += 3) {
      const int a = BaseCode(codon[0]), b = BaseCode(codon[1]), c = BaseCode(codon[2]);
      if ((a | b | c) >= 0)  // the common case: no ambiguity, answered from the table
        out[i] = letterOf[static_cast<std::size_t>(a * 16 + b * 4 + c)];
      else
        out[i] = TranslateCodon(std::string_view(codon, 3), false).front();
    }
    return out;
  }
  out.reserve(n * 3);
  for (std::size_t i = 0; i < n; ++i) {
    const std::string_view codon = letters.substr(3 * i, 3);
    const int code = CodonCode(codon);
    if (code >= 0) {
      const int index = lookup_[static_cast<std::size_t>(code)];
      out += index < 0 ? std::string_view("???")
                       : aminoacids_[static_cast<std::size_t>(index)]->abbrev3;
    } else {
      out += TranslateCodon(codon, true);
    }
  }
  return out;
}

double TGenCode::SynonymousFraction(std::string_view codonIn, int position) const {
  const std::string codon = Lower(codonIn);
  if (codon.size() != 3 || position < 1 || position > 3) return -1;
  const std::string own = TranslateCodon(codon, false);
  if (own == "?") return -1;
  // Only the four bases are tried; when the letter at the position is not one of them (an
  // ambiguity letter resolved by translation) all four are alternatives, so the share is
  // taken of four, keeping the fraction within 0..1.
  int tried = 0, same = 0;
  std::string variant = codon;
  for (char x : std::string_view("atgc")) {
    if (x == codon[static_cast<std::size_t>(position - 1)]) continue;
    variant[static_cast<std::size_t>(position - 1)] = x;
    ++tried;
    if (TranslateCodon(variant, false) == own) ++same;
  }
  return tried == 0 ? -1 : static_cast<double>(same) / tried;
}

int TGenCode::CompareCodons(std::string_view firstIn, std::string_view secondIn, int capacity,
                            std::vector<CodonStep>& steps) const {
  const std::string first = Upper(firstIn), second = Upper(secondIn);
  steps.clear();
  if (first.size() != second.size()) return -1;
  const std::string own = TranslateCodon(first, true);
  if (own.empty() || own == "?" || own == "???" || own == "*" || own == "***") return -1;
  int i = 0;
  for (std::size_t j = 0; j < first.size(); ++j) {
    if (first[j] == second[j]) continue;
    std::string variant = first;
    variant[j] = second[j];
    const std::string t = TranslateCodon(variant, true);
    // Steps past the caller's capacity are counted, never written.
    if (i < capacity && !t.empty() && t != "?" && t != "???") {
      if (static_cast<int>(steps.size()) <= i) steps.resize(static_cast<std::size_t>(i) + 1);
      steps[static_cast<std::size_t>(i)] =
          CodonStep{static_cast<std::int32_t>(j + 1), second[j], first[j], t != own ? 1 : 4};
    }
    ++i;
  }
  return i;
}
