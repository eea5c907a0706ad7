// SPDX-License-Identifier: GPL-3.0-or-later
// Pieces shared by the project file's writers and readers: tags, field encoders, the block
// builder with its offset tables, member access bounded by the enclosing bytes, the 8-byte
// real and the region and sequence kind codes of each version.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "io/ByteCursor.h"

namespace projfile {

constexpr std::uint64_t kFieldHeader = 16;  // u32 size + 12-byte tag
constexpr std::uint64_t kMaxU16 = 0xFFFF;
constexpr std::uint64_t kMaxU32 = 0xFFFFFFFFu;
// A version 1 trace is run-length coded; a run count of 65535 per pair and a damaged file
// could ask for billions of samples. No trace the program handles comes near this.
constexpr std::uint64_t kMaxTraceSamples = 10'000'000;

// The 12-byte tag: 8 characters, then three blanks and the given last byte.
std::string Tag(std::string_view name8, char last = ' ');

void PutText(std::string& out, std::string_view name8, std::string_view text);
void PutI32(std::string& out, std::string_view name8, std::int32_t v);
void PutU8(std::string& out, std::string_view name8, std::uint8_t v);
void PutF32(std::string& out, std::string_view name8, float v);
// The 8-byte real: i32 integer part (truncated) and i32 millionths, both carrying the sign so
// that negative values survive. False when the integer part does not fit 32 bits.
[[nodiscard]] bool PutReal8(std::string& out, std::string_view name8, double v);
double Real8Value(std::int32_t integerPart, std::int32_t millionths);

// Builds one block: header, u16 member count, offset table, members. Offsets are written
// relative to a base that lies `shift` bytes before the block's own start.
class BlockBuilder {
 public:
  BlockBuilder(std::string tag12, std::size_t members, std::uint64_t shift);
  // Offset (from the base) at which the next member will start.
  [[nodiscard]] std::uint64_t NextMemberOffset() const;
  void Add(std::string_view member);
  // The block; sizeField 0 writes the true size. False when the table, an offset or the size
  // does not fit its field.
  [[nodiscard]] bool Finish(std::string& out, std::uint64_t sizeField, std::string& error);

 private:
  std::string tag_;
  std::size_t expected_;
  std::uint64_t shift_;
  std::vector<std::uint64_t> offsets_;
  std::string body_;
  [[nodiscard]] std::uint64_t HeaderSize() const { return 18 + 4 * std::uint64_t{expected_}; }
};

// A member found through an offset table: its tag, its size field and its payload, which
// lies wholly inside the enclosing bytes.
struct Member {
  std::uint64_t at = 0;  // where it starts inside the enclosing bytes
  std::uint32_t size = 0;
  std::string_view tag;  // 12 bytes
  std::string_view payload;
  [[nodiscard]] bool Is(std::string_view name8) const { return tag.substr(0, 8) == name8; }
};
// False when the 16-byte header or the size field's extent does not fit, or size < 16.
bool MemberAt(const ByteCursor& bytes, std::uint64_t at, Member& out);
// Offset table of the block at `at`: member positions (table offset + base) inside the
// enclosing bytes. False when the table does not fit.
bool BlockTable(const ByteCursor& bytes, std::uint64_t at, std::uint64_t base,
                std::vector<std::uint64_t>& positions);
// i32 payload of a 20-byte field; false for any other size.
bool I32Of(const Member& m, std::int32_t& v);

// Region kind <-> file code. Versions 2 and 3 use the model's codes, with the otherwise
// unused code 27 for the "Sequence" kind so that it no longer reads back as "Unknown";
// version 1 has its own table.
int RegionCodeFor(int kind, int version);
int RegionKindFor(int code, int version);
// Sequence type <-> SEQFLAGS code; RFLP gets the unused code 8 instead of sharing 0.
int SeqTypeCodeFor(int seqType);
int SeqTypeFor(int code);

}  // namespace projfile
