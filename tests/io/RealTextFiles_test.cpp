// SPDX-License-Identifier: GPL-3.0-or-later
// Files written by other programs: names, lengths and letters as they stand in the files
// (counted with awk and checked by eye), and a write and re-read that changes nothing.
#include <gtest/gtest.h>

#include "io/TextFormatSupport.h"

namespace {

struct Expected {
  std::string name;
  std::size_t length;
  std::string start;  // first letters
  std::string end;    // last letters
};

void ExpectRows(const Rows& rows, const std::vector<Expected>& expected) {
  ASSERT_EQ(rows.size(), expected.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(rows[i].first, expected[i].name);
    EXPECT_EQ(rows[i].second.size(), expected[i].length);
    EXPECT_TRUE(rows[i].second.starts_with(expected[i].start)) << rows[i].second;
    EXPECT_TRUE(rows[i].second.ends_with(expected[i].end)) << rows[i].second;
  }
}

template <typename Reader>
Rows ReadFile(Reader reader, const std::string& file, RecordingServices& svc) {
  const std::string text = ReadTestFile(file);
  EXPECT_FALSE(text.empty()) << file;
  TDataSeq ds(svc);
  ReadContext ctx(svc, file);
  EXPECT_TRUE(reader(MemorySource(text), ctx, ds));
  return RowsOf(ds);
}

// Writes the rows with the writer and reads them back with the reader.
template <typename Writer, typename Reader>
Rows WriteAndRead(const Rows& rows, Writer writer, Reader reader, RecordingServices& svc) {
  TDataSeq ds(svc);
  Fill(ds, rows);
  const std::string text = writer(ds);
  TDataSeq back(svc);
  ReadContext ctx(svc, "rewritten");
  EXPECT_TRUE(reader(MemorySource(text), ctx, back));
  return RowsOf(back);
}

bool ReadFastaFn(const ByteSource& s, ReadContext& c, TDataSeq& d) {
  return OpenFasta(s, c, d);
}
std::string FastaFn(const TDataSeq& d) {
  return FastaText(d, false);
}
std::string PhylipFn(const TDataSeq& d) {
  return PhylipText(d);
}

}  // namespace

TEST(RealFastaFiles, WholeHeadersAreNamesAndWrappedLinesJoin) {
  RecordingServices svc;
  const Rows f002 = ReadFile(ReadFastaFn, "f002", svc);
  ExpectRows(f002,
             {{"gi|1348912|gb|G26680|G26680 human STS STS_D11729.^Agi|1396336|gb|G27617|G27617 "
               "human STS SHGC-32648.",
               633, "CGGACCAGACGGACACAGGG", "NTGGTTTNA"},
              {"gi|1348917|gb|G26685|G26685 human STS STS_D11734.", 413, "CGGAGCCAGCGAGCATATGC",
               "GGNGGTNNNGAAA"},
              {"gi|1592936|gb|G29385|G29385 human STS SHGC-32652", 471, "GATCAAATCTGCACTGTGTC",
               "AATAAAACAANTTNNTTTTTT"}});
  EXPECT_EQ(WriteAndRead(f002, FastaFn, ReadFastaFn, svc), f002);

  // CR LF line ends.
  const Rows elder = ReadFile(ReadFastaFn, "elderberry.nu", svc);
  ExpectRows(elder, {{"gi|4218935|gb|AF074388.1|AF074388 Sambucus nigra hevein-like protein "
                      "HLPf gene, partial cds",
                      2050, "ATGAAGTTAAGCACTCTTCTC", "CATCAAAATGTCTGTCGTTT"}});
  EXPECT_EQ(WriteAndRead(elder, FastaFn, ReadFastaFn, svc), elder);
  EXPECT_TRUE(svc.messages.errors.empty());
}

