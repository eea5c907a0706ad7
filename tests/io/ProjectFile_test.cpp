// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTemporaryDir>

#include "io/BinarySource.h"
#include "io/ByteCursor.h"
#include "io/Dispatcher.h"
#include "io/FormatTables.h"
#include "io/ProjectFileParts.h"
#include "io/ProjectFileTestSupport.h"
#include "io/SaveCommand.h"
#include "io/TraceTestSupport.h"
#include "model/NcbiCodes.h"

namespace {

std::uint32_t U32At(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  ByteCursor(b).PeekU32LEAt(at, v);
  return v;
}

// Payload of the first field with this tag.
std::string PayloadOf(const std::string& b, const std::string& tag, std::size_t length) {
  const std::size_t at = b.find(tag);
  return at == std::string::npos ? std::string() : b.substr(at + 12, length);
}

}  // namespace

TEST(ProjectFileRoundTrip, EveryRecordAndFieldComesBackIdentical) {
  RecordingServices svc;
  TDataProj original(svc);
  FillRichProject(original);
  GridFileSettings grid;
  grid.letterMargin = 5;
  grid.bigStep = 25;
  for (int i = 0; i < 29; ++i) grid.colours[static_cast<std::size_t>(i)] = 0x10000u * i + 3;
  std::string bytes, error;
  ASSERT_TRUE(BuildProjectFile(original, grid, bytes, error)) << error;
  EXPECT_EQ(U32At(bytes, 0), bytes.size());
  EXPECT_EQ(bytes.substr(4, 12), "Nodrix_3    ");

  TDataProj back(svc);
  GridFileSettings gridBack;
  ASSERT_EQ(ReadProjectBytes(bytes, "/tmp/p.df", back, 0, &gridBack), 0);
  EXPECT_TRUE(svc.messages.errors.empty()) << svc.messages.errors.front();
  EXPECT_EQ(back.projName, "Lake survey");
  EXPECT_EQ(back.projComment, "two loci");
  EXPECT_EQ(back.projFile, "/tmp/p.df");

  // The dataset without sequences is not stored.
  ASSERT_EQ(back.DatasetCount(), 2);
  const std::pair<int, int> pairs[] = {{0, 0}, {2, 1}};
  for (const auto& [o, b] : pairs) {
    const TDataSeq& a = *original.DatasetAt(o);
    const TDataSeq& c = *back.DatasetAt(b);
    EXPECT_EQ(a.dsName, c.dsName);
    EXPECT_EQ(a.dsComment, c.dsComment);
    EXPECT_EQ(a.chromosome, c.chromosome);
    EXPECT_EQ(a.genePosition, c.genePosition);
    ASSERT_EQ(a.Count(), c.Count());
    for (int row = 1; row <= a.Count(); ++row) ExpectSameSeq(*a.SeqAt(row), *c.SeqAt(row));
  }
  EXPECT_EQ(back.DatasetAt(0)->dsSourceFile, "/data/locusA.fas");
  EXPECT_EQ(back.DatasetAt(1)->dsSourceFile, "/tmp/p.df");  // none stored: the project file

  ASSERT_EQ(back.GroupCount(), original.GroupCount());
  for (int i = 0; i < back.GroupCount(); ++i) {
    TGroup a = original.Groups()[static_cast<std::size_t>(i)];
    TGroup b = back.Groups()[static_cast<std::size_t>(i)];
    a.grpReserved = b.grpReserved = 0;
    EXPECT_EQ(a, b) << a.grpName;
  }
  ASSERT_EQ(back.IndividCount(), original.IndividCount());
  for (int i = 0; i < back.IndividCount(); ++i)
    EXPECT_EQ(original.Individs()[static_cast<std::size_t>(i)],
              back.Individs()[static_cast<std::size_t>(i)]);
  EXPECT_EQ(back.Individs()[0].attributes[0].sirReal, -2.5);
  EXPECT_NEAR(back.Individs()[0].attributes[1].sirReal, 3.141593, 1e-12);

  for (int unstored : {8, 17, 20, 28}) grid.colours[static_cast<std::size_t>(unstored)] = 0;
  grid.currentDataset = 2;  // written from the project's current dataset
  grid.readFromFile = true;
  EXPECT_EQ(gridBack, grid);
  EXPECT_EQ(back.CurrentIndex(), 1);  // index 2 of the file is not below the 2 datasets read
}

