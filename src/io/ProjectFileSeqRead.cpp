// SPDX-License-Identifier: GPL-3.0-or-later
// Reading one sequence record of the project file, any version. Every member is found
// through the record's offset table and must lie inside the bytes handed in; a record with a
// member outside them is refused whole, so no half-read sequence reaches a dataset.
#include <algorithm>

#include "io/ProjectFile.h"
#include "io/ProjectFileParts.h"

using namespace projfile;

namespace {

constexpr std::int32_t kMaxColumnShift = 100'000'000;

std::string At(std::uint64_t at) {
  return "byte " + std::to_string(at);
}

bool ReadRegion(const ByteCursor& all, std::uint64_t at, std::uint64_t recordStart, int version,
                TSeq& seq, std::string& problem) {
  std::vector<std::uint64_t> members;
  // Version 1 region tables count from the record's start, later versions from the region's.
  if (!BlockTable(all, at, version == 1 ? recordStart : at, members)) {
    problem = "the region table at " + At(at) + " does not fit";
    return false;
  }
  TRegion r;
  bool haveFlags = false;
  for (std::uint64_t p : members) {
    std::string_view tag;
    if (!all.PeekBytesAt(p + 4, 12, tag)) {
      problem = "a region member at " + At(p) + " lies outside the record";
      return false;
    }
    if (tag.substr(0, 11) == "REGFLAGS   ") {
      // The size field says 23; the layout decides how many bytes follow.
      const std::uint64_t need = version >= 3 ? 41 : 23;
      ByteCursor f;
      if (!all.SubAt(p, need, f)) {
        problem = "the region flags at " + At(p) + " lie outside the record";
        return false;
      }
      f.Seek(15);
      std::string_view last;
      f.ReadBytes(1, last);
      if (last[0] == 'R') r.regReverse = true;
      if (last[0] == 'F') r.regReverse = false;
      std::uint8_t code = 0;
      f.ReadU8(code);
      r.regType = static_cast<std::uint8_t>(RegionKindFor(code, version));
      if (version >= 3) {
        f.ReadI32LE(r.regId);
        f.ReadI32LE(r.regStart);
        f.ReadI32LE(r.regEnd);
        f.ReadI32LE(r.codonPos);
        f.ReadI32LE(r.prevId);
        f.ReadI32LE(r.nextId);
      } else {
        std::uint16_t start = 0, end = 0, codon = 0;
        f.ReadU16LE(start);
        f.ReadU16LE(end);
        f.ReadU16LE(codon);
        r.regStart = start;
        r.regEnd = end;
        r.codonPos = codon;
        r.regId = r.prevId = r.nextId = 0;
      }
      haveFlags = true;
      continue;
    }
    Member m;
    if (!MemberAt(all, p, m)) {
      problem = "a region member at " + At(p) + " lies outside the record";
      return false;
    }
    if (m.tag == "REG_NAME    ") r.regName.assign(m.payload);
    if (m.tag == "COMMENT_    ") r.regComment.assign(m.payload);
  }
  if (haveFlags) seq.AddRegion(r);
  return true;
}

std::vector<std::uint16_t> U16s(std::string_view payload) {
  std::vector<std::uint16_t> v(payload.size() / 2);
  const ByteCursor c(payload);
  for (std::size_t i = 0; i < v.size(); ++i) c.PeekU16LEAt(2 * i, v[i]);
  return v;
}

bool RunLengthDecode(std::string_view payload, std::vector<std::uint16_t>& out) {
  const ByteCursor c(payload);
  std::uint64_t total = 0;
  for (std::uint64_t i = 0; i + 4 <= payload.size(); i += 4) {
    std::uint16_t count = 0;
    c.PeekU16LEAt(i + 2, count);
    total += count;
  }
  if (total > kMaxTraceSamples) return false;
  out.clear();
  out.reserve(total);
  for (std::uint64_t i = 0; i + 4 <= payload.size(); i += 4) {
    std::uint16_t value = 0, count = 0;
    c.PeekU16LEAt(i, value);
    c.PeekU16LEAt(i + 2, count);
    out.insert(out.end(), count, value);
  }
  return true;
}

}  // namespace

