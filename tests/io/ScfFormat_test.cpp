// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <QProcess>

#include "io/ByteCursor.h"
#include "io/TraceFormats.h"
#include "io/TraceTestSupport.h"
#include "support/RecordingServices.h"

namespace {

std::string Header(std::uint32_t samples, std::uint32_t bases, std::uint32_t sampleSize,
                   const char* version) {
  std::string h;
  ByteWriter w(h);
  w.Bytes(".scf");
  w.U32BE(samples);
  w.U32BE(128);
  w.U32BE(bases);
  w.U32BE(2);
  w.U32BE(bases);
  w.U32BE(128 + 4 * samples * sampleSize);
  w.U32BE(0);
  w.U32BE(0);
  w.Bytes(version);
  w.U32BE(sampleSize);
  h.resize(128, '\0');
  return h;
}

// Runs makeSCF from staden-io-lib-utils on 310.ab1 into dir; empty when it fails.
std::string MakeScf(const QTemporaryDir& dir, const QStringList& options, const char* name) {
  const QString out = dir.filePath(QString::fromLatin1(name));
  QStringList args = options;
  args << "-abi" << QString::fromStdString(TestData("310.ab1")) << "-output" << out;
  if (QProcess::execute("makeSCF", args) != 0) return {};
  return out.toStdString();
}

}  // namespace

TEST(ReadScf, OneByteSamplesTakeChannelCFromTheSecondQuarter) {
  // Version 3, 1-byte samples, three samples per channel stored as second differences:
  // channel C = 5, 7, 9 has first differences 5, 2, 2 and second differences 5, -3, 0.
  std::string f = Header(3, 2, 1, "3.00");
  const unsigned char samples[] = {1, 255, 0, 5, 253, 0, 2, 254, 0, 0, 0, 0};
  f.append(reinterpret_cast<const char*>(samples), sizeof samples);
  ByteWriter w(f);
  w.U32BE(0);
  w.U32BE(2);
  w.Zeros(8);
  w.Bytes("AC");
  w.Zeros(6);
  RecordingServices svc;
  auto seq = ReadScf(f, "dir/t.scf", svc);
  ASSERT_NE(seq, nullptr);
  EXPECT_EQ(seq->letters, "AC");
  EXPECT_EQ(seq->peakPos, (std::vector<std::int32_t>{0, 2}));
  EXPECT_EQ(seq->seqName, "t.scf");
  EXPECT_EQ(seq->sourceFormat, 12);
  EXPECT_EQ(seq->poorQualityLeft, 2);
  EXPECT_EQ(seq->poorQualityRight, 2);
  // Channel means 1, 7, 2, 0 -> divisor 2.5/120; C 5, 7, 9 -> 240, 336, 432.
  EXPECT_EQ(seq->traceC, (std::vector<std::uint16_t>{240, 336, 432}));
  EXPECT_EQ(seq->traceA, (std::vector<std::uint16_t>{48, 48, 48}));
}

TEST(ReadScf, ShortAndForeignFilesGiveTheirNotices) {
  RecordingServices svc;
  EXPECT_EQ(ReadScf(Header(0, 0, 2, "3.00"), "a.scf", svc), nullptr);  // exactly 128 bytes
  EXPECT_EQ(ReadScf(std::string(200, 'x'), "b.scf", svc), nullptr);
  std::string badSize = Header(1, 1, 3, "3.00") + std::string(40, '\0');
  EXPECT_EQ(ReadScf(badSize, "c.scf", svc), nullptr);
  std::string huge = Header(0x40000000, 1, 2, "3.00") + std::string(40, '\0');
  EXPECT_EQ(ReadScf(huge, "d.scf", svc), nullptr);
  ASSERT_EQ(svc.messages.notices.size(), 4u);
  EXPECT_EQ(svc.messages.notices[0], "a.scf\r\nis empty!");
  EXPECT_EQ(svc.messages.notices[1], "b.scf\r\nis not an SCF file");
  EXPECT_NE(svc.messages.notices[2].find("sample size 3"), std::string::npos);
  EXPECT_NE(svc.messages.notices[3].find("1073741824 samples at byte 128 need 8589934592 bytes"),
            std::string::npos)
      << svc.messages.notices[3];
}

