// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the ML-HKA program (Wright and Charlesworth 2004). Like the program it runs
// without arguments in its working folder, reads "MLHKApar.txt" (seed, chain length) and
// "infile.txt" (a first line "loci<TAB><TAB>model..." and one tab-separated locus line each:
// name, L, S, n, D, theta, inheritance) and writes "likelihoods.txt": for the selection model
// (model 1) a first line of its own, then a header and one result line whose first number is
// the log-likelihood. The likelihoods follow a fixed rule so that tests know the verdict:
//   neutral   Ln0 = -(sum of S + D over all loci)
//   selection Ln1 = Ln0 + D of the first (tested) locus / 2, so LR = 2 (Ln1 - Ln0) = D.
// NODRIX_STANDIN_MODE=fail writes to stderr and exits 1; =none exits 0 writing nothing.
// NODRIX_STANDIN_LOG names a file that gets both input files appended on every run.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v == nullptr ? std::string() : std::string(v);
}

std::string Slurp(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> out(1);
  for (char c : line) {
    if (c == '\t')
      out.emplace_back();
    else if (c != '\r')
      out.back().push_back(c);
  }
  return out;
}

}  // namespace

int main() {
  const std::string mode = Env("NODRIX_STANDIN_MODE");
  if (mode == "fail") {
    std::cerr << "MLHKA stand-in: failing as asked\n";
    return 1;
  }
  const std::string par = Slurp("MLHKApar.txt"), infile = Slurp("infile.txt");
  if (const std::string log = Env("NODRIX_STANDIN_LOG"); !log.empty()) {
    std::ofstream out(log, std::ios::binary | std::ios::app);
    out << par << infile;
  }
  if (mode == "none") return 0;
  std::istringstream in(infile);
  std::string first;
  if (!std::getline(in, first) || par.empty()) {
    std::cerr << "MLHKA stand-in: missing input\n";
    return 2;
  }
  const std::vector<std::string> head = Fields(first);
  const bool selection = head.size() > 2 && head[2] == "1";
  double sum = 0, testedD = -1;
  for (std::string line; std::getline(in, line);) {
    const std::vector<std::string> f = Fields(line);
    if (f.size() < 7) continue;
    const double s = std::atof(f[2].c_str()), d = std::atof(f[4].c_str());
    sum += s + d;
    if (testedD < 0) testedD = d;
  }
  const double ln0 = -sum;
  const double ln = selection ? ln0 + testedD / 2 : ln0;
  std::ofstream out("likelihoods.txt", std::ios::binary);
  if (selection) out << "selection model, locus " << (head.size() > 3 ? head[3] : "") << "\r\n";
  out << "Ln\tseed\tchain\r\n";
  std::istringstream p(par);
  std::string seed, chain;
  std::getline(p, seed);
  std::getline(p, chain);
  if (!seed.empty() && seed.back() == '\r') seed.pop_back();
  if (!chain.empty() && chain.back() == '\r') chain.pop_back();
  out << ln << "\t" << seed << "\t" << chain << "\r\n";
  return 0;
}
