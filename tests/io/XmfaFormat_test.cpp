// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string_view>

#include "IoTestFiles.h"
#include "io/Dispatcher.h"
#include "io/FormatTables.h"
#include "io/LetterColumns.h"
#include "io/MultiLocusFormats.h"
#include "io/TextFormatSupport.h"

namespace {

struct Reg {
  int start, end;
  bool reverse;
  int codonPos;
  bool operator==(const Reg&) const = default;
};
// Ordered by start, then end.
std::vector<Reg> RegsOf(const TSeq& s) {
  std::vector<Reg> out;
  for (const TRegion& r : s.regions)
    out.push_back({r.regStart, r.regEnd, r.regReverse, r.codonPos});
  std::sort(out.begin(), out.end(), [](const Reg& a, const Reg& b) {
    return a.start != b.start ? a.start < b.start : a.end < b.end;
  });
  return out;
}

std::vector<std::string> Names(const TDataProj& p) {
  std::vector<std::string> out;
  for (int d = 0; d < p.DatasetCount(); ++d) out.push_back(p.DatasetAt(d)->dsName);
  return out;
}

// Genome 1: AAA CCC GGG TTT, a CDS on 4..9 (phase 0). Genome 2: AAAGCCC then AAACCC, the
// second half aligned on the minus strand; a CDS on 9..11 and one on 6..9 (both phase 0).
// Block 1 holds genome-1 letters 1..6 with one gap; block 2 letters 7..12 beside genome-2
// letters 8..13 read backwards and complemented (GGGTTT) and an entry of no genome.
struct TwoGenomes {
  TestFolder dir{"xmfa_two_genomes"};
  std::string xmfa;
  TwoGenomes() {
    dir.Write("g1.fa", ">c1\nAAACCCGGGTTT\n");
    dir.Write("g1.gff", "c1\tx\tCDS\t4\t9\t.\t+\t0\tID=a\n");
    dir.Write("g2.fa", ">c2\nAAAGCCCAAACCC\n");
    dir.Write("g2.gff", "c2\tx\tCDS\t9\t11\t.\t+\t0\tID=b\nc2\tx\tCDS\t6\t9\t.\t+\t0\tID=c\n");
    xmfa = dir.Write("two.xmfa",
                     "#FormatVersion Mauve1\n#Sequence1File\tg1.fa\n#Sequence2File\tg2.fa\n"
                     "> 1:1-6 + g1.fa\nAAA-CCC\n> 2:1-7 + g2.fa\nAAAGCCC\n=\n"
                     "> 1:7-12 + g1.fa\nGGGTTT\n> 2:8-13 - g2.fa\nGGGTTT\n> x\nGGGTAT\n=\n");
  }
};

// The letters of a one-record FASTA file of tests/data.
std::string GenomeLetters(const std::string& name) {
  const std::string text = ReadTestFile(name);
  std::string letters;
  for (const char c : text.substr(text.find('\n')))
    if (c != '\n' && c != '\r') letters += c;
  return letters;
}

std::string ReverseComplemented(std::string s) {
  std::reverse(s.begin(), s.end());
  for (char& c : s) c = c == 'A' ? 'T' : c == 'T' ? 'A' : c == 'C' ? 'G' : c == 'G' ? 'C' : c;
  return s;
}

std::string Ungapped(std::string_view s) {
  std::string out;
  for (const char c : s)
    if (c != '-') out += c;
  return out;
}

}  // namespace

TEST(ParseXmfaHeader, GenomeRangeAndStrandNeedTheBlankAfterTheEnd) {
  XmfaHeader h = ParseXmfaHeader("2:101-200 - g.fa");
  EXPECT_TRUE(h.ok);
  EXPECT_EQ(h.genome, 2);
  EXPECT_EQ(h.start, 101);
  EXPECT_EQ(h.end, 200);
  EXPECT_FALSE(h.plusStrand);
  EXPECT_TRUE(ParseXmfaHeader("1:0-0 + a.fa").plusStrand);
  EXPECT_FALSE(ParseXmfaHeader("2:101-200").ok);
  EXPECT_FALSE(ParseXmfaHeader("2:101- x").ok);  // the end needs a character of its own
  EXPECT_FALSE(ParseXmfaHeader("g:101-200 +").ok);
}