TEST(RealFastaFiles, QualityCompanionGivesOneValuePerLetter) {
  RecordingServices svc;
  TDataSeq ds(svc);
  ReadContext ctx(svc, "example.fasta");
  const std::string fasta = ReadTestFile("example.fasta"), qual = ReadTestFile("example.qual");
  MemorySource q(qual);
  ASSERT_TRUE(OpenFasta(MemorySource(fasta), ctx, ds, {&q, nullptr, {}}));
  ExpectRows(RowsOf(ds), {{"EAS54_6_R1_2_1_413_324", 25, "CCCTTCTTGTC", "TTTCTCC"},
                          {"EAS54_6_R1_2_1_540_792", 25, "TTGGCAGG", "GGATCA"},
                          {"EAS54_6_R1_2_1_443_348", 25, "GTTGCTTC", "GGGGGGG"}});
  const std::vector<std::uint8_t> first = {26, 26, 18, 26, 26, 26, 26, 26, 26, 26, 26, 26, 26,
                                           26, 26, 22, 26, 26, 26, 26, 26, 26, 26, 23, 23};
  EXPECT_EQ(ds.SeqAt(1)->quality, first);
  EXPECT_EQ(ds.SeqAt(3)->quality.back(), 18);
  // The quality file the writer makes reads back the same values.
  const std::string qualText = FastaQualityText(ds), fastaText = FastaText(ds, false);
  MemorySource again(qualText);
  TDataSeq back(svc);
  ASSERT_TRUE(OpenFasta(MemorySource(fastaText), ctx, back, {&again, nullptr, {}}));
  for (int row = 1; row <= 3; ++row) EXPECT_EQ(back.SeqAt(row)->quality, ds.SeqAt(row)->quality);
}

TEST(RealFastaFiles, Gff3AnnotatesTheNamedSequence) {
  RecordingServices svc;
  TDataSeq ds(svc);
  Fill(ds, {{"ctg123", std::string(9000, 'A')}, {"other", "ACGT"}});
  const std::string gff = ReadTestFile("eden1.gff3");
  MemorySource g(gff);
  ReadContext ctx(svc, "eden1.gff3");
  EXPECT_EQ(ApplyGff(g, ctx, ds, false), 1);
  const auto& regions = ds.SeqAt(1)->regions;
  ASSERT_EQ(regions.size(), 23u);  // 23 feature lines, the two "##" lines are comments
  EXPECT_EQ(regions[0].regType, kRegGene);
  EXPECT_EQ(regions[0].regStart, 1000);
  EXPECT_EQ(regions[0].regEnd, 9000);
  EXPECT_EQ(regions[1].regType, kRegMisc);  // TF_binding_site
  EXPECT_EQ(regions[2].regType, kRegMRna);
  EXPECT_EQ(regions[18].regType, kRegCds);  // CDS 5000..5500, phase 1
  EXPECT_EQ(regions[18].regStart, 5000);
  EXPECT_EQ(regions[18].codonPos, 3);
  EXPECT_TRUE(ds.SeqAt(2)->regions.empty());
}

TEST(RealPhylipFiles, InterleavedSequentialAndStrictFilesReadAlike) {
  RecordingServices svc;
  const std::vector<Expected> proteins = {
      {"CYS1_DICDI", 384, "-----MKVILLFVLAVFTVFVSS", "CGVSNFVSTSII--"},
      {"ALEU_HORVU", 384, "MAHARVLLLALAVLATAAVAVASSSSFADS", "CAIATCASYPVVAA"},
      {"CATH_HUMAN", 384, "------MWATLPLLCAGAWLLGV", "CGLAACASYPIPLV"}};
  const Rows interlaced = ReadFile(OpenPhylip, "interlaced.phy", svc);
  ExpectRows(interlaced, proteins);
  EXPECT_EQ(ReadFile(OpenPhylip, "sequential.phy", svc), interlaced);
  EXPECT_EQ(WriteAndRead(interlaced, PhylipFn, OpenPhylip, svc), interlaced);

  const Rows dna = ReadFile(OpenPhylip, "dna.phylip", svc);
  ExpectRows(dna, {{"MSFM1", 120, "ACGTACGTACGTACGTACGTACGT", "ACGTACGTACGTACGTACGT"},
                   {"MSFM2", 120, "ACGTACGTACGTACGTACGT----ACGT", "ACGTACGTTGCAACGTACGT"},
                   {"MSFM3", 120, "ACGTACGTACGTACGTACGTACGTACGTACGTACGTACGTCGTA",
                    "ACGTACGTACGTACGTACGT"}});
  EXPECT_EQ(WriteAndRead(dna, PhylipFn, OpenPhylip, svc), dna);
  EXPECT_EQ(MessageCount(svc), 0u) << svc.messages.errors.front();
}

