// SPDX-License-Identifier: GPL-3.0-or-later
// Reader of the project file, versions 1 to 3. The file is read into a fresh project, which is
// then merged into the window's project: individuals and groups get new keys there when
// theirs are taken, and the merge relinks their sequences. Every entry, block and member is
// found through offset tables checked against the bytes that exist; a damaged part is
// skipped and named in one message, and every record read whole is kept.
#include <algorithm>
#include <optional>

#include "io/ByteSource.h"
#include "io/ProjectFile.h"
#include "io/ProjectFileBlocks.h"
#include "io/ProjectFileParts.h"

using namespace projfile;

namespace {

struct Reader {
  std::string_view file;
  const ByteSource& source;  // told what lies behind the reader, so a mapped file is let go
  const std::string& path;
  TDataProj& window;
  TDataProj& fresh;
  int nameFilter = 0;
  int version = 3;
  bool ownProgress = false;  // the per-entry bar runs; datasets show none of their own
  GridFileSettings grid;
  std::vector<std::string> problems;
  std::vector<int> filteredOut;  // dataset indexes of fresh to drop
  bool placeholderUsed = false;
  int seqsRead = 0;

  void AddRecord(std::string_view bytes, std::uint64_t at, TDataSeq& ds, int& lost,
                 std::string& firstProblem) {
    std::string problem;
    std::unique_ptr<TSeq> seq = ReadSeqRecord(bytes, at, version, problem);
    if (!seq) {
      if (lost++ == 0) firstProblem = problem;
      return;
    }
    if (ds.AddSeq(seq, false) >= 0) ++seqsRead;  // a full dataset reports itself
  }

  TDataSeq& LastDataset() { return *fresh.DatasetAt(fresh.DatasetCount() - 1); }

  bool WindowHasDataset(std::string_view name) const {
    for (int d = 0; d < window.DatasetCount(); ++d)
      if (window.DatasetAt(d)->dsName == name) return true;
    return false;
  }

  void ReadDataset(const ByteCursor& block, std::uint64_t fileAt) {
    std::string_view tag;
    block.PeekBytesAt(4, 12, tag);
    if (tag[11] != '\0' && tag[11] != ' ') return;  // a packed dataset: not readable here
    if (LastDataset().Count() > 0 || placeholderUsed) fresh.NewDataset();
    placeholderUsed = true;
    const int index = fresh.DatasetCount() - 1;
    TDataSeq& ds = LastDataset();
    ds.dsSourceFile = path;
    std::vector<std::uint64_t> members;
    if (!BlockTable(block, 0, 0, members)) {
      problems.push_back("the member table of the dataset at byte " + std::to_string(fileAt) +
                         " does not fit");
      return;
    }
    std::optional<ProgressScope> bar;
    if (!ownProgress)
      bar.emplace(fresh.GetServices().progress, static_cast<int>(members.size()),
                  "Reading dataset ...");
    int lost = 0;
    std::string firstProblem;
    for (std::uint64_t p : members) {
      if (bar) bar->Step(false);
      std::string_view name8;
      if (!block.PeekBytesAt(p + 4, 8, name8)) {
        if (lost++ == 0)
          firstProblem =
              "a member at byte " + std::to_string(fileAt + p) + " lies beyond the dataset's end";
        continue;
      }
      if (name8 == "SEQSTRUC") {
        AddRecord(block.Bytes(), p, ds, lost, firstProblem);
        source.Release(static_cast<std::size_t>(fileAt + p));
        continue;
      }
      if (name8 == "GROUPING") {
        ReadGroupingBlock(block, p, 0, fresh, problems);
        continue;
      }
      Member m;
      if (!MemberAt(block, p, m)) {
        if (lost++ == 0)
          firstProblem = "the " + std::string(name8) + " field at byte " +
                         std::to_string(fileAt + p) + " runs past the dataset";
        continue;
      }
      if (m.Is("DSEQNAME")) {
        const std::string name(m.payload);
        fresh.RenameDataset(index, name);
        const bool known = WindowHasDataset(name);
        if ((nameFilter == 1 && !known) || (nameFilter == 2 && known)) {
          filteredOut.push_back(index);
          return;
        }
      } else if (m.Is("DSCOMENT")) {
        ds.dsComment.assign(m.payload);
      } else if (m.Is("DSRCFILE")) {
        ds.dsSourceFile.assign(m.payload);
      } else if (m.Is("DSGENPOS") && m.payload.size() >= 8) {
        const ByteCursor c(m.payload);
        std::uint32_t chromosome = 0, position = 0;
        c.PeekU32LEAt(0, chromosome);
        c.PeekU32LEAt(4, position);
        ds.chromosome = static_cast<std::int32_t>(chromosome);
        ds.genePosition = static_cast<std::int32_t>(position);
      } else if (m.Is("DSPARAMS") && m.payload.size() >= 16) {
        const ByteCursor c(m.payload);
        for (std::uint64_t i = 0; i < 4; ++i) {
          std::uint32_t u = 0;
          c.PeekU32LEAt(4 * i, u);
          grid.dsParams[i] = static_cast<std::int32_t>(u);
        }
        grid.hasDsParams = true;
      }
    }
    if (lost > 0)
      problems.push_back("dataset " + ds.dsName + ": " + std::to_string(lost) +
                         " record(s) could not be read (" + firstProblem + ")");
  }