TEST(ProjectFileWriter, FieldsHaveTheirDocumentedBytes) {
  RecordingServices svc;
  TDataProj p(svc);
  p.DeleteGroup(0, false);  // no groups: the entry count below is the documented one
  p.NewDataset();
  p.NewDataset();
  TDataSeq& ds = *p.DatasetAt(1);
  AddRow(ds, std::make_unique<TSeq>("a", "AC"));
  AddRow(ds, std::make_unique<TSeq>("b", "AG"));
  const std::string bytes = FileOf(p);
  // PROJNAME + 2 dataset entries + DSWINPAR; the entry of the empty dataset stays 0, last.
  EXPECT_EQ(U32At(bytes, 16) & 0xFFFF, 4u);
  EXPECT_NE(U32At(bytes, 18), 0u);
  EXPECT_NE(U32At(bytes, 22), 0u);
  EXPECT_NE(U32At(bytes, 26), 0u);
  EXPECT_EQ(U32At(bytes, 30), 0u);
  EXPECT_EQ(bytes.substr(U32At(bytes, 22) + 4, 12), std::string("DATA_SEQ   \0", 12));
  EXPECT_EQ(U32At(bytes, U32At(bytes, 26)), 156u);
  EXPECT_EQ(PayloadOf(bytes, "CHRNCOEF", 4), std::string("\x00\x00\x80\x3F", 4));  // 1.0f
  EXPECT_EQ(U32At(bytes, bytes.find("SRCFTYPE") - 4), 17u);

  // -2.5 as i32 integer part -2 and i32 millionths -500000.
  TDataProj q(svc);
  q.NewDataset();
  TIndivid ind;
  ind.attributes = {{"t", "", 0, -2.5}};
  q.AddIndivid(ind);
  const std::string withReal = FileOf(q);
  EXPECT_EQ(PayloadOf(withReal, "SIR_REAL", 8), std::string("\xFE\xFF\xFF\xFF\xE0\x5E\xF8\xFF", 8));
}

TEST(ProjectFileWriter, RecordSizesClaimTwentyFourBytesMoreThanTheyTake) {
  RecordingServices svc;
  TDataProj p(svc);
  FillRichProject(p);
  for (int row = 1; row <= p.DatasetAt(0)->Count(); ++row) {
    const TSeq& seq = *p.DatasetAt(0)->SeqAt(row);
    std::string record, error;
    ASSERT_TRUE(WriteSeqRecord(seq, record, 3, error));
    EXPECT_EQ(SeqRecordSize(seq), record.size() + 24) << seq.seqName;
    EXPECT_EQ(U32At(record, 0), SeqRecordSize(seq));
  }
}

