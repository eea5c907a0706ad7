// SPDX-License-Identifier: GPL-3.0-or-later
// MAQ and Eland readers, the seed-and-check mapper, the FASTQ scaffold converter and the open
// dispatcher's codes for them.
#include <gtest/gtest.h>

#include "io/Dispatcher.h"
#include "io/FormatTables.h"
#include "io/IoTestFiles.h"
#include "io/ReadFormats.h"
#include "io/TextFormatSupport.h"

namespace {

std::string Tabbed(const std::vector<std::string>& fields) {
  std::string line;
  for (const std::string& f : fields) line += (line.empty() ? "" : "\t") + f;
  return line + "\n";
}

// An Eland export line: X, Y, letters, contig, position, strand and filter in their fields.
std::string ElandLine(const std::string& x, const std::string& y, const std::string& letters,
                      const std::string& contig, const std::string& pos, const std::string& strand,
                      const std::string& filter) {
  return Tabbed({"M1",   "1", "1",    "1", x,  y,  "0", "1", letters, "BBBB", "",
                 contig, pos, strand, "",  "", "", "",  "",  "",      "",     filter});
}

// 300 letters of a fixed pseudo-random text, lower case (the mapper upper-cases references).
std::string RandomReference(std::uint32_t seed, int length) {
  std::string s(static_cast<std::size_t>(length), 'a');
  for (char& c : s) {
    seed = seed * 134775813u + 1u;
    c = "acgt"[seed >> 30];
  }
  return s;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string ReverseComplement(const std::string& s) {
  std::string out(s.rbegin(), s.rend());
  for (char& c : out) c = ComplementLetter(c);
  return out;
}

TDataSeq& AddReference(TDataProj& proj, const std::string& name, const std::string& letters) {
  auto ds = proj.MakeDataset();
  ds->dsName = name;
  auto seq = std::make_unique<TSeq>(name, letters);
  (void)ds->AddSeq(seq, false);
  return *proj.DatasetAt(proj.AddDataset(ds, false));
}

int Map(const std::string& reads, TDataProj& proj, RecordingServices& svc) {
  ReadContext ctx(svc, "reads.txt");
  return MapReads(MemorySource(reads), ctx, proj);
}

}  // namespace

TEST(OpenMaq, ReadsArePlacedOnTheDatasetOfTheirReference) {
  RecordingServices svc;
  TDataProj proj(svc);
  AddReference(proj, "chr1", "GGGGACGTGG");
  std::vector<std::string> f(16, "0");
  f[0] = "r1", f[1] = "chr1", f[2] = "5", f[14] = "ACGT";
  std::string text = Tabbed(f);
  f[0] = "r2", f[1] = "chr9", f[2] = "2", f[14] = "TT";
  text += Tabbed(f);
  f[0] = "r3", f[1] = "chr1", f[2] = "x";
  text += "\n" + Tabbed(f);
  ReadContext ctx(svc, "x.map");
  EXPECT_EQ(OpenMaq(MemorySource(text), ctx, proj, false), 2);
  EXPECT_EQ(RowsOf(*proj.DatasetAt(0)), (Rows{{"chr1", "GGGGACGTGG"}, {"r1", "----ACGT"}}));
  EXPECT_EQ(RowsOf(*proj.DatasetByName("chr9")), (Rows{{"r2", "-TT"}}));
}

TEST(OpenEland, PassedReadsArePlacedAndTurnedByStrand) {
  const std::string text = ElandLine("10", "20", "ACGT", "ctg1", "3", "F", "Y") +
                           ElandLine("11", "21", "AACC", "ctg1", "5", "R", "Y") +
                           ElandLine("12", "22", "TTTT", "ctg1", "1", "F", "N") +
                           ElandLine("13", "23", "GGGG", "ctg9", "1", "F", "Y") +
                           ElandLine("14", "24", "CCCC", "", "", "", "Y");
  for (const bool referencesOnly : {false, true}) {
    SCOPED_TRACE(referencesOnly);
    RecordingServices svc;
    TDataProj proj(svc);
    AddReference(proj, "ctg1", "TTACGTTT");
    ReadContext ctx(svc, "x_export.txt");
    EXPECT_EQ(OpenEland(MemorySource(text), ctx, proj, referencesOnly), referencesOnly ? 2 : 3);
    EXPECT_EQ(RowsOf(*proj.DatasetAt(0)),
              (Rows{{"ctg1", "TTACGTTT"}, {"X:10_Y:20", "--ACGT"}, {"X:11_Y:21", "----GGTT"}}));
    // The unplaced read leaves no empty dataset behind.
    EXPECT_EQ(proj.DatasetCount(), referencesOnly ? 1 : 2);
  }
}

TEST(MapReads, FastqReadsAreSeededOnBothStrandsOfLongReferences) {
  const std::string fastq = ReadTestFile("example.fastq");
  const std::string read1 = "CCCTTCTTGTCTTCAGCGTTTCTCC", read2 = "TTGGCAGGCCAAGGCCGATGGATCA";
  // Read 3 differs at letter 3, which breaks its first seed (letters 1..15); the second seed
  // (letters 9..23: 25 / 3 = 8) finds it. A third seed (17..31) does not fit in 25 letters.
  std::string read3 = "GTTGCTTCTGGCGTGGGTGGGGGGG";
  read3[2] = 'A';
  std::string ref = RandomReference(11, 300);
  ref.replace(40, 25, read1);
  ref.replace(120, 25, ReverseComplement(read2));
  ref.replace(200, 25, read3);
  RecordingServices svc;
  TDataProj proj(svc);
  TDataSeq& ds = AddReference(proj, "ref", ref);
  AddReference(proj, "short", read1 + std::string(150, 'A'));  // under 200 letters: no reference
  EXPECT_EQ(Map(fastq, proj, svc), 3);
  EXPECT_EQ(svc.messages.notices, Lines("Mapped 3 sequences"));
  EXPECT_EQ(ds.SeqAt(1)->letters, Upper(ref));
  ASSERT_EQ(ds.Count(), 4);
  EXPECT_EQ(ds.SeqAt(2)->seqName, "ref_EAS54_6_R1_2_1_413_324");
  EXPECT_EQ(ds.SeqAt(2)->columnShift, 40);
  EXPECT_EQ(ds.SeqAt(2)->seqComment, ";;3;;;;;;;;;;;;7;;;;;;;88");  // the whole quality line
  // On the reverse strand the read is turned to the reference's strand.
  EXPECT_EQ(ds.SeqAt(3)->letters, ReverseComplement(read2));
  EXPECT_EQ(ds.SeqAt(3)->columnShift, 120);
  EXPECT_EQ(ds.SeqAt(4)->columnShift, 200);
  EXPECT_EQ(proj.DatasetAt(1)->Count(), 1);
}

TEST(MapReads, SeedsStartAtOneAndAtOneAndTwoThirdsAndMustFitTheRead) {
  const std::string ref = Upper(RandomReference(5, 300));
  const auto mutated = [&](int from, int length, std::initializer_list<int> letters) {
    std::string read =
        ref.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(length));
    for (const int p : letters) {
      char& c = read[static_cast<std::size_t>(p - 1)];
      c = c == 'A' ? 'C' : 'A';
    }
    return read;
  };
  const struct {
    const char* what;
    std::string read;
    int shift;  // -1: not placed
  } cases[] = {
      // 30 letters: seeds at letters 1, 11 and 21; letter 10 breaks only the first.
      {"second seed at letter 11", mutated(101, 30, {10}), 100},
      // Letters 3 and 13 break seeds 1 and 2; a seed at 21 would need letters 21..35.
      {"third seed does not fit", mutated(101, 30, {3, 13}), -1},
      // 45 letters: seeds at 1, 16 and 31.
      {"third seed at letter 31", mutated(151, 45, {2, 20}), 150},
      // The second seed finds the reference's first letters 10 letters into the read: the window
      // would begin before the reference.
      {"window before the reference", "CCCCCCCCCC" + ref.substr(0, 20), -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RecordingServices svc;
    TDataProj proj(svc);
    TDataSeq& ds = AddReference(proj, "ref", ref);
    EXPECT_EQ(Map(c.read + "\n", proj, svc), c.shift < 0 ? 0 : 1);
    if (c.shift >= 0) {
      ASSERT_EQ(ds.Count(), 2);
      EXPECT_EQ(ds.SeqAt(2)->columnShift, c.shift);
      EXPECT_EQ(ds.SeqAt(2)->seqName, "ref_read_1");
    }
  }
}

TEST(ConvertFastq, ScaffoldRecordsBecomeFastaDecimalQualitiesAndNames) {
  TestFolder dir("fastq");
  // Record 1 spans two letter lines and two quality lines; its second quality line begins with
  // "@" while quality is still owed, and its qualities 29 (">") would end a FASTA record if
  // written as characters.
  const std::string path = dir.Write("scaf.fq",
                                     "@scaffold1 len=12\nACGTAC\nGTACGT\n+\n>>>>>>\n@@@@@@\n"
                                     "@scaffold2\r\nNNNN\r\n+\r\n!!!I\r\n\n"
                                     "@scaffold3\nACG\n+scaffold3\n#$%\n");
  RecordingServices svc;
  const FastqConversion out = ConvertFastq(path, svc);
  ASSERT_TRUE(out.ok);
  EXPECT_EQ(out.records, 3);
  EXPECT_EQ(TestFolder::Read(dir.File("scaf.fa")),
            ">scaffold1 len=12\r\nACGTACGTACGT\r\n>scaffold2\r\nNNNN\r\n>scaffold3\r\nACG\r\n");
  EXPECT_EQ(TestFolder::Read(dir.File("scaf.qual")),
            ">scaffold1 len=12\r\n29 29 29 29 29 29 31 31 31 31 31 31 \r\n"
            ">scaffold2\r\n0 0 0 40 \r\n>scaffold3\r\n2 3 4 \r\n");
  EXPECT_EQ(TestFolder::Read(dir.File("scaf_names.txt")),
            "scaffold1 len=12\r\nscaffold2\r\nscaffold3\r\n");
  // The FASTA reader takes the quality file as its companion.
  TDataSeq ds(svc);
  ReadContext ctx(svc, dir.File("scaf.fa"));
  ASSERT_TRUE(OpenFastaFile(ctx, ds));
  EXPECT_EQ(ds.SeqAt(1)->quality,
            (std::vector<std::uint8_t>{29, 29, 29, 29, 29, 29, 31, 31, 31, 31, 31, 31}));
  EXPECT_EQ(ds.SeqAt(2)->quality, (std::vector<std::uint8_t>{0, 0, 0, 40}));
}

TEST(OpenDataFileReads, SamWithAReferenceFileKeepsToItsReferences) {
  TestFolder dir("samdispatch");
  const std::string fasta = dir.Write("refs.fasta", ">chr1 first\nGGACGTGG\n>chr2\nTTTTTTTT\n");
  const std::string sam = dir.Write("x.sam",
                                    "r1\t0\tchr1\t3\t60\t4M\t*\t0\t0\tACGT\t*\n"
                                    "r2\t0\tchr3\t1\t60\t2M\t*\t0\t0\tAC\t*\n");
  RecordingServices svc;
  TDataProj proj(svc);
  OpenWindow window(proj);
  OpenOptions options;
  options.askReference = true;
  options.chooseReferenceFile = [&] { return fasta; };
  EXPECT_TRUE(DispatchFile(sam, kCodeSam, options, &window, svc).handled);
  ASSERT_EQ(proj.DatasetCount(), 2);  // chr1 and chr2 from the FASTA file, no chr3
  EXPECT_EQ(RowsOf(*proj.DatasetAt(0)), (Rows{{"chr1 first", "GGACGTGG"}, {"r1", "--ACGT"}}));
  // Without a reference step the SAM file's own references become datasets.
  TDataProj plain(svc);
  OpenWindow plainWindow(plain);
  EXPECT_EQ(DispatchFile(sam, kCodeSam, {}, &plainWindow, svc).sequencesAdded, 2);
  EXPECT_EQ(DispatchFile(dir.File("none.sam"), kCodeSam, {}, &plainWindow, svc).sequencesAdded, 0);
  EXPECT_EQ(svc.messages.notices,
            std::vector<std::string>{"Can not open file \r\n" + dir.File("none.sam")});
}

TEST(OpenDataFileReads, MapperAndElandAskFirstAndTheMapperNeedsReferences) {
  TestFolder dir("mapdispatch");
  const std::string reads = dir.Write("reads.txt", "ACGTACGTACGTACGTACGT\n");
  RecordingServices svc;
  TDataProj proj(svc);
  OpenWindow window(proj);
  window.caption = "w1";
  EXPECT_TRUE(DispatchFile(reads, kCodeMapIllumina, {}, &window, svc).handled);
  EXPECT_EQ(svc.messages.questions,
            Lines("Open fasta file with reference sequence(s) to use for mapping Illumina reads?"));
  EXPECT_EQ(svc.messages.notices, Lines("This input option requires reference sequence(s) to map "
                                        "Illumina reads. Aborting..."));
  AddReference(proj, "ref", RandomReference(3, 250) + "ACGTACGTACGTACGTACGT");
  svc.messages.questions.clear();
  svc.messages.answers = {true};
  EXPECT_EQ(DispatchFile(reads, kCodeMapIllumina, {}, &window, svc).sequencesAdded, 1);
  EXPECT_EQ(svc.messages.questions.back(),
            "Nodrix is about to start mapping Illumina reads to sequences in data window \r\n"
            "w1\r\nThis may take a long time. Proceed anyway?");
  const std::string eland = dir.Write("e.txt", ElandLine("1", "2", "ACGT", "ref", "1", "F", "Y"));
  svc.messages.questions.clear();
  svc.messages.answers = {true, false};  // limited to mapped reads; then No to proceeding
  EXPECT_EQ(DispatchFile(eland, kCodeEland, {}, &window, svc).sequencesAdded, 0);
  EXPECT_EQ(svc.messages.questions.back(),
            "Nodrix is about to open Illumina reads Eland-mapped to sequences in data window "
            "\r\nw1\r\nThis may take a long time. Proceed anyway?");
}