TEST(OpenScf, VersionTwoAndThreeFilesFromMakeScfMatchTheAbiReading) {
  if (!HaveProgram("makeSCF")) GTEST_SKIP() << "makeSCF (staden-io-lib-utils) not installed";
  QTemporaryDir dir;
  RecordingServices svc;
  auto abi = OpenAbi(TestData("310.ab1"), svc);
  ASSERT_NE(abi, nullptr);
  struct Case {
    QStringList options;
    const char* name;
  };
  for (const Case& c : {Case{{"-3"}, "v3.scf"}, Case{{"-2"}, "v2.scf"},
                        Case{{"-2", "-8"}, "v2b.scf"}, Case{{"-3", "-8"}, "v3b.scf"}}) {
    SCOPED_TRACE(c.name);
    const std::string path = MakeScf(dir, c.options, c.name);
    ASSERT_FALSE(path.empty());
    auto scf = OpenScf(path, svc);
    ASSERT_NE(scf, nullptr);
    ASSERT_EQ(scf->letters.size(), abi->letters.size());
    // io_lib writes unknown calls as '-'; every other call is the ABI's.
    for (std::size_t i = 0; i < scf->letters.size(); ++i)
      if (abi->letters[i] != 'N') {
        EXPECT_EQ(scf->letters[i], abi->letters[i]) << i;
      }
    EXPECT_EQ(scf->peakPos, abi->peakPos);
    ASSERT_EQ(scf->traceG.size(), abi->traceG.size());
    if (c.options.contains("-8")) continue;  // 8-bit samples are rescaled by makeSCF
    EXPECT_EQ(scf->traceA, abi->traceA);
    EXPECT_EQ(scf->traceC, abi->traceC);
    EXPECT_EQ(scf->traceG, abi->traceG);
    EXPECT_EQ(scf->traceT, abi->traceT);
  }
}

TEST(SaveScf, WritesVersionThreeThatReadsBackAndThatScfDumpDecodes) {
  RecordingServices svc;
  auto abi = OpenAbi(TestData("310.ab1"), svc);
  ASSERT_NE(abi, nullptr);
  QTemporaryDir dir;
  const std::string path = dir.filePath("out.scf").toStdString();
  ASSERT_TRUE(SaveScf(path, *abi, svc));
  const std::string bytes = Slurp(path);
  const std::size_t n = abi->traceA.size(), l = abi->letters.size();
  EXPECT_EQ(bytes.size(), 128 + 8 * n + 12 * l);
  auto back = OpenScf(path, svc);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->letters, abi->letters);
  EXPECT_EQ(back->peakPos, abi->peakPos);
  // Normalising an already normalised trace again moves a sample by rounding at most.
  for (std::size_t k = 0; k < n; k += 97) EXPECT_NEAR(back->traceG[k], abi->traceG[k], 1) << k;
  EXPECT_EQ(back->poorQualityLeft, 1);
  EXPECT_EQ(back->poorQualityRight, static_cast<int>(l));
  if (!HaveProgram("scf_dump")) GTEST_SKIP() << "scf_dump not installed";
  QProcess dump;
  dump.start("scf_dump", {QString::fromStdString(path)});
  ASSERT_TRUE(dump.waitForFinished());
  const std::string text = dump.readAllStandardOutput().toStdString();
  EXPECT_NE(text.find(std::to_string(n) + "\t\t# samples"), std::string::npos);
  EXPECT_NE(text.find("3.00\t\t# version"), std::string::npos);
  // First base of 310.ab1 is T at sample 15; scf_dump prints the peak with five digits.
  EXPECT_NE(text.find("[Bases]\nT 00015"), std::string::npos);
  // Each line of the A channel reads "<value>\t# <index>": scf_dump undid the differences.
  std::size_t at = text.find("[A_Trace]\n");
  ASSERT_NE(at, std::string::npos);
  at += 10;
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t tab = text.find('\t', at);
    ASSERT_NE(tab, std::string::npos);
    ASSERT_EQ(text.substr(at, tab - at), std::to_string(abi->traceA[k])) << k;
    at = text.find('\n', tab) + 1;
  }
}

TEST(SaveScf, AFailedSaveLeavesThePreviousFile) {
  RecordingServices svc;
  QTemporaryDir dir;
  const std::string path = dir.filePath("keep.scf").toStdString();
  Spit(path, "previous");
  TSeq seq("s", "AC");
  seq.traceA = seq.traceC = seq.traceG = seq.traceT = {1, 2, 3};
  seq.peakPos = {0, -4};  // a negative peak has no place in the file
  EXPECT_FALSE(SaveScf(path, seq, svc));
  EXPECT_EQ(Slurp(path), "previous");
  ASSERT_EQ(svc.messages.errors.size(), 1u);
  EXPECT_NE(svc.messages.errors[0].find("peak -4 of letter 2"), std::string::npos);
}

TEST(ReadScf, TruncatedAndCorruptedFilesNeverCrash) {
  RecordingServices svc;
  auto abi = OpenAbi(TestData("310.ab1"), svc);
  std::string good, error;
  ASSERT_TRUE(BuildScf(*abi, good, error));
  for (std::size_t cut = 0; cut < good.size(); cut += 1021)
    (void)ReadScf(std::string_view(good).substr(0, cut), "cut.scf", svc);
  for (std::size_t field = 4; field < 56; field += 4) {
    std::string bad = good;
    bad.replace(field, 4, std::string("\xFF\xFF\xFF\xF0", 4));
    (void)ReadScf(bad, "bad.scf", svc);
  }
}
