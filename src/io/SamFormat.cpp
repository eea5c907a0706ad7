// SPDX-License-Identifier: GPL-3.0-or-later
// SAM: CIGAR placement, reads placed on their references, the reads of one reference, and the
// column-type test.
//
// Header lines are those that begin with "@"; a read's quality string may hold "@SQ" or "@PG"
// and is no header. Records that are not placed (RNAME "*", POS 0 or not a number, SEQ "*")
// are passed over, as are records failing the quality check (flag 0x200). Optional fields are
// not read.
#include <algorithm>
#include <cctype>

#include "io/ByteSource.h"
#include "io/ReadFormats.h"
#include "io/ReadLines.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"

namespace {

// A gap run longer than this in one read is taken for a damaged CIGAR: the rest of it is not
// applied. Introns of a million bases are rare, and the cap keeps a broken count from asking
// for gigabytes of gap letters.
constexpr long long kMaxCigarSpan = 1'000'000;

constexpr int kPaired = 0x1, kProperPair = 0x2, kReverse = 0x10, kMateReverse = 0x20,
              kFirstOfPair = 0x40, kSecondOfPair = 0x80, kFailedQc = 0x200;

using SamFields = std::array<std::string_view, 11>;
enum SamField { kQname, kFlag, kRname, kPos, kMapq, kCigar, kRnext, kPnext, kTlen, kSeq };

bool IsHeader(std::string_view line) {
  return !line.empty() && line.front() == '@';
}

// The placed read of a record, or nullptr for a record that is not placed.
std::unique_ptr<TSeq> PlacedRead(const SamFields& f, int& flag, bool& hasFlag) {
  const auto pos = ParseInt(f[kPos]);
  if (!pos || *pos <= 0 || f[kRname] == "*" || f[kRname].empty() || f[kSeq] == "*" ||
      f[kSeq].empty())
    return nullptr;
  const auto flagValue = ParseInt(f[kFlag]);
  hasFlag = flagValue.has_value();
  flag = flagValue.value_or(0);
  auto read = std::make_unique<TSeq>();
  read->seqName = std::string(f[kQname]);
  read->seqComment = std::string(f[kCigar]);
  read->letters = std::string(f[kSeq]);
  read->SyncLength();
  (void)ApplyCigar(f[kCigar], *read);
  long long v = *pos;
  if (read->poorQualityLeft >= 0) v -= read->poorQualityLeft;
  PlaceByPosition(*read, v);
  return read;
}

bool ProperPair(bool hasFlag, int flag) {
  return hasFlag && (flag & kPaired) != 0 && (flag & kProperPair) != 0;
}

}  // namespace

bool ApplyCigar(std::string_view cigar, TSeq& read) {
  const long long readLength = read.Length();
  long long c = 0;         // reference columns from the read's first letter
  long long inserted = 0;  // letters of I operations so far
  long long consumed = 0;  // letters of SEQ used so far
  bool atStart = true;
  bool hasInsertions = false;
  std::size_t i = 0;
  while (i < cigar.size()) {
    long long n = 0;
    const std::size_t digits = i;
    while (i < cigar.size() && std::isdigit(static_cast<unsigned char>(cigar[i]))) {
      n = std::min<long long>(n * 10 + (cigar[i] - '0'), kMaxCigarSpan + 1);
      ++i;
    }
    if (i >= cigar.size()) break;
    const char op = static_cast<char>(std::toupper(static_cast<unsigned char>(cigar[i++])));
    if (i - 1 == digits) continue;  // a letter without a count
    switch (op) {
      case 'M':
      case '=':
      case 'X':
        atStart = false;
        c += n;
        consumed += n;
        break;
      case 'D':
      case 'P':
      case 'N':
        if (c + n > kMaxCigarSpan) return hasInsertions;
        // After the letters consumed so far, inserted ones included.
        read.InsertGaps(static_cast<int>(c + inserted + 1), static_cast<int>(n));
        c += n;
        break;
      case 'I':
        // Never more letters than SEQ has left: the column opened for them must be filled.
        n = std::min(n, readLength - consumed);
        if (n <= 0) break;
        read.insertions.Mut().emplace_back(static_cast<std::int32_t>(c),
                                           static_cast<std::int32_t>(n));
        inserted += n;
        consumed += n;
        hasInsertions = true;
        break;
      case 'S':
        if (atStart) {
          read.poorQualityLeft = static_cast<std::int32_t>(std::min(n, readLength));
          atStart = false;
        } else {
          // The last letter before the clipped tail: where good quality ends.
          read.poorQualityRight =
              static_cast<std::int32_t>(std::min<long long>(c + inserted, read.Length()));
        }
        c += n;
        consumed += n;
        break;
      default:
        break;  // H and unknown operations hold no letters of SEQ
    }
    if (c > kMaxCigarSpan) break;
  }
  return hasInsertions;
}

