// SPDX-License-Identifier: GPL-3.0-or-later
// The sequence record (SEQSTRUC) of the project file: writing in the version 1 and version 3
// layouts, its size rule, and reading any version. Peak lists that a 16-bit PEAKLOCK cannot
// hold (SNP genomic positions, peaks of sequences without traces, very long traces) go to an
// extra PEAKPS32 field of 32-bit values, which older readers skip as an unknown tag.
#include <algorithm>
#include <array>

#include "io/ProjectFile.h"
#include "io/ProjectFileParts.h"

using namespace projfile;

namespace {

struct TextField {
  const char* tag;
  const std::string& (*text)(const TSeq&);
};
// Plain and rarely set text members alike read as a string.
template <auto Member>
const std::string& TextOf(const TSeq& seq) {
  return seq.*Member;
}
// SEQUENCE (the letters) sits second; the order is the order written.
constexpr std::array<TextField, 11> kTextFields = {{
    {"SEQ_NAME", &TextOf<&TSeq::seqName>},
    {"SEQUENCE", &TextOf<&TSeq::letters>},
    {"LOC_NAME", &TextOf<&TSeq::locusName>},
    {"ORGANISM", &TextOf<&TSeq::organism>},
    {"DEFINITN", &TextOf<&TSeq::definition>},
    {"GBACCNUM", &TextOf<&TSeq::accession>},
    {"GB_LINKS", &TextOf<&TSeq::dbLinks>},
    {"CYTO_LOC", &TextOf<&TSeq::cytoLocation>},
    {"SCOMMENT", &TextOf<&TSeq::seqComment>},
    {"SORCFILE", &TextOf<&TSeq::sourceFile>},
    {"WTR_FILE", &TextOf<&TSeq::traceFile>},
}};

bool PeaksFit16(const std::vector<std::int32_t>& peaks) {
  return std::all_of(peaks.begin(), peaks.end(),
                     [](std::int32_t p) { return p >= 0 && p <= 0xFFFF; });
}

// Where the peaks go: PEAKLOCK beside the traces when every peak fits 16 bits, else PEAKPS32.
struct PeakPlan {
  bool traces = false;
  bool peakLock = false;
  bool wide = false;
};
PeakPlan PlanPeaks(const TSeq& seq) {
  PeakPlan p;
  p.traces = seq.HasTrace();
  const bool fit = PeaksFit16(seq.peakPos);
  p.peakLock = p.traces && fit;
  p.wide = !seq.peakPos.empty() && !p.peakLock;
  return p;
}

std::uint8_t FlagByte(const TSeq& s, bool traceBit) {
  return static_cast<std::uint8_t>(s.selected | s.enabled << 1 | s.plusStrand << 2 |
                                   s.reversed << 3 | s.unnamedFlag << 4 | s.showTrace << 5 |
                                   s.showRegions << 6 | traceBit << 7);
}

std::string PlainSamples(std::string_view name8, const std::vector<std::uint16_t>& samples) {
  std::string out;
  ByteWriter w(out);
  w.U32LE(static_cast<std::uint32_t>(kFieldHeader + 2 * samples.size()));
  w.Bytes(Tag(name8));
  for (std::uint16_t v : samples) w.U16LE(v);
  return out;
}

// Runs longer than a 16-bit count are split, so nothing is cut.
std::string RunLengthSamples(std::string_view name8, const std::vector<std::uint16_t>& samples) {
  std::string pairs;
  ByteWriter w(pairs);
  std::size_t i = 0;
  while (i < samples.size()) {
    std::size_t j = i;
    while (j < samples.size() && samples[j] == samples[i] && j - i < kMaxU16) ++j;
    w.U16LE(samples[i]);
    w.U16LE(static_cast<std::uint16_t>(j - i));
    i = j;
  }
  std::string out;
  ByteWriter h(out);
  h.U32LE(static_cast<std::uint32_t>(kFieldHeader + pairs.size()));
  h.Bytes(Tag(name8));
  out += pairs;
  return out;
}

bool RegionBlock(const TSeq& seq, const TRegion& r, int version, std::uint64_t shift,
                 std::string& out, std::string& error) {
  const std::size_t members = 1 + !r.regName.empty() + !r.regComment.empty();
  BlockBuilder b(Tag("FREGIONS"), members, shift);
  std::string flags;
  ByteWriter w(flags);
  const int code = RegionCodeFor(r.regType, version);
  if (version == 1) {
    for (std::int32_t v : {r.regStart, r.regEnd, r.codonPos})
      if (v < 0 || v > static_cast<std::int32_t>(kMaxU16)) {
        error = "Sequence " + seq.seqName + ": region " + r.regName + " (" +
                std::to_string(r.regStart) + ".." + std::to_string(r.regEnd) +
                ") holds the value " + std::to_string(v) +
                ", which does not fit the 16-bit field of a version 1 file";
        return false;
      }
    w.U32LE(23);
    w.Bytes(Tag("REGFLAGS", r.regReverse ? 'R' : 'F'));
    w.U8(static_cast<std::uint8_t>(code));
    for (std::int32_t v : {r.regStart, r.regEnd, r.codonPos})
      w.U16LE(static_cast<std::uint16_t>(v));
  } else {
    w.U32LE(23);  // the size field of this member has always said 23 for its 41 bytes
    w.Bytes(Tag("REGFLAGS", r.regReverse ? 'R' : 'F'));
    w.U8(static_cast<std::uint8_t>(code));
    for (std::int32_t v : {r.regId, r.regStart, r.regEnd, r.codonPos, r.prevId, r.nextId})
      w.I32LE(v);
  }
  b.Add(flags);
  std::string text;
  if (!r.regName.empty()) {
    PutText(text, "REG_NAME", r.regName);
    b.Add(text);
    text.clear();
  }
  if (!r.regComment.empty()) {
    PutText(text, "COMMENT_", r.regComment);
    b.Add(text);
  }
  const std::uint64_t size = 45 + (r.regName.empty() ? 0 : r.regName.size() + 20) +
                             (r.regComment.empty() ? 0 : r.regComment.size() + 20);
  return b.Finish(out, size, error);
}

}  // namespace

