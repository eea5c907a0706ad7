// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "io/ByteCursor.h"
#include "io/TraceFormats.h"
#include "io/TraceTestSupport.h"
#include "support/RecordingServices.h"

namespace {

struct Entry {
  std::string name;
  std::uint32_t count;
  std::string data;
};

// A minimal ABIF file: header with the directory pointer, data blocks, then the directory.
std::string MakeAbif(const std::vector<Entry>& entries) {
  std::string out("ABIF", 4);
  out.resize(128, '\0');
  std::vector<std::uint32_t> at;
  for (const Entry& e : entries) {
    at.push_back(static_cast<std::uint32_t>(out.size()));
    if (e.data.size() > 4) out += e.data;
  }
  const auto dir = static_cast<std::uint32_t>(out.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Entry& e = entries[i];
    std::string d;
    ByteWriter w(d);
    w.Bytes(e.name);
    w.U32BE(1);
    w.U16BE(4);
    w.U16BE(2);
    w.U32BE(e.count);
    w.U32BE(static_cast<std::uint32_t>(e.data.size()));
    if (e.data.size() > 4) {
      w.U32BE(at[i]);
    } else {
      std::string inl = e.data;
      inl.resize(4, '\0');
      w.Bytes(inl);
    }
    w.U32BE(0);
    out += d;
  }
  std::string header;
  ByteWriter h(header);
  h.U32BE(static_cast<std::uint32_t>(entries.size()));
  h.U32BE(static_cast<std::uint32_t>(entries.size() * 28));
  h.U32BE(dir);
  out.replace(18, 12, header);
  return out;
}

std::string Samples(std::initializer_list<std::uint16_t> values) {
  std::string s;
  ByteWriter w(s);
  for (std::uint16_t v : values) w.U16BE(v);
  return s;
}

// DATA 1..8 are raw channels that must be passed over; 9..12 carry distinct flat levels.
std::string FourChannelFile(const std::string& order) {
  std::vector<Entry> e;
  for (int i = 1; i <= 8; ++i) e.push_back({"DATA", 3, Samples({999, 999, 999})});
  for (std::uint16_t level : {10, 20, 30, 40})
    e.push_back({"DATA", 6, Samples({level, level, level, level, level, level})});
  e.push_back({"FWO_", 4, order});
  e.push_back({"PBAS", 3, "ACG"});
  e.push_back({"PLOC", 3, Samples({9, 9, 9})});  // superseded by the last PLOC
  e.push_back({"PBAS", 3, "TTT"});               // only the first PBAS counts
  e.push_back({"PLOC", 3, Samples({1, 3, 5})});
  return MakeAbif(e);
}

}  // namespace

TEST(OpenAbi, ReadsThe310And3730SamplesAsAnIndependentDecoderDoes) {
  // Letters, counts and peaks from a separate Python struct decoder of the same files; the
  // normalised samples were worked out there with single-precision channel means (target 120,
  // halves to even).
  struct Case {
    const char* file;
    std::size_t letters, samples;
    const char* first30;
    std::array<int, 3> peaks;
    std::array<std::uint16_t, 4> a1000, g1000;
  };
  for (const Case& c : {Case{"310.ab1",
                             868,
                             9826,
                             "TGATNTTNACNNTTTTGAANCANTGAGTTA",
                             {15, 28, 38},
                             {75, 117, 164, 211},
                             {100, 72, 48, 31}},
                        Case{"3730.ab1",
                             1165,
                             16302,
                             "GGGCGAGCKYYAYATTTTGGCAAGAATTGA",
                             {2, 13, 38},
                             {2, 1, 0, 0},
                             {480, 793, 1123, 1381}}}) {
    SCOPED_TRACE(c.file);
    RecordingServices svc;
    auto seq = OpenAbi(TestData(c.file), svc);
    ASSERT_NE(seq, nullptr);
    EXPECT_EQ(seq->letters.size(), c.letters);
    EXPECT_EQ(seq->lettersLength, static_cast<int>(c.letters));
    EXPECT_EQ(seq->letters.substr(0, 30), c.first30);
    ASSERT_EQ(seq->peakPos.size(), c.letters);
    EXPECT_EQ(seq->peakPos[0], c.peaks[0]);
    EXPECT_EQ(seq->peakPos[1], c.peaks[1]);
    EXPECT_EQ(seq->peakPos[2], c.peaks[2]);
    for (const auto* ch : {&seq->traceA, &seq->traceC, &seq->traceG, &seq->traceT})
      EXPECT_EQ(ch->size(), c.samples);
    for (int k = 0; k < 4; ++k) {
      EXPECT_EQ(seq->traceA[1000 + k], c.a1000[k]);
      EXPECT_EQ(seq->traceG[1000 + k], c.g1000[k]);
    }
    EXPECT_EQ(seq->seqName, std::string(c.file).substr(0, std::string(c.file).size() - 4));
    EXPECT_EQ(seq->sourceFile, TestData(c.file));
    EXPECT_EQ(seq->sourceFormat, 11);
    EXPECT_TRUE(seq->showTrace);
    EXPECT_EQ(seq->quality.size(), c.letters);  // estimated from the trace
    EXPECT_TRUE(svc.messages.notices.empty());
  }
}

