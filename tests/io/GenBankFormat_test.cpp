// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>

#include "io/AnnotatedFormats.h"
#include "io/CliRun.h"
#include "io/GenBankLocation.h"
#include "io/IoTestFiles.h"
#include "io/TextFormatSupport.h"
#include "model/GenCodUnit.h"

namespace {

using Parts = std::vector<LocationPart>;

std::unique_ptr<TDataSeq> ReadGenBank(const std::string& text, RecordingServices& svc,
                                      const std::string& fileName = "dir/sample.gb") {
  auto ds = std::make_unique<TDataSeq>(svc.services);
  ReadContext ctx(svc, fileName);
  OpenGenBank(MemorySource(text), ctx, *ds);
  return ds;
}

// A record with the given features and 50 letters.
std::string Record(const std::string& accession, const std::string& features) {
  return "LOCUS       TEST1   50 bp   DNA\nACCESSION   " + accession +
         "\nFEATURES             Location/Qualifiers\n" + features +
         "ORIGIN\n        1 atggctaaac gtcctgaagc attgtaacgt acgtacgtac gtacgtacgt\n//\n";
}

struct Chain {
  std::string letters;  // the joined letters in reading order
  int codonPos = 0;
};

std::string ReverseComplement(std::string s) {
  std::reverse(s.begin(), s.end());
  for (char& c : s) c = ComplementLetter(c);
  return s;
}

// Every CDS chain of a sequence: the parts followed through nextId from the one without a
// predecessor, each part's letters reverse-complemented on the reverse strand.
std::vector<Chain> CdsChains(const TSeq& seq) {
  std::map<int, const TRegion*> byId;
  for (const TRegion& r : seq.regions)
    if (r.regType == kRegCds) byId[r.regId] = &r;
  std::vector<Chain> chains;
  for (const auto& [id, start] : byId) {
    if (start->prevId != -1) continue;
    Chain chain{"", start->codonPos};
    for (const TRegion* r = start; r != nullptr;) {
      const std::string part =
          seq.letters.substr(static_cast<std::size_t>(r->regStart - 1), r->Length());
      chain.letters += r->regReverse ? ReverseComplement(part) : part;
      const auto next = byId.find(r->nextId);
      r = next == byId.end() ? nullptr : next->second;
    }
    chains.push_back(chain);
  }
  return chains;
}

// The "/translation" values of a GenBank text, continuation lines joined.
std::vector<std::string> FileTranslations(const std::string& text) {
  std::vector<std::string> out;
  for (std::size_t at = text.find("/translation=\""); at != std::string::npos;
       at = text.find("/translation=\"", at + 1)) {
    const std::size_t from = at + 14, to = text.find('"', from);
    std::string value;
    for (const char c : text.substr(from, to - from))
      if (c >= 'A' && c <= 'Z') value += c;
    out.push_back(value);
  }
  return out;
}

}  // namespace

TEST(ParseLocation, ReadsRangesOfThisRecordAndSkipsEverythingElseWhole) {
  EXPECT_EQ(ParseLocation("join(1..10,123,12^13,X1.1:1..50,20..30)"),
            (Parts{{1, 10, false}, {20, 30, false}}));
  EXPECT_EQ(ParseLocation("123"), Parts{});
  EXPECT_EQ(ParseLocation("12^13"), Parts{});
  EXPECT_EQ(ParseLocation("40..30"), Parts{});
  EXPECT_EQ(ParseLocation("order(<1..10,\n  15..>20"), (Parts{{1, 10, false}, {15, 20, false}}));
  // Both ways of writing a joined feature on the reverse strand list the parts in reading order.
  const Parts reverse{{8, 12, true}, {1, 5, true}};
  EXPECT_EQ(ParseLocation("complement(join(1..5,8..12))"), reverse);
  EXPECT_EQ(ParseLocation("join(complement(8..12),complement(1..5))"), reverse);
  std::string deep;
  for (int i = 0; i < 5000; ++i) deep += "complement(";
  EXPECT_EQ(ParseLocation(deep + "1..2"), Parts{});  // too deep to be a location: no part
}