std::unique_ptr<TSeq> ReadSeqRecord(std::string_view bytes, std::uint64_t offset, int version,
                                    std::string& problem) {
  const ByteCursor all(bytes);
  std::vector<std::uint64_t> members;
  if (!BlockTable(all, offset, offset, members)) {
    problem = "the member table of the sequence record at " + At(offset) + " does not fit";
    return nullptr;
  }
  auto seq = std::make_unique<TSeq>();
  std::uint8_t flags = 0;
  std::string_view channels[4];  // A, T, G, C as stored
  std::string_view peaks16, peaks32;
  bool havePeaks16 = false, havePeaks32 = false;
  for (std::uint64_t p : members) {
    std::string_view tag;
    if (all.PeekBytesAt(p + 4, 8, tag) && tag == "FREGIONS") {
      if (!ReadRegion(all, p, offset, version, *seq, problem)) return nullptr;
      continue;
    }
    Member m;
    if (!MemberAt(all, p, m)) {
      problem = "a member of the sequence record at " + At(offset) + " (at " + At(p) +
                ") lies outside it";
      return nullptr;
    }
    std::int32_t v = 0;
    if (m.Is("SEQFLAGS")) {
      if (m.payload.size() >= 4) {
        const ByteCursor c(m.payload);
        std::uint16_t id = 0;
        c.PeekU16LEAt(0, id);
        seq->seqId = id;
        seq->seqType =
            static_cast<std::uint8_t>(SeqTypeFor(static_cast<std::uint8_t>(m.payload[2])));
        flags = static_cast<std::uint8_t>(m.payload[3]);
      }
    } else if (m.Is("SEQ_NAME")) {
      seq->seqName.assign(m.payload);
    } else if (m.Is("SEQUENCE")) {
      seq->letters.assign(m.payload);
    } else if (m.Is("LOC_NAME")) {
      seq->locusName.assign(m.payload);
    } else if (m.Is("ORGANISM")) {
      seq->organism.assign(m.payload);
    } else if (m.Is("DEFINITN")) {
      seq->definition.assign(m.payload);
    } else if (m.Is("GBACCNUM")) {
      seq->accession.assign(m.payload);
    } else if (m.Is("GB_LINKS")) {
      seq->dbLinks.assign(m.payload);
    } else if (m.Is("CYTO_LOC")) {
      seq->cytoLocation.assign(m.payload);
    } else if (m.Is("SCOMMENT")) {
      seq->seqComment.assign(m.payload);
    } else if (m.Is("SORCFILE")) {
      seq->sourceFile.assign(m.payload);  // kept as stored, whether or not the file exists
    } else if (m.Is("WTR_FILE")) {
      seq->traceFile.assign(m.payload);
    } else if (m.Is("SEQPLOID")) {
      if (I32Of(m, v)) seq->ploidy = v;
    } else if (m.Is("GRP_NUM_")) {
      if (I32Of(m, v)) seq->groupNum = v;
    } else if (m.Is("INDIVNUM")) {
      if (I32Of(m, v)) seq->individId = v;
    } else if (m.Is("BADQUALL")) {
      if (I32Of(m, v)) seq->poorQualityLeft = v;
    } else if (m.Is("BADQUALR")) {
      if (I32Of(m, v)) seq->poorQualityRight = v;
    } else if (m.Is("SHIFT_RT")) {
      if (I32Of(m, v)) seq->columnShift = std::clamp(v, 0, kMaxColumnShift);
    } else if (m.Is("ASMBLPOS")) {
      if (I32Of(m, v)) seq->assemblyPos = v;
    } else if (m.Is("DBSEQ_ID")) {
      if (I32Of(m, v)) seq->dbSeqId = v;
    } else if (m.Is("DBCHRMID")) {
      if (I32Of(m, v)) seq->dbTraceId = v;
    } else if (m.Is("CHRNCOEF")) {
      if (m.size == 20) ByteCursor(m.payload).ReadF32LE(seq->traceScale);
    } else if (m.Is("SRCFTYPE")) {
      if (m.size == 17) seq->sourceFormat = static_cast<std::uint8_t>(m.payload[0]);
    } else if (m.Is("CHROMATA")) {
      channels[0] = m.payload;
    } else if (m.Is("CHROMATT")) {
      channels[1] = m.payload;
    } else if (m.Is("CHROMATG")) {
      channels[2] = m.payload;
    } else if (m.Is("CHROMATC")) {
      channels[3] = m.payload;
    } else if (m.Is("PEAKLOCK")) {
      peaks16 = m.payload;
      havePeaks16 = true;
    } else if (m.Is("PEAKPS32")) {
      peaks32 = m.payload;
      havePeaks32 = true;
    } else if (m.Is("QUAL_POS")) {
      seq->quality.assign(m.payload.begin(), m.payload.end());
    } else if (m.Is("POLS_POS")) {
      // The size field counts 2 bytes per value; each value takes 4.
      const std::uint64_t count = m.payload.size() / 2;
      std::string_view values;
      if (!all.PeekBytesAt(p + kFieldHeader, 4 * count, values)) {
        problem = "the polymorphic-site list at " + At(p) + " runs past the record";
        return nullptr;
      }
      const ByteCursor c(values);
      seq->polySitePos.resize(count);
      for (std::uint64_t i = 0; i < count; ++i) {
        std::uint32_t u = 0;
        c.PeekU32LEAt(4 * i, u);
        seq->polySitePos[i] = static_cast<std::int32_t>(u);
      }
    }
  }

  const bool plainTraces = (flags & 0x80) != 0;
  TRare<std::vector<std::uint16_t>>* targets[4] = {&seq->traceA, &seq->traceT, &seq->traceG,
                                                   &seq->traceC};
  for (int i = 0; i < 4; ++i) {
    if (channels[i].empty()) continue;
    if (plainTraces) {
      *targets[i] = U16s(channels[i]);
    } else if (!RunLengthDecode(channels[i], targets[i]->Mut())) {
      problem = "a run-length coded trace of sequence " + seq->seqName + " expands beyond " +
                std::to_string(kMaxTraceSamples) + " samples";
      return nullptr;
    }
  }
  if (havePeaks32) {
    const ByteCursor c(peaks32);
    seq->peakPos.resize(peaks32.size() / 4);
    for (std::size_t i = 0; i < seq->peakPos.size(); ++i) {
      std::uint32_t u = 0;
      c.PeekU32LEAt(4 * i, u);
      seq->peakPos[i] = static_cast<std::int32_t>(u);
    }
  } else if (havePeaks16) {
    const std::vector<std::uint16_t> p16 = U16s(peaks16);
    seq->peakPos.assign(p16.begin(), p16.end());
  }

  seq->selected = flags & 0x01;
  seq->enabled = flags & 0x02;
  seq->plusStrand = flags & 0x04;
  seq->reversed = flags & 0x08;
  seq->unnamedFlag = flags & 0x10;
  seq->showTrace = flags & 0x20;
  seq->showRegions = true;
  seq->hasTrace = seq->HasTrace();
  if (!seq->hasTrace) {
    // Incomplete channels are dropped; the peak list stays, it may hold SNP positions.
    seq->showTrace = false;
    for (auto* ch : targets) ch->clear();
  }
  if (seq->sourceFormat == 0) seq->sourceFormat = 2;
  seq->SyncLength();
  return seq;
}
