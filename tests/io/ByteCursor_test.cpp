// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/ByteCursor.h"

#include <gtest/gtest.h>

#include <limits>

TEST(ByteCursor, ReadsBothByteOrders) {
  const std::string bytes("\x01\x02\x03\x04\x00\x00\x80\x3F", 8);
  ByteCursor le(bytes), be(bytes);
  std::uint32_t a = 0, b = 0;
  ASSERT_TRUE(le.ReadU32LE(a));
  ASSERT_TRUE(be.ReadU32BE(b));
  EXPECT_EQ(a, 0x04030201u);
  EXPECT_EQ(b, 0x01020304u);
  float f = 0;
  ASSERT_TRUE(le.ReadF32LE(f));  // 00 00 80 3F is IEEE single 1.0
  EXPECT_EQ(f, 1.0f);
  std::uint16_t h = 0;
  EXPECT_TRUE(be.PeekU16BEAt(2, h));
  EXPECT_EQ(h, 0x0304);
}

TEST(ByteCursor, FailedReadsLeaveThePositionAndNeverWrap) {
  const std::string bytes(10, 'x');
  ByteCursor c(bytes);
  ASSERT_TRUE(c.Skip(8));
  std::uint32_t v = 7;
  EXPECT_FALSE(c.ReadU32LE(v));
  EXPECT_EQ(v, 7u);
  EXPECT_EQ(c.Offset(), 8u);
  const std::uint64_t huge = std::numeric_limits<std::uint64_t>::max();
  // offset + length would wrap to a small number in unchecked arithmetic.
  EXPECT_FALSE(c.FitsAt(huge - 1, 4));
  EXPECT_FALSE(c.FitsAt(4, huge - 1));
  EXPECT_TRUE(c.FitsAt(10, 0));
  EXPECT_FALSE(c.FitsAt(11, 0));
  ByteCursor sub;
  EXPECT_FALSE(c.SubAt(6, 5, sub));
  ASSERT_TRUE(c.SubAt(6, 4, sub));
  EXPECT_EQ(sub.Size(), 4u);
  std::string_view view;
  EXPECT_FALSE(c.ReadBytes(3, view));
  EXPECT_TRUE(c.ReadBytes(2, view));
  EXPECT_EQ(c.Remaining(), 0u);
}

TEST(ByteWriter, WritesWhatTheCursorReads) {
  std::string out;
  ByteWriter w(out);
  w.U16BE(0xABCD);
  w.U32LE(0x11223344);
  w.I32LE(-2);
  w.PatchU16LE(0, 0x0102);
  ByteCursor c(out);
  std::uint16_t a = 0;
  std::uint32_t b = 0;
  std::int32_t d = 0;
  ASSERT_TRUE(c.ReadU16LE(a) && c.ReadU32LE(b) && c.ReadI32LE(d));
  EXPECT_EQ(a, 0x0102);
  EXPECT_EQ(b, 0x11223344u);
  EXPECT_EQ(d, -2);
}
