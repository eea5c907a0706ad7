// SPDX-License-Identifier: GPL-3.0-or-later
// Staden-assembled contigs: the contigs file holds the consensus sequences as FASTA; the
// folder beside it named like it with the extension ".assembly" holds the reads as experiment
// files ("*.ph"), whose AP lines hang each read on another one up to the first read of its
// contig ("*new*").
//
// A read's column is the sum of the assembly positions along its chain. A contig is every read
// whose chain ends in the same first read; contigs are taken by their longest chain, longest
// first, and the k-th is matched to the k-th consensus sequence. A read with a poor-quality
// start loses it and is placed by an anchor match on its consensus instead. Reads whose chain
// never reaches a "*new*" read (a missing or looping anchor) are added unplaced, and said so.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <map>

#include "io/AnnotatedFormats.h"
#include "io/TextHelpers.h"
#include "model/Datasequnit.h"
#include "model/tsequnit.h"

namespace {

constexpr std::size_t kNameChars = 32;  // read names are compared on their first 32 characters
constexpr int kOrientWord = 15, kOrientTolerance = 20;
constexpr int kPlaceWord = 10, kPlaceTolerance = 10;

struct Read {
  std::string file;
  std::unique_ptr<TSeq> seq;
  AssemblyLink link;
  int parent = -1;    // index of the read it hangs on; -1 for a first read or none
  int root = -1;      // the first read of its contig; -1 when the chain breaks or loops
  int depth = 0;      // reads in its chain
  long long sum = 0;  // assembly positions along the chain, its own included
};

std::vector<Read> ReadAssemblyFolder(const std::string& folder, Services& svc) {
  namespace fs = std::filesystem;
  std::vector<std::string> files;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (it->path().extension() == ".ph" && it->is_regular_file(ec))
      files.push_back(it->path().string());
  std::sort(files.begin(), files.end());
  std::vector<Read> reads;
  for (const std::string& file : files) {
    FileSource src;
    ReadContext ctx(svc, file);
    ExperimentRead r;
    if (src.Open(file)) r = ReadExperimentFile(src, ctx);
    if (!r.seq) {
      svc.messages.Notify("I/O Error: can not recognise format of the file " + FileNameOnly(file));
      continue;
    }
    if (r.link.complemented) r.seq->ReverseComplement();
    reads.push_back({file, std::move(r.seq), r.link});
  }
  return reads;
}

// Follows every read's anchors to the first read of its contig.
void TraceChains(std::vector<Read>& reads) {
  std::map<std::string, int> byName;
  for (int i = 0; i < static_cast<int>(reads.size()); ++i)
    byName.emplace(reads[static_cast<std::size_t>(i)].seq->seqName.substr(0, kNameChars), i);
  for (Read& r : reads) {
    if (r.link.anchor == "*new*") continue;
    const auto it = byName.find(r.link.anchor.substr(0, kNameChars));
    if (it != byName.end()) r.parent = it->second;
  }
  // 0 unvisited, 1 on the current path, 2 done.
  std::vector<int> state(reads.size(), 0);
  for (std::size_t start = 0; start < reads.size(); ++start) {
    std::vector<std::size_t> path;
    std::size_t at = start;
    int root = -1, depth = 0;
    long long sum = 0;
    while (true) {
      if (state[at] == 2) {
        root = reads[at].root;
        depth = reads[at].depth;
        sum = reads[at].sum;
        break;
      }
      if (state[at] == 1) break;  // a loop: no first read
      state[at] = 1;
      path.push_back(at);
      if (reads[at].link.anchor == "*new*") {
        root = static_cast<int>(at);
        break;
      }
      if (reads[at].parent < 0) break;
      at = static_cast<std::size_t>(reads[at].parent);
    }
    // The path runs from start towards the root: fill it in from the root's end.
    for (auto it = path.rbegin(); it != path.rend(); ++it) {
      Read& r = reads[*it];
      if (root >= 0) {
        sum += r.seq->assemblyPos;
        r.sum = sum;
        r.depth = ++depth;
      }
      r.root = root;
      state[*it] = 2;
    }
  }
}

// The column shift of a read: an anchor match when its poor-quality start is cut off.
long long PlaceRead(Read& r, const TSeq* consensus) {
  TSeq& seq = *r.seq;
  if (seq.poorQualityLeft <= 0) return r.sum - 1;
  const int cut = std::min(seq.poorQualityLeft, seq.Length());
  seq.DeleteLetters(1, cut, false);
  seq.poorQualityLeft = -1;
  if (seq.poorQualityRight > 0) seq.poorQualityRight = std::max(1, seq.poorQualityRight - cut);
  AnchorHit hit;
  if (consensus != nullptr && seq.Length() > 0 &&
      AnchorMatch(UpperCase(seq.letters), UpperCase(consensus->letters), kPlaceWord,
                  kPlaceTolerance, hit))
    return consensus->columnShift + hit.textPos - hit.readPos;
  return r.sum - 1 + cut;  // the cut letters stood in front of the rest
}

}  // namespace