TEST(ColumnOfLetter, SkipsTheGapsBeforeTheLetter) {
  const TSeq s("e", "AC--G-T");
  EXPECT_EQ(ColumnOfLetter(s, 3), 5);
  EXPECT_EQ(ColumnOfLetter(s, 4), 7);
  EXPECT_EQ(ColumnOfLetter(s, 5), 8);  // past the last letter: every gap counted
}

// Plain multi-FASTA, blocks ended by '=' (">x=y" included) and the real Mauve sample, whose
// genome files are not there: no question is asked.
TEST(OpenXmfa, BlocksBecomeNumberedDatasetsThatReplaceTheProject) {
  RecordingServices svc;
  TestFolder dir("xmfa_blocks");
  TDataProj proj(svc);
  proj.NewDataset();
  OpenWindow window(proj);
  const OpenResult r = DispatchFile(dir.Write("m.fas", ">a\nAC\nGT\n>b\nACGA\n>c 1:2\nAC\n"),
                                    kCodeMultiFasta, {}, &window, svc);
  EXPECT_EQ(r.datasetsAdded, 1);
  ASSERT_EQ(Names(proj), std::vector<std::string>{"1_m.fas"});
  EXPECT_EQ(RowsOf(*proj.DatasetAt(0)), (Rows{{"a", "ACGT"}, {"b", "ACGA"}, {"c 1:2", "AC"}}));

  const std::string f =
      dir.Write("f.xmfa", ">1:1-2 + p\nAC\n>2:5-6 - q\nGT\n=\n>u\nA\n>x=y\n>v\nC\n");
  EXPECT_TRUE(OpenDataFile(f, kCodeMultiFasta, false, &window, svc));
  ASSERT_EQ(Names(proj), (std::vector<std::string>{"1_f.xmfa", "2_f.xmfa", "3_f.xmfa"}));
  EXPECT_EQ(proj.DatasetAt(0)->dsNumber, 0);
  EXPECT_EQ(proj.DatasetAt(1)->dsNumber, 1);
  EXPECT_EQ(RowsOf(*proj.DatasetAt(1)), (Rows{{"u", "A"}}));
  EXPECT_EQ(RowsOf(*proj.DatasetAt(2)), (Rows{{"v", "C"}}));
  EXPECT_EQ(proj.DatasetAt(0)->SeqAt(2)->genomeNumber, 2);
  EXPECT_EQ(proj.DatasetAt(1)->SeqAt(1)->genomeNumber, 0);

  ASSERT_TRUE(OpenDataFile(std::string(NODRIX_TEST_DATA) + "/simple_short.xmfa", kCodeMultiFasta,
                           false, &window, svc));
  EXPECT_TRUE(svc.messages.questions.empty());
  ASSERT_EQ(Names(proj), (std::vector<std::string>{"1_simple_short.xmfa", "2_simple_short.xmfa"}));
  const TDataSeq& first = *proj.DatasetAt(0);
  ASSERT_EQ(first.Count(), 3);
  EXPECT_EQ(first.SeqAt(1)->letters, std::string(240, '-'));  // "1:0-0": gaps only
  EXPECT_EQ(first.SeqAt(3)->genomeNumber, 3);
  EXPECT_EQ(first.SeqAt(3)->seqName, "3:9476-10076 - c.fa");
  ASSERT_EQ(proj.DatasetAt(1)->Count(), 2);  // the last block has no closing '='
  EXPECT_EQ(proj.DatasetAt(1)->SeqAt(2)->Length(), 46);
}

