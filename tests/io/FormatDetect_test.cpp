// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/FormatDetect.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "io/FormatTables.h"
#include "support/RecordingServices.h"

namespace {

namespace fs = std::filesystem;

fs::path TempFolder(const std::string& name) {
  const fs::path dir =
      fs::temp_directory_path() / ("nodrix_detect_" + name + "_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

}  // namespace

// Expected codes worked out from each file's first bytes and the ordered tests by hand:
// FASTQ, SAM, XMFA and GFF have no content test, so they are unrecognised (0); the PHYLIP
// files begin with their count line; the PIR file begins ">DL;" (it used to count as FASTA,
// with its description line read as letters); fake.ab1 is text with no magic.
TEST(DetectFormat, EverySampleFileGetsTheCodeItsFirstBytesCallFor) {
  struct Case {
    const char* file;
    int code;
  };
  const Case cases[] = {
      {"310.ab1", kCodeAbi},
      {"3730.ab1", kCodeAbi},
      {"empty.ab1", kCodeAbi},
      {"fake.ab1", 0},
      {"DMA_nuc.pir", kCodePir},
      {"NC_005816.gb", kCodeGenBank},
      {"cor6_6.gb", kCodeGenBank},
      {"clustalw.aln", kCodeClustal},
      {"opuntia.aln", kCodeClustal},
      {"dna.clustal", kCodeClustal},
      {"codonposset.nex", kCodeNexus},
      {"test_Nexus_input.nex", kCodeNexus},
      {"contig1.ace", kCodeAce},
      {"phd1", kCodePhd},
      {"f002", kCodeFastaGffQual},
      {"elderberry.nu", kCodeFastaGffQual},
      {"example.fasta", kCodeFastaGffQual},
      {"example.qual", kCodeFastaGffQual},
      {"example.fastq", 0},
      {"ex1.sam", 0},
      {"sam1.sam", 0},
      {"simple_short.xmfa", 0},
      {"eden1.gff3", 0},
      {"dna.phylip", kCodePhylip},
      {"interlaced.phy", kCodePhylip},
      {"sequential.phy", kCodePhylip},
      {"test1.mega", kCodeMega},
      {"test2.mega", kCodeMega},
      {"xb63c7.s1.exp", kCodeStadenExp},
      {"xml_2218_blastp_002.xml", kCodeBlastXml},
      {"xml_2226_blastn_002.xml", kCodeBlastXml},
  };
  RecordingMessages messages;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(DetectFormat(std::string(NODRIX_TEST_DATA) + "/" + c.file, messages), c.code);
  }
  EXPECT_TRUE(messages.notices.empty());
}

TEST(DetectFormatBytes, EachContentTestGivesItsCode) {
  struct Case {
    const char* name;
    std::string bytes;
    const char* path;
    int code;
  };
  const std::string projectMagic = std::string("\x08\0\0\0", 4) + "Nodrix_3" + std::string(8, '\0');
  const Case cases[] = {
      {"project file v3", projectMagic, "a.bin", kCodeProjectFile},
      {"project file v1", std::string("\x08\0\0\0", 4) + "Nodrix_1xxxx", "a", kCodeProjectFile},
      {"xml", "<?xml version=\"1.0\"?>\n<BlastOutput>", "r.xml", kCodeBlastXml},
      {"nexus lower case later", "[comment]\n  #nexus  \nbegin data;", "x", kCodeNexus},
      {"ms output", "ms 10 5 -t 4.0\n12345\n", "sim.txt", kCodeMsOutput},
      {"ssw output", "ssw run 3\n", "sim.txt", kCodeMsOutput},
      {"ztr trace", "\xaeZTR\r\n\x1a\n", "t.ztr", 0},
      {"mega", "#mega\n!Title x;\n#a ACGT\n", "m", kCodeMega},
      {"genbank", "LOCUS       AB000001   20 bp    DNA\n", "g", kCodeGenBank},
      {"abif", "ABIF\x00\x65", "t", kCodeAbi},
      {"scf", ".scf\x00\x00\x00\x10", "t", kCodeScf},
      {"experiment by name", "ID   read1\nSQ\n", "r.EXP", kCodeStadenExp},
      {"contigs by name", "whatever\n", "c.Contigs", kCodeStadenContigs},
      {"blast text", "BLASTN 2.2.18\n", "b.txt", 0},
      {"clustal", "\n\nclustal X 2.0\n\na ACGT\n", "c", kCodeClustal},
      {"ace", "AS 1 2\n\nCO Contig1", "a", kCodeAce},
      {"fasta", "some title line\n>s1\nACGT\n", "f", kCodeFastaGffQual},
      {"phd", "begin_sequence r1\n", "p", kCodePhd},
      {"nothing", "ACGTACGT\nACGT\n", "plain", 0},
      {"empty", "", "empty", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DetectFormatBytes(c.bytes, c.path), c.code);
  }
}

// Files other programs write, worked out from their first lines: PIR's ">XX;" before FASTA's
// '>', MUSCLE's and Kalign's Clustal headers, '#' comments before a PHD record, PHYLIP by its
// count line or its name; binary data is no text format whatever '>' it holds.
TEST(DetectFormatBytes, OtherProgramsFilesAndBinaryData) {
  struct Case {
    const char* name;
    std::string bytes;
    const char* path;
    int code;
  };
  const Case cases[] = {
      {"pir protein", ">P1;CRAB_ANAPL\nALPHA CRYSTALLIN B CHAIN.\nMDITIHNPLI*\n", "a", kCodePir},
      {"not pir", ">P1 first\nACGT\n", "a", kCodeFastaGffQual},
      {"muscle", "MUSCLE (3.8) multiple sequence alignment\n\n\na ACGT\n", "m", kCodeClustal},
      {"kalign", "Kalign (2.0) alignment in ClustalW format\n\n\na ACGT\n", "k", kCodeClustal},
      {"phd after comments", "# written by phred\n#\nBEGIN_SEQUENCE r1\n", "p", kCodePhd},
      {"phylip", " 3 120\nMSFM1     ACGT\n", "noext", kCodePhylip},
      {"phylip options", "2 8 I\nalpha ACGT\n", "noext", kCodePhylip},
      {"positions, not phylip", "3 100 L\n5 17 40 \n", "x.pos", 0},
      {"phylip by name", "what ever\n", "d.PHYLIP", kCodePhylip},
      {"nul with >", std::string("\x1f\x8b\x08\0>abc\n", 8), "x.gz", 0},
      {"control byte", "ACGT\x02>s\nAC\n", "x", 0},
      {"text controls", "\x1a>s1\r\n\tACGT\r\n", "x", kCodeFastaGffQual},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DetectFormatBytes(c.bytes, c.path), c.code);
  }
  EXPECT_TRUE(LooksBinary(std::string(100, 'A') + std::string(1, '\0')));
  EXPECT_FALSE(LooksBinary(std::string(kTextCheckBytes, 'A') + std::string(1, '\0')));
}

