// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the phrap assembler: "phrap_standin FASTA -ace" reads the FASTA file (and
// FASTA.qual when present), lays reads whose letters overlap exactly (at least 12 letters,
// either case, forward only) into contigs, a read that overlaps none being a contig of its
// own, and writes FASTA.ace, FASTA.contigs and FASTA.log. A read's header words after its
// name ("CHROMAT_FILE: f PHD_FILE: f.phd.1") become its DS line. Switches:
//   PHRAP_STANDIN_EXIT=k   exit code k after writing nothing
//   PHRAP_STANDIN_NOACE=1  exit 0 without writing the ACE file
//   PHRAP_STANDIN_LOG=F    each run appends its arguments to F
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kMinOverlap = 12;

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v == nullptr ? std::string() : std::string(v);
}

struct Read {
  std::string name, ds, letters;
  std::vector<int> quality;
  long long start = 0;  // 0-based place in its contig
};

std::vector<Read> ReadFasta(const std::string& path) {
  std::vector<Read> reads;
  std::ifstream in(path, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '>') {
      Read r;
      const std::size_t blank = line.find(' ');
      r.name = line.substr(1, blank == std::string::npos ? std::string::npos : blank - 1);
      if (blank != std::string::npos) r.ds = line.substr(blank + 1);
      reads.push_back(r);
    } else if (!reads.empty()) {
      reads.back().letters += line;
    }
  }
  return reads;
}

void ReadQuality(const std::string& path, std::vector<Read>& reads) {
  std::ifstream in(path, std::ios::binary);
  int k = -1;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line[0] == '>') {
      ++k;
      continue;
    }
    if (k < 0 || k >= static_cast<int>(reads.size())) continue;
    std::istringstream values(line);
    for (int q; values >> q;) reads[static_cast<std::size_t>(k)].quality.push_back(q);
  }
}

bool SameLetters(const std::string& a, std::size_t at, const std::string& b, std::size_t from,
                 std::size_t n) {
  for (std::size_t i = 0; i < n; ++i)
    if (std::toupper(static_cast<unsigned char>(a[at + i])) !=
        std::toupper(static_cast<unsigned char>(b[from + i])))
      return false;
  return true;
}

// Where read lies in contig (0-based, negative before its start), or false when the two do
// not overlap exactly by kMinOverlap letters.
bool Place(const std::string& contig, const std::string& read, long long& at) {
  const auto c = static_cast<long long>(contig.size());
  const auto r = static_cast<long long>(read.size());
  for (long long o = -(r - static_cast<long long>(kMinOverlap));
       o <= c - static_cast<long long>(kMinOverlap); ++o) {
    const long long from = std::max(0LL, o), to = std::min(c, o + r);
    if (to - from < static_cast<long long>(kMinOverlap)) continue;
    if (SameLetters(contig, static_cast<std::size_t>(from), read,
                    static_cast<std::size_t>(from - o), static_cast<std::size_t>(to - from))) {
      at = o;
      return true;
    }
  }
  return false;
}

struct Contig {
  std::string letters;
  std::vector<Read> reads;
};

void Lay(Contig& contig, Read read, long long at) {
  if (at < 0) {
    contig.letters.insert(0, read.letters.substr(0, static_cast<std::size_t>(-at)));
    for (Read& r : contig.reads) r.start -= at;
    at = 0;
  }
  const auto end = static_cast<std::size_t>(at) + read.letters.size();
  if (end > contig.letters.size())
    contig.letters += read.letters.substr(contig.letters.size() - static_cast<std::size_t>(at));
  read.start = at;
  contig.reads.push_back(std::move(read));
}

void WriteLines(std::ostream& out, const std::string& letters) {
  for (std::size_t i = 0; i < letters.size(); i += 50) out << letters.substr(i, 50) << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (const std::string log = Env("PHRAP_STANDIN_LOG"); !log.empty()) {
    std::ofstream out(log, std::ios::app);
    for (const std::string& a : args) out << a << '|';
    out << '\n';
  }
  if (const std::string code = Env("PHRAP_STANDIN_EXIT"); !code.empty())
    return std::atoi(code.c_str());
  if (args.size() != 2 || args[1] != "-ace") {
    std::cerr << "usage: phrap FASTA -ace\n";
    return 2;
  }
  const std::string fasta = args[0];
  std::vector<Read> reads = ReadFasta(fasta);
  if (reads.empty()) {
    std::cerr << "no reads in " << fasta << '\n';
    return 3;
  }
  ReadQuality(fasta + ".qual", reads);
  std::vector<Contig> contigs;
  std::vector<bool> laid(reads.size(), false);
  for (std::size_t first = 0; first < reads.size(); ++first) {
    if (laid[first]) continue;
    Contig contig;
    Lay(contig, reads[first], 0);
    laid[first] = true;
    for (bool grew = true; grew;) {
      grew = false;
      for (std::size_t k = 0; k < reads.size(); ++k) {
        long long at = 0;
        if (laid[k] || !Place(contig.letters, reads[k].letters, at)) continue;
        Lay(contig, reads[k], at);
        laid[k] = grew = true;
      }
    }
    contigs.push_back(std::move(contig));
  }
  std::ofstream(fasta + ".log") << "phrap stand-in: " << reads.size() << " reads, "
                                << contigs.size() << " contigs\n";
  std::ofstream fastaOut(fasta + ".contigs");
  for (std::size_t c = 0; c < contigs.size(); ++c) {
    fastaOut << ">" << fasta << ".Contig" << c + 1 << '\n';
    WriteLines(fastaOut, contigs[c].letters);
  }
  if (Env("PHRAP_STANDIN_NOACE") == "1") return 0;
  std::ofstream ace(fasta + ".ace");
  ace << "AS " << contigs.size() << ' ' << reads.size() << "\n\n";
  for (std::size_t c = 0; c < contigs.size(); ++c) {
    const Contig& contig = contigs[c];
    ace << "CO Contig" << c + 1 << ' ' << contig.letters.size() << ' ' << contig.reads.size()
        << " 0 U\n";
    WriteLines(ace, contig.letters);
    ace << "\nBQ\n";
    for (std::size_t i = 0; i < contig.letters.size(); ++i)
      ace << (i % 50 == 0 ? "" : " ") << 20
          << ((i % 50 == 49 || i + 1 == contig.letters.size()) ? "\n" : "");
    ace << '\n';
    for (const Read& r : contig.reads) ace << "AF " << r.name << " U " << r.start + 1 << '\n';
    ace << '\n';
    for (const Read& r : contig.reads) {
      ace << "RD " << r.name << ' ' << r.letters.size() << " 0 0\n";
      WriteLines(ace, r.letters);
      ace << "\nQA 1 " << r.letters.size() << " 1 " << r.letters.size() << '\n';
      if (!r.ds.empty()) ace << "DS " << r.ds << '\n';
      ace << '\n';
    }
  }
  return 0;
}
