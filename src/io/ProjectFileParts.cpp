// SPDX-License-Identifier: GPL-3.0-or-later
// Field encoders, the block builder, bounded member access and the kind code tables of the
// project file.
#include "io/ProjectFileParts.h"

#include <array>
#include <cmath>
#include <limits>

#include "common/NumberFormat.h"
#include "model/tsequnit.h"

namespace projfile {

std::string Tag(std::string_view name8, char last) {
  std::string tag(name8.substr(0, 8));
  tag.resize(8, ' ');
  tag += "   ";
  tag.push_back(last);
  return tag;
}

namespace {

void PutHeader(std::string& out, std::string_view name8, std::uint64_t payload) {
  ByteWriter w(out);
  w.U32LE(static_cast<std::uint32_t>(kFieldHeader + payload));
  w.Bytes(Tag(name8));
}

}  // namespace

void PutText(std::string& out, std::string_view name8, std::string_view text) {
  PutHeader(out, name8, text.size());
  out.append(text);
}

void PutI32(std::string& out, std::string_view name8, std::int32_t v) {
  PutHeader(out, name8, 4);
  ByteWriter(out).I32LE(v);
}

void PutU8(std::string& out, std::string_view name8, std::uint8_t v) {
  PutHeader(out, name8, 1);
  ByteWriter(out).U8(v);
}

void PutF32(std::string& out, std::string_view name8, float v) {
  PutHeader(out, name8, 4);
  ByteWriter(out).F32LE(v);
}

bool PutReal8(std::string& out, std::string_view name8, double v) {
  if (!std::isfinite(v)) return false;
  double whole = std::trunc(v);
  long long millionths = RoundHalfEven((v - whole) * 1e6);
  if (millionths >= 1000000 || millionths <= -1000000) {  // rounding reached the next unit
    whole += millionths > 0 ? 1 : -1;
    millionths = 0;
  }
  if (whole > std::numeric_limits<std::int32_t>::max() ||
      whole < std::numeric_limits<std::int32_t>::min())
    return false;
  PutHeader(out, name8, 8);
  ByteWriter w(out);
  w.I32LE(static_cast<std::int32_t>(whole));
  w.I32LE(static_cast<std::int32_t>(millionths));
  return true;
}

double Real8Value(std::int32_t integerPart, std::int32_t millionths) {
  return static_cast<double>(integerPart) + static_cast<double>(millionths) / 1e6;
}

BlockBuilder::BlockBuilder(std::string tag12, std::size_t members, std::uint64_t shift)
    : tag_(std::move(tag12)), expected_(members), shift_(shift) {
  offsets_.reserve(members);
}

std::uint64_t BlockBuilder::NextMemberOffset() const {
  return shift_ + HeaderSize() + body_.size();
}

void BlockBuilder::Add(std::string_view member) {
  offsets_.push_back(NextMemberOffset());
  body_.append(member);
}

bool BlockBuilder::Finish(std::string& out, std::uint64_t sizeField, std::string& error) {
  if (offsets_.size() != expected_) {
    error = "internal: block " + tag_ + " built with a wrong member count";
    return false;
  }
  if (expected_ > kMaxU16) {
    error = "block " + tag_.substr(0, 8) + " would hold " + std::to_string(expected_) +
            " members; the file's 16-bit count holds at most 65535";
    return false;
  }
  const std::uint64_t size = sizeField != 0 ? sizeField : HeaderSize() + body_.size();
  if (size > kMaxU32 || shift_ + HeaderSize() + body_.size() > kMaxU32) {
    error = "block " + tag_.substr(0, 8) + " of " + std::to_string(size) +
            " bytes does not fit the file's 32-bit sizes";
    return false;
  }
  ByteWriter w(out);
  w.U32LE(static_cast<std::uint32_t>(size));
  w.Bytes(tag_);
  w.U16LE(static_cast<std::uint16_t>(expected_));
  for (std::uint64_t o : offsets_) w.U32LE(static_cast<std::uint32_t>(o));
  out.append(body_);
  return true;
}

bool MemberAt(const ByteCursor& bytes, std::uint64_t at, Member& out) {
  std::uint32_t size = 0;
  if (!bytes.PeekU32LEAt(at, size) || size < kFieldHeader || !bytes.FitsAt(at, size)) return false;
  out.at = at;
  out.size = size;
  bytes.PeekBytesAt(at + 4, 12, out.tag);
  bytes.PeekBytesAt(at + kFieldHeader, size - kFieldHeader, out.payload);
  return true;
}

bool BlockTable(const ByteCursor& bytes, std::uint64_t at, std::uint64_t base,
                std::vector<std::uint64_t>& positions) {
  std::uint16_t n = 0;
  if (!bytes.PeekU16LEAt(at + kFieldHeader, n) || !bytes.FitsAt(at + 18, 4 * std::uint64_t{n}))
    return false;
  positions.resize(n);
  for (std::uint64_t i = 0; i < n; ++i) {
    std::uint32_t rel = 0;
    bytes.PeekU32LEAt(at + 18 + 4 * i, rel);
    positions[i] = base + rel;
  }
  return true;
}

bool I32Of(const Member& m, std::int32_t& v) {
  if (m.size != 20) return false;
  const ByteCursor c(m.payload);
  std::uint32_t u = 0;
  c.PeekU32LEAt(0, u);
  v = static_cast<std::int32_t>(u);
  return true;
}

namespace {

// Version 1 codes 1..17 in file-code order.
constexpr std::array<int, 17> kVersion1Kinds = {
    kRegIntron,   kRegExon,      kRegOrf,          kRegPromotor,      kRegEnhancer, kRegRestrSite,
    kRegCds,      kRegNoncoding, kRegStartTranscr, kRegSilencer,      kRegPrimer,   kRegSts,
    kRegSequence, kRegRepeat,    kRegMisc,         kRegMobileElement, kRegSnp};
constexpr int kSequenceKindCode = 27;
constexpr int kRflpTypeCode = 8;

}  // namespace

int RegionCodeFor(int kind, int version) {
  if (version == 1) {
    for (std::size_t i = 0; i < kVersion1Kinds.size(); ++i)
      if (kVersion1Kinds[i] == kind) return static_cast<int>(i) + 1;
    return 0;
  }
  if (kind == kRegSequence) return kSequenceKindCode;
  return RegionKindToFileCode(kind);
}

int RegionKindFor(int code, int version) {
  if (version == 1)
    return code >= 1 && code <= 17 ? kVersion1Kinds[static_cast<std::size_t>(code - 1)]
                                   : kRegUnknown;
  if (code == kSequenceKindCode) return kRegSequence;
  return RegionKindFromFileCode(code);
}

int SeqTypeCodeFor(int seqType) {
  if (seqType == kSeqRflp) return kRflpTypeCode;
  return SeqTypeToFileCode(seqType);
}

int SeqTypeFor(int code) {
  if (code >= 1 && code <= 6) return code - 1;  // DNA .. SNP
  if (code == 7) return kSeqAllozymes;
  if (code == kRflpTypeCode) return kSeqRflp;
  return kSeqUnknown;
}

}  // namespace projfile