TEST(ProjectFileWriter, ValuesBeyondTheirFieldsFailTheSaveAndKeepThePreviousFile) {
  RecordingServices svc;
  QTemporaryDir dir;
  const std::string path = dir.filePath("keep.df").toStdString();
  Spit(path, "the user's previous file");
  TDataProj p(svc);
  p.NewDataset();
  TIndivid ind;
  ind.indName = "big";
  ind.attributes = {{"mass", "", 0, 5e12}};
  p.AddIndivid(ind);
  EXPECT_FALSE(WriteProject(path, p, GridFileSettings{}));
  EXPECT_EQ(Slurp(path), "the user's previous file");
  ASSERT_EQ(svc.messages.errors.size(), 1u);
  EXPECT_NE(svc.messages.errors[0].find("attribute mass"), std::string::npos);

  // A version 1 region field holds 16 bits: 70000 is refused, never cut to 4464.
  TDataSeq& ds = *p.DatasetAt(0);
  TSeq* s = AddRow(ds, std::make_unique<TSeq>("s", "ACGT"));
  TRegion r;
  r.regStart = 70000;
  r.regEnd = 70002;
  s->regions.push_back(r);
  std::string bytes, error;
  EXPECT_FALSE(BuildDatasetFile(ds, bytes, error));
  EXPECT_NE(error.find("70000"), std::string::npos);
  EXPECT_NE(error.find("16-bit"), std::string::npos);

  EXPECT_FALSE(WriteProject(dir.filePath("no/such/folder/x.df").toStdString(), TDataProj(svc),
                            GridFileSettings{}));  // no datasets: nothing written, said so
  TDataProj one(svc);
  one.NewDataset();
  EXPECT_FALSE(
      WriteProject(dir.filePath("no/such/folder/x.df").toStdString(), one, GridFileSettings{}));
  EXPECT_NE(svc.messages.errors.back().find("I/O Error"), std::string::npos);
  ASSERT_TRUE(WriteProject(path, one, GridFileSettings{}));
  EXPECT_EQ(Slurp(path).substr(4, 8), "Nodrix_3");
}

TEST(DatasetFile, VersionOnePadsACopyAndReadsBackRunLengthTraces) {
  RecordingServices svc;
  TDataProj p(svc);
  p.NewDataset();
  TDataSeq& ds = *p.DatasetAt(0);
  TSeq* shifted = AddRow(ds, std::make_unique<TSeq>("sh", "ACGT"));
  shifted->columnShift = 3;
  TRegion exon;
  exon.regType = kRegExon;
  exon.regStart = 1;
  exon.regEnd = 2;
  shifted->regions.push_back(exon);
  auto traced = TraceRead("tr");
  traced->traceG = std::vector<std::uint16_t>(70000, 9);  // one run longer than 16 bits
  traced->traceA.resize(70000, 1);
  traced->traceC.resize(70000, 2);
  traced->traceT.resize(70000, 3);
  AddRow(ds, std::move(traced));
  auto snp = std::make_unique<TSeq>("snp", "AC");
  snp->seqType = kSeqSnp;
  snp->peakPos = {150000, 7};
  AddRow(ds, std::move(snp));

  std::string bytes, error;
  ASSERT_TRUE(BuildDatasetFile(ds, bytes, error)) << error;
  EXPECT_EQ(bytes.substr(4, 12), "Nodrix_1    ");
  EXPECT_EQ(ds.SeqAt(1)->letters, "ACGT");  // the window's sequence is left alone
  EXPECT_EQ(ds.SeqAt(1)->columnShift, 3);

  TDataProj back(svc);
  ASSERT_EQ(ReadProjectBytes(bytes, "d.psf", back, 0), 0);
  ASSERT_EQ(back.DatasetCount(), 1);
  const TDataSeq& r = *back.DatasetAt(0);
  ASSERT_EQ(r.Count(), 3);
  EXPECT_EQ(r.SeqAt(1)->letters, "---ACGT");
  EXPECT_EQ(r.SeqAt(1)->columnShift, 0);
  ASSERT_EQ(r.SeqAt(1)->regions.size(), 1u);
  EXPECT_EQ(r.SeqAt(1)->regions[0].regType, kRegExon);
  EXPECT_EQ(r.SeqAt(1)->regions[0].regStart, 4);
  EXPECT_EQ(r.SeqAt(1)->regions[0].regEnd, 5);
  EXPECT_EQ(r.SeqAt(2)->traceG, ds.SeqAt(2)->traceG);
  EXPECT_EQ(r.SeqAt(2)->traceA, ds.SeqAt(2)->traceA);
  EXPECT_EQ(r.SeqAt(2)->peakPos, ds.SeqAt(2)->peakPos);
  EXPECT_TRUE(r.SeqAt(2)->hasTrace);
  EXPECT_EQ(r.SeqAt(3)->peakPos, (std::vector<std::int32_t>{150000, 7}));

  // The same records under version digit 2 take the later kind codes: version 1 code 2 (Exon)
  // is the code of Noncoding there.
  bytes[11] = '2';
  // Version 2 region tables count from the region block, not from the record.
  const std::size_t record = U32At(bytes, 18), region = bytes.find("FREGIONS") - 4;
  for (std::size_t i = 0; i < 1; ++i) {
    const std::uint32_t rel = U32At(bytes, region + 18 + 4 * i) - (region - record);
    std::string le;
    ByteWriter(le).U32LE(rel);
    bytes.replace(region + 18 + 4 * i, 4, le);
  }
  TDataProj v2(svc);
  ASSERT_EQ(ReadProjectBytes(bytes, "d.df", v2, 0), 0);
  ASSERT_EQ(v2.DatasetAt(0)->SeqAt(1)->regions.size(), 1u);
  EXPECT_EQ(v2.DatasetAt(0)->SeqAt(1)->regions[0].regType, kRegNoncoding);
  EXPECT_EQ(v2.DatasetAt(0)->SeqAt(1)->regions[0].regStart, 4);
}