TEST(OpenAbi, EmptyCallsReadAndNonAbifIsRefusedByName) {
  RecordingServices svc;
  auto empty = OpenAbi(TestData("empty.ab1"), svc);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->letters, "NNNNN");
  EXPECT_EQ(empty->peakPos, (std::vector<std::int32_t>{10, 22, 34, 46, 58}));
  EXPECT_EQ(OpenAbi(TestData("fake.ab1"), svc), nullptr);
  EXPECT_EQ(svc.messages.notices,
            std::vector<std::string>{TestData("fake.ab1") + "\r\nis not an ABI file"});
}

TEST(ReadAbi, ChannelOrderFollowsFwoAndOnlyDataNineToTwelveCount) {
  RecordingServices svc;
  // G, A, T, C: DATA 9 goes to G, 10 to A, 11 to T, 12 to C.
  auto seq = ReadAbi(FourChannelFile("GATC"), "x/run.ab1", svc);
  ASSERT_NE(seq, nullptr);
  EXPECT_EQ(seq->letters, "ACG");
  EXPECT_EQ(seq->peakPos, (std::vector<std::int32_t>{1, 3, 5}));
  // Mean level 25 normalised to 120: divisor 25/120, each flat level times 4.8.
  EXPECT_EQ(seq->traceG.front(), 48);
  EXPECT_EQ(seq->traceA.front(), 96);
  EXPECT_EQ(seq->traceT.front(), 144);
  EXPECT_EQ(seq->traceC.front(), 192);
  EXPECT_EQ(seq->seqName, "run");
}

TEST(ReadAbi, DamagedFilesAreRefusedWithTheReasonNeverReadOutOfBounds) {
  const std::string good = FourChannelFile("ACGT");
  {
    std::string bad = good;
    bad.replace(18, 4, std::string("\x7F\xFF\xFF\xFF", 4));  // entry count far beyond the file
    RecordingServices svc;
    EXPECT_EQ(ReadAbi(bad, "bad.ab1", svc), nullptr);
    ASSERT_EQ(svc.messages.notices.size(), 1u);
    EXPECT_NE(svc.messages.notices[0].find("bad.ab1\r\nis damaged: its directory of 2147483647"),
              std::string::npos);
  }
  {
    // A PLOC claiming more values than its data holds.
    std::string bad = good;
    const std::size_t dir = bad.size() - 17 * 28;
    ByteCursor c(bad);
    std::uint32_t count = 0;
    ASSERT_TRUE(c.PeekU32BEAt(dir + 16 * 28 + 12, count));
    bad.replace(dir + 16 * 28 + 12, 4, std::string("\x00\x10\x00\x00", 4));
    RecordingServices svc;
    EXPECT_EQ(ReadAbi(bad, "p.ab1", svc), nullptr);
  }
  for (std::size_t cut = 0; cut < good.size(); cut += 7) {
    RecordingServices svc;
    auto seq = ReadAbi(std::string_view(good).substr(0, cut), "cut.ab1", svc);
    if (!seq) {
      EXPECT_EQ(svc.messages.notices.size(), 1u) << cut;
    }
  }
  const std::string real = Slurp(TestData("310.ab1"));
  for (std::size_t cut = 0; cut < real.size(); cut += 4099) {
    RecordingServices svc;
    (void)ReadAbi(std::string_view(real).substr(0, cut), "cut.ab1", svc);
  }
}
