// SPDX-License-Identifier: GPL-3.0-or-later
// ByteCursor and ByteWriter: fixed-width integers in both byte orders, bounds checked.
#include "io/ByteCursor.h"

#include <bit>
#include <cstring>

namespace {

std::uint32_t Load(std::string_view b, std::uint64_t at, int width, bool bigEndian) {
  std::uint32_t v = 0;
  for (int i = 0; i < width; ++i) {
    const auto byte = static_cast<std::uint8_t>(b[at + static_cast<std::uint64_t>(i)]);
    const int shift = bigEndian ? 8 * (width - 1 - i) : 8 * i;
    v |= static_cast<std::uint32_t>(byte) << shift;
  }
  return v;
}

}  // namespace

bool ByteCursor::Seek(std::uint64_t offset) {
  if (offset > bytes_.size()) return false;
  pos_ = offset;
  return true;
}

bool ByteCursor::Skip(std::uint64_t length) {
  if (!Fits(length)) return false;
  pos_ += length;
  return true;
}

bool ByteCursor::ReadU8(std::uint8_t& v) {
  if (!Fits(1)) return false;
  v = static_cast<std::uint8_t>(bytes_[pos_]);
  ++pos_;
  return true;
}

bool ByteCursor::ReadU16LE(std::uint16_t& v) {
  if (!PeekU16LEAt(pos_, v)) return false;
  pos_ += 2;
  return true;
}

bool ByteCursor::ReadU16BE(std::uint16_t& v) {
  if (!PeekU16BEAt(pos_, v)) return false;
  pos_ += 2;
  return true;
}

bool ByteCursor::ReadU32LE(std::uint32_t& v) {
  if (!PeekU32LEAt(pos_, v)) return false;
  pos_ += 4;
  return true;
}

bool ByteCursor::ReadU32BE(std::uint32_t& v) {
  if (!PeekU32BEAt(pos_, v)) return false;
  pos_ += 4;
  return true;
}

bool ByteCursor::ReadI32LE(std::int32_t& v) {
  std::uint32_t u = 0;
  if (!ReadU32LE(u)) return false;
  v = static_cast<std::int32_t>(u);
  return true;
}

bool ByteCursor::ReadF32LE(float& v) {
  std::uint32_t u = 0;
  if (!ReadU32LE(u)) return false;
  v = std::bit_cast<float>(u);
  return true;
}

bool ByteCursor::ReadBytes(std::uint64_t length, std::string_view& out) {
  if (!PeekBytesAt(pos_, length, out)) return false;
  pos_ += length;
  return true;
}

bool ByteCursor::PeekU16LEAt(std::uint64_t offset, std::uint16_t& v) const {
  if (!FitsAt(offset, 2)) return false;
  v = static_cast<std::uint16_t>(Load(bytes_, offset, 2, false));
  return true;
}

bool ByteCursor::PeekU32LEAt(std::uint64_t offset, std::uint32_t& v) const {
  if (!FitsAt(offset, 4)) return false;
  v = Load(bytes_, offset, 4, false);
  return true;
}

bool ByteCursor::PeekU16BEAt(std::uint64_t offset, std::uint16_t& v) const {
  if (!FitsAt(offset, 2)) return false;
  v = static_cast<std::uint16_t>(Load(bytes_, offset, 2, true));
  return true;
}

bool ByteCursor::PeekU32BEAt(std::uint64_t offset, std::uint32_t& v) const {
  if (!FitsAt(offset, 4)) return false;
  v = Load(bytes_, offset, 4, true);
  return true;
}

bool ByteCursor::PeekBytesAt(std::uint64_t offset, std::uint64_t length,
                             std::string_view& out) const {
  if (!FitsAt(offset, length)) return false;
  out = bytes_.substr(offset, length);
  return true;
}

bool ByteCursor::SubAt(std::uint64_t offset, std::uint64_t length, ByteCursor& out) const {
  if (!FitsAt(offset, length)) return false;
  out = ByteCursor(bytes_.substr(offset, length));
  return true;
}

void ByteWriter::U16LE(std::uint16_t v) {
  U8(static_cast<std::uint8_t>(v & 0xFF));
  U8(static_cast<std::uint8_t>(v >> 8));
}

void ByteWriter::U16BE(std::uint16_t v) {
  U8(static_cast<std::uint8_t>(v >> 8));
  U8(static_cast<std::uint8_t>(v & 0xFF));
}

void ByteWriter::U32LE(std::uint32_t v) {
  for (int i = 0; i < 4; ++i) U8(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
}

void ByteWriter::U32BE(std::uint32_t v) {
  for (int i = 3; i >= 0; --i) U8(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
}

void ByteWriter::F32LE(float v) {
  U32LE(std::bit_cast<std::uint32_t>(v));
}

void ByteWriter::PatchU32LE(std::uint64_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out_[at + static_cast<std::uint64_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void ByteWriter::PatchU16LE(std::uint64_t at, std::uint16_t v) {
  out_[at] = static_cast<char>(v & 0xFF);
  out_[at + 1] = static_cast<char>(v >> 8);
}