  void ReadEntry(std::uint64_t i, std::uint32_t at) {
    const ByteCursor all(file);
    std::uint32_t size = 0;
    std::string_view tag;
    if (!all.PeekU32LEAt(at, size) || !all.PeekBytesAt(at + 4, 12, tag)) {
      problems.push_back("entry " + std::to_string(i + 1) + " points to byte " +
                         std::to_string(at) + ", beyond the end of the file");
      return;
    }
    if (size < kFieldHeader) {
      problems.push_back("the block at byte " + std::to_string(at) + " has the size " +
                         std::to_string(size));
      return;
    }
    const std::uint64_t available = std::min<std::uint64_t>(size, all.Size() - at);
    if (available < size)
      problems.push_back("the " + std::string(tag.substr(0, 8)) + " block at byte " +
                         std::to_string(at) + " needs " + std::to_string(size) +
                         " bytes, the file ends after " + std::to_string(available));
    ByteCursor block;
    all.SubAt(at, available, block);
    const std::string_view name8 = tag.substr(0, 8);
    const std::string_view payload = block.Bytes().substr(kFieldHeader);
    if (name8 == "DATA_SEQ") {
      ReadDataset(block, at);
    } else if (name8 == "SEQSTRUC") {
      int lost = 0;
      std::string problem;
      placeholderUsed = true;
      AddRecord(block.Bytes(), 0, LastDataset(), lost, problem);
      if (lost > 0) problems.push_back(problem);
    } else if (name8 == "DSWINPAR") {
      ReadGridBlock(block, grid);
    } else if (name8 == "GROUPS__") {
      ReadGroupsBlock(block, fresh, problems);
    } else if (name8 == "GROUPING") {
      ReadGroupingBlock(block, 0, 0, fresh, problems);
    } else if (name8 == "INDIVIDS") {
      ReadIndividsBlock(block, fresh, problems);
    } else if (name8 == "PROJNAME") {
      fresh.projName.assign(payload);
    } else if (name8 == "PCOMMENT") {
      fresh.projComment.assign(payload);
    } else if (name8 == "GENCODE_") {
      ReadCodeBlock(payload, grid);
    }
  }

  // Version 1 files kept group membership as one flag per row of their single dataset.
  void ApplyVersion1Membership() {
    if (fresh.DatasetCount() != 1) return;
    TDataSeq& ds = *fresh.DatasetAt(0);
    std::vector<TGroup> withLists;
    for (const TGroup& g : fresh.Groups())
      if (!g.grpMembers.empty()) withLists.push_back(g);
    if (withLists.empty()) return;
    for (const TGroup& g : withLists)
      if (static_cast<int>(g.grpMembers.size()) != ds.Count()) return;
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const TGroup& g : withLists)
      for (int row = 1; row <= ds.Count(); ++row)
        if (g.grpMembers[static_cast<std::size_t>(row - 1)])
          pairs.emplace_back(ds.SeqAt(row)->seqName, g.grpName);
    fresh.AssignSeqsToGroups(0, pairs);
  }
};

}  // namespace