std::uint64_t SeqRecordSize(const TSeq& seq) {
  std::uint64_t size = 16;
  std::uint64_t members = 11;  // SEQFLAGS and the ten fixed-size fields
  for (const TextField& f : kTextFields)
    if (!f.text(seq).empty()) {
      size += f.text(seq).size() + 16;
      ++members;
    }
  size += 237;
  if (!seq.quality.empty()) {
    size += seq.quality.size() + 16;
    ++members;
  }
  const PeakPlan plan = PlanPeaks(seq);
  if (plan.traces) {
    for (const auto* ch : {&seq.traceA, &seq.traceT, &seq.traceG, &seq.traceC})
      size += 2 * std::uint64_t{ch->size()} + 16;
    members += 4;
  }
  if (plan.peakLock || plan.wide) {
    size += (plan.wide ? 4 : 2) * std::uint64_t{seq.peakPos.size()} + 16;
    ++members;
  }
  if (!seq.polySitePos.empty()) {
    size += 4 * std::uint64_t{seq.polySitePos.size()} + 16;
    ++members;
  }
  for (const TRegion& r : seq.regions) {
    size += 63 + (r.regName.empty() ? 0 : r.regName.size() + 20) +
            (r.regComment.empty() ? 0 : r.regComment.size() + 20);
    ++members;
  }
  return size + 4 * (members + 1) + 2;
}