TEST(OpenGenBank, JoinedCdsPartsAreChainedWithTheirCodonPositions) {
  RecordingServices svc;
  const auto ds = ReadGenBank(Record("",
                                     "     gene            10..40\n"
                                     "                     /gene=\"abc\"\n"
                                     "     CDS             join(10..20,\n"
                                     "                     30..40)\n"
                                     "                     /gene=\"abc\"\n"
                                     "                     /codon_start=2\n"
                                     "                     /product=\"a \"\"small\"\"\n"
                                     "                     protein\"\n"
                                     "     misc_feature    45..50\n"
                                     "     CDS             complement(join(1..5,8..12))\n"
                                     "                     /locus_tag=\"t1\"\n"),
                              svc);
  ASSERT_EQ(ds->Count(), 1);
  const TSeq& seq = *ds->SeqAt(1);
  EXPECT_EQ(seq.seqName, "sample");  // an empty ACCESSION keeps the file name
  EXPECT_EQ(seq.Length(), 50);
  EXPECT_EQ(seq.sourceFormat, 9);
  ASSERT_EQ(seq.regions.size(), 5u);
  // Sorted by start. codon_start 2 is codon position 3; 11 letters later it is 2.
  // The reverse CDS reads 12..8 first (codon position 1), then 5..1: 1 + 5 letters -> 3.
  struct Expected {
    int start, end, kind, codonPos;
    bool reverse;
    const char* name;
  };
  const Expected expected[] = {{1, 5, kRegCds, 3, true, "t1"},
                               {8, 12, kRegCds, 1, true, "t1"},
                               {10, 40, kRegGene, 0, false, "abc"},
                               {10, 20, kRegCds, 3, false, "abc"},
                               {30, 40, kRegCds, 2, false, "abc"}};
  for (std::size_t i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    const TRegion& r = seq.regions[i];
    EXPECT_EQ(r.regStart, expected[i].start);
    EXPECT_EQ(r.regEnd, expected[i].end);
    EXPECT_EQ(r.regType, expected[i].kind);
    EXPECT_EQ(r.codonPos, expected[i].codonPos);
    EXPECT_EQ(r.regReverse, expected[i].reverse);
    EXPECT_EQ(r.regName, expected[i].name);
  }
  const TRegion &first = seq.regions[3], &second = seq.regions[4];
  EXPECT_EQ(first.nextId, second.regId);
  EXPECT_EQ(second.prevId, first.regId);
  EXPECT_EQ(first.prevId, -1);
  EXPECT_EQ(second.nextId, -1);
  EXPECT_EQ(first.regComment, "product=\"a \"small\" protein\"");
  EXPECT_EQ(seq.regions[1].nextId, seq.regions[0].regId);  // reading order: 8..12, then 1..5
  EXPECT_TRUE(svc.messages.errors.empty());
}

TEST(OpenGenBank, CutRecordsAndFilesWithoutLocusAreReported) {
  RecordingServices svc;
  const std::string whole = Record("A1", "");
  auto ds = ReadGenBank(whole + whole.substr(0, whole.size() - 4), svc, "cut.gb");
  EXPECT_EQ(ds->Count(), 1);
  EXPECT_EQ(svc.messages.errors,
            Lines("cut.gb, line 7: the record starting here ends before its closing \"//\" "
                  "and was not read"));
  ds = ReadGenBank(">fasta\nACGT\n", svc, "x.gb");
  EXPECT_EQ(ds->Count(), 0);
  EXPECT_EQ(svc.messages.notices,
            (std::vector<std::string>{"Check file type! Errors occured while reading GenBank "
                                      "file \r\nx.gb"}));
}

TEST(OpenGenBank, SeveralRecordsDriveTheProgressBarAndACancelAddsNothing) {
  std::string text;
  for (int i = 0; i < 3; ++i) text += Record("R" + std::to_string(i), std::string(40, '\n'));
  RecordingServices svc;
  TDataSeq ds(svc.services);
  ReadContext ctx(svc, "three.gb");
  ctx.showProgress = true;
  EXPECT_EQ(OpenGenBank(MemorySource(text), ctx, ds), 3);
  EXPECT_EQ(svc.progress.starts, 1);
  EXPECT_EQ(svc.progress.steps, 3);
  EXPECT_EQ(svc.progress.ends, 1);
  EXPECT_EQ(svc.progress.statuses.front(), "Reading GenBank file...");
  EXPECT_EQ(svc.progress.statuses[1], "Processing line 100 from GB file three.gb");

  RecordingServices cancelling;
  cancelling.progress.cancelAfterSteps = 2;
  TDataSeq none(cancelling.services);
  ReadContext ctx2(cancelling, "three.gb");
  ctx2.showProgress = true;
  EXPECT_EQ(OpenGenBank(MemorySource(text), ctx2, none), 0);
  EXPECT_EQ(none.Count(), 0);
  EXPECT_EQ(cancelling.progress.ends, 1);
}

