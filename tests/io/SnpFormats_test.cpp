// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "IoTestFiles.h"
#include "io/FormatTables.h"
#include "io/ResultFormats.h"
#include "model/DataProjUnit.h"
#include "support/RecordingServices.h"

namespace {

using Sites = std::vector<std::int32_t>;

// Reference letters numbered from 1: position p holds kLetters[(p - 1) % 4].
std::string Reference(int length) {
  std::string s;
  for (int p = 1; p <= length; ++p) s += "ACGT"[(p - 1) % 4];
  return s;
}

}  // namespace

TEST(OpenSnpTable, SnpsAppliedToTheReferenceSegmentTheySpan) {
  TestFolder dir("snp_table");
  // Wrapped over lines and records, 200 letters: A at 101, C at 150, G at 151.
  const std::string ref = Reference(200);
  const std::string refPath =
      dir.Write("ref.fa", ">chr part 1\n" + ref.substr(0, 70) + "\r\n" + ref.substr(70, 60) +
                              "\n>part 2\n" + ref.substr(130) + "\n");
  // Columns: id, accession, position, wild type, mutant. Position 150 (B) has the wrong wild
  // type; position 0 lies before the reference, and "x" is no position.
  const std::string snpPath = dir.Write(
      "snps.csv",
      "id,acc,pos,wt,mut\n1,\"Col 0\",101,a,g\n2,Ler,150,A,T\n3,Ler,151,g,T\n4,Ler,0,A,C\n"
      "5,Ler,x,A,C\n6,Col 0\n");
  RecordingServices svc;
  TDataProj proj(svc);
  OpenWindow window(proj);
  OpenOptions options;
  options.snpTable.referencePath = refPath;
  options.snpTable.hasHeaders = true;
  ASSERT_TRUE(DispatchFile(snpPath, kCodeSnpTable, options, &window, svc).handled);
  const TDataSeq& ds = *proj.DatasetAt(0);
  ASSERT_EQ(ds.Count(), 3);
  EXPECT_EQ(ds.NameAt(1), "ref.fa[101-151]");
  EXPECT_EQ(ds.SeqAt(1)->letters, ref.substr(100, 51));
  std::string col = ref.substr(100, 51), ler = col;
  col[0] = 'g';   // a matches A at 101 whatever the case
  ler[50] = 'T';  // g matches G at 151; 150 stays, its wild type A is not there
  EXPECT_EQ(ds.NameAt(2), "Col 0");
  EXPECT_EQ(ds.SeqAt(2)->letters, col);
  EXPECT_EQ(ds.SeqAt(3)->letters, ler);

  // An offset of 100 moves every SNP 100 letters left; those before the reference (0 - 100,
  // 101 - 100 is the first letter) are passed over rather than indexed before it.
  RecordingServices svc2;
  TDataProj proj2(svc2);
  OpenWindow window2(proj2);
  options.snpTable.positionOffset = 100;
  (void)DispatchFile(snpPath, kCodeSnpTable, options, &window2, svc2);
  ASSERT_EQ(proj2.DatasetAt(0)->Count(), 3);
  EXPECT_EQ(proj2.DatasetAt(0)->NameAt(1), "ref.fa[1-51]");
  EXPECT_EQ(proj2.DatasetAt(0)->SeqAt(2)->letters[0], 'g');
}

TEST(OpenSnpTable2, GenotypesSharedOutToTwoRowsPerIndividual) {
  TestFolder dir("genotypes");
  const std::string path =
      dir.Write("g.csv", "ind1,A/G,AG,A,\n\"ind2\", C , T/T ,G/A,TT\nlonely\n");
  RecordingServices svc;
  TDataProj proj(svc);
  OpenWindow window(proj);
  ASSERT_TRUE(OpenDataFile(path, kCodeSnpTable2, false, &window, svc));
  ASSERT_EQ(proj.DatasetCount(), 1);
  const TDataSeq& ds = *proj.DatasetAt(0);
  ASSERT_EQ(ds.Count(), 4);
  EXPECT_EQ(ds.NameAt(1), "ind1_1");
  EXPECT_EQ(ds.SeqAt(1)->letters, "AAAN");
  EXPECT_EQ(ds.SeqAt(2)->letters, "GGNN");
  EXPECT_EQ(ds.NameAt(4), "ind2_2");
  EXPECT_EQ(ds.SeqAt(3)->letters, "CTGT");
  EXPECT_EQ(ds.SeqAt(4)->letters, "NTAT");
  EXPECT_EQ(ds.SeqAt(4)->seqType, kSeqSnp);
  ASSERT_EQ(proj.IndividCount(), 2);
  EXPECT_EQ(ds.SeqAt(3)->individId, proj.Individs()[1].indKey);
  EXPECT_EQ(proj.Individs()[1].indName, "ind2");
}