bool WriteSeqRecord(const TSeq& seq, std::string& out, int version, std::string& error) {
  const bool v1 = version == 1;
  if (SeqRecordSize(seq) > kMaxU32) {
    error = "Sequence " + seq.seqName + " needs " + std::to_string(SeqRecordSize(seq)) +
            " bytes, more than a project file record can hold";
    return false;
  }
  const PeakPlan plan = PlanPeaks(seq);
  std::size_t members = (v1 ? 9 : 11) + seq.regions.size() + (plan.traces ? 4 : 0) +
                        (plan.peakLock || plan.wide) + !seq.quality.empty() +
                        (!v1 && !seq.polySitePos.empty());
  for (const TextField& f : kTextFields) members += !f.text(seq).empty();
  BlockBuilder b(Tag("SEQSTRUC"), members, 0);

  std::string m;
  auto add = [&] {
    b.Add(m);
    m.clear();
  };
  {
    ByteWriter w(m);
    w.U32LE(20);
    w.Bytes(Tag("SEQFLAGS"));
    // The stored id is never read back (the dataset hands out ids); one past 16 bits is 0.
    w.U16LE(seq.seqId >= 0 && seq.seqId <= 0xFFFF ? static_cast<std::uint16_t>(seq.seqId) : 0);
    w.U8(static_cast<std::uint8_t>(SeqTypeCodeFor(seq.seqType)));
    w.U8(FlagByte(seq, !v1 && plan.traces));
    add();
  }
  for (const TextField& f : kTextFields)
    if (!f.text(seq).empty()) {
      PutText(m, f.tag, f.text(seq));
      add();
    }
  if (!v1) {
    PutI32(m, "SEQPLOID", seq.ploidy);
    add();
  }
  const std::pair<const char*, std::int32_t> ints[] = {
      {"GRP_NUM_", seq.groupNum},        {"INDIVNUM", seq.individId},
      {"BADQUALL", seq.poorQualityLeft}, {"BADQUALR", seq.poorQualityRight},
      {"SHIFT_RT", seq.columnShift},     {"ASMBLPOS", seq.assemblyPos}};
  for (const auto& [tag, v] : ints) {
    PutI32(m, tag, v);
    add();
  }
  PutF32(m, "CHRNCOEF", seq.traceScale);
  add();
  if (!v1) {
    PutI32(m, "DBSEQ_ID", seq.dbSeqId);
    add();
  }
  PutU8(m, "SRCFTYPE", seq.sourceFormat);
  add();
  for (const TRegion& r : seq.regions) {
    // Version 1 region tables count from the record's start, later versions from the region's.
    if (!RegionBlock(seq, r, version, v1 ? b.NextMemberOffset() : 0, m, error)) return false;
    add();
  }
  if (plan.traces) {
    const std::pair<const char*, const std::vector<std::uint16_t>*> channels[] = {
        {"CHROMATA", &seq.traceA.get()},
        {"CHROMATT", &seq.traceT.get()},
        {"CHROMATG", &seq.traceG.get()},
        {"CHROMATC", &seq.traceC.get()}};
    for (const auto& [tag, ch] : channels) {
      m = v1 ? RunLengthSamples(tag, *ch) : PlainSamples(tag, *ch);
      add();
    }
  }
  if (plan.peakLock || plan.wide) {
    ByteWriter w(m);
    w.U32LE(static_cast<std::uint32_t>(kFieldHeader + (plan.wide ? 4 : 2) * seq.peakPos.size()));
    w.Bytes(Tag(plan.wide ? "PEAKPS32" : "PEAKLOCK"));
    for (std::int32_t p : seq.peakPos)
      if (plan.wide)
        w.I32LE(p);
      else
        w.U16LE(static_cast<std::uint16_t>(p));
    add();
  }
  if (!seq.quality.empty()) {
    PutText(
        m, "QUAL_POS",
        std::string_view(reinterpret_cast<const char*>(seq.quality.data()), seq.quality.size()));
    add();
  }
  if (!v1 && !seq.polySitePos.empty()) {
    // The size field counts 2 bytes per value although each value takes 4; readers know.
    ByteWriter w(m);
    w.U32LE(static_cast<std::uint32_t>(kFieldHeader + 2 * seq.polySitePos.size()));
    w.Bytes(Tag("POLS_POS"));
    for (std::int32_t p : seq.polySitePos) w.I32LE(p);
    add();
  }
  std::string record;
  if (!b.Finish(record, v1 ? 0 : SeqRecordSize(seq), error)) return false;
  out += record;
  return true;
}