TEST(ReadProject, NonEmptyWindowKeepsEachSequenceWithItsOwnIndividual) {
  RecordingServices svc;
  TDataProj source(svc);
  FillRichProject(source);
  const std::string bytes = FileOf(source);

  TDataProj window(svc);
  TIndivid old;
  old.indName = "resident";
  const int residentKey = window.AddIndivid(old);  // takes key 1, the key ind1 had
  window.NewDataset();
  TSeq* mine = AddRow(*window.DatasetAt(0), std::make_unique<TSeq>("mine", "GG"));
  mine->individId = residentKey;
  ASSERT_EQ(ReadProjectBytes(bytes, "p.df", window, 0), 0);
  ASSERT_EQ(window.DatasetCount(), 3);
  EXPECT_EQ(window.DatasetAt(0)->SeqAt(1)->individId, residentKey);
  const TDataSeq& b = *window.DatasetAt(2);
  for (const auto& [row, name] : {std::pair{1, "ind1"}, {2, "ind2"}}) {
    const int index = window.IndividIndexByKey(b.SeqAt(row)->individId);
    ASSERT_GE(index, 0);
    EXPECT_EQ(window.IndividName(index), name);
  }
  EXPECT_EQ(window.IndividName(window.IndividIndexByKey(residentKey)), "resident");
}

TEST(ReadProject, StoredPathsAndTracesStayAsSaved) {
  RecordingServices svc;
  TDataProj p(svc);
  p.NewDataset();
  auto gone = std::make_unique<TSeq>("gone", "AC");
  gone->sourceFile = "/no/such/dir/read7.ab1[3]";
  AddRow(*p.DatasetAt(0), std::move(gone));
  // The raw trace exists but the stored channels are the edited ones: they are kept.
  auto edited = TraceRead("edited");
  edited->sourceFile = TestData("310.ab1");
  AddRow(*p.DatasetAt(0), std::move(edited));
  TDataProj back(svc);
  ASSERT_EQ(ReadProjectBytes(FileOf(p), "p.df", back, 0), 0);
  EXPECT_EQ(back.DatasetAt(0)->SeqAt(1)->sourceFile, "/no/such/dir/read7.ab1[3]");
  EXPECT_EQ(back.DatasetAt(0)->SeqAt(2)->sourceFile, TestData("310.ab1"));
  EXPECT_EQ(back.DatasetAt(0)->SeqAt(2)->traceA, p.DatasetAt(0)->SeqAt(2)->traceA);
  EXPECT_EQ(back.DatasetAt(0)->SeqAt(2)->peakPos, p.DatasetAt(0)->SeqAt(2)->peakPos);
}