// The samples' own "/translation" values check locations, strands and codon positions: each
// CDS chain's letters, translated from its codon position, give one of them. The first
// residue is left out (the bacterial file starts some proteins at GTG or TTG, which its
// translations give as M) and so is a final stop, which GenBank translations leave off.
TEST(OpenGenBank, RealSamplesTranslateToTheirOwnTranslations) {
  struct Sample {
    const char* file;
    std::vector<std::string> names;
    std::vector<int> regions;
  };
  const Sample samples[] = {
      {"NC_005816.gb", {"NC_005816"}, {20}},
      {"cor6_6.gb",
       {"X55053", "X62281", "M81224", "AJ237582", "L31939", "AF297471"},
       {2, 4, 2, 3, 2, 4}},
  };
  const TGenCode universal("Universal");
  for (const Sample& s : samples) {
    SCOPED_TRACE(s.file);
    RecordingServices svc;
    const std::string text = ReadTestFile(s.file);
    const auto ds = ReadGenBank(text, svc, s.file);
    EXPECT_TRUE(svc.messages.errors.empty());
    ASSERT_EQ(ds->Count(), static_cast<int>(s.names.size()));
    std::vector<std::string> expected, translated;
    for (const std::string& t : FileTranslations(text)) expected.push_back(t.substr(1));
    for (int row = 1; row <= ds->Count(); ++row) {
      const TSeq& seq = *ds->SeqAt(row);
      EXPECT_EQ(seq.seqName, s.names[static_cast<std::size_t>(row - 1)]);
      EXPECT_EQ(static_cast<int>(seq.regions.size()), s.regions[static_cast<std::size_t>(row - 1)]);
      for (const Chain& c : CdsChains(seq)) {
        const std::size_t skip = c.codonPos == 2 ? 2 : c.codonPos == 3 ? 1 : 0;
        std::string protein = universal.TranslateSeq(c.letters.substr(skip), false);
        if (!protein.empty() && protein.back() == '*') protein.pop_back();
        translated.push_back(protein.substr(1));
      }
    }
    std::sort(expected.begin(), expected.end());
    std::sort(translated.begin(), translated.end());
    EXPECT_EQ(translated, expected);
  }
  RecordingServices svc;
  const auto read = ReadGenBank(ReadTestFile("NC_005816.gb"), svc);
  const TSeq& plasmid = *read->SeqAt(1);
  EXPECT_EQ(plasmid.Length(), 9609);
  EXPECT_EQ(plasmid.definition,
            "Yersinia pestis biovar Microtus str. 91001 plasmid pPCP1, complete sequence");
  EXPECT_EQ(plasmid.organism, "Yersinia pestis biovar Microtus str. 91001");
  EXPECT_EQ(plasmid.locusName, "NC_005816");
  EXPECT_EQ(plasmid.regions.front().regName, "YP_pPCP01");
}

namespace {

// Gaps at 3, 8, 9 and 21: column c holds letter c - (gaps up to c) of the written record.
//            1234567890123456789012345678901 2
const char* kGapped = "AT-GAAA--CCCGGGTAAGG-CCTTTGGGCAT";

TSeq AnnotatedSeq() {
  TSeq seq("s1", kGapped);
  seq.accession = "S1";
  auto add = [&](int start, int end, int kind, bool reverse, int codonPos, const char* name) {
    TRegion r;
    r.regStart = start;
    r.regEnd = end;
    r.regType = static_cast<std::uint8_t>(kind);
    r.regReverse = reverse;
    r.codonPos = codonPos;
    r.regName = name;
    return seq.AddRegion(r);
  };
  add(1, 20, kRegGene, false, 0, "g1");
  add(22, 26, kRegPromotor, false, 0, "");
  add(8, 9, kRegMisc, false, 0, "on gaps only");
  const int a = add(1, 7, kRegCds, false, 1, "cds1");
  const int b = add(10, 15, kRegCds, false, 1, "cds1");
  const int c = add(30, 32, kRegCds, true, 1, "cds2");  // read first on the reverse strand
  const int d = add(27, 29, kRegCds, true, 1, "cds2");
  auto link = [&](int from, int to) {
    seq.regions[static_cast<std::size_t>(seq.RegionIndexById(from))].nextId = to;
    seq.regions[static_cast<std::size_t>(seq.RegionIndexById(to))].prevId = from;
  };
  link(a, b);
  link(c, d);
  return seq;
}

}  // namespace

