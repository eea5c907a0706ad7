// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "IoTestFiles.h"
#include "io/FormatTables.h"
#include "io/IOUnit.h"
#include "io/ProjectFile.h"
#include "io/ResultFormats.h"
#include "model/DataProjUnit.h"
#include "support/RecordingServices.h"

namespace {

std::string Data(const std::string& name) {
  return std::string(NODRIX_TEST_DATA) + "/" + name;
}

std::string Hsp(int queryFrom, int queryTo, const std::string& qseq, const std::string& hseq) {
  return "<Hsp><Hsp_query-from>" + std::to_string(queryFrom) + "</Hsp_query-from><Hsp_query-to>" +
         std::to_string(queryTo) + "</Hsp_query-to><Hsp_hit-from>1</Hsp_hit-from><Hsp_hit-to>" +
         std::to_string(hseq.size()) + "</Hsp_hit-to><Hsp_query-frame>1</Hsp_query-frame>" +
         "<Hsp_qseq>" + qseq + "</Hsp_qseq><Hsp_hseq>" + hseq + "</Hsp_hseq></Hsp>\n";
}

std::string Iteration(const std::string& query, const std::string& hitId, const std::string& hsps) {
  return "<Iteration>\n<Iteration_iter-num>1</Iteration_iter-num>\n<Iteration_query-def>" + query +
         "</Iteration_query-def>\n<Iteration_hits>\n<Hit><Hit_num>1</Hit_num><Hit_id>" + hitId +
         "</Hit_id><Hit_def>def of " + hitId + "</Hit_def><Hit_accession>AC_" + hitId +
         "</Hit_accession><Hit_hsps>\n" + hsps +
         "</Hit_hsps></Hit>\n</Iteration_hits>\n</Iteration>\n";
}

std::string BlastFile(const std::string& iterations) {
  return "<?xml version=\"1.0\"?>\n<BlastOutput>\n<BlastOutput_iterations>\n" + iterations +
         "</BlastOutput_iterations>\n</BlastOutput>\n";
}

std::string ReverseComplement(std::string s) {
  std::reverse(s.begin(), s.end());
  for (char& c : s) c = ComplementLetter(c);
  return s;
}

std::string ReadFastaRecord(const std::string& path, int record) {
  std::ifstream in(path);
  std::string line, letters;
  int seen = 0;
  while (std::getline(in, line)) {
    if (!line.empty() && line[0] == '>') {
      ++seen;
      continue;
    }
    if (seen == record) letters += line;
  }
  return letters;
}

}  // namespace

TEST(ReadBlastIteration, FieldsInAnyCaseWithEntitiesDecodedAndBadNumbersAsZero) {
  BlastIter iter;
  ASSERT_TRUE(ReadBlastIteration(
      "<Iteration><ITERATION_ITER-NUM>7</ITERATION_ITER-NUM><Iteration_query-len>x"
      "</Iteration_query-len><iteration_query-def>q &gt;1 &amp; 2</iteration_query-def>"
      "<Iteration_hits><Hit><Hit_num>1</Hit_num><Hit_id>gi|12</Hit_id><Hit_def>d</Hit_def>"
      "<Hit_accession>AB1</Hit_accession><Hit_len>99</Hit_len><Hit_hsps><Hsp>"
      "<Hsp_bit-score>50.5</Hsp_bit-score><Hsp_score>60</Hsp_score><Hsp_evalue>1e-50</Hsp_evalue>"
      "<Hsp_query-from>3</Hsp_query-from><Hsp_query-to>5</Hsp_query-to>"
      "<Hsp_hit-from>9</Hsp_hit-from><Hsp_hit-to>7</Hsp_hit-to>"
      "<Hsp_query-frame>1</Hsp_query-frame><Hsp_hit-frame>-1</Hsp_hit-frame>"
      "<Hsp_identity>3</Hsp_identity><Hsp_positive>2</Hsp_positive>"
      "<Hsp_qseq>ACG</Hsp_qseq><Hsp_hseq>ACT</Hsp_hseq></Hsp></Hit_hsps></Hit>"
      "<Hit><Hit_id>second</Hit_id></Hit></Iteration_hits></Iteration>",
      iter));
  EXPECT_EQ(iter.number, 7);
  EXPECT_EQ(iter.queryLength, 0);
  EXPECT_EQ(iter.queryName, "q >1 & 2");
  ASSERT_EQ(iter.hits.size(), 2u);
  const BlastHit& hit = iter.hits[0];
  EXPECT_EQ(hit.id, "gi|12");
  EXPECT_EQ(hit.accession, "AB1");
  EXPECT_EQ(hit.length, 99);
  ASSERT_EQ(hit.hsps.size(), 1u);
  const BlastHitHsp& h = hit.hsps[0];
  EXPECT_EQ(h.queryFrom, 3);
  EXPECT_EQ(h.hitTo, 7);
  EXPECT_EQ(h.hitFrame, -1);
  EXPECT_EQ(h.identity, 3);
  EXPECT_EQ(h.positive, 2);
  EXPECT_DOUBLE_EQ(h.bitScore, 50.5);
  EXPECT_DOUBLE_EQ(h.evalue, 1e-50);
  EXPECT_EQ(h.hitSeq, "ACT");
  EXPECT_TRUE(iter.hits[1].hsps.empty());
  // No query name, or text that is not XML: nothing.
  EXPECT_FALSE(ReadBlastIteration("<Iteration><Iteration_hits/></Iteration>", iter));
  EXPECT_FALSE(ReadBlastIteration("<Iteration><Iteration_query-def>q</Iteration>", iter));
  EXPECT_TRUE(iter.queryName.empty());
}

