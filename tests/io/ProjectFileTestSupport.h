// SPDX-License-Identifier: GPL-3.0-or-later
// A project that uses every record and field of the project file, and field-wise comparison.
#pragma once
#include <gtest/gtest.h>

#include "io/ProjectFile.h"
#include "support/RecordingServices.h"

inline TSeq* AddRow(TDataSeq& ds, std::unique_ptr<TSeq> seq) {
  const int row = ds.AddSeq(seq, true);
  return ds.SeqAt(row);
}

inline std::unique_ptr<TSeq> TraceRead(const std::string& name) {
  auto s = std::make_unique<TSeq>(name, "ACGTTGCA");
  s->traceA = {0, 5, 5, 5, 900, 12, 0, 0, 0, 7, 7, 7, 7, 7, 1, 2};
  s->traceC = {1, 1, 1, 1, 1, 1, 1, 1, 65535, 0, 0, 0, 3, 3, 3, 3};
  s->traceG = {2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 32};
  s->traceT = std::vector<std::uint16_t>(16, 44);
  s->peakPos = {1, 3, 5, 7, 9, 11, 13, 15};
  s->quality = {10, 20, 30, 40, 50, 60, 70, 99};
  s->showTrace = true;
  s->hasTrace = true;
  s->traceScale = 2.5f;
  return s;
}

// Two datasets with sequences and one without, three groups (outgroups, a parent and a
// child), three individuals with attributes, regions of all 28 kinds, traces, qualities, SNP
// positions beyond 16 bits and polymorphic-site lists.
inline void FillRichProject(TDataProj& p) {
  p.projName = "Lake survey";
  p.projComment = "two loci";
  TGroup north;
  north.grpName = "north";
  north.grpComment = "shore";
  north.grpTag = 7;
  north.grpDbId = 70;
  north.grpLocationId = 700;
  const int northKey = p.AddGroup(north);
  TGroup south;
  south.grpName = "south";
  south.grpParent = northKey;
  p.AddGroup(south);
  TIndivid a;
  a.indName = "ind1";
  a.indComment = "female";
  a.indGroup = northKey;
  a.indSpecies = 3;
  a.latitude = 45.5;
  a.longitude = -3.25;
  a.altitude = 1200.0;
  a.indTag = 4;
  a.indDbId = 40;
  a.indLocationId = 400;
  a.indReserved = 9;
  a.attributes = {{"weight", "12.5 g", 12, -2.5}, {"pi", "", -7, 3.141593}};
  const int aKey = p.AddIndivid(a);
  TIndivid b;
  b.indName = "ind2";
  b.indGroup = kOutgroupKey;
  const int bKey = p.AddIndivid(b);
  TIndivid c;
  c.indName = "ind3";
  p.AddIndivid(c);

  p.NewDataset();
  TDataSeq& ds1 = *p.DatasetAt(p.DatasetCount() - 1);
  p.RenameDataset(p.DatasetCount() - 1, "locusA");
  ds1.dsComment = "first locus";
  ds1.dsSourceFile = "/data/locusA.fas";
  ds1.chromosome = -1;
  ds1.genePosition = 12345;
  auto t = TraceRead("read1");
  t->organism = "Gasterosteus";
  t->locusName = "cytb";
  t->cytoLocation = "2q";
  t->definition = "a read";
  t->accession = "AB000001";
  t->dbLinks = "db:1";
  t->seqComment = "good";
  t->sourceFile = "/nowhere/read1.ab1[2]";
  t->traceFile = "/nowhere/read1.scf";
  t->sourceFormat = 11;
  t->ploidy = 2;
  t->groupNum = northKey;
  t->individId = aKey;
  t->poorQualityLeft = 2;
  t->poorQualityRight = 7;
  t->assemblyPos = 33;
  t->dbSeqId = 5;
  t->selected = true;
  t->reversed = true;
  t->plusStrand = false;
  t->unnamedFlag = true;
  t->enabled = false;
  for (int kind = 0; kind < kRegionKindCount; ++kind) {
    TRegion r;
    r.regType = static_cast<std::uint8_t>(kind);
    r.regStart = 1 + kind % 8;
    r.regEnd = 8;
    r.regReverse = kind % 2 == 1;
    r.regName = kind % 3 == 0 ? "" : "region" + std::to_string(kind);
    r.regComment = kind % 4 == 0 ? "[tag" + std::to_string(kind) + "]" : "";
    r.codonPos = kind % 4;
    r.regId = 100 + kind;
    r.prevId = kind > 0 ? 99 + kind : -1;
    r.nextId = kind + 1 < kRegionKindCount ? 101 + kind : -1;
    t->regions.push_back(r);
  }
  AddRow(ds1, std::move(t));
  auto snp = std::make_unique<TSeq>("snp1", "ACGTA");
  snp->seqType = kSeqSnp;
  snp->peakPos = {70000, 123456789, 5, 65536, 2000000000};
  snp->sourceFormat = 4;
  snp->individId = bKey;
  snp->groupNum = kOutgroupKey;
  AddRow(ds1, std::move(snp));
  auto shifted = std::make_unique<TSeq>("far", "acgtnnACGT-");
  shifted->columnShift = 2;
  shifted->polySitePos = {3, 70000, -1, 8, 9, 10, 11, 12, 13, 14, 15};
  shifted->sourceFormat = 3;
  shifted->seqType = kSeqRflp;
  TRegion far;
  far.regType = kRegCds;
  far.regStart = 70000;
  far.regEnd = 70010;
  far.codonPos = 1;
  far.regId = 1;
  shifted->regions.push_back(far);
  AddRow(ds1, std::move(shifted));

  p.NewDataset();
  p.RenameDataset(p.DatasetCount() - 1, "empty");
  p.NewDataset();
  TDataSeq& ds2 = *p.DatasetAt(p.DatasetCount() - 1);
  p.RenameDataset(p.DatasetCount() - 1, "locusB");
  auto x = std::make_unique<TSeq>("x1", "TTTT");
  x->individId = aKey;
  x->sourceFormat = 1;
  AddRow(ds2, std::move(x));
  auto y = std::make_unique<TSeq>("x2", "TTTA");
  y->individId = bKey;
  y->sourceFormat = 1;
  y->seqType = kSeqProtein3;
  AddRow(ds2, std::move(y));
  p.SetCurrent(2);
}