TEST(OpenXmfa, AFileWithoutBlocksLeavesTheWindowAlone) {
  RecordingServices svc;
  TestFolder dir("xmfa_none");
  TDataProj proj(svc);
  proj.NewDataset();
  OpenWindow window(proj);
  (void)DispatchFile(dir.Write("n.xmfa", "#FormatVersion Mauve1\n"), kCodeMultiFasta, {}, &window,
                     svc);
  EXPECT_EQ(proj.DatasetCount(), 1);
  (void)DispatchFile(dir.File("absent.xmfa"), kCodeMultiFasta, {}, &window, svc);
  EXPECT_EQ(proj.DatasetCount(), 1);
}

// Regions worked out by hand from the genome coordinates above. A minus-strand entry holds
// genome letter e0 - i + 1 at letter i, so genome 9..11 lands on letters 3..5 reversed.
TEST(OpenXmfa, AnnotationsLandOnTheirLettersOnBothStrands) {
  RecordingServices svc;
  TwoGenomes g;
  svc.messages.answers = {false, true};  // no ordering (so no concatenation), annotations
  TDataProj proj(svc);
  OpenWindow window(proj);
  ASSERT_TRUE(OpenDataFile(g.xmfa, kCodeMultiFasta, false, &window, svc));
  ASSERT_EQ(svc.messages.questions.size(), 2u);
  EXPECT_EQ(
      svc.messages.questions[0],
      "Order alignments by reference? Will use reference from file:\r\n" + g.dir.File("g1.fa"));
  EXPECT_EQ(svc.messages.questions[1], "Load annotations (will take more time and memory)?");
  ASSERT_EQ(proj.DatasetCount(), 2);
  const TDataSeq& b1 = *proj.DatasetAt(0);
  const TDataSeq& b2 = *proj.DatasetAt(1);
  // Genome-1 CDS 4..9 (letter 4 after the gap in column 4), cut by the block end.
  EXPECT_EQ(RegsOf(*b1.SeqAt(1)), (std::vector<Reg>{{5, 7, false, 1}}));
  // Its rest in block 2: letters 7..9, first letter the 4th of the CDS, codon position 1.
  EXPECT_EQ(RegsOf(*b2.SeqAt(1)), (std::vector<Reg>{{1, 3, false, 1}}));
  // Genome 2 on the plus strand: CDS 6..9 cut after letter 7.
  EXPECT_EQ(RegsOf(*b1.SeqAt(2)), (std::vector<Reg>{{6, 7, false, 1}}));
  // Minus strand: 9..11 -> letters 3..5; 6..9 keeps 8..9 -> letters 5..6 (ending the entry),
  // its first letter 8 is the 3rd of its codon.
  EXPECT_EQ(RegsOf(*b2.SeqAt(2)), (std::vector<Reg>{{3, 5, true, 1}, {5, 6, true, 3}}));
}

// Ordered along g1 and concatenated: the gap of block 1 goes into the reference row, block 2
// follows in column 8, and genome 2's blocks join in one row. Its second block starts right
// after the first ends (end column 7, shift 7), which is no overlap. The entry of no genome
// keeps a row of its own.
TEST(OpenXmfa, OrderedBlocksJoinPerGenomeAlongTheReference) {
  RecordingServices svc;
  TwoGenomes g;
  svc.messages.answers = {true, true, true};
  TDataProj proj(svc);
  OpenWindow window(proj);
  ASSERT_TRUE(OpenDataFile(g.xmfa, kCodeMultiFasta, false, &window, svc));
  EXPECT_EQ(svc.messages.questions.size(), 3u);  // each once, though two genome files exist
  ASSERT_EQ(Names(proj), std::vector<std::string>{"c1"});
  const TDataSeq& ds = *proj.DatasetAt(0);
  ASSERT_EQ(ds.Count(), 3);
  EXPECT_EQ(
      RowsOf(ds),
      (Rows{{"c1", "AAA-CCCGGGTTT"}, {"2:1-7 + g2.fa", "AAAGCCCGGGTTT"}, {"x", "-------GGGTAT"}}));
  EXPECT_EQ(RegsOf(*ds.SeqAt(1)), (std::vector<Reg>{{5, 10, false, 1}}));
  EXPECT_EQ(RegsOf(*ds.SeqAt(2)),
            (std::vector<Reg>{{6, 7, false, 1}, {10, 12, true, 1}, {12, 13, true, 3}}));
  EXPECT_EQ(ds.SeqAt(2)->genomeNumber, 2);

  svc.messages.answers = {true, false, false};  // ordered, kept apart, no annotations
  ASSERT_TRUE(OpenDataFile(g.xmfa, kCodeMultiFasta, false, &window, svc));
  EXPECT_EQ(RowsOf(*proj.DatasetAt(0)), (Rows{{"c1", "AAA-CCCGGGTTT"},
                                              {"2:1-7 + g2.fa", "AAAGCCC"},
                                              {"2:8-13 - g2.fa", "-------GGGTTT"},
                                              {"x", "-------GGGTAT"}}));
}

