// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "io/AnnotatedFormats.h"
#include "io/IoTestFiles.h"
#include "io/TextFormatSupport.h"
#include "io/TraceFormats.h"

namespace {

ExperimentRead ReadExp(const std::string& text, RecordingServices& svc,
                       const std::string& fileName = "reads/r1.exp") {
  ReadContext ctx(svc, fileName);
  return ReadExperimentFile(MemorySource(text), ctx);
}

struct Span {
  int start, end, kind;
  std::string name;
  bool operator==(const Span&) const = default;
  friend std::ostream& operator<<(std::ostream& os, const Span& s) {
    return os << s.name << " " << s.start << ".." << s.end << " kind " << s.kind;
  }
};

std::vector<Span> Spans(const TSeq& seq) {
  std::vector<Span> out;
  for (const TRegion& r : seq.regions) out.push_back({r.regStart, r.regEnd, r.regType, r.regName});
  return out;
}

}  // namespace

// Debian's staden-io-lib-utils read the same sample: `extract_seq xb63c7.s1.exp` and
// `extract_qual xb63c7.s1.exp` wrote tests/data/xb63c7.s1.extract_seq.txt and .extract_qual.txt.
// Its SQ block ends "AAG-CCA-G": the last two letters are real bases.
TEST(ReadExperimentFile, StadenSampleGivesTheLettersAndQualitiesOfStadenItself) {
  RecordingServices svc;
  const ExperimentRead r = ReadExp(ReadTestFile("xb63c7.s1.exp"), svc, "data/xb63c7.s1.exp");
  ASSERT_NE(r.seq, nullptr);
  const TSeq& seq = *r.seq;
  std::string letters;
  for (const char c : ReadTestFile("xb63c7.s1.extract_seq.txt"))
    if (c != '\n') letters += c;
  EXPECT_EQ(seq.letters, letters);
  EXPECT_TRUE(seq.letters.ends_with("AAG-CCA-G"));
  std::istringstream values(ReadTestFile("xb63c7.s1.extract_qual.txt"));
  std::vector<std::uint8_t> quality;
  for (int q; values >> q;) quality.push_back(static_cast<std::uint8_t>(q));
  EXPECT_EQ(seq.quality, quality);
  EXPECT_EQ(seq.seqName, "xb63c7.s1");
  EXPECT_EQ(seq.accession, "xb63c7.s1");
  EXPECT_DOUBLE_EQ(seq.meanQuality, 29.96);
  EXPECT_EQ(seq.sourceFormat, 10);
  EXPECT_FALSE(seq.HasTrace());  // its ZTR trace is not beside it
  // 439 letters. QR 440 and SR 440 lie past the end; QL 0 spans nothing; the second QR wins.
  EXPECT_EQ(seq.poorQualityLeft, 0);
  EXPECT_EQ(seq.poorQualityRight, 377);
  EXPECT_EQ(Spans(seq), (std::vector<Span>{{1, 24, kRegVector, "Cloning vector"},
                                           {377, 439, kRegMisc, "Bad_Quality_Seq"}}));
  EXPECT_TRUE(svc.messages.errors.empty());
}

