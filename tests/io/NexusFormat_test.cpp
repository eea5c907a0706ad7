// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "io/TextFormatSupport.h"

namespace {
Rows ReadNexus(const std::string& text, RecordingServices& svc, TDataProj* into = nullptr,
               bool* ok = nullptr) {
  TDataProj local(svc);
  TDataProj& proj = into ? *into : local;
  ReadContext ctx(svc, "x.nex");
  const bool read = OpenNexus(MemorySource(text), ctx, proj);
  if (ok) *ok = read;
  return proj.DatasetCount() > 0 ? RowsOf(*proj.DatasetAt(proj.DatasetCount() - 1)) : Rows{};
}

const char* kTaxa = "#NEXUS\nBEGIN TAXA;\nDIMENSIONS NTAX=2;\nTAXLABELS a b;\nEND;\n";
}  // namespace

TEST(OpenNexus, SequentialEntriesAreNamedByTheLabelThatOpensThem) {
  RecordingServices svc;
  EXPECT_EQ(ReadNexus(std::string(kTaxa) + "BEGIN DATA;\nMATRIX\nb TTTT\nA ACGT\n;\nEND;\n", svc),
            (Rows{{"b", "TTTT"}, {"a", "ACGT"}}));
}

TEST(OpenNexus, SequentialContinuationLinesKeepAllTheirTokens) {
  RecordingServices svc;
  EXPECT_EQ(ReadNexus(std::string(kTaxa) +
                          "BEGIN DATA;\nDIMENSIONS NCHAR=12;\nMATRIX\na ACGT\nAC GT TTTT\n"
                          "b ACGT ACGT\nACGT\n;\nEND;\n",
                      svc),
            (Rows{{"a", "ACGTACGTTTTT"}, {"b", "ACGTACGTACGT"}}));
  EXPECT_EQ(MessageCount(svc), 0u);
}

TEST(OpenNexus, SequentialMatrixWithoutLabelsUsesTheCharacterCount) {
  RecordingServices svc;
  EXPECT_EQ(ReadNexus("#NEXUS\nBEGIN DATA;\nDIMENSIONS NTAX=2 NCHAR=8;\nMATRIX\n"
                      "'first one' ACGT\nACGT\nsecond ACGTACGT\n;\nEND;\n",
                      svc),
            (Rows{{"first one", "ACGTACGT"}, {"second", "ACGTACGT"}}));
}

TEST(OpenNexus, InterleavedMatrixCyclesMatchesNamesAndCopiesMatchCharacters) {
  RecordingServices svc;
  // NTAX after DIMENSIONS counts; '_' and ' ' name the same taxon; '.' copies row 1.
  EXPECT_EQ(ReadNexus("#NEXUS\nbegin data;\ndimensions ntax=2 nchar=8;\n"
                      "format interleave=yes datatype=dna;\nmatrix\n"
                      "'x y' ACGT\nz    A..T\n\nx_y  GGCC\nz    .A..\n;\nend;\n",
                      svc),
            (Rows{{"x y", "ACGTGGCC"}, {"z", "ACGTGACC"}}));
  EXPECT_EQ(MessageCount(svc), 0u);
}

TEST(OpenNexus, InterleavedMatrixWithoutTaxonCountIsRefused) {
  RecordingServices svc;
  bool ok = true;
  EXPECT_TRUE(ReadNexus("#NEXUS\nBEGIN DATA;\nFORMAT INTERLEAVE;\nMATRIX\na AC\nb GT\n;\nEND;\n",
                        svc, nullptr, &ok)
                  .empty());
  EXPECT_FALSE(ok);
  EXPECT_EQ(svc.messages.notices,
            (std::vector<std::string>{
                "Number of taxa (NTAX clause) is missing\r\nCannot proceed with file x.nex"}));
}