// A block whose genome-1 entry starts on the last letter of a 1000-letter reference and on the
// minus strand: turned over, its leading gap becomes the reference's column 1001 and the
// other row reads backwards and complemented.
TEST(OpenXmfa, ABlockAtTheLastReferenceLetterIsPlaced) {
  RecordingServices svc;
  TestFolder dir("xmfa_last");
  dir.Write("r.fa", ">r\n" + std::string(999, 'A') + "C\n");
  const std::string x = dir.Write(
      "e.xmfa", "#Sequence1File\tr.fa\n> 1:1000-1000 - r.fa\n-G\n> 2:1-2 + s.fa\nTC\n=\n");
  svc.messages.answers = {true, false};
  TDataProj proj(svc);
  OpenWindow window(proj);
  ASSERT_TRUE(OpenDataFile(x, kCodeMultiFasta, false, &window, svc));
  ASSERT_EQ(proj.DatasetCount(), 1);
  const TDataSeq& ds = *proj.DatasetAt(0);
  EXPECT_EQ(ds.SeqAt(1)->letters, std::string(999, 'A') + "C-");
  ASSERT_EQ(ds.Count(), 2);
  EXPECT_EQ(ds.SeqAt(2)->columnShift, 999);
  EXPECT_EQ(ds.SeqAt(2)->letters, "GA");
}

TEST(XmfaText, CoordinatesPutEachDatasetAHundredThousandOn) {
  RecordingServices svc;
  TDataProj proj(svc);
  proj.NewDataset();
  Fill(*proj.CurrentDataset(), {{"a", "ACGT"}});
  proj.NewDataset();
  proj.CurrentDataset()->chromosome = 3;
  Fill(*proj.CurrentDataset(), {{"b", "AC"}, {"c", "ACG"}});
  proj.CurrentDataset()->SeqAt(1)->columnShift = 2;
  EXPECT_EQ(XmfaText(proj, true),
            "# dataset1 Dataset1\r\n>a:1-5 +\r\nACGT\r\n=\r\n"
            "# dataset2 Dataset2\r\n>b:chr3:100001-100005 +\r\n--AC\r\n"
            ">c:chr3:100001-100005 +\r\nACG\r\n=\r\n");
  EXPECT_EQ(XmfaText(proj, false).substr(0, 27), "# dataset1 Dataset1\r\n>a\r\nAC");
}