TEST(ReadExperimentFile, ClipsTagsAndAssemblyData) {
  RecordingServices svc;
  const ExperimentRead r = ReadExp(
      "CR   14\nCL   3\nSL   7\nAP   r0 - 12 40\n"
      "TG   HETE + 4..4\nTG   HETI = 5..6\nTG   MUTT = 7..7\n"
      "TG   HETE = 9..8\nAV   30 31 1,2,3,4\nSQ\n"
      "     ACGTACGTAC GTACGTACGT\n//\n",
      svc);
  ASSERT_NE(r.seq, nullptr);
  const TSeq& seq = *r.seq;
  EXPECT_EQ(seq.seqName, "r1");  // no EN, ID or AC: the file name
  // CL 3 spans 1..3, too short; CR before the letters ends at the letter count.
  EXPECT_EQ(Spans(seq), (std::vector<Span>{{1, 7, kRegVector, "Cloning vector"},
                                           {4, 4, kRegHetSnp, "Heterozygous_SNP"},
                                           {5, 6, kRegHetIndel, "Heterozygous_Indel"},
                                           {7, 7, kRegSnp, "SNP"},
                                           {14, 20, kRegVector, "Cloning vector"}}));
  EXPECT_TRUE(r.hasLink);
  EXPECT_EQ(r.link.anchor, "r0");
  EXPECT_TRUE(r.link.complemented);
  EXPECT_EQ(r.link.length, 40);
  EXPECT_EQ(seq.assemblyPos, 12);
  EXPECT_EQ(seq.quality.size(), 20u);
  EXPECT_EQ(seq.quality[1], 31);
  EXPECT_EQ(svc.messages.errors,
            Lines("reads/r1.exp, line 8: the tag's range is not a..b with 0 < a <= b; the tag "
                  "was skipped\n"
                  "reads/r1.exp: 2 quality values (AV) for 20 letters, 1 values that are not "
                  "whole numbers skipped"));

  // Files opened as EMBL: the SQ line is a count summary and the lines are numbered.
  const ExperimentRead embl = ReadExp(
      "ID   X56734; SV 1; linear; mRNA; STD; PLN; 20 BP.\n"
      "SQ   Sequence 20 BP; 5 A; 5 C; 5 G; 5 T; 0 other;\n"
      "     acgtacgtac gtacgtacgt        20\n//\n",
      svc, "x.emb");
  ASSERT_NE(embl.seq, nullptr);
  EXPECT_EQ(embl.seq->seqName, "X56734");
  EXPECT_EQ(embl.seq->letters, "acgtacgtacgtacgtacgt");

  EXPECT_EQ(ReadExp("ID   empty\nCC   no letters\n", svc).seq, nullptr);
}

// ON maps the letters to the trace's base calls: letter 3 of the trace was deleted and an N
// inserted after its fifth; the inserted letter's peak is the mean of its neighbours'.
TEST(ReadExperimentFile, TraceNamedOnLnFollowsTheOriginalPositions) {
  TestFolder dir("exp_trace");
  std::filesystem::copy_file(std::string(NODRIX_TEST_DATA) + "/310.ab1", dir.File("310.ab1"));
  RecordingServices svc;
  const std::unique_ptr<TSeq> abi = OpenAbi(dir.File("310.ab1"), svc.services);
  ASSERT_NE(abi, nullptr);
  const std::string& t = abi->letters;
  const std::vector<std::int32_t>& p = abi->peakPos;
  const int n = static_cast<int>(t.size());
  std::string letters = t.substr(0, 2) + t.substr(3, 2) + "N" + t.substr(5);
  std::string sq;
  for (std::size_t at = 0; at < letters.size(); at += 60)
    sq += "     " + letters.substr(at, 60) + "\n";
  const std::string exp = dir.Write("r.exp", "EN   r\nLN   310.ab1\nON   1..2 4..5\nON   0 6.." +
                                                 std::to_string(n) + "\nSQ\n" + sq + "//\n");
  const std::unique_ptr<TSeq> seq = OpenExperimentFile(exp, svc.services);
  ASSERT_NE(seq, nullptr);
  EXPECT_TRUE(svc.messages.errors.empty());
  EXPECT_EQ(seq->sourceFile, dir.File("310.ab1"));
  EXPECT_TRUE(seq->showTrace);
  EXPECT_EQ(seq->traceA, abi->traceA);
  std::vector<std::int32_t> peaks = {
      p[0], p[1], p[3], p[4], static_cast<std::int32_t>(std::nearbyint((p[4] + p[5]) / 2.0))};
  peaks.insert(peaks.end(), p.begin() + 5, p.end());
  EXPECT_EQ(seq->peakPos, peaks);

  // Without ON the trace has one base call too many: the letters are read without it.
  const std::string bare = dir.Write("bare.exp", "LN   310.ab1\nSQ\n" + sq.substr(0, 65) + "//\n");
  const std::unique_ptr<TSeq> noTrace = OpenExperimentFile(bare, svc.services);
  ASSERT_NE(noTrace, nullptr);
  EXPECT_FALSE(noTrace->HasTrace());
  ASSERT_EQ(svc.messages.errors.size(), 1u);
  EXPECT_TRUE(svc.messages.errors[0].ends_with("letters; the letters were read without it"));
}