TEST(RealMegaFiles, NamesAreTheFirstWordWhetherLettersFollowOrNot) {
  RecordingServices svc;
  const std::vector<Expected> expected = {{"mouse", 36, "AATTTTTACCCCGGGGGGAGG", "ACCCCGGGGGG"},
                                          {"human", 36, "AACCCTTACCCCGGGGGGAGG", "ACCCCGGGGGG"},
                                          {"cat", 36, "AATTTTTACAAAGGGGGGAGG", "ACCCCGGGGGG"}};
  const Rows one = ReadFile(OpenMega, "test1.mega", svc);
  ExpectRows(one, expected);
  EXPECT_EQ(ReadFile(OpenMega, "test2.mega", svc), one);
  EXPECT_EQ(WriteAndRead(one, MegaText, OpenMega, svc), one);
  EXPECT_EQ(MessageCount(svc), 0u);
}

TEST(RealNexusFiles, QuotedNamesNestedCommentsAndInterleavedBlocks) {
  RecordingServices svc;
  TDataProj proj(svc);
  ReadContext ctx(svc, "test_Nexus_input.nex");
  const std::string text = ReadTestFile("test_Nexus_input.nex");
  ASSERT_TRUE(OpenNexus(MemorySource(text), ctx, proj));
  ASSERT_EQ(proj.DatasetCount(), 1);
  const Rows rows = RowsOf(*proj.DatasetAt(0));
  ExpectRows(rows, {{"t1", 48, "A-C-G-Tc-gtgtgtgctct-t-t------ac", "gtgtgtgctct-t-t"},
                    {"t2 the name", 48, "A-C-GcTc-gtg-----tct-t-t----acac", "-gtg-----tct-t-t"},
                    {"isn'that [a] strange name?", 48, "A-CcGcTc-gtgtgtgct------", "gct------"},
                    {"one should be punished, for (that)!", 48, "A-C-G-T---", "------"},
                    // "??" split so that no trigraph warning fires.
                    {"t5", 48,
                     "A-C?G-T?--acgt?"
                     "?-?"
                     "?"
                     "?-?"
                     "?"
                     "?--?"
                     "?---?",
                     "-?"
                     "?"
                     "?-?"
                     "?"
                     "?"},
                    {"t6", 48, "AcCaGtTc-?--aaaaaaaa-a-aacgactac", "a-a"},
                    {"t7", 48,
                     "A?C-GgTg-ggggggggggg-g-g?"
                     "?--?ggg",
                     "g-g"},
                    {"t8", 48, "AtCtGtTt-ttttttttttt-?-?tttttttt", "t-?-?"},
                    {"t9", 48, "cccccccc-cccccccccccNc-ccccccccc", "cccccccccccNc-c"}});
  EXPECT_TRUE(svc.messages.errors.empty()) << svc.messages.errors.front();
  // Five taxon sets become groups next to the outgroup group.
  EXPECT_EQ(proj.GroupCount(), 6);

  TDataProj again(svc);
  ReadContext ctx2(svc, "again.nex");
  const std::string written = NexusText(proj, 0);
  ASSERT_TRUE(OpenNexus(MemorySource(written), ctx2, again));
  EXPECT_EQ(RowsOf(*again.DatasetAt(0)), rows);
}

