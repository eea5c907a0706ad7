// SPDX-License-Identifier: GPL-3.0-or-later
// The LD analysis's side files and the FASTA pieces of a split assembly.
#include "analysis/LDSplitFiles.h"

#include <algorithm>
#include <filesystem>

#include "common/Services.h"
#include "io/IOUnit.h"
#include "model/Datasequnit.h"

namespace {

// Room for "_first-last.fasta" within the usual 255-byte limit of one file name.
constexpr std::size_t kMaxStem = 200;

bool UnsafeInFileName(unsigned char c) {
  switch (c) {
    case '/':
    case '\\':
    case ':':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|':
      return true;
    default:
      return c < 32 || c == 127;
  }
}

// Keeps the first problem the writer reports, so the run can stop with it once.
class FirstError final : public IMessages {
 public:
  explicit FirstError(IMessages& inner) : inner_(inner) {}
  void ReportError(const std::string& text) override {
    if (first.empty()) first = text;
  }
  bool AskYesNo(const std::string& question) override { return inner_.AskYesNo(question); }
  void Notify(const std::string& text) override { inner_.Notify(text); }
  std::string first;

 private:
  IMessages& inner_;
};

}  // namespace

std::string PrefixedFile(const std::string& path, const std::string& prefix) {
  return BesideFile(path, prefix + std::filesystem::path(path).filename().string());
}

std::string SegmentFileName(const std::string& dataset, int first, int last) {
  std::string stem = dataset.substr(0, kMaxStem);
  for (char& c : stem)
    if (UnsafeInFileName(static_cast<unsigned char>(c))) c = '_';
  return stem + "_" + std::to_string(first) + "-" + std::to_string(last) + ".fasta";
}

std::unique_ptr<TDataSeq> CopyColumns(const TDataSeq& ds, int first, int last) {
  auto piece = std::make_unique<TDataSeq>(ds.GetServices());
  const int count = std::max(0, last - first + 1);
  ds.CopyRangeTo(*piece, first, count);
  // CopyRangeTo cuts every row at the same letter positions; a row shifted to the right holds
  // column c at letter c - columnShift, so it is cut again by its columns.
  for (int r = 1; r <= ds.Count(); ++r) {
    const TSeq& source = *ds.SeqAt(r);
    if (source.columnShift == 0) continue;
    std::unique_ptr<TSeq> cut = source.SubSequence(first - source.columnShift, count, false);
    cut->columnShift = std::max(0, source.columnShift - first + 1);
    if (cut->Length() == 0) cut->columnShift = 0;
    *piece->SeqAt(r) = std::move(*cut);
  }
  return piece;
}

std::string WriteSegmentFasta(const TDataSeq& ds, const AsmSegment& piece,
                              const std::string& folderOf, Services& services, std::string& path) {
  path = BesideFile(folderOf, SegmentFileName(ds.dsName, piece.first, piece.last));
  const std::unique_ptr<TDataSeq> copy = CopyColumns(ds, piece.first, piece.last);
  FirstError errors(services.messages);
  Services quiet{errors, services.progress, services.settings, services.genCode};
  if (SaveFasta(path, *copy, false, quiet)) return {};
  return errors.first.empty() ? "Cannot write the file " + path : errors.first;
}