TEST(GenBankText, GappedRegionsAndLinkedPartsReadBackAtTheirLetterPositions) {
  const TGenCode code("Universal");
  const std::string text = GenBankText(AnnotatedSeq(), code);
  // Worked by hand: 28 letters; the promotor covers columns 22..26, letters 18..22.
  EXPECT_TRUE(text.starts_with("LOCUS       s1" + std::string(24, ' ') +
                               "28 bp    DNA     linear   UNK 01-JAN-1980\r\n"));
  EXPECT_NE(text.find("\r\n     Promotor        18..22\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n     CDS             join(1..6,7..12)\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n     CDS             complement(join(23..25,26..28))\r\n"),
            std::string::npos);
  EXPECT_EQ(text.find("on gaps only"), std::string::npos);
  // ATG AAA CCC GGG, and on the reverse strand CAT -> ATG, GGG -> CCC.
  EXPECT_EQ(FileTranslations(text), (std::vector<std::string>{"MKPG", "MP"}));
  EXPECT_NE(text.find("BASE COUNT      7 a    6 c    9 g    6 t    \r\n"), std::string::npos);
  EXPECT_NE(text.find("ORIGIN\r\n        1 ATGAAACCCG GGTAAGGCCT TTGGGCAT\r\n//\r\n"),
            std::string::npos);

  RecordingServices svc;
  const auto ds = ReadGenBank(text, svc);
  ASSERT_EQ(ds->Count(), 1);
  const TSeq& back = *ds->SeqAt(1);
  EXPECT_EQ(back.seqName, "S1");
  EXPECT_EQ(back.letters, "ATGAAACCCGGGTAAGGCCTTTGGGCAT");
  struct Expected {
    int start, end, kind;
    bool reverse;
    const char* name;
  };
  const Expected expected[] = {{1, 17, kRegGene, false, "g1"},
                               {1, 6, kRegCds, false, "cds1"},
                               {7, 12, kRegCds, false, "cds1"},
                               {23, 25, kRegCds, true, "cds2"},
                               {26, 28, kRegCds, true, "cds2"}};
  ASSERT_EQ(back.regions.size(), 5u);
  for (std::size_t i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(back.regions[i].regStart, expected[i].start);
    EXPECT_EQ(back.regions[i].regEnd, expected[i].end);
    EXPECT_EQ(back.regions[i].regType, expected[i].kind);
    EXPECT_EQ(back.regions[i].regReverse, expected[i].reverse);
    EXPECT_EQ(back.regions[i].regName, expected[i].name);
    EXPECT_EQ(back.regions[i].codonPos, expected[i].kind == kRegCds ? 1 : 0);
  }
  EXPECT_EQ(back.regions[1].nextId, back.regions[2].regId);
  EXPECT_EQ(back.regions[4].nextId, back.regions[3].regId);
}

// Biopython, an independent reader, takes the written record without a warning (stderr is
// part of the output compared): the LOCUS line, the location, the translation whose
// continuation lines start with 21 blanks, and the numbered letters.
TEST(GenBankText, BiopythonReadsTheWrittenRecord) {
  if (ShellOutput("/usr/bin/python3 -c 'import Bio; print(1)' 2>/dev/null") != "1\n")
    GTEST_SKIP() << "python3-biopython is not installed (tools/install-deps.sh installs it)";
  TSeq seq("long", "ATG" + std::string(3 * 45, 'A') + "TAA");  // M, 45 K and a stop
  seq.AddSimpleRegion(1, seq.Length(), "", "k45", kRegCds, 1);
  TestFolder dir("genbank_biopython");
  const TGenCode code("Universal");
  const std::string text = GenBankText(seq, code);
  EXPECT_NE(text.find("\r\n" + std::string(21, ' ') + "KKKKKK\"\r\n"), std::string::npos);
  const std::string file = dir.Write("long.gb", text);
  const std::string script =
      dir.Write("read.py",
                "import sys\nfrom Bio import SeqIO\nr = SeqIO.read(sys.argv[1], 'genbank')\n"
                "print(len(r.seq))\n"
                "for f in r.features: print(f.type, f.location, f.qualifiers['translation'][0])\n");
  EXPECT_EQ(ShellOutput("/usr/bin/python3 " + script + " " + file + " 2>&1"),
            "141\nCDS [0:141](+) M" + std::string(45, 'K') + "\n");
}