// progressiveMauve's alignment of a plasmid and a rearranged copy (tests/data/mauve): genome 1
// lies on the minus strand in the inverted block. Every region carried into an entry must cover
// exactly the genome letters of its GFF line inside the entry's range, read backwards and
// complemented on the minus strand; ordered and concatenated, each genome's row must hold its
// blocks' letters in reference order.
TEST(OpenXmfa, ProgressiveMauveAlignmentOfARearrangedPlasmid) {
  const std::string path = std::string(NODRIX_TEST_DATA) + "/mauve/pPCP.xmfa";
  const std::string genomes[] = {GenomeLetters("mauve/pPCP1.fa"), GenomeLetters("mauve/pPCP1b.fa")};
  RecordingServices svc;
  svc.messages.answers = {false, true};  // blocks kept apart, annotations
  TDataProj proj(svc);
  OpenWindow window(proj);
  ASSERT_TRUE(OpenDataFile(path, kCodeMultiFasta, false, &window, svc));
  ASSERT_EQ(proj.DatasetCount(), 4);
  int checked = 0, minus = 0;
  for (int d = 0; d < proj.DatasetCount(); ++d)
    for (int r = 1; r <= proj.DatasetAt(d)->Count(); ++r) {
      const TSeq& e = *proj.DatasetAt(d)->SeqAt(r);
      const XmfaHeader h = ParseXmfaHeader(e.seqName);
      ASSERT_TRUE(h.ok) << e.seqName;
      const std::string& genome = genomes[h.genome - 1];
      EXPECT_EQ(Ungapped(e.letters), h.plusStrand ? genome.substr(h.start - 1, h.end - h.start + 1)
                                                  : ReverseComplemented(genome.substr(
                                                        h.start - 1, h.end - h.start + 1)));
      for (const TRegion& reg : e.regions) {
        // The GFF line: seqid, source, kind, start, end, score, strand, ...
        std::vector<std::string> f;
        std::stringstream line(reg.regComment);
        for (std::string field; std::getline(line, field, '\t');) f.push_back(field);
        ASSERT_GE(f.size(), 7u) << reg.regComment;
        const int lo = std::max(std::stoi(f[3]), h.start), hi = std::min(std::stoi(f[4]), h.end);
        const std::string part = genome.substr(lo - 1, hi - lo + 1);
        EXPECT_EQ(Ungapped(std::string_view(e.letters).substr(reg.regStart - 1, reg.Length())),
                  h.plusStrand ? part : ReverseComplemented(part))
            << e.seqName << " " << reg.regComment;
        EXPECT_EQ(reg.regReverse, (f[6] == "-") == h.plusStrand) << reg.regComment;
        ++checked;
        minus += h.plusStrand ? 0 : 1;
      }
    }
  // The 10 CDS of pPCP1, the one across its first block end twice; the 7 of the copy.
  EXPECT_EQ(checked, 11 + 7);
  EXPECT_EQ(minus, 4);  // those of pPCP1's inverted block, the cut one included

  svc.messages.answers = {true, true, false};  // ordered along pPCP1, concatenated
  ASSERT_TRUE(OpenDataFile(path, kCodeMultiFasta, false, &window, svc));
  ASSERT_EQ(proj.DatasetCount(), 1);
  const TDataSeq& ds = *proj.DatasetAt(0);
  ASSERT_EQ(ds.Count(), 2);  // the block of genome 2 alone has no place on the reference
  EXPECT_EQ(Ungapped(ds.SeqAt(1)->letters), genomes[0]);
  const std::string& g2 = genomes[1];
  EXPECT_EQ(Ungapped(ds.SeqAt(2)->letters),
            g2.substr(0, 3150) + ReverseComplemented(g2.substr(3150, 2998)) + g2.substr(6150));
  // Placed on the right columns, the copy agrees with the reference at about 98% of its letters.
  const TSeq& ref = *ds.SeqAt(1);
  const TSeq& other = *ds.SeqAt(2);
  int same = 0, both = 0;
  for (int c = 1; c <= other.Length(); ++c) {
    const int refColumn = c + other.columnShift;
    if (refColumn > ref.Length()) break;
    const char a = ref.letters[refColumn - 1], b = other.letters[c - 1];
    if (a == '-' || b == '-') continue;
    ++both;
    same += a == b ? 1 : 0;
  }
  EXPECT_GT(both, 9000);
  EXPECT_GT(same, both * 95 / 100);
}
