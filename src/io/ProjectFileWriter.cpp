// SPDX-License-Identifier: GPL-3.0-or-later
// Writers of the project file: version 3 for a whole project (groups, individuals, one
// DATA_SEQ per dataset with sequences, the grid settings) and version 1 for one dataset.
// Every count, size and position is checked against its field before it is written: a value
// that does not fit fails the save with a message, and the previous file stays untouched.
// Records go out one at a time (to memory or through a fixed buffer to the file); the sizes
// and offset tables that describe them are filled in once they are known.
#include <functional>
#include <limits>

#include "io/BinarySource.h"
#include "io/ProjectFile.h"
#include "io/ProjectFileParts.h"

using namespace projfile;

namespace {

bool TooBig(std::uint64_t v, std::uint64_t max, const std::string& what, std::string& error) {
  if (v <= max) return false;
  error = what + " (" + std::to_string(v) + ") does not fit its " + (max == kMaxU16 ? "16" : "32") +
          "-bit field in the project file";
  return true;
}

// File header: size (written last), magic, blanks, entry count, zero entries.
void StartFile(PatchableSink& sink, char version, std::size_t entries) {
  std::string out;
  ByteWriter w(out);
  w.U32LE(0);
  w.Bytes("Nodrix_");
  w.U8(static_cast<std::uint8_t>(version));
  w.Bytes("    ");
  w.U16LE(static_cast<std::uint16_t>(entries));
  w.Zeros(4 * std::uint64_t{entries});
  sink.Put(out);
}

// A table of u32 values as its bytes.
std::string U32Table(const std::vector<std::uint64_t>& values) {
  std::string out;
  ByteWriter w(out);
  for (const std::uint64_t v : values) w.U32LE(static_cast<std::uint32_t>(v));
  return out;
}

bool EncodeGroups(const TDataProj& project, std::string& out, std::string& error) {
  const std::vector<TGroup>& groups = project.Groups();
  BlockBuilder top(Tag("GROUPS__"), groups.size(), 0);
  for (const TGroup& g : groups) {
    BlockBuilder b(Tag("GROUP___"), 7, top.NextMemberOffset());
    std::string m;
    PutText(m, "GRP_NAME", g.grpName);
    b.Add(m);
    m.clear();
    PutText(m, "GRP_COMM", g.grpComment);
    b.Add(m);
    for (const auto& [tag, v] : {std::pair{"GROUP_ID", g.grpDbId},
                                 {"G_LOC_ID", g.grpLocationId},
                                 {"GRPINDEX", g.grpKey},
                                 {"GRP__TAG", g.grpTag},
                                 {"GRPARENT", g.grpParent}}) {
      m.clear();
      PutI32(m, tag, v);
      b.Add(m);
    }
    std::string block;
    if (!b.Finish(block, 0, error)) return false;
    top.Add(block);
  }
  return top.Finish(out, 0, error);
}

bool EncodeIndivids(const TDataProj& project, std::string& out, std::string& error) {
  const std::vector<TIndivid>& individs = project.Individs();
  BlockBuilder top(Tag("INDIVIDS"), individs.size(), 0);
  for (const TIndivid& ind : individs) {
    BlockBuilder b(Tag("INDIVID_"), 12 + ind.attributes.size(), top.NextMemberOffset());
    std::string m;
    PutText(m, "IND_NAME", ind.indName);
    b.Add(m);
    m.clear();
    PutText(m, "IND_COMM", ind.indComment);
    b.Add(m);
    for (const auto& [tag, v] : {std::pair{"INDIV_ID", ind.indDbId},
                                 {"I_LOC_ID", ind.indLocationId},
                                 {"INDINDEX", ind.indKey},
                                 {"IND_GRPN", ind.indGroup},
                                 {"IND__SPC", ind.indSpecies},
                                 {"IND__TAG", ind.indTag}}) {
      m.clear();
      PutI32(m, tag, v);
      b.Add(m);
    }
    for (const auto& [tag, v] : {std::pair{"IND__LAT", ind.latitude},
                                 {"IND__LON", ind.longitude},
                                 {"IND__ALT", ind.altitude}}) {
      m.clear();
      PutF32(m, tag, static_cast<float>(v));
      b.Add(m);
    }
    m.clear();
    PutI32(m, "IND__RES", ind.indReserved);
    b.Add(m);
    for (const sir& a : ind.attributes) {
      BlockBuilder s(Tag("INDARSIR"), 4, b.NextMemberOffset());
      m.clear();
      PutI32(m, "SIRINTEG", a.sirInt);
      s.Add(m);
      m.clear();
      if (!PutReal8(m, "SIR_REAL", a.sirReal)) {
        error = "Individual " + ind.indName + ": the value " + std::to_string(a.sirReal) +
                " of attribute " + a.sirName + " does not fit the file's 8-byte real";
        return false;
      }
      s.Add(m);
      m.clear();
      PutText(m, "SIR_NAME", a.sirText);  // the value text goes under SIR_NAME, the name under
      s.Add(m);                           // SIR_SVAL: files have always been written so
      m.clear();
      PutText(m, "SIR_SVAL", a.sirName);
      s.Add(m);
      std::string block;
      if (!s.Finish(block, 0, error)) return false;
      b.Add(block);
    }
    std::string block;
    if (!b.Finish(block, 0, error)) return false;
    top.Add(block);
  }
  return top.Finish(out, 0, error);
}

bool EncodeDataset(const TDataSeq& ds, PatchableSink& sink, std::string& error) {
  const int rows = ds.Count();
  const std::size_t members = !ds.dsName.empty() + !ds.dsComment.empty() +
                              !ds.dsSourceFile.empty() + 1 + static_cast<std::size_t>(rows);
  if (TooBig(members, kMaxU16, "The number of sequences of dataset " + ds.dsName, error))
    return false;
  const std::uint64_t start = sink.Position();
  std::vector<std::uint64_t> offsets;
  offsets.reserve(members);
  std::string m;
  {
    ByteWriter w(m);
    w.U32LE(0);  // the size, once known
    w.Bytes(Tag("DATA_SEQ", '\0'));
    w.U16LE(static_cast<std::uint16_t>(members));
    w.Zeros(4 * std::uint64_t{members});
  }
  sink.Put(m);
  const auto put = [&] {
    offsets.push_back(sink.Position() - start);
    sink.Put(m);
  };
  for (const auto& [tag, text] : {std::pair{"DSEQNAME", &ds.dsName},
                                  {"DSCOMENT", &ds.dsComment},
                                  {"DSRCFILE", &ds.dsSourceFile}})
    if (!text->empty()) {
      m.clear();
      PutText(m, tag, *text);
      put();
    }
  m.clear();
  ByteWriter w(m);
  w.U32LE(24);
  w.Bytes(Tag("DSGENPOS"));
  w.I32LE(ds.chromosome);
  w.I32LE(ds.genePosition);
  put();
  std::uint64_t spare = 0;
  for (int row = 1; row <= rows; ++row) {
    m.clear();
    const TSeq& seq = *ds.SeqAt(row);
    if (!WriteSeqRecord(seq, m, 3, error)) {
      error = "Dataset " + ds.dsName + ": " + error;
      return false;
    }
    spare += SeqRecordSize(seq) - m.size();
    put();
  }
  if (sink.Position() - start > kMaxU32) {
    error = "block DATA_SEQ of " + std::to_string(sink.Position() - start) +
            " bytes does not fit the file's 32-bit sizes";
    return false;
  }
  // Record sizes claim more than the records take; the block keeps the surplus at its end.
  const std::uint64_t size = sink.Position() - start + spare;
  if (TooBig(size, kMaxU32, "The size of dataset " + ds.dsName, error)) return false;
  sink.Put(std::string(spare, '\0'));
  sink.Patch(start, U32Table({size}));
  sink.Patch(start + 18, U32Table(offsets));
  return true;
}

void EncodeGridSettings(const GridFileSettings& g, std::int32_t current, std::string& out) {
  ByteWriter w(out);
  w.U32LE(156);
  w.Bytes(Tag("DSWINPAR"));
  const auto colour = [&](int slot) { w.U32LE(g.colours[static_cast<std::size_t>(slot)]); };
  w.I32LE(current);
  w.I32LE(g.gridValue2);
  w.I32LE(g.letterMargin);
  w.I32LE(g.textMargin);
  w.I32LE(g.bigStep);
  for (int slot : {21, 22, 23}) colour(slot);
  w.I32LE(g.cursorPenWidth);
  for (int slot : {24, 25, 26, 27, 0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14, 15, 16, 18, 19})
    colour(slot);
  w.I32LE(current);
  w.Zeros(12);
}

bool EncodeProject(const TDataProj& project, const GridFileSettings& grid, PatchableSink& sink,
                   std::string& error) {
  if (project.DatasetCount() == 0) {
    error = "The project has no datasets; nothing was written";
    return false;
  }
  const bool groups = project.GroupCount() > 0, individs = project.IndividCount() > 0;
  const bool code = grid.geneticCodeLetters.size() == 64;
  const std::uint64_t entries = 1 + !project.projComment.empty() + groups + individs +
                                static_cast<std::uint64_t>(project.DatasetCount()) + 1 + code;
  if (TooBig(entries, kMaxU16,
             "The number of entries (" + std::to_string(project.DatasetCount()) +
                 " datasets and the project's records)",
             error))
    return false;
  StartFile(sink, '3', entries);
  std::vector<std::uint64_t> positions;
  const auto mark = [&] { positions.push_back(sink.Position()); };
  std::string out;
  mark();
  PutText(out, "PROJNAME", project.projName);
  if (!project.projComment.empty()) {
    sink.Put(out);
    out.clear();
    mark();
    PutText(out, "PCOMMENT", project.projComment);
  }
  sink.Put(out);
  out.clear();
  if (groups) {
    mark();
    if (!EncodeGroups(project, out, error)) return false;
    sink.Put(out);
    out.clear();
  }
  if (individs) {
    mark();
    if (!EncodeIndivids(project, out, error)) return false;
    sink.Put(out);
    out.clear();
  }
  for (int d = 0; d < project.DatasetCount(); ++d) {
    const TDataSeq& ds = *project.DatasetAt(d);
    if (ds.Count() == 0) continue;  // its entry stays 0
    mark();
    if (!EncodeDataset(ds, sink, error)) return false;
  }
  mark();
  EncodeGridSettings(grid, project.CurrentIndex(), out);
  sink.Put(out);
  if (code) {
    // After the grid block, so readers that know only the older blocks find them in place.
    out.clear();
    mark();
    PutText(out, "GENCODE_",
            std::to_string(grid.geneticCodeId) + "," + grid.geneticCodeLetters + "," +
                grid.geneticCodeName);
    sink.Put(out);
  }
  if (TooBig(sink.Position(), kMaxU32, "The project file size", error)) return false;
  sink.Patch(18, U32Table(positions));
  sink.Patch(0, U32Table({sink.Position()}));
  return true;
}

bool EncodeDatasetFile(const TDataSeq& dataset, PatchableSink& sink, std::string& error) {
  const int rows = dataset.Count();
  if (TooBig(static_cast<std::uint64_t>(rows), kMaxU16,
             "The number of sequences of dataset " + dataset.dsName, error))
    return false;
  StartFile(sink, '1', static_cast<std::size_t>(rows));
  std::vector<std::uint64_t> positions;
  std::string m;
  for (int row = 1; row <= rows; ++row) {
    const TSeq* seq = dataset.SeqAt(row);
    std::unique_ptr<TSeq> padded;
    if (seq->columnShift > 0) {
      // The shift becomes leading gaps in a copy; the window's sequence keeps its shift.
      padded = seq->Clone();
      padded->enabled = true;
      padded->InsertLetters(1, std::string(static_cast<std::size_t>(seq->columnShift), '-'), false,
                            0);
      padded->enabled = seq->enabled;
      padded->columnShift = 0;
      seq = padded.get();
    }
    const std::uint64_t at = sink.Position();
    if (TooBig(at, kMaxU32, "The position of sequence " + seq->seqName, error)) return false;
    m.clear();
    if (!WriteSeqRecord(*seq, m, 1, error)) return false;
    sink.Put(m);
    positions.push_back(at);
  }
  if (TooBig(sink.Position(), kMaxU32, "The dataset file size", error)) return false;
  if (!positions.empty()) sink.Patch(18, U32Table(positions));
  sink.Patch(0, U32Table({sink.Position()}));
  return true;
}

// Streams the file to a temporary file; a failure anywhere keeps the previous file.
bool SaveStreamed(const std::string& path, Services& services,
                  const std::function<bool(PatchableSink&, std::string&)>& encode) {
  std::string error;
  AtomicFileSink sink(path);
  if (!encode(sink, error) || !sink.Commit(error)) {
    services.messages.ReportError(path + ": " + error);
    return false;
  }
  return true;
}

}  // namespace

bool BuildProjectFile(const TDataProj& project, const GridFileSettings& grid, std::string& out,
                      std::string& error) {
  out.clear();
  StringPatchSink sink(out);
  return EncodeProject(project, grid, sink, error);
}

bool WriteProject(const std::string& path, const TDataProj& project, const GridFileSettings& grid) {
  return SaveStreamed(path, project.GetServices(), [&](PatchableSink& sink, std::string& error) {
    return EncodeProject(project, grid, sink, error);
  });
}

bool BuildDatasetFile(const TDataSeq& dataset, std::string& out, std::string& error) {
  out.clear();
  StringPatchSink sink(out);
  return EncodeDatasetFile(dataset, sink, error);
}

bool WriteDatasetFile(const std::string& path, const TDataSeq& dataset) {
  return SaveStreamed(path, dataset.GetServices(), [&](PatchableSink& sink, std::string& error) {
    return EncodeDatasetFile(dataset, sink, error);
  });
}