// Every field the file stores; seqId is handed out anew by the dataset and not compared.
inline void ExpectSameSeq(const TSeq& a, const TSeq& b) {
  SCOPED_TRACE(a.seqName);
  EXPECT_EQ(a.letters, b.letters);
  EXPECT_EQ(a.seqName, b.seqName);
  EXPECT_EQ(a.seqType, b.seqType);
  EXPECT_EQ(a.dbSeqId, b.dbSeqId);
  EXPECT_EQ(a.groupNum, b.groupNum);
  EXPECT_EQ(a.individId, b.individId);
  for (auto f :
       {&TSeq::organism, &TSeq::locusName, &TSeq::cytoLocation, &TSeq::definition, &TSeq::accession,
        &TSeq::dbLinks, &TSeq::seqComment, &TSeq::sourceFile, &TSeq::traceFile})
    EXPECT_EQ(a.*f, b.*f);
  EXPECT_EQ(a.sourceFormat, b.sourceFormat);
  EXPECT_EQ(a.ploidy, b.ploidy);
  EXPECT_EQ(a.poorQualityLeft, b.poorQualityLeft);
  EXPECT_EQ(a.poorQualityRight, b.poorQualityRight);
  EXPECT_EQ(a.columnShift, b.columnShift);
  EXPECT_EQ(a.assemblyPos, b.assemblyPos);
  EXPECT_EQ(a.traceScale, b.traceScale);
  EXPECT_EQ(a.lettersLength, b.lettersLength);
  for (auto f : {&TSeq::hasTrace, &TSeq::showRegions, &TSeq::showTrace, &TSeq::unnamedFlag,
                 &TSeq::reversed, &TSeq::plusStrand, &TSeq::enabled, &TSeq::selected})
    EXPECT_EQ(a.*f, b.*f);
  ASSERT_EQ(a.regions.size(), b.regions.size());
  for (std::size_t i = 0; i < a.regions.size(); ++i) {
    SCOPED_TRACE(i);
    TRegion ra = a.regions[i], rb = b.regions[i];
    ra.regMark = rb.regMark = 0;
    EXPECT_EQ(ra, rb);
  }
  EXPECT_EQ(a.traceA, b.traceA);
  EXPECT_EQ(a.traceC, b.traceC);
  EXPECT_EQ(a.traceG, b.traceG);
  EXPECT_EQ(a.traceT, b.traceT);
  EXPECT_EQ(a.peakPos, b.peakPos);
  EXPECT_EQ(a.polySitePos, b.polySitePos);
  EXPECT_EQ(a.quality, b.quality);
}

inline std::string FileOf(const TDataProj& p) {
  std::string bytes, error;
  EXPECT_TRUE(BuildProjectFile(p, GridFileSettings{}, bytes, error)) << error;
  return bytes;
}