int OpenSam(const ByteSource& src, ReadContext& ctx, TDataProj& proj, bool referencesOnly) {
  const std::string_view text = src.Bytes();
  ReadTargets targets(proj, referencesOnly, false);
  {
    LineProgress bar(ctx.services.progress, text, "Reading SAM file...",
                     "Reading SAM export file; line ");
    LineReader lines(text);
    std::string_view line;
    while (lines.Next(line)) {
      bar.AtLine(lines.LineNumber());
      if (line.empty() || IsHeader(line)) continue;
      const auto f = TabFields<11>(line);
      int flag = 0;
      bool hasFlag = false;
      auto read = PlacedRead(f, flag, hasFlag);
      if (!read) continue;
      ReadTargets::Target* target = targets.For(f[kRname]);
      if (target == nullptr || (hasFlag && (flag & kFailedQc) != 0)) continue;
      if (ProperPair(hasFlag, flag)) {
        if ((flag & kMateReverse) != 0) read->mateFirst = true;
        if ((flag & kReverse) != 0) read->mateSecond = true;
        if (read->mateFirst || read->mateSecond) read->mateName = std::string(f[kRnext]);
      }
      target->reads.push_back(std::move(read));
    }
  }
  const int added = targets.Finish(true);
  for (int d = 0; d < proj.DatasetCount(); ++d) ExpandInsertions(*proj.DatasetAt(d));
  return added;
}

int OpenSamReads(const ByteSource& src, ReadContext& ctx, std::string_view filterText,
                 TDataSeq& ds) {
  std::vector<std::unique_ptr<TSeq>> reads;
  {
    ProgressScope bar(ctx.services.progress, 10000, "Reading SAM file...");
    LineReader lines(src.Bytes());
    std::string_view line;
    while (lines.Next(line)) {
      if (lines.LineNumber() % 1000 == 0)
        ctx.services.progress.ShowStatus(
            "Reading SAM export file; line " + std::to_string(lines.LineNumber()), true, true);
      if (line.empty() || IsHeader(line)) continue;
      if (!filterText.empty() && line.find(filterText) == std::string_view::npos) continue;
      const auto f = TabFields<11>(line);
      int flag = 0;
      bool hasFlag = false;
      auto read = PlacedRead(f, flag, hasFlag);
      if (!read || (hasFlag && (flag & kFailedQc) != 0)) continue;
      if (ProperPair(hasFlag, flag)) {
        if ((flag & kFirstOfPair) != 0) read->mateFirst = true;
        if ((flag & kSecondOfPair) != 0) {
          // The second mate as sequenced, at the place of its aligned form.
          read->ReverseComplement();
          read->mateSecond = true;
        }
        if (read->mateFirst || read->mateSecond) read->mateName = std::string(f[kRnext]);
      }
      reads.push_back(std::move(read));
    }
  }
  const int added = static_cast<int>(reads.size());
  ds.AppendReads(reads);
  (void)ds.LinkMates();
  return added;
}

int OpenSamReadsFile(const std::string& path, std::string_view filterText, TDataSeq& ds,
                     Services& services) {
  FileSource src;
  if (!src.Open(path)) {
    services.messages.Notify("Can not open file \r\n" + path);
    return -1;
  }
  ReadContext ctx(services, path);
  return OpenSamReads(src, ctx, filterText, ds);
}

bool LooksLikeSamText(std::string_view text) {
  LineReader lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    if (line.empty() || IsHeader(line)) continue;
    const auto f = TabFields<11>(line);
    const auto isInt = [](std::string_view s) { return ParseInt(s).has_value(); };
    return isInt(f[kFlag]) && isInt(f[kPos]) && isInt(f[kTlen]) && !isInt(f[kCigar]) &&
           !isInt(f[kSeq]);
  }
  return false;
}

bool LooksLikeSam(const std::string& path) {
  FileSource src;
  return src.Open(path) && LooksLikeSamText(src.Bytes());
}