TEST(ReadProject, NameFiltersChooseDatasetsByTheWindowsNames) {
  RecordingServices svc;
  TDataProj source(svc);
  FillRichProject(source);  // locusA, empty (not stored), locusB
  const std::string bytes = FileOf(source);
  TDataProj onlyB(svc);
  onlyB.NewDataset();
  onlyB.RenameDataset(0, "locusB");
  ASSERT_EQ(ReadProjectBytes(bytes, "p.df", onlyB, 1), 0);
  ASSERT_EQ(onlyB.DatasetCount(), 2);
  EXPECT_EQ(onlyB.DatasetAt(1)->Count(), 2);
  EXPECT_EQ(onlyB.DatasetAt(1)->SeqAt(1)->seqName, "x1");

  TDataProj others(svc);
  others.NewDataset();
  others.RenameDataset(0, "locusB");
  ASSERT_EQ(ReadProjectBytes(bytes, "p.df", others, 2), 0);
  ASSERT_EQ(others.DatasetCount(), 2);
  EXPECT_EQ(others.DatasetAt(1)->dsName, "locusA");
}

TEST(ReadProject, ForeignFilesAreRefusedWithTheNotice) {
  RecordingServices svc;
  TDataProj p(svc);
  EXPECT_EQ(ReadProjectBytes("short", "a.df", p, 0), -1);
  EXPECT_EQ(ReadProjectBytes(std::string(40, 'x'), "b.df", p, 0), -1);
  EXPECT_EQ(svc.messages.notices, (std::vector<std::string>{"a.df\r\nis not a Nodrix file",
                                                            "b.df\r\nis not a Nodrix file"}));
  EXPECT_EQ(p.DatasetCount(), 0);
}

TEST(ReadProject, AFileOfSeveralMegabytesReadsAsItsBytesDoAndAnAbsentOneIsNamed) {
  // The file is mapped and given back behind the reader a megabyte at a time: records on both
  // sides of every release must come back whole.
  RecordingServices svc;
  TDataProj source(svc);
  FillRichProject(source);
  std::string letters;
  for (int i = 0; i < 9000; ++i) letters += "ACGTTGCA"[(i * 7 + i / 13) % 8];
  for (int r = 0; r < 400; ++r)
    AddRow(*source.DatasetAt(0),
           std::make_unique<TSeq>("big" + std::to_string(r),
                                  letters.substr(r % 97) + letters.substr(0, r)));
  QTemporaryDir dir;
  const std::string path = dir.filePath("big.df").toStdString();
  ASSERT_TRUE(WriteProject(path, source, GridFileSettings{}));

  TDataProj fromFile(svc), fromBytes(svc);
  ASSERT_EQ(ReadProject(path, fromFile, 0), 0);
  ASSERT_EQ(ReadProjectBytes(FileOf(source), path, fromBytes, 0), 0);
  EXPECT_TRUE(svc.messages.errors.empty());
  ASSERT_EQ(fromFile.DatasetCount(), fromBytes.DatasetCount());
  for (int d = 0; d < fromFile.DatasetCount(); ++d) {
    const TDataSeq& a = *fromBytes.DatasetAt(d);
    const TDataSeq& b = *fromFile.DatasetAt(d);
    ASSERT_EQ(a.Count(), b.Count());
    for (int row = 1; row <= a.Count(); ++row) ExpectSameSeq(*a.SeqAt(row), *b.SeqAt(row));
  }

  TDataProj none(svc);
  EXPECT_EQ(ReadProject(dir.filePath("absent.df").toStdString(), none, 0), -1);
  ASSERT_FALSE(svc.messages.errors.empty());
  EXPECT_EQ(svc.messages.errors.back(), "Cannot open " + dir.filePath("absent.df").toStdString());
}

