// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "IoTestFiles.h"
#include "io/Dispatcher.h"
#include "io/FormatTables.h"
#include "io/MultiLocusFormats.h"
#include "io/TextFormatSupport.h"

namespace {

Rows ColumnRows(const std::string& text, const ColumnsRead& options) {
  NullProgress progress;
  Rows rows;
  for (const ColumnText& c : ReadColumnTexts(text, options, progress))
    rows.emplace_back(c.name, c.letters);
  return rows;
}

ColumnsRead Range(int readFrom, int readTo, int colFrom, int colTo) {
  ColumnsRead o;
  o.readFrom = readFrom;
  o.readTo = readTo;
  o.colFrom = colFrom;
  o.colTo = colTo;
  return o;
}

}  // namespace

// The example of the format notice, plus a row with an empty cell and a cell past the genes.
TEST(OpenMultigenicCsv, GenesBecomeDatasetsAndRowsIndividuals) {
  RecordingServices svc;
  TestFolder dir("multigenic");
  const std::string path =
      dir.Write("genes.csv",
                ",gene1,gene2,gene3\r\nindivid1,ATGCATG,TACCTTG,TTCATGCT\r\nnot a row\r\n"
                "individ2,ATGTATA,TAGCTTG,TTCAGGCT\r\nindivid3,,TAG,TTC,AAAA\r\n");
  TDataProj proj(svc);
  OpenWindow window(proj);
  EXPECT_EQ(DispatchFile(path, kCodeMultigenicCsv, {}, &window, svc).sequencesAdded, 8);
  ASSERT_EQ(svc.messages.notices.size(), 1u);
  EXPECT_EQ(svc.messages.notices[0].substr(0, 45),
            "Opening multigenic dataset in csv format:\r\nEa");
  EXPECT_EQ(proj.projName, "genes.csv");
  ASSERT_EQ(proj.DatasetCount(), 3);
  EXPECT_EQ(proj.DatasetAt(0)->dsName, "gene1");
  EXPECT_EQ(RowsOf(*proj.DatasetAt(0)), (Rows{{"individ1", "ATGCATG"}, {"individ2", "ATGTATA"}}));
  EXPECT_EQ(RowsOf(*proj.DatasetAt(2)),
            (Rows{{"individ1", "TTCATGCT"}, {"individ2", "TTCAGGCT"}, {"individ3", "TTC"}}));
  ASSERT_EQ(proj.IndividCount(), 3);
  const TSeq& s = *proj.DatasetAt(1)->SeqAt(2);
  EXPECT_EQ(s.individId, proj.IndividKeyByName("individ2"));

  TDataProj other(svc);
  OpenWindow second(other);
  (void)DispatchFile(dir.File("gone.csv"), kCodeMultigenicCsv, {}, &second, svc);
  EXPECT_EQ(svc.messages.notices.back(), "Error: File not found: " + dir.File("gone.csv"));
}

TEST(CsvText, PolymorphicPositionsThenOneLetterPerCell) {
  RecordingServices svc;
  TDataSeq ds(svc);
  EXPECT_EQ(CsvText(ds), "");
  Fill(ds, {{"s1", "ACG"}, {"s2", "A-T"}});
  ds.SeqAt(1)->polySitePos = {101, 250, 3000};
  ds.SeqAt(2)->columnShift = 4;  // not written
  EXPECT_EQ(CsvText(ds), "pos:,101,250,3000\r\ns1,A,C,G\r\ns2,A,-,T\r\n");
}

TEST(ReadColumnTexts, TheFirstLineSettlesTheColumns) {
  // 3 fields, then 5: three columns.
  EXPECT_EQ(ColumnRows("A\tC\tG\nT\tT\tA\tC\tC\n", Range(1, 100, 1, 100)),
            (Rows{{"col1", "AT"}, {"col2", "CT"}, {"col3", "GA"}}));
  // Fields 2..4. Short lines add only the fields of the range they have (none for a line of
  // one field), and the lines after them are read over the same range again; Z and D are N
  // and a gap; an empty line adds nothing.
  EXPECT_EQ(ColumnRows("x\tA\tC\tG\tq\nx\tZ\ny\n\nx\tT\tD\tT\tq\n", Range(1, 100, 2, 4)),
            (Rows{{"col2", "ANT"}, {"col3", "C-"}, {"col4", "GT"}}));
  // Lines 2..3 only; an empty field counts, a trailing tab adds none.
  EXPECT_EQ(ColumnRows("A\tA\nC\t\tG\nT\tT\t\nG\tG\n", Range(2, 3, 1, 100)),
            (Rows{{"col1", "CT"}, {"col2", "T"}, {"col3", "G"}}));
}

TEST(OpenColumns, WritesTheFastaBesideTheFileAndAddsTheDataset) {
  RecordingServices svc;
  TestFolder dir("columns");
  const std::string path = dir.Write("g.tab", "A\tC\nG\tT\n");
  EXPECT_EQ(ColumnsFastaName(path), path + ".fasta");
  dir.Write("g.tab.fasta", "");
  EXPECT_EQ(ColumnsFastaName(path), path + "_.fasta");
  dir.Write("g.tab_.fasta", "");
  EXPECT_EQ(ColumnsFastaName(path), path + "_~1.fasta");

  TDataProj proj(svc);
  OpenWindow window(proj);
  ASSERT_TRUE(OpenColumns(path, window, ColumnsRead{}, svc));
  EXPECT_EQ(TestFolder::Read(path + "_~1.fasta"), ">col1\r\nAG\r\n>col2\r\nCT\r\n");
  EXPECT_EQ(svc.messages.notices.back(),
            "Sequences were saved as a FASTA file " + path + "_~1.fasta");
  ASSERT_EQ(proj.DatasetCount(), 1);
  EXPECT_EQ(proj.DatasetAt(0)->dsName, "g");
  EXPECT_EQ(RowsOf(*proj.DatasetAt(0)), (Rows{{"col1", "AG"}, {"col2", "CT"}}));

  EXPECT_FALSE(OpenColumns(dir.File("none.tab"), window, ColumnsRead{}, svc));
  EXPECT_EQ(svc.messages.notices.back(), "Cannot open file \r\n" + dir.File("none.tab"));
}

TEST(DatasetNames, EachLineADatasetAndBack) {
  RecordingServices svc;
  TestFolder dir("dsnames");
  TDataProj proj(svc);
  OpenWindow window(proj);
  EXPECT_TRUE(OpenDataFile(dir.Write("n.txt", "Adh\r\n\r\nTpi 2\nAdh\n"), kCodeDatasetNames, false,
                           &window, svc));
  EXPECT_EQ(DatasetNamesText(proj), "Adh\r\nTpi 2\r\nAdh~1\r\n");
  EXPECT_FALSE(OpenDataFile(dir.Write("e.txt", "\n\n"), kCodeDatasetNames, false, &window, svc));
  EXPECT_EQ(proj.DatasetCount(), 3);
}