bool AnchorMatch(std::string_view read, std::string_view text, int word, int tolerance,
                 AnchorHit& hit) {
  const auto n = static_cast<long long>(read.size());
  const auto w = static_cast<std::size_t>(word);
  if (word <= 0) return false;
  for (long long i = 1; i < n - word; ++i) {
    const std::size_t first = text.find(read.substr(static_cast<std::size_t>(i - 1), w));
    if (first == std::string_view::npos) continue;
    for (long long f = i + word; f <= n - word + 1; ++f) {
      const std::size_t q = text.find(read.substr(static_cast<std::size_t>(f - 1), w), first + w);
      if (q == std::string_view::npos) continue;
      // The second word stands as far from the first in the text as in the read.
      const long long apart = static_cast<long long>(q - first);
      if (std::llabs(f - i - apart) <= tolerance) {
        hit.readPos = static_cast<int>(i);
        hit.textPos = static_cast<int>(first) + 1;
        return true;
      }
    }
  }
  return false;
}

bool OpenStadenContigs(const std::string& path, ReadContext& ctx, TDataSeq& ds) {
  FileSource src;
  if (!src.Open(path)) {
    ctx.Report("cannot open the file");
    return false;
  }
  if (!OpenFasta(src, ctx, ds)) return false;
  const int consensusCount = ds.Count();
  const std::string folder = PathWithoutExtension(path) + ".assembly";
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) return true;

  std::vector<Read> reads = ReadAssemblyFolder(folder, ctx.services);
  TraceChains(reads);
  // Contigs by their first read, the one with the longest chain first.
  std::map<int, int> longest;
  for (const Read& r : reads)
    if (r.root >= 0) longest[r.root] = std::max(longest[r.root], r.depth);
  std::vector<int> roots;
  for (const auto& [root, depth] : longest) roots.push_back(root);
  std::stable_sort(roots.begin(), roots.end(),
                   [&](int a, int b) { return longest[a] > longest[b]; });

  std::vector<long long> shifts(reads.size(), 0);
  std::vector<std::size_t> order;
  for (std::size_t k = 0; k < roots.size(); ++k) {
    const int row = static_cast<int>(k) + 1;
    TSeq* consensus = row <= consensusCount ? ds.SeqAt(row) : nullptr;
    Read& first = reads[static_cast<std::size_t>(roots[k])];
    AnchorHit hit;
    if (consensus != nullptr && first.sum == 1) {
      std::string reversed = consensus->letters;
      std::reverse(reversed.begin(), reversed.end());
      for (char& c : reversed) c = ComplementLetter(c);
      if (AnchorMatch(UpperCase(first.seq->letters), UpperCase(reversed), kOrientWord,
                      kOrientTolerance, hit))
        consensus->ReverseComplement(false);
    }
    std::vector<std::size_t> members;
    for (std::size_t i = 0; i < reads.size(); ++i)
      if (reads[i].root == roots[k]) members.push_back(i);
    std::stable_sort(members.begin(), members.end(), [&](std::size_t a, std::size_t b) {
      return reads[a].depth < reads[b].depth ||
             (reads[a].depth == reads[b].depth && reads[a].sum < reads[b].sum);
    });
    for (const std::size_t i : members) {
      shifts[i] = PlaceRead(reads[i], consensus);
      order.push_back(i);
    }
  }
  int unplaced = 0;
  for (std::size_t i = 0; i < reads.size(); ++i)
    if (reads[i].root < 0) {
      order.push_back(i);
      ++unplaced;
    }
  if (unplaced > 0)
    ctx.Report(std::to_string(unplaced) +
               " read(s) of the assembly folder hang on no first read of a contig (\"*new*\") "
               "and were added unplaced");
  if (static_cast<int>(roots.size()) > consensusCount)
    ctx.Report(std::to_string(roots.size()) + " contigs in the assembly folder, " +
               std::to_string(consensusCount) + " consensus sequences in the file");

  // A read reaching before the first column moves every row right instead of losing letters.
  const long long lowest = shifts.empty() ? 0 : *std::min_element(shifts.begin(), shifts.end());
  const long long extra = lowest < 0 ? -lowest : 0;
  if (extra > 0)
    for (int row = 1; row <= consensusCount; ++row)
      ds.SeqAt(row)->columnShift += static_cast<std::int32_t>(extra);
  for (const std::size_t i : order) {
    Read& r = reads[i];
    r.seq->columnShift = static_cast<std::int32_t>(
        std::clamp<long long>(shifts[i] + extra, 0, std::numeric_limits<std::int32_t>::max()));
    r.seq->sourceFile = r.file;
    if (ds.AddSeq(r.seq, true) < 0) break;  // the dataset said why
  }
  ds.InvalidateMutHolders();
  return true;
}