// Both real files hold queries without hits (one iteration, and two): nothing to keep.
TEST(OpenBlastXml, RealResultsWithoutHitsGiveNoDataset) {
  for (const char* name : {"xml_2226_blastn_002.xml", "xml_2218_blastp_002.xml"}) {
    SCOPED_TRACE(name);
    RecordingServices svc;
    TDataProj proj(svc);
    OpenWindow window(proj);
    EXPECT_TRUE(OpenDataFile(Data(name), kCodeBlastXml, false, &window, svc));
    EXPECT_EQ(proj.DatasetCount(), 0);
    EXPECT_EQ(svc.messages.questions.size(), 1u);  // the full-length query question only
  }
  RecordingServices svc;
  TDataProj proj(svc);
  OpenWindow window(proj);
  EXPECT_FALSE(OpenBlastXml("no/such.xml", window, {}, svc));
  EXPECT_EQ(svc.messages.notices, std::vector<std::string>{"Cannot open file \r\nno/such.xml"});
}

// blastn_hits.xml (BLAST+ 2.12 on blastn_hits_query.fa): query_one has hits subjA (HSPs at
// query 20-142 and 181-280) and subjB (150-260, two mismatches at query 181 and 221);
// query_two has subjC (8-190); query_three has no hit.
TEST(OpenBlastXml, RealResultOneRowPerHspAlignedToTheQuery) {
  RecordingServices svc;
  TDataProj proj(svc);
  OpenWindow window(proj);
  ASSERT_TRUE(OpenBlastXml(Data("blastn_hits.xml"), window, {}, svc));
  ASSERT_EQ(proj.DatasetCount(), 2);
  const TDataSeq& one = *proj.DatasetAt(0);
  EXPECT_EQ(one.dsName, "query_one first query");
  ASSERT_EQ(one.Count(), 4);
  EXPECT_EQ(one.NameAt(2), "subjA~1");
  EXPECT_EQ(one.NameAt(3), "subjA~2");
  EXPECT_EQ(one.NameAt(4), "subjB");
  EXPECT_EQ(one.SeqAt(2)->definition, "subjA");
  EXPECT_EQ(one.SeqAt(2)->locusName, "Subject_1");
  const std::string q1 = ReadFastaRecord(Data("blastn_hits_query.fa"), 1);
  ASSERT_EQ(q1.size(), 300u);
  // Every row's letter at column c is the query letter q1[c - 1], but for subjB's two
  // mismatches and the query row's gap over 143-149, which no HSP covers.
  struct Row {
    int row, shift, length;
    std::vector<int> otherColumns;
  };
  for (const Row& r : {Row{1, 19, 261, {143, 144, 145, 146, 147, 148, 149}}, Row{2, 19, 123, {}},
                       Row{3, 180, 100, {}}, Row{4, 149, 111, {181, 221}}}) {
    const TSeq& seq = *one.SeqAt(r.row);
    SCOPED_TRACE(seq.seqName);
    EXPECT_EQ(seq.columnShift, r.shift);
    ASSERT_EQ(seq.Length(), r.length);
    std::vector<int> other;
    for (int p = 1; p <= seq.Length(); ++p)
      if (seq.letters[p - 1] != q1[seq.columnShift + p - 1]) other.push_back(seq.columnShift + p);
    EXPECT_EQ(other, r.otherColumns);
  }
  const TDataSeq& two = *proj.DatasetAt(1);
  EXPECT_EQ(two.dsName, "query_two");
  ASSERT_EQ(two.Count(), 2);
  EXPECT_EQ(two.SeqAt(1)->columnShift, 7);
  EXPECT_EQ(two.SeqAt(2)->columnShift, 7);
}