// A FASTA header may hold any word; the header line must not be taken for another format.
TEST(DetectFormatBytes, LeadingGreaterThanWinsOverFirstLineWords) {
  for (const char* text :
       {">chrms1\nACGT\n", ">ssw_contig\nACGT\n", ">BLAST hit 1\nACGT\n", ">clustal_seq\nACGT\n",
        ">ASSEMBLY_1\nACGT\n", "\n\n  >ms\nAC\n", ">LOCUS x\nACGT\n"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(DetectFormatBytes(text, "f.fas"), kCodeFastaGffQual);
  }
  // Without the ">" first the same words decide as before.
  EXPECT_EQ(DetectFormatBytes("chrms1\n>s\nACGT\n", "f"), kCodeMsOutput);
  EXPECT_EQ(DetectFormatBytes("ASSEMBLY 1\n", "f"), kCodeAce);
}

// Files shorter than a magic number are not that format, and nothing beyond their end is read
// (the sanitizers watch the reads; the strings own exactly these bytes).
TEST(DetectFormatBytes, ShortFilesAreNeverReadPastTheirEnd) {
  for (const std::string bytes :
       {std::string("ABI"), std::string(".sc"), std::string("\xaeZT"),
        std::string("\x08\0\0\0Nodrix_", 11), std::string("\x08\0\0\0Nodrix_9", 12),
        std::string("\x08\0\0\0Nod", 7), std::string("A"), std::string(">")}) {
    const auto copy = std::make_unique<char[]>(bytes.size());
    std::memcpy(copy.get(), bytes.data(), bytes.size());
    const int code = DetectFormatBytes(std::string_view(copy.get(), bytes.size()), "x");
    EXPECT_NE(code, kCodeAbi);
    EXPECT_NE(code, kCodeScf);
    EXPECT_NE(code, kCodeProjectFile);
  }
  EXPECT_EQ(DetectFormatBytes(">", "x"), kCodeFastaGffQual);
}

TEST(DetectFormatBytes, LooksOnlyAtTheBoundedPrefix) {
  std::string text(kDetectPrefixBytes + 10, 'A');
  text[100] = '\n';
  text += "\n#NEXUS\n";
  EXPECT_EQ(DetectFormatBytes(text, "x"), 0);
  // A ">" must be among the first 201 characters.
  EXPECT_EQ(DetectFormatBytes(std::string(201, 'x') + ">", "x"), 0);
  EXPECT_EQ(DetectFormatBytes(std::string(200, 'x') + ">", "x"), kCodeFastaGffQual);
}

TEST(DetectFormat, ReadsABoundedPrefixOfALargeFile) {
  const fs::path dir = TempFolder("large");
  const fs::path file = dir / "big.txt";
  // The NEXUS line sits past the prefix: a whole-file scan would find it.
  WriteFile(file, ">s1\n" + std::string(kDetectPrefixBytes * 4, 'A') + "\n#NEXUS\n");
  RecordingMessages messages;
  EXPECT_EQ(DetectFormat(file.string(), messages), kCodeFastaGffQual);
  fs::remove_all(dir);
}

TEST(CheckFileAccess, GivesTheRuntimeErrorCodes) {
  const fs::path dir = TempFolder("access");
  WriteFile(dir / "ok.fas", ">a\nAC\n");
  EXPECT_EQ(CheckFileAccess((dir / "ok.fas").string()), 0);
  EXPECT_EQ(CheckFileAccess((dir / "missing.fas").string()), 2);
  EXPECT_EQ(CheckFileAccess((dir / "no" / "such.fas").string()), 3);
  EXPECT_EQ(CheckFileAccess(dir.string()), 5);
  RecordingMessages messages;
  EXPECT_EQ(DetectFormat((dir / "missing.fas").string(), messages), 0);
  EXPECT_EQ(messages.notices, std::vector<std::string>{"I/O Error 2"});
  fs::remove_all(dir);
}

TEST(CannotOpenMessage, NamesTheFileAndTheSystemsReason) {
  const fs::path dir = TempFolder("reason");
  WriteFile(dir / "ok.fas", ">a\nAC\n");
  EXPECT_EQ(CannotOpenMessage((dir / "ok.fas").string()), "");
  EXPECT_EQ(CannotOpenMessage((dir / "x.fas").string()),
            "cannot open '" + (dir / "x.fas").string() + "': No such file or directory");
  EXPECT_EQ(CannotOpenMessage(dir.string()), "cannot open '" + dir.string() + "': is a directory");
  fs::remove_all(dir);
}

TEST(IoErrorMessage, AccessDeniedNamesTheReadOnlyFile) {
  EXPECT_EQ(IoErrorMessage(5, "/data/x/locus.fas"),
            "I/O Error 5\r\nThe file locus.fas is  read-only\r\nPlease change file attributes "
            "to allow read-write access");
  EXPECT_EQ(IoErrorMessage(2, "a"), "I/O Error 2");
}

TEST(FilterTables, CodesAndEntriesFollowTheDialogOrder) {
  ASSERT_EQ(OpenFilters().size(), 36u);
  for (std::size_t i = 0; i < OpenFilters().size(); ++i)
    EXPECT_EQ(OpenFilters()[i].code, int(i) + 1);
  EXPECT_EQ(OpenFilterCaption(35), "Phylip (*.phy)");
  EXPECT_EQ(OpenFilterCaption(0), "");
  EXPECT_EQ(OpenFilterCaption(37), "");
  ASSERT_EQ(SaveFilters().size(), 25u);  // the older PHYLIP layout is entry 25
  EXPECT_EQ(SaveFilterEntry(*SaveFilterAt(1)), "Nodrix data file (*.df)|*.df");
  EXPECT_EQ(SaveFilterEntry(*SaveFilterAt(16)), "eXtended Multi-Fasta Alignment (*.xmfa)|*.xmfa");
  EXPECT_EQ(SaveFilterAt(26), nullptr);
  int projectEntries = 0;
  for (const SaveFilter& f : SaveFilters()) projectEntries += f.projectEntry && f.index > 1;
  EXPECT_EQ(projectEntries, 8);  // 12, 15, 16, 17, 18, 20, 23, 24
}