TEST(OpenNexus, WrongFilesGiveTheirNotices) {
  RecordingServices svc;
  bool ok = true;
  ReadNexus("BEGIN DATA;\n", svc, nullptr, &ok);
  EXPECT_FALSE(ok);
  ReadNexus("#NEXUS\nBEGIN DATA;\nDIMENSIONS NCHAR=4;\nEND;\n", svc, nullptr, &ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(svc.messages.notices,
            (std::vector<std::string>{
                "This file is not a NEXUS file!",
                "File x.nex does no contain any sequences\r\nor it is of wrong format"}));
}

TEST(OpenNexus, CutShortFileReportsWhatIsMissing) {
  RecordingServices svc;
  EXPECT_EQ(
      ReadNexus(std::string(kTaxa) + "BEGIN DATA;\nDIMENSIONS NCHAR=4;\nMATRIX\na ACGT\nb AC [cut",
                svc),
      (Rows{{"a", "ACGT"}, {"b", "AC"}}));
  EXPECT_EQ(svc.messages.errors,
            (std::vector<std::string>{"x.nex, line 10: comment opened by '[' is never closed",
                                      "x.nex, line 8: command MATRIX is not closed by ';'",
                                      "x.nex, line 6: block DATA is not closed by END;",
                                      "x.nex, line 10: taxon b has 2 characters, NCHAR is 4"}));
}

// The coding lists come back as coding regions, so the columns the NEXUS writer classed keep
// their codon positions (they were exons once, which decide none).
TEST(OpenNexus, CodonListsBecomeIntronAndCodingRegionsOfEverySequence) {
  RecordingServices svc;
  // Without an N list the coding lists are still read.
  for (const char* lists :
       {"N: 1-3, 1: 4-9\\3, 2: 5-9\\3, 3: 6-9\\3;", "1: 4-9\\3, 2: 5-9\\3, 3: 6-9\\3;"}) {
    SCOPED_TRACE(lists);
    TDataProj proj(svc);
    ReadNexus(std::string(kTaxa) + "BEGIN DATA;\nMATRIX\na ACGTACGTA\nb ACGTACGTA\n;\nEND;\n" +
                  "BEGIN CODONS;\nCODONPOSSET * x =\n" + lists + "\nEND;\n",
              svc, &proj);
    const TSeq* b = proj.DatasetAt(0)->SeqAt(2);
    const bool withN = std::string(lists).starts_with("N");
    ASSERT_EQ(b->regions.size(), withN ? 2u : 1u);
    const TRegion& exon = b->regions.back();
    EXPECT_EQ(exon.regType, kRegCds);
    EXPECT_EQ(exon.regName, "Exon1");
    EXPECT_EQ(exon.regStart, 4);
    EXPECT_EQ(exon.regEnd, 9);
    EXPECT_EQ(exon.codonPos, 1);
    EXPECT_EQ(b->CodonPosAt(8), 2);
    if (withN) {
      EXPECT_EQ(b->regions[0].regType, kRegIntron);
      EXPECT_EQ(b->regions[0].regName, "Intron1");
      EXPECT_EQ(b->regions[0].regEnd, 3);
    }
  }
}

TEST(OpenNexus, UnparsableCodonStartGivesItsNotice) {
  RecordingServices svc;
  TDataProj proj(svc);
  ReadNexus(std::string(kTaxa) + "BEGIN DATA;\nMATRIX\na ACG\nb ACG\n;\nEND;\n" +
                "BEGIN CODONS;\nCODONPOSSET * x = N: one-3;\nEND;\n",
            svc, &proj);
  EXPECT_EQ(svc.messages.notices, Lines("code1: Can not assign coding regions"));
  EXPECT_TRUE(proj.DatasetAt(0)->SeqAt(1)->regions.empty());
}

TEST(OpenNexus, TaxSetsBecomeGroupsAndOutgroupsTheOutgroup) {
  RecordingServices svc;
  TDataProj proj(svc);
  ReadNexus(
      "#NEXUS\nBEGIN TAXA;\nDIMENSIONS NTAX=3;\nTAXLABELS a b c;\nEND;\n"
      "BEGIN DATA;\nMATRIX\na AC\nb AC\nc AC\n;\nEND;\n"
      "BEGIN SETS;\nTAXSET pop1 = 1-2 9 x;\nTAXSET Outgroups = 3;\nEND;\n",
      svc, &proj);
  ASSERT_EQ(proj.GroupCount(), 2);
  const TDataSeq& ds = *proj.DatasetAt(0);
  const int pop1 = proj.GroupKeyByName("pop1");
  ASSERT_GE(pop1, 0);
  EXPECT_EQ(proj.GroupOfSeq(ds, ds.SeqAt(1)->seqId), pop1);
  EXPECT_EQ(proj.GroupOfSeq(ds, ds.SeqAt(2)->seqId), pop1);
  EXPECT_EQ(proj.GroupOfSeq(ds, ds.SeqAt(3)->seqId), kOutgroupKey);
}

// Sets as programs write them: names (plain, with '_' for a blank, quoted), ranges with and
// without blanks, steps, '.' for the last taxon, earlier set names, all mixed.
TEST(OpenNexus, TaxSetsListNamesRangesStepsAndEarlierSets) {
  RecordingServices svc;
  TDataProj proj(svc);
  std::string text =
      "#NEXUS\nBEGIN TAXA;\nDIMENSIONS NTAX=8;\nTAXLABELS P1_01 P1_02 'P1 03'"
      " P2-01 P2-02 P2-03 O_1 O_2;\nEND;\nBEGIN DATA;\nMATRIX\n";
  for (const char* n : {"P1_01", "P1_02", "'P1 03'", "P2-01", "P2-02", "P2-03", "O_1", "O_2"})
    text += std::string(n) + " ACGT\n";
  text +=
      ";\nEND;\nBEGIN SETS;\n"
      "TAXSET P1 = P1_01 'P1_02' 'P1 03';\n"  // quoted, and '_' read as a blank
      "TAXSET P2 = P2-01 5 - 6;\n"            // a name with a dash, a range with blanks
      "TAXSET odd = 1-.\\2;\n"                // every second taxon to the last
      "TAXSET both = P1 P2 P1-02;\n"          // earlier sets; a misspelt name matches nothing
      "TAXSET Outgroups = O_1 8;\nEND;\n";
  ReadNexus(text, svc, &proj);
  ASSERT_EQ(proj.DatasetCount(), 1);
  const TDataSeq& ds = *proj.DatasetAt(0);
  ASSERT_EQ(ds.Count(), 8);
  const auto members = [&](const char* group) {
    std::vector<int> rows;
    const int key = proj.GroupKeyByName(group);
    const int index = proj.GroupIndexByKey(key);
    if (index < 0) return rows;
    const std::vector<bool>& m = proj.Groups()[static_cast<std::size_t>(index)].grpMembers;
    for (std::size_t k = 0; k < m.size(); ++k)
      if (m[k]) rows.push_back(static_cast<int>(k) + 1);
    return rows;
  };
  EXPECT_EQ(members("P1"), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(members("P2"), (std::vector<int>{4, 5, 6}));
  EXPECT_EQ(members("odd"), (std::vector<int>{1, 3, 5, 7}));
  EXPECT_EQ(members("both"), (std::vector<int>{1, 2, 3, 4, 5, 6}));
  // A sequence belongs to one group: the last set naming it wins; the outgroups are theirs.
  EXPECT_EQ(proj.GroupOfSeq(ds, ds.SeqAt(2)->seqId), proj.GroupKeyByName("both"));
  EXPECT_EQ(proj.GroupOfSeq(ds, ds.SeqAt(7)->seqId), kOutgroupKey);
  EXPECT_EQ(proj.GroupOfSeq(ds, ds.SeqAt(8)->seqId), kOutgroupKey);
  ASSERT_EQ(svc.messages.errors.size(), 1u);
  EXPECT_NE(svc.messages.errors[0].find("TAXSET both: 1 item(s) name no taxon: P1-02"),
            std::string::npos)
      << svc.messages.errors[0];
}

TEST(NexusText, BlocksCodonRunsAndSetsLineByLine) {
  RecordingServices svc;
  TDataProj proj(svc);
  proj.NewDataset();
  TDataSeq& ds = *proj.CurrentDataset();
  Fill(ds, {{"a", "ACGTACGTA"}, {"b c", "ACGTACGTA"}});
  for (int row = 1; row <= 2; ++row) {
    // Columns 1-3 non-coding, 4-9 two codons.
    ds.SeqAt(row)->AddSimpleRegion(1, 3, "", "nc", kRegNoncoding, 0);
    ds.SeqAt(row)->AddSimpleRegion(4, 9, "", "cds", kRegCds, 1);
  }
  EXPECT_EQ(NexusText(proj, 0),
            "#NEXUS\r\n[File generated by NODRIX v3]\r\nBEGIN TAXA;\r\nDIMENSIONS NTAX=2;\r\n"
            "TAXLABELS\r\na\r\n'b c'\r\n;\r\nEND;\r\n\r\n"
            "BEGIN CHARACTERS;\r\nDIMENSIONS NCHAR=9;\r\nFORMAT DATATYPE=DNA  MISSING=N GAP=-;\r\n"
            "MATRIX\r\na   ACGTACGTA\r\n'b c'   ACGTACGTA\r\n;\r\nEND;\r\n\r\n"
            "BEGIN CODONS;\r\nCODONPOSSET * UNTITLED = \r\n     N: 1-3,\r\n     1: 4-7\\3,\r\n"
            "     2: 5-8\\3,\r\n     3: 6-9\\3;\r\nCODESET * UNTITLED = Universal: all;\r\nEND;\r\n"
            // Every project has its outgroup group.
            "\r\nBEGIN SETS;\r\n   TaxSet Outgroups =;\r\nEND;");
  EXPECT_EQ(NexusText(proj, 5), "");

  TGroup group;
  group.grpName = "pop";
  ASSERT_GE(proj.AddGroup(group), 0);
  ASSERT_TRUE(proj.AssignSeqToGroup(0, "b c", "pop"));
  const std::string text = NexusText(proj, 0);
  EXPECT_TRUE(text.ends_with("BEGIN SETS;\r\n   TaxSet Outgroups =;\r\n   TaxSet pop = 2;\r\nEND;"))
      << text;
}

// NEXUS punctuation ends an unquoted word; '?' is a letter only when MISSING says so.
TEST(NexusText, NamesThatAreNotPlainWordsAreQuotedAndQuestionMarksDeclared) {
  RecordingServices svc;
  TDataProj proj(svc);
  proj.NewDataset();
  Fill(*proj.CurrentDataset(),
       {{"pop1/ind-2", "AC?T"}, {"it's", "ACGT"}, {"Homo_sapiens", "ACGT"}});
  const std::string text = NexusText(proj, 0);
  EXPECT_NE(text.find("TAXLABELS\r\n'pop1/ind-2'\r\n'it''s'\r\nHomo_sapiens\r\n;"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("FORMAT DATATYPE=DNA  MISSING=? GAP=-;"), std::string::npos);
  // Read back by the reader, the names and letters are the same.
  TDataProj back(svc);
  ReadContext ctx(svc, "x.nex");
  ASSERT_TRUE(OpenNexus(MemorySource(text), ctx, back));
  EXPECT_EQ(RowsOf(*back.DatasetAt(0)),
            (Rows{{"pop1/ind-2", "AC?T"}, {"it's", "ACGT"}, {"Homo_sapiens", "ACGT"}}));
}

TEST(OpenNexus, ProgressRunsOverTheTaxaWhenAsked) {
  RecordingServices svc;
  TDataProj proj(svc);
  ReadContext ctx(svc, "x.nex");
  ctx.showProgress = true;
  const std::string text = std::string(kTaxa) + "BEGIN DATA;\nMATRIX\na AC\nb GT\n;\nEND;\n";
  ASSERT_TRUE(OpenNexus(MemorySource(text), ctx, proj));
  EXPECT_EQ(svc.progress.starts, 1);
  EXPECT_EQ(svc.progress.steps, 2);
  EXPECT_EQ(svc.progress.ends, 1);
  EXPECT_EQ(svc.progress.statuses, Lines("Reading Nexus file..."));
}