namespace {

int ReadProjectFrom(const ByteSource& source, const std::string& path, TDataProj& window,
                    int nameFilter, GridFileSettings* grid) {
  const std::string_view bytes = source.Bytes();
  Services& services = window.GetServices();
  if (bytes.size() < 14 || bytes.substr(4, 7) != "Nodrix_") {
    services.messages.Notify(path + "\r\n" + "is not a Nodrix file");
    return -1;
  }
  TDataProj fresh(services);
  fresh.NewDataset();
  Reader r{bytes, source, path, window, fresh, nameFilter, 1, false, {}, {}, {}, false, 0};
  const char digit = bytes[11];
  r.version = digit >= '0' && digit <= '9' ? digit - '0' : 1;
  if (grid) r.grid = *grid;
  r.grid.readFromFile = false;
  r.grid.geneticCodeLetters.clear();  // only this file's own block counts

  const ByteCursor all(bytes);
  std::uint16_t declared = 0;
  if (!all.PeekU16LEAt(16, declared))
    r.problems.push_back("the header ends at byte " + std::to_string(all.Size()) +
                         ", before the entry count");
  const std::uint64_t fit = all.Size() >= 18 ? (all.Size() - 18) / 4 : 0;
  const std::uint64_t entries = std::min<std::uint64_t>(declared, fit);
  if (entries < declared)
    r.problems.push_back("the entry table of " + std::to_string(declared) +
                         " entries is cut short after " + std::to_string(entries));
  r.ownProgress = declared >= 10;
  std::optional<ProgressScope> bar;
  if (r.ownProgress)
    bar.emplace(services.progress, static_cast<int>(entries) + 1,
                "Reading Nodrix Project file ...");
  for (std::uint64_t i = 0; i < entries; ++i) {
    std::uint32_t at = 0;
    all.PeekU32LEAt(18 + 4 * i, at);
    if (at != 0) {  // a zero entry stands for a dataset not written
      r.ReadEntry(i, at);
      source.Release(at);
    }
    if (bar) bar->Step(true);
  }
  bar.reset();

  std::sort(r.filteredOut.begin(), r.filteredOut.end(), std::greater<>());
  for (int index : r.filteredOut) (void)fresh.ReleaseDataset(index);
  // The dataset made for version 1 records stays only when nothing else would hold them.
  if (!r.placeholderUsed && (fresh.DatasetCount() > 1 || window.DatasetCount() > 0))
    (void)fresh.ReleaseDataset(0);
  if (r.version == 1) r.ApplyVersion1Membership();
  fresh.projFile = path;

  const int base = window.DatasetCount();
  const int added = fresh.DatasetCount();
  window.MergeProject(fresh, false);
  if (r.grid.readFromFile && r.grid.currentDataset >= 0 && r.grid.currentDataset < added)
    window.SetCurrent(base + r.grid.currentDataset);
  if (grid) *grid = r.grid;

  if (!r.problems.empty()) {
    std::string text = path + ": the file is damaged: " + r.problems.front();
    if (r.problems.size() > 1)
      text += " (and " + std::to_string(r.problems.size() - 1) + " more problem(s))";
    text += ". Read " + std::to_string(r.seqsRead) + " sequence(s) in " + std::to_string(added) +
            " dataset(s); \"Rescue corrupted *.psf or *.df file\" may recover more.";
    services.messages.ReportError(text);
  }
  return 0;
}

}  // namespace

int ReadProject(const std::string& path, TDataProj& window, int nameFilter,
                GridFileSettings* grid) {
  // Mapped rather than copied, and given back behind the reader: the file is never held
  // beside the project built from it.
  FileSource source;
  if (!source.Open(path)) {
    window.GetServices().messages.ReportError("Cannot open " + path);
    return -1;
  }
  return ReadProjectFrom(source, path, window, nameFilter, grid);
}

int ReadProjectBytes(std::string_view bytes, const std::string& path, TDataProj& window,
                     int nameFilter, GridFileSettings* grid) {
  return ReadProjectFrom(MemorySource(bytes), path, window, nameFilter, grid);
}