TEST(OpenBlastXml, FullLengthQueriesFromAFastaFileAndNameMode) {
  RecordingServices svc;
  TDataProj proj(svc);
  OpenWindow window(proj);
  OpenOptions options;
  std::string title;
  options.chooseOpenFile = [&](const std::string& t) {
    title = t;
    return Data("blastn_hits_query.fa");
  };
  svc.messages.answers = {true};  // include full-length queries
  ASSERT_TRUE(OpenBlastXml(Data("blastn_hits.xml"), window, options, svc));
  EXPECT_EQ(title, "Open Blast query file");
  ASSERT_EQ(proj.DatasetCount(), 2);
  const TSeq& query = *proj.DatasetAt(0)->SeqAt(1);
  EXPECT_EQ(query.letters, ReadFastaRecord(Data("blastn_hits_query.fa"), 1));
  EXPECT_EQ(query.columnShift, 0);

  // Two datasets in the window: Yes loads only queries named like one of them.
  RecordingServices svc2;
  TDataProj named(svc2);
  for (const char* name : {"query_two", "other"}) {
    auto ds = named.MakeDataset();
    ds->dsName = name;
    auto s = std::make_unique<TSeq>("mine", "ACGT");
    (void)ds->AddSeq(s, true);
    named.AddDataset(ds, false);
  }
  OpenWindow window2(named);
  svc2.messages.answers = {true, false};
  ASSERT_TRUE(OpenBlastXml(Data("blastn_hits.xml"), window2, {}, svc2));
  EXPECT_EQ(svc2.messages.questions.size(), 2u);
  ASSERT_EQ(named.DatasetCount(), 2);
  ASSERT_EQ(named.DatasetAt(0)->Count(), 3);  // mine, the query row, subjC
  EXPECT_EQ(named.DatasetAt(0)->NameAt(3), "subjC");
  EXPECT_EQ(named.DatasetAt(1)->Count(), 1);
}

TEST(OpenBlastXml, ReversedHspsAndTheQueryRowBuiltFromOverlappingHsps) {
  // A 250-letter query; HSP 1 is given from 200 back to 101, HSP 2 covers 1-50 and HSP 3
  // 150-250, overlapping HSP 1 by 51 letters.
  std::string query;
  for (int i = 0; i < 250; ++i) query += "ACGGTCATTG"[(i * 7 + i / 3) % 10];
  const std::string hsps =
      Hsp(200, 101, ReverseComplement(query.substr(100, 100)), ReverseComplement("TTTTAAAACC")) +
      Hsp(1, 50, query.substr(0, 50), std::string(50, 'C')) +
      Hsp(150, 250, query.substr(149), std::string(101, 'G'));
  TestFolder dir("blast_hsps");
  const std::string path = dir.Write("r.xml", BlastFile(Iteration("q", "id", hsps)));
  RecordingServices svc;
  TDataProj proj(svc);
  OpenWindow window(proj);
  ASSERT_TRUE(OpenBlastXml(path, window, {}, svc));
  const TDataSeq& ds = *proj.DatasetAt(0);
  ASSERT_EQ(ds.Count(), 4);
  EXPECT_EQ(ds.NameAt(2), "id~1");
  EXPECT_EQ(ds.NameAt(3), "id~2");
  EXPECT_EQ(ds.NameAt(4), "id~3");
  EXPECT_EQ(ds.SeqAt(2)->columnShift, 100);
  EXPECT_EQ(ds.SeqAt(2)->letters, "TTTTAAAACC");
  EXPECT_EQ(ds.SeqAt(3)->columnShift, 0);
  EXPECT_EQ(ds.SeqAt(4)->columnShift, 149);
  // The query row: the query in columns 1-50 and 101-250, gaps in 51-100 where no HSP is.
  const TSeq& q = *ds.SeqAt(1);
  EXPECT_EQ(q.columnShift, 0);
  EXPECT_EQ(q.letters, query.substr(0, 50) + std::string(50, '-') + query.substr(100));
}

TEST(OpenBlastXml, AllModeSavesEveryThousandIterationsAndKeepsTheWindowsOwnDatasets) {
  TestFolder dir("blast_split");
  std::string iterations;
  for (int i = 1; i <= 2500; ++i)
    iterations += Iteration("q" + std::to_string(i), "h", Hsp(1, 4, "ACGT", "ACGA"));
  const std::string path = dir.Write("big.xml", BlastFile(iterations));
  RecordingServices svc;
  TDataProj proj(svc);
  auto mine = proj.MakeDataset();
  mine->dsName = "mine";
  auto s = std::make_unique<TSeq>("m", "ACGT");
  (void)mine->AddSeq(s, true);
  proj.AddDataset(mine, false);
  OpenWindow window(proj);
  ASSERT_TRUE(OpenBlastXml(path, window, {}, svc));
  const std::string first = dir.File("big1000.df"), second = dir.File("big2000.df");
  EXPECT_EQ(svc.messages.notices,
            std::vector<std::string>{
                "Due to large size of input file it was split into several files.\r\nThe "
                "following files containing parts of the input file have been saved "
                "separately:\r\n" +
                first + "\r\n" + second + "\r\n"});
  ASSERT_EQ(proj.DatasetCount(), 501);
  EXPECT_EQ(proj.DatasetAt(0)->dsName, "mine");
  EXPECT_EQ(proj.DatasetAt(1)->dsName, "q2001");
  EXPECT_EQ(proj.DatasetAt(500)->dsName, "q2500");
  RecordingServices svc2;
  TDataProj part(svc2);
  ASSERT_EQ(ReadProject(second, part, 0), 0);
  ASSERT_EQ(part.DatasetCount(), 1000);
  EXPECT_EQ(part.DatasetAt(0)->dsName, "q1001");
  EXPECT_EQ(part.DatasetAt(0)->NameAt(2), "h");
  EXPECT_EQ(part.IndexByName("mine"), -1);
}