TEST(OpenSdi, SamplesOfOneChromosomeShareTheUnionOfTheirSites) {
  TestFolder dir("sdi");
  // Sample s1: C/T at 10, a two-letter substitution at 20 (only its second letter differs),
  // an insertion (length 2, ignored), a two-letter one at 0 whose first site lies before the
  // chromosome (passed over) and whose second is G/T at 1, and one SNP on chr2.
  const std::string s1 = dir.Write(
      "s1.sdi",
      "chr1\t10\t0\tC\tT\t.\t7\t1.5\nchr1\t20\t0\tAG\tAC\t.\t3\t2\n"
      "chr1\t30\t2\tA\tACG\t.\t9\t1\nchr1\t0\t0\tAG\tTT\t.\t1\t1\nchr1\tx\t0\tA\tG\t.\t1\t1\n"
      "chr2\t5\t0\tG\tA\t.\t2\t0.1\n");
  // Sample s2 shares 10, adds 15 and lists them out of order.
  const std::string s2 =
      dir.Write("s2.sdi", "chr1\t15\t0\tG\tc\t.\t4\t1\nchr1\t10\t0\tC\tG\t.\t5\t1\n");
  RecordingServices svc;
  TDataProj proj(svc);
  OpenWindow window(proj);
  ASSERT_TRUE(OpenDataFile(s1, kCodeSdi, false, &window, svc));
  ASSERT_TRUE(OpenDataFile(s2, kCodeSdi, false, &window, svc));
  ASSERT_EQ(proj.DatasetCount(), 2);
  const TDataSeq& chr1 = *proj.DatasetAt(0);
  EXPECT_EQ(chr1.dsName, "chr1");
  ASSERT_EQ(chr1.Count(), 3);
  // s1 has sites 1, 10, 21 and s2 10, 15: a row lacking a site holds the reference letter.
  const Sites sites{1, 10, 15, 21};
  struct Row {
    const char* name;
    const char* letters;
  };
  for (const Row& r : {Row{"ref_chr1", "GCGG"}, Row{"s1_chr1", "TTGC"}, Row{"s2_chr1", "GGcG"}}) {
    const int row = chr1.RowByName(r.name);
    ASSERT_GT(row, 0) << r.name;
    EXPECT_EQ(chr1.SeqAt(row)->letters, r.letters) << r.name;
    EXPECT_EQ(chr1.SeqAt(row)->polySitePos, sites) << r.name;
    EXPECT_EQ(chr1.SeqAt(row)->seqType, kSeqSnp);
  }
  EXPECT_EQ(chr1.SeqAt(2)->readCount, 7 + 3 + 1);
  EXPECT_EQ(proj.DatasetAt(1)->Count(), 2);
  // One "reference" individual; one per sample file.
  ASSERT_EQ(proj.IndividCount(), 3);
  EXPECT_EQ(proj.Individs()[0].indName, "reference");
  EXPECT_EQ(chr1.SeqAt(1)->individId, proj.Individs()[0].indKey);
  EXPECT_EQ(chr1.SeqAt(3)->individId, proj.Individs()[2].indKey);
}

TEST(AddSnpRow, RowsWithoutSitesAndQualitiesFollowTheUnion) {
  RecordingServices svc;
  TDataSeq ds(svc);
  auto make = [](const char* name, const char* letters, Sites sites, const char* refLetters) {
    auto s = std::make_unique<TSeq>(name, letters);
    s->polySitePos = std::move(sites);
    s->seqComment = refLetters;
    s->seqType = kSeqSnp;
    return s;
  };
  auto ref = make("ref", "AC", {5, 9}, "");
  auto a = make("a", "TG", {5, 9}, "AC");
  a->quality = {30, 40};
  auto empty = make("none", "", {}, "");
  auto b = make("b", "gT", {12, 5}, "tA");  // sites out of order
  EXPECT_EQ(AddSnpRow(ds, ref), 1);
  EXPECT_EQ(AddSnpRow(ds, a), 2);
  EXPECT_EQ(AddSnpRow(ds, empty), 3);
  EXPECT_EQ(AddSnpRow(ds, b), 4);
  const Sites sites{5, 9, 12};
  EXPECT_EQ(ds.SeqAt(1)->letters, "ACt");
  EXPECT_EQ(ds.SeqAt(2)->letters, "TGt");
  EXPECT_EQ(ds.SeqAt(2)->quality, (std::vector<std::uint8_t>{30, 40, 0}));
  EXPECT_EQ(ds.SeqAt(3)->letters, "ACt");  // row 1's letters where it has none of its own
  EXPECT_EQ(ds.SeqAt(4)->letters, "TCg");
  for (int r = 1; r <= 4; ++r) EXPECT_EQ(ds.SeqAt(r)->polySitePos, sites);
}