// A real codon set (Biopython's test file): non-coding columns, then a coding run read as coding.
TEST(RealNexusFiles, CodonPositionSetsGiveRegions) {
  RecordingServices svc;
  TDataProj proj(svc);
  ReadContext ctx(svc, "codonposset.nex");
  const std::string text = ReadTestFile("codonposset.nex");
  ASSERT_TRUE(OpenNexus(MemorySource(text), ctx, proj));
  const TDataSeq& ds = *proj.DatasetAt(0);
  ExpectRows(RowsOf(ds), {{"Aegotheles", 22, "AAAAAGGCATTGTGGTGGGAAT", "T"},
                          {"Aerodramus", 22, "?????????TTGTGGTGGGAAT", "T"}});
  for (int row = 1; row <= 2; ++row) {
    const auto& regions = ds.SeqAt(row)->regions;
    ASSERT_EQ(regions.size(), 2u);
    EXPECT_EQ(regions[0].regType, kRegIntron);
    EXPECT_EQ(regions[0].regStart, 1);
    EXPECT_EQ(regions[0].regEnd, 10);
    EXPECT_EQ(regions[1].regType, kRegCds);
    EXPECT_EQ(regions[1].regStart, 11);
    EXPECT_EQ(regions[1].regEnd, 22);
    EXPECT_EQ(regions[1].codonPos, 1);
  }
  EXPECT_TRUE(svc.messages.errors.empty());
}

TEST(RealClustalFiles, BlocksJoinWithoutCountsOrGroupBlanks) {
  RecordingServices svc;
  const Rows clustalw = ReadFile(OpenClustal, "clustalw.aln", svc);
  ExpectRows(clustalw,
             {{"gi|4959044|gb|AAD34209.1|AF069", 601, "MENSDSNDKGSDQSAAQRRSQ", "RRAVLSSGNRESVV"},
              {"gi|671626|emb|CAA85685.1|", 601, "---------MSPQTETKASVGFKAG", "FEFPAMD---"}});
  EXPECT_EQ(WriteAndRead(clustalw, FastaFn, ReadFastaFn, svc), clustalw);

  const Rows opuntia = ReadFile(OpenClustal, "opuntia.aln", svc);
  ASSERT_EQ(opuntia.size(), 7u);
  EXPECT_EQ(opuntia[0].first, "gi|6273285|gb|AF191659.1|AF191");
  EXPECT_EQ(opuntia[6].first, "gi|6273291|gb|AF191665.1|AF191");
  for (const auto& row : opuntia) EXPECT_EQ(row.second.size(), 156u) << row.first;
  EXPECT_TRUE(opuntia[0].second.starts_with("TATACATTAAAGAAGGGGGATGCGGATAAATGGA"));
  EXPECT_TRUE(opuntia[4].second.ends_with("ACCAGA"));
  EXPECT_EQ(WriteAndRead(opuntia, FastaFn, ReadFastaFn, svc), opuntia);

  const Rows dna = ReadFile(OpenClustal, "dna.clustal", svc);
  EXPECT_EQ(dna, ReadFile(OpenPhylip, "dna.phylip", svc));  // the same alignment
  EXPECT_TRUE(svc.messages.errors.empty());
}

TEST(RealPirFiles, NamesFollowTheTypeCodeAndDescriptionsStayOut) {
  RecordingServices svc;
  const Rows rows = ReadFile(OpenPir, "DMA_nuc.pir", svc);
  ExpectRows(rows, {{"HLA:HLA00485", 786, "ATGGGTCATGAACAGAACCAAGG", "TTGCTCAGGTGACTGA"},
                    {"HLA:HLA00486", 564, "CTCCTACTCCAATGTGGCCA", "AATTGCCTATTGGG"},
                    {"HLA:HLA00487", 279, "GGGTTTCCTATCGCTGAAGT", "TTGCCTATTGG"},
                    {"HLA:HLA00488", 279, "GGGTTTCCTATCGCTGAAGT", "TTGCCTATTGG"}});
  for (const auto& row : rows) EXPECT_EQ(row.second.find("HLA"), std::string::npos);
  EXPECT_EQ(WriteAndRead(rows, FastaFn, ReadFastaFn, svc), rows);
  EXPECT_EQ(MessageCount(svc), 0u);
}