TEST(ReadProject, TruncatedFilesKeepTheWholeRecordsAndSayWhatHappened) {
  RecordingServices quiet;
  TDataProj source(quiet);
  FillRichProject(source);
  const std::string bytes = FileOf(source);
  const int total = source.TotalSeqCount();
  for (std::size_t cut = 14; cut < bytes.size(); cut += 3) {
    RecordingServices svc;
    TDataProj back(svc);
    ASSERT_EQ(ReadProjectBytes(std::string_view(bytes).substr(0, cut), "cut.df", back, 0), 0);
    EXPECT_LE(back.TotalSeqCount(), total);
    ASSERT_FALSE(svc.messages.errors.empty()) << cut;
    EXPECT_NE(svc.messages.errors.back().find("cut.df: the file is damaged: "), std::string::npos);
  }
  // Cut inside the last dataset: the first dataset is whole and kept.
  const std::size_t lastDataset = bytes.rfind("DATA_SEQ") - 4;
  RecordingServices svc;
  TDataProj back(svc);
  ASSERT_EQ(ReadProjectBytes(std::string_view(bytes).substr(0, lastDataset + 200), "c.df", back, 0),
            0);
  EXPECT_EQ(back.DatasetAt(0)->Count(), 3);
  EXPECT_EQ(back.IndividCount(), 3);
}

TEST(ReadProject, CorruptedCountsSizesAndOffsetsNeverCrash) {
  RecordingServices quiet;
  TDataProj source(quiet);
  FillRichProject(source);
  const std::string bytes = FileOf(source);
  for (std::size_t at = 12; at + 2 <= bytes.size(); at += 2) {
    for (const char* pattern : {"\xFF\xFF", "\x00\x00"}) {
      std::string bad = bytes;
      bad.replace(at, 2, pattern, 2);
      RecordingServices svc;
      TDataProj back(svc);
      (void)ReadProjectBytes(bad, "bad.df", back, 0);
    }
  }
}

TEST(RescueProject, AsksFirstThenRecoversTheWholeRecordsOfADamagedFile) {
  RecordingServices svc;
  TDataProj source(svc);
  FillRichProject(source);
  std::string bytes = FileOf(source);
  bytes.replace(4, 8, "garbage!");  // the header is gone: the ordinary reader refuses it
  const std::size_t cut = bytes.rfind("SEQSTRUC") + 40;  // the last record is cut short
  bytes.resize(cut);

  TDataProj window(svc);
  EXPECT_EQ(RescueProjectBytes(bytes, "lost.df", window), 4);
  ASSERT_EQ(window.DatasetCount(), 1);
  const TDataSeq& ds = *window.DatasetAt(0);
  ASSERT_EQ(ds.Count(), 4);
  ExpectSameSeq(*source.DatasetAt(0)->SeqAt(3), *ds.SeqAt(3));
  EXPECT_EQ(ds.SeqAt(1)->individId, -1);  // its individual was not rescued
  EXPECT_EQ(ds.SeqAt(4)->seqName, "x1");
  EXPECT_EQ(svc.messages.errors.back(),
            "lost.df: rescued 4 sequence(s); 1 damaged record(s) could not be read");

  QTemporaryDir dir;
  const std::string path = dir.filePath("lost.df").toStdString();
  Spit(path, bytes);
  RecordingServices no;
  TDataProj untouched(no);
  EXPECT_EQ(RescueProject(path, untouched), -1);
  EXPECT_EQ(no.messages.questions,
            std::vector<std::string>{"Warning: Rescue mode.\r\nInformation may not be read "
                                     "correctly.\r\nAttempt to rescue the file\r\n\r\n" +
                                     path});
  EXPECT_EQ(untouched.DatasetCount(), 0);
}

