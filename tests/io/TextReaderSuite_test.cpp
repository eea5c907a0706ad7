// SPDX-License-Identifier: GPL-3.0-or-later
// The suite every text reader runs: its canonical file, CR LF read as LF, character 26
// ignored, write-then-read gives the same rows, and every truncation reads without a crash
// and says why when nothing could be read.
#include <gtest/gtest.h>

#include <functional>

#include "io/TextFormatSupport.h"

namespace {

struct ReaderCase {
  const char* format;
  std::string canonical;
  Rows expected;  // worked out by reading the canonical text by eye
  std::function<bool(const std::string& text, RecordingServices& svc, Rows& rows)> read;
  std::function<std::string(const Rows& rows, RecordingServices& svc)> write;  // may be empty

  friend void PrintTo(const ReaderCase& c, std::ostream* os) { *os << c.format; }
};

const Rows kTwoRows = {{"seq1", "ACGTACGTACGT"}, {"seq2", "AC-TACGTACGT"}};

template <typename Reader>
auto DatasetReader(const char* fileName, Reader reader) {
  return [=](const std::string& text, RecordingServices& svc, Rows& rows) {
    TDataSeq ds(svc);
    ReadContext ctx(svc, fileName);
    const bool ok = reader(MemorySource(text), ctx, ds);
    rows = RowsOf(ds);
    return ok;
  };
}

template <typename Writer>
auto DatasetWriter(Writer writer) {
  return [=](const Rows& rows, RecordingServices& svc) {
    TDataSeq ds(svc);
    Fill(ds, rows);
    return writer(ds);
  };
}

std::vector<ReaderCase> Cases() {
  std::vector<ReaderCase> cases;
  cases.push_back({"FASTA", ">seq1\nACGTACGTAC\nGT\n>seq2\nAC-TACGTACGT\n", kTwoRows,
                   DatasetReader("x.fas", [](const ByteSource& s, ReadContext& c,
                                             TDataSeq& d) { return OpenFasta(s, c, d); }),
                   DatasetWriter([](const TDataSeq& d) { return FastaText(d, true); })});
  cases.push_back({"PHYLIP", " 2 12\nseq1      ACGTACGTAC\n          GT\nseq2      AC-TACGTAC GT\n",
                   kTwoRows, DatasetReader("x.phy", OpenPhylip),
                   DatasetWriter([](const TDataSeq& d) { return PhylipText(d); })});
  cases.push_back({"MEGA",
                   "#MEGA\nTITLE: two sequences\n\n#seq1 ACGTAC\nGTACGT\n#seq2\nAC-TAC GTACGT\n",
                   kTwoRows, DatasetReader("x.meg", OpenMega), DatasetWriter(MegaText)});
  cases.push_back(
      {"NEXUS",
       "#NEXUS\n[two rows]\nBEGIN TAXA;\nDIMENSIONS NTAX=2;\nTAXLABELS seq1 seq2;\nEND;\n"
       "BEGIN CHARACTERS;\nDIMENSIONS NCHAR=12;\nFORMAT DATATYPE=DNA GAP=-;\nMATRIX\n"
       "seq1 ACGTACGTAC\nGT\nseq2 AC-TACGTACGT\n;\nEND;\n",
       kTwoRows,
       [](const std::string& text, RecordingServices& svc, Rows& rows) {
         TDataProj proj(svc);
         ReadContext ctx(svc, "x.nex");
         const bool ok = OpenNexus(MemorySource(text), ctx, proj);
         if (proj.DatasetCount() > 0) rows = RowsOf(*proj.DatasetAt(0));
         return ok;
       },
       [](const Rows& rows, RecordingServices& svc) {
         TDataProj proj(svc);
         proj.NewDataset();
         Fill(*proj.CurrentDataset(), rows);
         return NexusText(proj, 0);
       }});
  cases.push_back({"Clustal",
                   "CLUSTAL W (1.83) multiple sequence alignment\n\n\nseq1   ACGTAC 6\n"
                   "seq2   AC-TAC 5\n       ** ***\n\nseq1   GTACGT 12\nseq2   GTACGT 11\n"
                   "       ******\n",
                   kTwoRows, DatasetReader("x.aln", OpenClustal), nullptr});
  cases.push_back({"PIR",
                   ">DL;seq1\nfirst entry, 12 bases\n ACGTACGTAC GT*\n\n>DL;seq2\nsecond entry\n"
                   "AC-TACGTACGT*\n",
                   kTwoRows, DatasetReader("x.pir", OpenPir), nullptr});
  cases.push_back({"plain text",
                   "ACGTAC\nGTACGT\n",
                   {{"plain", "ACGTACGTACGT"}},
                   [](const std::string& text, RecordingServices& svc, Rows& rows) {
                     ReadContext ctx(svc, "/data/plain.txt");
                     const std::unique_ptr<TSeq> seq = OpenPlainText(MemorySource(text), ctx);
                     if (seq) rows = {{seq->seqName, seq->letters}};
                     return seq != nullptr;
                   },
                   [](const Rows& rows, RecordingServices&) {
                     return SeqText(TSeq(rows[0].first, rows[0].second));
                   }});
  // LooksLikeNucleotides: 13 of A/C/G/T to 3 others passes, "some text" does not.
  cases.push_back({"unrecognised text",
                   "s1 ACGTACGTACGTA\nsome text\nAC-TACGTACGTA\n",
                   {{"s1", "ACGTACGTACGTA"}, {"some text", "AC-TACGTACGTA"}},
                   DatasetReader("x.txt", OpenUnknownText),
                   nullptr});
  return cases;
}

class TextReaderSuite : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(TextReaderSuite, CanonicalFileGivesItsRows) {
  const ReaderCase& c = GetParam();
  RecordingServices svc;
  Rows rows;
  EXPECT_TRUE(c.read(c.canonical, svc, rows));
  EXPECT_EQ(rows, c.expected);
  EXPECT_TRUE(svc.messages.errors.empty()) << svc.messages.errors.front();
  EXPECT_TRUE(svc.messages.notices.empty());
}

TEST_P(TextReaderSuite, CrLfReadsLikeLf) {
  const ReaderCase& c = GetParam();
  RecordingServices svc;
  Rows rows;
  EXPECT_TRUE(c.read(WithCrLf(c.canonical), svc, rows));
  EXPECT_EQ(rows, c.expected);
  EXPECT_EQ(MessageCount(svc), 0u);
}

TEST_P(TextReaderSuite, EndOfFileMarksAreIgnored) {
  const ReaderCase& c = GetParam();
  std::string text = c.canonical;
  text.insert(text.find("TACGT"), 1, '\x1a');  // inside a run of letters
  text += '\x1a';                              // the classic end-of-file mark
  RecordingServices svc;
  Rows rows;
  EXPECT_TRUE(c.read(text, svc, rows));
  EXPECT_EQ(rows, c.expected);
  EXPECT_EQ(MessageCount(svc), 0u);
}

TEST_P(TextReaderSuite, EveryTruncationReadsWithoutCrashAndExplainsFailure) {
  const ReaderCase& c = GetParam();
  for (std::size_t size = 0; size < c.canonical.size(); ++size) {
    SCOPED_TRACE("first " + std::to_string(size) + " bytes");
    RecordingServices svc;
    Rows rows;
    const bool ok = c.read(c.canonical.substr(0, size), svc, rows);
    if (!ok) {
      EXPECT_GT(MessageCount(svc), 0u);
    }
    EXPECT_LE(rows.size(), c.expected.size());
  }
}

// Formats with a writer of their own.
class TextWriterSuite : public TextReaderSuite {};

TEST_P(TextWriterSuite, WrittenTextReadsBackTheSameRows) {
  const ReaderCase& c = GetParam();
  RecordingServices svc;
  const std::string written = c.write(c.expected, svc);
  for (std::size_t at = written.find('\n'); at != std::string::npos;
       at = written.find('\n', at + 1))
    ASSERT_TRUE(at > 0 && written[at - 1] == '\r') << "line ending at byte " << at << " lacks CR";
  Rows rows;
  EXPECT_TRUE(c.read(written, svc, rows));
  EXPECT_EQ(rows, c.expected);
}

INSTANTIATE_TEST_SUITE_P(AllTextReaders, TextReaderSuite, ::testing::ValuesIn(Cases()),
                         [](const auto& info) {
                           std::string name = info.param.format;
                           std::erase(name, ' ');
                           return name;
                         });

std::vector<ReaderCase> CasesWithWriters() {
  std::vector<ReaderCase> cases = Cases();
  std::erase_if(cases, [](const ReaderCase& c) { return !c.write; });
  return cases;
}

INSTANTIATE_TEST_SUITE_P(TextFormatsWithWriters, TextWriterSuite,
                         ::testing::ValuesIn(CasesWithWriters()), [](const auto& info) {
                           std::string name = info.param.format;
                           std::erase(name, ' ');
                           return name;
                         });

}  // namespace
