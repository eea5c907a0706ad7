// SPDX-License-Identifier: GPL-3.0-or-later
// ByteCursor: the bounds-checked reader of every binary format (little- and big-endian);
// ByteWriter: the matching appender for the binary writers.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Reads from a window of bytes it does not own. Every read either fits the window and
// advances, or fails and leaves the cursor where it was: a count, size or offset taken from a
// file is never used before FitsAt / Fits said it lies inside the window. All arithmetic on
// such values is 64-bit so that offset + length cannot wrap.
class ByteCursor {
 public:
  ByteCursor() = default;
  explicit ByteCursor(std::string_view bytes) : bytes_(bytes) {}

  [[nodiscard]] std::uint64_t Size() const { return bytes_.size(); }
  [[nodiscard]] std::uint64_t Offset() const { return pos_; }
  [[nodiscard]] std::uint64_t Remaining() const { return bytes_.size() - pos_; }
  [[nodiscard]] std::string_view Bytes() const { return bytes_; }

  // True when length bytes starting at offset lie inside the window.
  [[nodiscard]] bool FitsAt(std::uint64_t offset, std::uint64_t length) const {
    return offset <= bytes_.size() && length <= bytes_.size() - offset;
  }
  [[nodiscard]] bool Fits(std::uint64_t length) const { return FitsAt(pos_, length); }

  bool Seek(std::uint64_t offset);
  bool Skip(std::uint64_t length);

  bool ReadU8(std::uint8_t& v);
  bool ReadU16LE(std::uint16_t& v);
  bool ReadU16BE(std::uint16_t& v);
  bool ReadU32LE(std::uint32_t& v);
  bool ReadU32BE(std::uint32_t& v);
  bool ReadI32LE(std::int32_t& v);
  bool ReadF32LE(float& v);
  // A view of the next length bytes (valid while the underlying bytes live).
  bool ReadBytes(std::uint64_t length, std::string_view& out);

  // Reads at a position without moving the cursor.
  bool PeekU16LEAt(std::uint64_t offset, std::uint16_t& v) const;
  bool PeekU32LEAt(std::uint64_t offset, std::uint32_t& v) const;
  bool PeekU16BEAt(std::uint64_t offset, std::uint16_t& v) const;
  bool PeekU32BEAt(std::uint64_t offset, std::uint32_t& v) const;
  bool PeekBytesAt(std::uint64_t offset, std::uint64_t length, std::string_view& out) const;

  // A cursor over length bytes at offset; false (and out untouched) when they do not fit.
  bool SubAt(std::uint64_t offset, std::uint64_t length, ByteCursor& out) const;

 private:
  std::string_view bytes_;
  std::uint64_t pos_ = 0;
};

// Appends fixed-width integers to a byte string. Callers check that values fit the field
// before they write; the writer itself only stores the low bytes it is asked to.
class ByteWriter {
 public:
  explicit ByteWriter(std::string& out) : out_(out) {}
  [[nodiscard]] std::uint64_t Size() const { return out_.size(); }
  void U8(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void U16LE(std::uint16_t v);
  void U16BE(std::uint16_t v);
  void U32LE(std::uint32_t v);
  void U32BE(std::uint32_t v);
  void I32LE(std::int32_t v) { U32LE(static_cast<std::uint32_t>(v)); }
  void F32LE(float v);
  void Bytes(std::string_view v) { out_.append(v); }
  void Zeros(std::uint64_t n) { out_.append(n, '\0'); }
  // Overwrites 4 bytes at a position already written.
  void PatchU32LE(std::uint64_t at, std::uint32_t v);
  void PatchU16LE(std::uint64_t at, std::uint16_t v);

 private:
  std::string& out_;
};