TEST(ReadProject, VersionOneGroupingListsAssignTheMarkedSequences) {
  RecordingServices svc;
  TDataProj p(svc);
  p.NewDataset();
  AddRow(*p.DatasetAt(0), std::make_unique<TSeq>("a", "AC"));
  AddRow(*p.DatasetAt(0), std::make_unique<TSeq>("b", "AG"));
  std::string v1, error;
  ASSERT_TRUE(BuildDatasetFile(*p.DatasetAt(0), v1, error));
  // Old files added a top-level GROUPING entry: one membership byte per sequence.
  std::string file = v1.substr(0, 16);
  ByteWriter w(file);
  w.U16LE(3);
  for (std::size_t i = 0; i < 2; ++i) w.U32LE(U32At(v1, 18 + 4 * i) + 4);
  w.U32LE(0);
  file += v1.substr(26);
  const std::size_t grouping = file.size();
  projfile::BlockBuilder b(projfile::Tag("GROUPING"), 2, 0);
  std::string m;
  projfile::PutText(m, "GRP_NAME", "pop1");
  b.Add(m);
  m.clear();
  projfile::PutText(m, "SEQINGRP", std::string("\x01\x00", 2));
  b.Add(m);
  ASSERT_TRUE(b.Finish(file, 0, error));
  w.PatchU32LE(26, static_cast<std::uint32_t>(grouping));
  w.PatchU32LE(0, static_cast<std::uint32_t>(file.size()));

  TDataProj back(svc);
  ASSERT_EQ(ReadProjectBytes(file, "old.psf", back, 0), 0);
  EXPECT_TRUE(svc.messages.errors.empty());
  const int group = back.GroupIndexByName("pop1");
  ASSERT_GE(group, 0);
  const TDataSeq& ds = *back.DatasetAt(0);
  ASSERT_EQ(ds.Count(), 2);
  const int individ = back.IndividIndexByKey(ds.SeqAt(1)->individId);
  ASSERT_GE(individ, 0);
  EXPECT_EQ(back.GroupKeyOfIndivid(individ), back.GroupKeyAt(group));
  EXPECT_EQ(ds.SeqAt(1)->groupNum, back.GroupKeyAt(group));
  EXPECT_EQ(ds.SeqAt(2)->individId, -1);
}

// The code chosen in one session is the code the project is analysed with when it is opened
// again; a project saved with the built-in code leaves the file as it always was.
TEST(ProjectFileGeneticCode, SavedCodeComesBackAsTheCurrentCode) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("p.df").toStdString();
  const auto saveWith = [&](RecordingServices& svc) {
    TDataProj proj(svc);
    auto ds = proj.MakeDataset();
    AddRow(*ds, std::make_unique<TSeq>("s1", "ATGAGATAA"));
    proj.AddDataset(ds, false);
    ASSERT_TRUE(RunSaveCommand(proj, 1, path, svc).ok);
  };
  const auto open = [&](RecordingServices& svc) {
    TDataProj proj(svc);
    OpenWindow window(proj);
    ASSERT_TRUE(OpenDataFile(path, kCodeProjectFile, false, &window, svc));
    ASSERT_EQ(proj.DatasetCount(), 1);
  };

  RecordingServices universal;
  saveWith(universal);
  std::string bytes, error;
  ASSERT_TRUE(ReadWholeFile(path, bytes, error));
  EXPECT_EQ(bytes.find("GENCODE_"), std::string::npos);

  RecordingServices mito;
  LoadNcbiCode(*NcbiCodeById(2), mito.genCode);
  mito.settings.geneticCodeId = 2;
  saveWith(mito);
  RecordingServices later;
  open(later);
  EXPECT_EQ(later.settings.geneticCodeId, 2);
  EXPECT_EQ(later.genCode.TranslateSeq("ATGAGATGA", false), "M*W");
  EXPECT_EQ(later.messages.notices.size(), 1u);
  open(later);  // the same code again changes nothing and says nothing
  EXPECT_EQ(later.messages.notices.size(), 1u);

  // A code edited by hand keeps its letters and name.
  RecordingServices edited;
  LoadCodeLetters(std::string(63, 'L') + "*", "My code", edited.genCode);
  edited.settings.geneticCodeId = 0;
  saveWith(edited);
  RecordingServices reader;
  open(reader);
  EXPECT_EQ(reader.genCode.codeName, "My code");
  EXPECT_EQ(reader.settings.geneticCodeId, 0);
  EXPECT_EQ(reader.genCode.TranslateSeq("TTTGGG", false), "L*");
}
